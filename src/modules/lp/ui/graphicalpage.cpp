#include "modules/lp/ui/graphicalpage.h"

#include "common/ui/accessibility.h"
#include "common/ui/dialogservice.h"
#include "common/ui/picturesave.h"
#include "common/ui/printing.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace tarvik::ui {

using tarvik::lp::GraphicalLayout;
using tarvik::lp::GraphicalSolution;
using tarvik::lp::Ink;
using tarvik::lp::Px;

namespace {

const QColor kRegionFill(90, 150, 210, 70);
const QColor kRegionEdge(40, 90, 150);
const QColor kOptimum(205, 0, 0);
const QColor kLevel(170, 0, 0);
const QColor kPath(20, 20, 90);
const QColor kInteger(90, 90, 90);
const QColor kIntegerOptimum(0, 130, 0);
const QColor kGrid(225, 225, 225);
constexpr long kThinLines = 40;

// Constraint colours: none of them red (the optimum) or dark blue (the path).
constexpr int kPaletteSize = 8;
QColor ConstraintColour(int index) {
    static const QColor palette[kPaletteSize] = {
        QColor(230, 120, 0),  QColor(0, 150, 150), QColor(140, 70, 170), QColor(120, 120, 0),
        QColor(200, 60, 140), QColor(0, 140, 60),  QColor(140, 90, 40),  QColor(90, 110, 140),
    };
    return palette[(index < 0 ? 0 : index) % kPaletteSize];
}

QFont PictureFont(bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    f.setBold(bold);
    return f;
}

QPointF At(Px p) {
    return {p.x, p.y};
}

QRectF Box(const tarvik::lp::PxRect& r) {
    return {r.left, r.top, r.width, r.height};
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const double dx = to.x() - from.x(), dy = to.y() - from.y();
    const double length = std::hypot(dx, dy);
    if (length <= 0) return;
    const double ux = dx / length, uy = dy / length;
    const double head = 9, half = 4.5;
    QPolygonF tip;
    tip << to << QPointF(to.x() - ux * head - uy * half, to.y() - uy * head + ux * half)
        << QPointF(to.x() - ux * head + uy * half, to.y() - uy * head - ux * half);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tip);
}

void Mark(QPainter& p, QPointF at, Ink ink) {
    switch (ink) {
    case Ink::IntegerPoint:
        // A white ring keeps the dots visible on the axes and the lines.
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(kInteger);
        p.drawEllipse(at, 3, 3);
        break;
    case Ink::Vertex:
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(at, 2.8, 2.8);
        break;
    case Ink::PathFeasible:
        p.setPen(QPen(kPath, 1.5));
        p.setBrush(kPath);
        p.drawEllipse(at, 4, 4);
        break;
    case Ink::PathInfeasible:
        p.setPen(QPen(kPath, 1.8));
        p.setBrush(Qt::white);
        p.drawEllipse(at, 4.5, 4.5);
        break;
    case Ink::Optimum:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(kOptimum);
        p.drawEllipse(at, 6, 6);
        break;
    case Ink::IntegerOptimum: {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(kIntegerOptimum);
        QPolygonF d;
        d << QPointF(at.x(), at.y() - 7) << QPointF(at.x() + 7, at.y()) << QPointF(at.x(), at.y() + 7)
          << QPointF(at.x() - 7, at.y());
        p.drawPolygon(d);
        break;
    }
    default:
        break;
    }
}

