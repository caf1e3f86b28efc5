#include "engine/particles/Emitter.h"

#include "engine/data/Fields.h"
#include "engine/data/Keyframes.h"
#include "engine/basics/Basics.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

int32_t ClampToInt(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The preset base

TAppEmitterPreSet::TAppEmitterPreSet()
    : Colorizer(std::make_shared<TColorizer>()), Transformer(std::make_shared<TTransformer>()) {}

namespace {
// The "Standards" block (the shape, an object of its own, follows them).
using P = TAppEmitterPreSet;
constexpr TField<P> kStandardFields[] = {
    {"Name", 0, &P::name},
    {"MaxParticles", 0, &P::MaxParticles},
    {"CountPerSecond", 0, &P::CountPerSecond},
    {"LifeTime", 0, &P::MinLifeTime},
    {"LifeTime", 1, &P::MaxLifeTime},
    {"Blend", 0, &P::Blend},
    {"Started", 0, &P::isStarted, FieldForm::Plain, FieldUse::SavedOnly},
};
// The basic preset's "Special" block.
using B = TAppBasicEmitterPreSet;
constexpr TField<B> kBasicFields[] = {
    {"Force", 0, &B::MinForce},       {"Force", 1, &B::MaxForce},
    {"Acc", 0, &B::MinAcc},           {"Acc", 1, &B::MaxAcc},
    {"Angle", 0, &B::StartAngle},     {"Angle", 1, &B::Angle},
    {"Gravity", 0, &B::GravityForce}, {"Gravity", 1, &B::GravityAngle, FieldForm::Number},
};
}  // namespace

int TAppEmitterPreSet::SaveStandard(const TBlockFilePtr& parent) {
    TBlockFilePtr b = CreateBlockFile("Standards", parent);
    SaveFields(b, *this, kStandardFields);
    AddStringToBlock(b, "Shape", Shape ? Shape->ToString() : CreateAESPoint()->ToString(), 0);
    return 0;
}

int TAppEmitterPreSet::SaveEmissionObjects(const TBlockFilePtr& parent) {
    TBlockFilePtr b = CreateBlockFile("EmissionObjects", parent);
    // A missing emission object changes nothing in a particle, as the plain kinds do with their
    // defaults (white, opaque; scale 1, rotation 0), which is what is written for it.
    AddStringToBlock(b, "Colorizer", Colorizer ? Colorizer->ToString() : TColorizer().ToString(), 0);
    AddStringToBlock(b, "Transformer", Transformer ? Transformer->ToString() : TTransformer().ToString(), 0);
    return 0;
}

int TAppEmitterPreSet::SaveImagesData(const TBlockFilePtr& parent) {
    TBlockFilePtr b = CreateBlockFile("IMAGES", parent);
    if (Images.empty()) return 0;
    AddIntToBlock(b, "ImagesCount", static_cast<int32_t>(Images.size()), 0);
    AddIntToBlock(b, "ImagesFiltered", isImageFiltered, 0);
    AddIntToBlock(b, "ImagesMipmapped", isImageMipmapped, 0);
    for (size_t k = 0; k < Images.size(); ++k) {
        const TImgPtr& img = Images[k];
        const std::string entry = "Image" + std::to_string(k + 1);
        AddStringToBlock(b, entry, img ? CheckIfUrlIsInsideApp(img->Url) : std::string(), 0);
        AddIntToBlock(b, entry, ImgHandleX(img), 1);
        AddIntToBlock(b, entry, ImgHandleY(img), 2);
    }
    return 0;
}

int TAppEmitterPreSet::LoadStandard(const TBlockFilePtr& block) {
    TBlockFilePtr b = GetBlockFile(block, "Standards");
    LoadFields(b, *this, kStandardFields);
    if (MaxParticles > MaxParticlesLimit) {
        Error("Preset '" + name + "' asks for " + IntToString(MaxParticles) + " particles; its pool holds " +
                  IntToString(MaxParticlesLimit),
              Here());
        MaxParticles = MaxParticlesLimit;
    }
    Shape = CreateAESFromString(GetBFString(b, "shape"));
    return 0;
}

int TAppEmitterPreSet::LoadEmissionObjects(const TBlockFilePtr& block) {
    TBlockFilePtr b = GetBlockFile(block, "EmissionObjects");
    Colorizer = LoadColorizerFromString(GetBFString(b, "Colorizer"));
    Transformer = LoadTransformerFromString(GetBFString(b, "Transformer"));
    return 0;
}

int TAppEmitterPreSet::LoadImagesData(const TBlockFilePtr& block) {
    TBlockFilePtr im = GetBlockFile(block, "Images");
    isImageFiltered = GetBFInt(im, "ImagesFiltered");
    isImageMipmapped = GetBFInt(im, "ImagesMipmapped");
    // A count beyond the block's own entries cannot name more images than the block holds.
    const int32_t count = std::min(GetBFInt(im, "ImagesCount"), static_cast<int32_t>(im->SubFiles.size()));
    for (int32_t k = 1; k <= count; ++k) {
        const std::string entry = "Image" + std::to_string(k);
        const std::string url = GetBFString(im, entry, 0);
        TImgPtr img = url.empty() ? nullptr : LoadImg(ConvertAppPath(url), -1);
        // The image layer hands back a placeholder for what it cannot load: no picture and no
        // texture behind it. It has said so already; only an entry naming no picture is
        // reported here.
        if (!img || (!img->image && !img->texture)) {
            if (url.empty()) Error("Couldn't load TImg object! Url = " + url, Here());
            continue;
        }
        SetImgHandle(img, GetBFInt(im, entry, 1), GetBFInt(im, entry, 2));
        AddImage(img);
    }
    return 0;
}

int TAppEmitterPreSet::CopyBase(TAppEmitterPreSet* target) {
    if (target == nullptr) return 0;
    CopyFields(*target, *this, kStandardFields);
    target->Colorizer = Colorizer ? Colorizer->Copy() : nullptr;
    target->Transformer = Transformer ? Transformer->Copy() : nullptr;
    if (Shape) target->Shape = Shape->Copy();
    target->Images = Images;
    return 0;
}

int TAppEmitterPreSet::AddImage(const TImgPtr& img) {
    MidHandleImg(img);
    std::vector<TImgPtr> list = Images;
    list.push_back(img);
    return BuildImageArrayFromList(list);
}

int TAppEmitterPreSet::DeleteImage(const TImgPtr& img) {
    std::vector<TImgPtr> list;
    for (const auto& e : Images)
        if (e != img) list.push_back(e);
    return BuildImageArrayFromList(list);
}

int TAppEmitterPreSet::DeleteImageInd(int index) { return BuildImageArrayFromList(WithoutIndex(Images, index)); }

int TAppEmitterPreSet::BuildImageArrayFromList(const std::vector<TImgPtr>& list) {
    Images = list;
    return 0;
}

TImgPtr TAppEmitterPreSet::GetRandomImage() { return Images.empty() ? nullptr : PickAny(Images); }

int TAppEmitterPreSet::GetImagesFlags() {
    if (isImageFiltered != 0 && isImageMipmapped != 0) return 6;
    if (isImageFiltered != 0) return 2;
    if (isImageMipmapped != 0) return 4;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The emitter base

TAppParticlePtr TAppEmitter::EmitedParticle;

TAppEmitter::TAppEmitter() { name = "Emitter"; }

float TAppEmitter::GetX() { return DrawX; }
float TAppEmitter::GetY() { return DrawY; }

int TAppEmitter::InitPackage() {
    if (!Package) Package = std::make_shared<TAppParticlePackage>();
    Package->Init(Preset ? Preset->MaxParticles : 0);
    return 0;
}

int TAppEmitter::CopyEmitterStandard(TAppEmitter* target) {
    if (target == nullptr) return 0;
    target->Package = Package ? Package->Copy() : nullptr;
    return 0;
}

int TAppEmitter::DrawShape() {
    if (Preset && Preset->Shape) Preset->Shape->Draw(GetX(), GetY());
    return 0;
}

int TAppEmitter::Emit() { return EmitParticle(0); }

int TAppEmitter::Start() {
    if (!Preset || Preset->isStarted == 0) return 0;
    UpdateRoots();
    int64_t n = static_cast<int64_t>(Preset->MaxLifeTime / 1000) * Preset->CountPerSecond;
    const int32_t half = Preset->MaxLifeTime / 2;
    // Particles whose life ends within the pre-fill go back to the pool at once, so the pool
    // alone does not stop it: never emit more than the pool holds.
    if (Package) n = std::min<int64_t>(n, static_cast<int64_t>(Package->Particles.size()));
    for (int64_t i = 0; i < n; ++i) {
        // Once the pool is exhausted no further emission could give a particle.
        if (!Package || Package->Particles.empty()) break;
        Emit();
        // Nor after an emission that gave none (a blend without a pool): nothing comes back to
        // the pool meanwhile, and a long life at a high rate would otherwise spin for ages.
        if (!EmitedParticle) break;
        EmitedParticle->MoveInTime(half);
    }
    return 0;
}

int TAppEmitter::Update() {
    if (!Preset || Preset->CountPerSecond <= 0) return 0;
    const int32_t now = AppMilliSecs();
    if (now > LastTime) {
        const float interval = 1000.0f / static_cast<float>(Preset->CountPerSecond);
        if (interval >= 16.0f) {
            Emit();
        } else {
            int32_t k = static_cast<int32_t>((1.0f - interval / 16.0f) * 16.0f);
            if (k < 1) k = 1;
            for (int32_t i = 0; i < k; ++i) Emit();
        }
        LastTime = AppMilliSecs() + static_cast<int32_t>(interval);
    }
    return 0;
}

int TAppEmitter::Draw() {
    if (Package) Package->Draw(TruncToInt(GetX()), TruncToInt(GetY()));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The basic preset

TAppBasicEmitterPreSet::TAppBasicEmitterPreSet() {
    if (!Shape) Shape = CreateAESPoint();
}

float TAppBasicEmitterPreSet::GetAcceleration() { return static_cast<float>(Rnd(MinAcc, MaxAcc)); }

int TAppBasicEmitterPreSet::SetBehaviourData(int32_t countPerSecond, float minForce, float maxForce, float, float,
                                             int32_t startAngle, int32_t angle, float gravityForce,
                                             int32_t gravityAngle) {
    CountPerSecond = countPerSecond;
    MinForce = minForce;
    MaxForce = maxForce;
    StartAngle = startAngle;
    Angle = angle;
    GravityForce = gravityForce;
    GravityAngle = gravityAngle;
    return 0;
}

int TAppBasicEmitterPreSet::Save(const TBlockFilePtr& block) {
    TBlockFilePtr ep = CreateBlockFile("EP", block);
    AddStringToBlock(ep, "Type", GetType(), 0);
    SaveStandard(ep);
    SaveEmissionObjects(ep);
    SaveImagesData(ep);
    SaveBasicData(ep);
    return 0;
}

int TAppBasicEmitterPreSet::SaveBasicData(const TBlockFilePtr& ep) {
    TBlockFilePtr b = CreateBlockFile("Special", ep);
    SaveFields(b, *this, kBasicFields);
    return 0;
}

int TAppBasicEmitterPreSet::Load(const TBlockFilePtr& ep) {
    LoadStandard(ep);
    LoadEmissionObjects(ep);
    LoadImagesData(ep);
    LoadBasicData(ep);
    return 0;
}

int TAppBasicEmitterPreSet::LoadBasicData(const TBlockFilePtr& ep) {
    LoadFields(GetBlockFile(ep, "Special"), *this, kBasicFields);
    return 0;
}

TAppEmitterPreSetPtr TAppBasicEmitterPreSet::Copy() {
    auto out = std::make_shared<TAppBasicEmitterPreSet>();
    CopyBase(out.get());
    CopyFields(*out, *this, kBasicFields);
    return out;
}

TAppBasicEmitterPreSetPtr CreateBasicEmitterPreSet() { return std::make_shared<TAppBasicEmitterPreSet>(); }

TAppBasicEmitterPreSetPtr LoadAppBasicEmitterPreset(const TBlockFilePtr& block) {
    auto preset = std::make_shared<TAppBasicEmitterPreSet>();
    preset->Load(block);
    return preset;
}

// ---------------------------------------------------------------------------------------------
// The basic emitter

std::vector<TAppBasicEmitterPreSetPtr> TAppBasicEmitter::Presets;
TAppBasicEmitterPreSetPtr TAppBasicEmitter::BasicPreset;
float TAppBasicEmitter::EmAngle = 0.0f;
float TAppBasicEmitter::EmX = 0.0f;
float TAppBasicEmitter::EmY = 0.0f;
float TAppBasicEmitter::Force = 0.0f;

TAppBasicEmitter::TAppBasicEmitter() {
    name = "BasicEmitter";
    Preset = std::make_shared<TAppBasicEmitterPreSet>();
}

TGameObjectPtr TAppBasicEmitter::Copy() {
    auto out = std::make_shared<TAppBasicEmitter>();
    CopyStandard(out.get());
    CopyEmitterStandard(out.get());
    CopyEmitterPreset(out.get());
    return out;
}

int TAppBasicEmitter::CopyEmitterPreset(TAppEmitter* other) {
    if (other == nullptr) return 0;
    other->Preset = Preset ? Preset->Copy() : nullptr;
    return 0;
}

int TAppBasicEmitter::SaveMyData(const TBlockFilePtr& block) {
    if (Preset) Preset->Save(block);
    return 0;
}

int TAppBasicEmitter::LoadMyData(const TBlockFilePtr& block, TLoadList*) {
    if (!Preset) Preset = std::make_shared<TAppBasicEmitterPreSet>();
    Preset->Load(GetBlockFile(block, "EP"));
    return 0;
}

int TAppBasicEmitter::EmitParticle(int32_t wait) {
    BasicPreset = std::dynamic_pointer_cast<TAppBasicEmitterPreSet>(Preset);
    if (!BasicPreset) {
        EmitedParticle = nullptr;
        return 0;
    }
    TAppBasicEmitterPreSet& bp = *BasicPreset;
    EmAngle = static_cast<float>(
        Rand(bp.StartAngle, ClampToInt(static_cast<int64_t>(bp.StartAngle) + static_cast<int64_t>(bp.Angle))));
    if (auto* line = dynamic_cast<TAEShapeLine*>(bp.Shape.get())) EmAngle = line->V(0);
    EmX = 0.0f;
    EmY = 0.0f;
    if (bp.Shape) {
        EmX = static_cast<float>(bp.Shape->GetRandomX());
        EmY = static_cast<float>(bp.Shape->GetRandomY());
    }
    Force = static_cast<float>(Rnd(bp.MinForce, bp.MaxForce));
    const float acc = bp.GetAcceleration();
    const float vx = static_cast<float>(CosDeg(EmAngle) * Force);
    const float vy = static_cast<float>(SinDeg(EmAngle) * Force);
    const int32_t life = Rand(bp.MinLifeTime, bp.MaxLifeTime);
    const TImgPtr img = bp.Images.empty() ? nullptr : bp.GetRandomImage();
    EmitedParticle = CreateAppParticle(Package.get(), img, EmX, EmY, wait, life, bp.Blend, vx, vy, acc,
                                       static_cast<float>(bp.GravityAngle), bp.GravityForce * 0.01f);
    if (EmitedParticle) {
        if (bp.Colorizer) bp.Colorizer->ColorizeParticle(EmitedParticle.get());
        if (bp.Transformer) bp.Transformer->TransformParticle(EmitedParticle.get());
    }
    return 0;
}

TAppBasicEmitterPreSetPtr TAppBasicEmitter::GetPreset(const std::string& presetName) {
    for (const auto& p : Presets)
        if (p && EqualsNoCase(p->name, presetName)) return p;
    return nullptr;
}

TAppBasicEmitterPtr CreateAppEmitterBasic(int, const TAppEmitterShapePtr& shape) {
    auto e = std::make_shared<TAppBasicEmitter>();
    e->Preset->Shape = shape ? shape : CreateAESPoint();
    e->SetPosition(static_cast<float>(GetGraphicsWidth() / 2), static_cast<float>(GetGraphicsHeight() / 2));
    e->InitPackage();
    return e;
}

// ---------------------------------------------------------------------------------------------
// Preset files

TAppEmitterPreSetPtr LoadAppEmitterPreset(const TBlockFilePtr& block) {
    if (Upper(GetBFString(block, "Type")) == "BASIC_EMITTER") return LoadAppBasicEmitterPreset(block);
    return nullptr;
}

int SaveAppEmitterPreset(const TAppEmitterPreSetPtr& preset, const std::string& path) {
    if (!preset) return 0;
    TBlockFilePtr root = CreateBlockFile(path, nullptr);
    preset->Save(root);
    SaveBlockFile(root);
    return 0;
}

void AppInitEmitterPresets() {
    TAppBasicEmitter::Presets.clear();
    const std::string path = ResolvePath(bDir + AppResources + "Data/EmitterPresets.dat");
    if (FileType(path) != 1) {
        ErrorNoFile(path, Here());  // emitters then make no particles
        return;
    }
    TBlockFilePtr root = LoadBlockFile(path);
    const std::string dataFolder = bDir.empty() ? std::string(".") : bDir;
    for (const TBlockFilePtr& block : GetBlockFilesList(root, "Preset")) {
        const std::string ref = GetBFString(block, "LoadPreset");
        TAppEmitterPreSetPtr preset;
        if (!ref.empty()) {
            const std::string file = ResolvePath(ConvertAppPath(ref));
            if (FileType(file) != 1) {
                ErrorNoFile(file, Here());
                continue;
            }
            if (!PathResolvesInside(dataFolder, file)) {
                Error("Preset file lies outside the data folder! Url = " + ref, Here());
                continue;
            }
            const FileBeingRead reading(file);
            preset = LoadAppEmitterPreset(GetBlockFile(LoadBlockFile(file), "EP"));
        } else {
            preset = LoadAppEmitterPreset(block);
        }
        if (auto basic = std::dynamic_pointer_cast<TAppBasicEmitterPreSet>(preset))
            TAppBasicEmitter::Presets.push_back(basic);
    }
}

void AppEmittersPresetsSave() {}

// ---------------------------------------------------------------------------------------------

void InstallEmitters() {
    RegisterGameObjectType(6, [] { return std::make_shared<TAppBasicEmitter>(); });
}

void ResetEmitters() {
    TAppBasicEmitter::Presets.clear();
    TAppBasicEmitter::BasicPreset.reset();
    TAppBasicEmitter::EmAngle = 0.0f;
    TAppBasicEmitter::EmX = 0.0f;
    TAppBasicEmitter::EmY = 0.0f;
    TAppBasicEmitter::Force = 0.0f;
    TAppEmitter::EmitedParticle.reset();
    ResetEmitterShapeScratch();
}
