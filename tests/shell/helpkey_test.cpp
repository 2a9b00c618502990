// F1 in every module: each window and dialog a module shows names a help
// context, that context has a topic in the help file, and the key opens it.
#include "common/ui/help.h"
#include "shell/mainwindow.h"
#include "shell/modulelist.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace tarvik::shell;
using tarvik::test::ProcessEvents;

// The topic of each module's own window.
const std::map<QString, int> kModuleContext = {
    {"StartDobbel", 2}, {"StartTables", 4}, {"StartTSP", 3},         {"StartNormal", 5},
    {"StartMC", 6},     {"StartSim", 7},    {"StartRoulette", 8},    {"StartLP", 9},
    {"StartIP", 10},    {"StartQueue", 12}, {"StartKortstePad", 11}, {"SpeedButton1", 13},
};

QTextBrowser* VisibleHelp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer" && w->isVisible()) return w->findChild<QTextBrowser*>();
    return nullptr;
}

void HideHelp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpViewer") w->hide();
}

// The windows of a module: the module window, every window it owns (shown or
// not) and every other window shown since it opened.
QList<QWidget*> ModuleWindows(QWidget* module, const QList<QWidget*>& before) {
    QList<QWidget*> windows{module};
    for (QWidget* w : module->findChildren<QWidget*>())
        if (w->isWindow() && !qobject_cast<QMenu*>(w) && !windows.contains(w)) windows << w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !before.contains(w) && !qobject_cast<QMenu*>(w) &&
            w->objectName() != "HelpViewer" && !windows.contains(w))
            windows << w;
    return windows;
}

QString Describe(const QWidget* w) {
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->windowTitle(), w->objectName());
}

class EveryModule : public ::testing::TestWithParam<int> {};

TEST_P(EveryModule, WindowsNameAHelpTopicAndF1OpensIt) {
    const ModuleEntry& entry = Modules()[static_cast<std::size_t>(GetParam())];
    if (!entry.create) GTEST_SKIP() << "not built";
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    QList<QWidget*> before;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) before << w;
    main.openModule(GetParam());
    ProcessEvents();
    QPointer<tarvik::ui::ModuleWindow> module = main.module();
    ASSERT_NE(module, nullptr);

    EXPECT_EQ(tarvik::ui::HelpContextOf(module), kModuleContext.at(entry.name));

    // The Help menu shows F1 on its first entry.
    const QList<QMenu*>& menus = module->moduleMenus();
    ASSERT_FALSE(menus.isEmpty());
    QMenu* help = menus.back();
    ASSERT_FALSE(help->actions().isEmpty());
    EXPECT_EQ(help->actions().first()->shortcut(), QKeySequence(Qt::Key_F1)) << help->title().toStdString();

    for (QWidget* w : ModuleWindows(module, before)) {
        const int context = tarvik::ui::HelpContextOf(w);
        EXPECT_GT(context, 0) << Describe(w).toStdString();
        if (context <= 0) continue;
        EXPECT_FALSE(tarvik::ui::HelpTopicHtml(context).isEmpty())
            << Describe(w).toStdString() << " context " << context;
        if (!w->isVisible()) continue;
        // F1 where the keyboard is: the window's focus widget or the window.
        HideHelp();
        QWidget* target = w->focusWidget() ? w->focusWidget() : w;
        QTest::keyClick(target, Qt::Key_F1);
        ProcessEvents();
        QTextBrowser* browser = VisibleHelp();
        ASSERT_NE(browser, nullptr) << Describe(w).toStdString() << ", key to "
                                    << Describe(target).toStdString();
        QTextBrowser expected;
        expected.setHtml(tarvik::ui::HelpTopicHtml(tarvik::ui::HelpContextOf(target)));
        EXPECT_EQ(browser->toPlainText(), expected.toPlainText()) << Describe(w).toStdString();
    }
    HideHelp();
    if (module) module->closeModule();
    ProcessEvents();
}

INSTANTIATE_TEST_SUITE_P(Shell, EveryModule, ::testing::Range(0, static_cast<int>(Modules().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return Modules()[static_cast<std::size_t>(info.param)].name.toStdString();
                         });

} // namespace
