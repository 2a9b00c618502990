#include "modules/lp/ui/lpunit.h"

#include "common/ui/windowowner.h"
#include "modules/lp/ui/lpinstelunit.h"
#include "modules/lp/ui/modeleditor.h"
#include "modules/lp/ui/solver.h"

#include <QMenu>
#include <QTabWidget>

namespace tarvik::ui {
namespace {

ModelWindowTexts Texts() {
    ModelWindowTexts t;
    t.objectName = QStringLiteral("LP");
    t.caption = QStringLiteral("Linear programming");
    t.resultCaption = QStringLiteral("Return for adapted or new model");
    t.fileFolderKey = QStringLiteral("lp");
    t.examplesKind = QStringLiteral("lp");
    t.fileFilter = QStringLiteral("Tarvik LP bestanden (*.tlp)");
    t.saveFilter = QStringLiteral("Tarvik LP Bestanden (*.tlp)");
    t.saveFailed = QStringLiteral("No file opened yet!");
    t.calcHint = QStringLiteral("Calculations");
    t.printHint = QStringLiteral("Settings printer");
    t.closeHint = QStringLiteral("Previous");
    t.closeModuleItem = QStringLiteral("Close linear programming");
    t.popupCaptions = {QStringLiteral("Knip&pen"), QStringLiteral("&Kopieren"), QStringLiteral("&Plakken"),
                       QStringLiteral("&Wissen"), QStringLiteral("&Alles Selecteren")};
    t.helpContext = 9;
    t.helpKey = true;
    t.editsFollowPage = true;
    return t;
}

} // namespace

QStringList TLP::Template() {
    return {
        QStringLiteral("{ Specify below the objective function -- close with a ';' }"),
        QStringLiteral("{ Example: max x1 + x2;                                    }"),
        QString(),
        QString(),
        QStringLiteral("{ Specify below the constraints -- close each constraint with a ';'}"),
        QStringLiteral("{ Example: 2x1 + x2 <= 5;                                          }"),
        QString(),
        QString(),
    };
}

TLP::TLP(QWidget* parent) : TModelWindow(Texts(), parent) {
    // Settings stand before Font in the Options menu.
    auto* settingsAct = new QAction(QStringLiteral("Settings"), optionsMenu());
    connect(settingsAct, &QAction::triggered, this, &TLP::SettingsClick);
    optionsMenu()->insertAction(optionsMenu()->actions().value(0), settingsAct);

    contextMenu()->addSeparator();
    addModelAction(
        contextMenu()->addAction(QStringLiteral("&Bereken Oplossing"), this, &TLP::CalculateClick));

    settings_ = new TLPInstellingen(this);
}

TLP::~TLP() = default;

void TLP::SettingsClick() {
    if (!settings_) return;
    tarvik::ui::OwnQuestion(settings_, this);
    settings_->exec();
}

void TLP::PageControlChange(int index) {
    TModelWindow::PageControlChange(index);
    // Typing goes to the model whenever its page shows.
    if (pages()->currentIndex() == 0) inputEditor()->setFocus();
}

bool TLP::runModel(const QString& modelText, QString& output, long& errorPosition,
                   std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) {
    tarvik::lp::LPSettings settings = settings_ ? settings_->settings() : tarvik::lp::LPSettings{};
    settings.graphical = true; // the page shows for models with two variables
    TSolver solver(window());
    const bool ok = solver.run(modelText, settings);
    output = solver.output();
    errorPosition = solver.errorPosition();
    graphical = solver.graphical();
    return ok;
}

void TLP::releaseModule() {
    delete settings_;
    settings_ = nullptr;
}

} // namespace tarvik::ui
