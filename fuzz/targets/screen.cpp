// Screen files: a ".AppScreen" file and its text file (the input's two NUL-separated parts)
// loaded with every object, draw object and component they describe; the screen set up,
// started, run for a few frames (no GL context, so drawing is only arithmetic) and saved.
#include "FuzzSupport.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 2);
    const std::string file = fuzz::DataDir() + "screens/Fuzz/Fuzz.AppScreen";
    fuzz::WriteFile(file, parts[0]);
    fuzz::WriteFile(LocalizeDir + "Fuzz.txt", parts[1]);
    {
        auto screen = std::make_shared<TAppScreen>();
        screen->LoadFromFile(file);
        screen->Setup();
        screen->SetupAssets();
        screen->Start();
        screen->Prepare();
        for (int frame = 0; frame < 3; ++frame) {
            screen->Updating();
            screen->Drawing();
        }
        screen->SaveToFile(fuzz::RunDir() + "/Copy.AppScreen");
        screen->Free();
    }
    TAsset::ResetCurrScreen();
    TAppScreen::CurrentlyLoadingScreen = nullptr;
    return 0;
}
