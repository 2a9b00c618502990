#include "modules/montecarlo/ui/mcreport.h"

#include "common/ui/dialogservice.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QTextEdit>

namespace tarvik::montecarlo::ui {

void FillReport(QTextEdit* view, const std::vector<StyledLine>& lines) {
    view->clear();
    for (const StyledLine& l : lines) {
        QTextCharFormat f;
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::Monospace);
        font.setPointSize(8);
        f.setForeground(Qt::black);
        if (l.style == StyledLine::Heading) {
            font.setPointSize(10);
            font.setItalic(true);
            f.setForeground(Qt::blue);
        } else if (l.style == StyledLine::BoldUnderline) {
            font.setBold(true);
            font.setUnderline(true);
        }
        f.setFont(font);
        view->setCurrentCharFormat(f);
        view->append(QString::fromStdString(l.text));
    }
    view->moveCursor(QTextCursor::Start);
}

void RefuseInput(const QString& message, QWidget* field) {
    if (!message.isEmpty()) MsgDlg(message, tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
    if (!field) return;
    field->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(field)) e->selectAll();
    if (auto* s = qobject_cast<QAbstractSpinBox*>(field)) s->selectAll();
}

} // namespace tarvik::montecarlo::ui
