#include "modules/queue/ui/queuewidgets.h"

#include "common/ui/numberfields.h"
#include "modules/queue/queuenum.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik::queue::ui {

TQueueEdit::TQueueEdit(const QString& name, bool integer, QWidget* parent)
    : QLineEdit(parent), integer_(integer) {
    setObjectName(name);
    connect(this, &QLineEdit::textChanged, this, &TQueueEdit::filter);
}

void TQueueEdit::filter() {
    if (filtering_) return;
    const std::string typed = text().toStdString();
    const FieldText f = FilterFieldText(typed, cursorPosition(), integer_);
    if (!f.changed) return;
    filtering_ = true;
    setText(QString::fromStdString(f.text));
    setCursorPosition(f.caret);
    filtering_ = false;
    tarvik::ui::CharactersRefused(this, typed, f.text, !integer_);
}

void TQueueEdit::focusInEvent(QFocusEvent* event) {
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::yellow);
    setPalette(p);
    QLineEdit::focusInEvent(event);
}

void TQueueEdit::focusOutEvent(QFocusEvent* event) {
    setPalette(QPalette());
    QLineEdit::focusOutEvent(event);
}

TRadioGroup::TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                         QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    setObjectName(name);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 4, 8, 4);
    column->setSpacing(1);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(name + QString::number(i));
        group_->addButton(b, i);
        column->addWidget(b);
        b->installEventFilter(this);
        buttons_.push_back(b);
    }
    if (!buttons_.empty()) buttons_.front()->setChecked(true);
    connect(group_, &QButtonGroup::idClicked, this, &TRadioGroup::clicked);
}

int TRadioGroup::itemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
    if (index < 0 || index >= count()) return;
    buttons_[static_cast<std::size_t>(index)]->setChecked(true);
    emit clicked(index);
}

bool TRadioGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) emit focused();
    return QGroupBox::eventFilter(watched, event);
}

} // namespace tarvik::queue::ui
