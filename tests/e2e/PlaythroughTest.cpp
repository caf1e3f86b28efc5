// One player's way through the game, headless through the real executable and its input path: a
// new player named in the players pop-up, Play, the stages map's first pan, level 1 from the map
// with the game's help, won, its summary, Play again and won once more; Next to the kingdom, its
// help, the sheepfold bought with the two wins' money; after a restart the kingdom again with the
// sheepfold standing, its Play to the map, level 2 lost, replayed from the lose pop-up, left with
// Command+Q, and a restart that continues it. After every run the player's files are read back;
// every screen passed is written as a screenshot (into QUILTORA_SHOTS_DIR when set, to be looked
// at). The way is cut in two at the first quit, in the kingdom, so that ctest runs the halves side
// by side: the second starts from the files as the first leaves them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e/GameRun.h"
#include "e2e/LevelLayout.h"
#include "engine/data/BlockFile.h"
#include "game/progress/Profile.h"

namespace {

using namespace e2e;

// Places on the 1024 x 768 picture: the main menu's Play and Players, the players pop-up's Rename
// and OK, the name entry's OK, the continue pop-up's Continue, the game and kingdom helps' button,
// the level summary's Next, the lose pop-up's Replay, the summary's Play again, the kingdom's first
// offer slot and its Play, and the middles of level 1's and 2's thumbnails on the stages map when it
// shows its bottom end.
struct Point {
    int x, y;
};
constexpr Point kMenuPlay{512, 374}, kMenuPlayers{512, 518};
constexpr Point kPlayersRename{724, 286}, kPlayersOk{512, 594}, kEntryOk{402, 470};
constexpr Point kContinue{512, 356}, kHelpOk{512, 608}, kSummaryNext{642, 644}, kLoseReplay{632, 458};
constexpr Point kSummaryPlayAgain{381, 644}, kKingdomSlot1{110, 700}, kKingdomPlay{870, 700};
constexpr Point kThumb1{248, 580}, kThumb2{424, 612};
constexpr int kSheepfoldPrice = 20;  // the first offer of the kingdom's first stage

constexpr int kCommand = 91, kQ = 81, kBackspace = 8;

// The player's name and the file name made from it.
const std::string kName = "ROSE";
const std::string kId = "82-79-83-69";

// An input script at frames counted from the main menu's first frame, and the frames to write
// as screenshots, each with the name of the screen it shows.
class Steps {
public:
    Steps& Click(int at, Point p) {
        Line(at, "move " + std::to_string(p.x) + " " + std::to_string(p.y));
        Line(at + 1, "down 1");
        return Line(at + 2, "up 1");
    }
    Steps& Key(int at, int key) {
        Line(at, "keydown " + std::to_string(key));
        return Line(at + 1, "keyup " + std::to_string(key));
    }
    Steps& Text(int at, const std::string& text) { return Line(at, "text " + text); }
    Steps& CommandQ(int at) {
        Line(at, "keydown " + std::to_string(kCommand));
        return Line(at + 1, "keydown " + std::to_string(kQ));
    }
    Steps& Shot(int at, const std::string& name) {
        shots_.emplace_back(at, name);
        return *this;
    }
    // A click on a cell of the laid-out level.
    Steps& Cell(int at, const TPACLevel& level, int x, int y) {
        auto t = level.Tile.At(0, x, y);
        return Click(at, {static_cast<int>(t->DrawX), static_cast<int>(t->DrawY)});
    }
    const std::string& script() const { return script_; }
    const std::vector<std::pair<int, std::string>>& shots() const { return shots_; }

private:
    Steps& Line(int at, const std::string& event) {
        script_ += std::to_string(at) + " " + event + "\n";
        return *this;
    }
    std::string script_;
    std::vector<std::pair<int, std::string>> shots_;
};

// The frame of the second half's first run at which the kingdom is shown (it has faded in within
// 100 frames of Continue).
constexpr int kKingdomShown = 175;

// A pixel of the sheepfold's shed wall on a screenshot of the kingdom, drawn as its picture has
// it (the picture's place on the 1024 x 768 picture: 818, 66).
void ExpectSheepfold(const std::string& shotFile) {
    auto shot = LoadPixmap(shotFile);
    ASSERT_TRUE(shot);
    const int px = 145, py = 86;
    const uint32_t pixel =
        SharedPicturePixel(DataDir() + "Screens/Kingdom/Buildings/buildingsatlas.png", "Building-5", px, py);
    ASSERT_EQ(pixel >> 24, 255u);
    const uint32_t wall = pixel & 0xFFFFFFu;
    EXPECT_TRUE(Near(Rgb(shot, kX + 818 + px, 66 + py), wall, 12))
        << std::hex << Rgb(shot, kX + 818 + px, 66 + py) << " vs " << wall;
}

// The level's cells of its picture (true) or its empty cells (false), row by row.
std::vector<std::pair<int, int>> Cells(const TPACLevel& level, bool picture) {
    std::vector<std::pair<int, int>> cells;
    for (int y = 0; y < level.Rows; ++y)
        for (int x = 0; x < level.Cols; ++x)
            if ((level.Tile(0, x, y)->isTile != 0) == picture) cells.emplace_back(x, y);
    return cells;
}

class PlaythroughTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    int step = 0;
    std::string stage;  // the test's half of the way, in the screenshots' names

