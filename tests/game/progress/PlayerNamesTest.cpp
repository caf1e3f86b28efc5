// Names that draw alike are one name: a second player is refused the name of one already there
// however its characters were written, and names that draw differently stay apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/progress/PlayerNames.h"

namespace {

TEST(PlayerNamesTest, ANameThatDrawsLikeAnotherPlayersIsTaken) {
    struct Case {
        const char* what;
        const char* typed;
        bool taken;  // as another player's "ANN"
    };
    const Case cases[] = {
        {"the same name", "ANN", true},
        {"small letters", "ann", true},
        {"a variation selector", "ANN\uFE0F", true},
        {"a variation selector of the supplement", "AN\U000E0100N", true},
        {"the blank braille pattern", "ANN\u2800", true},
        {"the Hangul filler", "\u3164ANN", true},
        {"the Hangul choseong filler", "A\u115FNN", true},
        {"the Hangul jungseong filler", "ANN\u1160", true},
        {"the halfwidth Hangul filler", "ANN\uFFA0", true},
        {"tag characters", "ANN\U000E0041\U000E007F", true},
        {"a Mongolian variation selector", "AN\u180BN", true},
        {"a combining grapheme joiner", "A\u034FNN", true},
        {"a line separator", "ANN\u2028", true},
        {"a zero-width space", "\u200BANN", true},
        {"an ideographic space at the end", "ANN\u3000", true},
        {"a Cyrillic A", "\u0410NN", true},
        {"a Greek Alpha and Nu", "\u0391\u039DN", true},
        {"another name", "ANA", false},
        {"a space inside", "AN N", false},
        {"an accented letter", "\u00C5NN", false},
        {"a longer name", "ANNA", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(isPlayerNameTaken(c.typed, {"ANN"}), c.taken);
    }
    // None of the characters that draw nothing can be typed into a name.
    for (int code : {0xFE0F, 0xE0100, 0x2800, 0x3164, 0x115F, 0x1160, 0xFFA0, 0xE0041, 0x180B, 0x34F, 0x2028})
        EXPECT_FALSE(isPlayerNameCharacter(code)) << std::hex << code;
    // A letter with its accent written as one character or as the letter and the accent; the
    // space of any script; the sign of the Kelvin as K.
    const std::vector<std::vector<std::string>> alike = {
        {"\u00C5SA", "A\u030ASA", "\u212BSA"},
        {"NO\u00C9", "NOE\u0301"},
        {"A\u3000B", "A B", "A\u00A0B"},
        {"\u212AIM", "KIM"},
    };
    for (const auto& names : alike)
        for (const auto& name : names) {
            SCOPED_TRACE(name);
            EXPECT_EQ(PlayerNameKey(name), PlayerNameKey(names[0]));
            EXPECT_TRUE(isPlayerNameTaken(name, {names[0]}));
        }
    // A player keeps the own name, in any of its forms.
    EXPECT_FALSE(isPlayerNameTaken("ANN\uFE0F", {"ANN", "BOB"}, "ANN"));
}

}  // namespace
