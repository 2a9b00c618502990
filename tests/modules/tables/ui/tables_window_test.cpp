#include "modules/tables/ui/tabellengrafiek.h"
#include "modules/tables/ui/tablesgraph.h"
#include "modules/tables/ui/tableswindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using namespace tarvik::tables;
using tarvik::test::ScriptedDialogs;

namespace {

const QString kTitle = QStringLiteral("Tables and graphs\n") + QString(44, QLatin1Char('_'));

class TablesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TTables>();
        window->resize(900, 640);
        window->show();
        tarvik::test::ProcessEvents();
    }
    void TearDown() override {
        window.reset();
        tarvik::test::ProcessEvents();
    }

    const TTables::Page& page(Distribution d) { return window->page(d); }
    void select(Distribution d) { window->tabs()->setCurrentIndex(static_cast<int>(d)); }
    void setParameters(Distribution d, const QStringList& values) {
        for (int i = 0; i < values.size(); ++i)
            page(d).parameters[static_cast<std::size_t>(i)]->setText(values[i]);
    }
    void setInputs(Distribution d, const QStringList& values) {
        for (int i = 0; i < values.size(); ++i)
            page(d).inputs[static_cast<std::size_t>(i)]->setText(values[i]);
    }
    QStringList inputs(Distribution d) {
        QStringList texts;
        for (QLineEdit* f : page(d).inputs) texts << f->text();
        return texts;
    }
    QStringList lines() { return window->resultsText().split(QLatin1Char('\n')); }
    bool graphVisible() { return window->graphWindow() && window->graphWindow()->isVisible(); }

    ScriptedDialogs dialogs;
    std::unique_ptr<TTables> window;
};

QStringList Padded(QStringList texts) {
    while (texts.size() < 12) texts << QString();
    return texts;
}

} // namespace

TEST_F(TablesWindowTest, OpensOnThePoissonTabWithTitleAndMenus) {
    EXPECT_EQ(window->windowTitle(), "Tables and graphs");
    QStringList tabs;
    for (int i = 0; i < window->tabs()->count(); ++i) tabs << window->tabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Standardnormal", "Binominal", "Poisson", "Hypergeometric", "Chi-square",
                                 "Student-t", "Fisher-F", "Gamma"}));
    EXPECT_EQ(window->tabs()->currentIndex(), 2);
    EXPECT_EQ(window->resultsText(), kTitle);
    EXPECT_EQ(page(Distribution::Gamma).heading->text(), "Gamma distribution (Expectation =1)");
    EXPECT_EQ(page(Distribution::Binomial).heading->text(), "Binominal distribution B(n,p)");
    EXPECT_EQ(page(Distribution::Normal).inputGroup->title(), "Input z (z<=1000000)");
    EXPECT_EQ(page(Distribution::Poisson).inputGroup->title(), "Input x (x<=1000000)");
    EXPECT_EQ(page(Distribution::Normal).graph, nullptr);
    EXPECT_EQ(page(Distribution::Poisson).percentiles, nullptr);
    EXPECT_TRUE(page(Distribution::Poisson).probabilities->isChecked());

    const auto& menus = window->moduleMenus();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->title(), "File");
    QStringList file;
    for (QAction* a : menus[0]->actions()) file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(file, (QStringList{"Settings printer", "-", "Close Statistical Tables and Graphs"}));
    EXPECT_FALSE(menus[1]->menuAction()->isVisible());
    EXPECT_TRUE(menus[1]->actions().isEmpty());
    EXPECT_EQ(menus[2]->actions().value(0)->text(), "Explanation");
}

