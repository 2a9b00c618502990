#include "modules/tables/ui/tableswindow.h"

#include "common/numparse.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/numberfields.h"
#include "common/ui/printing.h"
#include "common/ui/reportsave.h"
#include "modules/tables/ui/parawindows.h"
#include "modules/tables/ui/tabellengrafiek.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

namespace tarvik::tables {
namespace {

constexpr int kHelpContext = 4;
const char* const kIntegerChars = "0123456789Ee";

// One parameter field of a tab.
struct ParameterSpec {
    const char* label;
    const char* letter; // in the table header
    bool integer;
    const char* tableBound; // bound label for probabilities and percentiles
    const char* graphBound; // bound label for the graph
};

struct TabSpec {
    const char* tabCaption;
    const char* heading;
    std::vector<ParameterSpec> parameters;
};

const std::array<TabSpec, kTabCount>& TabSpecs() {
    static const std::array<TabSpec, kTabCount> tabs = {{
        {"Standardnormal", "Standard normal distribution", {}},
        {"Binominal",
         "Binominal distribution B(n,p)",
         {{"n", "n", true, "1 <= n <= 1000000", "2 <= n <= 100"},
          {"p", "p", false, "0 <= p <= 1", "0.01 <= p <= 0.99"}}},
        {"Poisson",
         "Poisson distribution",
         {{"Expectation  \u03bb", "\u03bb", false, "1 <= \u03bb <= 1000000", "0.1 <= \u03bb <= 100"}}},
        {"Hypergeometric",
         "Hypergeometric distribution",
         {{"# red balls  R", "R", true, "1 <= R+W <= 1000000", "3 <= R+W <= 100"},
          {"# white balls  W", "W", true, "", ""},
          {"# draws n", "n", true, "1 <= n <= R+W", "3 <= n < R+W"}}},
        {"Chi-square",
         "Chi-square distribution",
         {{"Degrees of freedom  v", "v", false, "1 <= v <= 1000000", "1 <= v <= 100"}}},
        {"Student-t", "Student's t distribution", {{"v", "v", false, "1 <= v <= 1000000", "3 <= v <= 100"}}},
        {"Fisher-F",
         "Fisher F distribution",
         {{"Degrees of freedom\n v", "v", false, "1 <= v <= 1000000", "1 <= v <= 100"},
          {"Degrees of freedom\n w", "w", false, "5 <= w <= 1000000", "5 <= w <= 100"}}},
        {"Gamma",
         "Gamma distribution (Expectation =1)",
         {{"Standaarddeviatie  \u03c3", "\u03c3", false, "0.01 <= \u03c3 <= 10", "0.1 <= \u03c3 <= 1"}}},
    }};
    return tabs;
}

// The characters the input fields of a tab accept.
const char* InputChars(Distribution kind) {
    switch (kind) {
    case Distribution::Normal:
    case Distribution::Student:
    case Distribution::Fisher:
        return kRealChars.data();
    case Distribution::ChiSquare:
    case Distribution::Gamma:
        return kUnsignedRealChars.data();
    default:
        return kIntegerChars;
    }
}

// The signed input fields are the only ones whose changes leave the graph alone.
bool InputsHideGraph(Distribution kind) {
    return kind != Distribution::Normal && kind != Distribution::Student && kind != Distribution::Fisher;
}

// The admitted range of parameter `index`, given the parameters read before it.
struct Range {
    double low, high;
};

Range ParameterRange(Distribution kind, int index, bool graph, const std::vector<double>& before) {
    switch (kind) {
    case Distribution::Binomial:
        if (index == 0) return graph ? Range{2, 100} : Range{1, 1000000};
        return graph ? Range{0.01, 0.99} : Range{0, 1};
    case Distribution::Poisson:
        return graph ? Range{0.1, 100} : Range{0, 1000000};
    case Distribution::Hypergeometric:
        if (index == 0) return graph ? Range{3, 100} : Range{1, 1000000};
        if (index == 1) return graph ? Range{3, 100 - before[0]} : Range{1, 1000000 - before[0]};
        return graph ? Range{1, before[0] + before[1] - 1} : Range{1, before[0] + before[1]};
    case Distribution::ChiSquare:
        return graph ? Range{1, 100} : Range{1, 1000000};
    case Distribution::Student:
        return graph ? Range{3, 100} : Range{1, 1000000};
    case Distribution::Fisher:
        if (index == 0) return graph ? Range{1, 100} : Range{1, 1000000};
        return graph ? Range{5, 100} : Range{5, 1000000};
    case Distribution::Gamma:
        return graph ? Range{0.1, 1} : Range{0.01, 10};
    case Distribution::Normal:
        break;
    }
    return {0, 0};
}

QString InputCaption(Distribution kind, OutputChoice choice, const QString& current) {
    if (choice == OutputChoice::Percentiles) return QStringLiteral("Input: p-value (1E-8 =< p <= 1-1E-8)");
    switch (kind) {
    case Distribution::Normal:
    case Distribution::ChiSquare:
    case Distribution::Student:
        return QStringLiteral("Input: x  (x <= 1000000)");
    case Distribution::Fisher:
    case Distribution::Gamma:
        return QStringLiteral("Invoer: x  (x <= 1000000)");
    default:
        return current;
    }
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TTables::TTables(QWidget* parent) : ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 4);
    setObjectName(QStringLiteral("TTables"));
    setWindowTitle(QStringLiteral("Tables and graphs"));

