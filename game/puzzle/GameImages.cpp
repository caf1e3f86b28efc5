#include "game/puzzle/GameImages.h"

#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"

TImagePtr LoadGameImage(const std::string& path, int flags, bool midHandle) {
    const std::string url = bDir + path;
    TImagePtr image = LoadImage(url, flags);
    if (!image) {
        if (FileType(ResolvePath(url)) != 1) ErrorNoFile(url, Here());
        else ErrorImg(url, Here());
        return nullptr;
    }
    if (midHandle) MidHandleImage(image);
    return image;
}

float Approach(float value, float target, float rate) { return UpdatePer(value, target, rate, -1.0f); }
