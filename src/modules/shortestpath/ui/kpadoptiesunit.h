#pragma once
// The settings dialog of the shortest-path module: the size of the network
// and how the arc lengths are chosen.
#include <QDialog>

class QRadioButton;
class QPushButton;
class QSpinBox;

namespace tarvik::shortestpath::ui {

class TKPad;

class TKPadOpties : public QDialog {
    Q_OBJECT
public:
    explicit TKPadOpties(TKPad* owner);

    // "OK": hands the settings to the module, which builds the network.
    void OKBtnClick();
    // "Previous": closes the module.
    void TerugBtnClick();

    QSpinBox* RijEdit = nullptr;
    QSpinBox* KolomEdit = nullptr;
    QRadioButton* RandomBtn = nullptr;
    QRadioButton* FixedBtn = nullptr;
    QSpinBox* VasteLengteEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    TKPad* owner_;
    bool centred_ = false;
};

} // namespace tarvik::shortestpath::ui