    TabSelect = new QTabWidget(this);
    TabSelect->setObjectName(QStringLiteral("TabSelect"));
    // Narrow tabs keep all eight in sight beside the output area.
    TabSelect->setUsesScrollButtons(false);
    TabSelect->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { font-size: 11px; padding: 3px 4px; margin-right: 1px; border: 1px solid #a0a0a0;"
        " border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
        " background: #e4e4e4; }"
        "QTabBar::tab:selected { background: #fafafa; margin-top: 0px; }"
        "QTabBar::tab:!selected { margin-top: 2px; }"));
    for (int i = 0; i < kTabCount; ++i) buildPage(static_cast<Distribution>(i));

    outputFrame_ = new QFrame(this);
    outputFrame_->setObjectName(QStringLiteral("ResultsFrame"));
    outputFrame_->setFrameShape(QFrame::StyledPanel);
    Results = new QTextEdit(outputFrame_);
    Results->setObjectName(QStringLiteral("Results"));
    Results->setReadOnly(true);
    Results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Headings are sized to fit (see appendLine); any longer line wraps
    // rather than hide behind a scroll bar.
    Results->setLineWrapMode(QTextEdit::WidgetWidth);
    Results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    Results->document()->setDefaultFont(mono);
    WisRolBtn = new QPushButton(QStringLiteral("Erase"), outputFrame_);
    WisRolBtn->setObjectName(QStringLiteral("WisRolBtn"));
    PrintRolBtn = new QPushButton(QStringLiteral("Print"), outputFrame_);
    PrintRolBtn->setObjectName(QStringLiteral("PrintRolBtn"));
    connect(WisRolBtn, &QPushButton::clicked, this, [this] { WisRolBtnClick(); });
    connect(PrintRolBtn, &QPushButton::clicked, this, [this] { PrintRolBtnClick(); });

    auto* frameLayout = new QVBoxLayout(outputFrame_);
    frameLayout->setContentsMargins(3, 3, 3, 3);
    frameLayout->addWidget(Results);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(WisRolBtn);
    buttons->addSpacing(40);
    buttons->addWidget(PrintRolBtn);
    buttons->addStretch(1);
    frameLayout->addLayout(buttons);
    tarvik::ui::AddReportSaving(
        Results, [] { return QStringLiteral("Module Tables & Graphs"); },
        [] { return QStringLiteral("Tables"); }, PrintRolBtn);
    frameLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(TabSelect, 0, Qt::AlignTop);
    layout->addWidget(outputFrame_, 0, Qt::AlignTop);
    layout->addStretch(1);

