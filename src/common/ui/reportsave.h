#pragma once
// Saving a text report page: as a PDF file (what printing the page produces)
// and as a plain text file (the report with LF line ends).
#include <QString>
#include <functional>

class QObject;
class QTextDocument;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QWidget;

namespace tarvik::ui {

inline const QString kSavePdfText = QStringLiteral("Save as PDF\u2026");
inline const QString kSaveTextText = QStringLiteral("Save as text\u2026");
inline const QString kSaveCsvText = QStringLiteral("Save table as CSV\u2026");
inline const QString kPdfFilter = QStringLiteral("PDF document (*.pdf)");
inline const QString kTextFilter = QStringLiteral("Text file (*.txt)");
inline const QString kCsvFilter = QStringLiteral("CSV table (*.csv)");

// The report text as saved: every line end (CR LF, CR, paragraph and line
// separators) becomes LF, and a text that does not end a line gets one.
std::string ReportPlainText(const QString& text);

// Writes the document to `fileName` as printing would lay it out on the
// program's printer, as a PDF file under `title`. The file appears only when
// complete. Returns false when it could not be written.
bool WriteReportPdf(const QTextDocument& document, const QString& title, const QString& fileName);
// Writes ReportPlainText(text) (UTF-8) to `fileName`, replacing it only when complete.
bool WriteReportText(const QString& text, const QString& fileName);

// The two commands with their file dialogs (proposing `baseName` with ".pdf"
// or ".txt", starting where the last report was saved); a file that cannot be
// written is reported. Return false when cancelled or not written.
bool SaveReportPdf(const QTextDocument& document, const QString& title, const QString& baseName);
bool SaveReportText(const QString& text, const QString& baseName);
// The last table printed in the report (see FindTextTables), as CSV; a report
// without a table says so instead of asking for a file.
bool SaveReportTableCsv(const QString& text, const QString& baseName);

// Gives a report page its "Save as PDF…", "Save as text…" and "Save table as CSV…" commands:
// in the page's context menu, and beside its print command when there is one
// (`printCommand`: a push button, whose row gets a "Save" button with the
// commands in its menu after it, or a
// menu action, whose menu gets the entries after it). `title` gives the
// title printing uses, `baseName` the proposed file name without extension;
// `text`, where given, the report's text (else the page's own text).
void AddReportSaving(QTextEdit* page, std::function<QString()> title, std::function<QString()> baseName,
                     QObject* printCommand = nullptr, std::function<QString()> text = {});
void AddReportSaving(QPlainTextEdit* page, std::function<QString()> title, std::function<QString()> baseName,
                     QObject* printCommand = nullptr, std::function<QString()> text = {});

// A window that shows its results in labels rather than on a text page: its
// results as lines of text (`text`) are saved as they stand, or printed into a
// PDF file in a fixed-pitch font. The window gets "Save as PDF…" and "Save as
// text…" in its context menu and in the menu of a "Save" button put just
// before `beside` (its closing button) in that button's row.
bool WriteResultsPdf(const QString& text, const QString& title, const QString& fileName);
void AddResultsSaving(QWidget* window, std::function<QString()> title, std::function<QString()> baseName,
                      std::function<QString()> text, QPushButton* beside);

} // namespace tarvik::ui
