// Play in the game window: clicks on the board, completion and best times, undo and redo,
// pause and the cover, restart, the solution and designs. The game model does the work; these
// handlers add the sounds, the message boxes and the stock file, and redraw.
#include "designer/ui/form_make.h"
#include "game/completion.h"
#include "game/design_guard.h"
#include "game/ui/click_label.h"
#include "game/ui/main_window.h"
#include "game/ui/pause_picture.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QWindowStateChangeEvent>

namespace tl {

void Main::Build_Play()
{
    connect(cmdUndo, &QPushButton::clicked, this, &Main::cmdUndo_Click);
    connect(cmdRedo, &QPushButton::clicked, this, &Main::cmdRedo_Click);
    connect(cmdRestart, &QPushButton::clicked, this, &Main::cmdRestart_Click);
    connect(cmdSolution, &QPushButton::clicked, this, &Main::cmdSolution_Click);
    connect(cmdPauze, &QPushButton::clicked, this, &Main::cmdPauze_Click);
    connect(mnu_solve_undo, &QAction::triggered, this, &Main::cmdUndo_Click);
    connect(mnu_solve_redo, &QAction::triggered, this, &Main::cmdRedo_Click);
    connect(mnu_solve_restart, &QAction::triggered, this, &Main::cmdRestart_Click);
    connect(mnu_solve_solution, &QAction::triggered, this, &Main::cmdSolution_Click);
    connect(mnu_puzzle_design, &QAction::triggered, this, &Main::mnu_puzzle_design_Click);
    // The designer is created on first use and then hidden and shown again, until its window
    // is closed by the frame: then it is deleted and the next opening creates a new one.
    showDesigner = [this, form = QPointer<FormMake>()]() mutable {
        if (!form) {
            form = new FormMake(DesignPuzzle, model_.PlayingDesign, lineTables_,
                                platform_.messages, &platform_.pump, this);
            form->Form_Load();
        }
        form->exec();
        if (form && form->Unloaded())
            delete form;
    };

    // The cover over the whole 14 x 14 board while the game is paused.
    const int side = Px(1320 + 360 * 13 + 375) - Px(1320);
    Shield = new QWidget(centralWidget());
    Shield->setObjectName("Shield");
    Shield->setGeometry(Px(1320), Px(1320), side, side);
    QPalette pal = Shield->palette();
    pal.setColor(QPalette::Window, QColor(34, 52, 96));
    Shield->setPalette(pal);
    Shield->setAutoFillBackground(true);
    Picture1 = new ClickLabel(Shield);
    Picture1->setObjectName("Picture1");
    Picture1->setPixmap(DrawPausePicture());
    Picture1->setGeometry((side - kPausePictureWidth) / 2, (side - kPausePictureHeight) / 2,
                          kPausePictureWidth, kPausePictureHeight);
    Picture1->setCursor(Qt::PointingHandCursor);
    connect(Picture1, &ClickLabel::mouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            Picture1_Click();
    });
    Shield->hide();

    LabelSolved->installEventFilter(this);
}

void Main::Refresh_Play()
{
    Shield->setVisible(model_.ShieldVisible);
}

void Main::Refresh_Cover()
{
    // Raised last, over the coupler marks and lines drawn on the board: the banner hides what
    // lies under it, and the cover of a paused board hides everything on the board.
    if (model_.LabelSolvedVisible)
        LabelSolved->raise();
    if (model_.ShieldVisible)
        Shield->raise();
}

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LabelSolved && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        LabelSolved_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Main::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto *e = static_cast<QWindowStateChangeEvent *>(event);
        const bool justMinimised =
            (windowState() & Qt::WindowMinimized) && !(e->oldState() & Qt::WindowMinimized);
        model_.Form_Resize(justMinimised);
        Refresh();
    }
    QMainWindow::changeEvent(event);
}

// ---- The board -----------------------------------------------------------------------------

void Main::Grid_MouseUp(int index, Qt::MouseButton button)
{
    const int b = button == Qt::LeftButton ? 1 : button == Qt::RightButton ? 2 : 4;
    const auto out = model_.Grid_MouseUp(index, b);
    if (out.assigned)
        Speel(kSoundAssign);
    if (out.solved)
        Complete_Puzzle();
    Refresh();
}

