// Packages and their two pools: which slot a creation gets, full pools, clearing, counting,
// and sub-particles taking over slots when their parent dies.
#include "game/effects/EngParticle.h"

#include "EffectsTestSupport.h"

namespace {

using effectstest::MakeLine;

class PackageTest : public effectstest::EffectsFixture {};

TEST_F(PackageTest, CreatesBothPoolsFullOfFreeParticles) {
    auto pack = CreateEngParticlePackage(4);
    EXPECT_EQ(pack->Max_Particles, 4);
    ASSERT_EQ(pack->alphaBlend_particles.size(), 4u);
    ASSERT_EQ(pack->lightBlend_particles.size(), 4u);
    EXPECT_EQ(pack->CountInUse(), 0);
    EXPECT_EQ(pack->PackageAlpha, 1.0f);

    auto empty = CreateEngParticlePackage(0);
    EXPECT_EQ(GetFreeParticle(empty, EngLightBlend), nullptr);
    empty->draw();
    EXPECT_EQ(empty->Counter, 0);
}

TEST_F(PackageTest, CreationsTakeTheLowestFreeSlotOfTheirBlendsPool) {
    auto pack = CreateEngParticlePackage(8);
    auto a = MakeLine(pack, EngLightBlend, 0, 1000);
    auto b = MakeLine(pack, EngLightBlend, 0, 1000);
    auto c = MakeLine(pack, EngAlphaBlend, 0, 1000);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(pack->lightBlend_particles[0], a);
    EXPECT_EQ(pack->lightBlend_particles[1], b);
    EXPECT_EQ(pack->alphaBlend_particles[0], c);
    EXPECT_EQ(b->myPackageIndex, 1);
    EXPECT_EQ(b->package, pack.get());

    // The scan does not mark: two scans without a creation give the same particle.
    EXPECT_EQ(pack->GetMyFreeParticle(EngLightBlend), pack->GetMyFreeParticle(EngLightBlend));
    // Other blends have no pool.
    EXPECT_EQ(pack->GetMyFreeParticle(1), nullptr);
    EXPECT_EQ(MakeLine(pack, 5, 0, 1000), nullptr);
}

TEST_F(PackageTest, AFullPoolGivesNothingWhileTheOtherPoolStillGives) {
    auto pack = CreateEngParticlePackage(3);
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(MakeLine(pack, EngLightBlend, 0, 1000));
    EXPECT_EQ(MakeLine(pack, EngLightBlend, 0, 1000), nullptr);
    auto alpha = MakeLine(pack, EngAlphaBlend, 0, 1000);
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->myPackageIndex, 0);
    EXPECT_EQ(pack->CountInUse(), 4);
}

TEST_F(PackageTest, ASlotFreedByADeathIsTheNextOneTaken) {
    auto pack = CreateEngParticlePackage(8);
    for (int k = 0; k < 8; ++k) MakeLine(pack, EngLightBlend, 0, k == 5 ? 100 : 5000);
    SetNow(100);
    pack->draw();  // slot 5 ends its life here
    EXPECT_FALSE(pack->lightBlend_particles[5]->isOnUse);
    auto next = MakeLine(pack, EngLightBlend, 0, 1000);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->myPackageIndex, 5);
}

TEST_F(PackageTest, CounterCountsOnlyParticlesWhoseStartHasCome) {
    auto pack = CreateEngParticlePackage(8);
    MakeLine(pack, EngLightBlend, 0, 1000);
    MakeLine(pack, EngAlphaBlend, 0, 1000);
    MakeLine(pack, EngLightBlend, 500, 1000);
    SetNow(100);
    pack->draw();
    EXPECT_EQ(pack->Counter, 2);
    SetNow(600);
    pack->draw();
    EXPECT_EQ(pack->Counter, 3);

    pack->Clear();
    EXPECT_EQ(pack->CountInUse(), 0);
    pack->draw();
    EXPECT_EQ(pack->Counter, 0);
}

TEST_F(PackageTest, NullPackagesMeanTheBasicPackage) {
    auto p = MakeLine(nullptr, EngLightBlend, 0, 1000);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->package, BasicPackage.get());
    EXPECT_EQ(BasicPackage->CountInUse(), 1);
    ClearParticles(nullptr);
    EXPECT_EQ(BasicPackage->CountInUse(), 0);

    // Without a basic package, effects given no package make nothing and nothing fails.
    BasicPackage.reset();
    EXPECT_EQ(MakeLine(nullptr, EngLightBlend, 0, 1000), nullptr);
    DrawEngPackage(nullptr);
    ClearParticles(nullptr);
}

TEST_F(PackageTest, MoveInTimeShiftsEveryParticleInUse) {
    auto pack = CreateEngParticlePackage(4);
    auto a = MakeLine(pack, EngAlphaBlend, 0, 1000);
    auto b = MakeLine(pack, EngLightBlend, 200, 500);
    pack->MoveInTime(0.5f);
    EXPECT_EQ(a->startTime, 500);
    EXPECT_EQ(a->endTime, 1500);
    EXPECT_EQ(b->startTime, 450);
    EXPECT_EQ(b->endTime, 950);
}

TEST_F(PackageTest, FreeEmptiesThePoolsAndLeavesTheList) {
    auto pack = CreateEngParticlePackage(4);
    TEngParticlePackage::allPackages = {pack};
    auto p = MakeLine(pack, EngLightBlend, 0, 1000);
    pack->Free();
    EXPECT_TRUE(pack->lightBlend_particles.empty());
    EXPECT_TRUE(pack->alphaBlend_particles.empty());
    EXPECT_EQ(pack->Max_Particles, 4);
    EXPECT_TRUE(TEngParticlePackage::allPackages.empty());
    EXPECT_EQ(p->package, nullptr);
    pack->draw();
    pack->Clear();
    EXPECT_EQ(GetFreeParticle(pack, EngLightBlend), nullptr);
}

