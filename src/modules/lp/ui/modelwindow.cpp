#include "modules/lp/ui/modelwindow.h"

#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "common/ui/printing.h"
#include "common/ui/reportsave.h"
#include "modules/lp/graphical.h"
#include "modules/lp/ui/graphicalpage.h"
#include "modules/lp/ui/modeleditor.h"
#include "modules/lp/ui/modelfile.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik::ui {
namespace {

const QString kNoName = QStringLiteral("No name");
const QString kInputCaption = QStringLiteral("Input");
constexpr int kGraphicalPage = 2;

enum EditIndex { Cut = 0, Copy, Paste, Delete, SelectAll };

QToolButton* ToolButton(QWidget* parent, QStyle::StandardPixmap pixmap, const QString& hint,
                        const QString& name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(pixmap));
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(35, 35);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}

bool IsTemplateComment(const QString& line) {
    return line.startsWith(QLatin1Char('{'));
}

} // namespace

TModelWindow::TModelWindow(const ModelWindowTexts& texts, QWidget* parent)
    : ModuleWindow(parent), texts_(texts) {
    if (texts_.helpKey) tarvik::ui::SetHelpContext(this, texts_.helpContext);
    setObjectName(texts_.objectName);
    setWindowTitle(texts_.caption);

    // Tool bar: calculate, print, close the module.
    auto* toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    auto* toolLayout = new QHBoxLayout(toolBar);
    toolLayout->setContentsMargins(4, 2, 4, 2);
    toolLayout->setSpacing(2);
    calcButton_ = ToolButton(this, QStyle::SP_MediaPlay, texts_.calcHint, QStringLiteral("CalcBtn"));
    printButton_ =
        ToolButton(this, QStyle::SP_FileDialogDetailedView, texts_.printHint, QStringLiteral("PrintBtn"));
    closeButton_ = ToolButton(this, QStyle::SP_ArrowBack, texts_.closeHint, QStringLiteral("CloseBtn"));
    toolLayout->addWidget(calcButton_);
    toolLayout->addWidget(printButton_);
    toolLayout->addWidget(closeButton_);
    toolLayout->addStretch();
    connect(calcButton_, &QToolButton::clicked, this, &TModelWindow::CalculateClick);
    connect(printButton_, &QToolButton::clicked, this, &TModelWindow::PrintClick);
    connect(closeButton_, &QToolButton::clicked, this, &TModelWindow::CloseModuleClick);

    // The pages.
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));
    editor_ = new TModelEditor;
    editor_->setObjectName(QStringLiteral("InputEdit"));
    output_ = new QPlainTextEdit;
    output_->setObjectName(QStringLiteral("OutputEdit"));
    output_->setReadOnly(true);
    output_->setUndoRedoEnabled(false);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    output_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output_->setFont(editor_->font());
    output_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    pages_->addTab(editor_, kInputCaption);
    pages_->addTab(output_, QStringLiteral("Output"));
    graphical_ = new TGraphicalPage;
    pages_->addTab(graphical_, QStringLiteral("Graphical solution"));
    pages_->setTabVisible(kGraphicalPage, false);
    pages_->hide();
    connect(pages_, &QTabWidget::currentChanged, this, &TModelWindow::PageControlChange);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // At the top also while no model is open (the pages hidden).
    layout->addWidget(toolBar, 0, Qt::AlignTop);
    layout->addWidget(pages_, 1);

    // Menus.
    fileMenu_ = addModuleMenu(QStringLiteral("File"));
    fileMenu_->addAction(QStringLiteral("New"), this, &TModelWindow::NewClick);
    fileMenu_->addAction(QStringLiteral("Open"), this, &TModelWindow::OpenClick);
    AddExamplesCommand(fileMenu_, texts_.examplesKind,
                       [this](const QString& folder) { OpenExampleClick(folder); });
    QAction* saveAct = fileMenu_->addAction(QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                            [this] { SaveClick(); });
    QAction* saveAsAct = fileMenu_->addAction(QStringLiteral("Save as.."), this, [this] { SaveAsClick(); });
    QAction* closeAct = fileMenu_->addAction(QStringLiteral("Close"), this, &TModelWindow::CloseClick);
    fileMenu_->addSeparator();
    fileMenu_->addAction(QStringLiteral("Settings printer"), this, &TModelWindow::PrinterSetupClick);
    QAction* printAct = fileMenu_->addAction(QStringLiteral("Print"), this, &TModelWindow::PrintClick);
    // The output page also saves as PDF, as text and its last table as CSV.
    tarvik::ui::AddReportSaving(
        output_, [this] { return QStringLiteral("The solution of: ") + fileName_; },
        [this] { return QFileInfo(fileName_).completeBaseName(); }, printAct);
    fileMenu_->addSeparator();
    fileMenu_->addAction(texts_.closeModuleItem, this, &TModelWindow::CloseModuleClick);

    editMenu_ = addModuleMenu(QStringLiteral("Edit"));
    editActs_ = {
        editMenu_->addAction(QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                             &TModelWindow::CutClick),
        editMenu_->addAction(QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                             &TModelWindow::CopyClick),
        editMenu_->addAction(QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                             &TModelWindow::PasteClick),
        editMenu_->addAction(QStringLiteral("Delete"), QKeySequence(Qt::CTRL | Qt::Key_Delete), this,
                             &TModelWindow::DeleteClick),
        editMenu_->addAction(QStringLiteral("Select all"), QKeySequence(Qt::CTRL | Qt::Key_A), this,
                             &TModelWindow::SelectAllClick),
    };
    connect(editMenu_, &QMenu::aboutToShow, this, [this] { updateEditActions(false); });
    connect(editMenu_, &QMenu::aboutToHide, this, &TModelWindow::enableAllEditActions);

    optionsMenu_ = addModuleMenu(QStringLiteral("Options"));
    optionsMenu_->addAction(QStringLiteral("Font"), this, &TModelWindow::FontClick);

    QMenu* calculations = addModuleMenu(QStringLiteral("Calculations"));
    QAction* calcAct = calculations->addAction(
        QStringLiteral("Calculate solution"), QKeySequence(Qt::Key_F10), this, &TModelWindow::CalculateClick);

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    QAction* explanation = help->addAction(QStringLiteral("Explanation"), this, &TModelWindow::HelpClick);
    if (texts_.helpKey) explanation->setShortcut(QKeySequence(Qt::Key_F1));

    // The context menu of both pages: the edit commands the window names.
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("PopupMenu"));
    void (TModelWindow::*const commands[])() = {&TModelWindow::CutClick, &TModelWindow::CopyClick,
                                                &TModelWindow::PasteClick, &TModelWindow::DeleteClick,
                                                &TModelWindow::SelectAllClick};
    for (qsizetype i = 0; i < texts_.popupCaptions.size() && i <= SelectAll; ++i)
        popupActs_.push_back(contextMenu_->addAction(texts_.popupCaptions[i], this, commands[i]));
    connect(contextMenu_, &QMenu::aboutToShow, this, [this] { updateEditActions(true); });
    for (QPlainTextEdit* page : {static_cast<QPlainTextEdit*>(editor_), output_}) {
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(page, &QWidget::customContextMenuRequested, this,
                [this, page](const QPoint& at) { contextMenu_->popup(page->viewport()->mapToGlobal(at)); });
    }

    fileName_ = kNoName;
    modelActions_ = {saveAct, saveAsAct, closeAct, printAct, calcAct};
    updateModelActions();
}

