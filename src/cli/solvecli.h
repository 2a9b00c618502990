#pragma once
// The command-line solver: reads LP and IP model files, solves them and prints
// the same text the LP or IP window's output page shows.
#include <cstddef>
#include <iosfwd>
#include <streambuf>
#include <string>
#include <vector>

namespace tarvik::cli {

// `args` are the command-line arguments without the program name. Returns the
// exit code: 0 solved (whatever the status), 1 unreadable file, bad usage or
// output that could not be written, 2 syntax error in a model or a file too
// large for one, 3 a run stopped at --time-limit.
int RunSolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// Standard output as tarvik-solve writes it: a buffer over a file descriptor
// whose every write is checked. After the first failure (kept with its
// reason) nothing more is written and the stream writing to it goes bad, so
// that a long run can stop.
class CheckedOutput : public std::streambuf {
public:
    explicit CheckedOutput(int fd);
    ~CheckedOutput() override;
    // Writes what is buffered and closes the descriptor; false when any write
    // or the close failed.
    bool close();
    int error() const { return error_; } // errno of the first failure, 0 when none

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool flushBuffer();
    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

// The end of the program, for every family of tarvik-solve: closes the
// output; when that fails, or a write to it failed before, says "Cannot write
// output: REASON" on `err` and gives 1, else `code`.
int FinishOutput(int code, CheckedOutput& out, std::ostream& err);

// --max-output: the megabytes of tableaus printed at most, by default and at most.
inline constexpr std::size_t kDefaultMaxOutputMB = 100;
inline constexpr long long kMaxOutputMB = 1000000;

// The editor's view of a file: every line, the last one too, ended by CR LF.
std::string EditorText(const std::string& fileBytes);

// Line and column (both from 1) of a 1-based offset into an editor text.
std::pair<long, long> LineColumn(const std::string& text, long offset);

} // namespace tarvik::cli