TEST_F(TablesWindowTest, FieldsKeepTheCharactersOfTheirGroup) {
    // Minus, point, digits and exponent letter.
    page(Distribution::Normal).inputs[0]->setText("-1.5e3.2x");
    EXPECT_EQ(page(Distribution::Normal).inputs[0]->text(), "-1.5e3");
    page(Distribution::Fisher).inputs[3]->setText("-2,5");
    EXPECT_EQ(page(Distribution::Fisher).inputs[3]->text(), "-25");
    // No minus sign.
    page(Distribution::ChiSquare).inputs[0]->setText("-1.5e3");
    EXPECT_EQ(page(Distribution::ChiSquare).inputs[0]->text(), "1.5e3");
    setParameters(Distribution::Binomial, {"-10", "-0.5"});
    EXPECT_EQ(page(Distribution::Binomial).parameters[1]->text(), "0.5");
    setParameters(Distribution::Gamma, {"-.3"});
    EXPECT_EQ(page(Distribution::Gamma).parameters[0]->text(), ".3");
    // Digits and exponent letters only.
    EXPECT_EQ(page(Distribution::Binomial).parameters[0]->text(), "10");
    setParameters(Distribution::Hypergeometric, {"1.5e3", "-7", "2.0"});
    EXPECT_EQ(page(Distribution::Hypergeometric).parameters[0]->text(), "15e3");
    EXPECT_EQ(page(Distribution::Hypergeometric).parameters[1]->text(), "7");
    EXPECT_EQ(page(Distribution::Hypergeometric).parameters[2]->text(), "20");
    page(Distribution::Poisson).inputs[11]->setText("1.5");
    EXPECT_EQ(page(Distribution::Poisson).inputs[11]->text(), "15");
    // Twelve characters at most: the first eleven and the last.
    page(Distribution::Student).inputs[0]->setText("1234567890123");
    EXPECT_EQ(page(Distribution::Student).inputs[0]->text(), "123456789013");

    // Typing keeps the caret where the user is.
    QLineEdit* field = page(Distribution::Poisson).inputs[0];
    field->setFocus();
    QTest::keyClicks(field, "12a3");
    EXPECT_EQ(field->text(), "123");
    EXPECT_EQ(field->cursorPosition(), 3);
}

TEST_F(TablesWindowTest, CaptionsFollowTheOutputChoice) {
    const auto& chi = page(Distribution::ChiSquare);
    chi.percentiles->click();
    EXPECT_EQ(chi.inputGroup->title(), "Input: p-value (1E-8 =< p <= 1-1E-8)");
    EXPECT_EQ(chi.calculate->text(), "Calculate");
    chi.probabilities->click();
    EXPECT_EQ(chi.inputGroup->title(), "Input: x  (x <= 1000000)");
    chi.graph->click();
    EXPECT_EQ(chi.calculate->text(), "Draw");
    EXPECT_TRUE(chi.inputGroup->isHidden());
    EXPECT_EQ(chi.boundLabels[0]->text(), "1 <= v <= 100");
    chi.probabilities->click();
    EXPECT_FALSE(chi.inputGroup->isHidden());
    EXPECT_EQ(chi.boundLabels[0]->text(), "1 <= v <= 1000000");
    EXPECT_EQ(chi.calculate->text(), "Calculate");

    // The captions given at creation stay until the choice changes.
    page(Distribution::Normal).probabilities->click();
    EXPECT_EQ(page(Distribution::Normal).inputGroup->title(), "Input z (z<=1000000)");
    page(Distribution::Normal).percentiles->click();
    page(Distribution::Normal).probabilities->click();
    EXPECT_EQ(page(Distribution::Normal).inputGroup->title(), "Input: x  (x <= 1000000)");
    page(Distribution::Fisher).graph->click();
    page(Distribution::Fisher).probabilities->click();
    EXPECT_EQ(page(Distribution::Fisher).inputGroup->title(), "Invoer: x  (x <= 1000000)");
    page(Distribution::Gamma).percentiles->click();
    page(Distribution::Gamma).probabilities->click();
    EXPECT_EQ(page(Distribution::Gamma).inputGroup->title(), "Invoer: x  (x <= 1000000)");

    // The integer tabs keep their caption.
    const auto& bin = page(Distribution::Binomial);
    bin.graph->click();
    EXPECT_EQ(bin.boundLabels[0]->text(), "2 <= n <= 100");
    EXPECT_EQ(bin.boundLabels[1]->text(), "0.01 <= p <= 0.99");
    bin.probabilities->click();
    EXPECT_EQ(bin.inputGroup->title(), "Input x (x<=1000000)");
    EXPECT_EQ(bin.boundLabels[0]->text(), "1 <= n <= 1000000");
    EXPECT_EQ(bin.boundLabels[1]->text(), "0 <= p <= 1");

    const auto& hyp = page(Distribution::Hypergeometric);
    ASSERT_EQ(hyp.boundLabels.size(), 2u);
    hyp.graph->click();
    EXPECT_EQ(hyp.boundLabels[0]->text(), "3 <= R+W <= 100");
    EXPECT_EQ(hyp.boundLabels[1]->text(), "3 <= n < R+W");
    EXPECT_EQ(page(Distribution::Fisher).boundLabels.size(), 2u);
    EXPECT_TRUE(page(Distribution::Normal).boundLabels.empty());
}

