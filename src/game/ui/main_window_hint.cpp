// The Hint button and its menu item, and the game window as the hint engine sees it: the engine
// colours cell labels, writes the message line, loads coupler lines, charges penalties and plays
// sounds through this adapter, which changes the window's model and leaves the drawing to
// Refresh.
#include "game/ui/main_window.h"
#include "hints/hint_engine.h"

#include <QAction>
#include <QPushButton>

namespace tl {

namespace {

class MainHintWindow : public HintWindow {
public:
    explicit MainHintWindow(Main &main) : main_(main), model_(main.model()) {}

    bool ShieldVisible() const override { return model_.ShieldVisible; }
    void Picture1_Click() override { main_.Picture1_Click(); }
    void SetCellColour(int gridIndex, Rgb colour) override
    {
        if (gridIndex >= 0 && gridIndex < kGridCells)
            model_.Grid[gridIndex].back = colour;
    }
    void SetInfo(const std::string &text) override { model_.lblInfo = text; }
    void AddCoupler(const CouplerLine &line) override { model_.Couplers.Add_Coupler(line); }
    int CouplerCount() const override { return model_.Couplers.CouplerCount(); }
    void UnloadCouplers() override { model_.Couplers.Erase_Couplers(); }
    void Penalty(int Strafseconden) override { main_.Penalty(Strafseconden); }
    void Speel(int MMID) override { main_.Speel(MMID); }

private:
    Main &main_;
    GameModel &model_;
};

} // namespace

void Main::Wire_Hint()
{
    connect(cmdHint, &QPushButton::clicked, this, &Main::cmdHint_Click);
    connect(mnu_solve_hint, &QAction::triggered, this, &Main::cmdHint_Click);
}

void Main::cmdHint_Click()
{
    // Only a game in progress has hints (the button is disabled otherwise).
    if (model_.LastCell == 0 || model_.Finished)
        return;
    Erase_Couplers();
    MainHintWindow window(*this);
    Show_Hint(HintPuzzle{model_.Board, model_.Solution, model_.GridSize, model_.LastCell,
                         model_.Finished},
              lineTables_, window);
    Refresh();
}

} // namespace tl
