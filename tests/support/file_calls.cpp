#include "support/file_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <filesystem>
#include <stdexcept>
#include <thread>

// The real calls, as the linker names them under --wrap.
extern "C" {
int __real_open(const char *path, int flags, ...);
int __real_openat(int dirFd, const char *path, int flags, ...);
ssize_t __real_read(int fd, void *buf, size_t n);
ssize_t __real_write(int fd, const void *buf, size_t n);
int __real_close(int fd);
int __real_fsync(int fd);
int __real_fstat(int fd, struct stat *st);
int __real_stat(const char *path, struct stat *st);
int __real_lstat(const char *path, struct stat *st);
int __real_fstatat(int dirFd, const char *path, struct stat *st, int flags);
int __real_fchown(int fd, uid_t uid, gid_t gid);
int __real_fchmod(int fd, mode_t mode);
int __real_linkat(int fromDir, const char *from, int toDir, const char *to, int flags);
int __real_renameat(int fromDir, const char *from, int toDir, const char *to);
int __real_unlinkat(int dirFd, const char *path, int flags);
int __real_unlink(const char *path);
int __real_flock(int fd, int op);
ssize_t __real_readlink(const char *path, char *buf, size_t n);
int __real_faccessat(int dirFd, const char *path, int mode, int flags);
DIR *__real_opendir(const char *path);
struct dirent *__real_readdir(DIR *dir);
int __real_closedir(DIR *dir);
}

namespace tl::test {

namespace {

std::atomic<FileCallWatch *> g_watch{nullptr};
std::thread::id g_owner; // set before g_watch, read only while it is set

bool IsFolder(int fd)
{
    struct stat st {};
    return fd >= 0 && __real_fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

// Records the call (on the watching thread) and decides whether it fails: 0 to make it, or the
// error it fails with.
int Decide(const char *name, int fd, const char *path, int flags = 0)
{
    FileCallWatch *watch = g_watch.load();
    if (!watch)
        return 0;
    FileCall call{name, fd, path ? path : "", flags, IsFolder(fd)};
    int error = watch->before ? watch->before(call) : 0;
    if (std::this_thread::get_id() != g_owner)
        return error;
    if (watch->failAt && *watch->failAt == watch->calls.size())
        error = watch->failWith;
    watch->calls.push_back(std::move(call));
    return error;
}

bool UnnamedFilesOff()
{
    const FileCallWatch *watch = g_watch.load();
    return watch && watch->noUnnamedFiles;
}

int Fail(int error)
{
    errno = error;
    return -1;
}

mode_t ModeArgument(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

} // namespace

FileCallWatch::FileCallWatch()
{
    g_owner = std::this_thread::get_id();
    FileCallWatch *none = nullptr;
    if (!g_watch.compare_exchange_strong(none, this))
        throw std::logic_error("one file call watch at a time");
}

FileCallWatch::~FileCallWatch()
{
    g_watch = nullptr;
}

int OpenDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

} // namespace tl::test

using tl::test::Decide;
using tl::test::Fail;

extern "C" {

int __wrap_open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = tl::test::ModeArgument(flags, args);
    va_end(args);
    if (const int e = Decide("open", -1, path, flags))
        return Fail(e);
    return __real_open(path, flags, mode);
}

int __wrap_openat(int dirFd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = tl::test::ModeArgument(flags, args);
    va_end(args);
    if (const int e = Decide("openat", dirFd, path, flags))
        return Fail(e);
    if ((flags & O_TMPFILE) == O_TMPFILE && tl::test::UnnamedFilesOff())
        return Fail(EOPNOTSUPP);
    return __real_openat(dirFd, path, flags, mode);
}

ssize_t __wrap_read(int fd, void *buf, size_t n)
{
    if (const int e = Decide("read", fd, nullptr))
        return Fail(e);
    return __real_read(fd, buf, n);
}

ssize_t __wrap_write(int fd, const void *buf, size_t n)
{
    if (const int e = Decide("write", fd, nullptr))
        return Fail(e);
    return __real_write(fd, buf, n);
}

int __wrap_close(int fd)
{
    const int e = Decide("close", fd, nullptr);
    const int result = __real_close(fd); // the descriptor goes whatever close reports
    return e ? Fail(e) : result;
}

int __wrap_fsync(int fd)
{
    if (const int e = Decide("fsync", fd, nullptr))
        return Fail(e);
    return __real_fsync(fd);
}

int __wrap_fstat(int fd, struct stat *st)
{
    if (const int e = Decide("fstat", fd, nullptr))
        return Fail(e);
    return __real_fstat(fd, st);
}

int __wrap_stat(const char *path, struct stat *st)
{
    if (const int e = Decide("stat", -1, path))
        return Fail(e);
    return __real_stat(path, st);
}

int __wrap_lstat(const char *path, struct stat *st)
{
    if (const int e = Decide("lstat", -1, path))
        return Fail(e);
    return __real_lstat(path, st);
}

int __wrap_fstatat(int dirFd, const char *path, struct stat *st, int flags)
{
    if (const int e = Decide("fstatat", dirFd, path, flags))
        return Fail(e);
    return __real_fstatat(dirFd, path, st, flags);
}

int __wrap_fchown(int fd, uid_t uid, gid_t gid)
{
    if (const int e = Decide("fchown", fd, nullptr))
        return Fail(e);
    return __real_fchown(fd, uid, gid);
}

int __wrap_fchmod(int fd, mode_t mode)
{
    if (const int e = Decide("fchmod", fd, nullptr))
        return Fail(e);
    return __real_fchmod(fd, mode);
}

int __wrap_linkat(int fromDir, const char *from, int toDir, const char *to, int flags)
{
    if (const int e = Decide("linkat", toDir, to, flags))
        return Fail(e);
    return __real_linkat(fromDir, from, toDir, to, flags);
}

int __wrap_renameat(int fromDir, const char *from, int toDir, const char *to)
{
    if (const int e = Decide("renameat", toDir, to))
        return Fail(e);
    return __real_renameat(fromDir, from, toDir, to);
}

int __wrap_unlinkat(int dirFd, const char *path, int flags)
{
    if (const int e = Decide("unlinkat", dirFd, path, flags))
        return Fail(e);
    return __real_unlinkat(dirFd, path, flags);
}

int __wrap_unlink(const char *path)
{
    if (const int e = Decide("unlink", -1, path))
        return Fail(e);
    return __real_unlink(path);
}

int __wrap_flock(int fd, int op)
{
    if (const int e = Decide("flock", fd, nullptr, op))
        return Fail(e);
    return __real_flock(fd, op);
}

ssize_t __wrap_readlink(const char *path, char *buf, size_t n)
{
    if (const int e = Decide("readlink", -1, path))
        return Fail(e);
    return __real_readlink(path, buf, n);
}

int __wrap_faccessat(int dirFd, const char *path, int mode, int flags)
{
    if (const int e = Decide("faccessat", dirFd, path, flags))
        return Fail(e);
    return __real_faccessat(dirFd, path, mode, flags);
}

DIR *__wrap_opendir(const char *path)
{
    if (const int e = Decide("opendir", -1, path)) {
        errno = e;
        return nullptr;
    }
    return __real_opendir(path);
}

struct dirent *__wrap_readdir(DIR *dir)
{
    if (const int e = Decide("readdir", -1, nullptr)) {
        errno = e;
        return nullptr;
    }
    return __real_readdir(dir);
}

int __wrap_closedir(DIR *dir)
{
    const int e = Decide("closedir", -1, nullptr);
    const int result = __real_closedir(dir);
    return e ? Fail(e) : result;
}

} // extern "C"
