#include "engine/data/Track.h"

#include "engine/data/Keyframes.h"
#include "engine/data/Interpolation.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/data/BlockFile.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::shared_ptr<TDim> TTrack::OpDIM1;
std::shared_ptr<TDim> TTrack::OpDIM2;
float TTrack::Per = 0.0f;

void ResetTrackScratch() {
    TTrack::OpDIM1.reset();
    TTrack::OpDIM2.reset();
    TTrack::Per = 0.0f;
}

int TTrack::Free() {
    dim = TDimArray();
    return 0;
}

std::shared_ptr<TTrack> TTrack::Copy() const {
    auto out = std::make_shared<TTrack>();
    out->dim = CopyEach(dim, true);
    return out;
}

std::shared_ptr<TDim> TTrack::GetDim(float per) {
    auto out = std::make_shared<TDim>();
    PutDim(*out, per);
    return out;
}

int TTrack::PutDim(TDim& target, float per) {
    if (dim.size() == 1 && dim[0]) {
        target.SetDataFromOtherDim(*dim[0]);
        return 0;
    }
    target.position = per;
    FindTwo(per);
    if (!OpDIM1 || !OpDIM2) return 0;  // no stops: nothing more to write
    const TDim& a = *OpDIM1;
    const TDim& b = *OpDIM2;
    switch (a.isBezier) {
        case 0: LerpDim(target, a, b, Per); break;
        case 1: QuadBezierDimXY(target, a, b, a.x1, a.y1, Per); break;
        case 2: CubicBezierDimXY(target, a, b, a.x1, a.y1, a.x2, a.y2, Per); break;
        default: break;  // an unknown shape moves nothing
    }
    return 0;
}

int TTrack::FindTwo(float per) {
    const TStopPair<TDim> two = StopsAround(dim, per, &TDim::position);
    OpDIM1 = two.lo;
    OpDIM2 = two.hi;
    Per = two.per;
    return 0;
}

int32_t TTrack::TrackSortFunction(const TDim& a, const TDim& b) { return PositionOrder(a.position, b.position); }

int TTrack::Sort() {
    static const TDim origin;  // a missing stop sorts as position 0
    SortStops(dim, &TrackSortFunction, origin);
    return 0;
}

int TTrack::PutIn(const std::shared_ptr<TDim>& stop) {
    if (!stop) return 0;
    TDimArray grown;
    grown.reserve(dim.size() + 1);
    grown = dim;
    grown.push_back(stop);
    dim = std::move(grown);
    return Sort();
}

std::shared_ptr<TDim> TTrack::SplitIn(float per) {
    auto stop = GetDim(per);
    PutIn(stop);
    return stop;
}

int TTrack::RemoveDim(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= dim.size()) return 0;
    dim.erase(dim.begin() + index);
    return 0;
}

std::string TTrack::ToString() const { return JoinTexts(dim, "|"); }

int TTrack::FromString(const std::string& text) {
    TDimArray stops;
    for (const auto& piece : SplitString(text, "|")) stops.push_back(LoadDimFromString(piece));
    dim = std::move(stops);
    return 0;
}

TTrackPtr CreateAppTrack(TDimArray stops) {
    auto track = std::make_shared<TTrack>();
    if (stops.size() == 2 && stops[1] && stops[1]->position == 0.0f) stops[1]->position = 1.0f;
    track->dim = std::move(stops);
    return track;
}

int SaveAppTrackFile(const TTrackPtr& track, const std::string& path) {
    const std::string text = track ? track->ToString() : "";
    if (!SaveText(text, path)) Error("Cannot write the track file! Url = " + path, Here());
    return 0;
}

TTrackPtr LoadAppTrackFile(const std::string& path) {
    auto track = std::make_shared<TTrack>();
    bool ok = false;
    const std::string text = (FileType(path) == 1) ? LoadText(path, &ok) : std::string();
    if (!ok) {
        ErrorNoFile(path, Here());
        return track;
    }
    track->FromString(Trim(text));
    return track;
}

int SaveAppTracksArray(const std::vector<TTrackPtr>& tracks, const std::string& path) {
    const auto root = CreateBlockFile(path);
    for (const auto& track : tracks) AddStringToBlock(root, "Track", track ? track->ToString() : "", 0, 1);
    SaveBlockFile(root);  // reports its own failure
    return 0;
}

std::vector<TTrackPtr> LoadAppTrackArray(const std::string& path) {
    std::vector<TTrackPtr> out;
    const auto root = LoadBlockFile(path);  // a missing file is reported and reads empty
    if (!root) return out;
    for (const auto& node : root->SubFiles) {
        if (!node || node->MyType != BF_ENTRY) continue;
        auto track = std::make_shared<TTrack>();
        track->FromString(node->GetString(0));
        out.push_back(track);
    }
    return out;
}
