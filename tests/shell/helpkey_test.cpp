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

// Windows with a topic of their own, by object name.
const std::map<QString, int> kWindowContext = {
    {"MCBuffonDialoog", 60},
    {"MCBuffonPlot", 60},
    {"MCBDP", 61},
    {"MCBDPPlot", 61},
    {"MCPi", 62},
    {"MCPiPlot", 62},
    {"MCSPPDialoog", 63},
    {"MCRouletteKeuze", 64},
    {"MCRouletteDialoog", 64},
    {"MCRouletteDialoog2", 64},
    {"MCKellyBDialoog", 65},
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

// The context a module's widget names itself or through its parents, short
// of the main window (whose own context is the program's topic).
int ModuleContextOf(const QWidget* w, const QWidget* mainWindow) {
    for (; w && w != mainWindow; w = w->parentWidget()) {
        const QVariant v = w->property("tarvikHelpContext");
        if (v.isValid()) return v.toInt();
    }
    return 0;
}

QString Describe(const QWidget* w) {
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->windowTitle(), w->objectName());
}

TEST(MainWindow, F1AndTheExplanationEntryOpenTheMainTopic) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    ProcessEvents();
    HideHelp();
    QAction* explanation = main.findChild<QAction*>("HelpExplanation");
    ASSERT_NE(explanation, nullptr);
    EXPECT_EQ(explanation->shortcut(), QKeySequence(Qt::Key_F1));
    QTest::keyClick(&main, Qt::Key_F1);
    ProcessEvents();
    QTextBrowser* browser = VisibleHelp();
    ASSERT_NE(browser, nullptr);
    QTextBrowser expected;
    expected.setHtml(tarvik::ui::HelpTopicHtml(1));
    EXPECT_FALSE(expected.toPlainText().isEmpty());
    EXPECT_EQ(browser->toPlainText(), expected.toPlainText());
    HideHelp();
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
        const int context = ModuleContextOf(w, &main);
        EXPECT_GT(context, 0) << Describe(w).toStdString();
        EXPECT_EQ(tarvik::ui::HelpContextOf(w), context);
        if (const auto own = kWindowContext.find(w->objectName()); own != kWindowContext.end()) {
            EXPECT_EQ(context, own->second) << Describe(w).toStdString();
        }
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
