#include "modules/normal/ui/clsdialogen.h"

#include "common/numformat.h"
#include "common/numparse.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/modulewindow.h"
#include "common/ui/numberfields.h"
#include "modules/normal/sqrtlaw.h"
#include "modules/normal/ui/clsunit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik::normal::ui {

using tarvik::ui::MsgKind;

namespace {

QLineEdit* RealField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    tarvik::ui::KeepUnsignedReal(field);
    return field;
}

} // namespace

// --- TCLSWindow ---------------------------------------------------------------------

TCLSWindow::TCLSWindow(TCLS* owner, const QString& name, const QString& caption)
    : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 5);
    setObjectName(name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(caption);
}

QPushButton* TCLSWindow::NewButton(const QString& text, const QString& name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void TCLSWindow::AddButtonRow(QBoxLayout* layout, std::initializer_list<QWidget*> buttons, QWidget* left) {
    auto* row = new QHBoxLayout;
    if (left) row->addWidget(left);
    row->addStretch();
    for (QWidget* b : buttons) row->addWidget(b);
    layout->addLayout(row);
}

TCLSWindow::Buttons TCLSWindow::AddDialogButtons(QBoxLayout* layout, const QString& text, const QString& name,
                                                 bool withHelp) {
    Buttons b;
    if (withHelp) {
        b.help = NewButton(QStringLiteral("Help"), QStringLiteral("HelpBtn"));
        connect(b.help, &QPushButton::clicked, this, [this] { tarvik::ui::ShowHelp(kHelpContext, this); });
    }
    b.main = NewButton(text, name);
    b.main->setDefault(true);
    b.back = NewButton(QStringLiteral("Previous"), QStringLiteral("TerugBtn"));
    AddButtonRow(layout, {b.main, b.back}, b.help);
    return b;
}

void TCLSWindow::keyPressEvent(QKeyEvent* event) {
    if (tarvik::ui::SwallowEscape(event)) return;
    if (event->key() == Qt::Key_F1) {
        event->accept();
        tarvik::ui::ShowHelp(kHelpContext, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TCLSWindow::reject() {
    // Reached only through the frame: Escape is kept away.
    hide();
    if (!owner_->isClosing()) frameClose();
}

// --- TCLSKeuzeDialoog -----------------------------------------------------------------

TCLSKeuzeDialoog::TCLSKeuzeDialoog(TCLS* owner)
    : TCLSWindow(owner, QStringLiteral("CLSKeuzeDialoog"), QStringLiteral("Normal distribution")) {
    auto* main = new QVBoxLayout(this);
    main->addWidget(tarvik::ui::ChoiceColumn<QRadioButton>(
        this, QStringLiteral("Make your choice"), QStringLiteral("KeuzeGroup"),
        {{&CentralBtn, "Central limit theorem", "CentralBtn"},
         {&SqrtBtn, "Square root law", "SqrtBtn"},
         {&IntervalBtn, "Confidence interval", "IntervalBtn"}}));
    CentralBtn->setChecked(true);
    const Buttons buttons = AddDialogButtons(main, QStringLiteral("OK"), QStringLiteral("OKBtn"), false);
    OKBtn = buttons.main;
    TerugBtn = buttons.back;
    connect(OKBtn, &QPushButton::clicked, this, &TCLSKeuzeDialoog::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSKeuzeDialoog::TerugBtnClick);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

void TCLSKeuzeDialoog::OKBtnClick() {
    hide();
    if (CentralBtn->isChecked())
        owner_->CentralLimit1->trigger();
    else if (SqrtBtn->isChecked())
        owner_->SquareRoot1->trigger();
    else
        owner_->ConfidenceInterval1->trigger();
}

void TCLSKeuzeDialoog::TerugBtnClick() {
    if (!owner_->isClosing()) owner_->closeModule();
}

void TCLSKeuzeDialoog::frameClose() {
    owner_->closeModule();
}

// --- TCLSDialoog ------------------------------------------------------------------------

TCLSDialoog::TCLSDialoog(TCLS* owner)
    : TCLSWindow(owner, QStringLiteral("CLSDialoog"), QStringLiteral("Settings")) {
    auto* main = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    QGroupBox* dice = tarvik::ui::ChoiceColumn<QRadioButton>(
        this, QStringLiteral("Dice"), QStringLiteral("DiceGroup"),
        {{&FairBtn, "Fair", "FairBtn"}, {&BiasedBtn, "Biased", "BiasedBtn"}});
    static_cast<QVBoxLayout*>(dice->layout())->addStretch();
    top->addWidget(dice);
    top->addWidget(tarvik::ui::ChoiceColumn<QRadioButton>(this, QStringLiteral("Histogram"),
                                                          QStringLiteral("HistogramGroup"),
                                                          {{&HistBtn[0], "1 Histogram", "Hist1Btn"},
                                                           {&HistBtn[1], "2 Histograms", "Hist2Btn"},
                                                           {&HistBtn[2], "4 Histograms", "Hist4Btn"}}));
    HistBtn[0]->setChecked(true);
    main->addLayout(top);

    auto* probs = new QGroupBox(QStringLiteral("Probabilities"), this);
    probs->setObjectName(QStringLiteral("ProbabilitiesGroup"));
    ProbGroup = probs;
    auto* pl = new QGridLayout(probs);
    tarvik::ui::AddProbabilityFields(pl, probs, PEdit);
    for (QLineEdit* field : PEdit) tarvik::ui::KeepUnsignedReal(field);
    main->addWidget(probs);

    const Buttons buttons = AddDialogButtons(main, QStringLiteral("OK"), QStringLiteral("OKBtn"), true);
    HelpBtn = buttons.help;
    HelpBtn->setToolTip(QStringLiteral("Uitleg"));
    OKBtn = buttons.main;
    TerugBtn = buttons.back;

    connect(FairBtn, &QRadioButton::clicked, this, &TCLSDialoog::FairClick);
    connect(BiasedBtn, &QRadioButton::clicked, this, &TCLSDialoog::BiasedClick);
    connect(OKBtn, &QPushButton::clicked, this, &TCLSDialoog::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSDialoog::TerugBtnClick);

    FairBtn->setChecked(true);
    FairClick();
    setFixedSize(sizeHint());
}

int TCLSDialoog::histograms() const {
    return HistBtn[2]->isChecked() ? 4 : (HistBtn[1]->isChecked() ? 2 : 1);
}

void TCLSDialoog::FairClick() {
    for (QLineEdit* f : PEdit) f->setText(QString::fromLatin1(kFairText));
    ProbGroup->setEnabled(false);
}

void TCLSDialoog::BiasedClick() {
    ProbGroup->setEnabled(true);
    for (QLineEdit* f : PEdit) f->clear();
    PEdit[0]->setFocus();
}

void TCLSDialoog::showEvent(QShowEvent* event) {
    // The fields show the working probabilities.
    const Probabilities& p = owner_->probabilities();
    for (int j = 0; j < kFaces; ++j) PEdit[j]->setText(QString::fromStdString(FormatGeneral(p[j], 5)));
    ProbGroup->setEnabled(BiasedBtn->isChecked());
    TCLSWindow::showEvent(event);
}

void TCLSDialoog::OKBtnClick() {
    std::array<std::string, kFaces> texts;
    for (int j = 0; j < kFaces; ++j) texts[j] = PEdit[j]->text().toStdString();
    const DieCheck check = CheckDie(FairBtn->isChecked(), texts);
    if (check.error != DieError::None) {
        MsgDlg(QString::fromLatin1(DieMessage(check.error).data()), MsgKind::Error, tarvik::ui::mbOK, 0);
        return;
    }
    owner_->DieAccepted(check.p, histograms());
}

void TCLSDialoog::TerugBtnClick() {
    owner_->BackToChooser(this);
}

// --- TCLSSommatieLengte ---------------------------------------------------------------------

TCLSSommatieLengte::TCLSSommatieLengte(TCLS* owner)
    : TCLSWindow(owner, QStringLiteral("CLSSommatieLengte"), QStringLiteral("Summation length")) {
    auto* main = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Summation length"), this);
    group->setObjectName(QStringLiteral("LengthGroup"));
    auto* gl = new QGridLayout(group);
    const char* const labels[4] = {"Histogram1", "Histogram 2:", "Histogram 3:", "Histogram 4:"};
    for (int i = 0; i < 4; ++i) {
        FieldLabel[i] = new QLabel(QString::fromLatin1(labels[i]), group);
        LengthEdit[i] = new tarvik::ui::TBoundedSpin(1, kMaxSumLength, 1, group);
        LengthEdit[i]->setObjectName(QStringLiteral("LengthEdit%1").arg(i + 1));
        HintLabel[i] = new QLabel(group);
        HintLabel[i]->setObjectName(QStringLiteral("HintLabel%1").arg(i + 1));
        gl->addWidget(FieldLabel[i], i, 0);
        gl->addWidget(LengthEdit[i], i, 1);
        gl->addWidget(HintLabel[i], i, 2);
    }
    main->addWidget(group);
    const Buttons buttons =
        AddDialogButtons(main, QStringLiteral("Start"), QStringLiteral("StartBtn"), false);
    StartBtn = buttons.main;
    TerugBtn = buttons.back;
    connect(StartBtn, &QPushButton::clicked, this, &TCLSSommatieLengte::StartBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSSommatieLengte::TerugBtnClick);
    Configure(1, {4, 8, 12, 16});
    HintLabel[0]->setText(QStringLiteral("1 <= n <= 40"));
    setFixedSize(sizeHint());
}

void TCLSSommatieLengte::Configure(int histograms, const std::array<int, 4>& lengths) {
    const int max = MaxSumLength(histograms);
    const QString hint = QString::fromStdString(SumLengthHint(histograms));
    for (int i = 0; i < 4; ++i) {
        const bool on = i < histograms;
        LengthEdit[i]->setMaximum(max);
        LengthEdit[i]->setValue(std::clamp(lengths[i], 1, max));
        LengthEdit[i]->setEnabled(on);
        FieldLabel[i]->setEnabled(on);
        HintLabel[i]->setText(on ? hint : QString());
    }
}

void TCLSSommatieLengte::StartBtnClick() {
    std::array<int, 4> n{};
    for (int i = 0; i < 4; ++i) n[i] = LengthEdit[i]->commit();
    owner_->StartHistograms(n);
}

void TCLSSommatieLengte::TerugBtnClick() {
    owner_->BackToDieSettings();
}

void TCLSSommatieLengte::frameClose() {
    owner_->BackToDieSettings();
}

// --- TCountEdit ---------------------------------------------------------------------------------

TCountEdit::TCountEdit(QWidget* parent) : QSpinBox(parent) {
    // Wide enough to type any number, which is then replaced at once.
    setRange(-99999, 99999);
    setValue(kDefaultExperiments);
    connect(this, &QSpinBox::textChanged, this, [this](const QString& text) {
        const auto v = TryStrToInt(text.toStdString());
        if (!v) return;
        const int replaced = ReplaceWhileTyping(static_cast<int>(*v));
        if (replaced != *v) {
            setValue(replaced);
            selectAll();
        }
    });
}

void TCountEdit::stepBy(int steps) {
    setValue(ClampExperiments(count() + steps));
}

QAbstractSpinBox::StepEnabled TCountEdit::stepEnabled() const {
    StepEnabled e = StepNone;
    if (count() < kMaxExperiments) e |= StepUpEnabled;
    if (count() > kMinExperiments) e |= StepDownEnabled;
    return e;
}

int TCountEdit::count() const {
    return ClampExperiments(value());
}

// --- TCLSWortelNAantal ----------------------------------------------------------------------------

TCLSWortelNAantal::TCLSWortelNAantal(TCLS* owner)
    : TCLSWindow(owner, QStringLiteral("CLSWortelNAantal"), QStringLiteral("Number of experiments")) {
    auto* main = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Number of experiments"), this));
    CountEdit = new TCountEdit(this);
    CountEdit->setObjectName(QStringLiteral("CountEdit"));
    row->addWidget(CountEdit);
    main->addLayout(row);
    RangeLabel =
        new QLabel(QString::fromStdString(Format("(10 <= %s <= 1000)", "Number of experiments")), this);
    RangeLabel->setObjectName(QStringLiteral("RangeLabel"));
    main->addWidget(RangeLabel);
    BigBox = new QCheckBox(QStringLiteral("Big points in graph"), this);
    BigBox->setObjectName(QStringLiteral("BigBox"));
    main->addWidget(BigBox);
    const Buttons buttons = AddDialogButtons(main, QStringLiteral("Start"), QStringLiteral("StartBtn"), true);
    HelpBtn = buttons.help;
    StartBtn = buttons.main;
    TerugBtn = buttons.back;
    connect(StartBtn, &QPushButton::clicked, this, &TCLSWortelNAantal::StartBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSWortelNAantal::TerugBtnClick);
    setFixedSize(sizeHint());
}

int TCLSWortelNAantal::count() const {
    return CountEdit->count();
}

bool TCLSWortelNAantal::bigPoints() const {
    return BigBox->isChecked();
}

void TCLSWortelNAantal::SetRunning(bool running) {
    StartBtn->setEnabled(!running);
    TerugBtn->setEnabled(!running);
}

void TCLSWortelNAantal::StartBtnClick() {
    CountEdit->interpretText();
    CountEdit->setValue(CountEdit->count());
    owner_->StartSqrtLaw();
}

void TCLSWortelNAantal::TerugBtnClick() {
    owner_->BackToChooser(this);
}

// --- TCLSBTI ----------------------------------------------------------------------------------------

TCLSBTI::TCLSBTI(TCLS* owner)
    : TCLSWindow(owner, QStringLiteral("CLSBTI"), QStringLiteral("Confidence intervals")) {
    auto* main = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Simulation Parameter"), this);
    group->setObjectName(QStringLiteral("ParameterGroup"));
    auto* gl = new QGridLayout(group);
    gl->addWidget(new QLabel(QStringLiteral("p:"), group), 0, 0);
    PEdit = RealField(QStringLiteral("PEdit"), group);
    PEdit->setText(QString::fromLatin1(kDefaultP));
    PEdit->setToolTip(QStringLiteral("Min: 0.1 ; Max: 0.9"));
    gl->addWidget(PEdit, 0, 1);
    gl->addWidget(
        new QLabel(QStringLiteral("Number of experiments in each of the 100 simulation runs"), group), 1, 0,
        1, 2);
    NEdit = new tarvik::ui::TBoundedSpin(kMinTrials, kMaxTrials, kDefaultTrials, group);
    NEdit->setObjectName(QStringLiteral("NEdit"));
    gl->addWidget(NEdit, 2, 1);
    Level95Btn = new QRadioButton(QStringLiteral("95 % Conf.Int. "), group);
    Level95Btn->setObjectName(QStringLiteral("Level95Btn"));
    Level90Btn = new QRadioButton(QStringLiteral("90 % Conf.int."), group);
    Level90Btn->setObjectName(QStringLiteral("Level90Btn"));
    Level95Btn->setChecked(true);
    gl->addWidget(Level95Btn, 3, 0, 1, 2);
    gl->addWidget(Level90Btn, 4, 0, 1, 2);
    main->addWidget(group);
    const Buttons buttons = AddDialogButtons(main, QStringLiteral("OK"), QStringLiteral("OKBtn"), true);
    HelpBtn = buttons.help;
    OKBtn = buttons.main;
    TerugBtn = buttons.back;
    connect(OKBtn, &QPushButton::clicked, this, &TCLSBTI::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSBTI::TerugBtnClick);
    setFixedSize(sizeHint());
}

bool TCLSBTI::ReadSettings(IntervalRunSettings& settings) {
    const PCheck check = CheckP(PEdit->text().toStdString());
    if (check.error != PError::None) {
        MsgDlg(QString::fromLatin1(PMessage(check.error).data()), MsgKind::Error, tarvik::ui::mbOK, 0);
        return false;
    }
    NEdit->interpretText();
    settings.p = check.p;
    settings.n = NEdit->value();
    settings.level = Level95Btn->isChecked() ? Level::P95 : Level::P90;
    return true;
}

void TCLSBTI::OKBtnClick() {
    IntervalRunSettings settings;
    if (!ReadSettings(settings)) return;
    owner_->StartIntervals(settings);
}

void TCLSBTI::TerugBtnClick() {
    owner_->BackToChooser(this);
}

} // namespace tarvik::normal::ui
