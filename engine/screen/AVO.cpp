#include "engine/screen/AVO.h"

#include "engine/screen/DrawObject.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

TAppVectorObjPtr TAVO::_LoadedAvo() const { return AVOAsset ? AVOAsset->Avo : nullptr; }

TAppVectorObjPtr TAVO::_AvoOrReport() {
    TAppVectorObjPtr avo = _LoadedAvo();
    if (!avo) Error("AVO object not loaded from asset in '" + name + "'!");
    return avo;
}

// ---------------------------------------------------------------------------------------------
// Playback

int TAVO::ResetAnimationTimer(int32_t time) {
    if (!Timer) Timer = CreateAppPerTimer(time);
    else Timer->Reset(time);
    return 0;
}

int TAVO::SetAnimPer(float per) {
    CurrAnimPer = per;
    return 0;
}

int TAVO::SetAnimAndFrame(const std::string& animName, float per) {
    TAppVectorObjPtr avo = _AvoOrReport();
    if (!avo) return 0;
    if (!avo->GetAnim(animName)) Error("No animation '" + animName + "' in the AVO object of '" + name + "'!");
    return avo->SetCurrAnim(animName, per);
}

int TAVO::SetAnimAndFrameInd(int ind, float per) {
    TAppVectorObjPtr avo = _AvoOrReport();
    if (avo) avo->SetCurrAnimInd(ind, per);
    return 0;
}

int TAVO::PlayAnim(const std::string& animName, int32_t time, int32_t looped) {
    CurrAnimInd = SetAnimAndFrame(animName, 0.0f);
    // An object without animations has nothing to fall back on.
    if (TAppVectorObjPtr avo = _LoadedAvo(); avo && avo->anims.empty()) CurrAnimInd = -1;
    isLooped = looped;
    isPaused = 0;
    CurrAnimTime = time;
    ResetAnimationTimer(time);
    return 0;
}

int TAVO::PlayAnimInd(int ind, int32_t time, int32_t looped) {
    if (TAppVectorObjPtr avo = _LoadedAvo(); avo && (ind < 0 || ind >= static_cast<int>(avo->anims.size()))) {
        Error("No animation number " + IntToString(ind) + " in the AVO object of '" + name + "'!");
        return 0;
    }
    SetAnimAndFrameInd(ind, 0.0f);
    isLooped = looped;
    isPaused = 0;
    CurrAnimInd = ind;
    CurrAnimTime = time;
    ResetAnimationTimer(time);
    return 0;
}

int TAVO::StopAnim() {
    isPaused = 1;
    ResetAnimationTimer(CurrAnimTime);
    SetAnimAndFrameInd(CurrAnimInd, 0.0f);
    SetAnimPer(0.0f);
    return 0;
}

int TAVO::PauseAnim() {
    isPaused = 1;
    return 0;
}

int TAVO::ContinueAnim() {
    if (CurrAnimInd != -1) isPaused = 0;
    return 0;
}

int TAVO::ClearAnim() {
    isPaused = 1;
    CurrAnimInd = -1;
    SetAnimAndFrameInd(0, 0.0f);
    return 0;
}

int TAVO::isPlayingAnim() { return (CurrAnimInd >= 0 && isPaused == 0) ? 1 : 0; }

int TAVO::UpdateObject() {
    TAppVectorObjPtr avo = _LoadedAvo();
    if (!avo || CurrAnimInd == -1) return 0;
    if (isPaused == 0) {
        if (!Timer) ResetAnimationTimer(CurrAnimTime);
        SetAnimPer(Timer->Count(0));
    }
    // Written every update, also while paused: other objects may share the asset.
    avo->SetCurrAnimInd(CurrAnimInd, CurrAnimPer);
    if (CurrAnimPer == 1.0f && isLooped != 0) ResetAnimationTimer(CurrAnimTime);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Asset, copying, files

int TAVO::SetAVO(const TAVOAssetPtr& asset) {
    AVOAsset = asset;
    SetDrawObject(CreateAppDrawObject_AVO(asset, 64, 64));
    return 0;
}

TGameObjectPtr TAVO::Copy() {
    auto copy = std::make_shared<TAVO>();
    CopyStandard(copy.get());
    copy->SetAVO(AVOAsset);
    return copy;
}

int TAVO::CopyMyAVOFile(const TBlockFilePtr& /*block*/) {
    if (AVOAsset) ExportCopy(AVOAsset->url, Replace(Prefix + "/avo.avobj", "//", "/"), "AVO", CopyFile);
    return 0;
}

int TAVO::CopyMyAVODir(const TBlockFilePtr& /*block*/) {
    if (AVOAsset) ExportCopy(AVOAsset->url, Replace(Prefix + "/AVO", "//", "/"), "AVO", CopyDir);
    return 0;
}

int TAVO::SaveMyData(const TBlockFilePtr& block) {
    if (!AVOAsset) return 0;
    if (isExporting != 0) {
        switch (FileType(ConvertAppPath(AVOAsset->url))) {
            case 1: return CopyMyAVOFile(block);
            case 2: return CopyMyAVODir(block);
            default: break;
        }
    }
    AddStringToBlock(block, "AVOUrl", AVOAsset->url, 0);
    return 0;
}

int TAVO::LoadMyData(const TBlockFilePtr& block, TLoadList* /*list*/) {
    std::string url = GetBFString(block, "AVOUrl", 0);
    if (url.empty()) {
        if (FileType(Prefix + "avo.avobj") == 1) {
            url = Prefix + "avo.avobj";
        } else if (FileType(Prefix + "avo") == 2) {
            url = Prefix + "avo";
        } else {
            CriticalError("Couldn't load AVO '" + Prefix + "avo" + "'!");
            return 0;
        }
    }
    SetAVO(CreateEmptyAVOAsset(url));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Creating

namespace {
TAVOPtr NewAVOAt(float x, float y, TGameObject* parent, const TAVOAssetPtr& asset) {
    auto obj = std::make_shared<TAVO>();
    obj->name = obj->GetTypeStr();
    if (obj->DefaultState && obj->DefaultState->dim) {
        obj->DefaultState->dim->x = x;
        obj->DefaultState->dim->y = y;
    }
    obj->SetCurrState(obj->DefaultState);
    if (asset) obj->SetAVO(asset);
    if (parent) parent->AddSubObject(obj);
    return obj;
}
}  // namespace

TAVOPtr CreateAVO(const std::string& path, float x, float y, TGameObject* parent) {
    return NewAVOAt(x, y, parent, path.empty() ? nullptr : CreateAVOAsset(LoadAVO(path, 0), path));
}

TAVOPtr CreateAVO(const TAppVectorObjPtr& avo, float x, float y, TGameObject* parent) {
    return NewAVOAt(x, y, parent, avo ? CreateAVOAsset(avo, "") : nullptr);
}

void InstallAVO() {
    RegisterGameObjectType(4, [] { return std::make_shared<TAVO>(); });
}
