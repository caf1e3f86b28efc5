// The game screen in play, in-process on data/ (run from the repository root) in the 1366 x 768
// window on the software renderer: the CPU of the whole process (the renderer's threads
// included) for one frame, split into what the frame is made of. The whole-process figure at a
// paced 60 frames per second comes from bench/frame_cpu.py, which runs the game itself. A case
// whose set-up printed an error or warning line, or whose board's frame is blank, fails
// (GameMeasurable, bench/BenchData.h).
//
//   BM_GameFrame/<board>/<part>   board 0: 10 x 10 of three colours, 1: 20 x 15 of three colours
//   part 0  the whole frame: clear, update, the screen drawn, flip
//   part 1  the same without the background picture
//   part 2  the same without the background and the panel
//   part 3  the same without the background, the panel and the board: clear, update, flip
//   part 4  the update alone: the game's own work for a frame, nothing drawn
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/TextClass.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/ui/UI_Object.h"
#include "game/puzzle/GamePanel.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "game/startup/AppInit.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"

#include "BenchData.h"

namespace {

double ProcessCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The 10 x 10 three-colour picture of bench/frame_cpu.py.
std::shared_ptr<TPACLevel> Board10() {
    const std::vector<std::string> rows = {"..111111..", ".12222221.", "1223333221", "1233..3321", "123.33.321",
                                           "123.33.321", "1233..3321", "1223333221", ".12222221.", "..111111.."};
    auto level = std::make_shared<TPACLevel>();
    level->Rows = level->Cols = 10;
    level->Size = 8;
    level->ColorArr = {1, 6, 4};
    level->Colors = 3;
    level->ColorDone.assign(3, 0);
    level->InitArray();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            if (rows[y][x] != '.') level->Tile(rows[y][x] - '1', x, y)->isTile = level->ColorArr[rows[y][x] - '1'];
    level->InitAll();
    level->Center();
    return level;
}

void Frame(bool draw) {
    if (draw) Cls();
    Control::Update();
    if (draw) {
        Control::Draw();
        Flip(0);
        AspectCls();
    } else {
        AdvanceFixedClock();
    }
}

// The game screen set up once for the program, the board played to the end of its fly-in.
void Prepare(int board) {
    static bool ready = false;
    if (!ready) {
        ready = true;
        bDir = RealPath("data") + "/";
        LocalizeDir = bDir + "Local/en/";
        SetFixedClock(true);
        openScreenASPECT(1024, 768, 0, 0);
        InstallWidgets();
        AppInitClasses();
        WireHooks();  // as start-up does before anything is loaded
        TSpecialLoads().Setup();
        Game = CreateMainGame(CreateShellNavigator());
        Game->Load(nullptr, nullptr);
        Game->SetupAssets();
        Game->Setup();
    }
    Game->SetData(board == 0 ? Board10() : LoadPacLevel(bDir + "Game/Levels/Picross/Level-100.PACLevel"));
    SetAppScreen(Game);
    for (int i = 0; i < 2000 && Game->CurrState != 0; ++i) Frame(true);
    for (int i = 0; i < 30; ++i) Frame(true);  // the clue numbers faded in
}

void BM_GameFrame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // A frame drawn and read back before it is shown: the board over its background.
    const auto drawn = [] {
        Cls();
        Control::Draw();
    };
    if (!GameMeasurable(
            state, [&] { Prepare(static_cast<int>(state.range(0))); }, drawn))
        return;
    Flip(0);
    AspectCls();
    const int part = static_cast<int>(state.range(1));
    for (int id = 1001; id <= 1010; ++id)
        if (auto bg = Game->FindObjectInd(id)) bg->isEnabled = part >= 1 ? 0 : bg->isEnabled;
    if (part >= 2 && GamePanel::MainPanel) GamePanel::MainPanel->Disable();
    if (part >= 3) Game->isLevelVisible = 0;
    const double start = ProcessCpuSeconds();
    int frames = 0;
    for (auto _ : state) {
        Frame(part != 4);
        ++frames;
    }
    state.counters["cpu_ms"] = (ProcessCpuSeconds() - start) / frames * 1000.0;
    // Back to a whole screen for the next case.
    if (GamePanel::MainPanel) GamePanel::MainPanel->Enable();
    Game->isLevelVisible = 1;
    Game->PrepareBackground();
}

}  // namespace

BENCHMARK(BM_GameFrame)->ArgsProduct({{0, 1}, {0, 1, 2, 3, 4}})->Iterations(300)->Unit(benchmark::kMillisecond);
