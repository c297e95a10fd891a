#include "players/name_entry.h"

#include "game/roster.h"

namespace tl {

NameEntry Enter_Name(Roster &roster, SettingsStore &store, const std::string &typed,
                     int selectedRow)
{
    std::string name = typed;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name.empty())
        return {typed.empty() ? NameVerdict::MemoryLoss : NameVerdict::Nobody, name, 0};

    // A row that names nobody (the list and the roster always agree) takes a new player.
    const int self = roster.hasPlayer(selectedRow + 1) ? selectedRow + 1 : 0;
    for (int i = 1; i <= roster.PlayerCount(); ++i) {
        if (i != self && roster.shownName(i) == name)
            return {NameVerdict::Duplicate, name, i};
    }

    NameEntry entry{NameVerdict::Added, name, 0};
    if (self == 0) {
        entry.player = roster.addPlayer(name);
        if (entry.player == 0)
            return {NameVerdict::RosterFull, name, 0};
    } else {
        roster.renamePlayer(self, name);
        entry = {NameVerdict::Renamed, name, self};
    }
    Save_Players(store, roster);
    return entry;
}

NameMessage Rejection_Message(const NameEntry &entry)
{
    switch (entry.verdict) {
    case NameVerdict::Nobody:
        return {"My name is Nobody", "If you want to stay unknown,\nuse a nick name."};
    case NameVerdict::MemoryLoss:
        return {"Loss of memory ?", "Did you suffer from memory loss ?\nCome on, think very "
                                    "deeply, try to remember your own name."};
    case NameVerdict::Duplicate:
        return {"Oh no, not another " + entry.name + " !!!",
                "Yeah yeah, I know there are more people having that name,\nbut " + entry.name +
                    " is allready in use.\nA unique name is required,\nso, use your "
                    "imagination."};
    case NameVerdict::RosterFull:
        return {"No room for another player",
                "The list of players is full: it holds " + std::to_string(kMaxPlayers) +
                    " players.\nGive one of them a new name instead."};
    default:
        return {};
    }
}

} // namespace tl
