#pragma once
// The options dialog of the queue simulation ("Options"): the choice of
// experiment.
#include "modules/simulation/simsettings.h"
#include "modules/simulation/ui/simdialogs.h"

#include <array>

class QRadioButton;

namespace tarvik::simulation::ui {

class TSimOpties : public TSimDialog {
    Q_OBJECT
public:
    explicit TSimOpties(TSim* owner);

    Experiment choice() const;
    // Whether an experiment's windows are built (the others stay disabled).
    static bool Available(Experiment e);

    void OKBtnClick();
    void TerugBtnClick();

    std::array<QRadioButton*, 7> Keuze{};

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};

} // namespace tarvik::simulation::ui
