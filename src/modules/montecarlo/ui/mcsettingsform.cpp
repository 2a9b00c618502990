#include "modules/montecarlo/ui/mcsettingsform.h"

#include <QLabel>

namespace tarvik::montecarlo::ui {

QWidget* PlaceRow(QWidget* parent, const char* label, int labelX, const char* name, QRect at,
                  const SpinLimits* limits, int step, bool readOnly, const char* unit, int unitX,
                  QColor focus, QLabel** labelOut) {
    if (label) *labelOut = PlaceLabel(parent, QString::fromUtf8(label), labelX, at.y() + 4);
    QWidget* field = nullptr;
    if (limits) {
        auto* spin = new TMCSpinEdit(*limits, parent);
        spin->setObjectName(QString::fromLatin1(name));
        if (step != 1) spin->setSingleStep(step);
        spin->setGeometry(at);
        // The spin field is yellow with the focus from the start.
        if (focus != QColor(Qt::yellow)) ColourOnFocus(spin, focus);
        field = spin;
    } else if (readOnly) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setGeometry(at);
        field = e;
    } else if (name) {
        auto* e = PlaceField(parent, name, at.x(), at.y(), at.width());
        if (focus != QColor(Qt::yellow)) ColourOnFocus(e, focus);
        field = e;
    }
    if (unit) PlaceLabel(parent, QString::fromUtf8(unit), unitX, at.y() + 4);
    return field;
}

} // namespace tarvik::montecarlo::ui
