// What the game window does around a generation run: the menus it locks before the run and
// restores after it. The run itself belongs to the generator.
#pragma once

namespace tl {

class GameModel;

// Before the run of (level, sizeIndex): the Level and Size items are enabled except the one that
// would make the set being generated the selection; the Generate menu and Design are disabled.
void Begin_Generation(GameModel &m, int level, int sizeIndex);

// After the run returned (completed, halted or declined): the Generate menu is back, Design only
// when no game is in play, the Generate items follow the selection and the progress label reads
// "Generating none".
void End_Generation(GameModel &m);

} // namespace tl
