#include "modules/ip/ui/mipunit.h"

#include "common/ui/windowowner.h"
#include "modules/ip/ui/mip.h"
#include "modules/ip/ui/mipinstelunit.h"
#include "modules/ip/ui/mipprogress.h"
#include "modules/ip/ui/searchtree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>

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

TMIPmodule::TMIPmodule(QWidget* parent) : TModelWindow(Texts(), parent) {
    // Settings stand before Font in the Options menu.
    auto* settingsAct = new QAction(QStringLiteral("Settings"), optionsMenu());
    connect(settingsAct, &QAction::triggered, this, &TMIPmodule::SettingsClick);
    optionsMenu()->insertAction(optionsMenu()->actions().value(0), settingsAct);
    settings_ = new TMIPInstellingen(this);

    // The search tree of the last run: in the Calculations menu, and as a
    // button beside the page tabs while the output page is shown.
    for (QMenu* menu : moduleMenus())
        if (menu->title() == QStringLiteral("Calculations")) {
            treeAction_ = menu->addAction(QStringLiteral("Search tree"), QKeySequence(Qt::CTRL | Qt::Key_T),
                                          this, [this] { SearchTreeClick(); });
            treeAction_->setObjectName(QStringLiteral("SearchTreeAct"));
        }
    treeButton_ = new QPushButton(QStringLiteral("Search tree"), pages());
    treeButton_->setObjectName(QStringLiteral("SearchTreeBtn"));
    treeButton_->setToolTip(QStringLiteral("The branch-and-bound tree of the last run"));
    connect(treeButton_, &QPushButton::clicked, this, [this] { SearchTreeClick(); });
    pages()->setCornerWidget(treeButton_, Qt::TopRightCorner);
    updateTreeCommands();
}

TMIPmodule::~TMIPmodule() = default;

TSearchTreeWindow* TMIPmodule::searchTree() const {
    return tree_;
}

void TMIPmodule::SettingsClick() {
    if (!settings_) return;
    tarvik::ui::OwnQuestion(settings_, this);
    settings_->exec();
}

void TMIPmodule::updateTreeCommands() {
    const bool available = log_ && log_->total() > 0;
    if (treeAction_) treeAction_->setEnabled(available);
    treeButton_->setVisible(available && pages()->currentIndex() == 1);
}

void TMIPmodule::PageControlChange(int index) {
    TModelWindow::PageControlChange(index);
    updateTreeCommands();
}

void TMIPmodule::SearchTreeClick(QWidget* runDialog) {
    if (!log_) return;
    if (!tree_) {
        tree_ = new TSearchTreeWindow(this);
        tree_->setLog(log_, running_);
        // Beside the main window's right edge, clear of its menu bar and tool bar.
        const QRect main = window()->frameGeometry();
        tree_->move(main.left() + main.width() / 6, main.top() + 80);
    }
    tree_->show();
    if (runDialog && runDialog->windowHandle() && tree_->windowHandle()) {
        // While the progress dialog holds the input, the tree is its own
        // window, so that it answers the mouse and keyboard during the run.
        tree_->windowHandle()->setTransientParent(runDialog->windowHandle());
        QPointer<TSearchTreeWindow> tree = tree_;
        QPointer<TMIPmodule> self = this;
        connect(runDialog, &QObject::destroyed, tree_, [tree, self] {
            if (tree && self && tree->windowHandle() && self->window()->windowHandle())
                tree->windowHandle()->setTransientParent(self->window()->windowHandle());
        });
    }
    tree_->raise();
    tree_->activateWindow();
}

bool TMIPmodule::runModel(const QString& modelText, QString& output, long& errorPosition,
                          std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) {
    // The last run's log is used again when nothing else holds it: its memory
    // is already there, so that recording the nodes costs the run little.
    std::shared_ptr<tarvik::ip::NodeLog> log = std::move(log_);
    if (tree_) tree_->setLog(nullptr, true);
    if (!log || log.use_count() > 1) log = std::make_shared<tarvik::ip::NodeLog>();
    log->clear();
    log_ = log;
    running_ = true;
    if (tree_) tree_->setLog(log, true);
    updateTreeCommands();
    QPointer<TMIPmodule> self(this);
    TMIPSolver::Hooks hooks;
    hooks.search = settings_ ? settings_->search() : tarvik::ip::kDefaultSearch;
    hooks.log = log;
    hooks.searchTree = [self](TMIPProgressDialog* dialog) {
        if (self) self->SearchTreeClick(dialog);
    };
    hooks.yielded = [self] {
        if (self && self->tree_) self->tree_->liveUpdate();
    };
    hooks.finished = [self] {
        if (!self) return;
        self->running_ = false;
        self->updateTreeCommands();
        if (self->tree_) self->tree_->runFinished();
    };
    TMIPSolver solver(window());
    const bool ok = solver.run(modelText, hooks);
    output = solver.output();
    errorPosition = solver.errorPosition();
    graphical = solver.graphical();
    if (self) {
        self->running_ = false;
        self->updateTreeCommands();
    }
    return ok;
}

void TMIPmodule::releaseModule() {
    delete tree_;
    delete settings_;
    settings_ = nullptr;
}

} // namespace tarvik::ui
