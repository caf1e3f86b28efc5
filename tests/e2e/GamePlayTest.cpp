// Levels played headless through the real executable: --level starts the level once loading has
// ended, an input script made here from the level's own file moves the mouse over the board,
// and the screenshot of the last frame shows where play stood. Level 1 is played to a win from
// its solution, level 2 to a loss.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "e2e/GameRun.h"
#include "e2e/LevelLayout.h"
#include "engine/data/BlockFile.h"
#include "engine/system/Paths.h"
#include "game/progress/Profile.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/PuzzleGlobals.h"
#include "game/levels/Tile.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

// A window pixel of a cell, up and left of its centre, where the pointer's arrow does not reach.
uint32_t CellPixel(const TPixmapPtr& shot, const TPACLevel& level, int x, int y) {
    auto t = level.Tile.At(0, x, y);
    const float off = GridSizeAt(level.Size) * 0.25f;
    return Rgb(shot, kX + static_cast<int>(t->DrawX - off), static_cast<int>(t->DrawY - off));
}

// The red of level 1's picture, in a box or under the hover's light.
bool IsRed(uint32_t c) { return ((c >> 16) & 255) > 150 && ((c >> 8) & 255) < 120 && (c & 255) < 120; }

// The file of the player's folder with this ending ("" when there is none).
std::string PlayerFile(const testsupport::TempDir& dir, const std::string& ending) {
    const std::string folder = dir.file("user/.Velkaro/Quiltora-2/Profiles");
    for (const std::string& name : ReadDir(folder))
        if (name.size() > ending.size() && name.substr(name.size() - ending.size()) == ending)
            return folder + "/" + name;
    return "";
}

// The level in progress the player left behind, when there is one.
std::string ProgressFile(const testsupport::TempDir& dir) { return PlayerFile(dir, ".PACLEVEL"); }

namespace {

// Places on the picture: the level summary's Next button, the main menu's Play, the continue
// pop-up's Continue; the middles of level 1's, 2's and 3's thumbnails on the stages map when it
// shows its bottom end (their points in tools/make_stages_screens.py, less 3328).
constexpr int kSummaryNextX = 642, kSummaryNextY = 644;
constexpr int kMenuPlayX = 512, kMenuPlayY = 374, kContinueX = 512, kContinueY = 356;
// The kingdom's Play button, which leads to the stages map.
constexpr int kKingdomPlayX = 870, kKingdomPlayY = 700;
constexpr int kThumb1X = 248, kThumb1Y = 580, kThumb2X = 424, kThumb2Y = 612, kThumb3X = 600, kThumb3Y = 588;
// The OK button of the kingdom's help, which comes on a player's first visit.
constexpr int kHelpOkX = 512, kHelpOkY = 608;

std::string ClickAt(int frame, int x, int y) {
    return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
           std::to_string(frame + 1) + " down 1\n" + std::to_string(frame + 2) + " up 1\n";
}

// The cream of an open thumbnail's panel, not the grey of a locked one.
bool IsCream(uint32_t c) { return ((c >> 16) & 255) > 200 && ((c >> 8) & 255) > 180; }
bool IsGold(uint32_t c) { return ((c >> 16) & 255) > 200 && ((c >> 8) & 255) > 140 && (c & 255) < 110; }

}  // namespace

TEST(GamePlayTest, LevelOneStartsWithEveryCellCoveredAndTheNumbersShown) {
    WinScript win;
    ASSERT_TRUE(win.level);
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--level 1" + FromMenu(kPlayFrame));
    ASSERT_EQ(run.status, 0);
    ASSERT_TRUE(run.shot);
    const uint32_t cover = CellPixel(run.shot, *win.level, 0, 0);
    for (int y = 0; y < win.level->Rows; ++y)
        for (int x = 0; x < win.level->Cols; ++x)
            EXPECT_TRUE(Near(CellPixel(run.shot, *win.level, x, y), cover, 12)) << x << "," << y;
    // The lavender cover, not a colour of the picture.
    EXPECT_TRUE(Near(cover, 0xE0DAE9u, 24)) << std::hex << cover;
    // The panel at the window's right edge: its card and a lit star.
    EXPECT_TRUE(Near(Rgb(run.shot, 1300, 400), 0x5A3349u, 30)) << std::hex << Rgb(run.shot, 1300, 400);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
}

