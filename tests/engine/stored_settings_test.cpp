#include "game/global_helpers.h"
#include "game/roster.h"
#include "game/stored_settings.h"
#include "platform/fake/fakes.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {
void put(MemorySettings &s, const std::string &section, const std::string &key, const std::string &v)
{
    s.values[{"Farrowdel", section, key}] = v;
}
} // namespace

TEST(StoredValues, OnlyTheWrittenFormsAreAccepted)
{
    MemorySettings s;
    for (const char *bad : {"true", "FALSE", " True", "True ", "1", "", "yes"}) {
        put(s, "Options", "Wells", bad);
        EXPECT_TRUE(ReadFlag(s, "Options", "Wells", true)) << bad;
        EXPECT_FALSE(ReadFlag(s, "Options", "Wells", false)) << bad;
    }
    put(s, "Options", "Wells", "False");
    EXPECT_FALSE(ReadFlag(s, "Options", "Wells", true));

    EXPECT_EQ(ParseWholeNumber("0", 0, 3), 0);
    EXPECT_EQ(ParseWholeNumber("3", 0, 3), 3);
    EXPECT_EQ(ParseWholeNumber("100", 0, 100), 100);
    for (const char *bad : {"4", "-1", "", " 1", "1 ", "1.5", "+2", "abc", "99999999999999999999", "0x1"})
        EXPECT_EQ(ParseWholeNumber(bad, 0, 3), std::nullopt) << bad;
}

TEST(Options, EmptyStoreGivesTheDefaultsAndWritesNothing)
{
    MemorySettings s;
    const GameOptions o = Read_Options(s);
    EXPECT_EQ(o, GameOptions{});
    EXPECT_TRUE(o.WellsOn && o.DuplicatesOn && o.UniquenessOn && o.SoundsOn);
    EXPECT_EQ(o.SelectedLevel, 0);
    EXPECT_EQ(o.SelectedSize, 0);
    const LastNumbers n = Load_Last_Numbers(s);
    for (const auto &row : n)
        for (auto v : row)
            EXPECT_EQ(v, 0);
    EXPECT_TRUE(s.writes.empty());
}

TEST(Options, StoredValuesAreReadAndDamagedOnesGiveTheDefault)
{
    MemorySettings s;
    put(s, "Options", "Wells", "False");
    put(s, "Options", "Duplicates", "maybe");
    put(s, "Options", "Uniqueness", "False");
    put(s, "Options", "Sounds", "False");
    put(s, "Options", "Level", "2");
    put(s, "Options", "Size", "3");
    GameOptions o = Read_Options(s);
    EXPECT_FALSE(o.WellsOn);
    EXPECT_TRUE(o.DuplicatesOn);
    EXPECT_FALSE(o.UniquenessOn);
    EXPECT_FALSE(o.SoundsOn);
    EXPECT_EQ(o.SelectedLevel, 2);
    EXPECT_EQ(o.SelectedSize, 3);

    put(s, "Options", "Level", "4");
    put(s, "Options", "Size", "-1");
    o = Read_Options(s);
    EXPECT_EQ(o.SelectedLevel, 0);
    EXPECT_EQ(o.SelectedSize, 0);
    EXPECT_TRUE(s.writes.empty());
}

TEST(Options, SaveWritesAllSixKeysInOrder)
{
    MemorySettings s;
    GameOptions o;
    o.WellsOn = false;
    o.SelectedLevel = 1;
    o.SelectedSize = 3;
    Save_Options(s, o);
    ASSERT_EQ(s.writes.size(), 6u);
    const char *keys[] = {"Wells", "Duplicates", "Uniqueness", "Sounds", "Level", "Size"};
    const char *values[] = {"False", "True", "True", "True", "1", "3"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(s.writes[i].app, "Farrowdel");
        EXPECT_EQ(s.writes[i].section, "Options");
        EXPECT_EQ(s.writes[i].key, keys[i]);
        EXPECT_EQ(s.writes[i].value, values[i]);
    }
    EXPECT_EQ(Read_Options(s), o);
}

TEST(Options, WithoutUsableSoundTheStoredSoundsValueIsKept)
{
    MemorySettings s;
    put(s, "Options", "Sounds", "False");
    GameOptions o;
    o.SoundsOn = true;
    Save_Options(s, o, /*soundsUsable=*/false);
    EXPECT_EQ(s.value("Options", "Sounds"), "False");
    put(s, "Options", "Sounds", "True");
    o.SoundsOn = false; // sounds off only because no audio output exists
    Save_Options(s, o, false);
    EXPECT_EQ(s.value("Options", "Sounds"), "True");
    EXPECT_EQ(s.writes.size(), 12u);
}

