#include "common/ui/help.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "modules/montecarlo/ui/mcwidgets.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo::ui;
using tarvik::shell::TInfoForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

TEST(MCInTheShell, OpensFromTheToolbarAndTheChooserClosesItAgain) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QToolButton* button = main.toolbarButton("StartMC");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TMC> module = qobject_cast<TMC*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(main.ModuleOpen);
    ASSERT_EQ(module->moduleMenus().size(), 2);
    EXPECT_EQ(module->moduleMenus()[0]->title(), "File");
    EXPECT_EQ(module->moduleMenus()[0]->actions()[0]->text(), "Close Monte Carlo");
    EXPECT_EQ(module->moduleMenus()[1]->title(), "Help");
    EXPECT_TRUE(module->chooser()->isVisible());
    QTest::mouseClick(module->chooser()->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
}

TEST(MCInTheShell, CloseMonteCarloInTheFileMenuClosesTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    main.menuEntry("MenuMC")->trigger();
    ProcessEvents();
    QPointer<TMC> module = qobject_cast<TMC*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(tarvik::ui::HelpTopicHtml(6).contains("Monte Carlo"));
    module->moduleMenus()[0]->actions()[0]->trigger();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
}

TEST(MCInTheShell, EveryExperimentWindowOpensItsOwnHelpTopic) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    main.menuEntry("MenuMC")->trigger();
    ProcessEvents();
    QPointer<TMC> module = qobject_cast<TMC*>(main.module());
    ASSERT_NE(module, nullptr);
    const std::pair<int, const char*> topics[] = {{60, "Buffon"},           {61, "Birthday problem"},
                                                  {62, "Simulation of pi"}, {63, "St Petersburg paradox"},
                                                  {64, "Roulette systems"}, {65, "Kelly betting"}};
    for (const auto& [context, title] : topics)
        EXPECT_TRUE(tarvik::ui::HelpTopicHtml(context).contains(title)) << context;
    module->OpenChoice(MCChoice::Pi);
    auto* pi = module->findChild<TMCWindow*>(QStringLiteral("MCPi"));
    ASSERT_NE(pi, nullptr);
    EXPECT_EQ(pi->helpContext, 62);
    ASSERT_FALSE(pi->actions().isEmpty());
    EXPECT_EQ(pi->actions()[0]->shortcut(), QKeySequence(Qt::Key_F1));
    pi->actions()[0]->trigger();
    ProcessEvents();
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer" && w->isVisible()) browser = w->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Actual Pi"));
    module->closeModule();
    ProcessEvents();
}

} // namespace
