#pragma once
// The settings dialog of the single-server queue ("Settings", heading
// "Single-server queues").
#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvik::simulation::ui {

class TSim;
class TWholeEdit;

class TSimDialoog1 : public QDialog {
    Q_OBJECT
public:
    explicit TSimDialoog1(TSim* owner);

    // The fields from the stored settings.
    void Refresh();
    // "OK": checks, stores, hides and runs; or shows what is wrong.
    void OKBtnClick();
    // "Previous": back to the options dialog.
    void TerugBtnClick();

    QLineEdit* LambdaEdit = nullptr;
    QLineEdit* MuEdit = nullptr;
    TWholeEdit* AantalEdit = nullptr;
    TWholeEdit* StopTimeEdit = nullptr;
    QRadioButton* AankomstPoisson = nullptr;
    QRadioButton* AankomstDet = nullptr;
    QRadioButton* BedieningExp = nullptr;
    QRadioButton* BedieningDet = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TSim* owner_;
};

} // namespace tarvik::simulation::ui
