#include "modules/markov/ui/markovkeuzedialoogunit.h"
#include "common/ui/numberfields.h"
#include "common/ui/reportsave.h"

#include "common/ui/dialogservice.h"
#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovfile.h"
#include "modules/markov/ui/markovgrid.h"
#include "modules/markov/ui/markovprogressunit.h"
#include "modules/markov/ui/markovunit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik::markov::ui {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string S(const QString& text) {
    return text.toStdString();
}

QLabel* Label(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    if (buddy) label->setBuddy(buddy);
    return label;
}

// A grid of one column of values whose rows carry the labels.
TMarkovGrid* ValueGrid() {
    auto* grid = new TMarkovGrid(TMarkovGrid::EnterMove::Column);
    grid->setColumnCount(1);
    grid->horizontalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setMinimumHeight(100);
    return grid;
}

} // namespace

TMarkovKeuzeDialoog::TMarkovKeuzeDialoog(QWidget* parent) : QWidget(parent) {
    tarvik::ui::SetHelpContext(this, kMarkovHelpContext);
    setObjectName(QStringLiteral("MarkovKeuzeDialoog"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(Q(WindowCaption(type_)));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildInputPage(), QStringLiteral("Input"));
    PageControl1->addTab(buildOutputPage(), QStringLiteral("Choice of Output"));
    PageControl1->addTab(buildResultsPage(), QStringLiteral("Results"));

    PreviousBtn = new QPushButton(QStringLiteral("&Previous"), this);
    PreviousBtn->setObjectName(QStringLiteral("PreviousBtn"));
    NextBtn = new QPushButton(QStringLiteral("&Next"), this);
    NextBtn->setObjectName(QStringLiteral("NextBtn"));
    CloseBtn = new QPushButton(QStringLiteral("&Close"), this);
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    connect(PreviousBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::PreviousBtnClick);
    connect(NextBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::NextBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::CloseBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(PreviousBtn);
    buttons->addWidget(NextBtn);
    buttons->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TMarkovKeuzeDialoog::pageChanged);

    loadGrids(MakeChain(type_, kDefaultStates));
    resetOutputChoices();
    showParameterGroups();
    updateButtons();
    resize(720, 560);
}

TMarkovKeuzeDialoog::~TMarkovKeuzeDialoog() = default;

QWidget* TMarkovKeuzeDialoog::buildInputPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("InputSheet"));

    StatesEdit = new QLineEdit(QString::number(kDefaultStates));
    StatesEdit->setObjectName(QStringLiteral("StatesEdit"));
    StatesEdit->setMaximumWidth(60);
    UpdateBtn = new QToolButton;
    UpdateBtn->setObjectName(QStringLiteral("UpdateBtn"));
    UpdateBtn->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    UpdateBtn->setToolTip(QStringLiteral("Udate the number of states"));
    connect(UpdateBtn, &QToolButton::clicked, this, &TMarkovKeuzeDialoog::UpdateBtnClick);
    connect(StatesEdit, &QLineEdit::returnPressed, this, &TMarkovKeuzeDialoog::UpdateBtnClick);

    MatrixGrid = new TMarkovGrid(TMarkovGrid::EnterMove::Row);
    MatrixGrid->setObjectName(QStringLiteral("MatrixGrid"));
    CostGrid = new TMarkovGrid(TMarkovGrid::EnterMove::Column);
    CostGrid->setObjectName(QStringLiteral("CostGrid"));
    CostGrid->setMaximumWidth(200);
    connect(MatrixGrid, &TMarkovGrid::userEdited, this, &TMarkovKeuzeDialoog::dataChanged);
    connect(CostGrid, &TMarkovGrid::userEdited, this, &TMarkovKeuzeDialoog::dataChanged);

    ClearBtn = new QPushButton(QStringLiteral("Clear"));
    ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
    OpenBtn = new QPushButton(QStringLiteral("Open..."));
    OpenBtn->setObjectName(QStringLiteral("OpenBtn"));
    SaveBtn = new QPushButton(QStringLiteral("Save..."));
    SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    connect(ClearBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::ClearBtnClick);
    connect(OpenBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::OpenBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::SaveBtnClick);

    auto* statesRow = new QHBoxLayout;
    statesRow->addWidget(Label(QStringLiteral("Number of states (1 to 100):"), StatesEdit));
    statesRow->addWidget(StatesEdit);
    statesRow->addWidget(UpdateBtn);
    statesRow->addStretch();

    auto* grids = new QGridLayout;
    grids->addWidget(Label(QStringLiteral("Transition matrix"), MatrixGrid), 0, 0);
    grids->addWidget(Label(QStringLiteral("Cost vector"), CostGrid), 0, 1);
    grids->addWidget(MatrixGrid, 1, 0);
    grids->addWidget(CostGrid, 1, 1);
    grids->setColumnStretch(0, 1);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(ClearBtn);
    fileRow->addStretch();
    fileRow->addWidget(OpenBtn);
    fileRow->addWidget(SaveBtn);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(statesRow);
    layout->addLayout(grids, 1);
    layout->addLayout(fileRow);
    return page;
}

