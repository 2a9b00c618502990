#include "screenshots/shots.h"

#include "modules/dice/ui/dobbelunit.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <functional>

using namespace tarvik::dice;
using namespace tarvik::dice::ui;

namespace {

// Takes a shot of the diagram in the middle of a run, at its first refresh
// after `atThrow` throws.
class DuringRun : public QObject {
public:
    DuringRun(TDobbel* module, int atThrow, std::function<void()> take)
        : module_(module), atThrow_(atThrow), take_(std::move(take)) {
        module->diagram()->PictureBox->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !taken_ && module_->lastRun() &&
            module_->lastRun()->throwsMade() >= atThrow_) {
            taken_ = true;
            QMetaObject::invokeMethod(this, take_, Qt::QueuedConnection);
        }
        return false;
    }

private:
    TDobbel* module_;
    int atThrow_;
    std::function<void()> take_;
    bool taken_ = false;
};

void WaitForRun(TDobbel* module) {
    while (module->running()) QCoreApplication::processEvents();
}

} // namespace

TARVIK_SCREENSHOT(dice_windows) {
    QPointer<TDobbel> module = new TDobbel;
    module->resize(800, 560);
    module->show();
    TDobbelDlg* dlg = module->dialog();
    shot.save(dlg, "dice-settings");

    dlg->setChoice(Choice::BiasedDie);
    const char* const biased[6] = {"0.3", "0.1", "0.1", "0.1", "0.1", "0.3"};
    for (int j = 0; j < kFaces; ++j) dlg->PEdit[j]->setText(biased[j]);
    dlg->ThrowsEdit->setValue(10000);
    dlg->FastBox->setChecked(false);
    shot.save(dlg, "dice-settings-biased-die");

    DuringRun during(module, 2500, [&] { shot.save(module->diagram(), "dice-diagram-running"); });
    module->Repeat();
    WaitForRun(module);
    shot.save(module->diagram(), "dice-diagram");
    shot.save(module->table(), "dice-table");
    shot.save(module->walk(), "dice-walk");

    // A fair coin, ten throws: short runs draw their walk in wide steps.
    dlg->setChoice(Choice::FairCoin);
    dlg->ThrowsEdit->setValue(10);
    module->Repeat();
    WaitForRun(module);
    shot.save(module->diagram(), "dice-diagram-fair-coin-10");
    shot.save(module->table(), "dice-table-fair-coin-10");
    shot.save(module->walk(), "dice-walk-fair-coin-10");

    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
}
