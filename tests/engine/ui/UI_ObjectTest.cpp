// The UI widgets: button mouse flags and views, light-button glow, image and text widgets with
// their files, over boxes, creation functions and the type factory.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Collider.h"
#include "engine/screen/DrawObject.h"
#include "engine/screen/GameObject.h"
#include "engine/window/Mouse.h"
#include "engine/ui/SoundObject.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/ui/UI_Object.h"
#include "engine/media/Img.h"
#include "engine/media/SoundManager.h"
#include "engine/media/TextLayoutTestSupport.h"
#include "engine/media/TxtFile.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "support/CountingSound.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

// A click sound that only counts its plays.
using testsupport::CountingSound;

// Remembers the blend and alpha in force and the point of each draw.
class RecordingDraw : public TAppDrawObject {
public:
    struct Call {
        float x, y, alpha;
        int blend;
    };
    std::vector<Call> calls;
    int Draw(float x, float y) override {
        calls.push_back({x, y, GetAlpha(), GetBlend()});
        return 0;
    }
};

// The mouse, moved and pressed between frames like the platform would.
class MouseDriver {
public:
    void Set(int x, int y, bool down) {
        MoveAspectMouse(static_cast<float>(x), static_cast<float>(y));
        if (down != down_) InjectMouseButton(1, down);
        down_ = down;
    }
    // One frame of the screen's object pass with the mouse at (x, y).
    void Frame(TAppScreen& screen, int x, int y, bool down) {
        Set(x, y, down);
        Mouse::Update();
        screen.UpdateObjects();
    }

private:
    bool down_ = false;
};

class UIObjectTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    MouseDriver mouse;

    void SetUp() override {
        gErrors.clear();
        ResetInput();
        Mouse::Reset();
        delta = 1.0f;
        WatchErrorReports(&CaptureError);
        WatchCriticalReports(&CaptureError);
        AppClassManager::Reset();
        AppClassManager::Init();
        ResetAppPaths();
        InstallWidgets();
    }
    void TearDown() override {
        ResetInput();
        Mouse::Reset();
        WatchErrorReports(nullptr);
        WatchCriticalReports(nullptr);
        AppSoundManager::ClickSound = nullptr;
        ResetGameObjectTypes();
        AppClassManager::Reset();
        ResetAppPaths();
        TAsset::ResetCurrScreen();
        TAppScreen::CurrentlyLoadingScreen = nullptr;
        TAppDrawObject::CurrScreen = nullptr;
    }

    // A started button with the box (100, 50, 40, 20) on a screen.
    TUIButtonPtr ButtonOn(TAppScreen& screen) {
        auto button = std::make_shared<TUIButton>();
        button->name = "Go";
        button->SetDims(100, 50, 40, 20);
        screen.AddObject(button);
        button->Start();
        return button;
    }

    // A screen file in dir holding the given "GameObject" blocks (isNotUsingText set on the
    // screen by the caller, or a text file named by txtUrl).
    std::string WriteScreen(const std::string& objects, const std::string& txtUrl = "") {
        std::string text = "Data{\n\tName = \"Menu\"\n";
        if (!txtUrl.empty()) text += "\tTxtFileUrl = \"" + txtUrl + "\"\n";
        text += "}\nObjects{\n" + objects + "}\n";
        const std::string path = dir.file("Menu.AppScreen");
        testsupport::WriteFileBytes(path, text);
        return path;
    }
};

std::string ObjectBlock(const std::string& objName, int type, const std::string& ownData) {
    return "GameObject{\nBasic{\nName = \"" + objName + "\"\nType = " + std::to_string(type) + "\n}\nOwnData{\n" +
           ownData + "}\n}\n";
}

// ---------------------------------------------------------------------------------------------
// Buttons: mouse flags

TEST_F(UIObjectTest, ClickIsReportedInTheReleaseFrameOnlyAndSoundedOnThePress) {
    auto sound = std::make_shared<CountingSound>();
    AppSoundManager::ClickSound = sound;
    ASSERT_EQ(TUIButton::GClickSound, sound);
    TAppScreen screen;
    auto button = ButtonOn(screen);
    struct Step {
        int x, y;
        bool down;
        int isClick, isHold, sounds;
    };
    const Step steps[] = {
        // clang-format off
        {120, 60, false, 0, 0, 0},  // hover
        {120, 60, true, 0, 1, 1},   // press: sounded now
        {120, 60, true, 0, 1, 1},
        {300, 300, true, 0, 1, 1},  // dragged away, still held
        {300, 300, false, 1, 0, 1},  // released outside: the click completes
        {300, 300, false, 0, 0, 1},
        // clang-format on
    };
    int frame = 0;
    for (const auto& s : steps) {
        mouse.Frame(screen, s.x, s.y, s.down);
        SCOPED_TRACE(frame++);
        EXPECT_EQ(button->isClick, s.isClick);
        EXPECT_EQ(button->isHold, s.isHold);
        EXPECT_EQ(static_cast<int>(sound->plays.size()), s.sounds);
    }
    EXPECT_EQ(sound->plays.front(), (std::array<float, 3>{1.0f, -1.0f, 0.05f}));
}

