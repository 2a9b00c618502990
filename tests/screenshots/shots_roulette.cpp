#include "screenshots/shots.h"

#include "common/random.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/wholespin.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QRadioButton>

using namespace tarvik::roulette;
using namespace tarvik::roulette::ui;

namespace {

void Release(QPointer<TRoulette>& module) {
    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
}

} // namespace

TARVIK_SCREENSHOT(roulette_strategy) {
    QPointer<TRoulette> module = new TRoulette;
    module->resize(900, 600);
    module->show();
    TRouletteDialoog* start = module->startDialog();
    shot.save(start, "roulette-start");

    start->GameBtn->setChecked(true);
    start->OKBtnClick();
    shot.save(module->resultsWindow(), "roulette-results");

    module->AlternativeDecision();
    TRouletteAndersDlg* other = module->otherDecisionDialog();
    other->TypeWeddenschap->setCurrentIndex(7);
    other->InzetSpin->setValue(2);
    shot.save(other, "roulette-other-decision");

    module->ShowStartDialog();
    start->StartKapitaalSpin->setValue(1);
    start->StreefKapitaalSpin->setValue(100);
    start->AantalSpin->setValue(1);
    start->OKBtnClick();
    shot.save(module->resultsWindow(), "roulette-results-no-possibility");
    shot.save(module->infoBox(), "roulette-information");
    Release(module);
}

TARVIK_SCREENSHOT(roulette_game) {
    QPointer<TRoulette> module = new TRoulette;
    module->resize(900, 600);
    module->show();
    TRouletteDialoog* start = module->startDialog();
    start->StartKapitaalSpin->setValue(20);
    start->StreefKapitaalSpin->setValue(100);
    start->AantalSpin->setValue(10);
    start->OKBtnClick();
    shot.save(module->gameTable(), "roulette-table-start");
    shot.save(module->gameDialog(), "roulette-game-place-bet");
    shot.save(module->statusWindow(), "roulette-status");

    // A split between 17 and 20, and a corner on 13, 14, 16, 17.
    module->ChipDropped(QPointF(64 + 35 * 5, 139.5));
    shot.save(module->gameTable(), "roulette-table-split");
    module->ChipDropped(QPointF(64 + 35 * 4, 157));
    shot.save(module->gameTable(), "roulette-table-corner");
    module->ChipDropped(QPointF(466, 70));
    shot.save(module->gameTable(), "roulette-table-dozen");

    // The wheel in the middle of a spin and with the ball at rest; the drawn
    // number in the game dialog while the outcome is shown.
    tarvik::RandSeed = 12345;
    int waits = 0;
    module->Wait = [&](int ms) {
        ++waits;
        if (waits == 20) shot.save(module->wheel(), "roulette-wheel-turning");
        if (ms == 1000) shot.save(module->wheel(), "roulette-wheel-ball");
    };
    module->ShowOutcome = [&](TUitslagDialog& d) {
        shot.save(module->gameDialog(), "roulette-game-drawn");
        shot.save(&d, "roulette-outcome");
    };
    module->TurnWheel();
    Release(module);
}
