#pragma once
// The model editor window shared by linear and integer programming: an
// editor page for one model, an output page for the last result, model files
// with a backup, printing, the edit commands and the run. Each window brings
// its own texts, template and solver.
#include "common/ui/dialogservice.h"
#include "common/ui/modulewindow.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace tarvik::lp {
struct GraphicalSolution;
}

namespace tarvik::ui {

class TGraphicalPage;
class TModelEditor;

// What sets one model window apart from the other.
struct ModelWindowTexts {
    QString objectName;
    QString caption;       // window caption without a model
    QString resultCaption; // first page tab after a successful run
    QString fileFolderKey; // where the file dialogs start
    QString examplesKind;  // the folder of its example models ("lp", "ip")
    QString fileFilter;    // model files, e.g. "Tarvik LP bestanden (*.tlp)"
    QString saveFilter;    // the one filter of the save dialog
    QString saveFailed;    // error when the model file cannot be written
    QString calcHint;      // tool bar hints
    QString printHint;
    QString closeHint;
    QString closeModuleItem;   // last item of the File menu
    QStringList popupCaptions; // context menu: cut, copy, paste[, delete, select all]
    int helpContext = 0;
    bool helpKey = false;            // F1 opens the help
    bool standardCaptions = false;   // questions and open errors with StdMsgDlg
    bool editsFollowPage = false;    // copy and select all act on the page shown
    bool newModelShowsInput = false; // New and Open give the first tab back its "Input"
};

class TModelWindow : public ModuleWindow {
    Q_OBJECT
public:
    ~TModelWindow() override;

    // The commands of the menus, tool bar and context menu.
    void NewClick();
    void OpenClick();
    // "Examples…": the open dialog starts in the folder of the example models.
    void OpenExampleClick(const QString& folder);
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
    // The "Graphical solution" page, shown after a run of a model with two variables.
    TGraphicalPage* graphicalPage() const { return graphical_; }
    QTabWidget* pages() const { return pages_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* contextMenu() const { return contextMenu_; }
    QToolButton* calculateButton() const { return calcButton_; }
    QToolButton* printButton() const { return printButton_; }
    QToolButton* closeButton() const { return closeButton_; }

protected:
    explicit TModelWindow(const ModelWindowTexts& texts, QWidget* parent = nullptr);

    // The empty model a new file starts with.
    virtual QStringList modelTemplate() const = 0;
    // Runs the model text with the window's solver and progress dialog; fills
    // the output text, the graphical solution of a model with two variables
    // (else null) and, after a failure, the 1-based error offset.
    // The window may be gone when it returns: touch no member afterwards.
    virtual bool runModel(const QString& modelText, QString& output, long& errorPosition,
                          std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) = 0;
    virtual void PageControlChange(int index);

    QMenu* optionsMenu() const { return optionsMenu_; }
    // An action that is enabled only while a model is open.
    void addModelAction(QAction* action);

    bool canClose() override;
    void showEvent(QShowEvent* event) override;

private:
    // Asks "Save changes in ...?" when the model is modified. False: the
    // command must end here (Cancel, or the model could not be saved).
    bool saveQuestion();
    // Open's dialog in `folder`, or in the user's model folder when it is empty.
    void openFrom(const QString& folder);
    // MsgDlg or StdMsgDlg, as the window asks its questions.
    int message(const QString& text, MsgKind kind, MsgButtons buttons) const;
    void startModel(const QStringList& lines, bool isTemplate);
    // Shows the graphical page with `solution`, or hides it (null).
    void showGraphical(std::shared_ptr<const tarvik::lp::GraphicalSolution> solution);
    void setCaption();
    void updateEditActions(bool fromContextMenu);
    void enableAllEditActions();
    void updateModelActions();
    QPlainTextEdit* editTarget() const;

    const ModelWindowTexts texts_;
    TModelEditor* editor_;
    QPlainTextEdit* output_;
    TGraphicalPage* graphical_;
    QTabWidget* pages_;
    QMenu* fileMenu_;
    QMenu* editMenu_;
    QMenu* optionsMenu_;
    QMenu* contextMenu_;
    QToolButton* calcButton_;
    QToolButton* printButton_;
    QToolButton* closeButton_;

    std::vector<QAction*> modelActions_;
    // Edit menu and context menu: cut, copy, paste, delete, select all (the
    // context menu may stop after paste).
    std::vector<QAction*> editActs_;
    std::vector<QAction*> popupActs_;

    QString fileName_;
    bool result_ = false;
    bool modelOpen_ = false;
    bool activated_ = false;
    bool running_ = false;
};

} // namespace tarvik::ui
