#pragma once
// The input controls of the queue pages: numeric fields that filter what is
// typed and turn yellow while they have the focus, and radio groups.
#include <QGroupBox>
#include <QLineEdit>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace tarvik::queue::ui {

class TQueueEdit : public QLineEdit {
    Q_OBJECT
public:
    TQueueEdit(const QString& name, bool integer, QWidget* parent = nullptr);
    bool isInteger() const { return integer_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void filter();
    bool integer_;
    bool filtering_ = false;
};

// A group box of radio buttons with an item index, as the pages' choices.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                QWidget* parent = nullptr);
    int itemIndex() const;
    // Checks an item and runs the group's click handlers.
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
    int count() const { return static_cast<int>(buttons_.size()); }

signals:
    void clicked(int index);
    // One of the buttons received the input focus.
    void focused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

} // namespace tarvik::queue::ui
