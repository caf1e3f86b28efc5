// Draw objects: the factory and the "DrawObject" block, sizes, shapes and copies, the text kind's
// layout and placement (with exact fake metrics), where its numbered lines come from, and real
// frames drawn by the rectangle, image and text kinds.
#include "engine/screen/DrawObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/GameObject.h"
#include "engine/screen/Shape.h"
#include "engine/media/TextLayoutTestSupport.h"
#include "engine/media/TxtFile.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;
using texttest::Calls;

namespace {

class DrawObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        TAsset::ResetCurrScreen();
        TAppDrawObject::CurrScreen = nullptr;
        TAppDrawObjectText::ResetStatics();
        AppClassManager::Reset();
        ResetDrawState();
    }
    void TearDown() override {
        TAsset::ResetCurrScreen();
        TAppDrawObject::CurrScreen = nullptr;
        TAppDrawObjectText::ResetStatics();
        AppClassManager::Reset();
        ResetDrawState();
    }
    static TTextClassPtr Class(int hAlign, int vAlign, float vSpace) {
        auto cls = std::make_shared<TTextClass>();
        cls->id = "TEST";
        cls->HAlign = hAlign;
        cls->VAlign = vAlign;
        cls->VSpace = vSpace;
        return cls;
    }
    static std::shared_ptr<TTxtFile> Texts(std::vector<std::string> lines) {
        auto f = std::make_shared<TTxtFile>();
        f->txt = std::move(lines);
        return f;
    }
};

// ---------------------------------------------------------------------------------------------
// Factory, blocks, sizes, shapes, copies

TEST_F(DrawObjectTest, FactoryMakesTheKindsAndTheirBlocksLoadBack) {
    struct Case {
        int type;
        const char* word;  // "" when the factory makes nothing
    };
    TGameObject owner;
    for (const Case& c :
         std::vector<Case>{{1, "Rect"}, {2, "Image"}, {3, "Text"}, {4, "AVO"}, {0, ""}, {5, ""}, {-1, ""}}) {
        SCOPED_TRACE(c.type);
        TAppDrawObjectPtr made = CreateNewAppDrawObjectByType(c.type);
        auto block = CreateBlockFile("DrawObject");
        AddIntToBlock(block, "Type", c.type);
        if (c.word[0] == '\0') {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(LoadAppDrawObject(block, &owner), nullptr);
            continue;
        }
        ASSERT_TRUE(made);
        EXPECT_EQ(made->GetTypeString(), c.word);
        made->width = 30;
        made->height = 12;
        auto parent = CreateBlockFile("Objects");
        made->Save(parent);
        TBlockFilePtr saved = GetBlockFile(parent, "DrawObject");
        EXPECT_EQ(GetBFInt(saved, "Type"), c.type);
        TAppDrawObjectPtr loaded = LoadAppDrawObject(saved, &owner);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->GetTypeString(), c.word);
        EXPECT_EQ(loaded->width, 30);
        EXPECT_EQ(loaded->height, 12);
    }
    EXPECT_EQ(LoadAppDrawObject(CreateBlockFile("DrawObject"), &owner), nullptr) << "no Type reads 0";

    // Numbers beyond the int range saturate.
    TBlockFilePtr huge = ParseBlockFileText("DrawObject{\nType = 1.5\nDimensions = 9e9, -9e9\n}\n", "r");
    TAppDrawObjectPtr big = LoadAppDrawObject(GetBlockFile(huge, "DrawObject"), &owner);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->width, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(big->height, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(
        LoadAppDrawObject(GetBlockFile(ParseBlockFileText("DrawObject{\nType = 9e9\n}\n", "r"), "DrawObject"), &owner),
        nullptr);
}

