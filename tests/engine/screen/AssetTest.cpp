// Assets: sharing by url within the screen loaded last, image loading and drawing by mode in a
// real headless frame, the placeholders of missing resources, and the sound asset's forwarding
// and error lines.
#include "engine/screen/Asset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/media/AppSoundTestSupport.h"
#include "engine/media/ImgTex.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

using testsupport::TempDir;

namespace {

std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

using testsupport::Rgb;
::testing::AssertionResult Near(const Rgb& a, const Rgb& b, int tol = 3) { return testsupport::NearRgb(a, b, tol); }
const Rgb kBack{40, 60, 80};
const Rgb kShaded{20, 30, 40};  // kBack under black at alpha 0.5
const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

// Every test starts with no current screen and ends without one.
class AssetTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override {
        TAsset::ResetCurrScreen();
        TImgTex::ResetRegistry();
        gErrors.clear();
        WatchErrorReports(&CaptureError);
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        TAsset::ResetCurrScreen();
        TImgTex::ResetRegistry();
    }
};

// ---------------------------------------------------------------------------------------------
// Sharing by url

TEST_F(AssetTest, EachKindIsSharedByUrlWithinTheScreenLoadedLast) {
    struct Kind {
        const char* name;
        std::function<TAssetPtr(const std::string&)> make;
        int notSaved;  // doNotSaveInScreen once the asset joins a screen
    };
    const std::vector<Kind> kinds = {
        {"image", [](const std::string& u) { return CreateEmptyImageAsset(u, 0, 0, 0, 0, 0); }, 1},
        {"sound", [](const std::string& u) { return CreateEmptySoundAsset(u, 0, 0, 0); }, 1},
        {"vector animation", [](const std::string& u) { return CreateEmptyAVOAsset(u); }, 0},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        // Before any screen file has loaded an asset belongs to no screen and is never found.
        TAsset::ResetCurrScreen();
        TAssetPtr loose = k.make("a/x.png");
        EXPECT_NE(k.make("a/x.png"), loose);
        EXPECT_EQ(CheckIfAssetExist("a/x.png"), nullptr);
        EXPECT_EQ(loose->doNotSaveInScreen, 0);

        TAppScreen first, second;
        TAsset::CurrScreen = &first;
        TAssetPtr a = k.make("a/x.png");
        EXPECT_EQ(k.make("a/x.png"), a);
        EXPECT_EQ(CheckIfAssetExist("a/x.png"), a);
        TAssetPtr upper = k.make("a/X.png");  // letter case counts
        EXPECT_NE(upper, a);
        EXPECT_EQ(first.Assets, (TAssetList{a, upper}));
        EXPECT_EQ(a->doNotSaveInScreen, k.notSaved);

        // The next screen loaded gets its own asset; the first keeps its list.
        TAsset::CurrScreen = &second;
        TAssetPtr b = k.make("a/x.png");
        EXPECT_NE(b, a);
        EXPECT_EQ(second.Assets, (TAssetList{b}));
        EXPECT_EQ(first.Assets.size(), 2u);
    }
}

