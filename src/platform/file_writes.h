// Reading and writing the game's own files so that a failure never costs what is on disk.
//
// How it fits together: every file the game and its tools write (settings, the stock's working
// copy, a new stock, a PDF of printed pages) is written whole through ReplaceFile. The new bytes
// go into a new file beside the old one that has no name yet (or, where the file system cannot
// do that, a fresh name made exclusively), are flushed to the disk, and only then is that file
// renamed over the old one. A write that fails at any point (a full disk, a file size limit, an
// error that only shows when the data is flushed) leaves the old file whole and the new bytes
// nowhere. A link at the file's name is followed: the link's target is replaced and the link
// stays, so a link the user made on purpose keeps working; a folder, a device or a FIFO under
// the name is never replaced.
//
// Readers that must not hang or run out of memory on an odd file (a FIFO, a link to /dev/zero,
// a huge file) read through ReadRegularFile, which takes only a regular file of a bounded size.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tl {

// Replaces the content of the file at `path` (created when missing) with `bytes`; true once the
// new content is on disk under that name. On failure the file is as it was, and `error` (when
// given) says why. A replaced file keeps its permissions (and its owner where that can be
// kept); a new one gets 0666 less the umask. An existing file that this user may not write is
// never replaced, although its folder would allow it.
bool ReplaceFile(const std::string &path, std::string_view bytes, std::string *error = nullptr);

// True when ReplaceFile could put a file at `path`: the name is a file's name (not empty, not
// ending in "/") short enough to have the temporary name beside it, its folder exists and may
// be written, and the name (links followed) is free or a regular file this user may write.
// `error` says what is wrong otherwise.
bool CanReplaceFile(const std::string &path, std::string *error = nullptr);

// The name ReplaceFile writes: `path` with every link at its end followed (as far as they can be).
std::string LinkTarget(const std::string &path);

enum class ReadResult { Read, Missing, Unreadable };

// Reads the file at `path` into `bytes` when it is a regular file (links followed) of at most
// `maxBytes`. Missing when nothing is there; Unreadable for anything else (a folder, a device,
// a FIFO, a file too large, no permission). Never blocks on a FIFO.
ReadResult ReadRegularFile(const std::string &path, std::size_t maxBytes, std::string &bytes);

// Removes what interrupted replacements of `path` may have left beside its target: regular
// files named like the target followed by ".tmp-" and six letters or digits, a form no other
// program uses (a name such as "Farrowdel.ini.backup" is the user's and stays). Only for a file whose
// writers all hold one lock, and only while holding it: another writer's temporary file would
// otherwise be taken from under it.
void RemoveLeftoverTemporaries(const std::string &path);

// Called with the target's name after every successful ReplaceFile (tests watch the disk at
// each replacement with it); empty by default.
void SetReplaceObserver(std::function<void(const std::string &)> observer);

// An exclusive lock between processes, held in a lock file beside the file it guards (the name
// and content that QLockFile uses). The lock itself is the kernel's lock on the open file, so a
// lock file left behind by a process that died holds nothing and is taken over at once, whatever
// it holds (empty, cut short or someone else's); only a live holder is waited for.
class FileLock {
public:
    explicit FileLock(std::string lockPath) : path_(std::move(lockPath)) {}
    ~FileLock() { unlock(); }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits up to `timeoutMs` for a live holder to let go; false when it did not. False at once
    // when no lock can be had here: no lock file can be made (a read-only folder), or the name
    // holds anything but a regular file (a link, a folder, a FIFO, a device).
    bool tryLock(int timeoutMs);
    void unlock();
    bool locked() const { return fd_ >= 0; }

private:
    enum class Attempt { Taken, Busy, Retry, Impossible };
    Attempt attempt();

    std::string path_;
    int fd_ = -1;
};

} // namespace tl