// Every press and its release over the button is one click, however they fall between frames: a
// press let go before the frame came (a quick click, a tap) reads as held for that frame, and a
// release and a new press within one frame complete the click held and begin the next.
TEST_F(UIObjectTest, EveryPressAndReleaseIsOneClickHoweverTheyFallBetweenFrames) {
    struct Case {
        const char* what;
        int x;
        std::vector<std::string> frames;  // per frame, what came before it: 'd' press, 'u' release
        int clicks;
    };
    const Case cases[] = {
        {"a tap", 120, {"du", "", ""}, 1},
        {"two taps in two frames running", 120, {"du", "du", "", ""}, 2},
        {"held, let go and pressed again within one frame", 120, {"d", "", "ud", "", "u", ""}, 2},
        {"a tap beside the button", 10, {"du", "", ""}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetInput();
        Mouse::Reset();
        TAppScreen screen;
        auto button = ButtonOn(screen);
        int clicks = 0;
        for (const std::string& events : c.frames) {
            MoveAspectMouse(static_cast<float>(c.x), 60.0f);
            for (char e : events) InjectMouseButton(1, e == 'd');
            BeginInputFrame();
            Mouse::Update();
            screen.UpdateObjects();
            clicks += button->isClick;
        }
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(button->isHold, 0);
    }
}

TEST_F(UIObjectTest, HoldStartsOnlyOverTheButtonAndNeverWhileAnotherObjectIsHeld) {
    struct Step {
        int x, y;
        bool down;
    };
    struct Case {
        const char* what;
        bool otherFirst;
        std::vector<Step> steps;
        bool clicked;
    };
    const Case cases[] = {
        {"press on nothing, drag onto the button, release",
         true,
         {{10, 10, true}, {120, 60, true}, {120, 60, false}},
         true},
        {"press on another object, drag, release", true, {{320, 60, true}, {120, 60, true}, {120, 60, false}}, false},
        {"the same, the other object updated last", false, {{320, 60, true}, {120, 60, true}, {120, 60, false}}, false},
        {"press on the button, drag onto the other", true, {{120, 60, true}, {320, 60, true}, {320, 60, false}}, true},
        {"press and release outside", true, {{10, 10, true}, {10, 10, false}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TAppScreen screen;
        auto other = std::make_shared<TGameObject>();
        other->SetPosition(300, 50);
        CreateAppCollider(other.get(), 40, 20, 20, 10);
        if (c.otherFirst) screen.AddObject(other);
        auto button = ButtonOn(screen);
        if (!c.otherFirst) screen.AddObject(other);
        bool clicked = false;
        for (const auto& s : c.steps) {
            mouse.Frame(screen, s.x, s.y, s.down);
            clicked = clicked || button->isClick != 0;
        }
        mouse.Frame(screen, 0, 0, false);
        EXPECT_EQ(clicked, c.clicked);
        EXPECT_EQ(button->isHold, 0);
    }
}

TEST_F(UIObjectTest, LockedOrDisabledButtonReportsNoClickNobodyMade) {
    TAppScreen screen;
    auto button = ButtonOn(screen);
    // Locked while held, released while locked, active again afterwards.
    mouse.Frame(screen, 120, 60, true);
    ASSERT_EQ(button->isHold, 1);
    button->isActive = 0;
    mouse.Frame(screen, 120, 60, true);
    mouse.Frame(screen, 120, 60, false);
    button->isActive = 1;
    for (int i = 0; i < 3; ++i) {
        mouse.Frame(screen, 120, 60, false);
        EXPECT_EQ(button->isClick, 0);
    }
    // While inactive it is never the screen's over, click or held object.
    button->isActive = 0;
    mouse.Frame(screen, 120, 60, true);
    EXPECT_EQ(screen.CurrOverObject, nullptr);
    EXPECT_EQ(screen.CurrClickObject, nullptr);
    EXPECT_EQ(screen.CurrHoldedObject, nullptr);
    EXPECT_EQ(button->isClick + button->isHold, 0);
    // A click read while the button goes out of play does not stay set.
    button->isActive = 1;
    mouse.Frame(screen, 120, 60, false);
    mouse.Frame(screen, 120, 60, true);
    mouse.Frame(screen, 120, 60, false);
    ASSERT_EQ(button->isClick, 1);
    button->Disable();
    EXPECT_EQ(button->isClick, 0);
}

// ---------------------------------------------------------------------------------------------
// Buttons: views

TEST_F(UIObjectTest, ViewTargetsFollowTheFlags) {
    struct Case {
        int isActive, isHold, isOver;
        std::array<float, 4> button, light;
    };
    const Case cases[] = {
        {0, 1, 1, {1, 0, 0, 1}, {1, 0, 0, 0}},
        {1, 1, 1, {1, 0, 1, 0}, {1, 0, 0, 0}},
        {1, 0, 1, {1, 1, 0, 0}, {1, 1, 0, 0}},
        {1, 0, 0, {1, 0, 0, 0}, {1, 0, 0, 0}},
    };
    auto button = std::make_shared<TUIButton>();
    auto light = std::make_shared<TUIButton_Light>();
    button->UpdateStatesValue();  // before the start: no views, nothing happens
    EXPECT_EQ(button->ViewVar[0], nullptr);
    button->Start();
    light->Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.isActive << c.isHold << c.isOver);
        for (TUIButton* b : {button.get(), static_cast<TUIButton*>(light.get())}) {
            b->isActive = c.isActive;
            b->isHold = c.isHold;
            b->isOver = c.isOver;
            b->UpdateStatesValue();
        }
        for (size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(button->ViewVar[k]->dp, c.button[k]) << k;
            EXPECT_EQ(light->ViewVar[k]->dp, c.light[k]) << k;
        }
    }
}

TEST_F(UIObjectTest, OverViewFadesInOverTenFramesAndDrivesTheViewAlpha) {
    TAppScreen screen;
    auto button = std::make_shared<TUIButton>();
    button->SetDims(100, 50, 40, 20);
    for (int k = 0; k < 4; ++k) CreateUIImage(std::string(), 0, 0, button.get());
    screen.AddObject(button);
    button->Start();
    for (int frame = 1; frame <= 10; ++frame) {
        mouse.Frame(screen, 120, 60, false);
        const float v = button->ViewVar[TUIButton::OVER]->Value();
        if (frame < 10) {
            EXPECT_LT(v, 1.0f) << frame;
        }
        EXPECT_FLOAT_EQ(button->SubImage[1]->CurrState->rgb->a, v);
    }
    EXPECT_EQ(button->ViewVar[TUIButton::OVER]->Value(), 1.0f);
    EXPECT_EQ(button->SubImage[0]->CurrState->rgb->a, 1.0f);
    EXPECT_EQ(button->SubImage[2]->CurrState->rgb->a, 0.0f);

    // A new speed reaches every view once they exist; before the start it is only stored.
    button->SetChangeSpeed(0.5f);
    for (auto& v : button->ViewVar) {
        EXPECT_EQ(v->speedInc, 0.5f);
        EXPECT_EQ(v->speedDec, 0.5f);
    }
    auto fresh = std::make_shared<TUIButton>();
    fresh->SetChangeSpeed(0.25f);
    EXPECT_EQ(fresh->ViewVar[0], nullptr);
    fresh->Start();
    EXPECT_EQ(fresh->ViewVar[3]->speedInc, 0.25f);
}

TEST_F(UIObjectTest, ViewsAreBoundBySubObjectPosition) {
    // I image, T text, O over box; -1 leaves the view empty.
    struct Case {
        bool light;
        const char* subs;
        std::array<int, 4> images, texts;
    };
    const Case cases[] = {
        {false, "ITITITIT", {0, 2, 4, 6}, {1, 3, 5, 7}},  {false, "IIII", {0, 1, 2, 3}, {-1, -1, -1, -1}},
        {false, "OIII", {-1, 1, 2, 3}, {-1, -1, -1, -1}}, {false, "IOIT", {0, 2, -1, -1}, {-1, 3, -1, -1}},
        {false, "", {-1, -1, -1, -1}, {-1, -1, -1, -1}},  {true, "IT", {0, -1, -1, -1}, {1, -1, -1, -1}},
        {true, "T", {-1, -1, -1, -1}, {0, -1, -1, -1}},   {true, "TI", {-1, -1, -1, -1}, {0, -1, -1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.light ? "light " : "button ") << c.subs);
        TUIButtonPtr button = c.light ? std::make_shared<TUIButton_Light>() : std::make_shared<TUIButton>();
        std::vector<TGameObjectPtr> subs;
        for (const char* k = c.subs; *k; ++k) {
            TGameObjectPtr sub;
            if (*k == 'I') sub = CreateUIImage(std::string(), 0, 0, button.get());
            if (*k == 'T') sub = CreateUIText("x", 0, 0, 10, 10, TTextClass::DefaultClass, button.get());
            if (*k == 'O') sub = CreateUIOverBox(0, 0, 5, 5, button.get());
            subs.push_back(sub);
        }
        button->Start();
        for (size_t v = 0; v < 4; ++v) {
            const TGameObject* img = c.images[v] < 0 ? nullptr : subs[static_cast<size_t>(c.images[v])].get();
            const TGameObject* txt = c.texts[v] < 0 ? nullptr : subs[static_cast<size_t>(c.texts[v])].get();
            EXPECT_EQ(button->SubImage[v].get(), img) << v;
            EXPECT_EQ(button->SubText[v].get(), txt) << v;
        }
        // A copy is started on its own sub-objects and starts from the default speed.
        button->ChangeSpeed = 0.5f;
        auto copy = std::dynamic_pointer_cast<TUIButton>(button->Copy());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetTypeInt(), button->GetTypeInt());
        EXPECT_EQ(copy->ChangeSpeed, 0.1f);
        ASSERT_NE(copy->ViewVar[0], nullptr);
        if (c.images[0] >= 0) {
            ASSERT_NE(copy->SubImage[0], nullptr);
            EXPECT_NE(copy->SubImage[0], button->SubImage[0]);
            EXPECT_EQ(copy->SubImage[0]->Parent, copy.get());
        }
    }
}

