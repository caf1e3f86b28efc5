// The vector-animation game object: playback against the timer, pause, stop, loop, shared
// assets, its own data in object files, export copies, the factory and drawing.
#include "engine/screen/AVO.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

using testsupport::SourceDir;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::vector<std::string> gErrors;
std::vector<std::string> gCritical;
void CaptureError(const std::string& line) { gErrors.push_back(line); }
void CaptureCritical(const std::string& line) { gCritical.push_back(line); }

bool AnyHas(const std::vector<std::string>& lines, const std::string& text) {
    for (const auto& e : lines)
        if (e.find(text) != std::string::npos) return true;
    return false;
}

class AVOTest : public ::testing::Test {
protected:
    TempDir dir;
    float savedDelta = 0;

    void SetUp() override {
        savedDelta = delta;
        delta = 1.0f;
        gErrors.clear();
        gCritical.clear();
        WatchErrorReports(&CaptureError);
        WatchCriticalReports(&CaptureCritical);
        InitGameObjectNames();
        TAppVectorAnim::ResetGlobals();
    }
    void TearDown() override {
        delta = savedDelta;
        WatchErrorReports(nullptr);
        WatchCriticalReports(nullptr);
    }

    // An object of two poses (root Dist 0 and 100) and two animations: "Out" from pose 0 to
    // pose 1, "Back" from pose 1 to pose 0.
    static TAppVectorObjPtr TwoAnims() {
        auto avo = CreateEmptyVectorObj();
        avo->AddNewState();
        avo->States[1]->Dist = 100;
        for (auto [nm, from, to] : {std::tuple{"Out", 0, 1}, std::tuple{"Back", 1, 0}}) {
            auto anim = CreateVectorAnim(nullptr, nm);
            anim->AddStep(CreateAnimStep(avo->GetState(from), from, 0));
            anim->AddStep(CreateAnimStep(avo->GetState(to), to, 1));
            avo->AddAnim(anim);
        }
        return avo;
    }
    // The pose the asset's object shows now.
    static float ShownDist(const TAppVectorObjPtr& avo) {
        avo->Calculate(0);
        return avo->CurrState->Dist;
    }
};

TEST_F(AVOTest, PositionFollowsTheTimer) {
    struct Case {
        int32_t time;
        float frameDelta;
        int32_t looped;
        std::vector<float> perAfterEachUpdate;
    };
    const float s = 1.0f / 60;
    for (const Case& c : std::vector<Case>{
             {1000, 1.0f, 0, {s, 2 * s, 3 * s}},
             {1000, 3.0f, 0, {3 * s, 6 * s}},
             {0, 1.0f, 0, {1, 1, 1}},
             {0, 1.0f, 1, {1, 1}},
             {50, 1.0f, 1, {1.0f / 3, 2.0f / 3, 1, 1.0f / 3}},  // the end pose shows once, then again from one step
             {50, 1.0f, 0, {1.0f / 3, 2.0f / 3, 1, 1, 1}},
         }) {
        delta = c.frameDelta;
        auto avo = TwoAnims();
        auto obj = CreateAVO(avo, 0, 0);
        obj->PlayAnim("Back", c.time, c.looped);
        EXPECT_EQ(obj->CurrAnimInd, 1);
        for (size_t u = 0; u < c.perAfterEachUpdate.size(); ++u) {
            obj->UpdateObject();
            const float want = c.perAfterEachUpdate[u];
            EXPECT_NEAR(obj->CurrAnimPer, want, 1e-5) << "time " << c.time << " update " << u + 1;
            EXPECT_EQ(avo->CurrAnim, avo->anims[1]);
            EXPECT_NEAR(ShownDist(avo), 100 - 100 * want, 1e-3);
        }
        EXPECT_EQ(obj->isPlayingAnim(), 1);
    }

    // 1000 ms at 60 updates a second end at exactly 1.0 and stay there.
    delta = 1.0f;
    auto obj = CreateAVO(TwoAnims(), 0, 0);
    obj->PlayAnim("Out", 1000, 0);
    int updates = 0;
    while (obj->CurrAnimPer < 1.0f && updates < 100) {
        obj->UpdateObject();
        ++updates;
    }
    EXPECT_NEAR(updates, 60, 1);
    EXPECT_EQ(obj->CurrAnimPer, 1.0f);
    obj->UpdateObject();
    EXPECT_EQ(obj->CurrAnimPer, 1.0f);
    EXPECT_EQ(obj->isPlayingAnim(), 1);
}

