#pragma once
// Every modal question of the program goes through one dialog service, so that
// tests answer it instead of blocking on a modal event loop.
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace tarvik::ui {

enum class MsgKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Custom = 4 };

// Bits of a button set, in the order the buttons stand in the dialog.
enum MsgButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbHelp = 1u << 8,
};
using MsgButtons = unsigned;
inline constexpr MsgButtons mbYesNo = mbYes | mbNo;
inline constexpr MsgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr MsgButtons mbOKCancel = mbOK | mbCancel;

enum MsgResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
};

struct MessageRequest {
    QString text;
    MsgKind kind = MsgKind::Information;
    MsgButtons buttons = mbOK;
    int helpContext = 0;
    bool standardCaptions = false; // StdMsgDlg rather than MsgDlg
    QString caption{};             // when not empty, in place of the kind's caption
};

struct FileRequest {
    QWidget* parent = nullptr;
    QString caption;
    QString directory;     // starting folder
    QString fileName;      // proposed name
    QStringList filters;   // "Bitmap-bestanden (*.bmp)", ...
    QString defaultSuffix; // appended to a name typed without extension ("" = none)
};

struct TextRequest {
    QWidget* parent = nullptr;
    QString caption;
    QString label; // the field's label
    QString text;  // the field's text when the dialog opens
    // The error message for an entry the question refuses (empty: accepted).
    // A refused entry is told with it and the question stays open, its text
    // selected for correction.
    std::function<QString(const QString&)> refusal{};
};

struct ChoiceRequest {
    QWidget* parent = nullptr;
    QString caption;
    QString label;     // the question over the list
    QStringList items; // what may be chosen
    int current = 0;   // the item chosen when the dialog opens
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Shows the message dialog modally; returns its result code.
    virtual int message(const MessageRequest& request);
    // The chosen file, or nothing when the user cancels.
    virtual std::optional<QString> saveFileName(const FileRequest& request);
    virtual std::optional<QString> openFileName(const FileRequest& request);
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial);
    // A one-line text question: the text entered, or nothing when cancelled.
    virtual std::optional<QString> text(const TextRequest& request);
    // A choice from a list: the index chosen, or nothing when cancelled.
    virtual std::optional<int> choice(const ChoiceRequest& request);
    // The print dialog: true when the user starts the print job.
    virtual bool print(QPrinter& printer, QWidget* parent);
    // The printer set-up dialog: true when the user accepts.
    virtual bool printerSetup(QPrinter& printer, QWidget* parent);
};

// Where a module's file dialogs start: the folder of the file it last opened
// or saved in this run, else the user's documents folder (made if missing).
// `key` names the module (or the kind of file).
QString FileDialogFolder(const QString& key);
void RememberFileDialogFolder(const QString& key, const QString& fileName);
// A name typed without extension gets the extension of the filter in use
// ("Tarvik LP Bestanden (*.tlp)" gives ".tlp"); a name with one keeps it.
QString WithFilterExtension(const QString& fileName, const QString& filter);

// The service in use (the real dialogs unless a test installed another).
DialogService& Dialogs();
// Installs a service; nullptr restores the real dialogs. Not owned.
void SetDialogService(DialogService* service);

} // namespace tarvik::ui

// The message dialogs every module uses.
int MsgDlg(const QString& text, tarvik::ui::MsgKind kind, tarvik::ui::MsgButtons buttons,
           int helpContext = 0);
int StdMsgDlg(const QString& text, tarvik::ui::MsgKind kind, tarvik::ui::MsgButtons buttons,
              int helpContext = 0);
