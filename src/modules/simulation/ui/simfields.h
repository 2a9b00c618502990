#pragma once
// Input fields of the simulation's settings dialogs: text fields that turn
// yellow while they have the focus, and whole-number fields that bring a value
// outside their range to the nearest bound when they lose the focus.
#include <QLineEdit>
#include <QObject>

namespace tarvik::simulation::ui {

// Makes `field` yellow while it has the focus.
void YellowWhileFocused(QLineEdit* field);

class TWholeEdit : public QLineEdit {
    Q_OBJECT
public:
    TWholeEdit(long long lo, long long hi, QWidget* parent = nullptr);
    // The field's number: clamped to the range, the lower bound for a text that
    // is not a whole number.
    long long value() const;
    void setValue(long long v);
    // Writes the clamped value back into the field.
    void clampText();
    long long minimum() const { return lo_; }
    long long maximum() const { return hi_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    long long lo_, hi_;
};

} // namespace tarvik::simulation::ui
