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
#include <cmath>

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

// One row of a field grid: label, field, range label.
struct Row {
    QLabel* label;
    TQueueEdit* edit;
    QLabel* range;
};

Row AddRow(QGridLayout* grid, QWidget* parent, const QString& label, const QString& name, bool integer,
           const QString& range) {
    const int row = grid->rowCount();
    Row r{Label(label, parent, name + QStringLiteral("_label")), new TQueueEdit(name, integer, parent),
          Label(range, parent, name + QStringLiteral("_range"))};
    r.edit->setFixedWidth(110);
    grid->addWidget(r.label, row, 0);
    grid->addWidget(r.edit, row, 1);
    grid->addWidget(r.range, row, 2);
    return r;
}

// "Vary c from [..] to [..]  range" on one row of a grid; the row's edit is the "from" field.
Row AddRange(QGridLayout* grid, QWidget* parent, const QString& label, const QString& fromName,
             const QString& toName, const QString& range) {
    const int row = grid->rowCount();
    Row r{Label(label, parent, fromName + QStringLiteral("_label")), new TQueueEdit(fromName, true, parent),
          Label(range, parent, toName + QStringLiteral("_range"))};
    auto* to = new TQueueEdit(toName, true, parent);
    r.edit->setFixedWidth(50);
    to->setFixedWidth(50);
    auto* line = new QHBoxLayout;
    line->addWidget(r.edit);
    line->addWidget(Label(QStringLiteral("to"), parent, toName + QStringLiteral("_label")));
    line->addWidget(to);
    line->addWidget(r.range);
    line->addStretch(1);
    grid->addWidget(r.label, row, 0);
    grid->addLayout(line, row, 1, 1, 2);
    return r;
}

