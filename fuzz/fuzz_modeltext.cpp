// Feeds arbitrary bytes to both model readers; small models that read are
// solved and reported too, and a model with two variables is drawn by the
// graphical method.
#include "modules/ip/mipmatgen.h"
#include "modules/ip/miprun.h"
#include "modules/lp/graphicallayout.h"
#include "modules/lp/lprun.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Ends a branch-and-bound search after a fixed amount of work.
class Budget : public tarvik::ip::MIPProgress {
public:
    void yield() override { ++steps_; }
    bool stopRequested() const override { return steps_ > 20000; }

private:
    long steps_ = 0;
};

// The graphical method's lines and picture: no NAN or INF, every label on the canvas.
void CheckGraphical(const tarvik::lp::GraphicalSolution* s) {
    if (!s) return;
    const std::string text = tarvik::lp::GraphicalText(*s);
    if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) std::abort();
    const tarvik::lp::GraphicalLayout g =
        tarvik::lp::LayOutGraphical(*s, 800, 560, [](const std::string& t, bool) {
            return tarvik::lp::Px{7.0 * t.size(), 14};
        });
    for (const tarvik::lp::PxText& t : g.texts)
        if (!std::isfinite(t.box.left) || !std::isfinite(t.box.top) || !t.box.inside({0, 0, 800, 560}))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tarvik::lp::LPProgress progress;
    tarvik::lp::LPSettings settings;
    settings.output = tarvik::lp::OutputMode::NoTableaus;
    settings.graphical = true;
    if (size < 4096) {
        tarvik::lp::LPRunResult run = tarvik::lp::RunLP(text, settings, progress);
        if (!run.success && (run.errorPosition < 1 || run.errorPosition > static_cast<long>(size) + 1))
            std::abort();
        CheckGraphical(run.graphical.get());
    }
    if (size < 1024) {
        // The same text in exact fractions: the reader's kept numbers must
        // build a model whenever the decimal one was built.
        tarvik::lp::LPSettings exact = settings;
        exact.fractions = true;
        exact.output = tarvik::lp::OutputMode::FirstLast;
        tarvik::lp::LPRunResult run = tarvik::lp::RunLP(text, exact, progress);
        if (run.output.find("nan") != std::string::npos || run.output.find("inf") != std::string::npos)
            std::abort();
    }
    tarvik::lp::ReadSink sink;
    tarvik::ip::MIPReadResult ip = tarvik::ip::ReadMIPModel(text, sink);
    if (!ip.success && (ip.errorPosition < 1 || ip.errorPosition > static_cast<long>(size) + 1)) std::abort();
    if (ip.success && size < 4096) {
        Budget budget;
        tarvik::ip::MIPRunResult run = tarvik::ip::RunMIP(text, budget, {.graphical = true});
        if (!run.success || run.output.find("nan") != std::string::npos ||
            run.output.find("inf") != std::string::npos)
            std::abort();
        CheckGraphical(run.graphical.get());
    }
    return 0;
}
