#include "modules/lp/ui/modeleditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>
#include <utility>

namespace tarvik::ui {
namespace {

// Marks the characters that typing may not change.
constexpr int kProtectedProperty = QTextFormat::UserProperty + 1;

QTextCharFormat ProtectedFormat() {
    QTextCharFormat f;
    f.setForeground(Qt::blue);
    f.setFontItalic(true);
    f.setProperty(kProtectedProperty, true);
    return f;
}

bool IsLineBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// Text the editor would insert for a key, as QPlainTextEdit does.
bool IsTypedText(const QKeyEvent* e) {
    const QString text = e->text();
    if (text.isEmpty()) return false;
    const Qt::KeyboardModifiers m = e->modifiers();
    if ((m & Qt::ControlModifier) && !(m & Qt::AltModifier)) return false;
    for (QChar c : text)
        if (!c.isPrint() && c != QLatin1Char('\t')) return false;
    return true;
}

} // namespace

TModelEditor::TModelEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Dropping text is typing at the drop point; the editor takes none.
    setAcceptDrops(false);
}

void TModelEditor::setModelLines(const QStringList& lines,
                                 const std::function<bool(const QString&)>& isProtected) {
    QTextDocument* doc = document();
    doc->clear();
    QTextCursor c(doc);
    c.beginEditBlock();
    const QTextCharFormat normal;
    const QTextCharFormat comment = ProtectedFormat();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) c.insertBlock(QTextBlockFormat(), normal);
        const bool prot = isProtected && !lines[i].isEmpty() && isProtected(lines[i]);
        c.insertText(lines[i], prot ? comment : normal);
    }
    c.endEditBlock();
    doc->clearUndoRedoStacks();
    QTextCursor start(doc);
    setTextCursor(start);
    setCurrentCharFormat(normal);
}

QStringList TModelEditor::lines() const {
    QStringList result;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) result.append(b.text());
    return result;
}

QString TModelEditor::joinedText() const {
    QString text;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        text += b.text();
        text += QStringLiteral("\r\n");
    }
    return text;
}

bool TModelEditor::blockIsProtected(const QTextBlock& block) const {
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().boolProperty(kProtectedProperty)) return true;
    return false;
}

bool TModelEditor::isProtectedLine(int line) const {
    const QTextBlock b = document()->findBlockByNumber(line);
    return b.isValid() && blockIsProtected(b);
}

bool TModelEditor::editKeepsProtected(int from, int to, const QString& text) const {
    const QTextDocument* doc = document();
    const int last = doc->characterCount() - 1; // the final line end
    auto charAt = [&](int pos) {
        return pos < 0 || pos >= last ? QChar(QChar::ParagraphSeparator) : doc->characterAt(pos);
    };

    QTextBlock b = doc->findBlock(from);
    if (b.previous().isValid()) b = b.previous();
    const QTextBlock stop = doc->findBlock(to).next();
    for (; b.isValid() && b != stop; b = b.next()) {
        if (!blockIsProtected(b)) continue;
        const int s = b.position();
        const int e = s + b.length() - 1; // its line end
        // No character of the line may go.
        if (from < to && from < e && to > s) return false;
        // Nothing may be put inside it.
        if (!text.isEmpty() && from > s && from < e) return false;
        // The line must still begin a line...
        if (to == s && (from < to || !text.isEmpty())) {
            const QChar before = !text.isEmpty()
                                     ? text.back()
                                     : (from > 0 ? charAt(from - 1) : QChar(QChar::ParagraphSeparator));
            if (!IsLineBreak(before)) return false;
        }
        // ...and still end one.
        if (from == e && (from < to || !text.isEmpty())) {
            const QChar after = !text.isEmpty() ? text.front() : charAt(to);
            if (!IsLineBreak(after)) return false;
        }
    }
    return true;
}

void TModelEditor::insertTyped(const QString& text) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    const QTextCharFormat normal;
    if (text == QStringLiteral("\n"))
        c.insertBlock(QTextBlockFormat(), normal);
    else
        c.insertText(text, normal);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

void TModelEditor::pastePlainText() {
    if (isReadOnly()) return;
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.isEmpty()) return;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    c.insertText(text, QTextCharFormat());
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

void TModelEditor::deleteSelection() {
    if (isReadOnly()) return;
    QTextCursor c = textCursor();
    if (!c.hasSelection()) return;
    c.removeSelectedText();
    setTextCursor(c);
}

