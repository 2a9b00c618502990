#include "common/safefile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvik {
namespace {

namespace fs = std::filesystem;

ssize_t PlainWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

FileSystemCalls DefaultCalls() {
    return FileSystemCalls{.write = PlainWrite, .fsync = ::fsync, .rename = ::rename, .link = ::link};
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = SystemCalls().write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A new, empty temporary file beside `target`; its name goes to `name`.
int TemporaryBeside(const fs::path& target, const std::string& tag, std::string& name) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    name = (folder / ("." + target.filename().string() + tag + ".XXXXXX")).string();
    return ::mkstemp(name.data());
}

// Writes `bytes` into a synced temporary file beside `target` with `mode`.
bool WriteTemporary(const fs::path& target, const std::string& tag, const char* data, std::size_t size,
                    mode_t mode, std::string& name) {
    int fd = TemporaryBeside(target, tag, name);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && WriteAll(fd, data, size);
    ok = ok && SystemCalls().fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(name.c_str());
    return ok;
}

// A second name for `source` beside it: a hard link, or else a synced copy.
bool KeepSecondName(const fs::path& source, mode_t mode, std::string& name) {
    int fd = TemporaryBeside(source, ".bak", name);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(name.c_str());
    if (SystemCalls().link(source.c_str(), name.c_str()) == 0) return true;
    std::ifstream in(source, std::ios::binary);
    if (!in) return false;
    std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    return WriteTemporary(source, ".bak", old.data(), old.size(), mode, name);
}

void SyncFolder(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    SystemCalls().fsync(fd);
    ::close(fd);
}

} // namespace

FileSystemCalls& SystemCalls() {
    static FileSystemCalls calls = DefaultCalls();
    return calls;
}

void RestoreSystemCalls() {
    SystemCalls() = DefaultCalls();
}

bool WriteFileSafely(const std::string& fileName, const std::string& bytes, const std::string& backupName,
                     WriteFailure* failure) {
    WriteFailure local;
    WriteFailure& why = failure ? *failure : local;
    why = WriteFailure{};
    // Notes the failing step (its errno before any cleanup) and gives false.
    auto fail = [&why](bool backup, int error) {
        why.backup = backup;
        why.error = error != 0 ? error : EIO;
        return false;
    };
    std::error_code ec;
    fs::path target(fileName);
    // Writing through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec) return fail(false, ec.value());
        target = resolved;
    }
    // The new file gets the permissions of the one it replaces, or the usual ones.
    struct stat st {};
    const bool existed = ::stat(target.c_str(), &st) == 0;
    // A folder, a device or a pipe is never replaced by a file.
    if (existed && !S_ISREG(st.st_mode)) return fail(false, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    mode_t mode = 0;
    if (existed) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string newName;
    if (!WriteTemporary(target, "", bytes.data(), bytes.size(), mode, newName)) return fail(false, errno);

    const fs::path backup(backupName);
    const bool keepBackup =
        existed && !backup.empty() && fs::weakly_canonical(backup, ec) != fs::weakly_canonical(target, ec);
    std::string oldName, olderName;
    if (keepBackup) {
        // The old file becomes the backup before anything is replaced; the
        // older backup keeps a second name until the new text is in place.
        struct stat bst {};
        bool ok = KeepSecondName(target, mode, oldName);
        if (ok && ::lstat(backup.c_str(), &bst) == 0 && S_ISREG(bst.st_mode))
            ok = KeepSecondName(backup, bst.st_mode & 07777, olderName);
        if (ok) ok = SystemCalls().rename(oldName.c_str(), backup.c_str()) == 0;
        if (!ok) {
            const int error = errno;
            for (const std::string& name : {newName, oldName, olderName})
                if (!name.empty()) ::unlink(name.c_str());
            return fail(true, error);
        }
    }
    if (SystemCalls().rename(newName.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(newName.c_str());
        if (keepBackup) {
            // The backup goes back to what it was.
            if (!olderName.empty())
                ::rename(olderName.c_str(), backup.c_str());
            else
                ::unlink(backup.c_str());
        }
        return fail(false, error);
    }
    if (!olderName.empty()) ::unlink(olderName.c_str());
    SyncFolder(target);
    return true;
}

ReadStatus ReadSmallFile(const std::string& fileName, std::size_t maxBytes, std::string& bytes) {
    std::error_code ec;
    if (!fs::is_regular_file(fileName, ec)) return ReadStatus::CannotRead;
    const auto size = fs::file_size(fileName, ec);
    if (!ec && size > maxBytes) return ReadStatus::TooLarge;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return ReadStatus::CannotRead;
    // Reading stops one block past the limit, whatever the size said a moment ago.
    std::string text;
    char block[1 << 16];
    for (;;) {
        file.read(block, sizeof block);
        const auto got = static_cast<std::size_t>(file.gcount());
        text.append(block, got);
        if (text.size() > maxBytes) return ReadStatus::TooLarge;
        if (got < sizeof block) break;
    }
    if (file.bad()) return ReadStatus::CannotRead;
    bytes = std::move(text);
    return ReadStatus::Ok;
}

} // namespace tarvik
