#include "modules/tsp/ui/tspkaartunit.h"

#include "common/ui/help.h"
#include "common/ui/keyboardpointer.h"

#include "modules/tsp/ui/tspunit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace tarvik::tsp::ui {

namespace {

// A short line of a tour's colour next to its name.
class LegendLine : public QWidget {
public:
    LegendLine(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {
        setFixedSize(30, 12);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        p.setPen(QPen(colour_, 2));
        p.drawLine(3, height() / 2, width() - 3, height() / 2);
    }

private:
    QColor colour_;
};

} // namespace

TPlaatje::TPlaatje(const QImage* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("Plaatje"));
    setMouseTracking(true);
    setFixedSize(picture->size());
    setCursor(Qt::CrossCursor);
    // The keys click on the map as the mouse does; the right button takes a step back.
    auto* pointer = new tarvik::ui::KeyboardPointer(this, QStringLiteral("Map"));
    pointer->setRightClick(true);
}

QSize TPlaatje::sizeHint() const {
    return picture_->size();
}

void TPlaatje::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, *picture_);
}

void TPlaatje::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    emit pressed(pos.x(), pos.y(), event->button());
}

void TPlaatje::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    emit moved(pos.x(), pos.y());
}

TTSPKaart::TTSPKaart(TTSP* owner) : QWidget(owner), live_([this] { PlaatjeView->update(); }) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPKaart"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Map"));
    Background = QImage(QStringLiteral(":/tsp/tsp-map.png")).convertToFormat(QImage::Format_RGB32);
    Plaatje = QImage(kMapWidth, kMapHeight, QImage::Format_RGB32);
    Plaatje.fill(QColor(40, 120, 210));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    PlaatjeView = new TPlaatje(&Plaatje, this);
    PlaatjeView->setAccessibleName(QStringLiteral("Map"));
    layout->addWidget(PlaatjeView);

    auto* legend = new QWidget(this);
    legend->setObjectName(QStringLiteral("Legend"));
    auto* row = new QHBoxLayout(legend);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(new LegendLine(Qt::red, legend));
    row->addWidget(new QLabel(QStringLiteral("Heuristic tour"), legend));
    row->addSpacing(16);
    row->addWidget(new LegendLine(Qt::white, legend));
    row->addWidget(new QLabel(QStringLiteral("Optimal tour"), legend));
    row->addStretch();
    layout->addWidget(legend);
    setFixedSize(sizeHint());
}

void TTSPKaart::DrawMarker(QImage& image, const City& c, int number, bool endOfPath) {
    QPainter p(&image);
    DrawMarker(p, c, number, endOfPath);
}

void TTSPKaart::DrawMarker(QPainter& p, const City& c, int number, bool endOfPath) {
    p.save();
    DrawMarkerShape(p, c, number, endOfPath);
    p.restore();
}

void TTSPKaart::DrawMarkerShape(QPainter& p, const City& c, int number, bool endOfPath) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(endOfPath ? Qt::white : Qt::red);
    p.drawEllipse(QRect(c.x - 4, c.y - 4, 8, 8));
    if (endOfPath) return;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(9);
    p.setFont(font);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    const QString text = QString::number(number);
    const QFontMetrics fm(font);
    p.drawText(QPoint(c.x - 4, c.y + 6 + fm.ascent()), text);
}

namespace {

void DrawTour(QPainter& p, const Cities& cities, const Tour& tour, bool closed) {
    for (std::size_t q = 0; q + 1 < tour.size(); ++q) {
        const City& a = cities[static_cast<std::size_t>(tour[q] - 1)];
        const City& b = cities[static_cast<std::size_t>(tour[q + 1] - 1)];
        p.drawLine(a.x, a.y, b.x, b.y);
    }
    if (closed && tour.size() > 1) {
        const City& a = cities[static_cast<std::size_t>(tour.back() - 1)];
        const City& b = cities[static_cast<std::size_t>(tour.front() - 1)];
        p.drawLine(a.x, a.y, b.x, b.y);
    }
}

} // namespace

void TTSPKaart::Draw(const MapScene& scene) {
    {
        QPainter p(&Plaatje);
        Paint(p, scene);
    }
    Show();
}

void TTSPKaart::Paint(QPainter& p, const MapScene& scene) const {
    p.drawImage(0, 0, Background);
    if (!scene.cities) return;
    const Cities& cities = *scene.cities;
    const int placed = std::min<int>(scene.placed, static_cast<int>(cities.size()));
    for (int k = placed; k >= 1; --k) DrawMarker(p, cities[static_cast<std::size_t>(k - 1)], k, false);
    p.save();
    p.setPen(QPen(Qt::red, 1));
    DrawTour(p, cities, scene.heuristic, scene.heuristicClosed);
    p.setPen(QPen(Qt::white, 1));
    DrawTour(p, cities, scene.optimal, true);
    // Edges of both tours: dotted red over the white.
    if (!scene.optimal.empty() && scene.heuristic.size() > 1) {
        p.setPen(QPen(Qt::red, 1, Qt::DotLine));
        const std::size_t m = scene.heuristic.size();
        const std::size_t edges = scene.heuristicClosed ? m : m - 1;
        for (std::size_t q = 0; q < edges; ++q) {
            const int a = scene.heuristic[q], b = scene.heuristic[(q + 1) % m];
            if (!HasEdge(scene.optimal, a, b)) continue;
            const City& ca = cities[static_cast<std::size_t>(a - 1)];
            const City& cb = cities[static_cast<std::size_t>(b - 1)];
            p.drawLine(ca.x, ca.y, cb.x, cb.y);
        }
    }
    p.restore();
    if (scene.endDisc >= 1 && scene.endDisc <= placed)
        DrawMarker(p, cities[static_cast<std::size_t>(scene.endDisc - 1)], scene.endDisc, true);
}

void TTSPKaart::DrawCity(const City& c, int number) {
    DrawMarker(Plaatje, c, number, false);
    Show();
}

void TTSPKaart::DrawLine(const City& a, const City& b, const QColor& colour) {
    QPainter p(&Plaatje);
    p.setPen(QPen(colour, 1));
    p.drawLine(a.x, a.y, b.x, b.y);
    Show();
}

void TTSPKaart::Show() {
    // At most about 60 pictures a second; the last state is always shown.
    live_.request();
}

} // namespace tarvik::tsp::ui
