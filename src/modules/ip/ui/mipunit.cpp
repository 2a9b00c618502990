#include "modules/ip/ui/mipunit.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/printing.h"
#include "modules/ip/ui/mip.h"
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

const QString kCaption = QStringLiteral("Integer programming");
const QString kNoName = QStringLiteral("No name");
const QString kFileFolderKey = QStringLiteral("ip");
const QString kInputCaption = QStringLiteral("Input");
const QString kResultCaption = QStringLiteral("Back to make adapted model or new model");
const int kHelpContext = 10;

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

TMIPmodule::TMIPmodule(QWidget* parent) : ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 10);
    setObjectName(QStringLiteral("MIPmodule"));
    setWindowTitle(kCaption);

    // Tool bar: calculate, print, close the module (Dutch hints at run time).
    auto* toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    auto* toolLayout = new QHBoxLayout(toolBar);
    toolLayout->setContentsMargins(4, 2, 4, 2);
    toolLayout->setSpacing(2);
    calcButton_ =
        ToolButton(this, QStyle::SP_MediaPlay, QStringLiteral("Berekenen"), QStringLiteral("CalcBtn"));
    printButton_ = ToolButton(this, QStyle::SP_FileDialogDetailedView, QStringLiteral("Afdrukken"),
                              QStringLiteral("PrintBtn"));
    closeButton_ =
        ToolButton(this, QStyle::SP_ArrowBack, QStringLiteral("IP afsluiten"), QStringLiteral("CloseBtn"));
    toolLayout->addWidget(calcButton_);
    toolLayout->addWidget(printButton_);
    toolLayout->addWidget(closeButton_);
    toolLayout->addStretch();
    connect(calcButton_, &QToolButton::clicked, this, &TMIPmodule::CalculateClick);
    connect(printButton_, &QToolButton::clicked, this, &TMIPmodule::PrintClick);
    connect(closeButton_, &QToolButton::clicked, this, &TMIPmodule::CloseModuleClick);

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
    pages_->hide();
    connect(pages_, &QTabWidget::currentChanged, this, &TMIPmodule::PageControlChange);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(pages_, 1);

    // Menus.
    fileMenu_ = addModuleMenu(QStringLiteral("File"));
    fileMenu_->addAction(QStringLiteral("New"), this, &TMIPmodule::NewClick);
    fileMenu_->addAction(QStringLiteral("Open"), this, &TMIPmodule::OpenClick);
    saveAct_ = fileMenu_->addAction(QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                    [this] { SaveClick(); });
    saveAsAct_ = fileMenu_->addAction(QStringLiteral("Save as.."), this, [this] { SaveAsClick(); });
    closeAct_ = fileMenu_->addAction(QStringLiteral("Close"), this, &TMIPmodule::CloseClick);
    fileMenu_->addSeparator();
    fileMenu_->addAction(QStringLiteral("Settings printer"), this, &TMIPmodule::PrinterSetupClick);
    printAct_ = fileMenu_->addAction(QStringLiteral("Print"), this, &TMIPmodule::PrintClick);
    fileMenu_->addSeparator();
    fileMenu_->addAction(QStringLiteral("Close Integer Programming"), this, &TMIPmodule::CloseModuleClick);

    editMenu_ = addModuleMenu(QStringLiteral("Edit"));
    editActs_[Cut] = editMenu_->addAction(QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                                          &TMIPmodule::CutClick);
    editActs_[Copy] = editMenu_->addAction(QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                                           &TMIPmodule::CopyClick);
    editActs_[Paste] = editMenu_->addAction(QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                                            &TMIPmodule::PasteClick);
    editActs_[Delete] = editMenu_->addAction(
        QStringLiteral("Delete"), QKeySequence(Qt::CTRL | Qt::Key_Delete), this, &TMIPmodule::DeleteClick);
    editActs_[SelectAll] = editMenu_->addAction(
        QStringLiteral("Select all"), QKeySequence(Qt::CTRL | Qt::Key_A), this, &TMIPmodule::SelectAllClick);
    connect(editMenu_, &QMenu::aboutToShow, this, [this] { updateEditActions(false); });
    connect(editMenu_, &QMenu::aboutToHide, this, &TMIPmodule::enableAllEditActions);

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    options->addAction(QStringLiteral("Font"), this, &TMIPmodule::FontClick);

    QMenu* calculations = addModuleMenu(QStringLiteral("Calculations"));
    calcAct_ = calculations->addAction(QStringLiteral("Calculate solution"), QKeySequence(Qt::Key_F10), this,
                                       &TMIPmodule::CalculateClick);

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    help->addAction(QStringLiteral("Explanation"), QKeySequence(Qt::Key_F1), this, &TMIPmodule::HelpClick);

    // The context menu of both pages: cut, copy and paste on the editor.
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("PopupMenu"));
    popupActs_[Cut] = contextMenu_->addAction(QStringLiteral("Knippen"), this, &TMIPmodule::CutClick);
    popupActs_[Copy] = contextMenu_->addAction(QStringLiteral("Kopieren"), this, &TMIPmodule::CopyClick);
    popupActs_[Paste] = contextMenu_->addAction(QStringLiteral("Plakken"), this, &TMIPmodule::PasteClick);
    connect(contextMenu_, &QMenu::aboutToShow, this, [this] { updateEditActions(true); });
    for (QPlainTextEdit* page : {static_cast<QPlainTextEdit*>(editor_), output_}) {
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(page, &QWidget::customContextMenuRequested, this,
                [this, page](const QPoint& at) { contextMenu_->popup(page->viewport()->mapToGlobal(at)); });
    }

    fileName_ = kNoName;
    updateModelActions();
}

