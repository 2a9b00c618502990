#include "modules/tables/ui/tabellengrafiek.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "modules/tables/ui/tablesgraph.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>

namespace tarvik::tables {
namespace {

QLine ToLine(const GraphSegment& s) {
    return QLine(s.x1, s.y1, s.x2, s.y2);
}

} // namespace

TTabellenGrafiek::TTabellenGrafiek(QWidget* owner) : QWidget(owner) {
    tarvik::ui::SetHelpContext(this, 4);
    setObjectName(QStringLiteral("TTabellenGrafiek"));
    tarvik::ui::MakeStayOnTopTool(this);
    setFixedSize(kGraphWidth, kGraphHeight);
    setWindowTitle(QStringLiteral("Graph"));
    SluitBtn = new QPushButton(QStringLiteral("Close"), this);
    SluitBtn->setObjectName(QStringLiteral("SluitBtn"));
    SluitBtn->setGeometry(385, 62, 75, 25);
    connect(SluitBtn, &QPushButton::clicked, this, &QWidget::hide);
    tarvik::ui::DescribePicture(this, QStringLiteral("Graph: no distribution drawn yet"));
}

void TTabellenGrafiek::setGraph(GraphData data) {
    data_ = std::move(data);
    setWindowTitle(QString::fromStdString(data_.caption));
    tarvik::ui::DescribePicture(
        this, QStringLiteral("%1: %2 (red) against the normal distribution with the same mean and standard "
                             "deviation (green), x from %3 to %4, highest value %5; %6, %7, %8")
                  .arg(QString::fromStdString(data_.caption), QString::fromStdString(data_.name),
                       QString::fromStdString(FormatGeneral(data_.xmin, 4)),
                       QString::fromStdString(FormatGeneral(data_.xmax, 4)),
                       QString::fromStdString(FormatGeneral(data_.ymax, 4)),
                       QString::fromStdString(data_.moments.muText),
                       QString::fromStdString(data_.moments.sigmaText),
                       QString::fromStdString(data_.moments.skewnessText)));
    update();
}

void TTabellenGrafiek::Paint(QPainter& painter, const GraphData& data) {
    painter.fillRect(0, 0, kGraphWidth, kGraphHeight, Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    painter.setFont(font);

    // The legend at the top left and the moments at the top right.
    painter.setPen(QPen(Qt::red, 1));
    painter.drawLine(8, 12, 38, 12);
    painter.setPen(QPen(Qt::darkGreen, 1));
    painter.drawLine(8, 28, 38, 28);
    painter.setPen(Qt::black);
    painter.drawText(QRect(44, 4, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(data.name));
    painter.drawText(QRect(44, 20, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Normal distribution"));
    const std::string captions[3] = {data.moments.muText, data.moments.sigmaText, data.moments.skewnessText};
    for (int i = 0; i < 3; ++i)
        painter.drawText(QRect(355, 4 + 16 * i, 120, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(captions[i]));

    if (!data.values.empty() && data.ymax > 0) {
        const GraphPicture picture = LayOutGraph(data);
        painter.setPen(QPen(Qt::red, 1));
        for (const GraphSegment& s : picture.curve) painter.drawLine(ToLine(s));
        for (const GraphSegment& s : picture.bars) painter.drawLine(ToLine(s));
        if (picture.zeroLine) {
            painter.setPen(QPen(Qt::black, 2));
            painter.drawLine(ToLine(*picture.zeroLine));
        }
        painter.setPen(QPen(Qt::darkGreen, 1));
        for (const GraphSegment& s : picture.normal) painter.drawLine(ToLine(s));
    }

    // The x axis with its ticks.
    painter.fillRect(kAxisLeft, kAxisRow, kAxisRight - kAxisLeft + 1, 2, Qt::black);
    painter.setPen(QPen(Qt::black, 1));
    const QString labels[5] = {QStringLiteral("\u03bc-2\u03c3"), QStringLiteral("\u03bc-\u03c3"),
                               QStringLiteral("\u03bc"), QStringLiteral("\u03bc+\u03c3"),
                               QStringLiteral("\u03bc+2\u03c3")};
    for (int i = 0; i < 5; ++i) {
        const int x = kTickColumns[i];
        painter.drawLine(x, kAxisRow + 2, x, kAxisRow + 6);
        painter.drawText(QRect(x - 30, kAxisRow + 7, 60, 16), Qt::AlignHCenter | Qt::AlignTop, labels[i]);
    }
}

QImage TTabellenGrafiek::picture() const {
    QImage image(kGraphWidth, kGraphHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    Paint(painter, data_);
    return image;
}

void TTabellenGrafiek::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, data_);
}

} // namespace tarvik::tables