    std::string Profiles() { return dir.file("user/.Velkaro/Quiltora-2/Profiles/"); }
    std::string ProgressFile() { return Profiles() + kId + ".PACLEVEL"; }
    TBlockFilePtr Progress() {
        bool whole = false;
        auto progress = LoadBlockFileChecked(Profiles() + kId + ".AppProfile", whole);
        EXPECT_TRUE(whole);
        return progress;
    }

    // ROSE as the first half leaves her (its files read back there): the only player, current,
    // level 1 won twice, level 2 open and current, on the kingdom with the sheepfold built, the
    // game's and the kingdom's help and the map's first pan seen.
    void WritePlayer() {
        std::filesystem::create_directories(Profiles());
        testsupport::WriteFileBytes(Profiles() + "Profiles.dat", "Settings{\n\tCurrProfile = \"" + kId +
                                                                     "\"\n}\nProfile{\n\tId = \"" + kId +
                                                                     "\"\n\tName = \"" + kName + "\"\n}\n");
        testsupport::WriteFileBytes(Profiles() + kId + ".AppProfile", R"(Data{
	Name = "ROSE"
	Level = 2
	Score = 72
	Stars = 3
	Screen = "Kingdom"
	MapScreenAnimationShowed = 1
	TutorialScreenShowed = 1
	KingdomTutorialScreenShowed = 1
	CurrMusic = 3
	MapY = -3328
}
Levels{
	i = 2
	Level1 = "1,1,1,3,46,32,0"
	Level2 = "2,0,1,0,0,0,0"
}
Stats{
	LevelsWithoutMistakes = 2
	LevelWithoutHint = 2
	TilesUncovered = 32
	CashSpend = 20
}
Buildings{
	i = 1
	BuildingStage = 0
	Object1 = 5
}
)");
    }

    // The cells of the picture of the player's level in play that are uncovered (the empty cells
    // of a finished row or column are crossed out by the game), and its mistakes.
    std::vector<std::pair<int, int>> Uncovered(int* mistakes = nullptr) {
        std::vector<std::pair<int, int>> cells;
        auto level = LoadPacLevel(ProgressFile());
        if (!level) return cells;
        if (mistakes) *mistakes = level->Mistakes;
        for (int y = 0; y < level->Rows; ++y)
            for (int x = 0; x < level->Cols; ++x)
                if (level->Tile(0, x, y)->isTile && level->Tile(0, x, y)->isCovered == 0) cells.emplace_back(x, y);
        return cells;
    }

    // Runs the game once on the player's folder: until `frames` after the main menu came (-1:
    // until the script ends it); the screenshots are kept.
    void Run(const Steps& steps, int frames, const std::string& options = "") {
        ++step;
        std::string list;
        for (const auto& [frame, name] : steps.shots()) list += (list.empty() ? "" : ",") + std::to_string(frame);
        GameRun run = RunGame(dir, options + (frames >= 0 ? " --menu-frames " + std::to_string(frames) : "") +
                                       " --frames 20000 --from-menu" + Script(dir, steps.script()) +
                                       (list.empty() ? "" : " --shot-frames " + list));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
        const char* keep = std::getenv("QUILTORA_SHOTS_DIR");
        for (const auto& [frame, name] : steps.shots()) {
            const std::string shot = dir.file("shot-" + std::to_string(frame) + ".png");
            EXPECT_EQ(FileType(shot), 1) << "no screenshot of " << name;
            if (keep)
                testsupport::WriteFileBytes(
                    std::string(keep) + "/" + stage + std::to_string(step) + "-" + name + ".png",
                    testsupport::ReadFileBytes(shot));
        }
    }
};

