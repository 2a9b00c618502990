#include "common/ui/modulewindow.h"

#include "common/ui/help.h"
#include "common/ui/windowowner.h"

#include <QAction>
#include <QActionEvent>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>

namespace tarvik::ui {

ModuleWindow::ModuleWindow(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
}

ModuleWindow::~ModuleWindow() = default;

QMenu* ModuleWindow::addModuleMenu(const QString& title) {
    auto* menu = new QMenu(title, this);
    menus_.append(menu);
    // The menu's actions also act on the window itself, so that their
    // shortcuts work whether or not the menu bar shows the menu.
    menu->installEventFilter(this);
    return menu;
}

QAction* ModuleWindow::addHelpMenu(int helpContext) {
    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    QAction* explanation = help->addAction(QStringLiteral("Explanation"));
    explanation->setObjectName(QStringLiteral("Explanation1"));
    explanation->setShortcut(QKeySequence(Qt::Key_F1));
    connect(explanation, &QAction::triggered, this, [this, helpContext] { ShowHelp(helpContext, this); });
    return explanation;
}

bool ModuleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActionAdded && qobject_cast<QMenu*>(watched)) {
        auto* added = static_cast<QActionEvent*>(event)->action();
        if (added && !added->isSeparator()) {
            if (!added->shortcut().isEmpty()) added->setShortcutContext(Qt::WindowShortcut);
            addAction(added);
            if (QMenu* sub = added->menu()) sub->installEventFilter(this);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ModuleWindow::closeModule() {
    if (closed_) return true;
    if (closing_) return false;
    if (!canClose()) return false;
    closing_ = true;
    releaseModule();
    closed_ = true;
    emit moduleClosed();
    hide();
    deleteLater();
    return true;
}

void ModuleWindow::closeEvent(QCloseEvent* event) {
    if (closeModule())
        event->accept();
    else
        event->ignore();
}

void MakeStayOnTopTool(QWidget* window) {
    window->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    PlaceInClientArea(window);
}

} // namespace tarvik::ui
