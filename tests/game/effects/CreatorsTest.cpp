// The primitive creators and the numbered particle images read from an image list.
#include "game/effects/Creators.h"

#include "EffectsTestSupport.h"
#include "engine/media/ImgTex.h"
#include "engine/system/Paths.h"
#include "platform/Image.h"
#include "support/TestSupport.h"

namespace {

using effectstest::MakeLine;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

class CreatorsTest : public effectstest::EffectsFixture {};

TEST_F(CreatorsTest, StandardParticlesTakeTheirValuesAndStartAfterTheirDelay) {
    SetNow(5000);
    auto pack = CreateEngParticlePackage(2);
    auto p = CreateStandardParticle(0, 3, 1, 2, 3, 4, 5, 6, 7, 8, 10, 20, 30, 40, 50, 60, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f,
                                    0.6f, 7, 8, EngAlphaBlend, 250, 1000, pack, 1, nullptr, 1, 0, 1, 0, 1, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->n, 3);
    EXPECT_EQ(p->x2, 3.0f);
    EXPECT_EQ(p->my2, 8.0f);
    EXPECT_EQ(p->g2, 50.0f);
    EXPECT_EQ(p->sy2, 0.6f);
    EXPECT_EQ(p->rot2, 8.0f);
    EXPECT_EQ(p->startTime, 5250);
    EXPECT_EQ(p->endTime, 6250);
    EXPECT_EQ(p->lifeTime, 1000);
    EXPECT_EQ(p->isUsingBothPoints, 1);
    EXPECT_EQ(p->isAlphaSin + p->isScaleYSin + p->isRouteSin, 3);
    EXPECT_EQ(p->isScaleXSin + p->isRotationSin + p->isColorSin, 0);
    EXPECT_EQ(p->PositioningType, 0);
    EXPECT_EQ(p->isOnUse, 1);
    EXPECT_EQ(p->per, 0.0f);
}

TEST_F(CreatorsTest, RotationParticlesKeepTheRouteAtZero) {
    auto pack = CreateEngParticlePackage(2);
    auto old = MakeLine(pack, EngLightBlend, 0, 10);  // leaves route values in slot 0
    SetNow(10);
    pack->draw();
    auto p = CreateRotationParticle(0, 7, 100, 200, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 1, 0, 1, 1, 1, 1, 0, 0,
                                    EngLightBlend, 0, 500, pack, nullptr, 0, 0, 0, 0, 0, 1, 0, 0, 1);
    ASSERT_EQ(p, old);  // the same slot, reused
    EXPECT_EQ(p->PositioningType, 1);
    EXPECT_EQ(p->ox, 100.0f);
    EXPECT_EQ(p->h2, 4.0f);
    EXPECT_EQ(p->posRotY2, 8.0f);
    EXPECT_EQ(p->x2, 0.0f);
    EXPECT_EQ(p->isUsingBothPoints, 0);
    EXPECT_EQ(p->isDistWidthSin, 1);
    EXPECT_EQ(p->isRouteRotRotationYSin, 1);
    EXPECT_EQ(p->isDistHeightSin, 0);
}

TEST_F(CreatorsTest, EasyParticlesHaveOneColourAndOneScale) {
    auto pack = CreateEngParticlePackage(2);
    auto colour = CreateRGB(255, 254, 150, 0.2f, 0.5f);
    auto p = CreateEasyParticle(0, 5, 0, 0, 10, 10, 5, 5, *colour, 1, 0, 0.5f, 2, 0, 0, EngLightBlend, 0, 100, pack);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->r1, 255.0f);
    EXPECT_EQ(p->g2, 254.0f);
    EXPECT_EQ(p->b2, 150.0f);
    EXPECT_EQ(p->sx1, p->sy1);
    EXPECT_EQ(p->sx2, 2.0f);
    EXPECT_EQ(p->sy2, 2.0f);
    EXPECT_EQ(p->isUsingBothPoints, 0);
    auto q =
        CreateEasyParticle2(0, 5, 0, 0, 10, 10, 5, 5, 7, 7, *colour, 1, 0, 1, 1, 0, 0, EngLightBlend, 0, 100, pack);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->isUsingBothPoints, 1);
    EXPECT_EQ(q->mx2, 7.0f);
    // The pool is full now.
    EXPECT_EQ(CreateEasyParticle(0, 5, 0, 0, 1, 1, 0, 0, *colour, 1, 0, 1, 1, 0, 0, EngLightBlend, 0, 100, pack),
              nullptr);
}

TEST_F(CreatorsTest, StandAloneParticlesWaitOutsideEveryPoolWithTheirDelay) {
    auto pack = CreateEngParticlePackage(2);
    SetNow(1000);
    auto sub = MakeLine(pack, EngLightBlend, 200, 400, nullptr, 1);
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->startTime, 200);
    EXPECT_EQ(sub->endTime, 0);
    EXPECT_EQ(sub->package, pack.get());
    EXPECT_EQ(pack->CountInUse(), 0);
    pack->draw();
    EXPECT_EQ(pack->Counter, 0);
}

// ---- The image list ----

