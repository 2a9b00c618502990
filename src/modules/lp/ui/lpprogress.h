#pragma once
// The progress dialog of an LP run: the reader's and the simplex method's
// counts, repainted while the run computes, and the run's error line.
#include "modules/lp/ui/solver.h"

class QLabel;
class QPushButton;

namespace tarvik::ui {

class TProgressDialog : public TRunDialog {
    Q_OBJECT
public:
    explicit TProgressDialog(QWidget* parent = nullptr);

    // Each setter repaints its label at once when the value changes.
    void setLine(long value);
    void setVariables(long value);
    void setConditions(long value);
    void setPhase(long value);
    void setIteration(long value);
    void setErrorLine(const QString& text) override;
    void enableOK() override;

    QLabel* lineLabel() const { return lineCount_; }
    QLabel* variablesLabel() const { return variablesCount_; }
    QLabel* conditionsLabel() const { return conditionsCount_; }
    QLabel* phaseLabel() const { return phaseCount_; }
    QLabel* iterationLabel() const { return iterationCount_; }
    QLabel* errorLabel() const { return errorLine_; }
    QPushButton* okButton() const { return okButton_; }

private:
    static void showCount(QLabel* label, long value);

    QLabel* lineCount_;
    QLabel* variablesCount_;
    QLabel* conditionsCount_;
    QLabel* phaseCount_;
    QLabel* iterationCount_;
    QLabel* errorLine_;
    QPushButton* okButton_;
};

} // namespace tarvik::ui
