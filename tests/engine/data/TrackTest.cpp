#include "engine/data/Track.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "support/TestSupport.h"

namespace {

std::shared_ptr<TDim> Stop(float position, float x, float y, float w = 0, float h = 0, int32_t bezier = 0, float x1 = 0,
                           float y1 = 0, float x2 = 0, float y2 = 0) {
    auto d = CreateDim(x, y, w, h, position, x1, y1, x2, y2);
    d->isBezier = bezier;
    return d;
}

std::vector<float> Positions(const TTrack& t) {
    std::vector<float> out;
    for (const auto& s : t.dim) out.push_back(s->position);
    return out;
}

// The straight two-stop track of the text-form example.
TTrackPtr Straight() { return CreateAppTrack({Stop(0, 0, 0, 10, 10), Stop(1, 100, 50, 20, 30)}); }

const std::string kStraightText =
    "0.00000000,0.00000000,10.0000000,10.0000000,0.00000000,0.00000000,0.00000000,0.00000000,0.00000000,0,0|"
    "100.000000,50.0000000,20.0000000,30.0000000,0.00000000,0.00000000,0.00000000,0.00000000,1.00000000,0,0";

class Tracks : public ::testing::Test {
protected:
    void SetUp() override { ResetTrackScratch(); }
};

TEST_F(Tracks, PointsOnStraightAndBezierSegments) {
    struct Case {
        std::string name;
        TTrackPtr track;
        float per;
        float x, y, w, h;  // w, h: 7 and 8 mean "left as they were"
    };
    const auto quad = CreateAppTrack({Stop(0, 0, 0, 1, 1, 1, 50, 100), Stop(1, 100, 0, 3, 3)});
    const auto cubic = CreateAppTrack({Stop(0, 0, 0, 1, 1, 2, 0, 100, 100, 100), Stop(1, 100, 0, 3, 3)});
    const auto odd = CreateAppTrack({Stop(0, 5, 5, 1, 1, 3), Stop(1, 100, 0, 3, 3)});
    const std::vector<Case> cases = {
        {"straight middle", Straight(), 0.5f, 50, 25, 15, 20},
        {"straight end", Straight(), 1.0f, 100, 50, 20, 30},
        {"straight past", Straight(), 1.5f, 100, 50, 20, 30},
        {"before the first: the last", Straight(), -0.1f, 100, 50, 20, 30},
        {"quadratic", quad, 0.5f, 50, 50, 7, 8},
        {"cubic", cubic, 0.5f, 50, 75, 7, 8},
        {"cubic quarter", cubic, 0.25f, 15.625f, 56.25f, 7, 8},
        {"unknown shape moves nothing", odd, 0.5f, -1, -2, 7, 8},
    };
    for (const auto& c : cases) {
        TDim target;
        target.SetData(-1, -2, 7, 8);
        target.x1 = 11;
        target.isBezier = 2;
        target.isSplaszczenie = 4;
        c.track->PutDim(target, c.per);
        EXPECT_FLOAT_EQ(target.x, c.x) << c.name;
        EXPECT_FLOAT_EQ(target.y, c.y) << c.name;
        EXPECT_FLOAT_EQ(target.w, c.w) << c.name;
        EXPECT_FLOAT_EQ(target.h, c.h) << c.name;
        EXPECT_EQ(target.position, c.per) << c.name;
        EXPECT_EQ(target.x1, 11) << c.name;  // control points and kinds stay
        EXPECT_EQ(target.isBezier, 2) << c.name;
        EXPECT_EQ(target.isSplaszczenie, 4) << c.name;
    }
    // GetDim: a fresh rectangle, so a curved point has w and h 0.
    const auto got = quad->GetDim(0.5f);
    EXPECT_EQ(got->w, 0);
    EXPECT_EQ(got->isBezier, 0);
}

TEST_F(Tracks, OneStopAndNoStop) {
    auto single = CreateAppTrack({Stop(0.3f, 4, 5, 6, 7, 1, 8, 9)});
    TDim target;
    single->PutDim(target, 0.9f);
    EXPECT_EQ(target.ToString(), single->dim[0]->ToString());  // position and control points too
    const auto split = single->SplitIn(0.5f);
    EXPECT_EQ(split->position, 0.3f);
    EXPECT_EQ(single->dim.size(), 2u);

    TTrack empty;
    TDim untouched;
    untouched.SetData(1, 2, 3, 4);
    empty.PutDim(untouched, 0.5f);
    EXPECT_EQ(untouched.x, 1);
    EXPECT_EQ(untouched.h, 4);
}

TEST_F(Tracks, EditingStops) {
    auto t = CreateAppTrack({Stop(0, 0, 0), Stop(1, 10, 10)});
    auto mid = Stop(0.5f, 3, 3);
    t->PutIn(mid);
    EXPECT_EQ(Positions(*t), (std::vector<float>{0, 0.5f, 1}));
    EXPECT_EQ(t->dim[1], mid);
    mid->x = 99;  // kept by reference
    EXPECT_EQ(t->GetDim(0.5f)->x, 99);
    auto same = Stop(0.5004f, 0, 0);
    t->PutIn(same);
    EXPECT_EQ(t->dim[2], same);  // within a thousandth: after the old one

    t->RemoveDim(1);
    EXPECT_EQ(Positions(*t), (std::vector<float>{0, 0.5004f, 1}));
    t->RemoveDim(3);
    t->RemoveDim(-1);
    EXPECT_EQ(t->dim.size(), 3u);

    // Splitting a straight segment keeps the path.
    auto s = Straight();
    const auto d = s->SplitIn(0.25f);
    EXPECT_EQ(Positions(*s), (std::vector<float>{0, 0.25f, 1}));
    EXPECT_FLOAT_EQ(d->x, 25);
    EXPECT_FLOAT_EQ(s->GetDim(0.75f)->x, 75);

    auto copy = s->Copy();
    copy->dim[0]->x = 500;
    EXPECT_EQ(s->dim[0]->x, 0);
    s->Free();
    EXPECT_TRUE(s->dim.empty());
}

TEST_F(Tracks, TextFormAndTheTwoStopRule) {
    EXPECT_EQ(Straight()->ToString(), kStraightText);
    TTrack back;
    back.FromString(kStraightText);
    EXPECT_EQ(back.ToString(), kStraightText);
    auto curved = CreateAppTrack({Stop(0.9f, 1.5f, -2, 0, 0, 2, 3, 4, 5, 6), Stop(0.1f, 0.123456789f, 1e-7f)});
    back.FromString(curved->ToString());
    EXPECT_EQ(back.ToString(), curved->ToString());
    EXPECT_EQ(Positions(back), (std::vector<float>{0.9f, 0.1f}));  // not sorted
    back.FromString("");
    EXPECT_TRUE(back.dim.empty());

    EXPECT_EQ(Positions(*CreateAppTrack({Stop(0, 0, 0), Stop(0, 1, 1)})), (std::vector<float>{0, 1}));
    EXPECT_EQ(Positions(*CreateAppTrack({Stop(0, 0, 0)})), (std::vector<float>{0}));
    EXPECT_EQ(Positions(*CreateAppTrack({Stop(0, 0, 0), Stop(0, 0, 0), Stop(0, 0, 0)})), (std::vector<float>{0, 0, 0}));
    back.FromString("0,0|1,1,0,0,0,0,0,0,0");
    EXPECT_EQ(Positions(back), (std::vector<float>{0, 0}));  // FromString does not apply the rule
}

TEST_F(Tracks, TrackFiles) {
    testsupport::TempDir dir;
    const std::string single = dir.file("one.track");
    SaveAppTrackFile(Straight(), single);
    EXPECT_EQ(testsupport::ReadFileBytes(single), kStraightText);
    testsupport::WriteFileBytes(single, "  " + kStraightText + "\r\n  \t");
    EXPECT_EQ(LoadAppTrackFile(single)->ToString(), kStraightText);
    EXPECT_TRUE(LoadAppTrackFile(dir.file("missing.track"))->dim.empty());

    const std::string list = dir.file("tracks.txt");
    auto other = CreateAppTrack({Stop(0, 1, 2)});
    SaveAppTracksArray({Straight(), other, std::make_shared<TTrack>()}, list);
    EXPECT_EQ(testsupport::ReadFileBytes(list),
              "Track = \"" + kStraightText + "\"\nTrack = \"" + other->ToString() + "\"\nTrack = \"\"\n");
    const auto back = LoadAppTrackArray(list);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0]->ToString(), kStraightText);
    EXPECT_EQ(back[1]->ToString(), other->ToString());
    EXPECT_TRUE(back[2]->dim.empty());

    // Any entry name counts; blocks are skipped.
    testsupport::WriteFileBytes(list,
                                "Path = \"" + kStraightText + "\"\nInner{\n\tTrack = \"1,2\"\n}\nOther = \"5,6\"\n");
    const auto mixed = LoadAppTrackArray(list);
    ASSERT_EQ(mixed.size(), 2u);
    EXPECT_EQ(mixed[0]->ToString(), kStraightText);
    EXPECT_EQ(mixed[1]->dim.at(0)->x, 5);
    EXPECT_TRUE(LoadAppTrackArray(dir.file("missing.txt")).empty());
}

