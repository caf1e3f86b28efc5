#include "game/shell/ProfileManager.h"

#include <algorithm>
#include <set>

#include "engine/data/BlockFile.h"
#include "engine/media/SoundManager.h"
#include "engine/screen/Control.h"
#include "engine/system/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/ui/Mouse.h"
#include "game/shell/EnterName.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/PanelAnimation.h"
#include "game/progress/PlayerNames.h"
#include "game/shell/PopUpWidgets.h"
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

constexpr int PanelId = 1, OkId = 101, NewId = 102, RenameId = 103, DeleteId = 104;
constexpr int FirstSlotId = 201, FirstMarkId = 301;
constexpr int StartNameLine = 2, DeleteQuestionLine = 7;

const char* const kProgressExt = ".AppProfile";

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
    if (isIndexKept != 0 && FileType(IndexPath()) == 1) {
        Error("The unreadable list of players " + IndexPath() + " is kept as it is and not written over", kSource,
              "TProfileManager :: SaveAtEnd()");
        return 0;
    }
    SaveBlockFile(root);
    return 0;
}

bool TProfileManager::_addReadProfile(const TProfilePtr& profile, const std::string& from) {
    for (const auto& other : ProfilesList) {
        if (other->FileName == profile->FileName) {
            Warning("'" + profile->name + "' of " + from + " is listed already; left out", kSource,
                    "TProfileManager :: OnSetup()");
            return false;
        }
    }
    if (static_cast<int>(ProfilesList.size()) >= MaxProfilesPerPage) {
        Warning("There are slots for " + std::to_string(MaxProfilesPerPage) + " players only; '" + profile->name +
                    "' of " + from + " is left out (the files stay as they are)",
                kSource, "TProfileManager :: OnSetup()");
        return false;
    }
    ProfilesList.push_back(profile);
    return true;
}

int TProfileManager::RebuildProfilesList() {
    const std::string folder = AppDataFolder + "/Profiles";
    struct Found {
        std::string file;
        int64_t time;
    };
    std::vector<Found> files;
    for (const std::string& name : ReadDir(folder))
        if (EndsWith(name, kProgressExt) && name.size() > std::string(kProgressExt).size() &&
            FileType(folder + "/" + name) == 1)
            files.push_back({name, FileTime(folder + "/" + name)});
    // Players deleted from the list leave their files behind: when there are more files than
    // slots, the most recently written ones are the players of the list.
    std::stable_sort(files.begin(), files.end(), [](const Found& a, const Found& b) { return a.time > b.time; });

    ProfilesList.clear();
    std::vector<TProfilePtr> found;
    for (const Found& f : files) {
        if (static_cast<int>(found.size()) >= MaxProfilesPerPage) {
            Warning("There are slots for " + std::to_string(MaxProfilesPerPage) + " players only; " + f.file +
                        " is left out",
                    kSource, "TProfileManager :: RebuildProfilesList()");
            continue;
        }
        auto profile = std::make_shared<TProfile>();
        // The file's own name is the player's; a file that cannot be read was set aside.
        if (!profile->Load(folder + "/" + f.file) || profile->name.empty()) continue;
        profile->InitID();
        bool listed = false;
        for (const auto& other : found) listed = listed || other->FileName == profile->FileName;
        if (listed) {
            Warning(f.file + " names a player listed already; left out", kSource,
                    "TProfileManager :: RebuildProfilesList()");
            continue;
        }
        found.push_back(profile);
    }
    std::sort(found.begin(), found.end(),
              [](const TProfilePtr& a, const TProfilePtr& b) { return a->FileName < b->FileName; });
    ProfilesList = found;
    std::string names;
    for (const auto& profile : ProfilesList) names += (names.empty() ? "" : ", ") + profile->name;
    if (!ProfilesList.empty())
        Error("The list of players was rebuilt from " + std::to_string(ProfilesList.size()) +
                  " progress file(s) in " + folder + ": " + names,
              kSource, "TProfileManager :: RebuildProfilesList()");
    return static_cast<int>(ProfilesList.size());
}