TEST_F(AssetTest, ALaterRequestKeepsTheFirstSettingsAndOtherKindsOfTheUrlDoNotCount) {
    TAppScreen screen;
    TAsset::CurrScreen = &screen;
    TSoundAssetPtr sound = CreateEmptySoundAsset("same", 1, 1, 1);
    EXPECT_EQ(CreateEmptySoundAsset("same", 0, 0, 0), sound);
    EXPECT_EQ(sound->isLooped + sound->isMusic + sound->isLoadedOnDemand, 3);

    TImageAssetPtr image = CreateEmptyImageAsset("same", 3, 4, 1, 0, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(CheckIfAssetExist("same"), sound);  // the first asset of the url, whatever its kind
    TImageAssetPtr again = CreateEmptyImageAsset("same", 9, 9, 0, 1, 1);
    EXPECT_EQ(again, image);
    EXPECT_EQ(image->hx, 3);
    EXPECT_EQ(image->hy, 4);
    EXPECT_EQ(image->isMipMapped, 1);
    EXPECT_EQ(image->isFiltered, 0);
    EXPECT_EQ(image->isMidHandled, 0);
    EXPECT_EQ(screen.Assets.size(), 2u);
}

TEST_F(AssetTest, EachKindWritesItsAssetBlock) {
    TImageAssetPtr image = CreateEmptyImageAsset("#BDIR#pic.png", 5, -6, 1, 0, 1);
    auto block = CreateBlockFile("Asset");
    image->Save(block);
    EXPECT_EQ(BlockFileToText(block), "Type = \"IMG\"\nisMipMapped = true\nisFiltered = false\nHandle = 5, -6\n");

    auto avoBlock = CreateBlockFile("Asset");
    CreateEmptyAVOAsset("#BDIR#Anims/Bird")->Save(avoBlock);
    EXPECT_EQ(GetBFString(avoBlock, "Type"), "AVO");

    auto soundBlock = CreateBlockFile("Asset");
    CreateEmptySoundAsset("x.wav", 0, 0, 0)->Save(soundBlock);
    EXPECT_EQ(BlockFileToText(soundBlock), "");
}

TEST_F(AssetTest, TextAndFontAssetsLoadNothingAndJoinNoScreen) {
    TAppScreen screen;
    TAsset::CurrScreen = &screen;
    const std::string font = testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf";
    EXPECT_EQ(LoadAsset_Text(font), nullptr);
    EXPECT_EQ(LoadAsset_Font(font), nullptr);
    EXPECT_EQ(LoadAsset_Font(""), nullptr);
    EXPECT_TRUE(screen.Assets.empty());
    EXPECT_EQ(CheckIfAssetExist(font), nullptr);

    // Made by hand, the two kinds write an empty block and load and free nothing.
    for (TAssetPtr asset : {TAssetPtr(std::make_shared<TTextAsset>()), TAssetPtr(std::make_shared<TFontAsset>())}) {
        asset->url = font;
        auto block = CreateBlockFile("Asset");
        EXPECT_EQ(asset->Save(block), 0);
        EXPECT_EQ(asset->LoadAsset(), 0);
        EXPECT_EQ(asset->FreeAsset(), 0);
        EXPECT_EQ(BlockFileToText(block), "");
    }
    EXPECT_TRUE(gErrors.empty());
}

// ---------------------------------------------------------------------------------------------
// Image loading

TEST_F(AssetTest, ImageAssetsLoadWithTheirFlagsAndHandleAndLoadAgainAfterFree) {
    ASSERT_NO_FATAL_FAILURE(testsupport::WriteQuadrantsPng(dir.file("q.png"), 40, 40));
    struct Case {
        int mip, filt, mid, hx, hy;
        int wantFlags, wantHx, wantHy;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 0, 0, 0, -1, 0, 0},
                                           {1, 0, 0, 3, 0, 4, 3, 0},
                                           {0, 1, 0, 0, 7, 2, 0, 7},
                                           {1, 1, 1, 3, 7, 6, 20, 20}}) {
        SCOPED_TRACE(testing::Message() << "flags " << c.mip << c.filt << " mid " << c.mid);
        TImgTex::ResetRegistry();
        TImageAssetPtr a = CreateEmptyImageAsset(dir.file("q.png"), c.hx, c.hy, c.mip, c.filt, c.mid);
        EXPECT_EQ(a->Width(), 0);
        a->LoadAsset();
        ASSERT_TRUE(a->img);
        EXPECT_EQ(a->img->MyLoadedFlags, c.wantFlags);
        EXPECT_EQ(ImageAssetWidth(a), 40);
        EXPECT_EQ(ImageAssetHeight(a), 40);
        EXPECT_EQ(ImgHandleX(a->img), c.wantHx);
        EXPECT_EQ(ImgHandleY(a->img), c.wantHy);
        a->FreeAsset();
        EXPECT_EQ(a->img, nullptr);
        EXPECT_EQ(a->Height(), 0);
        a->LoadAsset();
        EXPECT_EQ(a->Width(), 40);
    }
    EXPECT_EQ(ImageAssetWidth(nullptr), 0);

    // CreateImageAsset takes the image and its url; LoadImageAsset loads at once.
    TImageAssetPtr around = CreateImageAsset(LoadImg(dir.file("q.png")));
    EXPECT_EQ(around->url, dir.file("q.png"));
    EXPECT_EQ(around->Width(), 40);
    EXPECT_EQ(LoadImageAsset(dir.file("q.png"), 0, 0, 1)->Width(), 40);
    // A picture of a shared texture loads when the texture file exists.
    testsupport::WriteFileBytes(dir.file("q.txt"), "1\nTL\n0\n0\n20\n10\n");
    EXPECT_EQ(LoadImageAsset(dir.file("q.png|TL"), 0, 0, 0)->Height(), 10);
    EXPECT_EQ(LoadImageAsset(dir.file("none.png|TL"), 0, 0, 0)->img, nullptr);
    ASSERT_EQ(gErrors.size(), 1u);  // the missing texture file
    EXPECT_NE(gErrors[0].find("Url = " + dir.file("none.png")), std::string::npos) << gErrors[0];
}

