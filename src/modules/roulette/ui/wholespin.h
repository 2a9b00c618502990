#pragma once
// A whole-number field with up and down arrows. The arrows stay within the
// field's range; a typed value is kept as typed until the field loses the
// focus, when it is brought to the nearest bound. Its value is the number
// typed, or the lower bound when the text is no whole number.
#include <QAbstractSpinBox>

namespace tarvik::roulette::ui {

class TWholeSpin : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TWholeSpin(int minimum, int maximum, int value, QWidget* parent = nullptr);

    // The value as read (not clamped).
    long long Value() const;
    void setValue(long long value);
    void setRange(int minimum, int maximum);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    // What losing the focus does: the value brought within the range.
    void Clamp();

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    // Every change of the text, typed or set.
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int min_;
    int max_;
};

} // namespace tarvik::roulette::ui
