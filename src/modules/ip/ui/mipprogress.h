#pragma once
// The progress dialog of an IP run: the reader's counts, the bounds and the
// iteration count of branch and bound, the result line, and a button that
// stops the search while it runs and closes the dialog afterwards; "Search
// tree" opens the search tree window, live while the search runs.
#include "modules/lp/ui/solver.h"

namespace tarvik::ui {

class TMIPProgressDialog : public TRunDialog {
    Q_OBJECT
public:
    explicit TMIPProgressDialog(QWidget* parent = nullptr);

    // Each setter repaints its label at once when the value changes.
    void setIteration(long value);
    void setLowerBound(const QString& text);
    void setUpperBound(const QString& text);
    void enableOK() override;

    // The button was pressed (or the dialog closed) while the search ran.
    bool stopRequested() const { return stop_; }

    QLabel* lowerBoundLabel() const { return lowerBound_; }
    QLabel* upperBoundLabel() const { return upperBound_; }
    QLabel* iterationLabel() const { return iterationCount_; }
    QPushButton* searchTreeButton() const { return searchTree_; }

signals:
    void searchTreeRequested();

private:
    void OKBtnClick();

    QLabel* lowerBound_;
    QLabel* upperBound_;
    QLabel* iterationCount_;
    QPushButton* searchTree_;
    bool finished_ = false;
    bool stop_ = false;
};

} // namespace tarvik::ui
