// The player's live settings: full screen, wide-screen stretching, the two volumes, the custom
// cursor and whether the game was rated. Loaded once at start-up from the per-user
// "Settings.ini" when it exists, else from "Init.ini" in the data folder, else built-in defaults;
// written back to the per-user file by SaveData.
#pragma once
#include <string>

#include "engine/data/DataContainer.h"
#include "engine/data/IniFile.h"

class AppSettings {
public:
    // Live values; all 0 until the settings are loaded.
    static int FullScreen;
    static int Stretched;
    static float SoundVolume;
    static float MusicVolume;
    static int CustomCursor;
    static int GameWasRated;

    // The containers of the last file loaded, one per ini section.
    static TDataContainerList Datas;
    // Set once settings were loaded (from a file or the defaults). Until then SaveData writes
    // nothing, so an early exit never replaces the player's file with zeros.
    static bool Loaded;

    static constexpr int StandardWidth = 1024;
    static constexpr int StandardHeight = 768;
    static constexpr int StandardVirtualWidth = 1024;
    static constexpr int StandardVirtualHeight = 768;
    static constexpr int StandardFullSCreen = 0;
    static constexpr int StandardStretched = 1;
    static inline const std::string StandardLang = "en";
    static constexpr float StandardSoundVolume = 0.5f;
    static constexpr float StandardMusicVolume = 0.5f;
    static constexpr int StandardCustomCursor = 0;
    static constexpr int StandardGameWasRated = 0;

    // Accessors for the live values. Volumes are kept within 0..1.
    static int GetFullScreen() { return FullScreen; }
    static int GetStretched() { return Stretched; }
    static void SetFullScreen(int on) { FullScreen = on; }
    static void SetStretched(int on) { Stretched = on; }
    static void SetSoundVolume(float v);
    static void SetMusicVolume(float v);
    static void SetGameWasRated(int on) { GameWasRated = on; }

    // "Init.ini" in the data folder and the per-user "Settings.ini".
    static std::string InitFileUrl();
    static std::string UserFileUrl();

    // Adds a field to the named container, creating the container when missing.
    static void AddField(const std::string& container, TDataFieldPtr field);
    // Copies the loaded values (or the defaults) into the live fields.
    static void ReadSettings();
    static void LoadSettings(const std::string& url);
    // Loads the per-user file when it holds settings, else "Init.ini", else the defaults.
    static void LoadData();

    // The four sections SaveData writes. (Named without the leading underscore the private
    // helpers carry elsewhere: "_S..." names are reserved in C++.)
    static TIniBlockPtr SaveData_Screen();
    static TIniBlockPtr SaveData_Lang();
    static TIniBlockPtr SaveData_Volume();
    static TIniBlockPtr SaveData_Other();
    // Writes the four sections to the per-user "Settings.ini" (atomically). False, after a
    // report, when nothing was loaded yet or the file cannot be written.
    static bool SaveData();

    static void SetDataInt(const std::string& container, const std::string& name, int value);
    static void SetDataFloat(const std::string& container, const std::string& name, float value);
    // The container's field of that name; a missing container gives a warning, a missing field
    // an error line, and null.
    static TDataFieldPtr GetDataField(const std::string& container, const std::string& name);
    static TDataFieldPtr GetDataField(const TDataContainerPtr& container, const std::string& name);
    // The first container of that name (ignoring case); appended when missing and create is set.
    static TDataContainerPtr GetDataContainer(const std::string& name, int create);

    static int GetScreenWidth();
    static int GetScreenHeight();
    static int GetScreenVirtualWidth();
    static int GetScreenVirtualHeight();

    // A number field's value, converted between int and float; 0 when missing or text.
    static int ReadIntData(const std::string& container, const std::string& name);
    static float ReadFloatData(const std::string& container, const std::string& name);

    // The settings keys with their defaults (a missing or non-numeric value gives the default).
    static int ReadFullScreen();
    static int ReadStretched();
    static float ReadSoundVolume();
    static float ReadMusicVolume();
    static int ReadCustomCursor();
    static int ReadGameWasRated();

    // Back to the state before start-up (tests).
    static void Reset();
};

// Start-up step: AppSettings::LoadData.
void AppInitSettings();
void AddSettingsField(const std::string& container, TDataFieldPtr field);
// A field typed from its text as the loader types it (int, float or string).
void AddNewSettingsField(const std::string& container, const std::string& name, const std::string& value);