TEST_F(AVOTest, PauseContinueStopAndClear) {
    auto avo = TwoAnims();
    auto obj = CreateAVO(avo, 0, 0);
    obj->ContinueAnim();  // nothing chosen yet
    EXPECT_EQ(obj->isPlayingAnim(), 0);

    obj->PlayAnim("Out", 100, 0);  // 1/6 a step
    for (int u = 0; u < 3; ++u) obj->UpdateObject();
    obj->PauseAnim();
    const float paused = obj->CurrAnimPer;
    EXPECT_NEAR(paused, 0.5f, 1e-5);
    for (int u = 0; u < 10; ++u) obj->UpdateObject();
    EXPECT_EQ(obj->CurrAnimPer, paused);
    EXPECT_NEAR(ShownDist(avo), 50, 1e-3);
    obj->ContinueAnim();
    obj->UpdateObject();
    EXPECT_NEAR(obj->CurrAnimPer, paused + 1.0f / 6, 1e-5);

    obj->StopAnim();
    EXPECT_EQ(obj->isPlayingAnim(), 0);
    EXPECT_EQ(obj->CurrAnimPer, 0.0f);
    obj->UpdateObject();
    EXPECT_EQ(ShownDist(avo), 0);
    obj->ContinueAnim();  // plays again from the start
    obj->UpdateObject();
    EXPECT_NEAR(obj->CurrAnimPer, 1.0f / 6, 1e-5);

    obj->ClearAnim();
    EXPECT_EQ(obj->CurrAnimInd, -1);
    EXPECT_EQ(avo->CurrAnim, avo->anims[0]);
    obj->ContinueAnim();
    EXPECT_EQ(obj->isPlayingAnim(), 0);
    EXPECT_TRUE(gErrors.empty());
}

TEST_F(AVOTest, UnknownAnimationsAndMissingObjectsAreReported) {
    // An unknown name plays the first animation from the next update.
    auto avo = TwoAnims();
    auto obj = CreateAVO(avo, 0, 0);
    obj->PlayAnim("Nope", 1000, 0);
    EXPECT_TRUE(AnyHas(gErrors, "Nope"));
    EXPECT_EQ(obj->CurrAnimInd, 0);
    obj->UpdateObject();
    EXPECT_EQ(avo->CurrAnim, avo->anims[0]);

    // An index the object does not have changes nothing.
    gErrors.clear();
    obj->PlayAnimInd(5, 1000, 0);
    EXPECT_TRUE(AnyHas(gErrors, "number 5"));
    EXPECT_EQ(obj->CurrAnimInd, 0);

    // On an object without animations nothing plays and nothing reads past the list.
    gErrors.clear();
    auto bare = CreateAVO(CreateEmptyVectorObj(), 0, 0);
    bare->PlayAnim("Walk", 1000, 1);
    EXPECT_TRUE(AnyHas(gErrors, "Walk"));
    EXPECT_EQ(bare->CurrAnimInd, -1);
    bare->UpdateObject();
    bare->StopAnim();
    bare->ClearAnim();
    EXPECT_EQ(bare->isPlayingAnim(), 0);

    // An asset whose object is not loaded.
    gErrors.clear();
    auto unloaded = std::make_shared<TAVO>();
    unloaded->name = "Flag";
    unloaded->SetAVO(CreateEmptyAVOAsset(dir.file("missing")));
    EXPECT_EQ(unloaded->SetAnimAndFrame("Out", 0.5f), 0);
    EXPECT_EQ(gErrors, (std::vector<std::string>{"ERROR AVO object not loaded from asset in 'Flag'!"}));
    unloaded->UpdateObject();
}

TEST_F(AVOTest, ObjectsSharingAnAssetShowThePoseWrittenLast) {
    auto avo = TwoAnims();
    auto asset = CreateAVOAsset(avo, "");
    auto first = std::make_shared<TAVO>();
    auto second = std::make_shared<TAVO>();
    first->SetAVO(asset);
    second->SetAVO(asset);
    first->PlayAnim("Out", 0, 0);
    second->PlayAnim("Back", 0, 0);
    first->UpdateObject();
    second->UpdateObject();
    EXPECT_EQ(ShownDist(avo), 0);
    first->UpdateObject();
    EXPECT_EQ(ShownDist(avo), 100);

    auto copy = std::dynamic_pointer_cast<TAVO>(first->Copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->AVOAsset, asset);
    EXPECT_EQ(copy->CurrAnimInd, -1);
    EXPECT_EQ(copy->isPaused, 1);
}

