#include "screenshots/shots.h"

#include "common/random.h"
#include "modules/normal/ui/clsunit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace tarvik::normal;
using namespace tarvik::normal::ui;

namespace {

void WaitForRun(TCLS* module) {
    while (module->running()) QCoreApplication::processEvents();
}

void Close(QPointer<TCLS>& module) {
    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
}

} // namespace

TARVIK_SCREENSHOT(normal_windows) {
    tarvik::RandSeed = 20261209;
    QPointer<TCLS> module = new TCLS;
    module->resize(800, 560);
    module->show();
    shot.save(module->chooser(), "normal-chooser");

    // Central limit theorem: a fair die, then a biased one.
    module->chooser()->OKBtnClick();
    TCLSDialoog* dlg = module->dieSettings();
    shot.save(dlg, "normal-die-settings");
    module->lengths()->StartBtnClick(); // not yet shown: the settings come first
    dlg->OKBtnClick();
    shot.save(module->lengths(), "normal-lengths-1");
    module->lengths()->LengthEdit[0]->setValue(1);
    module->lengths()->StartBtnClick();
    shot.save(module->histograms(1), "normal-histogram-1-fair-n1");
    module->histograms(1)->TerugBtnClick();
    module->lengths()->LengthEdit[0]->setValue(40);
    module->lengths()->StartBtnClick();
    shot.save(module->histograms(1), "normal-histogram-1-fair-n40");
    module->histograms(1)->TerugBtnClick();
    module->lengths()->TerugBtnClick();

    dlg->BiasedBtn->click();
    const char* biased[6] = {"0.5", "0", "0", "0", "0.1", "0.4"};
    for (int j = 0; j < kFaces; ++j) dlg->PEdit[j]->setText(biased[j]);
    dlg->HistBtn[1]->click();
    shot.save(dlg, "normal-die-settings-biased");
    dlg->OKBtnClick();
    shot.save(module->lengths(), "normal-lengths-2");
    module->lengths()->LengthEdit[0]->setValue(3);
    module->lengths()->LengthEdit[1]->setValue(30);
    module->lengths()->StartBtnClick();
    shot.save(module->histograms(2), "normal-histograms-2-biased");
    module->histograms(2)->TerugBtnClick();
    module->lengths()->TerugBtnClick();

    dlg->HistBtn[2]->click();
    dlg->OKBtnClick();
    shot.save(module->lengths(), "normal-lengths-4");
    const int n4[4] = {1, 5, 12, 30};
    for (int i = 0; i < 4; ++i) module->lengths()->LengthEdit[i]->setValue(n4[i]);
    module->lengths()->StartBtnClick();
    shot.save(module->histograms(4), "normal-histograms-4-biased");
    module->histograms(4)->TerugBtnClick();
    module->lengths()->TerugBtnClick();
    dlg->FairBtn->click();
    dlg->OKBtnClick();
    for (int i = 0; i < 4; ++i) module->lengths()->LengthEdit[i]->setValue(n4[i]);
    module->lengths()->StartBtnClick();
    shot.save(module->histograms(4), "normal-histograms-4-fair");
    module->histograms(4)->TerugBtnClick();
    module->lengths()->TerugBtnClick();
    dlg->TerugBtnClick();

    // Square-root law, small and big points.
    module->chooser()->SqrtBtn->setChecked(true);
    module->chooser()->OKBtnClick();
    shot.save(module->sqrtCount(), "normal-sqrt-count");
    module->sqrtCount()->CountEdit->setValue(1000);
    module->sqrtCount()->StartBtnClick();
    WaitForRun(module);
    shot.save(module->sqrtGraph(), "normal-sqrt-law-small-points");
    module->sqrtGraph()->TerugBtnClick();
    module->sqrtCount()->BigBox->setChecked(true);
    module->sqrtCount()->CountEdit->setValue(200);
    module->sqrtCount()->StartBtnClick();
    WaitForRun(module);
    shot.save(module->sqrtGraph(), "normal-sqrt-law-big-points");
    module->sqrtGraph()->TerugBtnClick();
    module->sqrtCount()->TerugBtnClick();

    // Confidence intervals at both levels.
    module->chooser()->IntervalBtn->setChecked(true);
    module->chooser()->OKBtnClick();
    shot.save(module->intervalSettings(), "normal-ci-settings");
    module->intervalSettings()->OKBtnClick();
    WaitForRun(module);
    shot.save(module->intervalPlot(), "normal-ci-95");
    // Again, pictured while it runs (at its 40th interval): the counts under the panels go with it.
    SetYieldInterval(std::chrono::microseconds(0));
    bool taken = false;
    SetYieldObserver([&] {
        if (taken || !module->intervalRun() || module->intervalRun()->completed() < 40) return;
        taken = true;
        module->intervalPlot()->Refresh();
        shot.save(module->intervalPlot(), "normal-ci-95-running");
    });
    module->intervalPlot()->OpnieuwBtnClick();
    WaitForRun(module);
    SetYieldObserver({});
    SetYieldInterval(std::chrono::microseconds(10000));
    module->intervalPlot()->TerugBtnClick();
    module->intervalSettings()->PEdit->setText("0.1");
    module->intervalSettings()->NEdit->setValue(50);
    module->intervalSettings()->Level90Btn->setChecked(true);
    module->intervalSettings()->OKBtnClick();
    WaitForRun(module);
    shot.save(module->intervalPlot(), "normal-ci-90-p01-n50");

    Close(module);
}
