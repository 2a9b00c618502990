#pragma once
#include <QString>

class QPrinter;
class QTextDocument;
class QWidget;

namespace tarvik::ui {

// The printer the program prints on (its settings live for the whole run).
QPrinter& SharedPrinter();
// Asks with the print dialog and prints the document under a title.
// Returns false when the user cancelled.
bool PrintDocument(const QTextDocument& document, const QString& title, QWidget* parent);
// The printer set-up dialog.
bool PrinterSetup(QWidget* parent);

} // namespace tarvik::ui
