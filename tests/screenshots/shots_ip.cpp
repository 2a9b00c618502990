#include "screenshots/shots.h"

#include "modules/ip/miprun.h"
#include "modules/ip/ui/mipinstelunit.h"
#include "modules/ip/ui/mipmodule.h"
#include "modules/ip/ui/mipprogress.h"
#include "modules/ip/ui/mipunit.h"
#include "modules/ip/ui/searchtree.h"
#include "modules/lp/ui/modeleditor.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <memory>

using tarvik::ui::TMIPmodule;
using tarvik::ui::TMIPProgressDialog;

namespace {

// The IP window open in the main window, as the toolbar button opens it.
TMIPmodule* OpenIP(tarvik::shots::Shot& shot) {
    auto* main = static_cast<tarvik::shell::TTarvikMain*>(shot.mainWindow());
    main->openModuleWindow(tarvik::ui::CreateIPWindow(main));
    return qobject_cast<TMIPmodule*>(main->module());
}

std::string DataModel(const char* file) {
    QFile f(QStringLiteral(TARVIK_TEST_DATA "/ip/") + QLatin1String(file));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

// The log of a whole search of a model.
std::shared_ptr<tarvik::ip::NodeLog> Search(const char* file, tarvik::ip::SearchOptions search = {}) {
    auto log = std::make_shared<tarvik::ip::NodeLog>();
    tarvik::ip::MIPProgress quiet;
    tarvik::ip::RunMIP(DataModel(file), quiet, {.search = search, .log = log.get()});
    return log;
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

TARVIK_SCREENSHOT(ip_search_tree) {
    // The textbook search of max x1 + x2; 2x1 + 2x2 <= 3, node 2 chosen.
    tarvik::ui::TSearchTreeWindow tree;
    tree.resize(1040, 720);
    tree.setLog(Search("half.tip"), false);
    tree.show();
    tree.view()->select(2);
    shot.saveWithCaption(&tree, "ip-search-tree");

    // A knapsack's 48 nodes, node 9 chosen in the list.
    tree.setLog(Search("knapsack.tip"), false);
    tree.view()->zoomBy(0.64);
    tree.view()->select(9);
    shot.saveWithCaption(&tree, "ip-search-tree-knapsack");

    // 5,636 nodes: the first levels drawn, the rest summarised. A node of the last
    // level drawn, with the counts below it; then the whole tree fitted.
    tree.setLog(Search("knapsack24.tip"), false);
    tree.view()->zoomBy(1 / tree.view()->zoom());
    for (const tarvik::ip::TreeBox& box : tree.view()->layout().boxes)
        if (box.kind == tarvik::ip::BoxKind::Summary && box.hidden > 20) {
            tree.view()->select(box.node);
            tree.view()->centreOn(box.node);
            break;
        }
    shot.saveWithCaption(&tree, "ip-search-tree-large");
    tree.view()->fitToWindow();
    shot.saveWithCaption(&tree, "ip-search-tree-large-fit");
}

TARVIK_SCREENSHOT(ip_search_tree_live) {
    // A search in progress, pictured after its first 30 nodes: the log of the
    // whole search replayed so far, with the path to the node being solved.
    const auto whole = Search("knapsack.tip");
    tarvik::ip::ReadSink sink;
    const tarvik::ip::MIPReadResult read = tarvik::ip::ReadMIPModel(DataModel("knapsack.tip"), sink);
    auto part = std::make_shared<tarvik::ip::NodeLog>();
    part->begin(read.model, {});
    for (int k = 1; k <= 30; ++k) {
        std::vector<double> x(static_cast<std::size_t>(read.model.n), 0.0);
        for (const auto& v : whole->solution(k)) x[static_cast<std::size_t>(v.var - 1)] = v.value;
        part->add(whole->node(k), x.data(), read.model.n);
    }
    tarvik::ui::TSearchTreeWindow tree;
    tree.resize(1040, 720);
    tree.setLog(part, true);
    tree.show();
    tree.view()->zoomBy(0.64);
    tree.liveUpdate();
    shot.saveWithCaption(&tree, "ip-search-tree-live");
}

TARVIK_SCREENSHOT(ip_settings) {
    tarvik::ui::TMIPInstellingen settings;
    settings.fasterSearchBox()->setChecked(true);
    shot.saveWithCaption(&settings, "ip-settings");
}
