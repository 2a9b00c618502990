#pragma once
// The model editor of the LP and IP windows: plain text without word wrap,
// with lines that typing cannot change (the comment lines of the template).
#include <QPlainTextEdit>
#include <QStringList>
#include <functional>

namespace tarvik::ui {

class TModelEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TModelEditor(QWidget* parent = nullptr);

    // Replaces the text by the lines; the lines for which `isProtected`
    // holds are shown in blue italics and refuse typing.
    void setModelLines(const QStringList& lines, const std::function<bool(const QString&)>& isProtected = {});
    // The editor's lines, one per text block.
    QStringList lines() const;
    // The text as the readers take it: every line ended by CR LF.
    QString joinedText() const;
    // Whether the line (text block) is protected against typing.
    bool isProtectedLine(int line) const;

    // The edit commands: they may change protected lines too.
    void pastePlainText(); // the clipboard's text, in the normal style
    void deleteSelection();

    // Selects one character at a 1-based offset into joinedText(); a line
    // end (two characters there) is the one line break of the editor.
    void selectAtJoinedOffset(long offset);

    // Whether typing that replaces [from, to) by `text` leaves every protected
    // line as it is. `text` uses '\n' for line breaks.
    bool editKeepsProtected(int from, int to, const QString& text) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void insertTyped(const QString& text);
    bool blockIsProtected(const class QTextBlock& block) const;
};

} // namespace tarvik::ui
