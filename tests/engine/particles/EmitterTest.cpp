// Emitters and their presets: emission timing, pre-filling, the birth of a particle, the "EP"
// block, loading as object type 6, the presets file, and drawing in a real frame.
#include "engine/particles/Emitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EmitterTestSupport.h"
#include "engine/screen/AppObj.h"
#include "engine/system/Paths.h"
#include "engine/media/ImgTex.h"
#include "engine/media/StyledText.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Random.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

using emittertest::ParticleFixture;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

class EmitterTest : public ParticleFixture {
protected:
    TempDir dir;

    void SetUp() override {
        ParticleFixture::SetUp();
        ResetAppPaths();
        bDir = dir.path() + "/data/";
        CreateDir(bDir + "App/Data");
        TImgTex::ResetRegistry();
        ResetGameObjectTypes();
        InstallEmitters();
    }
    void TearDown() override {
        ResetGameObjectTypes();
        TImgTex::ResetRegistry();
        ResetAppPaths();
        ParticleFixture::TearDown();
    }

    static TAppBasicEmitterPreSet& PresetOf(const TAppBasicEmitterPtr& e) {
        return *std::dynamic_pointer_cast<TAppBasicEmitterPreSet>(e->Preset);
    }
    // An emitter with its pool, at rest unless told otherwise.
    TAppBasicEmitterPtr MakeEmitter(int32_t cps, int32_t maxLife = 1000, int32_t pool = 2048) {
        auto e = std::make_shared<TAppBasicEmitter>();
        TAppBasicEmitterPreSet& p = PresetOf(e);
        p.CountPerSecond = cps;
        p.MinLifeTime = maxLife;
        p.MaxLifeTime = maxLife;
        p.MaxParticles = pool;
        e->InitPackage();
        return e;
    }
    std::string WritePng(const std::string& name, int w, int h) {
        const std::string path = bDir + name;
        CreateDir(ExtractDir(path));
        TPixmapPtr pix = CreatePixmap(w, h);
        pix->ClearPixels(static_cast<int>(0xFFFFFFFF));
        EXPECT_TRUE(SavePixmapPNG(pix, path));
        return path;
    }
};

TEST_F(EmitterTest, EmitsAtThePresetsRate) {
    struct Case {
        int32_t cps;
        int32_t perUpdate;
        int32_t nextIn;  // LastTime - now
    } cases[] = {{10, 1, 100}, {64, 1, 15}, {1000, 15, 1}, {0, 0, -1000}};
    for (const Case& c : cases) {
        auto e = MakeEmitter(c.cps);
        SetNow(emittertest::g_now + 1000);
        e->Update();
        EXPECT_EQ(e->Package->CountInUse(), c.perUpdate) << c.cps;
        EXPECT_EQ(e->LastTime, c.cps == 0 ? 0 : emittertest::g_now + c.nextIn) << c.cps;
        if (c.cps == 0) continue;
        SetNow(e->LastTime);
        e->Update();
        EXPECT_EQ(e->Package->CountInUse(), c.perUpdate) << "not yet due at LastTime itself";
        SetNow(e->LastTime + 1);
        e->Update();
        EXPECT_EQ(e->Package->CountInUse(), 2 * c.perUpdate) << c.cps;
    }
}

TEST_F(EmitterTest, StartPreFillsHalfALifeAhead) {
    struct Case {
        int32_t maxLife, cps, pool, filled;
    } cases[] = {{2500, 64, 2048, 128}, {999, 64, 2048, 0}, {2500, 64, 50, 50}, {3000, 1000, 2048, 2048}};
    SetNow(10000);
    for (const Case& c : cases) {
        auto e = MakeEmitter(c.cps, c.maxLife, c.pool);
        e->Start();
        EXPECT_EQ(e->Package->CountInUse(), c.filled) << c.maxLife << " ms at " << c.cps;
        for (const auto& p : e->Package->AlphaParticlesInUse) {
            if (p) {
                ASSERT_EQ(p->WaitTime, 10000 - c.maxLife / 2);
            }
        }
    }
    auto off = MakeEmitter(64, 2500);
    PresetOf(off).isStarted = 0;
    off->Start();
    EXPECT_EQ(off->Package->CountInUse(), 0);

    // A blend without a pool gives no particle: the pre-filling ends there rather than running
    // through a huge count of emissions that cannot succeed.
    auto noPool = MakeEmitter(2000000000, 2000000000, 16);
    PresetOf(noPool).Blend = 5;
    noPool->Start();
    EXPECT_EQ(noPool->Package->CountInUse(), 0);
    EXPECT_EQ(noPool->Package->Particles.size(), 16u);
}