TModelWindow::~TModelWindow() = default;

bool TModelWindow::isModified() const {
    return modelOpen_ && editor_->document()->isModified();
}

void TModelWindow::addModelAction(QAction* action) {
    modelActions_.push_back(action);
    action->setEnabled(modelOpen_);
}

void TModelWindow::showEvent(QShowEvent* event) {
    ModuleWindow::showEvent(event);
    // A window that has no model yet gets an empty one when it is first shown.
    if (!activated_) {
        activated_ = true;
        if (!modelOpen_) NewClick();
    }
}

void TModelWindow::setCaption() {
    setWindowTitle(texts_.caption + QStringLiteral("  File: ") + fileName_);
}

void TModelWindow::updateModelActions() {
    for (QAction* a : modelActions_) a->setEnabled(modelOpen_);
    calcButton_->setEnabled(modelOpen_);
    printButton_->setEnabled(modelOpen_);
}

int TModelWindow::message(const QString& text, MsgKind kind, MsgButtons buttons) const {
    return texts_.standardCaptions ? StdMsgDlg(text, kind, buttons, 0) : MsgDlg(text, kind, buttons, 0);
}

bool TModelWindow::saveQuestion() {
    if (!isModified()) return true;
    const int answer =
        message(QStringLiteral("Save changes in %1?").arg(fileName_), MsgKind::Confirmation, mbYesNoCancel);
    if (answer == mrYes) return SaveClick(); // a model that was not saved is not given up
    return answer == mrNo;
}

