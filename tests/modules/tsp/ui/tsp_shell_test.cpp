// The travelling-salesman module inside the program's main window.
#include "common/ui/help.h"
#include "modules/tsp/ui/tspunit.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::tsp::ui;
using tarvik::shell::TInfoForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

TEST(TspInTheShell, OpensFromTheToolbarAndPreviousClosesIt) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QToolButton* button = main.toolbarButton("StartTSP");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TTSP> module = qobject_cast<TTSP*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->zetSteden()->isVisible());
    // File, the hidden Options menu and Help.
    ASSERT_EQ(module->moduleMenus().size(), 3);
    EXPECT_EQ(module->moduleMenus()[0]->actions().last()->text(), "Close Traveling salesman");
    EXPECT_FALSE(module->moduleMenus()[1]->menuAction()->isVisible());
    EXPECT_EQ(module->moduleMenus()[1]->actions()[0]->text(), "Choose cities");
    EXPECT_TRUE(tarvik::ui::HelpTopicHtml(3).contains("<h1>Travelling salesman</h1>"));

    QTest::mouseClick(module->zetSteden()->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(TspInTheShell, ClosingTheMainWindowDuringTheSearchClosesTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    dialogs.messageAnswers = {tarvik::ui::mrNo, tarvik::ui::mrNo}; // the reduced matrix; no upper bound
    TTarvikMain main;
    main.show();
    main.toolbarButton("StartTSP")->click();
    ProcessEvents();
    QPointer<TTSP> module = qobject_cast<TTSP*>(main.module());
    ASSERT_NE(module, nullptr);
    module->zetSteden()->AantalSpin->setValue(50);
    QTest::mouseClick(module->zetSteden()->OKBtn, Qt::LeftButton);
    bool asked = false;
    QObject::connect(module->bb()->ListBox->model(), &QAbstractItemModel::rowsInserted, &main, [&] {
        if (asked) return;
        asked = true;
        QMetaObject::invokeMethod(
            &main, [&main] { main.close(); }, Qt::QueuedConnection);
    });
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    for (int i = 0; i < 100000 && module && (module->searchRunning() || !asked); ++i)
        QCoreApplication::processEvents();
    for (int i = 0; i < 10; ++i) ProcessEvents();
    ASSERT_TRUE(asked);
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
}

} // namespace