TEST_F(EmitterTest, PreFillingEndsWhateverTheLifeTimesSay) {
    // Lives of up to 2000000000 ms under gravity: a pool filled at mid-life, stepped through at
    // most PrefillFramesLimit frames a particle. Lives from 0: half the particles end during the
    // pre-fill and go back to the pool, which no longer keeps the emissions going for ever.
    struct Case {
        int32_t minLife, maxLife;
    } cases[] = {{2000000000, 2000000000}, {0, 2000000000}};
    SetNow(10000);
    for (const Case& c : cases) {
        auto e = MakeEmitter(1000, c.maxLife, 64);
        TAppBasicEmitterPreSet& p = PresetOf(e);
        p.MinLifeTime = c.minLife;
        p.GravityForce = 1.0f;
        p.GravityAngle = 90;
        e->Start();
        EXPECT_LE(e->Package->CountInUse(), 64) << c.minLife;
        EXPECT_GT(e->Package->CountInUse(), 0) << c.minLife;
    }

    // A particle pre-filled by a thousand seconds has fallen as far as one pre-filled by ten.
    std::vector<float> fallen;
    for (int32_t life : {20000, 2000000000}) {
        ResetRnd();
        auto e = MakeEmitter(1, life, 1);
        PresetOf(e).GravityForce = 100.0f;
        PresetOf(e).GravityAngle = 90;
        e->Start();
        ASSERT_TRUE(e->Package->AlphaParticlesInUse[0]);
        fallen.push_back(e->Package->AlphaParticlesInUse[0]->y);
    }
    EXPECT_GT(fallen[0], 1000.0f);
    EXPECT_EQ(fallen[0], fallen[1]);
}

TEST_F(EmitterTest, APoolLargerThanTheLimitIsRefusedWithAnErrorLine) {
    TBlockFilePtr ep = ParseBlockFileText(
        "EP{\nType = \"BASIC_EMITTER\"\nStandards{\nName = \"Huge\"\nMaxParticles = 2000000000\n}\n}\n", "r");
    testing::internal::CaptureStdout();
    TAppEmitterPreSetPtr preset = LoadAppEmitterPreset(GetBlockFile(ep, "EP"));
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(preset);
    EXPECT_EQ(preset->MaxParticles, TAppEmitterPreSet::MaxParticlesLimit);
    EXPECT_NE(out.find("ERROR ( File: Emitter  Code: TAppEmitterPreSet::LoadStandard ) Preset 'Huge' "
                       "asks for 2000000000 particles; its pool holds 16384"),
              std::string::npos)
        << out;
    auto e = std::make_shared<TAppBasicEmitter>();
    e->Preset = preset;
    e->InitPackage();
    EXPECT_EQ(e->Package->Particles.size(), static_cast<size_t>(TAppEmitterPreSet::MaxParticlesLimit));
}

