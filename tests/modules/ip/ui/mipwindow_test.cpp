#include "../../lp/ui/modelwindowtesting.h"
#include "../../lp/ui/qtprint.h"
#include "modules/ip/ui/mipinstelunit.h"
#include "modules/ip/ui/mipmodule.h"
#include "modules/ip/ui/mipprogress.h"
#include "modules/ip/ui/mipunit.h"
#include "modules/lp/ui/graphicalpage.h"
#include "modules/ip/ui/searchtree.h"
#include "modules/lp/ui/modeleditor.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "modules/ip/miprun.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include <unistd.h>

using namespace tarvik::ui;
using tarvik::test::ScriptedDialogs;

namespace {

const char* const kKnapsack = "max 5x1 + 4x2;\n6x1 + 4x2 <= 24;\nx1 + 2x2 <= 6;\n$integer x1, x2;\n";

// Closes the progress dialog once the run is over (or presses Stop as soon
// as the run shows the dialog) and keeps what the dialog showed at the end.
class ProgressCloser {
public:
    explicit ProgressCloser(bool pressStop = false) : pressStop_(pressStop) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    QString errorLine, lower, upper, iteration, variables, conditions, caption, buttonDuringRun;
    bool stopPressed = false;
    int closed = 0;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TMIPProgressDialog*>(w);
            if (!d || !d->isVisible()) continue;
            if (d->okButton()->text() != QStringLiteral("OK")) {
                buttonDuringRun = d->okButton()->text();
                if (pressStop_ && !stopPressed && d->okButton()->isEnabled()) {
                    QTest::mouseClick(d->okButton(), Qt::LeftButton);
                    stopPressed = true;
                }
                continue;
            }
            errorLine = d->errorLabel()->text();
            lower = d->lowerBoundLabel()->text();
            upper = d->upperBoundLabel()->text();
            iteration = d->iterationLabel()->text();
            variables = d->variablesLabel()->text();
            conditions = d->conditionsLabel()->text();
            caption = d->windowTitle();
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
            ++closed;
            timer_.stop(); // one run each
            return;
        }
    }
    bool pressStop_;
    QTimer timer_;
};

class MIPWindowTest : public ModelWindowTest<TMIPmodule> {
protected:
    void SetUp() override { showWindow(static_cast<TMIPmodule*>(CreateIPWindow(nullptr))); }
};

TEST_F(MIPWindowTest, OpensWithANewModelFromTheTemplate) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Integer programming  File: No name"));
    EXPECT_EQ(editor()->lines(), TMIPmodule::Template());
    ASSERT_EQ(TMIPmodule::Template().size(), 12);
    EXPECT_EQ(line(9), QStringLiteral("{ Example: 2x1 + x2 + y <= 5; $integer x1,x2; $binary y;    }"));
    EXPECT_TRUE(window->pages()->isVisible());
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral("Input"));
    EXPECT_EQ(window->pages()->tabText(1), QStringLiteral("Output"));
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(editor()->textCursor().blockNumber(), 2);
    // The eight comment lines are blue italics and protected; the empty lines are free.
    for (int n = 0; n < 12; ++n) {
        const bool comment = n < 2 || (n >= 4 && n < 10);
        EXPECT_EQ(editor()->isProtectedLine(n), comment) << n;
        if (!comment) continue;
        QTextCursor c(editor()->document()->findBlockByNumber(n));
        c.movePosition(QTextCursor::NextCharacter);
        EXPECT_TRUE(c.charFormat().fontItalic());
        EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::blue));
    }
    // Tool bar hints, Dutch at run time.
    EXPECT_EQ(window->calculateButton()->toolTip(), QStringLiteral("Berekenen"));
    EXPECT_EQ(window->printButton()->toolTip(), QStringLiteral("Afdrukken"));
    EXPECT_EQ(window->closeButton()->toolTip(), QStringLiteral("IP afsluiten"));
}