TEST_F(UIObjectTest, LightButtonGlowsAdditivelyAboveItsPictureWhileHovered) {
    TAppScreen screen;
    auto light = std::make_shared<TUIButton_Light>();
    auto img = CreateUIImage(std::string(), 0, 0, light.get());
    img->DrawLayer = 4;
    auto text = CreateUIText("Play", 0, 0, 40, 20, TTextClass::DefaultClass, light.get());
    light->SetDims(100, 50, 40, 20);
    screen.AddObject(light);
    light->Start();
    EXPECT_EQ(light->DrawLayer, 5);
    auto imgDraw = std::make_shared<RecordingDraw>();
    auto textDraw = std::make_shared<RecordingDraw>();
    img->SetDrawObject(imgDraw);
    text->SetDrawObject(textDraw);

    mouse.Frame(screen, 10, 10, false);
    light->Draw();
    EXPECT_TRUE(imgDraw->calls.empty());  // no glow while not hovered
    for (int i = 0; i < 10; ++i) mouse.Frame(screen, 120, 60, false);
    light->Draw();
    ASSERT_EQ(imgDraw->calls.size(), 1u);
    ASSERT_EQ(textDraw->calls.size(), 1u);
    for (const auto& call : {imgDraw->calls[0], textDraw->calls[0]}) {
        EXPECT_EQ(call.blend, 4);
        EXPECT_FLOAT_EQ(call.alpha, 0.25f);
        EXPECT_EQ(call.x, 100.0f);
        EXPECT_EQ(call.y, 50.0f);
    }
    // The views themselves never change alpha on a light button.
    EXPECT_EQ(text->CurrState->rgb->a, 1.0f);
}

