// The vector-animation root: drawing order, bounding boxes, the pointer test, the graphics table,
// and packages saved to and loaded from their folder, drawn in a real headless frame.
#include "engine/media/VectorObj.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "engine/window/Mouse.h"
#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

using testsupport::ReadFileBytes;
using testsupport::SourceDir;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

bool AnyErrorHas(const std::string& text) {
    for (const auto& e : gErrors)
        if (e.find(text) != std::string::npos) return true;
    return false;
}

class VectorObjTest : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override {
        ResetDrawState();
        Mouse::Reset();
        TAppVectorAnim::ResetGlobals();
        gErrors.clear();
        WatchErrorReports(&CaptureError);
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        ResetDrawState();
        Mouse::Reset();
    }

    static TAppVectorPtr Add(TAppVector& parent, const std::string& name, int layer, float dist = 0, float angle = 0) {
        auto v = CreateVector(dist, angle);
        v->name = name;
        parent.AddVector(v);
        v->Layer = layer;
        return v;
    }
    static std::vector<std::string> DrawOrder(const TAppVectorObj& obj) {
        std::vector<std::string> names;
        for (const TAppVector* p : obj.AllVectors) names.push_back(p->name);
        return names;
    }
    // A solid graphic of w x h in one colour, with its pixels kept for saving.
    static TAVOImagePtr Solid(const std::string& fileName, int w, int h, int argb) {
        auto g = std::make_shared<TAVOImage>();
        g->_EdPixMap = CreatePixmap(w, h);
        g->_EdPixMap->ClearPixels(argb);
        g->_edName = fileName;
        g->Width = w;
        g->Height = h;
        return g;
    }
};

TEST_F(VectorObjTest, DrawingOrderIsByLayerThenTreePreOrder) {
    auto root = CreateEmptyVectorObj();
    root->name = "root";
    root->Layer = 5;
    auto a = Add(*root, "a", 2);
    Add(*a, "a1", 5);
    Add(*root, "b", 1);
    auto c = Add(*root, "c", 2);
    Add(*c, "c1", 2);
    root->CountPoints(0);
    EXPECT_EQ(DrawOrder(*root), (std::vector<std::string>{"b", "a", "c", "c1", "root", "a1"}));

    // The pointer test walks pre-order; the later of two parts near the pointer wins.
    root->DrawX = root->DrawY = 50;
    root->Calculate(0);
    Mouse::x = 52;
    Mouse::y = 47;
    TAppVector* over = root->GetOverVector();
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->name, "c1");
    EXPECT_EQ(over->over, 1);
    EXPECT_EQ(a->over + c->over + root->over, 0);
    EXPECT_EQ(DrawOrder(*root), (std::vector<std::string>{"root", "a", "a1", "b", "c", "c1"}));
}

TEST_F(VectorObjTest, BoundingBoxes) {
    // Without outlines the box spans the truncated pivots.
    auto root = CreateEmptyVectorObj();
    root->DrawX = 30.7f;
    root->DrawY = 40.2f;
    root->CountCorners(1);
    EXPECT_EQ(root->CurrState->TempWidth, 0);
    EXPECT_EQ(root->CurrState->TempHeight, 0);
    Add(*root, "far", 0, 20, 45)->SetCurrStateInd(0);
    root->Calculate(0);
    root->CountCorners(1);
    EXPECT_EQ(root->CurrState->TempWidth, 14);   // 30 .. 44
    EXPECT_EQ(root->CurrState->TempHeight, 14);  // 40 .. 54

    // Outlines spanning (10, 20) .. (50, 60) around the pivot (30, 40).
    root->rect = CreateVectorRect({20, 40, 40, 20}, {30, 30, 50, 50});
    root->vectors[0]->rect = CreateVectorRect({10, 50, 50, 10}, {20, 20, 60, 60});
    root->DrawX = 30;
    root->DrawY = 40;
    root->CountCorners(1);
    EXPECT_EQ(root->CurrState->TempWidth, 40);
    EXPECT_EQ(root->CurrState->TempHeight, 40);
    EXPECT_EQ(root->CurrState->tempBox->x, -20);
    EXPECT_EQ(root->CurrState->tempBox->y, -20);

    // A 40 x 40 graphic centred on the pivot, measured at scale 1 and unrotated.
    auto boxed = CreateEmptyVectorObj();
    auto g = std::make_shared<TAVOImage>();
    g->Width = g->Height = 40;
    boxed->AddImage(g);
    boxed->States[0]->n = 0;
    boxed->States[0]->hx = boxed->States[0]->hy = 20;
    boxed->SetCurrStateInd(0);
    boxed->DrawX = 50.5f;
    boxed->DrawY = 60.5f;
    SetScale(2, 2);
    SetRotation(33);
    boxed->CalculateObj(1);
    const auto& stored = *boxed->States[0];
    EXPECT_EQ(stored.Width, 40);
    EXPECT_EQ(stored.Height, 40);
    ASSERT_TRUE(stored.box);
    EXPECT_EQ(stored.box->x, -20.5f);
    EXPECT_EQ(stored.box->y, -20.5f);
    EXPECT_EQ(boxed->CurrState->TempWidth, 80) << "the temporary box at the drawing scale";
    // Measuring leaves the draw state as it found it.
    float sx = 0, sy = 0;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(GetRotation(), 33);
}