    graph_ = new TTabellenGrafiek(this);
    buildMenus();
    // The guard messages of the distribution routines.
    previousGuard_ = SetGuardHandler([](const std::string& message) {
        StdMsgDlg(QString::fromStdString(message), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
    });
    sizeOutputArea();
    writeTitle();

    TabSelect->setCurrentIndex(static_cast<int>(Distribution::Poisson));
    connect(TabSelect, &QTabWidget::currentChanged, this, [this] { hideGraph(); });
}

TTables::~TTables() {
    SetGuardHandler(previousGuard_);
}

void TTables::buildMenus() {
    QMenu* file = addModuleMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    QAction* printer = file->addAction(QStringLiteral("Settings printer"));
    printer->setObjectName(QStringLiteral("SettingsPrinter"));
    connect(printer, &QAction::triggered, this, [this] { tarvik::ui::PrinterSetup(this); });
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("Close Statistical Tables and Graphs"));
    close->setObjectName(QStringLiteral("CloseTables"));
    connect(close, &QAction::triggered, this, [this] { closeModule(); });

    QMenu* settings = addModuleMenu(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("SettingsMenu"));
    settings->menuAction()->setVisible(false);

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    QAction* explanation = help->addAction(QStringLiteral("Explanation"));
    explanation->setObjectName(QStringLiteral("Explanation"));
    explanation->setShortcut(QKeySequence(Qt::Key_F1));
    connect(explanation, &QAction::triggered, this, [this] { tarvik::ui::ShowHelp(kHelpContext, this); });
}

void TTables::buildPage(Distribution kind) {
    const TabSpec& tab = TabSpecs()[static_cast<int>(kind)];
    Page& p = pages_[static_cast<int>(kind)];
    p.kind = kind;
    p.page = new QWidget;
    p.page->setObjectName(QString::fromLatin1(tab.tabCaption));
    auto* layout = new QVBoxLayout(p.page);

    p.heading = new QLabel(QString::fromUtf8(tab.heading), p.page);
    QFont headingFont = p.heading->font();
    headingFont.setBold(true);
    headingFont.setPointSize(headingFont.pointSize() + 3);
    p.heading->setFont(headingFont);
    p.heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(p.heading);

    // Output choice and parameters side by side.
    auto* top = new QHBoxLayout;
    p.choiceGroup = new QGroupBox(QStringLiteral("Output choice"), p.page);
    auto* choiceLayout = new QVBoxLayout(p.choiceGroup);
    auto* choices = new QButtonGroup(p.page);
    p.probabilities = new QRadioButton(QStringLiteral("Probabilities"), p.choiceGroup);
    p.probabilities->setChecked(true);
    choiceLayout->addWidget(p.probabilities);
    choices->addButton(p.probabilities, static_cast<int>(OutputChoice::Probabilities));
    if (HasPercentiles(kind)) {
        p.percentiles = new QRadioButton(QStringLiteral("Percentiles"), p.choiceGroup);
        choiceLayout->addWidget(p.percentiles);
        choices->addButton(p.percentiles, static_cast<int>(OutputChoice::Percentiles));
    }
    if (kind != Distribution::Normal) {
        p.graph = new QRadioButton(QStringLiteral("Graph"), p.choiceGroup);
        choiceLayout->addWidget(p.graph);
        choices->addButton(p.graph, static_cast<int>(OutputChoice::Graph));
    }
    choiceLayout->addStretch(1);
    // Only a change of choice acts: clicking the current one keeps the inputs.
    connect(choices, &QButtonGroup::idToggled, this, [this, kind](int id, bool checked) {
        if (checked) chooseOutput(kind, static_cast<OutputChoice>(id));
    });
    top->addWidget(p.choiceGroup);

    p.parameterGroup = new QGroupBox(
        tab.parameters.size() == 1 ? QStringLiteral("Parameter") : QStringLiteral("Parameters"), p.page);
    auto* grid = new QGridLayout(p.parameterGroup);
    const int count = static_cast<int>(tab.parameters.size());
    for (int i = 0; i < count; ++i) {
        const ParameterSpec& ps = tab.parameters[static_cast<std::size_t>(i)];
        auto* label = new QLabel(QString::fromUtf8(ps.label), p.parameterGroup);
        auto* field = new QLineEdit(p.parameterGroup);
        field->setObjectName(QStringLiteral("Param%1").arg(i + 1));
        field->setFixedWidth(90);
        label->setBuddy(field);
        grid->addWidget(label, i, 0);
        grid->addWidget(field, i, 1);
        p.parameterLabels.push_back(label);
        p.parameters.push_back(field);
        const char* allowed = ps.integer ? kIntegerChars : kUnsignedRealChars.data();
        connect(field, &QLineEdit::textChanged, this,
                [this, field, allowed] { fieldChanged(field, allowed, true); });
        // The hypergeometric bound of R and W is one label beside both fields.
        if (kind == Distribution::Hypergeometric && i == 1) continue;
        auto* bound = new QLabel(QString::fromUtf8(ps.tableBound), p.parameterGroup);
        bound->setObjectName(QStringLiteral("Bound%1").arg(p.boundLabels.size() + 1));
        const int span = (kind == Distribution::Hypergeometric && i == 0) ? 2 : 1;
        grid->addWidget(bound, i, 2, span, 1);
        p.boundLabels.push_back(bound);
    }
    if (count == 0) {
        p.parameterGroup->setTitle(QString());
        auto* none = new QLabel(QStringLiteral("No parameters"), p.parameterGroup);
        none->setEnabled(false);
        grid->addWidget(none, 0, 0);
    }
    top->addWidget(p.parameterGroup, 1);
    layout->addLayout(top);

    p.inputGroup = new QGroupBox(kind == Distribution::Normal ? QStringLiteral("Input z (z<=1000000)")
                                                              : QStringLiteral("Input x (x<=1000000)"),
                                 p.page);
    auto* inputGrid = new QGridLayout(p.inputGroup);
    const bool hides = InputsHideGraph(kind);
    const char* allowed = InputChars(kind);
    for (int i = 0; i < kInputCount; ++i) {
        auto* field = new QLineEdit(p.inputGroup);
        field->setObjectName(QStringLiteral("Input%1").arg(i + 1));
        field->setFixedWidth(120);
        inputGrid->addWidget(field, i % 6, i / 6);
        p.inputs[static_cast<std::size_t>(i)] = field;
        connect(field, &QLineEdit::textChanged, this,
                [this, field, allowed, hides] { fieldChanged(field, allowed, hides); });
    }
    layout->addWidget(p.inputGroup);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    p.calculate = new QPushButton(QStringLiteral("Calculate"), p.page);
    p.calculate->setObjectName(QStringLiteral("CalculateBtn"));
    p.clear = new QPushButton(QStringLiteral("Clear"), p.page);
    p.clear->setObjectName(QStringLiteral("ClearBtn"));
    p.previous = new QPushButton(QStringLiteral("Previous"), p.page);
    p.previous->setObjectName(QStringLiteral("TerugBtn"));
    buttons->addWidget(p.calculate);
    buttons->addWidget(p.clear);
    buttons->addWidget(p.previous);
    layout->addLayout(buttons);
    connect(p.calculate, &QPushButton::clicked, this, [this, kind] { CalculateClick(kind); });
    connect(p.clear, &QPushButton::clicked, this, [this, kind] { ClearClick(kind); });
    connect(p.previous, &QPushButton::clicked, this, [this] { closeModule(); });

    TabSelect->addTab(p.page, QString::fromLatin1(tab.tabCaption));
}

