// The game window's solving-aid markers, the player's coupler marks, the help pages, the
// best-time resets and the hand-over of a generation run.
#include "game/ui/main_window_aids.h"

#include "game/best_time_reset.h"
#include "game/generation_handover.h"
#include "game/ui/click_label.h"
#include "game/ui/coupler_widgets.h"
#include "game/web_pages.h"
#include "solver/generator.h"
#include "solver/solver.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

namespace tl {

namespace {
// Turns a click on a plain label into a call.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject *parent, std::function<void()> onClick)
        : QObject(parent), onClick_(std::move(onClick))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *me = static_cast<QMouseEvent *>(event);
            auto *w = qobject_cast<QWidget *>(watched);
            if (me->button() == Qt::LeftButton && w && w->rect().contains(me->position().toPoint()))
                onClick_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onClick_;
};
} // namespace

RatingSolver &Main::solver()
{
    return aids_->solver;
}

CouplerWidgets &Main::couplerWidgets()
{
    return aids_->couplerWidgets;
}

void Main::Wire_Aids()
{
    aids_ = std::make_unique<AidsParts>(*this);

    auto onLeft = [](ClickLabel *label, QObject *ctx, std::function<void()> f) {
        QObject::connect(label, &ClickLabel::mouseUp, ctx, [f](Qt::MouseButton b) {
            if (b == Qt::LeftButton)
                f();
        });
    };
    onLeft(DupColor, this, [this] { DupColor_Click(); });
    for (int i = 0; i < int(UniqueRow.size()); ++i) {
        onLeft(UniqueRow[i], this, [this, i] { UniqueRow_Click(i); });
        onLeft(UniqueCol[i], this, [this, i] { UniqueCol_Click(i); });
    }
    for (int i = 0; i < kLineCount; ++i) {
        onLeft(Line_X[i], this, [this, i] { Line_X_Click(i); });
        onLeft(Line_Y[i], this, [this, i] { Line_Y_Click(i); });
    }

    connect(cmdHelp, &QPushButton::clicked, this, &Main::cmdHelp_Click);
    connect(mnu_help_contents, &QAction::triggered, this, &Main::cmdHelp_Click);
    connect(mnu_help_website, &QAction::triggered, this, &Main::mnu_help_website_Click);
    Label2->installEventFilter(new ClickFilter(this, [this] { Label2_Click(); }));
    Label2->setCursor(Qt::PointingHandCursor);

    connect(mnu_reset_selection, &QAction::triggered, this, &Main::mnu_reset_selection_Click);
    connect(mnu_reset_level, &QAction::triggered, this, &Main::mnu_reset_level_Click);
    connect(mnu_reset_all, &QAction::triggered, this, &Main::mnu_reset_all_Click);

    for (int l = 0; l < kLevels; ++l)
        for (int s = 0; s < kSizes; ++s)
            connect(mnu_puzzle_gen[l][s], &QAction::triggered, this,
                    [this, l, s] { mnu_puzzle_gen_Click(l, s); });
    connect(cmdHaltGenerator, &QPushButton::clicked, this, &Main::cmdHaltGenerator_Click);
}

// ---- Solving aids ---------------------------------------------------------------------------

void Main::DupColor_Click()
{
    model_.Aids.DupColor_Click();
    Refresh();
}

void Main::Line_X_Click(int index)
{
    if (model_.Aids.Line_X_Click(index, model_.Aids_Board(), model_.UniquenessOn))
        Refresh();
}

void Main::Line_Y_Click(int index)
{
    if (model_.Aids.Line_Y_Click(index, model_.Aids_Board(), model_.UniquenessOn))
        Refresh();
}

void Main::UniqueCol_Click(int index)
{
    if (model_.Aids.UniqueCol_Click(index, model_.Aids_Board(), model_.DuplicatesOn))
        Refresh();
}

void Main::UniqueRow_Click(int index)
{
    if (model_.Aids.UniqueRow_Click(index, model_.Aids_Board(), model_.DuplicatesOn))
        Refresh();
}

// ---- Coupler marks --------------------------------------------------------------------------

void Main::Erase_Couplers()
{
    model_.Couplers.Erase_Couplers();
    Refresh();
}

void Main::Toggle_Custom_Coupler(int Col1, int Col2, int Row1, int Row2, int Kind)
{
    model_.Couplers.Toggle_Custom_Coupler(Col1, Col2, Row1, Row2, Kind);
    Refresh();
}

void Main::Clear_Custom_Couplers()
{
    model_.Couplers.Clear_Custom_Couplers();
    Refresh();
}

void Main::Refresh_Couplers()
{
    if (!aids_)
        return;
    aids_->couplerWidgets.sync();
    // The marks and the hint's lines lie over the cells, but never over the cover of a paused
    // board (they would show where the player was working) nor over the end-of-game banner.
    if (model_.ShieldVisible && Shield)
        Shield->raise();
    if (model_.LabelSolvedVisible && LabelSolved)
        LabelSolved->raise();
}

// ---- Help and web pages ---------------------------------------------------------------------

void Main::cmdHelp_Click()
{
    Open_Web_Page(platform_.browser, platform_.messages,
                  HelpPagePath(platform_.folders.programFolder()), true);
}

void Main::mnu_help_website_Click()
{
    Open_Web_Page(platform_.browser, platform_.messages, kMakerWebSite, false);
}

void Main::Label2_Click()
{
    Open_Web_Page(platform_.browser, platform_.messages, kMakerWebSite, false);
}

// ---- Best-time resets -----------------------------------------------------------------------

void Main::Reset_Times(int scope)
{
    const auto s = static_cast<ResetScope>(scope);
    const std::string question = ResetQuestion(s, model_.ShownLevel, model_.ShownSize);
    if (platform_.messages.show(kResetTitle, question, MsgIcon::Exclamation, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    Reset_Best_Times(stockContext(), s, model_.ShownLevel, model_.ShownSize);
    model_.BestMin = 0;
    model_.BestSec = 0;
    model_.BestPlayer = 0;
    model_.StatusPanels[3] = "Best Time: 00:00 (No Best Time Yet)";
    Refresh();
}

void Main::mnu_reset_selection_Click()
{
    Reset_Times(static_cast<int>(ResetScope::Selection));
}

void Main::mnu_reset_level_Click()
{
    Reset_Times(static_cast<int>(ResetScope::Level));
}

void Main::mnu_reset_all_Click()
{
    Reset_Times(static_cast<int>(ResetScope::All));
}

// ---- Generation -----------------------------------------------------------------------------

void Main::mnu_puzzle_gen_Click(int level, int sizeIndex)
{
    if (level < 0 || level >= kLevels || sizeIndex < 0 || sizeIndex >= kSizes ||
        !model_.GenerateMenuEnabled)
        return;
    Begin_Generation(model_, level, sizeIndex);
    Refresh();
    Generator &generator = aids_->generator;
    if (generator.threads > 1 && !aids_->pool)
        aids_->pool = std::make_unique<PassPool>(lineTables_, generator.threads);
    generator.pool = aids_->pool.get();
    std::int16_t l = static_cast<std::int16_t>(level), s = static_cast<std::int16_t>(sizeIndex);
    generator.Generate_Puzzle_Set(l, s);
    End_Generation(model_);
    Refresh();
}

void Main::cmdHaltGenerator_Click()
{
    if (platform_.messages.show("Stop generating new Vivere Puzzles?",
                                "Are you sure you want to stop the Generator?", MsgIcon::Question,
                                MsgButtons::YesNo) == MsgAnswer::Yes)
        aids_->solver.HaltGenerator = true;
}

} // namespace tl
