#include "modules/markov/markovfile.h"

#include "common/numformat.h"
#include "common/numparse.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (out.empty()) out = "0";
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

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t w = ::write(fd, text.data() + done, text.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

} // namespace

ReadResult ParseChainText(std::string_view text, const std::string& fileName) {
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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return CannotRead(fileName);
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return CannotRead(fileName);
    std::string text(kMaxChainFileSize + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) return CannotRead(fileName);
    const auto got = static_cast<std::size_t>(file.gcount());
    if (got > kMaxChainFileSize) return CannotRead(fileName);
    text.resize(got);
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
    namespace fs = std::filesystem;
    WriteResult result;
    result.problem = FileProblem("Cannot write file " + fileName);
    std::error_code ec;
    fs::path target(fileName);
    // Writing through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec) return result;
        target = resolved;
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return result;
    // The new file gets the permissions of the one it replaces, or the usual ones.
    struct stat st {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && WriteAll(fd, ChainFileText(chain));
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = std::rename(pattern.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(pattern.c_str());
        return result;
    }
    result.ok = true;
    result.problem = InputProblem();
    return result;
}

} // namespace tarvik::markov
