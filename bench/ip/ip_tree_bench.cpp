// What the node log and the live search tree cost. Two models of about
// 10,000 nodes (tests/data/ip): a multidimensional knapsack (mkp15x35.tip,
// 11,790 nodes) and a one-row knapsack whose relaxations take a pivot or two
// (knapsack22.tip, 11,750 nodes; the log's worst case). Each is solved five
// ways: bare; with the node log, in fresh memory and in the memory of the log
// of the run before (as the IP window records its runs); with the event loop
// visited every 10 ms as the IP window's run does; and the same with the node
// log and the search tree window open and live. Then a tree of 5,636 nodes (knapsack24.tip) is laid out and
// painted as the window paints a frame, at full size and zoomed out. Times are the process's CPU time (on a
// shared machine the wall time also holds what other programs ran), medians of the runs; the wall-time
// medians follow in brackets. Offscreen, or on the X server QT_QPA_PLATFORM names.
#include "common/ui/appsetup.h"
#include "modules/ip/miprun.h"
#include "modules/ip/ui/searchtree.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace ip = tarvik::ip;

std::string Model(const char* file) {
    std::ifstream in(std::string(TARVIK_TEST_DATA) + "/ip/" + file, std::ios::binary);
    std::string text, line;
    while (std::getline(in, line)) text += line + "\r\n";
    return text;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// CPU and wall time of one call.
struct Timing {
    std::vector<double> cpu, wall;
    template <class F> void operator()(F&& f) {
        const double c = CpuMs();
        const auto t = Clock::now();
        f();
        wall.push_back(Ms(Clock::now() - t));
        cpu.push_back(CpuMs() - c);
    }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Visits the event loop about every 10 ms, as the window's run does, and
// hands the tree its live update first.
class LoopProgress : public ip::MIPProgress {
public:
    explicit LoopProgress(tarvik::ui::TSearchTreeWindow* tree) : tree_(tree) {}
    void yield() override {
        const auto now = Clock::now();
        if (now - last_ < std::chrono::milliseconds(10)) return;
        last_ = now;
        const auto t0 = Clock::now();
        if (tree_) tree_->liveUpdate();
        const auto t1 = Clock::now();
        QCoreApplication::processEvents();
        updates += t1 - t0;
        events += Clock::now() - t1;
        ++visits;
    }
    Clock::duration updates{}, events{};
    int visits = 0;

private:
    tarvik::ui::TSearchTreeWindow* tree_;
    Clock::time_point last_ = Clock::now();
};

// The four runs of one model, and what they print.
void Measure(const char* file, int runs, tarvik::ui::TSearchTreeWindow& tree) {
    const std::string big = Model(file);

    // The window records every run in the log of the run before (its memory
    // is already there); the first run of a program fills fresh memory.
    Timing bare, cold, logged, loop, live, final;
    long nodes = 0;
    long long paints = 0;
    auto reused = std::make_shared<ip::NodeLog>();
    for (int r = 0; r < runs; ++r) {
        ip::MIPProgress quiet;
        bare([&] { nodes = ip::RunMIP(big, quiet).solve.lpSolves; });
        ip::NodeLog fresh;
        cold([&] { ip::RunMIP(big, quiet, {.log = &fresh}); });
        logged([&] { ip::RunMIP(big, quiet, {.log = reused.get()}); });
        LoopProgress visits(nullptr);
        loop([&] { ip::RunMIP(big, visits); });

        reused->clear();
        tree.setLog(reused, true);
        QCoreApplication::processEvents();
        LoopProgress livePaint(&tree);
        const long long before = tree.view()->paints();
        live([&] { ip::RunMIP(big, livePaint, {.log = reused.get()}); });
        // Then the whole tree, laid out and painted, with the list of every node.
        final([&] {
            tree.runFinished();
            QCoreApplication::processEvents();
        });
        paints = tree.view()->paints() - before;
        tree.setLog(nullptr, false);
    }
    // Differences are medians of the runs' own ratios: each run of a variant is
    // set beside the run of its baseline made just before it.
    auto line = [&](const char* what, const Timing& t, const Timing* base, const char* against) {
        std::printf("  %-42s %8.1f ms  (wall %6.1f ms)", what, Median(t.cpu), Median(t.wall));
        if (base) {
            std::vector<double> ratio;
            for (std::size_t r = 0; r < t.cpu.size(); ++r) ratio.push_back(t.cpu[r] / base->cpu[r]);
            std::printf("  %+6.1f %% over %s", 100 * (Median(ratio) - 1), against);
        }
        std::printf("\n");
    };
    std::printf("Solve of %s, %ld nodes (CPU time, median of %d runs)\n", file, nodes, runs);
    line("bare", bare, nullptr, "");
    line("node log in fresh memory", cold, &bare, "bare");
    line("node log used again (as the window does)", logged, &bare, "bare");
    line("event loop every 10 ms (the window's run)", loop, &bare, "bare");
    line("the same, node log and live tree window", live, &loop, "the same without them");
    line("then the finished tree and its list shown", final, nullptr, "");
    std::printf("  (%lld paints of the tree in the last live run)\n", paints);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    tarvik::ui::TSearchTreeWindow tree;
    tree.resize(1040, 720);
    tree.show();
    QCoreApplication::processEvents();
    for (const char* model : {"mkp15x35.tip", "knapsack22.tip"}) Measure(model, runs, tree);

    // Frames of a 5,636-node tree.
    auto log = std::make_shared<ip::NodeLog>();
    {
        ip::MIPProgress quiet;
        ip::RunMIP(Model("knapsack24.tip"), quiet, {.log = log.get()});
    }
    tree.setLog(log, false);
    QCoreApplication::processEvents();
    const QSize size = tree.view()->viewport()->size();
    auto frame = [&](QWidget* w) {
        std::vector<double> ms;
        for (int r = 0; r < 20; ++r) {
            const auto t = Clock::now();
            w->repaint();
            ms.push_back(Ms(Clock::now() - t));
        }
        return Median(ms);
    };
    std::vector<double> relayouts;
    for (int r = 0; r < 20; ++r) {
        const auto t = Clock::now();
        tree.view()->relayout();
        relayouts.push_back(Ms(Clock::now() - t));
    }
    const double full = frame(tree.view()->viewport());
    tree.view()->zoomBy(0.4);
    const double part = frame(tree.view()->viewport());
    tree.view()->fitToWindow();
    const double fit = frame(tree.view()->viewport());
    const double window = frame(&tree);
    std::printf("Frames of knapsack24.tip, %ld nodes, %ld drawn, picture %dx%d (wall time, median of 20)\n",
                static_cast<long>(log->nodes().size()), tree.view()->layout().drawnNodes, size.width(),
                size.height());
    std::printf("  layout of the tree                     %8.2f ms\n", Median(relayouts));
    std::printf("  picture at full size                   %8.2f ms\n", full);
    std::printf("  picture at 40 %%                        %8.2f ms\n", part);
    std::printf("  picture zoomed to fit (whole tree)     %8.2f ms\n", fit);
    std::printf("  the whole window, zoomed to fit        %8.2f ms\n", window);
    return 0;
}