int TProfileManager::OnSetup() {
    AppSoundManager::GetMusicNumber = GetMusicNumberOfProfile;
    AppSoundManager::SetMusicNumber = SetMusicNumberOfProfile;

    const std::string indexPath = IndexPath();
    std::string currId;
    ProfilesList.clear();
    if (FileType(indexPath) != 1) {
        // No list: a first run, unless players' files are there (the list was lost).
        if (RebuildProfilesList() == 0) return InitProfiles();
    } else {
        bool whole = false;
        auto index = LoadBlockFileChecked(indexPath, whole);
        if (!whole || GetBlockFilesList(index, "Settings").empty()) {
            Error("The list of players " + indexPath + " is damaged", kSource, "TProfileManager :: OnSetup()");
            if (SetFileAside(indexPath).empty()) isIndexKept = 1;
            if (RebuildProfilesList() == 0) return InitProfiles();
        } else {
            currId = GetBFString(index, "Settings::CurrProfile");
            // The Ids of every player listed, and of every name taken from a progress file.
            std::set<std::string> takenIds;
            for (const auto& block : GetBlockFilesList(index, "Profile")) {
                TProfile listed;
                listed.SetName(GetBFString(block, "Name"));
                takenIds.insert(listed.FileName);
            }
            for (const auto& block : GetBlockFilesList(index, "Profile")) {
                auto profile = std::make_shared<TProfile>();
                profile->SetName(GetBFString(block, "Name"));
                // The player's files are named by the Id derived from the name: the index's own
                // "Id" is a text anyone may have edited, and is never used as a path.
                const std::string listedId = GetBFString(block, "Id");
                if (listedId != profile->FileName)
                    Warning("The list of players gives '" + profile->name + "' the Id '" + listedId + "'; reading " +
                                profile->FileName + kProgressExt,
                            kSource, "TProfileManager :: OnSetup()");
                if (profile->FileName.empty()) {
                    Warning("A player without a name in the list of players is left out", kSource,
                            "TProfileManager :: OnSetup()");
                    continue;
                }
                // Checked before the file is read, so that a player left out touches no file.
                if (_addReadProfile(profile, indexPath)) {
                    const std::string listedName = profile->name;
                    const std::string file = ProfilePath(profile->FileName);
                    profile->Load(file);
                    // The progress file names its player, and a new name moves the player to the
                    // Id of that name at the next save. A name whose Id another player has (or
                    // takes) would put this player's progress over that player's: the list's
                    // name, which names this file, is kept then.
                    TProfile named;
                    named.SetName(profile->name);
                    if (named.FileName != profile->FileName) {
                        if (takenIds.count(named.FileName) != 0) {
                            Warning(file + " names its player '" + profile->name +
                                        "', another player's name; the name '" + listedName + "' is kept",
                                    kSource, "TProfileManager :: OnSetup()");
                            profile->SetName(listedName);
                        } else {
                            takenIds.insert(named.FileName);
                        }
                    }
                }
            }
            if (ProfilesList.empty()) RebuildProfilesList();
        }
    }
    if (ProfilesList.empty()) CreateStartProfile();
    SetCurrProfileById(currId);
    isProfilesRead = 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The pop-up

int TProfileManager::OnStart() {
    MainPanel = FindObjectInd(PanelId);
    ButtonOk = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(OkId));
    ButtonNew = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(NewId));
    ButtonRename = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(RenameId));
    ButtonDelete = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(DeleteId));
    for (int k = 0; k < MaxProfilesPerPage; ++k) {
        ProfileButton[k] = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(FirstSlotId + k));
        ProfilePicked[k] = std::dynamic_pointer_cast<TUIImage>(FindObjectInd(FirstMarkId + k));
    }
    return 0;
}

int TProfileManager::OnShow() {
    ResetDelta();
    PlayPanelShow(MainPanel.get());
    ShowProfiles();
    return 0;
}

int TProfileManager::StartHiding() {
    PlayPanelHide(MainPanel.get());
    return 0;
}

int TProfileManager::isHiddingFinished() { return isPanelHidden(MainPanel.get()) ? 1 : 0; }

int TProfileManager::OnHideCheck() { return isHiddingFinished(); }

int TProfileManager::SetProfileButton(const TUIButtonPtr& button, const std::string& text) {
    if (!button) return 0;
    for (const auto& sub : button->SubText)
        if (sub) sub->SetText(text);
    return 0;
}

int TProfileManager::ShowProfiles() {
    for (int k = 0; k < MaxProfilesPerPage; ++k) {
        SetEnabled(ProfileButton[k], false);
        SetEnabled(ProfilePicked[k], false);
    }
    const int shown = std::min(static_cast<int>(ProfilesList.size()), static_cast<int>(MaxProfilesPerPage));
    for (int k = 0; k < shown; ++k) {
        const TProfilePtr& profile = ProfilesList[k];
        SetProfileButton(ProfileButton[k], profile->name);
        SetEnabled(ProfileButton[k], true);
        if (profile == CurrProfile) SetEnabled(ProfilePicked[k], true);
        if (ProfileButton[k]) ProfileButton[k]->UpdateSettings();
        if (ProfilePicked[k]) ProfilePicked[k]->UpdateSettings();
    }
    return 0;
}

int TProfileManager::UpdateProfilesGuiView() {
    const int count = static_cast<int>(ProfilesList.size());
    if (count == 1) {
        SetEnabled(ButtonDelete, false);
    } else {
        SetEnabled(ButtonDelete, true);
        SetEnabled(ButtonNew, count < MaxProfilesPerPage);
    }
    for (int k = 0; k < MaxProfilesPerPage; ++k) SetEnabled(ProfilePicked[k], false);
    for (int k = 0; k < std::min(count, static_cast<int>(MaxProfilesPerPage)); ++k)
        if (ProfilesList[k] == CurrProfile) SetEnabled(ProfilePicked[k], true);
    return 0;
}