// ---------------------------------------------------------------------------------------------
// Sizes, colliders, own data

TEST_F(UIObjectTest, SetDimsGivesAButtonOneColliderOverItsBox) {
    auto button = std::make_shared<TUIButton>();
    button->SetDims(100, 50, 40, 20);
    button->UpdateSettings();
    EXPECT_EQ(button->Width, 40);
    EXPECT_EQ(button->Height, 20);
    EXPECT_EQ(button->GetX(), 100.0f);
    EXPECT_EQ(button->GetY(), 50.0f);
    ASSERT_NE(button->Comp_Collider, nullptr);
    const struct {
        float x, y;
        int inside;
    } points[] = {{101, 51, 1}, {139, 69, 1}, {99, 60, 0}, {141, 60, 0}, {120, 71, 0}, {120, 49, 0}};
    for (const auto& p : points)
        EXPECT_EQ(button->Comp_Collider->isPointInArea(p.x, p.y), p.inside) << p.x << "," << p.y;
    // Resized: still one collider, now over the new box.
    button->SetDims(0, 0, 200, 100);
    button->UpdateSettings();
    EXPECT_EQ(button->Components.size(), 1u);
    EXPECT_EQ(button->Comp_Collider->isPointInArea(190, 90), 1);

    auto image = CreateUIImage(std::string(), 10, 20);
    EXPECT_TRUE(image->Components.empty());
    EXPECT_EQ(image->UpdateOver(0), 0);
    EXPECT_EQ(image->isActive, 1);
}