TEST_F(DrawObjectTest, ImageKindWritesItsFileOnlyWithAnAssetAndFindsADefaultFile) {
    auto image = std::static_pointer_cast<TAppDrawObjectImage>(CreateAppDrawObject_Image(nullptr, 10, 10));
    image->ImageUrl = "pics/a.png";
    auto parent = CreateBlockFile("Objects");
    image->Save(parent);
    EXPECT_EQ(isBFEntry(GetBlockFile(parent, "DrawObject"), "Image"), 0);
    image->image = CreateEmptyImageAsset("pics/a.png");
    auto withAsset = CreateBlockFile("Objects");
    image->Save(withAsset);
    EXPECT_EQ(GetBFString(GetBlockFile(withAsset, "DrawObject"), "Image"), "pics/a.png");
    auto exported = CreateBlockFile("Objects");
    image->SaveForExport(exported);
    EXPECT_EQ(isBFEntry(GetBlockFile(exported, "DrawObject"), "Image"), 0);
    EXPECT_EQ(GetBFInt(GetBlockFile(exported, "DrawObject"), "Dimensions", 1), 10);

    // Without "Image", the owner's folder: image.png when it exists, else image.jpg regardless.
    TempDir dir;
    auto block = CreateBlockFile("DrawObject");
    AddIntToBlock(block, "Type", 2);
    TGameObject owner;
    owner.Prefix = dir.path() + "/";
    auto jpg = std::static_pointer_cast<TAppDrawObjectImage>(LoadAppDrawObject(block, &owner));
    EXPECT_EQ(jpg->ImageUrl, owner.Prefix + "image.jpg");
    EXPECT_EQ(jpg->prefix, owner.Prefix);
    EXPECT_EQ(jpg->image, nullptr) << "the draw object never loads its file";
    WriteFileBytes(dir.file("image.png"), "x");
    auto png = std::static_pointer_cast<TAppDrawObjectImage>(LoadAppDrawObject(block, &owner));
    EXPECT_EQ(png->ImageUrl, owner.Prefix + "image.png");

    // Export copies the file only when both the asset and the url are set.
    png->Export(dir.file("none.png"));
    EXPECT_EQ(FileType(dir.file("none.png")), 0);
    png->image = CreateEmptyImageAsset(png->ImageUrl);
    png->Export(dir.file("copy.png"));
    EXPECT_EQ(FileType(dir.file("copy.png")), 1);
}

TEST_F(DrawObjectTest, SizesShapesCopiesAndFree) {
    TImageAssetPtr asset = CreateEmptyImageAsset("a.png");
    TAVOAssetPtr avo = CreateEmptyAVOAsset("anim");
    struct Case {
        TAppDrawObjectPtr d;
        int w, h;  // GetWidth, GetHeight
        float shapeW, shapeH;
    };
    const std::vector<Case> cases = {
        {CreateAppDrawObject_Rect(30, 20), 30, 20, 30, 20},
        {CreateAppDrawObject_Image(asset, 30, 20), 0, 0, 0, 0},  // not loaded: 0 x 0
        {CreateAppDrawObject_Image(nullptr, 30, 20), 0, 0, 0, 0},
        {CreateAppDrawObject_AVO(avo, 30, 20), 0, 0, 64, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.d->GetTypeString());
        EXPECT_EQ(c.d->GetWidth(), c.w);
        EXPECT_EQ(c.d->GetHeight(), c.h);
        auto shape = c.d->ToShape();
        ASSERT_TRUE(shape);
        EXPECT_EQ(shape->PolyDist, CreateAppShape_Rect(c.shapeW, c.shapeH, 0, 0)->PolyDist);
    }

    // An image copy shares the asset and the url and starts fresh otherwise.
    auto image = std::static_pointer_cast<TAppDrawObjectImage>(CreateAppDrawObject_Image(asset, 200, 50));
    image->DrawingMode = 0;
    image->ModePercent = 0.3f;
    image->ImageUrl = "a.png";
    auto copy = std::dynamic_pointer_cast<TAppDrawObjectImage>(image->Copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->image, asset);
    EXPECT_EQ(copy->ImageUrl, "a.png");
    EXPECT_EQ(copy->width + copy->height, 0);
    EXPECT_EQ(copy->DrawingMode, -1);
    EXPECT_FLOAT_EQ(copy->ModePercent, 1.0f);

    auto avoCopy = std::dynamic_pointer_cast<TAppDrawObjectAVO>(cases[3].d->Copy());
    ASSERT_TRUE(avoCopy);
    EXPECT_EQ(avoCopy->avo, avo);

    // A text copy shares the laid-out lines and the class.
    texttest::FakeText fake;
    auto text =
        std::static_pointer_cast<TAppDrawObjectText>(CreateAppDrawObject_Text("aa bb", 4, Class(1, 1, 0), 3, 9));
    auto textCopy = std::dynamic_pointer_cast<TAppDrawObjectText>(text->Copy());
    ASSERT_TRUE(textCopy);
    EXPECT_EQ(textCopy->Lines, text->Lines);
    EXPECT_EQ(textCopy->Class, text->Class);
    EXPECT_EQ(textCopy->Text, "aa bb");
    EXPECT_EQ(textCopy->TextLine + textCopy->width, 0);

    // Free drops the references; the asset itself stays loaded for its other users.
    image->Free();
    EXPECT_EQ(image->image, nullptr);
    text->Free();
    EXPECT_TRUE(text->Lines.empty());
    EXPECT_EQ(text->Class, nullptr);
    Calls().clear();
    text->Draw(0, 0);
    EXPECT_TRUE(Calls().empty());
}

