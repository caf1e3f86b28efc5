#include <gtest/gtest.h>

#include "game/puzzle/PuzzleTestSupport.h"
#include "game/levels/Hints.h"

using namespace puzzletest;

namespace {

class LevelTest : public PuzzleTest {};

TEST_F(LevelTest, ArraysFollowTheGridAndLookupsOutsideGiveNull) {
    std::vector<std::string> rows(10, std::string(15, '.'));
    rows[9][14] = '2';
    auto level = MakeLevel(rows, {1, 2, 3});
    EXPECT_EQ(level->Tile.Dim0(), 3);
    EXPECT_EQ(level->Tile.Dim1(), 15);
    EXPECT_EQ(level->Tile.Dim2(), 10);
    EXPECT_EQ(level->NumberV.Dim1(), 15);
    EXPECT_EQ(level->NumberH.Dim1(), 10);
    auto corner = level->GetTile(1, 14, 9);
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->isTile, 2);
    EXPECT_EQ(corner->x, 14);
    EXPECT_EQ(corner->y, 9);
    EXPECT_EQ(level->GetTile(0, 15, 0), nullptr);
    EXPECT_EQ(level->GetTile(0, 0, 10), nullptr);
    EXPECT_EQ(level->GetTile(0, -1, 0), nullptr);
    EXPECT_EQ(level->GetTile(3, 0, 0), nullptr);
}

TEST_F(LevelTest, ColourIdsAndTheirText) {
    TLevel level;
    EXPECT_EQ(level.GetColorsString(), "");
    level.ColorArr = {4};
    EXPECT_EQ(level.GetColorsString(), "4");
    level.ColorArr = {1, 2, 3};
    EXPECT_EQ(level.GetColorsString(), "1 2 3");
    EXPECT_EQ(level.GetColorIndexByColorId(3), 2);
    EXPECT_EQ(level.GetColorIndexByColorId(1), 0);
    EXPECT_EQ(level.GetColorIndexByColorId(9), 0);
}

TEST_F(LevelTest, FilledTilesAndResolvedCellsPerLayer) {
    auto level = MakeLevel({"12", "1."}, {1, 2});
    EXPECT_EQ(level->GetAllFilledTiles(0).size(), 2u);
    ASSERT_EQ(level->GetAllFilledTiles(1).size(), 1u);
    EXPECT_EQ(level->GetAllFilledTiles(1)[0], level->GetTile(1, 1, 0));

    level->GetTile(0, 0, 0)->Show(0, 0);
    level->GetTile(1, 1, 0)->Show(0, 0);
    EXPECT_EQ(level->GetAllFilledTiles(0), std::vector<std::shared_ptr<TPTile>>{level->GetTile(0, 0, 1)});
    EXPECT_TRUE(level->GetAllFilledTiles(1).empty());
    EXPECT_EQ(level->isTileResolved(0, 0), level->GetTile(0, 0, 0));
    EXPECT_EQ(level->isTileResolved(1, 0), nullptr);  // solved, but only layer 0 is looked at
    EXPECT_EQ(level->isTileResolved(0, 1), nullptr);  // not solved
}

TEST_F(LevelTest, HidingNumbersLooksAtTheFirstLayerOnly) {
    auto level = MakeLevel({"12", "31"}, {1, 2, 3});
    level->HideNumbers();
    EXPECT_EQ(level->NumberH(0, 0)->Number[0]->dAlpha, 0.0f);
    EXPECT_EQ(level->NumberV(0, 1)->Number[0]->dAlpha, 0.0f);
    EXPECT_EQ(level->NumberH(1, 0)->Number[0]->dAlpha, 1.0f);
    EXPECT_EQ(level->NumbersHidden(), 0);
    for (int i = 0; i < 25; ++i)
        for (auto& line : level->NumberH.Cells()) line->Update();
    EXPECT_EQ(level->NumbersHidden(), 0);  // the columns are still showing
    for (int i = 0; i < 25; ++i)
        for (auto& line : level->NumberV.Cells()) line->Update();
    EXPECT_EQ(level->NumbersHidden(), 1);
    EXPECT_EQ(level->NumberH(2, 1)->NumbersHidden(), 0);
}

TEST_F(LevelTest, HintSlotsTextAndDefaults) {
    TLevel level;
    level.HintAvailableAtThisLevel[0] = level.HintAvailableAtThisLevel[1] = 1;
    level.HintIsLoaded[0] = 1;
    const std::string text = HintsToText(level);
    EXPECT_EQ(text, "1|1 1|0 0|0 0|0 0|0 0|0 0|0 0|0 0|0");

    TLevel back;
    back.HintAddParts.fill(4.0f);
    EXPECT_EQ(HintsFromText(back, text), "");
    EXPECT_EQ(back.HintAvailableAtThisLevel, level.HintAvailableAtThisLevel);
    EXPECT_EQ(back.HintIsLoaded, level.HintIsLoaded);
    EXPECT_EQ(back.HintAddParts[0], 4.0f);  // charge parts are not part of the text

    struct Case {
        const char* text;
        bool problem;
        int available1, loaded1, available8;
    } cases[] = {
        {"1|1  1|1", false, 1, 1, 0},                                    // doubled blank
        {"1|1 1", true, 1, 0, 0},                                        // no "|": loaded reads 0
        {"1|1 x|y", false, 0, 0, 0},                                     // not numbers
        {"0|0 0|0 0|0 0|0 0|0 0|0 0|0 0|0 1|1 1|1 1|1", true, 0, 0, 1},  // eleven slots
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TLevel l;
        EXPECT_EQ(!HintsFromText(l, c.text).empty(), c.problem);
        EXPECT_EQ(l.HintAvailableAtThisLevel[1], c.available1);
        EXPECT_EQ(l.HintIsLoaded[1], c.loaded1);
        EXPECT_EQ(l.HintAvailableAtThisLevel[8], c.available8);
    }

    level.SetHints(6);
    for (int i = 0; i < HintSlots; ++i) {
        EXPECT_EQ(level.HintAvailableAtThisLevel[i], i < 6 ? 1 : 0);
        EXPECT_EQ(level.HintAddParts[i], i < 6 ? static_cast<float>(MaxHintValue) : 0.0f);
    }
    level.SetHints(12);  // never past the ninth slot
    EXPECT_EQ(level.HintIsLoaded[8], 1);
}

}  // namespace