TEST_F(MIPWindowTest, TypingIntoTheTemplateCommentsIsRefused) {
    const QStringList before = editor()->lines();
    for (int n : {0, 6, 9}) {
        QTextCursor c(editor()->document()->findBlockByNumber(n));
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 4);
        editor()->setTextCursor(c);
        QTest::keyClicks(editor(), "abc");
        QTest::keyClick(editor(), Qt::Key_Backspace);
        QTest::keyClick(editor(), Qt::Key_Delete);
    }
    EXPECT_EQ(editor()->lines(), before);
    // Between the comments the model is typed freely.
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(2)));
    QTest::keyClicks(editor(), "max x;");
    EXPECT_EQ(line(2), QStringLiteral("max x;"));
    EXPECT_TRUE(window->isModified());
    // Select all and Delete clear everything, comments included.
    window->SelectAllClick();
    window->DeleteClick();
    EXPECT_EQ(editor()->toPlainText(), QString());
}

TEST_F(MIPWindowTest, SaveQuestionUsesStandardCaptions) {
    setModel(QStringLiteral("max y;"));
    dialogs.messageAnswers = {mrCancel};
    window->NewClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Save changes in No name?"));
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(dialogs.messages[0].buttons, mbYesNoCancel);
    EXPECT_TRUE(dialogs.messages[0].standardCaptions);
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max y;"));
    // No: the template comes back and nothing more is asked.
    dialogs.messageAnswers = {mrNo};
    window->NewClick();
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(editor()->lines(), TMIPmodule::Template());
    // Closing the module asks too; Cancel keeps it.
    setModel(QStringLiteral("max z;"));
    dialogs.messageAnswers = {mrCancel};
    EXPECT_FALSE(window->closeModule());
    EXPECT_EQ(dialogs.messages.size(), 3u);
}

TEST_F(MIPWindowTest, RunShowsTheOutputAndTheNewTabCaption) {
    // Before a run the output page cannot be chosen.
    window->pages()->setCurrentIndex(1);
    EXPECT_EQ(window->pages()->currentIndex(), 0);

    setModel(QString::fromLatin1(kKnapsack));
    ProgressCloser closer;
    QTest::keyClick(editor(), Qt::Key_F10);
    EXPECT_EQ(closer.closed, 1);
    EXPECT_EQ(closer.caption, QStringLiteral("Integer programming"));
    EXPECT_EQ(closer.errorLine, QStringLiteral("Optimal solution found"));
    EXPECT_EQ(closer.lower, QStringLiteral("     20.00"));
    EXPECT_EQ(closer.upper, QStringLiteral("     20.00"));
    EXPECT_EQ(closer.variables, QStringLiteral("2"));
    EXPECT_EQ(closer.conditions, QStringLiteral("2"));
    EXPECT_NE(closer.iteration, QStringLiteral("0"));
    EXPECT_EQ(closer.buttonDuringRun, QStringLiteral("Stop"));
    EXPECT_TRUE(window->hasResult());
    EXPECT_EQ(window->pages()->currentIndex(), 1);
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral("Back to make adapted model or new model"));
    const QString out = window->outputView()->toPlainText();
    EXPECT_TRUE(out.startsWith(QStringLiteral("KORVEN Version 2.1")));
    EXPECT_TRUE(out.contains(QStringLiteral("  Value Objective Function :         20.0000\n")));
    EXPECT_EQ(window->outputView()->textCursor().selectedText(), QStringLiteral("K"));

    // A syntax error: the editor selects the character, the output page is out of reach.
    setModel(QStringLiteral("max x;\nx < 3;\n$integer x;"));
    ProgressCloser again;
    window->CalculateClick();
    EXPECT_EQ(again.errorLine, QStringLiteral("Syntax error: <= expected"));
    EXPECT_FALSE(window->hasResult());
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(editor()->textCursor().selectedText(), QStringLiteral("<"));
    window->pages()->setCurrentIndex(1);
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    // New gives the first tab its caption back.
    dialogs.messageAnswers = {mrNo};
    window->NewClick();
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral("Input"));
}

