// Temporary folders for tests, and a way to make a file truly read-only for the code under test
// even when the tests run as root.
#pragma once

#include <string>
#include <vector>

namespace tl::test {

// A fresh empty folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    // The folder's path, ending in "/".
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + name; }

private:
    std::string path_;
};

// The names in `folder`, sorted.
std::vector<std::string> FileNames(const std::string &folder);

// While it lives, `file` has mode 0444 and cannot be opened for writing by this process. Root
// ignores file modes, so a root process runs as the user "nobody" (effective user and group ids only) for
// the scope; the folders above the file are made readable for that. `active()` is false when
// that is impossible here (the test should then be skipped).
class ReadOnlyScope {
public:
    explicit ReadOnlyScope(const std::string &file);
    ~ReadOnlyScope();
    ReadOnlyScope(const ReadOnlyScope &) = delete;
    ReadOnlyScope &operator=(const ReadOnlyScope &) = delete;
    bool active() const { return active_; }

private:
    std::string file_;
    bool active_ = false;
    bool droppedRoot_ = false;
};

} // namespace tl::test
