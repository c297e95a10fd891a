#include "game/generation_handover.h"

#include "game/game_model.h"

namespace tl {

void Begin_Generation(GameModel &m, int level, int sizeIndex)
{
    m.LevelItemEnabled.fill(true);
    m.SizeItemEnabled.fill(true);
    if (m.SelectedLevel == level)
        m.SizeItemEnabled[sizeIndex] = false;
    else if (m.SelectedSize == sizeIndex)
        m.LevelItemEnabled[level] = false;
    m.GenerateMenuEnabled = false;
    m.setEnabled(Command::Design, false);
    m.GenLevel = static_cast<std::int16_t>(level);
    m.GenSize = static_cast<std::int16_t>(sizeIndex);
}

void End_Generation(GameModel &m)
{
    m.GenerateMenuEnabled = true;
    if (m.Finished)
        m.setEnabled(Command::Design, true);
    m.Update_Generate_Menus();
    m.lblProgress = "Generating none";
}

} // namespace tl
