// The sound game object: playing through its asset, its own data and where its file is found,
// export, freeing and creation.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/screen/DrawObject.h"
#include "engine/screen/GameObject.h"
#include "engine/ui/SoundObject.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/ui/UI_Object.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::string> gErrors;
std::vector<std::string> gCritical;
void CaptureError(const std::string& line) { gErrors.push_back(line); }
void CaptureCritical(const std::string& line) { gCritical.push_back(line); }

// A sound that records what it is asked to do instead of sounding.
class RecordingSound : public TAppSound {
public:
    std::vector<std::array<float, 3>> plays;
    std::vector<std::string> calls;
    int Play(float vol, float target, float speed) override {
        plays.push_back({vol, target, speed});
        return 0;
    }
    void Stop() override { calls.push_back("Stop"); }
    void Pause() override { calls.push_back("Pause"); }
    void Resume() override { calls.push_back("Resume"); }
    void Hide(float) override { calls.push_back("Hide"); }
    void Free() override { calls.push_back("Free"); }
};

class SoundObjectTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;

    void SetUp() override {
        gErrors.clear();
        gCritical.clear();
        WatchErrorReports(&CaptureError);
        WatchCriticalReports(&CaptureCritical);
        ResetAppPaths();
        InstallSoundObject();
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        WatchCriticalReports(nullptr);
        ResetGameObjectTypes();
        ResetAppPaths();
        TAsset::ResetCurrScreen();
        TAppScreen::CurrentlyLoadingScreen = nullptr;
        TAppDrawObject::CurrScreen = nullptr;
    }

    // A sound object named Door around a recording sound.
    TSoundObjectPtr Door(std::shared_ptr<RecordingSound>& sound) {
        sound = std::make_shared<RecordingSound>();
        auto obj = CreateSoundObject(TAppSoundPtr(sound), 0, 0, 0);
        obj->name = "Door";
        return obj;
    }
};

std::string SoundBlock(const std::string& objName, const std::string& ownData) {
    return "GameObject{\nBasic{\nName = \"" + objName + "\"\nType = 8\n}\nOwnData{\n" + ownData + "}\n}\n";
}

TSoundObjectPtr LoadSound(const std::string& text, const std::string& prefix) {
    auto root = ParseBlockFileText(text, "s");
    return std::dynamic_pointer_cast<TSoundObject>(LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, prefix));
}

