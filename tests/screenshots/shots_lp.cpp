#include "screenshots/shots.h"

#include "modules/lp/ui/lpinstelunit.h"
#include "modules/lp/ui/lpprogress.h"
#include "modules/lp/ui/lpunit.h"
#include "modules/lp/ui/modeleditor.h"
#include "shell/mainwindow.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

using tarvik::ui::TLP;
using tarvik::ui::TProgressDialog;

namespace {

// The LP window open in the main window, as the toolbar button opens it.
TLP* OpenLP(tarvik::shots::Shot& shot) {
    auto* main = static_cast<tarvik::shell::TTarvikMain*>(shot.mainWindow());
    main->openModuleWindow(new TLP(main));
    return qobject_cast<TLP*>(main->module());
}

void CloseLP(TLP* lp) {
    lp->inputEditor()->document()->setModified(false);
    lp->closeModule();
    QCoreApplication::processEvents();
}

// "Calculate": the progress dialog is shot as the run leaves it (unless `name`
// is empty), then closed with OK.
void CalculateAndShootProgress(tarvik::shots::Shot& shot, TLP* lp, const QString& name) {
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TProgressDialog*>(w);
            if (!d || !d->isVisible() || !d->okButton()->isEnabled()) continue;
            poll.stop();
            if (!name.isEmpty()) shot.save(d, name);
            d->okButton()->click();
        }
    });
    poll.start();
    lp->CalculateClick();
}

} // namespace

TARVIK_SCREENSHOT(lp_window) {
    TLP* lp = OpenLP(shot);
    if (!lp) return;
    shot.save(shot.mainWindow(), "lp-input-template");

    lp->inputEditor()->setPlainText(
        QStringLiteral("{ A textbook model }\nmax 3x1 + 5x2;\n\nx1 <= 4;\n2x2 <= 12;\n"
                       "3x1 + 2x2 <= 18;\n"));
    CalculateAndShootProgress(shot, lp, "lp-progress-dialog");
    shot.save(shot.mainWindow(), "lp-output-textbook");
    CloseLP(lp);
}

TARVIK_SCREENSHOT(lp_settings) {
    tarvik::ui::TLPInstellingen settings;
    settings.firstLastButton()->setChecked(true);
    shot.save(&settings, "lp-settings");
}

// A syntax error on line 9 of the editor: the progress dialog names that line
// (the editor then selects it).
TARVIK_SCREENSHOT(lp_syntax_error) {
    TLP* lp = OpenLP(shot);
    if (!lp) return;
    lp->inputEditor()->setPlainText(QStringLiteral("{ A model with a fault }\n\nmax 3x1 + 5x2;\n\n"
                                                   "{ the constraints }\nx1 <= 4;\n2x2 <= 12;\n\n"
                                                   "3x1 + 2x2 => 18;\n"));
    CalculateAndShootProgress(shot, lp, "lp-progress-syntax-error");
    shot.save(shot.mainWindow(), "lp-syntax-error-selected");
    CloseLP(lp);
}

// The main window's caption names the module and its file: a new model, then
// the same model after "Save as".
TARVIK_SCREENSHOT(lp_caption) {
    TLP* lp = OpenLP(shot);
    if (!lp) return;
    shot.saveWithCaption(shot.mainWindow(), "lp-caption-new-model");
    QTemporaryDir dir;
    tarvik::test::ScriptedDialogs dialogs;
    dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("transport")));
    if (lp->SaveAsClick()) shot.saveWithCaption(shot.mainWindow(), "lp-caption-after-save-as");
    CloseLP(lp);
}

// The "Graphical solution" page of each kind of picture: a bounded region, an
// unbounded one (with phase 1 on the way), an empty one, an optimal edge, and
// a region that is a segment.
TARVIK_SCREENSHOT(lp_graphical) {
    const struct {
        const char* name;
        const char* model;
    } kinds[] = {
        {"lp-graphical-bounded", "max 3x1 + 5x2;\nx1 <= 4;\n2x2 <= 12;\n3x1 + 2x2 <= 18;\n"},
        {"lp-graphical-unbounded", "max x + 2y;\nx + y >= 2;\n-x + y <= 3;\nx - 2y <= 1;\n"},
        {"lp-graphical-infeasible", "max x + y;\nx + 2y >= 10;\n2x + y <= 4;\nx <= 3;\n"},
        {"lp-graphical-edge", "min 2x + 2y;\nx + y >= 3;\nx - y <= 2;\ny <= 4;\nx >= 0.5;\n"},
        {"lp-graphical-segment", "max x + 3y;\nx + y = 4;\nx <= 3;\ny <= 3.5;\n"},
    };
    for (const auto& kind : kinds) {
        TLP* lp = OpenLP(shot);
        if (!lp) return;
        lp->inputEditor()->setPlainText(QString::fromLatin1(kind.model));
        CalculateAndShootProgress(shot, lp, QString());
        lp->pages()->setCurrentIndex(2);
        shot.save(shot.mainWindow(), QString::fromLatin1(kind.name));
        CloseLP(lp);
    }
}

// Tableaus in fractions: the two phases of a model with "<=", "=" and ">="
// rows and decimal coefficients, the output scrolled to the phase-1 tableaus;
// and the settings dialog with the choice.
TARVIK_SCREENSHOT(lp_fractions) {
    TLP* lp = OpenLP(shot);
    if (!lp) return;
    lp->settingsDialog()->allTableausButton()->setChecked(true);
    lp->settingsDialog()->fractionsButton()->setChecked(true);
    shot.save(lp->settingsDialog(), "lp-settings-fractions");
    lp->inputEditor()->setPlainText(QStringLiteral("{ Radiation therapy }\nmin 0.4x1 + 0.5x2;\n"
                                                   "0.3x1 + 0.1x2 <= 2.7;\n0.5x1 + 0.5x2 = 6;\n"
                                                   "0.6x1 + 0.4x2 >= 6;\n"));
    CalculateAndShootProgress(shot, lp, "lp-progress-fractions");
    QPlainTextEdit* out = lp->outputView();
    out->moveCursor(QTextCursor::End);
    QTextCursor at = out->document()->find(QStringLiteral("Iteration     2"));
    at.clearSelection();
    out->setTextCursor(at);
    out->ensureCursorVisible();
    shot.save(shot.mainWindow(), "lp-output-fractions");
    CloseLP(lp);
}
