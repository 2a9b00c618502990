#include "common/ui/help.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::roulette::ui;
using tarvik::shell::TInfoForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

TEST(RouletteInTheShell, OpensFromTheToolbarAndCloseRouletteReturnsTheWelcomeWindow) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QToolButton* button = main.toolbarButton("StartRoulette");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    ASSERT_TRUE(main.menuEntry("MenuRoulette")->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TRoulette> module = qobject_cast<TRoulette*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->startDialog()->isVisible());

    // Into the game and out through the File menu.
    module->startDialog()->OKBtnClick();
    ProcessEvents();
    EXPECT_TRUE(module->gameDialog()->isVisible());
    QPointer<TRouletteSpelDlg> game = module->gameDialog();
    module->CloseItem->trigger();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_TRUE(game.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(RouletteInTheShell, ClosingTheStartDialogByItsFrameClosesTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    main.menuEntry("MenuRoulette")->trigger();
    ProcessEvents();
    QPointer<TRoulette> module = qobject_cast<TRoulette*>(main.module());
    ASSERT_NE(module, nullptr);
    module->startDialog()->close();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_TRUE(main.toolbarPanel()->isVisible());
}

TEST(RouletteInTheShell, TheHelpFileHoldsTheRouletteTopic) {
    const QString topic = tarvik::ui::HelpTopicHtml(8);
    EXPECT_TRUE(topic.contains("All-or-nothing game")) << topic.left(200).toStdString();
}

} // namespace
