#include "screenshots/shots.h"

#include "common/random.h"
#include "common/ui/examples.h"
#include "common/ui/msgdlg.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/ui/tspunit.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

using namespace tarvik::tsp;
using namespace tarvik::tsp::ui;

namespace {

void WaitForRuns(TTSP* module) {
    for (int i = 0; i < 100000 && (module->constructionRunning() || module->searchRunning()); ++i)
        QCoreApplication::processEvents();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

} // namespace

TARVIK_SCREENSHOT(tsp_windows) {
    tarvik::RandSeed = 20261209;
    QPointer<TTSP> module = new TTSP;
    module->resize(1000, 700);
    module->show();
    TTSPZetSteden* z = module->zetSteden();
    z->AantalSpin->setValue(14);
    shot.save(z, "tsp-place-cities");

    z->OKBtnClick();
    shot.save(module->kaart(), "tsp-map-cities");
    shot.save(module->dialoog(), "tsp-options");

    // Closest neighbour from city 1, fast, then 2-OPT.
    module->dialoog()->ListBox->setCurrentRow(2);
    module->HeuristiekBtnClick();
    shot.save(module->beginstad(), "tsp-start-city");
    module->beginstad()->OKBtnClick();
    WaitForRuns(module);
    module->TweeOptBtnClick();
    shot.save(module->dialoog(), "tsp-options-tour-data");
    shot.save(module->kaart(), "tsp-map-heuristic-tour");

    // The exact tour with an upper bound typed the Dutch way.
    module->ExactBtnClick(); // the question is answered "Yes"
    module->bbDlg()->BovengrensEdit->setText(
        QString::fromStdString(Fixed(module->tourLength() + 1, 8, 2)).replace('.', ','));
    shot.save(module->bbDlg(), "tsp-upper-bound");
    module->bbDlg()->OKBtnClick();
    WaitForRuns(module);
    shot.save(module->bb(), "tsp-branch-and-bound");
    module->BBButtonClick();
    shot.save(module->kaart(), "tsp-map-both-tours");
    shot.save(module->dialoog(), "tsp-options-exact");

    module->DataBtnClick();
    shot.save(module->data(), "tsp-tour-data");
    module->data()->hide();

    // The progress window while a larger search runs.
    module->CancelBtnClick();
    z->AantalSpin->setValue(32);
    z->OKBtnClick();
    bool taken = false;
    QObject::connect(module->bb()->ListBox->model(), &QAbstractItemModel::rowsInserted, module, [&] {
        if (taken || !module->searchRunning() || module->bb()->ListBox->count() < 3) return;
        taken = true;
        shot.save(module->bb(), "tsp-branch-and-bound-running");
        module->BBButtonClick(); // Stop
    });
    module->ExactBtnClick();
    module->bbDlg()->OKBtnClick(); // empty field: "Wrong input!"
    module->bbDlg()->BovengrensEdit->setText(QStringLiteral("100000"));
    module->bbDlg()->OKBtnClick();
    WaitForRuns(module);
    module->BBButtonClick();
    shot.save(module->kaart(), "tsp-map-stopped-search");

    // Cities placed by clicks: three of five, the mouse over the map.
    module->CancelBtnClick();
    z->OwnBtn->setChecked(true);
    z->AantalSpin->setValue(5);
    z->OKBtnClick();
    module->MapPress(100, 120, Qt::LeftButton);
    module->MapPress(104, 110, Qt::LeftButton);
    module->MapPress(220, 260, Qt::LeftButton);
    module->MapMove(160, 200);
    shot.save(module->dialoog(), "tsp-options-own-placement");
    shot.save(module->kaart(), "tsp-map-own-placement");

    // The fourth city by keyboard: the pointer moved with Shift+arrows, before Enter.
    module->kaart()->activateWindow();
    module->kaart()->view()->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 6; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
        QCoreApplication::sendEvent(module->kaart()->view(), &press);
    }
    shot.save(module->kaart(), "tsp-map-keyboard-pointer");

    // The 48 capitals from the examples, proven optimal with the 1-tree bound that the
    // window offers for so many cities.
    const CityFileResult capitals =
        ReadCityFile((tarvik::ui::ExamplesFolder(QStringLiteral("tsp")) + QStringLiteral("/capitals48.txt"))
                         .toStdString());
    if (capitals.ok) {
        module->LoadCities(capitals.cities);
        shot.save(module->kaart(), "tsp-map-capitals");
        tarvik::test::ScriptedDialogs answers;
        answers.messageAnswers = {tarvik::ui::mrYes, tarvik::ui::mrNo}; // the 1-tree bound; no upper bound
        module->ExactBtnClick();
        WaitForRuns(module);
        if (!answers.messages.empty()) {
            const auto question = tarvik::ui::CreateMessageDialog(answers.messages.front());
            shot.saveWithCaption(question.get(), "tsp-long-search-question");
        }
        shot.save(module->bb(), "tsp-branch-and-bound-one-tree");
        shot.save(module->dialoog(), "tsp-options-proven");
        module->BBButtonClick();
        shot.save(module->kaart(), "tsp-map-capitals-optimal");
    }

    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
}
