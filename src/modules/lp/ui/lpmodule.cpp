#include "modules/lp/ui/lpmodule.h"

#include "modules/lp/ui/lpunit.h"

namespace tarvik::ui {

ModuleWindow* CreateLPWindow(QWidget* parent) {
    return new TLP(parent);
}

} // namespace tarvik::ui
