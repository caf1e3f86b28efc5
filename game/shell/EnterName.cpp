#include "game/shell/EnterName.h"

#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "game/progress/PlayerNames.h"
#include "game/shell/PanelAnimation.h"
#include "game/shell/PopUpWidgets.h"
#include "game/shell/ProfileManager.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TEnterNamePtr EnterName;

namespace {

constexpr int PanelId = 1, CursorId = 4, EnterId = 5, ErrorId = 6, OkId = 103, CancelId = 104;

}  // namespace

int TEnterName::OnStart() {
    CentPoint = FindObjectInd(PanelId);
    OkButton = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(OkId));
    CancelButton = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(CancelId));
    Cursor = std::dynamic_pointer_cast<TUIImage>(FindObjectInd(CursorId));
    Enter = std::dynamic_pointer_cast<TUIText>(FindObjectInd(EnterId));
    ErrorText = std::dynamic_pointer_cast<TUIText>(FindObjectInd(ErrorId));
    Updating();
    return 0;
}

int TEnterName::Update() {
    UpdateCheck();
    UpdateEntering();
    return 0;
}

int TEnterName::Interface() {
    if (isEnabledClick(*this, OkButton)) GoOk();
    if (isEnabledClick(*this, CancelButton)) GoCancel();
    return 0;
}

int TEnterName::UpdateCheck() {
    SetEnabled(OkButton, true);
    SetEnabled(CancelButton, true);
    SetEnabled(ErrorText, false);
    SetEnabled(OkButton, !PlayerNameKey(_entry).empty());
    if (isPlayerNameTaken(_entry, Names, EditedName)) {
        SetEnabled(ErrorText, true);
        SetEnabled(OkButton, false);
    }
    return 0;
}

int TEnterName::UpdateEntering() {
    const int code = GetChar();
    switch (code) {
        case 0: break;
        case KEY_BACKSPACE: {
            std::u32string text = Utf8ToUtf32(_entry);
            if (!text.empty()) {
                text.pop_back();
                _entry = Utf32ToUtf8(text);
                _showEntry();
            }
            break;
        }
        case KEY_ENTER:
            if (OkButton && OkButton->isEnabled != 0) GoOk();
            break;
        case KEY_ESCAPE:
            if (CancelButton && CancelButton->isEnabled != 0) GoCancel();
            break;
        default:
            if (isPlayerNameCharacter(code) && Utf8Length(_entry) < static_cast<size_t>(MaxCharacters)) {
                std::string typed;
                AppendUtf8(typed, static_cast<char32_t>(code));
                _entry += AutoUpperCase == 1 ? UpperUnicode(typed) : typed;
                _showEntry();
            }
            break;
    }
    // The caret just after the last character of the (centred) entry.
    if (Cursor && Enter && Cursor->CurrState && Cursor->CurrState->dim) {
        const float end = _entry.empty() ? 0.0f : Enter->GetTextEndX();
        Cursor->CurrState->dim->x = static_cast<float>(Enter->Width) / 2.0f + end / 2.0f;
        Cursor->UpdateSettings();
    }
    return 0;
}

void TEnterName::_showEntry() {
    if (!Enter) return;
    Enter->SetText(_entry);
    Enter->DrawNow();
}

std::string TEnterName::GetText() { return _entry; }

int TEnterName::GoOk() {
    ClearClicksAndOvers();
    StartHiding();
    Decision = 1;
    if (Profiles) Profiles->OnUnlock();
    return 0;
}

int TEnterName::GoCancel() {
    ClearClicksAndOvers();
    StartHiding();
    Decision = 0;
    return 0;
}

int TEnterName::SetData(const std::vector<std::string>& names, const std::string& editedName) {
    Start();
    Names = names;
    _entry = editedName;
    _showEntry();
    EditedName = UpperUnicode(editedName);
    return 0;
}

int TEnterName::OnShow() {
    ResetDelta();
    PlayPanelShow(CentPoint.get());
    return 0;
}

TEnterNamePtr CreateEnterName() {
    auto popup = std::make_shared<TEnterName>();
    popup->Init("EnterName", bDir + "PopUps/Entername/EnterName.AppPopUp");
    return popup;
}
