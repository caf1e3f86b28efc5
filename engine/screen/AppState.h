// A named visual pose of a scene node: position (dim.x, dim.y, relative to the parent), scale
// and rotation (tfr), colour and alpha (rgb), and a font. Stored in game-object files as a
// "State" block:
//
//     State{
//     	Name = "DEFAULT"
//     	Dim = "0.000000000,0.000000000,..."
//     	TFR = "1.00000000,1.00000000,0.000000000,0.000000000,0"
//     	RGB = "255,255,255,1.00000000,1.00000000"
//     	Font = "Fonts/Title.ttf", 24        (only for a state with a font)
//     }
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/data/BlockFile.h"
#include "engine/data/ValueTypes.h"
#include "platform/Font.h"

class TAppState {
public:
    std::string name;
    int32_t ind = 0;
    std::shared_ptr<TDim> dim;  // all zeros
    std::shared_ptr<TTFR> tfr;  // scale 1, 1, rotation 0
    std::shared_ptr<TRGB> rgb;  // white, alpha 1, position 1
    TImageFontPtr font;         // shared with the font source and every copy
    std::string fontUrl;        // the font's path as read or to be saved
    int32_t size = 0;           // the font's pixel size

    TAppState();
    virtual ~TAppState() = default;

    // Drops dim, tfr, rgb and font; name, ind, fontUrl and size stay.
    virtual int Free();
    // Deep copy of dim, tfr and rgb, the same font, named name + "_Copy"; ind is 0.
    virtual std::shared_ptr<TAppState> Copy();
    // Writes Name, Dim, TFR, RGB and, when fontUrl is not empty, Font (path, size) into block.
    virtual int Save(const TBlockFilePtr& block);
    // Reads the entries of a "State" block. A non-empty "Font" entry loads the font through the
    // font source and is kept in fontUrl and size, so saving the state writes it back.
    virtual int Load(const TBlockFilePtr& block);
};

using TAppStatePtr = std::shared_ptr<TAppState>;

// A fresh state named "DEFAULT".
TAppStatePtr CreateDefaultAppState();
// A new state, then its Load(block).
TAppStatePtr LoadAppState(const TBlockFilePtr& block);

// Where states get their fonts: (path as written in the file, pixel size) -> font or null.
// The default asks the font manager (placeholders resolved), so states share its fonts; tests
// may install their own lookup.
using AppStateFontSource = TImageFontPtr (*)(const std::string& path, int size);
void SetAppStateFontSource(AppStateFontSource source);  // null restores the default
TImageFontPtr LoadAppStateFont(const std::string& path, int size);
