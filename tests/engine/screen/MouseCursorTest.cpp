// The engine's cursors: reading "Mouse.dat", the lookups and their warnings, the images' route
// through the game's global assets, and Mouse::Draw in a real headless frame (the system pointer
// or the cursor with its hotspot at the pointer).
#include "engine/screen/MouseCursor.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/media/ImgTex.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

// A solid square of one colour.
void WriteSquare(const std::string& path, int size, uint32_t argb) {
    TPixmapPtr p = CreatePixmap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) p->WritePixel(x, y, int(argb));
    ASSERT_TRUE(SavePixmapPNG(p, path));
}

std::vector<std::shared_ptr<TAsset>> gHandedOver;
bool TakeGlobalAsset(const std::shared_ptr<TAsset>& asset) {
    gHandedOver.push_back(asset);
    return true;
}

// A data folder of its own (bDir), no cursors, no loading screen to take their pictures, the
// custom cursor off.
class MouseCursorTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string savedBDir;
    int savedCustom = 0;

    void SetUp() override {
        savedBDir = bDir;
        savedCustom = AppSettings::CustomCursor;
        bDir = dir.path() + "/";
        ASSERT_TRUE(CreateDir(dir.file("App/Data")));
        ASSERT_TRUE(CreateDir(dir.file("Cur")));
        Mouse::Reset();
        Control::Reset();
        TAsset::ResetCurrScreen();
        TImgTex::ResetRegistry();
        gHandedOver.clear();
        AppSettings::CustomCursor = 0;
        ControlHooks::AddGlobalAsset = [](const std::shared_ptr<TAsset>&) { return false; };
    }
    void TearDown() override {
        Mouse::Reset();
        Control::Reset();
        TImgTex::ResetRegistry();
        gHandedOver.clear();
        bDir = savedBDir;
        AppSettings::CustomCursor = savedCustom;
    }
    void WriteMouseDat(const std::string& text) { WriteFileBytes(dir.file("App/Data/Mouse.dat"), text); }
    // LoadCursors' standard output.
    std::string Load() {
        testing::internal::CaptureStdout();
        Mouse::LoadCursors();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(MouseCursorTest, ReadsEveryCursorInFileOrderWithItsDefaults) {
    WriteMouseDat(
        "CURSOR{\n img = \"#BDIR#Cur/a.png\"\n Id = 7\n Name = \"Arrow\"\n Handle = 3, 4\n"
        " Rotation = 15\n Scale = 2, 3\n Alpha = 0.5\n}\n"
        "cursor{\n img = \"#BDIR#Cur/b.png\"\n id = 2.9\n NAME = \"Hand\"\n Scale = 0, 2\n Alpha = 0\n}\n"
        "Cursor{\n}\n"
        "SETTINGS{\n DefaultCursor = 2\n}\n");
    // The pictures are not there: each is said once.
    EXPECT_EQ(Load(),
              "NO FILE ERROR ( File: Asset  Code: TImageAsset::ReloadImg ) No such file or directory! Url = " + bDir +
                  "Cur/a.png\nNO FILE ERROR ( File: Asset  Code: TImageAsset::ReloadImg ) No such file or "
                  "directory! Url = " +
                  bDir + "Cur/b.png\n");

    const struct {
        int id;
        const char* name;
        std::string url;
        int hx, hy;
        float rotation, sx, sy, alpha;
    } want[] = {
        {7, "Arrow", bDir + "Cur/a.png", 3, 4, 15, 2, 3, 0.5f},
        {2, "Hand", bDir + "Cur/b.png", 0, 0, 0, 1, 1, 1},  // scale 0, 2 and alpha 0 keep 1
        {0, "", "", 0, 0, 0, 1, 1, 1},
    };
    ASSERT_EQ(Mouse::CursorsList.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE(i);
        const TMouseCursorPtr& c = Mouse::CursorsList[i];
        EXPECT_EQ(c->id, want[i].id);
        EXPECT_EQ(c->Name, want[i].name);
        ASSERT_TRUE(c->img);
        EXPECT_EQ(c->img->url, want[i].url);
        EXPECT_EQ(c->hx, want[i].hx);
        EXPECT_EQ(c->hy, want[i].hy);
        EXPECT_EQ(c->img->hx, want[i].hx);  // the hotspot becomes the image's handle
        EXPECT_EQ(c->img->hy, want[i].hy);
        EXPECT_FLOAT_EQ(c->Rotation, want[i].rotation);
        EXPECT_FLOAT_EQ(c->ScaleX, want[i].sx);
        EXPECT_FLOAT_EQ(c->ScaleY, want[i].sy);
        EXPECT_FLOAT_EQ(c->Alpha, want[i].alpha);
    }
    EXPECT_EQ(Mouse::DefaultCursor, Mouse::CursorsList[1]);
    EXPECT_EQ(Mouse::Cursor, nullptr);  // taken only at the first custom drawing
}

TEST_F(MouseCursorTest, MissingFileUnknownNamesAndIdsAreWarnedAboutAndGiveNothing) {
    // No file: one warning, no cursors.
    EXPECT_EQ(Load(), "WARNING No \"Mouse.dat\" file found in App folder!\n");
    EXPECT_TRUE(Mouse::CursorsList.empty());
    EXPECT_EQ(Mouse::DefaultCursor, nullptr);

    // A default id that no cursor has.
    WriteMouseDat(
        "CURSOR{\n Id = 1\n Name = \"Arrow\"\n}\nCURSOR{\n Id = 2\n Name = \"Hand\"\n}\n"
        "SETTINGS{\n DefaultCursor = 9\n}\n");
    EXPECT_EQ(Load(), "WARNING Cursor with Id '9' not found For mouse!\n");
    ASSERT_EQ(Mouse::CursorsList.size(), 2u);
    EXPECT_EQ(Mouse::DefaultCursor, nullptr);

    // Names ignore case; an unknown name is warned about upper-cased and clears the cursor.
    const struct {
        std::string name;  // empty: choose by id
        int id;
        int found;  // index into the list, -1 none
        std::string output;
    } cases[] = {
        {"hAND", 0, 1, ""},
        {"Pointer", 0, -1, "WARNING Cursor \"POINTER\" not found for mouse!\n"},
        {"", 1, 0, ""},
        {"", 5, -1, "WARNING Cursor with Id '5' not found For mouse!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + "/" + std::to_string(c.id));
        Mouse::Cursor = Mouse::CursorsList[0];
        testing::internal::CaptureStdout();
        if (c.name.empty()) Mouse::SetMouseCursorInd(c.id);
        else Mouse::SetMouseCursor(c.name);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.output);
        EXPECT_EQ(Mouse::Cursor, c.found < 0 ? nullptr : Mouse::CursorsList[c.found]);
    }
}

TEST_F(MouseCursorTest, ImagesGoToTheGameGlobalAssetsOrLoadAtOnce) {
    WriteSquare(dir.file("Cur/a.png"), 8, 0xFFFF0000u);
    WriteSquare(dir.file("Cur/b.png"), 8, 0xFF00FF00u);
    WriteMouseDat(
        "CURSOR{\n img = \"#BDIR#Cur/a.png\"\n Id = 1\n}\nCURSOR{\n img = \"[BDIR]Cur/b.png\"\n Id = 2\n}\n"
        "SETTINGS{\n DefaultCursor = 1\n}\n");

    // With the game's loading screen: handed over in file order, nothing loaded until LoadAssets.
    ControlHooks::AddGlobalAsset = &TakeGlobalAsset;
    EXPECT_EQ(Load(), "");
    ASSERT_EQ(gHandedOver.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(gHandedOver[i], Mouse::CursorsList[i]->img);
        EXPECT_FALSE(Mouse::CursorsList[i]->img->img);
    }
    Mouse::LoadAssets();
    for (const auto& c : Mouse::CursorsList) EXPECT_EQ(ImageAssetWidth(c->img), 8);

    // Without one to take them: loaded as they are read.
    Mouse::Reset();
    ControlHooks::AddGlobalAsset = [](const std::shared_ptr<TAsset>&) { return false; };
    EXPECT_EQ(Load(), "");
    ASSERT_EQ(Mouse::CursorsList.size(), 2u);
    for (const auto& c : Mouse::CursorsList) EXPECT_EQ(ImageAssetWidth(c->img), 8);
}

// ---------------------------------------------------------------------------------------------
// Drawing in a 1024 x 768 window (logical = window pixels).

using testsupport::Rgb;
::testing::AssertionResult Near(const Rgb& a, const Rgb& b, int tol = 3) { return testsupport::NearRgb(a, b, tol); }
const Rgb kBack{20, 40, 60}, kRed{255, 0, 0}, kGreen{0, 255, 0};

bool SystemPointerShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

class MouseCursorDrawTest : public MouseCursorTest {
protected:
    TPixmapPtr frame;

    void SetUp() override {
        MouseCursorTest::SetUp();
        if (!GraphicsOpen() || GraphicsWidth() != 1024 || GraphicsHeight() != 768) {
            ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0)) << GraphicsError();
        }
        SetAspectResolution(1024, 768, 2);
        ResetInput();
        // Arrow: 10 x 10 red, hotspot at its centre. Hand: 6 x 6 green, hotspot at its corner,
        // twice the size and half transparent. Broken: its image does not exist.
        WriteSquare(dir.file("Cur/arrow.png"), 10, 0xFFFF0000u);
        WriteSquare(dir.file("Cur/hand.png"), 6, 0xFF00FF00u);
        WriteMouseDat(
            "CURSOR{\n img = \"#BDIR#Cur/arrow.png\"\n Id = 1\n Name = \"Arrow\"\n Handle = 5, 5\n}\n"
            "CURSOR{\n img = \"#BDIR#Cur/hand.png\"\n Id = 2\n Name = \"Hand\"\n Scale = 2, 2\n Alpha = 0.5\n}\n"
            "CURSOR{\n img = \"#BDIR#Cur/none.png\"\n Id = 3\n Name = \"Broken\"\n}\n"
            "SETTINGS{\n DefaultCursor = 1\n}\n");
    }
    void TearDown() override {
        ShowMouse();
        ResetInput();
        ResetDrawState();
        ResetAspect();
        MouseCursorTest::TearDown();
    }
    // One frame: clear, the pointer at (x, y), Mouse::Draw, grab.
    void DrawAt(int x, int y) {
        ResetDrawState();
        SetClsColor(kBack.r, kBack.g, kBack.b);
        Cls();
        InjectMouseMove(x, y);
        Mouse::Draw();
        frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    }
    Rgb At(int x, int y) const { return testsupport::RgbAt(frame, x, y); }
};

