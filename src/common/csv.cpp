#include "common/csv.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

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

// A word of a line and the character columns it covers.
struct Word {
    std::size_t begin = 0, end = 0;
    std::string text;
};

std::vector<Word> Words(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back({start, i, std::string(line.substr(start, i - start))});
    }
    return words;
}

using Span = std::pair<std::size_t, std::size_t>; // character columns [first, second)

// The dash runs of a rule: one for every column it sets off.
std::vector<Span> DashRuns(std::string_view rule) {
    std::vector<Span> runs;
    for (const Word& w : Words(rule)) runs.push_back({w.begin, w.end});
    return runs;
}

// The span a word belongs to: the one it overlaps most, else the nearest.
std::size_t SpanOf(const Word& w, const std::vector<Span>& spans) {
    std::size_t best = 0;
    long bestScore = 0;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const long lo = static_cast<long>(std::max(w.begin, spans[k].first));
        const long hi = static_cast<long>(std::min(w.end, spans[k].second));
        // Overlap counts positive; a gap counts as its negative width.
        const long score = hi - lo;
        if (k == 0 || score > bestScore) {
            best = k;
            bestScore = score;
        }
    }
    return best;
}

// The words of a line gathered under the spans ("" where none stands); a lone
// ":" between a name and its value is punctuation, no cell text.
std::vector<std::string> CellsUnder(std::string_view line, const std::vector<Span>& spans) {
    std::vector<std::string> cells(spans.size());
    for (const Word& w : Words(line)) {
        if (w.text == ":") continue;
        std::string& cell = cells[SpanOf(w, spans)];
        if (!cell.empty()) cell += ' ';
        cell += w.text;
    }
    return cells;
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// A rule of several dash runs, one under each column title.
bool IsColumnRule(std::string_view line) {
    if (line.find_first_not_of("- \t") != std::string_view::npos) return false;
    const std::vector<Span> runs = DashRuns(line);
    if (runs.size() < 2) return false;
    for (const Span& run : runs)
        if (run.second - run.first < 3) return false;
    return true;
}

// A table whose rule has a dash run for each column: cells are read by where
// they stand, so titles and cells of several words (and a leading column that
// has no title, such as "Constraint 1") stay whole. A line of titles above
// the titles ("Current" over "Coefficient") joins them.
TextTable ReadRuledTable(const std::vector<std::string_view>& lines, std::size_t rule, std::size_t& end) {
    std::vector<Span> spans = DashRuns(lines[rule]);
    std::size_t last = rule + 1;
    while (last < lines.size() && !IsBlank(lines[last])) ++last;
    end = last;
    // Rows that begin left of every title have a column of their own.
    Span leading{spans.front().first, 0};
    for (std::size_t j = rule + 1; j < last; ++j)
        for (const Word& w : Words(lines[j]))
            if (w.end <= spans.front().first && w.text != ":") {
                leading.first = std::min(leading.first, w.begin);
                leading.second = std::max(leading.second, w.end);
            }
    if (leading.second > 0) spans.insert(spans.begin(), leading);
    TextTable table;
    table.columns = CellsUnder(lines[rule - 1], spans);
    if (rule >= 2 && !IsBlank(lines[rule - 2]) && !IsRule(lines[rule - 2])) {
        const std::vector<std::string> over = CellsUnder(lines[rule - 2], spans);
        bool fits = true;
        for (const Word& w : Words(lines[rule - 2])) {
            const Span& s = spans[SpanOf(w, spans)];
            fits = fits && w.begin < s.second && s.first < w.end;
        }
        if (fits)
            for (std::size_t k = 0; k < spans.size(); ++k)
                if (!over[k].empty())
                    table.columns[k] = table.columns[k].empty() ? over[k] : over[k] + ' ' + table.columns[k];
    }
    for (std::size_t j = rule + 1; j < last; ++j) table.rows.push_back(CellsUnder(lines[j], spans));
    return table;
}

bool IsDataLine(std::string_view line) {
    const std::vector<std::string> cells = Cells(line);
    std::size_t numbers = 0;
    for (const std::string& c : cells) numbers += IsNumber(c) ? 1 : 0;
    return cells.size() >= 2 && 2 * numbers > cells.size();
}

// Titles of words only over (after at most one blank line) lines that are
// mostly numbers, set out in columns: the columns are where the rows' cells
// stand (two blanks or more apart), a cell without a title of its own belongs
// to the one on its left ("Horse 1"), and a short last row leaves its last
// cells empty. Returns a table without rows when the lines are no such table.
TextTable ReadAlignedTable(const std::vector<std::string_view>& lines, std::size_t titles, std::size_t& end) {
    TextTable table;
    const std::vector<Word> heads = Words(lines[titles]);
    if (heads.size() < 2) return table;
    for (const Word& w : heads)
        if (IsNumber(w.text)) return table;
    std::size_t first = titles + 1;
    if (first < lines.size() && IsBlank(lines[first])) ++first;
    std::size_t last = first;
    while (last < lines.size() && IsDataLine(lines[last])) ++last;
    if (last - first < 2) return table;
    std::vector<bool> used;
    for (std::size_t j = first; j < last; ++j)
        for (const Word& w : Words(lines[j])) {
            if (used.size() < w.end) used.resize(w.end, false);
            for (std::size_t c = w.begin; c < w.end; ++c) used[c] = true;
        }
    std::vector<Span> spans;
    for (std::size_t c = 0; c < used.size(); ++c) {
        if (!used[c]) continue;
        if (!spans.empty() && c - spans.back().second < 2)
            spans.back().second = c + 1; // one blank stays inside a cell
        else
            spans.push_back({c, c + 1});
    }
    std::vector<std::string> names = CellsUnder(lines[titles], spans);
    // Most columns have a title of their own; a heading over lines of a
    // formula ("Subject to :") is no table.
    const auto titled = std::count_if(names.begin(), names.end(), [](const auto& n) { return !n.empty(); });
    if (titled < 2 || 2 * static_cast<std::size_t>(titled) < spans.size() || heads.back().text.back() == ':')
        return table;
    // Columns without a title join the titled column on their left.
    std::vector<std::size_t> owner(spans.size());
    for (std::size_t k = 0; k < spans.size(); ++k) {
        if (!names[k].empty() || k == 0) table.columns.push_back(names[k]);
        owner[k] = table.columns.size() - 1;
    }
    for (std::size_t j = first; j < last; ++j) {
        const std::vector<std::string> cells = CellsUnder(lines[j], spans);
        std::vector<std::string> row(table.columns.size());
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (cells[k].empty()) continue;
            std::string& cell = row[owner[k]];
            if (!cell.empty()) cell += ' ';
            cell += cells[k];
        }
        table.rows.push_back(std::move(row));
    }
    end = last;
    return table;
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
        if (IsColumnRule(lines[i]) && !IsBlank(lines[titles])) {
            std::size_t end = i + 1;
            TextTable table = ReadRuledTable(lines, i, end);
            if (!table.rows.empty()) {
                tables.push_back(std::move(table));
                i = end;
            }
            continue;
        }
        const std::size_t first = ruled ? i + 1 : i;
        TextTable table;
        table.columns = Cells(lines[titles]);
        if (table.columns.size() < 2) continue;
        if (!ruled &&
            (IsNumber(table.columns.front()) || !StartsWithNumber(lines[i], table.columns.size()))) {
            std::size_t end = i;
            TextTable aligned = ReadAlignedTable(lines, titles, end);
            if (!aligned.rows.empty()) {
                tables.push_back(std::move(aligned));
                i = end;
            }
            continue;
        }
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
