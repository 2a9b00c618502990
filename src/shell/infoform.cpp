#include "shell/infoform.h"

#include "shell/jpegimage.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace tarvik::shell {
namespace {

int gInstances = 0;

const char* const kNotice[3] = {
    "Operations research and probability, computed and shown",
    "Choose a module from the toolbar or the Modules menu",
    "Help explains every window (F1)",
};

// Text twice: black shifted by d, then yellow in place.
void ShadowText(QPainter& p, int x, int y, int d, const QString& text) {
    const int ascent = p.fontMetrics().ascent();
    p.setPen(Qt::black);
    p.drawText(x + d, y + d + ascent, text);
    p.setPen(Qt::yellow);
    p.drawText(x, y + ascent, text);
}

QFont ArialAt(double size, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(std::max(1, static_cast<int>(std::lround(size))));
    f.setBold(bold);
    return f;
}

} // namespace

TInfoForm::TInfoForm(QWidget* parent) : QWidget(parent) {
    ++gInstances;
    setObjectName(QStringLiteral("InfoForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(128, 0, 0)); // maroon
    setPalette(pal);
    setAutoFillBackground(true);
    QFile f(QStringLiteral(":/assets/welcome.jpg"));
    if (f.open(QIODevice::ReadOnly)) picture_ = DecodeJpeg(f.readAll());
}

TInfoForm::~TInfoForm() {
    --gInstances;
}

int TInfoForm::InstanceCount() {
    return gInstances;
}

void TInfoForm::paintOn(QPainter& p, const QSize& client) const {
    const int w = client.width();
    const int h = client.height();
    p.fillRect(QRect(QPoint(0, 0), client), QColor(128, 0, 0));
    if (!picture_.isNull()) p.drawImage(QRect(0, 0, w, h), picture_);
    const double s = w / 800.0;
    p.setBackgroundMode(Qt::TransparentMode);

    p.setFont(ArialAt(60 * s, true));
    const QString name = QStringLiteral("TARVIK");
    const int nameWidth = p.fontMetrics().horizontalAdvance(name);
    const int nameHeight = QFontMetrics(ArialAt(60 * s, true)).height();
    const int d = std::max(1, nameWidth / 200);
    ShadowText(p, (w - nameWidth) / 2, h / 4, d, name);

    p.setFont(ArialAt(40 * s, false));
    const QString year = QStringLiteral("2000");
    const int yearHeight = p.fontMetrics().height();
    ShadowText(p, (w + nameWidth) / 2, h / 4 + nameHeight - yearHeight - 10, d, year);

    p.setFont(ArialAt(12 * s, false));
    for (int i = 0; i < 3; ++i) {
        const QString line = QString::fromLatin1(kNotice[i]);
        const int lw = p.fontMetrics().horizontalAdvance(line);
        ShadowText(p, (w - lw) / 2, h * (6 + i) / 10, 1, line);
    }
}

void TInfoForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintOn(p, size());
    p.end();
    emit painted();
}

} // namespace tarvik::shell
