#pragma once
// The cities of the travelling-salesman map: their positions, the distance
// table, the random placement on the map picture and the city-file reader.
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::tsp {

inline constexpr int kMinCities = 2;
inline constexpr int kMaxCities = 50;
// The map picture the cities stand on.
inline constexpr int kMapWidth = 318;
inline constexpr int kMapHeight = 377;

struct City {
    int x = 0;
    int y = 0;
    bool operator==(const City&) const = default;
};

// City k (1-based) stands at cities[k - 1].
using Cities = std::vector<City>;

// D(i, j) for cities numbered 1 .. n; the search of the exact method works on
// it in place.
class DistanceTable {
public:
    DistanceTable() = default;
    explicit DistanceTable(const Cities& cities) { Fill(cities); }

    // D(i, j) = the straight-line distance, D(i, i) = 0.
    void Fill(const Cities& cities);
    int size() const { return n_; }
    double operator()(int i, int j) const { return d_[static_cast<std::size_t>(i * stride_ + j)]; }
    double& at(int i, int j) { return d_[static_cast<std::size_t>(i * stride_ + j)]; }
    int stride() const { return stride_; }
    double* data() { return d_.data(); }

private:
    int n_ = 0;
    int stride_ = 1;
    std::vector<double> d_;
};

// One random position on a W x H picture for city number `k` (1-based) given
// the cities 1 .. k - 1 already placed: 11 <= x <= W - 10, 21 <= y <= H - 20,
// drawn again while an earlier city lies closer than 15 across and 25 down.
City RandomPosition(const Cities& earlier, int width = kMapWidth, int height = kMapHeight);
// n cities placed one after the other by RandomPosition.
Cities PlaceRandomCities(int n, int width = kMapWidth, int height = kMapHeight);

// The number (1-based) of a city standing exactly at (x, y), or 0.
int CityAt(const Cities& cities, int x, int y);

// City files: one city per line, "x y" as whole numbers of absolute value at
// most 100000; "#" starts a comment; blank lines are skipped; 2 to 50 cities,
// no two at one point.
inline constexpr int kMaxCoordinate = 100000;
inline constexpr std::size_t kMaxCityFileSize = 1 << 20;

struct CityFileResult {
    bool ok = false;
    bool unreadable = false; // the file could not be opened or read at all
    Cities cities;
    std::string message; // "NAME:LINE: what is wrong" or "Cannot read file NAME"
};

CityFileResult ParseCityText(std::string_view text, const std::string& name);
CityFileResult ReadCityFile(const std::string& path);

} // namespace tarvik::tsp