QPen LinePen(Ink ink, int index) {
    switch (ink) {
    case Ink::Grid:
        return QPen(kGrid, 1);
    case Ink::Axis:
        return QPen(Qt::black, 1.5);
    case Ink::Constraint:
        return QPen(ConstraintColour(index), 1.6);
    case Ink::Hatch: {
        // Hairlines: the painter's fast path for the many short strokes.
        QPen pen(ConstraintColour(index), 1);
        pen.setCosmetic(true);
        return pen;
    }
    case Ink::RegionEdge:
        return QPen(kRegionEdge, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    case Ink::Flat:
        return QPen(kRegionEdge, 5, Qt::SolidLine, Qt::RoundCap);
    case Ink::Level:
        return QPen(kLevel, 1.6, Qt::DashLine);
    case Ink::Optimum:
        return QPen(kOptimum, 4, Qt::SolidLine, Qt::RoundCap);
    case Ink::IntegerPoint:
        return QPen(kInteger, 2.5);
    default:
        return QPen(Qt::black, 1);
    }
}

// Many marks of a kind: drawn once into a small image, then set down as
// copies, which the raster painter does far faster than one antialiased
// ellipse after another. Printers and vector files get every mark drawn.
class MarkStamps {
public:
    explicit MarkStamps(QPainter& p)
        : ratio_(p.device() ? p.device()->devicePixelRatioF() : 1.0),
          raster_(p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster &&
                  p.transform().type() <= QTransform::TxTranslate) {}
    bool usable() const { return raster_; }
    void draw(QPainter& p, QPointF at, Ink ink) {
        QImage& stamp = stamps_[ink];
        if (stamp.isNull()) {
            const int side = static_cast<int>(std::ceil(2 * kReach * ratio_));
            stamp = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            stamp.setDevicePixelRatio(ratio_);
            stamp.fill(Qt::transparent);
            QPainter s(&stamp);
            s.setRenderHint(QPainter::Antialiasing, true);
            Mark(s, QPointF(kReach, kReach), ink);
        }
        p.drawImage(QPointF(at.x() - kReach, at.y() - kReach), stamp);
    }

private:
    static constexpr double kReach = 9; // beyond the largest mark with its pen
    double ratio_;
    bool raster_;
    std::map<Ink, QImage> stamps_;
};

void LegendSample(QPainter& p, const tarvik::lp::PxLegendItem& item) {
    const QRectF r = Box(item.sample);
    const QPointF left(r.left(), r.center().y()), right(r.right(), r.center().y());
    switch (item.ink) {
    case Ink::Region:
        p.setPen(QPen(kRegionEdge, 1.5));
        p.setBrush(kRegionFill);
        p.drawRect(r.adjusted(2, 1, -2, -1));
        break;
    case Ink::Flat:
    case Ink::Level:
    case Ink::Constraint:
        p.setPen(LinePen(item.ink, item.index));
        p.drawLine(left, right);
        break;
    case Ink::Open:
        Arrow(p, left, right, kRegionEdge, 2);
        break;
    case Ink::Improve:
        Arrow(p, left, right, kLevel, 2);
        break;
    case Ink::PathFeasible:
        Arrow(p, left, QPointF(right.x() - 6, right.y()), kPath, 1.5);
        Mark(p, QPointF(left.x() + 4, left.y()), Ink::PathFeasible);
        break;
    default:
        Mark(p, r.center(), item.ink);
        break;
    }
}

} // namespace

GraphicalLayout GraphicalLayoutFor(const GraphicalSolution& solution, QSize size) {
    const QFontMetricsF plain(PictureFont(false)), bold(PictureFont(true));
    return tarvik::lp::LayOutGraphical(solution, size.width(), size.height(),
                                       [&](const std::string& text, bool isBold) {
                                           const QString t = QString::fromStdString(text);
                                           const QFontMetricsF& m = isBold ? bold : plain;
                                           return Px{m.horizontalAdvance(t), m.height()};
                                       });
}