int TProfileManager::Update() {
    UpdateProfilesGuiView();
    return 0;
}

int TProfileManager::Interface() {
    if (isEnabledClick(*this, ButtonOk)) Action_Ok();
    if (isEnabledClick(*this, ButtonDelete)) Action_Delete();
    if (isEnabledClick(*this, ButtonRename)) Action_Rename();
    if (isEnabledClick(*this, ButtonNew)) Action_New();
    for (int k = 0; k < MaxProfilesPerPage; ++k)
        if (isEnabledClick(*this, ProfileButton[k])) PickProfile(k);
    return 0;
}

int TProfileManager::PickProfile(int index) {
    if (index < 0 || index >= static_cast<int>(ProfilesList.size())) return 0;
    return SetCurrProfile(ProfilesList[index]);
}

int TProfileManager::Action_Ok() {
    ClearClicksAndOvers();
    StartHiding();
    SaveAtEnd();
    return 0;
}

int TProfileManager::Action_Delete() {
    ClearClicksAndOvers();
    Question = 1;
    const std::string name = CurrProfile ? CurrProfile->name : std::string();
    ShowInfo(Replace(TxtFile ? GetTxt(DeleteQuestionLine) : std::string(), "#PLAYER#", name), 0, DelProfileFunc,
             EmptyFunction);
    return 0;
}

int TProfileManager::Action_Rename() {
    Question = 2;
    ClearClicksAndOvers();
    if (!EnterName) return 0;
    EnterName->SetData(GetProfilesNamesList(), CurrProfile ? CurrProfile->name : std::string());
    ShowAppPopUp(EnterName);
    return 0;
}

int TProfileManager::Action_New() {
    Question = 3;
    ClearClicksAndOvers();
    if (!EnterName) return 0;
    EnterName->SetData(GetProfilesNamesList(), "");
    ShowAppPopUp(EnterName);
    return 0;
}

int TProfileManager::OnUnlock() {
    ClearClicksAndOvers();
    Mouse::Clear();
    const bool decided = EnterName && EnterName->Decision != 0;
    if (Question == 2 && decided) RenameProfile();
    if (Question == 3 && decided) NewProfile();
    Question = 0;
    return 0;
}

int TProfileManager::DeleteProfile() {
    Question = 0;
    if (ProfilesList.size() <= 1) return 0;  // the list never becomes empty
    auto it = std::find(ProfilesList.begin(), ProfilesList.end(), CurrProfile);
    if (it != ProfilesList.end()) ProfilesList.erase(it);
    SetCurrProfile(ProfilesList.front());
    ShowProfiles();
    return 0;
}

void TProfileManager::DelProfileFunc() {
    if (Profiles) Profiles->DeleteProfile();
}

bool TProfileManager::isNameTaken(const std::string& name, const TProfile* except) {
    std::vector<std::string> others;
    for (const auto& profile : ProfilesList)
        if (profile.get() != except) others.push_back(profile->name);
    return isPlayerNameTaken(name, others);
}

int TProfileManager::RenameProfile() {
    if (!CurrProfile || !EnterName) return 0;
    const std::string name = Trim(EnterName->GetText());
    if (name.empty() || isNameTaken(name, CurrProfile.get())) {
        Error("The name '" + name + "' can't be given: it is empty or another player's", kSource,
              "TProfileManager :: RenameProfile()");
        return 0;
    }
    CurrProfile->SetName(name);
    ShowProfiles();
    return 0;
}

int TProfileManager::NewProfile() {
    if (!EnterName) return 0;
    const std::string name = Trim(EnterName->GetText());
    if (name.empty() || isNameTaken(name, nullptr) || static_cast<int>(ProfilesList.size()) >= MaxProfilesPerPage) {
        Error("No new player '" + name + "': the name is empty or another player's, or every slot is taken", kSource,
              "TProfileManager :: NewProfile()");
        return 0;
    }
    auto profile = std::make_shared<TProfile>();
    profile->SetName(name);
    ProfilesList.push_back(profile);
    SetCurrProfile(profile);
    ShowProfiles();
    return 0;
}

std::vector<std::string> TProfileManager::GetProfilesNamesList() {
    std::vector<std::string> names;
    for (const auto& profile : ProfilesList) names.push_back(UpperUnicode(profile->name));
    return names;
}

int TProfileManager::SetProfilesData(const TProfilePtr& profile, const std::vector<TProfilePtr>& list) {
    SetCurrProfile(profile);
    ProfilesList = list;
    return 0;
}

TProfilePtr CurrentProfile() { return Profiles ? Profiles->CurrProfile : nullptr; }

TProfileManagerPtr CreateProfileManager() {
    auto manager = std::make_shared<TProfileManager>();
    manager->isAtEndSetuped = 1;
    manager->Init("ProfileManager", bDir + "PopUps/Profiles/Profiles.AppPopUp");
    Control::AddToSaveList(manager);
    return manager;
}
