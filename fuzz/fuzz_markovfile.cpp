// Feeds arbitrary bytes to the Markov chain file reader; chains that read and
// validate get their structure and steady state computed too.
#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovfile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const tarvik::markov::ReadResult read = tarvik::markov::ParseChainText(text, "fuzz.txt");
    if (!read.ok) return 0;
    auto validated = tarvik::markov::ValidateChain(read.chain);
    if (const auto* chain = std::get_if<tarvik::markov::Chain>(&validated)) {
        if (chain->n <= 12) {
            tarvik::markov::ChainStructure(*chain);
            tarvik::markov::SteadyState(*chain);
        }
    }
    return 0;
}
