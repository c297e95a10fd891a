// Every Qt platform service, owned together, with the Platform view the game hands around.
#pragma once

#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_services.h"
#include "platform/seeded_random.h"

namespace tl {

class QtPlatform {
public:
    QtPlatform() = default;
    QtPlatform(const QtPlatform &) = delete;
    QtPlatform &operator=(const QtPlatform &) = delete;

    // Message and input boxes are shown over this window (none: centred on the screen).
    void setDialogParent(QWidget *parent)
    {
        messages.setParent(parent);
        input.setParent(parent);
    }

    Platform platform()
    {
        return {messages, input, settings, folders, sound, clock, pump, random, browser, printer};
    }

    QtMessageBox messages;
    QtInputBox input;
    QtSettingsStore settings;
    QtFolders folders;
    QtSound sound;
    QtClock clock;
    QtEventPump pump{clock};
    SeededRandom random{ClockSeed()};
    QtBrowser browser;
    QtPrinter printer;
};

} // namespace tl
