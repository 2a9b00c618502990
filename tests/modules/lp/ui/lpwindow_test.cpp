#include "cli/solvecli.h"
#include "common/ui/accessibility.h"
#include "common/ui/examples.h"
#include "common/ui/picturesave.h"
#include "modelwindowtesting.h"
#include "modules/lp/ui/graphicalpage.h"
#include "modules/lp/ui/lpinstelunit.h"
#include "modules/lp/ui/lpprogress.h"
#include "modules/lp/ui/lpunit.h"
#include "modules/lp/ui/modeleditor.h"
#include "qtprint.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include "common/ui/help.h"
#include "common/ui/printing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

using namespace tarvik::ui;
using tarvik::test::ScriptedDialogs;

namespace {

const char* const kTextbook = "max 3x1 + 5x2;\nx1 <= 4;\n2x2 <= 12;\n3x1 + 2x2 <= 18;\n";

// Closes the progress dialog with its OK button once the run is over and
// keeps what the dialog showed then.
class ProgressCloser {
public:
    ProgressCloser() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    QString errorLine, line, variables, conditions, phase, iteration, caption;
    bool okWasDisabledDuringRun = false;
    bool blocksOtherWindows = false;
    std::function<void()> beforeOK; // runs while the finished dialog waits
    int closed = 0;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TProgressDialog*>(w);
            if (!d || !d->isVisible()) continue;
            if (!d->okButton()->isEnabled()) {
                okWasDisabledDuringRun = true;
                continue;
            }
            errorLine = d->errorLabel()->text();
            line = d->lineLabel()->text();
            variables = d->variablesLabel()->text();
            conditions = d->conditionsLabel()->text();
            phase = d->phaseLabel()->text();
            iteration = d->iterationLabel()->text();
            caption = d->windowTitle();
            blocksOtherWindows = QApplication::activeModalWidget() == d;
            if (beforeOK) beforeOK();
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
            ++closed;
        }
    }
    QTimer timer_;
};

class LPWindowTest : public ModelWindowTest<TLP> {
protected:
    void SetUp() override { showWindow(new TLP); }
    void placeCursor(int line, int column) {
        QTextCursor c(editor()->document()->findBlockByNumber(line));
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, column);
        editor()->setTextCursor(c);
    }
};

TEST_F(LPWindowTest, NewWindowShowsTheTemplateUnderNoName) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Linear programming  File: No name"));
    EXPECT_EQ(editor()->lines(), TLP::Template());
    EXPECT_TRUE(window->pages()->isVisible());
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral("Input"));
    EXPECT_EQ(window->pages()->tabText(1), QStringLiteral("Output"));
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(editor()->textCursor().blockNumber(), 2);
    for (int n : {0, 1, 4, 5}) {
        EXPECT_TRUE(editor()->isProtectedLine(n)) << n;
        QTextCursor c(editor()->document()->findBlockByNumber(n));
        c.movePosition(QTextCursor::NextCharacter);
        EXPECT_TRUE(c.charFormat().fontItalic());
        EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::blue));
    }
    EXPECT_FALSE(editor()->isProtectedLine(2));
}

TEST_F(LPWindowTest, TypingIntoACommentLineIsRefused) {
    const QStringList before = editor()->lines();
    placeCursor(0, 5);
    QTest::keyClicks(editor(), "abc");
    QTest::keyClick(editor(), Qt::Key_Backspace);
    QTest::keyClick(editor(), Qt::Key_Delete);
    placeCursor(1, 0);
    QTest::keyClicks(editor(), "x");
    placeCursor(1, line(1).size());
    QTest::keyClicks(editor(), "x");
    // A selection reaching into a comment cannot be typed over.
    placeCursor(2, 0);
    QTextCursor c = editor()->textCursor();
    c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, 3);
    editor()->setTextCursor(c);
    QTest::keyClicks(editor(), "y");
    EXPECT_EQ(editor()->lines(), before);
    EXPECT_FALSE(window->isModified());

    // Joining a line with text onto a comment is refused; empty lines may go.
    placeCursor(2, 0);
    QTest::keyClicks(editor(), "max x;");
    placeCursor(1, line(1).size());
    QTest::keyClick(editor(), Qt::Key_Delete);
    EXPECT_EQ(line(2), QStringLiteral("max x;"));
    placeCursor(3, 0);
    QTest::keyClick(editor(), Qt::Key_Backspace);
    EXPECT_EQ(line(2), QStringLiteral("max x;"));
    placeCursor(3, 0);
    QTest::keyClick(editor(), Qt::Key_Delete); // removes the empty line 3
    EXPECT_EQ(line(3), TLP::Template()[4]);
}

