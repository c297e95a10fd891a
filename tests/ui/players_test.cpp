// The roster in the game window and the players dialog: caption, choosing, adding and renaming
// players, and what they leave in the settings store.
#include "game_window_fixture.h"

#include "players/ui/form_namen.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tl::test {
namespace {

std::string Padded(const std::string &name)
{
    return name + std::string(16 - name.size(), ' ');
}

class PlayersTest : public GameWindowTest {
protected:
    // Shows the dialog from the Players button and runs `steps` while it is open. The steps
    // must end the showing (OK, Cancel, Free Play or the close box).
    void WithDialog(const std::function<void(FormNamen &)> &steps)
    {
        WhileShown<FormNamen>(*window->formNamen(), [&] { window->cmdPlayers->click(); }, steps);
    }

    static void Type(FormNamen &d, const QString &text)
    {
        d.NaamInvoerveld->clear();
        QTest::keyClicks(d.NaamInvoerveld, text);
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Return);
    }

    static bool Browsing(const FormNamen &d)
    {
        return !d.NaamInvoerveld->isEnabled() && d.KnopNieuweSpeler->isEnabled() &&
               d.KnopAnnuleren->isEnabled() && d.NaamLijst->isEnabled();
    }

    static void Select(FormNamen &d, int row) { d.NaamLijst->setCurrentRow(row); }

    void StoreRoster(const std::vector<std::string> &names, int current)
    {
        Set("Players", "Count", std::to_string(names.size()));
        for (std::size_t i = 0; i < names.size(); ++i)
            Set("Players", PlayerKey(static_cast<int>(i) + 1), Padded(names[i]));
        Set("Players", "Last_Player", std::to_string(current));
    }
};

TEST_F(PlayersTest, StoredRosterTitlesTheWindowAndFillsTheList)
{
    Set("Players", "Count", "3");
    Set("Players", "Player01", Padded("Ann"));
    Set("Players", "Player03", "A name much longer than sixteen");
    Set("Players", "Last_Player", "1");
    Main &w = Started();
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Ann is playing");
    QListWidget *list = w.formNamen()->NaamLijst;
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text().toStdString(), Padded("Ann"));
    EXPECT_EQ(list->item(1)->text().toStdString(), Padded("Player02")); // missing: its key
    EXPECT_EQ(list->item(2)->text().toStdString(), "A name much long");
    EXPECT_FALSE(w.formNamen()->isVisible());
}

TEST_F(PlayersTest, FirstPlayerIsAddedSavedSelectedAndChosenWithOk)
{
    Main &w = Started();
    WithDialog([&](FormNamen &d) {
        EXPECT_EQ(d.windowTitle(), "Vivere Puzzles - Players");
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.NaamLijst->count(), 0);
        EXPECT_FALSE(d.KnopOK->isEnabled());
        EXPECT_FALSE(d.KnopWijzigen->isEnabled());

        d.KnopNieuweSpeler->click();
        EXPECT_TRUE(d.NaamInvoerveld->isEnabled());
        for (QWidget *c : std::initializer_list<QWidget *>{d.KnopNieuweSpeler, d.KnopAnnuleren,
                                                          d.KnopOK, d.KnopWijzigen, d.NaamLijst})
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        EXPECT_TRUE(d.CommandFree->isEnabled());

        Type(d, "Ann  ");
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.Selected_Row(), 0);
        EXPECT_TRUE(d.KnopOK->isEnabled());
        EXPECT_EQ(Stored("Players", "Count"), "1");
        EXPECT_EQ(Stored("Players", "Player01"), Padded("Ann"));
        EXPECT_FALSE(fake.settings.has("Players", "Last_Player"));
        d.KnopOK->click();
    });
    EXPECT_EQ(Stored("Players", "Last_Player"), "1");
    EXPECT_EQ(w.roster().CurrentPlayer(), 1);
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Ann is playing");
}

TEST_F(PlayersTest, CancelAndTheCloseBoxChangeNothingFreePlayAlwaysWrites)
{
    StoreRoster({"Ann", "Bob"}, 2);
    Main &w = Started();
    const QString caption = w.windowTitle();
    WithDialog([&](FormNamen &d) {
        Select(d, 0);
        d.KnopAnnuleren->click();
    });
    WithDialog([&](FormNamen &d) {
        Select(d, 0);
        d.close();
    });
    EXPECT_EQ(w.windowTitle(), caption);
    EXPECT_EQ(w.roster().CurrentPlayer(), 2);
    EXPECT_TRUE(fake.settings.writes.empty());

    WithDialog([&](FormNamen &d) { d.CommandFree->click(); });
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Free Play (no player selected)");
    EXPECT_EQ(Stored("Players", "Last_Player"), "0");
    WithDialog([&](FormNamen &d) { d.CommandFree->click(); });
    EXPECT_EQ(fake.settings.writes.size(), 2u);
}

