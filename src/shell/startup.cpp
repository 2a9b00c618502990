#include "shell/startup.h"

#include "common/random.h"
#include "common/ui/appsetup.h"
#include "shell/mainwindow.h"
#include "shell/modulelist.h"

#include <QAction>
#include <QToolButton>

namespace tarvik::shell {

TTarvikMain* CreateStartWindows() {
    tarvik::Randomize();
    tarvik::ui::SetUpApplication();
    auto* main = new TTarvikMain;
    // The Markov progress window first, then the parameter windows of the tables.
    for (const char* name : {"SpeedButton1", "StartTables"})
        for (const ModuleEntry& m : Modules())
            if (m.name == QLatin1String(name) && m.atStart) m.atStart(main);
    return main;
}

void ShowQueueEntries(TTarvikMain& main) {
    if (auto* button = main.toolbarButton(QStringLiteral("StartQueue"))) button->setVisible(true);
    if (auto* entry = main.menuEntry(QStringLiteral("MenuQueue"))) entry->setVisible(true);
}

} // namespace tarvik::shell
