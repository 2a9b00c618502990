#pragma once
// The dialogs of the all-or-nothing game: the start dialog, the results
// window, the other-decision dialog and the information box.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tarvik::roulette::ui {

class TRoulette;
class TWholeSpin;

class TRouletteDialoog : public QDialog {
    Q_OBJECT
public:
    explicit TRouletteDialoog(TRoulette* owner);

    void OKBtnClick();
    void TerugBtnClick();

    QRadioButton* ActionBtn = nullptr; // "Roulette in action"
    QRadioButton* GameBtn = nullptr;   // "All-or-nothing game"
    TWholeSpin* StartKapitaalSpin = nullptr;
    TWholeSpin* StreefKapitaalSpin = nullptr;
    TWholeSpin* AantalSpin = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    TRoulette* owner_;
};

class TRouletteResultaatDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRouletteResultaatDlg(TRoulette* owner);

    QLabel* StatusHuidig = nullptr;
    QLabel* StatusStreef = nullptr;
    QLabel* StatusAantal = nullptr;
    QLabel* OptimaalStr = nullptr;
    QLabel* WinstkansStr = nullptr;
    QPushButton* AndersBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    // The results shown, as lines of text ("Save as text…" writes them).
    QString resultsText;

protected:
    void reject() override;

private:
    TRoulette* owner_;
};

class TRouletteAndersDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRouletteAndersDlg(TRoulette* owner);

    // Fills the fields from the module's state and evaluates "Plein" with stake 1.
    void Prepare();
    // A change of the stake or of the list selection.
    void Evaluate();

    TWholeSpin* KapitaalSpin = nullptr;
    TWholeSpin* StreefSpin = nullptr;
    TWholeSpin* AantalSpin = nullptr;
    QLabel* WinkansOpt = nullptr;
    TWholeSpin* InzetSpin = nullptr;
    QComboBox* TypeWeddenschap = nullptr;
    QLabel* Winkans = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void reject() override;

private:
    TRoulette* owner_;
    bool preparing_ = false;
};

class TRouletteInfo : public QDialog {
    Q_OBJECT
public:
    explicit TRouletteInfo(QWidget* parent);
};

} // namespace tarvik::roulette::ui
