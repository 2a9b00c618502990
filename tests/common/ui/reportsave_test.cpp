#include "common/ui/reportsave.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::ui;

QByteArray ReadAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int PdfPages(const QByteArray& pdf) {
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

TEST(ReportSaving, TextHasLfLineEndsAndEndsItsLastLine) {
    EXPECT_EQ(ReportPlainText(QStringLiteral("a\r\nb\rc")), "a\nb\nc\n");
    EXPECT_EQ(ReportPlainText(QString::fromUtf16(u"one\u2029two\u2028three\n")), "one\ntwo\nthree\n");
    EXPECT_EQ(ReportPlainText(QString::fromUtf16(u"x\u00a0= 1")), "x = 1\n");
    EXPECT_EQ(ReportPlainText(QString()), "");
}

TEST(ReportSaving, PdfHasAPageForEveryScreenfulPrinted) {
    QTemporaryDir dir;
    QTextDocument shortReport(QStringLiteral("Optimal solution found"));
    const QString one = dir.filePath(QStringLiteral("one.pdf"));
    ASSERT_TRUE(WriteReportPdf(shortReport, QStringLiteral("The solution of: a.tlp"), one));
    const QByteArray pdf = ReadAll(one);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(PdfPages(pdf), 1);

    QString lines;
    for (int i = 1; i <= 400; ++i) lines += QStringLiteral("line %1\n").arg(i);
    QTextDocument longReport(lines);
    const QString many = dir.filePath(QStringLiteral("many.pdf"));
    ASSERT_TRUE(WriteReportPdf(longReport, QStringLiteral("QUEUE"), many));
    EXPECT_GT(PdfPages(ReadAll(many)), 3);
}

TEST(ReportSaving, CommandsAskForANameAndReportWhatCannotBeWritten) {
    tarvik::test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("report.txt"));
    dialogs.fileAnswers = {text};
    EXPECT_TRUE(SaveReportText(QStringLiteral("a\r\nb"), QStringLiteral("Queue")));
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("Queue.txt"));
    EXPECT_EQ(dialogs.fileRequests[0].filters, QStringList{QStringLiteral("Text file (*.txt)")});
    EXPECT_EQ(ReadAll(text), QByteArray("a\nb\n"));

    // Cancelled: nothing written, nothing said.
    EXPECT_FALSE(SaveReportText(QStringLiteral("x"), QStringLiteral("Queue")));
    EXPECT_TRUE(dialogs.messages.empty());

    const QString bad = dir.filePath(QStringLiteral("no/such/folder/r.pdf"));
    dialogs.fileAnswers = {bad};
    QTextDocument doc(QStringLiteral("x"));
    EXPECT_FALSE(SaveReportPdf(doc, QStringLiteral("QUEUE"), QStringLiteral("Queue")));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot write file ") + bad);

    // A report without a table says so and asks for no file.
    dialogs.clear();
    EXPECT_FALSE(SaveReportTableCsv(QStringLiteral("no table here"), QStringLiteral("Queue")));
    EXPECT_TRUE(dialogs.fileRequests.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
}

TEST(ReportSaving, CommandsStandBesideAPrintButtonAndAfterAPrintEntry) {
    tarvik::test::ScriptedDialogs dialogs;
    QWidget window;
    auto* page = new QTextEdit(&window);
    page->setPlainText(QStringLiteral(" x   P(X<=x)\n------------\n 1   0.5\n 2   0.75\n"));
    auto* clear = new QPushButton(QStringLiteral("Clear"), &window);
    auto* print = new QPushButton(QStringLiteral("Print"), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(page);
    auto* row = new QHBoxLayout;
    row->addWidget(clear);
    row->addWidget(print);
    row->addStretch(1);
    layout->addLayout(row);
    AddReportSaving(
        page, [] { return QStringLiteral("T"); }, [] { return QStringLiteral("Tables"); }, print);
    ASSERT_EQ(row->count(), 4);
    auto* save = qobject_cast<QPushButton*>(row->itemAt(2)->widget());
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), QStringLiteral("Save"));
    ASSERT_NE(save->menu(), nullptr);
    const QList<QAction*> commands = save->menu()->actions();
    ASSERT_EQ(commands.size(), 3);
    EXPECT_EQ(commands[0]->text(), QString::fromUtf16(u"Save as PDF\u2026"));
    EXPECT_EQ(commands[1]->text(), QString::fromUtf16(u"Save as text\u2026"));
    EXPECT_EQ(commands[2]->text(), QString::fromUtf16(u"Save table as CSV\u2026"));

    // The CSV command saves the page's table.
    QTemporaryDir dir;
    dialogs.fileAnswers = {dir.filePath(QStringLiteral("t.csv"))};
    commands[2]->trigger();
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("t.csv"))), QByteArray("x,P(X<=x)\r\n1,0.5\r\n2,0.75\r\n"));

    QMenu menu;
    QAction* open = menu.addAction(QStringLiteral("Open"));
    QAction* printEntry = menu.addAction(QStringLiteral("Print"));
    QAction* exit = menu.addAction(QStringLiteral("Exit"));
    auto* output = new QPlainTextEdit(&window);
    AddReportSaving(
        output, [] { return QStringLiteral("T"); }, [] { return QStringLiteral("LP"); }, printEntry);
    const QList<QAction*> entries = menu.actions();
    ASSERT_EQ(entries.size(), 6);
    EXPECT_EQ(entries[0], open);
    EXPECT_EQ(entries[1], printEntry);
    EXPECT_EQ(entries[2]->text(), QString::fromUtf16(u"Save as PDF\u2026"));
    EXPECT_EQ(entries[3]->text(), QString::fromUtf16(u"Save as text\u2026"));
    EXPECT_EQ(entries[5], exit);

    // CSV is offered only while the output holds a table.
    QAction* csv = entries[4];
    emit menu.aboutToShow();
    EXPECT_FALSE(csv->isEnabled());
    output->setPlainText(QStringLiteral(" x   P(X<=x)\n------------\n 1   0.5\n"));
    emit menu.aboutToShow();
    EXPECT_TRUE(csv->isEnabled());
}

} // namespace
