// Emitter presets: "App/Data/EmitterPresets.dat" and one preset file it may name as
// "#BDIR#Preset.dat" (the input's two NUL-separated parts), read at start-up; every preset is
// then run by an emitter: pool, pre-fill, a few frames of emission, update and drawing (no GL
// context, so drawing is only arithmetic), and written back.
#include "FuzzSupport.h"
#include "engine/particles/Emitter.h"
#include "engine/system/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 2);
    fuzz::WriteFile(bDir + AppResources + "Data/EmitterPresets.dat", parts[0]);
    fuzz::WriteFile(bDir + "Preset.dat", parts[1]);
    AppInitEmitterPresets();
    const auto presets = TAppBasicEmitter::Presets;
    for (size_t i = 0; i < presets.size() && i < 3; ++i) {
        auto emitter = std::make_shared<TAppBasicEmitter>();
        emitter->Preset = presets[i]->Copy();
        emitter->Preset->isStarted = 1;
        emitter->SetPosition(100, 100);
        emitter->InitPackage();
        emitter->Start();
        for (int frame = 0; frame < 3; ++frame) {
            emitter->Update();
            emitter->Draw();
        }
        SaveAppEmitterPreset(presets[i], fuzz::RunDir() + "/Out.dat");
    }
    ResetEmitters();
    return 0;
}
