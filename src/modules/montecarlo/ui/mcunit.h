#pragma once
// The Monte Carlo module window: its menus, the chooser and one experiment
// object per choice. Experiments that are not built leave their slot empty,
// which disables their choice.
#include "common/ui/modulewindow.h"

#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QMenu;

namespace tarvik::montecarlo::ui {

class TMCKeuzeDialoog;

// The chooser's choices, in its order.
enum class MCChoice {
    Birthday = 0,
    Pi,
    StPetersburg,
    Scratch,
    Kelly,
    Lotto,
    Roulette,
    Benford,
    Buffon,
    Newsboy,
    LegioRisk,
};
inline constexpr int kChoices = 11;
// "Birthday Problem", "Simulation Pi", ...
QString ChoiceCaption(MCChoice choice);

// One experiment: its windows and its run.
class TMCExperiment {
public:
    virtual ~TMCExperiment() = default;
    // From the chooser: the parameter window back to its defaults, then shown.
    virtual void Open() = 0;
    // The module closes: a run stops and the windows are released.
    virtual void Release() = 0;
    virtual bool Running() const = 0;
};

class TMC : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TMC(QWidget* parent = nullptr);
    ~TMC() override;

    // Set once the module's close handler has started.
    bool ModuleClosing() const { return isClosing(); }
    // At the start of an experiment's run, before its first draw: a fixed
    // seed ("Seed...") starts the generators as the command line does; the
    // seed the run starts from is shown.
    void SeedRun();

    TMCKeuzeDialoog* chooser() const;
    TMCExperiment* experiment(MCChoice choice) const {
        return Experiments[static_cast<std::size_t>(choice)].get();
    }
    template <typename T> T* experimentAs(MCChoice choice) const {
        return dynamic_cast<T*>(experiment(choice));
    }
    QMenu* optionsMenu() const { return Options; }

    // Hides every experiment window and shows the chooser.
    void ShowChooser();
    // The chooser's "OK" for one choice (its Options entry).
    void OpenChoice(MCChoice choice);
    // Left edges for a parameter window of width `w` and a graph of width `g`
    // shown side by side, 15 pixels apart.
    QPoint SideBySide(int w, int g, int top = -1) const;

protected:
    void releaseModule() override;

private:
    QPointer<TMCKeuzeDialoog> Chooser;
    QMenu* Options = nullptr;
    std::array<std::unique_ptr<TMCExperiment>, kChoices> Experiments;
};

} // namespace tarvik::montecarlo::ui

tarvik::ui::ModuleWindow* CreateMCWindow(QWidget* parent);
