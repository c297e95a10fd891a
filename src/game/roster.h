// The player roster: the names best times are credited to, and who is playing now.
//
// Settings section "Players": "Count" (number of players), "Player" followed by two digits for
// each player's name (blank-padded to 16 characters), and "Last_Player" (the current player,
// "0" for free play).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tl {

class SettingsStore;

inline constexpr int kNameLength = 16;  // a stored name is exactly this many characters
inline constexpr int kMaxPlayers = 100; // the two-digit keys give 100 distinct names

// `name` cut to, or padded with blanks to, exactly 16 characters (UTF-8 characters, so a name
// is never cut inside a character).
std::string FitName16(const std::string &name);

// The settings key of player i: "Player" followed by the last two digits of i + 100.
std::string PlayerKey(int i);

class Roster {
public:
    // Players numbered 1..PlayerCount(); 0 means nobody.
    int PlayerCount() const { return static_cast<int>(names_.size()); }
    bool hasPlayer(int i) const { return i >= 1 && i <= PlayerCount(); }
    // Player i's name as stored (16 characters); "" for a number that names nobody.
    const std::string &Players(int i) const;
    // Player i's name without its trailing blanks; "" for a number that names nobody.
    std::string shownName(int i) const;

    // Adds a player at the end (the name is fitted to 16 characters); returns its number, or 0
    // (and nothing changes) when the roster already holds kMaxPlayers: a further key would
    // overwrite the name of player 1.
    int addPlayer(const std::string &name);
    // Gives player i a new name; false (and nothing changes) when i names nobody.
    bool renamePlayer(int i, const std::string &name);

    // The current player, 0 for free play; always 0..PlayerCount().
    int CurrentPlayer() const { return current_; }
    // Sets the current player; false (and nothing changes) outside 0..PlayerCount().
    bool setCurrentPlayer(int i);

private:
    std::vector<std::string> names_;
    int current_ = 0;
};

// Reads the roster from the section "Players". A "Count" above 100 reads as 100; a missing one,
// or one that is not a whole number, reads as the number of consecutive keys "Player01",
// "Player02", ... that are stored (at most 100), so that no stored name is taken over by the
// next new player; a missing name reads as its own key; a "Last_Player" that is not a whole number
// 0..Count reads as 0 (free play). Writes nothing.
Roster Load_Players(SettingsStore &store);

// Writes "Count" and the key of every player, in order. Never writes "Last_Player".
void Save_Players(SettingsStore &store, const Roster &roster);

// Writes "Last_Player" as the roster's current player.
void Save_Current_Player(SettingsStore &store, const Roster &roster);

} // namespace tl