TEST_F(VectorObjTest, GraphicsTableBlockAndResize) {
    auto obj = CreateEmptyVectorObj();
    for (const char* nm : {"a.png", "b.png", "c.png"}) obj->AddImage(Solid(nm, 2, 2, int(0xFF00FF00)));
    auto bf = CreateBlockFile("root");
    obj->SaveGFX(bf);
    EXPECT_EQ(GetBFInt(bf, "GFX::gfxs"), 3);
    EXPECT_EQ(GetBFString(bf, "GFX::Img2"), "c.png");

    obj->AddImage(nullptr);
    obj->AddImage(nullptr);
    obj->ResizeGFX(2);
    ASSERT_EQ(obj->gfx.size(), 2u);
    EXPECT_EQ(obj->gfx[1]->_edName, "b.png");
}

TEST_F(VectorObjTest, PackageSaveAndLoadRoundTrip) {
    auto obj = CreateEmptyVectorObj();
    obj->name = "Hero";
    obj->AddImage(Solid("body.png", 8, 6, int(0xFFFF0000)));
    obj->AddImage(Solid("Arm.JPG", 4, 2, int(0xFF0000FF)));  // written as PNG under its own name
    auto arm = Add(*obj, "Arm", 3, 12, 90);
    auto hand = Add(*arm, "Hand", 1, 5, 0);
    obj->States[0]->n = 0;
    arm->States[0]->n = 1;
    arm->States[0]->hx = 2.7f;
    obj->AddNewState();
    arm->States[1]->Angle = 45;
    hand->States[1]->Alpha = 0.5f;
    obj->States[1]->Name = "Raised";
    auto wave = CreateVectorAnim(nullptr, "Wave");
    wave->AddStep(CreateAnimStep(obj->GetState(0), 0, 0));
    wave->AddStep(CreateAnimStep(obj->GetState(1), 1, 0.4f));
    wave->AddStep(CreateAnimStep(obj->GetState(0), 0, 0.4f));
    obj->AddAnim(wave);

    ASSERT_EQ(SaveAVO(obj, dir.file("Hero.avobj")), 1);
    const std::string folder = dir.file("Hero/");
    for (const char* f : {"Gfxs.avo", "Vectors.avo", "Anims.avo", "images/body.png", "images/Arm.JPG"})
        EXPECT_EQ(FileType(folder + f), 1) << f;
    EXPECT_NE(LoadPixmap(folder + "images/Arm.JPG"), nullptr);

    // The folder with or without "/" and its vectors file in any case read the same package.
    for (const std::string& url : {dir.file("Hero"), dir.file("hero/"), dir.file("HERO/VECTORS.AVO")}) {
        gErrors.clear();
        TAppVectorObjPtr back = LoadAVO(url, 1);
        ASSERT_TRUE(back) << url;
        EXPECT_TRUE(gErrors.empty()) << url << ": " << (gErrors.empty() ? "" : gErrors[0]);
        EXPECT_EQ(back->name, "Hero");
        ASSERT_EQ(back->gfx.size(), 2u);
        EXPECT_EQ(back->gfx[1]->Width, 4);
        EXPECT_EQ(back->gfx[1]->_edName, "Arm.JPG");
        ASSERT_EQ(back->vectors.size(), 1u);
        const auto& backArm = back->vectors[0];
        EXPECT_EQ(backArm->name, "Arm");
        EXPECT_EQ(backArm->Layer, 3);
        EXPECT_EQ(backArm->States[0]->hx, 2.0f);
        EXPECT_EQ(backArm->States[1]->Angle, 45);
        ASSERT_EQ(backArm->vectors.size(), 1u);
        EXPECT_EQ(backArm->vectors[0]->States[1]->Alpha, 0.5f);
        EXPECT_EQ(backArm->vectors[0]->Hook, backArm.get());
        EXPECT_EQ(back->States[1]->Name, "Raised");
        ASSERT_EQ(back->anims.size(), 1u);
        EXPECT_EQ(back->anims[0]->StatesInd, (std::vector<int32_t>{0, 0, 1}));
        ASSERT_EQ(backArm->anims.size(), 1u);
        EXPECT_EQ(backArm->anims[0]->States[2]->state, backArm->States[1]);
        // Every pose was measured, and the object rests on pose 0 in drawing order.
        EXPECT_TRUE(back->States[0]->box && back->States[1]->box);
        EXPECT_EQ(back->CurrStateInd, 0);
        EXPECT_EQ(back->AllVectors.size(), 3u);
        EXPECT_EQ(back->AllVectors.front(), back.get());
    }

    // Saving what was loaded with its pixels writes the same package again.
    ASSERT_EQ(SaveAVO(LoadAVO(folder, 1), dir.file("copy/Hero")), 1);
    for (const char* f : {"Gfxs.avo", "Vectors.avo", "Anims.avo", "images/body.png"})
        EXPECT_EQ(ReadFileBytes(dir.file(std::string("copy/Hero/") + f)), ReadFileBytes(folder + f)) << f;
    // Loaded without pixels, nothing of the images can be written back.
    ASSERT_EQ(SaveAVO(LoadAVO(folder, 0), dir.file("bare")), 1);
    EXPECT_EQ(GetBFString(LoadBlockFile(dir.file("bare/Gfxs.avo")), "GFX::Img0"), "");
    EXPECT_TRUE(ReadDir(dir.file("bare/images")).empty());
}

