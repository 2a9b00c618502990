#pragma once
// The two-panel graph windows ("Graph"): a picture of 593 x 321 or 593 x 329
// held as an image, one panel per simulated system, with "Stop"/"Previous",
// "Again", "Data" and the save button.
#include "modules/simulation/ui/simgrafiek.h"
#include "modules/simulation/ui/simpictures.h"

#include <array>

namespace tarvik::simulation::ui {

struct PanelGraphStyle {
    QString name;
    int height = 329;
    int leftTitleX = 120, rightTitleX = 440;
    bool rightNumber = false;
    bool linesAtY = false;
    QString saveHint = QStringLiteral("Grafiek opslaan naar bestand");
};

class TSimPanelGraph : public TSimGraphWindow {
    Q_OBJECT
public:
    TSimPanelGraph(QWidget* parent, const PanelGraphStyle& style);

    const PanelGraphStyle& graphStyle() const { return style_; }

    // Frame with the panel titles, "Stop", the window shown, the grid.
    void BeginRun(double length, int scale, const QString& leftTitle, const QString& rightTitle);
    void Sample(int panel, int i, long long actual, double average);
    // "Previous", "Data" enabled ("Again" is enabled by the caller).
    void EndRun();
    bool gridDrawn() const { return gridDrawn_; }

signals:
    void closedByFrame();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    PanelGraphStyle style_;
    std::array<QString, 2> titles_;
    std::array<long long, 2> prevActual_{};
    std::array<double, 2> prevAverage_{};
    bool gridDrawn_ = false;
};

} // namespace tarvik::simulation::ui