// ---------------------------------------------------------------------------------------------
// Text layout and placement

struct Placed {
    std::string text;
    float x, y;
};

std::vector<Placed> Drawn() {
    std::vector<Placed> out;
    for (const auto& c : Calls()) out.push_back({c.text, c.x, c.y});
    return out;
}

void ExpectPlaced(const std::vector<Placed>& want) {
    const auto got = Drawn();
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text) << "line " << i;
        EXPECT_NEAR(got[i].x, want[i].x, 1e-4) << want[i].text;
        EXPECT_NEAR(got[i].y, want[i].y, 1e-4) << want[i].text;
    }
}

// Every byte one pixel wide, every line 16 high; drawn at (10, 20), a point never drawn before.
TEST_F(DrawObjectTest, TextIsWrappedAndAlignedInItsBox) {
    texttest::FakeText fake;
    const std::string w120(120, 'x');
    struct Case {
        const char* what;
        int hAlign, vAlign;
        float vSpace;
        std::string text;
        int w, h;
        float scale;
        std::vector<Placed> want;
    };
    const std::vector<Case> cases = {
        {"centre, middle", 0, 0, 0, "aaaa bb", 200, 100, 1, {{"aaaa bb", 10 + 100 - 3.5f, 20 + 50 - 8}}},
        {"centre at scale 1", 0, 1, 0, w120, 200, 10, 1, {{w120, 10 + 40, 20}}},
        {"centre at scale 2", 0, 1, 0, w120, 200, 10, 2, {{w120, 10 + 80, 20}}},
        {"left, top, spaced", 1, 1, 4, "aaaa bbbb cc", 5, 10, 1, {{"aaaa", 10, 20}, {"bbbb", 10, 40}, {"cc", 10, 60}}},
        {"spacing scales", 1, 1, 4, "aaaa bbbb", 5, 10, 2, {{"aaaa", 10, 20}, {"bbbb", 10, 60}}},
        {"right, bottom, taller than the box", 2, 2, 0, "aaaa bb", 6, 20, 1, {{"aaaa", 12, 8}, {"bb", 14, 24}}},
        {"justified", 3, 1, 0, "aa bb", 10, 10, 1, {{"aa", 10, 20}, {"bb", 18, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetDrawState();
        auto t = std::static_pointer_cast<TAppDrawObjectText>(
            CreateAppDrawObject_Text(c.text, 0, Class(c.hAlign, c.vAlign, c.vSpace), c.w, c.h));
        SetScale(c.scale, c.scale);
        Calls().clear();
        t->Draw(10, 20);
        ExpectPlaced(c.want);
        // Upright plain drawing notes where the last line ends; justified drawing never does.
        const std::string& last = c.want.back().text;
        EXPECT_FLOAT_EQ(t->GetTextEndX(), c.hAlign == 3 ? 0.0f : static_cast<float>(last.size()));
    }
}

TEST_F(DrawObjectTest, TextAtRestSnapsToWholePixelsAndRotatedTextUsesPolarOffsets) {
    texttest::FakeText fake;
    auto t =
        std::static_pointer_cast<TAppDrawObjectText>(CreateAppDrawObject_Text("aaaa bbbb", 0, Class(1, 1, 4), 5, 10));
    t->Draw(10.5f, 20.5f);
    t->Draw(10.5f, 20.5f);
    t->Draw(30.25f, 20.5f);
    ExpectPlaced({{"aaaa", 10.5f, 20.5f},
                  {"bbbb", 10.5f, 40.5f},  // moved: as given
                  {"aaaa", 10, 20},
                  {"bbbb", 10, 40},  // at rest: whole pixels
                  {"aaaa", 30.25f, 20.5f},
                  {"bbbb", 30.25f, 40.5f}});

    // Turned by 90 degrees at scale 2: the second line, 20 below the first, lands 40 to the left.
    t->TextEndX = -1;
    SetRotation(90);
    SetScale(2, 2);
    Calls().clear();
    t->Draw(100, 100);
    const auto got = Drawn();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_NEAR(got[0].x, 100, 1e-3);
    EXPECT_NEAR(got[0].y, 100, 1e-3);
    EXPECT_NEAR(got[1].x, 60, 1e-3);
    EXPECT_NEAR(got[1].y, 100, 1e-3);
    EXPECT_FLOAT_EQ(t->GetTextEndX(), -1) << "not updated under a rotation";
}

// ---------------------------------------------------------------------------------------------
// Loading texts

TEST_F(DrawObjectTest, NumberedLinesComeFromTheScreenBeingLoadedAndNeverFromAStaleOne) {
    texttest::FakeText fake;
    auto named = std::make_shared<TTextClass>();
    named->id = "TITLE";
    AppClassManager::AddTextClass(named);

    TAppScreen first, second;
    first.TxtFile = Texts({"A1", "A2", "A3"});
    second.TxtFile = Texts({"B1", "B2", "B3"});
    auto numbered = CreateBlockFile("DrawObject");
    AddIntToBlock(numbered, "Type", 3);
    AddIntToBlock(numbered, "Dimensions", 50);
    AddIntToBlock(numbered, "Dimensions", 20, 1);
    AddIntToBlock(numbered, "TextLine", 3);
    AddStringToBlock(numbered, "Text", "ignored");
    AddStringToBlock(numbered, "Class", "title");

    TGameObject onFirst, loose;
    onFirst.Screen = &first;
    auto fromOwner = std::static_pointer_cast<TAppDrawObjectText>(LoadAppDrawObject(numbered, &onFirst));
    EXPECT_EQ(fromOwner->Text, "A3");
    EXPECT_EQ(fromOwner->TextLine, 3);
    EXPECT_EQ(fromOwner->Class, named);
    EXPECT_EQ(fromOwner->Lines.size(), 1u) << "laid out";
    EXPECT_EQ(TAppDrawObjectText::Screen, nullptr) << "the owner's screen is not left behind";

    // The next object, whose owner has no screen yet, reads the screen being loaded.
    TAppDrawObject::CurrScreen = &second;
    EXPECT_EQ(std::static_pointer_cast<TAppDrawObjectText>(LoadAppDrawObject(numbered, &loose))->Text, "B3");

    // No screen at all: a warning, and the text stays as it was.
    TAppDrawObject::CurrScreen = nullptr;
    testing::internal::CaptureStdout();
    auto orphan = std::static_pointer_cast<TAppDrawObjectText>(LoadAppDrawObject(numbered, &loose));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARNING Couldn't find text reference for TAppDrawObjectText!\n");
    EXPECT_EQ(orphan->Text, "");

    // A line past the end is empty; no TextLine reads "Text"; an unknown or missing class is the
    // default one.
    TAppDrawObject::CurrScreen = &second;
    AddIntToBlock(numbered, "TextLine", 9);
    EXPECT_EQ(std::static_pointer_cast<TAppDrawObjectText>(LoadAppDrawObject(numbered, &loose))->Text, "");
    auto plain = CreateBlockFile("DrawObject");
    AddIntToBlock(plain, "Type", 3);
    AddStringToBlock(plain, "Text", "hello");
    AddStringToBlock(plain, "Class", "nothing");
    auto plainText = std::static_pointer_cast<TAppDrawObjectText>(LoadAppDrawObject(plain, &loose));
    EXPECT_EQ(plainText->Text, "hello");
    EXPECT_EQ(plainText->Class, TTextClass::DefaultClass);

    // Saved: the line number wins over the text; the class by its id.
    auto parent = CreateBlockFile("Objects");
    fromOwner->Save(parent);
    TBlockFilePtr saved = GetBlockFile(parent, "DrawObject");
    EXPECT_EQ(GetBFInt(saved, "TextLine"), 3);
    EXPECT_EQ(isBFEntry(saved, "Text"), 0);
    EXPECT_EQ(GetBFString(saved, "Class"), "TITLE");
    auto parent2 = CreateBlockFile("Objects");
    plainText->Save(parent2);
    EXPECT_EQ(GetBFString(GetBlockFile(parent2, "DrawObject"), "Text"), "hello");
    EXPECT_EQ(isBFEntry(GetBlockFile(parent2, "DrawObject"), "TextLine"), 0);
}

// ---------------------------------------------------------------------------------------------
// Real frames

TEST_F(DrawObjectTest, KindsDrawInARealFrame) {
    ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(400, 300));
    SetDefaultFontPath(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf");
    SetClsColor(0, 0, 0);
    ResetDrawState();
    Cls();

    SetColor(0, 255, 0);
    CreateAppDrawObject_Rect(30, 20)->Draw(20, 20);
    CreateAppDrawObject_Image(nullptr, 30, 20)->Draw(100, 20);  // no asset: nothing, no placeholder
    SetColor(255, 255, 255);
    auto font = LoadImageFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", 24);
    ASSERT_TRUE(font);
    auto cls = Class(0, 0, 0);
    cls->Font = font;
    SetImageFont(nullptr);  // laid out in the class's font whatever font is current
    auto text = std::static_pointer_cast<TAppDrawObjectText>(CreateAppDrawObject_Text("Hello there", 0, cls, 300, 60));
    text->Draw(200, 200);
    auto frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    ResetDrawState();
    SetImageFont(nullptr);

    auto rgb = [&](int x, int y) { return frame->ReadPixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(20, 20), 0x00FF00);
    EXPECT_EQ(rgb(49, 39), 0x00FF00);
    EXPECT_EQ(rgb(50, 20), 0);
    for (int y = 10; y < 60; ++y)
        for (int x = 90; x < 200; ++x) ASSERT_EQ(rgb(x, y), 0) << "drawn at " << x << ", " << y;

    // The text is centred in its 300 x 60 box: lit pixels only inside it, on both sides of the
    // box's centre line, and the same distance in from either edge.
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    for (int y = 190; y < 270; ++y)
        for (int x = 190; x < 510; ++x)
            if (((frame->ReadPixel(x, y) >> 8) & 255) > 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no text drawn";
    EXPECT_GT(minX, 200);
    EXPECT_LT(maxX, 500);
    EXPECT_NEAR((minX - 200) - (500 - 1 - maxX), 0, 6);
    EXPECT_LT(minY, 230);
    EXPECT_GT(maxY, 230);
    EXPECT_GT(minY, 200);
    EXPECT_LT(maxY, 260);
}

}  // namespace
