#include "modules/roulette/ui/roulettewindows.h"

#include "common/ui/help.h"
#include "common/ui/reportsave.h"

#include "common/ui/moduledialog.h"
#include "common/ui/modulewindow.h"
#include "modules/roulette/strategy.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/wholespin.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik::roulette::ui {
namespace {

QLabel* NewLabel(const QString& text, QWidget* parent, const char* name = nullptr) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* NewButton(const QString& text, QWidget* parent, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

TWholeSpin* NewSpin(int lo, int hi, int value, QWidget* parent, const char* name) {
    auto* s = new TWholeSpin(lo, hi, value, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setMinimumWidth(70);
    return s;
}

} // namespace

// --- TRouletteDialoog -------------------------------------------------------------

TRouletteDialoog::TRouletteDialoog(TRoulette* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteDialoog"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Roulette"));

    auto* main = new QVBoxLayout(this);
    main->addWidget(tarvik::ui::ChoiceColumn<QRadioButton>(
        this, QStringLiteral("Make your choice"), QStringLiteral("KeuzeGroup"),
        {{&ActionBtn, "Roulette in action", "ActionBtn"}, {&GameBtn, "All-or-nothing game", "GameBtn"}}));
    ActionBtn->setChecked(true);

    auto* fields = new QGridLayout;
    StartKapitaalSpin = NewSpin(1, kMaxCapital, 3, this, "StartKapitaalSpin");
    StreefKapitaalSpin = NewSpin(1, kMaxGoal, 5, this, "StreefKapitaalSpin");
    AantalSpin = NewSpin(1, kMaxBets, 2, this, "AantalSpin");
    const struct {
        const char* label;
        TWholeSpin* spin;
        const char* note;
    } rows[] = {{"Initial capital", StartKapitaalSpin, "(<=99)"},
                {"Desired capital", StreefKapitaalSpin, "(<=100)"},
                {"Number of bets", AantalSpin, "(<=50)"}};
    int r = 0;
    for (const auto& row : rows) {
        QLabel* label = NewLabel(QString::fromLatin1(row.label), this);
        label->setBuddy(row.spin);
        fields->addWidget(label, r, 0);
        fields->addWidget(row.spin, r, 1);
        fields->addWidget(NewLabel(QString::fromLatin1(row.note), this), r, 2);
        ++r;
    }
    main->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = NewButton(QStringLiteral("OK"), this, "OKBtn");
    OKBtn->setDefault(true);
    TerugBtn = NewButton(QStringLiteral("Previous"), this, "TerugBtn");
    buttons->addWidget(OKBtn);
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TRouletteDialoog::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TRouletteDialoog::TerugBtnClick);
    setFixedSize(sizeHint());
}

void TRouletteDialoog::OKBtnClick() {
    if (owner_->isClosing()) return;
    // The fields as they read now: a value typed and confirmed with Enter has
    // not been brought within its range yet.
    StartInput in;
    in.capital = StartKapitaalSpin->Value();
    in.goal = StreefKapitaalSpin->Value();
    in.bets = AantalSpin->Value();
    owner_->StartOK(in, ActionBtn->isChecked());
}

void TRouletteDialoog::TerugBtnClick() {
    if (!owner_->isClosing()) owner_->closeModule();
}

void TRouletteDialoog::closeEvent(QCloseEvent* event) {
    // Allowed while the module closes; otherwise the request closes the module.
    if (owner_->isClosing()) {
        event->accept();
        return;
    }
    event->ignore();
    owner_->closeModule();
}

void TRouletteDialoog::reject() {
    // Escape is "Previous".
    TerugBtnClick();
}

// --- TRouletteResultaatDlg ----------------------------------------------------------

