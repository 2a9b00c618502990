#pragma once
// The settings dialog of the coin-tossing module.
#include "modules/dice/dobbel.h"

#include <QDialog>
#include <QSpinBox>
#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvik::dice::ui {

class TDobbel;

// The "Number of throws" field: a spin field that takes any whole number the
// user types, so that the dialog can say what is wrong with it.
class TThrowsEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TThrowsEdit(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

class TDobbelDlg : public QDialog {
    Q_OBJECT
public:
    explicit TDobbelDlg(TDobbel* owner);

    Choice choice() const;
    void setChoice(Choice choice);

    // "Throw": checks the settings and starts a run, or reports what is wrong.
    void OKBtnClick();
    // "Previous": closes the module.
    void TerugBtnClick();

    std::array<QRadioButton*, 4> KeuzeBtn{};
    QCheckBox* FastBox = nullptr;
    QCheckBox* TableBox = nullptr;
    QCheckBox* WalkBox = nullptr;
    std::array<QLineEdit*, kFaces> PEdit{};
    TThrowsEdit* ThrowsEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void KeuzeClick(Choice choice);

    TDobbel* owner_;
    QButtonGroup* keuzeGroup_ = nullptr;
    bool centred_ = false;
};

} // namespace tarvik::dice::ui
