// The real game executable, started under a virtual X server of the test's own with empty
// settings and data folders and a program folder of its own that holds a test stock.
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

// A virtual X server started for one test. Xvfb picks a free display itself and reports its
// number on a pipe once it accepts connections (-displayfd), so servers started at the same
// moment, by this test or anything else on the machine, can never be given the same display.
// It never resets (-noreset): by default a server resets when its last client leaves, and the
// game connecting just as a probe of the script disconnects would find no server to talk to.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const QStringList &extraArguments = {})
    {
        server_.setProgram("Xvfb");
        server_.setArguments(QStringList{"-displayfd", "1", "-screen", "0", "1024x768x24",
                                         "-nolisten", "tcp", "-noreset"}
                             + extraArguments);
        server_.setStandardErrorFile(QString::fromStdString(logDir_ / "xvfb.log"));
        server_.start();
    }
    ~VirtualDisplay()
    {
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
        server_.waitForFinished(5000);
    }
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    // Waits until the server reports its display. False when it cannot start; error() then
    // says why.
    bool waitReady(int timeoutMs = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (display_.isEmpty()) {
            reported_ += server_.readAllStandardOutput();
            if (reported_.endsWith('\n')) {
                bool number = false;
                reported_.trimmed().toInt(&number);
                if (!number)
                    return fail("it reported \"" + QString::fromUtf8(reported_.trimmed()) + "\"");
                display_ = ":" + QString::fromUtf8(reported_.trimmed());
            } else if (server_.state() == QProcess::NotRunning) {
                return fail(server_.error() == QProcess::FailedToStart ? "Xvfb cannot be run"
                                                                      : "Xvfb ended");
            } else if (clock.elapsed() > timeoutMs) {
                return fail("no display was reported within " + QString::number(timeoutMs)
                            + " ms");
            } else {
                server_.waitForReadyRead(100);
            }
        }
        return true;
    }
    QString display() const { return display_; }
    std::string error() const { return error_.toStdString(); }

private:
    bool fail(const QString &why)
    {
        QFile log(QString::fromStdString(logDir_ / "xvfb.log"));
        log.open(QIODevice::ReadOnly);
        error_ = "The virtual X server could not start (" + why + "): "
            + QString::fromUtf8(log.readAll()).trimmed();
        return false;
    }

    TempDir logDir_;
    QProcess server_;
    QByteArray reported_;
    QString display_, error_;
};

// Starts the game in `program` on the display that DISPLAY names, waits for its window, prints
// its caption, takes the next puzzle with the Next button, waits until that puzzle's number is
// stored, saves a screenshot of the window and ends the game.
const char *const kScript = R"SH(
set -u
"$PROGRAM/tilloran" > "$HOME/game.log" 2>&1 &
APP=$!
# The game window, or a message box when start-up fails, or the end of the program.
for i in $(seq 200); do
  WID=$(xdotool search --onlyvisible --name "Dornel's Tilloran" 2>/dev/null | head -1)
  [ -n "$WID" ] && break
  if ! kill -0 $APP 2>/dev/null; then wait $APP; echo "EXIT=$?"; cat "$HOME/game.log"; exit 0; fi
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
        for (const char *tool : {"Xvfb", "xdotool", "import"})
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
        GameRun run;
        VirtualDisplay x;
        if (!x.waitReady()) {
            ADD_FAILURE() << x.error();
            return run;
        }
        env.insert("DISPLAY", x.display());
        QProcess p;
        p.setProcessEnvironment(env);
        p.start("sh", {"-c", kScript});
        p.waitForFinished(90000);
        run = {QString::fromUtf8(p.readAllStandardOutput()), p.exitCode()};
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

// Servers started at the same moment each get a display of their own that answers and keeps
// its state when its only client leaves (a reset would drop the root window's properties), and
// a server that cannot start is reported as such rather than leaving the game without a display.
TEST_F(EndToEnd, ServersStartedAtOnceGetTheirOwnDisplaysNeverResetAndAFailedStartIsReported)
{
    if (QStandardPaths::findExecutable("xprop").isEmpty())
        GTEST_SKIP() << "xprop is not installed";
    auto xprop = [](const QString &display, const QStringList &arguments) {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        probe.setProcessEnvironment(env);
        probe.start("xprop", arguments);
        probe.waitForFinished(20000);
        return QString::fromUtf8(probe.readAllStandardOutput()).trimmed().toStdString();
    };
    std::vector<std::unique_ptr<VirtualDisplay>> servers;
    for (int i = 0; i < 6; ++i)
        servers.push_back(std::make_unique<VirtualDisplay>());
    QSet<QString> displays;
    for (auto &server : servers) {
        ASSERT_TRUE(server->waitReady()) << server->error();
        displays.insert(server->display());
        const QString mark = "kept on " + server->display();
        xprop(server->display(), {"-root", "-f", "TL_MARK", "8s", "-set", "TL_MARK", mark});
        EXPECT_EQ(xprop(server->display(), {"-root", "TL_MARK"}),
                  "TL_MARK(STRING) = \"" + mark.toStdString() + "\"");
    }
    EXPECT_EQ(displays.size(), 6);

    VirtualDisplay broken({"-no-such-option"});
    EXPECT_FALSE(broken.waitReady());
    EXPECT_NE(broken.error().find("The virtual X server could not start (Xvfb ended)"),
              std::string::npos)
        << broken.error();
    EXPECT_NE(broken.error().find("Unrecognized option: -no-such-option"), std::string::npos)
        << broken.error();
}

} // namespace
} // namespace tl::test
