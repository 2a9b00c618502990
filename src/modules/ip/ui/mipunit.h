#pragma once
// The integer-programming module window: an editor for one model, an output
// page for the last result, model files, printing and the run.
#include "common/ui/modulewindow.h"

#include <QString>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace tarvik::ui {

class TModelEditor;

class TMIPmodule : public ModuleWindow {
    Q_OBJECT
public:
    explicit TMIPmodule(QWidget* parent = nullptr);
    ~TMIPmodule() override;

    // The commands of the menus, tool bar and context menu.
    void NewClick();
    void OpenClick();
    bool SaveClick(); // true when the model was written
    bool SaveAsClick();
    void CloseClick();
    void PrintClick();
    void PrinterSetupClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void DeleteClick();
    void SelectAllClick();
    void FontClick();
    void CalculateClick();
    void HelpClick();
    void CloseModuleClick();

    const QString& fileName() const { return fileName_; }
    bool hasResult() const { return result_; }
    bool hasModel() const { return modelOpen_; }
    bool isModified() const;

    TModelEditor* inputEditor() const { return editor_; }
    QPlainTextEdit* outputView() const { return output_; }
    QTabWidget* pages() const { return pages_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* contextMenu() const { return contextMenu_; }
    QToolButton* calculateButton() const { return calcButton_; }
    QToolButton* printButton() const { return printButton_; }
    QToolButton* closeButton() const { return closeButton_; }

    // The empty model a new file starts with.
    static QStringList Template();

protected:
    bool canClose() override;
    void showEvent(QShowEvent* event) override;

private:
    // Asks "Save changes in ...?" when the model is modified. False: the
    // command must end here (Cancel, or the model could not be saved).
    bool saveQuestion();
    void startModel(const QStringList& lines, bool isTemplate);
    void setCaption();
    void PageControlChange(int index);
    void updateEditActions(bool fromContextMenu);
    void enableAllEditActions();
    void updateModelActions();

    TModelEditor* editor_;
    QPlainTextEdit* output_;
    QTabWidget* pages_;
    QMenu* fileMenu_;
    QMenu* editMenu_;
    QMenu* contextMenu_;
    QToolButton* calcButton_;
    QToolButton* printButton_;
    QToolButton* closeButton_;

    QAction* saveAct_;
    QAction* saveAsAct_;
    QAction* closeAct_;
    QAction* printAct_;
    QAction* calcAct_;
    // Edit menu: cut, copy, paste, delete, select all; context menu: cut, copy, paste.
    QAction* editActs_[5];
    QAction* popupActs_[3];

    QString fileName_;
    bool result_ = false;
    bool modelOpen_ = false;
    bool activated_ = false;
    bool running_ = false;
};

} // namespace tarvik::ui
