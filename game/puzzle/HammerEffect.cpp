#include "game/puzzle/HammerEffect.h"

#include <string>

#include "engine/basics/AppTime.h"
#include "game/puzzle/GameImages.h"
#include "platform/Graphics.h"

std::array<TImagePtr, THammerEffect::Frames> THammerEffect::img;
int THammerEffect::Interwal = 25;

int SetupHammerEffect() {
    for (int n = 1; n <= THammerEffect::Frames; ++n)
        THammerEffect::img[n - 1] = LoadGameImage("effects/hammer/hammer-" + std::to_string(n) + ".png", -1, true);
    return 0;
}

THammerEffectPtr CreateHammerEffect(int x, int y) {
    auto h = std::make_shared<THammerEffect>();
    h->x = x;
    h->y = y;
    return h;
}

int THammerEffect::Draw() {
    const int now = AppMilliSecs();
    if (now > FrameTime) {
        FrameTime = now + Interwal;
        ++Frame;
        if (Frame > Frames - 1) Frame = 0;
    }
    Alpha = Approach(Alpha, dAlpha, 0.05f);
    SetAlpha(Alpha);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(3);
    SetColor(255, 255, 255);
    DrawImage(img[Frame], static_cast<float>(x), static_cast<float>(y), 0);
    return Alpha == 0.0f ? 1 : 0;
}
