#include "screenshots/shots.h"

#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/ui/mcbdpunit.h"
#include "modules/montecarlo/ui/mcbenfordunit.h"
#include "modules/montecarlo/ui/mcbuffonunit.h"
#include "modules/montecarlo/ui/mckellyunit.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mckrasunit.h"
#include "modules/montecarlo/ui/mclegiounit.h"
#include "modules/montecarlo/ui/mclottounit.h"
#include "modules/montecarlo/ui/mcnewsboyunit.h"
#include "modules/montecarlo/ui/mcpiunit.h"
#include "modules/montecarlo/ui/mcrouletteunit.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;

namespace {

void WaitWhile(const std::function<bool()>& busy) {
    while (busy()) QCoreApplication::processEvents();
}

// Calls `fn` at the n-th point where the run started next hands over to the
// event loop (until then it hands over at every such point, afterwards at its
// usual pace): a run in progress pictured at the same stage on any machine.
void AtRunStage(QObject* ctx, int n, std::function<void()> fn) {
    const int interval = MCRunProgress::HandOverIntervalMs;
    MCRunProgress::HandOverIntervalMs = 0;
    tarvik::montecarlo::test::AtHandOver(ctx, n, [interval, fn] {
        MCRunProgress::HandOverIntervalMs = interval;
        fn();
    });
}

void Close(QPointer<TMC>& module) {
    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
}

QPointer<TMC> NewModule() {
    QPointer<TMC> module = new TMC;
    module->resize(900, 600);
    module->show();
    StartGenerators(20261209u);
    return module;
}

} // namespace

