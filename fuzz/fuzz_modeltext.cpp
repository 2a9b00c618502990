// Feeds arbitrary bytes to both model readers; small models that read are
// solved and reported too.
#include "modules/ip/mipmatgen.h"
#include "modules/ip/miprun.h"
#include "modules/lp/lprun.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tarvik::lp::LPProgress progress;
    tarvik::lp::LPSettings settings;
    settings.output = tarvik::lp::OutputMode::NoTableaus;
    if (size < 4096) {
        tarvik::lp::LPRunResult run = tarvik::lp::RunLP(text, settings, progress);
        if (!run.success && (run.errorPosition < 1 || run.errorPosition > static_cast<long>(size) + 1))
            std::abort();
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
        tarvik::ip::MIPRunResult run = tarvik::ip::RunMIP(text, budget);
        if (!run.success || run.output.find("nan") != std::string::npos ||
            run.output.find("inf") != std::string::npos)
            std::abort();
    }
    return 0;
}
