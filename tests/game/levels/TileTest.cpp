#include <gtest/gtest.h>

#include "game/puzzle/PuzzleTestSupport.h"

using namespace puzzletest;

namespace {

class TileTest : public PuzzleTest {};

struct JudgeCase {
    const char* name;
    bool uncover;   // Show, else Mark
    int col;        // 0: the solution cell, 1: the empty cell of the row "1."
    int result;     // what the move returns
    int isError;    // the tile's error flag afterwards
    int mistakes;   // mistakes reported
    int score;      // the level's score afterwards
    bool boxShown;  // the box (solution cell) or the cross (empty cell) starts showing
    bool errorShown;
};

TEST_F(TileTest, JudgesUncoverAndCrossOnSolutionAndEmptyCells) {
    const JudgeCase cases[] = {
        {"uncover right", true, 0, 1, 0, 0, 1, true, false},
        {"uncover wrong", true, 1, 0, 1, 1, 0, true, true},
        {"cross right", false, 1, 1, 0, 0, 0, true, false},
        {"cross wrong", false, 0, 0, 1, 1, 0, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mistakes = 0;
        auto level = MakeLevel({"1."}, {1});
        auto tile = level->GetTile(0, c.col, 0);
        const int result = c.uncover ? tile->Show(0, 0) : tile->Mark(0);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(tile->isCovered, 0);
        EXPECT_EQ(tile->isError, c.isError);
        EXPECT_EQ(mistakes, c.mistakes);
        EXPECT_EQ(level->Score, c.score);
        // The overlay that shows the result: the box on a solution cell, the cross elsewhere.
        TTileAdd* main = c.col == 0 ? static_cast<TTileAdd*>(tile->pTile.get()) : tile->pMark.get();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->isShowing == 1, c.boxShown);
        EXPECT_EQ(tile->pError->isShowing == 1, c.errorShown);
        EXPECT_EQ(tile->GetSaveString(), c.isError ? "0|1" : "0|0");

        // A second move on the same tile changes nothing.
        EXPECT_EQ(tile->Show(0, 0), 0);
        EXPECT_EQ(tile->Mark(0), 0);
        EXPECT_EQ(mistakes, c.mistakes);
        EXPECT_EQ(level->Score, c.score);
    }
}

TEST_F(TileTest, CellUncoveredInItsOwnColourIsSolvedInEveryLayer) {
    auto level = MakeLevel({"12", ".."}, {1, 2});
    auto own = level->GetTile(0, 0, 0);
    auto other = level->GetTile(1, 0, 0);
    EXPECT_FALSE(other->isSolved());
    ASSERT_EQ(own->Show(0, 0), 1);
    EXPECT_TRUE(other->isSolved());
    // Uncovering it again in the other layer does nothing: no mistake, still covered there.
    EXPECT_EQ(other->Show(0, 0), 0);
    EXPECT_EQ(other->isCovered, 1);
    EXPECT_EQ(mistakes, 0);

    // An empty cell crossed in one layer is still to be crossed in the other.
    auto emptyA = level->GetTile(0, 0, 1);
    auto emptyB = level->GetTile(1, 0, 1);
    EXPECT_EQ(emptyA->Mark(0), 1);
    EXPECT_TRUE(emptyA->isSolved());
    EXPECT_FALSE(emptyB->isSolved());

    // A wrongly crossed solution cell counts as solved everywhere too.
    auto cell2 = level->GetTile(1, 1, 0);
    EXPECT_EQ(cell2->Mark(0), 0);
    EXPECT_TRUE(level->GetTile(0, 1, 0)->isSolved());
    EXPECT_EQ(mistakes, 1);
}

TEST_F(TileTest, OverlaysWaitForTheirDelayThenStartOnceAndGrow) {
    const int& rightSounds = board.rightSounds;
    const int& wrongSounds = board.wrongSounds;
    const auto& charges = board.charges;

    auto level = MakeLevel({"1."}, {1});
    auto box = level->GetTile(0, 0, 0);
    auto empty = level->GetTile(0, 1, 0);
    box->Show(100, 1);
    empty->Show(100, 1);
    EXPECT_EQ(mistakes, 1);  // counted at the call, not when the overlay starts

    box->pTile->SetDrawPlace(box->DrawX, box->DrawY, *box);
    AdvanceClock(99);
    box->pTile->Update();
    empty->pMark->Update();
    empty->pError->Update();
    EXPECT_EQ(rightSounds + wrongSounds, 0);
    EXPECT_EQ(box->pTile->Scale, 0.0f);
    EXPECT_TRUE(charges.empty());

    AdvanceClock(1);
    box->pTile->Update();
    empty->pMark->Update();
    empty->pError->Update();
    EXPECT_EQ(rightSounds, 2);  // the box and the wrong uncover's cross
    EXPECT_EQ(wrongSounds, 1);
    ASSERT_EQ(charges.size(), 1u);  // only the player's correct uncover sends a charge
    EXPECT_EQ(charges[0], std::make_pair(static_cast<int>(box->DrawX), static_cast<int>(box->DrawY)));
    EXPECT_EQ(box->pTile->ReleaseHint, 0);

    int frames = 1;
    while (box->pTile->isAction() && frames < 100) {
        box->pTile->Update();
        ++frames;
    }
    EXPECT_LE(frames, 21);
    EXPECT_EQ(box->pTile->Scale, 1.0f);
    EXPECT_EQ(rightSounds, 2);  // the start event fires once

    // A cross that is showing ignores a further Show.
    const int time = empty->pMark->time;
    AdvanceClock(500);
    empty->pMark->Show(0);
    EXPECT_EQ(empty->pMark->time, time);
}

TEST_F(TileTest, AutoSolveUncoversAtOnceWithoutScoreOrMistake) {
    auto level = MakeLevel({"1."}, {1});
    auto box = level->GetTile(0, 0, 0);
    auto empty = level->GetTile(0, 1, 0);

    box->AutoSolveTile();  // a solution tile is left alone
    EXPECT_EQ(box->isCovered, 1);
    empty->AutoSolveTile();  // a plain tile is crossed as a right move
    EXPECT_EQ(empty->isCovered, 0);
    EXPECT_EQ(empty->isError, 0);

    box->AutoSolve();
    EXPECT_EQ(box->isCovered, 0);
    EXPECT_EQ(box->pTile->Alpha, 1.0f);
    EXPECT_EQ(box->pTile->Scale, 1.0f);
    EXPECT_EQ(box->pTile->isShowing, 0);
    EXPECT_EQ(level->Score, 0);
    EXPECT_EQ(mistakes, 0);
}

TEST_F(TileTest, SaveTextReadsBackAndToleratesMissingPieces) {
    struct Case {
        const char* text;
        int covered, error;  // starting from 1|0
    } cases[] = {
        {"0|1", 0, 1}, {"1", 1, 0},     {"0", 0, 0},  {"", 1, 0},
        {"x|y", 0, 0}, {"0|1|7", 0, 1}, {"|1", 0, 1}, {"5|2", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TPTile tile;
        tile.GetFromString(c.text);
        EXPECT_EQ(tile.isCovered, c.covered);
        EXPECT_EQ(tile.isError, c.error);
    }
}

TEST_F(TileTest, SetupAfterLoadingShowsTheStateAtOnce) {
    auto level = MakeLevel({"1."}, {1});
    auto box = level->GetTile(0, 0, 0);
    auto empty = level->GetTile(0, 1, 0);
    EXPECT_TRUE(box->pTile && !box->pMark);
    EXPECT_TRUE(empty->pMark && !empty->pTile);
    EXPECT_EQ(box->pTile->Alpha, 0.0f);  // covered: hidden

    empty->GetFromString("0|1");
    empty->SetupAfterLoading();
    EXPECT_EQ(empty->pMark->Alpha, 1.0f);
    EXPECT_EQ(empty->pError->Alpha, 1.0f);
    EXPECT_EQ(empty->pError->isAction(), 0);
}

TEST_F(TileTest, DrawPositionGivesTheSquareHitBox) {
    auto level = MakeLevel({"12"}, {1, 2});
    auto tile = level->GetTile(0, 1, 0);
    tile->SetDrawPosition(100.7f, 50.2f);
    EXPECT_EQ(tile->ow, 40);
    EXPECT_EQ(tile->oh, 40);
    EXPECT_EQ(tile->ox, 80);
    EXPECT_EQ(tile->oy, 30);
}

TEST_F(TileTest, TilesOutlivingTheirLevelAreDetached) {
    std::shared_ptr<TPTile> tile;
    {
        auto level = MakeLevel({"1."}, {1});
        tile = level->GetTile(0, 0, 0);
    }
    EXPECT_EQ(tile->Level, nullptr);
    EXPECT_EQ(tile->Show(0, 0), 0);  // freed: no overlays, nothing to judge against
}

}  // namespace