TEST(LastNumbers, RoundTripInTheirSectionsAndKeys)
{
    MemorySettings s;
    LastNumbers n{};
    n[1][2] = 7; // Medium 12 x 12
    n[3][3] = 100;
    n[0][0] = 1;
    Save_Last_Numbers(s, n);
    EXPECT_EQ(s.writes.size(), 16u);
    EXPECT_EQ(s.value("Last_Medium", "Size_12"), "7");
    EXPECT_EQ(s.value("Last_Insane", "Size_14"), "100");
    EXPECT_EQ(s.value("Last_Easy", "Size_08"), "1");
    EXPECT_EQ(s.value("Last_Hard", "Size_10"), "0");
    EXPECT_EQ(Load_Last_Numbers(s), n);

    put(s, "Last_Hard", "Size_10", "101");
    put(s, "Last_Easy", "Size_08", "-3");
    put(s, "Last_Insane", "Size_14", "seven");
    const LastNumbers damaged = Load_Last_Numbers(s);
    EXPECT_EQ(damaged[2][1], 0);
    EXPECT_EQ(damaged[0][0], 0);
    EXPECT_EQ(damaged[3][3], 0);
    EXPECT_EQ(damaged[1][2], 7);
}

TEST(Roster, EmptyStoreMeansNoPlayersAndFreePlay)
{
    MemorySettings s;
    const Roster r = Load_Players(s);
    EXPECT_EQ(r.PlayerCount(), 0);
    EXPECT_EQ(r.CurrentPlayer(), 0);
    EXPECT_EQ(r.Players(1), "");
    EXPECT_TRUE(s.writes.empty());
}

TEST(Roster, NamesArePaddedOrCutAndMissingOnesReadAsTheirKey)
{
    MemorySettings s;
    put(s, "Players", "Count", "3");
    put(s, "Players", "Player01", "Anna");
    put(s, "Players", "Player03", "Bartholomew-Smithson");
    put(s, "Players", "Last_Player", "3");
    const Roster r = Load_Players(s);
    ASSERT_EQ(r.PlayerCount(), 3);
    EXPECT_EQ(r.Players(1), "Anna            ");
    EXPECT_EQ(r.Players(2), "Player02        ");
    EXPECT_EQ(r.Players(3), "Bartholomew-Smit");
    EXPECT_EQ(r.shownName(1), "Anna");
    EXPECT_EQ(r.CurrentPlayer(), 3);
    EXPECT_TRUE(s.writes.empty());
}

TEST(Roster, AnUnreadableCountReadsTheStoredKeysSoNoNameIsOverwritten)
{
    // Players 1..3 stored, then a gap, then player 5.
    for (const char *count : std::initializer_list<const char *>{
             "-2", "abc", "", "2.0", "+2", " 2", "2 ", "99999999999", nullptr}) {
        const std::string what = count ? count : "(missing)";
        MemorySettings s;
        if (count)
            put(s, "Players", "Count", count);
        for (int i : {1, 2, 3, 5})
            put(s, "Players", PlayerKey(i), "P" + std::to_string(i));
        put(s, "Players", "Last_Player", "2");
        Roster r = Load_Players(s);
        ASSERT_EQ(r.PlayerCount(), 3) << what;
        EXPECT_EQ(r.shownName(3), "P3") << what;
        EXPECT_EQ(r.CurrentPlayer(), 2) << what;
        EXPECT_TRUE(s.writes.empty()) << what;
        // The next new player takes the first free key and every stored name stays.
        ASSERT_EQ(r.addPlayer("Newcomer"), 4) << what;
        Save_Players(s, r);
        EXPECT_EQ(s.value("Players", "Count"), "4") << what;
        for (int i : {1, 2, 3, 5})
            EXPECT_EQ(Trim_Trailing_Spaces(s.value("Players", PlayerKey(i))), "P" + std::to_string(i))
                << what << " " << i;
    }
    // All 100 keys stored (player 100's key ends in 00): 100 players, none read twice.
    MemorySettings full;
    put(full, "Players", "Count", "-1");
    for (int i = 1; i <= 100; ++i)
        put(full, "Players", PlayerKey(i), "P" + std::to_string(i));
    const Roster r = Load_Players(full);
    ASSERT_EQ(r.PlayerCount(), 100);
    EXPECT_EQ(r.shownName(100), "P100");
    // A name stored as empty text is still a stored key.
    MemorySettings blank;
    put(blank, "Players", "Count", "x");
    put(blank, "Players", "Player01", "");
    EXPECT_EQ(Load_Players(blank).PlayerCount(), 1);
    // A damaged current player still reads as free play.
    for (const char *last : {"3", "-1", "x", "1 "}) {
        MemorySettings s;
        put(s, "Players", "Count", "2");
        put(s, "Players", "Last_Player", last);
        EXPECT_EQ(Load_Players(s).CurrentPlayer(), 0) << last;
    }
}

