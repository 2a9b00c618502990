#include "modules/queue/ui/queue1.h"
#include "modules/queue/ui/queuemodule.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include "common/ui/help.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using tarvik::queue::ui::CurrentQueueWindow;
using tarvik::queue::ui::TQueueMainForm;
using tarvik::shell::TTarvikMain;
using tarvik::test::ProcessEvents;

// The program's main window, shown, with the questions answered by script.
class QueueInTheShell : public ::testing::Test {
protected:
    void SetUp() override {
        main.show();
        ProcessEvents();
    }
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
};

TEST_F(QueueInTheShell, HiddenByDefaultShownOnRequestAndOpens) {
    QToolButton* button = main.toolbarButton("StartQueue");
    QAction* entry = main.menuEntry("MenuQueue");
    ASSERT_NE(button, nullptr);
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(entry->isVisible());
    EXPECT_TRUE(button->isEnabled());

    tarvik::shell::ShowQueueEntries(main);
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(entry->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    QPointer<TQueueMainForm> module = qobject_cast<TQueueMainForm*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CurrentQueueWindow(), module.data());
    EXPECT_TRUE(main.ModuleOpen);
    // The module's menus replace the shell's.
    QStringList titles;
    for (QAction* a : main.menuBar()->actions())
        if (a->isVisible()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&Bestand", "&Help"}));

    // "Queue Afsluiten", answered Yes: back to the welcome window.
    dialogs.messageAnswers = {tarvik::ui::mrYes};
    module->AfsluitenClick();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_EQ(CurrentQueueWindow(), nullptr);
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_TRUE(main.toolbarPanel()->isVisible());
    EXPECT_TRUE(button->isVisible());

    // The Modules entry opens it as well; "Einde Tarvik" closes the module and
    // then asks the program's question (answered No: the program goes on).
    entry->trigger();
    ProcessEvents();
    module = qobject_cast<TQueueMainForm*>(main.module());
    ASSERT_NE(module, nullptr);
    dialogs.messages.clear();
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    module->EindeTarvikClick();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    ASSERT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_EQ(dialogs.messageTexts()[0], "Exit Tarvik");
    EXPECT_TRUE(main.isVisible());
}

QString ShownHelp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer" && w->isVisible())
            if (auto* b = w->findChild<QTextBrowser*>()) return b->toPlainText();
    return {};
}

TEST_F(QueueInTheShell, F1OpensThePageTopicAndHelpTheModuleTopic) {
    tarvik::shell::ShowQueueEntries(main);
    main.toolbarButton("StartQueue")->click();
    ProcessEvents();
    auto* module = qobject_cast<TQueueMainForm*>(main.module());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(tarvik::ui::HelpTopicHtml(12).contains("<h1>Queue</h1>"));
    EXPECT_TRUE(tarvik::ui::HelpTopicHtml(120).contains("<h1>M/M/c queue</h1>"));
    for (int context : {100, 110, 130, 140, 150, 160, 170, 180, 200})
        EXPECT_FALSE(tarvik::ui::HelpTopicHtml(context).isEmpty()) << context;
    module->PageControl->setCurrentIndex(static_cast<int>(tarvik::queue::Page::MMC));
    QWidget* field = module->findChild<QWidget*>("MMC_C_edit");
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1);
    ProcessEvents();
    EXPECT_TRUE(ShownHelp().contains("Erlang C")) << ShownHelp().toStdString();
    module->helpButton(tarvik::queue::Page::MMC)->click();
    ProcessEvents();
    EXPECT_TRUE(ShownHelp().contains("Pick a page on")) << ShownHelp().toStdString();
    module->closeModule();
    ProcessEvents();
}

} // namespace
