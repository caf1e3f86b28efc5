// Images: PNG, JPEG, BMP and TGA decoding from memory, and making an image of the pixels.
#include "FuzzSupport.h"
#include "platform/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TPixmapPtr pixmap = LoadPixmapFromMemory(std::string(reinterpret_cast<const char*>(data), size));
    if (!pixmap) return 0;
    ReadPixel(pixmap, 0, 0);
    ReadPixel(pixmap, PixmapWidth(pixmap) - 1, PixmapHeight(pixmap) - 1);
    LoadImage(pixmap, -1);
    return 0;
}
