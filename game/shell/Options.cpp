#include "game/shell/Options.h"

#include "engine/screen/Control.h"
#include "engine/data/IniFile.h"
#include "engine/system/Paths.h"
#include "engine/system/Settings.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::vector<std::string> OptionsSettings::ScreensWithMenuAndReplay = {"MainGame"};

void OptionsSettings::AddScreen(const std::shared_ptr<TAppScreen>& screen) {
    if (screen) ScreensWithMenuAndReplay.push_back(screen->name);
}

void OptionsSettings::Reset() { ScreensWithMenuAndReplay = {"MainGame"}; }

TOptionsPtr Options;

TOptionsPtr CreateAppOptionsPopUp() {
    auto options = std::make_shared<TOptions>();
    options->Init("Options", bDir + "PopUps/Options/Options.AppPopUp");
    Control::AddToSaveList(options);
    return options;
}

namespace {

// A plain decimal number: sign, digits, one point, an exponent.
bool IsNumberText(const std::string& text) {
    const std::string t = Trim(text);
    size_t i = 0, digits = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
        size_t expDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

bool SameValue(const std::string& a, const std::string& b) {
    if (EqualsNoCase(Trim(a), Trim(b))) return true;
    return IsNumberText(a) && IsNumberText(b) && StringToDouble(Trim(a)) == StringToDouble(Trim(b));
}

}  // namespace

bool SettingsFileIsCurrent() {
    const std::string url = AppSettings::UserFileUrl();
    if (AppDataFolder.empty() || FileType(url) != 1) return false;
    const TIniBlockList onDisk = LoadIniFile(url);
    const TIniBlockList wanted{AppSettings::SaveData_Screen(), AppSettings::SaveData_Lang(),
                               AppSettings::SaveData_Volume(), AppSettings::SaveData_Other()};
    for (const auto& block : wanted) {
        TIniBlockPtr found;
        for (const auto& b : onDisk)
            if (b && EqualsNoCase(b->name, block->name)) {
                found = b;
                break;
            }
        if (!found) return false;
        for (const auto& param : block->params) {
            bool present = false;
            for (const auto& q : found->params)
                if (q && EqualsNoCase(q->id, param->id)) {
                    present = true;
                    if (!SameValue(q->data, param->data)) return false;
                    break;
                }
            if (!present) return false;
        }
    }
    return true;
}

int TOptions::SaveAtEnd() {
    // Nothing was read yet (an exit before the settings were loaded): nothing to write.
    if (!AppSettings::Loaded) return 0;
    if (SettingsFileIsCurrent()) return 0;
    AppSettings::SaveData();
    return 0;
}
