// The finished picture's cells for the level summary, built from a level played on the game
// screen.
#include "game/puzzle/GameScreenHarness.h"

#include "game/levels/TileGameObject.h"

namespace {
using gamescreen::GameScreenTest;

TEST_F(GameScreenTest, EachCellOfTheFinishedPictureShowsItsBoxErrorOrCross) {
    Profile = CreateNewProfile("Ann");
    Profile->TutorialScreenShowed = 1;
    // Colour 1 in layer 0, colour 2 in layer 1.
    auto level = Play(MakeLevel({"1.2", "2.1"}));
    UntilPlay();
    Drag(*level, 0, 0, 0, 0, 1);  // right: colour 1
    Drag(*level, 1, 0, 1, 0, 2);  // right: crossed
    Drag(*level, 0, 1, 0, 1, 1);  // wrong in layer 0: colour 2's cell
    Game->SetCurrentColor(1);
    Drag(*level, 2, 0, 2, 0, 1);
    Frames(10);
    ASSERT_EQ(Game->CurrColorIndex, 1);

    auto summary = std::make_shared<TGameObject>();
    auto picture = std::make_shared<TGameObject>();
    summary->AddObject(picture);
    struct Case {
        int x, y;
        bool tile, revealed, mark;
    };
    for (const Case& c : {Case{0, 0, true, false, false}, Case{2, 0, true, true, false}, Case{1, 0, false, false, true},
                          Case{0, 1, true, true, false}}) {
        auto cell = level->GetTileGameObject(c.x, c.y, picture.get());
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->name, std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(cell->Parent, picture.get());
        EXPECT_EQ(cell->Level, summary.get());
        EXPECT_EQ(static_cast<bool>(cell->Tile), c.tile) << cell->name;
        EXPECT_EQ(cell->isTileRevealed, c.revealed ? 1 : 0) << cell->name;
        EXPECT_EQ(static_cast<bool>(cell->Mark), c.mark) << cell->name;
        EXPECT_FALSE(cell->Error) << cell->name;
        if (cell->Tile) {
            EXPECT_EQ(cell->Tile->DrawLayer, 5);
        }
        const auto& t = level->Tile(0, c.x, c.y);
        EXPECT_EQ(cell->GetX(), t->LevelX + GridSizeHalfAt(level->Size));
        EXPECT_EQ(cell->States.front()->tfr->sx, GridScaleAt(level->Size));
    }
    // The box's colour is its cell's.
    auto red = level->GetTileGameObject(0, 0, picture.get());
    auto rgb = level->Tile(0, 0, 0)->MyRGB();
    EXPECT_EQ(red->Tile->States.front()->rgb->r, rgb->r);
    EXPECT_EQ(red->Tile->States.front()->rgb->b, rgb->b);
    // A solution cell crossed by mistake in the colour played last shows the error on its box;
    // seen from another colour it does not.
    Drag(*level, 0, 1, 0, 1, 2);
    Frames(10);
    ASSERT_EQ(level->Tile(1, 0, 1)->isError, 1);
    auto wrong = level->GetTileGameObject(0, 1, picture.get());
    EXPECT_TRUE(wrong->Tile);
    EXPECT_TRUE(wrong->Error);
    Game->SetCurrentColor(0);
    EXPECT_FALSE(level->GetTileGameObject(0, 1, picture.get())->Error);
}

}  // namespace
