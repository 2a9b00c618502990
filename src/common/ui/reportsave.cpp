#include "common/ui/reportsave.h"

#include "common/csv.h"
#include "common/safefile.h"
#include "common/ui/accessibility.h"
#include "common/ui/dialogservice.h"
#include "common/ui/printing.h"

#include <QAction>
#include <QBoxLayout>
#include <QFile>
#include <QFont>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

namespace tarvik::ui {
namespace {

std::optional<QString> AskFileName(const QString& baseName, const QString& suffix, const QString& filter) {
    FileRequest request;
    request.directory = FileDialogFolder(QStringLiteral("report"));
    request.fileName = baseName + QLatin1Char('.') + suffix;
    request.filters = {filter};
    request.defaultSuffix = suffix;
    std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    RememberFileDialogFolder(QStringLiteral("report"), *chosen);
    return chosen;
}

void CannotWrite(const QString& fileName) {
    MsgDlg(QStringLiteral("Cannot write file ") + fileName, MsgKind::Error, mbOK, 0);
}

// The box layout (somewhere under `layout`) that holds `widget`, and where.
QBoxLayout* BoxHolding(QLayout* layout, QWidget* widget, int& index) {
    if (!layout) return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) {
            index = i;
            return qobject_cast<QBoxLayout*>(layout);
        }
        if (QBoxLayout* inner = BoxHolding(item->layout(), widget, index)) return inner;
    }
    return nullptr;
}

// A "Save" button whose menu holds `commands`, put in the row of `button`,
// after it or before it; none when `button` stands in no box layout.
QPushButton* AddSaveButton(QPushButton* button, const QList<QAction*>& commands, bool after) {
    QWidget* parent = button->parentWidget();
    int index = -1;
    QBoxLayout* row = parent ? BoxHolding(parent->layout(), button, index) : nullptr;
    if (!row) return nullptr;
    auto* save = new QPushButton(QStringLiteral("Save"), parent);
    save->setObjectName(QStringLiteral("SaveReportBtn"));
    auto* menu = new QMenu(save);
    menu->addActions(commands);
    save->setMenu(menu);
    row->insertWidget(after ? index + 1 : index, save);
    return save;
}

void PutBeside(QObject* printCommand, const QList<QAction*>& commands) {
    if (auto* button = qobject_cast<QPushButton*>(printCommand)) {
        AddSaveButton(button, commands, true); // after the print button
        return;
    }
    if (auto* print = qobject_cast<QAction*>(printCommand)) {
        for (QObject* o : print->associatedObjects()) {
            auto* menu = qobject_cast<QMenu*>(o);
            if (!menu) continue;
            const QList<QAction*> actions = menu->actions();
            const qsizetype i = actions.indexOf(print);
            QAction* before = i + 1 < actions.size() ? actions[i + 1] : nullptr;
            for (QAction* action : commands) menu->insertAction(before, action);
        }
    }
}

} // namespace

std::string ReportPlainText(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    t.replace(QChar::Nbsp, QLatin1Char(' '));
    if (!t.isEmpty() && !t.endsWith(QLatin1Char('\n'))) t += QLatin1Char('\n');
    return t.toStdString();
}

