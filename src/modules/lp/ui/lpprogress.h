#pragma once
// The progress dialog of an LP run: the reader's and the simplex method's
// counts, repainted while the run computes, and the run's error line.
#include "modules/lp/ui/solver.h"

namespace tarvik::ui {

class TProgressDialog : public TRunDialog {
    Q_OBJECT
public:
    explicit TProgressDialog(QWidget* parent = nullptr);

    // Each setter repaints its label at once when the value changes.
    void setPhase(long value);
    void setIteration(long value);
    void enableOK() override;

    QLabel* phaseLabel() const { return phaseCount_; }
    QLabel* iterationLabel() const { return iterationCount_; }

private:
    QLabel* phaseCount_;
    QLabel* iterationCount_;
};

} // namespace tarvik::ui
