// The Print item: the print dialog, loaded hidden at start-up, shown modally over a paused game.
#include "game/ui/main_window.h"
#include "printing/ui/form_print.h"

#include <QAction>

namespace tl {

void Main::Load_Print_Dialog()
{
    formPrint_ = new FormPrint(puzzles_, platform_.printer, platform_.messages,
                               folders_.ProgramFolder, this);
    formPrint_->Form_Load();
    connect(mnu_puzzle_print, &QAction::triggered, this, &Main::mnu_puzzle_print_Click);
}

void Main::mnu_puzzle_print_Click()
{
    // A game in play is paused while the dialog is open and runs on when it closes, also a
    // game the player had paused before. Without a game in play both steps do nothing.
    const bool inPlay = model_.LastCell != 0 && !model_.Finished;
    if (inPlay)
        cmdPauze_Click();
    formPrint_->exec();
    if (inPlay)
        Picture1_Click();
}

} // namespace tl
