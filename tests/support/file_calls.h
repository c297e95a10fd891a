// A watch on the system calls of the code that reads and writes the game's files, for the
// engine's tests: it records the calls in order and makes any one of them fail, so that a test
// can check what the code does when each call fails in turn, and in what order it flushes and
// renames. The test program is linked with the linker's --wrap for each call named in
// CMakeLists.txt; while no watch lives, every call goes straight through.
#pragma once

#include <cerrno>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tl::test {

struct FileCall {
    std::string name;      // "open", "write", "renameat", ...
    int fd = -1;           // the descriptor it works on (for the *at calls, the folder's), or -1
    std::string path;      // the (first) name it is given, or ""
    int flags = 0;         // the flags of open and openat
    bool onFolder = false; // `fd` is a folder's

    bool is(const char *n) const { return name == n; }
};

// Records the calls made on the thread that made it while it lives (one at a time).
class FileCallWatch {
public:
    FileCallWatch();
    ~FileCallWatch();
    FileCallWatch(const FileCallWatch &) = delete;
    FileCallWatch &operator=(const FileCallWatch &) = delete;

    // The calls recorded so far, in order.
    std::vector<FileCall> calls;
    // When set, the call recorded with this index fails with `failWith` and changes nothing (a
    // close or closedir releases its descriptor all the same, as the real ones do).
    std::optional<std::size_t> failAt;
    int failWith = EIO;
    // Opening an unnamed file (O_TMPFILE) fails as on a file system that cannot make one.
    bool noUnnamedFiles = false;
    // Called before every call of any thread; a nonzero result makes the call fail with that
    // error. It runs without any lock held, so it may wait for other threads.
    std::function<int(const FileCall &)> before;
};

// The number of file descriptors this process has open.
int OpenDescriptors();

} // namespace tl::test
