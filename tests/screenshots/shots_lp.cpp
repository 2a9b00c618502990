#include "screenshots/shots.h"

#include "modules/lp/ui/lpinstelunit.h"
#include "modules/lp/ui/lpprogress.h"
#include "modules/lp/ui/lpunit.h"
#include "modules/lp/ui/modeleditor.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
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

} // namespace

TARVIK_SCREENSHOT(lp_window) {
    TLP* lp = OpenLP(shot);
    if (!lp) return;
    shot.save(shot.mainWindow(), "lp-input-template");

    lp->inputEditor()->setPlainText(
        QStringLiteral("{ A textbook model }\nmax 3x1 + 5x2;\n\nx1 <= 4;\n2x2 <= 12;\n"
                       "3x1 + 2x2 <= 18;\n"));
    // The progress dialog as the run leaves it, then OK.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TProgressDialog*>(w);
            if (!d || !d->isVisible() || !d->okButton()->isEnabled()) continue;
            poll.stop();
            shot.save(d, "lp-progress-dialog");
            d->okButton()->click();
        }
    });
    poll.start();
    lp->CalculateClick();
    shot.save(shot.mainWindow(), "lp-output-textbook");
    CloseLP(lp);
}

TARVIK_SCREENSHOT(lp_settings) {
    tarvik::ui::TLPInstellingen settings;
    settings.firstLastButton()->setChecked(true);
    shot.save(&settings, "lp-settings");
}
