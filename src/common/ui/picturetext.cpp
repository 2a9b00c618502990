#include "common/ui/picturetext.h"

namespace tarvik::ui {
namespace {
PictureTextLog* gLog = nullptr;
}

QRect TextBox(const QFontMetrics& fm, int x, int y, const QString& text) {
    return QRect(x, y, fm.horizontalAdvance(text), fm.height());
}

PictureTextLog::PictureTextLog() : previous_(gLog) {
    gLog = this;
}

PictureTextLog::~PictureTextLog() {
    gLog = previous_;
}

void PictureTextLog::Record(const QRect& box, const QString& text) {
    if (!gLog || text.trimmed().isEmpty()) return;
    // A value painted again in its place (over its field) replaces the old one.
    for (PictureText& t : gLog->texts)
        if (t.box.topLeft() == box.topLeft()) {
            t = {box, text};
            return;
        }
    gLog->texts.push_back({box, text});
}

std::optional<std::pair<PictureText, PictureText>> PictureTextLog::overlap() const {
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            if (texts[i].box.intersects(texts[j].box)) return std::make_pair(texts[i], texts[j]);
    return std::nullopt;
}

} // namespace tarvik::ui
