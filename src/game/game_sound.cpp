#include "game/game_sound.h"

#include "game/game_model.h"
#include "platform/services.h"

namespace tl {

const char *const kSoundFiles[kSoundCount] = {
    "Applause.wav", "Discard.wav", "Assign.wav", "ResetCell.wav", "Solution.wav",
    "Label.wav",    "UndoRedo.wav", "Hint.wav",  "Error.wav",     "Giggle.wav"};

void GameSound::Init_Sound(const std::string &programFolder, GameModel &model)
{
    model.SoundsOn = true;
    if (service_.usable()) {
        for (int id = 0; id < kSoundCount; ++id)
            SoundIds[id] = service_.load(programFolder + kSoundFiles[id]);
    } else {
        model.SoundsOn = false;
        model.SoundsItemEnabled = false;
    }
}

void GameSound::Speel(int mmid, const GameModel &model)
{
    if (mmid < 0 || mmid >= static_cast<int>(SoundIds.size()))
        return;
    if (SoundIds[mmid] > 0 && model.SoundsOn)
        service_.play(SoundIds[mmid]);
}

} // namespace tl
