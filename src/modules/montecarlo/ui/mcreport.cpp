#include "modules/montecarlo/ui/mcreport.h"

#include "common/ui/dialogservice.h"
#include "common/ui/reportsave.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
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
        const QString text = QString::fromStdString(l.text);
        view->append(text);
        if (l.valueAt > 0 && static_cast<qsizetype>(l.valueAt) < text.size()) {
            // The label's last character is followed by a blank's width of space.
            QTextCursor c(view->document()->lastBlock());
            c.setPosition(c.block().position() + static_cast<int>(l.valueAt) - 1);
            c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            QTextCharFormat gap;
            gap.setFontLetterSpacingType(QFont::AbsoluteSpacing);
            gap.setFontLetterSpacing(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
            c.mergeCharFormat(gap);
        }
    }
    view->moveCursor(QTextCursor::Start);
}

QPushButton* AddDataSaving(QWidget* window, QPushButton* beside, const QString& title,
                           const QString& baseName, std::function<QString()> text) {
    auto* pdf = new QAction(tarvik::ui::kSavePdfText, window);
    pdf->setObjectName(QStringLiteral("SaveReportPdf"));
    QObject::connect(pdf, &QAction::triggered, window, [title, baseName, text] {
        QTextDocument document;
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::Monospace);
        font.setPointSize(8);
        document.setDefaultFont(font);
        document.setPlainText(text());
        tarvik::ui::SaveReportPdf(document, title, baseName);
    });
    auto* plain = new QAction(tarvik::ui::kSaveTextText, window);
    plain->setObjectName(QStringLiteral("SaveReportText"));
    QObject::connect(plain, &QAction::triggered, window,
                     [baseName, text] { tarvik::ui::SaveReportText(text(), baseName); });
    auto* save = new QPushButton(QStringLiteral("Save"), window);
    save->setObjectName(QStringLiteral("SaveReportBtn"));
    auto* menu = new QMenu(save);
    menu->addActions({pdf, plain});
    save->setMenu(menu);
    save->setGeometry(beside->x() + beside->width() + 10, beside->y(), beside->width(), beside->height());
    return save;
}

QTextEdit* PlaceReportView(QWidget* window, QRect at, const QString& title, const QString& baseName) {
    auto* view = new QTextEdit(window);
    view->setObjectName(QStringLiteral("Report"));
    view->setReadOnly(true);
    view->setLineWrapMode(QTextEdit::NoWrap);
    view->setGeometry(at);
    tarvik::ui::AddReportSaving(
        view, [title] { return title; }, [baseName] { return baseName; });
    return view;
}

void RefuseInput(const QString& message, QWidget* field) {
    if (!message.isEmpty()) MsgDlg(message, tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
    if (!field) return;
    field->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(field)) e->selectAll();
    if (auto* s = qobject_cast<QAbstractSpinBox*>(field)) s->selectAll();
}

} // namespace tarvik::montecarlo::ui
