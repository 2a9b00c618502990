#include "modules/lp/ui/lpunit.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/printing.h"
#include "modules/lp/ui/lpinstelunit.h"
#include "modules/lp/ui/modeleditor.h"
#include "modules/lp/ui/modelfile.h"
#include "modules/lp/ui/solver.h"

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

const QString kCaption = QStringLiteral("Linear programming");
const QString kNoName = QStringLiteral("No name");
const QString kInputCaption = QStringLiteral("Input");
const QString kResultCaption = QStringLiteral("Return for adapted or new model");
const int kHelpContext = 9;
const QString kFileFolderKey = QStringLiteral("lp");

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

QStringList TLP::Template() {
    return {
        QStringLiteral("{ Specify below the objective function -- close with a ';' }"),
        QStringLiteral("{ Example: max x1 + x2;                                    }"),
        QString(),
        QString(),
        QStringLiteral("{ Specify below the constraints -- close each constraint with a ';'}"),
        QStringLiteral("{ Example: 2x1 + x2 <= 5;                                          }"),
        QString(),
        QString(),
    };
}

TLP::TLP(QWidget* parent) : ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 9);
    setObjectName(QStringLiteral("LP"));
    setWindowTitle(kCaption);

    // Tool bar: calculate, print, close the module.
    auto* toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    auto* toolLayout = new QHBoxLayout(toolBar);
    toolLayout->setContentsMargins(4, 2, 4, 2);
    toolLayout->setSpacing(2);
    calcButton_ =
        ToolButton(this, QStyle::SP_MediaPlay, QStringLiteral("Calculations"), QStringLiteral("CalcBtn"));
    printButton_ = ToolButton(this, QStyle::SP_FileDialogDetailedView, QStringLiteral("Settings printer"),
                              QStringLiteral("PrintBtn"));
    closeButton_ =
        ToolButton(this, QStyle::SP_ArrowBack, QStringLiteral("Previous"), QStringLiteral("CloseBtn"));
    toolLayout->addWidget(calcButton_);
    toolLayout->addWidget(printButton_);
    toolLayout->addWidget(closeButton_);
    toolLayout->addStretch();
    connect(calcButton_, &QToolButton::clicked, this, &TLP::CalculateClick);
    connect(printButton_, &QToolButton::clicked, this, &TLP::PrintClick);
    connect(closeButton_, &QToolButton::clicked, this, &TLP::CloseModuleClick);

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
    connect(pages_, &QTabWidget::currentChanged, this, &TLP::PageControlChange);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(pages_, 1);

    // Menus.
    fileMenu_ = addModuleMenu(QStringLiteral("File"));
    fileMenu_->addAction(QStringLiteral("New"), this, &TLP::NewClick);
    fileMenu_->addAction(QStringLiteral("Open"), this, &TLP::OpenClick);
    saveAct_ = fileMenu_->addAction(QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                    [this] { SaveClick(); });
    saveAsAct_ = fileMenu_->addAction(QStringLiteral("Save as.."), this, [this] { SaveAsClick(); });
    closeAct_ = fileMenu_->addAction(QStringLiteral("Close"), this, &TLP::CloseClick);
    fileMenu_->addSeparator();
    fileMenu_->addAction(QStringLiteral("Settings printer"), this, &TLP::PrinterSetupClick);
    printAct_ = fileMenu_->addAction(QStringLiteral("Print"), this, &TLP::PrintClick);
    fileMenu_->addSeparator();
    fileMenu_->addAction(QStringLiteral("Close linear programming"), this, &TLP::CloseModuleClick);

    editMenu_ = addModuleMenu(QStringLiteral("Edit"));
    editActs_[Cut] =
        editMenu_->addAction(QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), this, &TLP::CutClick);
    editActs_[Copy] = editMenu_->addAction(QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                                           &TLP::CopyClick);
    editActs_[Paste] = editMenu_->addAction(QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                                            &TLP::PasteClick);
    editActs_[Delete] = editMenu_->addAction(
        QStringLiteral("Delete"), QKeySequence(Qt::CTRL | Qt::Key_Delete), this, &TLP::DeleteClick);
    editActs_[SelectAll] = editMenu_->addAction(
        QStringLiteral("Select all"), QKeySequence(Qt::CTRL | Qt::Key_A), this, &TLP::SelectAllClick);
    connect(editMenu_, &QMenu::aboutToShow, this, [this] { updateEditActions(false); });
    connect(editMenu_, &QMenu::aboutToHide, this, &TLP::enableAllEditActions);

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    options->addAction(QStringLiteral("Settings"), this, &TLP::SettingsClick);
    options->addAction(QStringLiteral("Font"), this, &TLP::FontClick);

    QMenu* calculations = addModuleMenu(QStringLiteral("Calculations"));
    calcAct_ = calculations->addAction(QStringLiteral("Calculate solution"), QKeySequence(Qt::Key_F10), this,
                                       &TLP::CalculateClick);

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    help->addAction(QStringLiteral("Explanation"), QKeySequence(Qt::Key_F1), this, &TLP::HelpClick);

    // The context menu of both pages.
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("PopupMenu"));
    popupActs_[Cut] = contextMenu_->addAction(QStringLiteral("Knip&pen"), this, &TLP::CutClick);
    popupActs_[Copy] = contextMenu_->addAction(QStringLiteral("&Kopieren"), this, &TLP::CopyClick);
    popupActs_[Paste] = contextMenu_->addAction(QStringLiteral("&Plakken"), this, &TLP::PasteClick);
    popupActs_[Delete] = contextMenu_->addAction(QStringLiteral("&Wissen"), this, &TLP::DeleteClick);
    popupActs_[SelectAll] =
        contextMenu_->addAction(QStringLiteral("&Alles Selecteren"), this, &TLP::SelectAllClick);
    contextMenu_->addSeparator();
    popupCalc_ = contextMenu_->addAction(QStringLiteral("&Bereken Oplossing"), this, &TLP::CalculateClick);
    connect(contextMenu_, &QMenu::aboutToShow, this, [this] { updateEditActions(true); });
    for (QPlainTextEdit* page : {static_cast<QPlainTextEdit*>(editor_), output_}) {
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(page, &QWidget::customContextMenuRequested, this,
                [this, page](const QPoint& at) { contextMenu_->popup(page->viewport()->mapToGlobal(at)); });
    }

    settings_ = new TLPInstellingen(this);
    fileName_ = kNoName;
    updateModelActions();
}