QWidget* TMarkovKeuzeDialoog::buildOutputPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("OutputSheet"));

    // The analysis.
    OutputGroup = new QGroupBox(QStringLiteral("Choice of output"));
    OutputGroup->setObjectName(QStringLiteral("OutputGroup"));
    OutputChoice = new QButtonGroup(this);
    auto* outputLayout = new QVBoxLayout(OutputGroup);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(Q(AnalysisCaption(static_cast<Analysis>(i))));
        radio->setObjectName(QStringLiteral("OutputChoice%1").arg(i));
        OutputChoice->addButton(radio, i);
        outputLayout->addWidget(radio);
    }
    OutputChoice->button(int(Analysis::Structure))->setChecked(true);
    outputLayout->addStretch();
    connect(OutputChoice, &QButtonGroup::idClicked, this, [this](int) { showParameterGroups(); });

    RunBtn = new QPushButton(QStringLiteral("&Run"));
    RunBtn->setObjectName(QStringLiteral("RunBtn"));
    connect(RunBtn, &QPushButton::clicked, this, &TMarkovKeuzeDialoog::RunBtnClick);

    // Transient behaviour.
    TransientGroup = new QGroupBox(QStringLiteral("Transient Behaviour"));
    TransientGroup->setObjectName(QStringLiteral("TransientGroup"));
    InitialStateEdit = new QLineEdit;
    InitialStateEdit->setObjectName(QStringLiteral("InitialStateEdit"));
    InitialStateEdit->setMaximumWidth(60);
    TransientTimesSpin = new tarvik::ui::TBoundedSpin(1, kMaxTimePoints, 1);
    TransientTimesSpin->setObjectName(QStringLiteral("TransientTimesSpin"));
    TransientTimesGrid = ValueGrid();
    TransientTimesGrid->setObjectName(QStringLiteral("TransientTimesGrid"));
    TransientKind = new QButtonGroup(this);
    auto* kindBox = new QGroupBox;
    auto* kindLayout = new QVBoxLayout(kindBox);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(Q(TransientOutputCaption(static_cast<TransientOutput>(i))));
        radio->setObjectName(QStringLiteral("TransientKind%1").arg(i));
        TransientKind->addButton(radio, i);
        kindLayout->addWidget(radio);
    }
    TransientKind->button(int(TransientOutput::Probabilities))->setChecked(true);
    connect(TransientKind, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) transientKindChanged();
    });
    EndStatesSpin = new tarvik::ui::TBoundedSpin(1, 1, 1);
    EndStatesSpin->setObjectName(QStringLiteral("EndStatesSpin"));
    EndStatesLabel = Label(QString(), EndStatesSpin);
    EndStatesLabel->setObjectName(QStringLiteral("EndStatesLabel"));
    EndStatesGrid = ValueGrid();
    EndStatesGrid->setObjectName(QStringLiteral("EndStatesGrid"));
    connect(TransientTimesSpin, &QSpinBox::valueChanged, this,
            [this](int n) { setTimePointRows(TransientTimesGrid, n); });
    connect(EndStatesSpin, &QSpinBox::valueChanged, this, [this](int n) { setEndStateRows(n); });

    auto* transientLeft = new QGridLayout;
    transientLeft->addWidget(Label(QStringLiteral("Initial state:"), InitialStateEdit), 0, 0);
    transientLeft->addWidget(InitialStateEdit, 0, 1);
    transientLeft->addWidget(Label(QStringLiteral("Number of time points (max 25):"), TransientTimesSpin), 1,
                             0);
    transientLeft->addWidget(TransientTimesSpin, 1, 1);
    transientLeft->addWidget(TransientTimesGrid, 2, 0, 1, 2);
    auto* transientRight = new QGridLayout;
    transientRight->addWidget(kindBox, 0, 0, 1, 2);
    transientRight->addWidget(EndStatesLabel, 1, 0);
    transientRight->addWidget(EndStatesSpin, 1, 1);
    transientRight->addWidget(EndStatesGrid, 2, 0, 1, 2);
    auto* transientLayout = new QHBoxLayout(TransientGroup);
    transientLayout->addLayout(transientLeft);
    transientLayout->addLayout(transientRight);

    // First-passage time probabilities.
    PassageGroup = new QGroupBox(QStringLiteral("First-Passage Time Probabilities"));
    PassageGroup->setObjectName(QStringLiteral("PassageGroup"));
    StartStateEdit = new QLineEdit;
    StartStateEdit->setObjectName(QStringLiteral("StartStateEdit"));
    StartStateEdit->setMaximumWidth(60);
    PassageTimesSpin = new tarvik::ui::TBoundedSpin(1, kMaxTimePoints, 1);
    PassageTimesSpin->setObjectName(QStringLiteral("PassageTimesSpin"));
    PassageTimesGrid = ValueGrid();
    PassageTimesGrid->setObjectName(QStringLiteral("PassageTimesGrid"));
    connect(PassageTimesSpin, &QSpinBox::valueChanged, this,
            [this](int n) { setTimePointRows(PassageTimesGrid, n); });
    ReturnSetChoice = new QButtonGroup(this);
    auto* setBox = new QGroupBox(QStringLiteral("Return set"));
    auto* setLayout = new QVBoxLayout(setBox);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(Q(ReturnSetCaption(static_cast<ReturnSet>(i))));
        radio->setObjectName(QStringLiteral("ReturnSet%1").arg(i));
        ReturnSetChoice->addButton(radio, i);
        setLayout->addWidget(radio);
    }
    ReturnSetChoice->button(int(ReturnSet::Single))->setChecked(true);
    StateAEdit = new QLineEdit;
    StateAEdit->setObjectName(QStringLiteral("StateAEdit"));
    StateAEdit->setMaximumWidth(60);

    auto* passageLeft = new QGridLayout;
    passageLeft->addWidget(Label(QStringLiteral("Starting state:"), StartStateEdit), 0, 0);
    passageLeft->addWidget(StartStateEdit, 0, 1);
    passageLeft->addWidget(Label(QStringLiteral("Number of time points (max 25):"), PassageTimesSpin), 1, 0);
    passageLeft->addWidget(PassageTimesSpin, 1, 1);
    passageLeft->addWidget(PassageTimesGrid, 2, 0, 1, 2);
    auto* passageRight = new QGridLayout;
    passageRight->addWidget(setBox, 0, 0, 1, 2);
    passageRight->addWidget(Label(QStringLiteral("State a:"), StateAEdit), 1, 0);
    passageRight->addWidget(StateAEdit, 1, 1);
    passageRight->setRowStretch(2, 1);
    auto* passageLayout = new QHBoxLayout(PassageGroup);
    passageLayout->addLayout(passageLeft);
    passageLayout->addLayout(passageRight);

    auto* left = new QVBoxLayout;
    left->addWidget(OutputGroup);
    left->addStretch();
    left->addWidget(RunBtn);
    auto* right = new QVBoxLayout;
    right->addWidget(TransientGroup);
    right->addWidget(PassageGroup);
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    return page;
}

