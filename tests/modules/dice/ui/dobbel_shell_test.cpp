#include "common/ui/help.h"
#include "modules/dice/ui/dobbelunit.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::dice::ui;
using tarvik::shell::TInfoForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

class CloseOnPaint : public QObject {
public:
    CloseOnPaint(QWidget* box, std::function<void()> fn) : fn_(std::move(fn)) {
        box->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) fn_();
        return false;
    }

private:
    std::function<void()> fn_;
};

TEST(DobbelInTheShell, OpensFromTheToolbarAndClosesBackToTheWelcomeWindow) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QToolButton* button = main.toolbarButton("StartDobbel");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TDobbel> module = qobject_cast<TDobbel*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(main.ModuleOpen);
    EXPECT_TRUE(module->dialog()->isVisible());

    QTest::mouseClick(module->dialog()->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_TRUE(main.toolbarPanel()->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(DobbelInTheShell, ClosingTheMainWindowDuringARunClosesOnlyTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    main.menuEntry("MenuDobbel")->trigger();
    ProcessEvents();
    QPointer<TDobbel> module = qobject_cast<TDobbel*>(main.module());
    ASSERT_NE(module, nullptr);
    TDobbelDlg* dlg = module->dialog();
    dlg->FastBox->setChecked(false);
    dlg->ThrowsEdit->setValue(100000);

    // The close request arrives while the run hands control to the event loop
    // (at a refresh of the diagram).
    std::shared_ptr<const tarvik::dice::DiceRun> run;
    bool asked = false;
    CloseOnPaint hook(module->diagram()->PictureBox, [&] {
        if (asked || !module || !module->lastRun() || module->lastRun()->throwsMade() < 200) return;
        asked = true;
        run = module->lastRun();
        QMetaObject::invokeMethod(
            &main, [&main] { main.close(); }, Qt::QueuedConnection);
    });
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    for (int i = 0; i < 100000 && module && module->running(); ++i) QCoreApplication::processEvents();
    for (int i = 0; i < 10; ++i) ProcessEvents();
    ASSERT_TRUE(asked);
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(run->done());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(DobbelInTheShell, ExplanationOpensTheCoinTossingHelpTopic) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    main.toolbarButton("StartDobbel")->click();
    ProcessEvents();
    auto* module = qobject_cast<TDobbel*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(tarvik::ui::HelpTopicHtml(2).contains("<h1>Coin tossing</h1>"));
    module->moduleMenus()[2]->actions()[0]->trigger();
    ProcessEvents();
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer" && w->isVisible()) browser = w->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Table relative frequency"));
    module->closeModule();
    ProcessEvents();
}

} // namespace
