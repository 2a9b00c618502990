#include "screenshots/shots.h"

#include "shell/infoform.h"
#include "shell/mainwindow.h"

#include <QMenuBar>

TARVIK_SCREENSHOT(shell_main) {
    auto* main = static_cast<tarvik::shell::TTarvikMain*>(shot.mainWindow());
    shot.save(main, "shell-main-window");
}

TARVIK_SCREENSHOT(shell_welcome) {
    auto* main = static_cast<tarvik::shell::TTarvikMain*>(shot.mainWindow());
    if (main->welcome()) shot.save(main->welcome(), "shell-welcome-window");
    tarvik::shell::TInfoForm large;
    large.resize(1280, 900);
    shot.save(&large, "shell-welcome-window-1280");
}