void Main::Complete_Puzzle()
{
    model_.Stop_Clock_For_Completion();
    Refresh();
    Speel(kSoundApplause);
    Record_Best_Time();
    model_.End_Game();
}

void Main::Record_Best_Time()
{
    const int player = roster_.CurrentPlayer();
    const BestTimeChoice choice = DecideBestTime(model_.PlayingDesign || model_.ShowingDesign,
                                                 player, model_.BestMin, model_.BestSec,
                                                 model_.Clock.Elapsed);
    if (!choice.record)
        return;
    const int level = model_.ShownLevel, size = model_.ShownSize;
    const int number = model_.PuzzleNr[level][size];
    PuzzleRecord *record = puzzles_.find(level, size, number);
    // A generation run may have replaced the record while the puzzle was played: the time
    // belongs to the puzzle that was played, which is no longer in the stock.
    if (!record || !SlotHoldsPuzzle(*record, level, size, model_.StartBoard, model_.Solution))
        return;
    record->BestMin = model_.BestMin = choice.minutes;
    record->BestSec = model_.BestSec = choice.seconds;
    record->BestPlayer = model_.BestPlayer = static_cast<std::int16_t>(player);
    Save_Puzzle(stockContext(), level, size, number);
    platform_.messages.show("New Best Time!", "New Best Time for this puzzle. Congratulations!!!",
                            MsgIcon::Information, MsgButtons::Ok);
    model_.StatusPanels[3] = BestTimeText(model_.BestMin, model_.BestSec, player,
                                          roster_.PlayerCount(), roster_.shownName(player));
}

void Main::LabelSolved_Click()
{
    model_.LabelSolved_Click();
    Refresh();
}

// ---- Undo, redo, restart, solution ---------------------------------------------------------

void Main::cmdUndo_Click()
{
    if (model_.Finished || !model_.History.canUndo())
        return;
    Speel(kSoundDiscard);
    model_.cmdUndo_Click();
    Refresh();
}

void Main::cmdRedo_Click()
{
    if (model_.Finished || !model_.History.canRedo())
        return;
    Speel(kSoundUndoRedo);
    model_.cmdRedo_Click();
    Refresh();
}

void Main::cmdRestart_Click()
{
    if (model_.LastCell == 0 || model_.Finished)
        return;
    Speel(kSoundGiggle);
    model_.cmdRestart_Click();
    Refresh();
}

void Main::cmdSolution_Click()
{
    if (model_.LastCell == 0 || model_.Finished)
        return;
    model_.cmdSolution_Click();
    Speel(kSoundError);
    Refresh();
}

// ---- The clock -----------------------------------------------------------------------------

void Main::cmdPauze_Click()
{
    if (model_.LastCell == 0 || model_.Finished)
        return;
    model_.cmdPauze_Click();
    Refresh();
}

void Main::Picture1_Click()
{
    // Resuming is only meaningful while the game is paused.
    if (!model_.ShieldVisible)
        return;
    model_.Picture1_Click();
    Refresh();
}

void Main::Penalty(int Strafseconden)
{
    model_.Penalty(Strafseconden);
}

// ---- Designs -------------------------------------------------------------------------------

void Main::mnu_puzzle_design_Click()
{
    model_.PlayingDesign = false;
    if (showDesigner)
        showDesigner();
    if (model_.PlayingDesign)
        Load_Design();
}

void Main::Load_Design()
{
    // The hand-over is checked once more before play (see design_guard.h): the design is
    // played with the solution and rate of its own given cells, or not at all.
    PuzzleRecord design = DesignPuzzle;
    if (!Revalidate_Design(design, lineTables_)) {
        model_.PlayingDesign = false;
        platform_.messages.show("Validate Result", "Your design has no unique solution.",
                                MsgIcon::None, MsgButtons::Ok);
        Refresh();
        return;
    }
    model_.Load_Design(design, roster_);
    Speel(kSoundLabel);
    model_.Start_Clock();
    Refresh();
}

} // namespace tl