TEST_F(MIPWindowTest, GraphicalPageShowsTheIntegerPointsAndBothOptima) {
    setModel(QString::fromLatin1(kKnapsack));
    ProgressCloser closer;
    window->CalculateClick();
    ASSERT_TRUE(window->pages()->isTabVisible(2));
    window->pages()->setCurrentIndex(2);
    TGraphicalPicture* picture = window->graphicalPage()->picture();
    const QString description = picture->accessibleDescription();
    EXPECT_TRUE(
        description.contains(QStringLiteral("Optimal: vertex 3 (3.0000, 1.5000)  objective 21.0000\n")));
    EXPECT_TRUE(
        description.contains(QStringLiteral("Integer optimum: (4.0000, 0.0000)  objective 20.0000\n")));
    int points = 0, integerOptima = 0, optima = 0;
    for (const tarvik::lp::PxMark& m : picture->layout().marks) {
        points += m.ink == tarvik::lp::Ink::IntegerPoint;
        integerOptima += m.ink == tarvik::lp::Ink::IntegerOptimum;
        optima += m.ink == tarvik::lp::Ink::Optimum;
    }
    EXPECT_EQ(points, 13); // the integer points of 6x1 + 4x2 <= 24, x1 + 2x2 <= 6
    EXPECT_EQ(integerOptima, 1);
    EXPECT_EQ(optima, 1);
}

TEST_F(MIPWindowTest, MinModelShowsNegatedBoundsAndStatusLines) {
    setModel(QStringLiteral("min 3x + 2y;\nx + y >= 2.5;\n$integer x, y;"));
    ProgressCloser closer;
    window->CalculateClick();
    EXPECT_EQ(closer.lower, QStringLiteral("     -6.00"));
    EXPECT_TRUE(window->outputView()->toPlainText().contains(
        QStringLiteral("  Value Objective Function :          6.0000\n")));

    setModel(QStringLiteral("max x;\nx >= 5;\nx <= 3;\n$integer x;"));
    ProgressCloser infeasible;
    window->CalculateClick();
    EXPECT_EQ(infeasible.errorLine, QStringLiteral("There is no feasible solution."));
    EXPECT_EQ(infeasible.lower, QStringLiteral(" -inf"));
    EXPECT_TRUE(
        window->outputView()->toPlainText().contains(QStringLiteral("\nThere is no feasible solution.\n")));
}

// A search long enough to be stopped: a 0-1 knapsack with strongly correlated weights.
QString HardKnapsack(int items) {
    QString obj = QStringLiteral("max "), row;
    unsigned s = 12345;
    for (int i = 1; i <= items; ++i) {
        s = s * 1103515245u + 12345u;
        const int w = 10 + static_cast<int>((s >> 16) % 90);
        const QString sep = i > 1 ? QStringLiteral(" + ") : QString();
        obj += sep + QString::number(w + 10) + QStringLiteral("x") + QString::number(i);
        row += sep + QString::number(w) + QStringLiteral("x") + QString::number(i);
    }
    QString text = obj + QStringLiteral(";\n") + row + QStringLiteral(" <= ") +
                   QString::number(items * 27 + 0.5) + QStringLiteral(";\n$binary");
    for (int i = 1; i <= items; ++i) text += QStringLiteral(" x") + QString::number(i);
    return text + QStringLiteral(";\n");
}

TEST_F(MIPWindowTest, TheDialogsButtonStopsALongSearch) {
    setModel(HardKnapsack(60));
    ProgressCloser closer(true);
    window->CalculateClick();
    EXPECT_TRUE(closer.stopPressed);
    EXPECT_EQ(closer.closed, 1);
    EXPECT_TRUE(closer.errorLine.startsWith(QStringLiteral("Stopped")));
    EXPECT_TRUE(window->hasResult());
    const QString out = window->outputView()->toPlainText();
    EXPECT_TRUE(out.contains(QStringLiteral("not proven optimal")) ||
                out.contains(QStringLiteral("before an integer solution was found")));
}

