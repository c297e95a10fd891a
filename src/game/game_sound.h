// The game's sounds: ten wave files beside the program, loaded once at start-up and played by
// number (MMID) at game events.
#pragma once

#include <array>
#include <string>

namespace tl {

class SoundService;
class GameModel;

// The sound numbers and their files.
enum Mmid : int {
    kSoundApplause = 0,
    kSoundDiscard = 1,
    kSoundAssign = 2,
    kSoundResetCell = 3,
    kSoundSolution = 4,
    kSoundLabel = 5,
    kSoundUndoRedo = 6,
    kSoundHint = 7,
    kSoundError = 8,
    kSoundGiggle = 9,
};
constexpr int kSoundCount = 10;
extern const char *const kSoundFiles[kSoundCount];

class GameSound {
public:
    explicit GameSound(SoundService &service) : service_(service) {}

    // Switches sounds on and, when an audio output exists, loads the ten files from
    // `programFolder` (ending in "/"). Without an audio output sounds go off and the Sounds
    // menu item is unchecked and disabled.
    void Init_Sound(const std::string &programFolder, GameModel &model);

    // Plays sound `mmid` when sounds are on and that sound was loaded.
    void Speel(int mmid, const GameModel &model);

    // The handle of each sound, 0 while not loaded.
    std::array<int, 12> SoundIds{};

private:
    SoundService &service_;
};

} // namespace tl
