// Screens: their files (loading, saving, text files, messages), layers, the update and drawing
// passes and the life cycle.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/GameObject.h"
#include "engine/media/TxtFile.h"
#include "engine/system/FileRequester.h"
#include "platform/Files.h"
#include "platform/Strings.h"
#include "support/TestSupport.h"
#include "engine/screen/AppScreenTestSupport.h"

namespace {

using namespace screentest;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

std::string ObjectText(const TGameObjectPtr& obj) {
    auto root = CreateBlockFile("r");
    obj->Save(root);
    return BlockFileToText(root);
}

std::vector<std::string> ChildNames(const TBlockFilePtr& block) {
    std::vector<std::string> names;
    for (auto& c : block->SubFiles) names.push_back(c->name);
    return names;
}

// A screen file of one inline object with a sub-object, one exported object, a reference that
// climbs out of the screen's "GameObjects" folder and a type the factory does not know.
const char* const kMenuFile =
    "Data{\nName = \"Menu\"\n}\n"
    "Flags{\nisSetupedAtLoading = 1.9\nisFreedByLeave = 1\n}\n"
    "Objects{\n"
    "GameObject{\nBasic{\nName = \"Panel\"\nId = 3\nDrawLayer = 2\n}\nFlags{\nisSavedInternaly = 1\n}\n"
    "SubObjects{\nGameObject{\nBasic{\nName = \"Label\"\nId = 4\n}\n}\n}\n}\n"
    "GameObject{\nLoadObject = \"Box\"\n}\n"
    "GameObject{\nLoadObject = \"../../Escape\"\n}\n"
    "GameObject{\nBasic{\nName = \"Odd\"\nType = 9\n}\n}\n"
    "}\n";

class AppScreenTest : public ScreenFixture {
protected:
    testsupport::TempDir dir;
    std::string menuDir;
    std::string menuFile;

    void SetUp() override {
        ScreenFixture::SetUp();
        LocalizeDir = dir.path() + "/Local/en/";
        CreateDir(LocalizeDir);
        menuDir = dir.path() + "/screens/Menu";
        menuFile = menuDir + "/Menu.AppScreen";
        CreateDir(menuDir);
    }