TEST_F(PlayersTest, DoubleClickChoosesThePlayer)
{
    StoreRoster({"Ann", "Bob"}, 0);
    Main &w = Started();
    WithDialog([&](FormNamen &d) {
        Select(d, 1);
        d.NaamLijst_DblClick();
    });
    EXPECT_EQ(Stored("Players", "Last_Player"), "2");
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Bob is playing");

    // Enter in the list presses OK once a row is selected, and nothing before.
    WithDialog([&](FormNamen &d) {
        QTest::keyClick(d.NaamLijst, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        Select(d, 0);
        QTest::keyClick(d.NaamLijst, Qt::Key_Return);
    });
    EXPECT_EQ(Stored("Players", "Last_Player"), "1");
}

TEST_F(PlayersTest, RenamingTheCurrentPlayerRetitlesTheWindow)
{
    StoreRoster({"Ann", "Bob"}, 1);
    Main &w = Started();
    WithDialog([&](FormNamen &d) {
        Select(d, 0);
        d.KnopWijzigen->click();
        EXPECT_EQ(d.NaamInvoerveld->text(), "Ann");
        Type(d, "Anne");
        EXPECT_EQ(d.Selected_Row(), 0);
        EXPECT_EQ(d.NaamLijst->item(0)->text(), "Anne");
        d.KnopAnnuleren->click();
    });
    EXPECT_EQ(Stored("Players", "Player01"), Padded("Anne"));
    EXPECT_EQ(Stored("Players", "Player02"), Padded("Bob"));
    EXPECT_EQ(Stored("Players", "Count"), "2");
    for (const auto &write : fake.settings.writes)
        EXPECT_NE(write.key, "Last_Player"); // a new name does not change who is playing
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - Anne is playing");
}

TEST_F(PlayersTest, AStoredNameOfSixteenCharactersIsEditedWhole)
{
    StoreRoster({"Wilhelmina Grote", "Bob"}, 1);
    Started();
    WithDialog([&](FormNamen &d) {
        Select(d, 0);
        d.KnopWijzigen->click();
        EXPECT_EQ(d.NaamInvoerveld->text(), "Wilhelmina Grote");
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Return);
        EXPECT_TRUE(fake.messages.shown.empty());
        // Back to browsing, a new name is again limited to 15 typed characters.
        d.KnopNieuweSpeler->click();
        QTest::keyClicks(d.NaamInvoerveld, "ABCDEFGHIJKLMNOPQ");
        EXPECT_EQ(d.NaamInvoerveld->text(), "ABCDEFGHIJKLMNO");
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Escape);
        d.KnopAnnuleren->click();
    });
    EXPECT_EQ(Stored("Players", "Player01"), "Wilhelmina Grote");
}

TEST_F(PlayersTest, RejectedNamesLeaveTheRosterAndStayInNameEntry)
{
    StoreRoster({"Ann", "Bob"}, 0);
    Started();
    WithDialog([&](FormNamen &d) {
        d.KnopNieuweSpeler->click();
        Type(d, "Ann");
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].title, "Oh no, not another Ann !!!");
        EXPECT_EQ(fake.messages.shown[0].text,
                  "Yeah yeah, I know there are more people having that name,\nbut Ann is "
                  "allready in use.\nA unique name is required,\nso, use your imagination.");
        EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::Information);
        EXPECT_TRUE(d.NaamInvoerveld->isEnabled());
        EXPECT_EQ(d.NaamInvoerveld->text(), "Ann");

        d.NaamInvoerveld->setText("   ");
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Return);
        EXPECT_EQ(fake.messages.shown.back().title, "My name is Nobody");
        EXPECT_EQ(fake.messages.shown.back().text,
                  "If you want to stay unknown,\nuse a nick name.");
        Type(d, "");
        EXPECT_EQ(fake.messages.shown.back().title, "Loss of memory ?");
        EXPECT_EQ(fake.messages.shown.back().text,
                  "Did you suffer from memory loss ?\nCome on, think very deeply, try to "
                  "remember your own name.");
        EXPECT_TRUE(fake.settings.writes.empty());

        // Another mix of case, or a leading blank, makes another name.
        Type(d, "ann");
        d.KnopNieuweSpeler->click();
        Type(d, " Ann");
        EXPECT_EQ(d.NaamLijst->count(), 4);

        // Bob may keep his own name, but not take Ann's.
        Select(d, 1);
        d.KnopWijzigen->click();
        Type(d, "Ann");
        EXPECT_EQ(fake.messages.shown.back().title, "Oh no, not another Ann !!!");
        Type(d, "Bob");
        EXPECT_EQ(fake.messages.shown.size(), 4u);
        EXPECT_TRUE(Browsing(d));
        d.KnopAnnuleren->click();
    });
    EXPECT_EQ(Stored("Players", "Count"), "4");
    EXPECT_EQ(Stored("Players", "Player03"), Padded("ann"));
    EXPECT_EQ(Stored("Players", "Player04"), Padded(" Ann"));
    EXPECT_EQ(Stored("Players", "Player02"), Padded("Bob"));
}