struct FakeState {
    TDim dim;  // held by value here, to show both kinds of state work
};
struct FakeObject {
    std::shared_ptr<FakeState> CurrState, DefaultState;
    std::vector<std::shared_ptr<FakeState>> States;
};

TEST_F(Tracks, GameObjectDefaultTrackStaysOnTheStatesRectangle) {
    FakeObject object;
    object.CurrState = std::make_shared<FakeState>();
    object.CurrState->dim.SetData(10, 20, 30, 40);
    object.CurrState->dim.position = 0.6f;
    auto track = CreateGameObjectDefaultTrack(object);
    EXPECT_EQ(Positions(*track), (std::vector<float>{0, 1}));
    for (float per : {0.0f, 0.3f, 1.0f}) {
        const auto d = track->GetDim(per);
        EXPECT_EQ(d->x, 10);
        EXPECT_EQ(d->y, 20);
        EXPECT_EQ(d->h, 40);
    }
    EXPECT_EQ(object.CurrState->dim.position, 0.6f);  // the state is not changed

    FakeObject byDefault;
    byDefault.States.push_back(std::make_shared<FakeState>());
    byDefault.States[0]->dim.SetData(1, 2, 3, 4);
    EXPECT_EQ(CreateGameObjectDefaultTrack(byDefault)->GetDim(0.5f)->y, 2);
    EXPECT_EQ(byDefault.DefaultState, byDefault.States[0]);
    FakeObject stateless;
    EXPECT_EQ(CreateGameObjectDefaultTrack(stateless)->dim.size(), 2u);
    auto shared = std::make_shared<FakeObject>(object);
    EXPECT_EQ(CreateGameObjectDefaultTrack(shared)->GetDim(0.5f)->x, 10);
}

}  // namespace
