#include "modules/tsp/tspcities.h"

#include "common/numparse.h"
#include "common/random.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace tarvik::tsp {

void DistanceTable::Fill(const Cities& cities) {
    n_ = static_cast<int>(cities.size());
    stride_ = n_ + 1;
    d_.assign(static_cast<std::size_t>(stride_ * stride_), 0.0);
    for (int i = 1; i <= n_; ++i)
        for (int j = 1; j <= n_; ++j) {
            const double dx = cities[i - 1].x - cities[j - 1].x;
            const double dy = cities[i - 1].y - cities[j - 1].y;
            at(i, j) = i == j ? 0.0 : std::sqrt(dx * dx + dy * dy);
        }
}

City RandomPosition(const Cities& earlier, int width, int height) {
    for (;;) {
        City c;
        c.x = 11 + RandomInt(width - 20);
        c.y = 21 + RandomInt(height - 40);
        bool tooClose = false;
        for (const City& e : earlier)
            if (std::abs(e.x - c.x) < 15 && std::abs(e.y - c.y) < 25) {
                tooClose = true;
                break;
            }
        if (!tooClose) return c;
    }
}

Cities PlaceRandomCities(int n, int width, int height) {
    Cities cities;
    cities.reserve(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) cities.push_back(RandomPosition(cities, width, height));
    return cities;
}

int CityAt(const Cities& cities, int x, int y) {
    for (std::size_t i = 0; i < cities.size(); ++i)
        if (cities[i].x == x && cities[i].y == y) return static_cast<int>(i) + 1;
    return 0;
}

namespace {

CityFileResult Refuse(const std::string& name, int line, const std::string& what) {
    CityFileResult r;
    r.message = name + ":" + std::to_string(line) + ": " + what;
    return r;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i >= s.size()) break;
        std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        words.push_back(s.substr(start, i - start));
    }
    return words;
}

} // namespace

CityFileResult ParseCityText(std::string_view text, const std::string& name) {
    // A byte-order mark that an editor put in front is no part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Cities cities;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        std::string_view line = text.substr(pos, end - pos);
        ++lineNo;
        // CR LF, LF and CR all end a line.
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        pos = end + 1;

        if (auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const auto words = Words(line);
        if (words.empty()) continue;
        if (words.size() != 2)
            return Refuse(name, lineNo,
                          "expected two whole numbers \"x y\", found " + std::to_string(words.size()) +
                              " items");
        int xy[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            const auto v = TryStrToInt(words[k]);
            if (!v) return Refuse(name, lineNo, "\"" + std::string(words[k]) + "\" is not a whole number");
            if (*v > kMaxCoordinate || *v < -kMaxCoordinate)
                return Refuse(name, lineNo,
                              "coordinate " + std::string(words[k]) + " is outside -100000 .. 100000");
            xy[k] = static_cast<int>(*v);
        }
        if (static_cast<int>(cities.size()) == kMaxCities) return Refuse(name, lineNo, "more than 50 cities");
        const City c{xy[0], xy[1]};
        if (int other = CityAt(cities, c.x, c.y))
            return Refuse(name, lineNo,
                          "city " + std::to_string(cities.size() + 1) + " stands on city " +
                              std::to_string(other) + " at (" + std::to_string(c.x) + ", " +
                              std::to_string(c.y) + ")");
        cities.push_back(c);
    }
    if (static_cast<int>(cities.size()) < kMinCities)
        return Refuse(name, lineNo, "fewer than 2 cities (found " + std::to_string(cities.size()) + ")");
    CityFileResult r;
    r.ok = true;
    r.cities = std::move(cities);
    return r;
}

CityFileResult ReadCityFile(const std::string& path) {
    CityFileResult unreadable;
    unreadable.unreadable = true;
    unreadable.message = "Cannot read file " + path;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) return unreadable;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return unreadable;
    if (size > kMaxCityFileSize) {
        CityFileResult r;
        r.message =
            path + ": the file is larger than a city file can be (" + std::to_string(size) + " bytes)";
        return r;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return unreadable;
    std::string text;
    text.reserve(static_cast<std::size_t>(size));
    char buf[4096];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        text.append(buf, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxCityFileSize) {
            CityFileResult r;
            r.message = path + ": the file is larger than a city file can be";
            return r;
        }
    }
    if (in.bad()) return unreadable;
    return ParseCityText(text, path);
}

} // namespace tarvik::tsp
