// The game window's menu bar: seven menus, their access keys, check marks and enabled states.
// An item that does what a button does calls the button's procedure and is enabled exactly
// when the button is.
#include "game/ui/main_window.h"

#include <QMenu>
#include <QMenuBar>

namespace tl {

namespace {

QAction *Item(QMenu *menu, const char *name, const char *caption)
{
    QAction *a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    return a;
}

QMenu *Menu(QMenuBar *bar, QMenu *parent, const char *name, const char *caption)
{
    QMenu *m = parent ? parent->addMenu(QString::fromUtf8(caption))
                      : bar->addMenu(QString::fromUtf8(caption));
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

const char *const kLevelCaptions[kLevels] = {"&Easy", "&Medium", "&Hard", "&Insane"};
const char *const kLevelKeys[kLevels] = {"easy", "medium", "hard", "insane"};
const char *const kSizeCaptions[kSizes] = {"&A - 8 X 8", "&B - 10 X 10", "&C - 12 X 12",
                                           "&D - 14 X 14"};

} // namespace

void Main::Build_Menus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName("menuBar");

    mnu_puzzle = Menu(bar, nullptr, "mnu_puzzle", "&Puzzle");
    mnu_puzzle_open = Item(mnu_puzzle, "mnu_puzzle_open", "&Open...");
    mnu_puzzle_next = Item(mnu_puzzle, "mnu_puzzle_next", "&Next");
    mnu_puzzle_design = Item(mnu_puzzle, "mnu_puzzle_design", "&Design...");
    mnu_puzzle->addSeparator();
    mnu_puzzle_players = Item(mnu_puzzle, "mnu_puzzle_players", "P&layers...");
    mnu_puzzle->addSeparator();
    mnu_puzzle_print = Item(mnu_puzzle, "mnu_puzzle_print", "&Print...");
    mnu_puzzle->addSeparator();
    mnu_puzzle_exit = Item(mnu_puzzle, "mnu_puzzle_exit", "E&xit");
    connect(mnu_puzzle_open, &QAction::triggered, this, &Main::cmdOpen_Click);
    connect(mnu_puzzle_next, &QAction::triggered, this, &Main::cmdNext_Click);
    connect(mnu_puzzle_players, &QAction::triggered, this, &Main::cmdPlayers_Click);
    connect(mnu_puzzle_exit, &QAction::triggered, this, &Main::cmdExit_Click);

    mnu_level = Menu(bar, nullptr, "mnu_level", "&Level");
    for (int i = 0; i < kLevels; ++i) {
        const QString name = QString("mnu_level_n_%1").arg(i);
        mnu_level_n[i] = Item(mnu_level, name.toUtf8().constData(), kLevelCaptions[i]);
        mnu_level_n[i]->setCheckable(true);
        connect(mnu_level_n[i], &QAction::triggered, this, [this, i] { mnu_level_n_Click(i); });
    }

    mnu_size = Menu(bar, nullptr, "mnu_size", "&Size");
    for (int i = 0; i < kSizes; ++i) {
        const QString name = QString("mnu_size_n_%1").arg(i);
        mnu_size_n[i] = Item(mnu_size, name.toUtf8().constData(), kSizeCaptions[i]);
        mnu_size_n[i]->setCheckable(true);
        connect(mnu_size_n[i], &QAction::triggered, this, [this, i] { mnu_size_n_Click(i); });
    }

    mnu_solve = Menu(bar, nullptr, "mnu_solve", "Sol&ve");
    mnu_solve_restart = Item(mnu_solve, "mnu_solve_restart", "&Restart");
    mnu_solve_undo = Item(mnu_solve, "mnu_solve_undo", "&Undo");
    mnu_solve_redo = Item(mnu_solve, "mnu_solve_redo", "Re&do");
    mnu_solve->addSeparator();
    mnu_solve_hint = Item(mnu_solve, "mnu_solve_hint", "&Hint");
    mnu_solve_solution = Item(mnu_solve, "mnu_solve_solution", "&Solution");

