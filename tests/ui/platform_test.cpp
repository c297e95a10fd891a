#include "game/roster.h"
#include "game/stored_settings.h"
#include "platform/fake/fakes.h"
#include "platform/qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace tl;

namespace {

// Runs `act` on the modal dialog once it is up (the dialog's exec() blocks the test meanwhile).
template <class Dialog, class Act>
void whenModal(Act act)
{
    QTimer::singleShot(0, [act] {
        auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (d) {
            act(d);
        } else {
            ADD_FAILURE() << "no modal dialog of the expected kind";
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        }
    });
}

// Sets an environment variable for one scope and puts the old value back afterwards.
class EnvScope {
public:
    EnvScope(const char *name, const QByteArray &value) : name_(name), had_(qEnvironmentVariableIsSet(name))
    {
        old_ = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvScope()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(QtSettings, ValuesAreTextInOneGroupPerSectionAndSyncedAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EnvScope config("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString file = dir.path() + "/Farrowdel/Farrowdel.ini";
    {
        QtSettingsStore store;
        EXPECT_EQ(store.fileName(), file);
        EXPECT_EQ(store.get("Farrowdel", "Options", "Wells", "True"), "True");
        EXPECT_FALSE(QFile::exists(file)) << "reading writes nothing";

        store.set("Farrowdel", "Options", "Wells", "False");
        // On disk before the store goes away.
        const QString text = readAll(file);
        EXPECT_TRUE(text.contains("[Options]")) << text.toStdString();
        EXPECT_TRUE(text.contains("Wells=False")) << text.toStdString();

        store.set("Farrowdel", "Players", "Player01", " Anna, de Boer  ");
        store.set("Farrowdel", "Players", "Player02", "Zoë             ");
    }
    QtSettingsStore again;
    EXPECT_EQ(again.get("Farrowdel", "Options", "Wells", "True"), "False");
    EXPECT_EQ(again.get("Farrowdel", "Players", "Player01", ""), " Anna, de Boer  ");
    EXPECT_EQ(again.get("Farrowdel", "Players", "Player02", ""), "Zoë             ");
    EXPECT_EQ(again.get("Farrowdel", "Players", "Player03", "Player03"), "Player03");
}

TEST(QtSettings, HandEditedValuesNeverBreakTheReaders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EnvScope config("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QDir().mkpath(dir.path() + "/Farrowdel");
    QFile f(dir.path() + "/Farrowdel/Farrowdel.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Options]\nWells=yes\nLevel=2, 3\nSize=@Invalid()\n"
            "[Players]\nCount=2\nPlayer01=Smith, John\nLast_Player=7\n");
    f.close();

    QtSettingsStore store;
    const GameOptions o = Read_Options(store);
    EXPECT_TRUE(o.WellsOn);
    EXPECT_EQ(o.SelectedLevel, 0);
    EXPECT_EQ(o.SelectedSize, 0);
    const Roster r = Load_Players(store);
    ASSERT_EQ(r.PlayerCount(), 2);
    EXPECT_EQ(r.shownName(1), "Smith, John");
    EXPECT_EQ(r.shownName(2), "Player02");
    EXPECT_EQ(r.CurrentPlayer(), 0);
}

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// Files written by QSettings read back the same, and what the store writes is what QSettings
// writes, byte for byte, so that settings files of earlier versions keep working both ways.
TEST(QtSettings, ReadsAndWritesValuesAsQSettingsDoes)
{
    const std::pair<const char *, std::string> rows[] = {
        {"Wells", "True"},
        {"Player01", " Anna, de Boer  "},
        {"Player02", "Zo\xc3\xab             "},
        {"Player03", "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80"},
        {"Player04", "semi;colon"},
        {"Player05", "a=b"},
        {"Player06", "say \"hi\""},
        {"Player07", "back\\slash\\"},
        {"Player08", "tab\tnew\nline\r"},
        {"Player09", "\x01" "1f"},
        {"Player10", "@at"},
        {"Player11", "@@two"},
        {"Player12", "@Invalid()"},
        {"Player13", ""},
        {"Player14", std::string("nul\0" "7", 5)},
        {"Player15", "  "},
        {"Player16", "del\x7f"},
        {"Player17", "x,y , z"},
        {"Player18", "'quoted' ?"},
        {"odd key/with slash;%", "v"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int n = 0;
    for (const auto &[key, value] : rows) {
        SCOPED_TRACE(key);
        // A file name per row: QSettings keeps what it read of a file for the whole process.
        ++n;
        const QString byQt = dir.filePath(QString("qt%1.ini").arg(n));
        const QString byStore = dir.filePath(QString("store%1.ini").arg(n));
        {
            QSettings qt(byQt, QSettings::IniFormat);
            qt.beginGroup("Players");
            qt.setValue(key, QString::fromStdString(value));
        }
        EXPECT_EQ(QtSettingsStore(byQt).get("Farrowdel", "Players", key, "?"), value);

        QtSettingsStore(byStore).set("Farrowdel", "Players", key, value);
        EXPECT_EQ(FileBytes(byStore), FileBytes(byQt));
        QSettings qt(byStore, QSettings::IniFormat);
        EXPECT_EQ(qt.value(QStringLiteral("Players/") + key).toString().toStdString(), value);
    }
}

// A damaged line of the Options section costs at most its own key; the roster and the other
// sections after it are read, and a write keeps them byte for byte.
TEST(QtSettings, ADamagedLineCostsNothingButItsOwnKey)
{
    struct Row {
        const char *name;
        std::string lines;
        bool duplicates; // "Duplicates" as read: True (its default) when its line is damaged
        const char *start = ""; // before "[Options]", at the very start of the file
    };
    const Row rows[] = {
        {"StrayQuote", "Duplicates=\"False\n", true},
        {"QuoteInTheMiddle", "Duplicates=Fal\"se\n", true},
        {"BackslashAtTheEnd", "Duplicates=False\\\n", true},
        {"NulByte", std::string("Duplicates=Fa\0lse\n", 18), true},
        {"BinaryJunk", std::string("\x8f\"\0[\x1b=\\\xff;\"\xc3(\x7f\x02\n", 15) + "Duplicates=False\n", false},
        {"JunkThatLooksLikeAHeader", "[\x01\xfe]\nDuplicates=False\n", false},
        {"CarriageReturnAlone", "Duplicates=\"Fa\rlse\"\n", true},
        {"TabsAroundTheEquals", "Duplicates\t=\tFalse\n", false},
        {"ByteOrderMark", "Duplicates=False\n", false, "\xEF\xBB\xBF"},
    };
    const QByteArray after = "Level=2\nSize=3\n\n[Players]\nCount=2\nPlayer01=Anna            \n"
                             "Player02=Bob             \nLast_Player=2\n\n[Last_Easy]\nSize_08=7\n";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("Farrowdel.ini");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(file, row.start + QByteArray("[Options]\nWells=False\n") + QByteArray::fromStdString(row.lines) + after);

        auto expectRosterAndNumbers = [](SettingsStore &store) {
            const Roster r = Load_Players(store);
            ASSERT_EQ(r.PlayerCount(), 2);
            EXPECT_EQ(r.shownName(1), "Anna");
            EXPECT_EQ(r.shownName(2), "Bob");
            EXPECT_EQ(r.CurrentPlayer(), 2);
            EXPECT_EQ(Load_Last_Numbers(store)[0][0], 7);
        };
        QtSettingsStore store(file);
        GameOptions expected;
        expected.WellsOn = false;
        expected.DuplicatesOn = row.duplicates;
        expected.SelectedLevel = 2;
        expected.SelectedSize = 3;
        EXPECT_EQ(Read_Options(store), expected);
        expectRosterAndNumbers(store);

        GameOptions changed = expected;
        changed.SoundsOn = false;
        changed.SelectedLevel = 1;
        Save_Options(store, changed);
        QtSettingsStore again(file);
        EXPECT_EQ(Read_Options(again), changed);
        expectRosterAndNumbers(again);
        const QByteArray bytes = FileBytes(file);
        EXPECT_TRUE(bytes.endsWith(after.mid(after.indexOf("\n[Players]")))) << bytes.toStdString();
    }
}

// Names kept in Latin-1 by hand or by another program read as what they say, and a write of the
// roster keeps their meaning (in UTF-8, as QSettings reads it).
TEST(QtSettings, NamesInLatin1AreReadAsLatin1AndWrittenBackTheSame)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("Farrowdel.ini");
    const QByteArray latin1 = "Player01=Jos\xe9            \n";
    WriteFile(file, "[Players]\nCount=2\n" + latin1 + "Player02=\"Zo\xeb, M.\"        \nLast_Player=1\n");

    QtSettingsStore store(file);
    const Roster r = Load_Players(store);
    ASSERT_EQ(r.PlayerCount(), 2);
    EXPECT_EQ(r.shownName(1), "Jos\xc3\xa9");
    EXPECT_EQ(r.shownName(2), "Zo\xc3\xab, M.");

    store.set("Farrowdel", "Options", "Wells", "False");
    EXPECT_TRUE(FileBytes(file).contains(latin1)) << "lines not written stay as they were";

    Save_Players(store, r);
    EXPECT_FALSE(FileBytes(file).contains("\xe9"));
    QSettings qt(file, QSettings::IniFormat);
    EXPECT_EQ(qt.value("Players/Player01").toString().toStdString(), FitName16("Jos\xc3\xa9"));
    EXPECT_EQ(qt.value("Players/Player02").toString().toStdString(), FitName16("Zo\xc3\xab, M."));
    EXPECT_EQ(Load_Players(store).shownName(1), "Jos\xc3\xa9");
}

// Random files made of the pieces that go wrong (quotes, backslashes, NUL, Latin-1 and UTF-8,
// headers without brackets, aliases of one key, lone carriage returns): a write gives its key
// the value written and leaves every other key reading as before, and the text written reads
// back as the text in memory.
TEST(QtSettings, AWriteChangesItsOwnKeyAndNoOtherInAnyFile)
{
    const std::vector<QByteArray> heads = {"[Options]", "[Players]", "[General]", "[Sec%20tion]",
                                           "[K\xe9y]", "[Options", " [Players] ", "; [Options]"};
    const std::vector<QByteArray> keys = {"Wells", "Player01", "K\xe9y", "K\xc3\xa9y",
                                          "Sec%20tion\\Wells", " Wells ", "\"Wells\""};
    const std::vector<QByteArray> bits = {"True", "\"", "\\", ",", ";", " ", QByteArray("\0", 1),
                                          "\x01", "\xe9", "\xc3\xa9", "@", "@@", "@Invalid()", "x",
                                          "\t", "=", "\\x41", "\\0"};
    const std::vector<QByteArray> ends = {"\n", "\n", "\n", "\r\n", "\r", ""};
    const QStringList sections = {"Options", "Players", "", "Sec tion", QString::fromUtf8("K\xc3\xa9y")};
    const QStringList names = {"Wells", "Player01", QString::fromUtf8("K\xc3\xa9y")};
    const QStringList values = {"False", " Anna, de Boer  ", QString::fromUtf8("Zo\xc3\xab"),
                                "say \"hi\"", "back\\", "@x", "", QString::fromUtf8(QByteArray("a\0" "1", 3)), "x;y",
                                "\t1\t", QString::fromUtf8("\xf0\x9f\x98\x80 2")};
    std::mt19937 random(19);
    auto pick = [&](const auto &list) { return list[random() % list.size()]; };

    for (int file = 0; file < 3000; ++file) {
        QByteArray bytes;
        for (int line = int(random() % 8); line > 0; --line) {
            if (random() % 4 == 0)
                bytes += pick(heads);
            else {
                bytes += pick(keys);
                if (random() % 6)
                    bytes += '=';
                for (int bit = int(random() % 4); bit > 0; --bit)
                    bytes += pick(bits);
            }
            bytes += pick(ends);
        }
        SCOPED_TRACE(bytes.toPercentEncoding().toStdString());
        IniText text(bytes);
        std::map<QString, std::optional<QString>> before;
        for (const QString &section : sections)
            for (const QString &name : names)
                before[section + '|' + name] = text.value(section, name);

        const QString section = pick(sections), name = pick(names), value = pick(values);
        text.setValue(section, name, value);
        const IniText again(text.bytes());
        for (const QString &sec : sections)
            for (const QString &n : names) {
                const std::optional<QString> expected =
                    sec == section && n == name ? value : before[sec + '|' + n];
                ASSERT_EQ(text.value(sec, n), expected) << (sec + '|' + n).toStdString();
                ASSERT_EQ(again.value(sec, n), expected) << (sec + '|' + n).toStdString();
            }
    }
}

TEST(QtFolders, ProgramFolderAndLocalDataFolder)
{
    QtFolders folders;
    EXPECT_EQ(folders.programFolder(), QCoreApplication::applicationDirPath().toStdString());
    QTemporaryDir dir;
    EnvScope data("XDG_DATA_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(folders.localAppDataFolder(), dir.path().toStdString());
}

TEST(QtEventPump, SkipsCallsThatComeTooSoon)
{
    FakeClock clock;
    QtEventPump pump(clock, 15);
    int ran = 0;
    auto post = [&] { QMetaObject::invokeMethod(qApp, [&] { ++ran; }, Qt::QueuedConnection); };

    post();
    pump.pumpEvents();
    EXPECT_EQ(ran, 1);
    post();
    clock.ms += 5;
    pump.pumpEvents();
    EXPECT_EQ(ran, 1) << "5 ms after the last pass: skipped";
    clock.ms += 10;
    pump.pumpEvents();
    EXPECT_EQ(ran, 2);
}

TEST(QtMessageBox, PlainTextFirstButtonDefaultAndTheAnswerPressed)
{
    QtMessageBox boxes;
    whenModal<QMessageBox>([](QMessageBox *mb) {
        EXPECT_EQ(mb->windowTitle(), "Quit Dornel's Tilloran");
        EXPECT_EQ(mb->text(), "<b>Do you really want to quit ?</b>");
        EXPECT_EQ(mb->textFormat(), Qt::PlainText);
        EXPECT_EQ(mb->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(static_cast<QAbstractButton *>(mb->defaultButton()), mb->button(QMessageBox::Yes));
        mb->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(boxes.show("Quit Dornel's Tilloran", "<b>Do you really want to quit ?</b>", MsgIcon::None,
                         MsgButtons::YesNo),
              MsgAnswer::No);

    whenModal<QMessageBox>([](QMessageBox *mb) {
        EXPECT_EQ(mb->icon(), QMessageBox::Warning);
        EXPECT_EQ(mb->buttons().size(), 1);
        mb->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(boxes.show("File Error", "Error reading binary puzzles from file!", MsgIcon::Exclamation,
                         MsgButtons::Ok),
              MsgAnswer::Ok);

    // Closing a Yes/No box answers No.
    whenModal<QMessageBox>([](QMessageBox *mb) { mb->reject(); });
    EXPECT_EQ(boxes.show("t", "x", MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::No);
}

TEST(QtInputBox, TextOnOkAndEmptyOnCancel)
{
    QtInputBox input;
    whenModal<QInputDialog>([](QInputDialog *d) {
        EXPECT_EQ(d->windowTitle(), "Open");
        EXPECT_EQ(d->labelText(), "Puzzle number (1-100)");
        EXPECT_EQ(d->textValue(), "7");
        d->setTextValue("42");
        d->accept();
    });
    EXPECT_EQ(input.ask("Puzzle number (1-100)", "Open", "7"), "42");

    whenModal<QInputDialog>([](QInputDialog *d) {
        d->setTextValue("13");
        d->reject();
    });
    EXPECT_EQ(input.ask("Puzzle number (1-100)", "Open", "7"), "");
}

TEST(QtSound, HandlesOnlyForFilesThatExist)
{
    QTemporaryDir dir;
    const QString wav = dir.path() + "/beep.wav";
    {
        // 0.05 s of 16-bit mono silence at 8 kHz.
        const quint32 samples = 400, dataBytes = samples * 2;
        QByteArray b;
        auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF)); };
        auto u16 = [&](quint16 v) { b.append(char(v & 0xFF)); b.append(char(v >> 8)); };
        b.append("RIFF"); u32(36 + dataBytes); b.append("WAVEfmt "); u32(16); u16(1); u16(1);
        u32(8000); u32(16000); u16(2); u16(16); b.append("data"); u32(dataBytes);
        b.append(QByteArray(int(dataBytes), '\0'));
        QFile f(wav);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    QtSound sound;
    EXPECT_EQ(sound.load((dir.path() + "/missing.wav").toStdString()), 0);
    EXPECT_EQ(sound.load(dir.path().toStdString()), 0) << "a folder is no sound";
    EXPECT_EQ(sound.load(wav.toStdString()), 1);
    EXPECT_EQ(sound.load(wav.toStdString()), 2);
    // Playing never fails, whether an audio output exists or not, and bad handles do nothing.
    sound.play(1);
    sound.play(1);
    sound.play(0);
    sound.play(3);
    sound.play(-1);
}

TEST(QtBrowser, DesktopEntriesResolveToTheirProgram)
{
    QTemporaryDir home, system;
    QDir().mkpath(home.path() + "/applications");
    QDir().mkpath(system.path() + "/applications/org");
    auto write = [](const QString &path, const QByteArray &text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    const std::string sh = QStandardPaths::findExecutable("sh").toStdString();
    ASSERT_FALSE(sh.empty());
    write(home.path() + "/applications/quoted.desktop",
          "[Desktop Action new]\nExec=nothing\n[Desktop Entry]\nName=Q\nExec[de]=x\nExec=\"/bin/s\\h\" -c %u\n");
    write(system.path() + "/applications/org/plain.desktop", "[Desktop Entry]\nExec=sh %U\n");
    write(system.path() + "/applications/gone.desktop", "[Desktop Entry]\nExec=no-such-browser-here %u\n");
    write(system.path() + "/applications/noexec.desktop", "[Desktop Entry]\nName=N\n");
    const QStringList dirs{home.path(), system.path()};

    EXPECT_EQ(QtBrowser::ProgramOfDesktopEntry("quoted.desktop", dirs), "/bin/sh");
    EXPECT_EQ(QtBrowser::ProgramOfDesktopEntry("org-plain.desktop", dirs), sh);
    EXPECT_EQ(QtBrowser::ProgramOfDesktopEntry("gone.desktop", dirs), "");
    EXPECT_EQ(QtBrowser::ProgramOfDesktopEntry("noexec.desktop", dirs), "");
    EXPECT_EQ(QtBrowser::ProgramOfDesktopEntry("absent.desktop", dirs), "");
    EXPECT_EQ(QtBrowser::ProgramOfDesktopEntry("", dirs), "");
}

TEST(QtBrowser, TheHtmlAssociationDecidesTheBrowser)
{
    // A stand-in xdg-mime on the PATH answers the association query.
    QTemporaryDir bin, data;
    QDir().mkpath(data.path() + "/applications");
    {
        QFile f(data.path() + "/applications/testbrowser.desktop");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nExec=sh %u\n");
    }
    const QString script = bin.path() + "/xdg-mime";
    auto answer = [&](const QByteArray &id) {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("#!/bin/sh\nprintf '" + id + "'\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther | QFile::ReadOther);
    };
    EnvScope path("PATH", bin.path().toLocal8Bit() + ":" + qgetenv("PATH"));
    EnvScope home("XDG_DATA_HOME", data.path().toLocal8Bit());
    EnvScope dirs("XDG_DATA_DIRS", data.path().toLocal8Bit() + "/none");

    QtBrowser browser;
    answer("testbrowser.desktop\\n");
    EXPECT_EQ(browser.findHtmlProgram(), QStandardPaths::findExecutable("sh").toStdString());

    answer("");
    EXPECT_EQ(browser.findHtmlProgram(), "") << "no association: no browser";

    // An association whose entry cannot be resolved falls back to xdg-open, when it exists.
    answer("missing.desktop\\n");
    EXPECT_EQ(browser.findHtmlProgram(), QStandardPaths::findExecutable("xdg-open").toStdString());

    EXPECT_FALSE(browser.launch("", "file:///x.html", false));
    EXPECT_FALSE(browser.launch((bin.path() + "/not-there").toStdString(), "file:///x.html", false));
    EXPECT_TRUE(browser.launch(QStandardPaths::findExecutable("true").toStdString(), "file:///x.html", true));
}

TEST(QtPlatform, BundlesOneOfEachService)
{
    QtPlatform qt;
    Platform p = qt.platform();
    EXPECT_EQ(&p.settings, &qt.settings);
    EXPECT_EQ(&p.pump, &qt.pump);
    const int s = p.clock.secondsSinceMidnight();
    EXPECT_GE(s, 0);
    EXPECT_LT(s, 86400);
    // Two platforms made one after the other draw different numbers.
    QtPlatform other;
    EXPECT_NE(qt.random.next(), other.random.next());
}