TEST_F(LPWindowTest, TextTypedNextToACommentIsPlainAndFree) {
    placeCursor(1, line(1).size());
    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), "max x1;");
    EXPECT_EQ(line(1), TLP::Template()[1]);
    EXPECT_EQ(line(2), QStringLiteral("max x1;"));
    EXPECT_FALSE(editor()->isProtectedLine(2));
    EXPECT_FALSE(editor()->textCursor().charFormat().fontItalic());
    QTest::keyClick(editor(), Qt::Key_Backspace);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(line(2), QStringLiteral("max x1\t"));
    EXPECT_TRUE(window->isModified());
}

TEST_F(LPWindowTest, SelectAllAndDeleteClearTheTemplateAndNewBringsItBack) {
    window->SelectAllClick();
    window->DeleteClick();
    EXPECT_EQ(editor()->toPlainText(), QString());
    EXPECT_TRUE(window->isModified());

    dialogs.messageAnswers = {mrNo};
    window->NewClick();
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{QStringLiteral("Save changes in No name?")});
    EXPECT_EQ(editor()->lines(), TLP::Template());
    EXPECT_TRUE(editor()->isProtectedLine(0));
    EXPECT_FALSE(window->isModified());
}

TEST_F(LPWindowTest, SelectAllAndDeleteByKeyboardClearTheTemplate) {
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(editor()->toPlainText(), QString());
    EXPECT_TRUE(window->isModified());
}

TEST_F(LPWindowTest, PasteReplacesACommentWithPlainText) {
    QApplication::clipboard()->setText(QStringLiteral("max 2x;"));
    QTextCursor c(editor()->document()->findBlockByNumber(0));
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    window->PasteClick();
    EXPECT_EQ(line(0), QStringLiteral("max 2x;"));
    EXPECT_FALSE(editor()->isProtectedLine(0));
    EXPECT_TRUE(editor()->isProtectedLine(1));
}

TEST_F(LPWindowTest, EditEnablingFollowsThePageAndTheSelection) {
    QApplication::clipboard()->setText(QStringLiteral("x"));
    auto menu = shownEnabling(window->editMenu());
    EXPECT_FALSE(menu["Cut"]);
    EXPECT_FALSE(menu["Copy"]);
    EXPECT_FALSE(menu["Delete"]);
    EXPECT_TRUE(menu["Paste"]);
    EXPECT_TRUE(menu["Select all"]);

    QApplication::clipboard()->clear();
    window->SelectAllClick();
    auto popup = shownEnabling(window->contextMenu());
    EXPECT_TRUE(popup["Knip&pen"]);
    EXPECT_TRUE(popup["&Kopieren"]);
    EXPECT_TRUE(popup["&Wissen"]);
    EXPECT_FALSE(popup["&Plakken"]);
    EXPECT_TRUE(popup["&Bereken Oplossing"]);
}

TEST_F(LPWindowTest, OutputPageOnlyAfterASuccessfulRun) {
    window->pages()->setCurrentIndex(1);
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    QTest::mouseClick(window->pages()->tabBar(), Qt::LeftButton, {},
                      window->pages()->tabBar()->tabRect(1).center());
    EXPECT_EQ(window->pages()->currentIndex(), 0);
}

