#pragma once
// The two-panel graph windows ("Graph"): a picture of 593 x 321 or 593 x 329
// held as an image, one panel per simulated system, with "Stop"/"Previous",
// "Again", "Data" and the save button.
#include "modules/simulation/ui/simgrafiek.h"
#include "modules/simulation/ui/simpictures.h"

#include "common/ui/picturesave.h"

#include <QImage>
#include <QWidget>
#include <array>

class QPushButton;
class QToolButton;

namespace tarvik::simulation::ui {

struct PanelGraphStyle {
    QString name;
    int height = 329;
    int leftTitleX = 120, rightTitleX = 440;
    bool rightNumber = false;
    bool linesAtY = false;
    QString saveHint = QStringLiteral("Grafiek opslaan naar bestand");
};

class TSimPanelGraph : public QWidget {
    Q_OBJECT
public:
    TSimPanelGraph(QWidget* parent, const PanelGraphStyle& style);

    const QImage& picture() const { return Picture; }
    int scale() const { return scale_; }
    const PanelGraphStyle& graphStyle() const { return style_; }

    // Frame with the panel titles, "Stop", the window shown, the grid.
    void BeginRun(double length, int scale, const QString& leftTitle, const QString& rightTitle);
    void Sample(int panel, int i, long long actual, double average);
    void Flush();
    // "Previous", "Data" enabled ("Again" is enabled by the caller).
    void EndRun();
    bool gridDrawn() const { return gridDrawn_; }

    TSimPicture* Image1 = nullptr;
    QPushButton* SluitBtn = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* ToonDataBtn = nullptr;
    QToolButton* SpeedButton2 = nullptr;

signals:
    void sluitClicked();
    void againClicked();
    void dataClicked();
    void closedByFrame();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SaveClick();

    PanelGraphStyle style_;
    QImage Picture;
    tarvik::ui::PictureSteps Steps; // what the picture was drawn with, for a saved drawing
    int scale_ = 1;
    std::array<long long, 2> prevActual_{};
    std::array<double, 2> prevAverage_{};
    bool dirty_ = false;
    bool gridDrawn_ = false;
};

} // namespace tarvik::simulation::ui
