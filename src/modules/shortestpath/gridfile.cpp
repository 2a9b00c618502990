#include "modules/shortestpath/gridfile.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace tarvik::shortestpath {
namespace {

struct TextLine {
    int number = 0;
    std::vector<std::string_view> words;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The lines that hold something, split into words, comments removed. CR LF,
// LF and CR all end a line; `count` gets the number of lines.
std::vector<TextLine> Lines(std::string_view text, int& count) {
    std::vector<TextLine> lines;
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;
        ++number;
        if (auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        TextLine parsed{number, {}};
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsBlank(line[i])) ++i;
            std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i])) ++i;
            if (i > start) parsed.words.push_back(line.substr(start, i - start));
        }
        if (!parsed.words.empty()) lines.push_back(std::move(parsed));
    }
    count = number;
    return lines;
}

std::string Quoted(std::string_view word) {
    std::string shown(word.substr(0, 20));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
    return "\"" + shown + (word.size() > 20 ? "...\"" : "\"");
}

std::optional<int> WholeNumber(std::string_view word) {
    int value = 0;
    if (word.empty() || word.size() > 6) return std::nullopt;
    for (char c : word)
        if (c < '0' || c > '9') return std::nullopt;
    std::from_chars(word.data(), word.data() + word.size(), value);
    return value;
}

class Reader {
public:
    Reader(std::string_view text, const std::string& name) : name_(name) { lines_ = Lines(text, lastLine_); }

    NetworkRead read() {
        NetworkRead result;
        Network& n = result.network;
        n.up = {};
        n.right = {};
        auto rows = size("rows", "number of rows", kMaxRows);
        if (!rows) return fail();
        auto columns = size("columns", "number of columns", kMaxColumns);
        if (!columns) return fail();
        n.rows = *rows;
        n.columns = *columns;
        if (!keyword("up")) return fail();
        for (int y = n.rows - 1; y >= 0; --y) {
            std::vector<int> values;
            if (!lengths(n.columns + 1,
                         "up lengths U(0, " + std::to_string(y) + ") .. U(" + std::to_string(n.columns) +
                             ", " + std::to_string(y) + ")",
                         values))
                return fail();
            for (int x = 0; x <= n.columns; ++x) n.up[x][y] = values[x];
        }
        if (!keyword("right")) return fail();
        for (int y = n.rows; y >= 0; --y) {
            std::vector<int> values;
            if (!lengths(n.columns,
                         "right lengths Rt(0, " + std::to_string(y) + ") .. Rt(" +
                             std::to_string(n.columns - 1) + ", " + std::to_string(y) + ")",
                         values))
                return fail();
            for (int x = 0; x < n.columns; ++x) n.right[x][y] = values[x];
        }
        if (next_ < lines_.size()) {
            problem_ = at(lines_[next_].number) + "text after the last line of right lengths";
            return fail();
        }
        return result;
    }

private:
    std::string at(int line) const { return name_ + ":" + std::to_string(line) + ": "; }

    NetworkRead fail() const {
        NetworkRead r;
        r.status = NetworkRead::Status::Invalid;
        r.message = problem_;
        return r;
    }

    const TextLine* take(const std::string& expected) {
        if (next_ >= lines_.size()) {
            problem_ = at(lastLine_ + 1) + "the file ends where " + expected + " should follow";
            return nullptr;
        }
        return &lines_[next_++];
    }

    std::optional<int> size(const char* word, const char* what, int max) {
        const TextLine* line = take(std::string("\"") + word + " N\"");
        if (!line) return std::nullopt;
        if (line->words[0] != word) {
            problem_ = at(line->number) + "expected \"" + word + " N\", found " + Quoted(line->words[0]);
            return std::nullopt;
        }
        if (line->words.size() != 2) {
            problem_ = at(line->number) + "expected \"" + word + " N\" with one number";
            return std::nullopt;
        }
        auto v = WholeNumber(line->words[1]);
        if (!v || *v < 1 || *v > max) {
            problem_ = at(line->number) + "the " + what + " must be a whole number from 1 to " +
                       std::to_string(max) + ", not " + Quoted(line->words[1]);
            return std::nullopt;
        }
        return v;
    }

    bool keyword(const char* word) {
        const TextLine* line = take(std::string("\"") + word + "\"");
        if (!line) return false;
        if (line->words.size() != 1 || line->words[0] != word) {
            problem_ =
                at(line->number) + "expected the line \"" + word + "\", found " + Quoted(line->words[0]);
            return false;
        }
        return true;
    }

    bool lengths(int count, const std::string& what, std::vector<int>& values) {
        const TextLine* line = take("a line of " + what);
        if (!line) return false;
        if (static_cast<int>(line->words.size()) != count) {
            problem_ = at(line->number) + "expected " + std::to_string(count) + " " + what + ", found " +
                       std::to_string(line->words.size()) + " words";
            return false;
        }
        for (std::string_view w : line->words) {
            auto v = WholeNumber(w);
            if (!v || *v > kMaxDistance) {
                problem_ =
                    at(line->number) + "a length must be a whole number from 0 to 100, not " + Quoted(w);
                return false;
            }
            values.push_back(*v);
        }
        return true;
    }

    std::vector<TextLine> lines_;
    std::string name_;
    std::size_t next_ = 0;
    int lastLine_ = 0;
    std::string problem_;
};

} // namespace

NetworkRead ParseNetworkText(std::string_view text, const std::string& name) {
    if (text.size() > kMaxNetworkFileBytes) {
        NetworkRead r;
        r.status = NetworkRead::Status::Invalid;
        r.message = name + ": the file is larger than any network file (" +
                    std::to_string(kMaxNetworkFileBytes) + " bytes)";
        return r;
    }
    // A byte-order mark that an editor put in front is no part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return Reader(text, name).read();
}

NetworkRead ReadNetworkFile(const std::string& path) {
    NetworkRead unreadable;
    unreadable.status = NetworkRead::Status::Unreadable;
    unreadable.message = "Cannot read file " + path;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return unreadable;
    std::string text;
    // Read one byte beyond the limit, so that a file grown since stat is still refused.
    text.resize(kMaxNetworkFileBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) return unreadable;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseNetworkText(text, path);
}

std::string NetworkText(const Network& n) {
    std::string t = "rows " + std::to_string(n.rows) + "\ncolumns " + std::to_string(n.columns) + "\n";
    t += "up\n";
    for (int y = n.rows - 1; y >= 0; --y) {
        for (int x = 0; x <= n.columns; ++x) t += (x ? " " : "") + std::to_string(n.U(x, y));
        t += "\n";
    }
    t += "right\n";
    for (int y = n.rows; y >= 0; --y) {
        for (int x = 0; x < n.columns; ++x) t += (x ? " " : "") + std::to_string(n.Rt(x, y));
        t += "\n";
    }
    return t;
}

} // namespace tarvik::shortestpath
