// The settings file: read as the player's "Settings.ini", every setting taken, written back.
#include "FuzzSupport.h"
#include "engine/data/Settings.h"
#include "engine/system/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    fuzz::WriteFile(AppSettings::UserFileUrl(), fuzz::Bytes(data, size));
    AppSettings::LoadData();
    // The settings promise volumes in 0..1 whatever the file says.
    for (float v : {AppSettings::SoundVolume, AppSettings::MusicVolume})
        if (!(v >= 0.0f && v <= 1.0f)) __builtin_trap();
    AppSettings::GetScreenWidth();
    AppSettings::GetScreenHeight();
    AppSettings::GetScreenVirtualWidth();
    AppSettings::GetScreenVirtualHeight();
    AppSettings::ReadIntData("OTHER", "CustomCursor");
    AppSettings::ReadFloatData("VOLUME", "MusicVolume");
    AppSettings::SaveData();
    return 0;
}
