#pragma once
// A test of one module's tarvik-solve entry that reads files: a temporary
// folder for them (its own per process, gone after each test) and runs of
// the entry with what it wrote kept in out_ and err_.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace tarvik::test {

class CliFileTest : public ::testing::Test {
protected:
    using Entry = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
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