TEST_F(TablesWindowTest, ProbabilityAndPercentileChoicesClearTheInputs) {
    const auto& t = page(Distribution::Student);
    setInputs(Distribution::Student, {"1", "2"});
    t.graph->click();
    EXPECT_EQ(t.inputs[1]->text(), "2");
    t.percentiles->click();
    EXPECT_EQ(inputs(Distribution::Student), Padded({}));
    setInputs(Distribution::Student, {"0.5"});
    t.probabilities->click();
    EXPECT_EQ(inputs(Distribution::Student), Padded({}));
    setInputs(Distribution::Student, {"3", "4"});
    // Clicking the choice already made changes nothing.
    t.probabilities->click();
    EXPECT_EQ(inputs(Distribution::Student), Padded({"3", "4"}));
    t.clear->click();
    EXPECT_EQ(inputs(Distribution::Student), Padded({}));
}

TEST_F(TablesWindowTest, GraphWindowHidesOnTabChangeAndOnFieldChanges) {
    select(Distribution::Poisson);
    const auto& poisson = page(Distribution::Poisson);
    poisson.graph->click();
    setParameters(Distribution::Poisson, {"4"});
    poisson.calculate->click();
    ASSERT_TRUE(graphVisible());
    EXPECT_EQ(window->graphWindow()->windowTitle(), "Graph Poisson");

    select(Distribution::Binomial);
    EXPECT_FALSE(graphVisible());
    select(Distribution::Poisson);
    poisson.calculate->click();
    ASSERT_TRUE(graphVisible());
    QTest::keyClick(poisson.parameters[0], Qt::Key_1);
    EXPECT_FALSE(graphVisible());

    // The signed input fields leave the graph alone; a parameter hides it.
    select(Distribution::Student);
    const auto& t = page(Distribution::Student);
    t.graph->click();
    setParameters(Distribution::Student, {"5"});
    t.calculate->click();
    ASSERT_TRUE(graphVisible());
    EXPECT_EQ(window->graphWindow()->windowTitle(), "Graph Student-t");
    t.inputs[0]->setText("1.5");
    EXPECT_TRUE(graphVisible());
    t.parameters[0]->setText("6");
    EXPECT_FALSE(graphVisible());

    // An unsigned input field and "Close".
    select(Distribution::ChiSquare);
    page(Distribution::ChiSquare).graph->click();
    setParameters(Distribution::ChiSquare, {"3"});
    page(Distribution::ChiSquare).calculate->click();
    ASSERT_TRUE(graphVisible());
    page(Distribution::ChiSquare).inputs[4]->setText("2");
    EXPECT_FALSE(graphVisible());
    page(Distribution::ChiSquare).calculate->click();
    ASSERT_TRUE(graphVisible());
    window->graphWindow()->closeButton()->click();
    EXPECT_FALSE(graphVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TablesWindowTest, EraseWritesTheTitleAgain) {
    select(Distribution::Normal);
    setInputs(Distribution::Normal, {"1"});
    page(Distribution::Normal).calculate->click();
    ASSERT_NE(window->resultsText(), kTitle);
    window->eraseButton()->click();
    EXPECT_EQ(window->resultsText(), kTitle);
    setInputs(Distribution::Normal, {"1"});
    page(Distribution::Normal).calculate->click();
    EXPECT_TRUE(window->resultsText().startsWith(kTitle + "\n\nStandard normal distribution"));
}

TEST_F(TablesWindowTest, NormalValuesAreSortedRewrittenAndTabulated) {
    select(Distribution::Normal);
    const auto& normal = page(Distribution::Normal);
    normal.inputs[3]->setText("1.96");
    normal.inputs[7]->setText("0");
    normal.inputs[11]->setText("-1.96");
    normal.inputs[0]->setText("-");
    normal.calculate->click();
    EXPECT_EQ(inputs(Distribution::Normal), Padded({"-1.96", "0", "1.96"}));

    const QStringList l = lines();
    const QString column = QStringLiteral(" z          P(Z<=z)     P(Z>z)");
    const int header = static_cast<int>(l.indexOf(column));
    ASSERT_GE(header, 0);
    EXPECT_EQ(l.mid(2, 5), (QStringList{"", "Standard normal distribution", "", "", column}));
    EXPECT_EQ(l[header + 1], QString(34, QLatin1Char('-')));
    ASSERT_EQ(l.size(), header + 5);
    EXPECT_TRUE(l[header + 2].startsWith("-1.96       0.0249979   0.9750021")) << l[header + 2].toStdString();
    EXPECT_TRUE(l[header + 3].startsWith(" 0          0.5         0.5")) << l[header + 3].toStdString();
    EXPECT_TRUE(l[header + 4].startsWith(" 1.96       0.9750021   0.0249979")) << l[header + 4].toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TablesWindowTest, OutputAreaFontsPerPartOfTheTable) {
    select(Distribution::Poisson);
    setParameters(Distribution::Poisson, {"2"});
    setInputs(Distribution::Poisson, {"1"});
    page(Distribution::Poisson).calculate->click();
    const QScreen* screen = window->screen();
    const bool small = screen->geometry().width() <= 640 || screen->logicalDotsPerInch() > 100;
    struct Expected {
        int size;
        bool bold, italic;
        QColor color;
        bool fitted = false; // a heading may be set smaller so as not to wrap
    };
    const QColor black(Qt::black), blue(Qt::blue);
    const int t = small ? 8 : 11, h = small ? 8 : 10, v = small ? 7 : 8, big = small ? 12 : 14;
    // The column names and their rule are bold at the size of the values.
    const std::vector<Expected> expected = {
        {t, false, true, blue, true},    {t, false, true, blue, true}, {v, false, false, black},
        {big, true, false, black, true}, {h, true, false, black},      {h, true, false, black},
        {h, true, false, black},         {h, true, false, black},      {v, true, false, black},
        {v, true, false, black},         {v, false, false, black},
    };
    QTextBlock block = window->results()->document()->begin();
    for (std::size_t i = 0; i < expected.size(); ++i, block = block.next()) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(block.isValid());
        const QTextCharFormat f = block.charFormat();
        if (expected[i].fitted) {
            EXPECT_LE(f.fontPointSize(), expected[i].size);
            EXPECT_GE(f.fontPointSize(), expected[i].size - 2);
        } else {
            EXPECT_EQ(f.fontPointSize(), expected[i].size);
        }
        EXPECT_EQ(f.fontWeight() >= QFont::Bold, expected[i].bold);
        EXPECT_EQ(f.fontItalic(), expected[i].italic);
        EXPECT_EQ(f.foreground().color(), expected[i].color);
        EXPECT_TRUE(f.fontFamilies().toStringList().contains("Courier New"));
    }
    EXPECT_FALSE(block.isValid());
    EXPECT_EQ(window->results()->document()->begin().next().text(), QString(44, QLatin1Char('_')));
}