TEST_F(AVOTest, OwnDataInObjectFiles) {
    InstallAVO();
    auto obj = CreateAVO(std::string("#BDIR#Anims/Nothing"), 12, 34);
    EXPECT_EQ(obj->name, "VectorObj");
    EXPECT_EQ(obj->GetX(), 12);
    auto parent = CreateBlockFile("Objects");
    obj->Save(parent);
    auto block = GetBlockFile(parent, "GameObject");
    EXPECT_EQ(GetBFString(block, "OwnData::AVOUrl"), "#BDIR#Anims/Nothing");

    auto loaded = std::dynamic_pointer_cast<TAVO>(LoadGameObject(block, nullptr, ""));
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(loaded->AVOAsset);
    EXPECT_EQ(loaded->AVOAsset->url, "#BDIR#Anims/Nothing");
    EXPECT_EQ(loaded->AVOAsset->Avo, nullptr) << "loaded later, with the screen's assets";
    EXPECT_TRUE(loaded->DrawObject);

    // Without "AVOUrl" the package beside the object file is used.
    struct Case {
        std::string file;  // made in the object's folder
        bool folder;
        std::string wantUrl;  // relative to the folder; "" for no asset
    };
    for (const Case& c : std::vector<Case>{{"avo.avobj", false, "avo.avobj"}, {"AVO", true, "avo"}, {"", false, ""}}) {
        TempDir objDir;
        const std::string prefix = objDir.path() + "/";
        if (c.folder) ASSERT_TRUE(CreateDir(prefix + c.file));
        else if (!c.file.empty()) WriteFileBytes(prefix + c.file, "PK");
        gCritical.clear();
        TAVO fresh;
        fresh.Prefix = prefix;
        fresh.LoadMyData(CreateBlockFile("OwnData"), nullptr);
        if (c.wantUrl.empty()) {
            EXPECT_EQ(fresh.AVOAsset, nullptr);
            EXPECT_EQ(gCritical, (std::vector<std::string>{"Couldn't load AVO '" + prefix + "avo'!"}));
        } else {
            ASSERT_TRUE(fresh.AVOAsset) << c.file;
            EXPECT_EQ(fresh.AVOAsset->url, prefix + c.wantUrl);
        }
    }
}

TEST_F(AVOTest, ExportCopiesThePackageBesideTheObject) {
    auto avo = TwoAnims();
    ASSERT_EQ(SaveAVO(avo, dir.file("Pkg")), 1);
    auto obj = CreateAVO(dir.file("Pkg"), 0, 0);
    obj->isExporting = 1;
    obj->Prefix = dir.file("Exported");
    ASSERT_TRUE(CreateDir(obj->Prefix));
    auto own = CreateBlockFile("OwnData");
    obj->SaveMyData(own);
    EXPECT_EQ(isBFEntry(own, "AVOUrl"), 0);
    EXPECT_EQ(FileType(dir.file("Exported/AVO/Vectors.avo")), 1);
    EXPECT_TRUE(gCritical.empty());

    // The package already at the target is not copied onto itself.
    auto again = CreateAVO(dir.file("Exported/AVO"), 0, 0);
    again->isExporting = 1;
    again->Prefix = dir.file("Exported");
    again->SaveMyData(own);
    EXPECT_TRUE(gCritical.empty());
    EXPECT_EQ(FileType(dir.file("Exported/AVO/AVO")), 0);

    // A package that cannot be copied is reported.
    auto blocked = CreateAVO(dir.file("Pkg"), 0, 0);
    blocked->isExporting = 1;
    blocked->Prefix = dir.file("Exported/AVO/Vectors.avo");  // a file, not a folder
    blocked->SaveMyData(own);
    EXPECT_TRUE(AnyHas(gCritical, "Couldn't export AVO '" + dir.file("Pkg") + "'!"));
}

TEST_F(AVOTest, FactoryMakesTheObjectAndItDrawsItsAsset) {
    InstallAVO();
    auto made = std::dynamic_pointer_cast<TAVO>(CreateNewGameObjectByType(4));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->GetTypeStr(), "VectorObj");

    ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(300, 200));
    ResetDrawState();
    SetClsColor(0, 0, 0);
    Cls();
    auto bird = CreateAVO(SourceDir() + "/data/Anims/Bird", 120, 100);
    ASSERT_TRUE(bird->AVOAsset && bird->AVOAsset->Avo);
    bird->Update_CORE();
    bird->Drawing();
    auto frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    const int body = frame->ReadPixel(120, 105);
    EXPECT_NEAR((body >> 16) & 255, 66, 4);
    EXPECT_NEAR(body & 255, 204, 4);
    EXPECT_EQ(frame->ReadPixel(120, 160) & 0xFFFFFF, 0);
    ResetDrawState();
}

}  // namespace