TEST_F(UIObjectTest, ButtonAndOverBoxOwnDataRoundTrip) {
    struct Case {
        const char* ownData;
        float speed;
    };
    const Case cases[] = {
        {"Sizes = 40, 20\nChangeSpeed = 0.05\n", 0.05f},
        {"Sizes = 40, 20\nChangeSpeed = 0\n", 0.1f},
        {"Sizes = 40, 20\n", 0.1f},
        {"Sizes = 40, 20\nChangeSpeed = -0.5\n", 0.1f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ownData);
        auto root = ParseBlockFileText(ObjectBlock("B", 3, c.ownData), "b");
        auto button =
            std::dynamic_pointer_cast<TUIButton>(LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, ""));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Width, 40);
        EXPECT_EQ(button->Height, 20);
        EXPECT_EQ(button->ChangeSpeed, c.speed);
        EXPECT_EQ(button->Comp_Collider, nullptr);  // the file's components only
        auto saved = CreateBlockFile("saved");
        button->Save(saved);
        EXPECT_EQ(GetBFNumber(saved, "GameObject::OwnData::ChangeSpeed", 0), c.speed);
        EXPECT_EQ(GetBFInt(saved, "GameObject::OwnData::Sizes", 1), 20);
    }
    auto box = CreateUIOverBox(5, 6, 70, 30);
    box->name = "Area";
    auto saved = CreateBlockFile("saved");
    box->Save(saved);
    auto loaded = std::dynamic_pointer_cast<TUIOverBox>(LoadGameObject(GetBlockFile(saved, "GameObject"), nullptr, ""));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Width, 70);
    EXPECT_EQ(loaded->Height, 30);
    // A copied box keeps the size only.
    auto copy = std::dynamic_pointer_cast<TUIOverBox>(box->Copy());
    EXPECT_EQ(copy->Width, 70);
    EXPECT_EQ(copy->name, "GameObject");
    EXPECT_EQ(copy->GetX(), 0.0f);
}

TEST_F(UIObjectTest, FactoryMakesEveryWidgetType) {
    const struct {
        int type;
        const char* word;
    } types[] = {{1, "Text"}, {2, "Image"}, {3, "Button"}, {5, "OverBox"}, {7, "Button_Light"}, {8, "SoundObject"}};
    for (const auto& t : types) {
        TGameObjectPtr obj = CreateNewGameObjectByType(t.type);
        ASSERT_NE(obj, nullptr) << t.type;
        EXPECT_EQ(obj->GetTypeInt(), t.type);
        EXPECT_EQ(obj->GetTypeStr(), t.word);
    }
}

// ---------------------------------------------------------------------------------------------
// Image widgets