TEST_F(TablesWindowTest, HeadingsKeepToOneLineAndColumnNamesStandOverTheirColumns) {
    struct Case {
        Distribution d;
        QStringList parameters;
    };
    const Case cases[] = {
        {Distribution::Normal, {}},          {Distribution::Binomial, {"10", "0.5"}},
        {Distribution::Poisson, {"2"}},      {Distribution::Hypergeometric, {"30", "20", "10"}},
        {Distribution::ChiSquare, {"4"}},    {Distribution::Student, {"4"}},
        {Distribution::Fisher, {"2", "10"}}, {Distribution::Gamma, {"0.5"}},
    };
    for (const Case& c : cases) {
        select(c.d);
        setParameters(c.d, c.parameters);
        setInputs(c.d, {"1", "2"});
        page(c.d).calculate->click();
    }
    tarvik::test::ProcessEvents();
    QTextDocument* doc = window->results()->document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    int headings = 0, columnLines = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        layout->blockBoundingRect(b); // lays the block out
        const QTextCharFormat f = b.charFormat();
        if (b.text().isEmpty() || !(f.fontItalic() || f.fontWeight() >= QFont::Bold)) continue;
        ++headings;
        EXPECT_EQ(b.layout()->lineCount(), 1) << b.text().toStdString();
        if (!b.text().startsWith(" x ") && !b.text().startsWith(" z ")) continue;
        // The value line two blocks down (below the rule): each cell is 12
        // characters, and each name starts where its cell does.
        ++columnLines;
        const QTextBlock rule = b.next(), values = rule.next();
        ASSERT_TRUE(values.isValid());
        layout->blockBoundingRect(values);
        EXPECT_GE(rule.text().size(), b.text().size());
        for (int cell = 1; 12 * cell < b.text().size(); ++cell) {
            ASSERT_NE(b.text()[12 * cell], QLatin1Char(' ')) << b.text().toStdString();
            const qreal name = b.layout()->lineAt(0).cursorToX(12 * cell);
            const qreal value = values.layout()->lineAt(0).cursorToX(12 * cell);
            EXPECT_NEAR(name, value, 1.0) << b.text().toStdString() << " cell " << cell;
        }
        // The rule spans the names.
        EXPECT_GE(rule.layout()->lineAt(0).naturalTextWidth(), b.layout()->lineAt(0).naturalTextWidth());
    }
    EXPECT_EQ(columnLines, 8);
    EXPECT_GT(headings, 3 * 8);
}