QWidget* TMarkovKeuzeDialoog::buildResultsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("ResultSheet"));
    ResultTabs = new QTabWidget;
    ResultTabs->setObjectName(QStringLiteral("ResultTabs"));
    QFont fixed(QStringLiteral("Courier New"), 10);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    for (int i = 0; i < 4; ++i) {
        ResultStacks[i] = new QStackedWidget;
        NoResultLabels[i] = new QLabel(QStringLiteral("No results"));
        NoResultLabels[i]->setAlignment(Qt::AlignCenter);
        ResultTexts[i] = new QPlainTextEdit;
        ResultTexts[i]->setObjectName(QStringLiteral("ResultText%1").arg(i));
        ResultTexts[i]->setReadOnly(true);
        ResultTexts[i]->setLineWrapMode(QPlainTextEdit::NoWrap);
        ResultTexts[i]->setFont(fixed);
        const QString caption = Q(ResultTabCaption(static_cast<Analysis>(i)));
        tarvik::ui::AddReportSaving(
            ResultTexts[i], [caption] { return QStringLiteral("Markov chains: ") + caption; },
            [] { return QStringLiteral("Markov"); });
        ResultStacks[i]->addWidget(NoResultLabels[i]);
        ResultStacks[i]->addWidget(ResultTexts[i]);
        ResultTabs->addTab(ResultStacks[i], Q(ResultTabCaption(static_cast<Analysis>(i))));
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ResultTabs);
    return page;
}

