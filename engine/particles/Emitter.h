// Particle emitters: game objects that emit engine particles (engine/Particles.h) from a pool of
// their own at the rate their preset gives, and draw them at their own position.
//
//   TAppEmitterPreSet        the preset base: rate, lives, blend, pool size, images, shape,
//                            colorizer and transformer, with their part of the "EP" block.
//   TAppEmitter              the emitter base (a TGameObject): pool, pre-filling at start,
//                            emission timing, drawing.
//   TAppBasicEmitterPreSet   the "BASIC_EMITTER" preset: force, acceleration, angle, gravity.
//   TAppBasicEmitter         object type 6 ("BasicEmitter"): gives birth to each particle; its
//                            preset travels in its object data as the block "EP".
//
// Preset block "EP" (names read without regard to case):
//
//   EP{
//   	Type = "BASIC_EMITTER"
//   	Standards{ Name, MaxParticles, CountPerSecond, LifeTime = min, max, Blend, Started, Shape }
//   	EmissionObjects{ Colorizer = "<text form>"  Transformer = "<text form>" }
//   	IMAGES{ ImagesCount, ImagesFiltered, ImagesMipmapped, Image1 = "url", hx, hy ... }
//   	Special{ Force = min, max  Acc = min, max  Angle = start, width  Gravity = force, angle }
//   }
//
// The presets file bDir + "App/Data/EmitterPresets.dat" holds "Preset" blocks: either a preset
// written out in place ("Type" and the blocks above), or "LoadPreset" naming a preset file (one
// "EP" block) inside the data folder. The presets read from it are kept by name in
// TAppBasicEmitter::Presets for the whole run; presets built elsewhere (an emitter's own, copies)
// belong to whoever holds them.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/particles/Colorizer.h"
#include "engine/particles/Emitter_Shape.h"
#include "engine/screen/GameObject.h"
#include "engine/particles/Particles.h"
#include "engine/particles/Transformer.h"
#include "engine/data/BlockFile.h"
#include "engine/media/Img.h"

class TAppEmitterPreSet;
class TAppBasicEmitterPreSet;
class TAppEmitter;
class TAppBasicEmitter;
using TAppEmitterPreSetPtr = std::shared_ptr<TAppEmitterPreSet>;
using TAppBasicEmitterPreSetPtr = std::shared_ptr<TAppBasicEmitterPreSet>;
using TAppBasicEmitterPtr = std::shared_ptr<TAppBasicEmitter>;

class TAppEmitterPreSet {
public:
    // The largest pool a preset file may ask for (eight times the default): a pool is made
    // whole when the emitter loads, so an unbounded count would take all memory.
    static constexpr int32_t MaxParticlesLimit = 16384;

    std::string name = "Preset";
    TAppEmitterShapePtr Shape;    // where particles appear, relative to the emitter
    int32_t MaxParticles = 2048;  // the size of each emitter's pool
    int32_t CountPerSecond = 64;  // the emission rate
    int32_t MinLifeTime = 1000;   // particle lives, milliseconds
    int32_t MaxLifeTime = 1000;
    int32_t Blend = 3;            // 3 alpha or 4 light
    std::vector<TImgPtr> Images;  // a particle takes one at random; none draws 1 x 1 rectangles
    int32_t isImageFiltered = 1;
    int32_t isImageMipmapped = 1;
    int32_t isStarted = 1;        // the emitter pre-fills its pool when it starts (not read back)
    TColorizerPtr Colorizer;      // null colours nothing
    TTransformerPtr Transformer;  // null transforms nothing

    TAppEmitterPreSet();
    virtual ~TAppEmitterPreSet() = default;

    virtual std::string GetType() { return ""; }
    // Each appends its child block ("Standards", "EmissionObjects", "IMAGES") to parent.
    virtual int SaveStandard(const TBlockFilePtr& parent);
    virtual int SaveEmissionObjects(const TBlockFilePtr& parent);
    // Empty when there are no images; else the count, both flags and Image1.. (url with the
    // data folder written as "#BDIR#", handle x, handle y).
    virtual int SaveImagesData(const TBlockFilePtr& parent);
    virtual int Save(const TBlockFilePtr& /*block*/) { return 0; }
    // Each reads its child block of `block`; missing entries read as empty text or 0.
    virtual int LoadStandard(const TBlockFilePtr& block);
    virtual int LoadEmissionObjects(const TBlockFilePtr& block);
    // Appends the listed images (loaded with the default flags); an image that cannot be loaded
    // is reported and left out.
    virtual int LoadImagesData(const TBlockFilePtr& block);
    virtual int Load(const TBlockFilePtr& /*block*/) { return 0; }
    // Copies name, pool size, rate, lives and blend, copies of the shape, colorizer and
    // transformer, and the image list (the images themselves are shared).
    virtual int CopyBase(TAppEmitterPreSet* target);
    virtual TAppEmitterPreSetPtr Copy() { return nullptr; }
    // Centres the image's handle and appends it.
    virtual int AddImage(const TImgPtr& img);
    // Leaves out every entry that is this image.
    virtual int DeleteImage(const TImgPtr& img);
    // An index outside the list removes nothing.
    virtual int DeleteImageInd(int index);
    virtual int BuildImageArrayFromList(const std::vector<TImgPtr>& list);
    // One draw of Rand(0, count - 1); null (and no draw) without images.
    virtual TImgPtr GetRandomImage();
    // 6 both flags, 2 filtered only, 4 mipmapped only, -1 neither.
    virtual int GetImagesFlags();
};

class TAppEmitter : public TGameObject {
public:
    TAppParticlePackagePtr Package;  // made by InitPackage
    TAppEmitterPreSetPtr Preset;     // this emitter's own preset
    int32_t CountToEmit = -1;
    int32_t LastTime = 0;  // application-clock time after which the next emission is due

