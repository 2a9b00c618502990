#pragma once

namespace tarvik::shell {

class TTarvikMain;

// Creates the windows of the start, in order: the main window with its welcome
// window, then the windows the modules keep for the whole run.
TTarvikMain* CreateStartWindows();

// Shows the Queue module's toolbar button and Modules entry, which are hidden
// by default (`tarvik --with-queue`).
void ShowQueueEntries(TTarvikMain& main);

} // namespace tarvik::shell
