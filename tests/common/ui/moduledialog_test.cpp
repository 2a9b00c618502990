#include "common/ui/moduledialog.h"
#include "support/apptesting.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::ui;

// A dialog without a Cancel button, as the modules build theirs.
class NoCancelDialog : public QDialog {
public:
    NoCancelDialog() {
        auto* layout = new QVBoxLayout(this);
        buttons = AddDialogButtons(this, layout, QStringLiteral("Throw"));
        connect(buttons.ok, &QPushButton::clicked, this, [this] { ++okClicks; });
        connect(buttons.back, &QPushButton::clicked, this, [this] { ++backClicks; });
    }
    DialogButtons buttons;
    int okClicks = 0, backClicks = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!SwallowEscape(event)) QDialog::keyPressEvent(event);
    }
};

TEST(DialogButtons, EnterPressesTheConfirmingButtonAndEscapeNothing) {
    NoCancelDialog dialog;
    EXPECT_EQ(dialog.buttons.ok->objectName(), QStringLiteral("OKBtn"));
    EXPECT_EQ(dialog.buttons.ok->text(), QStringLiteral("Throw"));
    EXPECT_EQ(dialog.buttons.back->objectName(), QStringLiteral("TerugBtn"));
    EXPECT_EQ(dialog.buttons.back->text(), QStringLiteral("Previous"));
    dialog.show();
    tarvik::test::ProcessEvents();

    // Enter goes to the default button even while "Previous" has the focus.
    dialog.buttons.back->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.okClicks, 1);
    EXPECT_EQ(dialog.backClicks, 0);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // untouched: nothing ran
    EXPECT_EQ(dialog.okClicks + dialog.backClicks, 1);
}

} // namespace
