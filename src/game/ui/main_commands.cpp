// The game window's commands: taking a puzzle (Next, Open), players, level and size, options.
#include "game/ui/main_window.h"

#include "game/stored_settings.h"
#include "players/ui/form_namen.h"

#include <QLabel>

namespace tl {

void Main::cmdNext_Click()
{
    const int number = model_.Step_Puzzle_Number();
    Save_Last_Numbers(platform_.settings, model_.PuzzleNr);
    const PuzzleRecord *record = puzzles_.find(model_.ShownLevel, model_.ShownSize, number);
    if (!record)
        return;
    model_.Show_Puzzle(*record, roster_);
    Speel(kSoundLabel);
    model_.Start_Clock();
    Refresh();
}

void Main::cmdOpen_Click()
{
    for (;;) {
        const std::string answer = platform_.input.ask("Enter a value between 1 and 100",
                                                       "Vivere Puzzle number", "1");
        if (answer.empty())
            return;
        const int number = ReadPuzzleNumber(answer);
        if (number >= 1 && number <= kPuzzlesPerSet) {
            // Next steps the number on to the one asked for.
            model_.PuzzleNr[model_.SelectedLevel][model_.SelectedSize] =
                static_cast<std::int16_t>(number - 1);
            cmdNext_Click();
            return;
        }
    }
}

void Main::cmdPlayers_Click()
{
    formNamen_->Centre_Over(frameGeometry());
    formNamen_->exec();
    setWindowTitle(QString::fromStdString(WindowCaption(roster_)));
}

void Main::mnu_level_n_Click(int index)
{
    if (model_.mnu_level_n_Click(index))
        Save_Options();
    Refresh();
}

void Main::mnu_size_n_Click(int index)
{
    if (model_.mnu_size_n_Click(index))
        Save_Options();
    Refresh();
}

void Main::mnu_options_sounds_Click()
{
    model_.Toggle_Sounds();
    Save_Options();
    Refresh();
}

void Main::mnu_options_wells_Click()
{
    model_.WellsOn = !model_.WellsOn;
    Save_Options();
    model_.Show_Wells();
    Refresh();
}

void Main::mnu_options_duplicates_Click()
{
    model_.Toggle_Duplicates();
    Save_Options();
    model_.Aids.Show_Duplicates(model_.Aids_Board(), model_.DuplicatesOn, model_.PairMinCount);
    Refresh();
}

void Main::mnu_options_uniqueness_Click()
{
    model_.Toggle_Uniqueness();
    Save_Options();
    model_.Aids.Show_Uniqueness(model_.Aids_Board(), model_.UniquenessOn);
    Refresh();
}

void Main::Timer1_Timer()
{
    model_.Timer1_Timer();
    LabelTijd->setText(QString::fromStdString(model_.LabelTijd));
    LabelTijd->repaint();
}

} // namespace tl