TEST_F(LPWindowTest, SyntaxErrorSelectsTheOffendingCharacter) {
    // Two lines before the error: each line end is two characters for the reader.
    setModel(QStringLiteral("{ model }\n\nmax 3x + 5;\nx <= 1;"));
    ProgressCloser closer;
    window->CalculateClick();
    EXPECT_EQ(closer.closed, 1);
    EXPECT_EQ(closer.errorLine, QStringLiteral("Syntax error: Variable expected"));
    EXPECT_FALSE(window->hasResult());
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(editor()->textCursor().selectedText(), QStringLiteral(";"));
    EXPECT_EQ(editor()->textCursor().selectionStart(), 21);
    EXPECT_TRUE(window->outputView()->toPlainText().startsWith(QStringLiteral("KORVEN Version 2.1")));
    window->pages()->setCurrentIndex(1);
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral("Input"));
}

TEST_F(LPWindowTest, SuccessfulRunShowsTheWholeOutput) {
    setModel(QString::fromLatin1(kTextbook));
    ProgressCloser closer;
    // A second run cannot start while the dialog of the first one is open.
    closer.beforeOK = [this] { window->CalculateClick(); };
    window->calculateButton()->click();
    EXPECT_EQ(closer.closed, 1);
    EXPECT_TRUE(closer.blocksOtherWindows);
    EXPECT_EQ(closer.caption, QStringLiteral("Progress dialog"));
    EXPECT_EQ(closer.errorLine, QStringLiteral("Optimal solution found"));
    EXPECT_EQ(closer.variables, QStringLiteral("2"));
    EXPECT_EQ(closer.conditions, QStringLiteral("3"));
    EXPECT_EQ(closer.phase, QStringLiteral("2"));
    EXPECT_NE(closer.iteration, QStringLiteral("0"));

    EXPECT_TRUE(window->hasResult());
    EXPECT_EQ(window->pages()->currentIndex(), 1);
    EXPECT_EQ(window->pages()->tabText(0), QStringLiteral("Return for adapted or new model"));
    const QString out = window->outputView()->toPlainText();
    EXPECT_TRUE(out.startsWith(QStringLiteral("KORVEN Version 2.1")));
    EXPECT_TRUE(out.contains(QStringLiteral("Value Objective Function :")));
    EXPECT_TRUE(out.contains(QStringLiteral("36.0000")));
    EXPECT_TRUE(out.contains(QStringLiteral("Right-Hand-Side Ranges")));
    EXPECT_FALSE(out.contains(QLatin1Char('\r')));
    EXPECT_EQ(window->outputView()->textCursor().selectedText(), QStringLiteral("K"));

    // Back to the model and to the output again.
    window->pages()->setCurrentIndex(0);
    window->pages()->setCurrentIndex(1);
    EXPECT_EQ(window->pages()->currentIndex(), 1);
    // On the output page only copying and selecting are possible.
    auto menu = shownEnabling(window->editMenu());
    EXPECT_FALSE(menu["Cut"]);
    EXPECT_FALSE(menu["Paste"]);
    EXPECT_FALSE(menu["Delete"]);
    EXPECT_TRUE(menu["Copy"]);
    window->SelectAllClick();
    window->DeleteClick();
    EXPECT_EQ(window->outputView()->toPlainText(), out);
}

TEST_F(LPWindowTest, SettingsReachTheNextRun) {
    // The choices stay as the user left them, even when Cancel closes the dialog.
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TLPInstellingen*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Settings"));
        dlg->firstLastButton()->click();
        dlg->sensitivityOffButton()->click();
        dlg->cancelButton()->click();
    });
    window->SettingsClick();
    EXPECT_EQ(window->settingsDialog()->settings().output, tarvik::lp::OutputMode::FirstLast);
    EXPECT_FALSE(window->settingsDialog()->settings().sensitivity);

    setModel(QString::fromLatin1(kTextbook));
    ProgressCloser closer;
    window->CalculateClick();
    const QString out = window->outputView()->toPlainText();
    EXPECT_TRUE(out.contains(QStringLiteral("Iteration     1")));
    EXPECT_TRUE(out.contains(QStringLiteral("Last Iteration")));
    EXPECT_TRUE(out.contains(QStringLiteral("Shadow prices")));
    EXPECT_FALSE(out.contains(QStringLiteral("Right-Hand-Side Ranges")));
}

