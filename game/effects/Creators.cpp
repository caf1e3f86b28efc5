#include "game/effects/Creators.h"

#include "engine/media/ImgTex.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// A free particle of the package's pool for the blend, or a new stand-alone one; null when the
// pool has none. The particle comes back cleared.
TEngParticlePtr TakeParticle(int standAlone, int blend, const TEngParticlePackagePtr& package) {
    TEngParticlePtr particle = standAlone ? std::make_shared<TEngParticle>() : GetFreeParticle(package, blend);
    if (particle) particle->Clear();
    return particle;
}

// Start, end and life: a pooled particle starts delay milliseconds from now; a stand-alone one
// keeps the delay until its parent's death starts it.
void SetTimes(TEngParticle& p, int standAlone, int delay, int life) {
    if (standAlone) {
        p.startTime = delay;
    } else {
        const int now = AppMilliSecs();
        p.startTime = now + delay;
        p.endTime = now + delay + life;
    }
    p.lifeTime = life;
}

void SetLook(TEngParticle& p, int n, int r1, int g1, int b1, int r2, int g2, int b2, float a1, float a2, float sx1,
             float sx2, float sy1, float sy2, float rot1, float rot2, int blend) {
    p.n = n;
    p.r1 = static_cast<float>(r1);
    p.g1 = static_cast<float>(g1);
    p.b1 = static_cast<float>(b1);
    p.r2 = static_cast<float>(r2);
    p.g2 = static_cast<float>(g2);
    p.b2 = static_cast<float>(b2);
    p.a1 = a1;
    p.a2 = a2;
    p.sx1 = sx1;
    p.sx2 = sx2;
    p.sy1 = sy1;
    p.sy2 = sy2;
    p.rot1 = rot1;
    p.rot2 = rot2;
    p.blend = blend;
}

// What every kind of particle ends with: its times, its package and sub-particle, the easing
// shared by all kinds and its way of positioning; then the particle is reset to its start.
void FinishParticle(TEngParticle& p, int standAlone, int delay, int life, const TEngParticlePackagePtr& pack,
                    const TEngParticlePtr& subPart, int isAlphaSin, int isScaleXSin, int isScaleYSin, int isRotationSin,
                    int isColorSin, int positioningType) {
    SetTimes(p, standAlone, delay, life);
    p.package = pack.get();
    p.subPart = subPart;
    p.isAlphaSin = isAlphaSin;
    p.isScaleXSin = isScaleXSin;
    p.isScaleYSin = isScaleYSin;
    p.isRotationSin = isRotationSin;
    p.isColorSin = isColorSin;
    p.PositioningType = positioningType;
    p.Reset();
}

// Whether the image loader gave an image for a line: a whole image (with or without pixels)
// or a sub-image of a texture. A name it could not resolve comes back with neither.
bool GaveImage(const TImgPtr& img) { return img && (img->image || img->texture); }

void AppendImage(std::vector<TImgPtr>& list, const std::string& path) {
    TImgPtr img = LoadImg(path, -1);
    if (GaveImage(img)) list.push_back(img);
}

// True when the url names a picture that is not there: no file, or no picture of that name in
// its texture's description.
bool NamesNoPicture(const std::string& url) {
    const size_t bar = url.find('|');
    if (bar == std::string::npos) return FileType(url) != 1;
    const TImgTexPtr tex = TImgTex::GetTex(url.substr(0, bar), -1);
    return !tex || !tex->GetImage(url.substr(bar + 1));
}

}  // namespace

TEngParticlePtr CreateStandardParticle(int standAlone, int n, int x1, int y1, int x2, int y2, int mx1, int my1, int mx2,
                                       int my2, int r1, int g1, int b1, int r2, int g2, int b2, float a1, float a2,
                                       float sx1, float sx2, float sy1, float sy2, float rot1, float rot2, int blend,
                                       int delay, int life, const TEngParticlePackagePtr& package,
                                       int isUsingBothPoints, const TEngParticlePtr& subPart, int isAlphaSin,
                                       int isScaleXSin, int isScaleYSin, int isRotationSin, int isRouteSin,
                                       int isColorSin) {
    const TEngParticlePackagePtr& pack = package ? package : BasicPackage;
    TEngParticlePtr part = TakeParticle(standAlone, blend, pack);
    if (!part) return nullptr;
    TEngParticle& p = *part;
    SetLook(p, n, r1, g1, b1, r2, g2, b2, a1, a2, sx1, sx2, sy1, sy2, rot1, rot2, blend);
    p.x1 = static_cast<float>(x1);
    p.y1 = static_cast<float>(y1);
    p.x2 = static_cast<float>(x2);
    p.y2 = static_cast<float>(y2);
    p.mx1 = static_cast<float>(mx1);
    p.my1 = static_cast<float>(my1);
    p.mx2 = static_cast<float>(mx2);
    p.my2 = static_cast<float>(my2);
    p.isUsingBothPoints = isUsingBothPoints;
    p.isRouteSin = isRouteSin;
    FinishParticle(p, standAlone, delay, life, pack, subPart, isAlphaSin, isScaleXSin, isScaleYSin, isRotationSin,
                   isColorSin, 0);
    return part;
}

