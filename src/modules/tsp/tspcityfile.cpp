#include "modules/tsp/tspcityfile.h"

namespace tarvik::tsp {

std::string CityFileText(const Cities& cities) {
    std::string text = "# " + std::to_string(cities.size()) + " cities of the travelling salesman: x y\n";
    for (const City& c : cities) text += std::to_string(c.x) + " " + std::to_string(c.y) + "\n";
    return text;
}

std::string OffMapMessage(const Cities& cities, const std::string& name) {
    for (std::size_t k = 0; k < cities.size(); ++k) {
        const City& c = cities[k];
        if (c.x >= kMapLeft && c.x <= kMapRight && c.y >= kMapTop && c.y <= kMapBottom) continue;
        return name + ": city " + std::to_string(k + 1) + " at (" + std::to_string(c.x) + ", " +
               std::to_string(c.y) + ") lies off the map (x from " + std::to_string(kMapLeft) + " to " +
               std::to_string(kMapRight) + ", y from " + std::to_string(kMapTop) + " to " +
               std::to_string(kMapBottom) + ")";
    }
    return {};
}

} // namespace tarvik::tsp
