#pragma once
// The map window: the picture `Plaatje` (318 x 377) with the cities and the
// tours, and the legend below it.
#include "common/ui/liverepaint.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsptour.h"

#include <QImage>
#include <QWidget>

class QPainter;

namespace tarvik::tsp::ui {

class TTSP;

// What the map shows.
struct MapScene {
    const Cities* cities = nullptr;
    int placed = 0; // cities 1 .. placed have markers
    Tour heuristic; // the heuristic tour, or the path under construction
    bool heuristicClosed = false;
    int endDisc = 0; // the current end of a path under construction (white disc)
    Tour optimal;    // empty when there is none
};

// The picture on the screen; presses and moves go to the module.
class TPlaatje : public QWidget {
    Q_OBJECT
public:
    TPlaatje(const QImage* picture, QWidget* parent);
    QSize sizeHint() const override;

signals:
    void pressed(int x, int y, Qt::MouseButton button);
    void moved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const QImage* picture_;
};

class TTSPKaart : public QWidget {
    Q_OBJECT
public:
    explicit TTSPKaart(TTSP* owner);

    const QImage& picture() const { return Plaatje; }
    TPlaatje* view() const { return PlaatjeView; }

    // Background, markers (n down to 1), the tours and the common edges.
    void Draw(const MapScene& scene);
    // The same drawing on any painter in map coordinates (a saved drawing).
    void Paint(QPainter& p, const MapScene& scene) const;
    // A candidate line drawn over the map (closest neighbour: white; greatest angle: blue).
    void DrawLine(const City& a, const City& b, const QColor& colour);
    // One city marker drawn over the map.
    void DrawCity(const City& c, int number);
    // The picture goes to the screen (at most about 60 times a second).
    void Show();

    static void DrawMarker(QImage& image, const City& c, int number, bool endOfPath);
    static void DrawMarker(QPainter& p, const City& c, int number, bool endOfPath);

private:
    static void DrawMarkerShape(QPainter& p, const City& c, int number, bool endOfPath);

    QImage Plaatje;
    QImage Background;
    TPlaatje* PlaatjeView = nullptr;
    tarvik::ui::LiveRepaint live_;
};

} // namespace tarvik::tsp::ui
