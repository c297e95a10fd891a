#include "game/global_helpers.h"
#include "platform/fake/fakes.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tl;

TEST(GlobalHelpers, AddBackslashAppendsTheSeparatorOnce)
{
    EXPECT_EQ(Add_Backslash("/home/ann"), "/home/ann/");
    EXPECT_EQ(Add_Backslash("/home/ann/"), "/home/ann/");
    EXPECT_EQ(Add_Backslash(""), "/");
}

TEST(GlobalHelpers, TrimTrailingSpacesReturnsATrimmedCopy)
{
    const std::string name = "Anna            ";
    ASSERT_EQ(name.size(), 16u);
    EXPECT_EQ(Trim_Trailing_Spaces(name), "Anna");
    EXPECT_EQ(name.size(), 16u) << "the caller's name must keep its padding";
    EXPECT_EQ(Trim_Trailing_Spaces("      "), "");
    EXPECT_EQ(Trim_Trailing_Spaces(""), "");
    EXPECT_EQ(Trim_Trailing_Spaces(" Jan de Vries  "), " Jan de Vries");
    // Only blanks go: a tab or a NUL at the end stays.
    EXPECT_EQ(Trim_Trailing_Spaces("ab\t "), "ab\t");
    EXPECT_EQ(Trim_Trailing_Spaces(std::string("ab\0 ", 4)), std::string("ab\0", 3));
}

TEST(GlobalHelpers, FileExistsForFilesAndFoldersOnly)
{
    test::TempDir dir;
    EXPECT_TRUE(File_Exists(dir.path()));
    EXPECT_FALSE(File_Exists(dir / "missing.txt"));
    EXPECT_FALSE(File_Exists(dir / "no/such/folder/file"));
    EXPECT_FALSE(File_Exists(""));
    { std::ofstream(dir / "f.txt") << "x"; }
    EXPECT_TRUE(File_Exists(dir / "f.txt"));
}

TEST(GlobalHelpers, SpecialFolderLosesOneTrailingSeparator)
{
    FakeFolders f;
    f.localAppData = "/home/ann/.local/share/";
    EXPECT_EQ(Get_Special_Folder(f, kLocalAppDataFolderId), "/home/ann/.local/share");
    f.localAppData = "/home/ann/.local/share";
    EXPECT_EQ(Get_Special_Folder(f, kLocalAppDataFolderId), "/home/ann/.local/share");
    f.localAppData = "";
    EXPECT_EQ(Get_Special_Folder(f, kLocalAppDataFolderId), "");
    // Folders this platform does not provide give the empty text.
    EXPECT_EQ(Get_Special_Folder(f, 5), "");
}

TEST(GlobalHelpers, FoldersEndInASeparator)
{
    FakeFolders f;
    f.program = "/opt/tilloran";
    f.localAppData = "/home/ann/.local/share/";
    const Folders folders = Compute_Folders(f);
    EXPECT_EQ(folders.ProgramFolder, "/opt/tilloran/");
    EXPECT_EQ(folders.LocalAppDataFolder, "/home/ann/.local/share/");
    EXPECT_EQ(folders.DataFolder, "/home/ann/.local/share/Farrowdel/");

    // No local data folder at all: the data folder sits at the root.
    f.localAppData = "";
    EXPECT_EQ(Compute_Folders(f).LocalAppDataFolder, "/");
    EXPECT_EQ(Compute_Folders(f).DataFolder, "/Farrowdel/");
}

TEST(GlobalHelpers, SetFoldersCreatesTheDataFolderAndIgnoresFailures)
{
    test::TempDir dir;
    FakeFolders f;
    f.program = dir.path();
    f.localAppData = dir.path();
    const Folders folders = Set_Folders(f);
    EXPECT_EQ(folders.DataFolder, dir.path() + "Farrowdel/");
    EXPECT_TRUE(std::filesystem::is_directory(folders.DataFolder));
    // Again, with the folder there: nothing happens.
    EXPECT_EQ(Set_Folders(f).DataFolder, folders.DataFolder);

    // A new account whose local data folder does not exist yet.
    f.localAppData = dir / "home/.local/share";
    EXPECT_TRUE(std::filesystem::is_directory(Set_Folders(f).DataFolder));

    // A local data folder that is a file: the data folder cannot be made, and nothing is thrown.
    { std::ofstream(dir / "plain") << "x"; }
    f.localAppData = dir / "plain";
    EXPECT_NO_THROW(Set_Folders(f));
    EXPECT_FALSE(File_Exists(dir / "plain/Farrowdel"));
}
