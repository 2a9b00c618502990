#include "screenshots/shots.h"

#include "common/random.h"
#include "common/ui/examples.h"
#include "modules/shortestpath/gridfile.h"
#include "modules/shortestpath/ui/kpadunit.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <set>
#include <utility>

using namespace tarvik::shortestpath;
using namespace tarvik::shortestpath::ui;

namespace {

std::set<std::pair<int, int>> Arcs(const std::vector<Move>& moves) {
    std::set<std::pair<int, int>> arcs;
    Node at{};
    for (Move m : moves) {
        arcs.insert({at.x * 16 + at.y, m == Move::Up ? 0 : 1});
        at = After(at, m);
    }
    return arcs;
}

// The first seed from 1 on whose network the myopic path shares a few
// segments with the optimal path and leaves it for a few others.
std::uint32_t SharingSeed(int rows, int columns) {
    for (std::uint32_t seed = 1;; ++seed) {
        tarvik::RandSeed = seed;
        Network n;
        n.rows = rows;
        n.columns = columns;
        DrawRandomLengths(n);
        const auto optimal = Arcs(OptimalPath(n, ComputeOptimal(n)));
        const auto myopic = Arcs(RunHeuristic(n, Heuristic::Myopic).moves());
        int shared = 0;
        for (const auto& a : myopic) shared += optimal.count(a) ? 1 : 0;
        if (shared >= 4 && static_cast<int>(myopic.size()) - shared >= 4) return seed;
    }
}

void Choose(TKPadDialoog* dlg, int row) {
    dlg->HeuristiekList->setCurrentRow(row);
}

void Close(QPointer<TKPad>& module) {
    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
}

} // namespace

TARVIK_SCREENSHOT(shortestpath_windows) {
    QPointer<TKPad> module = new TKPad;
    module->resize(800, 560);
    module->show();
    TKPadOpties* opties = module->settings();
    shot.save(opties, "shortestpath-settings");
    opties->FixedBtn->setChecked(true);
    opties->RijEdit->setValue(4);
    opties->KolomEdit->setValue(6);
    shot.save(opties, "shortestpath-settings-fixed-length");

    // A random network on which an optimal and a heuristic path share segments.
    opties->RandomBtn->setChecked(true);
    opties->RijEdit->setValue(8);
    opties->KolomEdit->setValue(10);
    tarvik::RandSeed = SharingSeed(8, 10);
    opties->OKBtnClick();
    TKPadDialoog* dlg = module->dialog();
    shot.save(module->networkWindow(), "shortestpath-network");
    shot.save(dlg, "shortestpath-dialog");
    module->OptPadBtnClick();
    Choose(dlg, 1);
    module->UitvoerBtnClick();
    shot.save(module->networkWindow(), "shortestpath-network-optimal-and-myopic");
    shot.save(dlg, "shortestpath-dialog-myopic");
    module->ToonLengtesBtnClick();
    shot.save(module->networkWindow(), "shortestpath-network-paths-without-distances");

    // An own path halfway.
    module->WisBtnClick();
    Choose(dlg, 0);
    module->UitvoerBtnClick();
    for (auto step : {&TKPad::RightBtnClick, &TKPad::UPBtnClick, &TKPad::UPBtnClick, &TKPad::RightBtnClick,
                      &TKPad::RightBtnClick, &TKPad::UPBtnClick})
        (module->*step)();
    shot.save(dlg, "shortestpath-dialog-own-path");
    shot.save(module->networkWindow(), "shortestpath-network-own-path");
    for (int i = 0; i < 12; ++i) module->RightBtnClick();
    shot.save(dlg, "shortestpath-dialog-own-path-right-edge");

    // Edit mode with the distance dialog.
    module->WisBtnClick();
    module->WijzigBtnClick();
    module->NetwerkMouseDown(QPoint(30 + 64, BaseLine(8) - 96 - 16)); // the label of U(2, 3)
    shot.save(dlg, "shortestpath-dialog-edit-mode");
    shot.save(module->networkWindow(), "shortestpath-network-edit-mode");
    shot.save(module->distanceDialog(), "shortestpath-edit-distance");
    module->distanceDialog()->reject();

    // Small fixed network: every path has the same length.
    module->TerugBtnClick();
    opties->FixedBtn->setChecked(true);
    opties->RijEdit->setValue(3);
    opties->KolomEdit->setValue(4);
    opties->VasteLengteEdit->setValue(10);
    opties->OKBtnClick();
    module->OptPadBtnClick();
    Choose(dlg, 2);
    module->UitvoerBtnClick();
    shot.save(module->networkWindow(), "shortestpath-network-fixed-3x4");
    shot.save(dlg, "shortestpath-dialog-fixed-3x4");

    // The trap of the examples: both greedy heuristics climb the costly right column.
    const NetworkRead trap = ReadNetworkFile(
        (tarvik::ui::ExamplesFolder(QStringLiteral("shortestpath")) + QStringLiteral("/trap.txt"))
            .toStdString());
    if (trap.status == NetworkRead::Status::Ok) {
        module->LoadNetwork(trap.network);
        module->OptPadBtnClick();
        Choose(dlg, 1);
        module->UitvoerBtnClick();
        shot.save(module->networkWindow(), "shortestpath-network-trap");
        shot.save(dlg, "shortestpath-dialog-trap");
    }
    Close(module);
}
