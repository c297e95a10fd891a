#include "game/global_helpers.h"

#include "platform/services.h"

#include <filesystem>
#include <system_error>

namespace tl {

std::string Get_Special_Folder(FolderService &folders, int folderId)
{
    if (folderId != kLocalAppDataFolderId)
        return {};
    std::string path = folders.localAppDataFolder();
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

std::string Trim_Trailing_Spaces(const std::string &text)
{
    std::string::size_type end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.substr(0, end);
}

bool File_Exists(const std::string &path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    (void)std::filesystem::last_write_time(std::filesystem::path(path), ec);
    return !ec;
}

std::string Add_Backslash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    return path;
}

Folders Compute_Folders(FolderService &folders)
{
    Folders f;
    f.ProgramFolder = Add_Backslash(folders.programFolder());
    f.LocalAppDataFolder = Add_Backslash(Get_Special_Folder(folders, kLocalAppDataFolderId));
    f.DataFolder = Add_Backslash(f.LocalAppDataFolder + kAppName);
    return f;
}

Folders Set_Folders(FolderService &folders)
{
    Folders f = Compute_Folders(folders);
    // The local data folder itself may not exist yet for a new user account (nothing creates
    // ~/.local/share in advance), so the folders above the data folder are made as well.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(f.DataFolder), ignored);
    return f;
}

} // namespace tl
