#include "shell/startup.h"

#include "common/random.h"
#include "common/ui/appsetup.h"
#include "shell/mainwindow.h"
#include "shell/modulelist.h"

#include <QAction>

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
    // As "Show queue models" checked, for this run only (nothing is saved).
    main.showQueueModelsEntry()->setChecked(true);
}

} // namespace tarvik::shell
