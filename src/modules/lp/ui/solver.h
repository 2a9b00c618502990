#pragma once
// One run of the LP window: the progress dialog, reading, solving and the
// report, and the text the window shows afterwards.
#include "modules/lp/lprun.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tarvik::ui {

// The progress dialog of a run (LP and IP): the reader's counts, a group of
// the solver's own, the run's error line and one button below.
class TRunDialog : public QDialog {
public:
    // valueWidth: the least width of every value label.
    TRunDialog(QWidget* parent, int valueWidth);

    // Each setter repaints its label at once when the value changes.
    void setLine(long value);
    void setVariables(long value);
    void setConditions(long value);
    // The reader's message after a failed read, else the solver's result line.
    void setErrorLine(const QString& text);
    // The run is over: the user may close the dialog.
    virtual void enableOK() = 0;

    QLabel* lineLabel() const { return lineCount_; }
    QLabel* variablesLabel() const { return variablesCount_; }
    QLabel* conditionsLabel() const { return conditionsCount_; }
    QLabel* errorLabel() const { return errorLine_; }
    QPushButton* okButton() const { return okButton_; }

protected:
    // A caption and its right-aligned value, starting at `start`, in row `row`.
    QLabel* addValue(QGridLayout* grid, int row, const QString& caption, const QString& name,
                     const QString& start = QStringLiteral("0")) const;
    // Sets a value; the run may hand no events to the loop for a while: paint now.
    static void showValue(QLabel* label, const QString& text);
    // Makes the button the default and gives it the focus.
    void focusButton();
    // Stacks the reader's counts, `solverGroup`, the error line and the
    // button, and fixes the size.
    void layOut(QGroupBox* solverGroup);

private:
    int valueWidth_;
    QGroupBox* parse_;
    QLabel* lineCount_;
    QLabel* variablesCount_;
    QLabel* conditionsCount_;
    QLabel* errorLine_;
    QPushButton* okButton_;
};

class TSolver {
public:
    // The progress dialog is owned by `owner` (the main window).
    explicit TSolver(QWidget* owner);

    // Shows the progress dialog, runs the model text (every line ended by
    // CR LF) and keeps handling events until the user has closed the dialog.
    // Returns true when the model was read.
    bool run(const QString& modelText, const tarvik::lp::LPSettings& settings);

    // What one run of a model text gives back.
    struct Outcome {
        bool success = false;
        std::string output; // CR LF line ends
        long errorPosition = 0;
        std::string message;
        std::shared_ptr<const tarvik::lp::GraphicalSolution> graphical;
    };
    // The run protocol with any progress dialog (which the solver takes over):
    // shows it, lets it appear, calls `compute`, shows the result line, and
    // keeps handling events until the user has closed the dialog. `closed`
    // tells `compute` whether the dialog was closed while it ran.
    bool runWith(TRunDialog* dialog, const std::function<Outcome(const bool& closed)>& compute);

    // The echo, solver output and report, with '\n' line ends (after a read
    // error the echo as far as it got).
    const QString& output() const { return output_; }
    // 1-based offset into the model text of the offending character (0: none).
    long errorPosition() const { return errorPosition_; }
    // The progress dialog's error line.
    const QString& message() const { return message_; }
    // The graphical solution of a model with two variables, else null.
    const std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical() const { return graphical_; }
    // The window that owns the progress dialog.
    QWidget* owner() const { return owner_; }

private:
    QWidget* owner_;
    QString output_;
    long errorPosition_ = 0;
    QString message_;
    std::shared_ptr<const tarvik::lp::GraphicalSolution> graphical_;
};

} // namespace tarvik::ui
