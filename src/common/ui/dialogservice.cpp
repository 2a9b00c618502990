#include "common/ui/dialogservice.h"

#include "common/ui/msgdlg.h"
#include "common/ui/windowowner.h"

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
    OwnQuestion(&dialog, r.parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

QHash<QString, QString>& RememberedFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

// The one-line text question; "OK" on a refused entry tells why and keeps
// the question open with the entry selected.
class TextQuestion : public QInputDialog {
public:
    explicit TextQuestion(const TextRequest& request)
        : QInputDialog(request.parent), refusal_(request.refusal) {
        setObjectName(QStringLiteral("TextQuestion"));
        setWindowTitle(request.caption);
        setLabelText(request.label);
        setTextValue(request.text);
    }
    void done(int result) override {
        if (result == QDialog::Accepted && refusal_) {
            const QString why = refusal_(textValue());
            if (!why.isEmpty()) {
                MsgDlg(why, MsgKind::Error, mbOK, 0);
                if (auto* field = findChild<QLineEdit*>()) {
                    field->setFocus();
                    field->selectAll();
                }
                return;
            }
        }
        QInputDialog::done(result);
    }

private:
    std::function<QString(const QString&)> refusal_;
};

} // namespace

int DialogService::message(const MessageRequest& request) {
    auto dialog = CreateMessageDialog(request);
    OwnQuestion(dialog.get());
    return dialog->exec();
}

std::optional<QString> DialogService::saveFileName(const FileRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QString> DialogService::openFileName(const FileRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<QFont> DialogService::font(QWidget* parent, const QFont& initial) {
    QFontDialog dialog(initial, parent);
    OwnQuestion(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QString> DialogService::text(const TextRequest& request) {
    TextQuestion dialog(request);
    dialog.setTextEchoMode(QLineEdit::Normal);
    OwnQuestion(&dialog, request.parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<int> DialogService::choice(const ChoiceRequest& request) {
    QInputDialog dialog(request.parent);
    dialog.setWindowTitle(request.caption);
    dialog.setLabelText(request.label);
    dialog.setComboBoxItems(request.items);
    dialog.setComboBoxEditable(false);
    if (request.current >= 0 && request.current < request.items.size())
        dialog.setTextValue(request.items.at(request.current));
    OwnQuestion(&dialog, request.parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const int index = static_cast<int>(request.items.indexOf(dialog.textValue()));
    if (index < 0) return std::nullopt;
    return index;
}

bool DialogService::print(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    OwnQuestion(&dialog, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogService::printerSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    OwnQuestion(&dialog, parent);
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