TMIPmodule::~TMIPmodule() = default;

bool TMIPmodule::isModified() const {
    return modelOpen_ && editor_->document()->isModified();
}

void TMIPmodule::showEvent(QShowEvent* event) {
    ModuleWindow::showEvent(event);
    // A window that has no model yet gets an empty one when it is first shown.
    if (!activated_) {
        activated_ = true;
        if (!modelOpen_) NewClick();
    }
}

void TMIPmodule::setCaption() {
    setWindowTitle(kCaption + QStringLiteral("  File: ") + fileName_);
}

void TMIPmodule::updateModelActions() {
    for (QAction* a : {saveAct_, saveAsAct_, closeAct_, printAct_, calcAct_}) a->setEnabled(modelOpen_);
    calcButton_->setEnabled(modelOpen_);
    printButton_->setEnabled(modelOpen_);
}

bool TMIPmodule::saveQuestion() {
    if (!isModified()) return true;
    const int answer = StdMsgDlg(QStringLiteral("Save changes in %1?").arg(fileName_), MsgKind::Confirmation,
                                 mbYesNoCancel, 0);
    if (answer == mrYes) return SaveClick(); // a model that was not saved is not given up
    return answer == mrNo;
}

void TMIPmodule::startModel(const QStringList& lines, bool isTemplate) {
    if (isTemplate)
        editor_->setModelLines(lines, IsTemplateComment);
    else
        editor_->setModelLines(lines);
    editor_->document()->setModified(false);
    result_ = false;
    modelOpen_ = true;
    setCaption();
    pages_->show();
    pages_->setTabText(0, kInputCaption);
    pages_->setCurrentIndex(0);
    updateModelActions();
}

void TMIPmodule::NewClick() {
    if (running_ || !saveQuestion()) return;
    fileName_ = kNoName;
    startModel(Template(), true);
    // The cursor goes to the first empty line below the objective's comments.
    QTextCursor c(editor_->document()->findBlockByNumber(2));
    editor_->setTextCursor(c);
    editor_->setFocus();
}

void TMIPmodule::OpenClick() {
    if (running_ || !saveQuestion()) return;
    FileRequest request;
    request.parent = this;
    request.directory = FileDialogFolder(kFileFolderKey);
    request.filters = {QStringLiteral("Tarvik MIP Bestanden (*.tip)"),
                       QStringLiteral("Tekst bestanden (*.txt)"), QStringLiteral("Alle bestanden (*)")};
    const std::optional<QString> chosen = Dialogs().openFileName(request);
    if (!chosen) return;
    RememberFileDialogFolder(kFileFolderKey, *chosen);
    const std::optional<QStringList> lines = LoadModelFile(*chosen);
    if (!lines) {
        StdMsgDlg(QStringLiteral("Cannot open file %1").arg(*chosen), MsgKind::Error, mbOK, 0);
        return;
    }
    fileName_ = *chosen;
    startModel(*lines, false);
    editor_->setTextCursor(QTextCursor(editor_->document()));
    editor_->setFocus();
}