TEST_F(TablesWindowTest, PercentileOfZeroIsMinusInfinite) {
    select(Distribution::Normal);
    const auto& normal = page(Distribution::Normal);
    normal.percentiles->click();
    setInputs(Distribution::Normal, {"0.975", "0"});
    normal.calculate->click();
    EXPECT_EQ(inputs(Distribution::Normal), Padded({"0", "0.975"}));
    const QStringList l = lines();
    ASSERT_GE(l.size(), 2);
    EXPECT_TRUE(l[l.size() - 2].startsWith("-Infinite   0           1")) << l[l.size() - 2].toStdString();
    EXPECT_TRUE(l.last().startsWith(" 1.959964")) << l.last().toStdString();
}

TEST_F(TablesWindowTest, BinomialTableWithItsParameterBlock) {
    select(Distribution::Binomial);
    setParameters(Distribution::Binomial, {"10", "0.5"});
    setInputs(Distribution::Binomial, {"4"});
    page(Distribution::Binomial).calculate->click();
    const QStringList l = lines();
    const int at = static_cast<int>(l.indexOf("Binominal distribution"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(l[at + 1], "");
    EXPECT_EQ(l[at + 2], "Parameters");
    EXPECT_TRUE(l[at + 3].startsWith("n =    10")) << l[at + 3].toStdString();
    EXPECT_TRUE(l[at + 4].startsWith("p =    0.5")) << l[at + 4].toStdString();
    EXPECT_EQ(l[at + 5], "");
    EXPECT_EQ(l[at + 6], " x          P(X=x)      P(X<=x)     P(X>x)");
    EXPECT_EQ(l[at + 7], QString(46, QLatin1Char('-')));
    // 210/1024, 386/1024 and 638/1024 with eight significant digits.
    const QStringList cells = l[at + 8].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_EQ(cells.size(), 4) << l[at + 8].toStdString();
    EXPECT_EQ(cells[0], "4");
    EXPECT_NEAR(cells[1].toDouble(), 210.0 / 1024, 1e-8);
    EXPECT_NEAR(cells[2].toDouble(), 386.0 / 1024, 1e-8);
    EXPECT_NEAR(cells[3].toDouble(), 638.0 / 1024, 1e-8);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(cells[i].size(), 10) << cells[i].toStdString();
}

TEST_F(TablesWindowTest, TheLastTableSavesAsCsvWithThePrintedDigits) {
    select(Distribution::Binomial);
    setParameters(Distribution::Binomial, {"10", "0.5"});
    setInputs(Distribution::Binomial, {"3", "4", "5"});
    page(Distribution::Binomial).calculate->click();
    // "Save" beside "Print" holds the command.
    auto* button = window->findChild<QPushButton*>(QStringLiteral("SaveReportBtn"));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->menu(), nullptr);
    QAction* saveCsv = button->menu()->actions().value(2);
    ASSERT_NE(saveCsv, nullptr);
    EXPECT_EQ(saveCsv->text(), QString::fromUtf16(u"Save table as CSV\u2026"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("binomial.csv"));
    dialogs.fileAnswers = {file};
    saveCsv->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("Tables.csv"));
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    ASSERT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    const QStringList records = text.chopped(2).split(QStringLiteral("\r\n"));
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0], QStringLiteral("x,P(X=x),P(X<=x),P(X>x)"));
    // Each row holds the cells as printed, and they are the binomial
    // probabilities C(10,k)/1024 and their sums.
    const QStringList printed = lines();
    const double pmf[] = {120.0 / 1024, 210.0 / 1024, 252.0 / 1024};
    const double cdf[] = {176.0 / 1024, 386.0 / 1024, 638.0 / 1024};
    for (int k = 3; k <= 5; ++k) {
        const QStringList cells = records[k - 2].split(QLatin1Char(','));
        ASSERT_EQ(cells.size(), 4);
        EXPECT_EQ(cells[0], QString::number(k));
        EXPECT_NEAR(cells[1].toDouble(), pmf[k - 3], 1e-8);
        EXPECT_NEAR(cells[2].toDouble(), cdf[k - 3], 1e-8);
        EXPECT_NEAR(cells[3].toDouble(), 1 - cdf[k - 3], 1e-8);
        EXPECT_TRUE(std::any_of(printed.begin(), printed.end(), [&](const QString& line) {
            return line.split(QLatin1Char(' '), Qt::SkipEmptyParts) == cells;
        })) << records[k - 2].toStdString();
    }
}

