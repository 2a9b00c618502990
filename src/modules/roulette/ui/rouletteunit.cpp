#include "modules/roulette/ui/rouletteunit.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/seed.h"
#include "common/ui/windowowner.h"
#include "modules/roulette/ui/roulettemodule.h"
#include "modules/roulette/ui/roulettepictures.h"
#include "modules/roulette/ui/wholespin.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>

namespace tarvik::roulette::ui {

using tarvik::ui::MsgKind;

TRoulette::TRoulette(QWidget* parent)
    : tarvik::ui::ModuleWindow(parent), Table(std::make_unique<StrategyTable>()) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("Roulette"));
    setWindowTitle(QStringLiteral("Roulette"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    CloseItem = file->addAction(QStringLiteral("Close Roulette"));
    CloseItem->setObjectName(QStringLiteral("CloseItem"));
    connect(CloseItem, &QAction::triggered, this, [this] { closeModule(); });

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    options->menuAction()->setVisible(false);
    ActionItem = options->addAction(QStringLiteral("Roulette in action"));
    ActionItem->setObjectName(QStringLiteral("ActionItem"));
    GameItem = options->addAction(QStringLiteral("All-or-nothing game"));
    GameItem->setObjectName(QStringLiteral("GameItem"));
    connect(ActionItem, &QAction::triggered, this, &TRoulette::RouletteInAction);
    connect(GameItem, &QAction::triggered, this, &TRoulette::AllOrNothingGame);
    tarvik::ui::AddSeedCommand(options, QStringLiteral("roulette"), this);

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    HelpItem = help->addAction(QStringLiteral("Explanation"));
    HelpItem->setObjectName(QStringLiteral("HelpItem"));
    HelpItem->setShortcut(QKeySequence(Qt::Key_F1));
    connect(HelpItem, &QAction::triggered, this,
            [this] { tarvik::ui::ShowHelp(kRouletteHelpContext, this); });
    help->addSeparator();
    InfoItem = help->addAction(QStringLiteral("Information"));
    InfoItem->setObjectName(QStringLiteral("InfoItem"));
    connect(InfoItem, &QAction::triggered, this, [this] {
        if (!Info) return;
        tarvik::ui::OwnQuestion(Info, this);
        Info->exec();
    });

    Wait = [this](int ms) { WaitMs(ms); };
    ShowOutcome = [this](TUitslagDialog& dialog) {
        tarvik::ui::OwnQuestion(&dialog, this);
        dialog.exec();
    };

    // Every secondary window, then the start dialog.
    AndersDlg = new TRouletteAndersDlg(this);
    ResultaatDlg = new TRouletteResultaatDlg(this);
    Tableau = new TRouletteTableau(this);
    SpelDlg = new TRouletteSpelDlg(this);
    Info = new TRouletteInfo(this);
    Status = new TRouletteStatus(this);
    RouletteDialoog = new TRouletteDialoog(this);
    Wiel = new Troulettewiel(this);
    UitslagDialog = new TUitslagDialog(this);
    // F1 opens the help in every window of the module.
    for (QWidget* w : {static_cast<QWidget*>(AndersDlg.data()), static_cast<QWidget*>(ResultaatDlg.data()),
                       static_cast<QWidget*>(Tableau.data()), static_cast<QWidget*>(SpelDlg.data()),
                       static_cast<QWidget*>(Status.data()), static_cast<QWidget*>(RouletteDialoog.data())})
        w->addAction(HelpItem);
    RouletteDialoog->show();
}

TRoulette::~TRoulette() = default;

void TRoulette::StartOK(const StartInput& input, bool rouletteInAction) {
    if (isClosing()) return;
    const StartCheck check = CheckStartInput(input);
    if (!check.ok) {
        MsgDlg(QString::fromLatin1(kInvalidInput), MsgKind::Error, tarvik::ui::mbOK, 0);
        if (!RouletteDialoog) return;
        RouletteDialoog->StartKapitaalSpin->setValue(check.capital);
        RouletteDialoog->StreefKapitaalSpin->setValue(check.goal);
        RouletteDialoog->AantalSpin->setValue(check.bets);
        return;
    }
    Capital = check.capital;
    Goal = check.goal;
    Bets = check.bets;
    SolveAllOrNothing(*Table, Goal, Bets);
    Solved = true;
    RouletteDialoog->hide();
    if (rouletteInAction)
        ActionItem->trigger();
    else
        GameItem->trigger();
}

void TRoulette::AllOrNothingGame() {
    if (isClosing()) return;
    if (!Solved) {
        SolveAllOrNothing(*Table, Goal, Bets);
        Solved = true;
    }
    RouletteDialoog->hide();
    AndersDlg->hide();
    const ResultsView view = PrepareResults(*Table, Capital, Goal, Bets);
    ResultaatDlg->resultsText = QString::fromUtf8(ResultsViewText(view).c_str());
    ResultaatDlg->StatusHuidig->setText(QString::fromStdString(view.capital));
    ResultaatDlg->StatusStreef->setText(QString::fromStdString(view.goal));
    ResultaatDlg->StatusAantal->setText(QString::fromStdString(view.bets));
    if (view.warning) {
        ResultaatDlg->OptimaalStr->clear();
        ResultaatDlg->WinstkansStr->clear();
        MsgDlg(QString::fromLatin1(kNoPossibility), MsgKind::Warning, tarvik::ui::mbOK, 0);
    } else {
        ResultaatDlg->OptimaalStr->setText(QString::fromUtf8(view.decision.c_str()));
        ResultaatDlg->WinstkansStr->setText(QString::fromStdString(view.chance));
    }
    if (isClosing() || !ResultaatDlg) return;
    tarvik::ui::ShowInFront(ResultaatDlg);
}

void TRoulette::AlternativeDecision() {
    if (isClosing()) return;
    ResultaatDlg->hide();
    AndersDlg->Prepare();
    tarvik::ui::ShowInFront(AndersDlg);
}

void TRoulette::ShowStartDialog() {
    if (isClosing()) return;
    ResultaatDlg->hide();
    AndersDlg->hide();
    Tableau->hide();
    SpelDlg->hide();
    Status->hide();
    tarvik::ui::ShowInFront(RouletteDialoog);
}

void TRoulette::RouletteInAction() {
    if (isClosing()) return;
    RouletteDialoog->hide();
    Game.capital = Capital;
    Game.goal = Goal;
    Game.betsLeft = Bets;
    Game.gameOver = false;
    // A game is one run: its spins draw on from the seed it starts with.
    tarvik::ui::BeginSeededRun(QStringLiteral("roulette"), this);
    SpelDlg->Kapitaal->setText(QString::number(Game.capital));
    ChipDraggable = true;
    SpelDlg->ShowPlaceYourBet();

    // The table at the top left of the module, the game dialog and the status
    // window to its right, the wheel below them.
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    Tableau->move(origin + QPoint(10, 10));
    const int right = 10 + Tableau->frameGeometry().width() + 20;
    SpelDlg->move(origin + QPoint(right, 10));
    Status->move(origin + QPoint(right, 10 + SpelDlg->frameGeometry().height() + 40));
    Wiel->move(origin + QPoint(right + SpelDlg->frameGeometry().width() + 20, 10));

    Tableau->show();
    Status->Fill(Game.capital, Game.goal, Game.betsLeft);
    Status->show();
    tarvik::ui::ShowInFront(SpelDlg);
    SpelDlg->SpelInzetSpin->setFocus();
}

void TRoulette::ChipDropped(QPointF at) {
    if (!ChipDraggable || isClosing()) return;
    const ChipDrop drop = DropChip(at.x(), at.y());
    Game.bet = drop.bet;
    Game.multiple = drop.multiple;
    Tableau->Chip->move(drop.chipLeft, drop.chipTop);
}

void TRoulette::TurnWheel() {
    if (isClosing() || Spinning) return;
    // The stake as the field keeps it (brought within 1 .. 1000).
    SpelDlg->SpelInzetSpin->Clamp();
    const int stake = static_cast<int>(SpelDlg->SpelInzetSpin->Value());
    if (StakeTooHigh(Game, stake)) {
        MsgDlg(QString::fromLatin1(kStakeTooHigh), MsgKind::Error, tarvik::ui::mbOK, 0);
        return;
    }
    Tableau->raise();
    if (!CheckTurn(Game, stake).empty()) {
        MsgDlg(QString::fromLatin1(kChipInvalid), MsgKind::Error, tarvik::ui::mbOK, 0);
        return;
    }
    if (isClosing()) return;

    Spinning = true;
    SpelDlg->TerugBtn->setEnabled(false);
    SpelDlg->DraaiBtn->setEnabled(false);
    SpelDlg->SpelInzetSpin->setEnabled(false);
    ChipDraggable = false;
    Game.gameOver = false;

    const WheelSpin spin = SpinWheel();
    Drawn = spin.number;
    SpelDlg->GetrokkenNummer->setText(QString::number(Drawn));
    QPalette pal = SpelDlg->Kleur->palette();
    pal.setColor(QPalette::Window, PocketColor(Drawn));
    SpelDlg->Kleur->setPalette(pal);

    const QPointer<TRoulette> self(this);
    if (!AnimateWheel(spin.turns) || !self || isClosing()) {
        if (self) Spinning = false;
        return;
    }
    Wiel->hide();

    ChipDraggable = true;
    SpelDlg->DraaiBtn->setEnabled(true);
    SpelDlg->SpelInzetSpin->setEnabled(true);
    SpelDlg->ShowDrawnNumber();
    SpelDlg->SpelInzetSpin->setFocus();
    SpelDlg->repaint();
    Spinning = false;
    SettleBet(stake);
}

bool TRoulette::AnimateWheel(int turns) {
    const QPointer<TRoulette> self(this);
    Wiel->ShowClean();
    Wiel->show();
    Wiel->raise();
    for (const BallStep& step : BallPath(turns, Drawn)) {
        Wiel->ShowBall(step.wheelIndex);
        Wait(step.waitMs);
        if (!self || isClosing()) return false;
        Wiel->ShowClean();
    }
    Wiel->ShowBall(WheelIndex(Drawn));
    Wait(1000);
    return self && !isClosing();
}

void TRoulette::WaitMs(int ms) {
    // The window keeps being drawn while the wheel turns, but user input
    // waits until the spin is over.
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const qint64 left = ms - timer.elapsed();
        if (left <= 0 || isClosing()) break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents,
                                        static_cast<int>(std::min<qint64>(left, 10)));
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
    }
}

