#include "common/ui/dialogservice.h"

#include "common/ui/msgdlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace tarvik::ui {
namespace {

DialogService& RealDialogs() {
    static DialogService real;
    return real;
}

DialogService* gService = nullptr;

std::optional<QString> RunFileDialog(const FileRequest& r, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(r.parent, r.caption, r.directory);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(r.filters);
    if (!r.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(r.defaultSuffix);
    if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
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

bool DialogService::print(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogService::printerSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
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