void TModelWindow::startModel(const QStringList& lines, bool isTemplate) {
    if (isTemplate)
        editor_->setModelLines(lines, IsTemplateComment);
    else
        editor_->setModelLines(lines);
    editor_->document()->setModified(false);
    result_ = false;
    showGraphical(nullptr);
    modelOpen_ = true;
    setCaption();
    pages_->show();
    if (texts_.newModelShowsInput) pages_->setTabText(0, kInputCaption);
    pages_->setCurrentIndex(0);
    updateModelActions();
}

void TModelWindow::NewClick() {
    if (running_ || !saveQuestion()) return;
    fileName_ = kNoName;
    startModel(modelTemplate(), true);
    // The cursor goes to the first empty line below the objective's comments.
    QTextCursor c(editor_->document()->findBlockByNumber(2));
    editor_->setTextCursor(c);
    editor_->setFocus();
}

void TModelWindow::OpenClick() {
    openFrom({});
}

void TModelWindow::OpenExampleClick(const QString& folder) {
    openFrom(folder);
}

void TModelWindow::openFrom(const QString& folder) {
    if (running_ || !saveQuestion()) return;
    FileRequest request;
    request.parent = this;
    request.directory = folder.isEmpty() ? FileDialogFolder(texts_.fileFolderKey) : folder;
    request.filters = {texts_.fileFilter, QStringLiteral("Tekst bestanden (*.txt)"),
                       QStringLiteral("Alle bestanden (*)")};
    const std::optional<QString> chosen = Dialogs().openFileName(request);
    if (!chosen) return;
    if (!IsExampleFile(*chosen)) RememberFileDialogFolder(texts_.fileFolderKey, *chosen);
    bool tooLarge = false;
    const std::optional<QStringList> lines = LoadModelFile(*chosen, &tooLarge);
    if (!lines) {
        message((tooLarge ? QStringLiteral("File %1 is too large") : QStringLiteral("Cannot open file %1"))
                    .arg(*chosen),
                MsgKind::Error, mbOK);
        return;
    }
    fileName_ = *chosen;
    startModel(*lines, false);
    editor_->setTextCursor(QTextCursor(editor_->document()));
    editor_->setFocus();
}

bool TModelWindow::SaveClick() {
    if (!modelOpen_) return false;
    if (fileName_ == kNoName) return SaveAsClick();
    QString backupProblem;
    if (!SaveModelFile(fileName_, editor_->lines(), &backupProblem)) {
        // The previous model stays as it was, and the new text in the editor.
        StdMsgDlg(backupProblem.isEmpty() ? texts_.saveFailed : backupProblem, MsgKind::Error, mbOK, 0);
        return false;
    }
    editor_->document()->setModified(false);
    return true;
}

bool TModelWindow::SaveAsClick() {
    if (!modelOpen_) return false;
    FileRequest request;
    request.parent = this;
    request.directory = FileDialogFolder(texts_.fileFolderKey);
    if (fileName_ != kNoName) request.fileName = fileName_;
    request.filters = {texts_.saveFilter};
    request.defaultSuffix = QStringLiteral("TRV");
    const std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    // The model shows under the dialog's own filter: a bare name gets its extension.
    fileName_ = WithFilterExtension(*chosen, request.filters.front());
    RememberFileDialogFolder(texts_.fileFolderKey, fileName_);
    setCaption();
    return SaveClick();
}

void TModelWindow::CloseClick() {
    if (running_ || !modelOpen_ || !saveQuestion()) return;
    setWindowTitle(texts_.caption);
    editor_->document()->setModified(false);
    result_ = false;
    showGraphical(nullptr);
    modelOpen_ = false;
    pages_->hide();
    updateModelActions();
}