TEST(GamePlayTest, LevelOneHalfPlayedIsKeptAsPlayInProgress) {
    WinScript win;
    ASSERT_TRUE(win.level);
    ASSERT_GE(win.endOfRun.size(), 2u);
    // The first half of the runs played: those cells show the picture's red, the rest are still
    // covered; the player's level in progress is written at exit with those cells uncovered.
    const size_t half = win.endOfRun.size() / 2;
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--level 1" + FromMenu(win.endOfRun[half - 1] + 30) +
                                   Script(dir, win.text.substr(0, win.scriptOfRun[half - 1])));
    ASSERT_EQ(run.status, 0);
    ASSERT_TRUE(run.shot);
    int uncovered = 0;
    for (auto [x, y] : win.cells) uncovered += IsRed(CellPixel(run.shot, *win.level, x, y)) ? 1 : 0;
    EXPECT_GT(uncovered, 0);
    EXPECT_LT(uncovered, static_cast<int>(win.cells.size()));
    const std::string saved = ProgressFile(dir);
    ASSERT_FALSE(saved.empty()) << "a level in play is kept for later";
    auto progress = LoadPacLevel(saved);
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->TIlesUncovered, uncovered);
    EXPECT_EQ(progress->Mistakes, 0);
    EXPECT_EQ(progress->CurrStars, 3);
    for (auto [x, y] : win.cells)
        EXPECT_EQ(progress->Tile(0, x, y)->isCovered, IsRed(CellPixel(run.shot, *win.level, x, y)) ? 0 : 1);
}

// A click whose press and release come within one frame (a quick click, a touchpad's tap) counts
// on the board: the left button uncovers a cell of the picture, the right one crosses out a cell
// outside it.
TEST(GamePlayTest, ClicksWithinOneFrameUncoverAndCrossOutACell) {
    auto level = LaidOutLevel(1);
    ASSERT_TRUE(level);
    int pictureX = -1, pictureY = -1, emptyX = -1, emptyY = -1;
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x) {
            if (level->Tile(0, x, y)->isTile && pictureX < 0) pictureX = x, pictureY = y;
            if (!level->Tile(0, x, y)->isTile && emptyX < 0) emptyX = x, emptyY = y;
        }
    ASSERT_GE(pictureX, 0);
    ASSERT_GE(emptyX, 0);
    auto at = [&](int x, int y) {
        auto t = level->Tile.At(0, x, y);
        return std::to_string(t->DrawX) + " " + std::to_string(t->DrawY);
    };
    const int f = kPlayFrame + 40;
    const std::string script = std::to_string(f) + " move " + at(pictureX, pictureY) + "\n" + std::to_string(f + 1) +
                               " down 1\n" + std::to_string(f + 1) + " up 1\n" + std::to_string(f + 5) + " move " +
                               at(emptyX, emptyY) + "\n" + std::to_string(f + 6) + " down 2\n" + std::to_string(f + 6) +
                               " up 2\n";
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--level 1" + FromMenu(f + 40) + Script(dir, script));
    ASSERT_EQ(run.status, 0);
    const std::string saved = ProgressFile(dir);
    ASSERT_FALSE(saved.empty());
    auto progress = LoadPacLevel(saved);
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->Tile(0, pictureX, pictureY)->isCovered, 0);
    EXPECT_EQ(progress->Tile(0, emptyX, emptyY)->isCovered, 0);
    EXPECT_EQ(progress->TIlesUncovered, 1);
    EXPECT_EQ(progress->TilesCrossed, 1);
    EXPECT_EQ(progress->Mistakes, 0);
    ASSERT_TRUE(run.shot);
    EXPECT_TRUE(IsRed(CellPixel(run.shot, *level, pictureX, pictureY)))
        << std::hex << CellPixel(run.shot, *level, pictureX, pictureY);
}