TEST_F(EmitterTest, EmitParticleDrawsItsRandomNumbersInAFixedOrder) {
    auto imgA = CreateImgFromImage(CreateImage(4, 4));
    auto imgB = CreateImgFromImage(CreateImage(4, 4));
    for (bool withImages : {true, false}) {
        auto e = MakeEmitter(10);
        TAppBasicEmitterPreSet& p = PresetOf(e);
        p.StartAngle = 10;
        p.Angle = 20;
        p.Shape = CreateAESBox(20, 10);
        p.MinForce = 1.0f;
        p.MaxForce = 3.0f;
        p.MinAcc = 0.1f;
        p.MaxAcc = 0.2f;
        p.MinLifeTime = 500;
        p.MaxLifeTime = 900;
        p.Blend = 4;
        p.GravityForce = 50.0f;
        p.GravityAngle = 90;
        p.Colorizer = std::make_shared<TColorizerFromGradient>();
        p.Transformer = std::make_shared<TTransformerRandomTFR>();
        p.Images.clear();
        if (withImages) p.Images = {imgA, imgB};

        // The draws, replayed by hand from the same state.
        SeedRnd(777);
        const int angle = Rand(10, 30);
        const int x = static_cast<int>(Rnd(-20.0, 20.0));
        const int y = static_cast<int>(Rnd(-10.0, 10.0));
        const float force = static_cast<float>(Rnd(1.0, 3.0));
        const float acc = static_cast<float>(Rnd(static_cast<double>(0.1f), static_cast<double>(0.2f)));
        const int life = Rand(500, 900);
        const int image = withImages ? Rand(0, 1) : -1;
        const float colourAt = static_cast<float>(Rnd(1.0, 0.0));
        Rnd(1.0, 0.0);  // the transformer's
        const int32_t after = RndSeed();

        SeedRnd(777);
        SetNow(2000);
        e->EmitParticle(25);
        EXPECT_EQ(RndSeed(), after) << (withImages ? "with images" : "without images");
        TAppParticlePtr q = TAppEmitter::EmitedParticle;
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(q->x, static_cast<float>(x));
        EXPECT_EQ(q->y, static_cast<float>(y));
        EXPECT_EQ(q->vx, static_cast<float>(CosDeg(static_cast<float>(angle)) * force));
        EXPECT_EQ(q->vy, static_cast<float>(SinDeg(static_cast<float>(angle)) * force));
        EXPECT_EQ(q->Acc, acc);
        EXPECT_EQ(q->LifeTime, life);
        EXPECT_EQ(q->WaitTime, 2025);
        EXPECT_EQ(q->blend, 4);
        EXPECT_EQ(q->GravityForce, 0.5f);
        EXPECT_EQ(q->GravityAngle, 90.0f);
        EXPECT_EQ(q->Img, withImages ? p.Images[static_cast<size_t>(image)] : nullptr);
        EXPECT_FLOAT_EQ(q->Alpha, 1.0f - colourAt) << "coloured by the preset's colorizer";
        EXPECT_EQ(q->ScaleX, 0.5f) << "shaped by the preset's transformer";
    }
}

TEST_F(EmitterTest, LineShapeGivesTheDirectionAndAFullPoolStillDraws) {
    auto e = MakeEmitter(10, 1000, 1);
    TAppBasicEmitterPreSet& p = PresetOf(e);
    p.Shape = CreateAESLine(45, 0, 0);
    p.StartAngle = 200;
    p.Angle = 0;
    p.MinForce = p.MaxForce = 2.0f;
    e->Emit();
    ASSERT_NE(TAppEmitter::EmitedParticle, nullptr);
    EXPECT_EQ(TAppEmitter::EmitedParticle->vx, static_cast<float>(CosDeg(45.0) * 2.0));
    EXPECT_EQ(TAppEmitter::EmitedParticle->vy, static_cast<float>(SinDeg(45.0) * 2.0));

    const int32_t before = RndSeed();
    e->Emit();
    EXPECT_EQ(TAppEmitter::EmitedParticle, nullptr);
    EXPECT_NE(RndSeed(), before) << "the draws are made all the same";
}