void TModelEditor::selectAtJoinedOffset(long offset) {
    const QTextDocument* doc = document();
    const int last = doc->characterCount() - 1;
    const long index = offset - 1;
    int pos = last;
    long joined = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && index >= 0; b = b.next()) {
        const int len = b.length() - 1;
        if (index < joined + len) {
            pos = b.position() + static_cast<int>(index - joined);
            break;
        }
        if (index < joined + len + 2) { // the CR LF of this line
            pos = b.position() + len;
            break;
        }
        joined += len + 2;
    }
    if (index < 0) pos = 0;
    QTextCursor c(document());
    c.setPosition(qMin(pos, last));
    c.setPosition(qMin(pos + 1, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TModelEditor::keyPressEvent(QKeyEvent* e) {
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    // The edit commands behind the usual keys.
    if (e == QKeySequence::Paste) {
        pastePlainText();
        e->accept();
        return;
    }
    // Delete on a selection is the Edit menu's "Delete": it may take protected
    // lines with it (Select all, then Delete, clears the template); without a
    // selection the keys delete characters and leave protected lines alone.
    if ((e->key() == Qt::Key_Delete && (e->modifiers() & Qt::ControlModifier)) ||
        ((e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace) && textCursor().hasSelection() &&
         !(e->modifiers() & (Qt::ShiftModifier | Qt::AltModifier)))) {
        deleteSelection();
        e->accept();
        return;
    }
    if (e == QKeySequence::Cut || e == QKeySequence::Copy || e == QKeySequence::SelectAll ||
        e == QKeySequence::Undo || e == QKeySequence::Redo) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }

    QTextCursor c = textCursor();
    const int selFrom = c.selectionStart();
    const int selTo = c.selectionEnd();
    auto rangeMovedTo = [&](QTextCursor::MoveOperation op) {
        QTextCursor m = textCursor();
        if (!m.hasSelection()) m.movePosition(op, QTextCursor::KeepAnchor);
        return std::pair{m.selectionStart(), m.selectionEnd()};
    };

    std::optional<std::pair<int, int>> removal;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (editKeepsProtected(selFrom, selTo, QStringLiteral("\n"))) insertTyped(QStringLiteral("\n"));
        e->accept();
        return;
    } else if (e == QKeySequence::DeleteStartOfWord) {
        removal = rangeMovedTo(QTextCursor::PreviousWord);
    } else if (e == QKeySequence::DeleteEndOfWord) {
        removal = rangeMovedTo(QTextCursor::NextWord);
    } else if (e == QKeySequence::DeleteEndOfLine) {
        removal = rangeMovedTo(QTextCursor::EndOfBlock);
    } else if (e == QKeySequence::DeleteCompleteLine) {
        QTextCursor m = textCursor();
        m.movePosition(QTextCursor::StartOfBlock);
        m.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        removal = std::pair{m.selectionStart(), m.selectionEnd()};
    } else if (e->key() == Qt::Key_Backspace) {
        removal = rangeMovedTo(QTextCursor::PreviousCharacter);
    } else if (e == QKeySequence::Delete || e->key() == Qt::Key_Delete) {
        removal = rangeMovedTo(QTextCursor::NextCharacter);
    } else if (IsTypedText(e)) {
        if (editKeepsProtected(selFrom, selTo, e->text())) insertTyped(e->text());
        e->accept();
        return;
    }
    if (removal && removal->first < removal->second &&
        !editKeepsProtected(removal->first, removal->second, QString())) {
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TModelEditor::inputMethodEvent(QInputMethodEvent* e) {
    if (!isReadOnly() && !e->commitString().isEmpty()) {
        const QTextCursor c = textCursor();
        int from = c.selectionStart();
        int to = c.selectionEnd();
        if (e->replacementLength() > 0) {
            from = c.position() + e->replacementStart();
            to = from + e->replacementLength();
        }
        if (!editKeepsProtected(from, to, e->commitString())) {
            e->accept();
            return;
        }
        setCurrentCharFormat(QTextCharFormat());
    }
    QPlainTextEdit::inputMethodEvent(e);
}

bool TModelEditor::canInsertFromMimeData(const QMimeData* source) const {
    return !isReadOnly() && source->hasText();
}

// Text put in by the mouse (the selection clipboard): typing at the cursor.
void TModelEditor::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source->hasText()) return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QTextCursor c = textCursor();
    if (text.isEmpty() || !editKeepsProtected(c.selectionStart(), c.selectionEnd(), text)) return;
    QTextCursor ins = textCursor();
    ins.beginEditBlock();
    ins.removeSelectedText();
    ins.insertText(text, QTextCharFormat());
    ins.endEditBlock();
    setTextCursor(ins);
}

} // namespace tarvik::ui
