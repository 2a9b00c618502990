#pragma once
#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class QTextDocument;
class QWidget;

namespace tarvik::ui {

// The printer the program prints on (its settings live for the whole run).
QPrinter& SharedPrinter();
// Asks with the print dialog and prints the document under a title.
// Returns false when the user cancelled.
bool PrintDocument(const QTextDocument& document, const QString& title, QWidget* parent);
// Asks with the print dialog and prints a picture of `size` pixels, drawn by
// `drawing`, as large as it fits on the page. Returns false when the user cancelled.
bool PrintPicture(const std::function<void(QPainter&)>& drawing, QSize size, const QString& title,
                  QWidget* parent);
// The printer set-up dialog.
bool PrinterSetup(QWidget* parent);

} // namespace tarvik::ui
