#include "shell/mainwindow.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "shell/commandline.h"
#include "shell/icons.h"
#include "shell/infoform.h"
#include "shell/modulelist.h"
#include "shell/programsettings.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStackedLayout>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik::shell {

namespace {
const QString kMainTitle = QStringLiteral("Tarvik for Windows");
} // namespace
namespace {
TTarvikMain* gMain = nullptr;
}

TTarvikMain* TTarvikMain::instance() {
    return gMain;
}

TTarvikMain::TTarvikMain(QWidget* parent) : QMainWindow(parent) {
    gMain = this;
    setObjectName(QStringLiteral("TarvikMain"));
    ProgramDir = tarvik::ui::ProgramDir();
    ModuleOpen = false;
    MarkovOpen = false;
    setWindowTitle(kMainTitle);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The toolbar: a panel 55 pixels high with square 35 by 35 buttons.
    toolbar_ = new QWidget(central);
    toolbar_->setObjectName(QStringLiteral("ToolbarPanel"));
    toolbar_->setFixedHeight(55);
    auto* row = new QHBoxLayout(toolbar_);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(4);
    const auto& modules = Modules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const ModuleEntry& m = modules[i];
        auto* b = new QToolButton(toolbar_);
        b->setObjectName(m.name);
        b->setFixedSize(35, 35);
        b->setIcon(ModuleIcon(m.iconName));
        b->setIconSize(QSize(28, 28));
        b->setToolTip(m.hint);
        b->setStatusTip(m.hint);
        b->setAutoRaise(true);
        b->setVisible(m.toolbarShown);
        b->setEnabled(static_cast<bool>(m.create));
        connect(b, &QToolButton::clicked, this, [this, i] { openModule(static_cast<int>(i)); });
        row->addWidget(b);
        buttons_.push_back(b);
    }
    row->addStretch(1);
    column->addWidget(toolbar_);

    client_ = new QWidget(central);
    client_->setObjectName(QStringLiteral("ClientArea"));
    clientLayout_ = new QStackedLayout(client_);
    column->addWidget(client_, 1);
    setCentralWidget(central);

    fileMenu_ = menuBar()->addMenu(QStringLiteral("File"));
    QAction* exitAction = fileMenu_->addAction(QStringLiteral("Exit Tarvik"));
    exitAction->setObjectName(QStringLiteral("ExitTarvik"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    modulesMenu_ = menuBar()->addMenu(QStringLiteral("Modules"));
    entries_.resize(modules.size(), nullptr);
    for (int i : MenuOrder()) {
        const ModuleEntry& m = modules[static_cast<std::size_t>(i)];
        QAction* a = modulesMenu_->addAction(m.hint);
        a->setObjectName(m.menuName);
        a->setVisible(m.menuShown);
        a->setEnabled(static_cast<bool>(m.create));
        connect(a, &QAction::triggered, this, [this, i] { openModule(i); });
        entries_[static_cast<std::size_t>(i)] = a;
    }
    // The Queue module is hidden unless this is checked; the choice holds at
    // the next start.
    modulesMenu_->addSeparator();
    showQueueModels_ = modulesMenu_->addAction(QStringLiteral("Show queue models"));
    showQueueModels_->setObjectName(QStringLiteral("ShowQueueModels"));
    showQueueModels_->setCheckable(true);
    connect(showQueueModels_, &QAction::toggled, this, &TTarvikMain::showQueueModels);
    connect(showQueueModels_, &QAction::triggered, this, [](bool shown) {
        if (const auto file = SaveQueueModelsShown(shown))
            MsgDlg(QStringLiteral("The setting could not be saved in %1").arg(*file),
                   tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK, 0);
    });
    showQueueModels_->setChecked(QueueModelsShown());

    helpMenu_ = menuBar()->addMenu(QStringLiteral("Help"));
    QAction* explanation = helpMenu_->addAction(QStringLiteral("Explanation"));
    explanation->setObjectName(QStringLiteral("HelpExplanation"));
    explanation->setShortcut(QKeySequence(Qt::Key_F1));
    // F1 anywhere in the main window opens this topic, unless an open
    // module's window names its own.
    tarvik::ui::SetHelpContext(this, 1);
    connect(explanation, &QAction::triggered, this, [this] { tarvik::ui::ShowHelp(1, this); });
    // The About box: version, copyright and licence.
    helpMenu_->addSeparator();
    QAction* about = helpMenu_->addAction(QStringLiteral("About Tarvik"));
    about->setObjectName(QStringLiteral("HelpAbout"));
    connect(about, &QAction::triggered, this, [] {
        tarvik::ui::Dialogs().message({.text = QString::fromStdString(AboutText()),
                                       .kind = tarvik::ui::MsgKind::Information,
                                       .buttons = tarvik::ui::mbOK,
                                       .caption = QStringLiteral("About Tarvik")});
    });

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    createWelcome();
}

TTarvikMain::~TTarvikMain() {
    if (gMain == this) gMain = nullptr;
}

void TTarvikMain::showQueueModels(bool shown) {
    const auto& modules = Modules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (modules[i].name != QLatin1String("StartQueue")) continue;
        buttons_[i]->setVisible(shown || modules[i].toolbarShown);
        if (entries_[i]) entries_[i]->setVisible(shown || modules[i].menuShown);
    }
}