void TTables::chooseOutput(Distribution kind, OutputChoice choice) {
    Page& p = pages_[static_cast<int>(kind)];
    const TabSpec& tab = TabSpecs()[static_cast<int>(kind)];
    p.choice = choice;
    const bool graph = choice == OutputChoice::Graph;
    std::size_t b = 0;
    for (const ParameterSpec& ps : tab.parameters) {
        if (*ps.tableBound == 0) continue;
        p.boundLabels[b++]->setText(QString::fromUtf8(graph ? ps.graphBound : ps.tableBound));
    }
    p.calculate->setText(graph ? QStringLiteral("Draw") : QStringLiteral("Calculate"));
    p.inputGroup->setVisible(!graph);
    if (!graph) {
        p.inputGroup->setTitle(InputCaption(kind, choice, p.inputGroup->title()));
        ClearClick(kind);
    }
}

void TTables::fieldChanged(QLineEdit* field, const char* allowed, bool hidesGraph) {
    const std::string text = field->text().toStdString();
    FilteredText filtered = FilterRealText(text, field->cursorPosition(), allowed);
    if (filtered.changed) {
        // Setting the text calls this handler again, with a clean text.
        field->setText(QString::fromStdString(filtered.text));
        field->setCursorPosition(filtered.caret);
        tarvik::ui::CharactersRefused(field, text, filtered.text,
                                      std::string_view(allowed).find('.') != std::string_view::npos);
        return;
    }
    if (hidesGraph) hideGraph();
}

