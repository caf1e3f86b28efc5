// Vector-animation packages: the three files of a package folder (the input's NUL-separated
// parts: "Gfxs.avo", "Vectors.avo", "Anims.avo") written over the bird's package in the data
// folder's copy, whose pictures stay; loaded, every animation played through, drawn (no GL
// context, so the drawing layer only does the arithmetic) and written back.
#include "FuzzSupport.h"
#include "engine/media/VectorObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 3);
    const std::string folder = fuzz::DataDir() + "Anims/Bird/";
    fuzz::WriteFile(folder + "Gfxs.avo", parts[0]);
    fuzz::WriteFile(folder + "Vectors.avo", parts[1]);
    fuzz::WriteFile(folder + "Anims.avo", parts[2]);

    TAppVectorObjPtr obj = LoadAVO("#BDIR#Anims/Bird", 1);
    if (!obj) return 0;
    DrawAVO(obj, 100, 100);
    DrawAVODebug(obj, 100, 100);
    const int states = static_cast<int>(obj->States.size());
    for (int i = 0; i < states && i < 4; ++i) DrawAVOState(obj, i, 50, 50);
    const size_t anims = obj->anims.size();
    for (size_t i = 0; i < anims && i < 4; ++i) {
        if (!obj->anims[i]) continue;
        for (float per : {0.0f, 0.3f, 0.5f, 1.0f}) {
            DrawAVOAnim(obj, obj->anims[i]->name, per, 10, 20);
            SetAVOAnimInd(obj, static_cast<int>(i), per);
            obj->CalculateObj(1);
        }
    }
    SaveAVO(obj, fuzz::RunDir() + "/Copy");
    return 0;
}