TEST_F(UIObjectTest, ImageNamedAfterTheWidgetBesideTheScreenFileWins) {
    struct Case {
        bool png, jpg;
        const char* expected;  // relative to the screen's folder; "" keeps the saved path
    };
    const Case cases[] = {
        {false, false, ""}, {true, false, "Door.png"}, {false, true, "Door.jpg"}, {true, true, "Door.jpg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.png << c.jpg);
        DeleteFile(dir.file("Door.png"));
        DeleteFile(dir.file("Door.jpg"));
        if (c.png) testsupport::WriteFileBytes(dir.file("Door.png"), "x");
        if (c.jpg) testsupport::WriteFileBytes(dir.file("Door.jpg"), "x");
        const std::string file =
            WriteScreen(ObjectBlock("Door", 2, "imageUrl = \"#BDIR#pics/saved.png\"\nHandle = 3, 4\n"));
        auto screen = std::make_shared<TAppScreen>();
        screen->isNotUsingText = 1;
        screen->LoadFromFile(file);
        auto img = std::dynamic_pointer_cast<TUIImage>(screen->FindObject("Door"));
        ASSERT_NE(img, nullptr);
        ASSERT_NE(img->Img, nullptr);
        const bool beside = *c.expected != 0;
        EXPECT_EQ(img->Img->url, beside ? dir.path() + "/" + c.expected : std::string("#BDIR#pics/saved.png"));
        EXPECT_EQ(img->DontSaveUrl, beside ? 1 : 0);
        EXPECT_EQ(img->hx, 3);
        EXPECT_EQ(img->hy, 4);
        auto saved = CreateBlockFile("saved");
        img->Save(saved);
        EXPECT_EQ(isBFEntry(saved, "GameObject::OwnData::imageUrl"), beside ? 0 : 1);
        EXPECT_EQ(GetBFInt(saved, "GameObject::OwnData::Handle", 1), 4);
        TAsset::ResetCurrScreen();
        TAppScreen::CurrentlyLoadingScreen = nullptr;
    }
}

TEST_F(UIObjectTest, AnAtlasLineIsSaidWhileADamagedScreenThatNamesItIsRead) {
    // A valid atlas without the picture a screen names. The screen file is damaged (a line
    // without '='), so what its own objects make of it is held; the atlas's line is about the
    // atlas and is said. (Such a picture was once dropped from a damaged screen unread, as if
    // its name had been cut short.)
    testsupport::WriteFileBytes(dir.file("buttons.txt"), "1\nButtonNormal\n0\n0\n8\n8\n");
    testsupport::WriteFileBytes(dir.file("buttons.png"), "x");
    const std::string atlasUrl = dir.file("buttons.png") + "|ButtonDisabled";
    const std::string file = WriteScreen(ObjectBlock("Off", 2, "imageUrl = \"" + atlasUrl + "\"\n") + "damage\n");
    auto screen = std::make_shared<TAppScreen>();
    screen->isNotUsingText = 1;
    testing::internal::CaptureStdout();
    screen->LoadFromFile(file);
    auto off = std::dynamic_pointer_cast<TUIImage>(screen->FindObject("Off"));
    ASSERT_NE(off, nullptr);
    ASSERT_NE(off->Img, nullptr);
    EXPECT_EQ(off->Img->url, atlasUrl);
    off->Img->LoadAsset();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Screen file '" + file + "' is damaged"), std::string::npos) << out;
    EXPECT_NE(out.find("No image named \"BUTTONDISABLED\" in the texture description! Url = " + atlasUrl),
              std::string::npos)
        << out;

    // Looked up while the damaged file is being read (an emitter of the screen loads its pictures
    // at once), the line is still the atlas's, and said.
    testing::internal::CaptureStdout();
    {
        HeldContentReports held(file);
        Error("a line about the damaged screen's own contents");
        LoadImg(dir.file("buttons.png") + "|Gone", -1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR ( File: ImgTex  Code: TImgTex::LoadImgTex ) No image named \"GONE\" in the texture description! "
              "Url = " +
                  dir.file("buttons.png") + "|Gone\n");
}

TEST_F(UIObjectTest, ImageFallbacksStayInTheObjectsFolderAndExportCarriesThePicture) {
    // Without "imageUrl": image.png in the object's folder, else image.jpg there; an object read
    // inline (no folder) looks in the working folder, never at the file-system root.
    const std::string objDir = dir.file("obj") + "/";
    CreateDir(objDir);
    struct Case {
        std::string prefix;
        bool png;
        std::string expected;
    };
    const Case cases[] = {
        {"", false, "image.jpg"},
        {objDir, false, objDir + "image.jpg"},
        {objDir, true, objDir + "image.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        if (c.png) testsupport::WriteFileBytes(objDir + "image.png", "x");
        auto root = ParseBlockFileText(ObjectBlock("Pic", 2, ""), "p");
        auto img =
            std::dynamic_pointer_cast<TUIImage>(LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, c.prefix));
        ASSERT_NE(img, nullptr);
        ASSERT_NE(img->Img, nullptr);
        EXPECT_EQ(img->Img->url, c.expected);
    }

    // Export copies the picture from its expanded path and writes no path.
    bDir = dir.file("data") + "/";
    CreateDir(bDir + "pics");
    testsupport::WriteFileBytes(bDir + "pics/logo.png", "PNGDATA");
    auto img = CreateUIImage(CreateEmptyImageAsset("#BDIR#pics/logo.png"), 0, 0);
    img->name = "Logo";
    const std::string folder = ExportGameObject(dir.file("out"), img.get());
    const std::string exported = dir.file("out") + "/" + folder + "/";
    EXPECT_EQ(testsupport::ReadFileBytes(exported + "image.png"), "PNGDATA");
    EXPECT_TRUE(gErrors.empty());
    auto back = std::dynamic_pointer_cast<TUIImage>(LoadGameObjectFromUrl(exported, nullptr));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Img->url, exported + "image.png");
    // An image widget without an asset writes nothing at all.
    auto empty = CreateUIImage(std::string(), 0, 0);
    auto block = CreateBlockFile("OwnData");
    empty->SaveMyData(block);
    EXPECT_TRUE(block->SubFiles.empty());
    EXPECT_EQ(empty->GetWidth(), 0);
}

// ---------------------------------------------------------------------------------------------
// Text widgets

TEST_F(UIObjectTest, TextTakesItsLineFromTheScreensTextFileAndFallsBackToTheDefaultClass) {
    texttest::FakeText fake;
    auto title = std::make_shared<TTextClass>();
    title->id = "Title";
    title->Rgb->r = 10;
    AppClassManager::AddTextClass(title);
    testsupport::WriteFileBytes(dir.file("Menu.txt"), "one\ntwo\nthree words\nfour\n");
    const std::string objects =
        ObjectBlock("Caption", 1, "Sizes = 200, 40\nTextLine = 3\nText = \"ignored\"\nClass = \"NoSuchClass\"\n") +
        ObjectBlock("Heading", 1, "Sizes = 200, 40\nText = \"Hello\"\nClass = \"title\"\n");
    auto screen = std::make_shared<TAppScreen>();
    testing::internal::CaptureStdout();
    screen->LoadFromFile(WriteScreen(objects, dir.file("Menu.txt")));
    const std::string out = testing::internal::GetCapturedStdout();

    auto caption = std::dynamic_pointer_cast<TUIText>(screen->FindObject("Caption"));
    auto heading = std::dynamic_pointer_cast<TUIText>(screen->FindObject("Heading"));
    ASSERT_NE(caption, nullptr);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(caption->Text, "three words");
    EXPECT_EQ(caption->TextLine, 3);
    EXPECT_EQ(caption->Class, TTextClass::DefaultClass);
    const std::string warning =
        "WARNING ( File: UI_Object  Code: TUIText::SetClass ) Setting NULL class for UIObject!\n";
    EXPECT_EQ(out, warning);
    EXPECT_EQ(heading->Class, title);
    EXPECT_EQ(heading->Text, "Hello");
    EXPECT_EQ(heading->CurrState->rgb->r, 10);  // the class's colour
    auto drawn = std::dynamic_pointer_cast<TAppDrawObjectText>(caption->DrawObject);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->Text, "three words");
    EXPECT_EQ(drawn->width, 200);

    auto saved = CreateBlockFile("saved");
    caption->Save(saved);
    EXPECT_EQ(GetBFInt(saved, "GameObject::OwnData::TextLine", 0), 3);
    EXPECT_EQ(isBFEntry(saved, "GameObject::OwnData::Text"), 0);
    EXPECT_EQ(GetBFString(saved, "GameObject::OwnData::Class", 0), "Def. Text Class");
    EXPECT_EQ(GetBFInt(saved, "GameObject::OwnData::Sizes", 0), 200);
}

