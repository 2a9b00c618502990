#include "common/ui/picturesave.h"

#include "common/safefile.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace tarvik::ui {
namespace {

enum class PictureFormat { Bitmap, Png, Svg, Pdf };

PictureFormat FormatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
    return PictureFormat::Bitmap;
}

bool WriteSvg(const QImage& picture, QIODevice& device, const PictureDrawing& drawing, const QString& title) {
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(picture.size());
    svg.setViewBox(QRect(QPoint(0, 0), picture.size()));
    svg.setResolution(96);
    if (!title.isEmpty()) svg.setTitle(title);
    QPainter p;
    if (!p.begin(&svg)) return false;
    drawing(p);
    return p.end();
}

// One page the size of the picture (96 pixels to the inch), the drawing on it
// where there is one, else the pixels.
bool WritePdf(const QImage& picture, QIODevice& device, const PictureDrawing& drawing, const QString& title) {
    QPdfWriter pdf(&device);
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QSizeF(picture.width() * 0.75, picture.height() * 0.75), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (!title.isEmpty()) pdf.setTitle(title);
    QPainter p;
    if (!p.begin(&pdf)) return false;
    if (drawing)
        drawing(p);
    else
        p.drawImage(0, 0, picture);
    return p.end();
}

} // namespace

void PictureSteps::paint(QPainter& p) const {
    for (const PictureDrawing& step : steps_) {
        p.save();
        step(p);
        p.restore();
    }
}

bool WritePicture(const QImage& picture, const QString& fileName, const PictureDrawing& drawing,
                  const QString& title) {
    const PictureFormat format = FormatOf(fileName);
    if ((format == PictureFormat::Svg || format == PictureFormat::Pdf) && !drawing) return false;
    // The picture is made in memory and written as every file is: synced in
    // a temporary file that replaces the old picture only when complete, so
    // that a full disk is reported and the old picture stays.
    QByteArray bytes;
    QBuffer file(&bytes);
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool written = false;
    switch (format) {
    case PictureFormat::Png:
        written = picture.save(&file, "PNG");
        break;
    case PictureFormat::Svg:
        written = WriteSvg(picture, file, drawing, title);
        break;
    case PictureFormat::Pdf:
        written = WritePdf(picture, file, drawing, title);
        break;
    case PictureFormat::Bitmap:
        written = picture.save(&file, "BMP");
        break;
    }
    file.close();
    if (!written || bytes.isEmpty()) return false;
    return WriteFileSafely(QFile::encodeName(fileName).toStdString(), bytes.toStdString());
}

bool SaveGraphBitmap(const QImage& picture, const QString& defaultName, bool appendBmp,
                     const QString& fileTypeText, const PictureDrawing& drawing) {
    FileRequest request;
    // Pictures of one kind (one default name) start where the last was saved.
    request.directory = FileDialogFolder(QStringLiteral("picture:") + defaultName);
    request.fileName = defaultName;
    request.filters = {fileTypeText, kPngFilter};
    if (drawing) request.filters.append(kSvgFilter);
    if (appendBmp) request.defaultSuffix = QStringLiteral("bmp");
    std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    QString name = *chosen;
    if (appendBmp && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".bmp");
    RememberFileDialogFolder(QStringLiteral("picture:") + defaultName, name);
    if (FormatOf(name) == PictureFormat::Svg && !drawing) {
        // This picture exists only as pixels; a drawing cannot be made of it.
        MsgDlg(QStringLiteral("This picture can be saved as a bitmap or a PNG image only"), MsgKind::Error,
               mbOK, 0);
        return false;
    }
    if (!WritePicture(picture, name, drawing, QFileInfo(defaultName).completeBaseName())) {
        // A picture that was not written is said so, never passed over in silence.
        MsgDlg(QStringLiteral("Cannot write file ") + name, MsgKind::Error, mbOK, 0);
        return false;
    }
    return true;
}

bool SaveGraphPicture(const QImage& picture, const QString& defaultName, const PictureDrawing& drawing,
                      bool appendBmp) {
    return SaveGraphBitmap(picture, defaultName, appendBmp, QStringLiteral("Bitmap-bestanden (*.bmp)"),
                           drawing);
}

} // namespace tarvik::ui
