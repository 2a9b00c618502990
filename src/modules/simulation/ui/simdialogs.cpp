#include "modules/simulation/ui/simdialogs.h"

#include "common/numformat.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/modulewindow.h"
#include "modules/simulation/simchecks.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/ui/simfields.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace tarvik::simulation::ui {

namespace {

QString Short(double v) {
    return QString::fromStdString(ShortText(v));
}
std::string Text(const QLineEdit* e) {
    return e->text().toStdString();
}
const QString kRate = QStringLiteral("customers/minute");
const QString kMinutes = QStringLiteral("minutes");

} // namespace

bool ProcessChoice::deterministic() const {
    return second && second->isChecked();
}

// --- TSimDialog --------------------------------------------------------------------

TSimDialog::TSimDialog(TSim* owner, const QString& name, const QString& caption)
    : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 7);
    setObjectName(name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(caption);
}

void TSimDialog::AddButtons(QBoxLayout* layout, const QString& okCaption) {
    const tarvik::ui::DialogButtons buttons = tarvik::ui::AddDialogButtons(this, layout, okCaption);
    OKBtn = buttons.ok;
    TerugBtn = buttons.back;
}

void TSimDialog::keyPressEvent(QKeyEvent* event) {
    if (!tarvik::ui::SwallowEscape(event)) QDialog::keyPressEvent(event);
}

// --- TSimSettingsDialog -----------------------------------------------------------

TSimSettingsDialog::TSimSettingsDialog(TSim* owner, const QString& name, const QString& heading,
                                       bool refreshOnShow, bool parameterGroup)
    : TSimDialog(owner, name, QStringLiteral("Settings")), refreshOnShow_(refreshOnShow) {
    main_ = new QVBoxLayout(this);
    KopLabel = new QLabel(heading, this);
    KopLabel->setObjectName(QStringLiteral("KopLabel"));
    QFont bold = KopLabel->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    KopLabel->setFont(bold);
    main_->addWidget(KopLabel);
    fields_ = new QGridLayout;
    if (parameterGroup) {
        auto* group = new QGroupBox(QStringLiteral("Parameters"), this);
        group->setObjectName(QStringLiteral("ParaBox"));
        group->setLayout(fields_);
        fieldParent_ = group;
        main_->addWidget(group);
    } else {
        fieldParent_ = this;
        main_->addLayout(fields_);
    }
    choices_ = new QHBoxLayout;
}

void TSimSettingsDialog::AddRow(const QString& caption, QWidget* field, bool unitColumn,
                                const QString& unit) {
    field->setFixedWidth(90);
    fields_->addWidget(new QLabel(caption, fieldParent_), row_, 0);
    fields_->addWidget(field, row_, 1);
    if (unitColumn) fields_->addWidget(new QLabel(unit, fieldParent_), row_, 2);
    ++row_;
}

QLineEdit* TSimSettingsDialog::AddRate(const QString& caption, const QString& name) {
    auto* e = new QLineEdit(fieldParent_);
    e->setObjectName(name);
    YellowWhileFocused(e);
    AddRow(caption, e, true, kRate);
    return e;
}

TWholeEdit* TSimSettingsDialog::AddWhole(const QString& caption, const QString& name, long long lo,
                                         long long hi, const QString& unit) {
    auto* e = new TWholeEdit(lo, hi, fieldParent_);
    e->setObjectName(name);
    AddRow(caption, e, true, unit);
    return e;
}

TWholeEdit* TSimSettingsDialog::AddInitial() {
    return AddWhole(QStringLiteral("Initial queue length"), QStringLiteral("AantalEdit"), 0, kMaxInitial, {});
}

TWholeEdit* TSimSettingsDialog::AddLength(double minimum) {
    return AddWhole(QStringLiteral("Simulation length"), QStringLiteral("StopTimeEdit"),
                    static_cast<long long>(minimum), static_cast<long long>(kMaxLength), kMinutes);
}

