#include "game/shell/ProfileManager.h"

#include "engine/media/SoundManager.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "game/shell/EnterName.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/PanelAnimation.h"
#include "game/shell/PopUpWidgets.h"
#include "platform/Strings.h"

TProfileManagerPtr Profiles;

namespace {

constexpr int PanelId = 1, OkId = 101, NewId = 102, RenameId = 103, DeleteId = 104;
constexpr int FirstSlotId = 201, FirstMarkId = 301;
constexpr int StartNameLine = 2, DeleteQuestionLine = 7;
// A slot's name is centred in the slot and kept clear of the tag sewn on at its left end (14 to
// 36 pixels in) by as much on either side: a longer name is drawn smaller.
constexpr int SlotTagMargin = 40;

}  // namespace

std::string TProfileManager::StartPlayerName() { return TxtFile ? GetTxt(StartNameLine) : std::string(); }

int TProfileManager::SaveAtEnd() {
    // Players never read are not written: nothing failed.
    if (!isProfilesRead) return 0;
    return SavePlayers() == 1 ? 0 : -1;
}

int TProfileManager::OnSetup() { return ReadPlayers(); }

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

int TProfileManager::SetProfileButton(const TUIButtonPtr& button, const std::string& text) {
    if (!button) return 0;
    for (const auto& sub : button->SubText)
        if (sub) {
            sub->SetText(text);
            sub->FitToWidth(static_cast<float>(sub->Width - 2 * SlotTagMargin));
        }
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
    SavePlayers();
    return 0;
}

int TProfileManager::Action_Delete() {
    ClearClicksAndOvers();
    Question = 1;
    const std::string playerName = CurrProfile ? CurrProfile->name : std::string();
    ShowInfo(Replace(TxtFile ? GetTxt(DeleteQuestionLine) : std::string(), "#PLAYER#", playerName), 0, DelProfileFunc,
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
    if (RemoveCurrentPlayer()) ShowProfiles();
    return 0;
}

void TProfileManager::DelProfileFunc() {
    if (Profiles) Profiles->DeleteProfile();
}

int TProfileManager::RenameProfile() {
    if (EnterName && RenameCurrentPlayer(EnterName->GetText())) ShowProfiles();
    return 0;
}

int TProfileManager::NewProfile() {
    if (EnterName && AddPlayer(EnterName->GetText())) ShowProfiles();
    return 0;
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
