#include "modules/tables/ui/parawindows.h"
#include "modules/tables/ui/tabellengrafiek.h"
#include "modules/tables/ui/tableswindow.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tarvik::tables;

namespace {

QWidget* FindTopLevelChild(const QString& name) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* w = top->findChild<QWidget*>(name)) return w;
    return nullptr;
}

} // namespace

TEST(TablesInShell, StartsFromTheToolbarAndClosesBackToTheWelcomeWindow) {
    tarvik::test::ScriptedDialogs dialogs;
    tarvik::shell::TTarvikMain* main = tarvik::shell::CreateStartWindows();
    main->resize(1024, 740);
    main->show();
    tarvik::test::ProcessEvents();

    // The parameter windows exist from the start, hidden, for the whole run.
    for (const char* name :
         {"TParaBin", "TParaChi2", "TParaF", "TParaGamma", "TParaHypergeo", "TParaNormal"}) {
        TParaWindow* w = ParameterWindow(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_FALSE(w->isVisible()) << name;
        EXPECT_FALSE(w->windowTitle().isEmpty()) << name;
    }

    QToolButton* start = main->toolbarButton(QStringLiteral("StartTables"));
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(start->isEnabled());
    start->click();
    tarvik::test::ProcessEvents();
    auto* tables = qobject_cast<TTables*>(main->module());
    ASSERT_NE(tables, nullptr);
    EXPECT_FALSE(main->toolbarPanel()->isVisible());
    // The whole window fits the main window of 1024 pixels.
    EXPECT_LE(tables->minimumSizeHint().width(), 1024);

    // "Explanation" opens the help at the module's topic.
    QAction* explanation = tables->findChild<QAction*>(QStringLiteral("Explanation"));
    ASSERT_NE(explanation, nullptr);
    explanation->trigger();
    auto* browser = qobject_cast<QTextBrowser*>(FindTopLevelChild(QStringLiteral("HelpBrowser")));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().startsWith(QStringLiteral("Tables and graphs")));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Percentiles")));
    browser->window()->close();

    // A graph, then "Close Statistical Tables and Graphs" from the File menu.
    const auto& poisson = tables->page(Distribution::Poisson);
    poisson.graph->click();
    poisson.parameters[0]->setText(QStringLiteral("4"));
    poisson.calculate->click();
    QPointer<QWidget> graph = tables->graphWindow();
    ASSERT_TRUE(graph && graph->isVisible());
    QAction* close = tables->findChild<QAction*>(QStringLiteral("CloseTables"));
    ASSERT_NE(close, nullptr);
    close->trigger();
    tarvik::test::ProcessEvents();
    EXPECT_EQ(main->module(), nullptr);
    EXPECT_TRUE(graph.isNull());
    EXPECT_NE(main->welcome(), nullptr);
    EXPECT_TRUE(main->toolbarPanel()->isVisible());
    EXPECT_NE(ParameterWindow(QStringLiteral("TParaNormal")), nullptr);
    delete main;
    tarvik::test::ProcessEvents();
}
