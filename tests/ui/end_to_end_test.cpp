// The real game executable, started under a virtual X server with empty settings and data
// folders and a program folder of its own that holds a test stock.
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

// Starts the game in `program` under xvfb-run, waits for its window, prints its caption, takes
// the next puzzle with the Next button, waits until that puzzle's number is stored, saves a
// screenshot of the window and ends the game.
const char *const kScript = R"SH(
set -u
"$PROGRAM/tilloran" > "$HOME/game.log" 2>&1 &
APP=$!
# The game window, or a message box when start-up fails, or the end of the program.
for i in $(seq 200); do
  WID=$(xdotool search --onlyvisible --name "Dornel's Tilloran" 2>/dev/null | head -1)
  [ -n "$WID" ] && break
  if ! kill -0 $APP 2>/dev/null; then wait $APP; echo "EXIT=$?"; exit 0; fi
  BOX=$(xdotool search --onlyvisible --name "Error" 2>/dev/null | head -1)
  if [ -n "$BOX" ]; then echo "BOX=$(xdotool getwindowname "$BOX")"; kill $APP; exit 0; fi
  sleep 0.1
done
[ -n "$WID" ] || { echo "NO WINDOW"; kill $APP; exit 0; }
echo "CAPTION=$(xdotool getwindowname "$WID")"
# A real click on the Next button (the window's client area starts below the menu bar).
xdotool mousemove --window "$WID" 598 146 click 1
for i in $(seq 100); do
  grep -q '^Size_08=1' "$XDG_CONFIG_HOME/Farrowdel/Farrowdel.ini" 2>/dev/null && break
  sleep 0.1
done
sleep 0.3
import -window "$WID" "$SHOT" && echo "SHOT=ok"
kill $APP; wait $APP 2>/dev/null
echo "DONE"
)SH";

struct GameRun {
    QString out;
    int exitCode = -1;
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *tool : {"xvfb-run", "xdotool", "import"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        fs::copy_file(TL_BINARY_DIR "/tilloran", program.path() + "tilloran");
    }

    GameRun Start(const std::string &shot)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.insert("HOME", QString::fromStdString(home.path()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path() + "config"));
        env.insert("XDG_DATA_HOME", QString::fromStdString(home.path() + "data"));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.path()));
        env.insert("PROGRAM", QString::fromStdString(program.path()));
        env.insert("SHOT", QString::fromStdString(shot));
        // Two virtual servers started at the same moment by parallel tests can pick the same
        // display number; the one that loses is started again.
        GameRun run;
        for (int attempt = 0; attempt < 3; ++attempt) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start("xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", kScript});
            p.waitForFinished(90000);
            run = {QString::fromUtf8(p.readAllStandardOutput()), p.exitCode()};
            if (!QString::fromUtf8(p.readAllStandardError()).contains("Xvfb failed to start"))
                break;
        }
        return run;
    }

    std::string WorkingCopy() const { return home.path() + "data/Farrowdel/DudEzadu.qzk"; }

    TempDir program, home;
};

TEST_F(EndToEnd, FirstStartShowsTheFreePlayCaptionAndMakesTheWorkingCopy)
{
    ASSERT_TRUE(WriteTestStockFile(program / "DudEzadu.qzk"));
    const std::string shot = std::string(TL_BINARY_DIR) + "/screenshot-after-next.png";
    fs::remove(shot);
    const GameRun run = Start(shot);
    EXPECT_TRUE(run.out.contains("CAPTION=Dornel's Tilloran - Free Play (no player selected)\n"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("DONE")) << run.out.toStdString();
    EXPECT_EQ(fs::file_size(WorkingCopy()), kStockBytes);
    // Next was clicked: the first Easy 8 x 8 puzzle is stored as the last one.
    std::ifstream ini(home.path() + "config/Farrowdel/Farrowdel.ini");
    const std::string text((std::istreambuf_iterator<char>(ini)), {});
    EXPECT_NE(text.find("[Last_Easy]"), std::string::npos) << text;
    EXPECT_NE(text.find("Size_08=1"), std::string::npos) << text;
    EXPECT_TRUE(run.out.contains("SHOT=ok")) << run.out.toStdString();
}

TEST_F(EndToEnd, DamagedSettingsFileAndStockDoNotCrash)
{
    // A settings file of random bytes and a stock file of a few odd bytes.
    fs::create_directories(home.path() + "config/Farrowdel");
    {
        std::ofstream ini(home.path() + "config/Farrowdel/Farrowdel.ini", std::ios::binary);
        for (int i = 0; i < 4096; ++i)
            ini.put(static_cast<char>((i * 7919) % 256));
        ini << "\n[Options]\nLevel=9\nSize=-4\n[Players]\nCount=3000\nLast_Player=77\n";
    }
    ASSERT_TRUE(WriteBytes(program / "DudEzadu.qzk", std::vector<std::uint8_t>(3001, 0xFF)));
    const GameRun run = Start(home.path() + "damaged.png");
    // A stock of a few bytes is no stock: start-up reports it in its error boxes instead of
    // showing the window, whatever the settings hold.
    EXPECT_TRUE(run.out.contains("BOX=File Error")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("CAPTION=")) << run.out.toStdString();
}

} // namespace
} // namespace tl::test
