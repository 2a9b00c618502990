#pragma once
// Tests of a module's tarvik-solve entry: one run with what it wrote, and a
// fixture for an entry that reads files: a temporary folder for them (its own
// per process, gone after each test) and runs of the entry with what it wrote
// kept in out_ and err_.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace tarvik::test {

using CliEntry = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

// What one run of a module's tarvik-solve entry wrote, and its exit code.
struct CliRun {
    int code = 0;
    std::string out, err;
};
inline CliRun RunEntry(CliEntry entry, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = entry(args, out, err);
    return {code, out.str(), err.str()};
}

class CliFileTest : public ::testing::Test {
protected:
    using Entry = CliEntry;
    CliFileTest(Entry entry, const std::string& folder) : entry_(entry), folder_(folder) {}

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / (folder_ + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    // Writes `text` to the file `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::string& text) {
        const std::string p = (dir_ / name).string();
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return entry_(args, out_, err_);
    }

    std::filesystem::path dir_;
    std::ostringstream out_, err_;

private:
    Entry entry_;
    std::string folder_;
};

} // namespace tarvik::test
