// Shared set-up of the sound tests: a data folder of small WAV files, a clock the test drives,
// delta 1 (60 frames per second) and both volume settings at 1.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/media/SoundManager.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

namespace soundtest {

// A mono 16-bit RIFF WAVE file of `frames` frames at 22050 Hz holding a square wave.
inline std::string MakeWav(int frames) {
    auto le = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    std::string data;
    for (int f = 0; f < frames; ++f) le(data, static_cast<uint16_t>((f / 25) % 2 ? 12000 : -12000), 2);
    std::string s = "RIFF";
    le(s, static_cast<uint32_t>(36 + data.size()), 4);
    s += "WAVEfmt ";
    le(s, 16, 4);
    le(s, 1, 2);
    le(s, 1, 2);
    le(s, 22050, 4);
    le(s, 22050 * 2, 4);
    le(s, 2, 2);
    le(s, 16, 2);
    s += "data";
    le(s, static_cast<uint32_t>(data.size()), 4);
    return s + data;
}

inline int32_t g_now = 0;
inline int32_t Now() { return g_now; }

class SoundFixture : public ::testing::Test {
protected:
    testsupport::TempDir dir;

    void SetUp() override {
        AppSoundManager::Reset();
        ResetAppPaths();
        bDir = dir.path() + "/";
        g_now = 0;
        SetClockSource(Now);
        ResetAppTime();
        UpdateAppMillisecs();
        delta = 1.0f;
        AppSettings::Reset();
        AppSettings::SoundVolume = 1.0f;
        AppSettings::MusicVolume = 1.0f;
        // A one-second effect, and six looping one-second tracks.
        testsupport::WriteFileBytes(dir.file("Sound/sfx/beep.wav"), MakeWav(22050));
        std::string tracks;
        for (int i = 1; i <= 6; ++i) {
            testsupport::WriteFileBytes(dir.file("Sound/Music/T" + std::to_string(i) + ".wav"), MakeWav(22050));
            tracks += "Track{\n\tName = \"Track " + std::to_string(i) + "\"\n\tUrl = \"Music/T" + std::to_string(i) +
                      ".wav\"\n}\n";
        }
        testsupport::WriteFileBytes(dir.file("Sound/Tracks.txt"), tracks);
    }

    void TearDown() override {
        AppSoundManager::Reset();
        CloseAudioDevice();
        AppSettings::Reset();
        ResetAppTime();
        ResetClock();
        ResetAppPaths();
    }

    // The application clock reads ms from the next frame on.
    static void SetTime(int32_t ms) {
        g_now = ms;
        UpdateAppMillisecs();
    }
    // n frames of the sound manager.
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) AppSoundManager::Update();
    }
    std::string Beep() const { return bDir + "Sound/sfx/beep.wav"; }
};

}  // namespace soundtest