TEST_F(UIObjectTest, TextWithoutAScreenOrWithItsOwnClass) {
    texttest::FakeText fake;
    // A line reference with no screen to take it from: a warning, the text stays empty.
    auto root = ParseBlockFileText(ObjectBlock("Caption", 1, "TextLine = 2\nClass = \"Def. Text Class\"\n"), "t");
    testing::internal::CaptureStdout();
    auto orphan = std::dynamic_pointer_cast<TUIText>(LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, ""));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING Couldn't find text reference or TUIText object 'CAPTION')\n");
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(orphan->Text, "");
    EXPECT_EQ(orphan->TextLine, 2);
    EXPECT_EQ(orphan->Class, TTextClass::DefaultClass);

    // A class of its own is written inline and read back as a class of the same style.
    auto own = std::make_shared<TTextClass>();
    own->id = "Local";
    own->HAlign = 2;
    own->Rgb->g = 77;
    auto text = CreateUIText("Score", 5, 6, 120, 30, own);
    text->name = "Score";
    auto saved = CreateBlockFile("saved");
    text->Save(saved);
    auto back = std::dynamic_pointer_cast<TUIText>(LoadGameObject(GetBlockFile(saved, "GameObject"), nullptr, ""));
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->Class, nullptr);
    EXPECT_NE(back->Class, own);
    EXPECT_EQ(back->Class->HAlign, 2);
    EXPECT_EQ(back->Class->Rgb->g, 77);
    EXPECT_EQ(back->Text, "Score");
    EXPECT_EQ(back->Width, 120);
    // A copy shares the class and lays the same text out.
    auto copy = std::dynamic_pointer_cast<TUIText>(text->Copy());
    EXPECT_EQ(copy->Class, own);
    EXPECT_EQ(copy->Text, "Score");
    ASSERT_NE(copy->DrawObject, nullptr);
}

