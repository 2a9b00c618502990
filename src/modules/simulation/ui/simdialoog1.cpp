#include "modules/simulation/ui/simdialoog1.h"

#include "common/ui/dialogservice.h"
#include "modules/simulation/simchecks.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/ui/simfields.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"

#include <QRadioButton>

namespace tarvik::simulation::ui {

TSimDialoog1::TSimDialoog1(TSim* owner)
    : TSimSettingsDialog(owner, QStringLiteral("SimDialoog1"), QStringLiteral("Single-server queues"), true,
                         false) {
    LambdaEdit = AddRate(QStringLiteral("Average arrival rate"), QStringLiteral("LambdaEdit"));
    MuEdit = AddRate(QStringLiteral("Average service rate"), QStringLiteral("MuEdit"));
    AantalEdit = AddInitial();
    StopTimeEdit = AddLength(kMinSingleLength);
    const ProcessChoice arrivals = AddChoice(QStringLiteral("Arrival process"), QStringLiteral("AankomstBox"),
                                             QStringLiteral("Poisson"));
    AankomstPoisson = arrivals.first;
    AankomstDet = arrivals.second;
    const ProcessChoice service = AddChoice(QStringLiteral("Service process"),
                                            QStringLiteral("BedieningsBox"), QStringLiteral("Exponential"));
    BedieningExp = service.first;
    BedieningDet = service.second;
    Finish(QStringLiteral("OK"));
}

void TSimDialoog1::Refresh() {
    const SingleSettings& s = State().single;
    LambdaEdit->setText(QString::fromStdString(ShortText(s.lambda)));
    MuEdit->setText(QString::fromStdString(ShortText(s.mu)));
    AantalEdit->setValue(s.initial);
    StopTimeEdit->setValue(static_cast<long long>(std::llround(s.length)));
    (s.detArrivals ? AankomstDet : AankomstPoisson)->setChecked(true);
    (s.detService ? BedieningDet : BedieningExp)->setChecked(true);
}

void TSimDialoog1::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    AantalEdit->clampText();
    StopTimeEdit->clampText();
    const RateInput in{.lambda = LambdaEdit->text().toStdString(),
                       .mu = MuEdit->text().toStdString(),
                       .length = static_cast<double>(StopTimeEdit->value()),
                       .initial = static_cast<int>(AantalEdit->value()),
                       .detArrivals = AankomstDet->isChecked(),
                       .detService = BedieningDet->isChecked()};
    const auto checked = CheckSingle(in);
    bool refused = false;
    for (const auto& m : checked.messages) {
        MsgDlg(QString::fromStdString(m), tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK);
        refused = true;
    }
    if (checked.settings) State().single = *checked.settings;
    if (auto m = ProcessMessage(State().single)) {
        MsgDlg(QString::fromStdString(*m), tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK);
        refused = true;
    }
    if (refused) return;
    StartRun();
}

} // namespace tarvik::simulation::ui