ProcessChoice TSimSettingsDialog::AddChoice(const QString& title, const QString& name, const QString& first) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    auto* l = new QVBoxLayout(box);
    ProcessChoice c{new QRadioButton(first, box), new QRadioButton(QStringLiteral("Deterministic"), box)};
    l->addWidget(c.first);
    l->addWidget(c.second);
    c.first->setChecked(true);
    choices_->addWidget(box);
    return c;
}

void TSimSettingsDialog::AddNote(const QString& text) {
    auto* note = new QLabel(text, this);
    note->setObjectName(QStringLiteral("NoteLabel"));
    main_->insertWidget(1, note); // under the heading
}

void TSimSettingsDialog::Finish(const QString& okCaption) {
    if (choices_->count() > 0) {
        main_->addLayout(choices_);
    } else {
        delete choices_;
        choices_ = nullptr;
    }
    AddButtons(main_, okCaption);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(TerugBtn, &QPushButton::clicked, this, &TSimSettingsDialog::TerugBtnClick);
    Refresh();
    setFixedSize(sizeHint());
}

bool TSimSettingsDialog::Accept(const std::vector<std::string>& messages) {
    for (const auto& m : messages)
        MsgDlg(QString::fromStdString(m), tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK);
    return messages.empty();
}

void TSimSettingsDialog::StartRun() {
    hide();
    owner_->Run();
}

void TSimSettingsDialog::TerugBtnClick() {
    hide();
    owner_->ShowOptions();
}

void TSimSettingsDialog::showEvent(QShowEvent* event) {
    if (refreshOnShow_) Refresh();
    QDialog::showEvent(event);
}

void TSimSettingsDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!owner_->isClosing()) owner_->ShowOptions();
}

// --- TSimDialoog2: the comparisons ---------------------------------------------------

TSimDialoog2::TSimDialoog2(TSim* owner)
    : TSimSettingsDialog(owner, QStringLiteral("SimDialoog2"), QStringLiteral("M/D/1 and  M/M/1 queues"),
                         true, false) {
    AddNote(QStringLiteral("Parameters below apply to both queues"));
    LambdaEdit = AddRate(QStringLiteral("Average arrival rate"), QStringLiteral("LambdaEdit"));
    MuEdit = AddRate(QStringLiteral("Average service rate"), QStringLiteral("MuEdit"));
    AantalEdit = AddInitial();
    StopTimeEdit = AddLength(kMinLength);
    Finish(QStringLiteral("OK"));
}

void TSimDialoog2::SetComparison(bool md1) {
    md1_ = md1;
    KopLabel->setText(md1 ? QStringLiteral("M/D/1 and  M/M/1 queues")
                          : QStringLiteral("D/M/1 and  M/M/1 queues"));
}

void TSimDialoog2::Refresh() {
    const SingleSettings& s = State().single;
    LambdaEdit->setText(Short(s.lambda));
    MuEdit->setText(Short(s.mu));
    AantalEdit->setValue(s.initial);
    StopTimeEdit->setValue(std::llround(s.length));
}

void TSimDialoog2::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    AantalEdit->clampText();
    StopTimeEdit->clampText();
    const RateInput in{.lambda = Text(LambdaEdit),
                       .mu = Text(MuEdit),
                       .length = static_cast<double>(StopTimeEdit->value()),
                       .initial = static_cast<int>(AantalEdit->value())};
    const auto c = CheckCompare(in, md1_);
    if (!Accept(c.messages)) return;
    SingleSettings& s = State().single;
    s.lambda = c.settings->lambda;
    s.mu = c.settings->mu;
    s.length = c.settings->length;
    s.initial = c.settings->initial;
    s.detArrivals = !md1_;
    s.detService = md1_;
    StartRun();
}

// --- TSimDialoog3: varying load ------------------------------------------------------

