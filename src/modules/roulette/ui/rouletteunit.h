#pragma once
// The roulette module window: owns the dialogs and windows of the
// all-or-nothing game and of the table game, the strategy table and the state.
#include "common/ui/modulewindow.h"
#include "modules/roulette/strategy.h"
#include "modules/roulette/tablegame.h"
#include "modules/roulette/ui/roulettegame.h"
#include "modules/roulette/ui/roulettewindows.h"

#include <QPointer>
#include <functional>
#include <memory>

class QAction;

namespace tarvik::roulette::ui {

inline constexpr int kRouletteHelpContext = 8;

class TRoulette : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TRoulette(QWidget* parent = nullptr);
    ~TRoulette() override;

    TRouletteDialoog* startDialog() const { return RouletteDialoog; }
    TRouletteResultaatDlg* resultsWindow() const { return ResultaatDlg; }
    TRouletteAndersDlg* otherDecisionDialog() const { return AndersDlg; }
    TRouletteSpelDlg* gameDialog() const { return SpelDlg; }
    TRouletteTableau* gameTable() const { return Tableau; }
    Troulettewiel* wheel() const { return Wiel; }
    TUitslagDialog* outcomeDialog() const { return UitslagDialog; }
    TRouletteStatus* statusWindow() const { return Status; }
    TRouletteInfo* infoBox() const { return Info; }

    // The state of the start dialog's last accepted "OK".
    int capital() const { return Capital; }
    int goal() const { return Goal; }
    int bets() const { return Bets; }
    const StrategyTable& strategy() const { return *Table; }
    const GameState& game() const { return Game; }
    int drawnNumber() const { return Drawn; }
    bool chipDraggable() const { return ChipDraggable; }
    bool spinning() const { return Spinning; }

    // "OK" in the start dialog with its three values as read.
    void StartOK(const StartInput& input, bool rouletteInAction);
    // The hidden Options entries.
    void RouletteInAction();
    void AllOrNothingGame();
    // Hides the other windows and shows the start dialog.
    void ShowStartDialog();
    // "Alternative Decision" in the results window.
    void AlternativeDecision();
    // A chip dropped with its top-left corner at a point of the table's control.
    void ChipDropped(QPointF at);
    // "Turn the wheel".
    void TurnWheel();
    // "Previous" in the game dialog.
    void LeaveGame();

    // How the animation waits (a test makes it return at once); the wheel is
    // repainted before every wait.
    std::function<void(int ms)> Wait;
    // How the outcome dialog is shown (modally, unless a test replaces it).
    std::function<void(TUitslagDialog&)> ShowOutcome;

    QAction* CloseItem = nullptr;  // File > "Close Roulette"
    QAction* ActionItem = nullptr; // Options > "Roulette in action" (hidden)
    QAction* GameItem = nullptr;   // Options > "All-or-nothing game" (hidden)
    QAction* HelpItem = nullptr;   // Help > "Explanation"
    QAction* InfoItem = nullptr;   // Help > "Information"

protected:
    void releaseModule() override;

private:
    // The animation; false when the module began to close meanwhile.
    bool AnimateWheel(int turns);
    void SettleBet(int stake);
    void WaitMs(int ms);

    QPointer<TRouletteDialoog> RouletteDialoog;
    QPointer<TRouletteResultaatDlg> ResultaatDlg;
    QPointer<TRouletteAndersDlg> AndersDlg;
    QPointer<TRouletteSpelDlg> SpelDlg;
    QPointer<TRouletteTableau> Tableau;
    QPointer<Troulettewiel> Wiel;
    QPointer<TUitslagDialog> UitslagDialog;
    QPointer<TRouletteStatus> Status;
    QPointer<TRouletteInfo> Info;

    int Capital = 3;
    int Goal = 5;
    int Bets = 2;
    bool Solved = false;
    std::unique_ptr<StrategyTable> Table;
    GameState Game;
    int Drawn = -1;
    bool ChipDraggable = false;
    bool Spinning = false;
};

} // namespace tarvik::roulette::ui
