#include "game/effects/EngParticle.h"

#include <algorithm>
#include <cmath>

#include "engine/basics/AppTime.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"

std::vector<TImgPtr> TEngParticle::standardImg;
std::vector<TEngParticlePackagePtr> TEngParticlePackage::allPackages;
TEngParticlePackagePtr BasicPackage;

namespace {

// The progress a channel interpolates with: linear, or eased by a quarter sine wave (fast at
// first, slowing towards the end value).
inline float Eased(float per, int sineFlag) {
    if (!sineFlag) return per;
    return static_cast<float>(SinDeg(90.0 * per));
}

inline float Lerp(float from, float to, float e) { return from + (to - from) * e; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TEngParticle

int TEngParticle::draw(float alphaFactor, float dx, float dy) {
    if (!isOnUse) return 0;
    update();
    if (!visible) return 0;
    const float shownAlpha = alpha * alphaFactor;
    if (shownAlpha <= 0.0f) return 1;  // drawn, and nothing to see
    SetScale(sx, sy);
    SetAlpha(shownAlpha);
    SetRotation(rotation);
    SetBlend(blend);
    SetColor(r, g, b);
    const float px = x + dx, py = y + dy;
    if (image) {
        DrawImage(image, px, py, 0);
    } else if (img) {
        DrawImg(img, px, py, 0);
    } else if (n >= 0 && n < static_cast<int>(standardImg.size()) && standardImg[n]) {
        DrawImg(standardImg[n], px, py, 0);
    }
    // An index with no image draws nothing.
    return 1;
}

int TEngParticle::update() {
    if (AppMilliSecs() < startTime) {
        visible = 0;
        return 0;
    }
    visible = 1;
    _updatePer();
    _updateAlpha();
    _updateScale();
    _updateRotation();
    _updateColor();
    if (PositioningType == 0) {
        _updatePosition();
    } else if (PositioningType == 1) {
        _updateRotationPosition();
    }
    if (per == 1.0f) destroy();
    return 0;
}

int TEngParticle::_updatePer() {
    const int now = AppMilliSecs();
    if (startTime <= now && now <= endTime) {
        // A life of 0 (or less) has no span to divide: it is over as soon as it starts.
        per = lifeTime > 0 ? static_cast<float>(now - startTime) / static_cast<float>(lifeTime) : 1.0f;
    } else if (now > endTime) {
        per = 1.0f;
    }
    return 0;
}

int TEngParticle::_updateAlpha() {
    const float e = Eased(per, isAlphaSin);
    if (!isAlphaBack) {
        alpha = Lerp(a1, a2, e);
    } else if (e < 0.25f) {
        alpha = Lerp(a1, a2, e / 0.25f);
    } else if (e < 0.75f) {
        alpha = a2;
    } else {
        alpha = Lerp(a1, a2, 1.0f - (e - 0.75f) / 0.25f);
    }
    return 0;
}

int TEngParticle::_updateScale() {
    sx = Lerp(sx1, sx2, Eased(per, isScaleXSin));
    sy = Lerp(sy1, sy2, Eased(per, isScaleYSin));
    return 0;
}

int TEngParticle::_updateRotation() {
    rotation = Lerp(rot1, rot2, Eased(per, isRotationSin));
    return 0;
}

int TEngParticle::_updateColor() {
    const float e = Eased(per, isColorSin);
    r = static_cast<int>(Lerp(r1, r2, e));
    g = static_cast<int>(Lerp(g1, g2, e));
    b = static_cast<int>(Lerp(b1, b2, e));
    return 0;
}

int TEngParticle::_updatePosition() {
    const double e = Eased(per, isRouteSin);
    if (isUsingBothPoints == 1) {
        const double u = 1.0 - e;
        const double k0 = u * u * u, k1 = 3.0 * u * u * e, k2 = 3.0 * u * e * e, k3 = e * e * e;
        x = static_cast<float>(x1 * k0 + mx1 * k1 + mx2 * k2 + x2 * k3);
        y = static_cast<float>(y1 * k0 + my1 * k1 + my2 * k2 + y2 * k3);
    } else if (isUsingBothPoints == -1) {
        x = static_cast<float>(x1 + (static_cast<double>(x2) - x1) * e);
        y = static_cast<float>(y1 + (static_cast<double>(y2) - y1) * e);
    } else {
        x = static_cast<float>(x1 + 2.0 * e * (static_cast<double>(mx1) - x1) +
                               e * e * (static_cast<double>(x2) - 2.0 * mx1 + x1));
        y = static_cast<float>(y1 + 2.0 * e * (static_cast<double>(my1) - y1) +
                               e * e * (static_cast<double>(y2) - 2.0 * my1 + y1));
    }
    return 0;
}

int TEngParticle::_updateDistance() {
    width = Lerp(w1, w2, Eased(per, isDistWidthSin));
    height = Lerp(h1, h2, Eased(per, isDistHeightSin));
    return 0;
}

int TEngParticle::_updateRotPosRotation() {
    posRotX = Lerp(posRotX1, posRotX2, Eased(per, isRouteRotRotationXSin));
    posRotY = Lerp(posRotY1, posRotY2, Eased(per, isRouteRotRotationYSin));
    return 0;
}

int TEngParticle::_updateRotationPosition() {
    _updateDistance();
    _updateRotPosRotation();
    x = static_cast<float>(ox + CosDeg(posRotX) * width);
    y = static_cast<float>(oy + SinDeg(posRotY) * height);
    return 0;
}

int TEngParticle::destroy() {
    isOnUse = 0;
    if (subPart) {
        subPart->package = package;
        subPart->startTime = AppMilliSecs() + subPart->startTime;  // the stored delay
        subPart->endTime = subPart->startTime + subPart->lifeTime;
        subPart->Reset();
        if (package) package->PutSubParticle(subPart, myPackageIndex);
    }
    return 0;
}

int TEngParticle::Clear() {
    startTime = lifeTime = endTime = 0;
    isAlphaBack = 0;
    a1 = a2 = sx1 = sx2 = sy1 = sy2 = 0;
    x1 = y1 = x2 = y2 = mx1 = my1 = mx2 = my2 = 0;
    rot1 = rot2 = 0;
    r1 = g1 = b1 = r2 = g2 = b2 = 0;
    w1 = w2 = h1 = h2 = 0;
    posRotX1 = posRotX2 = posRotY1 = posRotY2 = 0;
    ox = oy = 0;
    posRotX = posRotY = width = height = alpha = rotation = 0;
    r = g = b = 0;
    sx = sy = x = y = 0;
    n = 0;
    visible = 0;
    isUsingBothPoints = 0;
    isAlphaSin = isScaleXSin = isScaleYSin = isRotationSin = isRouteSin = isColorSin = isRouteRotationSin =
        isDistWidthSin = isDistHeightSin = isRouteRotRotationXSin = isRouteRotRotationYSin = 0;
    isOnUse = 0;
    // A reused particle starts without the picture an earlier effect gave it, so it draws its
    // own numbered image.
    image.reset();
    img.reset();
    return 0;
}

int TEngParticle::Reset() {
    isOnUse = 1;
    per = 0;
    return 0;
}

int TEngParticle::MoveInTime(float f) {
    startTime = static_cast<int>(startTime + f * lifeTime);
    endTime = static_cast<int>(endTime + f * lifeTime);
    return 0;
}

int TEngParticle::Free() {
    image.reset();
    img.reset();
    if (subPart) {
        subPart->Free();
        subPart.reset();
    }
    package = nullptr;
    return 0;
}

int TEngParticle::SetAlphaAndScaleSin() {
    SetAlphaSin();
    SetScaleSin();
    return 0;
}
int TEngParticle::SetAlphaScaleAndRotationSin() {
    SetAlphaAndScaleSin();
    SetRotationSin();
    return 0;
}
int TEngParticle::SetAlphaSin() { return isAlphaSin = 1, 0; }
int TEngParticle::SetScaleXSin() { return isScaleXSin = 1, 0; }
int TEngParticle::SetScaleYSin() { return isScaleYSin = 1, 0; }
int TEngParticle::SetScaleSin() {
    SetScaleXSin();
    SetScaleYSin();
    return 0;
}
int TEngParticle::SetRotationSin() { return isRotationSin = 1, 0; }
int TEngParticle::SetRouteSin() { return isRouteSin = 1, 0; }
int TEngParticle::SetColorSin() { return isColorSin = 1, 0; }
int TEngParticle::SetRouteRotationSin() { return isRouteRotationSin = 1, 0; }
int TEngParticle::SetDistWidthSin() { return isDistWidthSin = 1, 0; }
int TEngParticle::SetDistHeightSin() { return isDistHeightSin = 1, 0; }
int TEngParticle::SetRouteRotRotationXSin() { return isRouteRotRotationXSin = 1, 0; }
int TEngParticle::SetRouteRotRotationYSin() { return isRouteRotRotationYSin = 1, 0; }

// ---------------------------------------------------------------------------------------------
// TEngParticlePackage

TEngParticlePackage::~TEngParticlePackage() {
    for (auto* pool : {&lightBlend_particles, &alphaBlend_particles})
        for (const TEngParticlePtr& p : *pool)
            if (p && p->package == this) p->package = nullptr;
}

int TEngParticlePackage::Free() {
    const size_t count = std::max(lightBlend_particles.size(), alphaBlend_particles.size());
    for (size_t k = 0; k < count; ++k) {
        if (k < lightBlend_particles.size() && lightBlend_particles[k]) lightBlend_particles[k]->Free();
        if (k < alphaBlend_particles.size() && alphaBlend_particles[k]) alphaBlend_particles[k]->Free();
    }
    lightBlend_particles.clear();
    alphaBlend_particles.clear();
    auto it = std::find_if(allPackages.begin(), allPackages.end(),
                           [this](const TEngParticlePackagePtr& p) { return p.get() == this; });
    if (it != allPackages.end()) allPackages.erase(it);
    return 0;
}

int TEngParticlePackage::draw() {
    Counter = 0;
    for (auto* pool : {&alphaBlend_particles, &lightBlend_particles}) {
        const size_t count = pool->size();
        for (size_t k = 0; k < count; ++k) {
            if (!(*pool)[k]->isOnUse) continue;
            // Held here while it runs: a dying particle can hand its slot, and with it the
            // pool's reference to itself, to its sub-particle.
            TEngParticlePtr particle = (*pool)[k];
            Counter += particle->draw(PackageAlpha, Ax, Ay);
        }
    }
    return 0;
}

std::vector<TEngParticlePtr>* TEngParticlePackage::PoolOf(int blend) {
    if (blend == EngAlphaBlend) return &alphaBlend_particles;
    if (blend == EngLightBlend) return &lightBlend_particles;
    return nullptr;
}

int TEngParticlePackage::PutSubParticle(const TEngParticlePtr& particle, int index) {
    if (!particle) return 0;
    std::vector<TEngParticlePtr>* pool = PoolOf(particle->blend);
    if (!pool) return 0;
    const int count = static_cast<int>(pool->size());
    int slot = -1;
    if (index >= 0 && index < count && !(*pool)[index]->isOnUse) {
        slot = index;
    } else {
        for (int k = 0; k < count; ++k) {
            if (!(*pool)[k]->isOnUse) {
                slot = k;
                break;
            }
        }
    }
    if (slot < 0) return 0;
    (*pool)[slot] = particle;
    particle->myPackageIndex = slot;
    return 0;
}

TEngParticlePtr TEngParticlePackage::GetMyFreeParticle(int blend) {
    std::vector<TEngParticlePtr>* pool = PoolOf(blend);
    if (!pool) return nullptr;
    const int count = static_cast<int>(pool->size());
    for (int k = 0; k < count; ++k) {
        if (!(*pool)[k]->isOnUse) {
            (*pool)[k]->myPackageIndex = k;
            return (*pool)[k];
        }
    }
    return nullptr;
}

int TEngParticlePackage::Clear() {
    for (const TEngParticlePtr& p : alphaBlend_particles) p->isOnUse = 0;
    for (const TEngParticlePtr& p : lightBlend_particles) p->isOnUse = 0;
    return 0;
}

int TEngParticlePackage::MoveInTime(float f) {
    for (const TEngParticlePtr& p : alphaBlend_particles)
        if (p->isOnUse) p->MoveInTime(f);
    for (const TEngParticlePtr& p : lightBlend_particles)
        if (p->isOnUse) p->MoveInTime(f);
    return 0;
}

int TEngParticlePackage::CountInUse() const {
    int count = 0;
    for (const TEngParticlePtr& p : alphaBlend_particles) count += p->isOnUse ? 1 : 0;
    for (const TEngParticlePtr& p : lightBlend_particles) count += p->isOnUse ? 1 : 0;
    return count;
}

// ---------------------------------------------------------------------------------------------
// Free functions

TEngParticlePackagePtr CreateEngParticlePackage(int max) {
    auto package = std::make_shared<TEngParticlePackage>();
    const int size = std::max(max, 0);
    package->Max_Particles = max;
    package->lightBlend_particles.reserve(size);
    package->alphaBlend_particles.reserve(size);
    for (int k = 0; k < size; ++k) {
        package->lightBlend_particles.push_back(std::make_shared<TEngParticle>());
        package->alphaBlend_particles.push_back(std::make_shared<TEngParticle>());
    }
    return package;
}

void DrawEngPackage(const TEngParticlePackagePtr& package) {
    const TEngParticlePackagePtr& p = package ? package : BasicPackage;
    if (p) p->draw();
}

TEngParticlePtr GetFreeParticle(const TEngParticlePackagePtr& package, int blend) {
    return package ? package->GetMyFreeParticle(blend) : nullptr;
}

void ClearParticles(const TEngParticlePackagePtr& package) {
    const TEngParticlePackagePtr& p = package ? package : BasicPackage;
    if (p) p->Clear();
}

void ClearAllParticles() {
    for (const TEngParticlePackagePtr& p : std::vector<TEngParticlePackagePtr>(TEngParticlePackage::allPackages))
        ClearParticles(p);
}
