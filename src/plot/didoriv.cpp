#include "plot/didoriv.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace tarvik::plot {
namespace {

QColor ToColor(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Qt::PenStyle ToPen(LineStyle s) {
    switch (s) {
    case LineStyle::Dash:
        return Qt::DashLine;
    case LineStyle::Dot:
        return Qt::DotLine;
    case LineStyle::DashDot:
        return Qt::DashDotLine;
    case LineStyle::DashDotDot:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

constexpr int kChunk = 15000;

} // namespace

TdiDoriv::TdiDoriv(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    resize(200, 200);
    setAutoFillBackground(false);
    setMouseTracking(true);
    // A white panel: the control's colour, which background and margins follow.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    setFont(f);
    TitleFont = f;
    LabelFont = f;
    XAxis.Title = "X axis";
    YAxis.Title = "Y axis";
    YAxis_Second.Title = "Second Y axis";
    YAxis_Second.ShowAxis = false;
    tarvik::ui::DescribePicture(this, Description());
}

TdiDoriv::~TdiDoriv() = default;

void TdiDoriv::SetPlotting(bool on) {
    plotting_ = on;
    update();
}

TSeries& TdiDoriv::Series(int number) {
    auto& slot = series_[number];
    if (!slot) {
        slot = std::make_unique<TSeries>(number);
        slot->DuplicatesAllowed = Appearance.AllowDuplicates;
        slot->onChange = [this] { Changed(); };
    }
    return *slot;
}

void TdiDoriv::SetLimits(TAxis& axis, double min, double max) {
    const bool changed = axis.Min != min || axis.Max != max || axis.AutoSizing;
    axis.Min = min;
    axis.Max = max;
    axis.AutoSizing = false;
    if (changed) Changed();
}

void TdiDoriv::Changed() {
    if (plotting_) update();
}

QString TdiDoriv::Description() const {
    QStringList shown;
    if (plotting_)
        for (const auto& [n, s] : series_)
            if (s->Active && s->Count() > 0)
                shown << QString::fromLatin1(s->Count() == 1 ? "%1: %2 point" : "%1: %2 points")
                             .arg(s->SeriesName.empty() ? QStringLiteral("series %1").arg(n)
                                                        : QString::fromStdString(s->SeriesName))
                             .arg(s->Count());
    QStringList parts;
    parts << QString::fromStdString(Appearance.GraphTitle);
    if (shown.isEmpty()) {
        parts << QStringLiteral("no series drawn");
        return parts.join(QStringLiteral("; "));
    }
    auto range = [](const TAxis& axis) {
        return QStringLiteral("%1 from %2 to %3")
            .arg(QString::fromStdString(axis.Title), QString::fromStdString(FormatGeneral(axis.Min, 4)),
                 QString::fromStdString(FormatGeneral(axis.Max, 4)));
    };
    if (!scalesValid_) {
        parts << QString::fromStdString(Appearance.ErrorCaption);
    } else {
        parts << range(XAxis) << range(YAxis);
        if (YAxis_Second.ShowAxis) parts << range(YAxis_Second);
    }
    parts << QStringLiteral("%1 series (%2)").arg(shown.size()).arg(shown.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral("; "));
}

QRect TdiDoriv::PlotArea() const {
    const auto& d = Dimensions;
    return QRect(d.LeftMargin, d.TopMargin, std::max(1, width() - d.LeftMargin - d.RightMargin),
                 std::max(1, height() - d.TopMargin - d.BottomMargin));
}

void TdiDoriv::CollectRanges() {
    for (TAxis* a : {&XAxis, &YAxis, &YAxis_Second}) a->hasData = false;
    if (!plotting_) return;
    for (const auto& [n, s] : series_) {
        if (!s->Active) continue;
        double xl, xh, yl, yh;
        if (!s->XRange(xl, xh) || !s->YRange(yl, yh)) continue;
        TAxis& ya = s->YAxisIndex == 2 ? YAxis_Second : YAxis;
        for (auto [axis, lo, hi] : {std::tuple{&XAxis, xl, xh}, std::tuple{&ya, yl, yh}}) {
            if (!axis->hasData) {
                axis->hasData = true;
                axis->dataMin = lo;
                axis->dataMax = hi;
            } else {
                axis->dataMin = std::min(axis->dataMin, lo);
                axis->dataMax = std::max(axis->dataMax, hi);
            }
        }
    }
}

void TdiDoriv::PrepareAxis(TAxis& axis, int length, std::string& error) {
    error.clear();
    try {
        if (axis.AutoSizing) AutoScale(axis, Appearance.MinSteps, Appearance.MaxSteps);
    } catch (const PlotError&) {
        axis.valid = false;
        error = Appearance.ErrorCaption;
        return;
    }
    if (!ComputeFactor(axis, length)) error = Appearance.ErrorCaption;
}

void TdiDoriv::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    PaintGraph(p);
    if (drag_ == Drag::Zoom) {
        p.setBrush(Qt::NoBrush);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.drawRect(QRect(pressPos_, currentPos_).normalized());
    }
}

void TdiDoriv::PaintGraph(QPainter& p) {
    const QRect area = PlotArea();
    CollectRanges();
    std::string xError, yError, y2Error;
    PrepareAxis(XAxis, area.width(), xError);
    PrepareAxis(YAxis, area.height(), yError);
    if (YAxis_Second.ShowAxis) PrepareAxis(YAxis_Second, area.height(), y2Error);
    scalesValid_ = xError.empty() && yError.empty();
    tarvik::ui::DescribePicture(this, Description());

    const QColor margin =
        Appearance.UseControlColor ? palette().color(QPalette::Window) : ToColor(Appearance.MarginColor);
    const QColor background =
        Appearance.UseControlColor ? palette().color(QPalette::Window) : ToColor(Appearance.BackgroundColor);
    p.fillRect(rect().adjusted(1, 1, -1, -1), margin);
    p.fillRect(area, background);
    try {
        DrawXAxis(p, xError);
        DrawYAxis(p, yError);
    } catch (const PlotError&) {
        scalesValid_ = false; // a tick step that cannot be built
    }
    if (Appearance.ShowGraphLabels) {
        p.setFont(TitleFont);
        p.setPen(ToColor(Appearance.AxesColor));
        const QFontMetrics fm(TitleFont);
        const QString title = QString::fromStdString(Appearance.GraphTitle);
        const int y = area.top() - Dimensions.GraphTitleOffset;
        p.drawText(area.left() + (area.width() - fm.horizontalAdvance(title)) / 2, y - fm.descent(), title);
    }
    if (!scalesValid_) return;
    if (Appearance.CrossAtZero && !XAxis.LogScale && !YAxis.LogScale) {
        p.save();
        p.setClipRect(area);
        p.setPen(ToColor(Appearance.CrossColor));
        const int x0 = XPixel(XAxis, 0, area.left()), y0 = YPixel(YAxis, 0, area.top());
        const int l = Appearance.Crosslength;
        p.drawLine(x0 - l, y0, x0 + l, y0);
        p.drawLine(x0, y0 - l, x0, y0 + l);
        p.restore();
    }
    if (!plotting_) return;
    for (const auto& [n, s] : series_) DrawSeries(p, *s);
}

void TdiDoriv::DrawXAxis(QPainter& p, const std::string& error) {
    if (!XAxis.ShowAxis) return;
    const QRect area = PlotArea();
    const auto& d = Dimensions;
    const QFontMetrics lm(LabelFont);
    // The line lies at the Y value the offset type names.
    int y = area.bottom() + 1;
    if (YAxis.valid) {
        double at = YAxis.Min;
        switch (XAxis.OffsetType) {
        case AxisOffset::ao_Minimum:
            at = YAxis.Min;
            break;
        case AxisOffset::ao_Maximum:
            at = YAxis.Max;
            break;
        case AxisOffset::ao_percentage:
            at = YAxis.Min + (YAxis.Max - YAxis.Min) * XAxis.Offset / 100;
            break;
        case AxisOffset::ao_absolute:
            at = XAxis.Offset;
            break;
        }
        if (!YAxis.LogScale || at > 0) y = YPixel(YAxis, at, area.top());
    }
    if (error.empty() && XAxis.valid) {
        const auto ticks = Ticks(XAxis, Appearance.MinSteps, Appearance.MaxSteps);
        p.setFont(LabelFont);
        for (const Tick& t : ticks) {
            const int x = XPixel(XAxis, t.value, area.left());
            if (x < area.left() - 1 || x > area.right() + 2) continue;
            if (XAxis.Gridlines) {
                p.setPen(QPen(ToColor(Appearance.GridColor), 0,
                              Appearance.Grid == GridStyle::Dot ? Qt::DotLine : Qt::SolidLine));
                p.drawLine(x, area.top(), x, area.bottom());
            }
            p.setPen(ToColor(Appearance.AxesColor));
            if (Appearance.ShowTicks) p.drawLine(x, y, x, y + d.TickLength);
            if (t.labelled) {
                const QString s = QString::fromStdString(t.label);
                p.drawText(x - lm.horizontalAdvance(s) / 2,
                           y + d.TickLength + d.XAxisLabelOffset + lm.ascent(), s);
            }
        }
    }
    p.setPen(ToColor(Appearance.AxesColor));
    p.drawLine(area.left(), y, area.right() + 1, y);
    if (!Appearance.ShowGraphLabels && error.empty()) return;
    p.setFont(TitleFont);
    const QFontMetrics tm(TitleFont);
    const QString title = QString::fromStdString(error.empty() ? XAxis.Title : error);
    const int ty = y + d.TickLength + d.XAxisTitleOffset + lm.height() + tm.ascent();
    p.drawText(area.left() + (area.width() - tm.horizontalAdvance(title)) / 2, ty, title);
}

void TdiDoriv::DrawYAxis(QPainter& p, const std::string& error) {
    if (!YAxis.ShowAxis) return;
    const QRect area = PlotArea();
    const auto& d = Dimensions;
    const QFontMetrics lm(LabelFont);
    int x = area.left();
    if (XAxis.valid) {
        double at = XAxis.Min;
        switch (YAxis.OffsetType) {
        case AxisOffset::ao_Minimum:
            at = XAxis.Min;
            break;
        case AxisOffset::ao_Maximum:
            at = XAxis.Max;
            break;
        case AxisOffset::ao_percentage:
            at = XAxis.Min + (XAxis.Max - XAxis.Min) * YAxis.Offset / 100;
            break;
        case AxisOffset::ao_absolute:
            at = YAxis.Offset;
            break;
        }
        if (!XAxis.LogScale || at > 0) x = XPixel(XAxis, at, area.left());
    }
    int widest = 0;
    if (error.empty() && YAxis.valid) {
        const auto ticks = Ticks(YAxis, Appearance.MinSteps, Appearance.MaxSteps);
        p.setFont(LabelFont);
        for (const Tick& t : ticks) {
            const int y = YPixel(YAxis, t.value, area.top());
            if (y < area.top() - 2 || y > area.bottom() + 1) continue;
            if (YAxis.Gridlines) {
                p.setPen(QPen(ToColor(Appearance.GridColor), 0,
                              Appearance.Grid == GridStyle::Dot ? Qt::DotLine : Qt::SolidLine));
                p.drawLine(area.left(), y, area.right(), y);
            }
            p.setPen(ToColor(Appearance.AxesColor));
            if (Appearance.ShowTicks) p.drawLine(x - d.TickLength, y, x, y);
            if (t.labelled) {
                const QString s = QString::fromStdString(t.label);
                const int w = lm.horizontalAdvance(s);
                widest = std::max(widest, w);
                p.drawText(x - d.TickLength - d.YAxisLabelOffset - w, y + lm.ascent() / 2, s);
            }
        }
    }
    p.setPen(ToColor(Appearance.AxesColor));
    p.drawLine(x, area.top(), x, area.bottom() + 1);
    if (!Appearance.ShowGraphLabels && error.empty()) return;
    p.setFont(TitleFont);
    const QFontMetrics tm(TitleFont);
    const QString title = QString::fromStdString(error.empty() ? YAxis.Title : error);
    // Turned a quarter to the left, beyond the labels (kept inside the control).
    const int tx = std::max(tm.ascent(), x - d.TickLength - d.YAxisLabelOffset - widest - d.YAxisTitleOffset);
    p.save();
    p.translate(tx, area.top() + (area.height() + tm.horizontalAdvance(title)) / 2);
    p.rotate(-90);
    p.drawText(0, 0, title);
    p.restore();
}

void TdiDoriv::DrawSeries(QPainter& p, const TSeries& s) {
    if (!s.Active || s.Count() == 0) return;
    const TAxis& ya = s.YAxisIndex == 2 ? YAxis_Second : YAxis;
    if (!ya.valid || !XAxis.valid) return;
    const auto& pts = s.Points();
    if (XAxis.LogScale && std::any_of(pts.begin(), pts.end(), [](const SeriesPoint& q) { return q.x <= 0; }))
        return;
    const double zero = s.ZeroValue;
    if (ya.LogScale &&
        std::any_of(pts.begin(), pts.end(), [zero](const SeriesPoint& q) { return q.y - zero <= 0; }))
        return;
    const QRect area = PlotArea();
    static thread_local std::vector<QPoint> buffer;
    buffer.clear();
    buffer.reserve(pts.size());
    for (const SeriesPoint& q : pts)
        buffer.emplace_back(XPixel(XAxis, q.x, area.left()), YPixel(ya, q.y - zero, area.top()));
    if (s.ShowLine && buffer.size() > 1) {
        p.save();
        if (!Appearance.PlotOffGraph) p.setClipRect(area.adjusted(0, 0, 1, 1));
        p.setPen(QPen(ToColor(s.LineColor), 1, ToPen(s.Style)));
        // Handed over in chunks that share their end points.
        for (std::size_t start = 0; start + 1 < buffer.size(); start += kChunk - 1) {
            const std::size_t n = std::min<std::size_t>(kChunk, buffer.size() - start);
            p.drawPolyline(buffer.data() + start, static_cast<int>(n));
        }
        p.restore();
    }
    if (s.ShowPoints) {
        const int h = s.PointSize() / 2;
        const QColor pc = ToColor(s.PointColor);
        p.setPen(QPen(pc, 1));
        p.setBrush(s.FillPoints ? QBrush(pc) : QBrush(palette().color(QPalette::Window)));
        for (const QPoint& q : buffer) {
            const int x = q.x(), y = q.y();
            switch (s.Shape) {
            case PointShape::Square: {
                const QPoint poly[4] = {{x - h, y - h}, {x + h, y - h}, {x + h, y + h}, {x - h, y + h}};
                p.drawPolygon(poly, 4);
                break;
            }
            case PointShape::Circle:
                p.drawEllipse(QRect(x - h, y - h, 2 * h, 2 * h));
                break;
            case PointShape::Diamond: {
                const QPoint poly[4] = {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
                p.drawPolygon(poly, 4);
                break;
            }
            case PointShape::Cross:
                p.drawLine(x - h, y, x + h, y);
                p.drawLine(x, y - h, x, y + h);
                break;
            }
        }
        p.setBrush(Qt::NoBrush);
    }
}

void TdiDoriv::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    const auto mods = event->modifiers();
    if (mods & Qt::ShiftModifier) {
        RememberAxes(zoom_, {&XAxis, &YAxis, &YAxis_Second});
        drag_ = Drag::Zoom;
        pressPos_ = currentPos_ = pos;
        update();
        return;
    }
    if (mods & Qt::ControlModifier) return; // no designer in this program
    if (!DragAllowed) return;
    const auto& d = Dimensions;
    pressGlobal_ = event->globalPosition().toPoint();
    startGeometry_ = geometry();
    if (pos.x() >= width() - d.RightMargin && pos.y() >= height() - d.BottomMargin)
        drag_ = Drag::Resize;
    else if (pos.x() < d.LeftMargin && pos.y() < d.TopMargin)
        drag_ = Drag::Move;
}

void TdiDoriv::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const auto& d = Dimensions;
    switch (drag_) {
    case Drag::Zoom:
        currentPos_ = pos;
        update();
        return;
    case Drag::Move:
        move(startGeometry_.topLeft() + event->globalPosition().toPoint() - pressGlobal_);
        return;
    case Drag::Resize: {
        const QPoint delta = event->globalPosition().toPoint() - pressGlobal_;
        resize(std::max(60, startGeometry_.width() + delta.x()),
               std::max(60, startGeometry_.height() + delta.y()));
        return;
    }
    case Drag::None:
        break;
    }
    if (DragAllowed && pos.x() >= width() - d.RightMargin && pos.y() >= height() - d.BottomMargin)
        setCursor(Qt::SizeFDiagCursor);
    else if (DragAllowed && pos.x() < d.LeftMargin && pos.y() < d.TopMargin)
        setCursor(Qt::SizeAllCursor);
    else
        unsetCursor();
}

void TdiDoriv::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ == Drag::Zoom) {
        drag_ = Drag::None;
        const QRect r = QRect(pressPos_, event->position().toPoint()).normalized();
        plotting_ = false;
        ApplyZoom(zoom_, {&XAxis, &YAxis, &YAxis_Second}, r.left(), r.top(), r.right(), r.bottom(),
                  Dimensions.LeftMargin, Dimensions.TopMargin);
        SetPlotting(true);
        return;
    }
    drag_ = Drag::None;
    QFrame::mouseReleaseEvent(event);
}

} // namespace tarvik::plot
