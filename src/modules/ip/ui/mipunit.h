#pragma once
// The integer-programming module window: an editor for one model, an output
// page for the last result, model files, printing, the settings, the run and
// the search tree of the last run.
#include "modules/ip/nodelog.h"
#include "modules/lp/ui/modelwindow.h"

#include <QPointer>
#include <memory>

class QPushButton;

namespace tarvik::ui {

class TMIPInstellingen;
class TSearchTreeWindow;

class TMIPmodule : public TModelWindow {
    Q_OBJECT
public:
    explicit TMIPmodule(QWidget* parent = nullptr);
    ~TMIPmodule() override;

    void SettingsClick();
    // Shows the search tree of the last run (live while it runs). `runDialog`
    // is the progress dialog that asks while the run holds the input.
    void SearchTreeClick(QWidget* runDialog = nullptr);

    TMIPInstellingen* settingsDialog() const { return settings_; }
    TSearchTreeWindow* searchTree() const;
    QPushButton* searchTreeButton() const { return treeButton_; }
    QAction* searchTreeAction() const { return treeAction_; }
    // The log of the last run (empty before the first).
    std::shared_ptr<const tarvik::ip::NodeLog> lastLog() const { return log_; }

    // The empty model a new file starts with.
    static QStringList Template();

protected:
    QStringList modelTemplate() const override { return Template(); }
    bool runModel(const QString& modelText, QString& output, long& errorPosition,
                  std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) override;
    void PageControlChange(int index) override;
    void releaseModule() override;

private:
    void updateTreeCommands();

    TMIPInstellingen* settings_;
    QPointer<TSearchTreeWindow> tree_;
    QPushButton* treeButton_ = nullptr;
    QAction* treeAction_ = nullptr;
    std::shared_ptr<tarvik::ip::NodeLog> log_;
    bool running_ = false;
};

} // namespace tarvik::ui
