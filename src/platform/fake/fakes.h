// Test fakes of the platform services: scripted answers, recorded calls, no real windows.
#pragma once

#include "platform/fake/page_recorder.h"
#include "platform/seeded_random.h"
#include "platform/services.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tl {

struct RecordedBox {
    std::string title, text;
    MsgIcon icon;
    MsgButtons buttons;
};

class FakeMessageBox : public MessageBoxService {
public:
    // Answers given in order; when none is left, the first button (Ok or Yes) is pressed.
    std::deque<MsgAnswer> answers;
    std::vector<RecordedBox> shown;
    // Called on every box after it was recorded (for example to press Stop meanwhile).
    std::function<void(const RecordedBox &)> onShow;

    MsgAnswer show(const std::string &title, const std::string &text, MsgIcon icon,
                   MsgButtons buttons) override;
};

class FakeInputBox : public InputBoxService {
public:
    std::deque<std::string> answers; // "" when none is left (as Cancel)
    struct Asked { std::string prompt, title, defaultText; };
    std::vector<Asked> asked;
    std::string ask(const std::string &prompt, const std::string &title,
                    const std::string &defaultText) override;
};

class MemorySettings : public SettingsStore {
public:
    using Key = std::tuple<std::string, std::string, std::string>; // app, section, key
    std::map<Key, std::string> values;
    struct Write { std::string app, section, key, value; };
    std::vector<Write> writes; // every write, in order

    std::string get(const std::string &app, const std::string &section, const std::string &key,
                    const std::string &defaultValue) override;
    void set(const std::string &app, const std::string &section, const std::string &key,
             const std::string &value) override;
    // The stored value or "" (test helper).
    std::string value(const std::string &section, const std::string &key,
                      const std::string &app = "Farrowdel") const;
    bool has(const std::string &section, const std::string &key,
             const std::string &app = "Farrowdel") const;
};

class FakeFolders : public FolderService {
public:
    std::string program, localAppData;
    std::string programFolder() override { return program; }
    std::string localAppDataFolder() override { return localAppData; }
};

class FakeSound : public SoundService {
public:
    bool isUsable = true;
    std::vector<std::string> loaded;  // paths, handle = index + 1
    std::vector<std::string> played;  // file names (last path component) of played handles
    bool usable() override { return isUsable; }
    int load(const std::string &path) override;
    void play(int handle) override;
};

class FakeClock : public ClockService {
public:
    int seconds = 12 * 3600;
    std::int64_t ms = 1000000;
    int secondsSinceMidnight() override { return seconds; }
    std::int64_t monotonicMs() override { return ms; }
    // Moves both clocks on by s seconds (the time of day wraps at midnight).
    void advance(int s);
};

class FakeEventPump : public EventPump {
public:
    long calls = 0;
    std::function<void(long call)> onPump; // gets the 1-based number of the call
    void pumpEvents() override
    {
        ++calls;
        if (onPump)
            onPump(calls);
    }
};

class FakeBrowser : public BrowserService {
public:
    std::string program = "/usr/bin/fakebrowser"; // "" = no association
    bool launchOk = true;
    struct Launch { std::string program, url; bool maximised; };
    std::vector<Launch> launches;
    int lookups = 0;
    std::string findHtmlProgram() override { ++lookups; return program; }
    bool launch(const std::string &prog, const std::string &url, bool maximised) override
    {
        launches.push_back({prog, url, maximised});
        return launchOk;
    }
};

// Every fake, bundled, with a Platform view of them.
struct FakePlatform {
    FakeMessageBox messages;
    FakeInputBox input;
    MemorySettings settings;
    FakeFolders folders;
    FakeSound sound;
    FakeClock clock;
    FakeEventPump pump;
    SeededRandom random{12345};
    FakeBrowser browser;
    FakePrinter printer;
    Platform platform()
    {
        return {messages, input, settings, folders, sound, clock, pump, random, browser, printer};
    }
};

} // namespace tl
