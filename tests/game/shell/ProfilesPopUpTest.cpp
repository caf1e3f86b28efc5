// The players pop-up and its name entry on the shipped data over the main menu: typing a name
// (capitals, fifteen characters, no control characters), names that are taken whatever their
// letter case or blanks, new, rename, pick and delete, the six slots, and OK's save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "engine/data/BlockFile.h"

using namespace shelltest;

namespace {

class ProfilesPopUpTest : public ShellTest {
protected:
    // The index naming these players (the first current), each with a progress file of its own.
    void WritePlayers(const std::vector<std::string>& names) {
        std::string index = "Settings{\n\tCurrProfile = \"" + CreateNewProfile(names[0])->FileName + "\"\n}\n";
        for (const auto& name : names) {
            auto p = CreateNewProfile(name);
            index += "Profile{\n\tId = \"" + p->FileName + "\"\n\tName = \"" + name + "\"\n}\n";
            testsupport::WriteFileBytes(user.file("Profiles/" + p->FileName + ".AppProfile"),
                                        "Data{\n\tName = \"" + name + "\"\n\tLevel = 3\n}\n");
        }
        testsupport::WriteFileBytes(user.file("Profiles/Profiles.dat"), index);
    }
    void OpenPlayers() {
        Click(MenuButton(13));
        Frames(kAnimFrames);
        ASSERT_TRUE(Shown(Profiles));
    }
    // New (or Rename), the text typed, then Return; the entry closes.
    void Enter(const TUIButtonPtr& button, const std::string& typed) {
        Click(button);
        Frames(kAnimFrames);
        ASSERT_TRUE(Shown(EnterName));
        Type(typed);
        Key(KEY_ENTER);
        Frames(kAnimFrames);
        ASSERT_FALSE(Shown(EnterName));
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& p : Profiles->ProfilesList) names.push_back(p->name);
        return names;
    }
    std::string SlotText(int k) { return Profiles->ProfileButton[k]->SubText[0]->Text; }
    void Quiet(const std::function<void()>& f) {
        testing::internal::CaptureStdout();
        f();
        testing::internal::GetCapturedStdout();
    }
};

TEST_F(ProfilesPopUpTest, TypingANameInCapitalsUpToFifteenCharacters) {
    StartShell();
    OpenPlayers();
    Click(Profiles->ButtonNew);
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(EnterName));
    EXPECT_EQ(EnterName->GetText(), "");
    // Empty: no OK, and Return does nothing.
    EXPECT_FALSE(Enabled(EnterName->OkButton));
    Key(KEY_ENTER);
    EXPECT_TRUE(Shown(EnterName));
    EXPECT_FALSE(EnterName->CentPoint->isCurrentAnimationId(2));

    // Letters of any script in capitals; spaces, tabs and control characters are not taken.
    Type("an n\t\x7f\xc2\x85\xc3\xa9");
    EXPECT_EQ(EnterName->GetText(), "ANN\xc3\x89");
    EXPECT_EQ(EnterName->Enter->Text, "ANN\xc3\x89");
    EXPECT_TRUE(Enabled(EnterName->OkButton));
    // The caret stands after the text.
    const float caret = EnterName->Cursor->CurrState->dim->x;
    EXPECT_GT(caret, EnterName->Enter->Width / 2.0f);
    Key(KEY_BACKSPACE);
    EXPECT_EQ(EnterName->GetText(), "ANN");
    EXPECT_LT(EnterName->Cursor->CurrState->dim->x, caret);

    // Fifteen characters at most; backspace frees a place again.
    Type("0123456789abcdefg");
    EXPECT_EQ(EnterName->GetText(), "ANN0123456789AB");
    Key(KEY_BACKSPACE);
    Type("z!");
    EXPECT_EQ(EnterName->GetText(), "ANN0123456789AZ");

    // Escape closes without a player.
    Key(KEY_ESCAPE);
    Frames(kAnimFrames);
    EXPECT_FALSE(Shown(EnterName));
    EXPECT_EQ(EnterName->Decision, 0);
    EXPECT_EQ(Names(), std::vector<std::string>{"PLAYER"});
}

