#include "game/levels/TileOverlays.h"

#include "engine/basics/AppTime.h"
#include "game/levels/BoardView.h"
#include "game/levels/Tile.h"

float TTileAdd::AlphaSpeed = 0.05f;
float TTileAdd::ScaleSpeed = 0.05f;

int TTileAdd::ReleaseHintAdd() {
    ReleaseHint = 1;
    return 0;
}

int TTileAdd::SetDrawPlace(float x, float y, const TTile&) {
    LastX = static_cast<int>(x);
    LastY = static_cast<int>(y);
    return 0;
}

int TTileError::SetDrawPlace(float x, float y, const TTile& tile) {
    const int qx = tile.ow / 4;
    const int qy = tile.oh / 4;
    LastX = static_cast<int>(x + static_cast<float>(qx));
    LastY = static_cast<int>(y + static_cast<float>(qy));
    return 0;
}

int TTileAdd::UpdateAlpha() {
    if (Alpha < dAlphA) {
        Alpha += AlphaSpeed * delta;
        if (Alpha > dAlphA) Alpha = dAlphA;
    }
    if (Alpha > dAlphA) {
        Alpha -= AlphaSpeed * delta;
        if (Alpha < dAlphA) Alpha = dAlphA;
    }
    return 0;
}

int TTileAdd::UpdateScale() {
    if (Scale < dScale) {
        Scale += ScaleSpeed * delta;
        if (Scale > dScale) Scale = dScale;
    }
    if (Scale > dScale) {
        Scale -= ScaleSpeed * delta;
        if (Scale < dScale) Scale = dScale;
    }
    return 0;
}

int TTileAdd::UpdateRotation() { return 0; }

int TTileAdd::Update() {
    if (AppMilliSecs() < time) return 0;
    if (ReleaseHint == 1) ReleaseTheHint();
    if (isShowing == 1) {
        OnShowStart();
        isShowing = 0;
    }
    UpdateAlpha();
    UpdateScale();
    UpdateRotation();
    return 0;
}

int TTileAdd::ShowNow() {
    Alpha = Scale = dAlphA = dScale = 1.0f;
    return 0;
}

int TTileAdd::Show(int delay) {
    dAlphA = 1.0f;
    dScale = 1.0f;
    time = AppMilliSecs() + delay;
    return 0;
}

int TTileAdd::Hide(int delay) {
    Alpha = Scale = dAlphA = dScale = 0.0f;
    time = AppMilliSecs() + delay;
    return 0;
}

int TTileAdd::HideNow() {
    Alpha = Scale = dAlphA = dScale = 0.0f;
    return 0;
}

int TTileAdd::isAction() const { return (Alpha != dAlphA || Scale != dScale) ? 1 : 0; }

int TTileAdd::ReleaseTheHint() {
    ReleaseHint = 0;
    if (TBoardView* board = PlayingBoard()) board->BoardHintCharge(LastX, LastY);
    return 0;
}

int TTileAdd::OnShowStart() { return 0; }

// The error, the box and the cross grow from nothing at full alpha once their delay is over.
static void GrowAfter(TTileAdd& overlay, int delay) {
    overlay.Alpha = 1.0f;
    overlay.Scale = 0.0f;
    overlay.dAlphA = 1.0f;
    overlay.dScale = 1.0f;
    overlay.time = AppMilliSecs() + delay;
    overlay.isShowing = 1;
}

int TTileError::Show(int delay) {
    GrowAfter(*this, delay);
    return 0;
}

int TTileError::OnShowStart() {
    if (TBoardView* board = PlayingBoard()) board->BoardTileSound(false);
    return 0;
}

int TTileMark::Show(int delay) {
    // A cross that is shown, or about to be, is not started again.
    if (isShowing == 0 && dScale == 0.0f && dAlphA == 0.0f) GrowAfter(*this, delay);
    return 0;
}

int TTileMark::OnShowStart() {
    if (TBoardView* board = PlayingBoard(); board && isRight == 1) board->BoardTileSound(true);
    return 0;
}

int TTileBox::Show(int delay) {
    GrowAfter(*this, delay);
    return 0;
}

int TTileBox::OnShowStart() {
    if (TBoardView* board = PlayingBoard(); board && isRight == 1) board->BoardTileSound(true);
    return 0;
}
