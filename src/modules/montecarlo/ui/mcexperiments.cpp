#include "modules/montecarlo/ui/mcexperiments.h"

namespace tarvik::montecarlo::ui {

void TMCExperimentWindows::Release() {
    if (stop) stop();
    for (const QPointer<QWidget>& w : windows) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

void CreateExperiments(TMC* module, ExperimentSlots& table) {
    const auto slot = [&table](MCChoice c) -> std::unique_ptr<TMCExperiment>& {
        return table[static_cast<std::size_t>(c)];
    };
    slot(MCChoice::Birthday) = CreateBirthdayExperiment(module);
    slot(MCChoice::Pi) = CreatePiExperiment(module);
    slot(MCChoice::Scratch) = CreateScratchExperiment(module);
    slot(MCChoice::Lotto) = CreateLottoExperiment(module);
    slot(MCChoice::StPetersburg) = CreateStPetersburgExperiment(module);
    slot(MCChoice::Kelly) = CreateKellyExperiment(module);
    slot(MCChoice::Roulette) = CreateRouletteExperiment(module);
    slot(MCChoice::Buffon) = CreateBuffonExperiment(module);
    slot(MCChoice::Benford) = CreateBenfordExperiment(module);
    slot(MCChoice::Newsboy) = CreateNewsboyExperiment(module);
    slot(MCChoice::LegioRisk) = CreateLegioRiskExperiment(module);
}

} // namespace tarvik::montecarlo::ui