TEST_F(ProfilesPopUpTest, ANameTakenInAnyLetterCaseOrWithBlanksIsRefused) {
    StartShell();
    OpenPlayers();
    Enter(Profiles->ButtonNew, "Ann");
    ASSERT_EQ(Names(), (std::vector<std::string>{"PLAYER", "ANN"}));

    // The list holds each player's name; an entry is compared trimmed and in capitals.
    const struct {
        const char* names;  // the list handed over
        const char* edited;
        const char* entry;
        bool taken;
    } cases[] = {
        {"ANN", "", "ANN", true},
        {"ANN", "", "ann", true},
        {"ANN", "", "  ann ", true},  // an entry with blanks (only pasted text has them)
        {"\xc3\x89VA", "", "\xc3\xa9va", true},
        {"ANN", "", "ANNA", false},
        {"ANN", "ann", "Ann", false},  // a player may keep the own name, in any case
        {"ANN", "ANN ", "ANN", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        // The entry as given (text pasted in may hold blanks), the name being edited apart.
        EnterName->SetData({c.names, "PLAYER"}, c.entry);
        EnterName->EditedName = UpperUnicode(c.edited);
        EnterName->UpdateCheck();
        EXPECT_EQ(Enabled(EnterName->ErrorText), c.taken);
        EXPECT_EQ(Enabled(EnterName->OkButton), !c.taken);
    }
    // Through the pop-up: "ann" is taken, and OK cannot be pressed.
    Click(Profiles->ButtonNew);
    Frames(kAnimFrames);
    Type("ann");
    EXPECT_TRUE(Enabled(EnterName->ErrorText));
    EXPECT_FALSE(Enabled(EnterName->OkButton));
    Key(KEY_ENTER);
    EXPECT_EQ(Names().size(), 2u);
    // The last guard holds too: the pop-up makes no second player of that name.
    EnterName->SetData(Profiles->GetProfilesNamesList(), " ann ");
    Profiles->Question = 3;
    EnterName->Decision = 1;
    Quiet([&] { Profiles->OnUnlock(); });
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(ProfilesPopUpTest, NewRenamePickDeleteAndOkWriteTheList) {
    StartShell();
    OpenPlayers();
    // A new player with the mouse: typed, then OK, made once although the engine asks the
    // pop-up's buttons twice a frame; it is current at once, in the next slot.
    Click(Profiles->ButtonNew);
    Frames(kAnimFrames);
    Type("bob");
    Click(EnterName->OkButton);
    EXPECT_EQ(Names(), (std::vector<std::string>{"PLAYER", "BOB"}));
    Frames(kAnimFrames);
    EXPECT_FALSE(Shown(EnterName));
    EXPECT_EQ(Profile->name, "BOB");
    EXPECT_EQ(Profile->Level, 0);
    EXPECT_EQ(SlotText(1), "BOB");
    EXPECT_TRUE(Enabled(Profiles->ProfilePicked[1]));
    EXPECT_FALSE(Enabled(Profiles->ProfilePicked[0]));

    // Rename the current player: the name shown keeps its letter case until edited.
    Click(Profiles->ButtonRename);
    Frames(kAnimFrames);
    EXPECT_EQ(EnterName->GetText(), "BOB");
    Type("by");
    Key(KEY_ENTER);
    Frames(kAnimFrames);
    EXPECT_EQ(Profile->name, "BOBBY");
    EXPECT_EQ(Profile->FileName, "66-79-66-66-89");
    // Cancelled: nothing changes.
    Click(Profiles->ButtonRename);
    Frames(kAnimFrames);
    Type("x");
    Click(EnterName->CancelButton);
    Frames(kAnimFrames);
    EXPECT_EQ(Profile->name, "BOBBY");

    // Pick the first player, then leave with OK: the list is written with her current.
    Click(Profiles->ProfileButton[0]);
    EXPECT_EQ(Profile->name, "PLAYER");
    Click(Profiles->ButtonOk);
    Frames(kAnimFrames);
    EXPECT_FALSE(Shown(Profiles));
    auto index = LoadBlockFile(user.file("Profiles/Profiles.dat"));
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "80-76-65-89-69-82");
    ASSERT_EQ(GetBlockFilesList(index, "Profile").size(), 2u);
    EXPECT_EQ(GetBFString(GetBlockFilesList(index, "Profile")[1], "Name"), "BOBBY");
    EXPECT_EQ(FileType(user.file("Profiles/66-79-66-66-89.AppProfile")), 1);

    // Delete asks first; No keeps everyone, Yes removes the current player and the slots close up.
    OpenPlayers();
    Click(Profiles->ButtonDelete);
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(InfoPopUp));
    EXPECT_EQ(InfoPopUp->Text->Text, "Delete the player PLAYER?");
    Click(InfoPopUp->No);
    Frames(kAnimFrames);
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(Profile->name, "PLAYER");
    Click(Profiles->ButtonDelete);
    Frames(kAnimFrames);
    Click(InfoPopUp->Yes);
    Frames(kAnimFrames);
    EXPECT_EQ(Names(), std::vector<std::string>{"BOBBY"});
    EXPECT_EQ(Profile->name, "BOBBY");
    EXPECT_EQ(SlotText(0), "BOBBY");
    EXPECT_FALSE(Enabled(Profiles->ProfileButton[1]));
    // With one player left, Delete is gone.
    EXPECT_FALSE(Enabled(Profiles->ButtonDelete));
    // No file was removed: the deleted player's files went to the deleted players' folder, where
    // a rebuilt list of players never finds them.
    EXPECT_EQ(FileType(user.file("Profiles/80-76-65-89-69-82.AppProfile")), 0);
    EXPECT_EQ(FileType(user.file("Profiles/Deleted/80-76-65-89-69-82.AppProfile")), 1);
}