// A text that does not fit its box is laid out in a larger box and drawn scaled down into its own:
// whole, at the largest scale that holds it; one that fits stays at its own size (every character
// one pixel wide, a line 16 high: the box holds two lines of 20).
TEST_F(UIObjectTest, ATextTooLargeForItsBoxIsDrawnSmallerToFitIt) {
    texttest::FakeText fake;
    const struct {
        const char* text;
        bool scaled;
    } cases[] = {
        {"fits on one line", false},
        {"two lines of words that fit", false},
        {"a message of many words that needs four or five lines at its own size", true},
        {"averyveryverylongwordofthirtyone", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto text = CreateUIText(c.text, 5, 6, 20, 32, std::make_shared<TTextClass>());
        text->FitToBox();
        const float k = text->CurrState->tfr->sx;
        EXPECT_EQ(text->CurrState->tfr->sy, k);
        auto layout = std::dynamic_pointer_cast<TAppDrawObjectText>(text->DrawObject);
        ASSERT_NE(layout, nullptr);
        float widest = 0.0f;
        for (const auto& line : layout->Lines) widest = std::max(widest, line->GetFullWidth());
        EXPECT_LE(layout->TxtHeight * k, 32.0f + 0.01f);
        EXPECT_LE(widest * k, 20.0f + 0.01f);
        if (!c.scaled) {
            EXPECT_EQ(k, 1.0f);
            continue;
        }
        EXPECT_LT(k, 1.0f);
        EXPECT_GE(k, 0.3f);
        // The next step up would not hold it.
        auto larger = CreateUIText(c.text, 5, 6, static_cast<int>(20 / (k + 0.05f)), static_cast<int>(32 / (k + 0.05f)),
                                   std::make_shared<TTextClass>());
        auto largerLayout = std::dynamic_pointer_cast<TAppDrawObjectText>(larger->DrawObject);
        float largerWidest = 0.0f;
        for (const auto& line : largerLayout->Lines) largerWidest = std::max(largerWidest, line->GetFullWidth());
        EXPECT_TRUE(largerLayout->TxtHeight > 32 / (k + 0.05f) || largerWidest > 20 / (k + 0.05f));
        // Set to a short text again, it is drawn at its own size.
        text->SetText("short");
        text->FitToBox();
        EXPECT_EQ(text->CurrState->tfr->sx, 1.0f);
    }
}

// ---------------------------------------------------------------------------------------------
// Creation

TEST_F(UIObjectTest, CreateUIButtonFillsFourViewsFromWhatItIsGiven) {
    texttest::FakeText fake;
    auto cls = std::make_shared<TTextClass>();
    cls->id = "Menu";
    auto parent = std::make_shared<TGameObject>();
    auto button = CreateUIButton({"Play"}, {std::string()}, 10, 20, 90, 30, {cls}, parent.get());
    EXPECT_EQ(button->Parent, parent.get());
    ASSERT_EQ(button->SubObjects.size(), 8u);
    const char* names[] = {"NORMAL_Image", "NORMAL_Text", "OVER_Image",     "OVER_Text",
                           "CLICK_Image",  "CLICK_Text",  "DISABLED_Image", "DISABLED_Text"};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(button->GetFromSubObjectsList(static_cast<int>(i))->name, names[i]);
    EXPECT_EQ(button->GetFromSubObjectsList(8), nullptr);
    EXPECT_EQ(button->SubText[0]->Class, cls);
    for (size_t k = 1; k < 4; ++k) {
        ASSERT_NE(button->SubText[k], nullptr);
        EXPECT_EQ(button->SubText[k]->Text, "Play");
        EXPECT_NE(button->SubText[k]->Class, cls);
        if (k > 1) {
            EXPECT_NE(button->SubText[k]->Class, button->SubText[k - 1]->Class);
        }
    }
    ASSERT_NE(button->ViewVar[0], nullptr);  // started
    ASSERT_NE(button->Comp_Collider, nullptr);
    button->UpdateSettings();
    EXPECT_EQ(button->Comp_Collider->isPointInArea(95, 45), 1);

    auto bare = CreateUIButton({}, {}, 0, 0, 10, 10, {});
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(bare->SubText[k]->Text, "Button");
        EXPECT_EQ(bare->SubText[k]->Class, TTextClass::DefaultClass);
        EXPECT_EQ(bare->SubImage[k]->Img, nullptr);
    }
}

}  // namespace
