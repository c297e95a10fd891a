// Small helpers for paths and texts, and the three folders the game works with.
//
// Paths use "/" as their separator. A folder path handed around the game always ends in one,
// so a file name can simply be appended to it.
#pragma once

#include <string>

namespace tl {

class FolderService;

// The application name: the folder inside the local data folder and the name under which every
// setting is stored.
inline constexpr const char *kAppName = "Farrowdel";

// The platform's number of the user's local application data folder; the only special folder
// the game asks for.
inline constexpr int kLocalAppDataFolderId = 28;

// The path of a special folder without its trailing separator, or "" when the platform has none
// (or when `folderId` names a folder this platform does not provide).
std::string Get_Special_Folder(FolderService &folders, int folderId);

// `text` without its trailing blanks (character 32 only; tabs and NULs stay). The argument is
// left as it is, so a 16-character roster name passed in keeps its padding.
std::string Trim_Trailing_Spaces(const std::string &text);

// True when `path` names an existing file or folder. Never reports anything.
bool File_Exists(const std::string &path);

// `path` ending in the separator "/" (the empty text gives "/").
std::string Add_Backslash(std::string path);

// The game's folders, each ending in "/".
struct Folders {
    std::string ProgramFolder;      // the program's own folder: pristine stock, sounds, pictures
    std::string LocalAppDataFolder; // the user's local application data folder
    std::string DataFolder;         // LocalAppDataFolder + "Farrowdel/": working stock, temporary files
};

// Works out the three folders without touching the disk.
Folders Compute_Folders(FolderService &folders);

// Works out the three folders and creates the data folder (and the local data folder above it)
// when it is missing. Every error is
// ignored: a data folder that cannot be made only shows when the stock cannot be copied or
// loaded.
Folders Set_Folders(FolderService &folders);

} // namespace tl
