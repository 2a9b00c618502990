#pragma once
// Pieces the dialogs and windows of every module share.
#include <QGroupBox>
#include <QString>
#include <QVBoxLayout>
#include <initializer_list>
#include <span>

class QBoxLayout;
class QDialog;
class QGridLayout;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tarvik::ui {

// The confirming button (`okName`, the default button) and "Previous"
// ("TerugBtn", which Enter never presses), at the bottom right of `layout`.
struct DialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* back = nullptr;
};
DialogButtons AddDialogButtons(QDialog* dialog, QBoxLayout* layout, const QString& okCaption,
                               const QString& okName = QStringLiteral("OKBtn"));

// For the key handling of a dialog without a Cancel button: Escape is taken
// and does nothing (true); any other key is left to the dialog (false).
bool SwallowEscape(QKeyEvent* event);

// Shows `window` in front of the others, with the input focus.
void ShowInFront(QWidget* window);

// One button of a `ChoiceColumn`: the member that keeps it, its text and its
// object name.
template <class Button> struct Choice {
    Button** field;
    const char* text;
    const char* name;
};

// A group box titled `title`, named `name`, in `parent`, holding a new button
// of type `Button` (radio button, check box) for each of `choices`, one below
// the other in the order given.
template <class Button>
QGroupBox* ChoiceColumn(QWidget* parent, const QString& title, const QString& name,
                        std::initializer_list<Choice<Button>> choices) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    auto* layout = new QVBoxLayout(group);
    for (const Choice<Button>& c : choices) {
        auto* button = new Button(QString::fromUtf8(c.text), group);
        button->setObjectName(QString::fromLatin1(c.name));
        layout->addWidget(button);
        *c.field = button;
    }
    return group;
}

// The probability fields of a die, "PEdit1" to "PEdit6", each after its label
// "P(X=j) =", three rows of two label-field pairs in `grid`, in `parent`.
void AddProbabilityFields(QGridLayout* grid, QWidget* parent, std::span<QLineEdit*, 6> fields);

// The wait cursor from construction until `restore` or destruction, whatever
// ends the work.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void restore();

private:
    bool active_ = true;
};

} // namespace tarvik::ui
