#include "common/ui/picturesave.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"

#include <QFileInfo>

namespace tarvik::ui {

bool SaveGraphBitmap(const QImage& picture, const QString& defaultName, bool appendBmp,
                     const QString& fileTypeText) {
    FileRequest request;
    request.directory = ProgramDir();
    request.fileName = defaultName;
    request.filters = {fileTypeText};
    if (appendBmp) request.defaultSuffix = QStringLiteral("bmp");
    std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    QString name = *chosen;
    if (appendBmp && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".bmp");
    if (!picture.save(name, "BMP")) {
        // A picture that was not written is said so, never passed over in silence.
        MsgDlg(QStringLiteral("Cannot write file ") + name, MsgKind::Error, mbOK, 0);
        return false;
    }
    return true;
}

} // namespace tarvik::ui