class LPFileTest : public LPWindowTest {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static QByteArray contents(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(LPFileTest, SavingTwiceKeepsThePreviousVersionAsBackup) {
    setModel(QStringLiteral("max x;\nx <= 1;"));
    dialogs.fileAnswers.push_back(path("model.tlp"));
    EXPECT_TRUE(window->SaveClick()); // an unnamed model asks for a name
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].filters, QStringList{QStringLiteral("Tarvik LP Bestanden (*.tlp)")});
    // A name typed without an extension becomes a model file the open dialog lists.
    EXPECT_EQ(dialogs.fileRequests[0].defaultSuffix, QStringLiteral("TRV"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Linear programming  File: ") + path("model.tlp"));
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(contents(path("model.tlp")), QByteArray("max x;\r\nx <= 1;\r\n"));

    setModel(QStringLiteral("max 2x;\nx <= 1;"));
    QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(contents(path("model.tlp")), QByteArray("max 2x;\r\nx <= 1;\r\n"));
    EXPECT_EQ(contents(path("model.BAK")), QByteArray("max x;\r\nx <= 1;\r\n"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LPFileTest, AFailedSaveSaysSoAndKeepsTheModelModified) {
    QFile plain(path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    setModel(QStringLiteral("max x;"));
    dialogs.fileAnswers.push_back(path("plain") + QStringLiteral("/model.tlp"));
    EXPECT_FALSE(window->SaveAsClick());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No file opened yet!"));
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(dialogs.messages[0].standardCaptions);
    EXPECT_TRUE(window->isModified());

    // Yes to the save question of New, but the save fails: the model stays.
    dialogs.clear();
    dialogs.messageAnswers = {mrYes};
    window->NewClick();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("No file opened yet!"));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max x;"));
}

TEST_F(LPFileTest, APreviousModelThatCannotBecomeTheBackupStopsTheSave) {
    setModel(QStringLiteral("max x;"));
    dialogs.fileAnswers.push_back(path("model.tlp"));
    ASSERT_TRUE(window->SaveClick());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("model.BAK")));
    setModel(QStringLiteral("max 2x;"));
    EXPECT_FALSE(window->SaveClick());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot make the backup ") + path("model.BAK") +
                                            QStringLiteral(": Is a directory"));
    EXPECT_EQ(contents(path("model.tlp")), QByteArray("max x;\r\n"));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max 2x;"));
    EXPECT_TRUE(window->isModified());
}

TEST_F(LPFileTest, NoToTheSaveQuestionOfOpenLoadsTheFile) {
    QFile f(path("m.tlp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("max x1;\r\nx1 <= 2;\r\n");
    f.close();
    setModel(QStringLiteral("max y;"));
    dialogs.messageAnswers = {mrNo};
    dialogs.fileAnswers.push_back(path("m.tlp"));
    window->OpenClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Save changes in No name?"));
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(dialogs.messages[0].buttons, mbYesNoCancel);
    EXPECT_FALSE(dialogs.messages[0].standardCaptions);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].filters.first(), QStringLiteral("Tarvik LP bestanden (*.tlp)"));
    EXPECT_EQ(editor()->lines(), (QStringList{"max x1;", "x1 <= 2;"}));
    EXPECT_FALSE(editor()->isProtectedLine(0));
    EXPECT_EQ(editor()->textCursor().position(), 0);
    EXPECT_FALSE(window->isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Linear programming  File: ") + path("m.tlp"));
}

TEST_F(LPFileTest, CancelKeepsTheModel) {
    setModel(QStringLiteral("max y;"));
    for (auto command : {&TLP::OpenClick, &TLP::NewClick, &TLP::CloseClick}) {
        dialogs.messageAnswers = {mrCancel};
        (window.get()->*command)();
    }
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(dialogs.fileRequests.empty());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max y;"));
    EXPECT_TRUE(window->isModified());
    dialogs.messageAnswers = {mrCancel};
    EXPECT_FALSE(window->closeModule());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(LPFileTest, CloseHidesTheModelUntilNew) {
    setModel(QStringLiteral("max y;"));
    dialogs.messageAnswers = {mrNo};
    auto* toolBar = window->findChild<QWidget*>(QStringLiteral("ToolBar"));
    ASSERT_NE(toolBar, nullptr);
    auto* button = toolBar->findChild<QAbstractButton*>();
    ASSERT_NE(button, nullptr);
    const QPoint buttonAt = button->mapTo(window.get(), QPoint(0, 0));
    window->CloseClick();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Linear programming"));
    EXPECT_FALSE(window->pages()->isVisible());
    tarvik::test::ProcessEvents();
    EXPECT_EQ(button->mapTo(window.get(), QPoint(0, 0)), buttonAt) << "the toolbar stays at the top";
    EXPECT_FALSE(window->hasModel());
    // Nothing to save, run or ask about now.
    EXPECT_FALSE(window->SaveClick());
    window->CalculateClick();
    EXPECT_TRUE(dialogs.fileRequests.empty());
    window->NewClick();
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(window->pages()->isVisible());
    EXPECT_EQ(editor()->lines(), TLP::Template());
}

TEST_F(LPFileTest, FontAndPrintUseTheDialogService) {
    QFont f(QStringLiteral("Monospace"), 15);
    dialogs.fontAnswers.push_back(f);
    window->FontClick();
    EXPECT_EQ(editor()->font().pointSize(), 15);
    EXPECT_EQ(window->outputView()->font().pointSize(), 15);

    const QString pdf = path("out.pdf");
    dialogs.printAnswers = {true};
    dialogs.preparePrinter = [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
    };
    window->printButton()->click();
    EXPECT_EQ(dialogs.printRequests, 1);
    EXPECT_EQ(SharedPrinter().docName(), QStringLiteral("No name"));
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(LPWindowTest, F10RunsAndTheFrameCloseButtonEndsTheWait) {
    setModel(QStringLiteral("max x;"));
    QTimer poll;
    int seen = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TProgressDialog*>(w);
                d && d->isVisible() && d->okButton()->isEnabled()) {
                EXPECT_EQ(d->errorLabel()->text(), QStringLiteral("Unbounded."));
                ++seen;
                d->close();
            }
    });
    poll.start(0);
    QTest::keyClick(editor(), Qt::Key_F10);
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(window->hasResult());
    EXPECT_TRUE(window->outputView()->toPlainText().contains(QStringLiteral("  Unbounded")));
}

TEST_F(LPWindowTest, FractionsInTheSettingsPrintTheTableausInFractions) {
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TLPInstellingen*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(dlg->decimalsButton()->isChecked());
        EXPECT_EQ(dlg->fractionsButton()->text(), QStringLiteral("fractions"));
        QTest::mouseClick(dlg->firstLastButton(), Qt::LeftButton);
        QTest::mouseClick(dlg->fractionsButton(), Qt::LeftButton);
        QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    });
    window->SettingsClick();
    EXPECT_TRUE(window->settingsDialog()->settings().fractions);
    setModel(QString::fromLatin1(kTextbook));
    ProgressCloser closer;
    window->CalculateClick();
    const QString out = window->outputView()->toPlainText();
    EXPECT_TRUE(
        out.contains(QStringLiteral("Last Iteration\n              X1       X2       Slack1   Slack2   "
                                    "Slack3   RHS      \n          -------------------------------------"
                                    "-----------------\nRel.Cost|        0        0        0      3/2     "
                                    "   1       36\nSlack1  |        0        0        1      1/3     -1/3 "
                                    "       2\n")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("  Value objective function as a fraction: 36\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("  X1         :           2.0000       0.0000\n")));
}

TEST_F(LPWindowTest, ClosingTheModuleAsksAndReleasesTheSettings) {
    QTest::keyClicks(editor(), "max x;");
    bool closedSignal = false;
    QObject::connect(window.get(), &ModuleWindow::moduleClosed, [&] { closedSignal = true; });
    dialogs.messageAnswers = {mrNo};
    window->closeButton()->click();
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{QStringLiteral("Save changes in No name?")});
    EXPECT_TRUE(closedSignal);
    EXPECT_EQ(window->settingsDialog(), nullptr);
    window.release(); // the module window deletes itself
    tarvik::test::ProcessEvents();
}

TEST_F(LPFileTest, ARealModelOpensAndSolves) {
    const QString afiro = QStringLiteral(TARVIK_TEST_DATA "/netlib/afiro.tlp");
    ASSERT_TRUE(QFile::exists(afiro));
    dialogs.fileAnswers.push_back(afiro);
    window->OpenClick();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Linear programming  File: ") + afiro);
    EXPECT_TRUE(editor()->lines().first().startsWith(QLatin1Char('{')));
    ProgressCloser closer;
    window->CalculateClick();
    EXPECT_EQ(closer.errorLine, QStringLiteral("Optimal solution found"));
    EXPECT_EQ(closer.conditions, QStringLiteral("27"));
    EXPECT_TRUE(window->outputView()->toPlainText().contains(QStringLiteral("-464.7531")));
}

TEST_F(LPFileTest, ExamplesOpenInTheExamplesFolderAndSolve) {
    const QString folder = ExamplesFolder(QStringLiteral("lp"));
    ASSERT_TRUE(folder.endsWith(QStringLiteral("/examples/lp"))) << folder.toStdString();
    dialogs.fileAnswers.push_back(folder + QStringLiteral("/furniture.tlp"));
    window->fileMenu()->findChild<QAction*>(QStringLiteral("ExamplesCommand"))->trigger();
    EXPECT_EQ(dialogs.fileRequests[0].directory, folder);
    ProgressCloser closer;
    window->CalculateClick();
    EXPECT_EQ(closer.errorLine, QStringLiteral("Optimal solution found"));
    EXPECT_TRUE(window->outputView()->toPlainText().contains(QStringLiteral("1700.0000")));
    // The user's own folder is not the examples'.
    window->OpenClick();
    EXPECT_NE(dialogs.fileRequests[1].directory, folder);
}

TEST_F(LPFileTest, AnUnreadableFileLeavesTheModelAlone) {
    setModel(QStringLiteral("max y;"));
    dialogs.messageAnswers = {mrNo};
    dialogs.fileAnswers.push_back(path("missing.tlp"));
    window->OpenClick();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].kind, MsgKind::Error);
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("max y;"));
    EXPECT_EQ(window->fileName(), QStringLiteral("No name"));
}

