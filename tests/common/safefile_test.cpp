// Saving never loses the old file or its backup, whichever system call fails;
// reading refuses what is not a small regular file.
#include "common/safefile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace tarvik {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class SafeFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tarvik-safefile-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        model_ = dir_ / "model.tlp";
        backup_ = dir_ / "model.BAK";
    }
    void TearDown() override {
        RestoreSystemCalls();
        fs::remove_all(dir_);
    }
    // Only the model and its backup are left: no temporary file behind.
    int FilesInFolder() const {
        int n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
        return n;
    }
    fs::path dir_, model_, backup_;
};

// Fails the n-th call (counting from 1) of one kind; the others go through.
int failAt = 0, calls = 0;
int FailingRename(const char* a, const char* b) {
    if (++calls == failAt) return errno = EIO, -1;
    return ::rename(a, b);
}
int FailingFsync(int fd) {
    if (++calls == failAt) return errno = EIO, -1;
    return ::fsync(fd);
}
ssize_t FailingWrite(int, const void*, std::size_t) {
    return errno = ENOSPC, -1;
}
int FailingLink(const char*, const char*) {
    return errno = EPERM, -1;
}

TEST_F(SafeFile, SavesAndRotatesTheBackup) {
    ASSERT_TRUE(WriteFileSafely(model_.string(), "first", backup_.string()));
    EXPECT_EQ(Slurp(model_), "first");
    EXPECT_FALSE(fs::exists(backup_));
    ASSERT_TRUE(WriteFileSafely(model_.string(), "second", backup_.string()));
    ASSERT_TRUE(WriteFileSafely(model_.string(), "third", backup_.string()));
    EXPECT_EQ(Slurp(model_), "third");
    EXPECT_EQ(Slurp(backup_), "second");
    EXPECT_EQ(FilesInFolder(), 2);
}

TEST_F(SafeFile, EveryFailingCallLeavesModelAndBackupAsTheyWere) {
    struct Case {
        const char* what;
        void (*arm)();
    };
    const Case cases[] = {
        {"write", [] { SystemCalls().write = FailingWrite; }},
        {"fsync of the new text", [] { failAt = 1, SystemCalls().fsync = FailingFsync; }},
        {"rename of the old file to the backup", [] { failAt = 1, SystemCalls().rename = FailingRename; }},
        {"rename of the new text", [] { failAt = 2, SystemCalls().rename = FailingRename; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RestoreSystemCalls();
        Put(model_, "old model");
        Put(backup_, "old backup");
        calls = 0;
        c.arm();
        EXPECT_FALSE(WriteFileSafely(model_.string(), "new model", backup_.string()));
        RestoreSystemCalls();
        EXPECT_EQ(Slurp(model_), "old model");
        EXPECT_EQ(Slurp(backup_), "old backup");
        EXPECT_EQ(FilesInFolder(), 2);
    }
}

TEST_F(SafeFile, WithoutHardLinksTheOldFileIsCopied) {
    Put(model_, "old model");
    Put(backup_, "old backup");
    SystemCalls().link = FailingLink;
    ASSERT_TRUE(WriteFileSafely(model_.string(), "new model", backup_.string()));
    EXPECT_EQ(Slurp(model_), "new model");
    EXPECT_EQ(Slurp(backup_), "old model");
    EXPECT_EQ(FilesInFolder(), 2);
}

TEST_F(SafeFile, AFileThatCannotBecomeTheBackupIsNotReplaced) {
    Put(model_, "old model");
    Put(backup_, "old backup");
    calls = 0;
    failAt = 1; // the first rename would make the old file the backup
    SystemCalls().rename = FailingRename;
    WriteFailure why;
    EXPECT_FALSE(WriteFileSafely(model_.string(), "new model", backup_.string(), &why));
    EXPECT_TRUE(why.backup);
    EXPECT_EQ(why.error, EIO);
    EXPECT_EQ(Slurp(model_), "old model");
    EXPECT_EQ(Slurp(backup_), "old backup");
    EXPECT_EQ(FilesInFolder(), 2);
    // A folder where the backup should go.
    RestoreSystemCalls();
    fs::remove(backup_);
    fs::create_directories(backup_ / "inside");
    EXPECT_FALSE(WriteFileSafely(model_.string(), "new model", backup_.string(), &why));
    EXPECT_TRUE(why.backup);
    EXPECT_EQ(Slurp(model_), "old model");
    EXPECT_TRUE(fs::is_directory(backup_ / "inside"));
    // A failure to write the new text is no backup failure.
    SystemCalls().write = FailingWrite;
    EXPECT_FALSE(WriteFileSafely(model_.string(), "new model", {}, &why));
    EXPECT_FALSE(why.backup);
    EXPECT_EQ(why.error, ENOSPC);
}

TEST_F(SafeFile, LinksReadOnlyFilesAndFoldersThatCannotBeWritten) {
    // Through a symbolic link the file it points to is replaced.
    fs::path real = dir_ / "real.tlp";
    Put(real, "old");
    fs::path link = dir_ / "link.tlp";
    fs::create_symlink(real, link);
    ASSERT_TRUE(WriteFileSafely(link.string(), "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Slurp(real), "new");
    // A read-only file keeps its permissions.
    ::chmod(real.c_str(), 0444);
    ASSERT_TRUE(WriteFileSafely(real.string(), "newer"));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0444));
    // A folder in the way, or a folder that does not exist.
    fs::create_directories(dir_ / "folder.tlp");
    EXPECT_FALSE(WriteFileSafely((dir_ / "folder.tlp").string(), "x"));
    // A pipe or a device is never replaced by a file.
    ASSERT_EQ(::mkfifo((dir_ / "pipe.png").c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileSafely((dir_ / "pipe.png").string(), "x"));
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe.png"));
    EXPECT_FALSE(WriteFileSafely("/dev/null", "x"));
    EXPECT_FALSE(WriteFileSafely((dir_ / "missing" / "m.tlp").string(), "x"));
}

TEST_F(SafeFile, ReadsOnlySmallRegularFiles) {
    std::string bytes = "untouched";
    EXPECT_EQ(ReadSmallFile(dir_.string(), 100, bytes), ReadStatus::CannotRead);
    EXPECT_EQ(ReadSmallFile("/dev/zero", 100, bytes), ReadStatus::CannotRead);
    EXPECT_EQ(ReadSmallFile((dir_ / "none").string(), 100, bytes), ReadStatus::CannotRead);
    EXPECT_EQ(bytes, "untouched");
    Put(model_, std::string(100, 'a'));
    EXPECT_EQ(ReadSmallFile(model_.string(), 99, bytes), ReadStatus::TooLarge);
    ASSERT_EQ(ReadSmallFile(model_.string(), 100, bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes, std::string(100, 'a'));
    Put(model_, std::string(200000, 'b'));
    ASSERT_EQ(ReadSmallFile(model_.string(), 200000, bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes.size(), 200000u);
}

} // namespace
} // namespace tarvik
