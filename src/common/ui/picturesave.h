#pragma once
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace tarvik::ui {

// Paints a picture anew, in the picture's own coordinates, on any painter: the
// window's own drawing code, so that a saved drawing is made of lines, shapes
// and text rather than pixels.
using PictureDrawing = std::function<void(QPainter&)>;

// The steps that drew a picture bit by bit (a live graph), kept so that the
// picture can be painted again as a drawing. Each step paints on its own.
class PictureSteps {
public:
    void clear() { steps_.clear(); }
    void add(PictureDrawing step) { steps_.push_back(std::move(step)); }
    std::size_t size() const { return steps_.size(); }
    void paint(QPainter& p) const;

private:
    std::vector<PictureDrawing> steps_;
};

// The file types a picture can be saved as, in the order the save dialog
// offers them; the bitmap filter (`fileTypeText`) comes first and is the default.
inline const QString kPngFilter = QStringLiteral("PNG image (*.png)");
inline const QString kSvgFilter = QStringLiteral("SVG drawing (*.svg)");
inline const QString kPdfPictureFilter = QStringLiteral("PDF drawing (*.pdf)");

// "Save graph to file": asks for a file name in ProgramDir, proposing
// `defaultName`, and writes the picture. The file name's extension chooses the
// format: ".png" a PNG image, ".svg" an SVG drawing (offered only where the
// window passes its `drawing`), anything else a Windows bitmap. Only where
// `appendBmp` is set does a name typed without an extension get ".bmp".
// Returns false when the user cancelled or the file could not be written (an
// error message then says so).
bool SaveGraphBitmap(const QImage& picture, const QString& defaultName, bool appendBmp = false,
                     const QString& fileTypeText = QStringLiteral("Bitmap-bestanden (*.bmp)"),
                     const PictureDrawing& drawing = {});
// The same with the window's drawing, for the windows that can repaint their
// picture from their state.
bool SaveGraphPicture(const QImage& picture, const QString& defaultName, const PictureDrawing& drawing,
                      bool appendBmp = false);

// Writes the picture to `fileName` in the format its extension names (see
// above, and ".pdf" a PDF page the picture's size, drawn where `drawing` is given, else its pixels);
// SVG needs `drawing`. The file appears only when complete and synced (WriteFileSafely); a folder,
// device or pipe in its place is refused. Returns
// false when it could not be written.
bool WritePicture(const QImage& picture, const QString& fileName, const PictureDrawing& drawing = {},
                  const QString& title = {});

} // namespace tarvik::ui