TRouletteResultaatDlg::TRouletteResultaatDlg(TRoulette* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteResultaatDlg"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Results of the all-or-nothing game"));

    auto* main = new QVBoxLayout(this);
    auto* info = new QGroupBox(QStringLiteral("Information"), this);
    info->setObjectName(QStringLiteral("InformationGroup"));
    auto* infoLayout = new QGridLayout(info);
    StatusHuidig = NewLabel(QString(), info, "StatusHuidig");
    StatusStreef = NewLabel(QString(), info, "StatusStreef");
    StatusAantal = NewLabel(QString(), info, "StatusAantal");
    infoLayout->addWidget(NewLabel(QStringLiteral("Current capital"), info), 0, 0);
    infoLayout->addWidget(StatusHuidig, 0, 1);
    infoLayout->addWidget(NewLabel(QStringLiteral("Desired capital"), info), 1, 0);
    infoLayout->addWidget(StatusStreef, 1, 1);
    infoLayout->addWidget(NewLabel(QStringLiteral("Number of bets left"), info), 2, 0);
    infoLayout->addWidget(StatusAantal, 2, 1);
    infoLayout->setColumnStretch(1, 1);
    main->addWidget(info);

    auto* result = new QGridLayout;
    OptimaalStr = NewLabel(QString(), this, "OptimaalStr");
    WinstkansStr = NewLabel(QString(), this, "WinstkansStr");
    QFont bold = OptimaalStr->font();
    bold.setBold(true);
    OptimaalStr->setFont(bold);
    WinstkansStr->setFont(bold);
    OptimaalStr->setMinimumWidth(260);
    result->addWidget(NewLabel(QStringLiteral("An optimal decision in current state:"), this), 0, 0);
    result->addWidget(OptimaalStr, 0, 1);
    result->addWidget(NewLabel(QStringLiteral("Maximal chance of winning"), this), 1, 0);
    result->addWidget(WinstkansStr, 1, 1);
    main->addLayout(result);

    auto* other = new QHBoxLayout;
    QLabel* otherText = NewLabel(
        QStringLiteral("Calculate chance of winning when you take a different decision in the current state"),
        this);
    otherText->setWordWrap(true);
    other->addWidget(otherText, 1);
    AndersBtn = NewButton(QStringLiteral("Alternative\nDecision"), this, "AndersBtn");
    AndersBtn->setMinimumHeight(44);
    other->addWidget(AndersBtn);
    main->addLayout(other);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    TerugBtn = NewButton(QStringLiteral("Previous"), this, "TerugBtn");
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);

    connect(AndersBtn, &QPushButton::clicked, owner_, &TRoulette::AlternativeDecision);
    connect(TerugBtn, &QPushButton::clicked, owner_, &TRoulette::ShowStartDialog);
    tarvik::ui::AddResultsSaving(
        this, [this] { return windowTitle(); }, [] { return QStringLiteral("Roulette"); },
        [this] { return resultsText; }, TerugBtn);
    setFixedWidth(sizeHint().width());
}

void TRouletteResultaatDlg::reject() {
    // Escape and the frame: as "Previous".
    if (!owner_->isClosing()) owner_->ShowStartDialog();
}

// --- TRouletteAndersDlg -------------------------------------------------------------

