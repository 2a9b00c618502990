// Feeds arbitrary bytes to both model readers; small models that read are
// solved and reported too.
#include "modules/ip/mipmatgen.h"
#include "modules/lp/lprun.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

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
    tarvik::lp::ReadSink sink;
    tarvik::ip::MIPReadResult ip = tarvik::ip::ReadMIPModel(text, sink);
    if (!ip.success && (ip.errorPosition < 1 || ip.errorPosition > static_cast<long>(size) + 1)) std::abort();
    return 0;
}