int TMarkovKeuzeDialoog::stateCount() const {
    return MatrixGrid->rowCount();
}

// ---- Pages and buttons ------------------------------------------------------

void TMarkovKeuzeDialoog::commitEdits() {
    for (TMarkovGrid* grid : {MatrixGrid, CostGrid, TransientTimesGrid, EndStatesGrid, PassageTimesGrid})
        grid->commitEdit();
}

void TMarkovKeuzeDialoog::pageChanged(int index) {
    commitEdits();
    if (index == ResultsPage && !resultsAllowed_) {
        // Nothing has run yet: stay on the page that was shown.
        QSignalBlocker block(PageControl1);
        PageControl1->setCurrentIndex(shownPage_);
        return;
    }
    if (index != shownPage_ && dataChanged_) {
        dataChanged_ = false;
        resetOutputChoices();
    }
    shownPage_ = index;
    updateButtons();
}

void TMarkovKeuzeDialoog::updateButtons() {
    const int last = resultsAllowed_ ? ResultsPage : OutputPage;
    PreviousBtn->setEnabled(shownPage_ > InputPage);
    NextBtn->setEnabled(shownPage_ < last);
}

void TMarkovKeuzeDialoog::PreviousBtnClick() {
    if (shownPage_ > InputPage) PageControl1->setCurrentIndex(shownPage_ - 1);
}

void TMarkovKeuzeDialoog::NextBtnClick() {
    const int last = resultsAllowed_ ? ResultsPage : OutputPage;
    if (shownPage_ < last) PageControl1->setCurrentIndex(shownPage_ + 1);
}

void TMarkovKeuzeDialoog::CloseBtnClick() {
    close();
}

void TMarkovKeuzeDialoog::closeEvent(QCloseEvent* event) {
    // The window goes with its module: the module window closes and releases it.
    event->ignore();
    emit closeRequested();
}

// ---- Choice of output -------------------------------------------------------

void TMarkovKeuzeDialoog::showParameterGroups() {
    const int analysis = OutputChoice->checkedId();
    TransientGroup->setVisible(analysis == int(Analysis::Transient));
    PassageGroup->setVisible(analysis == int(Analysis::FirstPassage));
}

void TMarkovKeuzeDialoog::transientKindChanged() {
    // Costs are reported for the chain as a whole, not per end state.
    const bool endStates = TransientKind->checkedId() != int(TransientOutput::Costs);
    EndStatesLabel->setEnabled(endStates);
    EndStatesSpin->setEnabled(endStates);
    EndStatesGrid->setEnabled(endStates);
}

void TMarkovKeuzeDialoog::setTimePointRows(TMarkovGrid* grid, int rows) {
    grid->resizeGrid(rows, 1, QStringLiteral("0"));
    QStringList labels;
    for (int r = 0; r < rows; ++r) labels << Q(TimePointLabel(r));
    grid->setVerticalHeaderLabels(labels);
}

void TMarkovKeuzeDialoog::setEndStateRows(int rows) {
    EndStatesGrid->resizeGrid(rows, 1, QStringLiteral("0"));
    QStringList labels;
    for (int r = 0; r < rows; ++r) labels << Q(EndStateLabel(r));
    EndStatesGrid->setVerticalHeaderLabels(labels);
}