TSimDialoog3::TSimDialoog3(TSim* owner)
    : TSimSettingsDialog(owner, QStringLiteral("SimDialoog3"), QStringLiteral("Varying load in M/M/1 queue"),
                         true, false) {
    auto addLoad = [this](const QString& caption, const QString& name) {
        auto* e = new QLineEdit(fieldParent_);
        e->setObjectName(name);
        YellowWhileFocused(e);
        AddRow(caption, e, false);
        return e;
    };
    Rho1Edit = addLoad(QStringLiteral("Load rho 1"), QStringLiteral("Rho1Edit"));
    Rho2Edit = addLoad(QStringLiteral("Load rho 2"), QStringLiteral("Rho2Edit"));
    AantalEdit = AddInitial();
    StopTimeEdit = AddLength(kMinLength);
    Finish(QStringLiteral("OK"));
}

void TSimDialoog3::Refresh() {
    Rho1Edit->setText(Short(State().varying.rho1));
    Rho2Edit->setText(Short(State().varying.rho2));
    AantalEdit->setValue(State().single.initial);
    StopTimeEdit->setValue(std::llround(State().single.length));
}

void TSimDialoog3::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    AantalEdit->clampText();
    StopTimeEdit->clampText();
    const auto c =
        CheckVaryingLoad(Text(Rho1Edit), Text(Rho2Edit), static_cast<double>(StopTimeEdit->value()),
                         static_cast<int>(AantalEdit->value()));
    if (!Accept(c.messages)) return;
    State().varying = *c.settings;
    SingleSettings& s = State().single;
    s.lambda = c.settings->rho1;
    s.mu = 1;
    s.length = c.settings->length;
    s.initial = c.settings->initial;
    StartRun();
}

// --- TSimTwoTypesDialog: pooling and priority -------------------------------------

TSimTwoTypesDialog::TSimTwoTypesDialog(TSim* owner, const QString& name, const QString& heading,
                                       const char* arrivalsOf)
    : TSimSettingsDialog(owner, name, heading, true, true) {
    const QString arrival = QStringLiteral("Average arrival rate (%1 %2)").arg(QLatin1String(arrivalsOf));
    const QString service = QStringLiteral("Average service rate (type %1)");
    Lambda1Edit = AddRate(arrival.arg(1), QStringLiteral("Lambda1Edit"));
    Lambda2Edit = AddRate(arrival.arg(2), QStringLiteral("Lambda2Edit"));
    Mu1Edit = AddRate(service.arg(1), QStringLiteral("Mu1Edit"));
    Mu2Edit = AddRate(service.arg(2), QStringLiteral("Mu2Edit"));
    StopTimeEdit = AddLength(kMinLength);
}

template <class Settings> void TSimTwoTypesDialog::ShowRates(const Settings& s) {
    Lambda1Edit->setText(Short(s.lambda1));
    Lambda2Edit->setText(Short(s.lambda2));
    Mu1Edit->setText(Short(s.mu1));
    Mu2Edit->setText(Short(s.mu2));
    StopTimeEdit->setValue(std::llround(s.length));
}

// --- TSimDialoog4: pooling -----------------------------------------------------------

TSimDialoog4::TSimDialoog4(TSim* owner)
    : TSimTwoTypesDialog(owner, QStringLiteral("SimDialoog4"),
                         QStringLiteral("Separate queues versus pooling"), "queue") {
    Bediening = AddChoice(QStringLiteral("Service process"), QStringLiteral("BedieningsBox"),
                          QStringLiteral("Poisson"));
    Finish(QStringLiteral("Run"));
}

void TSimDialoog4::Refresh() {
    ShowRates(State().pooling);
}

void TSimDialoog4::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    StopTimeEdit->clampText();
    const auto c = CheckPooling({.lambda1 = Text(Lambda1Edit),
                                 .lambda2 = Text(Lambda2Edit),
                                 .mu1 = Text(Mu1Edit),
                                 .mu2 = Text(Mu2Edit),
                                 .detService = Bediening.deterministic(),
                                 .length = static_cast<double>(StopTimeEdit->value())});
    if (!Accept(c.messages)) return;
    State().pooling = *c.settings;
    StartRun();
}

