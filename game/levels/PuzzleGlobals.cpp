#include "game/levels/PuzzleGlobals.h"

#include "game/levels/BoardLayout.h"
#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/Tile.h"

void ResetPuzzleGlobals() {
    SetNumberImageSizes(nullptr);
    TPNumber::ShineA = 0.0f;
    TPNumber::dShineA = 0.0f;
    TTile::CurrAlpha = 0.0f;
    TTile::CurrScale = 0.0f;
    TPACLevel::RemLayer = 0;
    BoardAreaRight = static_cast<float>(NumbersExtentStartX);
}