    void WriteMenu() {
        WriteFileBytes(menuFile, kMenuFile);
        WriteFileBytes(LocalizeDir + "Menu.txt", "Play\nQuit\n");
        auto box = std::make_shared<TGameObject>();
        box->name = "Box";
        box->id = 9;
        auto lid = std::make_shared<TGameObject>();
        lid->name = "Lid";
        box->AddSubObject(lid);
        ExportGameObject(menuDir + "/GameObjects", box.get());
        auto escape = std::make_shared<TGameObject>();
        escape->name = "Escape";
        ExportGameObject(dir.path() + "/screens", escape.get());
    }
};

TEST_F(AppScreenTest, LoadSaveAndLoadAgainGivesTheSameObjects) {
    WriteMenu();
    auto screen = MakeScreen("Given");
    screen->FileUrl = menuFile;
    screen->Load(nullptr, nullptr);

    EXPECT_EQ(screen->name, "Menu");
    EXPECT_EQ(screen->isSetupedAtLoading, 1);
    EXPECT_EQ(screen->isFreedByLeave, 1);
    EXPECT_EQ(Names(screen->Objects), (std::vector<std::string>{"Panel", "Box"}));
    EXPECT_EQ(screen->FindObject("Label")->Parent, screen->Objects[0].get());
    EXPECT_EQ(screen->FindObject("Lid")->Screen, screen.get());
    EXPECT_EQ(screen->TextFileUrl, LocalizeDir + "Menu.txt");
    EXPECT_EQ(screen->GetTxt(2), "Quit");
    EXPECT_EQ(screen->GetTxt(3), "");
    EXPECT_EQ(TAsset::CurrScreen, screen.get());
    EXPECT_EQ(TAppScreen::CurrentlyLoadingScreen, screen.get());
    EXPECT_EQ(TAppDrawObject::CurrScreen, nullptr);
    EXPECT_EQ(Names(screen->DrawLayers), (std::vector<std::string>{"Label", "Box", "Lid", "Panel"}));
    EXPECT_TRUE(Errors().empty());
    EXPECT_TRUE(Criticals().empty());

    // Objects that are not saved, a global one, and a second object called Box.
    auto skipped = std::make_shared<TGameObject>();
    skipped->name = "Skipped";
    skipped->isNotSaved = 1;
    auto global = std::make_shared<TGameObject>();
    global->name = "Global";
    global->isGlobal = 1;
    auto twin = std::make_shared<TGameObject>();
    twin->name = "Box";
    twin->id = 10;
    for (auto& o : {skipped, global, twin}) screen->AddObject(o);

    const std::string copyFile = dir.path() + "/out/Copy.AppScreen";
    CreateDir(dir.path() + "/out");
    EXPECT_EQ(screen->SaveToFile(copyFile), copyFile);
    EXPECT_EQ(screen->FileUrl, copyFile);
    EXPECT_EQ(screen->TextFileUrl, LocalizeDir + "Copy.txt");
    EXPECT_EQ(ReadFileBytes(LocalizeDir + "Copy.txt"), "Play\nQuit\n");
    EXPECT_EQ(ReadFileBytes(LocalizeDir + "Menu.txt"), "Play\nQuit\n");

    auto saved = LoadBlockFile(copyFile);
    EXPECT_EQ(ChildNames(saved), (std::vector<std::string>{"DATA", "ASSETS", "FLAGS", "OBJECTS"}));
    ASSERT_EQ(GetBlockFile(saved, "Data")->SubFiles.size(), 1u);  // "Name" only
    const auto objects = GetBlockFilesList(GetBlockFile(saved, "Objects"), "GameObject");
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(GetBFString(objects[0], "Basic::Name", 0), "Panel");  // written inline
    EXPECT_EQ(GetBFString(objects[1], "LoadObject", 0), "Box");
    EXPECT_EQ(GetBFString(objects[2], "LoadObject", 0), "Box_2");  // no overwrite of the first

    auto again = MakeScreen("Again");
    again->LoadFromFile(copyFile);
    ASSERT_EQ(Names(again->Objects), (std::vector<std::string>{"Panel", "Box", "Box"}));
    const std::vector<TGameObjectPtr> expected = {screen->Objects[0], screen->Objects[1], twin};
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ObjectText(again->Objects[i]), ObjectText(expected[i]));
    }
    EXPECT_EQ(again->GetTxt(1), "Play");
}

TEST_F(AppScreenTest, ReportsCarryTheirExactTexts) {
    auto screen = MakeScreen("Menu");
    const std::string missing = dir.path() + "/Nowhere.AppScreen";
    testing::internal::CaptureStdout();
    screen->LoadFromFile(missing);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "WARNING ( File: AppScreen  Code: TAppScreen::LoadFromFile ) No screen file '" + missing + "' found\n");
    EXPECT_EQ(screen->FileUrl, missing);
    EXPECT_EQ(TAsset::CurrScreen, nullptr);

    // A screen file whose text file is missing: loaded without texts.
    WriteFileBytes(menuFile, "Data{\nName = \"Menu\"\n}\n");
    screen->LoadFromFile(menuFile);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0], "ERROR Unable to load txt file '" + LocalizeDir +
                               "Menu.txt' for screen 'Menu'! - No such file or directory!");
    // Said once: its lines then read as empty.
    EXPECT_EQ(screen->GetTxt(1), "");
    EXPECT_EQ(screen->GetTxt(2), "");
    EXPECT_EQ(Errors().size(), 1u);
    // A screen never loaded has no texts to give.
    auto unloaded = MakeScreen("Never");
    EXPECT_EQ(unloaded->GetTxt(1), "");
    ASSERT_EQ(Errors().size(), 2u);
    EXPECT_EQ(Errors()[1], "ERROR TxtFile for screen 'Never' not initiated!");

    auto play = std::make_shared<TGameObject>();
    play->name = "Play";
    auto inner = std::make_shared<TGameObject>();
    inner->name = "Inner";
    auto deepest = std::make_shared<TGameObject>();
    deepest->name = "Deepest";
    inner->AddSubObject(deepest);
    play->AddSubObject(inner);
    screen->AddObject(play);
    testing::internal::CaptureStdout();
    EXPECT_EQ(screen->FindObject("play"), nullptr);
    EXPECT_EQ(screen->FindObjectInd(7), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING Couldn't find object named 'play'!\nWARNING Couldn't find object with id '7'!\n");

    screen->MoveObject(play.get(), deepest.get());
    screen->MoveObject(play.get(), play.get());
    EXPECT_EQ(Criticals(), std::vector<std::string>(2, "Object 'Play' can't be moved into one of it's children!"));
    EXPECT_EQ(Names(screen->Objects), std::vector<std::string>{"Play"});
    EXPECT_EQ(play->Parent, nullptr);
    // A sub-object moved to no parent becomes a top-level object.
    screen->MoveObject(deepest.get(), nullptr);
    EXPECT_EQ(Names(screen->Objects), (std::vector<std::string>{"Play", "Deepest"}));
    EXPECT_TRUE(inner->SubObjects.empty());
}

