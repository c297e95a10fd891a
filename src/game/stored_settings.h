// The game's options and last puzzle numbers in the per-user settings store, and the readers of
// stored values that every part of the game uses.
//
// Every value is stored as text. The store is a file the user can edit, so a reader accepts only
// the forms the game itself writes ("True"/"False" for a flag, plain decimal digits in range for
// a number); anything else reads as the key's default. Readers never write anything back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tl {

class SettingsStore;

// A stored flag: "True" or "False" exactly; anything else (a missing key included) gives
// `defaultValue`.
bool ReadFlag(SettingsStore &store, const std::string &section, const std::string &key,
              bool defaultValue);

// The whole number that `text` spells in plain decimal digits, when it lies in min..max.
std::optional<int> ParseWholeNumber(const std::string &text, int min, int max);

// A stored whole number in min..max; anything else (a missing key included) gives
// `defaultValue`.
int ReadWholeNumber(SettingsStore &store, const std::string &section, const std::string &key,
                    int defaultValue, int min, int max);

// True when the store holds a value (of any text) for the key.
bool HasStoredKey(SettingsStore &store, const std::string &section, const std::string &key);

// The text of a flag as stored.
inline const char *FlagText(bool on) { return on ? "True" : "False"; }

// ---- Options ---------------------------------------------------------------------------------
// Section "Options": "Wells", "Duplicates", "Uniqueness", "Sounds" (flags, default "True"),
// "Level" and "Size" (0..3, default "0").
struct GameOptions {
    bool WellsOn = true;
    bool DuplicatesOn = true;
    bool UniquenessOn = true;
    bool SoundsOn = true;
    std::int16_t SelectedLevel = 0; // 0 Easy .. 3 Insane
    std::int16_t SelectedSize = 0;  // 0 (8 x 8) .. 3 (14 x 14)

    bool operator==(const GameOptions &) const = default;
};

// Reads the section "Options"; the game window applies the values.
GameOptions Read_Options(SettingsStore &store);

// Writes all six keys of "Options", in the order "Wells", "Duplicates", "Uniqueness", "Sounds",
// "Level", "Size". With `soundsUsable` false the stored "Sounds" is written back unchanged
// instead of the in-memory flag, so a run without an audio output does not turn sounds off for
// later runs.
void Save_Options(SettingsStore &store, const GameOptions &options, bool soundsUsable = true);

// ---- Last puzzle numbers ---------------------------------------------------------------------
// Sections "Last_Easy" .. "Last_Insane" (level 0..3), keys "Size_08" .. "Size_14" (size index
// 0..3): the number of the puzzle last put on the board in each set, 0..100 (0: none yet).
using LastNumbers = std::array<std::array<std::int16_t, 4>, 4>; // [level][size index]

std::string LastNumbersSection(int level); // "Last_Easy", ... ("" outside 0..3)
std::string LastNumbersKey(int sizeIndex); // "Size_08", ... ("" outside 0..3)

LastNumbers Load_Last_Numbers(SettingsStore &store);
// Writes all sixteen numbers, changed or not.
void Save_Last_Numbers(SettingsStore &store, const LastNumbers &numbers);

} // namespace tl