bool WriteReportPdf(const QTextDocument& document, const QString& title, const QString& fileName) {
    // The printer lays the pages out into a scratch file; the file itself is
    // then written as every file is (complete or not at all).
    QTemporaryDir scratch;
    if (!scratch.isValid()) return false;
    const QString pdfName = scratch.filePath(QStringLiteral("report.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(SharedPrinter().pageLayout());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfName);
        printer.setDocName(title);
        printer.setCreator(QStringLiteral("Tarvik"));
        std::unique_ptr<QTextDocument> copy(document.clone());
        copy->setMetaInformation(QTextDocument::DocumentTitle, title);
        copy->print(&printer);
    }
    QFile pdf(pdfName);
    if (!pdf.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = pdf.readAll();
    if (bytes.isEmpty()) return false;
    return WriteFileSafely(fileName.toStdString(), bytes.toStdString());
}

bool WriteReportText(const QString& text, const QString& fileName) {
    return WriteFileSafely(fileName.toStdString(), ReportPlainText(text));
}

bool SaveReportPdf(const QTextDocument& document, const QString& title, const QString& baseName) {
    const auto name = AskFileName(baseName, QStringLiteral("pdf"), kPdfFilter);
    if (!name) return false;
    if (WriteReportPdf(document, title, *name)) return true;
    CannotWrite(*name);
    return false;
}

bool SaveReportText(const QString& text, const QString& baseName) {
    const auto name = AskFileName(baseName, QStringLiteral("txt"), kTextFilter);
    if (!name) return false;
    if (WriteReportText(text, *name)) return true;
    CannotWrite(*name);
    return false;
}

QString TableCaption(const TextTable& table, std::size_t number) {
    QStringList titles;
    for (const std::string& title : table.columns)
        if (!title.empty()) titles << QString::fromStdString(title);
    return QStringLiteral("Table %1: %2").arg(number).arg(titles.join(QStringLiteral(", ")));
}

bool SaveReportTableCsv(const QString& text, const QString& baseName) {
    const std::vector<TextTable> tables = FindTextTables(ReportPlainText(text));
    if (tables.empty()) {
        MsgDlg(QStringLiteral("There is no table in the output to save"), MsgKind::Information, mbOK, 0);
        return false;
    }
    // A page with several tables asks which one, proposing the last.
    std::size_t chosen = tables.size() - 1;
    if (tables.size() > 1) {
        ChoiceRequest request;
        request.caption = QStringLiteral("Save table as CSV");
        request.label = QStringLiteral("Table to save:");
        for (std::size_t i = 0; i < tables.size(); ++i) request.items << TableCaption(tables[i], i + 1);
        request.current = static_cast<int>(chosen);
        const std::optional<int> answer = Dialogs().choice(request);
        if (!answer || *answer < 0 || *answer >= static_cast<int>(tables.size())) return false;
        chosen = static_cast<std::size_t>(*answer);
    }
    const auto name = AskFileName(baseName, QStringLiteral("csv"), kCsvFilter);
    if (!name) return false;
    if (WriteFileSafely(name->toStdString(), TextTableCsv(tables[chosen]))) return true;
    CannotWrite(*name);
    return false;
}

namespace {

template <class Page>
void AddSaving(Page* page, std::function<QString()> title, std::function<QString()> baseName,
               QObject* printCommand, std::function<QString()> reportText) {
    if (!reportText) reportText = [page] { return page->document()->toPlainText(); };
    auto* pdf = new QAction(kSavePdfText, page);
    pdf->setObjectName(QStringLiteral("SaveReportPdf"));
    QObject::connect(pdf, &QAction::triggered, page,
                     [page, title, baseName] { SaveReportPdf(*page->document(), title(), baseName()); });
    auto* text = new QAction(kSaveTextText, page);
    text->setObjectName(QStringLiteral("SaveReportText"));
    QObject::connect(text, &QAction::triggered, page,
                     [reportText, baseName] { SaveReportText(reportText(), baseName()); });
    auto* csv = new QAction(kSaveCsvText, page);
    csv->setObjectName(QStringLiteral("SaveReportCsv"));
    QObject::connect(csv, &QAction::triggered, page,
                     [reportText, baseName] { SaveReportTableCsv(reportText(), baseName()); });
    const QList<QAction*> commands = {pdf, text, csv};
    // The CSV entry is offered only while the report holds a table: checked
    // whenever a menu holding it opens.
    const auto offerCsv = [csv, reportText] {
        csv->setEnabled(!FindTextTables(ReportPlainText(reportText())).empty());
    };
    // The page's own menu (right button, the menu key or Shift+F10) ends with them.
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(page, &QWidget::customContextMenuRequested, page,
                     [page, commands, offerCsv](const QPoint& at) {
                         offerCsv();
                         std::unique_ptr<QMenu> menu(page->createStandardContextMenu(at));
                         menu->addSeparator();
                         menu->addActions(commands);
                         menu->exec(page->viewport()->mapToGlobal(at));
                     });
    if (printCommand) {
        PutBeside(printCommand, commands);
        for (QObject* o : csv->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(o))
                QObject::connect(menu, &QMenu::aboutToShow, csv, offerCsv);
    }
}

} // namespace

void AddReportSaving(QTextEdit* page, std::function<QString()> title, std::function<QString()> baseName,
                     QObject* printCommand, std::function<QString()> text) {
    AddSaving(page, std::move(title), std::move(baseName), printCommand, std::move(text));
}

void AddReportSaving(QPlainTextEdit* page, std::function<QString()> title, std::function<QString()> baseName,
                     QObject* printCommand, std::function<QString()> text) {
    AddSaving(page, std::move(title), std::move(baseName), printCommand, std::move(text));
}

namespace {

QTextDocument* ResultsDocument(const QString& text, QObject* parent) {
    auto* document = new QTextDocument(parent);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSize(10);
    document->setDefaultFont(mono);
    document->setPlainText(text);
    return document;
}

} // namespace

bool WriteResultsPdf(const QString& text, const QString& title, const QString& fileName) {
    std::unique_ptr<QTextDocument> document(ResultsDocument(text, nullptr));
    return WriteReportPdf(*document, title, fileName);
}

void AddResultsSaving(QWidget* window, std::function<QString()> title, std::function<QString()> baseName,
                      std::function<QString()> text, QPushButton* beside) {
    auto* pdf = new QAction(kSavePdfText, window);
    pdf->setObjectName(QStringLiteral("SaveReportPdf"));
    QObject::connect(pdf, &QAction::triggered, window, [title, baseName, text] {
        std::unique_ptr<QTextDocument> document(ResultsDocument(text(), nullptr));
        SaveReportPdf(*document, title(), baseName());
    });
    auto* plain = new QAction(kSaveTextText, window);
    plain->setObjectName(QStringLiteral("SaveReportText"));
    QObject::connect(plain, &QAction::triggered, window,
                     [text, baseName] { SaveReportText(text(), baseName()); });
    window->addAction(pdf);
    window->addAction(plain);
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
    if (!beside) return;
    QPushButton* save = AddSaveButton(beside, {pdf, plain}, false);
    if (!save) return;
    save->setAutoDefault(false);
    SetTabOrder({save, beside}); // the closing button stays the last
}

} // namespace tarvik::ui