TEST_F(LPWindowTest, TheOutputPageHoldsTheWholeTextOfALongRun) {
    // Every tableau of a 40 x 40 model.
    QString model = QStringLiteral("max ");
    for (int j = 1; j <= 40; ++j) model += QStringLiteral("+%1x%2 ").arg(1 + j % 7).arg(j);
    model += QStringLiteral(";\n");
    for (int i = 1; i <= 40; ++i) {
        for (int j = 1; j <= 40; ++j) model += QStringLiteral("+%1x%2 ").arg(1 + (i * j) % 11).arg(j);
        model += QStringLiteral("<= %1;\n").arg(100 + 3 * i);
    }
    setModel(model);
    window->settingsDialog()->allTableausButton()->setChecked(true);
    ProgressCloser closer;
    window->CalculateClick();
    ASSERT_TRUE(window->hasResult());

    tarvik::lp::LPProgress quiet;
    tarvik::lp::LPSettings all;
    all.output = tarvik::lp::OutputMode::All;
    const auto direct = tarvik::lp::RunLP(editor()->joinedText().toStdString(), all, quiet);
    QString expected = QString::fromStdString(direct.output);
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_GT(expected.size(), 400000);
    EXPECT_EQ(window->outputView()->toPlainText(), expected);
}

TEST(LPInShell, TheToolbarButtonOpensTheWindowWithItsMenus) {
    ScriptedDialogs dialogs;
    tarvik::shell::TTarvikMain main;
    main.show();
    tarvik::test::ProcessEvents();
    QToolButton* start = main.toolbarButton(QStringLiteral("StartLP"));
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(start->isEnabled());
    start->click();
    tarvik::test::ProcessEvents();
    auto* lp = qobject_cast<TLP*>(main.module());
    ASSERT_NE(lp, nullptr);
    EXPECT_TRUE(main.ModuleOpen);
    EXPECT_EQ(lp->windowTitle(), QStringLiteral("Linear programming  File: No name"));
    EXPECT_EQ(lp->inputEditor()->lines(), TLP::Template());
    QStringList titles;
    for (QAction* a : main.menuBar()->actions())
        if (a->isVisible()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"File", "Edit", "Options", "Calculations", "Help"}));
    lp->CloseModuleClick();
    tarvik::test::ProcessEvents();
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_TRUE(dialogs.messages.empty());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(LPProgressDialog, CountsArePaintedAtOnceWithoutTheEventLoop) {
    TProgressDialog dialog;
    dialog.show();
    tarvik::test::ProcessEvents();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Progress dialog"));
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    PaintCounter counter;
    for (QLabel* l : {dialog.lineLabel(), dialog.iterationLabel(), dialog.errorLabel()})
        l->installEventFilter(&counter);
    // Each one is painted before any event is handled.
    dialog.setLine(12);
    EXPECT_EQ(counter.paints, 1);
    dialog.setIteration(3);
    EXPECT_EQ(counter.paints, 2);
    dialog.setErrorLine(QStringLiteral("Infeasible"));
    EXPECT_EQ(counter.paints, 3);
    dialog.setLine(12); // an unchanged count is not painted again
    EXPECT_EQ(counter.paints, 3);
    EXPECT_EQ(dialog.lineLabel()->text(), QStringLiteral("12"));
}