TEST_F(ProfilesPopUpTest, SixSlotsSixPlayers) {
    // A list of eight (written by hand, or by an older game): the first six fill the slots; the
    // others are left out with a warning and their files stay as they were.
    const std::vector<std::string> eight{"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8"};
    WritePlayers(eight);
    const std::string seventh = testsupport::ReadFileBytes(user.file("Profiles/65-55.AppProfile"));
    testing::internal::CaptureStdout();
    StartShell();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("A7"), std::string::npos) << out;
    ASSERT_EQ(Names(), (std::vector<std::string>{"A1", "A2", "A3", "A4", "A5", "A6"}));
    OpenPlayers();
    for (int k = 0; k < 6; ++k) EXPECT_EQ(SlotText(k), eight[k]);
    EXPECT_FALSE(Enabled(Profiles->ButtonNew));
    Click(Profiles->ButtonOk);
    Frames(kAnimFrames);
    EXPECT_EQ(testsupport::ReadFileBytes(user.file("Profiles/65-55.AppProfile")), seventh);

    // Full: New is off; deleting a player makes room again.
    OpenPlayers();
    Profiles->PickProfile(5);
    Click(Profiles->ButtonDelete);
    Frames(kAnimFrames);
    Click(InfoPopUp->Yes);
    Frames(kAnimFrames);
    EXPECT_TRUE(Enabled(Profiles->ButtonNew));
    Enter(Profiles->ButtonNew, "a9");
    EXPECT_EQ(Names().back(), "A9");
    EXPECT_FALSE(Enabled(Profiles->ButtonNew));
}

// A name as wide as the name entry takes (fifteen of its widest capital) is drawn smaller in its
// slot, clear of the tag sewn on at the slot's left end and of the slot's right end; a shorter
// name after a rename is drawn at full size again.
TEST_F(ProfilesPopUpTest, AFifteenLetterWideNameFitsItsSlot) {
    const std::string wide(15, 'W');
    WritePlayers({"ANN", wide, "BO"});
    StartShell();
    OpenPlayers();
    ASSERT_EQ(SlotText(1), wide);
    TPixmapPtr shot = testsupport::ScreenTest::Frame(true);
    ASSERT_TRUE(shot);
    const auto& wideSlot = Profiles->ProfileButton[1];
    const float sx = static_cast<float>(GraphicsWidth()) / VirtualResolutionWidth();
    const float sy = static_cast<float>(GraphicsHeight()) / VirtualResolutionHeight();
    auto pixel = [&](const TUIButtonPtr& slot, int x, int y) {
        const int px = static_cast<int>((slot->DrawX + static_cast<float>(x) + AspectOffsetX) * sx);
        const int py = static_cast<int>((slot->DrawY + static_cast<float>(y) + AspectOffsetY) * sy);
        return shot->ReadPixel(px, py) & 0xFFFFFF;
    };
    // The name's ink (its class's dark brown, and the slot's cream or the tag's blue blended
    // with it) stays clear of the tag (14 to 36) and of the slot's right end.
    auto ink = [](int c) {
        const int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
        return r < 200 && g < 160 && b < 120 && r > b;
    };
    int outside = 0, inside = 0;
    for (int y = 8; y < wideSlot->Height - 8; ++y)
        for (int x = 12; x < wideSlot->Width - 12; ++x) {
            const bool margin = x < 40 || x >= wideSlot->Width - 40;
            (margin ? outside : inside) += ink(pixel(wideSlot, x, y)) ? 1 : 0;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 200);
    // Drawn smaller, in every view of the slot.
    for (const auto& view : wideSlot->SubText) EXPECT_LT(view->CurrState->tfr->sx, 1.0f);

    // Renamed short: the name's own size, in its own place.
    Profiles->PickProfile(1);
    Click(Profiles->ButtonRename);
    Frames(kAnimFrames);
    for (int i = 0; i < 15; ++i) Key(KEY_BACKSPACE);
    Type("cy");
    Key(KEY_ENTER);
    Frames(kAnimFrames);
    ASSERT_EQ(SlotText(1), "CY");
    for (const auto& view : wideSlot->SubText) {
        EXPECT_EQ(view->CurrState->tfr->sx, 1.0f);
        EXPECT_EQ(view->CurrState->dim->x, 0.0f);
    }
}

}  // namespace
