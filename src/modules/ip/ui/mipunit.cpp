#include "modules/ip/ui/mipunit.h"

#include "modules/ip/ui/mip.h"

namespace tarvik::ui {
namespace {

// Tool bar hints and context menu are Dutch at run time; every edit command
// acts on the editor, whichever page is shown.
ModelWindowTexts Texts() {
    ModelWindowTexts t;
    t.objectName = QStringLiteral("MIPmodule");
    t.caption = QStringLiteral("Integer programming");
    t.resultCaption = QStringLiteral("Back to make adapted model or new model");
    t.fileFolderKey = QStringLiteral("ip");
    t.examplesKind = QStringLiteral("ip");
    t.fileFilter = QStringLiteral("Tarvik MIP Bestanden (*.tip)");
    t.saveFilter = QStringLiteral("Tarvik MIP Bestanden (*.tip)");
    t.saveFailed = QStringLiteral("No file open yet!");
    t.calcHint = QStringLiteral("Berekenen");
    t.printHint = QStringLiteral("Afdrukken");
    t.closeHint = QStringLiteral("IP afsluiten");
    t.closeModuleItem = QStringLiteral("Close Integer Programming");
    t.popupCaptions = {QStringLiteral("Knippen"), QStringLiteral("Kopieren"), QStringLiteral("Plakken")};
    t.helpContext = 10;
    t.helpKey = true;
    t.standardCaptions = true;
    t.newModelShowsInput = true;
    return t;
}

} // namespace

QStringList TMIPmodule::Template() {
    return {
        QStringLiteral("{ Specify below the objective function -- close with a ';' }"),
        QStringLiteral("{ Example: max x1 + x2;                                    }"),
        QString(),
        QString(),
        QStringLiteral("{ Specify below the constraints including the nature of the }"),
        QStringLiteral("{ integer-valued variables close each constraint with a ';' }"),
        QStringLiteral("{ Use $binary to indicate 0-1 variables and $integer to     }"),
        QStringLiteral("{ indicate integer-valued variables that are not            }"),
        QStringLiteral("{ necessarily binary                                        }"),
        QStringLiteral("{ Example: 2x1 + x2 + y <= 5; $integer x1,x2; $binary y;    }"),
        QString(),
        QString(),
    };
}

TMIPmodule::TMIPmodule(QWidget* parent) : TModelWindow(Texts(), parent) {}

TMIPmodule::~TMIPmodule() = default;

bool TMIPmodule::runModel(const QString& modelText, QString& output, long& errorPosition,
                          std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) {
    TMIPSolver solver(window());
    const bool ok = solver.run(modelText);
    output = solver.output();
    errorPosition = solver.errorPosition();
    graphical = solver.graphical();
    return ok;
}

} // namespace tarvik::ui
