#include "common/ui/numberfields.h"

#include "common/numparse.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

namespace tarvik::ui {
namespace {

int beeps = 0;

// The hint label of `window`, made on first use; it goes when the focus moves
// or its time is up.
QLabel* HintLabel(QWidget* window) {
    auto* label = window->findChild<QLabel*>(QStringLiteral("DecimalMarkHint"), Qt::FindDirectChildrenOnly);
    if (label) return label;
    label = new QLabel(window);
    label->setObjectName(QStringLiteral("DecimalMarkHint"));
    label->setFrameShape(QFrame::Box);
    label->setMargin(2);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    label->setPalette(pal);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* timer = new QTimer(label);
    timer->setObjectName(QStringLiteral("HintTimer"));
    timer->setSingleShot(true);
    timer->setInterval(5000);
    QObject::connect(timer, &QTimer::timeout, label, &QLabel::hide);
    QObject::connect(qApp, &QApplication::focusChanged, label, [label] { label->hide(); });
    return label;
}

void ShowHint(QLineEdit* field) {
    QWidget* window = field->window();
    if (!window || window == field) return;
    QLabel* label = HintLabel(window);
    label->setText(DecimalMarkHint());
    label->adjustSize();
    // Below the field, or above it where the window ends first; never past
    // the window's right edge.
    const QRect f(field->mapTo(window, QPoint(0, 0)), field->size());
    QPoint at(f.left(), f.bottom() + 2);
    if (at.y() + label->height() > window->height()) at.setY(f.top() - label->height() - 2);
    at.setX(std::max(0, std::min(at.x(), window->width() - label->width())));
    label->move(at);
    label->raise();
    label->show();
    label->findChild<QTimer*>(QStringLiteral("HintTimer"))->start();
}

} // namespace

TBoundedSpin::TBoundedSpin(int minimum, int maximum, int value, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(value);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int TBoundedSpin::commit() {
    interpretText();
    return value();
}

QValidator::State TBoundedSpin::validate(QString& text, int&) const {
    if (text.size() > 12) return QValidator::Invalid;
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok && v >= minimum() && v <= maximum()) return QValidator::Acceptable;
    return QValidator::Intermediate;
}

void TBoundedSpin::fixup(QString& text) const {
    text = QString::number(ClampWholeText(text.toStdString(), minimum(), maximum()));
}

int TBoundedSpin::valueFromText(const QString& text) const {
    return ClampWholeText(text.toStdString(), minimum(), maximum());
}

void CharactersRefused(QLineEdit* field, const std::string& typed, const std::string& kept, bool decimals) {
    ++beeps;
    QApplication::beep();
    if (decimals && DropsDecimalComma(typed, kept)) ShowHint(field);
}

QString DecimalMarkHint() {
    return QStringLiteral("The decimal mark is \".\"");
}

int RefusalBeeps() {
    return beeps;
}

void KeepUnsignedReal(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textChanged, field, [field] {
        // One byte per character, so that the caret positions carry over; a
        // character outside ASCII becomes one the filter always removes.
        const QString text = field->text();
        std::string bytes;
        bytes.reserve(text.size());
        for (QChar c : text) bytes.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01');
        const FilteredText f = FilterRealText(bytes, field->cursorPosition(), kUnsignedRealChars);
        if (!f.changed) return;
        field->setText(QString::fromLatin1(f.text.data(), static_cast<qsizetype>(f.text.size())));
        field->setCursorPosition(f.caret);
        CharactersRefused(field, bytes, f.text);
    });
}

} // namespace tarvik::ui
