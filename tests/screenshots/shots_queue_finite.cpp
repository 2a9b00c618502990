#include "screenshots/shots.h"

#include "modules/queue/ui/queue1.h"
#include "modules/queue/ui/queuegraphs.h"
#include "modules/queue/ui/queuemodule.h"
#include "modules/queue/ui/queuewidgets.h"

#include <QApplication>
#include <QPointer>
#include <QTabWidget>

using namespace tarvik::queue;
using namespace tarvik::queue::ui;

namespace {

void Put(TQueueMainForm* form, const char* field, const char* text) {
    if (auto* e = form->findChild<TQueueEdit*>(QString::fromLatin1(field))) e->setText(text);
}

void Pick(TQueueMainForm* form, const char* group, int item) {
    if (auto* g = form->findChild<TRadioGroup*>(QString::fromLatin1(group))) g->setItemIndex(item);
}

void SaveLastGraph(tarvik::shots::Shot& shot, TQueueMainForm* form, const QString& name) {
    const auto windows = form->graphWindows();
    if (!windows.empty()) shot.save(windows.back(), name);
}

} // namespace

TARVIK_SCREENSHOT(queue_finite_pages) {
    QPointer<TQueueMainForm> form = static_cast<TQueueMainForm*>(CreateQueueWindow(nullptr));
    form->resize(1150, 760);
    form->show();

    // Finite capacity: a D/M/c/c+N run with both state tables, then graphs.
    form->PageControl->setCurrentIndex(static_cast<int>(Page::FinCap));
    Pick(form, "FinCap_Type_RadioGroup", 2);
    Put(form, "FinCap_C_edit", "3");
    Put(form, "FinCap_Rho_edit", "0.9");
    Put(form, "FinCap_N_edit", "12");
    Pick(form, "FinCap_Output2_RadioGroup", 2);
    const char* ns[] = {"0", "3", "8", "15", "20"};
    for (int i = 0; i < 5; ++i)
        form->listFields(Page::FinCap, 'n')[static_cast<std::size_t>(i)]->setText(ns[i]);
    form->RunClick(Page::FinCap);
    Pick(form, "FinCap_Output2_RadioGroup", 4);
    form->RunClick(Page::FinCap);
    shot.save(form, "queue-fincap-run");
    SaveLastGraph(shot, form, "queue-fincap-graphs");

    // The M/M/c/c+N graph page: P{Wq > t} against N.
    form->PageControl->setCurrentIndex(static_cast<int>(Page::MMCN));
    Put(form, "MMCN_Arrival_edit", "9");
    Put(form, "MMCN_ES_edit", "1");
    Pick(form, "MMCN_X_RadioGroup", 1);
    Pick(form, "MMCN_Y_RadioGroup", 1);
    Put(form, "MMCN_c_edit", "10");
    Put(form, "MMCN_N_from_edit", "0");
    Put(form, "MMCN_N_to_edit", "40");
    Put(form, "MMCN_t_edit", "0.1");
    form->RunClick(Page::MMCN);
    shot.save(form, "queue-mmcn-page");
    SaveLastGraph(shot, form, "queue-mmcn-graph");

    // Finite source: deterministic repairs, waiting times, then a state graph.
    form->PageControl->setCurrentIndex(static_cast<int>(Page::FinSrc));
    Pick(form, "FinSrc_Service_RadioGroup", 1);
    Put(form, "FinSrc_c_Edit", "2");
    Put(form, "FinSrc_N_Edit", "20");
    Put(form, "FinSrc_nu_edit", "0.08");
    Pick(form, "FinSrc_Output_RadioGroup", 1);
    const char* ts[] = {"0", "0.5", "1", "2", "3.5"};
    for (int i = 0; i < 5; ++i)
        form->listFields(Page::FinSrc, 't')[static_cast<std::size_t>(i)]->setText(ts[i]);
    form->RunClick(Page::FinSrc);
    Pick(form, "FinSrc_Output_RadioGroup", 4);
    Pick(form, "FinSrc_Graph_RadioGroup", 1);
    form->RunClick(Page::FinSrc);
    shot.save(form, "queue-finsrc-run");
    SaveLastGraph(shot, form, "queue-finsrc-graph");
    Pick(form, "FinSrc_Graph_RadioGroup", 0);
    form->RunClick(Page::FinSrc);
    SaveLastGraph(shot, form, "queue-finsrc-wait-graph");

    // Transient M/M/1: the table, then the graph of the mean queue length.
    form->PageControl->setCurrentIndex(static_cast<int>(Page::MM1));
    Put(form, "MM1_Rho_edit", "0.8");
    Put(form, "MM1_initial_state_edit", "10");
    Put(form, "MM1_end_state_edit", "2");
    const char* times[] = {"0", "0.5", "2", "10", "100", "100000"};
    for (int i = 0; i < 6; ++i)
        form->listFields(Page::MM1, 't')[static_cast<std::size_t>(i)]->setText(times[i]);
    form->RunClick(Page::MM1);
    Pick(form, "MM1_Output_RadioGroup", 3);
    Put(form, "MM1_t_edit", "60");
    form->RunClick(Page::MM1);
    shot.save(form, "queue-mm1-run");
    SaveLastGraph(shot, form, "queue-mm1-graph");

    form->closeModule();
    QApplication::processEvents();
    delete form.data();
}