TEST(LPHelp, TheWindowsHelpContextHoldsItsTopic) {
    EXPECT_TRUE(HelpTopicHtml(9).contains(QStringLiteral("<h1>Linear programming</h1>")));
}

} // namespace

TEST_F(LPFileTest, TheOutputSavedAsTextIsWhatTheCommandLinePrints) {
    setModel(QString::fromLatin1(kTextbook));
    ProgressCloser closer;
    window->calculateButton()->click();
    ASSERT_TRUE(window->hasResult());

    auto* save = window->outputView()->findChild<QAction*>(QStringLiteral("SaveReportText"));
    ASSERT_NE(save, nullptr);
    dialogs.fileAnswers.push_back(path("solution.txt"));
    save->trigger();

    {
        QFile model(path("model.tlp"));
        ASSERT_TRUE(model.open(QIODevice::WriteOnly));
        model.write(kTextbook);
    }
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(tarvik::cli::RunSolve({path("model.tlp").toStdString()}, in, out, err), 0) << err.str();
    EXPECT_EQ(contents(path("solution.txt")).toStdString(), out.str());
}

TEST_F(LPFileTest, TheOutputsTablesSaveAsCsvTheOneChosen) {
    setModel(QString::fromLatin1(kTextbook));
    ProgressCloser closer;
    window->calculateButton()->click();
    ASSERT_TRUE(window->hasResult());
    dialogs.choiceAnswers = {0};
    dialogs.fileAnswers = {path("variables.csv")};
    window->outputView()->findChild<QAction*>(QStringLiteral("SaveReportCsv"))->trigger();
    ASSERT_EQ(dialogs.choiceRequests.size(), 1u);
    EXPECT_EQ(dialogs.choiceRequests[0].items[0],
              QStringLiteral("Table 1: Variable, Activity Level, Reduced Cost"));
    const QStringList records =
        QString::fromUtf8(contents(path("variables.csv"))).split(QStringLiteral("\r\n"));
    EXPECT_EQ(records[0], QStringLiteral("Variable,Activity Level,Reduced Cost"));
    EXPECT_TRUE(dialogs.messages.empty());
}

