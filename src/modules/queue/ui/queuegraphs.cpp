#include "modules/queue/ui/queuegraphs.h"

#include "common/ui/help.h"

#include <algorithm>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace tarvik::queue::ui {
namespace {

int gCascade = 0;

constexpr int kWideGraph = 400, kWideHeight = 330;
constexpr int kSingleGraph = 600, kSingleHeight = 380;
constexpr int kTop = 62;

} // namespace

int TakeCascadeIndex() {
    return gCascade++;
}

void DesignGraph(tarvik::plot::TdiDoriv& g, const QString& graphTitle) {
    g.XAxis.Title = "Time t";
    g.XAxis.AutoSizing = true;
    g.XAxis.AutoStepping = true;
    g.XAxis.Gridlines = true;
    g.YAxis.Title = "Probability";
    g.YAxis.LogScale = true;
    g.YAxis.Min = 0.001;
    g.YAxis.Max = 1;
    g.YAxis.LabelDecimals = 0;
    g.YAxis.AutoSizing = false;
    g.YAxis.Gridlines = true;
    g.Dimensions.LeftMargin = 50;
    g.Appearance.UseControlColor = false;
    g.Appearance.BackgroundColor = tarvik::plot::colors::White;
    g.Appearance.MarginColor = tarvik::plot::colors::White;
    g.Appearance.GraphTitle = graphTitle.toStdString();
}

void FillGraph(tarvik::plot::TdiDoriv& g, const GraphData& data) {
    g.SetPlotting(false);
    if (!data.graphTitle.empty()) g.Appearance.GraphTitle = data.graphTitle;
    if (!data.xTitle.empty()) g.XAxis.Title = data.xTitle;
    if (!data.yTitle.empty()) g.YAxis.Title = data.yTitle;
    g.YAxis.LogScale = data.logY;
    g.YAxis.AutoSizing = data.autoY;
    if (!data.autoY) g.SetLimits(g.YAxis, data.yMin, data.yMax);
    if (!data.logY) g.YAxis.StepSize = 0; // ticks follow the range
    tarvik::plot::TSeries& s = g.Series(1);
    s.Clear();
    s.AutoZero = false;
    s.YAxisIndex = 1;
    s.ZeroValue = 0;
    const bool few = data.points.size() < static_cast<std::size_t>(std::max(0, data.markersBelow));
    s.ShowPoints = few;
    s.ShowLine = !few;
    s.LineColor = tarvik::plot::colors::Blue;
    s.PointColor = tarvik::plot::colors::Blue;
    for (const auto& [x, y] : data.points) s.Add(x, y);
    g.SetPlotting(true);
}

TQueueGraphForm::TQueueGraphForm(QWidget* owner, int graphCount, QPoint design, bool threeLabels,
                                 int helpContext)
    : QWidget(owner, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), design_(design) {
    // The graphs are explained on the page of the model that drew them.
    tarvik::ui::SetHelpContext(this, helpContext);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Graph"));
    const int gw = graphCount == 2 ? kWideGraph : kSingleGraph;
    const int gh = graphCount == 2 ? kWideHeight : kSingleHeight;
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("TitleLabel"));
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPixelSize(14);
    title_->setFont(bold);
    title_->setGeometry(10, 6, 2 * gw - 180, 22);
    const int labelCount = threeLabels ? 3 : 2;
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("ParameterLabel%1").arg(i + 1));
        l->setGeometry(10 + 110 * i, 34, 105, 20);
        l->setVisible(i < labelCount);
        labels_.push_back(l);
    }
    service_ = new QLabel(this);
    service_->setObjectName(QStringLiteral("ServiceLabel"));
    service_->setGeometry(10 + 110 * labelCount, 34, 300, 20);
    const int width = 10 + graphCount * (gw + 10);
    // The title ends where the buttons begin.
    title_->setGeometry(10, 6, width - 200, 22);
    close_ = new QPushButton(QStringLiteral("&Close"), this);
    close_->setObjectName(QStringLiteral("CloseButton"));
    close_->setToolTip(QStringLiteral("Close this window (Alt-C is a shortcut)"));
    close_->setGeometry(width - 180, 8, 80, 26);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    help_ = new QPushButton(QStringLiteral("&Help"), this);
    help_->setObjectName(QStringLiteral("HelpButton"));
    help_->setGeometry(width - 90, 8, 80, 26);
    connect(help_, &QPushButton::clicked, this,
            [this, helpContext] { tarvik::ui::ShowHelp(helpContext, this); });
    for (int i = 0; i < graphCount; ++i) {
        auto* g = new tarvik::plot::TdiDoriv(this);
        g->setGeometry(10 + i * (gw + 10), kTop, gw, gh);
        graphs_.push_back(g);
    }
    // The graphs fit with 10 pixels to spare at the right and below.
    setFixedSize(width, kTop + gh + 10);
}

TQueueGraphForm* TQueueGraphForm::Create(const GraphWindowData& data, QWidget* owner, int helpContext) {
    TQueueGraphForm* w = nullptr;
    switch (data.design) {
    case GraphDesign::MG1:
        w = new TQueueGraphForm(owner, 2, QPoint(40, 60), false, helpContext);
        w->setObjectName(QStringLiteral("TMG1_GraphForm"));
        w->graphs_[0]->setObjectName(QStringLiteral("MG1_wait_graph"));
        w->graphs_[1]->setObjectName(QStringLiteral("MG1_State_graph"));
        DesignGraph(*w->graphs_[0], QStringLiteral("P(Wq>t | Wq>0)"));
        DesignGraph(*w->graphs_[1], QStringLiteral("P(L>n | L>0)"));
        w->graphs_[1]->XAxis.Title = "State n";
        w->graphs_[1]->YAxis.Title = "Probaility";
        break;
    case GraphDesign::DG1:
        w = new TQueueGraphForm(owner, 1, QPoint(60, 70), false, helpContext);
        w->setObjectName(QStringLiteral("TDG1_Graph1"));
        w->graphs_[0]->setObjectName(QStringLiteral("diDoriv1"));
        DesignGraph(*w->graphs_[0], QStringLiteral("P(Wq>t | Wq>0)"));
        break;
    case GraphDesign::GMC:
        w = new TQueueGraphForm(owner, 1, QPoint(80, 80), true, helpContext);
        w->setObjectName(QStringLiteral("TGMC_Graph1"));
        w->graphs_[0]->setObjectName(QStringLiteral("diDoriv1"));
        DesignGraph(*w->graphs_[0], QStringLiteral("P(Wq>t | Wq>0)"));
        break;
    }
    w->Fill(data);
    return w;
}

void TQueueGraphForm::Fill(const GraphWindowData& data) {
    title_->setText(QString::fromStdString(data.title));
    labels_[0]->setText(QString::fromStdString(data.label1));
    labels_[1]->setText(QString::fromStdString(data.label2));
    labels_[2]->setText(QString::fromStdString(data.label3));
    service_->setText(QString::fromStdString(data.service));
    for (std::size_t i = 0; i < graphs_.size() && i < data.graphs.size(); ++i)
        FillGraph(*graphs_[i], data.graphs[i]);
}

void TQueueGraphForm::Place(int k, QSize screen) {
    const auto [left, top] =
        CascadePosition(k, design_.x(), design_.y(), screen.width(), screen.height(), width(), height());
    move(left, top);
}

} // namespace tarvik::queue::ui
