#include "modules/simulation/ui/simfields.h"

#include "modules/simulation/simchecks.h"

#include <QEvent>
#include <QPalette>

namespace tarvik::simulation::ui {
namespace {

class YellowFocus : public QObject {
public:
    explicit YellowFocus(QLineEdit* field) : QObject(field), normal_(field->palette().color(QPalette::Base)) {
        field->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            auto* field = static_cast<QLineEdit*>(watched);
            QPalette pal = field->palette();
            pal.setColor(QPalette::Base, event->type() == QEvent::FocusIn ? QColor(Qt::yellow) : normal_);
            field->setPalette(pal);
        }
        return false;
    }

private:
    QColor normal_;
};

} // namespace

void YellowWhileFocused(QLineEdit* field) {
    new YellowFocus(field);
}

TWholeEdit::TWholeEdit(long long lo, long long hi, QWidget* parent) : QLineEdit(parent), lo_(lo), hi_(hi) {
    setMaxLength(12);
    YellowWhileFocused(this);
}

long long TWholeEdit::value() const {
    return ReadWholeNumber(text().toStdString(), lo_, hi_);
}

void TWholeEdit::setValue(long long v) {
    setText(QString::number(v < lo_ ? lo_ : (v > hi_ ? hi_ : v)));
}

void TWholeEdit::clampText() {
    const QString t = QString::number(value());
    if (t != text()) setText(t);
}

void TWholeEdit::focusOutEvent(QFocusEvent* event) {
    clampText();
    QLineEdit::focusOutEvent(event);
}

} // namespace tarvik::simulation::ui