TEST_F(EmitterTest, PresetBlockKeepsEveryField) {
    const std::string url = WritePng("Particles/Dot.png", 8, 6);
    TAppBasicEmitterPreSet p;
    p.name = "Fountain";
    p.MaxParticles = 300;
    p.CountPerSecond = 25;
    p.MinLifeTime = 700;
    p.MaxLifeTime = 1300;
    p.Blend = 4;
    p.isStarted = 0;
    p.Shape = CreateAESElipse(10, 20, 5, 6, 30, 90);
    p.Colorizer = LoadColorizerFromString("GRADIENT)255,0,0,1,0#0,0,255,0,1");
    p.Transformer = std::make_shared<TTransformerTransformArray>();
    p.AddImage(LoadImg(url, -1));
    p.SetBehaviourData(25, 0.5f, 1.5f, 9.0f, 9.0f, 250, 40, 12.5f, 91);
    p.MinAcc = -0.25f;
    p.MaxAcc = 0.75f;

    const std::string file = dir.file("Fountain.EmitterPreset");
    SaveAppEmitterPreset(std::make_shared<TAppBasicEmitterPreSet>(p), file);
    TBlockFilePtr ep = GetBlockFile(LoadBlockFile(file), "EP");
    auto back = std::dynamic_pointer_cast<TAppBasicEmitterPreSet>(LoadAppEmitterPreset(ep));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetType(), "BASIC_EMITTER");
    EXPECT_EQ(back->name, "Fountain");
    EXPECT_EQ(back->MaxParticles, 300);
    EXPECT_EQ(back->CountPerSecond, 25);
    EXPECT_EQ(back->MinLifeTime, 700);
    EXPECT_EQ(back->MaxLifeTime, 1300);
    EXPECT_EQ(back->Blend, 4);
    EXPECT_EQ(back->isStarted, 1) << "\"Started\" is written, never read";
    EXPECT_EQ(back->Shape->ToString(), p.Shape->ToString());
    EXPECT_EQ(back->Colorizer->ToString(), p.Colorizer->ToString());
    EXPECT_EQ(back->Transformer->ToString(), p.Transformer->ToString());
    ASSERT_EQ(back->Images.size(), 1u);
    EXPECT_EQ(back->Images[0]->Url, url);
    EXPECT_EQ(back->Images[0]->GetHandleX(), 4) << "centred";
    EXPECT_EQ(back->MinForce, 0.5f);
    EXPECT_EQ(back->MaxForce, 1.5f);
    EXPECT_EQ(back->MinAcc, -0.25f);
    EXPECT_EQ(back->MaxAcc, 0.75f);
    EXPECT_EQ(back->StartAngle, 250);
    EXPECT_EQ(back->Angle, 40);
    EXPECT_EQ(back->GravityForce, 12.5f);
    EXPECT_EQ(back->GravityAngle, 91);
    EXPECT_TRUE(Errors().empty());

    // The same images block read again adds its images once more.
    back->LoadImagesData(ep);
    EXPECT_EQ(back->Images.size(), 2u);

    // A preset without images writes an empty block that reads back as none.
    TBlockFilePtr root = CreateBlockFile("root");
    TAppBasicEmitterPreSet().Save(root);
    EXPECT_TRUE(GetBlockFile(root, "EP::IMAGES")->SubFiles.empty());
    EXPECT_TRUE(LoadAppBasicEmitterPreset(GetBlockFile(root, "EP"))->Images.empty());
}