void PaintGraphical(QPainter& p, const GraphicalLayout& g) {
    p.save();
    const QFont plain = PictureFont(false), heavy = PictureFont(true);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(QRectF(0, 0, g.width, g.height), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(kRegionFill);
    for (const std::vector<Px>& fill : g.fills) {
        QPolygonF poly;
        for (const Px& q : fill) poly << At(q);
        p.drawPolygon(poly);
    }
    p.setBrush(Qt::NoBrush);
    // The constraint lines and their hatching are thousands of two-point lines:
    // they go out together, one batch per pen, and beyond a few dozen
    // constraints as hairlines, which the painter draws fastest.
    const auto constraintLines = std::count_if(
        g.lines.begin(), g.lines.end(), [](const tarvik::lp::PxLine& l) { return l.ink == Ink::Constraint; });
    auto pen = [&](Ink ink, int index) {
        QPen pen = LinePen(ink, index);
        if (ink == Ink::Constraint && constraintLines > kThinLines) {
            pen.setWidth(1);
            pen.setCosmetic(true);
        }
        return pen;
    };
    // Lines of one kind follow one another; the constraint lines and their
    // hatching count as one kind, painted in one batch per colour, and beyond
    // a few dozen constraints without antialiasing: a thousand lines across
    // the whole plot take far longer smoothed, and blur into one another anyway.
    auto kind = [](Ink ink) { return ink == Ink::Hatch ? Ink::Constraint : ink; };
    std::map<std::pair<Ink, int>, QList<QLineF>> batches;
    auto flush = [&] {
        for (auto& [key, lines] : batches) {
            const bool crowded = kind(key.first) == Ink::Constraint && constraintLines > kThinLines;
            p.setRenderHint(QPainter::Antialiasing, !crowded);
            p.setPen(pen(key.first, key.second));
            p.drawLines(lines);
        }
        p.setRenderHint(QPainter::Antialiasing, true);
        batches.clear();
    };
    std::optional<Ink> current;
    for (const tarvik::lp::PxLine& line : g.lines) {
        if (current != kind(line.ink)) flush();
        current = kind(line.ink);
        if (line.points.size() == 2) {
            const int colour = kind(line.ink) == Ink::Constraint ? line.index % kPaletteSize : line.index;
            batches[{line.ink, colour}].append(QLineF(At(line.points[0]), At(line.points[1])));
            continue;
        }
        flush();
        p.setPen(pen(line.ink, line.index));
        QPolygonF poly;
        for (const Px& q : line.points) poly << At(q);
        p.drawPolyline(poly);
    }
    flush();
    for (const tarvik::lp::PxArrow& a : g.arrows) {
        const QColor colour = a.ink == Ink::Open ? kRegionEdge : a.ink == Ink::Improve ? kLevel : kPath;
        Arrow(p, At(a.from), At(a.to), colour, a.ink == Ink::Path ? 1.5 : 2.2);
    }
    MarkStamps stamps(p);
    const bool stamped = stamps.usable() && static_cast<long>(g.marks.size()) > kThinLines;
    for (const tarvik::lp::PxMark& m : g.marks) {
        if (stamped)
            stamps.draw(p, At(m.at), m.ink);
        else
            Mark(p, At(m.at), m.ink);
    }
    for (const tarvik::lp::PxLegendItem& item : g.legend) LegendSample(p, item);
    for (const tarvik::lp::PxText& t : g.texts) {
        const QRectF box = Box(t.box);
        QColor colour = Qt::black;
        bool backed = true;
        switch (t.ink) {
        case Ink::Constraint:
            colour = ConstraintColour(t.index).darker(130);
            break;
        case Ink::Path:
            colour = kPath;
            break;
        case Ink::Note:
            colour = kLevel;
            p.setPen(QPen(kLevel, 1));
            p.setBrush(QColor(255, 255, 255, 230));
            p.drawRect(box);
            backed = false;
            break;
        case Ink::Title:
        case Ink::LegendText:
            backed = false;
            break;
        default:
            break;
        }
        if (t.ink == Ink::Text && t.index < 0 && !t.bold) backed = false; // ticks and axis names
        if (backed) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 215));
            p.drawRect(box);
        }
        p.setFont(t.bold ? heavy : plain);
        p.setPen(colour);
        p.drawText(box, Qt::AlignCenter, QString::fromStdString(t.text));
    }
    p.restore();
}

// ---- the picture -----------------------------------------------------------------