TARVIK_SCREENSHOT(montecarlo_chooser) {
    QPointer<TMC> module = NewModule();
    shot.save(module->chooser(), "mc-chooser");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_pi) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Pi);
    auto* pi = module->findChild<TMCPi*>();
    auto* plot = module->findChild<TMCPiPlot*>();
    shot.save(pi, "mc-pi-settings");
    pi->DrawsEdit->setValue(400000);
    pi->FastBox->setChecked(false);
    QTimer::singleShot(150, pi, [&] {
        shot.save(pi, "mc-pi-running");
        shot.save(plot, "mc-pi-board-running");
        pi->Stop();
    });
    pi->SimulateBtnClick();
    WaitWhile([&] { return pi->running(); });
    pi->DrawsEdit->setValue(20000);
    pi->FastBox->setChecked(true);
    pi->SimulateBtnClick();
    WaitWhile([&] { return pi->running(); });
    shot.save(pi, "mc-pi-done");
    shot.save(plot, "mc-pi-board");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_birthday) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Birthday);
    auto* bdp = module->findChild<TMCBDP*>();
    auto* plot = module->findChild<TMCBDPPlot*>();
    shot.save(bdp, "mc-birthday-settings");
    bdp->PersonsEdit->setValue(23);
    bdp->RunsEdit->setValue(100000);
    bdp->LineBox->setChecked(true);
    AtRunStage(bdp, 40000, [&] { // 40 % of the runs
        shot.save(bdp, "mc-birthday-running");
        shot.save(plot, "mc-birthday-graph-running");
    });
    bdp->SimulateBtnClick();
    WaitWhile([&] { return bdp->running(); });
    shot.save(bdp, "mc-birthday-done");
    shot.save(plot, "mc-birthday-graph");
    bdp->KindBox->setCurrentIndex(1);
    bdp->PersonsEdit->setValue(40);
    bdp->DaysEdit->setValue(3);
    bdp->RunsEdit->setValue(5000);
    bdp->SimulateBtnClick();
    WaitWhile([&] { return bdp->running(); });
    shot.save(bdp, "mc-birthday-almost-done");
    shot.save(plot, "mc-birthday-almost-graph");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_buffon) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Buffon);
    auto* dlg = module->findChild<TMCBuffonDialoog*>();
    auto* plot = module->findChild<TMCBuffonPlot*>();
    shot.save(dlg, "mc-buffon-settings");
    dlg->ThrowsEdit->setValue(1000);
    dlg->FastBox->setChecked(false);
    QTimer::singleShot(400, plot, [&] {
        shot.save(plot, "mc-buffon-running");
        plot->RunBtnClick();
    });
    dlg->OKBtnClick();
    WaitWhile([&] { return plot->running(); });
    shot.save(plot, "mc-buffon-paused");
    dlg->FastBox->setChecked(true);
    plot->TerugBtnClick();
    dlg->ThrowsEdit->setValue(3000);
    dlg->OKBtnClick();
    WaitWhile([&] { return plot->running(); });
    shot.save(plot, "mc-buffon-done");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_stpetersburg) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::StPetersburg);
    auto* dlg = module->findChild<TMCSPPDialoog*>();
    auto* plot = module->findChild<TMCSPPPlot*>();
    shot.save(dlg, "mc-stpetersburg-settings");
    dlg->MEdit->setValue(20);
    dlg->RunsEdit->setValue(100000);
    dlg->LineBox->setChecked(true);
    QTimer::singleShot(5, dlg, [&] {
        shot.save(dlg, "mc-stpetersburg-running");
        shot.save(plot, "mc-stpetersburg-graph-running");
    });
    dlg->SimulateBtnClick();
    WaitWhile([&] { return dlg->running(); });
    shot.save(dlg, "mc-stpetersburg-done");
    shot.save(plot, "mc-stpetersburg-graph");
    // m = 25: the average leaves the plot again and again; one readable value each time.
    dlg->MEdit->setValue(25);
    dlg->SimulateBtnClick();
    WaitWhile([&] { return dlg->running(); });
    shot.save(plot, "mc-stpetersburg-m25-graph");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_kelly) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Kelly);
    auto* dlg = module->findChild<TMCKellyBDialoog*>();
    auto* plot = module->findChild<TMCKellyBPlot*>();
    shot.save(dlg, "mc-kelly-settings");
    dlg->HorsesEdit->setValue(3);
    const char* p[3] = {"0.5", "0.3", "0.2"};
    const char* u[3] = {"2.5", "3", "3"};
    const char* f[3] = {"0.3", "0.1", "0"};
    for (std::size_t i = 0; i < 3; ++i) {
        dlg->ProbEdit[i]->setText(QString::fromLatin1(p[i]));
        dlg->PayEdit[i]->setText(QString::fromLatin1(u[i]));
        dlg->FracEdit[i]->setText(QString::fromLatin1(f[i]));
    }
    dlg->RacesEdit->setValue(300);
    shot.save(dlg, "mc-kelly-settings-filled");
    dlg->OKBtnClick();
    QTimer::singleShot(1200, plot, [&] { shot.save(plot, "mc-kelly-graph-running"); });
    WaitWhile([&] { return plot->drawing(); });
    shot.save(plot, "mc-kelly-graph");
    plot->DataBtnClick();
    shot.save(module->findChild<TMCKellyBData*>(), "mc-kelly-report");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_roulette) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Roulette);
    auto* keuze = module->findChild<TMCRouletteKeuze*>();
    shot.save(keuze, "mc-roulette-choice");
    keuze->OKBtnClick();
    auto* dlg = module->findChild<TMCRouletteDialoog*>();
    auto* plot = module->findChild<TMCRoulettePlot*>();
    shot.save(dlg, "mc-roulette-settings");
    dlg->OKBtnClick();
    QTimer::singleShot(800, plot, [&] { shot.save(plot, "mc-roulette-graph-running"); });
    WaitWhile([&] { return plot->drawing(); });
    shot.save(plot, "mc-roulette-graph");
    plot->DataBtnClick();
    shot.save(module->findChild<TMCRouletteData*>(), "mc-roulette-data");
    module->findChild<TMCRouletteData*>()->hide();

    plot->TerugBtnClick();
    dlg->TerugBtnClick();
    keuze->DistBtn->setChecked(true);
    keuze->OKBtnClick();
    auto* dist = module->findChild<TMCRouletteDialoog2*>();
    auto* plot2 = module->findChild<TMCRoulettePlot2*>();
    auto* progress = module->findChild<TMCRouletteProgress*>();
    shot.save(dist, "mc-roulette-dist-settings");
    dist->StartEdit->setValue(20);
    dist->BetsEdit->setValue(100);
    dist->RunsEdit->setValue(100000);
    QTimer::singleShot(300, progress, [&] { shot.save(progress, "mc-roulette-progress"); });
    dist->OKBtnClick();
    WaitWhile([&] { return dist->running(); });
    shot.save(plot2, "mc-roulette-dist-graph");
    plot2->DataBtnClick();
    shot.save(module->findChild<TMCRouletteData2*>(), "mc-roulette-dist-data");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_benford) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Benford);
    auto* dlg = module->findChild<TMCBenfordDialoog*>();
    auto* plot = module->findChild<TMCBenfordPlot*>();
    dlg->IntervalsEdit->setValue(3);
    dlg->IntervalEdit[0]->setText(QStringLiteral("100"));
    dlg->IntervalEdit[1]->setText(QStringLiteral("25000"));
    dlg->IntervalEdit[2]->setText(QStringLiteral("1000000000000"));
    shot.save(dlg, "mc-benford-settings");
    dlg->OKBtnClick();
    shot.save(plot, "mc-benford-graph");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_newsboy) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Newsboy);
    auto* dlg = module->findChild<TMCNewsboyDialoog*>();
    auto* plot = module->findChild<TMCNewsboyPlot*>();
    auto* data = module->findChild<TMCNewsBoyData*>();
    shot.save(dlg, "mc-newsboy-settings");
    dlg->OKBtnClick();
    shot.save(plot, "mc-newsboy-graph");
    plot->DataBtnClick();
    shot.save(data, "mc-newsboy-data");
    data->hide();
    plot->TerugBtnClick();
    dlg->TriangularBtn->setChecked(true);
    dlg->BinsEdit->setValue(20);
    dlg->OKBtnClick();
    shot.save(plot, "mc-newsboy-graph-triangular");
    plot->TerugBtnClick();
    dlg->OwnBtn->setChecked(true);
    const char* own[] = {"0", "0.05", "0.1", "0.15", "0.2", "0.2", "0.1", "0.1", "0.05", "0.05", "0"};
    for (int c = 0; c < 11; ++c) dlg->OwnGrid->item(1, c)->setText(QString::fromLatin1(own[c]));
    dlg->Q1Edit->setText(QStringLiteral("4"));
    dlg->Q2Edit->setText(QStringLiteral("6"));
    shot.save(dlg, "mc-newsboy-settings-own");
    dlg->OKBtnClick();
    shot.save(plot, "mc-newsboy-graph-own");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_legio) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::LegioRisk);
    auto* dlg = module->findChild<TMCLegioRiskDialoog*>();
    auto* plot = module->findChild<TMCLegioRiskPlot*>();
    auto* progress = module->findChild<TMCLegioRiskProgress*>();
    shot.save(dlg, "mc-legio-settings");
    dlg->RunsEdit->setText(QStringLiteral("100000"));
    AtRunStage(progress, 40000, [&] { shot.save(progress, "mc-legio-progress"); }); // 40 % of the runs
    dlg->OKBtnClick();
    QCoreApplication::processEvents();
    WaitWhile([&] { return plot->running(); });
    shot.save(plot, "mc-legio-graph");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_scratch) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Scratch);
    auto* dlg = module->findChild<TMCKrasOpties*>();
    auto* plot = module->findChild<TMCKrasPlot*>();
    auto* table = module->findChild<TMCKrasTabel*>();
    shot.save(dlg, "mc-scratch-settings");
    dlg->TicketsEdit->setValue(10000);
    dlg->WeeksEdit->setValue(20000);
    dlg->OKBtnClick();
    QCoreApplication::processEvents();
    WaitWhile([&] { return plot->running(); });
    shot.save(plot, "mc-scratch-graph");
    plot->TabelBtnClick();
    shot.save(table, "mc-scratch-table");
    table->TerugBtnClick();
    plot->TerugBtnClick();
    dlg->TicketsEdit->setValue(5);
    dlg->WeeksEdit->setValue(100);
    dlg->OKBtnClick();
    QCoreApplication::processEvents();
    WaitWhile([&] { return plot->running(); });
    plot->TabelBtnClick();
    shot.save(table, "mc-scratch-table-five");
    Close(module);
}