TEST(GamePlayTest, LevelOnePlayedFromItsSolutionIsWonAndGoesToTheLevelSummary) {
    WinScript win;
    ASSERT_TRUE(win.level);
    ASSERT_FALSE(win.cells.empty());
    // One run watches the whole play: the win, the level summary, then its statistics.
    testsupport::TempDir dir;
    const int won = win.endOfRun.back() + 11, summary = win.summaryShown() - 1, stats = win.summaryShown();
    GameRun run = RunGame(
        dir, "--level 1" + FromMenu(stats + 40) + " --shot-frames " + std::to_string(won) + "," +
                 std::to_string(summary) +
                 Script(dir, win.text + ClickAt(stats, 512, 586) + std::to_string(stats + 5) + " move 900 700\n"));
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    // Just after the last run: the whole picture in its colour, while the numbers fade out.
    {
        const TPixmapPtr shot = Shot(dir, won);
        ASSERT_TRUE(shot);
        for (auto [x, y] : win.cells)
            EXPECT_TRUE(IsRed(CellPixel(shot, *win.level, x, y)))
                << x << "," << y << " " << std::hex << CellPixel(shot, *win.level, x, y);
    }
    // Later: the level summary has taken over, with the three kept stars in their places over the
    // finished picture (at (588, 142), (652, 132) and (716, 142) less 171, the stars 46 pixels
    // wide), and the won level is not kept as play in progress.
    {
        const TPixmapPtr shot = Shot(dir, summary);
        ASSERT_TRUE(shot);
        for (auto [x, y] : {std::pair{440, 172}, std::pair{504, 162}, std::pair{568, 172}})
            EXPECT_TRUE(IsGold(Rgb(shot, kX + x, y))) << x << " " << std::hex << Rgb(shot, kX + x, y);
        EXPECT_TRUE(IsRed(Rgb(shot, kX + 512, 384))) << std::hex << Rgb(shot, kX + 512, 384);
        EXPECT_EQ(ProgressFile(dir), "");
    }
    // With the statistics shown, their card stands alone: nothing of the picture (300 pixels
    // high, in the middle of the screen) shows around the card (250 pixels high).
    {
        ASSERT_TRUE(run.shot);
        EXPECT_TRUE(Near(Rgb(run.shot, kX + 512, 300), 0xFDF2D9u, 12)) << std::hex << Rgb(run.shot, kX + 512, 300);
        // The strips above and below the card (259 to 509), where the picture's top and bottom
        // rows would lie.
        int red = 0;
        for (int y : {200, 513})
            for (int dy = 0; dy < 50; ++dy)
                for (int x = 340; x < 684; ++x) red += IsRed(Rgb(run.shot, kX + x, y + dy)) ? 1 : 0;
        EXPECT_EQ(red, 0);
    }
}

