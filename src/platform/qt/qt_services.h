// The Qt implementations of the platform services (see platform/services.h).
#pragma once

#include "platform/qt/ini_text.h"
#include "platform/services.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class QSoundEffect;

namespace tl {

// Modal QMessageBox: plain text, the first button the default. Closing the box answers with its
// Cancel or No button (an Ok-only box answers Ok).
class QtMessageBox : public MessageBoxService {
public:
    void setParent(QWidget *parent) { parent_ = parent; }
    MsgAnswer show(const std::string &title, const std::string &text, MsgIcon icon,
                   MsgButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

// Modal QInputDialog; Cancel or closing it gives "".
class QtInputBox : public InputBoxService {
public:
    void setParent(QWidget *parent) { parent_ = parent; }
    std::string ask(const std::string &prompt, const std::string &title,
                    const std::string &defaultText) override;

private:
    QPointer<QWidget> parent_;
};

// The per-user INI file of QSettings(IniFormat, UserScope, "Farrowdel", "Farrowdel"), normally
// ~/.config/Farrowdel/Farrowdel.ini, in QSettings' own format: a section is an INI group and
// every value is text. The file is read at the start and again before each write, which
// changes the lines of its keys and is on disk when set() returns. The game stores everything
// under the one application name, so the `app` argument selects nothing.
//
// The file is read and written here, line by line (see ini_text.h), rather than by QSettings,
// because QSettings lets one damaged line swallow the rest of the file: a damaged line costs
// its own key (it reads as its default) and nothing else, and a write keeps every other line.
// Only a regular file of at most 1 MiB is read; anything else under the name reads as no
// settings at all and is never written over, and no write makes the file larger than that. A
// file this user may not write is left as it is, silently. A write replaces the whole file at
// once (see platform/file_writes.h), so a write that does not reach the disk leaves the old
// file whole, and the keys of one setAll() reach the file together or not at all.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString &fileName);
    std::string get(const std::string &app, const std::string &section, const std::string &key,
                    const std::string &defaultValue) override;
    void set(const std::string &app, const std::string &section, const std::string &key,
             const std::string &value) override;
    void setAll(const std::string &app, const std::vector<SettingsEntry> &entries) override;
    // The file the values are kept in.
    QString fileName() const { return fileName_; }

private:
    QString fileName_;
    IniText text_;
};

// The program's folder, and the generic local data folder (~/.local/share) as the user's local
// application data folder.
class QtFolders : public FolderService {
public:
    std::string programFolder() override;
    std::string localAppDataFolder() override;
};

// One QSoundEffect per loaded wave file. Sounds are usable only when an audio output exists:
// without one QSoundEffect reports no error at all and simply plays nothing.
class QtSound : public SoundService {
public:
    QtSound();
    ~QtSound() override;
    bool usable() override;
    int load(const std::string &path) override;
    void play(int handle) override;

private:
    std::vector<std::unique_ptr<QSoundEffect>> effects_;
};

// Time of day from QTime; monotonic time from a QElapsedTimer started with the object.
class QtClock : public ClockService {
public:
    QtClock() { timer_.start(); }
    int secondsSinceMidnight() override;
    std::int64_t monotonicMs() override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

// Lets pending window events run. The solver may ask thousands of times a second; asking the
// window system that often would slow it down for nothing, so calls that come sooner than
// `minIntervalMs` after the last pass are skipped.
class QtEventPump : public EventPump {
public:
    explicit QtEventPump(ClockService &clock, int minIntervalMs = 15)
        : clock_(clock), interval_(minIntervalMs)
    {
    }
    void pumpEvents() override;

private:
    ClockService &clock_;
    int interval_;
    bool pumped_ = false;
    std::int64_t last_ = 0;
};

// The browser associated with HTML pages: the desktop entry that `xdg-mime query default
// text/html` names, resolved to its program. When an association exists but its entry cannot be
// resolved, `xdg-open` (which follows the same association) is used instead. No association:
// no browser.
class QtBrowser : public BrowserService {
public:
    std::string findHtmlProgram() override;
    // Starts the browser detached. Whether its window opens maximised is the browser's own
    // choice: there is no common way to ask for it.
    bool launch(const std::string &program, const std::string &url, bool maximised) override;

    // The program that the desktop entry `desktopId` (for example "firefox.desktop") starts,
    // searched in the "applications" folders of `dataDirs` in order; "" when it is not found or
    // its program does not exist.
    static std::string ProgramOfDesktopEntry(const QString &desktopId, const QStringList &dataDirs);
    // $XDG_DATA_HOME and $XDG_DATA_DIRS with their usual defaults.
    static QStringList DataDirs();
};

} // namespace tl