TEST_F(SoundObjectTest, PlayTakesMinusOneAsFullVolume) {
    struct Case {
        std::array<float, 3> given, played;
    };
    const Case cases[] = {
        {{-1.0f, -1.0f, 0.05f}, {1.0f, 1.0f, 0.05f}},
        {{0.5f, -1.0f, 0.05f}, {0.5f, 1.0f, 0.05f}},
        {{0.2f, 0.8f, 0.1f}, {0.2f, 0.8f, 0.1f}},
        {{-0.5f, 0.0f, -1.0f}, {-0.5f, 0.0f, -1.0f}},
    };
    std::shared_ptr<RecordingSound> sound;
    auto obj = Door(sound);
    obj->SetVolume(0.3f);  // kept, and not applied
    for (const auto& c : cases) obj->Sound_Play(c.given[0], c.given[1], c.given[2]);
    obj->Sound_Play();
    ASSERT_EQ(sound->plays.size(), 5u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(sound->plays[i], cases[i].played) << i;
    EXPECT_EQ(sound->plays[4], (std::array<float, 3>{1.0f, 1.0f, 0.05f}));

    obj->Sound_Pause();
    obj->Sound_Resume();
    obj->Sound_Stop();
    obj->Sound_Hide(0.1f);
    EXPECT_EQ(sound->calls, (std::vector<std::string>{"Pause", "Resume", "Stop", "Hide"}));
    EXPECT_TRUE(gErrors.empty());
}

TEST_F(SoundObjectTest, WithoutAnAssetEveryCallIsReportedAndNothingElseHappens) {
    auto obj = CreateSoundObject(std::string(), 0, 0, 0);
    EXPECT_EQ(obj->name, "SoundObject");
    EXPECT_EQ(obj->Snd, nullptr);
    obj->name = "Door";
    obj->Sound_Play(-1.0f, -1.0f, 0.05f);
    obj->Sound_Resume();
    obj->Sound_Pause();
    obj->Sound_Stop();
    obj->Sound_Hide(0.1f);
    obj->SetDataToAsset();
    EXPECT_EQ(gErrors, (std::vector<std::string>{
                           "ERROR Can't play sound in object 'DOOR': No Sound Asset!",
                           "ERROR Can't resume playing sound in object 'DOOR': No Sound Asset!",
                           "ERROR Can't pause playing sound in object 'DOOR': No Sound Asset!",
                           "ERROR Can't stop playing sound in object 'DOOR': No Sound Asset!",
                       }));
    auto block = CreateBlockFile("OwnData");
    obj->SaveMyData(block);
    EXPECT_TRUE(block->SubFiles.empty());
    obj->Free();
}

TEST_F(SoundObjectTest, SoundNamedAfterTheObjectBesideTheScreenFileWinsWavOverOgg) {
    struct Case {
        bool ogg, wav;
        const char* expected;  // "" keeps the saved path
    };
    const Case cases[] = {
        {false, false, ""}, {true, false, "Door.ogg"}, {false, true, "Door.wav"}, {true, true, "Door.wav"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ogg << c.wav);
        DeleteFile(dir.file("Door.ogg"));
        DeleteFile(dir.file("Door.wav"));
        if (c.ogg) testsupport::WriteFileBytes(dir.file("Door.ogg"), "x");
        if (c.wav) testsupport::WriteFileBytes(dir.file("Door.wav"), "x");
        testsupport::WriteFileBytes(dir.file("Menu.AppScreen"),
                                    "Data{\nName = \"Menu\"\n}\nObjects{\n" +
                                        SoundBlock("Door", "SoundUrl = \"#BDIR#Sound/door.ogg\"\nisLooped = 1\n") +
                                        "}\n");
        auto screen = std::make_shared<TAppScreen>();
        screen->isNotUsingText = 1;
        screen->LoadFromFile(dir.file("Menu.AppScreen"));
        auto obj = std::dynamic_pointer_cast<TSoundObject>(screen->FindObject("Door"));
        ASSERT_NE(obj, nullptr);
        ASSERT_NE(obj->Snd, nullptr);
        const bool beside = *c.expected != 0;
        EXPECT_EQ(obj->Snd->url, beside ? dir.path() + "/" + c.expected : std::string("#BDIR#Sound/door.ogg"));
        EXPECT_EQ(obj->Snd->isLooped, 1);
        EXPECT_EQ(obj->Snd->snd, nullptr);  // decoded later, with the screen's assets
        auto saved = CreateBlockFile("saved");
        obj->Save(saved);
        EXPECT_EQ(isBFEntry(saved, "GameObject::OwnData::SoundUrl"), beside ? 0 : 1);
        TAsset::ResetCurrScreen();
        TAppScreen::CurrentlyLoadingScreen = nullptr;
    }
}

TEST_F(SoundObjectTest, OwnDataRoundTripAndDefaults) {
    std::shared_ptr<RecordingSound> sound;
    auto obj = Door(sound);
    obj->Snd->url = "#BDIR#Sound/door.ogg";
    obj->isLooped = 1;
    obj->isLoadedOnDemand = 1;
    obj->Volume = 0.25f;
    obj->TimeInterwal = 300;
    auto saved = CreateBlockFile("saved");
    obj->Save(saved);
    auto own = GetBlockFile(saved, "GameObject::OwnData");
    std::vector<std::string> keys;
    for (auto& e : own->SubFiles) keys.push_back(e->name);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"SoundUrl", "isLooped", "isMusic", "isLoadedOnDemand", "Volume", "TimeStep"}));

    auto back = std::dynamic_pointer_cast<TSoundObject>(LoadGameObject(GetBlockFile(saved, "GameObject"), nullptr, ""));
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->Snd, nullptr);
    EXPECT_EQ(back->Snd->url, "#BDIR#Sound/door.ogg");
    EXPECT_EQ(back->isLooped, 1);
    EXPECT_EQ(back->isMusic, 0);
    EXPECT_EQ(back->isLoadedOnDemand, 1);
    EXPECT_EQ(back->Volume, 0.25f);
    EXPECT_EQ(back->TimeInterwal, 300);
    // The asset gets the flags at once, the interval only through SetDataToAsset.
    EXPECT_EQ(back->Snd->isLooped, 1);
    EXPECT_EQ(back->Snd->isLoadedOnDemand, 1);
    EXPECT_EQ(back->Snd->TimeInterwal, 0);
    back->SetDataToAsset();
    EXPECT_EQ(back->Snd->TimeInterwal, 300);

    // Without "SoundUrl": sound.ogg in the object's folder, else sound.wav there; an object read
    // without a folder looks in the working folder, never at the file-system root.
    const std::string objDir = dir.file("obj") + "/";
    CreateDir(objDir);
    struct Case {
        std::string prefix;
        bool ogg;
        std::string expected;
    };
    const Case cases[] = {
        {"", false, "sound.wav"},
        {objDir, false, objDir + "sound.wav"},
        {objDir, true, objDir + "sound.ogg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        if (c.ogg) testsupport::WriteFileBytes(objDir + "sound.ogg", "x");
        auto loaded = LoadSound(SoundBlock("Bell", ""), c.prefix);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Snd->url, c.expected);
        EXPECT_EQ(loaded->Volume, 0.0f);  // a missing "Volume" reads 0
    }
}

