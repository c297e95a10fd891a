// The stock maker's output: one it could never write is refused before any puzzle is made.
#include "support/temp_dir.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tl::test {
namespace {

// A missing folder, a folder and a FIFO under the name, no name, a name ending in "/" and a name
// too long to have the temporary name beside it: the tool says why at once (it never starts
// making the stock), ends with exit code 1, and makes or replaces no file.
TEST(MakeStockTool, RefusesAnOutputItCouldNeverWriteBeforeItStarts)
{
    TempDir dir;
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const std::pair<std::string, const char *> rows[] = {
        {dir / "no-such-folder/DudEzadu.qzk", "No such file or directory"},
        {dir / "folder", "is a folder"},
        {dir / "fifo", "is not a regular file"},
        {"", "no file name"},
        {dir / "DudEzadu.qzk/", "ends in /"},
        {dir / std::string(245, 'x'), "File name too long"},
    };
    for (const auto &[out, says] : rows) {
        SCOPED_TRACE(out);
        QProcess tool;
        tool.start(TL_BINARY_DIR "/make_stock",
                   QStringList{"--threads", "2", "--out", QString::fromStdString(out)});
        ASSERT_TRUE(tool.waitForFinished(60000)) << "the tool went on making the stock";
        const std::string err = tool.readAllStandardError().toStdString();
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 1) << err;
        EXPECT_NE(err.find("cannot write " + out), std::string::npos) << err;
        EXPECT_NE(err.find(says), std::string::npos) << err;
        EXPECT_EQ(err.find("Making the stock"), std::string::npos) << err;
        EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"fifo", "folder"}));
        EXPECT_TRUE(fs::is_empty(dir / "folder"));
        EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    }
}

} // namespace
} // namespace tl::test
