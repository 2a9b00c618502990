#pragma once
// The options dialog of the queue simulation ("Options"): the choice of
// experiment.
#include "modules/simulation/simsettings.h"

#include <QDialog>
#include <array>

class QPushButton;
class QRadioButton;

namespace tarvik::simulation::ui {

class TSim;

class TSimOpties : public QDialog {
    Q_OBJECT
public:
    explicit TSimOpties(TSim* owner);

    Experiment choice() const;
    // Whether an experiment's windows are built (the others stay disabled).
    static bool Available(Experiment e);

    void OKBtnClick();
    void TerugBtnClick();

    std::array<QRadioButton*, 7> Keuze{};
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    TSim* owner_;
};

} // namespace tarvik::simulation::ui
