#pragma once
// City files as the travelling-salesman window writes them ("Save cities…"),
// and the part of the map on which the window can show a city of a file.
#include "modules/tsp/tspcities.h"

#include <string>

namespace tarvik::tsp {

// A comment line, then one city per line as "x y": ReadCityFile reads it back
// unchanged, and the same cities give the same bytes.
std::string CityFileText(const Cities& cities);

// Where a click may place a city on the map: 4 <= x <= 314 and 4 <= y <= 363.
inline constexpr int kMapLeft = 4;
inline constexpr int kMapRight = kMapWidth - 4;
inline constexpr int kMapTop = 4;
inline constexpr int kMapBottom = kMapHeight - 14;

// Empty when every city stands there; otherwise, for the first that does not,
// "NAME: city K at (x, y) lies off the map (x from 4 to 314, y from 4 to 363)".
std::string OffMapMessage(const Cities& cities, const std::string& name);

} // namespace tarvik::tsp
