#include "engine/particles/Particles.h"

#include <algorithm>
#include <cmath>

#include "engine/basics/Basics.h"
#include "engine/basics/AppTime.h"
#include "platform/Graphics.h"

// ---------------------------------------------------------------------------------------------
// The pool

TAppParticlePackage::~TAppParticlePackage() {
    for (auto& p : Particles)
        if (p) p->Package = nullptr;
    for (auto& p : AlphaParticlesInUse)
        if (p) p->Package = nullptr;
    for (auto& p : LightParticlesInUse)
        if (p) p->Package = nullptr;
}

int TAppParticlePackage::Init(int32_t count) {
    Clear();
    // Particles still in use belong to the old arrays; they no longer come back here.
    for (auto& p : AlphaParticlesInUse)
        if (p) p->Package = nullptr;
    for (auto& p : LightParticlesInUse)
        if (p) p->Package = nullptr;
    if (count < 0) count = 0;
    for (int32_t i = 0; i < count; ++i) {
        auto p = std::make_shared<TAppParticle>();
        p->Package = this;
        Particles.push_back(std::move(p));
    }
    AlphaParticlesInUse.assign(static_cast<size_t>(count), nullptr);
    LightParticlesInUse.assign(static_cast<size_t>(count), nullptr);
    return 0;
}

TAppParticlePackagePtr TAppParticlePackage::Copy() {
    auto out = std::make_shared<TAppParticlePackage>();
    out->Init(static_cast<int32_t>(Particles.size()));
    return out;
}

int TAppParticlePackage::Clear() {
    for (auto& p : Particles) {
        if (!p) continue;
        p->Free();
        p->Package = nullptr;
    }
    Particles.clear();
    return 0;
}

TAppParticlePtr TAppParticlePackage::_Take(std::vector<TAppParticlePtr>& slots, int32_t blend) {
    if (Particles.empty()) return nullptr;
    // Both arrays have a slot for every particle, so a free particle always finds a free slot.
    size_t index = 0;
    while (index < slots.size() && slots[index]) ++index;
    if (index == slots.size()) return nullptr;
    TAppParticlePtr p = std::move(Particles.front());
    Particles.pop_front();
    p->blend = blend;
    p->MyPackageIndex = static_cast<int32_t>(index);
    slots[index] = p;
    return p;
}

TAppParticlePtr TAppParticlePackage::GetFreeParticleAlpha() { return _Take(AlphaParticlesInUse, 3); }

TAppParticlePtr TAppParticlePackage::GetFreeParticleLight() { return _Take(LightParticlesInUse, 4); }

int TAppParticlePackage::Draw(int32_t x, int32_t y) {
    SetBlend(3);
    for (size_t i = 0; i < AlphaParticlesInUse.size(); ++i) {
        // Held here: drawing may give the particle back, which empties its slot.
        TAppParticlePtr p = AlphaParticlesInUse[i];
        if (p) p->Draw(x, y);
    }
    SetBlend(4);
    for (size_t i = 0; i < LightParticlesInUse.size(); ++i) {
        TAppParticlePtr p = LightParticlesInUse[i];
        if (p) p->Draw(x, y);
    }
    return 0;
}

int TAppParticlePackage::DestroyParticle(TAppParticle* p) {
    if (p == nullptr) return 0;
    std::vector<TAppParticlePtr>* slots = nullptr;
    if (p->blend == 3) slots = &AlphaParticlesInUse;
    if (p->blend == 4) slots = &LightParticlesInUse;
    if (slots == nullptr) return 0;
    const int32_t index = p->MyPackageIndex;
    if (index < 0 || static_cast<size_t>(index) >= slots->size()) return 0;
    if ((*slots)[static_cast<size_t>(index)].get() != p) return 0;
    TAppParticlePtr held = std::move((*slots)[static_cast<size_t>(index)]);
    (*slots)[static_cast<size_t>(index)] = nullptr;
    Particles.push_back(std::move(held));
    return 0;
}

int32_t TAppParticlePackage::CountInUse() const {
    int32_t n = 0;
    for (const auto& p : AlphaParticlesInUse)
        if (p) ++n;
    for (const auto& p : LightParticlesInUse)
        if (p) ++n;
    return n;
}

// ---------------------------------------------------------------------------------------------
// The particle

int TAppParticle::Free() {
    Img.reset();
    Gradient.reset();
    Transform.reset();
    WasEnded = 0;
    return 0;
}

int TAppParticle::Reset() {
    Started = 0;
    Img.reset();
    WasEnded = 0;
    r = g = b = 255;
    Alpha = 1.0f;
    ScaleX = ScaleY = 1.0f;
    Rotation = 0.0f;
    Per = 0.0f;
    vx = vy = 0.0f;
    Acc = 0.0f;
    StartVX = StartVY = 0.0f;
    Gradient.reset();
    Transform.reset();
    return 0;
}