TEST_F(VectorObjTest, UrlsThatDoNotNameAPackage) {
    auto obj = CreateEmptyVectorObj();
    ASSERT_EQ(SaveAVO(obj, dir.file("Pkg")), 1);
    WriteFileBytes(dir.file("Packed.AVOBJ"), "PK");
    struct Case {
        std::string url;
        bool object;  // an (empty) object rather than null
        std::string reported;
    };
    for (const Case& c : std::vector<Case>{
             {dir.file("Packed.AVOBJ"), false, "Packed"},
             {dir.file("Other.zip"), false, "Packed"},
             {dir.file("Pkg/Gfxs.avo"), false, "Not a vector animation"},
             {dir.file("Nowhere"), false, "No such file"},
             {dir.path(), true, "No such file"},  // a folder without the package's files
         }) {
        gErrors.clear();
        TAppVectorObjPtr got = LoadAVO(c.url, 0);
        EXPECT_EQ(got != nullptr, c.object) << c.url;
        EXPECT_TRUE(AnyErrorHas(c.reported)) << c.url;
    }

    // One file missing: reported, and an empty object comes back.
    ASSERT_TRUE(DeleteFile(dir.file("Pkg/Anims.avo")));
    gErrors.clear();
    TAppVectorObjPtr partial = LoadAVO(dir.file("Pkg"), 0);
    ASSERT_TRUE(partial);
    EXPECT_TRUE(AnyErrorHas("Anims.avo"));
    EXPECT_TRUE(partial->States.empty() && partial->vectors.empty() && partial->gfx.empty());
    DrawAVO(partial, 10, 10);
}

TEST_F(VectorObjTest, GraphicsTableFromTheFileIsNotTrusted) {
    const std::string folder = dir.file("Pkg/");
    ASSERT_TRUE(CreateDir(folder + "images"));
    ASSERT_TRUE(SavePixmapPNG(CreatePixmap(3, 5), folder + "images/ok.png"));
    ASSERT_TRUE(SavePixmapPNG(CreatePixmap(1, 1), dir.file("secret.png")));
    WriteFileBytes(folder + "Gfxs.avo",
                   "GFX{\n gfxs = 2000000000\n Img0 = \"OK.PNG\"\n Img1 = \"../../secret.png\"\n"
                   " Img2 = \"/etc/hostname\"\n Img4 = \"ok.png\"\n}\n");
    auto obj = std::make_shared<TAppVectorObj>();
    LoadAVOGfx(obj, folder, 0);
    ASSERT_EQ(obj->gfx.size(), 5u) << "as many slots as names listed, numbers kept";
    EXPECT_EQ(obj->gfx[0]->Height, 5) << "names match without regard to case";
    EXPECT_EQ(obj->gfx[1]->image, nullptr);
    EXPECT_EQ(obj->gfx[2]->image, nullptr);
    EXPECT_EQ(obj->gfx[3]->image, nullptr);
    EXPECT_EQ(obj->gfx[4]->Width, 3);
    EXPECT_TRUE(AnyErrorHas("claims 2000000000"));
    EXPECT_TRUE(AnyErrorHas("../../secret.png"));
    EXPECT_TRUE(AnyErrorHas("/etc/hostname"));
}