TEST_F(EmitterTest, MissingPartsOfAPresetReadAsEmpty) {
    const std::string good = WritePng("Particles/Good.png", 4, 4);
    TBlockFilePtr root = ParseBlockFileText(
        "EP{\n Type = \"basic_emitter\"\n IMAGES{\n  ImagesCount = 2\n  Image1 = \"#BDIR#Particles/Gone.png\", 1, 1\n"
        "  Image2 = \"#BDIR#Particles/Good.png\", 1, 1\n }\n}\n",
        "mem");
    testing::internal::CaptureStdout();
    auto p = std::dynamic_pointer_cast<TAppBasicEmitterPreSet>(LoadAppEmitterPreset(GetBlockFile(root, "EP")));
    testing::internal::GetCapturedStdout();
    ASSERT_NE(p, nullptr) << "the type word is read without regard to case";
    ASSERT_EQ(p->Images.size(), 1u);
    EXPECT_EQ(p->Images[0]->Url, good);
    // The missing picture is reported once, by the image layer.
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors().back(),
              "NO FILE ERROR ( File: ImgTex  Code: TImgTex::LoadImgSingle ) No such file or directory! Url = " + bDir +
                  "Particles/Gone.png");
    // No "Special": the eight own fields are 0. No "Standards": a pool of no particles. An
    // empty emission-object entry: the red colorizer and the default curve transformer.
    EXPECT_EQ(p->MaxForce, 0.0f);
    EXPECT_EQ(p->Angle, 0);
    EXPECT_EQ(p->MaxParticles, 0);
    EXPECT_EQ(p->Colorizer->ToString(), "COLORIZER)255,0,0,1.00000000,1.00000000");
    EXPECT_EQ(typeid(*p->Transformer), typeid(TTransformerTransform));
    EXPECT_EQ(typeid(*p->Shape), typeid(TAppEmitterShape));

    EXPECT_EQ(LoadAppEmitterPreset(ParseBlockFileText("Type = \"OTHER\"\n", "x")), nullptr);

    // An unknown emission-object keyword leaves none; the emitter still emits.
    auto e = MakeEmitter(10);
    PresetOf(e).Colorizer = LoadColorizerFromString("PAINT)1");
    PresetOf(e).Transformer = nullptr;
    e->Emit();
    ASSERT_NE(TAppEmitter::EmitedParticle, nullptr);
    EXPECT_EQ(TAppEmitter::EmitedParticle->r, 255);
}

TEST_F(EmitterTest, LoadsAsObjectType6AndCopiesIndependently) {
    auto e = MakeEmitter(40, 1500, 120);
    e->name = "Glitter";
    PresetOf(e).name = "GlitterPreset";
    PresetOf(e).Shape = CreateAESBox(30, 5);
    PresetOf(e).GravityAngle = 180;
    TBlockFilePtr root = CreateBlockFile("screen");
    e->Save(root);
    EXPECT_EQ(GetBFInt(root, "GameObject::Basic::Type"), 6);

    auto loaded =
        std::dynamic_pointer_cast<TAppBasicEmitter>(LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, ""));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->name, "Glitter");
    ASSERT_NE(loaded->Package, nullptr) << "the loader gives it its pool";
    EXPECT_EQ(loaded->Package->Particles.size(), 120u);
    EXPECT_EQ(PresetOf(loaded).name, "GlitterPreset");
    EXPECT_EQ(PresetOf(loaded).CountPerSecond, 40);
    EXPECT_EQ(PresetOf(loaded).GravityAngle, 180);
    EXPECT_EQ(PresetOf(loaded).Shape->ToString(), PresetOf(e).Shape->ToString());

    loaded->Emit();
    auto copy = std::dynamic_pointer_cast<TAppBasicEmitter>(loaded->Copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->Preset, loaded->Preset);
    EXPECT_EQ(PresetOf(copy).name, "GlitterPreset");
    EXPECT_NE(PresetOf(copy).Shape, PresetOf(loaded).Shape);
    EXPECT_EQ(copy->Package->Particles.size(), 119u) << "a pool of the free count";
    EXPECT_TRUE(TAppBasicEmitter::Presets.empty()) << "emitters' own presets and copies are not kept globally";
}

