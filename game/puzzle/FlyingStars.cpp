#include "game/puzzle/FlyingStars.h"

#include <algorithm>
#include <vector>

#include "engine/basics/AppTime.h"
#include "game/effects/Recipes.h"
#include "game/puzzle/GameImages.h"
#include "game/puzzle/MainGame.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Random.h"

TImagePtr TFlyingStar::Img;
std::list<TFlyingStarPtr> FlyingStars;

// The bursts: rays every 32 degrees where a star is lost, every 48 where one lands.
static void Burst(float x, float y, float step, const TEngParticlePackagePtr& package) {
    CreateBoom3(static_cast<int>(x), static_cast<int>(y), 2.0f, 0, 2000, step, 255, 100, 0, 1.0f, package);
}
static TEngParticlePackagePtr GamePackage() { return Game ? Game->HintParticle : nullptr; }

int TFlyingStar::Draw() {
    const int now = AppMilliSecs();
    if (isDrawedBeforeTime == 1) {
        if (now > StartTime) {
            if (!isStarted) {
                isStarted = 1;
                OnStart();
            }
            Update();
        }
    } else {
        if (now < StartTime) return 0;
        if (!isStarted) {
            isStarted = 1;
            OnStart();
        }
        Update();
    }
    SetScale(ScaleX, ScaleY);
    SetAlpha(Alpha);
    SetRotation(Angle);
    SetColor(255, 255, 255);
    SetBlend(3);
    DrawImage(Img, x, y, 0);
    return 0;
}

int TFlyingStar::UpdatePosition() { return SetPosition(SinDeg(90.0 * per)); }

int TFlyingStar::Update() {
    UpdatePosition();
    if (per == 1.0f) Destroy();
    per += Speed * delta;
    if (per > 1.0f) per = 1.0f;
    OnUpdate();
    return 0;
}

int TFlyingStar::SetPosition(double p) {
    x = BezierAt(p, x1, mx1, mx2, x2);
    y = BezierAt(p, y1, my1, my2, y2);
    return 0;
}

int TFlyingStar::Destroy() {
    // Held while it leaves: the list may hold the last reference.
    TFlyingStarPtr self = shared_from_this();
    auto it = std::find(FlyingStars.begin(), FlyingStars.end(), self);
    if (it != FlyingStars.end()) FlyingStars.erase(it);
    OnDestroy();
    return 0;
}

int TFlyingStarDrop::UpdatePosition() {
    if (per < 0.25f) {
        SetPosition(0.0);
        Angle = 0.0f;
        ScaleX = ScaleY = 1.0f + 0.15f * static_cast<float>(SinDeg(180.0 * per / 0.25));
        return 0;
    }
    const double s = SinDeg(90.0 * (per - 0.25) / 0.75);
    ScaleX = ScaleY = 1.0f;
    SetPosition(s);
    Angle = 360.0f * static_cast<float>(SinDeg(90.0 * s));
    return 0;
}

int TFlyingStarDrop::OnStart() {
    Burst(x, y, 32.0f, GamePackage());
    return 0;
}

int TFlyingStarSummary::OnUpdate() {
    Angle = 90.0f * static_cast<float>(SinDeg(360.0 * per));
    return 0;
}

int TFlyingStarSummary::Destroy() {
    if (isFinishedFly == 0) {
        isFinishedFly = 1;
        Burst(x, y, 48.0f, Game ? Game->Navigator->SummaryParticles() : nullptr);
    }
    return 0;
}

int TFlyingStarFlyIn::OnDestroy() {
    if (obj) obj->Enable();
    Burst(x, y, 48.0f, GamePackage());
    return 0;
}

// Half the star picture: the creators' points are its top-left corner.
static void HalfSize(int& hw, int& hh) {
    hw = ImageWidth(TFlyingStar::Img) / 2;
    hh = ImageHeight(TFlyingStar::Img) / 2;
}