class ImageListTest : public CreatorsTest {
protected:
    TempDir dir;
    std::string savedDir;
    void SetUp() override {
        CreatorsTest::SetUp();
        savedDir = bDir;
        bDir = dir.path() + "/";
        TImgTex::ResetRegistry();
        // A texture of three 4 x 4 pictures and a whole image.
        TPixmapPtr pix = CreatePixmap(12, 4);
        pix->ClearPixels(int(0xFFFFFFFF));
        ASSERT_TRUE(SavePixmapPNG(pix, dir.file("tex.png")));
        WriteFileBytes(dir.file("tex.txt"), "3\nA\n0\n0\n4\n4\nB\n4\n0\n4\n4\nC\n8\n0\n4\n4\n");
        TPixmapPtr single = CreatePixmap(6, 10);
        ASSERT_TRUE(SavePixmapPNG(single, dir.file("single.png")));
    }
    void TearDown() override {
        bDir = savedDir;
        TImgTex::ResetRegistry();
        CreatorsTest::TearDown();
    }
    std::vector<std::string> Names(const std::vector<TImgPtr>& list) {
        std::vector<std::string> names;
        for (const auto& img : list) names.push_back(img->name);
        return names;
    }
};

TEST_F(ImageListTest, NumbersTheImagesThatLoadInOrder) {
    WriteFileBytes(dir.file("list.txt"), "tex.png|A\ntex.png|B\ntex.png|C\n");
    EXPECT_EQ(Names(CreateImageList(dir.file("list.txt"))), (std::vector<std::string>{"A", "B", "C"}));

    // A line that gives no image leaves no gap: C becomes image 1. The loader reports it.
    WriteFileBytes(dir.file("list.txt"), "tex.png|A\ntex.png|NOPE\ntex.png|C\n");
    EXPECT_EQ(Names(CreateImageList(dir.file("list.txt"))), (std::vector<std::string>{"A", "C"}));
    EXPECT_FALSE(Errors().empty());
}

TEST_F(ImageListTest, TrimsCarriageReturnsButNotALastUnendedLine) {
    WriteFileBytes(dir.file("list.txt"), "tex.png|A\r\ntex.png|B  \r\ntex.png|C");
    EXPECT_EQ(Names(CreateImageList(dir.file("list.txt"))), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ImageListTest, AListCutShortIsReportedOnceAsTheListsFault) {
    // Cut in the middle of a name: the broken last line is the list's fault, said once.
    WriteFileBytes(dir.file("list.txt"), "tex.png|A\ntex.png|B\ntex.png|");
    EXPECT_EQ(Names(CreateImageList(dir.file("list.txt"))), (std::vector<std::string>{"A", "B"}));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("The list " + dir.file("list.txt") + " ends in a broken line ('tex.png|')"),
              std::string::npos)
        << Errors()[0];
}

TEST_F(ImageListTest, AMissingListIsReportedAndGivesNoImages) {
    SetupParticles(dir.file("nothing.txt"));
    EXPECT_TRUE(TEngParticle::standardImg.empty());
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("nothing.txt"), std::string::npos);
}

TEST_F(ImageListTest, SetupLoadsTexturesAndWholeImagesAndCentresTheirHandles) {
    WriteFileBytes(dir.file("list.txt"), "tex.png|B\nsingle.png\n");
    SetupParticles(dir.file("list.txt"));
    ASSERT_EQ(TEngParticle::standardImg.size(), 2u);
    const TImgPtr& sub = TEngParticle::standardImg[0];
    const TImgPtr& whole = TEngParticle::standardImg[1];
    ASSERT_TRUE(sub->texture);
    EXPECT_TRUE(sub->texture->Img);
    EXPECT_EQ(ImgHandleX(sub), 2);
    EXPECT_EQ(ImgHandleY(sub), 2);
    // A whole image has no shared texture: it is loaded itself.
    EXPECT_FALSE(whole->texture);
    EXPECT_TRUE(whole->image);
    EXPECT_EQ(whole->isLoaded, 1);
    EXPECT_EQ(ImgHandleX(whole), 3);
    EXPECT_EQ(ImgHandleY(whole), 5);
    EXPECT_TRUE(Errors().empty());

    // A second set-up replaces the images.
    WriteFileBytes(dir.file("list.txt"), "tex.png|C\n");
    SetupParticles(dir.file("list.txt"));
    ASSERT_EQ(TEngParticle::standardImg.size(), 1u);
    EXPECT_EQ(TEngParticle::standardImg[0]->name, "C");
}

TEST_F(ImageListTest, TheShippedListLoadsEveryImageTheRecipesName) {
    bDir = testsupport::SourceDir() + "/data/";
    SetupParticles(ParticlesListPath());
    EXPECT_TRUE(Errors().empty());
    ASSERT_EQ(TEngParticle::standardImg.size(), 14u);
    for (const TImgPtr& img : TEngParticle::standardImg) {
        ASSERT_TRUE(img->texture) << img->name;
        EXPECT_TRUE(img->texture->Img) << img->name;
        EXPECT_GT(img->w, 0) << img->name;
        EXPECT_EQ(img->hx, img->w / 2) << img->name;
    }
}

}  // namespace
