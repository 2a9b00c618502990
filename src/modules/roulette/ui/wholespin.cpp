#include "modules/roulette/ui/wholespin.h"

#include "modules/roulette/strategy.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

namespace tarvik::roulette::ui {

TWholeSpin::TWholeSpin(int minimum, int maximum, int value, QWidget* parent)
    : QAbstractSpinBox(parent), min_(minimum), max_(maximum) {
    setValue(value);
    setAccelerated(true);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit changed(); });
}

long long TWholeSpin::Value() const {
    return ReadWholeNumber(lineEdit()->text().toStdString(), min_);
}

void TWholeSpin::setValue(long long value) {
    const QString text = QString::number(value);
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void TWholeSpin::setRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = maximum;
}

void TWholeSpin::Clamp() {
    const long long v = std::clamp<long long>(Value(), min_, max_);
    setValue(v);
}

void TWholeSpin::stepBy(int steps) {
    setValue(std::clamp<long long>(Value() + steps, min_, max_));
    selectAll();
}

QValidator::State TWholeSpin::validate(QString& input, int&) const {
    // Digits with an optional sign, of any length: what cannot be read as a
    // number reads as the lower bound.
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]*$"));
    return digits.match(input.trimmed()).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled TWholeSpin::stepEnabled() const {
    StepEnabled e = StepNone;
    const long long v = Value();
    if (v < max_) e |= StepUpEnabled;
    if (v > min_) e |= StepDownEnabled;
    return e;
}

void TWholeSpin::focusOutEvent(QFocusEvent* event) {
    Clamp();
    QAbstractSpinBox::focusOutEvent(event);
}

} // namespace tarvik::roulette::ui