TEST_F(AssetTest, LoadKeysTellTheFileReadAndGroupsLoadAndFreeTheirMembers) {
    // One key for one file read the same way, whichever way the path is written.
    const std::string viaBase = CreateEmptyImageAsset("#BDIR#Screens/pic.png", 0, 0, 0, 1, 0)->LoadKey();
    EXPECT_FALSE(viaBase.empty());
    EXPECT_EQ(CreateEmptyImageAsset(ConvertAppPath("#BDIR#Screens/pic.png"), 4, 5, 0, 1, 1)->LoadKey(), viaBase);
    EXPECT_NE(CreateEmptyImageAsset("#BDIR#Screens/pic.png", 0, 0, 1, 1, 0)->LoadKey(), viaBase);  // mipmapped
    EXPECT_NE(CreateEmptyImageAsset("#BDIR#Screens/other.png", 0, 0, 0, 1, 0)->LoadKey(), viaBase);
    EXPECT_EQ(CreateEmptyImageAsset("", 0, 0, 0, 1, 0)->LoadKey(), "");
    EXPECT_EQ(CreateEmptyAVOAsset("#BDIR#Anims/Bird")->LoadKey(), "");
    // The pictures of a shared texture all come from its one file, whatever their flags; another
    // texture, or the texture's own picture file, is another read.
    const std::string inTexture = CreateEmptyImageAsset("#BDIR#Screens/atlas.png|A", 0, 0, 0, 0, 0)->LoadKey();
    EXPECT_EQ(CreateEmptyImageAsset("#BDIR#Screens/Atlas.png|B", 0, 0, 1, 1, 1)->LoadKey(), inTexture);
    EXPECT_NE(CreateEmptyImageAsset("#BDIR#Screens/other.png|A", 0, 0, 0, 0, 0)->LoadKey(), inTexture);
    EXPECT_NE(CreateEmptyImageAsset("#BDIR#Screens/atlas.png", 0, 0, 0, 0, 0)->LoadKey(), inTexture);

    ASSERT_NO_FATAL_FAILURE(testsupport::WriteQuadrantsPng(dir.file("q.png"), 40, 40));
    TAssetGroup group;
    TImageAssetPtr a = CreateEmptyImageAsset(dir.file("q.png"), 0, 0, 0, 0, 0);
    TImageAssetPtr b = CreateEmptyImageAsset(dir.file("q.png"), 0, 0, 1, 1, 1);
    group.members = {a, nullptr, b};
    group.LoadAsset();
    EXPECT_EQ(a->Width(), 40);
    EXPECT_EQ(ImgHandleX(b->img), 20);
    group.FreeAsset();
    EXPECT_EQ(a->img, nullptr);
    EXPECT_EQ(b->img, nullptr);
}

