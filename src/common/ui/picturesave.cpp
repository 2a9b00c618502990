#include "common/ui/picturesave.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"

#include <QFileInfo>

namespace tarvik::ui {

bool SaveGraphBitmap(const QImage& picture, const QString& defaultName, bool appendBmp,
                     const QString& fileTypeText) {
    FileRequest request;
    // Pictures of one kind (one default name) start where the last was saved.
    request.directory = FileDialogFolder(QStringLiteral("picture:") + defaultName);
    request.fileName = defaultName;
    request.filters = {fileTypeText};
    if (appendBmp) request.defaultSuffix = QStringLiteral("bmp");
    std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    QString name = *chosen;
    if (appendBmp && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".bmp");
    RememberFileDialogFolder(QStringLiteral("picture:") + defaultName, name);
    if (!picture.save(name, "BMP")) {
        // A picture that was not written is said so, never passed over in silence.
        MsgDlg(QStringLiteral("Cannot write file ") + name, MsgKind::Error, mbOK, 0);
        return false;
    }
    return true;
}

} // namespace tarvik::ui