TEST_F(VectorObjTest, NumbersFromThePackageSaturateAndLayersFarApartSortInOrder) {
    // Every number too large for an int, and two parts whose layers and positions lie at the
    // far ends of the int range.
    const std::string folder = dir.file("Big/");
    ASSERT_TRUE(CreateDir(folder + "images"));
    WriteFileBytes(folder + "Gfxs.avo", "GFX{\n gfxs = 9e9\n}\n");
    const std::string state = " Transform = 0, 1, 1\n n = -1\n";
    WriteFileBytes(folder + "Vectors.avo",
                   "VECTOR{\n Name = \"Root\"\n Layer = 0\n States{\n STATE{\n DistAngle = 0, 0\n"
                   " Transform = 0, 1, 1\n RGB = 1, 9e9, -9e9, 255\n n = 9e9\n Handle = 9e9, -9e9\n }\n }\n"
                   " SubVectors{\n"
                   " VECTOR{\n Name = \"High\"\n Layer = 9e9\n States{\n STATE{\n DistAngle = 3e9, 0\n" +
                       state +
                       " }\n }\n }\n"
                       " VECTOR{\n Name = \"Low\"\n Layer = -9e9\n States{\n STATE{\n DistAngle = 3e9, 180\n" +
                       state + " }\n }\n }\n }\n}\n");
    WriteFileBytes(folder + "Anims.avo", "Anims{\n ANIM{\n name = \"A\"\n StatesInd = 9e9, 0\n StatesPer = 0\n }\n}\n");
    TAppVectorObjPtr obj = LoadAVO(folder, 0);
    ASSERT_TRUE(obj);
    ASSERT_EQ(obj->vectors.size(), 2u);
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(obj->vectors[0]->Layer, kMax);
    EXPECT_EQ(obj->vectors[1]->Layer, kMin);
    EXPECT_EQ(DrawOrder(*obj), (std::vector<std::string>{"Low", "Root", "High"}));
    const TAppVectorState& pose = *obj->States[0];
    EXPECT_EQ(pose.red, kMax);
    EXPECT_EQ(pose.green, kMin);
    EXPECT_EQ(pose.n, kMax);
    // Parts at the two ends of the range: the widest extent an int holds.
    EXPECT_EQ(pose.Width, kMax);
    EXPECT_TRUE(obj->gfx.empty());
    ASSERT_EQ(obj->anims.size(), 1u);
    EXPECT_EQ(obj->anims[0]->States.size(), 1u);
    EXPECT_TRUE(AnyErrorHas("claims 2147483647 steps"));

    // Written back, the handle is the saturated number.
    auto block = CreateBlockFile("STATE");
    obj->States[0]->Save(block);
    EXPECT_EQ(GetBFInt(block, "Handle", 0), kMax);
    EXPECT_EQ(GetBFInt(block, "Handle", 1), kMin);
}

// The bird in data/ loads and draws in a real headless frame.
class VectorObjDrawTest : public VectorObjTest {
protected:
    TPixmapPtr frame;
    void SetUp() override {
        VectorObjTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(400, 300));
        ResetDrawState();
        SetClsColor(0, 0, 0);
    }
    // Red, green and blue of a pixel of the last frame.
    std::array<int, 3> At(int x, int y) {
        int v = frame->ReadPixel(x, y);
        return {(v >> 16) & 255, (v >> 8) & 255, v & 255};
    }
    static bool Near(const std::array<int, 3>& got, const std::array<int, 3>& want) {
        for (int k = 0; k < 3; ++k)
            if (std::abs(got[k] - want[k]) > 4) return false;
        return true;
    }
};

TEST_F(VectorObjDrawTest, TheBirdLoadsAndDraws) {
    TAppVectorObjPtr bird = LoadAVO(SourceDir() + "/data/Anims/Bird", 0);
    ASSERT_TRUE(bird);
    EXPECT_TRUE(gErrors.empty()) << gErrors.front();
    EXPECT_EQ(bird->gfx.size(), 5u);
    ASSERT_EQ(bird->anims.size(), 2u);
    EXPECT_EQ(bird->anims[0]->name, "Fly");

    const std::array<int, 3> blue{66, 135, 204}, orange{245, 166, 35}, black{0, 0, 0};
    Cls();
    DrawAVO(bird, 150, 200);                    // resting
    DrawAVOAnim(bird, "Fly", 0.25f, 400, 200);  // wings up, body lifted by 6
    frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    EXPECT_TRUE(Near(At(150, 205), blue)) << "body";
    EXPECT_TRUE(Near(At(150, 217), blue)) << "bottom of the resting body";
    EXPECT_TRUE(Near(At(150 + 46, 200 - 11), orange)) << "beak";
    EXPECT_TRUE(Near(At(150, 260), black));
    EXPECT_TRUE(Near(At(400, 205), blue));
    EXPECT_TRUE(Near(At(400, 217), black)) << "the lifted body has left it";
    EXPECT_EQ(bird->CurrAnim, nullptr);
}

}  // namespace
