#include "engine/ui/SoundObject.h"
#include "engine/basics/Basics.h"

#include <cmath>
#include <limits>

#include "engine/data/Fields.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

int NoAsset(const std::string& what, const std::string& objName) {
    Error(what + " in object '" + Upper(objName) + "': No Sound Asset!");
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Playing

int TSoundObject::SetVolume(float v) {
    Volume = v;
    return 0;
}

int TSoundObject::Sound_Play(float vol, float target, float speed) {
    if (!Snd) return NoAsset("Can't play sound", name);
    if (vol == -1.0f) vol = 1.0f;
    if (target == -1.0f) target = 1.0f;
    Snd->Play(vol, target, speed);
    return 0;
}

int TSoundObject::Sound_Resume() {
    if (!Snd) return NoAsset("Can't resume playing sound", name);
    Snd->Resume();
    return 0;
}

int TSoundObject::Sound_Pause() {
    if (!Snd) return NoAsset("Can't pause playing sound", name);
    Snd->Pause();
    return 0;
}

int TSoundObject::Sound_Stop() {
    if (!Snd) return NoAsset("Can't stop playing sound", name);
    Snd->Stop();
    return 0;
}

int TSoundObject::Sound_Hide(float speed) {
    if (Snd) Snd->Hide(speed);
    return 0;
}

int TSoundObject::SetDataToAsset() {
    if (!Snd) return 0;
    Snd->isLooped = isLooped;
    Snd->isMusic = isMusic;
    Snd->isLoadedOnDemand = isLoadedOnDemand;
    Snd->TimeInterwal = TimeInterwal;
    Snd->SetData();
    return 0;
}

int TSoundObject::SetSnd(const std::shared_ptr<TSoundAsset>& asset) {
    Snd = asset;
    return 0;
}

int TSoundObject::OnFree() {
    if (!Snd) return 0;
    Snd->FreeAsset();
    Snd = nullptr;
    return 0;
}

namespace {
using S = TSoundObject;
constexpr TField<S> kSoundFields[] = {
    {"isLooped", 0, &S::isLooped, FieldForm::Number},
    {"isMusic", 0, &S::isMusic, FieldForm::Number},
    {"isLoadedOnDemand", 0, &S::isLoadedOnDemand, FieldForm::Number},
    {"Volume", 0, &S::Volume},
    {"TimeStep", 0, &S::TimeInterwal, FieldForm::Number},
    {nullptr, 0, &S::DontSaveUrl},
};
}  // namespace

TGameObjectPtr TSoundObject::Copy() {
    auto copy = std::make_shared<TSoundObject>();
    CopyStandard(copy.get());
    copy->Snd = Snd;
    CopyFields(*copy, *this, kSoundFields);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Files

int TSoundObject::SaveMyData(const TBlockFilePtr& block) {
    if (!Snd) return 0;
    if (DontSaveUrl == 0) {
        if (isExporting != 0) {
            // The export carries a copy of the sound file beside the object.
            ExportCopy(Snd->url, PathInFolder(Prefix, "sound." + ExtractExt(Snd->url)), "sound", CopyFile);
        } else {
            AddStringToBlock(block, "SoundUrl", Snd->url, 0);
        }
    }
    SaveFields(block, *this, kSoundFields);
    return 0;
}

int TSoundObject::LoadMyData(const TBlockFilePtr& block, TLoadList* /*list*/) {
    std::string url = GetBFString(block, "SoundUrl", 0);
    if (url.empty()) {
        url = PathInFolder(Prefix, "sound.ogg");
        if (FileType(url) != 1) url = PathInFolder(Prefix, "sound.wav");
    }
    // A sound named after the object beside the screen file overrides the saved path; ".wav"
    // wins over ".ogg".
    if (TAppScreen* screen = TAppScreen::CurrentlyLoadingScreen) {
        const std::string dir = ExtractDir(screen->FileUrl);
        for (const char* ext : {".ogg", ".wav"}) {
            const std::string path = FileBesideScreen(dir, name, ext);
            if (!path.empty() && FileType(path) != 0) {
                url = path;
                DontSaveUrl = 1;
            }
        }
    }
    LoadFields(block, *this, kSoundFields);
    SetSnd(CreateEmptySoundAsset(url, isLooped, isMusic, isLoadedOnDemand));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Creating

TSoundObjectPtr CreateSoundObject(const TSoundSource& src, int isLooped, int isMusic, int isLoadedOnDemand,
                                  TGameObject* parent) {
    auto obj = std::make_shared<TSoundObject>();
    obj->name = obj->GetTypeStr();
    if (const auto* path = std::get_if<std::string>(&src); path && !path->empty()) {
        TAppSoundPtr sound = CreateAppSound(*path, isLooped, isMusic);
        obj->SetSnd(CreateSoundAsset(sound, isLooped, isMusic, isLoadedOnDemand));
    } else if (const auto* sound = std::get_if<TAppSoundPtr>(&src); sound && *sound) {
        obj->SetSnd(CreateSoundAsset(*sound, isLooped, isMusic, isLoadedOnDemand));
    }
    if (parent != nullptr) parent->AddSubObject(obj);
    return obj;
}

void InstallSoundObject() {
    RegisterGameObjectType(8, [] { return std::make_shared<TSoundObject>(); });
}