namespace {

using tarvik::lp::Ink;

// Runs the editor's model and closes the progress dialog.
void Calculate(TLP* window) {
    ProgressCloser closer;
    window->CalculateClick();
}

TEST_F(LPFileTest, GraphicalPageShowsForTwoVariablesSavesAndPrints) {
    setModel(QString::fromLatin1(kTextbook));
    Calculate(window.get());
    QTabWidget* pages = window->pages();
    ASSERT_TRUE(pages->isTabVisible(2));
    EXPECT_EQ(pages->tabText(2), QStringLiteral("Graphical solution"));
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(2).center());
    ASSERT_EQ(pages->currentIndex(), 2);
    TGraphicalPage* page = window->graphicalPage();
    const QString description = page->picture()->accessibleDescription();
    EXPECT_TRUE(description.contains(QStringLiteral("Vertex 4: (2.0000, 6.0000)  objective 36.0000\n")));
    EXPECT_TRUE(description.contains(QStringLiteral("Simplex path: 1 -> 5 -> 4\n")));
    EXPECT_TRUE(tarvik::ui::AccessibilityProblems(window.get()).isEmpty())
        << tarvik::ui::AccessibilityProblems(window.get()).join(QLatin1Char('\n')).toStdString();

    // The optimum is painted where the layout puts its mark.
    const QImage shown = page->picture()->grab().toImage();
    int optima = 0;
    for (const tarvik::lp::PxMark& m : page->picture()->layout().marks) {
        if (m.ink != Ink::Optimum) continue;
        ++optima;
        EXPECT_EQ(shown.pixelColor(int(m.at.x), int(m.at.y)), QColor(205, 0, 0));
    }
    EXPECT_EQ(optima, 1);

