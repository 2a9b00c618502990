#include "common/ui/help.h"
#include "modules/shortestpath/ui/kpadunit.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::shortestpath::ui;
using tarvik::shell::TInfoForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

TEST(KPadInTheShell, OpensFromTheToolbarAndClosesWithEveryWindow) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QToolButton* button = main.toolbarButton("StartKortstePad");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TKPad> module = qobject_cast<TKPad*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->settings()->isVisible());
    // The hidden "Options" menu stays out of sight in the menu bar.
    QStringList shown;
    for (QAction* a : main.menuBar()->actions())
        if (a->isVisible()) shown << a->text();
    EXPECT_EQ(shown, QStringList({"File", "Help"}));

    QTest::mouseClick(module->settings()->OKBtn, Qt::LeftButton);
    ProcessEvents();
    QPointer<TKPadDialoog> dlg = module->dialog();
    QPointer<TKPadNetwerk> net = module->networkWindow();
    QPointer<TKPadOpties> opties = module->settings();
    EXPECT_TRUE(dlg->isVisible() && net->isVisible());

    module->moduleMenus()[0]->actions().last()->trigger(); // "Close shortest path"
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_TRUE(dlg.isNull() && net.isNull() && opties.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(KPadInTheShell, HelpTopicElevenExplainsTheModule) {
    const QString html = tarvik::ui::HelpTopicHtml(kKPadHelpContext);
    EXPECT_TRUE(html.contains("Shortest path"));
    EXPECT_TRUE(html.contains("Nearly-myopic heuristic"));
}

} // namespace
