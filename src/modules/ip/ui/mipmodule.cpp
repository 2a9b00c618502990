#include "modules/ip/ui/mipmodule.h"

#include "modules/ip/ui/mipunit.h"

namespace tarvik::ui {

ModuleWindow* CreateIPWindow(QWidget* parent) {
    auto* window = new TMIPmodule(parent);
    window->NewClick();
    return window;
}

} // namespace tarvik::ui