TEST_F(TablesWindowTest, PoissonParameterIsPrintedAsLambda) {
    select(Distribution::Poisson);
    setParameters(Distribution::Poisson, {"2.5"});
    setInputs(Distribution::Poisson, {"1"});
    page(Distribution::Poisson).calculate->click();
    const QStringList l = lines();
    const int at = static_cast<int>(l.indexOf("Parameter"));
    ASSERT_GE(at, 0);
    EXPECT_TRUE(l[at + 1].startsWith(QString::fromUtf8("\u03bb =    2.5"))) << l[at + 1].toStdString();
}

TEST_F(TablesWindowTest, TwelveDigitIntegerIsLimited) {
    select(Distribution::Poisson);
    setParameters(Distribution::Poisson, {"3"});
    page(Distribution::Poisson).inputs[5]->setText("123456789012");
    page(Distribution::Poisson).inputs[2]->setText("2");
    page(Distribution::Poisson).calculate->click();
    EXPECT_EQ(inputs(Distribution::Poisson), Padded({"2", "1000000"}));
    EXPECT_TRUE(lines().last().startsWith(" 1000000    0           1           0"))
        << lines().last().toStdString();
}

TEST_F(TablesWindowTest, LongNegativeValueIsWrittenBackUnchanged) {
    select(Distribution::Normal);
    // Twelve characters typed, thirteen written back.
    setInputs(Distribution::Normal, {"-0.000012346"});
    page(Distribution::Normal).calculate->click();
    EXPECT_EQ(page(Distribution::Normal).inputs[0]->text(), "-0.0000123460");
    EXPECT_TRUE(lines().last().startsWith("-0.00001235 0.49999507")) << lines().last().toStdString();
}

