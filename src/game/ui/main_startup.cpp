// Start-up and shut-down of the game window, the roster, sounds and options.
#include "game/ui/main_window.h"

#include "game/best_time_reset.h"
#include "game/stored_settings.h"
#include "players/ui/form_namen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

namespace tl {

namespace {

const char *const kCriticalErrorText =
    "The program failed to open the file with binary puzzles, and therefore cannot proceed. "
    "Make sure that the file 'DudEzadu.qzk' is in the program folder before rerunning the "
    "program. If it keeps on failing, you can try to reinstall the program. Program will be "
    "aborted.";

} // namespace

StockContext Main::stockContext()
{
    return StockContext{folders_.ProgramFolder, folders_.DataFolder, platform_.messages,
                        puzzles_};
}

bool Main::Form_Load()
{
    // Centred on the screen.
    adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }

    folders_ = Set_Folders(platform_.folders);
    Init_Sound();

    formNamen_ = new FormNamen(roster_, platform_.settings, platform_.messages, this);
    formNamen_->Form_Load();
    Load_Print_Dialog();

    Setup_Players();
    setWindowTitle(QString::fromStdString(WindowCaption(roster_)));

    const StockContext ctx = stockContext();
    const bool firstRun = Ensure_Stock_File(ctx);
    if (!Load_Stock(ctx)) {
        platform_.messages.show("Critical Error!", kCriticalErrorText, MsgIcon::Critical,
                                MsgButtons::Ok);
        return false;
    }
    if (firstRun)
        Clear_All_Best_Times(ctx);

    Init_Line_Tables(lineTables_, thresholds_);
    model_.PuzzleNr = Load_Last_Numbers(platform_.settings);
    model_.ProgressValue = 0;
    model_.WellsOn = model_.DuplicatesOn = model_.UniquenessOn = true;
    model_.Aids.DupColor = colour::White;
    model_.Clock.Paused = false;
    model_.PlayingDesign = false;
    Load_Options();
    model_.Prepare_Empty_Board();

    Refresh();
    show();
    return true;
}

void Main::Setup_Players()
{
    roster_ = Load_Players(platform_.settings);
    formNamen_->Fill_List();
}

void Main::Init_Sound()
{
    sound_.Init_Sound(folders_.ProgramFolder, model_);
}

void Main::Speel(int mmid)
{
    sound_.Speel(mmid, model_);
}

void Main::Load_Options()
{
    const GameOptions options = Read_Options(platform_.settings);
    model_.LoadingOptions = true;
    model_.WellsOn = options.WellsOn;
    model_.Show_Wells();
    model_.DuplicatesOn = options.DuplicatesOn;
    model_.UniquenessOn = options.UniquenessOn;
    // Without an audio output the stored choice is kept for a later run but not applied.
    if (model_.SoundsItemEnabled)
        model_.SoundsOn = options.SoundsOn;
    model_.mnu_level_n_Click(options.SelectedLevel);
    model_.mnu_size_n_Click(options.SelectedSize);
    model_.LoadingOptions = false;
}

void Main::Save_Options()
{
    GameOptions options;
    options.WellsOn = model_.WellsOn;
    options.DuplicatesOn = model_.DuplicatesOn;
    options.UniquenessOn = model_.UniquenessOn;
    options.SoundsOn = model_.SoundsOn;
    options.SelectedLevel = model_.SelectedLevel;
    options.SelectedSize = model_.SelectedSize;
    tl::Save_Options(platform_.settings, options, model_.SoundsItemEnabled);
}

bool Main::Ask_Quit()
{
    return platform_.messages.show("Quit Dornel's Tilloran", "Do you really want to quit ?",
                                   MsgIcon::None, MsgButtons::YesNo) == MsgAnswer::Yes;
}

void Main::Quit_Now()
{
    // Every setting was written (and synced) when it changed; nothing is saved now.
    endProgram(0);
}

void Main::closeEvent(QCloseEvent *event)
{
    if (!Ask_Quit()) {
        event->ignore();
        return;
    }
    Quit_Now();
    event->accept();
}

void Main::cmdExit_Click()
{
    if (Ask_Quit())
        Quit_Now();
}

} // namespace tl