void TTables::hideGraph() {
    if (graph_) graph_->hide();
}

void TTables::ClearClick(Distribution kind) {
    for (QLineEdit* field : pages_[static_cast<int>(kind)].inputs) field->clear();
}

bool TTables::smallScreen() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return false;
    return s->geometry().width() <= 640 || s->logicalDotsPerInch() > 100;
}

void TTables::sizeOutputArea() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const bool narrow = s && s->geometry().width() <= 640;
    if (narrow) {
        Results->setFixedSize(327, 355);
        outputFrame_->setFixedSize(333, 389);
    } else {
        Results->setFixedSize(407, 446);
        outputFrame_->setFixedSize(413, 490);
    }
}

void TTables::showEvent(QShowEvent* event) {
    sizeOutputArea();
    ModuleWindow::showEvent(event);
}

int TTables::outputTextWidth() const {
    // The viewport is only laid out once shown: count from the fixed size.
    const int scrollBar = Results->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Results);
    const qreal margin = Results->document()->documentMargin();
    return Results->width() - 2 * Results->frameWidth() - scrollBar - static_cast<int>(std::ceil(2 * margin));
}

void TTables::appendLine(const QString& text, int pointSize, bool bold, bool italic, const QColor* color,
                         bool fit) {
    QTextCharFormat format;
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    if (fit) {
        const int width = outputTextWidth();
        while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
            font.setPointSize(font.pointSize() - 1);
    }
    format.setFont(font);
    format.setForeground(color ? *color : QColor(Qt::black));
    QTextCursor cursor(Results->document());
    cursor.movePosition(QTextCursor::End);
    if (!Results->document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), format);
    cursor.setBlockCharFormat(format);
    cursor.insertText(text, format);
}

void TTables::writeTitle() {
    const bool small = smallScreen();
    const QColor blue(Qt::blue);
    appendLine(QStringLiteral("Tables and graphs"), small ? 8 : 11, false, true, &blue, true);
    appendLine(QString(44, QLatin1Char('_')), small ? 8 : 11, false, true, &blue, true);
}

void TTables::WisRolBtnClick() {
    Results->clear();
    writeTitle();
}

void TTables::PrintRolBtnClick() {
    tarvik::ui::PrintDocument(*Results->document(), QStringLiteral("Module Tables & Graphs"), this);
}

TTabellenGrafiek* TTables::graphWindow() const {
    return graph_.data();
}

QString TTables::resultsText() const {
    return Results->toPlainText();
}

