#pragma once
// The one explicit list of modules the shell can open, in toolbar order.
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

namespace tarvik::shell {

struct ModuleEntry {
    QString name;      // object name of the toolbar button: "StartDobbel", ...
    QString hint;      // toolbar hint, also the Modules menu caption
    QString menuName;  // object name of the Modules menu entry
    bool toolbarShown; // the button is visible
    bool menuShown;    // the menu entry is visible
    QString iconName;  // picture of the button (":/icons/<name>.png")
    // Creates the module window as a child of `parent`; empty while the module
    // is not built (its button and menu entry are then disabled).
    std::function<tarvik::ui::ModuleWindow*(QWidget* parent)> create;
    // Windows a module creates at start-up that live for the whole run.
    std::function<void(QWidget* mainWindow)> atStart;
    // Called by the failure handler on an access violation while this module is open.
    std::function<void()> onAccessViolation;
};

// In toolbar order. The Modules menu lists them in its own order (menuOrder).
const std::vector<ModuleEntry>& Modules();
// Indexes into Modules() in the order of the Modules menu.
const std::vector<int>& MenuOrder();

} // namespace tarvik::shell