TEST_F(PlayersTest, EscapeLeavesNameEntryWithTheSelectionItBeganWith)
{
    StoreRoster({"Ann"}, 0);
    Started();
    WithDialog([&](FormNamen &d) {
        d.KnopNieuweSpeler->click();
        QTest::keyClicks(d.NaamInvoerveld, "Zed");
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Escape);
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.NaamInvoerveld->text(), "");
        EXPECT_FALSE(d.KnopOK->isEnabled());
        EXPECT_TRUE(d.isVisible()); // Esc in the name box does not cancel the dialog

        Select(d, 0);
        d.KnopWijzigen->click();
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Escape);
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.Selected_Row(), 0);
        EXPECT_TRUE(d.KnopOK->isEnabled());
        EXPECT_TRUE(d.KnopWijzigen->isEnabled());
        // In browsing, Esc is Cancel.
        QTest::keyClick(d.NaamLijst, Qt::Key_Escape);
    });
    EXPECT_TRUE(fake.settings.writes.empty());
}

TEST_F(PlayersTest, DialogAlwaysReopensBrowsingAndIsNeverDestroyed)
{
    StoreRoster({"Ann"}, 1);
    Main &w = Started();
    FormNamen *dialog = w.formNamen();
    WithDialog([&](FormNamen &d) {
        Select(d, 0);
        d.KnopWijzigen->click();
        QTest::keyClicks(d.NaamInvoerveld, "x");
        d.CommandFree->click(); // usable during name entry
    });
    WithDialog([&](FormNamen &d) {
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.NaamInvoerveld->text(), "");
        EXPECT_EQ(d.Selected_Row(), -1);
        EXPECT_FALSE(d.KnopOK->isEnabled());
        d.KnopNieuweSpeler->click();
        d.close(); // the close box during name entry
    });
    WithDialog([&](FormNamen &d) {
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.NaamLijst->count(), 1);
        d.KnopAnnuleren->click();
    });
    EXPECT_EQ(w.formNamen(), dialog);
    // Only Free Play wrote anything: the name typed and abandoned was never saved.
    ASSERT_EQ(fake.settings.writes.size(), 1u);
    EXPECT_EQ(fake.settings.writes[0].key, "Last_Player");
    EXPECT_EQ(Stored("Players", "Player01"), Padded("Ann"));
}

// Minimising and restoring the dialog is no new showing: the selection and a name being
// typed stay as they were.
TEST_F(PlayersTest, RestoringTheDialogKeepsTheSelectionAndTheNameEntry)
{
    StoreRoster({"Ann", "Bob"}, 1);
    Started();
    WithDialog([&](FormNamen &d) {
        Select(d, 1);
        MinimiseAndRestore(d);
        EXPECT_EQ(d.Selected_Row(), 1);
        EXPECT_TRUE(d.KnopOK->isEnabled());
        d.KnopWijzigen->click();
        QTest::keyClicks(d.NaamInvoerveld, "x");
        const QString typed = d.NaamInvoerveld->text();
        MinimiseAndRestore(d);
        EXPECT_TRUE(d.In_Name_Entry());
        EXPECT_EQ(d.NaamInvoerveld->text(), typed);
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Escape);
        EXPECT_TRUE(Browsing(d));
        EXPECT_EQ(d.Selected_Row(), 1);
        d.KnopAnnuleren->click();
    });
    WithDialog([&](FormNamen &d) { // a new showing starts with no row selected
        EXPECT_EQ(d.Selected_Row(), -1);
        d.KnopAnnuleren->click();
    });
    EXPECT_TRUE(fake.settings.writes.empty());
}