bool TTables::readParameters(const Page& p, Parameters& params, std::vector<double>& values) {
    const TabSpec& tab = TabSpecs()[static_cast<int>(p.kind)];
    const bool graph = p.choice == OutputChoice::Graph;
    values.clear();
    for (std::size_t i = 0; i < tab.parameters.size(); ++i) {
        const ParameterSpec& ps = tab.parameters[i];
        const std::string text = p.parameters[i]->text().toStdString();
        const Range r = ParameterRange(p.kind, static_cast<int>(i), graph, values);
        std::optional<double> v;
        if (ps.integer) {
            if (auto n = TryStrToInt(text)) v = static_cast<double>(*n);
        } else {
            v = TryStrToReal(text);
        }
        if (!v || *v < r.low || *v > r.high) {
            MsgDlg(ps.integer ? QStringLiteral("Fault parameter value")
                              : QStringLiteral("Wrong parametervalue"),
                   tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
            return false;
        }
        values.push_back(*v);
    }
    params = Parameters{};
    auto at = [&values](std::size_t i) { return i < values.size() ? values[i] : 0.0; };
    switch (p.kind) {
    case Distribution::Binomial:
        params.n = static_cast<long long>(at(0));
        params.p = at(1);
        break;
    case Distribution::Poisson:
        params.lambda = at(0);
        break;
    case Distribution::Hypergeometric:
        params.red = static_cast<long long>(at(0));
        params.white = static_cast<long long>(at(1));
        params.n = static_cast<long long>(at(2));
        break;
    case Distribution::ChiSquare:
    case Distribution::Student:
        params.v = at(0);
        break;
    case Distribution::Fisher:
        params.v = at(0);
        params.w = at(1);
        break;
    case Distribution::Gamma:
        params.s = at(0);
        break;
    case Distribution::Normal:
        break;
    }
    return true;
}

void TTables::CalculateClick(Distribution kind) {
    const Page& p = pages_[static_cast<int>(kind)];
    Parameters params;
    std::vector<double> values;
    if (!readParameters(p, params, values)) return;
    if (p.choice == OutputChoice::Graph) {
        drawGraph(p, params);
    } else {
        writeTable(p, params);
    }
}

void TTables::writeTable(const Page& p, const Parameters& params) {
    const bool percentiles = p.choice == OutputChoice::Percentiles;

    // Read, sort and write the inputs back in order.
    std::vector<std::string> texts;
    for (QLineEdit* field : p.inputs) texts.push_back(field->text().toStdString());
    std::vector<double> values;
    std::vector<std::string> written;
    if (IsDiscrete(p.kind)) {
        for (long long v : ReadIntegerInputs(texts)) {
            values.push_back(static_cast<double>(v));
            written.push_back(IntegerFieldText(v));
        }
    } else {
        values = ReadRealInputs(texts, percentiles);
        for (double v : values) written.push_back(RealFieldText(v));
    }
    for (std::size_t i = 0; i < p.inputs.size(); ++i) {
        // A value is written back exactly: the typing filter would shorten a
        // long negative text and so change the number.
        QLineEdit* field = p.inputs[i];
        const QString text = i < written.size() ? Q(written[i]) : QString();
        if (field->text() == text) continue;
        {
            const QSignalBlocker blocker(field);
            field->setText(text);
        }
        if (InputsHideGraph(p.kind)) hideGraph();
    }

    // The header.
    const bool small = smallScreen();
    const int textSize = small ? 7 : 8;
    const int headerSize = small ? 8 : 10;
    appendLine(QString(), textSize, false);
    appendLine(Q(TableTitle(p.kind)), small ? 12 : 14, true, false, nullptr, true);
    appendLine(QString(), headerSize, true);
    const std::string heading = ParameterHeading(p.kind);
    if (!heading.empty()) {
        appendLine(Q(heading), headerSize, true);
        for (const ParameterLine& line : ParameterLines(p.kind, params)) {
            QString text = Q(line.text);
            // The letters l and s stand in the symbol font: lambda and sigma.
            if (!text.isEmpty() && line.letter == 'l') text[0] = QChar(0x03bb);
            if (!text.isEmpty() && line.letter == 's') text[0] = QChar(0x03c3);
            appendLine(text, headerSize, true);
        }
    }
    appendLine(QString(), headerSize, true);
    // The column names and their rule share the size of the values below
    // them, so that every name stands over its column.
    appendLine(Q(ColumnLine(p.kind)), textSize, true);
    appendLine(Q(RuleLine(p.kind)), textSize, true);

    // One line per value; a routine that gives up ends the table where it is.
    try {
        for (double x : values)
            appendLine(
                Q(percentiles ? PercentileLine(p.kind, params, x) : ProbabilityLine(p.kind, params, x)),
                textSize, false);
    } catch (const PreconditionFailure&) {
    }
    QTextCursor end(Results->document());
    end.movePosition(QTextCursor::End);
    Results->setTextCursor(end);
    Results->ensureCursorVisible();
    Results->verticalScrollBar()->setValue(Results->verticalScrollBar()->maximum());
    Results->horizontalScrollBar()->setValue(0);
}

void TTables::drawGraph(const Page& p, const Parameters& params) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GraphData data;
    try {
        data = PrepareGraph(p.kind, params);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    if (!graph_) graph_ = new TTabellenGrafiek(this);
    graph_->setGraph(std::move(data));
    graph_->show();
    graph_->raise();
}

void TTables::releaseModule() {
    SetGuardHandler(previousGuard_);
    if (graph_) {
        graph_->hide();
        graph_->deleteLater();
    }
}

} // namespace tarvik::tables

tarvik::ui::ModuleWindow* CreateTablesWindow(QWidget* parent) {
    return new tarvik::tables::TTables(parent);
}

void CreateTablesParameterWindows(QWidget* mainWindow) {
    tarvik::tables::CreateParameterWindows(mainWindow);
}