int CreateFlyingStarDrop(int x, int y, int delay) {
    int hw = 0, hh = 0;
    HalfSize(hw, hh);
    auto s = std::make_shared<TFlyingStarDrop>();
    const float sx = static_cast<float>(x + hw), sy = static_cast<float>(y + hh);
    s->Speed = 0.005f;
    s->x1 = s->x = sx;
    s->y1 = s->y = sy;
    s->x2 = sx + static_cast<float>(Rand(-64, 64));
    s->y2 = 1000.0f;
    s->mx1 = sx + static_cast<float>(Rand(-64, 64));
    s->my1 = sy - 64.0f;
    s->mx2 = s->x2;
    s->my2 = s->y2;
    s->StartTime = AppMilliSecs() + delay;
    s->isDrawedBeforeTime = 0;
    FlyingStars.push_back(s);
    return 0;
}

int CreateFlyingStarSummary(int x1, int y1, int x2, int y2, int delay) {
    int hw = 0, hh = 0;
    HalfSize(hw, hh);
    auto s = std::make_shared<TFlyingStarSummary>();
    s->Speed = 0.005f;
    s->x1 = s->x = static_cast<float>(x1 + hw);
    s->y1 = s->y = static_cast<float>(y1 + hh);
    s->x2 = static_cast<float>(x2 + hw - 171);
    s->y2 = static_cast<float>(y2 + hh);
    s->mx1 = 1024.0f;
    s->my1 = 0.0f;
    s->mx2 = 256.0f;
    s->my2 = -64.0f;
    s->isDrawedBeforeTime = 1;
    s->isDrawedOnSummary = 1;
    s->StartTime = AppMilliSecs() + delay;
    FlyingStars.push_back(s);
    return 0;
}

int CreateFlyingStarFlyin(int x1, int y1, int x2, int y2, int delay, const TGameObjectPtr& obj) {
    int hw = 0, hh = 0;
    HalfSize(hw, hh);
    auto s = std::make_shared<TFlyingStarFlyIn>();
    s->Speed = 0.01f;
    s->x1 = s->x = s->mx1 = static_cast<float>(x1 + hw);
    s->y1 = s->y = s->my1 = static_cast<float>(y1 + hh);
    s->x2 = s->mx2 = static_cast<float>(x2 + hw);
    s->y2 = static_cast<float>(y2 + hh);
    s->my2 = s->y2 - 64.0f;
    s->obj = obj;
    if (obj) obj->Disable();
    s->StartTime = AppMilliSecs() + delay;
    s->isDrawedBeforeTime = 0;
    FlyingStars.push_back(s);
    return 0;
}

int DrawFlyingStars(TAppScreen*) {
    for (auto it = FlyingStars.begin(); it != FlyingStars.end();) {
        // The next one is taken first: the current star may leave the list meanwhile.
        auto next = std::next(it);
        TFlyingStarPtr star = *it;
        star->Draw();
        it = next;
    }
    return 0;
}

int ClearFlyingStars() {
    FlyingStars.clear();
    return 0;
}

int TakeStarFlyIn(const TGameObject* star, int& x, int& y) {
    int visible = 0;
    for (auto it = FlyingStars.begin(); it != FlyingStars.end();) {
        auto* in = dynamic_cast<TFlyingStarFlyIn*>(it->get());
        if (!in || !star || in->obj.get() != star) {
            ++it;
            continue;
        }
        if (in->isStarted) {
            int hw = 0, hh = 0;
            HalfSize(hw, hh);
            x = static_cast<int>(in->x) - hw;
            y = static_cast<int>(in->y) - hh;
            visible = 1;
        }
        it = FlyingStars.erase(it);
    }
    return visible;
}

int LandStarFlyIns() {
    std::vector<TFlyingStarPtr> landing;
    for (const auto& s : FlyingStars)
        if (dynamic_cast<TFlyingStarFlyIn*>(s.get())) landing.push_back(s);
    for (const auto& s : landing) {
        FlyingStars.remove(s);
        auto* in = static_cast<TFlyingStarFlyIn*>(s.get());
        if (in->obj) in->obj->Enable();
    }
    return 0;
}
