#pragma once
// Comma-separated values as spreadsheets read them (RFC 4180): fields
// separated by ",", records ended by CR LF, a field quoted when it holds a
// comma, a quote, a line end or leading or trailing blanks, with inner quotes
// doubled. Numbers are written as printed, with "." as the decimal mark.
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

std::string CsvField(std::string_view text);
// One record with its CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);

// A table as the text reports print it: a line of column titles, a rule of
// dashes under it, then lines of cells separated by blanks (one cell for
// every column title), up to the first line that is not such a line. Titles
// set off by their style alone (no rule) stand straight over their rows; the
// first title is then no number and every row starts with one.
struct TextTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};
// Every table of a report, in the order they stand.
std::vector<TextTable> FindTextTables(std::string_view report);
// The table as CSV: the column titles, then the rows.
std::string TextTableCsv(const TextTable& table);

} // namespace tarvik