QToolButton* TTarvikMain::toolbarButton(const QString& name) const {
    for (QToolButton* b : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

QAction* TTarvikMain::menuEntry(const QString& name) const {
    for (QAction* a : entries_)
        if (a && a->objectName() == name) return a;
    return nullptr;
}

void TTarvikMain::createWelcome() {
    welcome_ = new TInfoForm(client_);
    clientLayout_->addWidget(welcome_);
    clientLayout_->setCurrentWidget(welcome_);
    welcome_->show();
}

QRect TTarvikMain::startGeometry(const QRect& screen) const {
    QSize size = minimumSizeHint();
    if (welcome_) {
        const QSize picture = welcome_->picture().size();
        const int bars = menuBar()->sizeHint().height() + toolbar_->height() +
                         (statusBar()->isVisibleTo(this) ? statusBar()->sizeHint().height() : 0);
        size = size.expandedTo(QSize(picture.width(), picture.height() + bars));
    }
    size = size.boundedTo(screen.size());
    QRect r(QPoint(0, 0), size);
    r.moveCenter(screen.center());
    return r;
}

void TTarvikMain::showAtStart() {
    if (QScreen* s = screen()) setGeometry(startGeometry(s->availableGeometry()));
    showMaximized();
}

void TTarvikMain::showShellMenus(bool shown) {
    for (QMenu* m : {fileMenu_, modulesMenu_, helpMenu_}) m->menuAction()->setVisible(shown);
}

void TTarvikMain::openModule(int index) {
    const auto& modules = Modules();
    if (index < 0 || index >= static_cast<int>(modules.size()) || ModuleOpen || module_) return;
    const ModuleEntry& m = modules[static_cast<std::size_t>(index)];
    if (!m.create) return;
    openModuleWindow(m.create(client_), m.name == QLatin1String("SpeedButton1"));
}

void TTarvikMain::openModuleWindow(tarvik::ui::ModuleWindow* w, bool markov) {
    if (!w) return;
    toolbar_->hide();
    if (welcome_) {
        clientLayout_->removeWidget(welcome_);
        delete welcome_;
    }
    w->setParent(client_);
    module_ = w;
    ModuleOpen = true;
    if (markov) MarkovOpen = true;
    // The module's File, options and Help menus take the places of the shell's.
    showShellMenus(false);
    for (QMenu* menu : w->moduleMenus()) menuBar()->addMenu(menu);
    connect(w, &tarvik::ui::ModuleWindow::moduleClosed, this, &TTarvikMain::onModuleClosed);
    clientLayout_->addWidget(w);
    clientLayout_->setCurrentWidget(w);
    // The title shows the module's caption as a maximised child window's would,
    // and follows it when the module changes it (a file name, say).
    auto showCaption = [this](const QString& caption) {
        setWindowTitle(caption.isEmpty() ? kMainTitle : kMainTitle + QStringLiteral(" - ") + caption);
    };
    connect(w, &QWidget::windowTitleChanged, this, showCaption);
    w->show();
    showCaption(w->windowTitle());
    // A module that put the focus on one of its fields keeps it there.
    if (!w->focusWidget()) w->setFocus();
}

void TTarvikMain::onModuleClosed() {
    if (module_) {
        for (QMenu* menu : module_->moduleMenus()) menuBar()->removeAction(menu->menuAction());
        clientLayout_->removeWidget(module_);
    }
    module_ = nullptr;
    setWindowTitle(kMainTitle);
    showShellMenus(true);
    toolbar_->show();
    createWelcome();
    ModuleOpen = false;
}

void TTarvikMain::closeEvent(QCloseEvent* event) {
    if (ModuleOpen) {
        // Close the module only; the program keeps running.
        if (module_) module_->closeModule();
        ModuleOpen = false;
        event->ignore();
        return;
    }
    if (MsgDlg(QStringLiteral("Exit Tarvik"), tarvik::ui::MsgKind::Confirmation, tarvik::ui::mbYesNo, 0) ==
        tarvik::ui::mrNo) {
        event->ignore();
        return;
    }
    event->accept();
}

void TTarvikMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && !ModuleOpen) {
        tarvik::ui::ShowHelp(1, this);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace tarvik::shell