// ---- Sub-particles ----

TEST_F(PackageTest, ASubParticleOfTheSameBlendTakesItsParentsSlotAndShowsAfterItsDelay) {
    auto pack = CreateEngParticlePackage(4);
    MakeLine(pack, EngLightBlend, 0, 5000);  // slot 0 stays busy
    auto sub = MakeLine(nullptr, EngLightBlend, 200, 300, nullptr, 1);
    ASSERT_TRUE(sub);
    EXPECT_EQ(BasicPackage->CountInUse(), 0);  // stand-alone: in no pool
    auto parent = MakeLine(pack, EngLightBlend, 0, 100, sub);
    ASSERT_EQ(parent->myPackageIndex, 1);

    SetNow(100);
    pack->draw();  // the parent's last frame
    EXPECT_EQ(pack->lightBlend_particles[1], sub);
    EXPECT_EQ(sub->myPackageIndex, 1);
    EXPECT_EQ(sub->package, pack.get());
    EXPECT_EQ(sub->startTime, 300);
    EXPECT_EQ(sub->endTime, 600);

    SetNow(250);
    pack->draw();
    EXPECT_EQ(pack->Counter, 1);  // the sub-particle still waits
    SetNow(300);
    pack->draw();
    EXPECT_EQ(pack->Counter, 2);
    SetNow(600);
    pack->draw();
    SetNow(601);
    pack->draw();
    EXPECT_EQ(pack->Counter, 1);
    EXPECT_FALSE(sub->isOnUse);
}

TEST_F(PackageTest, ASubParticleOfTheOtherBlendNeverEvictsALiveParticle) {
    auto pack = CreateEngParticlePackage(4);
    auto liveLight0 = MakeLine(pack, EngLightBlend, 0, 5000);
    auto liveLight1 = MakeLine(pack, EngLightBlend, 0, 5000);
    MakeLine(pack, EngAlphaBlend, 0, 5000);  // alpha slot 0
    auto sub = MakeLine(nullptr, EngLightBlend, 0, 300, nullptr, 1);
    auto parent = MakeLine(pack, EngAlphaBlend, 0, 100, sub);
    ASSERT_EQ(parent->myPackageIndex, 1);  // slot 1 of the alpha pool; light slot 1 is live

    SetNow(100);
    pack->draw();
    EXPECT_EQ(pack->lightBlend_particles[0], liveLight0);
    EXPECT_EQ(pack->lightBlend_particles[1], liveLight1);
    EXPECT_TRUE(liveLight1->isOnUse);
    EXPECT_EQ(pack->lightBlend_particles[2], sub);  // the first free light slot
    EXPECT_EQ(sub->myPackageIndex, 2);
    EXPECT_EQ(pack->alphaBlend_particles[1], parent);  // the parent's slot is simply free
    EXPECT_FALSE(parent->isOnUse);
}

TEST_F(PackageTest, ASubParticleFindingNoFreeSlotIsDropped) {
    auto pack = CreateEngParticlePackage(2);
    auto l0 = MakeLine(pack, EngLightBlend, 0, 5000);
    auto l1 = MakeLine(pack, EngLightBlend, 0, 5000);
    auto sub = MakeLine(nullptr, EngLightBlend, 0, 300, nullptr, 1);
    MakeLine(pack, EngAlphaBlend, 0, 100, sub);
    SetNow(100);
    pack->draw();
    EXPECT_EQ(pack->lightBlend_particles[0], l0);
    EXPECT_EQ(pack->lightBlend_particles[1], l1);
    EXPECT_EQ(pack->CountInUse(), 2);
}

TEST_F(PackageTest, ChainsPassThePackageAlongEachLink) {
    auto pack = CreateEngParticlePackage(2);
    auto third = MakeLine(nullptr, EngAlphaBlend, 0, 100, nullptr, 1);
    auto second = MakeLine(nullptr, EngAlphaBlend, 0, 100, third, 1);
    MakeLine(pack, EngAlphaBlend, 0, 100, second);
    for (int t : {100, 200, 300}) {
        SetNow(t);
        pack->draw();
    }
    EXPECT_EQ(pack->alphaBlend_particles[0], third);
    EXPECT_EQ(third->package, pack.get());
    EXPECT_FALSE(third->isOnUse);
}

TEST_F(PackageTest, AReusedParticleForgetsThePictureOfItsEarlierLife) {
    auto pack = CreateEngParticlePackage(4);
    HintParticleImage = CreateImage(8, 8);
    CreateHintParticle(0, 0, 50, 50, 0, 255, 0, 32, 100, 0, pack);
    ASSERT_EQ(pack->lightBlend_particles[0]->image, HintParticleImage);
    SetNow(100);
    pack->draw();
    ASSERT_EQ(pack->CountInUse(), 0);

    CreateBoom3(10, 10, 2, 0, 2000, 180, 255, 100, 0, 1, pack);  // two rays, slots 0 and 1
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(pack->lightBlend_particles[k]->isOnUse);
        EXPECT_EQ(pack->lightBlend_particles[k]->image, nullptr);
        EXPECT_EQ(pack->lightBlend_particles[k]->n, 7);
    }
}

}  // namespace