void TRoulette::SettleBet(int stake) {
    const QPointer<TRoulette> self(this);
    const Settlement s = tarvik::roulette::SettleBet(Game, stake, Drawn);
    UitslagDialog->setText(QString::fromStdString(s.outcome));
    ShowOutcome(*UitslagDialog);
    if (!self || isClosing()) return;

    SpelDlg->Kapitaal->setText(QString::number(Game.capital));
    Status->Fill(Game.capital, Game.goal, Game.betsLeft);
    if (!s.endMessage.empty()) {
        MsgDlg(QString::fromLatin1(s.endMessage.c_str()), MsgKind::Information, tarvik::ui::mbOK, 0);
        if (!self || isClosing()) return;
    }
    if (Game.gameOver) {
        Tableau->hide();
        SpelDlg->hide();
        Status->hide();
        tarvik::ui::ShowInFront(RouletteDialoog);
    }
    SpelDlg->ShowPlaceYourBet();
    SpelDlg->SpelInzetSpin->setEnabled(true);
    SpelDlg->TerugBtn->setEnabled(true);
}

void TRoulette::LeaveGame() {
    if (isClosing() || Spinning) return;
    Tableau->hide();
    SpelDlg->hide();
    Status->hide();
    tarvik::ui::ShowInFront(RouletteDialoog);
}

void TRoulette::releaseModule() {
    if (UitslagDialog && UitslagDialog->isVisible()) UitslagDialog->reject();
    for (QWidget* w : {static_cast<QWidget*>(AndersDlg.data()), static_cast<QWidget*>(ResultaatDlg.data()),
                       static_cast<QWidget*>(Tableau.data()), static_cast<QWidget*>(SpelDlg.data()),
                       static_cast<QWidget*>(Info.data()), static_cast<QWidget*>(Status.data()),
                       static_cast<QWidget*>(RouletteDialoog.data()), static_cast<QWidget*>(Wiel.data()),
                       static_cast<QWidget*>(UitslagDialog.data())}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::roulette::ui

tarvik::ui::ModuleWindow* CreateRouletteWindow(QWidget* parent) {
    return new tarvik::roulette::ui::TRoulette(parent);
}
