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

void SetText(TQueueMainForm* form, const char* field, const char* text) {
    if (auto* e = form->findChild<TQueueEdit*>(QString::fromLatin1(field))) e->setText(text);
}

void Pick(TQueueMainForm* form, const char* group, int item) {
    if (auto* g = form->findChild<TRadioGroup*>(QString::fromLatin1(group))) g->setItemIndex(item);
}

void SaveLastGraph(tarvik::shots::Shot& shot, TQueueMainForm* form, const char* name) {
    const auto windows = form->graphWindows();
    if (!windows.empty()) shot.save(windows.back(), name);
}

} // namespace

TARVIK_SCREENSHOT(queue_model_runs) {
    QPointer<TQueueMainForm> form = static_cast<TQueueMainForm*>(CreateQueueWindow(nullptr));
    form->resize(1150, 760);
    form->show();

    // M/G/1: Erlangian waiting-time table, then the two graphs.
    form->PageControl->setCurrentIndex(static_cast<int>(Page::MG1));
    SetText(form, "MG1_CS2_edit", "0.5");
    SetText(form, "MG1_Rho_edit", "0.8");
    Pick(form, "MG1_Output_RadioGroup", 1);
    const char* ts[] = {"0.5", "2", "5", "10", "20"};
    for (int i = 0; i < 5; ++i) form->listFields(Page::MG1, 't')[static_cast<std::size_t>(i)]->setText(ts[i]);
    form->RunClick(Page::MG1);
    Pick(form, "MG1_Output_RadioGroup", 4);
    form->RunClick(Page::MG1);
    shot.save(form, "queue-mg1-run");
    SaveLastGraph(shot, form, "queue-mg1-graphs");

    // D/G/1 with pure Erlang services: the time-average table and the graph.
    form->ClearButtonClick();
    form->PageControl->setCurrentIndex(static_cast<int>(Page::DG1));
    Pick(form, "DG1_Service_Type_RadioGroup", 1);
    SetText(form, "DG1_CS2_edit", "4");
    SetText(form, "DG1_Rho_edit", "0.9");
    Pick(form, "DG1_Pure_Erlang_Output_RadioGroup", 3);
    const char* ns[] = {"0", "1", "2", "5", "10"};
    for (int i = 0; i < 5; ++i) form->listFields(Page::DG1, 'n')[static_cast<std::size_t>(i)]->setText(ns[i]);
    form->RunClick(Page::DG1);
    Pick(form, "DG1_Pure_Erlang_Output_RadioGroup", 5);
    form->RunClick(Page::DG1);
    shot.save(form, "queue-dg1-run");
    SaveLastGraph(shot, form, "queue-dg1-graph");

    // M/D/c percentiles and graphs.
    form->ClearButtonClick();
    form->PageControl->setCurrentIndex(static_cast<int>(Page::MDC));
    SetText(form, "MDC_C_edit", "5");
    SetText(form, "MDC_Rho_edit", "0.9");
    Pick(form, "MDC_Output_RadioGroup", 2);
    const char* ps[] = {"0.5", "0.9", "0.99", "0.999"};
    for (int i = 0; i < 4; ++i) form->listFields(Page::MDC, 'p')[static_cast<std::size_t>(i)]->setText(ps[i]);
    form->RunClick(Page::MDC);
    Pick(form, "MDC_Output_RadioGroup", 4);
    form->RunClick(Page::MDC);
    shot.save(form, "queue-mdc-run");
    SaveLastGraph(shot, form, "queue-mdc-graphs");

    // D/M/c: customer-average table and its graph.
    form->ClearButtonClick();
    form->PageControl->setCurrentIndex(static_cast<int>(Page::DMC));
    SetText(form, "DMC_C_edit", "4");
    SetText(form, "DMC_Rho_edit", "0.85");
    Pick(form, "DMC_Output_RadioGroup", 4);
    for (int i = 0; i < 5; ++i) form->listFields(Page::DMC, 'n')[static_cast<std::size_t>(i)]->setText(ns[i]);
    form->RunClick(Page::DMC);
    Pick(form, "DMC_Output_RadioGroup", 5);
    Pick(form, "DMC_Graph_GroupBox", 1);
    form->RunClick(Page::DMC);
    shot.save(form, "queue-dmc-run");
    SaveLastGraph(shot, form, "queue-dmc-graph");

    // G/M/c with Coxian-2 arrivals and its graph.
    form->ClearButtonClick();
    form->PageControl->setCurrentIndex(static_cast<int>(Page::GMC));
    Pick(form, "GMC_Arrivals_RadioGroup", 2);
    SetText(form, "GMC_CA2_Edit", "2.5");
    SetText(form, "GMC_C_edit", "3");
    SetText(form, "GMC_Rho_edit", "0.8");
    Pick(form, "GMC_Output_RadioGroup", 0);
    form->RunClick(Page::GMC);
    Pick(form, "GMC_Output_RadioGroup", 3);
    form->RunClick(Page::GMC);
    shot.save(form, "queue-gmc-run");
    SaveLastGraph(shot, form, "queue-gmc-graph");

    form->closeModule();
    QApplication::processEvents();
    delete form.data();
}
