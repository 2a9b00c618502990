#include "common/csv.h"

#include <cstdlib>

namespace tarvik {
namespace {

std::vector<std::string> Cells(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) cells.emplace_back(line.substr(start, i - start));
    }
    return cells;
}

bool IsRule(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);
    if (line.size() < 3) return false;
    return line.find_first_not_of('-') == std::string_view::npos;
}

bool IsNumber(const std::string& cell) {
    if (cell.empty()) return false;
    char* end = nullptr;
    std::strtod(cell.c_str(), &end);
    return end == cell.c_str() + cell.size();
}

bool StartsWithNumber(std::string_view line, std::size_t cellCount) {
    const std::vector<std::string> cells = Cells(line);
    return cells.size() == cellCount && IsNumber(cells.front());
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

} // namespace

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

std::vector<TextTable> FindTextTables(std::string_view report) {
    const std::vector<std::string_view> lines = Lines(report);
    std::vector<TextTable> tables;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // Titles over a rule, or (titles set off by their style) titles that
        // are no numbers straight over rows that start with one.
        const bool ruled = IsRule(lines[i]);
        const std::size_t titles = i - 1;
        const std::size_t first = ruled ? i + 1 : i;
        TextTable table;
        table.columns = Cells(lines[titles]);
        if (table.columns.size() < 2) continue;
        if (!ruled && (IsNumber(table.columns.front()) || !StartsWithNumber(lines[i], table.columns.size())))
            continue;
        std::size_t j = first;
        for (; j < lines.size(); ++j) {
            std::vector<std::string> cells = Cells(lines[j]);
            if (cells.size() != table.columns.size() || (!ruled && !IsNumber(cells.front()))) break;
            table.rows.push_back(std::move(cells));
        }
        if (table.rows.empty()) continue;
        tables.push_back(std::move(table));
        i = j - 1;
    }
    return tables;
}

std::string TextTableCsv(const TextTable& table) {
    std::string out = CsvRecord(table.columns);
    for (const auto& row : table.rows) out += CsvRecord(row);
    return out;
}

} // namespace tarvik
