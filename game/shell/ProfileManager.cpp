#include "game/shell/ProfileManager.h"

#include "engine/data/BlockFile.h"
#include "engine/media/SoundManager.h"
#include "engine/screen/Control.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

TProfileManagerPtr Profiles;

namespace {

const char* const kSource = "ProfileManager";

// The start player's name when the pop-up's text file has none.
const char* const kStartPlayerName = "Player";

// The music rotation goes on from the current player's counter.
bool GetMusicNumberOfProfile(int& number) {
    if (!Profile) return false;
    number = Profile->CurrMusicNumber;
    return true;
}

void SetMusicNumberOfProfile(int number) {
    if (Profile) Profile->CurrMusicNumber = number;
}

}  // namespace

std::string TProfileManager::IndexPath() { return AppDataFolder + "/Profiles/Profiles.dat"; }

std::string TProfileManager::ProfilePath(const std::string& id) {
    return AppDataFolder + "/Profiles/" + id + ".AppProfile";
}

int TProfileManager::SetCurrProfile(const TProfilePtr& profile) {
    CurrProfile = profile;
    Profile = profile;
    return 0;
}

int TProfileManager::SetCurrProfileById(const std::string& id) {
    for (const auto& profile : ProfilesList)
        if (profile->FileName == id) return SetCurrProfile(profile);
    if (!ProfilesList.empty()) SetCurrProfile(ProfilesList.front());
    return 0;
}

int TProfileManager::CreateStartProfile() {
    auto profile = std::make_shared<TProfile>();
    std::string startName = Trim(TxtFile ? GetTxt(2) : "");
    if (startName.empty()) startName = kStartPlayerName;
    profile->SetName(startName);
    // A progress file left under this Id (an index lost or set aside) is read rather than
    // overwritten.
    if (FileType(ProfilePath(profile->FileName)) == 1) profile->Load(ProfilePath(profile->FileName));
    ProfilesList.push_back(profile);
    return SetCurrProfile(profile);
}

int TProfileManager::InitProfiles() {
    CreateStartProfile();
    SetCurrProfile(ProfilesList.front());
    // Nothing was there to read: the start player is all there is.
    isProfilesRead = 1;
    return SaveAtEnd();
}

int TProfileManager::SaveAtEnd() {
    if (!isProfilesRead) return 0;
    auto root = CreateBlockFile(IndexPath());
    auto settings = CreateBlockFile("Settings", root);
    if (CurrProfile) {
        AddStringToBlock(settings, "CurrProfile", CurrProfile->FileName);
    } else if (!ProfilesList.empty()) {
        SetCurrProfile(ProfilesList.front());
        AddStringToBlock(settings, "CurrProfile", CurrProfile->FileName);
    }
    bool allWritten = true;
    for (const auto& profile : ProfilesList) {
        auto block = CreateBlockFile("Profile", root);
        profile->InitID();
        AddStringToBlock(block, "Id", profile->FileName);
        AddStringToBlock(block, "Name", profile->name);
        profile->InitSave(AppDataFolder + "/Profiles");
        if (!profile->Save(ProfilePath(profile->FileName))) allWritten = false;
    }
    // The current player's Id may have changed with its name just above.
    if (CurrProfile) AddStringToBlock(settings, "CurrProfile", CurrProfile->FileName);
    if (!allWritten) {
        Error("A player's progress couldn't be written; the list of players is left as it was", kSource,
              "TProfileManager :: SaveAtEnd()");
        return 0;
    }
    SaveBlockFile(root);
    return 0;
}

int TProfileManager::OnSetup() {
    AppSoundManager::GetMusicNumber = GetMusicNumberOfProfile;
    AppSoundManager::SetMusicNumber = SetMusicNumberOfProfile;

    const std::string indexPath = IndexPath();
    if (FileType(indexPath) != 1) return InitProfiles();

    bool whole = false;
    auto index = LoadBlockFileChecked(indexPath, whole);
    if (!whole || GetBlockFilesList(index, "Settings").empty()) {
        Error("The list of players " + indexPath + " is damaged; starting with a new player", kSource,
              "TProfileManager :: OnSetup()");
        SetFileAside(indexPath);
        ProfilesList.clear();
        return InitProfiles();
    }

    const std::string currId = GetBFString(index, "Settings::CurrProfile");
    ProfilesList.clear();
    for (const auto& block : GetBlockFilesList(index, "Profile")) {
        auto profile = std::make_shared<TProfile>();
        profile->SetName(GetBFString(block, "Name"));
        // The player's files are named by the Id derived from the name: the index's own "Id"
        // is a text anyone may have edited, and is never used as a path.
        const std::string listedId = GetBFString(block, "Id");
        if (listedId != profile->FileName)
            Warning("The list of players gives '" + profile->name + "' the Id '" + listedId + "'; reading " +
                        profile->FileName + ".AppProfile",
                    kSource, "TProfileManager :: OnSetup()");
        profile->Load(ProfilePath(profile->FileName));
        ProfilesList.push_back(profile);
    }
    if (ProfilesList.empty()) CreateStartProfile();
    SetCurrProfileById(currId);
    isProfilesRead = 1;
    return 0;
}

TProfileManagerPtr CreateProfileManager() {
    auto manager = std::make_shared<TProfileManager>();
    manager->isAtEndSetuped = 1;
    manager->Init("ProfileManager", bDir + "PopUps/Profiles/Profiles.AppPopUp");
    Control::AddToSaveList(manager);
    return manager;
}