TEST_F(TablesWindowTest, EmptyInputGivesAHeaderWithoutLines) {
    select(Distribution::ChiSquare);
    setParameters(Distribution::ChiSquare, {"4"});
    setInputs(Distribution::ChiSquare, {"", "e"});
    page(Distribution::ChiSquare).calculate->click();
    EXPECT_EQ(lines().last(), QString(34, QLatin1Char('-')));
    EXPECT_EQ(page(Distribution::ChiSquare).inputs[1]->text(), "");
}

TEST_F(TablesWindowTest, ParameterChecksStopTheAction) {
    using tarvik::ui::MsgKind;
    struct Case {
        Distribution d;
        bool graph;
        QStringList params;
        const char* message;
    };
    const Case cases[] = {
        {Distribution::Binomial, true, {"101", "0.5"}, "Fault parameter value"},
        {Distribution::Binomial, true, {"1", "0.5"}, "Fault parameter value"},
        {Distribution::Binomial, true, {"100", "0.995"}, "Wrong parametervalue"},
        {Distribution::Binomial, false, {"", "0.5"}, "Fault parameter value"},
        {Distribution::Binomial, false, {"5", "1.5"}, "Wrong parametervalue"},
        {Distribution::Hypergeometric, true, {"50", "60", "5"}, "Fault parameter value"},
        {Distribution::Hypergeometric, true, {"50", "50", "100"}, "Fault parameter value"},
        {Distribution::Hypergeometric, false, {"10", "5", "16"}, "Fault parameter value"},
        {Distribution::Hypergeometric, false, {"999999", "2", "1"}, "Fault parameter value"},
        {Distribution::Poisson, true, {"0.05"}, "Wrong parametervalue"},
        {Distribution::Poisson, false, {"1e7"}, "Wrong parametervalue"},
        {Distribution::ChiSquare, true, {"101"}, "Wrong parametervalue"},
        {Distribution::Student, true, {"2"}, "Wrong parametervalue"},
        {Distribution::Fisher, false, {"3", "4"}, "Wrong parametervalue"},
        {Distribution::Fisher, false, {"0.5", "10"}, "Wrong parametervalue"},
        {Distribution::Gamma, true, {"2"}, "Wrong parametervalue"},
        {Distribution::Gamma, false, {"0.001"}, "Wrong parametervalue"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params.join(',').toStdString());
        window->WisRolBtnClick();
        dialogs.clear();
        select(c.d);
        const auto& p = page(c.d);
        (c.graph ? p.graph : p.probabilities)->click();
        setParameters(c.d, c.params);
        if (!c.graph) setInputs(c.d, {"3", "1"});
        p.calculate->click();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbOK);
        EXPECT_FALSE(dialogs.messages[0].standardCaptions);
        EXPECT_EQ(window->resultsText(), kTitle);
        EXPECT_FALSE(graphVisible());
        if (!c.graph) {
            EXPECT_EQ(inputs(c.d).mid(0, 2), (QStringList{"3", "1"}));
        }
    }
    // The largest admitted values pass.
    dialogs.clear();
    select(Distribution::Hypergeometric);
    page(Distribution::Hypergeometric).graph->click();
    setParameters(Distribution::Hypergeometric, {"50", "50", "99"});
    page(Distribution::Hypergeometric).calculate->click();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(graphVisible());
}

