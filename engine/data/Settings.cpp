#include "engine/data/Settings.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <utility>
#include <variant>

#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

int AppSettings::FullScreen = 0;
int AppSettings::Stretched = 0;
float AppSettings::SoundVolume = 0.0f;
float AppSettings::MusicVolume = 0.0f;
int AppSettings::CustomCursor = 0;
int AppSettings::GameWasRated = 0;
TDataContainerList AppSettings::Datas;
bool AppSettings::Loaded = false;

namespace {

// A number field's value; nothing for a missing field or a text field. A whole number written
// where a real is expected ("1" for a volume) and the other way round both count.
std::optional<float> FieldAsFloat(const TDataFieldPtr& f) {
    if (auto i = std::dynamic_pointer_cast<TDataFieldInt>(f)) return static_cast<float>(i->data);
    if (auto r = std::dynamic_pointer_cast<TDataFieldFloat>(f)) return r->data;
    return std::nullopt;
}

std::optional<int> FieldAsInt(const TDataFieldPtr& f) {
    if (auto i = std::dynamic_pointer_cast<TDataFieldInt>(f)) return i->data;
    if (auto r = std::dynamic_pointer_cast<TDataFieldFloat>(f)) {
        // Truncated toward zero; a real beyond the int range is no usable value.
        if (std::isfinite(r->data) && std::fabs(r->data) < 2147483520.0f) return TruncToInt(r->data);
    }
    return std::nullopt;
}

// Without any settings file (reported at loading) the built-in defaults serve, without a line
// for every value asked.
int ReadInt(const char* container, const char* name, int def) {
    if (AppSettings::Datas.empty()) return def;
    return FieldAsInt(AppSettings::GetDataField(container, name)).value_or(def);
}

float ReadFloat(const char* container, const char* name, float def) {
    if (AppSettings::Datas.empty()) return def;
    return FieldAsFloat(AppSettings::GetDataField(container, name)).value_or(def);
}

// The field of that name without reporting when there is none.
TDataFieldPtr FindField(const TDataContainerPtr& c, const std::string& name) {
    for (const auto& f : c->Fields)
        if (f && EqualsNoCase(f->Name, name)) return f;
    return nullptr;
}

// A block of the player's settings file, its entries in the order given.
using TSettingValue = std::variant<int, float, std::string>;
TIniBlockPtr SettingsBlock(const char* name, std::initializer_list<std::pair<const char*, TSettingValue>> entries) {
    auto block = CreateIniBlock(name);
    for (const auto& [key, value] : entries) {
        if (const int* i = std::get_if<int>(&value)) block->SetParamInt(key, *i);
        else if (const float* f = std::get_if<float>(&value)) block->SetParamFloat(key, *f);
        else block->SetParam(key, std::get<std::string>(value));
    }
    return block;
}

float ClampVolume(float v) {
    if (!(v >= 0.0f)) return 0.0f;  // NaN too
    return v > 1.0f ? 1.0f : v;
}

}  // namespace

void AppSettings::SetSoundVolume(float v) { SoundVolume = ClampVolume(v); }
void AppSettings::SetMusicVolume(float v) { MusicVolume = ClampVolume(v); }

std::string AppSettings::InitFileUrl() { return bDir + AppResources + AppResourcesData + "Init.ini"; }
std::string AppSettings::UserFileUrl() { return AppDataFolder + "/Data/Settings.ini"; }

void AppSettings::AddField(const std::string& container, TDataFieldPtr field) {
    GetDataContainer(container, 1)->AddField(std::move(field));
}

void AppSettings::ReadSettings() {
    FullScreen = ReadFullScreen();
    Stretched = ReadStretched();
    CustomCursor = ReadCustomCursor();
    GameWasRated = ReadGameWasRated();
    // The volumes are promised in 0..1 whatever the file holds.
    SetSoundVolume(ReadSoundVolume());
    SetMusicVolume(ReadMusicVolume());
}

void AppSettings::LoadSettings(const std::string& url) {
    Datas = LoadDataContainersFromIniFile(url);
    ReadSettings();
    Loaded = true;
}

void AppSettings::LoadData() {
    const std::string initUrl = InitFileUrl(), userUrl = UserFileUrl();
    const bool haveInit = FileType(initUrl) == 1;
    if (!haveInit) Error("File 'Init.ini' not found!", Here());

    // The player's own file wins whenever it holds settings, with or without "Init.ini".
    // A player's first run has no file of its own yet: that is no fault, "Init.ini" serves.
    if (AppDataFolder.empty()) {
        Warning("AppDataFolder not initiated!", Here());
    } else if (FileType(userUrl) == 1) {
        LoadSettings(userUrl);
        if (!Datas.empty()) return;
        Warning("'" + userUrl + "' holds no settings!", Here());
    }
    if (haveInit) {
        LoadSettings(initUrl);
        return;
    }
    // No file at all: the built-in defaults, which is what reading no settings gives.
    Datas.clear();
    ReadSettings();
    Loaded = true;
}

