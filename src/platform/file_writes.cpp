#include "platform/file_writes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <utility>

namespace tl {

namespace {

std::function<void(const std::string &)> &Observer()
{
    static std::function<void(const std::string &)> observer;
    return observer;
}

std::string ErrorText(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

// The folder part of a path ("." for a bare name) and its last name.
std::pair<std::string, std::string> SplitPath(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// `base` + ".tmp-" + six letters or digits: the name a replacement's file has before the rename.
constexpr std::string_view kTemporaryMark = ".tmp-";

std::string TemporaryName(const std::string &base)
{
    static const char chars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = base + std::string(kTemporaryMark);
    for (int i = 0; i < 6; ++i)
        name += chars[random() % (sizeof chars - 1)];
    return name;
}

bool IsTemporaryNameOf(const std::string &name, const std::string &base)
{
    return name.size() == base.size() + kTemporaryMark.size() + 6 && name.compare(0, base.size(), base) == 0
        && name.compare(base.size(), kTemporaryMark.size(), kTemporaryMark) == 0
        && std::all_of(name.end() - 6, name.end(), IsNameChar);
}

bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, 1 << 30));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// True when `fd` is the file that `path` names now (not a file removed or replaced meanwhile).
bool IsSameFile(int fd, const std::string &path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// An open file in the folder `dirFd` that no name refers to yet, or, where the file system
// cannot make one, a new file under a fresh name made exclusively (`name` is then set).
int OpenNewFile(int dirFd, const std::string &base, std::string &name)
{
    name.clear();
    const int fd = ::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    for (int tries = 0; tries < 100; ++tries) {
        name = TemporaryName(base);
        const int named = ::openat(dirFd, name.c_str(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (named >= 0 || errno != EEXIST)
            return named;
    }
    return -1;
}

// Gives the unnamed file `fd` a fresh name in the folder `dirFd`.
bool NameFile(int fd, int dirFd, const std::string &base, std::string &name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int tries = 0; tries < 100; ++tries) {
        name = TemporaryName(base);
        if (::linkat(AT_FDCWD, self.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno == EEXIST)
            continue;
        // Without /proc, the file itself can be named by a process allowed to do so.
        if (::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return false;
}

// Follows every link at the end of `path` into `target` (as far as it got on failure). False
// when a link cannot be read, a name on the way cannot be looked at, or the links go round.
bool FollowLinks(const std::string &path, std::string &target)
{
    target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0)
            return errno == ENOENT; // nothing there yet: the name itself is the target
        if (!S_ISLNK(st.st_mode))
            return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return false;
        if (n == 0 || static_cast<std::size_t>(n) >= link.size()) {
            errno = EINVAL; // empty, or changed under the read
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : SplitPath(target).first + '/' + link;
    }
    errno = ELOOP;
    return false;
}

// What a replacement of `path` writes: its target with links followed (`target`), whether a
// file is there (`old` then describes it), and whether it may be replaced at all. A name that
// cannot be a file's, one too long to have the temporary name beside it, anything but a regular
// file, and an existing file this user may not write are refused, with `why` saying so.
bool CheckTarget(const std::string &path, std::string &target, struct stat &old, bool &exists, std::string &why)
{
    exists = false;
    if (path.empty()) {
        why = "no file name was given";
        return false;
    }
    if (path.back() == '/') {
        why = path + " ends in / and names no file";
        return false;
    }
    if (!FollowLinks(path, target)) {
        why = ErrorText(target);
        return false;
    }
    const std::string base = SplitPath(target).second;
    if (base.empty() || base == "." || base == "..") {
        why = target + " names no file";
        return false;
    }
    // The temporary name is the name with ".tmp-XXXXXX" added, in the same folder.
    if (base.size() + kTemporaryMark.size() + 6 > NAME_MAX) {
        errno = ENAMETOOLONG;
        why = ErrorText(target);
        return false;
    }
    exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        why = ErrorText(target);
        return false;
    }
    if (exists && S_ISDIR(old.st_mode)) {
        why = target + " is a folder";
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        why = target + " is not a regular file";
        return false;
    }
    // A file its user made read-only is kept as it is, although the folder would let a new file
    // take its name (the effective ids decide, as they would for opening it for writing).
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        why = ErrorText(target);
        return false;
    }
    return true;
}

} // namespace

std::string LinkTarget(const std::string &path)
{
    std::string target;
    FollowLinks(path, target);
    return target;
}

bool CanReplaceFile(const std::string &path, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    std::string target, why;
    struct stat st {};
    bool exists = false;
    if (!CheckTarget(path, target, st, exists, why))
        return fail(why);
    const std::string folder = SplitPath(target).first;
    if (::stat(folder.c_str(), &st) != 0)
        return fail(ErrorText(folder));
    if (!S_ISDIR(st.st_mode))
        return fail(folder + " is not a folder");
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return fail(ErrorText(folder));
    return true;
}

bool ReplaceFile(const std::string &path, std::string_view bytes, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    std::string target, checked;
    struct stat old {};
    bool exists = false;
    if (!CheckTarget(path, target, old, exists, checked))
        return fail(checked);

    const auto [folder, base] = SplitPath(target);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return fail(ErrorText(folder));
    std::string name;
    const int fd = OpenNewFile(dirFd, base, name);
    if (fd < 0) {
        const std::string why = ErrorText(target);
        ::close(dirFd);
        return fail(why);
    }

    // Every step must succeed, the flush to the disk included, before the rename; a file left
    // behind under a name is removed again.
    std::string why;
    if (!WriteAll(fd, bytes)) {
        why = ErrorText(target);
    } else {
        if (exists)
            (void)::fchown(fd, old.st_uid, old.st_gid); // only root can give a file away
        // The new file must not be open to more than the old one was.
        if (exists && ::fchmod(fd, old.st_mode & 07777) != 0)
            why = ErrorText(target);
        else if (::fsync(fd) != 0)
            why = ErrorText(target);
        else if (name.empty() && !NameFile(fd, dirFd, base, name))
            why = ErrorText(target);
    }
    if (::close(fd) != 0 && why.empty())
        why = ErrorText(target);
    if (why.empty() && ::renameat(dirFd, name.c_str(), dirFd, base.c_str()) != 0)
        why = ErrorText(target);
    if (!why.empty()) {
        if (!name.empty())
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(dirFd);
        return fail(why);
    }
    // The new name is on disk too once the folder is.
    (void)::fsync(dirFd);
    ::close(dirFd);
    if (Observer())
        Observer()(target);
    return true;
}

ReadResult ReadRegularFile(const std::string &path, std::size_t maxBytes, std::string &bytes)
{
    bytes.clear();
    // Opening a FIFO for reading would wait for a writer; without blocking it cannot.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    struct stat st {};
    ReadResult result = ReadResult::Unreadable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) <= maxBytes) {
        // The size may change under the read: never more than one byte past the limit is read.
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        while (true) {
            if (got == bytes.size()) {
                if (got > maxBytes)
                    break;
                bytes.resize(std::min(2 * got, maxBytes + 1));
            }
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    result = ReadResult::Read;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got > maxBytes)
            result = ReadResult::Unreadable;
        bytes.resize(result == ReadResult::Read ? got : 0);
    }
    ::close(fd);
    return result;
}

void RemoveLeftoverTemporaries(const std::string &path)
{
    const auto [folder, base] = SplitPath(LinkTarget(path));
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st {};
        if (IsTemporaryNameOf(entry->d_name, base)
            && ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

void SetReplaceObserver(std::function<void(const std::string &)> observer)
{
    Observer() = std::move(observer);
}

// ---- FileLock --------------------------------------------------------------------------------

FileLock::Attempt FileLock::attempt()
{
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        // Someone who took the new, still empty file for a dead one's may hold it to remove it,
        // or may have removed it already: then it is not the lock, and the next attempt decides.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !IsSameFile(fd, path_)) {
            ::close(fd);
            return Attempt::Retry;
        }
        // What QLockFile writes: the process id, the program and the host.
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        const std::string info = std::to_string(::getpid()) + '\n' + program_invocation_short_name
            + '\n' + host + '\n';
        (void)WriteAll(fd, info);
        fd_ = fd;
        return Attempt::Taken;
    }
    if (errno != EEXIST)
        return Attempt::Impossible;
    // Only a regular file can be a lock file. Anything else under the name (a link, a folder, a
    // FIFO, a device) means that no lock can be had here, and that is known at once: such a
    // name is never opened, since opening a FIFO waits for a writer and a device may act on it.
    struct stat named {};
    if (::lstat(path_.c_str(), &named) != 0)
        return errno == ENOENT ? Attempt::Retry : Attempt::Impossible;
    if (!S_ISREG(named.st_mode))
        return Attempt::Impossible;
    // Without blocking, should the name have become something else since it was looked at.
    const int other = ::open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (other < 0)
        return errno == ENOENT ? Attempt::Retry : Attempt::Impossible;
    struct stat opened {};
    if (::fstat(other, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(other);
        return Attempt::Impossible;
    }
    if (::flock(other, LOCK_EX | LOCK_NB) == 0) {
        // Nobody holds it: its maker is gone. It goes, if it is still the one under the name.
        if (IsSameFile(other, path_))
            ::unlink(path_.c_str());
        ::close(other);
        return Attempt::Retry;
    }
    const int why = errno;
    ::close(other);
    return why == EWOULDBLOCK ? Attempt::Busy : Attempt::Impossible;
}

bool FileLock::tryLock(int timeoutMs)
{
    if (fd_ >= 0)
        return true;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (int retries = 0;;) {
        switch (attempt()) {
        case Attempt::Taken:
            return true;
        case Attempt::Impossible:
            return false;
        case Attempt::Retry:
            if (++retries < 100)
                continue;
            [[fallthrough]];
        case Attempt::Busy:
            if (std::chrono::steady_clock::now() >= until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            break;
        }
    }
}

void FileLock::unlock()
{
    if (fd_ < 0)
        return;
    // The name goes while the lock is held, so nobody can take the file for a dead one's.
    if (IsSameFile(fd_, path_))
        ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

} // namespace tl