TEST_F(AppScreenTest, TextFileFollowsTxtFileUrlAndSavingKeepsIt) {
    const std::string other = dir.path() + "/texts/Alt.txt";
    CreateDir(dir.path() + "/texts");
    CreateDir(dir.path() + "/en");
    WriteFileBytes(LocalizeDir + "Menu.txt", "Default\n");
    WriteFileBytes(other, "Other\n");
    WriteFileBytes(dir.path() + "/en/Lang.txt", "Language\n");
    struct Case {
        std::string entry;  // the "TxtFileUrl" line ("" for none)
        std::string url;    // TextFileUrl after loading
        std::string firstLine;
    };
    const Case cases[] = {
        {"", LocalizeDir + "Menu.txt", "Default"},
        {"TxtFileUrl = \"\"\n", LocalizeDir + "Menu.txt", "Default"},
        {"TxtFileUrl = \"" + other + "\"\n", other, "Other"},
        {"TxtFileUrl = \"" + dir.path() + "/#LANG#/Lang.txt\"\n", dir.path() + "/#LANG#/Lang.txt", "Language"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        WriteFileBytes(menuFile, "Data{\nName = \"Menu\"\n" + c.entry + "}\n");
        auto screen = MakeScreen("Menu");
        screen->LoadFromFile(menuFile);
        EXPECT_EQ(screen->TextFileUrl, c.url);
        EXPECT_EQ(screen->GetTxt(1), c.firstLine);

        // Saved back: the texts go where they came from and the file still names them.
        screen->TxtFile->txt.push_back("Added");
        screen->SaveToFile("");
        const std::string written = Replace(c.url, "#LANG#", "en");
        EXPECT_EQ(ReadFileBytes(written), c.firstLine + "\nAdded\n");
        auto reloaded = MakeScreen("Again");
        reloaded->LoadFromFile(menuFile);
        EXPECT_EQ(reloaded->TextFileUrl, c.url);
        EXPECT_EQ(reloaded->GetTxt(2), "Added");
        WriteFileBytes(written, c.firstLine + "\n");
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_F(AppScreenTest, SavingWithoutTextsNeverWipesATextFile) {
    WriteFileBytes(menuFile, "Data{\nName = \"Menu\"\n}\n");
    WriteFileBytes(LocalizeDir + "Menu.txt", "Keep me\n");
    auto screen = MakeScreen("Menu");
    screen->isNotUsingText = 1;
    screen->LoadFromFile(menuFile);
    EXPECT_EQ(screen->TxtFile, nullptr);
    EXPECT_EQ(screen->SaveToFile(""), menuFile);
    EXPECT_EQ(ReadFileBytes(LocalizeDir + "Menu.txt"), "Keep me\n");

    // With no text file there yet, the (empty) file is made.
    const std::string fresh = dir.path() + "/Fresh.AppScreen";
    auto blank = MakeScreen("Fresh");
    EXPECT_EQ(blank->SaveToFile(fresh), fresh);
    EXPECT_EQ(FileType(LocalizeDir + "Fresh.txt"), 1);
}

TEST_F(AppScreenTest, SavingWithoutAPathAsksTheFileChooser) {
    const std::string chosen = dir.path() + "/Picked.AppScreen";
    const std::string argsFile = dir.path() + "/args";
    const std::string chooser = dir.path() + "/zenity";
    testsupport::WriteScript(chooser, "printf '%s\\n' \"$@\" > '" + argsFile + "'\necho '" + chosen + "'\n");
    SetFileChooserProgram(chooser);
    auto screen = MakeScreen("Nameless");
    EXPECT_EQ(screen->SaveToFile(""), chosen);
    EXPECT_EQ(screen->FileUrl, chosen);
    EXPECT_EQ(ReadFileBytes(argsFile),
              "--file-selection\n--title=Enter screen file name\n--save\n"
              "--confirm-overwrite\n--file-filter=Screen Files | *.AppScreen\n");
    EXPECT_EQ(GetBFString(GetBlockFile(LoadBlockFile(chosen), "Data"), "Name"), "Nameless");

    // Cancelled in the chooser: nothing is written, the screen keeps no path.
    testsupport::WriteScript(chooser, "exit 1\n");
    auto other = MakeScreen("Other");
    EXPECT_EQ(other->SaveToFile(""), "");
    EXPECT_EQ(other->FileUrl, "");

    // No chooser can be shown (the tests run offscreen): a warning, and nothing is written.
    SetFileChooserProgram("");
    testing::internal::CaptureStdout();
    EXPECT_EQ(other->SaveToFile(""), "");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("WARNING"), std::string::npos);
    EXPECT_EQ(ReadDir(dir.path()),
              (std::vector<std::string>{"Local", "Picked.AppScreen", "args", "screens", "zenity"}));
}

TEST_F(AppScreenTest, LoadingEdgeCases) {
    WriteFileBytes(LocalizeDir + "Menu.txt", "x\n");
    const std::string oneObject = "Objects{\nGameObject{\nBasic{\nName = \"A\"\n}\n}\n}\n";
    {
        SCOPED_TRACE("no Flags block, no name");
        WriteFileBytes(menuFile, oneObject);
        auto screen = MakeScreen("Given");
        screen->LoadFromFile(menuFile);
        EXPECT_EQ(screen->name, "");
        EXPECT_EQ(screen->isSetupedAtLoading, 0);
        EXPECT_EQ(screen->isFreedByLeave, 0);
        screen->LoadFromFile(menuFile);
        EXPECT_EQ(Names(screen->Objects), (std::vector<std::string>{"A", "A"}));
    }
    {
        SCOPED_TRACE("not to be loaded");
        TAsset::ResetCurrScreen();
        auto screen = MakeScreen("Given");
        screen->isNotToBeLoaded = 1;
        screen->FileUrl = menuFile;
        screen->Load(nullptr, nullptr);
        EXPECT_TRUE(screen->Objects.empty());
        EXPECT_EQ(TAsset::CurrScreen, nullptr);
    }
    {
        SCOPED_TRACE("no file url");
        auto screen = MakeScreen("Given");
        testing::internal::CaptureStdout();
        screen->Load(nullptr, nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(screen->Objects.empty());
    }
}

TEST_F(AppScreenTest, NumbersBeyondTheIntRangeSaturateAndLayersFarApartSort) {
    WriteFileBytes(LocalizeDir + "Menu.txt", "x\n");
    WriteFileBytes(menuFile,
                   "Flags{\nisSetupedAtLoading = 9e9\nisFreedByLeave = -9e9\n}\nObjects{\n"
                   "GameObject{\nBasic{\nName = \"Top\"\nDrawLayer = 2000000000\nUpdateLayer = -2000000000\n}\n}\n"
                   "GameObject{\nBasic{\nName = \"Bottom\"\nDrawLayer = -2000000000\nUpdateLayer = 2000000000\n}\n}\n"
                   "GameObject{\nBasic{\nName = \"Middle\"\n}\n}\n}\n");
    auto screen = MakeScreen("Menu");
    screen->LoadFromFile(menuFile);
    EXPECT_EQ(screen->isSetupedAtLoading, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(screen->isFreedByLeave, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Names(screen->DrawLayers), (std::vector<std::string>{"Bottom", "Middle", "Top"}));
    screen->Start();
    EXPECT_EQ(Names(screen->UpdateLayers), (std::vector<std::string>{"Top", "Middle", "Bottom"}));
}

// An asset that logs its loading and writes its name when saved.
class LogAsset : public TAsset {
public:
    explicit LogAsset(const std::string& n) { name = n; }
    int Save(const TBlockFilePtr& block) override { return AddStringToBlock(block, "Name", name, 0); }
    int LoadAsset() override { return Note(name, "LoadAsset"); }
};

TEST_F(AppScreenTest, AssetsJoinTheScreenLoadedLast) {
    WriteFileBytes(LocalizeDir + "Menu.txt", "x\n");
    WriteFileBytes(menuFile, "Data{\nName = \"Menu\"\n}\n");
    auto first = MakeScreen("First");
    auto last = MakeScreen("Last");
    first->LoadFromFile(menuFile);
    last->LoadFromFile(menuFile);
    // Made later, at run time: they still join the screen whose file was loaded last.
    std::vector<std::shared_ptr<LogAsset>> assets = {
        std::make_shared<LogAsset>("img"), std::make_shared<LogAsset>("Img"), std::make_shared<LogAsset>("tmp")};
    assets[1]->doAutoLoad = 0;
    for (size_t i = 0; i < assets.size(); ++i) TAsset::JoinCurrScreen(assets[i], i == 2 ? 1 : 0);
    EXPECT_TRUE(first->Assets.empty());
    ASSERT_EQ(last->Assets.size(), 3u);
    EXPECT_EQ(last->GetNewAssetName("IMG"), "IMG_2");
    EXPECT_EQ(last->GetNewAssetName("other"), "other");

    last->SetupAssets();
    EXPECT_EQ(Log(), (std::vector<std::string>{"img.LoadAsset", "tmp.LoadAsset"}));

    last->SaveToFile("");
    const auto saved = GetBlockFilesList(GetBlockFile(LoadBlockFile(menuFile), "Assets"), "Asset");
    ASSERT_EQ(saved.size(), 2u);  // the one marked not to be saved is left out
    EXPECT_EQ(GetBFString(saved[1], "Name", 0), "Img");

    last->RemoveAssetByInd(0);
    last->RemoveAssetByInd(7);
    EXPECT_EQ(last->Assets.front(), assets[1]);
    // A screen that goes away leaves no asset pointing at it.
    last.reset();
    EXPECT_EQ(TAsset::CurrScreen, nullptr);
}

TEST_F(AppScreenTest, InitRegistersScreensAndPopUpsApart) {
    auto screen = MakeScreen("x");
    screen->Init("Menu", "screens/Menu.AppScreen");
    auto popup = MakePopUp("x");
    popup->Init("Help", "screens/Help.AppPopUp");
    EXPECT_EQ(screen->name, "Menu");
    EXPECT_EQ(screen->FileUrl, "screens/Menu.AppScreen");
    ASSERT_EQ(Control::Screens.size(), 1u);
    EXPECT_EQ(Control::Screens[0], screen);
    ASSERT_EQ(Control::PopUps.size(), 1u);
    EXPECT_EQ(Control::PopUps[0], popup);
}

TEST_F(AppScreenTest, LayersAreStableSortsOfTheTree) {
    auto screen = MakeScreen("S");
    auto a = std::make_shared<LogObject>("A");
    a->UpdateLayer = 1;
    auto a1 = std::make_shared<LogObject>("A1", -1);
    auto a2 = std::make_shared<LogObject>("A2");
    a->AddSubObject(a1);
    a->AddSubObject(a2);
    auto b = std::make_shared<LogObject>("B");
    auto c = std::make_shared<LogObject>("C", -2);
    c->UpdateLayer = -1;
    for (auto& o : {a, b, c}) screen->AddObject(o);
    EXPECT_EQ(Names(screen->DrawLayers), (std::vector<std::string>{"C", "A1", "A", "A2", "B"}));
    EXPECT_TRUE(screen->UpdateLayers.empty());  // only StartObjects builds them
    screen->Start();
    EXPECT_EQ(Names(screen->UpdateLayers), (std::vector<std::string>{"C", "A1", "A2", "B", "A"}));

    // A removed object is still drawn until the next rebuild, but no longer updated or found.
    screen->RemoveObject(b.get());
    EXPECT_EQ(b->Screen, nullptr);
    EXPECT_EQ(screen->DrawLayers.size(), 5u);
    Log().clear();
    screen->Updating();
    EXPECT_EQ(Count("B.UpdateObject"), 0);
    screen->AddObject(std::make_shared<LogObject>("D", -3));
    EXPECT_EQ(Names(screen->DrawLayers), (std::vector<std::string>{"D", "C", "A1", "A", "A2"}));
}

TEST_F(AppScreenTest, UpdatePassOrder) {
    struct Case {
        const char* what;
        int locked;
        int enabled;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> objects = {"S.UpdateAtStart", "o1.UpdateObject", "o2.UpdateObject", "S.UpdateAtEnd",
                                              "S.UpdateObjectType"};
    const std::vector<std::string> popup = {"P.UpdateAtStart", "P.UpdateAtEnd", "P.UpdateObjectType", "P.OnHideCheck",
                                            "P.OnUpdate",      "P.Update",      "P.Interface"};
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> out;
        for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    const Case cases[] = {
        {"unlocked", 0, 1, join({objects, popup, {"S.OnUpdate", "S.Update", "P.Interface"}})},
        {"locked", 1, 1, join({objects, popup})},
        {"disabled", 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto screen = MakeScreen("S");
        screen->AddObject(std::make_shared<LogObject>("o1"));
        screen->AddObject(std::make_shared<LogObject>("o2"));
        auto p = MakePopUp("P");
        screen->ShowPopUp(p);
        screen->isLocked = c.locked;
        screen->isEnabled = c.enabled;
        Log().clear();
        screen->Updating();
        EXPECT_EQ(Log(), c.expected);
    }
    // Without a pop-up the screen's own Interface runs.
    auto screen = MakeScreen("S");
    Log().clear();
    screen->Updating();
    EXPECT_EQ(Log().back(), "S.Interface");
}

TEST_F(AppScreenTest, DrawingPassOrder) {
    auto screen = MakeScreen("S");
    auto first = MakePopUp("P1");
    auto second = MakePopUp("P2");
    screen->ShowPopUp(first);
    screen->ShowPopUp(second);
    screen->isEnabled = 0;  // drawn all the same
    Log().clear();
    screen->Drawing();
    EXPECT_EQ(Log(), (std::vector<std::string>{"S.Draw", "S.OnDraw", "P1.Draw", "P1.OnDraw", "P2.Draw", "P2.OnDraw"}));
}

TEST_F(AppScreenTest, LifeCycle) {
    auto screen = MakeScreen("S");
    screen->AddObject(std::make_shared<LogObject>("o"));
    screen->Prepare();
    screen->Prepare();
    EXPECT_EQ(Log(), (std::vector<std::string>{"o.OnStart", "S.OnStart", "o.OnEnterScreen", "S.OnPrepare",
                                               "o.OnEnterScreen", "S.OnPrepare"}));
    Log().clear();
    screen->Leaving();
    EXPECT_EQ(Log(), (std::vector<std::string>{"o.OnLeaveScreen", "S.OnLeave"}));
    EXPECT_EQ(screen->AllReadyStarted, 1);

    screen->isFreedByLeave = 1;
    Log().clear();
    screen->Leaving();
    EXPECT_EQ(Log(), (std::vector<std::string>{"o.OnLeaveScreen", "S.OnLeave", "o.OnFree", "S.OnFree"}));
    EXPECT_EQ(screen->AllReadyStarted, 0);
    Log().clear();
    screen->Prepare();  // started again after Free
    EXPECT_EQ(Count("S.OnStart"), 1);

    Log().clear();
    screen->Setup();
    screen->Lock();
    EXPECT_EQ(screen->isLocked, 1);
    screen->UnLock();
    EXPECT_EQ(screen->isLocked, 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"S.OnSetup", "S.OnLock", "S.OnUnlock"}));
}

}  // namespace