TIniBlockPtr AppSettings::SaveData_Screen() {
    return SettingsBlock("SCREEN", {{"WindowWidth", GetScreenWidth()},
                                    {"WindowHeight", GetScreenHeight()},
                                    {"VirtualWidth", GetScreenVirtualWidth()},
                                    {"VirtualHeight", GetScreenVirtualHeight()},
                                    {"FullScreen", FullScreen},
                                    {"Stretched", Stretched}});
}

TIniBlockPtr AppSettings::SaveData_Lang() { return SettingsBlock("LANG", {{"LangDir", LangMod}}); }

TIniBlockPtr AppSettings::SaveData_Volume() {
    return SettingsBlock("VOLUME", {{"SoundVolume", SoundVolume}, {"MusicVolume", MusicVolume}});
}

TIniBlockPtr AppSettings::SaveData_Other() {
    return SettingsBlock("OTHER", {{"CustomCursor", CustomCursor}, {"GameWasRated", GameWasRated}});
}

bool AppSettings::SaveData() {
    if (!Loaded) {
        Warning("Settings were never loaded; 'Settings.ini' is left as it is!", Here());
        return false;
    }
    if (AppDataFolder.empty()) {
        Error("AppDataFolder not initiated; settings not saved!", Here());
        return false;
    }
    TIniBlockList blocks{SaveData_Screen(), SaveData_Lang(), SaveData_Volume(), SaveData_Other()};
    return SaveIniFile(blocks, UserFileUrl());
}

void AppSettings::SetDataInt(const std::string& container, const std::string& name, int value) {
    auto c = GetDataContainer(container, 1);
    if (auto f = std::dynamic_pointer_cast<TDataFieldInt>(FindField(c, name))) f->data = value;
    else c->AddField(CreateDataInt(name, value));
}

void AppSettings::SetDataFloat(const std::string& container, const std::string& name, float value) {
    auto c = GetDataContainer(container, 1);
    if (auto f = std::dynamic_pointer_cast<TDataFieldFloat>(FindField(c, name))) f->data = value;
    else c->AddField(CreateDataFloat(name, value));
}

TDataFieldPtr AppSettings::GetDataField(const std::string& container, const std::string& name) {
    TDataContainerPtr c = container.empty() ? nullptr : GetDataContainer(container, 0);
    if (!c) {
        Warning("Couldn't find Container '" + container + "'!", Here());
        return nullptr;
    }
    return c->GetField(name);
}

TDataFieldPtr AppSettings::GetDataField(const TDataContainerPtr& container, const std::string& name) {
    if (!container) {
        Warning("Couldn't find Container ''!", Here());
        return nullptr;
    }
    return container->GetField(name);
}

TDataContainerPtr AppSettings::GetDataContainer(const std::string& name, int create) {
    for (const auto& c : Datas)
        if (c && EqualsNoCase(c->Name, name)) return c;
    if (!create) return nullptr;
    auto c = CreateDataContainer(name);
    Datas.push_back(c);
    return c;
}

int AppSettings::GetScreenWidth() { return ReadInt("SCREEN", "WindowWidth", StandardWidth); }
int AppSettings::GetScreenHeight() { return ReadInt("SCREEN", "WindowHeight", StandardHeight); }
int AppSettings::GetScreenVirtualWidth() { return ReadInt("SCREEN", "VirtualWidth", StandardVirtualWidth); }
int AppSettings::GetScreenVirtualHeight() { return ReadInt("SCREEN", "VirtualHeight", StandardVirtualHeight); }

int AppSettings::ReadIntData(const std::string& container, const std::string& name) {
    return FieldAsInt(GetDataField(container, name)).value_or(0);
}

float AppSettings::ReadFloatData(const std::string& container, const std::string& name) {
    return FieldAsFloat(GetDataField(container, name)).value_or(0.0f);
}

int AppSettings::ReadFullScreen() { return ReadInt("SCREEN", "Fullscreen", StandardFullSCreen); }
int AppSettings::ReadStretched() { return ReadInt("SCREEN", "Stretched", StandardStretched); }
float AppSettings::ReadSoundVolume() { return ReadFloat("VOLUME", "SoundVolume", StandardSoundVolume); }
float AppSettings::ReadMusicVolume() { return ReadFloat("VOLUME", "MusicVolume", StandardMusicVolume); }
int AppSettings::ReadCustomCursor() { return ReadInt("OTHER", "CustomCursor", StandardCustomCursor); }
int AppSettings::ReadGameWasRated() { return ReadInt("OTHER", "GameWasRated", StandardGameWasRated); }

void AppSettings::Reset() {
    FullScreen = Stretched = CustomCursor = GameWasRated = 0;
    SoundVolume = MusicVolume = 0.0f;
    Datas.clear();
    Loaded = false;
}

void AppInitSettings() { AppSettings::LoadData(); }

void AddSettingsField(const std::string& container, TDataFieldPtr field) {
    AppSettings::AddField(container, std::move(field));
}

void AddNewSettingsField(const std::string& container, const std::string& name, const std::string& value) {
    auto param = std::make_shared<TIniParam>();
    param->id = name;
    param->data = value;
    if (auto field = ConvertIniParamToDataField(param)) AddSettingsField(container, field);
}
