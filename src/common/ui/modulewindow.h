#pragma once
// The base of every module window. The shell places it in its client area and,
// while it is open, shows the module's menus in place of its own.
#include <QList>
#include <QWidget>

class QAction;
class QMenu;

namespace tarvik::ui {

class ModuleWindow : public QWidget {
    Q_OBJECT
public:
    explicit ModuleWindow(QWidget* parent = nullptr);
    ~ModuleWindow() override;

    // The module's menus in order: File (group 0), its options (group 5), Help (group 7).
    const QList<QMenu*>& moduleMenus() const { return menus_; }

    // The module close sequence: asks `canClose`, then releases the module's
    // dialogs and pictures (`releaseModule`), emits `moduleClosed` and lets the
    // window be destroyed. Returns false when the module refused to close.
    bool closeModule();
    bool isClosing() const { return closing_; }

signals:
    // Emitted once, just before the window is destroyed.
    void moduleClosed();

protected:
    // Adds a menu of the module; its actions' shortcuts also work on the window.
    QMenu* addModuleMenu(const QString& title);
    // Adds the Help menu with its "Explanation" entry ("Explanation1", F1),
    // which opens help topic `helpContext`; returns that entry.
    QAction* addHelpMenu(int helpContext);
    // FormCloseQuery: false keeps the module open (an unsaved model, say).
    virtual bool canClose() { return true; }
    // Stops running computations and releases dialogs and picture windows.
    virtual void releaseModule() {}
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QMenu*> menus_;
    bool closing_ = false;
    bool closed_ = false;
};

// A stay-on-top tool window owned by a module window.
void MakeStayOnTopTool(QWidget* window);

} // namespace tarvik::ui
