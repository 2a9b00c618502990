#include "modules/tables/ui/parawindows.h"

#include "common/ui/help.h"

#include "common/ui/modulewindow.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace tarvik::tables {
namespace {

std::vector<QPointer<TParaWindow>>& Windows() {
    static std::vector<QPointer<TParaWindow>> windows;
    return windows;
}

struct ParaSpec {
    const char* name;
    const char* caption;
    const char* text;
};

const ParaSpec kSpecs[] = {
    {"TParaBin", "Binominal distribution B(n,p)",
     "n: number of trials, 1 <= n <= 1000000 (graph: 2 <= n <= 100)\n"
     "p: success probability, 0 <= p <= 1 (graph: 0.01 <= p <= 0.99)"},
    {"TParaChi2", "Chi-square distribution",
     "v: degrees of freedom, 1 <= v <= 1000000 (graph: 1 <= v <= 100)"},
    {"TParaF", "Fisher F distribution",
     "v: degrees of freedom of the numerator, 1 <= v <= 1000000 (graph: 1 <= v <= 100)\n"
     "w: degrees of freedom of the denominator, 5 <= w <= 1000000 (graph: 5 <= w <= 100)"},
    {"TParaGamma", "Gamma distribution (Expectation =1)",
     "\u03c3: standard deviation, 0.01 <= \u03c3 <= 10 (graph: 0.1 <= \u03c3 <= 1)"},
    {"TParaHypergeo", "Hypergeometric distribution",
     "R: red balls, W: white balls, 1 <= R+W <= 1000000 (graph: 3 <= R, W and R+W <= 100)\n"
     "n: draws, 1 <= n <= R+W (graph: n < R+W)"},
    {"TParaNormal", "Standard normal distribution",
     "No parameters: expectation 0, standard deviation 1.\n"
     "Percentiles for 1E-8 <= p <= 1-1E-8."},
};

} // namespace

TParaWindow::TParaWindow(const QString& name, const QString& caption, const QString& text, QWidget* owner)
    : QWidget(owner), text_(text) {
    tarvik::ui::SetHelpContext(this, 4);
    setObjectName(name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("ParaText"));
    layout->addWidget(label);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    hide();
}

void CreateParameterWindows(QWidget* mainWindow) {
    auto& windows = Windows();
    bool alive = !windows.empty();
    for (const auto& w : windows) alive = alive && !w.isNull();
    if (alive) return;
    windows.clear();
    for (const ParaSpec& s : kSpecs)
        windows.emplace_back(new TParaWindow(QString::fromLatin1(s.name), QString::fromUtf8(s.caption),
                                             QString::fromUtf8(s.text), mainWindow));
}

TParaWindow* ParameterWindow(const QString& name) {
    for (const auto& w : Windows())
        if (w && w->objectName() == name) return w;
    return nullptr;
}

} // namespace tarvik::tables