TEST_F(AssetTest, AnEmptyUrlOrAMissingFileLeavesTheImageAsItWas) {
    ASSERT_NO_FATAL_FAILURE(testsupport::WriteQuadrantsPng(dir.file("q.png"), 40, 40));
    TImageAssetPtr a = LoadImageAsset(dir.file("q.png"), 0, 0, 0);
    TImgPtr loaded = a->img;
    ASSERT_TRUE(loaded);
    for (const std::string& url : {std::string(), dir.file("gone.png")}) {
        a->url = url;
        a->ReloadImg();
        EXPECT_EQ(a->img, loaded) << url;
        EXPECT_EQ(LoadImageAsset(url, 0, 0, 0)->img, nullptr) << url;
    }
    // The missing file is said once, however often it is asked for.
    ASSERT_EQ(gErrors.size(), 1u);
    EXPECT_NE(gErrors[0].find("No such file or directory! Url = " + dir.file("gone.png")), std::string::npos)
        << gErrors[0];
}

TEST_F(AssetTest, ReloadingReleasesThePreviousImage) {
    ASSERT_NO_FATAL_FAILURE(testsupport::WriteQuadrantsPng(dir.file("q.png"), 40, 40));
    TImageAssetPtr a = LoadImageAsset(dir.file("q.png"), 0, 0, 0);
    ASSERT_TRUE(a->img && a->img->image);
    TImgPtr before = a->img;
    std::weak_ptr<TImage> oldPicture = before->image;
    a->ReloadImg();
    ASSERT_TRUE(a->img && a->img->image);
    EXPECT_NE(a->img, before);
    EXPECT_EQ(before->isLoaded, 0);
    EXPECT_TRUE(oldPicture.expired()) << "the old texture is still held";
    EXPECT_EQ(TImgTex::AllLoadedSingles.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Drawing in a real frame

class AssetDrawTest : public AssetTest {
protected:
    TPixmapPtr frame;
    void SetUp() override {
        AssetTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(400, 300));
        SetDefaultFontPath(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf");
        Clear();
        ASSERT_NO_FATAL_FAILURE(testsupport::WriteQuadrantsPng(dir.file("q.png"), 40, 40));
    }
    void TearDown() override {
        ResetDrawState();
        AssetTest::TearDown();
    }
    void Clear() {
        ResetDrawState();
        SetClsColor(kBack.r, kBack.g, kBack.b);
        Cls();
    }
    void Grab() { frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()); }
    Rgb At(int x, int y) const { return testsupport::RgbAt(frame, x, y); }
    void Expect(int x, int y, const Rgb& want, const std::string& what) {
        EXPECT_TRUE(Near(At(x, y), want))
            << what << " at (" << x << ", " << y << "): got " << At(x, y) << " want " << want;
    }
};

TEST_F(AssetDrawTest, ModesDrawTheFractionFromTheirEdgeWhereItLiesInTheWholeImage) {
    TImageAssetPtr a = LoadImageAsset(dir.file("q.png"), 0, 0, 0);
    struct Probe {
        int dx, dy;  // from (100, 100)
        Rgb want;
    };
    struct Case {
        const char* what;
        int mode;
        float per;
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {"whole", -1, 0.1f, {{0, 0, kRed}, {39, 0, kGreen}, {0, 39, kBlue}, {39, 39, kWhite}, {40, 0, kBack}}},
        {"left half", 0, 0.5f, {{0, 0, kRed}, {19, 39, kBlue}, {20, 0, kBack}, {-1, 0, kBack}}},
        {"top half", 1, 0.5f, {{0, 0, kRed}, {39, 19, kGreen}, {0, 20, kBack}}},
        {"right quarter", 2, 0.25f, {{30, 0, kGreen}, {39, 39, kWhite}, {29, 0, kBack}, {40, 0, kBack}}},
        {"bottom quarter", 3, 0.25f, {{0, 30, kBlue}, {39, 39, kWhite}, {0, 29, kBack}, {0, 40, kBack}}},
        {"per above 1 is whole", 0, 2.0f, {{0, 0, kRed}, {39, 39, kWhite}, {40, 0, kBack}}},
        {"per 0 draws nothing", 0, 0.0f, {{0, 0, kBack}, {20, 20, kBack}}},
        {"unknown mode draws nothing", 4, 1.0f, {{0, 0, kBack}, {39, 39, kBack}}},
    };
    for (const Case& c : cases) {
        Clear();
        DrawImageAsset(a, 100, 100, c.mode, c.per);
        Grab();
        for (const Probe& p : c.probes) Expect(100 + p.dx, 100 + p.dy, p.want, c.what);
    }

    // Modes 0 to 3 draw at the truncated point; mode -1 at the point itself.
    Clear();
    DrawImageAsset(a, 100.9f, 100.9f, 0, 1.0f);
    DrawImageAsset(a, 200.9f, 100.9f, -1, 1.0f);
    Grab();
    Expect(100, 100, kRed, "mode 0 at (100.9, 100.9)");
    Expect(139, 139, kWhite, "mode 0 at (100.9, 100.9)");
    Expect(140, 140, kBack, "mode 0 at (100.9, 100.9)");
    Expect(200, 100, kBack, "mode -1 at (200.9, 100.9)");
    Expect(240, 140, kWhite, "mode -1 at (200.9, 100.9)");
}

TEST_F(AssetDrawTest, MissingResourcesDrawALabelledPlaceholder) {
    SetImageFont(nullptr);
    const int textH = TextHeight("A");
    struct Case {
        const char* label;
        std::function<void()> draw;
        int x, y;  // where the label's top-left lands
    };
    TImageAssetPtr unloaded = CreateEmptyImageAsset(dir.file("q.png"));
    TImageAssetPtr missing = LoadImageAsset(dir.file("missing.png"), 0, 0, 0);
    TAVOAssetPtr noAvo = CreateEmptyAVOAsset(dir.file("none"));
    const std::vector<Case> cases = {
        {"NULL IMAGE", [] { DrawImageAsset(nullptr, 60.7f, 50.2f, -1, 1.0f); }, 60, 50},
        {"Not Loaded", [&] { DrawImageAsset(unloaded, 60, 50, -1, 1.0f); }, 60, 50},
        {"Not Loaded", [&] { DrawImageAsset(missing, 60.8f, 50.8f, 2, 0.5f); }, 60, 50},
        {"NULL avo", [] { DrawAvoAsset(nullptr, 60.7f, 50.9f); }, 60, 50},
        {"Not Loaded", [&] { DrawAvoAsset(noAvo, 60, 50); }, 60, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Clear();
        SetScale(3, 3);  // the placeholder sets its own state
        SetRotation(30);
        SetColor(255, 0, 0);
        c.draw();
        EXPECT_FLOAT_EQ(GetAlpha(), 0.5f);
        EXPECT_EQ(GetBlend(), 3);
        EXPECT_FLOAT_EQ(GetRotation(), 0.0f);
        int r, g, b;
        GetColor(r, g, b);
        EXPECT_EQ(r + g + b, 3 * 255);
        SetImageFont(nullptr);
        const int w = TextWidth(c.label) + 4, h = textH + 4;
        Grab();
        // The box from (x - 2, y - 2), w by h, shades the background; nothing beyond it.
        const int left = c.x - 2, top = c.y - 2;
        Expect(left, top, kShaded, "top-left corner");
        Expect(left + w - 1, top + h - 1, kShaded, "bottom-right corner");
        Expect(left - 1, top, kBack, "left of the box");
        Expect(left + w, top + h - 1, kBack, "right of the box");
        Expect(left, top + h, kBack, "below the box");
        // The label is white at half alpha somewhere inside.
        int brightest = 0;
        for (int y = c.y; y < c.y + textH; ++y)
            for (int x = c.x; x < c.x + w - 4; ++x) brightest = std::max(brightest, At(x, y).r);
        EXPECT_GT(brightest, 120) << "no label drawn";
    }
    EXPECT_EQ(missing->img, nullptr) << "a missing file leaves the asset without an image";
}

// ---------------------------------------------------------------------------------------------
// Sounds

class SoundAssetTest : public soundtest::SoundFixture {
protected:
    void SetUp() override {
        soundtest::SoundFixture::SetUp();
        TAsset::ResetCurrScreen();
        gErrors.clear();
        WatchErrorReports(&CaptureError);
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        soundtest::SoundFixture::TearDown();
    }
};

TEST_F(SoundAssetTest, UsingAnEmptyAssetIsReportedAndDoesNothing) {
    struct Case {
        std::function<void(TSoundAsset&)> call;
        std::string line;
    };
    const std::vector<Case> cases = {
        {[](TSoundAsset& s) { s.Play(1, -1, 0.05f); }, "ERROR Can't play sound: Asset is empty!"},
        {[](TSoundAsset& s) { s.Stop(); }, "ERROR Can't stop sound: Asset is empty!"},
        {[](TSoundAsset& s) { s.Hide(0.1f); }, "ERROR Can't hide sound: Asset is empty!"},
        {[](TSoundAsset& s) { s.Pause(); }, "ERROR Can't pause sound: Asset is empty!"},
        {[](TSoundAsset& s) { s.Resume(); }, "ERROR Can't resume sound: Asset is empty!"},
    };
    for (const Case& c : cases) {
        gErrors.clear();
        TSoundAssetPtr asset = CreateEmptySoundAsset("#BDIR#Sound/sfx/beep.wav", 0, 0, 0);
        c.call(*asset);
        EXPECT_EQ(gErrors, std::vector<std::string>{c.line});
        EXPECT_EQ(asset->snd, nullptr);
    }
    // Freeing an asset whose sound was never made does nothing.
    gErrors.clear();
    TSoundAssetPtr never = CreateEmptySoundAsset("#BDIR#Sound/sfx/beep.wav", 0, 0, 0);
    never->FreeAsset();
    EXPECT_EQ(never->snd, nullptr);
    EXPECT_TRUE(gErrors.empty());
}

TEST_F(SoundAssetTest, LoadingAtSetupOrOnFirstUseAndFreeing) {
    // Loaded at set-up: the sound is made from the converted url and plays.
    TSoundAssetPtr now = CreateEmptySoundAsset("#BDIR#Sound/sfx/beep.wav", 0, 0, 0);
    now->LoadAsset();
    ASSERT_TRUE(now->snd);
    EXPECT_EQ(now->snd->isLoaded, 1);
    now->Play(1, -1, 0.05f);
    EXPECT_EQ(AppSoundManager::SoundsList.size(), 1u);
    // Freed: the sound stays and loads again with the next LoadAsset.
    TAppSoundPtr kept = now->snd;
    now->FreeAsset();
    EXPECT_EQ(now->snd, kept);
    EXPECT_EQ(kept->isLoaded, 0);
    now->LoadAsset();
    EXPECT_EQ(kept->isLoaded, 1);

    // Loaded on demand: set-up leaves it empty; the first use makes, loads and plays it.
    TSoundAssetPtr later = CreateEmptySoundAsset("#BDIR#Sound/sfx/beep.wav", 0, 0, 1);
    later->LoadAsset();
    EXPECT_EQ(later->snd, nullptr);
    later->Play(1, -1, 0.05f);
    ASSERT_TRUE(later->snd);
    EXPECT_EQ(later->snd->isLoaded, 1);
    EXPECT_EQ(AppSoundManager::SoundsList.size(), 2u);
    EXPECT_TRUE(gErrors.empty());
}

TEST_F(SoundAssetTest, SetDataReloadsOnlyWhenLoopingChanges) {
    TAppSoundPtr snd = CreateAppSound(Beep(), 0, 0);
    TSoundAssetPtr asset = CreateSoundAsset(snd, 1, 1, 0);
    EXPECT_EQ(asset->url, Beep());
    EXPECT_EQ(snd->isMusic, 0) << "nothing is copied before SetData";

    asset->isLooped = 0;
    asset->TimeInterwal = 250;
    std::weak_ptr<TSound> decoded = snd->snd;
    asset->SetData();
    EXPECT_EQ(snd->isMusic, 1);
    EXPECT_EQ(snd->TimeInterwal, 250);
    EXPECT_FALSE(decoded.expired()) << "same looping: no reload";

    asset->isLooped = 1;
    asset->SetData();
    EXPECT_EQ(snd->isLooped, 1);
    EXPECT_EQ(snd->isLoaded, 1);
    EXPECT_TRUE(decoded.expired()) << "looping changed: reloaded";
}

}  // namespace
