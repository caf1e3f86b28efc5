// The developer's viewer of the recipes: the console command and the pace at which it runs the
// game's own effects.
#include "game/effects/EffectsViewer.h"

#include <set>

#include "EffectsTestSupport.h"
#include "engine/media/ImgTex.h"
#include "engine/screen/Console.h"
#include "engine/system/Paths.h"
#include "support/TestSupport.h"

namespace {

class EffectsViewerTest : public effectstest::EffectsFixture {
protected:
    TEffectsViewer viewer;
    std::string savedDir;
    void SetUp() override {
        EffectsFixture::SetUp();
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        TImgTex::ResetRegistry();
    }
    void TearDown() override {
        bDir = savedDir;
        TImgTex::ResetRegistry();
        EffectsFixture::TearDown();
    }
    int LightInUse() { return static_cast<int>(InUse(viewer.Package->lightBlend_particles).size()); }
    // Runs the viewer from now to `until` in frames of 1000/60 ms; the particles made per run.
    std::vector<int> RunFrames(int frames) {
        std::vector<int> made;
        for (int f = 1; f <= frames; ++f) {
            const int before = viewer.Package->CountInUse();
            SetNow(effectstest::g_now + (f % 3 == 0 ? 16 : 17));
            viewer.Advance(AppMilliSecs());
            made.push_back(viewer.Package->CountInUse() - before);
        }
        return made;
    }
};

TEST_F(EffectsViewerTest, EveryRecipeHasADemoAndNamesAreFoundLoosely) {
    std::set<std::string> names;
    for (const TEffectDemo& demo : EffectDemos()) {
        EXPECT_TRUE(demo.fire) << demo.name;
        EXPECT_GT(demo.period, 0) << demo.name;
        names.insert(demo.name);
    }
    EXPECT_EQ(names.size(), 58u);
    ASSERT_TRUE(FindEffectDemo("boom3"));
    EXPECT_EQ(FindEffectDemo("boom3")->name, "CreateBoom3");
    EXPECT_EQ(FindEffectDemo("CREATEMAGICAURA_GREEN")->name, "CreateMagicAura_Green");
    EXPECT_EQ(FindEffectDemo("Boom"), FindEffectDemo("CreateBoom"));
    EXPECT_EQ(FindEffectDemo("nothing"), nullptr);
}

TEST_F(EffectsViewerTest, EveryDemoRunsForAFewSecondsWithoutTrouble) {
    for (const TEffectDemo& demo : EffectDemos()) {
        viewer.Start(&demo, 512, 384);
        RunFrames(200);
        for (int f = 0; f < 10; ++f) viewer.Package->draw();
        EXPECT_GT(viewer.Package->CountInUse(), 0) << demo.name;
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_F(EffectsViewerTest, TheHintTrailMakesSixteenParticlesAFrame) {
    SetNow(1000);
    viewer.Start(FindEffectDemo("CreateHintParticle"), 400, 300);
    for (int made : RunFrames(30)) EXPECT_EQ(made, 16);
}

TEST_F(EffectsViewerTest, TheLevelSwitchTrailComesEvery25MsThenTheAuraOnce) {
    SetNow(1000);
    viewer.Start(FindEffectDemo("CreateLevelSwitchParticle"), 512, 384);
    const std::vector<int> made = RunFrames(120);  // two seconds
    int batches = 0, auras = 0;
    for (size_t f = 0; f < made.size(); ++f) {
        if (made[f] == 8) ++batches;
        if (made[f] == 8 + 51) ++auras;
        EXPECT_TRUE(made[f] == 0 || made[f] == 8 || made[f] == 59) << f << ": " << made[f];
        if (f > 0 && made[f] == 8) {
            EXPECT_EQ(made[f - 1], 0) << f;  // never two frames running
        }
    }
    EXPECT_EQ(auras, 1);
    EXPECT_GE(batches, 48);  // the run of about 1.7 s, a batch every other frame
    EXPECT_LE(batches, 52);
}

TEST_F(EffectsViewerTest, TheConsoleCommandFindsRecipesAndReportsUnknownNames) {
    TCCEffect command;
    command.Execute({"nonsense"});
    EXPECT_EQ(EffectsViewer()->Demo, nullptr);
    command.Execute({"StarBoom", "100", "200"});
    EXPECT_EQ(EffectsViewer()->Demo, FindEffectDemo("CreateStarBoom"));
    EXPECT_EQ(EffectsViewer()->X, 100.0f);
    EXPECT_EQ(EffectsViewer()->Y, 200.0f);
    command.Execute({"OFF"});
    command.Execute({});
}

}  // namespace