void TMarkovKeuzeDialoog::resetOutputChoices() {
    const int n = stateCount();
    const ChoiceTexts defaults = DefaultChoices(n);
    for (QStackedWidget* stack : ResultStacks) stack->setCurrentIndex(0);

    auto fillTimes = [this](QSpinBox* spin, TMarkovGrid* grid, const std::vector<std::string>& times) {
        const int rows = static_cast<int>(times.size());
        {
            QSignalBlocker block(spin);
            spin->setValue(rows);
        }
        grid->setRowCount(0);
        setTimePointRows(grid, rows);
        for (int r = 0; r < rows; ++r) grid->setCellText(r, 0, Q(times[r]));
    };
    fillTimes(TransientTimesSpin, TransientTimesGrid, defaults.transientTimes);
    fillTimes(PassageTimesSpin, PassageTimesGrid, defaults.passageTimes);

    const int endStates = static_cast<int>(defaults.endStates.size());
    EndStatesLabel->setText(Q(EndStateLimitLabel(n)));
    {
        QSignalBlocker block(EndStatesSpin);
        EndStatesSpin->setRange(1, MaxEndStates(n));
        EndStatesSpin->setValue(endStates);
    }
    EndStatesGrid->setRowCount(0);
    setEndStateRows(endStates);
    for (int r = 0; r < endStates; ++r) EndStatesGrid->setCellText(r, 0, Q(defaults.endStates[r]));

    InitialStateEdit->setText(Q(defaults.initialState));
    TransientKind->button(int(defaults.transientOutput))->setChecked(true);
    transientKindChanged();
    StartStateEdit->setText(Q(defaults.startingState));
    ReturnSetChoice->button(int(defaults.returnSet))->setChecked(true);
    StateAEdit->setText(Q(defaults.stateA));
}

ChoiceTexts TMarkovKeuzeDialoog::choiceTexts() const {
    ChoiceTexts c;
    c.analysis = static_cast<Analysis>(OutputChoice->checkedId());
    c.initialState = S(InitialStateEdit->text());
    c.transientTimes.clear();
    for (int r = 0; r < TransientTimesGrid->rowCount(); ++r)
        c.transientTimes.push_back(S(TransientTimesGrid->cellText(r, 0)));
    c.transientOutput = static_cast<TransientOutput>(TransientKind->checkedId());
    c.endStates.clear();
    for (int r = 0; r < EndStatesGrid->rowCount(); ++r)
        c.endStates.push_back(S(EndStatesGrid->cellText(r, 0)));
    c.startingState = S(StartStateEdit->text());
    c.passageTimes.clear();
    for (int r = 0; r < PassageTimesGrid->rowCount(); ++r)
        c.passageTimes.push_back(S(PassageTimesGrid->cellText(r, 0)));
    c.returnSet = static_cast<ReturnSet>(ReturnSetChoice->checkedId());
    c.stateA = S(StateAEdit->text());
    return c;
}

// ---- Input ------------------------------------------------------------------

void TMarkovKeuzeDialoog::dataChanged() {
    dataChanged_ = true;
}

ChainData TMarkovKeuzeDialoog::chainData() const {
    ChainData d;
    d.type = type_;
    d.n = stateCount();
    d.matrix.assign(d.n, std::vector<std::string>(d.n));
    d.cost.assign(d.n, std::string());
    d.transitionCost.clear();
    if (type_ == ChainType::Continuous) d.transitionCost.assign(d.n, std::string());
    for (int i = 0; i < d.n; ++i) {
        for (int j = 0; j < d.n; ++j) d.matrix[i][j] = S(MatrixGrid->cellText(i, j));
        d.cost[i] = S(CostGrid->cellText(i, 0));
        if (type_ == ChainType::Continuous) d.transitionCost[i] = S(CostGrid->cellText(i, 1));
    }
    return d;
}

void TMarkovKeuzeDialoog::loadGrids(const ChainData& chain) {
    type_ = chain.type;
    setWindowTitle(Q(WindowCaption(type_)));
    const int n = chain.n;
    const int costColumns = CostColumnCount(type_);

    MatrixGrid->resizeGrid(n, n, QString());
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) MatrixGrid->setCellText(i, j, Q(chain.matrix[i][j]));
    MatrixGrid->numberRows();
    MatrixGrid->numberColumns();

    CostGrid->resizeGrid(n, costColumns, QString());
    for (int i = 0; i < n; ++i) {
        CostGrid->setCellText(i, 0, Q(chain.cost[i]));
        if (costColumns > 1) CostGrid->setCellText(i, 1, Q(chain.transitionCost[i]));
    }
    CostGrid->numberRows();
    QStringList headers;
    for (int c = 0; c < costColumns; ++c) headers << Q(CostColumnHeader(type_, c));
    CostGrid->setHorizontalHeaderLabels(headers);
}

