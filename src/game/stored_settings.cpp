#include "game/stored_settings.h"

#include "game/global_helpers.h"
#include "platform/services.h"

namespace tl {

namespace {
const char *const kOptions = "Options";
const char *const kLastSections[4] = {"Last_Easy", "Last_Medium", "Last_Hard", "Last_Insane"};
const char *const kSizeKeys[4] = {"Size_08", "Size_10", "Size_12", "Size_14"};
} // namespace

bool ReadFlag(SettingsStore &store, const std::string &section, const std::string &key,
              bool defaultValue)
{
    const std::string v = store.get(kAppName, section, key, FlagText(defaultValue));
    if (v == "True")
        return true;
    if (v == "False")
        return false;
    return defaultValue;
}

std::optional<int> ParseWholeNumber(const std::string &text, int min, int max)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

int ReadWholeNumber(SettingsStore &store, const std::string &section, const std::string &key,
                    int defaultValue, int min, int max)
{
    const std::string v = store.get(kAppName, section, key, std::to_string(defaultValue));
    return ParseWholeNumber(v, min, max).value_or(defaultValue);
}

bool HasStoredKey(SettingsStore &store, const std::string &section, const std::string &key)
{
    // The store answers with the default for a missing key; no stored text can equal two
    // different defaults.
    return store.get(kAppName, section, key, "\x01") != "\x01"
        || store.get(kAppName, section, key, "\x02") != "\x02";
}

GameOptions Read_Options(SettingsStore &store)
{
    GameOptions o;
    o.WellsOn = ReadFlag(store, kOptions, "Wells", true);
    o.DuplicatesOn = ReadFlag(store, kOptions, "Duplicates", true);
    o.UniquenessOn = ReadFlag(store, kOptions, "Uniqueness", true);
    o.SoundsOn = ReadFlag(store, kOptions, "Sounds", true);
    o.SelectedLevel = static_cast<std::int16_t>(ReadWholeNumber(store, kOptions, "Level", 0, 0, 3));
    o.SelectedSize = static_cast<std::int16_t>(ReadWholeNumber(store, kOptions, "Size", 0, 0, 3));
    return o;
}

void Save_Options(SettingsStore &store, const GameOptions &o, bool soundsUsable)
{
    const bool sounds = soundsUsable ? o.SoundsOn : ReadFlag(store, kOptions, "Sounds", true);
    store.setAll(kAppName, {{kOptions, "Wells", FlagText(o.WellsOn)},
                            {kOptions, "Duplicates", FlagText(o.DuplicatesOn)},
                            {kOptions, "Uniqueness", FlagText(o.UniquenessOn)},
                            {kOptions, "Sounds", FlagText(sounds)},
                            {kOptions, "Level", std::to_string(o.SelectedLevel)},
                            {kOptions, "Size", std::to_string(o.SelectedSize)}});
}

std::string LastNumbersSection(int level)
{
    return level >= 0 && level < 4 ? kLastSections[level] : "";
}

std::string LastNumbersKey(int sizeIndex)
{
    return sizeIndex >= 0 && sizeIndex < 4 ? kSizeKeys[sizeIndex] : "";
}

LastNumbers Load_Last_Numbers(SettingsStore &store)
{
    LastNumbers n{};
    for (int level = 0; level < 4; ++level)
        for (int size = 0; size < 4; ++size)
            n[level][size] = static_cast<std::int16_t>(
                ReadWholeNumber(store, kLastSections[level], kSizeKeys[size], 0, 0, 100));
    return n;
}

void Save_Last_Numbers(SettingsStore &store, const LastNumbers &numbers)
{
    std::vector<SettingsEntry> entries;
    for (int level = 0; level < 4; ++level)
        for (int size = 0; size < 4; ++size)
            entries.push_back({kLastSections[level], kSizeKeys[size], std::to_string(numbers[level][size])});
    store.setAll(kAppName, entries);
}

} // namespace tl
