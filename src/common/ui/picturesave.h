#pragma once
#include <QImage>
#include <QString>

namespace tarvik::ui {

// "Save graph to file": asks for a file name in ProgramDir, proposing
// `defaultName`, and writes the picture as a Windows bitmap. Only where
// `appendBmp` is set does a name typed without an extension get ".bmp".
// Returns false when the user cancelled or the file could not be written (an
// error message then says so).
bool SaveGraphBitmap(const QImage& picture, const QString& defaultName, bool appendBmp = false,
                     const QString& fileTypeText = QStringLiteral("Bitmap-bestanden (*.bmp)"));

} // namespace tarvik::ui