float TAppParticle::UpdatePer(float cur, float target, float step, float speed) {
    return ::UpdatePer(cur, target, step, speed);
}

float TAppParticle::TimeToPerStep(int32_t time, float fps) { return ::TimeToPerStep(time, fps); }

int32_t TAppParticle::GravityTableIndex(float& angle) {
    if (angle > 359.0f) angle = 359.0f;
    if (std::isnan(angle)) return 0;
    if (angle >= 0.0f) return static_cast<int32_t>(angle);
    // Truncated toward zero first, as a positive angle is, then taken round the circle.
    int32_t a = static_cast<int32_t>(std::fmod(angle, 360.0f));
    if (a < 0) a += 360;
    return a;
}

void TAppParticle::_GravityStep() {
    const int32_t a = GravityTableIndex(GravityAngle);
    vx += GravityForce * CosTable[static_cast<size_t>(a)];
    vy += GravityForce * SinTable[static_cast<size_t>(a)];
}

int TAppParticle::Update() {
    if (Started == 0) {
        if (AppMilliSecs() < WaitTime) return 0;
        Started = 1;
        Per = 0.0f;
    }
    UpdateLife();
    UpdateMove();
    UpdateAcc();
    UpdateRGB();
    UpdateTransform();
    return 0;
}

int TAppParticle::UpdateLife() {
    if (LifeTime <= 0) {
        // No life to run through: it is over at the first update, whatever the frame delta.
        Per = 1.0f;
    } else {
        const float step = TimeToPerStep(LifeTime, 60.0f);
        Per = UpdatePer(Per, 1.0f, step, -1.0f);
    }
    if (Per == 1.0f) {
        if (WasEnded != 0) Destroy();
        WasEnded = 1;
    }
    return 0;
}

int TAppParticle::UpdateMove() {
    x += vx * delta;
    y += vy * delta;
    if (GravityForce != 0.0f) _GravityStep();
    return 0;
}

int TAppParticle::UpdateAcc() {
    if (Acc != 0.0f) {
        vx += Acc * StartVX * delta;
        vy += Acc * StartVY * delta;
    }
    return 0;
}

int TAppParticle::UpdateRGB() {
    if (Gradient) Gradient->PutToVar(r, g, b, Alpha, Per);
    return 0;
}

int TAppParticle::UpdateTransform() {
    if (Transform) Transform->PutToVar(ScaleX, ScaleY, Rotation, Per);
    return 0;
}

int TAppParticle::Draw(int32_t px, int32_t py) {
    Update();
    if (Started == 0) return 0;
    SetScale(ScaleX, ScaleY);
    SetRotation(Rotation);
    SetAlpha(Alpha);
    SetColor(r, g, b);
    if (Img) DrawImg(Img, static_cast<float>(px) + x, static_cast<float>(py) + y, 0);
    else DrawRect(static_cast<float>(px) + x, static_cast<float>(py) + y, 1.0f, 1.0f);
    return 0;
}

int TAppParticle::Destroy() {
    if (Package) Package->DestroyParticle(this);
    return 0;
}

int TAppParticle::MoveInTime(int32_t ms) {
    WaitTime -= ms;
    if (!(AppMilliSecs() > WaitTime)) return 0;
    if (ms > LifeTime) {
        Destroy();
        return 0;
    }
    Per = LifeTime > 0 ? static_cast<float>(ms) / static_cast<float>(LifeTime) : 1.0f;
    const float t = static_cast<float>(ms) / 1000.0f;
    if (GravityForce == 0.0f) {
        x += vx * 60.0f * t;
        y += vy * 60.0f * t;
        return 0;
    }
    // Stepped frame by frame for at most PrefillFramesLimit frames: a particle that has fallen
    // that long is far off the screen, and a long life must not freeze the pre-fill.
    const int32_t n = std::min(TruncToInt(t * 60.0f), PrefillFramesLimit);
    for (int32_t i = 0; i <= n; ++i) {
        x += vx;
        y += vy;
        _GravityStep();
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------

TAppParticlePtr CreateAppParticle(TAppParticlePackage* package, const TImgPtr& img, float x, float y, int32_t wait,
                                  int32_t life, int32_t blend, float vx, float vy, float acc, float gravityAngle,
                                  float gravityForce) {
    if (package == nullptr) return nullptr;
    TAppParticlePtr p;
    if (blend == 3) p = package->GetFreeParticleAlpha();
    if (blend == 4) p = package->GetFreeParticleLight();
    if (!p) return nullptr;
    p->Reset();
    p->x = x;
    p->y = y;
    p->blend = blend;
    p->GravityForce = gravityForce;
    p->GravityAngle = gravityAngle;
    p->vx = vx;
    p->vy = vy;
    p->StartVX = vx;
    p->StartVY = vy;
    p->Acc = acc;
    p->Img = img;
    p->WaitTime = AppMilliSecs() + wait;
    p->LifeTime = life;
    return p;
}