TEST_F(MouseCursorDrawTest, SystemPointerWhenTheCustomCursorIsOffOrCannotBeDrawn) {
    // No cursors at all.
    AppSettings::CustomCursor = 1;
    HideMouse();
    DrawAt(100, 100);
    EXPECT_TRUE(SystemPointerShown());

    Load();
    const struct {
        const char* what;
        int custom;
        const char* cursor;  // null: none chosen
    } cases[] = {
        {"custom cursor off", 0, nullptr},
        {"custom cursor off, a cursor chosen", 0, "Hand"},
        {"image missing", 1, "Broken"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppSettings::CustomCursor = c.custom;
        Mouse::Cursor = c.cursor ? Mouse::GetMouseCursor(c.cursor) : nullptr;
        HideMouse();
        DrawAt(100, 100);
        EXPECT_TRUE(SystemPointerShown());
        EXPECT_EQ(At(100, 100), kBack);
        EXPECT_EQ(At(95, 95), kBack);
    }
    // Off, the default cursor is not taken yet.
    AppSettings::CustomCursor = 0;
    Mouse::Cursor = nullptr;
    DrawAt(100, 100);
    EXPECT_EQ(Mouse::Cursor, nullptr);
}

TEST_F(MouseCursorDrawTest, CursorIsDrawnWithItsHotspotAtThePointerInsteadOfTheSystemPointer) {
    Load();
    AppSettings::CustomCursor = 1;
    ASSERT_EQ(Mouse::Cursor, nullptr);

    // The first custom drawing takes the default cursor: red, hotspot (5, 5) on the pointer.
    DrawAt(300, 200);
    EXPECT_EQ(Mouse::Cursor, Mouse::DefaultCursor);
    EXPECT_FALSE(SystemPointerShown());
    const struct {
        int x, y;
        Rgb want;
    } arrow[] = {{295, 195, kRed},  {304, 204, kRed},  {300, 200, kRed}, {294, 200, kBack},
                 {305, 200, kBack}, {300, 194, kBack}, {300, 205, kBack}};
    for (const auto& p : arrow) EXPECT_EQ(At(p.x, p.y), p.want) << "arrow at (" << p.x << ", " << p.y << ")";

    // It follows the pointer, read at drawing time.
    DrawAt(600, 500);
    EXPECT_EQ(At(600, 500), kRed);
    EXPECT_EQ(At(300, 200), kBack);

    // Another cursor: hotspot at its corner, scale 2 and alpha 0.5 (12 x 12, half green).
    Mouse::SetMouseCursor("Hand");
    DrawAt(300, 200);
    EXPECT_FALSE(SystemPointerShown());
    const Rgb half{10, 148, 30};
    const struct {
        int x, y;
        Rgb want;
    } hand[] = {{300, 200, half}, {311, 211, half}, {299, 200, kBack}, {312, 205, kBack}, {305, 212, kBack}};
    for (const auto& p : hand)
        EXPECT_TRUE(Near(At(p.x, p.y), p.want)) << "hand at (" << p.x << ", " << p.y << "): " << At(p.x, p.y);
}

}  // namespace