void TMarkovKeuzeDialoog::showProblem(const InputProblem& problem) {
    if (problem.toInputPage) PageControl1->setCurrentIndex(InputPage);
    if (!problem.message.empty()) {
        if (problem.dialog == Dialog::MsgDlgError)
            MsgDlg(Q(problem.message), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK);
        else
            StdMsgDlg(Q(problem.message), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK);
    }

    auto focusCell = [&problem](TMarkovGrid* grid, int column) {
        if (problem.row >= 0 && problem.row < grid->rowCount() && column >= 0 && column < grid->columnCount())
            grid->setCurrentCell(problem.row, column);
        grid->setFocus();
    };
    auto focusEdit = [&problem](QLineEdit* edit) {
        if (problem.clearField) edit->clear();
        edit->setFocus();
    };
    switch (problem.field) {
    case Field::None:
        break;
    case Field::Matrix:
        focusCell(MatrixGrid, problem.column);
        break;
    case Field::Cost:
        focusCell(CostGrid, 0);
        break;
    case Field::TransitionCost:
        focusCell(CostGrid, 1);
        break;
    case Field::NumberOfStates:
        focusEdit(StatesEdit);
        break;
    case Field::InitialState:
        focusEdit(InitialStateEdit);
        break;
    case Field::TransientTime:
        focusCell(TransientTimesGrid, 0);
        break;
    case Field::TransientTimeCount:
        TransientTimesSpin->setFocus();
        break;
    case Field::EndState:
        focusCell(EndStatesGrid, 0);
        break;
    case Field::EndStateCount:
        EndStatesSpin->setFocus();
        break;
    case Field::StartingState:
        focusEdit(StartStateEdit);
        break;
    case Field::PassageTime:
        focusCell(PassageTimesGrid, 0);
        break;
    case Field::PassageTimeCount:
        PassageTimesSpin->setFocus();
        break;
    case Field::StateA:
        focusEdit(StateAEdit);
        break;
    }
}

void TMarkovKeuzeDialoog::UpdateBtnClick() {
    commitEdits();
    const auto checked = CheckNumberOfStates(S(StatesEdit->text()));
    if (const auto* problem = std::get_if<InputProblem>(&checked)) {
        showProblem(*problem);
        return;
    }
    ChainData chain = chainData();
    ResizeChain(chain, std::get<int>(checked));
    loadGrids(chain);
    dataChanged();
}

void TMarkovKeuzeDialoog::ClearBtnClick() {
    commitEdits();
    ChainData chain = chainData();
    ClearChain(chain);
    loadGrids(chain);
    dataChanged();
}

namespace {

tarvik::ui::FileRequest ChainFileRequest(QWidget* parent, const QString& caption) {
    tarvik::ui::FileRequest request;
    request.parent = parent;
    request.caption = caption;
    request.directory = tarvik::ui::FileDialogFolder(QStringLiteral("markov"));
    for (std::string_view filter : {kTextFilesFilter, kAllFilesFilter})
        request.filters << QString::fromLatin1(filter.data(), qsizetype(filter.size()));
    return request;
}

} // namespace

void TMarkovKeuzeDialoog::OpenBtnClick() {
    OpenExampleClick({});
}

void TMarkovKeuzeDialoog::OpenExampleClick(const QString& folder) {
    auto request = ChainFileRequest(this, QStringLiteral("Open"));
    if (!folder.isEmpty()) request.directory = folder;
    const auto name = tarvik::ui::Dialogs().openFileName(request);
    if (!name || name->isEmpty()) return;
    if (!tarvik::ui::IsExampleFile(*name))
        tarvik::ui::RememberFileDialogFolder(QStringLiteral("markov"), *name);
    openFile(*name);
}