TEST(GamePlayTest, LevelTwoWithSixWrongCellsIsLost) {
    auto level = LaidOutLevel(2);
    ASSERT_TRUE(level);
    // Empty cells whose row and column both hold a run: nothing crosses them out by itself.
    std::vector<int> rowRuns(level->Rows, 0), colRuns(level->Cols, 0);
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x)
            if (level->Tile(0, x, y)->isTile) ++rowRuns[y], ++colRuns[x];
    Moves moves(*level, kPlayFrame);
    std::vector<std::pair<int, int>> wrong;
    for (int y = 0; y < level->Rows && wrong.size() < 6; ++y)
        for (int x = 0; x < level->Cols && wrong.size() < 6; ++x)
            if (!level->Tile(0, x, y)->isTile && rowRuns[y] && colRuns[x]) {
                moves.Line(x, y, x, y, 1);
                wrong.emplace_back(x, y);
            }
    ASSERT_EQ(wrong.size(), 6u);

    testsupport::TempDir dir;
    // Two seconds after the loss, when the lose pop-up comes, and a little more.
    GameRun run = RunGame(dir, "--level 2" + FromMenu(moves.frame() + 150) + Script(dir, moves.text()));
    ASSERT_EQ(run.status, 0);
    ASSERT_TRUE(run.shot);
    // Every cell has fallen away: neither the cover nor a cross is left on the board.
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x) {
            const uint32_t c = CellPixel(run.shot, *level, x, y);
            EXPECT_FALSE(Near(c, 0xE0DAE9u, 24) || Near(c, 0xCBC3D7u, 16)) << x << "," << y << " " << std::hex << c;
        }
    // A lost level never resumes.
    EXPECT_EQ(ProgressFile(dir), "");
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
}

// The panel's buttons on the picture, with the panel at the right edge of the 1366-pixel window
// (x 1195): their places in the game screen's file (tools/make_game_screen.py).
constexpr int kSecondOfTwoColoursX = 1120, kColourY = 214;  // the two colours close up in the middle
constexpr int kHammerX = 1135, kHammerY = 518;
constexpr int kHintOneX = 1064, kHintOneY = 297;
constexpr int kHammerLeft = 1103;  // the hammer button's left edge, where the tool frame lies
constexpr int kHintOneLeft = 1039;

TEST(GamePlayTest, LevelTwentyEightPlayedFromThePanelColourHammerAndHint) {
    // Two colours: the panel's second colour button, a cell of that colour with the hand, the
    // hammer on an empty cell (the hand would have made a mistake there), then the first hint.
    auto level = LaidOutLevel(28);
    ASSERT_TRUE(level);
    ASSERT_EQ(level->Colors, 2);
    int cx = -1, cy = -1, ex = -1, ey = -1;
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x) {
            if (cx < 0 && level->Tile(1, x, y)->isTile) cx = x, cy = y;
            if (ex < 0 && !level->Tile(0, x, y)->isTile && !level->Tile(1, x, y)->isTile) ex = x, ey = y;
        }
    ASSERT_GE(cx, 0);
    ASSERT_GE(ex, 0);
    int secondColour = 0;
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x) secondColour += level->Tile(1, x, y)->isTile ? 1 : 0;
    ASSERT_GE(secondColour, 3);

    Moves moves(*level, kPlayFrame);
    moves.Click(kSecondOfTwoColoursX, kColourY);
    moves.Line(cx, cy, cx, cy, 1);
    moves.Click(kHammerX, kHammerY);
    moves.Line(ex, ey, ex, ey, 1);
    moves.Click(kHintOneX, kHintOneY);
    testsupport::TempDir dir;
    // The hints fly for about 100 frames; the hint button's gauge drains in 200.
    GameRun run = RunGame(dir, "--level 28" + FromMenu(moves.frame() + 240) + Script(dir, moves.text()));
    ASSERT_EQ(run.status, 0);
    ASSERT_TRUE(run.shot);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;

    const std::string saved = ProgressFile(dir);
    ASSERT_FALSE(saved.empty());
    auto progress = LoadPacLevel(saved);
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->Mistakes, 0) << "the colour and the hammer were picked";
    EXPECT_EQ(progress->CurrStars, 3);
    EXPECT_EQ(progress->Tile(1, cx, cy)->isCovered, 0);
    EXPECT_EQ(progress->Tile(1, ex, ey)->isCovered, 0);
    EXPECT_EQ(progress->Tile(1, ex, ey)->isError, 0);
    int uncovered = 0;
    for (int y = 0; y < progress->Rows; ++y)
        for (int x = 0; x < progress->Cols; ++x)
            uncovered += progress->Tile(1, x, y)->isTile && !progress->Tile(1, x, y)->isCovered ? 1 : 0;
    EXPECT_EQ(uncovered, 3) << "one by hand, two by the hint";
    EXPECT_EQ(progress->HintWasUsed, 1);
    EXPECT_EQ(progress->HintIsLoaded[0], 0);
    EXPECT_EQ(progress->HintIsLoaded[1], 1);
    const std::string profile = testsupport::ReadFileBytes(PlayerFile(dir, ".AppProfile"));
    EXPECT_NE(profile.find("HintUsed = 1"), std::string::npos);

    // On the panel: the gold tool frame on the hammer, the spent hint button dark.
    const uint32_t frame = Rgb(run.shot, kX + kHammerLeft + 4, kHammerY);
    EXPECT_TRUE(((frame >> 16) & 255) > 220 && ((frame >> 8) & 255) > 180 && (frame & 255) < 140) << std::hex << frame;
    const uint32_t hint = Rgb(run.shot, kX + kHintOneLeft + 8, kHintOneY);
    EXPECT_LT((hint >> 16) & 255, 130u) << std::hex << hint;
}

}  // namespace