TEST_F(PlayersTest, AHundredPlayersFillTheRosterAndA101stIsRefused)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 99; ++i)
        names.push_back("P" + std::to_string(i));
    StoreRoster(names, 0);
    Started();
    WithDialog([&](FormNamen &d) {
        d.KnopNieuweSpeler->click();
        Type(d, "Hundred");
        EXPECT_EQ(Stored("Players", "Count"), "100");
        EXPECT_EQ(Stored("Players", "Player00"), Padded("Hundred"));
        EXPECT_TRUE(fake.messages.shown.empty());

        d.KnopNieuweSpeler->click();
        fake.settings.writes.clear();
        Type(d, "One more");
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::Information);
        EXPECT_NE(fake.messages.shown[0].text.find("100"), std::string::npos);
        EXPECT_TRUE(fake.settings.writes.empty());
        EXPECT_EQ(d.NaamLijst->count(), 100);
        QTest::keyClick(d.NaamInvoerveld, Qt::Key_Escape);
        d.KnopAnnuleren->click();
    });
    EXPECT_EQ(Stored("Players", "Player01"), Padded("P1"));
    EXPECT_EQ(Stored("Players", "Count"), "100");
}

TEST_F(PlayersTest, NamesAreShownAsPlainText)
{
    StoreRoster({"<b>Bold</b>"}, 1);
    Main &w = Started();
    EXPECT_EQ(w.windowTitle(), "Dornel's Tilloran - <b>Bold</b> is playing");
    EXPECT_EQ(w.formNamen()->NaamLijst->item(0)->text().trimmed(), "<b>Bold</b>");
    EXPECT_EQ(w.formNamen()->NaamInvoerveld->maxLength(), 15);
}

} // namespace
} // namespace tl::test

namespace tl::test {
namespace {

TEST_F(PlayersTest, DialogControlsStandWhereTheyBelongWithTheirTextsAndColours)
{
    Main &w = Started();
    FormNamen &d = *w.formNamen();
    EXPECT_EQ(d.size(), QSize(381, 308));
    EXPECT_EQ(d.palette().color(QPalette::Window), QColor(255, 192, 128));
    EXPECT_EQ(d.Label1->text(), "Add or Edit Player and/or Select Player and press OK -or- Press "
                                "Cancel for Free Play (NoPlayer Selected)");
    struct Place {
        QWidget *w;
        QRect twips;
        const char *caption;
    };
    const Place places[] = {
        {d.Label1, {360, 120, 4815, 495}, nullptr},
        {d.KnopNieuweSpeler, {120, 840, 2655, 495}, "&New Player"},
        {d.NaamInvoerveld, {120, 1440, 2655, 375}, nullptr},
        {d.KnopWijzigen, {120, 1920, 2655, 495}, "&Edit Player"},
        {d.KnopAnnuleren, {120, 2760, 2655, 495}, "&Cancel"},
        {d.CommandFree, {120, 3360, 2655, 495}, "&Free Play"},
        {d.KnopOK, {120, 3960, 2655, 495}, "&OK"},
        {d.NaamLijst, {2880, 840, 2655, 3630}, nullptr},
    };
    for (const Place &p : places) {
        const QRect px(p.twips.x() / 15, p.twips.y() / 15, p.twips.width() / 15,
                       p.twips.height() / 15);
        EXPECT_EQ(p.w->geometry(), px) << p.w->objectName().toStdString();
        if (auto *b = qobject_cast<QPushButton *>(p.w)) {
            EXPECT_EQ(b->text().toStdString(), p.caption);
            EXPECT_TRUE(b->font().bold()) << p.caption;
        }
    }
    // The heading's lines fit its box, so none of it is cut off.
    EXPECT_LE(d.Label1->heightForWidth(d.Label1->width()), d.Label1->height());
    EXPECT_EQ(d.NaamInvoerveld->maxLength(), 15);
    EXPECT_EQ(d.NaamInvoerveld->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(d.NaamInvoerveld->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_TRUE(d.KnopOK->isDefault());
}

} // namespace
} // namespace tl::test
