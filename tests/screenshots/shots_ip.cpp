#include "screenshots/shots.h"

#include "modules/ip/ui/mipmodule.h"
#include "modules/ip/ui/mipprogress.h"
#include "modules/ip/ui/mipunit.h"
#include "modules/lp/ui/modeleditor.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

using tarvik::ui::TMIPmodule;
using tarvik::ui::TMIPProgressDialog;

namespace {

// The IP window open in the main window, as the toolbar button opens it.
TMIPmodule* OpenIP(tarvik::shots::Shot& shot) {
    auto* main = static_cast<tarvik::shell::TTarvikMain*>(shot.mainWindow());
    main->openModuleWindow(tarvik::ui::CreateIPWindow(main));
    return qobject_cast<TMIPmodule*>(main->module());
}

void CloseIP(TMIPmodule* ip) {
    ip->inputEditor()->document()->setModified(false);
    ip->closeModule();
    QCoreApplication::processEvents();
}

} // namespace

TARVIK_SCREENSHOT(ip_window) {
    TMIPmodule* ip = OpenIP(shot);
    if (!ip) return;
    shot.save(shot.mainWindow(), "ip-input-template");

    ip->inputEditor()->setPlainText(QStringLiteral("{ A small production model }\n"
                                                   "max 5x1 + 4x2 + 3y;\n\n"
                                                   "6x1 + 4x2 + 2y <= 24;\n"
                                                   "x1 + 2x2 + y <= 6.5;\n"
                                                   "$integer x1, x2; $binary y;\n"));
    // The progress dialog as the run leaves it, then OK.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TMIPProgressDialog*>(w);
            if (!d || !d->isVisible() || d->okButton()->text() != QStringLiteral("OK")) continue;
            poll.stop();
            shot.save(d, "ip-progress-dialog");
            d->okButton()->click();
        }
    });
    poll.start();
    ip->CalculateClick();
    shot.save(shot.mainWindow(), "ip-output");
    CloseIP(ip);
}

TARVIK_SCREENSHOT(ip_progress_running) {
    // The dialog while a search runs: bounds so far and the Stop button.
    TMIPProgressDialog dialog;
    dialog.setLine(4);
    dialog.setVariables(3);
    dialog.setConditions(2);
    dialog.setLowerBound(QStringLiteral("     18.00"));
    dialog.setUpperBound(QStringLiteral("     21.25"));
    dialog.setIteration(7);
    shot.save(&dialog, "ip-progress-running");
}

// The graphical page of an integer model: the integer points, the LP optimum
// and the integer optimum apart from it.
TARVIK_SCREENSHOT(ip_graphical) {
    TMIPmodule* ip = OpenIP(shot);
    if (!ip) return;
    ip->inputEditor()->setPlainText(
        QStringLiteral("max 5x1 + 4x2;\n6x1 + 4x2 <= 24;\nx1 + 2x2 <= 6;\n$integer x1, x2;\n"));
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<TMIPProgressDialog*>(w);
            if (!d || !d->isVisible() || d->okButton()->text() != QStringLiteral("OK")) continue;
            poll.stop();
            d->okButton()->click();
        }
    });
    poll.start();
    ip->CalculateClick();
    ip->pages()->setCurrentIndex(2);
    shot.save(shot.mainWindow(), "ip-graphical");
    CloseIP(ip);
}
