#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tl::test {

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "tilloran-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern + "/";
}

std::vector<std::string> FileNames(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

ReadOnlyScope::ReadOnlyScope(const std::string &file) : file_(file)
{
    if (::chmod(file.c_str(), 0444) != 0)
        return;
    if (::geteuid() == 0) {
        // Let "nobody" reach the file: every folder above it must be searchable by others.
        // Only the search and read bits for others are added, and only where missing.
        for (fs::path p = fs::path(file).parent_path(); !p.empty() && p != p.root_path();
             p = p.parent_path()) {
            struct stat st {};
            if (::stat(p.c_str(), &st) == 0 && (st.st_mode & 0005) != 0005)
                ::chmod(p.c_str(), (st.st_mode & 07777) | 0005);
        }
        // Group bits would apply to root's group, so the group changes as well.
        if (::setegid(65534) != 0)
            return;
        if (::seteuid(65534) != 0) {
            (void)::setegid(0);
            return;
        }
        droppedRoot_ = true;
    }
    active_ = true;
}

ReadOnlyScope::~ReadOnlyScope()
{
    if (droppedRoot_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
        std::abort(); // the rest of the test run would fail in confusing ways
    ::chmod(file_.c_str(), 0644);
}

} // namespace tl::test
