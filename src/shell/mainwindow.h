#pragma once
#include "common/ui/modulewindow.h"
#include "shell/infoform.h"

#include <QMainWindow>
#include <QPointer>
#include <vector>

class QToolButton;
class QMenu;
class QAction;
class QStackedLayout;

namespace tarvik::shell {

// The main window: toolbar of module buttons, menus, status bar, and a client
// area holding either the welcome window or the one open module.
class TTarvikMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TTarvikMain(QWidget* parent = nullptr);
    ~TTarvikMain() override;

    bool ModuleOpen = false;
    bool MarkovOpen = false;
    QString ProgramDir;

    // Opens the module at the given index of the module list.
    void openModule(int index);
    // Shows a module window created elsewhere as the open module.
    void openModuleWindow(tarvik::ui::ModuleWindow* window, bool markov = false);
    TInfoForm* welcome() const { return welcome_; }
    tarvik::ui::ModuleWindow* module() const { return module_; }
    QWidget* toolbarPanel() const { return toolbar_; }
    QToolButton* toolbarButton(const QString& name) const;
    QAction* menuEntry(const QString& name) const;
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* modulesMenu() const { return modulesMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }
    // "Show queue models" in the Modules menu: checked, the Queue module's
    // button and menu entry are shown.
    QAction* showQueueModelsEntry() const { return showQueueModels_; }

    // Where the window opens on `screen` (available geometry) when no window
    // manager maximises it: the welcome picture's size with the menu bar and
    // toolbar (never beyond the screen), centred.
    QRect startGeometry(const QRect& screen) const;
    // Shows the window maximised, at startGeometry() where it cannot be.
    void showAtStart();

    // The open module window of the run (the shell keeps the LP and Queue ones).
    static TTarvikMain* instance();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createWelcome();
    void onModuleClosed();
    void showShellMenus(bool shown);
    void showQueueModels(bool shown);

    QWidget* client_ = nullptr;
    QStackedLayout* clientLayout_ = nullptr;
    QWidget* toolbar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* modulesMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QPointer<TInfoForm> welcome_;
    QPointer<tarvik::ui::ModuleWindow> module_;
    std::vector<QToolButton*> buttons_;
    std::vector<QAction*> entries_;
    QAction* showQueueModels_ = nullptr;
};

} // namespace tarvik::shell
