// Feeds arbitrary bytes to the city-file reader; city sets that read are
// toured by every construction, improved by 2-OPT and, when small, solved
// exactly.
#include "modules/tsp/tspbb.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsptour.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik::tsp;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CityFileResult r = ParseCityText(text, "fuzz.txt");
    if (!r.ok) {
        if (r.message.rfind("fuzz.txt:", 0) != 0) std::abort();
        return 0;
    }
    const int n = static_cast<int>(r.cities.size());
    if (n < kMinCities || n > kMaxCities) std::abort();
    DistanceTable d(r.cities);
    Tour nearest = ClosestNeighbourTour(d, 1);
    Tour angle = GreatestAngleTour(r.cities, d);
    if (!IsPermutation(nearest, n) || !IsPermutation(angle, n)) std::abort();
    TwoOpt(angle, d);
    if (!IsPermutation(angle, n) || angle.front() != GreatestAngleTour(r.cities, d).front()) std::abort();
    if (n <= 9) {
        SearchProgress progress;
        const ExactResult exact = BranchAndBound(r.cities, d, kInf, progress);
        if (!exact.found || !IsPermutation(exact.tour, n) || exact.best > TourLength(angle, d) + 1e-6)
            std::abort();
    }
    return 0;
}
