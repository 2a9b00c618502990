#pragma once
// The LP settings: how many tableaus a run prints, whether the report
// ranges the coefficients and right-hand sides, and whether the tableaus show
// decimals or exact fractions.
#include "modules/lp/lprun.h"

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace tarvik::ui {

class TLPInstellingen : public QDialog {
    Q_OBJECT
public:
    explicit TLPInstellingen(QWidget* parent = nullptr);

    // What the radio buttons show now.
    tarvik::lp::LPSettings settings() const;

    QRadioButton* noTableausButton() const { return noTableaus_; }
    QRadioButton* firstLastButton() const { return firstLast_; }
    QRadioButton* allTableausButton() const { return allTableaus_; }
    QRadioButton* sensitivityOnButton() const { return sensOn_; }
    QRadioButton* sensitivityOffButton() const { return sensOff_; }
    QRadioButton* decimalsButton() const { return decimals_; }
    QRadioButton* fractionsButton() const { return fractions_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    QRadioButton* noTableaus_;
    QRadioButton* firstLast_;
    QRadioButton* allTableaus_;
    QRadioButton* sensOn_;
    QRadioButton* sensOff_;
    QRadioButton* decimals_;
    QRadioButton* fractions_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace tarvik::ui
