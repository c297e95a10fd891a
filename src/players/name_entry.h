// What the players dialog does with a name typed for a new player or as a player's new name:
// the checks, the change of the roster and its saving. Plain C++, so the rules are tested
// without the dialog.
#pragma once

#include <string>

namespace tl {

class Roster;
class SettingsStore;

enum class NameVerdict {
    Added,      // a new player at the end of the roster
    Renamed,    // the selected player has the new name
    Nobody,     // blanks only
    MemoryLoss, // nothing typed
    Duplicate,  // another player already has that name
    RosterFull, // no room for another player
};

struct NameEntry {
    NameVerdict verdict;
    std::string name; // the typed text without its trailing blanks
    int player = 0;   // the player added or renamed
};

// Checks `typed` and, when it is accepted, adds a player (`selectedRow` < 0) or renames the
// player of row `selectedRow` (player selectedRow + 1), then saves the roster. A rejected name
// changes nothing. Names are compared without trailing blanks, upper and lower case differing.
NameEntry Enter_Name(Roster &roster, SettingsStore &store, const std::string &typed,
                     int selectedRow);

// The title and text of the message that rejects a name.
struct NameMessage {
    std::string title, text;
};
NameMessage Rejection_Message(const NameEntry &entry);

} // namespace tl