// --- TSimDialoogTandem ---------------------------------------------------------------

TSimDialoogTandem::TSimDialoogTandem(TSim* owner)
    : TSimSettingsDialog(owner, QStringLiteral("SimDialoogTandem"), QStringLiteral("Tandem queue"), false,
                         true) {
    Lambda1Edit = AddRate(QStringLiteral("Average arrival rate"), QStringLiteral("Lambda1Edit"));
    Mu1Edit = AddRate(QString::fromStdString(Format("Average service rate (type %d)", 1)),
                      QStringLiteral("Mu1Edit"));
    Mu2Edit = AddRate(QString::fromStdString(Format("Average service rate (type %d)", 2)),
                      QStringLiteral("Mu2Edit"));
    StopTimeEdit = AddLength(kMinLength);
    Aankomst = AddChoice(QStringLiteral("Arrival process"), QStringLiteral("AankomstBox"),
                         QStringLiteral("Poisson"));
    Bediening1 = AddChoice(QStringLiteral("Service process 1"), QStringLiteral("Bediening1Box"),
                           QStringLiteral("Exponential"));
    Bediening2 = AddChoice(QStringLiteral("Service process 2"), QStringLiteral("Bediening2Box"),
                           QStringLiteral("Exponential"));
    Finish(QStringLiteral("Run"));
    // Filled once from the start values; this dialog keeps what was typed.
    const TandemSettings& t = State().tandem;
    Lambda1Edit->setText(Short(t.lambda));
    Mu1Edit->setText(Short(t.mu1));
    Mu2Edit->setText(Short(t.mu2));
    StopTimeEdit->setValue(std::llround(t.length));
}

void TSimDialoogTandem::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    StopTimeEdit->clampText();
    const auto c = CheckTandem({.lambda = Text(Lambda1Edit),
                                .mu1 = Text(Mu1Edit),
                                .mu2 = Text(Mu2Edit),
                                .detArrivals = Aankomst.deterministic(),
                                .detService1 = Bediening1.deterministic(),
                                .detService2 = Bediening2.deterministic(),
                                .length = static_cast<double>(StopTimeEdit->value())});
    if (!Accept(c.messages)) return;
    State().tandem = *c.settings;
    StartRun();
}

// --- TSimDialoogPriority -------------------------------------------------------------

TSimDialoogPriority::TSimDialoogPriority(TSim* owner)
    : TSimTwoTypesDialog(owner, QStringLiteral("SimDialoogPriority"), QStringLiteral("Priority Queue"),
                         "type") {
    AddNote(QStringLiteral("Type 1 customers have priority"));
    Bediening1 = AddChoice(QStringLiteral("Service process"), QStringLiteral("Bediening1Box"),
                           QStringLiteral("Exponential"));
    Bediening2 = AddChoice(QStringLiteral("Service process"), QStringLiteral("Bediening2Box"),
                           QStringLiteral("Exponential"));
    Finish(QStringLiteral("Run"));
}

void TSimDialoogPriority::Refresh() {
    ShowRates(State().priority);
}

void TSimDialoogPriority::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    StopTimeEdit->clampText();
    const auto c = CheckPriority({.lambda1 = Text(Lambda1Edit),
                                  .lambda2 = Text(Lambda2Edit),
                                  .mu1 = Text(Mu1Edit),
                                  .mu2 = Text(Mu2Edit),
                                  .detService1 = Bediening1.deterministic(),
                                  .detService2 = Bediening2.deterministic(),
                                  .length = static_cast<double>(StopTimeEdit->value())});
    if (!Accept(c.messages)) return;
    State().priority = *c.settings;
    StartRun();
}

} // namespace tarvik::simulation::ui