TEST(GamePlayTest, LevelOneWonGoesThroughTheSummaryAndTheKingdomToTheMapWithLevelTwoOpen) {
    WinScript win;
    ASSERT_TRUE(win.level);
    // Next: the level is booked and the game goes on to the kingdom with level 2 to play.
    testsupport::TempDir dir;
    {
        // Next is taken as soon as the summary is up (while its window still fades in).
        const int next = win.endOfRun.back() + 200;
        GameRun run = RunGame(dir, "--level 1" + FromMenu(next + 120) +
                                       Script(dir, win.text + ClickAt(next, kSummaryNextX, kSummaryNextY)));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        const std::string file = PlayerFile(dir, ".AppProfile");
        ASSERT_NE(file, "");
        auto progress = LoadBlockFile(file);
        EXPECT_EQ(GetBFInt(progress, "Data::Level"), 2);
        auto won = CreateProfileLevelFromString(GetBFString(progress, "Levels::Level1"));
        EXPECT_EQ(won->isPassed, 1);
        EXPECT_EQ(won->isUnlocked, 1) << "as the player's own game records a win";
        EXPECT_EQ(won->Stars, 3);
        EXPECT_EQ(GetBFString(progress, "Levels::Level2"), "2,0,1,0,0,0,0");
        // The kingdom's help came up on this first visit, and is booked as seen.
        EXPECT_EQ(GetBFInt(progress, "Data::KingdomTutorialScreenShowed"), 1);
        EXPECT_EQ(ProgressFile(dir), "");
    }
    // The player comes back and continues into the kingdom, where Play leads to the map: scrolled
    // to the current level at its bottom end, it shows level 1 passed, level 2 open and level 3
    // locked; a click on level 1's thumbnail plays it again. (The first-time pan over the whole
    // map, ten seconds, is taken as seen here; the map's own tests cover it.)
    {
        const std::string file = PlayerFile(dir, ".AppProfile");
        std::string text = testsupport::ReadFileBytes(file);
        const size_t at = text.find("MapScreenAnimationShowed = 0");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 28, "MapScreenAnimationShowed = 1");
        // (Edited by hand: written as an earlier build wrote it, without the checks that would
        // find the edit a damage.)
        std::string edited;
        for (const std::string& line : SplitLines(text))
            if (line.find("Check = ") == std::string::npos) edited += line + "\n";
        testsupport::WriteFileBytes(file, edited);
        // The kingdom has faded in within 100 frames of Continue.
        const std::string clicks = ClickAt(20, kMenuPlayX, kMenuPlayY) + ClickAt(60, kContinueX, kContinueY) +
                                   ClickAt(160, kKingdomPlayX, kKingdomPlayY) + ClickAt(365, kThumb1X, kThumb1Y);
        GameRun run = RunGame(dir, FromMenu(480) + " --shot-frames 360" + Script(dir, clicks));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        auto progress = LoadBlockFile(PlayerFile(dir, ".AppProfile"));
        EXPECT_EQ(GetBFString(progress, "Data::Screen"), "GameScreen") << "level 1 replayed from its thumbnail";
        EXPECT_EQ(GetBFInt(progress, "Data::Level"), 1);
        run.shot = Shot(dir, 360);
        ASSERT_TRUE(run.shot);
        EXPECT_TRUE(IsCream(Rgb(run.shot, kX + kThumb2X - 33, kThumb2Y)))
            << std::hex << Rgb(run.shot, kX + kThumb2X - 33, kThumb2Y);
        EXPECT_TRUE(IsCream(Rgb(run.shot, kX + kThumb1X - 33, kThumb1Y)))
            << std::hex << Rgb(run.shot, kX + kThumb1X - 33, kThumb1Y);
        EXPECT_FALSE(IsCream(Rgb(run.shot, kX + kThumb3X - 33, kThumb3Y)))
            << std::hex << Rgb(run.shot, kX + kThumb3X - 33, kThumb3Y);
        EXPECT_TRUE(IsRed(Rgb(run.shot, kX + kThumb1X, kThumb1Y - 4)))
            << std::hex << Rgb(run.shot, kX + kThumb1X, kThumb1Y - 4);
    }
}