TGraphicalPicture::TGraphicalPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GraphicalPicture"));
    setMinimumSize(480, 340);
    DescribePicture(this, QStringLiteral("Graphical solution: no model solved yet"));
}

void TGraphicalPicture::setSolution(std::shared_ptr<const GraphicalSolution> solution) {
    solution_ = std::move(solution);
    stale_ = true;
    DescribePicture(this, solution_ ? QString::fromStdString(tarvik::lp::GraphicalDescription(*solution_))
                                    : QStringLiteral("Graphical solution: no model solved yet"));
    update();
}

const GraphicalLayout& TGraphicalPicture::layout() const {
    if (stale_ || layout_.width != width() || layout_.height != height()) {
        layout_ = solution_ ? GraphicalLayoutFor(*solution_, size()) : GraphicalLayout{};
        stale_ = false;
    }
    return layout_;
}

void TGraphicalPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stale_ = true;
}

void TGraphicalPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!solution_) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    PaintGraphical(p, layout());
}

// ---- the page ----------------------------------------------------------------------

TGraphicalPage::TGraphicalPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GraphicalPage"));
    picture_ = new TGraphicalPicture(this);
    saveButton_ = new QPushButton(QStringLiteral("Save picture\u2026"), this);
    saveButton_->setObjectName(QStringLiteral("SavePictureBtn"));
    printButton_ = new QPushButton(QStringLiteral("Print picture"), this);
    printButton_->setObjectName(QStringLiteral("PrintPictureBtn"));
    connect(saveButton_, &QPushButton::clicked, this, [this] { SavePictureClick(); });
    connect(printButton_, &QPushButton::clicked, this, [this] { PrintPictureClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(printButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(picture_, 1);
    layout->addLayout(buttons);
}

void TGraphicalPage::setSolution(std::shared_ptr<const GraphicalSolution> solution, const QString& name) {
    name_ = name;
    picture_->setSolution(std::move(solution));
    saveButton_->setEnabled(hasSolution());
    printButton_->setEnabled(hasSolution());
}

QSize TGraphicalPage::savedSize() const {
    return picture_->size().expandedTo(QSize(800, 560));
}

void TGraphicalPage::draw(QPainter& painter, QSize size) const {
    if (const GraphicalSolution* s = picture_->solution())
        PaintGraphical(painter, GraphicalLayoutFor(*s, size));
}

QImage TGraphicalPage::image(QSize size) const {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    draw(p, size);
    return img;
}

bool TGraphicalPage::SavePictureClick() {
    if (!hasSolution()) return false;
    FileRequest request;
    request.parent = this;
    request.directory = FileDialogFolder(QStringLiteral("picture:graphical"));
    const QString base = QFileInfo(name_).completeBaseName();
    request.fileName =
        (base.isEmpty() || name_ == QStringLiteral("No name") ? QStringLiteral("graphical") : base) +
        QStringLiteral(".png");
    request.filters = {kPngFilter, kSvgFilter, kPdfPictureFilter};
    request.defaultSuffix = QStringLiteral("png");
    const std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    QString fileName = *chosen;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf"))
        fileName += QStringLiteral(".png");
    RememberFileDialogFolder(QStringLiteral("picture:graphical"), fileName);
    const QSize size = savedSize();
    const bool written = WritePicture(
        image(size), fileName, [this, size](QPainter& p) { draw(p, size); },
        QStringLiteral("Graphical solution"));
    if (!written) {
        MsgDlg(QStringLiteral("Cannot write file ") + fileName, MsgKind::Error, mbOK, 0);
        return false;
    }
    return true;
}

bool TGraphicalPage::PrintPictureClick() {
    if (!hasSolution()) return false;
    const QSize size = savedSize();
    return PrintPicture([this, size](QPainter& p) { draw(p, size); }, size,
                        QStringLiteral("Graphical solution of: ") + name_, this);
}

} // namespace tarvik::ui