bool TMIPmodule::SaveClick() {
    if (!modelOpen_) return false;
    if (fileName_ == kNoName) return SaveAsClick();
    if (!SaveModelFile(fileName_, editor_->lines())) {
        StdMsgDlg(QStringLiteral("No file open yet!"), MsgKind::Error, mbOK, 0);
        return false;
    }
    editor_->document()->setModified(false);
    return true;
}

bool TMIPmodule::SaveAsClick() {
    if (!modelOpen_) return false;
    FileRequest request;
    request.parent = this;
    request.directory = FileDialogFolder(kFileFolderKey);
    if (fileName_ != kNoName) request.fileName = fileName_;
    request.filters = {QStringLiteral("Tarvik MIP Bestanden (*.tip)")};
    request.defaultSuffix = QStringLiteral("TRV");
    const std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    // The model shows under the dialog's own filter: a bare name gets ".tip".
    fileName_ = WithFilterExtension(*chosen, request.filters.front());
    RememberFileDialogFolder(kFileFolderKey, fileName_);
    setCaption();
    return SaveClick();
}

void TMIPmodule::CloseClick() {
    if (running_ || !modelOpen_ || !saveQuestion()) return;
    setWindowTitle(kCaption);
    editor_->document()->setModified(false);
    result_ = false;
    modelOpen_ = false;
    pages_->hide();
    updateModelActions();
}

void TMIPmodule::PrintClick() {
    if (!modelOpen_) return;
    if (pages_->currentIndex() == 0)
        PrintDocument(*editor_->document(), fileName_, this);
    else
        PrintDocument(*output_->document(), QStringLiteral("The solution of: ") + fileName_, this);
}

void TMIPmodule::PrinterSetupClick() {
    PrinterSetup(this);
}

// Every edit command acts on the editor, whichever page is shown.
void TMIPmodule::CutClick() {
    if (modelOpen_) editor_->cut();
}

void TMIPmodule::CopyClick() {
    if (modelOpen_) editor_->copy();
}

void TMIPmodule::PasteClick() {
    if (modelOpen_) editor_->pastePlainText();
}

void TMIPmodule::DeleteClick() {
    if (modelOpen_) editor_->deleteSelection();
}

void TMIPmodule::SelectAllClick() {
    if (modelOpen_) editor_->selectAll();
}

void TMIPmodule::updateEditActions(bool fromContextMenu) {
    const bool selected = modelOpen_ && editor_->textCursor().hasSelection();
    const bool paste = modelOpen_ && !QApplication::clipboard()->text().isEmpty();
    if (fromContextMenu) {
        popupActs_[Cut]->setEnabled(selected);
        popupActs_[Copy]->setEnabled(selected);
        popupActs_[Paste]->setEnabled(paste);
        return;
    }
    editActs_[Cut]->setEnabled(selected);
    editActs_[Copy]->setEnabled(selected);
    editActs_[Delete]->setEnabled(selected);
    editActs_[Paste]->setEnabled(paste);
    editActs_[SelectAll]->setEnabled(modelOpen_);
}

// Between menu openings the shortcuts stay usable; the commands check the model.
void TMIPmodule::enableAllEditActions() {
    for (QAction* a : editActs_) a->setEnabled(true);
}

void TMIPmodule::FontClick() {
    const std::optional<QFont> font = Dialogs().font(this, editor_->font());
    if (!font) return;
    editor_->setFont(*font);
    output_->setFont(*font);
}

void TMIPmodule::PageControlChange(int index) {
    if (index == 1 && !result_) pages_->setCurrentIndex(0);
}

void TMIPmodule::CalculateClick() {
    if (!modelOpen_ || running_) return;
    running_ = true;
    QPointer<TMIPmodule> self(this);
    TMIPSolver solver(window());
    const bool ok = solver.run(editor_->joinedText());
    if (!self) return;
    running_ = false;

    output_->setPlainText(solver.output());
    if (ok) {
        result_ = true;
        pages_->setTabText(0, kResultCaption);
        pages_->setCurrentIndex(1);
        output_->setFocus();
        QTextCursor c(output_->document());
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        output_->setTextCursor(c);
    } else {
        result_ = false;
        pages_->setCurrentIndex(0);
        editor_->setFocus();
        editor_->selectAtJoinedOffset(solver.errorPosition());
    }
}

void TMIPmodule::HelpClick() {
    ShowHelp(kHelpContext, this);
}

void TMIPmodule::CloseModuleClick() {
    if (!running_) closeModule();
}

bool TMIPmodule::canClose() {
    return !running_ && saveQuestion();
}

} // namespace tarvik::ui
