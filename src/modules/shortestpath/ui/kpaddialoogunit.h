#pragma once
// The dialog beside the network: results, instructions, distances, the
// heuristics, the steering arrows of the own path and the path buttons.
#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tarvik::shortestpath::ui {

class TKPad;

class TKPadDialoog : public QDialog {
    Q_OBJECT
public:
    explicit TKPadDialoog(TKPad* owner);

    QGroupBox* ResultBox = nullptr;
    QLabel* UitkomstTekstLbl = nullptr;
    QLabel* EigenPadLabel = nullptr;
    QLabel* OptPadTekstLbl = nullptr;
    QLabel* OptPadLabel = nullptr;
    QGroupBox* AanwijzingBox = nullptr;
    QLabel* AanwijzingLbl = nullptr;
    QGroupBox* AfstandBox = nullptr;
    QPushButton* ToonLengtesBtn = nullptr;
    QPushButton* WijzigBtn = nullptr;
    QGroupBox* HeuristiekBox = nullptr;
    QListWidget* HeuristiekList = nullptr;
    QPushButton* UitvoerBtn = nullptr;
    QGroupBox* StuurBox = nullptr;
    QPushButton* UPBtn = nullptr;
    QPushButton* RightBtn = nullptr;
    QPushButton* OptPadBtn = nullptr;
    QPushButton* WisBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    TKPad* owner_;
};

} // namespace tarvik::shortestpath::ui
