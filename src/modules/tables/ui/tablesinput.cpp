#include "modules/tables/ui/tablesinput.h"

#include "common/numformat.h"
#include "common/numparse.h"

#include <algorithm>
#include <cmath>

namespace tarvik::tables {

std::vector<long long> ReadIntegerInputs(const std::vector<std::string>& texts) {
    std::vector<long long> values;
    for (const std::string& text : texts) {
        long long v;
        if (text.size() > 8) {
            v = 100000000;
        } else if (auto read = TryStrToInt(text)) {
            v = *read;
        } else {
            continue;
        }
        values.push_back(std::min<long long>(v, 1000000));
    }
    std::sort(values.begin(), values.end());
    return values;
}

std::vector<double> ReadRealInputs(const std::vector<std::string>& texts, bool percentiles) {
    std::vector<double> values;
    for (const std::string& text : texts) {
        auto read = TryStrToReal(text);
        if (!read) continue;
        values.push_back(percentiles ? std::clamp(*read, 0.0, 1.0)
                                     : std::clamp(*read, -1000000.0, 1000000.0));
    }
    std::sort(values.begin(), values.end());
    return values;
}

std::string IntegerFieldText(long long value) {
    return std::to_string(value);
}

std::string RealFieldText(double value) {
    const double a = std::fabs(value);
    if (a >= 0.0001) return FormatGeneral(value, 10);
    if (a < 1e-10) return "0";
    return FormatFixed(value, 10);
}

} // namespace tarvik::tables