void TMarkovKeuzeDialoog::SaveBtnClick() {
    commitEdits();
    auto request = ChainFileRequest(this, QStringLiteral("Save As"));
    request.defaultSuffix =
        QString::fromLatin1(kChainFileExtension.data(), qsizetype(kChainFileExtension.size()));
    const auto name = tarvik::ui::Dialogs().saveFileName(request);
    if (!name || name->isEmpty()) return;
    // A bare name gets the extension of the filter, so that the file shows under it.
    const QString fileName = tarvik::ui::WithFilterExtension(*name, request.filters.front());
    tarvik::ui::RememberFileDialogFolder(QStringLiteral("markov"), fileName);
    saveFile(fileName);
}

bool TMarkovKeuzeDialoog::openFile(const QString& fileName) {
    commitEdits();
    const ReadResult result = ReadChainFile(S(fileName));
    if (!result.ok) {
        showProblem(result.problem);
        return false;
    }
    if (result.chain.type != type_) {
        // A file of the other type: the window turns to that type first.
        ChainData switched = chainData();
        SwitchChainType(switched, result.chain.type);
        loadGrids(switched);
    }
    loadGrids(result.chain);
    StatesEdit->setText(QString::number(result.chain.n));
    dataChanged();
    return true;
}

bool TMarkovKeuzeDialoog::saveFile(const QString& fileName) {
    const WriteResult result = WriteChainFile(S(fileName), chainData());
    if (!result.ok) showProblem(result.problem);
    return result.ok;
}

// ---- Run --------------------------------------------------------------------

namespace {

// The progress window as the analyses see it.
class WindowProgress final : public MarkovProgress {
public:
    explicit WindowProgress(TMarkovProgress* window) : window_(window) {}
    void begin() override {
        if (window_) window_->begin();
    }
    void setPosition(int position) override {
        if (window_) window_->setPosition(position);
    }
    void end() override {
        if (window_) window_->end();
    }
    void yield() override { QCoreApplication::processEvents(); }
    bool stopRequested() const override { return !window_ || window_->stopRequested(); }

private:
    QPointer<TMarkovProgress> window_;
};

} // namespace

void TMarkovKeuzeDialoog::showReport(int tab, const std::vector<std::string>& lines, bool show) {
    ResultTexts[tab]->setPlainText(Q(JoinLines(lines)));
    if (show) ResultStacks[tab]->setCurrentIndex(1);
}

void TMarkovKeuzeDialoog::stopAndClose() {
    closeAfterRun_ = true;
    MarkovProgressWindow()->requestStop();
}

void TMarkovKeuzeDialoog::RunBtnClick() {
    commitEdits();
    if (running_) return;
    const auto validated = ValidateChain(chainData());
    if (const auto* problem = std::get_if<InputProblem>(&validated)) {
        showProblem(*problem);
        return;
    }
    const Chain& chain = std::get<Chain>(validated);
    const auto checked = CheckParameters(choiceTexts(), chain);
    if (const auto* problem = std::get_if<InputProblem>(&checked)) {
        showProblem(*problem);
        return;
    }
    const AnalysisParams& params = std::get<AnalysisParams>(checked);

    WindowProgress progress(MarkovProgressWindow());
    Report report;
    {
        // The progress window goes away and the window is free again however the run ends.
        struct RunScope {
            TMarkovKeuzeDialoog* window;
            WindowProgress& progress;
            ~RunScope() {
                progress.end();
                window->running_ = false;
                if (window->closeAfterRun_) {
                    // The module was asked to close during the run.
                    window->closeAfterRun_ = false;
                    QTimer::singleShot(0, window, [w = window] { emit w->closeRequested(); });
                }
            }
        } scope{this, progress};
        running_ = true;
        report = RunAnalysis(chain, params, progress);
    }

    const int tab = int(report.analysis);
    if (!report.problem.empty()) {
        // Refused before it started: nothing changes on the pages.
        MsgDlg(Q(report.problem), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK);
        return;
    }
    if (report.stopped) {
        // Only the header lines; whether the tab shows its text and the page stay as they were.
        showReport(tab, report.lines, false);
    } else {
        showReport(tab, report.lines, true);
        resultsAllowed_ = true;
        PageControl1->setCurrentIndex(ResultsPage);
        ResultTabs->setCurrentIndex(tab);
        updateButtons();
    }
}

} // namespace tarvik::markov::ui
