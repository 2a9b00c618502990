#pragma once
// Where the texts of a picture stand: the rectangle a text takes when painted
// with its top-left corner at a point, and a log of the texts a picture paints
// (kept while a PictureTextLog lives), so that a picture's labels can be laid
// out clear of one another and a test can measure them.
#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace tarvik::ui {

// The rectangle of `text` painted with its top-left corner at (x, y).
QRect TextBox(const QFontMetrics& fm, int x, int y, const QString& text);

struct PictureText {
    QRect box;
    QString text;
};

class PictureTextLog {
public:
    PictureTextLog();
    ~PictureTextLog();
    PictureTextLog(const PictureTextLog&) = delete;
    PictureTextLog& operator=(const PictureTextLog&) = delete;

    // Called by the pictures' text helpers for every text they paint; a text
    // painted where another began replaces it (a value painted over anew).
    static void Record(const QRect& box, const QString& text);

    std::vector<PictureText> texts;
    // The first two texts whose rectangles overlap, if any.
    std::optional<std::pair<PictureText, PictureText>> overlap() const;

private:
    PictureTextLog* previous_;
};

} // namespace tarvik::ui
