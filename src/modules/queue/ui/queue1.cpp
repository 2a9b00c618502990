#include "modules/queue/ui/queue1.h"

#include "common/ui/accessibility.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/printing.h"
#include "common/ui/reportsave.h"
#include "common/ui/windowowner.h"
#include "modules/queue/ui/queuegraphs.h"
#include "modules/queue/ui/queuemodule.h"
#include "modules/queue/ui/queuewidgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace tarvik::queue::ui {

using tarvik::ui::MsgKind;

namespace {

QPointer<TQueueMainForm> gQueueWindow;

constexpr int kPageWidth = 450;

// The wait cursor for the length of a run.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QLabel* Label(const QString& text, QWidget* parent, const QString& name = {}) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    return l;
}

QString Text(const char* text) {
    return QString::fromUtf8(text);
}
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// One row of a field grid: label, field, range label.
struct Row {
    QLabel* label;
    TQueueEdit* edit;
    QLabel* range;
};

Row AddRow(QGridLayout* grid, QWidget* parent, const FieldDef& f) {
    const int row = grid->rowCount();
    const QString name = Text(f.widget);
    Row r{Label(Text(f.labels.empty() ? f.label : f.labels.front()), parent, name + QStringLiteral("_label")),
          new TQueueEdit(name, f.integer, parent),
          Label(Text(f.limitsByChoice.empty() ? f.limits : f.limitsByChoice.front()), parent,
                name + QStringLiteral("_range"))};
    r.edit->setFixedWidth(110);
    grid->addWidget(r.label, row, 0);
    grid->addWidget(r.edit, row, 1);
    grid->addWidget(r.range, row, 2);
    return r;
}

// "Vary c from [..] to [..]  range" on one row of a grid: the "from" field's
// label, the "to" field's label and limits.
std::pair<Row, Row> AddRange(QGridLayout* grid, QWidget* parent, const FieldDef& fromField,
                             const FieldDef& toField) {
    const int row = grid->rowCount();
    const QString fromName = Text(fromField.widget), toName = Text(toField.widget);
    Row from{Label(Text(fromField.label), parent, fromName + QStringLiteral("_label")),
             new TQueueEdit(fromName, fromField.integer, parent), nullptr};
    Row to{nullptr, nullptr, Label(Text(toField.limits), parent, toName + QStringLiteral("_range"))};
    to.edit = new TQueueEdit(toName, toField.integer, parent);
    from.edit->setFixedWidth(50);
    to.edit->setFixedWidth(50);
    auto* line = new QHBoxLayout;
    line->addWidget(from.edit);
    to.label = Label(Text(toField.label), parent, toName + QStringLiteral("_label"));
    line->addWidget(to.label);
    line->addWidget(to.edit);
    line->addWidget(to.range);
    line->addStretch(1);
    grid->addWidget(from.label, row, 0);
    grid->addLayout(line, row, 1, 1, 2);
    return {from, to};
}

QGridLayout* NewGrid(QVBoxLayout* column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(2, 1);
    column->addLayout(grid);
    return grid;
}

// Shows or hides a widget that is not already so.
void Show(QWidget* w, bool shown) {
    if (w->isVisibleTo(w->parentWidget()) != shown) w->setVisible(shown);
}

QVBoxLayout* ColumnOf(QWidget* page) {
    return static_cast<QVBoxLayout*>(page->layout());
}

} // namespace

TQueueMainForm* CurrentQueueWindow() {
    return gQueueWindow.data();
}

// Opens the module: the shell's start handler keeps the window as the current one.
TQueueMainForm* NewQueueWindow(QWidget* parent) {
    auto* w = new TQueueMainForm(parent);
    gQueueWindow = w;
    return w;
}