TEST_F(SoundObjectTest, ExportCopiesTheSoundFromItsExpandedPath) {
    bDir = dir.file("data") + "/";
    CreateDir(bDir + "Sound");
    testsupport::WriteFileBytes(bDir + "Sound/door.ogg", "OGGDATA");
    std::shared_ptr<RecordingSound> sound;
    auto obj = Door(sound);
    obj->Snd->url = "#BDIR#Sound/door.ogg";
    obj->isMusic = 1;
    const std::string folder = ExportGameObject(dir.file("out"), obj.get());
    const std::string exported = dir.file("out") + "/" + folder + "/";
    EXPECT_EQ(testsupport::ReadFileBytes(exported + "sound.ogg"), "OGGDATA");
    EXPECT_TRUE(gCritical.empty());
    auto back = std::dynamic_pointer_cast<TSoundObject>(LoadGameObjectFromUrl(exported, nullptr));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Snd->url, exported + "sound.ogg");
    EXPECT_EQ(back->isMusic, 1);

    // A sound file that is not there: one critical line, and the flags are still written.
    obj->Snd->url = "#BDIR#Sound/missing.ogg";
    ExportGameObject(dir.file("out2"), obj.get());
    EXPECT_EQ(gCritical, (std::vector<std::string>{"Couldn't export sound '#BDIR#Sound/missing.ogg'!"}));
    auto file = LoadBlockFile(dir.file("out2") + "/" + folder + "/" + folder + ".GameObject");
    EXPECT_EQ(GetBFInt(file, "GameObject::OwnData::isMusic", 0), 1);
    EXPECT_EQ(isBFEntry(file, "GameObject::OwnData::SoundUrl"), 0);
}

TEST_F(SoundObjectTest, CopySharesTheAssetAndFreeingReleasesIt) {
    std::shared_ptr<RecordingSound> sound;
    auto parent = std::make_shared<TGameObject>();
    auto obj = CreateSoundObject(TAppSoundPtr(sound = std::make_shared<RecordingSound>()), 1, 0, 1, parent.get());
    EXPECT_EQ(obj->Parent, parent.get());
    EXPECT_EQ(obj->Snd->snd, sound);
    EXPECT_EQ(obj->Snd->isLooped, 1);
    EXPECT_EQ(obj->isLooped, 0);  // the object's own flags keep their new values
    obj->TimeInterwal = 120;
    auto copy = std::dynamic_pointer_cast<TSoundObject>(obj->Copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Snd, obj->Snd);
    EXPECT_EQ(copy->TimeInterwal, 120);

    obj->Free();
    EXPECT_EQ(obj->Snd, nullptr);
    EXPECT_EQ(sound->calls, (std::vector<std::string>{"Free"}));
}

}  // namespace
