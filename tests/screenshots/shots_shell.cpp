#include "screenshots/shots.h"

#include "common/ui/msgdlg.h"
#include "shell/commandline.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"

#include <QMenu>
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

TARVIK_SCREENSHOT(shell_queue_models) {
    auto* main = static_cast<tarvik::shell::TTarvikMain*>(shot.mainWindow());
    // Checked (saved in this run's own configuration folder), then unchecked again.
    main->showQueueModelsEntry()->trigger();
    QMenu* menu = main->modulesMenu();
    menu->popup(main->mapToGlobal(QPoint(60, 20)));
    shot.save(menu, "shell-modules-menu-queue-shown");
    menu->hide();
    shot.save(main, "shell-main-window-queue-shown");
    main->showQueueModelsEntry()->trigger();
}

TARVIK_SCREENSHOT(shell_about) {
    shot.mainWindow();
    tarvik::ui::TMessageForm box({.text = QString::fromStdString(tarvik::shell::AboutText()),
                                  .kind = tarvik::ui::MsgKind::Information,
                                  .buttons = tarvik::ui::mbOK,
                                  .caption = QStringLiteral("About Tarvik")});
    shot.saveWithCaption(&box, "shell-about");
}
