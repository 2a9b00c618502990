#pragma once
// Number fields as every module has them: the whole-number field with limits,
// and what a real-number field does when its filter refuses what was typed.
#include <QSpinBox>
#include <string>

class QLineEdit;

namespace tarvik::ui {

// A whole-number field with limits: any number may be typed; when the field
// is left, Enter is pressed or the value is read with `commit`, a value beyond
// a limit becomes the nearest limit, which the field then shows, and a text
// that is no whole number the lower limit.
class TBoundedSpin : public QSpinBox {
    Q_OBJECT
public:
    TBoundedSpin(int minimum, int maximum, int value, QWidget* parent = nullptr);
    // The value with the typed text applied (as leaving the field applies it).
    int commit();

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
    int valueFromText(const QString& text) const override;
};

// For a number field whose filter has just turned `typed` into `kept`: beeps
// for the refused characters and, in a field that takes a decimal point
// (`decimals`) where a comma typed as decimal mark was dropped, so that the
// field now holds another number, shows the hint `DecimalMarkHint` below the
// field for a few seconds.
void CharactersRefused(QLineEdit* field, const std::string& typed, const std::string& kept,
                       bool decimals = true);
// Keeps `field`, as it is typed in, to what `FilterRealText` lets stand of an
// unsigned real number, with `CharactersRefused` for what it drops.
void KeepUnsignedReal(QLineEdit* field);
// The hint's text.
QString DecimalMarkHint();
// The beeps `CharactersRefused` has given so far.
int RefusalBeeps();

} // namespace tarvik::ui
