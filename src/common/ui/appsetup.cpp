#include "common/ui/appsetup.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"
#include "common/ui/help.h"

#include <QApplication>
#include <QFont>
#include <QLocale>

namespace tarvik::ui {

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    // The window fonts of the program, by their metric-compatible stand-ins.
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QLocale::setDefault(QLocale::c());
    UseDotDecimalMark();
    InstallHelpKey();
    InstallAccessibleNames();
}

} // namespace tarvik::ui
