#pragma once
// What the shell needs to open the queue module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

namespace tarvik::queue::ui {
class TQueueMainForm;

// The one queue window of the run, or null when the module is closed.
TQueueMainForm* CurrentQueueWindow();

} // namespace tarvik::queue::ui

// Creates `TQueueMainForm` as a child of `parent` and keeps it as the current
// queue window.
tarvik::ui::ModuleWindow* CreateQueueWindow(QWidget* parent);