// Closing the game on a won level's summary keeps what Next would have given: the next start
// continues into the kingdom (its first visit, with its help), and from there the map plays
// level 2.
TEST(GamePlayTest, ClosingTheGameOnTheSummaryKeepsWhatNextWouldHaveGiven) {
    WinScript win;
    ASSERT_TRUE(win.level);
    testsupport::TempDir dir;
    {
        const int close = win.endOfRun.back() + 200;
        GameRun run = RunGame(
            dir, "--level 1" + FromMenu(close + 60) + Script(dir, win.text + std::to_string(close) + " quit\n"));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        auto progress = LoadBlockFile(PlayerFile(dir, ".AppProfile"));
        EXPECT_EQ(GetBFInt(progress, "Data::Level"), 2);
        EXPECT_EQ(GetBFString(progress, "Data::Screen"), "Kingdom");
        EXPECT_EQ(CreateProfileLevelFromString(GetBFString(progress, "Levels::Level1"))->isPassed, 1);
        EXPECT_EQ(GetBFString(progress, "Levels::Level2"), "2,0,1,0,0,0,0");
        EXPECT_EQ(GetBFInt(progress, "Data::KingdomTutorialScreenShowed"), 0) << "the kingdom not visited yet";
        EXPECT_EQ(ProgressFile(dir), "");
    }
    {
        // Play and Continue: the kingdom with its help; OK, then the kingdom's Play to the map,
        // which first pans over its whole length (ten seconds); level 2's thumbnail plays it.
        const std::string clicks = ClickAt(20, kMenuPlayX, kMenuPlayY) + ClickAt(60, kContinueX, kContinueY) +
                                   ClickAt(220, kHelpOkX, kHelpOkY) + ClickAt(330, kKingdomPlayX, kKingdomPlayY) +
                                   ClickAt(960, kThumb2X, kThumb2Y);
        GameRun run = RunGame(dir, FromMenu(1050) + Script(dir, clicks));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        auto progress = LoadBlockFile(PlayerFile(dir, ".AppProfile"));
        EXPECT_EQ(GetBFInt(progress, "Data::KingdomTutorialScreenShowed"), 1) << "the kingdom was visited";
        EXPECT_EQ(GetBFString(progress, "Data::Screen"), "GameScreen");
        EXPECT_EQ(GetBFInt(progress, "Data::Level"), 2);
    }
}
