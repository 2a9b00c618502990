#pragma once
#include <QByteArray>
#include <QImage>

namespace tarvik::shell {

// Decodes a JPEG file held in memory with libjpeg; a null image when the data
// is not a readable JPEG.
QImage DecodeJpeg(const QByteArray& data);

} // namespace tarvik::shell
