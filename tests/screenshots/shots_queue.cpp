#include "screenshots/shots.h"

#include "modules/queue/ui/queue1.h"
#include "modules/queue/ui/queuegraphs.h"
#include "modules/queue/ui/queuemodule.h"
#include "modules/queue/ui/queuewidgets.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

using namespace tarvik::queue;
using namespace tarvik::queue::ui;

namespace {

void Set(TQueueMainForm* form, const char* field, const char* text) {
    if (auto* e = form->findChild<TQueueEdit*>(QString::fromLatin1(field))) e->setText(text);
}

void Choose(TQueueMainForm* form, const char* group, int item) {
    if (auto* g = form->findChild<TRadioGroup*>(QString::fromLatin1(group))) g->setItemIndex(item);
}

} // namespace

TARVIK_SCREENSHOT(queue_pages) {
    QPointer<TQueueMainForm> form = static_cast<TQueueMainForm*>(CreateQueueWindow(nullptr));
    form->resize(1150, 760);
    form->show();
    shot.save(form, "queue-window");

    // Every page, with a telling choice.
    Choose(form, "MG1_Service_Type_RadioGroup", 1);
    Choose(form, "MG1_Output_RadioGroup", 1);
    Choose(form, "DG1_Service_Type_RadioGroup", 1);
    Choose(form, "DG1_Pure_Erlang_Output_RadioGroup", 3);
    Choose(form, "DMC_Output_RadioGroup", 5);
    Choose(form, "GMC_Arrivals_RadioGroup", 2);
    Set(form, "GMC_CA2_Edit", "2.5");
    Choose(form, "GMC_Output_RadioGroup", 2);
    Set(form, "FinCap_C_edit", "10");
    Set(form, "FinCap_N_edit", "20");
    Choose(form, "FinCap_Output_RadioGroup", 2);
    Choose(form, "MMCN_Y_RadioGroup", 1);
    Choose(form, "FinSrc_Output_RadioGroup", 4);
    Set(form, "MM1_Rho_edit", "0.5");
    const char* names[] = {"mg1", "dg1", "mmc", "mdc", "dmc", "gmc", "fincap", "mmcn", "finsrc", "mm1"};
    for (int i = 0; i < kPageCount; ++i) {
        form->PageControl->setCurrentIndex(i);
        shot.save(form, QStringLiteral("queue-page-%1").arg(names[i]));
    }

    // An M/M/c run with a table and the rewritten list, then the graphs.
    form->PageControl->setCurrentIndex(static_cast<int>(Page::MMC));
    Set(form, "MMC_C_edit", "10");
    Set(form, "MMC_Rho_edit", "0.8");
    Choose(form, "MMC_Output_RadioGroup", 3);
    const char* ns[] = {"20", "0", "6000", "10", "", "5"};
    for (int i = 0; i < 6; ++i) form->listFields(Page::MMC, 'n')[static_cast<std::size_t>(i)]->setText(ns[i]);
    form->RunClick(Page::MMC);
    Choose(form, "MMC_Output_RadioGroup", 2);
    const char* ps[] = {"0.5", "0.9", "0.99"};
    for (int i = 0; i < 3; ++i) form->listFields(Page::MMC, 'p')[static_cast<std::size_t>(i)]->setText(ps[i]);
    form->RunClick(Page::MMC);
    Choose(form, "MMC_Output_RadioGroup", 4);
    form->RunClick(Page::MMC);
    shot.save(form, "queue-mmc-run");
    const auto windows = form->graphWindows();
    if (!windows.empty()) shot.save(windows.back(), "queue-mmc-graphs");

    // A graph window with a short series (symbols) and the one-graph designs.
    Set(form, "MMC_C_edit", "1");
    Set(form, "MMC_Rho_edit", "0.3");
    form->RunClick(Page::MMC);
    if (!form->graphWindows().empty()) shot.save(form->graphWindows().back(), "queue-mmc-graphs-c1");
    form->InfoClick();
    shot.save(form->aboutBox(), "queue-info");
    form->closeModule();
    QApplication::processEvents();
    delete form.data();
}

TARVIK_SCREENSHOT(queue_graph_designs) {
    GraphWindowData data;
    data.design = GraphDesign::GMC;
    data.title = "Logarithmic Graph";
    data.label1 = "CA2 = 0.5";
    data.label2 = "rho = 0.8";
    data.label3 = "c =    3";
    data.service = "Erlangian arrivals";
    GraphData g;
    for (int i = 0; i <= 40; ++i) g.points.emplace_back(0.1 * i, std::exp(-1.5 * 0.1 * i));
    data.graphs = {g};
    auto* w = TQueueGraphForm::Create(data, nullptr, 150);
    w->show();
    shot.save(w, "queue-graph-gmc");
    data.design = GraphDesign::DG1;
    data.graphs[0].points.resize(12);
    auto* d = TQueueGraphForm::Create(data, nullptr, 110);
    d->show();
    shot.save(d, "queue-graph-dg1");
    delete w;
    delete d;
}
