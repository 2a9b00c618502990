#pragma once
// Reading and writing the user's small files so that nothing is ever lost.
//
// Writing: the new text goes to a temporary file in the same folder and is
// synced; only then does it replace the old file. When a backup is kept, the
// old file is first linked (or copied) to a temporary name and renamed over
// the backup (the older backup keeping a second name meanwhile), and only
// then is the new text renamed over the file: a file whose previous version
// cannot become the backup is not replaced. At every instant until the new
// file is in place the old file and a backup exist; a failure at any step
// leaves the file and its backup as they were.
//
// Reading: a file that is not a regular file or is larger than the caller's
// limit is refused before anything is read.
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace tarvik {

// The system calls a save makes, replaceable so that tests can make each one fail.
struct FileSystemCalls {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*link)(const char* from, const char* to);
};
FileSystemCalls& SystemCalls();
void RestoreSystemCalls();

// Why a save failed.
struct WriteFailure {
    bool backup = false; // the old file could not become the backup (nothing was replaced)
    int error = 0;       // the errno of the step that failed
};

// Writes `bytes` to `fileName` as above. With a non-empty `backupName` an
// existing file is kept there (an older backup is replaced). Writing through a
// symbolic link replaces the file it points to. The new file keeps the old
// one's permissions. A folder, device or pipe in the file's place is refused.
// Returns false when the new text is not in place, saying why in `failure`.
bool WriteFileSafely(const std::string& fileName, const std::string& bytes,
                     const std::string& backupName = {}, WriteFailure* failure = nullptr);

enum class ReadStatus { Ok, CannotRead, TooLarge };

// Reads a whole regular file of at most `maxBytes` bytes.
ReadStatus ReadSmallFile(const std::string& fileName, std::size_t maxBytes, std::string& bytes);

} // namespace tarvik
