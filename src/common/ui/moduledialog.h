#pragma once
// Pieces the dialogs and windows of every module share.
#include <QString>

class QBoxLayout;
class QDialog;
class QKeyEvent;
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

} // namespace tarvik::ui