TLP::~TLP() = default;

bool TLP::isModified() const {
    return modelOpen_ && editor_->document()->isModified();
}

void TLP::showEvent(QShowEvent* event) {
    ModuleWindow::showEvent(event);
    // A new window starts with an empty model.
    if (!activated_) {
        activated_ = true;
        NewClick();
    }
}

void TLP::setCaption() {
    setWindowTitle(kCaption + QStringLiteral("  File: ") + fileName_);
}

void TLP::updateModelActions() {
    for (QAction* a : {saveAct_, saveAsAct_, closeAct_, printAct_, calcAct_, popupCalc_})
        a->setEnabled(modelOpen_);
    calcButton_->setEnabled(modelOpen_);
    printButton_->setEnabled(modelOpen_);
}

bool TLP::saveQuestion() {
    if (!isModified()) return true;
    const int answer =
        MsgDlg(QStringLiteral("Save changes in %1?").arg(fileName_), MsgKind::Confirmation, mbYesNoCancel, 0);
    if (answer == mrYes) return SaveClick(); // a model that was not saved is not given up
    return answer == mrNo;
}

void TLP::startModel(const QStringList& lines, bool isTemplate) {
    if (isTemplate)
        editor_->setModelLines(lines, IsTemplateComment);
    else
        editor_->setModelLines(lines);
    editor_->document()->setModified(false);
    result_ = false;
    modelOpen_ = true;
    setCaption();
    pages_->show();
    pages_->setCurrentIndex(0);
    updateModelActions();
}

void TLP::NewClick() {
    if (running_ || !saveQuestion()) return;
    fileName_ = kNoName;
    startModel(Template(), true);
    // The cursor goes to the first empty line below the objective's comments.
    QTextCursor c(editor_->document()->findBlockByNumber(2));
    editor_->setTextCursor(c);
    editor_->setFocus();
}

void TLP::OpenClick() {
    if (running_ || !saveQuestion()) return;
    FileRequest request;
    request.parent = this;
    request.directory = FileDialogFolder(kFileFolderKey);
    request.filters = {QStringLiteral("Tarvik LP bestanden (*.tlp)"),
                       QStringLiteral("Tekst bestanden (*.txt)"), QStringLiteral("Alle bestanden (*)")};
    const std::optional<QString> chosen = Dialogs().openFileName(request);
    if (!chosen) return;
    RememberFileDialogFolder(kFileFolderKey, *chosen);
    const std::optional<QStringList> lines = LoadModelFile(*chosen);
    if (!lines) {
        MsgDlg(QStringLiteral("Cannot open file %1").arg(*chosen), MsgKind::Error, mbOK, 0);
        return;
    }
    fileName_ = *chosen;
    startModel(*lines, false);
    editor_->setTextCursor(QTextCursor(editor_->document()));
    editor_->setFocus();
}

