#pragma once
// The coin-tossing module window: owns the settings dialog and the three
// picture windows, keeps the settings and runs the throwing.
#include "common/ui/modulewindow.h"
#include "modules/dice/dobbel.h"
#include "modules/dice/ui/dobbelbarunit.h"
#include "modules/dice/ui/dobbeldialoog.h"
#include "modules/dice/ui/dobbeltabelunit.h"
#include "modules/dice/ui/dobbelwandelingunit.h"

#include <QPointer>
#include <memory>

class QAction;

namespace tarvik::dice::ui {

class TDobbel : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TDobbel(QWidget* parent = nullptr);
    ~TDobbel() override;

    TDobbelDlg* dialog() const { return DobbelDlg; }
    TDobbelBar* diagram() const { return DobbelBar; }
    TDobbelTabel* table() const { return DobbelTabel; }
    TWandelingForm* walk() const { return WandelingForm; }
    QAction* throwAction() const { return Throw1; }

    // Settings in use (those of the last accepted "Throw").
    int throws() const { return N; }
    const Probabilities& probabilities() const { return P; }
    bool settingsValid() const { return SettingsValid; }
    // Called by the dialog when it accepted or refused its settings.
    void SettingsAccepted(Choice choice, int throws, const Probabilities& p, bool fast, bool table,
                          bool walk);
    void SettingsRefused() { SettingsValid = false; }

    // A run is going, or accepted and about to start.
    bool running() const { return Running || RunPending; }
    bool stopRequested() const { return Stop; }
    // The state of the last (or the current) run; null before the first one.
    std::shared_ptr<const DiceRun> lastRun() const { return Run; }

    // "Stop" during a run.
    void RequestStop() { Stop = true; }
    // Hides the picture windows and shows the settings dialog ("Previous").
    void BackToSettings();
    // "Repeat": as the dialog's "Throw" button.
    void Repeat();
    // F10 and the menu's "Throw": as "Repeat", when no run is going and the
    // last settings accepted were valid.
    void ThrowAgain();
    // Closing the diagram during a run: the run stops and the settings return.
    void StopAndGoBack();
    // Shows the settings dialog ("Settings" in the Options menu).
    void ShowSettings();

protected:
    void releaseModule() override;

private:
    void StartRun();
    void Execute();
    void Finish(const DiceRun& run);

    QPointer<TDobbelDlg> DobbelDlg;
    QPointer<TDobbelBar> DobbelBar;
    QPointer<TDobbelTabel> DobbelTabel;
    QPointer<TWandelingForm> WandelingForm;
    QAction* Throw1 = nullptr;

    // Settings.
    Choice Keuze = Choice::FairCoin;
    int N = 1000;
    Probabilities P{0.166667, 0.166667, 0.166667, 0.166667, 0.166667, 0.166667};
    bool SettingsValid = true;
    bool Fast = true;
    bool ShowTable = true;
    bool ShowWalk = true;

    // Run.
    bool Running = false;
    bool RunPending = false;
    bool Stop = false;
    bool BackAfterRun = false;
    std::shared_ptr<DiceRun> Run;

    friend class TDobbelBar;
};

} // namespace tarvik::dice::ui
