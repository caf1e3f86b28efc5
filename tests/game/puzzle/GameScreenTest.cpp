#include "game/puzzle/GameScreenHarness.h"

namespace {
using gamescreen::GameScreenTest;

TEST_F(GameScreenTest, Look) {
    auto level = Play(15);
    Frames(10);
    SavePixmapPNG(Frame(true), "/tmp/gs_fly.png");
    UntilPlay();
    Frames(30);
    MoveToCell(*level, 2, 2);
    Frame();
    Down(1);
    Frame();
    MoveToCell(*level, 2, 5);
    Frames(3);
    SavePixmapPNG(Frame(true), "/tmp/gs_play.png");
}

}  // namespace