TRouletteAndersDlg::TRouletteAndersDlg(TRoulette* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteAndersDlg"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("All-or-nothing game"));

    auto* main = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    KapitaalSpin = NewSpin(1, kMaxCapital, 3, this, "KapitaalSpin");
    StreefSpin = NewSpin(1, kMaxGoal, 5, this, "StreefSpin");
    AantalSpin = NewSpin(1, kMaxBets, 2, this, "AantalSpin");
    for (TWholeSpin* s : {KapitaalSpin, StreefSpin, AantalSpin}) s->setEnabled(false);
    grid->addWidget(NewLabel(QStringLiteral("Initial capital"), this), 0, 0);
    grid->addWidget(KapitaalSpin, 0, 1);
    grid->addWidget(NewLabel(QStringLiteral("Desired capital"), this), 1, 0);
    grid->addWidget(StreefSpin, 1, 1);
    grid->addWidget(NewLabel(QStringLiteral("Number of bets"), this), 2, 0);
    grid->addWidget(AantalSpin, 2, 1);

    WinkansOpt = NewLabel(QString(), this, "WinkansOpt");
    grid->addWidget(NewLabel(QStringLiteral("Maximal win probability :"), this), 3, 0);
    grid->addWidget(WinkansOpt, 3, 1);

    InzetSpin = NewSpin(1, 3, 1, this, "InzetSpin");
    grid->addWidget(NewLabel(QStringLiteral("Stake"), this), 4, 0);
    grid->addWidget(InzetSpin, 4, 1);

    TypeWeddenschap = new QComboBox(this);
    TypeWeddenschap->setObjectName(QStringLiteral("TypeWeddenschap"));
    TypeWeddenschap->setToolTip(QStringLiteral("Selecteer een weddenschap"));
    for (const DecisionEntry& e : kDecisionList) TypeWeddenschap->addItem(QString::fromUtf8(e.name));
    grid->addWidget(NewLabel(QStringLiteral("Type of bet"), this), 5, 0);
    grid->addWidget(TypeWeddenschap, 5, 1);

    Winkans = NewLabel(QString(), this, "Winkans");
    QFont bold = Winkans->font();
    bold.setBold(true);
    Winkans->setFont(bold);
    WinkansOpt->setFont(bold);
    grid->addWidget(NewLabel(QStringLiteral("Win probability"), this), 6, 0);
    grid->addWidget(Winkans, 6, 1);
    main->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    TerugBtn = NewButton(QStringLiteral("Previous"), this, "TerugBtn");
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);

    connect(InzetSpin, &TWholeSpin::changed, this, &TRouletteAndersDlg::Evaluate);
    connect(TypeWeddenschap, &QComboBox::currentIndexChanged, this, &TRouletteAndersDlg::Evaluate);
    connect(TerugBtn, &QPushButton::clicked, this, &TRouletteAndersDlg::reject);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

void TRouletteAndersDlg::Prepare() {
    const int c = owner_->capital();
    preparing_ = true;
    TypeWeddenschap->setCurrentIndex(0);
    InzetSpin->setValue(1);
    preparing_ = false;
    KapitaalSpin->setValue(c);
    StreefSpin->setValue(owner_->goal());
    AantalSpin->setValue(owner_->bets());
    InzetSpin->setRange(1, c);
    WinkansOpt->setText(
        QString::fromStdString(MaximalWinText(owner_->strategy(), c, owner_->goal(), owner_->bets())));
    Evaluate();
}

void TRouletteAndersDlg::Evaluate() {
    if (preparing_) return;
    const int c = owner_->capital();
    InzetSpin->setRange(1, c);
    InzetSpin->setToolTip(QStringLiteral("Minimal 1, Maximal %1").arg(c));
    const long long typed = InzetSpin->Value();
    const int kept = ClampStake(typed, c);
    if (kept != typed) {
        // A stake outside 1 .. c is set back, which evaluates again.
        InzetSpin->setValue(kept);
        return;
    }
    const int entry = std::max(0, TypeWeddenschap->currentIndex());
    Winkans->setText(QString::fromStdString(
        WinText(owner_->strategy(), c, owner_->goal(), owner_->bets(), kept, kDecisionList[entry].type)));
}

void TRouletteAndersDlg::reject() {
    // "Previous" and the frame: back to the start dialog.
    if (!owner_->isClosing()) owner_->ShowStartDialog();
}

// --- TRouletteInfo ------------------------------------------------------------------

TRouletteInfo::TRouletteInfo(QWidget* parent) : QDialog(parent) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteInfo"));
    setWindowTitle(QStringLiteral("Information"));
    auto* main = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("<b>Roulette</b><br><br>"
                       "The all-or-nothing game: with an initial capital you want to reach a desired<br>"
                       "capital within a number of bets on a wheel of 37 numbers (0 to 36).<br>"
                       "Dynamic programming over the bets left and the capital gives the maximal<br>"
                       "chance of reaching the goal and an optimal bet in every state.<br><br>"
                       "In \"Roulette in action\" you play the same game yourself at the table:<br>"
                       "set a stake, drag the chip onto the table and turn the wheel."),
        this);
    text->setObjectName(QStringLiteral("InfoText"));
    main->addWidget(text);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addStretch();
    main->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

} // namespace tarvik::roulette::ui