TEST_F(PlaythroughTest, ANewPlayerWinsLevelOneTwiceAndBuildsInTheKingdom) {
    stage = "a";
    auto one = LaidOutLevel(1);
    ASSERT_TRUE(one);
    Steps s;
    // The start player renamed ROSE in the players pop-up; Play starts a new game on the stages
    // map, which first pans over its whole length (ten seconds, not to be skipped).
    s.Shot(10, "main-menu").Click(20, kMenuPlayers).Shot(55, "players").Click(60, kPlayersRename);
    for (int i = 0; i < 6; ++i) s.Key(100 + 2 * i, kBackspace);
    s.Text(115, "rose").Shot(122, "name-entry").Click(125, kEntryOk).Shot(165, "players-named");
    s.Click(170, kPlayersOk).Click(215, kMenuPlay).Shot(300, "map-first-pan").Shot(805, "map");
    // Level 1 from its thumbnail: the game's help comes first; the tiles fly in from two seconds
    // after the level was entered, and have landed within 230 frames of it whichever way (of two,
    // picked at random) they come.
    s.Click(810, kThumb1).Shot(895, "game-help").Click(900, kHelpOk).Shot(1095, "level-1");
    // Won: every cell of its picture uncovered; the summary books its score (a point a cell and
    // ten a star: 46), and Play again plays it once more for as much again.
    int at = 1100;
    for (auto [x, y] : Cells(*one, true)) s.Cell(at += 6, *one, x, y);
    s.Shot(at + 12, "level-1-won").Shot(at + 450, "summary").Click(at + 455, kSummaryPlayAgain);
    at += 855;
    s.Shot(at - 5, "level-1-again");
    for (auto [x, y] : Cells(*one, true)) s.Cell(at += 6, *one, x, y);
    // Next goes to the kingdom, whose help comes on this first visit; the money buys the sheepfold
    // of the first offer slot, which is raised while the interface hides.
    s.Shot(at + 450, "summary-again").Click(at + 455, kSummaryNext).Shot(at + 605, "kingdom-help");
    s.Click(at + 610, kHelpOk).Shot(at + 705, "kingdom").Click(at + 710, kKingdomSlot1);
    s.Shot(at + 760, "kingdom-building").Shot(at + 1000, "kingdom-built").CommandQ(at + 1005);
    Run(s, -1);

    auto index = LoadBlockFile(Profiles() + "Profiles.dat");
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), kId);
    auto listed = GetBlockFilesList(index, "Profile");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(GetBFString(listed[0], "Name"), kName);
    auto progress = Progress();
    EXPECT_EQ(GetBFString(progress, "Data::Name"), kName);
    EXPECT_EQ(GetBFInt(progress, "Data::Level"), 2);
    EXPECT_EQ(GetBFString(progress, "Data::Screen"), "Kingdom");
    EXPECT_EQ(GetBFInt(progress, "Data::TutorialScreenShowed"), 1);
    EXPECT_EQ(GetBFInt(progress, "Data::MapScreenAnimationShowed"), 1);
    EXPECT_EQ(GetBFInt(progress, "Data::KingdomTutorialScreenShowed"), 1);
    auto won = CreateProfileLevelFromString(GetBFString(progress, "Levels::Level1"));
    EXPECT_EQ(won->isPassed, 1);
    EXPECT_EQ(won->Stars, 3);
    EXPECT_EQ(GetBFString(progress, "Levels::Level2"), "2,0,1,0,0,0,0");
    EXPECT_EQ(FileType(ProgressFile()), 0) << "a won level is not kept as play in progress";
    // The sheepfold bought with the two wins' 92.
    EXPECT_EQ(GetBFInt(progress, "Buildings::i"), 1);
    EXPECT_EQ(GetBFString(progress, "Buildings::Object1"), "5");
    EXPECT_EQ(GetBFNumber(progress, "Data::Score"), 2 * 46 - kSheepfoldPrice);
    EXPECT_EQ(GetBFNumber(progress, "Stats::CashSpend"), kSheepfoldPrice);
}