QGridLayout* NewGrid(QVBoxLayout* column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(2, 1);
    column->addLayout(grid);
    return grid;
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

void TQueueMainForm::BuildPages() {
    const QStringList outputs = {QStringLiteral("Standard Statistics"),
                                 QStringLiteral("Waiting Time Probabilities"),
                                 QStringLiteral("Waiting Time Percentiles"),
                                 QStringLiteral("State Probabilities"), QStringLiteral("Graphs")};
    const std::vector<std::string> outputWords = {"standard", "wait", "percentiles", "states", "graphs"};
    const QString pList = QStringLiteral("p-values (<= 0.999999)");

    // M/G/1
    {
        PageUi& ui = NewPage(Page::MG1);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row cs2 = AddRow(grid, ui.page, QStringLiteral("CS2:"), QStringLiteral("MG1_CS2_edit"), false,
                         QStringLiteral("0.01 <= CS2 <= 1"));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), QStringLiteral("MG1_Rho_edit"), false,
                         QStringLiteral("<= 0.99 "));
        mg1CS2Range_ = cs2.range;
        ui.fields = {{"cs2", cs2.edit, nullptr}, {"rho", rho.edit, nullptr}};
        auto* service =
            new TRadioGroup(QStringLiteral("MG1_Service_Type_RadioGroup"), QStringLiteral("Service Times"),
                            {QStringLiteral("Erlangian"), QStringLiteral("Coxian-2 (Gamma Normalization)"),
                             QStringLiteral("Coxian-2 (Balanced Means)")},
                            ui.page);
        auto* output = new TRadioGroup(QStringLiteral("MG1_Output_RadioGroup"), QStringLiteral("Output"),
                                       outputs, ui.page);
        ColumnOf(ui.page)->addWidget(service);
        ColumnOf(ui.page)->addWidget(output);
        ui.choices = {{"service", service, {"erlang", "cox-gamma", "cox-balanced"}},
                      {"output", output, outputWords}};
        AddList(ui, 't', QStringLiteral("MG1_TEdit"), QStringLiteral("t-values (<= 75000)"));
        AddList(ui, 'p', QStringLiteral("MG1_PEdit"), pList);
        AddList(ui, 'n', QStringLiteral("MG1_NEdit"), QStringLiteral("n-values (<= 2500)"));
        connect(service, &TRadioGroup::clicked, this, &TQueueMainForm::Rule1MG1Service);
        connect(service, &TRadioGroup::focused, this,
                [this, service] { Rule1MG1Service(service->itemIndex()); });
        connect(output, &TRadioGroup::clicked, this, [this](int i) { Rule2Output(Page::MG1, i); });
    }
    // D/G/1
    {
        PageUi& ui = NewPage(Page::DG1);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row cs2 = AddRow(grid, ui.page, QStringLiteral("CS2:"), QStringLiteral("DG1_CS2_edit"), false,
                         QStringLiteral("0.01 <= CS2 <= 1 "));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), QStringLiteral("DG1_Rho_edit"), false,
                         QStringLiteral("<= 0.99 "));
        dg1CS2Label_ = cs2.label;
        dg1CS2Range_ = cs2.range;
        auto* service = new TRadioGroup(
            QStringLiteral("DG1_Service_Type_RadioGroup"), QStringLiteral("Service Times"),
            {QStringLiteral("Erlangian"), QStringLiteral("Pure Erlang"),
             QStringLiteral("Coxian-2 (Gamma Normalization)"), QStringLiteral("Coxian-2 (Balanced Means)")},
            ui.page);
        dg1Output_ = new TRadioGroup(QStringLiteral("DG1_Coxian_Output_RadioGroup"), QStringLiteral("Output"),
                                     {outputs[0], outputs[1], outputs[2], outputs[4]}, ui.page);
        dg1OutputPure_ = new TRadioGroup(
            QStringLiteral("DG1_Pure_Erlang_Output_RadioGroup"), QStringLiteral("Output (Pure Erlang)"),
            {outputs[0], outputs[1], outputs[2], QStringLiteral("Time Average State Probabilities"),
             QStringLiteral("Customer Average State Probabilities"), outputs[4]},
            ui.page);
        ColumnOf(ui.page)->addWidget(service);
        ColumnOf(ui.page)->addWidget(dg1Output_);
        ColumnOf(ui.page)->addWidget(dg1OutputPure_);
        dg1OutputPure_->hide();
        ui.fields = {{"cs2", cs2.edit, nullptr}, {"rho", rho.edit, nullptr}};
        ui.choices = {{"service", service, {"erlang", "pure-erlang", "cox-gamma", "cox-balanced"}},
                      {"output", dg1Output_, {"standard", "wait", "percentiles", "graphs"}},
                      {"output",
                       dg1OutputPure_,
                       {"standard", "wait", "percentiles", "time-states", "customer-states", "graphs"}}};
        AddList(ui, 't', QStringLiteral("DG1_TEdit"), QStringLiteral("t-values (<= 75000)"));
        AddList(ui, 'p', QStringLiteral("DG1_PEdit"), pList);
        AddList(ui, 'n', QStringLiteral("DG1_NEdit"), QStringLiteral("n-values (<= 1250)"));
        connect(service, &TRadioGroup::clicked, this, &TQueueMainForm::Rule3DG1Service);
        connect(service, &TRadioGroup::focused, this,
                [this, service] { Rule3DG1Service(service->itemIndex()); });
        connect(dg1Output_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule4DG1Lists);
        connect(dg1OutputPure_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule4DG1Lists);
    }
    // M/M/c and M/D/c
    for (Page p : {Page::MMC, Page::MDC}) {
        const bool mmc = p == Page::MMC;
        const QString pre = mmc ? QStringLiteral("MMC") : QStringLiteral("MDC");
        PageUi& ui = NewPage(p);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row c = AddRow(grid, ui.page, QStringLiteral("C:"), pre + QStringLiteral("_C_edit"), true,
                       mmc ? QStringLiteral("<=2500") : QStringLiteral("<=500"));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), pre + QStringLiteral("_Rho_edit"), false,
                         mmc ? QStringLiteral("<=0.999") : QStringLiteral("<=0.99"));
        rho.edit->setToolTip(QStringLiteral("rho=lambda*E(s)/c"));
        ui.fields = {{"c", c.edit, nullptr}, {"rho", rho.edit, nullptr}};
        auto* output = new TRadioGroup(pre + QStringLiteral("_Output_RadioGroup"), QStringLiteral("Output"),
                                       outputs, ui.page);
        ColumnOf(ui.page)->addWidget(output);
        ui.choices = {{"output", output, outputWords}};
        AddList(ui, 't', pre + QStringLiteral("_TEdit"), QStringLiteral("t-values (<= 2500)"));
        AddList(ui, 'p', pre + QStringLiteral("_PEdit"), pList);
        AddList(ui, 'n', pre + QStringLiteral("_NEdit"),
                mmc ? QStringLiteral("n-values (<= 5000)") : QStringLiteral("n-values (<= 1250)"));
        connect(output, &TRadioGroup::clicked, this, [this, p](int i) { Rule2Output(p, i); });
    }
    // D/M/c
    {
        PageUi& ui = NewPage(Page::DMC);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row c = AddRow(grid, ui.page, QStringLiteral("C:"), QStringLiteral("DMC_C_edit"), true,
                       QStringLiteral("<=500"));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), QStringLiteral("DMC_Rho_edit"), false,
                         QStringLiteral("<=0.99"));
        ui.fields = {{"c", c.edit, nullptr}, {"rho", rho.edit, nullptr}};
        auto* output = new TRadioGroup(QStringLiteral("DMC_Output_RadioGroup"), QStringLiteral("Output"),
                                       {outputs[0], outputs[1], outputs[2],
                                        QStringLiteral("Time Average State Probabilities"),
                                        QStringLiteral("Customer Average State Probabilities"), outputs[4]},
                                       ui.page);
        dmcGraphs_ = new TRadioGroup(QStringLiteral("DMC_Graph_GroupBox"),
                                     QStringLiteral("Conditional Probability Graphs"),
                                     {QStringLiteral("Waiting-Time"), QStringLiteral("Time-Average State"),
                                      QStringLiteral("Customer-Average State")},
                                     ui.page);
        ColumnOf(ui.page)->addWidget(output);
        ColumnOf(ui.page)->addWidget(dmcGraphs_);
        dmcGraphs_->hide();
        ui.choices = {{"output",
                       output,
                       {"standard", "wait", "percentiles", "time-states", "customer-states", "graphs"}},
                      {"graph", dmcGraphs_, {"wait", "time-states", "customer-states"}}};
        AddList(ui, 't', QStringLiteral("DMC_TEdit"), QStringLiteral("t-values (<= 2500)"));
        AddList(ui, 'p', QStringLiteral("DMC_PEdit"), pList);
        AddList(ui, 'n', QStringLiteral("DMC_NEdit"), QStringLiteral("n-values (<= 1250)"));
        connect(output, &TRadioGroup::clicked, this, &TQueueMainForm::Rule5DMCOutput);
    }
    // G/M/c
    {
        PageUi& ui = NewPage(Page::GMC);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row c = AddRow(grid, ui.page, QStringLiteral("C:"), QStringLiteral("GMC_C_edit"), true,
                       QStringLiteral("<=1000"));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), QStringLiteral("GMC_Rho_edit"), false,
                         QStringLiteral("<=0.999"));
        Row ca2 = AddRow(grid, ui.page, QStringLiteral("CA2:"), QStringLiteral("GMC_CA2_Edit"), false,
                         QStringLiteral("(deterministic)"));
        gmcCA2_ = ca2.edit;
        gmcCA2Range_ = ca2.range;
        gmcCA2_->setText(QStringLiteral("0"));
        gmcCA2_->setEnabled(false);
        ui.fields = {{"c", c.edit, nullptr}, {"rho", rho.edit, nullptr}, {"ca2", ca2.edit, nullptr}};
        auto* arrivals = new TRadioGroup(
            QStringLiteral("GMC_Arrivals_RadioGroup"), QStringLiteral("Arrivals Distribution"),
            {QStringLiteral("Deterministic Arrivals"), QStringLiteral("Erlangian Arrivals"),
             QStringLiteral("Coxian-2 Arrivals (gamma normalization)"),
             QStringLiteral("Coxian-2 Arrivals (balanced means)")},
            ui.page);
        auto* output = new TRadioGroup(QStringLiteral("GMC_Output_RadioGroup"), QStringLiteral("Output"),
                                       {outputs[0], outputs[1], outputs[2], outputs[4]}, ui.page);
        ColumnOf(ui.page)->addWidget(arrivals);
        ColumnOf(ui.page)->addWidget(output);
        ui.choices = {{"arrivals", arrivals, {"det", "erlang", "cox-gamma", "cox-balanced"}},
                      {"output", output, {"standard", "wait", "percentiles", "graphs"}}};
        AddList(ui, 't', QStringLiteral("GMC_TEdit"), QStringLiteral("t-values (<= 75000)"));
        AddList(ui, 'p', QStringLiteral("GMC_PEdit"), pList);
        connect(arrivals, &TRadioGroup::clicked, this, &TQueueMainForm::Rule6GMCArrivals);
        connect(output, &TRadioGroup::clicked, this, [this](int i) {
            ShowLists(pages_[static_cast<std::size_t>(Page::GMC)], i == 1, i == 2, false);
        });
    }
    // Finite Capacity
    {
        PageUi& ui = NewPage(Page::FinCap);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row c = AddRow(grid, ui.page, QStringLiteral("c:"), QStringLiteral("FinCap_C_edit"), true,
                       QStringLiteral("<=2500"));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), QStringLiteral("FinCap_Rho_edit"), false,
                         QStringLiteral("<=5"));
        Row n = AddRow(grid, ui.page, QStringLiteral("N:"), QStringLiteral("FinCap_N_edit"), true,
                       QStringLiteral("<=1000"));
        finCapC_ = c.edit;
        finCapN_ = n.edit;
        finCapCRange_ = c.range;
        finCapNRange_ = n.range;
        ui.fields = {{"c", c.edit, nullptr}, {"n", n.edit, nullptr}, {"rho", rho.edit, nullptr}};
        finCapType_ = new TRadioGroup(
            QStringLiteral("FinCap_Type_RadioGroup"), QStringLiteral("Queue Type"),
            {QStringLiteral("M/M/c/c+N"), QStringLiteral("M/D/c/c+N"), QStringLiteral("D/M/c/c+N")}, ui.page);
        finCapOutput4_ = new TRadioGroup(QStringLiteral("FinCap_Output_RadioGroup"), QStringLiteral("Output"),
                                         {outputs[0], outputs[1], outputs[3], outputs[4]}, ui.page);
        finCapOutput5_ =
            new TRadioGroup(QStringLiteral("FinCap_Output2_RadioGroup"), QStringLiteral("Output"),
                            {outputs[0], outputs[1], QStringLiteral("Time Average State Probabilities"),
                             QStringLiteral("Customer Average State Probabilities"), outputs[4]},
                            ui.page);
        ColumnOf(ui.page)->addWidget(finCapType_);
        ColumnOf(ui.page)->addWidget(finCapOutput4_);
        ColumnOf(ui.page)->addWidget(finCapOutput5_);
        finCapOutput5_->hide();
        ui.choices = {
            {"type", finCapType_, {"mmcn", "mdcn", "dmcn"}},
            {"output", finCapOutput4_, {"standard", "wait", "states", "graphs"}},
            {"output", finCapOutput5_, {"standard", "wait", "time-states", "customer-states", "graphs"}}};
        AddList(ui, 't', QStringLiteral("FinCap_TEdit"), QStringLiteral("t-values (<= 1000)"));
        AddList(ui, 'n', QStringLiteral("FinCap_NEdit"), QStringLiteral("n-values"));
        connect(finCapType_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule7FinCapType);
        connect(finCapOutput4_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule8FinCapLists);
        connect(finCapOutput5_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule8FinCapLists);
        connect(finCapC_, &QLineEdit::textChanged, this, [this] {
            if (!pages_[static_cast<std::size_t>(Page::FinCap)].nGroup->isVisibleTo(
                    PageControl->widget(static_cast<int>(Page::FinCap))))
                return;
            if (finCapType_->itemIndex() == 2) finCapNRange_->setText(QStringLiteral("<=500"));
            Rule9FinCapCaption();
        });
        connect(finCapN_, &QLineEdit::textChanged, this, [this] {
            if (pages_[static_cast<std::size_t>(Page::FinCap)].nGroup->isVisibleTo(
                    PageControl->widget(static_cast<int>(Page::FinCap))))
                Rule9FinCapCaption();
        });
    }
    // M/M/c/c+N graphs
    {
        PageUi& ui = NewPage(Page::MMCN);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row lambda =
            AddRow(grid, ui.page, QStringLiteral("Average arrival rate:"),
                   QStringLiteral("MMCN_Arrival_edit"), false, QStringLiteral("0.01 <= lambda <= 1000"));
        Row es = AddRow(grid, ui.page, QStringLiteral("Mean service time:"), QStringLiteral("MMCN_ES_edit"),
                        false, QStringLiteral("0.01 <= ES <= 1000"));
        mmcnFixedN_ = new QGroupBox(QStringLiteral("Fixed N, varying c"), ui.page);
        mmcnFixedN_->setObjectName(QStringLiteral("MMCN_FixedN_Group"));
        auto* gN = new QGridLayout(mmcnFixedN_);
        Row cap = AddRow(gN, mmcnFixedN_, QStringLiteral("Capacity N:"), QStringLiteral("MMCN_cap_edit"),
                         true, QStringLiteral("0...100"));
        Row cFrom =
            AddRange(gN, mmcnFixedN_, QStringLiteral("Vary c from"), QStringLiteral("MMCN_c_from_edit"),
                     QStringLiteral("MMCN_c_to_edit"), QStringLiteral("1...100"));
        Row cTo{nullptr, mmcnFixedN_->findChild<TQueueEdit*>(QStringLiteral("MMCN_c_to_edit")), nullptr};
        mmcnFixedC_ = new QGroupBox(QStringLiteral("Fixed c, varying N"), ui.page);
        mmcnFixedC_->setObjectName(QStringLiteral("MMCN_FixedC_Group"));
        auto* gC = new QGridLayout(mmcnFixedC_);
        Row cc = AddRow(gC, mmcnFixedC_, QStringLiteral("Number of servers c:"),
                        QStringLiteral("MMCN_c_edit"), true, QStringLiteral("1...100"));
        Row nFrom =
            AddRange(gC, mmcnFixedC_, QStringLiteral("Vary N from"), QStringLiteral("MMCN_N_from_edit"),
                     QStringLiteral("MMCN_N_to_edit"), QStringLiteral("0...100"));
        Row nTo{nullptr, mmcnFixedC_->findChild<TQueueEdit*>(QStringLiteral("MMCN_N_to_edit")), nullptr};
        QGridLayout* tGrid = new QGridLayout;
        Row t = AddRow(tGrid, ui.page, QStringLiteral("Time t:"), QStringLiteral("MMCN_t_edit"), false,
                       QStringLiteral("0 <= t <= 2500"));
        mmcnT_ = {t.label, t.edit, t.range};
        mmcnX_ = new TRadioGroup(QStringLiteral("MMCN_X_RadioGroup"), QStringLiteral("Graph X-Axis"),
                                 {QStringLiteral("Vary the number of servers c for a fixed capacity N"),
                                  QStringLiteral("Vary the capacity N for a fixed number of servers c")},
                                 ui.page);
        mmcnY_ = new TRadioGroup(QStringLiteral("MMCN_Y_RadioGroup"), QStringLiteral("Graph Y-Axis"),
                                 {QStringLiteral("Rejection probabilities Prej"),
                                  QStringLiteral("Waiting time probabilities P{Wq>t} for fixed t")},
                                 ui.page);
        ColumnOf(ui.page)->addWidget(mmcnFixedN_);
        ColumnOf(ui.page)->addWidget(mmcnFixedC_);
        ColumnOf(ui.page)->addLayout(tGrid);
        ColumnOf(ui.page)->addWidget(mmcnX_);
        ColumnOf(ui.page)->addWidget(mmcnY_);
        ui.fields = {{"lambda", lambda.edit, nullptr},
                     {"es", es.edit, nullptr},
                     {"t", t.edit, nullptr},
                     {"n", cap.edit, mmcnFixedN_},
                     {"from", cFrom.edit, mmcnFixedN_},
                     {"to", cTo.edit, mmcnFixedN_},
                     {"c", cc.edit, mmcnFixedC_},
                     {"from", nFrom.edit, mmcnFixedC_},
                     {"to", nTo.edit, mmcnFixedC_}};
        ui.choices = {{"vary", mmcnX_, {"c", "N"}}, {"y", mmcnY_, {"prej", "wait"}}};
        connect(mmcnX_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule10MMCN);
        connect(mmcnY_, &TRadioGroup::clicked, this, &TQueueMainForm::Rule10MMCN);
    }
    // Finite Source
    {
        PageUi& ui = NewPage(Page::FinSrc);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row c = AddRow(grid, ui.page, QStringLiteral("Number of servers c:"), QStringLiteral("FinSrc_c_Edit"),
                       true, QStringLiteral("<= 500"));
        Row m = AddRow(grid, ui.page, QStringLiteral("Number of machines M:"),
                       QStringLiteral("FinSrc_N_Edit"), true, QStringLiteral("<= 1000"));
        Row nu = AddRow(grid, ui.page, QStringLiteral("Failure rate nu:"), QStringLiteral("FinSrc_nu_edit"),
                        false, QStringLiteral("0.00001<=nu<=100"));
        finSrcCRange_ = c.range;
        finSrcM_ = m.edit;
        ui.fields = {{"c", c.edit, nullptr}, {"m", m.edit, nullptr}, {"nu", nu.edit, nullptr}};
        auto* service = new TRadioGroup(
            QStringLiteral("FinSrc_Service_RadioGroup"), QStringLiteral("Service Type Machine Repair Queue"),
            {QStringLiteral("Exponential services"), QStringLiteral("Deterministic services")}, ui.page);
        auto* output =
            new TRadioGroup(QStringLiteral("FinSrc_Output_RadioGroup"), QStringLiteral("Output"),
                            {outputs[0], outputs[1], QStringLiteral("Time Average State Probabilities"),
                             QStringLiteral("Customer Average State Probabilities"), outputs[4]},
                            ui.page);
        finSrcGraphs_ = new TRadioGroup(QStringLiteral("FinSrc_Graph_RadioGroup"), QStringLiteral("Graphs"),
                                        {QStringLiteral("P{ Wq > t  |  Wq > 0 }"),
                                         QStringLiteral("P{ L(time) > n | L(time) > 0 }"),
                                         QStringLiteral("P{ L(cust) > n | L(cust) > 0 }")},
                                        ui.page);
        ColumnOf(ui.page)->addWidget(service);
        ColumnOf(ui.page)->addWidget(output);
        ColumnOf(ui.page)->addWidget(finSrcGraphs_);
        finSrcGraphs_->hide();
        ui.choices = {{"service", service, {"exp", "det"}},
                      {"output", output, {"standard", "wait", "time-states", "customer-states", "graphs"}},
                      {"graph", finSrcGraphs_, {"wait", "time-states", "customer-states"}}};
        AddList(ui, 't', QStringLiteral("FinSrc_TEdit"), QStringLiteral("t-values (<= 1000)"));
        AddList(ui, 'n', QStringLiteral("FinSrc_NEdit"), QStringLiteral("n-values"));
        connect(service, &TRadioGroup::clicked, this, &TQueueMainForm::Rule11FinSrcService);
        connect(output, &TRadioGroup::clicked, this, &TQueueMainForm::Rule11FinSrcOutput);
        connect(finSrcM_, &QLineEdit::textChanged, this, &TQueueMainForm::Rule11FinSrcCaption);
    }
    // Transient M/M/1
    {
        PageUi& ui = NewPage(Page::MM1);
        QGridLayout* grid = NewGrid(ColumnOf(ui.page));
        Row rho = AddRow(grid, ui.page, QStringLiteral("Rho:"), QStringLiteral("MM1_Rho_edit"), false,
                         QStringLiteral("<=0.99"));
        Row i = AddRow(grid, ui.page, QStringLiteral("Initial state i:"),
                       QStringLiteral("MM1_initial_state_edit"), true, QString());
        Row j = AddRow(grid, ui.page, QStringLiteral("End state j:"), QStringLiteral("MM1_end_state_edit"),
                       true, QStringLiteral("<= 100"));
        Row t = AddRow(grid, ui.page, QStringLiteral("t:"), QStringLiteral("MM1_t_edit"), false,
                       QStringLiteral("0.01 <= t <= 1e6"));
        mm1Rho_ = rho.edit;
        mm1IRange_ = i.range;
        mm1J_ = {j.label, j.edit, j.range};
        mm1T_ = {t.label, t.edit, t.range};
        ui.fields = {{"rho", rho.edit, nullptr},
                     {"t", t.edit, nullptr},
                     {"i", i.edit, nullptr},
                     {"j", j.edit, nullptr}};
        auto* output = new TRadioGroup(QStringLiteral("MM1_Output_RadioGroup"), QStringLiteral("Output"),
                                       {QStringLiteral("Tables of moments of queue size"),
                                        QStringLiteral("Graph of state probabilities"),
                                        QStringLiteral("Graph of cumulative state probabilities"),
                                        QStringLiteral("Graph of mean queue size"),
                                        QStringLiteral("Graph of standard deviation queue size")},
                                       ui.page);
        ColumnOf(ui.page)->addWidget(output);
        ui.choices = {{"output", output, {"table", "p-graph", "P-graph", "mean-graph", "std-graph"}}};
        AddList(ui, 't', QStringLiteral("MM1_TEdit"), QStringLiteral("t-values (0.01 <= t <= 1e6)"));
        connect(output, &TRadioGroup::clicked, this, &TQueueMainForm::Rule12MM1Output);
        connect(mm1Rho_, &QLineEdit::textChanged, this, &TQueueMainForm::Rule13MM1Rho);
    }

    // Run, Quit and Help on every page.
    for (const PageInfo& info : Pages()) {
        PageUi& ui = pages_[static_cast<std::size_t>(info.page)];
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

    // The states the rules give the first items.
    Rule10MMCN();
    Rule12MM1Output(0);
    Rule13MM1Rho();
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

// ---- the rules ----

void TQueueMainForm::Rule1MG1Service(int index) {
    mg1CS2Range_->setText(index == 0 ? QStringLiteral("0.01 <= CS2 <= 1")
                                     : QStringLiteral("0.5 <= CS2 <= 100"));
}

void TQueueMainForm::Rule2Output(Page page, int index) {
    ShowLists(pages_[static_cast<std::size_t>(page)], index == 1, index == 2, index == 3);
}

void TQueueMainForm::Rule3DG1Service(int index) {
    if (index == 1) {
        dg1CS2Label_->setText(QStringLiteral("1/CS2:"));
        dg1CS2Range_->setText(QStringLiteral("1..100"));
    } else {
        dg1CS2Label_->setText(QStringLiteral("CS2:"));
        dg1CS2Range_->setText(index == 0 ? QStringLiteral("0.01 <= CS2 <= 1 ")
                                         : QStringLiteral("0.5 <= CS2 <= 100"));
    }
    dg1OutputPure_->setVisible(index == 1);
    dg1Output_->setVisible(index != 1);
    Rule4DG1Lists();
}

void TQueueMainForm::Rule4DG1Lists() {
    PageUi& ui = pages_[static_cast<std::size_t>(Page::DG1)];
    if (dg1OutputPure_->isVisibleTo(ui.page)) {
        const int i = dg1OutputPure_->itemIndex();
        ShowLists(ui, i == 1, i == 2, i == 3 || i == 4);
    } else {
        const int i = dg1Output_->itemIndex();
        ShowLists(ui, i == 1, i == 2, false);
    }
}

void TQueueMainForm::Rule5DMCOutput(int index) {
    ShowLists(pages_[static_cast<std::size_t>(Page::DMC)], index == 1, index == 2, index == 3 || index == 4);
    dmcGraphs_->setVisible(index == 5);
}

void TQueueMainForm::Rule6GMCArrivals(int index) {
    if (index == 0) {
        if (gmcCA2_->isEnabled()) {
            gmcCA2Range_->setText(QStringLiteral("(deterministic)"));
            rememberedCA2_ = gmcCA2_->text();
            gmcCA2_->setText(QStringLiteral("0"));
            gmcCA2_->setEnabled(false);
        }
        return;
    }
    gmcCA2Range_->setText(index == 1 ? QStringLiteral("0.01 <= CA2 <= 1")
                                     : QStringLiteral("0.5 <= CA2 <= 100"));
    if (!gmcCA2_->isEnabled()) {
        gmcCA2_->setText(rememberedCA2_);
        gmcCA2_->setEnabled(true);
    }
}

void TQueueMainForm::Rule7FinCapType(int index) {
    if (index == 2) {
        finCapCRange_->setText(QStringLiteral("<=500"));
        finCapNRange_->setText(QStringLiteral("<=500"));
    } else {
        finCapCRange_->setText(index == 0 ? QStringLiteral("<=2500") : QStringLiteral("<=500"));
        finCapNRange_->setText(QStringLiteral("<=1000"));
    }
    finCapOutput4_->setVisible(index != 2);
    finCapOutput5_->setVisible(index == 2);
    Rule8FinCapLists();
}

void TQueueMainForm::Rule8FinCapLists() {
    PageUi& ui = pages_[static_cast<std::size_t>(Page::FinCap)];
    bool t, n;
    if (finCapOutput4_->isVisibleTo(ui.page)) {
        const int i = finCapOutput4_->itemIndex();
        t = i == 1;
        n = i == 2;
    } else {
        const int i = finCapOutput5_->itemIndex();
        t = i == 1;
        n = i == 2 || i == 3;
    }
    ShowLists(ui, t, false, n);
    if (n) Rule9FinCapCaption();
}

void TQueueMainForm::Rule9FinCapCaption() {
    const auto c = ReadInteger(finCapC_->text().toStdString());
    const auto n = ReadInteger(finCapN_->text().toStdString());
    QGroupBox* box = pages_[static_cast<std::size_t>(Page::FinCap)].nGroup;
    if (c && n)
        box->setTitle(QStringLiteral("n-values (<=%1)").arg(static_cast<long long>(*c) + *n));
    else
        box->setTitle(QStringLiteral("n-values"));
}

void TQueueMainForm::Rule10MMCN() {
    mmcnFixedN_->setVisible(mmcnX_->itemIndex() == 0);
    mmcnFixedC_->setVisible(mmcnX_->itemIndex() == 1);
    for (QWidget* w : mmcnT_) w->setVisible(mmcnY_->itemIndex() == 1);
}

void TQueueMainForm::Rule11FinSrcService(int index) {
    finSrcCRange_->setText(index == 0 ? QStringLiteral("<= 500") : QStringLiteral("<= 250"));
}

void TQueueMainForm::Rule11FinSrcOutput(int index) {
    ShowLists(pages_[static_cast<std::size_t>(Page::FinSrc)], index == 1, false, index == 2 || index == 3);
    finSrcGraphs_->setVisible(index == 4);
}

void TQueueMainForm::Rule11FinSrcCaption() {
    const auto m = ReadInteger(finSrcM_->text().toStdString());
    QGroupBox* box = pages_[static_cast<std::size_t>(Page::FinSrc)].nGroup;
    box->setTitle(m ? QStringLiteral("n-values (<=%1)").arg(*m) : QStringLiteral("n-values"));
}

void TQueueMainForm::Rule12MM1Output(int index) {
    for (QWidget* w : mm1J_) w->setVisible(index <= 2);
    for (QWidget* w : mm1T_) w->setVisible(index != 0);
    ShowLists(pages_[static_cast<std::size_t>(Page::MM1)], index == 0, false, false);
}

void TQueueMainForm::Rule13MM1Rho() {
    const auto rho = ReadReal(mm1Rho_->text().toStdString());
    if (!rho || !(*rho <= 0.99 || (*rho >= 1.01 && *rho <= 10))) {
        mm1IRange_->setText(QString());
        return;
    }
    double k = std::log(1e-16) / std::log(std::max(*rho, 1e-9));
    if (k > 100 || *rho > 1) k = 100;
    mm1IRange_->setText(QStringLiteral("<= %1").arg(static_cast<int>(std::trunc(k))));
}

// ---- commands ----

PageInput TQueueMainForm::CollectInput(const PageUi& ui) const {
    PageInput in;
    for (const FieldBinding& f : ui.fields) {
        if (f.onlyWhenVisible && !f.onlyWhenVisible->isVisibleTo(ui.page)) continue;
        in.fields[f.name] = f.edit->text().toStdString();
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