    // The particle made by the latest EmitParticle of any emitter; null when none could be taken.
    static TAppParticlePtr EmitedParticle;

    TAppEmitter();

    // Emission: due once the clock passes LastTime. At 16 ms or more between particles, one
    // particle; at shorter intervals trunc((1 - interval / 16) * 16) of them (at least one).
    // LastTime = now + trunc(interval). A rate of 0 or less emits nothing.
    int Update() override;
    // The pool, updated and drawn at the emitter's position (truncated).
    int Draw() override;
    // The derived draw position.
    float GetX() override;
    float GetY() override;
    // Pre-filling (when the preset says so): (MaxLifeTime / 1000) * CountPerSecond particles,
    // each moved half of MaxLifeTime into its life; stops early once an emission gives no
    // particle (the pool is exhausted, or the blend has no pool). The game object's own start
    // is not run.
    int Start() override;
    int OnDisable() override { return Pause(); }
    int OnEnable() override { return Unpause(); }
    // The loader's last step: the pool.
    int OnLoaded() override { return InitPackage(); }

    // target's pool becomes a new pool of this pool's free-particle count.
    virtual int CopyEmitterStandard(TAppEmitter* target);
    // A pool when there is none, then Init(Preset.MaxParticles).
    virtual int InitPackage();
    virtual int Pause() { return 0; }
    virtual int Unpause() { return 0; }
    virtual int DrawShape();
    // EmitParticle(0).
    virtual int Emit();
    virtual int EmitParticle(int32_t /*wait*/) {
        EmitedParticle = nullptr;
        return 0;
    }
};

class TAppBasicEmitterPreSet : public TAppEmitterPreSet {
public:
    float MinForce = 1.0f, MaxForce = 1.0f;  // start speed, pixels per frame
    float MinAcc = 0.0f, MaxAcc = 0.0f;
    int32_t StartAngle = 0;     // degrees
    int32_t Angle = 359;        // width of the emission angle range, degrees
    float GravityForce = 0.0f;  // as stored; particles get one hundredth of it
    int32_t GravityAngle = 0;   // degrees

    // The base defaults, then a point shape.
    TAppBasicEmitterPreSet();

    std::string GetType() override { return "BASIC_EMITTER"; }
    // Appends "EP" to block: Type, Standards, EmissionObjects, IMAGES, Special.
    int Save(const TBlockFilePtr& block) override;
    // Given the "EP" block itself (or a "Preset" block with the same contents).
    int Load(const TBlockFilePtr& ep) override;
    TAppEmitterPreSetPtr Copy() override;

    // One draw: a real between MinAcc and MaxAcc.
    virtual float GetAcceleration();
    // The fourth and fifth arguments are not stored.
    virtual int SetBehaviourData(int32_t countPerSecond, float minForce, float maxForce, float unused1, float unused2,
                                 int32_t startAngle, int32_t angle, float gravityForce, int32_t gravityAngle);
    virtual int SaveBasicData(const TBlockFilePtr& ep);
    // A missing "Special" block sets all eight fields to 0.
    virtual int LoadBasicData(const TBlockFilePtr& ep);
};

class TAppBasicEmitter : public TAppEmitter {
public:
    // The named presets read from the presets file at start-up, in file order.
    static std::vector<TAppBasicEmitterPreSetPtr> Presets;
    // Scratch of the particle being born (EmitParticle is not re-entrant).
    static TAppBasicEmitterPreSetPtr BasicPreset;
    static float EmAngle, EmX, EmY, Force;

    // Preset = a new basic preset.
    TAppBasicEmitter();

    TGameObjectPtr Copy() override;
    int GetTypeInt() override { return 6; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;
    // Random draws, in order: the angle Rand(StartAngle, StartAngle + Angle) (a line shape then
    // gives its direction instead); the shape's offset; the force; the acceleration; the life
    // Rand(MinLifeTime, MaxLifeTime); the image (only when there are images). The particle then
    // gets the preset's colorizer and transformer.
    int EmitParticle(int32_t wait) override;
    // other.Preset = a copy of this preset.
    virtual int CopyEmitterPreset(TAppEmitter* other);

    // A preset of Presets by name (ignoring case); null when none.
    static TAppBasicEmitterPreSetPtr GetPreset(const std::string& presetName);
};

TAppBasicEmitterPreSetPtr CreateBasicEmitterPreSet();
TAppBasicEmitterPreSetPtr LoadAppBasicEmitterPreset(const TBlockFilePtr& block);
// A basic preset when the block's "Type" is "BASIC_EMITTER" (any case); null otherwise.
TAppEmitterPreSetPtr LoadAppEmitterPreset(const TBlockFilePtr& block);
// A file holding one "EP" block at path.
int SaveAppEmitterPreset(const TAppEmitterPreSetPtr& preset, const std::string& path);
// A new basic emitter whose preset takes the shape (a point when null), in the middle of the
// screen, with its pool. The first argument is not used.
TAppBasicEmitterPtr CreateAppEmitterBasic(int unused, const TAppEmitterShapePtr& shape);

// Reads the presets file into TAppBasicEmitter::Presets (replacing what it held). A missing
// presets file is skipped silently; a preset file named by "LoadPreset" that is missing or lies
// outside the data folder is reported and skipped.
void AppInitEmitterPresets();
// Editing routine; writes nothing.
void AppEmittersPresetsSave();

// Start-up: object type 6 builds TAppBasicEmitter. The program calls this once before AppInit.
void InstallEmitters();
// Back to the start state: no presets, no scratch, no last particle (tests).
void ResetEmitters();