TEST(Roster, ACountBeyondTheHundredKeysReadsTheHundredAndLosesNoName)
{
    for (const char *count : {"101", "150", "70000"}) {
        MemorySettings s;
        put(s, "Players", "Count", count);
        for (int i = 1; i <= 100; ++i)
            put(s, "Players", PlayerKey(i), "P" + std::to_string(i));
        put(s, "Players", "Last_Player", "100");
        Roster r = Load_Players(s);
        ASSERT_EQ(r.PlayerCount(), 100) << count;
        EXPECT_EQ(r.shownName(1), "P1");
        EXPECT_EQ(r.shownName(100), "P100");
        EXPECT_EQ(r.CurrentPlayer(), 100);
        // The roster is full, so no new name can take player 1's key.
        EXPECT_EQ(r.addPlayer("Newcomer"), 0);
        EXPECT_TRUE(s.writes.empty());
    }
}

TEST(Roster, SavePlayersWritesCountAndEveryNameButNotTheCurrentPlayer)
{
    MemorySettings s;
    Roster r;
    EXPECT_EQ(r.addPlayer("Anna"), 1);
    EXPECT_EQ(r.addPlayer(" Bob"), 2);
    EXPECT_TRUE(r.renamePlayer(1, "Annie"));
    EXPECT_FALSE(r.renamePlayer(3, "Nobody"));
    EXPECT_TRUE(r.setCurrentPlayer(2));
    EXPECT_FALSE(r.setCurrentPlayer(3));
    EXPECT_EQ(r.CurrentPlayer(), 2);
    Save_Players(s, r);
    ASSERT_EQ(s.writes.size(), 3u);
    EXPECT_EQ(s.writes[0].key, "Count");
    EXPECT_EQ(s.writes[0].value, "2");
    EXPECT_EQ(s.writes[1].key, "Player01");
    EXPECT_EQ(s.writes[1].value, "Annie           ");
    EXPECT_EQ(s.writes[2].key, "Player02");
    EXPECT_EQ(s.writes[2].value, " Bob            ");
    EXPECT_FALSE(s.has("Players", "Last_Player"));
    Save_Current_Player(s, r);
    EXPECT_EQ(s.value("Players", "Last_Player"), "2");

    const Roster back = Load_Players(s);
    EXPECT_EQ(back.PlayerCount(), 2);
    EXPECT_EQ(back.Players(1), r.Players(1));
    EXPECT_EQ(back.Players(2), r.Players(2));
    EXPECT_EQ(back.CurrentPlayer(), 2);
}

TEST(Roster, KeysAndTheHundredPlayerLimit)
{
    EXPECT_EQ(PlayerKey(1), "Player01");
    EXPECT_EQ(PlayerKey(9), "Player09");
    EXPECT_EQ(PlayerKey(99), "Player99");
    EXPECT_EQ(PlayerKey(100), "Player00");
    Roster r;
    for (int i = 1; i <= 100; ++i)
        ASSERT_EQ(r.addPlayer("P" + std::to_string(i)), i);
    EXPECT_EQ(r.addPlayer("P101"), 0) << "a 101st name would overwrite player 1's key";
    EXPECT_EQ(r.PlayerCount(), 100);
    EXPECT_EQ(r.shownName(1), "P1");
}

TEST(Roster, NamesAreFittedByCharactersNotBytes)
{
    const std::string name = FitName16("Zoë");
    EXPECT_EQ(name, "Zoë             ");
    // Sixteen two-byte characters plus one more: cut after the sixteenth, never inside one.
    std::string longName;
    for (int i = 0; i < 17; ++i)
        longName += "é";
    EXPECT_EQ(FitName16(longName), longName.substr(0, 32));
}