    mnu_options = Menu(bar, nullptr, "mnu_options", "&Options");
    mnu_options_sounds = Item(mnu_options, "mnu_options_sounds", "&Sounds");
    mnu_options_wells = Item(mnu_options, "mnu_options_wells", "&Wells");
    mnu_options_duplicates = Item(mnu_options, "mnu_options_duplicates", "&Duplicates");
    mnu_options_uniqueness = Item(mnu_options, "mnu_options_uniqueness", "&Uniqueness");
    for (QAction *a : {mnu_options_sounds, mnu_options_wells, mnu_options_duplicates,
                       mnu_options_uniqueness})
        a->setCheckable(true);
    connect(mnu_options_sounds, &QAction::triggered, this, &Main::mnu_options_sounds_Click);
    connect(mnu_options_wells, &QAction::triggered, this, &Main::mnu_options_wells_Click);
    connect(mnu_options_duplicates, &QAction::triggered, this,
            &Main::mnu_options_duplicates_Click);
    connect(mnu_options_uniqueness, &QAction::triggered, this,
            &Main::mnu_options_uniqueness_Click);
    mnu_options->addSeparator();
    mnu_reset_time = Menu(bar, mnu_options, "mnu_reset_time", "&Reset Time");
    mnu_reset_selection = Item(mnu_reset_time, "mnu_reset_selection", "&Selection (Level - Size)");
    mnu_reset_level = Item(mnu_reset_time, "mnu_reset_level", "&Level");
    mnu_reset_all = Item(mnu_reset_time, "mnu_reset_all", "&All");

    mnu_puzzle_generate = Menu(bar, nullptr, "mnu_puzzle_generate", "&Generate new set");
    for (int l = 0; l < kLevels; ++l) {
        const QString levelName = QString("mnu_puzzle_gen_%1").arg(kLevelKeys[l]);
        mnu_puzzle_gen_level[l] = Menu(bar, mnu_puzzle_generate,
                                       levelName.toUtf8().constData(), kLevelCaptions[l]);
        for (int s = 0; s < kSizes; ++s) {
            const QString name = QString("%1_%2").arg(levelName).arg(SideOfSizeIndex(s));
            mnu_puzzle_gen[l][s] =
                Item(mnu_puzzle_gen_level[l], name.toUtf8().constData(), kSizeCaptions[s]);
        }
    }

    mnu_help = Menu(bar, nullptr, "mnu_help", "&Help");
    mnu_help_contents = Item(mnu_help, "mnu_help_contents", "&Contents...");
    mnu_help->addSeparator();
    mnu_help_website = Item(mnu_help, "mnu_help_website", "&Dornel-Software on the Web...");
}

void Main::Refresh_Menus()
{
    const GameModel &m = model_;
    mnu_puzzle_open->setEnabled(m.enabled(Command::Open));
    mnu_puzzle_next->setEnabled(m.enabled(Command::Next));
    mnu_puzzle_design->setEnabled(m.enabled(Command::Design));
    mnu_puzzle_players->setEnabled(m.enabled(Command::Players));
    mnu_puzzle_print->setEnabled(m.enabled(Command::Print));
    mnu_puzzle_exit->setEnabled(m.enabled(Command::Exit));

    for (int i = 0; i < kLevels; ++i) {
        mnu_level_n[i]->setChecked(m.SelectedLevel == i);
        mnu_level_n[i]->setEnabled(m.LevelItemEnabled[i]);
    }
    for (int i = 0; i < kSizes; ++i) {
        mnu_size_n[i]->setChecked(m.SelectedSize == i);
        mnu_size_n[i]->setEnabled(m.SizeItemEnabled[i]);
    }

    mnu_solve_restart->setEnabled(m.enabled(Command::Restart));
    mnu_solve_undo->setEnabled(m.enabled(Command::Undo));
    mnu_solve_redo->setEnabled(m.enabled(Command::Redo));
    mnu_solve_hint->setEnabled(m.enabled(Command::Hint));
    mnu_solve_solution->setEnabled(m.enabled(Command::Solution));

    mnu_options_sounds->setChecked(m.SoundsOn);
    mnu_options_sounds->setEnabled(m.SoundsItemEnabled);
    mnu_options_wells->setChecked(m.WellsOn);
    mnu_options_duplicates->setChecked(m.DuplicatesOn);
    mnu_options_uniqueness->setChecked(m.UniquenessOn);

    mnu_puzzle_generate->menuAction()->setEnabled(m.GenerateMenuEnabled);
    for (int l = 0; l < kLevels; ++l)
        for (int s = 0; s < kSizes; ++s)
            mnu_puzzle_gen[l][s]->setEnabled(m.GenerateItemEnabled[l][s]);

    mnu_help_contents->setEnabled(m.enabled(Command::Help));
}

} // namespace tl
