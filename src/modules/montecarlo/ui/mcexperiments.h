#pragma once
// The experiment objects of the chooser's choices. Each experiment's windows
// live in their own files; this list creates them for a module window.
#include "modules/montecarlo/ui/mcunit.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

namespace tarvik::montecarlo::ui {

using ExperimentSlots = std::array<std::unique_ptr<TMCExperiment>, kChoices>;

// An experiment made of windows of the module: `open` restores the defaults
// and shows them, `stop` sets the run's stop flag; releasing hides the windows
// and deletes them once control is back in the event loop.
class TMCExperimentWindows : public TMCExperiment {
public:
    std::function<void()> open;
    std::function<void()> stop;
    std::function<bool()> running;
    QList<QPointer<QWidget>> windows;

    void Open() override {
        if (open) open();
    }
    void Release() override;
    bool Running() const override { return running && running(); }
};

// The experiment whose `opener` shows its windows (Open) and whose `runner`
// tells whether a run goes on (running) and ends it (Stop), made of `windows`.
template <class Opener, class Runner>
std::unique_ptr<TMCExperimentWindows> ExperimentOf(Opener* opener, Runner* runner,
                                                   QList<QPointer<QWidget>> windows) {
    auto e = std::make_unique<TMCExperimentWindows>();
    e->open = [d = QPointer<Opener>(opener)] {
        if (d) d->Open();
    };
    e->stop = [g = QPointer<Runner>(runner)] {
        if (g) g->Stop();
    };
    e->running = [g = QPointer<Runner>(runner)] { return g && g->running(); };
    e->windows = std::move(windows);
    return e;
}

// The experiments built in this module, one factory each.
std::unique_ptr<TMCExperiment> CreatePiExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateBirthdayExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateBuffonExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateStPetersburgExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateKellyExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateRouletteExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateBenfordExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateNewsboyExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateLegioRiskExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateScratchExperiment(TMC* module);
std::unique_ptr<TMCExperiment> CreateLottoExperiment(TMC* module);

// Fills the slot of every experiment that is built.
void CreateExperiments(TMC* module, ExperimentSlots& table);

} // namespace tarvik::montecarlo::ui
