#pragma once

namespace tarvik::shell {

class TTarvikMain;

// Creates the windows of the start, in order: the main window with its welcome
// window, then the windows the modules keep for the whole run.
TTarvikMain* CreateStartWindows();

} // namespace tarvik::shell