TEST_F(PlaythroughTest, ThenLosesLevelTwoReplaysItQuitsAndContinuesIt) {
    stage = "b";
    auto two = LaidOutLevel(2);
    ASSERT_TRUE(two);
    WritePlayer();
    // Six of level 2's empty cells whose row and column both hold a run (nothing crosses them out
    // by itself): each a mistake.
    std::vector<std::pair<int, int>> wrong;
    {
        std::vector<int> rowRuns(two->Rows, 0), colRuns(two->Cols, 0);
        for (auto [x, y] : Cells(*two, true)) ++rowRuns[y], ++colRuns[x];
        for (auto [x, y] : Cells(*two, false))
            if (rowRuns[y] && colRuns[x] && wrong.size() < 6) wrong.emplace_back(x, y);
    }
    ASSERT_EQ(wrong.size(), 6u);
    const std::vector<std::pair<int, int>> picture = Cells(*two, true);
    ASSERT_GE(picture.size(), 2u);
    const std::vector<std::pair<int, int>> kept{picture[0], picture[1]};
    {
        Steps s;
        // Play and Continue lead back into the kingdom, with the sheepfold standing; its Play goes
        // on to the stages map, which scrolls to the current level (a click on a thumbnail counts
        // once it rests); level 2 from its thumbnail, lost.
        s.Click(20, kMenuPlay).Shot(55, "continue").Click(60, kContinue).Shot(kKingdomShown, "kingdom");
        s.Click(kKingdomShown + 5, kKingdomPlay).Shot(375, "map").Click(380, kThumb2);
        int at = 740;
        s.Shot(at - 5, "level-2");
        for (auto [x, y] : wrong) s.Cell(at += 8, *two, x, y);
        // The lose pop-up; Replay starts the level afresh: two cells of its picture uncovered,
        // then Command+Q ends the program.
        s.Shot(at + 30, "level-2-lost").Shot(at + 150, "lose").Click(at + 155, kLoseReplay);
        at += 560;
        s.Shot(at - 5, "level-2-replayed");
        s.Cell(at, *two, kept[0].first, kept[0].second).Cell(at + 10, *two, kept[1].first, kept[1].second);
        s.Shot(at + 40, "level-2-played").CommandQ(at + 50);
        Run(s, -1);
        ExpectSheepfold(dir.file("shot-" + std::to_string(kKingdomShown) + ".png"));
        int mistakes = -1;
        EXPECT_EQ(Uncovered(&mistakes), kept) << "the replay started the level afresh and the game kept it at the quit";
        EXPECT_EQ(mistakes, 0);
        auto progress = Progress();
        EXPECT_EQ(GetBFString(progress, "Data::Screen"), "GameScreen");
        EXPECT_EQ(GetBFInt(progress, "Data::Level"), 2);
    }
    // Restarted: Play and Continue lead back into level 2 as it was left.
    {
        Steps s;
        s.Click(20, kMenuPlay).Shot(55, "continue").Click(60, kContinue).Shot(420, "level-2-continued");
        Run(s, 430);
        EXPECT_EQ(Uncovered(), kept);
        EXPECT_EQ(GetBFString(LoadBlockFile(Profiles() + "Profiles.dat"), "Settings::CurrProfile"), kId);
        auto progress = Progress();
        EXPECT_EQ(GetBFString(progress, "Buildings::Object1"), "5") << "the sheepfold is kept through the restarts";
        EXPECT_EQ(GetBFNumber(progress, "Data::Score"), 2 * 46 - kSheepfoldPrice);
    }
}

}  // namespace
