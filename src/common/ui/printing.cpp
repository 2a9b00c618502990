#include "common/ui/printing.h"

#include "common/ui/dialogservice.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <algorithm>
#include <memory>

namespace tarvik::ui {

QPrinter& SharedPrinter() {
    static std::unique_ptr<QPrinter> printer = [] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a printer set up, print into a PDF file.
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(QStringLiteral("tarvik-print.pdf"));
        }
        return p;
    }();
    return *printer;
}

bool PrintDocument(const QTextDocument& document, const QString& title, QWidget* parent) {
    QPrinter& printer = SharedPrinter();
    printer.setDocName(title);
    if (!Dialogs().print(printer, parent)) return false;
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setMetaInformation(QTextDocument::DocumentTitle, title);
    copy->print(&printer);
    return true;
}

bool PrintPicture(const std::function<void(QPainter&)>& drawing, QSize size, const QString& title,
                  QWidget* parent) {
    QPrinter& printer = SharedPrinter();
    printer.setDocName(title);
    if (!Dialogs().print(printer, parent)) return false;
    QPainter p;
    if (!p.begin(&printer)) return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    p.scale(scale, scale);
    drawing(p);
    p.end();
    return true;
}

bool PrinterSetup(QWidget* parent) {
    return Dialogs().printerSetup(SharedPrinter(), parent);
}

} // namespace tarvik::ui
