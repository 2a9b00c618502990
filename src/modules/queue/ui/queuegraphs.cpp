#include "modules/queue/ui/queuegraphs.h"

#include "common/ui/help.h"
#include "common/ui/picturesave.h"
#include "common/ui/printing.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace tarvik::queue::ui {
namespace {

int gCascade = 0;

constexpr int kWideGraph = 400, kWideHeight = 330;
constexpr int kSingleGraph = 600, kSingleHeight = 380;
constexpr int kTop = 94; // under the title, the labels and the row of Save and Print

// An autosized linear axis over values that are all at least 0: the limits
// the control would choose, with the lower one moved to 0.
template <class Value>
void StartAtZero(tarvik::plot::TdiDoriv& g, tarvik::plot::TAxis& axis, const GraphPoints& points,
                 Value value) {
    if (points.empty() || axis.LogScale) return;
    double lo = value(points.front()), hi = lo;
    for (const auto& p : points) {
        lo = std::min(lo, value(p));
        hi = std::max(hi, value(p));
    }
    if (!(lo >= 0) || !std::isfinite(hi)) return;
    tarvik::plot::TAxis sized = axis;
    try {
        tarvik::plot::SetMinMax(sized, lo, hi, g.Appearance.MinSteps, g.Appearance.MaxSteps);
    } catch (const tarvik::plot::PlotError&) {
        return; // the control reports it when it paints
    }
    g.SetLimits(axis, 0, sized.Max);
    axis.StepSize = sized.StepSize;
    axis.AutoStepping = false;
}

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
    // Times, states and probabilities are never negative: such an axis starts
    // at 0 rather than a step below it, as the control's own sizing would.
    if (data.fixedX && data.xMax > data.xMin) {
        g.SetLimits(g.XAxis, data.xMin, data.xMax);
        g.XAxis.StepSize = tarvik::plot::GetStep(data.xMax - data.xMin, g.Appearance.MinSteps);
        g.XAxis.AutoStepping = false;
    } else {
        g.XAxis.AutoSizing = true;
        StartAtZero(g, g.XAxis, data.points, [](const auto& p) { return p.first; });
    }
    if (data.autoY && !data.logY)
        StartAtZero(g, g.YAxis, data.points, [](const auto& p) { return p.second; });
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
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    save_->setObjectName(QStringLiteral("SaveButton"));
    save_->setToolTip(QStringLiteral("Save graph to file"));
    save_->setGeometry(width - 180, 62, 80, 26);
    connect(save_, &QPushButton::clicked, this, [this] {
        tarvik::ui::SaveGraphPicture(Picture(), QStringLiteral("Queue.bmp"),
                                     [this](QPainter& p) { DrawPicture(p); });
    });
    print_ = new QPushButton(QStringLiteral("&Print"), this);
    print_->setObjectName(QStringLiteral("PrintButton"));
    print_->setToolTip(QStringLiteral("Print the graphs"));
    print_->setGeometry(width - 90, 62, 80, 26);
    connect(print_, &QPushButton::clicked, this, [this] {
        tarvik::ui::PrintPicture([this](QPainter& p) { DrawPicture(p); }, size(), titleLabel()->text(), this);
    });
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

void TQueueGraphForm::DrawPicture(QPainter& p) {
    p.fillRect(rect(), palette().window());
    QRegion shown(rect());
    for (QPushButton* b : {save_, print_, close_, help_}) shown -= b->geometry();
    render(&p, QPoint(), shown, QWidget::DrawChildren);
}

QImage TQueueGraphForm::Picture() {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    DrawPicture(p);
    return image;
}

void TQueueGraphForm::Place(int k, QSize screen) {
    const auto [left, top] =
        CascadePosition(k, design_.x(), design_.y(), screen.width(), screen.height(), width(), height());
    move(left, top);
}

} // namespace tarvik::queue::ui
