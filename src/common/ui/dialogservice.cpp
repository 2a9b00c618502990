#include "common/ui/dialogservice.h"

#include "common/ui/msgdlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHash>
#include <QInputDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tarvik::ui {
namespace {

DialogService& RealDialogs() {
    static DialogService real;
    return real;
}

DialogService* gService = nullptr;

// The one extension of a filter such as "Bitmap (*.bmp)", or an empty text.
QString FilterExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)\\s*$"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

std::optional<QString> RunFileDialog(const FileRequest& r, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(r.parent, r.caption, r.directory);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(r.filters);
    if (!r.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(r.defaultSuffix);
    if (mode == QFileDialog::AcceptSave) {
        // A name typed without extension gets that of the filter in use.
        auto useFilter = [&dialog, &r](const QString& filter) {
            const QString ext = FilterExtension(filter);
            dialog.setDefaultSuffix(ext.isEmpty() ? r.defaultSuffix : ext);
        };
        if (!r.filters.isEmpty()) useFilter(r.filters.front());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useFilter);
    }
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

QHash<QString, QString>& RememberedFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

} // namespace

int DialogService::message(const MessageRequest& request) {
    auto dialog = CreateMessageDialog(request);
    return dialog->exec();
}

std::optional<QString> DialogService::saveFileName(const FileRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QString> DialogService::openFileName(const FileRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<QFont> DialogService::font(QWidget* parent, const QFont& initial) {
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return std::nullopt;
    return f;
}

std::optional<QString> DialogService::text(const TextRequest& request) {
    bool ok = false;
    const QString answer = QInputDialog::getText(request.parent, request.caption, request.label,
                                                 QLineEdit::Normal, request.text, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

std::optional<int> DialogService::choice(const ChoiceRequest& request) {
    bool ok = false;
    const QString answer = QInputDialog::getItem(request.parent, request.caption, request.label,
                                                 request.items, request.current, false, &ok);
    if (!ok) return std::nullopt;
    const int index = static_cast<int>(request.items.indexOf(answer));
    if (index < 0) return std::nullopt;
    return index;
}

bool DialogService::print(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogService::printerSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString FileDialogFolder(const QString& key) {
    const QString remembered = RememberedFolders().value(key);
    if (!remembered.isEmpty() && QDir(remembered).exists()) return remembered;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    QDir().mkpath(documents);
    return documents;
}

void RememberFileDialogFolder(const QString& key, const QString& fileName) {
    if (!fileName.isEmpty()) RememberedFolders().insert(key, QFileInfo(fileName).absolutePath());
}

QString WithFilterExtension(const QString& fileName, const QString& filter) {
    const QString ext = FilterExtension(filter);
    if (fileName.isEmpty() || ext.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) return fileName;
    return fileName + QLatin1Char('.') + ext;
}

DialogService& Dialogs() {
    return gService ? *gService : RealDialogs();
}

void SetDialogService(DialogService* service) {
    gService = service;
}

} // namespace tarvik::ui

int MsgDlg(const QString& text, tarvik::ui::MsgKind kind, tarvik::ui::MsgButtons buttons, int helpContext) {
    return tarvik::ui::Dialogs().message({text, kind, buttons, helpContext, false});
}

int StdMsgDlg(const QString& text, tarvik::ui::MsgKind kind, tarvik::ui::MsgButtons buttons,
              int helpContext) {
    return tarvik::ui::Dialogs().message({text, kind, buttons, helpContext, true});
}
