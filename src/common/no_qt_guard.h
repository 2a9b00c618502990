// Forced into every computation source: computation never depends on Qt.
#pragma once
#if defined(QT_CORE_LIB) || defined(QT_GUI_LIB) || defined(QT_WIDGETS_LIB) || defined(QT_VERSION)
#error "Computation code must not use Qt."
#endif