void TModelWindow::PrintClick() {
    if (!modelOpen_) return;
    if (pages_->currentIndex() == kGraphicalPage)
        graphical_->PrintPictureClick();
    else if (pages_->currentIndex() == 0)
        PrintDocument(*editor_->document(), fileName_, this);
    else
        PrintDocument(*output_->document(), QStringLiteral("The solution of: ") + fileName_, this);
}

void TModelWindow::PrinterSetupClick() {
    PrinterSetup(this);
}

QPlainTextEdit* TModelWindow::editTarget() const {
    if (texts_.editsFollowPage && pages_->currentIndex() >= 1) return output_;
    return editor_;
}

// Cut, paste and delete change only the model; copy and select all act on
// the target page.
void TModelWindow::CutClick() {
    if (modelOpen_ && editTarget() == editor_) editor_->cut();
}

void TModelWindow::CopyClick() {
    if (modelOpen_) editTarget()->copy();
}

void TModelWindow::PasteClick() {
    if (modelOpen_ && editTarget() == editor_) editor_->pastePlainText();
}

void TModelWindow::DeleteClick() {
    if (modelOpen_ && editTarget() == editor_) editor_->deleteSelection();
}

void TModelWindow::SelectAllClick() {
    if (modelOpen_) editTarget()->selectAll();
}

void TModelWindow::updateEditActions(bool fromContextMenu) {
    const std::vector<QAction*>& acts = fromContextMenu ? popupActs_ : editActs_;
    const bool input = editTarget() == editor_;
    const bool selected = modelOpen_ && editTarget()->textCursor().hasSelection();
    const bool enabled[] = {
        input && selected,                                                   // cut
        selected,                                                            // copy
        modelOpen_ && input && !QApplication::clipboard()->text().isEmpty(), // paste
        input && selected,                                                   // delete
        modelOpen_,                                                          // select all
    };
    for (std::size_t i = 0; i < acts.size(); ++i) acts[i]->setEnabled(enabled[i]);
}

// Between menu openings the shortcuts stay usable; the commands check the page.
void TModelWindow::enableAllEditActions() {
    for (QAction* a : editActs_) a->setEnabled(true);
}

void TModelWindow::FontClick() {
    const std::optional<QFont> font = Dialogs().font(this, editor_->font());
    if (!font) return;
    editor_->setFont(*font);
    output_->setFont(*font);
}

void TModelWindow::PageControlChange(int index) {
    if (index >= 1 && !result_) pages_->setCurrentIndex(0);
}

void TModelWindow::showGraphical(std::shared_ptr<const tarvik::lp::GraphicalSolution> solution) {
    const bool shown = solution != nullptr;
    graphical_->setSolution(std::move(solution), fileName_);
    pages_->setTabVisible(kGraphicalPage, shown);
}

void TModelWindow::CalculateClick() {
    if (!modelOpen_ || running_) return;
    running_ = true;
    QPointer<TModelWindow> self(this);
    QString output;
    long errorPosition = 0;
    std::shared_ptr<const tarvik::lp::GraphicalSolution> graphical;
    const bool ok = runModel(editor_->joinedText(), output, errorPosition, graphical);
    if (!self) return;
    running_ = false;

    // A long output is megabytes of text: set it in one go.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    output_->setPlainText(output);
    QApplication::restoreOverrideCursor();
    if (ok) {
        result_ = true;
        showGraphical(std::move(graphical));
        pages_->setTabText(0, texts_.resultCaption);
        pages_->setCurrentIndex(1);
        output_->setFocus();
        QTextCursor c(output_->document());
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        output_->setTextCursor(c);
    } else {
        result_ = false;
        showGraphical(nullptr);
        pages_->setCurrentIndex(0);
        editor_->setFocus();
        editor_->selectAtJoinedOffset(errorPosition);
    }
}

void TModelWindow::HelpClick() {
    ShowHelp(texts_.helpContext, this);
}

void TModelWindow::CloseModuleClick() {
    if (!running_) closeModule();
}

bool TModelWindow::canClose() {
    return !running_ && saveQuestion();
}

} // namespace tarvik::ui
