#pragma once
// Screenshots of every built window, rendered offscreen by `make screenshots`.
// A module registers its shots in a file shots_<module>.cpp:
//
//   TARVIK_SCREENSHOT(dice_settings) {
//       auto* w = ...;           // build and drive the window
//       shot.save(w, "dice-settings");  // writes <dir>/dice-settings.png
//   }
#include <QString>
#include <functional>

class QWidget;

namespace tarvik::shots {

class Shot {
public:
    explicit Shot(QString dir) : dir_(std::move(dir)) {}
    // Grabs the widget (after letting pending paint events run) into <dir>/<name>.png.
    void save(QWidget* widget, const QString& name);
    // The same with a title bar drawn above it that shows the window's
    // caption (the offscreen platform draws no window frames).
    void saveWithCaption(QWidget* widget, const QString& name);
    // The main window of the program, for shots that need the shell around a module.
    QWidget* mainWindow();
    const QString& dir() const { return dir_; }

private:
    QString dir_;
};

struct Registration {
    Registration(const char* name, std::function<void(Shot&)> fn);
};

} // namespace tarvik::shots

#define TARVIK_SCREENSHOT(id)                                                                                \
    static void tarvik_shot_##id(tarvik::shots::Shot& shot);                                                 \
    static tarvik::shots::Registration tarvik_shot_reg_##id(#id, tarvik_shot_##id);                          \
    static void tarvik_shot_##id([[maybe_unused]] tarvik::shots::Shot& shot)
