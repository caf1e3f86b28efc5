#include "game/puzzle/Tutorial.h"

#include <algorithm>
#include <cmath>

#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/basics/Timers.h"
#include "game/progress/Profile.h"
#include "platform/Graphics.h"

TImagePtr TTipArrow::Img;
std::vector<TTutorialTipPtr> Tutorial::Tips;
TTutorialTipPtr Tutorial::CurrTip;

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr float ArrowTravel = 16.0f;
constexpr float FadeRate = 0.025f;

}  // namespace

TTipArrow::TTipArrow() : Pulsar(CreateAppPulsar(0.01f)) {}

int TTipArrow::Draw(float alpha) {
    SetScale(1.0f, 1.0f);
    SetRotation(rot);
    SetBlend(3);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    const float v = Pulsar ? Pulsar->Update() : 0.0f;
    const double d = ArrowTravel * std::cos(180.0 * v * kDegToRad);
    const double a = (rot - 90.0) * kDegToRad;
    if (Img) DrawImage(Img, static_cast<float>(x + std::cos(a) * d), static_cast<float>(y + std::sin(a) * d), 0);
    return 0;
}

int TTutorialTip::DrawArrows() {
    for (const auto& arrow : Arrows)
        if (arrow) arrow->Draw(Alpha);
    return 0;
}

int TTutorialTip::Draw() {
    DrawArrows();
    OnDraw();
    return 0;
}

int TTutorialTip::UpdateAlpha() {
    if (Alpha < dAlpha) Alpha = std::min(Alpha + FadeRate * delta, dAlpha);
    else if (Alpha > dAlpha) Alpha = std::max(Alpha - FadeRate * delta, dAlpha);
    return 0;
}

int TTutorialTip::Update() {
    UpdateAlpha();
    OnUpdate();
    return 0;
}

int TTutorialTip::Reset() {
    Alpha = 0;
    dAlpha = 0;
    WaitTime = AppMilliSecs() + DelayTime;
    return 0;
}

int Tutorial::Setup() {
    TTipArrow::Img = LoadImage(bDir + "Effects/Arrow.png");
    if (TTipArrow::Img) MidHandleImage(TTipArrow::Img);
    return 0;
}

int Tutorial::Draw() {
    if (Profile && CurrTip) CurrTip->Draw();
    return 0;
}

int Tutorial::Update() {
    if (!Profile) return 0;
    if (CurrTip) return CurrTip->Update();
    for (const auto& tip : Tips) {
        if (!tip) continue;
        if (std::find(Profile->Tips.begin(), Profile->Tips.end(), tip) != Profile->Tips.end()) continue;
        if (tip->Check() != 0) {
            StartTip(tip);
            break;
        }
    }
    return 0;
}

int Tutorial::StartTip(const TTutorialTipPtr& tip) {
    CurrTip = tip;
    if (tip) tip->Reset();
    if (Profile && tip) Profile->Tips.push_back(tip);
    return 0;
}

int Tutorial::Clear() {
    CurrTip = nullptr;
    return 0;
}

void Tutorial::Reset() {
    Tips.clear();
    CurrTip = nullptr;
    TTipArrow::Img = nullptr;
}
