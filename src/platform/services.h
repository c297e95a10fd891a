// The platform services the game needs from the operating system, as plain C++ interfaces.
// Each has a Qt implementation (src/platform/qt) and a test fake (src/platform/fake).
// Nothing outside those two folders talks to Qt's message boxes, settings, sound, processes,
// printers or clocks directly. Texts are UTF-8 std::strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tl {

// ---- Message box and input box -------------------------------------------------------------
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Modal box; the first button is the default. Returns the button pressed.
    virtual MsgAnswer show(const std::string &title, const std::string &text, MsgIcon icon,
                           MsgButtons buttons) = 0;
};

class InputBoxService {
public:
    virtual ~InputBoxService() = default;
    // Modal input box; Cancel (or closing it) gives the empty text.
    virtual std::string ask(const std::string &prompt, const std::string &title,
                            const std::string &defaultText) = 0;
};

// ---- Settings store ------------------------------------------------------------------------
struct SettingsEntry {
    std::string section, key, value;
};

// Per-user store: application, section, key -> text. Every write is persisted at once.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string &app, const std::string &section,
                            const std::string &key, const std::string &defaultValue) = 0;
    virtual void set(const std::string &app, const std::string &section, const std::string &key,
                     const std::string &value) = 0;
    // Writes keys that belong together (the roster, the options) as one change: a store that
    // keeps them in a file has all of them there or none. By default, one set() each.
    virtual void setAll(const std::string &app, const std::vector<SettingsEntry> &entries)
    {
        for (const SettingsEntry &e : entries)
            set(app, e.section, e.key, e.value);
    }
};

// ---- Folders ---------------------------------------------------------------------------------
class FolderService {
public:
    virtual ~FolderService() = default;
    // The folder of the running program, without a trailing separator.
    virtual std::string programFolder() = 0;
    // The user's local application data folder without a trailing separator, or "" when the
    // platform has none.
    virtual std::string localAppDataFolder() = 0;
};

// ---- Sound -----------------------------------------------------------------------------------
class SoundService {
public:
    virtual ~SoundService() = default;
    // True when sounds can be heard at all (an audio output exists).
    virtual bool usable() = 0;
    // Loads a wave file; returns a handle above 0, or 0 when the file cannot be loaded.
    virtual int load(const std::string &path) = 0;
    // Plays a loaded handle from its start; a handle of 0 plays nothing.
    virtual void play(int handle) = 0;
};

// ---- Clock -----------------------------------------------------------------------------------
class ClockService {
public:
    virtual ~ClockService() = default;
    // Whole seconds since local midnight (0..86399), as the time of day reads.
    virtual int secondsSinceMidnight() = 0;
    // Milliseconds of a monotonic clock: never jumps with the time of day.
    virtual std::int64_t monotonicMs() = 0;
};

// ---- Event pump and halt flag ----------------------------------------------------------------
// Long runs (generation, validation) hand control to the window system through this, so that
// the window stays usable and a Stop button can be pressed.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void pumpEvents() = 0;
};

// ---- Random source ---------------------------------------------------------------------------
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniformly distributed 64-bit values.
    virtual std::uint64_t next() = 0;
    // A uniform whole number 0 <= x < k (k > 0), without modulo bias and without any
    // implementation-defined distribution, so that a seed gives the same numbers everywhere.
    std::uint32_t below(std::uint32_t k);
    // A uniform value in [0, 1).
    double uniform();
};

// Draws below one fixed k, the same numbers as RandomSource::below(k) from the same source but
// without its two 64-bit divisions per call: the rejection limit and an exact multiply-based
// remainder are worked out once, when the bound is made. For the shuffles, which draw thousands
// of numbers below one k.
class BoundedDraw {
public:
    explicit BoundedDraw(std::uint32_t k = 1);
    std::uint32_t bound() const { return k_; }
    // The next number below bound() from `source` (a RandomSource, or a final kind of one, so
    // that its next() needs no virtual call).
    template <class Source>
    std::uint32_t operator()(Source &source) const
    {
        if (k_ <= 1)
            return 0;
        std::uint64_t v;
        do {
            v = source.next();
        } while (v >= limit_);
        return remainder(v);
    }
    // v mod bound(), for any 64-bit v and bound() >= 2.
    std::uint32_t remainder(std::uint64_t v) const
    {
        using U128 = unsigned __int128;
        const U128 low = magic_ * v; // wraps modulo 2^128, as the proof in random.cpp takes it
        const auto lowLo = static_cast<std::uint64_t>(low);
        const auto lowHi = static_cast<std::uint64_t>(low >> 64);
        const U128 t = static_cast<U128>(lowHi) * k_ + ((static_cast<U128>(lowLo) * k_) >> 64);
        return static_cast<std::uint32_t>(t >> 64);
    }

private:
    std::uint32_t k_;
    std::uint64_t limit_ = 0;
    unsigned __int128 magic_ = 0;
};

// ---- Browser ---------------------------------------------------------------------------------
class BrowserService {
public:
    virtual ~BrowserService() = default;
    // The program associated with HTML pages, or "" when there is none.
    virtual std::string findHtmlProgram() = 0;
    // Starts `program` on `url`, detached. False when it cannot be started.
    virtual bool launch(const std::string &program, const std::string &url, bool maximised) = 0;
};

// ---- Printer ---------------------------------------------------------------------------------
// A document being drawn, page after page, in twips (1440 to the inch) from the top-left corner
// of the paper. Text is placed by its top-left corner and measured in the current font on the
// device drawn on. A statement the device refuses is skipped without a report: drawing goes on.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;
    // The current font: a face name, a size in points and the weight.
    virtual void setFont(const std::string &face, int points, bool bold) = 0;
    // The colour of the text printed from now on, as 0xRRGGBB.
    virtual void setTextColour(std::uint32_t rgb) = 0;
    // The width of lines and rectangles drawn from now on, in pixels of the device.
    virtual void setDrawWidth(int devicePixels) = 0;
    // The width and height of `text` in the current font, in twips.
    virtual double textWidth(const std::string &text) = 0;
    virtual double textHeight(const std::string &text) = 0;
    virtual void print(double x, double y, const std::string &text) = 0;
    // The outline of a rectangle (not filled) and a line, in black.
    virtual void drawBox(int left, int top, int right, int bottom) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    // Ends the current page; what is drawn next goes on a new sheet.
    virtual void newPage() = 0;
    // Ends the document and hands it to the device (the job is sent to the printer).
    virtual void endDoc() = 0;
};

// The platform's default printer.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    // Prepares the default printer for A4 portrait pages at its normal quality and gives the
    // paper's width and height in twips. False when there is no default printer or it refuses
    // one of these settings; nothing is printed anywhere else instead.
    virtual bool setUp(int &widthTwips, int &heightTwips) = 0;
    // A new document on the printer set up last. The job opens with its first drawing call and
    // is sent by endDoc(). Null when no printer was set up.
    virtual std::unique_ptr<PageCanvas> startDocument() = 0;
};

// The services the game window hands to the parts that need them.
struct Platform {
    MessageBoxService &messages;
    InputBoxService &input;
    SettingsStore &settings;
    FolderService &folders;
    SoundService &sound;
    ClockService &clock;
    EventPump &pump;
    RandomSource &random;
    BrowserService &browser;
    PrinterService &printer;
};

} // namespace tl
