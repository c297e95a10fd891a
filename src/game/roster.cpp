#include "game/roster.h"

#include "game/global_helpers.h"
#include "game/stored_settings.h"
#include "platform/services.h"

#include <algorithm>
#include <optional>

namespace tl {

namespace {
const char *const kPlayers = "Players";

bool startsCharacter(unsigned char c) { return (c & 0xC0) != 0x80; }
} // namespace

std::string FitName16(const std::string &name)
{
    std::string out;
    int chars = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (startsCharacter(static_cast<unsigned char>(name[i]))) {
            if (chars == kNameLength)
                break;
            ++chars;
        }
        out.push_back(name[i]);
    }
    out.append(static_cast<std::size_t>(kNameLength - chars), ' ');
    return out;
}

std::string PlayerKey(int i)
{
    const int twoDigits = ((i + 100) % 100 + 100) % 100;
    return std::string("Player") + static_cast<char>('0' + twoDigits / 10)
        + static_cast<char>('0' + twoDigits % 10);
}

const std::string &Roster::Players(int i) const
{
    static const std::string nobody;
    return hasPlayer(i) ? names_[static_cast<std::size_t>(i - 1)] : nobody;
}

std::string Roster::shownName(int i) const
{
    return Trim_Trailing_Spaces(Players(i));
}

int Roster::addPlayer(const std::string &name)
{
    if (PlayerCount() >= kMaxPlayers)
        return 0;
    names_.push_back(FitName16(name));
    return PlayerCount();
}

bool Roster::renamePlayer(int i, const std::string &name)
{
    if (!hasPlayer(i))
        return false;
    names_[static_cast<std::size_t>(i - 1)] = FitName16(name);
    return true;
}

bool Roster::setCurrentPlayer(int i)
{
    if (i < 0 || i > PlayerCount())
        return false;
    current_ = i;
    return true;
}

Roster Load_Players(SettingsStore &store)
{
    Roster r;
    // A count beyond the 100 distinct keys can only come from an older roster that kept
    // growing; its first 100 keys are still all stored, so they are read rather than dropped (a
    // roster read as empty would write its next new player over the name of player 1). For the
    // same reason a missing or unreadable count is taken as the number of consecutive player
    // keys that are stored.
    const std::optional<int> stored =
        ParseWholeNumber(store.get(kAppName, kPlayers, "Count", ""), 0, 999999999);
    int count = 0;
    if (stored)
        count = std::min(*stored, kMaxPlayers);
    else
        while (count < kMaxPlayers && HasStoredKey(store, kPlayers, PlayerKey(count + 1)))
            ++count;
    for (int i = 1; i <= count; ++i) {
        const std::string key = PlayerKey(i);
        r.addPlayer(store.get(kAppName, kPlayers, key, key));
    }
    r.setCurrentPlayer(ReadWholeNumber(store, kPlayers, "Last_Player", 0, 0, r.PlayerCount()));
    return r;
}

void Save_Players(SettingsStore &store, const Roster &roster)
{
    // One change: interrupted at any point, the file holds the old roster or the new one.
    std::vector<SettingsEntry> entries{{kPlayers, "Count", std::to_string(roster.PlayerCount())}};
    for (int i = 1; i <= roster.PlayerCount(); ++i)
        entries.push_back({kPlayers, PlayerKey(i), roster.Players(i)});
    store.setAll(kAppName, entries);
}

void Save_Current_Player(SettingsStore &store, const Roster &roster)
{
    store.set(kAppName, kPlayers, "Last_Player", std::to_string(roster.CurrentPlayer()));
}

} // namespace tl