    dialogs.fileAnswers = {path("g.png"), path("g.svg"), path("g.pdf")};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(page->SavePictureClick());
    EXPECT_EQ(dialogs.fileRequests.back().filters, (QStringList{kPngFilter, kSvgFilter, kPdfPictureFilter}));
    EXPECT_EQ(QImage(path("g.png")).size(), page->savedSize());
    EXPECT_TRUE(contents(path("g.svg")).contains("optimum (2, 6), z = 36"));
    EXPECT_TRUE(contents(path("g.pdf")).startsWith("%PDF"));

    const QString pdf = path("print.pdf");
    dialogs.printAnswers = {true};
    dialogs.preparePrinter = [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
    };
    window->printButton()->click(); // the tool bar prints the page shown
    EXPECT_EQ(SharedPrinter().docName(), QStringLiteral("Graphical solution of: No name"));
    EXPECT_TRUE(contents(pdf).startsWith("%PDF"));
}

TEST_F(LPWindowTest, GraphicalPageHidesForOtherModelsAndAfterErrors) {
    QTabWidget* pages = window->pages();
    EXPECT_FALSE(pages->isTabVisible(2));
    for (const char* model : {"max x + y + z;\nx + y + z <= 1;\n", "max x;\nx <= 2;\n", "max x + ;\n"}) {
        setModel(QString::fromLatin1(kTextbook));
        Calculate(window.get());
        EXPECT_TRUE(pages->isTabVisible(2));
        setModel(QString::fromLatin1(model));
        Calculate(window.get());
        EXPECT_FALSE(pages->isTabVisible(2)) << model;
    }
    // An empty region says so on the picture.
    setModel(QStringLiteral("max x + y;\nx + y >= 5;\nx + y <= 3;\n"));
    Calculate(window.get());
    ASSERT_TRUE(pages->isTabVisible(2));
    bool note = false;
    for (const tarvik::lp::PxText& t : window->graphicalPage()->picture()->layout().texts)
        note = note || t.text == "There is no feasible region";
    EXPECT_TRUE(note);
    dialogs.messageAnswers = {mrNo};
    window->NewClick();
    EXPECT_FALSE(pages->isTabVisible(2));
}

} // namespace
