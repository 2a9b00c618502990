#include "common/ui/help.h"
#include "modules/normal/ui/clsunit.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::normal::ui;
using tarvik::shell::TInfoForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

TEST(NormalInTheShell, OpensFromTheToolbarShowsItsMenusAndExits) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QToolButton* button = main.toolbarButton("StartNormal");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TCLS> module = qobject_cast<TCLS*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(main.ModuleOpen);
    EXPECT_TRUE(module->chooser()->isVisible());
    // The menu bar shows File and Help; the options menu stays hidden.
    QStringList shown;
    for (QAction* a : main.menuBar()->actions())
        if (a->isVisible()) shown << a->text();
    EXPECT_TRUE(shown.contains("File"));
    EXPECT_TRUE(shown.contains("Help"));
    EXPECT_FALSE(shown.contains("Options"));

    module->moduleMenus()[0]->actions()[0]->trigger(); // "Exit normal distribution"
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(NormalInTheShell, ClosingTheMainWindowDuringAnIntervalRunClosesOnlyTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    SetYieldInterval(std::chrono::microseconds(0));
    TTarvikMain main;
    main.show();
    ProcessEvents();
    main.menuEntry("MenuNormal")->trigger();
    ProcessEvents();
    QPointer<TCLS> module = qobject_cast<TCLS*>(main.module());
    ASSERT_NE(module, nullptr);
    module->chooser()->IntervalBtn->setChecked(true);
    QTest::mouseClick(module->chooser()->OKBtn, Qt::LeftButton);
    QTest::mouseClick(module->intervalSettings()->OKBtn, Qt::LeftButton);
    bool wasRunning = false;
    SetYieldObserver([&] {
        SetYieldObserver({});
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                wasRunning = module && module->running();
                main.close();
            },
            Qt::QueuedConnection);
    });
    for (int i = 0; i < 100000 && module && module->running(); ++i) QCoreApplication::processEvents();
    for (int i = 0; i < 10; ++i) ProcessEvents();
    SetYieldInterval(std::chrono::microseconds(10000));
    EXPECT_TRUE(wasRunning);
    EXPECT_TRUE(module.isNull());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(main.ModuleOpen);
}

TEST(NormalInTheShell, ExplanationOpensHelpContextFive) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    main.toolbarButton("StartNormal")->click();
    ProcessEvents();
    auto* module = qobject_cast<TCLS*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(tarvik::ui::HelpTopicHtml(5).contains("<h1>Normal distribution</h1>"));
    auto viewer = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "HelpViewer" && w->isVisible()) return w;
        return static_cast<QWidget*>(nullptr);
    };
    // F1 in the chooser.
    QTest::keyClick(module->chooser(), Qt::Key_F1);
    ProcessEvents();
    ASSERT_NE(viewer(), nullptr);
    viewer()->hide();
    module->moduleMenus()[2]->actions()[0]->trigger();
    ProcessEvents();
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer" && w->isVisible()) browser = w->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Square root law"));
    module->closeModule();
    ProcessEvents();
}

} // namespace