bool TLP::SaveClick() {
    if (!modelOpen_) return false;
    if (fileName_ == kNoName) return SaveAsClick();
    if (!SaveModelFile(fileName_, editor_->lines())) {
        StdMsgDlg(QStringLiteral("No file opened yet!"), MsgKind::Error, mbOK, 0);
        return false;
    }
    editor_->document()->setModified(false);
    return true;
}

bool TLP::SaveAsClick() {
    if (!modelOpen_) return false;
    FileRequest request;
    request.parent = this;
    request.directory = FileDialogFolder(kFileFolderKey);
    if (fileName_ != kNoName) request.fileName = fileName_;
    request.filters = {QStringLiteral("Tarvik LP Bestanden (*.tlp)")};
    request.defaultSuffix = QStringLiteral("TRV");
    const std::optional<QString> chosen = Dialogs().saveFileName(request);
    if (!chosen || chosen->isEmpty()) return false;
    // The model shows under the dialog's own filter: a bare name gets ".tlp".
    fileName_ = WithFilterExtension(*chosen, request.filters.front());
    RememberFileDialogFolder(kFileFolderKey, fileName_);
    setCaption();
    return SaveClick();
}

void TLP::CloseClick() {
    if (running_ || !modelOpen_ || !saveQuestion()) return;
    setWindowTitle(kCaption);
    editor_->document()->setModified(false);
    result_ = false;
    modelOpen_ = false;
    pages_->hide();
    updateModelActions();
}

void TLP::PrintClick() {
    if (!modelOpen_) return;
    if (pages_->currentIndex() == 0)
        PrintDocument(*editor_->document(), fileName_, this);
    else
        PrintDocument(*output_->document(), QStringLiteral("The solution of: ") + fileName_, this);
}

void TLP::PrinterSetupClick() {
    PrinterSetup(this);
}

QPlainTextEdit* TLP::shownPage() const {
    return pages_->currentIndex() == 1 ? output_ : static_cast<QPlainTextEdit*>(editor_);
}

void TLP::CutClick() {
    if (modelOpen_ && shownPage() == editor_) editor_->cut();
}

void TLP::CopyClick() {
    if (modelOpen_) shownPage()->copy();
}

void TLP::PasteClick() {
    if (modelOpen_ && shownPage() == editor_) editor_->pastePlainText();
}

void TLP::DeleteClick() {
    if (modelOpen_ && shownPage() == editor_) editor_->deleteSelection();
}

void TLP::SelectAllClick() {
    if (modelOpen_) shownPage()->selectAll();
}

void TLP::updateEditActions(bool fromContextMenu) {
    QAction* const* acts = fromContextMenu ? popupActs_ : editActs_;
    const bool input = shownPage() == editor_;
    const bool selected = modelOpen_ && shownPage()->textCursor().hasSelection();
    acts[Cut]->setEnabled(input && selected);
    acts[Copy]->setEnabled(selected);
    acts[Delete]->setEnabled(input && selected);
    acts[Paste]->setEnabled(modelOpen_ && input && !QApplication::clipboard()->text().isEmpty());
    acts[SelectAll]->setEnabled(modelOpen_);
}

// Between menu openings the shortcuts stay usable; the commands check the page.
void TLP::enableAllEditActions() {
    for (QAction* a : editActs_) a->setEnabled(true);
}

void TLP::FontClick() {
    const std::optional<QFont> font = Dialogs().font(this, editor_->font());
    if (!font) return;
    editor_->setFont(*font);
    output_->setFont(*font);
}

void TLP::SettingsClick() {
    if (settings_) settings_->exec();
}

void TLP::PageControlChange(int index) {
    if (index == 1 && !result_) pages_->setCurrentIndex(0);
    // Typing goes to the model whenever its page shows.
    if (pages_->currentIndex() == 0) editor_->setFocus();
}

void TLP::CalculateClick() {
    if (!modelOpen_ || running_) return;
    running_ = true;
    const tarvik::lp::LPSettings settings = settings_ ? settings_->settings() : tarvik::lp::LPSettings{};
    QPointer<TLP> self(this);
    TSolver solver(window());
    const bool ok = solver.run(editor_->joinedText(), settings);
    if (!self) return;
    running_ = false;

    // All tableaus of a large model are megabytes of text: set it in one go.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    output_->setPlainText(solver.output());
    QApplication::restoreOverrideCursor();
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

void TLP::HelpClick() {
    ShowHelp(kHelpContext, this);
}

void TLP::CloseModuleClick() {
    if (!running_) closeModule();
}

bool TLP::canClose() {
    return !running_ && saveQuestion();
}

void TLP::releaseModule() {
    delete settings_;
    settings_ = nullptr;
}

} // namespace tarvik::ui