TEST_F(MIPWindowTest, EditCommandsActOnTheEditorAndTheContextMenuHasThree) {
    QStringList captions;
    for (QAction* a : window->contextMenu()->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Knippen", "Kopieren", "Plakken"}));

    setModel(QString::fromLatin1(kKnapsack));
    ProgressCloser closer;
    window->CalculateClick();
    ASSERT_EQ(window->pages()->currentIndex(), 1);
    // On the output page the commands still follow the editor.
    QApplication::clipboard()->setText(QStringLiteral("{x}"));
    auto popup = shownEnabling(window->contextMenu());
    EXPECT_FALSE(popup[QStringLiteral("Knippen")]);
    EXPECT_FALSE(popup[QStringLiteral("Kopieren")]);
    EXPECT_TRUE(popup[QStringLiteral("Plakken")]);
    window->SelectAllClick();
    EXPECT_EQ(editor()->textCursor().selectedText().size(), editor()->toPlainText().size());
    EXPECT_FALSE(window->outputView()->textCursor().hasSelection() &&
                 window->outputView()->textCursor().selectedText().size() > 1);
    auto menu = shownEnabling(window->editMenu());
    EXPECT_TRUE(menu[QStringLiteral("Cut")]);
    EXPECT_TRUE(menu[QStringLiteral("Copy")]);
    EXPECT_TRUE(menu[QStringLiteral("Delete")]);
    popup = shownEnabling(window->contextMenu());
    EXPECT_TRUE(popup[QStringLiteral("Knippen")]);
    window->CopyClick();
    EXPECT_EQ(QApplication::clipboard()->text(),
              editor()->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
    window->CutClick();
    EXPECT_EQ(editor()->toPlainText(), QString());
    window->PasteClick();
    EXPECT_TRUE(editor()->toPlainText().startsWith(QStringLiteral("max 5x1")));
}

class MIPFileTest : public MIPWindowTest {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static QByteArray contents(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(MIPFileTest, SaveKeepsABackupAndOpenUsesTheModelFilters) {
    setModel(QStringLiteral("max x;\nx <= 1;"));
    dialogs.fileAnswers.push_back(path("model.tip"));
    EXPECT_TRUE(window->SaveClick());
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].filters, QStringList{QStringLiteral("Tarvik MIP Bestanden (*.tip)")});
    EXPECT_EQ(dialogs.fileRequests[0].defaultSuffix, QStringLiteral("TRV"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Integer programming  File: ") + path("model.tip"));
    setModel(QStringLiteral("max 2x;\nx <= 1;"));
    QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(contents(path("model.tip")), QByteArray("max 2x;\r\nx <= 1;\r\n"));
    EXPECT_EQ(contents(path("model.BAK")), QByteArray("max x;\r\nx <= 1;\r\n"));

    dialogs.fileAnswers.push_back(path("model.tip"));
    window->NewClick();
    window->OpenClick();
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[1].filters,
              (QStringList{QStringLiteral("Tarvik MIP Bestanden (*.tip)"),
                           QStringLiteral("Tekst bestanden (*.txt)"), QStringLiteral("Alle bestanden (*)")}));
    // The open dialog starts where the model was saved.
    EXPECT_EQ(dialogs.fileRequests[1].directory, dir.path());
    EXPECT_EQ(editor()->lines(), (QStringList{"max 2x;", "x <= 1;"}));
    EXPECT_FALSE(window->isModified());
    EXPECT_TRUE(dialogs.messages.empty());

    // A bare name is saved under the filter's extension.
    dialogs.fileAnswers.push_back(path("bare"));
    EXPECT_TRUE(window->SaveAsClick());
    EXPECT_EQ(contents(path("bare.tip")), QByteArray("max 2x;\r\nx <= 1;\r\n"));
}

TEST_F(MIPFileTest, AFailedSaveSaysNoFileOpenYetAndLosesNothing) {
    // A folder that cannot be written: a read-only one, or (for a user whom
    // permissions do not stop) one under /proc.
    QString folder = path("locked");
    const bool root = ::geteuid() == 0;
    if (root) {
        folder = QStringLiteral("/proc/tarvik-no-such-folder");
    } else {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile model(folder + QStringLiteral("/model.tip")), backup(folder + QStringLiteral("/model.BAK"));
        ASSERT_TRUE(model.open(QIODevice::WriteOnly));
        model.write("max 1;\r\n");
        model.close();
        ASSERT_TRUE(backup.open(QIODevice::WriteOnly));
        backup.write("max 0;\r\n");
        backup.close();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    setModel(QStringLiteral("max x;\nx <= 2;"));
    dialogs.fileAnswers.push_back(folder + QStringLiteral("/model.tip"));
    EXPECT_FALSE(window->SaveAsClick());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No file open yet!"));
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(dialogs.messages[0].standardCaptions);
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max x;\nx <= 2;"));
    if (!root) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(contents(folder + QStringLiteral("/model.tip")), QByteArray("max 1;\r\n"));
        EXPECT_EQ(contents(folder + QStringLiteral("/model.BAK")), QByteArray("max 0;\r\n"));
    }
    // Yes to the save question of New, but the save fails: the model stays.
    dialogs.clear();
    dialogs.messageAnswers = {mrYes};
    window->NewClick();
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max x;\nx <= 2;"));
}

TEST(MIPInShell, TheButtonIsShownItsMenuEntryHiddenAndTheWindowHasItsMenus) {
    ScriptedDialogs dialogs;
    tarvik::shell::TTarvikMain main;
    main.show();
    tarvik::test::ProcessEvents();
    QToolButton* start = main.toolbarButton(QStringLiteral("StartIP"));
    ASSERT_NE(start, nullptr);
    EXPECT_TRUE(start->isVisible());
    ASSERT_TRUE(start->isEnabled());
    QAction* entry = main.menuEntry(QStringLiteral("MenuIP"));
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->isVisible());
    start->click();
    tarvik::test::ProcessEvents();
    auto* ip = qobject_cast<TMIPmodule*>(main.module());
    ASSERT_NE(ip, nullptr);
    EXPECT_EQ(ip->windowTitle(), QStringLiteral("Integer programming  File: No name"));
    EXPECT_EQ(ip->inputEditor()->lines(), TMIPmodule::Template());
    QStringList titles;
    QStringList options;
    for (QAction* a : main.menuBar()->actions()) {
        if (!a->isVisible()) continue;
        titles << a->text();
        if (a->text() == QStringLiteral("Options"))
            for (QAction* o : a->menu()->actions()) options << o->text();
    }
    EXPECT_EQ(titles, (QStringList{"File", "Edit", "Options", "Calculations", "Help"}));
    EXPECT_EQ(options, (QStringList{"Settings", "Font"}));
    QStringList file;
    for (QAction* a : ip->fileMenu()->actions())
        if (!a->isSeparator()) file << a->text();
    // The output page's saving commands follow Print.
    EXPECT_EQ(file, (QStringList{"New", "Open", QString::fromUtf8("Examples\u2026"), "Save", "Save as..",
                                 "Close", "Settings printer", "Print", QString::fromUtf8("Save as PDF\u2026"),
                                 QString::fromUtf8("Save as text\u2026"),
                                 QString::fromUtf8("Save table as CSV\u2026"), "Close Integer Programming"}));
    ip->CloseModuleClick();
    tarvik::test::ProcessEvents();
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(MIPHelp, ContextTenHoldsTheIPAndTheQueueGraphTopics) {
    const QString html = HelpTopicHtml(10);
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>Integer programming</h1>")));
    EXPECT_TRUE(html.contains(QStringLiteral("Graph windows of the queueing module")));
}

} // namespace

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(MIPProgressDialog, LabelsArePaintedAtOnceAndTheButtonStopsThenCloses) {
    TMIPProgressDialog dialog;
    dialog.show();
    tarvik::test::ProcessEvents();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Integer programming"));
    EXPECT_EQ(dialog.lowerBoundLabel()->text(), QStringLiteral(" -inf"));
    EXPECT_EQ(dialog.upperBoundLabel()->text(), QStringLiteral(" +inf"));
    PaintCounter counter;
    for (QLabel* l : {dialog.lowerBoundLabel(), dialog.upperBoundLabel(), dialog.iterationLabel()})
        l->installEventFilter(&counter);
    dialog.setLowerBound(QStringLiteral("      1.00"));
    EXPECT_EQ(counter.paints, 1);
    dialog.setUpperBound(QStringLiteral("      1.50"));
    EXPECT_EQ(counter.paints, 2);
    dialog.setIteration(4);
    EXPECT_EQ(counter.paints, 3);
    dialog.setIteration(4); // unchanged: not painted again
    EXPECT_EQ(counter.paints, 3);
    // During the run the button stops the search; afterwards it closes the dialog.
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("Stop"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.stopRequested());
    EXPECT_TRUE(dialog.isVisible());
    dialog.enableOK();
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("OK"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace

namespace {

using tarvik::ip::BoxKind;

QString DataModel(const char* file) {
    QFile f(QStringLiteral(TARVIK_TEST_DATA "/ip/") + QLatin1String(file));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// Runs the window's model and opens the search tree from the output page.
TSearchTreeWindow* RunAndOpenTree(TMIPmodule* window) {
    ProgressCloser closer;
    window->CalculateClick();
    EXPECT_EQ(window->pages()->currentIndex(), 1);
    EXPECT_TRUE(window->searchTreeButton()->isVisible());
    QTest::mouseClick(window->searchTreeButton(), Qt::LeftButton);
    tarvik::test::ProcessEvents();
    return window->searchTree();
}

TEST_F(MIPWindowTest, SearchTreeOfTheSmallModelShowsItsBoxesEdgesAndNodes) {
    setModel(DataModel("half.tip"));
    TSearchTreeWindow* tree = RunAndOpenTree(window.get());
    ASSERT_NE(tree, nullptr);
    ASSERT_TRUE(tree->isVisible());
    EXPECT_EQ(tree->windowTitle(), QStringLiteral("Search tree"));
    EXPECT_EQ(
        tree->summary()->text(),
        QStringLiteral("Default search. 5 nodes, 5 pivots (branched 4, integral 1). Optimal solution found"));
    // Five nodes down one path; beside it the four sides that were never solved.
    const tarvik::ip::NodeLog& log = *tree->log();
    QStringList boxes;
    for (const tarvik::ip::TreeBox& b : tree->view()->layout().boxes)
        boxes << (b.kind == BoxKind::Node
                      ? QStringLiteral("%1 %2 %3")
                            .arg(b.node)
                            .arg(BoxValueText(log, log.node(b.node)),
                                 BoxMarkText(log, log.node(b.node), b.node == 5))
                      : QStringLiteral("%1 %2 not solved").arg(b.node).arg(b.up ? "up" : "down"));
    EXPECT_EQ(boxes, (QStringList{"1 z = 1.5 branch X1", "2 z = 1.5 branch X2", "2 down not solved",
                                  "3 z = 1.5 branch X1", "4 z = 1.5 branch X2", "5 z = 1 incumbent",
                                  "4 up not solved", "3 up not solved", "1 up not solved"}));
    // The node list: one row per node, its branch as the edges label it.
    QStringList branches;
    for (int row = 0; row < tree->nodeList()->model()->rowCount(); ++row)
        branches << tree->nodeList()->model()->index(row, 3).data().toString();
    EXPECT_EQ(branches, (QStringList{"-", QString::fromUtf8("X1 ≤ 1"), QString::fromUtf8("X2 ≥ 1"),
                                     QString::fromUtf8("X1 ≤ 0"), QString::fromUtf8("X2 ≤ 1")}));
    // A click on node 5 shows its solution and bounds; the arrow up moves to its parent.
    TSearchTreeView* view = tree->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->boxCentre(5));
    EXPECT_EQ(view->selected(), 5);
    EXPECT_EQ(tree->details()->toPlainText(),
              QString::fromUtf8(
                  "Node 5\nDepth 4, below node 4\nBranch X2 ≤ 1\nLP value: 1.0000\nPivots: 1\n"
                  "Outcome: integral: a new incumbent\nIncumbent after it: 1.0000\n\n"
                  "LP solution (variables not listed are 0):\n  X2 = 1\n\n"
                  "Bounds set by the search (others as in the model):\n  0 ≤ X1 ≤ 0\n  1 ≤ X2 ≤ 1\n"));
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(view->selected(), 4);
    EXPECT_EQ(tree->nodeList()->currentIndex().row(), 3);
    tree->nodeList()->setCurrentIndex(tree->nodeList()->model()->index(1, 0));
    EXPECT_EQ(view->selected(), 2);
    EXPECT_TRUE(tree->details()->toPlainText().contains(QString::fromUtf8(
        "  X2 ≤ 0: penalty 0.5, estimate 1; not solved\n  X2 ≥ 1: penalty 0, estimate 1.5; node 3\n"
        "  The up side first: its penalty is the smaller.\n")));
    // Double-click folds the subtree into one box of three nodes.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->boxCentre(2));
    ASSERT_EQ(view->layout().boxes.size(), 4u); // nodes 1 and 2, the summary, node 1's other side
    EXPECT_EQ(view->layout().boxes[2].hidden, 3);
    EXPECT_EQ(tree->collapseButton()->text(), QStringLiteral("Expand"));
    EXPECT_TRUE(tarvik::ui::AccessibilityProblems(tree).isEmpty())
        << tarvik::ui::AccessibilityProblems(tree).join(", ").toStdString();
    EXPECT_EQ(tarvik::ui::HelpContextOf(view), 1001);
    EXPECT_TRUE(HelpTopicHtml(1001).contains(QStringLiteral("<h1>Search tree</h1>")));
}

// While a search of 11,790 nodes runs, the tree opened from the dialog grows, repaints and
// answers the mouse through the window system, although the dialog holds the input.
TEST_F(MIPWindowTest, SearchTreeIsLiveAndAnswersWhileALongSearchRuns) {
    setModel(DataModel("mkp15x35.tip"));
    int pollsWhileRunning = 0, paintsWhileRunning = 0, selectedWhileRunning = 0, clicked = -1;
    long nodesSeen = 0;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TMIPProgressDialog*>(w);
            if (!d || !d->isVisible()) continue;
            if (d->okButton()->text() == QStringLiteral("OK")) {
                d->okButton()->click();
                poll.stop();
                return;
            }
            if (!window->searchTree()) {
                QTest::mouseClick(d->searchTreeButton(), Qt::LeftButton);
                return;
            }
            TSearchTreeWindow* tree = window->searchTree();
            if (!tree->view()->running()) return;
            ++pollsWhileRunning;
            paintsWhileRunning = static_cast<int>(tree->view()->paints());
            nodesSeen = tree->view()->layout().drawnNodes;
            // A node in view, clicked through the window system.
            TSearchTreeView* view = tree->view();
            for (const tarvik::ip::TreeBox& b : view->layout().boxes) {
                if (b.kind != BoxKind::Node || !view->viewport()->rect().contains(view->boxCentre(b.node)))
                    continue;
                clicked = b.node; // the click may lay the tree out anew
                QTest::mouseClick(tree->windowHandle(), Qt::LeftButton, {},
                                  view->viewport()->mapTo(tree, view->boxCentre(clicked)));
                selectedWhileRunning = view->selected();
                break;
            }
        }
    });
    poll.start();
    window->CalculateClick();
    TSearchTreeWindow* tree = window->searchTree();
    ASSERT_NE(tree, nullptr);
    EXPECT_GE(pollsWhileRunning, 2);
    EXPECT_GE(paintsWhileRunning, 1);
    EXPECT_GT(nodesSeen, 0);
    EXPECT_EQ(selectedWhileRunning, clicked);
    EXPECT_FALSE(tree->view()->running());
    EXPECT_EQ(tree->nodeList()->model()->rowCount(), 11790);
    EXPECT_TRUE(tree->view()->layout().summarised);
    EXPECT_LE(tree->view()->layout().drawnNodes, TSearchTreeView::kMaxBoxes);
    EXPECT_TRUE(tree->summary()->text().contains(
        QStringLiteral("levels are drawn; the nodes below them are summarised")));
}

TEST_F(MIPWindowTest, FasterSearchIsASettingAndTheTreeSaysWhichSearchRan) {
    auto answer = [this](bool check, bool ok) {
        QTimer::singleShot(0, [=, this] {
            window->settingsDialog()->fasterSearchBox()->setChecked(check);
            (ok ? window->settingsDialog()->okButton() : window->settingsDialog()->cancelButton())->click();
        });
        window->SettingsClick();
    };
    EXPECT_FALSE(window->settingsDialog()->fasterSearchBox()->isChecked());
    EXPECT_EQ(window->settingsDialog()->fasterSearchBox()->text(),
              QStringLiteral(
                  "Faster search (bound rounding, reduced-cost fixing, rounding heuristic, cutting planes, "
                  "best-bound search, pseudo-costs)"));
    answer(true, true);
    answer(false, false); // Cancel keeps the choice
    EXPECT_TRUE(window->settingsDialog()->search() == tarvik::ip::kFasterSearch);
    setModel(DataModel("knapsack.tip"));
    TSearchTreeWindow* tree = RunAndOpenTree(window.get());
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->summary()->text().startsWith(QStringLiteral(
        "Faster search (bound rounding, reduced-cost fixing, rounding heuristic, cutting planes, best-bound "
        "search, pseudo-costs). 1 nodes")));
}

TEST_F(MIPWindowTest, SearchTreeSavesPicturesAndTheNodeTableAndPrints) {
    setModel(DataModel("knapsack.tip"));
    TSearchTreeWindow* tree = RunAndOpenTree(window.get());
    ASSERT_NE(tree, nullptr);
    QTemporaryDir dir;
    auto saved = [&](const QString& name, auto save) {
        dialogs.fileAnswers = {dir.filePath(name)};
        save();
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_TRUE(saved("t.png", [&] { tree->SavePictureClick(); }).startsWith("\x89PNG"));
    EXPECT_TRUE(saved("t.svg", [&] { tree->SavePictureClick(); }).contains("<svg"));
    EXPECT_TRUE(saved("t.pdf", [&] { tree->SavePictureClick(); }).startsWith("%PDF"));
    EXPECT_EQ(saved("t.txt", [&] { tree->SaveTableClick(false); }).toStdString(),
              tarvik::ip::NodeTableText(*tree->log()));
    EXPECT_TRUE(saved("t.csv", [&] {
                    tree->SaveTableClick(true);
                }).startsWith("node,parent,depth,branch,lp_value,outcome,incumbent\r\n1,-,0,-,"));
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    dialogs.printAnswers = {true};
    dialogs.preparePrinter = [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
    };
    tree->PrintClick();
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SearchTreeWindow, SaysWhenTheLogCountedNodesOnly) {
    auto log = std::make_shared<tarvik::ip::NodeLog>(3, 100);
    tarvik::ip::MIPProgress quiet;
    tarvik::ip::RunMIP(
        DataModel("knapsack.tip").replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString(), quiet,
        {.log = log.get()});
    TSearchTreeWindow tree;
    tree.setLog(log, false);
    EXPECT_TRUE(tree.summary()->text().endsWith(
        QStringLiteral("\nThe log keeps the first 3 nodes: %1 more were counted only.").arg(log->notKept())));
}

} // namespace