TEST_F(EmitterTest, PresetsFileReadsInlineAndReferencedPresets) {
    const std::string ep = "EP{\n Type = \"BASIC_EMITTER\"\n Standards{\n  Name = \"Extra\"\n }\n}\n";
    CreateDir(bDir + "Presets");
    WriteFileBytes(bDir + "Presets/Extra.EmitterPreset", ep);
    WriteFileBytes(dir.file("Outside.EmitterPreset"), ep);
    WriteFileBytes(bDir + "App/Data/EmitterPresets.dat",
                   "Preset{\n Type = \"BASIC_EMITTER\"\n Standards{\n  Name = \"Inline\"\n  MaxParticles = 64\n }\n}\n"
                   "Preset{\n LoadPreset = \"#BDIR#Presets/Extra.EmitterPreset\"\n}\n"
                   "Preset{\n LoadPreset = \"#BDIR#Presets/Missing.EmitterPreset\"\n}\n"
                   "Preset{\n LoadPreset = \"#BDIR#../Outside.EmitterPreset\"\n}\n"
                   "Preset{\n Type = \"OTHER\"\n}\n");
    testing::internal::CaptureStdout();
    AppInitEmitterPresets();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(TAppBasicEmitter::Presets.size(), 2u);
    EXPECT_EQ(TAppBasicEmitter::Presets[0]->name, "Inline");
    EXPECT_EQ(TAppBasicEmitter::Presets[0]->MaxParticles, 64);
    EXPECT_EQ(TAppBasicEmitter::Presets[1]->name, "Extra");
    EXPECT_EQ(TAppBasicEmitter::GetPreset("extra"), TAppBasicEmitter::Presets[1]);
    EXPECT_EQ(TAppBasicEmitter::GetPreset("none"), nullptr);
    ASSERT_EQ(Errors().size(), 2u);
    EXPECT_NE(Errors()[0].find("NO FILE ERROR"), std::string::npos);
    EXPECT_NE(Errors()[0].find("Missing.EmitterPreset"), std::string::npos);
    EXPECT_NE(Errors()[1].find("outside the data folder"), std::string::npos);

    // Read again: replaced, not added to. Without the file: none, and the missing file said.
    AppInitEmitterPresets();
    EXPECT_EQ(TAppBasicEmitter::Presets.size(), 2u);
    DeleteFile(bDir + "App/Data/EmitterPresets.dat");
    emittertest::ErrorLines().clear();
    AppInitEmitterPresets();
    EXPECT_TRUE(TAppBasicEmitter::Presets.empty());
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("No such file or directory! Url = " + bDir + "App/Data/EmitterPresets.dat"),
              std::string::npos);
}

TEST_F(EmitterTest, ShippedPresetsLoadWithTheirImages) {
    bDir = testsupport::SourceDir() + "/data/";
    AppInitEmitterPresets();
    std::vector<std::string> names;
    for (const auto& p : TAppBasicEmitter::Presets) {
        names.push_back(p->name);
        ASSERT_EQ(p->Images.size(), 1u) << p->name;
        EXPECT_NE(p->Images[0]->image, nullptr) << p->name;
        EXPECT_TRUE(p->Blend == 3 || p->Blend == 4) << p->name;
        auto e = std::make_shared<TAppBasicEmitter>();
        e->Preset = p->Copy();
        e->InitPackage();
        SetNow(emittertest::g_now + 5000);
        e->Start();
        e->Update();
        EXPECT_GT(e->Package->CountInUse(), 0) << p->name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Sparkles", "Petals", "SoftGlow"}));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(EmitterTest, DrawsItsParticlesAtItsPositionInAFrame) {
    ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(200, 150));
    ResetDrawState();
    SetClsColor(0, 0, 0);
    Cls();

    auto e = MakeEmitter(10);
    TAppBasicEmitterPreSet& p = PresetOf(e);
    p.Blend = 4;
    p.MinForce = p.MaxForce = 0.0f;
    p.Colorizer = LoadColorizerFromString("COLORIZER)255,40,0,1,1");
    p.Transformer = LoadTransformerFromString("TRANSFORMER)3,3,0,0,0");
    e->SetPosition(50, 40);
    SetNow(1000);
    e->Updating();
    e->Drawing();
    auto frame = GrabPixmap(0, 0, 100, 100);
    ResetDrawState();
    ASSERT_NE(frame, nullptr);
    auto red = [&](int x, int y) { return (frame->ReadPixel(x, y) >> 16) & 255; };
    EXPECT_GT(red(51, 41), 200) << "a 3 x 3 particle at the emitter";
    EXPECT_EQ(red(55, 41), 0);
    EXPECT_EQ(red(10, 10), 0);
}

}  // namespace