TARVIK_SCREENSHOT(montecarlo_lotto) {
    QPointer<TMC> module = NewModule();
    module->OpenChoice(MCChoice::Lotto);
    auto* dlg = module->findChild<TMCLottoDialoog*>();
    auto* plot = module->findChild<TMCLottoPlot*>();
    shot.save(dlg, "mc-lotto-settings");
    dlg->OKBtnClick();
    QCoreApplication::processEvents();
    WaitWhile([&] { return plot->running(); });
    shot.save(plot, "mc-lotto-graph");
    plot->HotBtnClick();
    shot.save(module->findChild<TMCLottoHotnCold*>(), "mc-lotto-hotncold");
    module->findChild<TMCLottoHotnCold*>()->hide();
    plot->WalkBtnClick();
    shot.save(module->findChild<TMCLottoGoodnBad*>(), "mc-lotto-walk");
    module->findChild<TMCLottoGoodnBad*>()->OKBtnClick();
    plot->DataBtnClick();
    shot.save(module->findChild<TMCLottoData*>(), "mc-lotto-data");
    module->findChild<TMCLottoData*>()->OKBtnClick();
    plot->TerugBtnClick();
    dlg->BallsEdit->setValue(55);
    dlg->DrawsEdit->setValue(5000);
    dlg->OKBtnClick();
    QCoreApplication::processEvents();
    WaitWhile([&] { return plot->running(); });
    shot.save(plot, "mc-lotto-graph-5000");
    Close(module);
}