TQueueAboutForm::TQueueAboutForm(QWidget* parent) : QDialog(parent) {
    tarvik::ui::SetHelpContext(this, 12);
    setObjectName(QStringLiteral("TQueueAboutForm"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);
    auto* column = new QVBoxLayout(this);
    auto* name = Label(QStringLiteral("Queue"), this, QStringLiteral("ProductName"));
    QFont f = name->font();
    f.setPixelSize(20);
    f.setBold(true);
    name->setFont(f);
    column->addWidget(name);
    column->addWidget(Label(QStringLiteral("Versie: 1.0"), this, QStringLiteral("Version")));
    column->addWidget(Label(QStringLiteral("Analytic queueing models for teaching."), this));
    column->addWidget(Label(QStringLiteral("Part of Tarvik, for students and their teachers."), this));
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(ok_, 0, Qt::AlignHCenter);
}

QString TQueueMainForm::HeaderLine() {
    return QStringLiteral("QUEUE, analytic models of queues: exact and numerical results");
}

TQueueMainForm::TQueueMainForm(QWidget* parent) : ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 12);
    setObjectName(QStringLiteral("TQueueMainForm"));
    setWindowTitle(QStringLiteral("Module Queue"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    auto* pages = new QVBoxLayout;
    pages->setSpacing(2);
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("PageStrip"));
    strip->setFixedWidth(kPageWidth);
    pages->addWidget(strip);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setFixedWidth(kPageWidth);
    PageControl->tabBar()->hide();
    pages->addWidget(PageControl, 1);
    row->addLayout(pages);
    BuildPageButtons(strip); // first in the Tab order, as they stand first

    auto* right = new QVBoxLayout;
    Results = new QTextEdit(this);
    Results->setObjectName(QStringLiteral("Results"));
    Results->setReadOnly(true);
    Results->setLineWrapMode(QTextEdit::NoWrap);
    Results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(12);
    Results->setFont(mono);
    Results->document()->setDefaultFont(mono);
    right->addWidget(Results, 1);
    auto* buttons = new QHBoxLayout;
    ClearButton = new QPushButton(QStringLiteral("&Clear"), this);
    ClearButton->setObjectName(QStringLiteral("ClearButton"));
    PrintButton = new QPushButton(QStringLiteral("&Print"), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    connect(ClearButton, &QPushButton::clicked, this, &TQueueMainForm::ClearButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TQueueMainForm::PrintButtonClick);
    buttons->addWidget(ClearButton);
    buttons->addWidget(PrintButton);
    buttons->addStretch(1);
    right->addLayout(buttons);
    row->addLayout(right, 1);

    fileMenu_ = addModuleMenu(QStringLiteral("&Bestand"));
    fileMenu_->addAction(QStringLiteral("Queue &Afsluiten"), this, &TQueueMainForm::AfsluitenClick)
        ->setObjectName(QStringLiteral("QueueAfsluiten"));
    fileMenu_->addAction(QStringLiteral("&Einde Tarvik"), this, &TQueueMainForm::EindeTarvikClick)
        ->setObjectName(QStringLiteral("EindeTarvik"));
    optionsMenu_ = addModuleMenu(QStringLiteral("&Opties"));
    optionsMenu_->menuAction()->setVisible(false);
    helpMenu_ = addModuleMenu(QStringLiteral("&Help"));
    helpMenu_
        ->addAction(QStringLiteral("&Help inhoud"), QKeySequence(Qt::Key_F1), this,
                    &TQueueMainForm::HelpClick)
        ->setObjectName(QStringLiteral("HelpInhoud"));
    helpMenu_->addSeparator();
    helpMenu_->addAction(QStringLiteral("&Info"), this, &TQueueMainForm::InfoClick)
        ->setObjectName(QStringLiteral("Info"));

    BuildPages();
    PageControl->setCurrentIndex(static_cast<int>(Page::MDC));
    tarvik::ui::AddReportSaving(
        Results, [] { return QStringLiteral("QUEUE"); }, [] { return QStringLiteral("Queue"); }, PrintButton);
    // Tab reads the model's fields on the left first, then the results and their buttons.
    QWidget* lastField = Results;
    for (QWidget* w = Results->nextInFocusChain(); w && w != Results && w != window();
         w = w->nextInFocusChain())
        if (PageControl->isAncestorOf(w)) lastField = w;
    tarvik::ui::SetTabOrder({lastField, Results, ClearButton, PrintButton,
                             findChild<QPushButton*>(QStringLiteral("SaveReportBtn"))});
    ClearButtonClick();
    about_ = new TQueueAboutForm(this);
    about_->hide();
}

TQueueMainForm::~TQueueMainForm() = default;

void TQueueMainForm::BuildPageButtons(QWidget* strip) {
    // The six short names on the first row, the four long ones on the second;
    // each row shares the page's width.
    auto* rows = new QVBoxLayout(strip);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    PageButtons = new QButtonGroup(strip);
    PageButtons->setExclusive(true);
    QHBoxLayout* line = nullptr;
    for (int i = 0; i < static_cast<int>(Pages().size()); ++i) {
        const PageInfo& info = Pages()[static_cast<std::size_t>(i)];
        if (i == 0 || i == static_cast<int>(Page::FinCap)) {
            line = new QHBoxLayout;
            line->setSpacing(2);
            rows->addLayout(line);
        }
        auto* b = new QToolButton(strip);
        b->setObjectName(QString::fromLatin1(info.word) + QStringLiteral("_page_button"));
        b->setText(QString::fromLatin1(info.caption));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::TabFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        PageButtons->addButton(b, i);
        line->addWidget(b);
    }
    connect(PageButtons, &QButtonGroup::idClicked, PageControl, &QTabWidget::setCurrentIndex);
    connect(PageControl, &QTabWidget::currentChanged, PageButtons, [this](int i) {
        if (QAbstractButton* b = PageButtons->button(i)) b->setChecked(true);
    });
}

TQueueMainForm::PageUi& TQueueMainForm::NewPage(Page p) {
    const PageInfo& info = PageOf(p);
    PageUi& ui = pages_[static_cast<std::size_t>(p)];
    ui.page = new QWidget;
    ui.page->setObjectName(QString::fromLatin1(info.word) + QStringLiteral("_page"));
    tarvik::ui::SetHelpContext(ui.page, info.helpContext);
    auto* column = new QVBoxLayout(ui.page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    auto* heading = Label(QString::fromLatin1(info.heading), ui.page, QStringLiteral("Heading"));
    QFont f = heading->font();
    f.setPixelSize(16);
    f.setBold(true);
    heading->setFont(f);
    column->addWidget(heading);
    PageControl->addTab(ui.page, QString::fromLatin1(info.caption));
    return ui;
}

QGroupBox* TQueueMainForm::AddList(PageUi& ui, char kind, const QString& prefix, const QString& caption) {
    auto* box = new QGroupBox(caption, ui.page);
    box->setObjectName(prefix + QStringLiteral("Group"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setSpacing(3);
    auto& fields = kind == 't' ? ui.t : kind == 'p' ? ui.p : ui.n;
    for (int i = 0; i < kListSize; ++i) {
        auto* e = new TQueueEdit(prefix + QString::number(i + 1), kind == 'n', box);
        grid->addWidget(e, i / 3, i % 3);
        fields[static_cast<std::size_t>(i)] = e;
    }
    (kind == 't' ? ui.tGroup : kind == 'p' ? ui.pGroup : ui.nGroup) = box;
    ColumnOf(ui.page)->addWidget(box);
    box->hide();
    return box;
}

void TQueueMainForm::ShowLists(PageUi& ui, bool t, bool p, bool n) {
    if (ui.tGroup) ui.tGroup->setVisible(t);
    if (ui.pGroup) ui.pGroup->setVisible(p);
    if (ui.nGroup) ui.nGroup->setVisible(n);
}

void TQueueMainForm::AddFields(PageUi& ui, const PageInfo& info) {
    QVBoxLayout* column = ColumnOf(ui.page);
    QGridLayout* grid = NewGrid(column);
    QWidget* parent = ui.page;
    std::string box;
    for (std::size_t i = 0; i < info.fields.size(); ++i) {
        const FieldDef& f = info.fields[i];
        if (f.box != box) {
            // A box of its own rows, or after one the page's rows in a grid of their own.
            box = f.box;
            parent = ui.page;
            if (!box.empty()) {
                const auto def = std::find_if(info.boxes.begin(), info.boxes.end(),
                                              [&](const BoxDef& b) { return box == b.widget; });
                auto* group = new QGroupBox(Text(def->caption), ui.page);
                group->setObjectName(Text(def->widget));
                grid = new QGridLayout(group);
                ui.boxes.emplace_back(group, &*def);
                column->addWidget(group);
                parent = group;
            } else {
                grid = new QGridLayout;
                column->addLayout(grid);
            }
        }
        QWidget* readWhileShown = box.empty() ? nullptr : parent;
        if (std::string_view(f.name) == "from" && i + 1 < info.fields.size()) {
            const auto [from, to] = AddRange(grid, parent, f, info.fields[i + 1]);
            ui.fields.push_back({&f, from.label, from.edit, from.range, readWhileShown});
            ui.fields.push_back({&info.fields[++i], to.label, to.edit, to.range, readWhileShown});
            continue;
        }
        const Row r = AddRow(grid, parent, f);
        if (*f.hint) r.edit->setToolTip(Text(f.hint));
        ui.fields.push_back({&f, r.label, r.edit, r.range, readWhileShown});
    }
}

void TQueueMainForm::AddChoices(PageUi& ui, const PageInfo& info) {
    for (const ChoiceDef& choice : info.choices)
        for (const RadioDef& radio : choice.radios) {
            QStringList items;
            for (const std::string& item : radio.items) items << Text(item);
            auto* group = new TRadioGroup(Text(radio.widget), Text(radio.caption), items, ui.page);
            ColumnOf(ui.page)->addWidget(group);
            ui.choices.push_back(
                {&radio, choice.group, group, radio.words.empty() ? choice.words : radio.words});
            const Page p = info.page;
            connect(group, &TRadioGroup::clicked, this, [this, p] { FollowChoices(p); });
            connect(group, &TRadioGroup::focused, this, [this, p] { FollowChoices(p); });
        }
}

void TQueueMainForm::AddButtons(PageUi& ui, const PageInfo& info) {
    // Run, Quit and Help on every page.
    QVBoxLayout* column = ColumnOf(ui.page);
    column->addStretch(1);
    auto* row = new QHBoxLayout;
    ui.run = new QPushButton(QStringLiteral("&Run"), ui.page);
    ui.run->setObjectName(QStringLiteral("RunButton"));
    ui.run->setToolTip(QStringLiteral("Perform calculations (Alt-R is a shortcut)"));
    ui.run->setEnabled(info.run != nullptr);
    ui.quit = new QPushButton(QStringLiteral("&Quit"), ui.page);
    ui.quit->setObjectName(QStringLiteral("QuitButton"));
    ui.quit->setToolTip(QStringLiteral("Exit the application (Alt-Q is a shortcut)"));
    ui.help = new QPushButton(QStringLiteral("&Help"), ui.page);
    ui.help->setObjectName(QStringLiteral("HelpButton"));
    row->addWidget(ui.run);
    row->addWidget(ui.quit);
    row->addWidget(ui.help);
    column->addLayout(row);
    const Page p = info.page;
    connect(ui.run, &QPushButton::clicked, this, [this, p] { RunClick(p); });
    connect(ui.quit, &QPushButton::clicked, this, &TQueueMainForm::QuitClick);
    connect(ui.help, &QPushButton::clicked, this, &TQueueMainForm::HelpClick);
}

void TQueueMainForm::BuildPages() {
    for (const PageInfo& info : Pages()) {
        PageUi& ui = NewPage(info.page);
        AddFields(ui, info);
        AddChoices(ui, info);
        const QString prefix = Text(info.lists);
        if (info.hasT) AddList(ui, 't', prefix + QStringLiteral("_TEdit"), Text(info.tCaption));
        if (info.hasP) AddList(ui, 'p', prefix + QStringLiteral("_PEdit"), Text(info.pCaption));
        if (info.hasN) AddList(ui, 'n', prefix + QStringLiteral("_NEdit"), Text(info.nCaption));
    }
    // The captions and limits that follow what is typed.
    auto fincapCaption = [this] {
        if (pages_[static_cast<std::size_t>(Page::FinCap)].nGroup->isVisibleTo(page(Page::FinCap)))
            FinCapNCaption();
    };
    connect(RowOf(Page::FinCap, "c").edit, &QLineEdit::textChanged, this, fincapCaption);
    connect(RowOf(Page::FinCap, "n").edit, &QLineEdit::textChanged, this, fincapCaption);
    connect(RowOf(Page::FinSrc, "m").edit, &QLineEdit::textChanged, this, &TQueueMainForm::FinSrcNCaption);
    connect(RowOf(Page::MM1, "rho").edit, &QLineEdit::textChanged, this, &TQueueMainForm::MM1StateLimit);

    for (const PageInfo& info : Pages()) AddButtons(pages_[static_cast<std::size_t>(info.page)], info);

    // The states the first items give.
    for (const PageInfo& info : Pages()) FollowChoices(info.page);
    MM1StateLimit();
}

QWidget* TQueueMainForm::page(Page p) const {
    return pages_[static_cast<std::size_t>(p)].page;
}
QPushButton* TQueueMainForm::runButton(Page p) const {
    return pages_[static_cast<std::size_t>(p)].run;
}
QPushButton* TQueueMainForm::quitButton(Page p) const {
    return pages_[static_cast<std::size_t>(p)].quit;
}
QPushButton* TQueueMainForm::helpButton(Page p) const {
    return pages_[static_cast<std::size_t>(p)].help;
}

const std::array<TQueueEdit*, kListSize>& TQueueMainForm::listFields(Page p, char kind) const {
    const PageUi& ui = pages_[static_cast<std::size_t>(p)];
    return kind == 't' ? ui.t : kind == 'p' ? ui.p : ui.n;
}

QGroupBox* TQueueMainForm::listGroup(Page p, char kind) const {
    const PageUi& ui = pages_[static_cast<std::size_t>(p)];
    return kind == 't' ? ui.tGroup : kind == 'p' ? ui.pGroup : ui.nGroup;
}

std::vector<TQueueGraphForm*> TQueueMainForm::graphWindows() const {
    std::vector<TQueueGraphForm*> out;
    for (const auto& g : graphs_)
        if (g) out.push_back(g.data());
    return out;
}

const TQueueMainForm::FieldRow& TQueueMainForm::RowOf(Page page, const char* field) const {
    const auto& fields = pages_[static_cast<std::size_t>(page)].fields;
    return *std::find_if(fields.begin(), fields.end(),
                         [&](const FieldRow& f) { return std::string_view(f.def->name) == field; });
}

// ---- the rules ----

void TQueueMainForm::FollowChoices(Page page) {
    PageUi& ui = pages_[static_cast<std::size_t>(page)];
    const PageInfo& info = PageOf(page);
    // The groups first: of two groups of a choice, the shown one sets it.
    PageInput input = CollectInput(ui);
    for (const ChoiceBinding& c : ui.choices)
        if (*c.def->when) Show(c.group, Holds(c.def->when, input));
    input = CollectInput(ui);
    for (const auto& [box, def] : ui.boxes) Show(box, Holds(def->when, input));
    for (const FieldRow& f : ui.fields) {
        const FieldDef& def = *f.def;
        if (*def.when)
            for (QWidget* w : {static_cast<QWidget*>(f.label), static_cast<QWidget*>(f.edit),
                               static_cast<QWidget*>(f.limits)})
                if (w) Show(w, Holds(def.when, input));
        if (!*def.follows) continue;
        const auto& words = std::find_if(info.choices.begin(), info.choices.end(), [&](const ChoiceDef& c) {
                                return std::string_view(c.group) == def.follows;
                            })->words;
        const auto item = static_cast<std::size_t>(
            std::find(words.begin(), words.end(), input.Choice(def.follows)) - words.begin());
        if (item < def.labels.size()) f.label->setText(Text(def.labels[item]));
        if (item < def.limitsByChoice.size()) f.limits->setText(Text(def.limitsByChoice[item]));
    }
    const char list = ValueListOf(ChosenOutput(input));
    ShowLists(ui, list == 't', list == 'p', list == 'n');
    if (page == Page::GMC) GMCArrivals(input.Choice("arrivals") == "det");
    if (page == Page::FinCap && ui.nGroup->isVisibleTo(ui.page)) FinCapNCaption();
}

// Deterministic arrivals: the CA2 field shows 0 and keeps what was typed for
// the other arrivals.
void TQueueMainForm::GMCArrivals(bool deterministic) {
    TQueueEdit* ca2 = RowOf(Page::GMC, "ca2").edit;
    if (deterministic != ca2->isEnabled()) return;
    if (deterministic) rememberedCA2_ = ca2->text();
    ca2->setText(deterministic ? QStringLiteral("0") : rememberedCA2_);
    ca2->setEnabled(!deterministic);
}

void TQueueMainForm::FinCapNCaption() {
    const auto c = ReadInteger(RowOf(Page::FinCap, "c").edit->text().toStdString());
    const auto n = ReadInteger(RowOf(Page::FinCap, "n").edit->text().toStdString());
    QGroupBox* box = pages_[static_cast<std::size_t>(Page::FinCap)].nGroup;
    if (c && n)
        box->setTitle(QStringLiteral("n-values (<=%1)").arg(static_cast<long long>(*c) + *n));
    else
        box->setTitle(QStringLiteral("n-values"));
}

void TQueueMainForm::FinSrcNCaption() {
    const auto m = ReadInteger(RowOf(Page::FinSrc, "m").edit->text().toStdString());
    QGroupBox* box = pages_[static_cast<std::size_t>(Page::FinSrc)].nGroup;
    box->setTitle(m ? QStringLiteral("n-values (<=%1)").arg(*m) : QStringLiteral("n-values"));
}

// The initial state's limit follows rho.
void TQueueMainForm::MM1StateLimit() {
    QLabel* limit = RowOf(Page::MM1, "i").limits;
    const auto rho = ReadReal(RowOf(Page::MM1, "rho").edit->text().toStdString());
    if (!rho || !(*rho <= 0.99 || (*rho >= 1.01 && *rho <= 10))) {
        limit->setText(QString());
        return;
    }
    double k = std::log(1e-16) / std::log(std::max(*rho, 1e-9));
    if (k > 100 || *rho > 1) k = 100;
    limit->setText(QStringLiteral("<= %1").arg(static_cast<int>(std::trunc(k))));
}

// ---- commands ----

PageInput TQueueMainForm::CollectInput(const PageUi& ui) const {
    PageInput in;
    for (const FieldRow& f : ui.fields) {
        if (f.box && !f.box->isVisibleTo(ui.page)) continue;
        in.fields[f.def->name] = f.edit->text().toStdString();
    }
    for (const ChoiceBinding& c : ui.choices) {
        const bool shown = c.group->isVisibleTo(ui.page);
        if (in.choices.count(c.name) && !shown) continue; // another group of that name is shown
        const int i = c.group->itemIndex();
        if (i >= 0 && i < static_cast<int>(c.words.size()))
            in.choices[c.name] = c.words[static_cast<std::size_t>(i)];
    }
    auto texts = [](const std::array<TQueueEdit*, kListSize>& fields) {
        ListTexts t{};
        for (int i = 0; i < kListSize; ++i)
            if (fields[static_cast<std::size_t>(i)])
                t[static_cast<std::size_t>(i)] = fields[static_cast<std::size_t>(i)]->text().toStdString();
        return t;
    };
    in.tvalues = texts(ui.t);
    in.pvalues = texts(ui.p);
    in.nvalues = texts(ui.n);
    return in;
}

void TQueueMainForm::WriteBackList(std::array<TQueueEdit*, kListSize>& fields,
                                   const std::optional<ListTexts>& texts) {
    if (!texts) return;
    for (int i = 0; i < kListSize; ++i) {
        TQueueEdit* e = fields[static_cast<std::size_t>(i)];
        if (!e) continue;
        // The marks "**" stay visible: the filter runs on the user's typing only.
        const QSignalBlocker block(e);
        e->setText(QString::fromStdString((*texts)[static_cast<std::size_t>(i)]));
    }
}

namespace {

// An error box with the model's caption ("Error", "ERROR", "Fatal Error").
void ErrorBox(const std::string& text, const std::string& caption) {
    tarvik::ui::MessageRequest request;
    request.text = QString::fromStdString(text);
    request.kind = MsgKind::Error;
    request.buttons = tarvik::ui::mbOKCancel;
    request.caption = QString::fromStdString(caption);
    tarvik::ui::Dialogs().message(request);
}

} // namespace

void TQueueMainForm::RunClick(Page p) {
    PageUi& ui = pages_[static_cast<std::size_t>(p)];
    if (!PageOf(p).run) return;
    RunResult result;
    {
        const WaitCursor wait;
        result = tarvik::queue::RunPage(p, CollectInput(ui));
    }
    WriteBackList(ui.t, result.tvalues);
    WriteBackList(ui.p, result.pvalues);
    WriteBackList(ui.n, result.nvalues);
    if (!result.inputError.empty()) {
        ErrorBox(result.inputError, result.errorCaption);
        return;
    }
    const int cascade = result.graphWindowCreated ? TakeCascadeIndex() : -1;
    for (const ReportLine& line : result.report.lines)
        AddResultLine(QString::fromStdString(line.text), line.style);
    if (!result.breakdownBox.empty()) ErrorBox(result.breakdownBox, result.breakdownCaption);
    if (result.graphWindow) ShowGraphWindow(*result.graphWindow, std::max(0, cascade));
}

void TQueueMainForm::ShowGraphWindow(const GraphWindowData& data, int cascadeIndex) {
    TQueueGraphForm* w =
        TQueueGraphForm::Create(data, this, tarvik::ui::HelpContextOf(PageControl->currentWidget()));
    QSize screen(1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry().size();
    w->Place(cascadeIndex, screen);
    graphs_.emplace_back(w);
    w->show();
}

void TQueueMainForm::AddResultLine(const QString& text, LogStyle style) {
    QTextCursor c(Results->document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat f;
    f.setFont(Results->document()->defaultFont());
    f.setForeground(Qt::black);
    switch (style) {
    case LogStyle::Normal:
        break;
    case LogStyle::Title:
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setForeground(Qt::blue);
        break;
    case LogStyle::Parameters:
        f.setFontWeight(QFont::Bold);
        break;
    case LogStyle::TableEdge:
        f.setFontUnderline(true);
        break;
    }
    c.insertBlock(QTextBlockFormat(), f);
    c.insertText(text, f);
    Results->setTextCursor(c);
    Results->ensureCursorVisible();
}

void TQueueMainForm::ClearButtonClick() {
    Results->clear();
    QTextCursor c(Results->document());
    QTextCharFormat plain;
    plain.setFont(Results->document()->defaultFont());
    c.insertText(HeaderLine(), plain);
    c.insertBlock(QTextBlockFormat(), plain);
}

void TQueueMainForm::PrintButtonClick() {
    tarvik::ui::PrintDocument(*Results->document(), QStringLiteral("QUEUE"), this);
}

void TQueueMainForm::QuitClick() {
    if (MsgDlg(QStringLiteral("Do you want to quit from queue?"), MsgKind::Confirmation, tarvik::ui::mbYesNo,
               0) == tarvik::ui::mrYes)
        closeModule();
}

void TQueueMainForm::AfsluitenClick() {
    if (MsgDlg(QStringLiteral("Wilt u Queue afsluiten?"), MsgKind::Confirmation, tarvik::ui::mbYesNo, 0) ==
        tarvik::ui::mrYes)
        closeModule();
}

void TQueueMainForm::EindeTarvikClick() {
    // The main window's close request closes the open module first; a second
    // request then asks its "Exit Tarvik" question, so that the program ends.
    QPointer<QWidget> top = window();
    if (!top || top == this) {
        closeModule();
        return;
    }
    top->close();
    if (top && top->isVisible()) top->close();
}

void TQueueMainForm::HelpClick() {
    tarvik::ui::ShowHelp(12, this);
}

void TQueueMainForm::InfoClick() {
    if (!about_) return;
    tarvik::ui::OwnQuestion(about_, this);
    about_->open();
}

void TQueueMainForm::releaseModule() {
    if (about_) {
        about_->hide();
        delete about_.data();
    }
    for (auto& g : graphs_)
        if (g) delete g.data();
    graphs_.clear();
    if (gQueueWindow == this) gQueueWindow = nullptr;
}

} // namespace tarvik::queue::ui

tarvik::ui::ModuleWindow* CreateQueueWindow(QWidget* parent) {
    return tarvik::queue::ui::NewQueueWindow(parent);
}
