#include "modules/markov/markovfile.h"

#include "common/numformat.h"
#include "common/numparse.h"
#include "common/safefile.h"

#include <optional>

namespace tarvik::markov {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Reads the file the way the program has always read it: numbers separated
// by white space, where a "skip" drops the rest of the current line.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::optional<std::string_view> token() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
        if (pos_ >= text_.size()) return std::nullopt;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    std::optional<double> real() {
        auto t = token();
        if (!t) return std::nullopt;
        return TryStrToReal(*t);
    }

    std::optional<long long> integer() {
        auto t = token();
        if (!t) return std::nullopt;
        return TryStrToInt(*t);
    }

    // The rest of the line, its line end included (CR LF, LF or CR).
    void skipLine() {
        while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string CellText(double v) {
    return FormatGeneral(v, 15);
}

bool ReadCells(Scanner& in, int n, std::vector<std::string>& cells) {
    cells.resize(static_cast<std::size_t>(n));
    for (auto& c : cells) {
        auto v = in.real();
        if (!v) return false;
        c = CellText(*v);
    }
    return true;
}

InputProblem FileProblem(std::string message) {
    InputProblem p;
    p.message = std::move(message);
    p.dialog = Dialog::MsgDlgError;
    p.toInputPage = false;
    return p;
}

ReadResult CannotRead(const std::string& fileName) {
    ReadResult r;
    r.problem = FileProblem("Cannot read file " + fileName);
    return r;
}

// A cell as written: its blanks removed so that it stays one field of its
// line, and an empty cell written as "0", as the grids fill empty cells.
std::string FileCell(const std::string& text) {
    std::string out;
    for (char c : text)
        if (!IsSpace(c)) out.push_back(c);
    if (out.empty()) out.push_back('0');
    return out;
}

void AppendLine(std::string& out, const std::vector<std::string>& cells, int n) {
    for (int j = 0; j < n; ++j) {
        if (j > 0) out += ' ';
        out += FileCell(static_cast<std::size_t>(j) < cells.size() ? cells[static_cast<std::size_t>(j)]
                                                                   : std::string());
    }
    out += "\r\n";
}

} // namespace

ReadResult ParseChainText(std::string_view text, const std::string& fileName) {
    // A byte-order mark that an editor put in front is no part of the numbers.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Scanner in(text);
    ReadResult r;
    auto code = in.integer();
    if (!code) return CannotRead(fileName);
    in.skipLine();
    auto n = in.integer();
    if (!n || *n < 1 || *n > kMaxStates) return CannotRead(fileName);
    in.skipLine();
    ChainData& chain = r.chain;
    // Every code other than the discrete one stands for continuous time.
    chain.type = *code == kDiscreteCode ? ChainType::Discrete : ChainType::Continuous;
    chain.n = static_cast<int>(*n);
    chain.matrix.resize(static_cast<std::size_t>(chain.n));
    for (auto& row : chain.matrix) {
        if (!ReadCells(in, chain.n, row)) return CannotRead(fileName);
        in.skipLine();
    }
    if (!ReadCells(in, chain.n, chain.cost)) return CannotRead(fileName);
    if (chain.type == ChainType::Continuous) {
        in.skipLine();
        if (!ReadCells(in, chain.n, chain.transitionCost)) return CannotRead(fileName);
    }
    r.ok = true;
    return r;
}

ReadResult ReadChainFile(const std::string& fileName) {
    std::string text;
    if (ReadSmallFile(fileName, kMaxChainFileSize, text) != ReadStatus::Ok) return CannotRead(fileName);
    return ParseChainText(text, fileName);
}

std::string ChainFileText(const ChainData& chain) {
    const int n = chain.n;
    std::string out =
        std::to_string(chain.type == ChainType::Discrete ? kDiscreteCode : kContinuousCode) + "\r\n";
    out += std::to_string(n) + "\r\n";
    for (int i = 0; i < n; ++i)
        AppendLine(out,
                   static_cast<std::size_t>(i) < chain.matrix.size()
                       ? chain.matrix[static_cast<std::size_t>(i)]
                       : std::vector<std::string>(),
                   n);
    AppendLine(out, chain.cost, n);
    if (chain.type == ChainType::Continuous) AppendLine(out, chain.transitionCost, n);
    return out;
}

WriteResult WriteChainFile(const std::string& fileName, const ChainData& chain) {
    WriteResult result;
    if (!WriteFileSafely(fileName, ChainFileText(chain))) {
        result.problem = FileProblem("Cannot write file " + fileName);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace tarvik::markov
