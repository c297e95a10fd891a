#include "game/game_model.h"
#include "game/generation_handover.h"
#include "platform/fake/fakes.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {

struct Handover {
    FakeClock clock;
    GameModel m{clock};
    Handover(int selectedLevel, int selectedSize)
    {
        m.SelectedLevel = static_cast<std::int16_t>(selectedLevel);
        m.SelectedSize = static_cast<std::int16_t>(selectedSize);
        m.Update_Generate_Menus();
        m.setEnabled(Command::Design, true);
    }
    int disabledLevels() const
    {
        int n = 0;
        for (bool e : m.LevelItemEnabled)
            n += !e;
        return n;
    }
    int disabledSizes() const
    {
        int n = 0;
        for (bool e : m.SizeItemEnabled)
            n += !e;
        return n;
    }
};

} // namespace

TEST(GenerationHandover, LocksOnlyTheItemThatWouldSelectTheSetBeingGenerated)
{
    Handover easyChecked(0, 2);
    Begin_Generation(easyChecked.m, 0, 0);
    EXPECT_FALSE(easyChecked.m.SizeItemEnabled[0]);
    EXPECT_EQ(easyChecked.disabledSizes(), 1);
    EXPECT_EQ(easyChecked.disabledLevels(), 0);

    Handover size8Checked(1, 0);
    Begin_Generation(size8Checked.m, 0, 0);
    EXPECT_FALSE(size8Checked.m.LevelItemEnabled[0]);
    EXPECT_EQ(size8Checked.disabledLevels(), 1);
    EXPECT_EQ(size8Checked.disabledSizes(), 0);

    Handover neither(1, 1);
    Begin_Generation(neither.m, 0, 0);
    EXPECT_EQ(neither.disabledLevels() + neither.disabledSizes(), 0);
    EXPECT_FALSE(neither.m.GenerateMenuEnabled);
    EXPECT_FALSE(neither.m.enabled(Command::Design));
    EXPECT_EQ(neither.m.GenLevel, 0);
    EXPECT_EQ(neither.m.GenSize, 0);
}

TEST(GenerationHandover, AfterTheRunDesignReturnsOnlyWithoutAGameInPlay)
{
    Handover idle(1, 1);
    idle.m.lblProgress = "Generating Hard 14x14";
    Begin_Generation(idle.m, 2, 3);
    End_Generation(idle.m);
    EXPECT_TRUE(idle.m.GenerateMenuEnabled);
    EXPECT_TRUE(idle.m.enabled(Command::Design));
    EXPECT_EQ(idle.m.lblProgress, "Generating none");
    EXPECT_FALSE(idle.m.GenerateItemEnabled[1][1]) << "the selection is never generable";
    EXPECT_TRUE(idle.m.GenerateItemEnabled[2][3]);

    Handover playing(1, 1);
    Begin_Generation(playing.m, 2, 3);
    playing.m.Finished = false;
    End_Generation(playing.m);
    EXPECT_FALSE(playing.m.enabled(Command::Design));
    EXPECT_TRUE(playing.m.GenerateMenuEnabled);
}
