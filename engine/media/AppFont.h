// Fonts and the font manager. Every text is drawn in an image font: a TrueType file rasterised
// at one pixel size. Fonts are identified by file and size only; the manager loads each pair
// once, keeps it for the whole run and hands the same font to every request.
//
// "Fonts.dat" (bDir + "App/Data/Fonts.dat") lists fonts to load at start-up:
//     FONT{
//     	Url = "#BDIR#fonts/DejaVuSans.ttf"
//     	Size = 20
//     }
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/Font.h"

// One loaded font; `font` is null when the file could not be loaded.
class TAppFont {
public:
    TImageFontPtr font;
    std::string url;  // the path as requested
    int size = 0;

    // Loads the font again from url and size.
    void Reload();
};
using TAppFontPtr = std::shared_ptr<TAppFont>;

class AppFontManager {
public:
    // Every font requested so far, in order of first request (failed loads included).
    static inline std::vector<TAppFontPtr> FontsLoaded;
    // The font list last read or written.
    static inline std::string FontsListUrl;

    // Writes FontsLoaded to FontsListUrl (the default "Fonts.dat" when none was read).
    static void Save();
    // Requests every font of a font list.
    static void LoadFonts(const std::string& url);
    // The font of that file and size: the one already loaded for the same real path (letter
    // case ignored) and size, else a new load. A missing file is reported on the first request
    // of that path and size; later requests quietly give the same empty result. A size above
    // kMaxFontSize is reported and held to it.
    static TImageFontPtr LoadManagerFont(const std::string& url, int size);
    // Loads and registers a font without looking for an earlier load.
    static TImageFontPtr AddFont(const std::string& url, int size);
    static TAppFontPtr AddAppFont(const std::string& url, int size);

    // Forgets every font and the list path (tests).
    static void Reset();
};

// The one entry through which the game obtains fonts. Null when the font cannot be loaded;
// selecting null with SetImageFont draws in the built-in default font.
TImageFontPtr GetAppFont(const std::string& url, int size);
void LoadAppFonts(const std::string& url);
// Start-up step: loads "Fonts.dat" from the engine's data folder when it exists.
void AppInitFonts();
