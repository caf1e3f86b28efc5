#include "game/levels/PlayHooks.h"

#include "game/levels/BoardLayout.h"
#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/Tile.h"

std::function<void()> PuzzlePlayHooks::AddMistake;
std::function<int()> PuzzlePlayHooks::GetScoreAdd;
std::function<void(bool)> PuzzlePlayHooks::TileSound;
std::function<void(int, int)> PuzzlePlayHooks::HintCharge;
std::function<bool(int, int, float&, float&)> PuzzlePlayHooks::NumberImageSize;

void ResetPuzzlePlayHooks() {
    PuzzlePlayHooks::AddMistake = nullptr;
    PuzzlePlayHooks::GetScoreAdd = nullptr;
    PuzzlePlayHooks::TileSound = nullptr;
    PuzzlePlayHooks::HintCharge = nullptr;
    PuzzlePlayHooks::NumberImageSize = nullptr;
}

void ResetPuzzleGlobals() {
    ResetPuzzlePlayHooks();
    TPNumber::ShineA = 0.0f;
    TPNumber::dShineA = 0.0f;
    TTile::CurrAlpha = 0.0f;
    TTile::CurrScale = 0.0f;
    TPACLevel::RemLayer = 0;
    BoardAreaRight = static_cast<float>(NumbersExtentStartX);
}
