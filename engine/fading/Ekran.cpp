#include "engine/fading/Ekran.h"

#include "engine/basics/AppTime.h"
#include "engine/screen/MouseCursor.h"
#include "platform/Graphics.h"

int TEkran::drawStandards() {
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(1.0f);
    return 0;
}

int TEkran::_drawGui() { return drawStandards(); }

int TEkran::_drawBlackFade() {
    SetBlend(ALPHABLEND);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(fade);
    SetColor(0, 0, 0);
    DrawRect(-500.0f, 0.0f, VirtualResolutionWidth() + 1000.0f, VirtualResolutionHeight());
    return 0;
}

int TEkran::_drawFade() { return _drawBlackFade(); }

int TEkran::_drawWhiteFade() { return _drawBlackFade(); }

int TEkran::_drawMouse() {
    Mouse::Draw();
    return 0;
}

int TEkran::_updatePer() {
    MoveTowardTarget(p, dp, pSpeed);
    return 0;
}

int TEkran::_updateFade() {
    MoveTowardTarget(fade, dFade, fSpeed);
    return 0;
}

int TEkran::_updateAlpha() {
    MoveTowardTarget(alpha, dAlpha, aSpeed);
    return 0;
}

TPixmapPtr TEkran::_getMyScreen() {
    Cls();
    draw();
    return GrabPixmap(0, 0, static_cast<int>(VirtualResolutionWidth() - 1.0f),
                      static_cast<int>(VirtualResolutionHeight() - 1.0f));
}

int TEkran::STANDARD_DATA() {
    alpha = 1.0f;
    dAlpha = 1.0f;
    fade = 0.0f;
    dFade = 0.0f;
    return 0;
}

int TEkran::_prepareDelta() {
    for (int i = 0; i < 25; ++i) UpdateDelta();
    return 0;
}
