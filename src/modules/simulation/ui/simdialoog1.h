#pragma once
// The settings dialog of the single-server queue ("Settings", heading
// "Single-server queues").
#include "modules/simulation/ui/simdialogs.h"

namespace tarvik::simulation::ui {

class TSimDialoog1 : public TSimSettingsDialog {
    Q_OBJECT
public:
    explicit TSimDialoog1(TSim* owner);

    // The fields from the stored settings.
    void Refresh() override;
    // "OK": checks, stores, hides and runs; or shows what is wrong.
    void OKBtnClick() override;

    QLineEdit* LambdaEdit = nullptr;
    QLineEdit* MuEdit = nullptr;
    TWholeEdit* AantalEdit = nullptr;
    TWholeEdit* StopTimeEdit = nullptr;
    QRadioButton* AankomstPoisson = nullptr;
    QRadioButton* AankomstDet = nullptr;
    QRadioButton* BedieningExp = nullptr;
    QRadioButton* BedieningDet = nullptr;
};

} // namespace tarvik::simulation::ui