TEngParticlePtr CreateRotationParticle(int standAlone, int n, int ox, int oy, float w1, float w2, float h1, float h2,
                                       float posRotX1, float posRotX2, float posRotY1, float posRotY2, int r1, int g1,
                                       int b1, int r2, int g2, int b2, float a1, float a2, float sx1, float sx2,
                                       float sy1, float sy2, float rot1, float rot2, int blend, int delay, int life,
                                       const TEngParticlePackagePtr& package, const TEngParticlePtr& subPart,
                                       int isAlphaSin, int isScaleXSin, int isScaleYSin, int isRotationSin,
                                       int isColorSin, int isDistWidthSin, int isDistHeightSin,
                                       int isRouteRotRotationXSin, int isRouteRotRotationYSin) {
    const TEngParticlePackagePtr& pack = package ? package : BasicPackage;
    TEngParticlePtr part = TakeParticle(standAlone, blend, pack);
    if (!part) return nullptr;
    TEngParticle& p = *part;
    SetLook(p, n, r1, g1, b1, r2, g2, b2, a1, a2, sx1, sx2, sy1, sy2, rot1, rot2, blend);
    p.ox = static_cast<float>(ox);
    p.oy = static_cast<float>(oy);
    p.w1 = w1;
    p.w2 = w2;
    p.h1 = h1;
    p.h2 = h2;
    p.posRotX1 = posRotX1;
    p.posRotX2 = posRotX2;
    p.posRotY1 = posRotY1;
    p.posRotY2 = posRotY2;
    p.isDistWidthSin = isDistWidthSin;
    p.isDistHeightSin = isDistHeightSin;
    p.isRouteRotRotationXSin = isRouteRotRotationXSin;
    p.isRouteRotRotationYSin = isRouteRotRotationYSin;
    FinishParticle(p, standAlone, delay, life, pack, subPart, isAlphaSin, isScaleXSin, isScaleYSin, isRotationSin,
                   isColorSin, 1);
    return part;
}

TEngParticlePtr CreateEasyParticle(int standAlone, int n, int x1, int y1, int x2, int y2, int mx1, int my1,
                                   const TRGB& color, float a1, float a2, float scale1, float scale2, float rot1,
                                   float rot2, int blend, int delay, int life, const TEngParticlePackagePtr& package) {
    return CreateStandardParticle(standAlone, n, x1, y1, x2, y2, mx1, my1, 0, 0, color.r, color.g, color.b, color.r,
                                  color.g, color.b, a1, a2, scale1, scale2, scale1, scale2, rot1, rot2, blend, delay,
                                  life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
}

TEngParticlePtr CreateEasyParticle2(int standAlone, int n, int x1, int y1, int x2, int y2, int mx1, int my1, int mx2,
                                    int my2, const TRGB& color, float a1, float a2, float scale1, float scale2,
                                    float rot1, float rot2, int blend, int delay, int life,
                                    const TEngParticlePackagePtr& package) {
    return CreateStandardParticle(standAlone, n, x1, y1, x2, y2, mx1, my1, mx2, my2, color.r, color.g, color.b, color.r,
                                  color.g, color.b, a1, a2, scale1, scale2, scale1, scale2, rot1, rot2, blend, delay,
                                  life, package, 1, nullptr, 0, 0, 0, 0, 0, 0);
}

int SeTEngParticleAlphaSin(const TEngParticlePtr& particle) { return particle->SetAlphaSin(), 0; }
int SeTEngParticleScaleSin(const TEngParticlePtr& particle) { return particle->SetScaleSin(), 0; }
int SeTEngParticleScaleXSin(const TEngParticlePtr& particle) { return particle->SetScaleXSin(), 0; }
int SeTEngParticleScaleYSin(const TEngParticlePtr& particle) { return particle->SetScaleYSin(), 0; }
int SeTEngParticleRotationSin(const TEngParticlePtr& particle) { return particle->SetRotationSin(), 0; }
int SetBasicSin(const TEngParticlePtr& particle) { return particle->SetAlphaScaleAndRotationSin(), 0; }
int SetRouteSin(const TEngParticlePtr& particle) { return particle->SetRouteSin(), 0; }
int SetColorSin(const TEngParticlePtr& particle) { return particle->SetColorSin(), 0; }

std::vector<TImgPtr> CreateImageList(const std::string& path) {
    std::vector<TImgPtr> list;
    bool ok = false;
    const std::string text = LoadText(path, &ok);
    if (!ok) {
        ErrorNoFile(path, Here());
        return list;
    }
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            AppendImage(list, Trim(bDir + line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        // A last line without its line feed naming no picture is where a list was cut short:
        // said once, as the list's fault, and left out.
        if (NamesNoPicture(bDir + line))
            Error("The list " + path + " ends in a broken line ('" + line + "'), which is left out", Here());
        else AppendImage(list, bDir + line);
    }
    return list;
}

void SetupParticles(const std::string& path) {
    std::vector<TImgPtr> list = CreateImageList(path);
    std::vector<TImgPtr> images;
    images.reserve(list.size());
    for (const TImgPtr& img : list) {
        // Pixels now, not at the first particle: a shared texture once, a whole image itself.
        if (img->texture) {
            img->texture->Load();
        } else {
            img->Load();
        }
        images.push_back(img);
        MidHandleImg(img);
    }
    TEngParticle::standardImg = std::move(images);
}

std::string ParticlesListPath() { return bDir + "Effects/Particles/ParticlesList.txt"; }