TEST_F(TablesWindowTest, ChiSquareGraphWithOneDegreeOfFreedom) {
    select(Distribution::ChiSquare);
    page(Distribution::ChiSquare).graph->click();
    setParameters(Distribution::ChiSquare, {"1"});
    page(Distribution::ChiSquare).calculate->click();
    ASSERT_TRUE(graphVisible());
    TTabellenGrafiek* g = window->graphWindow();
    EXPECT_EQ(g->windowTitle(), "Graph Chi-square");
    EXPECT_EQ(g->size(), QSize(480, 360));
    const GraphData& data = g->graph();
    const GraphPicture picture = LayOutGraph(data);
    ASSERT_TRUE(picture.zeroLine.has_value());
    EXPECT_EQ(picture.zeroLine->x1, GraphColumn(data, 0.0));
    EXPECT_EQ(picture.zeroLine->y1, 335);
    EXPECT_EQ(picture.zeroLine->y2, 15);

    // No red left of x = 0.5 above the axis (the legend sample aside).
    const QImage image = g->picture();
    const int limit = GraphColumn(data, 0.5);
    ASSERT_GT(limit, 30);
    int red = 0;
    for (int y = 40; y < 335; ++y)
        for (int x = 15; x < limit - 1; ++x) red += image.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_EQ(red, 0);
    int right = 0;
    for (int y = 40; y < 335; ++y)
        for (int x = limit + 1; x < 465; ++x) right += image.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_GT(right, 100);
    // The black line at x = 0 is two pixels wide and of full height.
    const int zero = picture.zeroLine->x1;
    EXPECT_EQ(image.pixelColor(zero, 200), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(zero, 16), QColor(Qt::black));
}

TEST_F(TablesWindowTest, PoissonGraphForLambdaFour) {
    select(Distribution::Poisson);
    page(Distribution::Poisson).graph->click();
    setParameters(Distribution::Poisson, {"4"});
    page(Distribution::Poisson).calculate->click();
    ASSERT_TRUE(graphVisible());
    const GraphData& data = window->graphWindow()->graph();
    EXPECT_FALSE(data.continuous);
    ASSERT_EQ(data.values.size(), 15u); // k = 0 ... 14
    EXPECT_NEAR(data.moments.mu, 4, 1e-12);
    EXPECT_NEAR(data.moments.sigma, 2, 1e-12);
    EXPECT_EQ(data.normal.size(), 450u);
    // Bars stand where mu - 3 sigma ... mu + 3 sigma is on the axis: k = 0 ... 10.
    const GraphPicture picture = LayOutGraph(data);
    ASSERT_EQ(picture.bars.size(), 11u);
    EXPECT_EQ(picture.bars.front().x1, 90);
    EXPECT_EQ(picture.bars[4].x1, 240);
    EXPECT_EQ(picture.bars.back().x1, 465);
}

TEST_F(TablesWindowTest, PrintsTheOutputAreaUnderItsTitle) {
    QTemporaryDir dir;
    const QString file = dir.filePath("tables.pdf");
    QString docName;
    dialogs.printAnswers = {false, true};
    dialogs.preparePrinter = [&](QPrinter& printer) {
        docName = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    };
    window->printButton()->click();
    EXPECT_FALSE(QFileInfo::exists(file));
    window->printButton()->click();
    EXPECT_EQ(dialogs.printRequests, 2);
    EXPECT_EQ(docName, "Module Tables & Graphs");
    EXPECT_GT(QFileInfo(file).size(), 0);
}

TEST_F(TablesWindowTest, PreviousClosesTheModuleAndItsGraph) {
    select(Distribution::Poisson);
    page(Distribution::Poisson).graph->click();
    setParameters(Distribution::Poisson, {"4"});
    page(Distribution::Poisson).calculate->click();
    QPointer<TTabellenGrafiek> graph = window->graphWindow();
    ASSERT_TRUE(graph);
    QSignalSpy closed(window.get(), &tarvik::ui::ModuleWindow::moduleClosed);
    page(Distribution::Poisson).previous->click();
    EXPECT_EQ(closed.count(), 1);
    window.release(); // deletes itself
    tarvik::test::ProcessEvents();
    EXPECT_TRUE(graph.isNull());
}

TEST_F(TablesWindowTest, GuardMessagesUseTheStandardDialogWhileOpen) {
    LnGamma(-1.0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Fatal error");
    EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Error);
    EXPECT_TRUE(dialogs.messages[0].standardCaptions);
    window.reset();
    LnGamma(-1.0);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}
