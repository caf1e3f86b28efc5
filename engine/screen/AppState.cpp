#include "engine/screen/AppState.h"

#include "engine/system/Paths.h"
#include "engine/media/AppFont.h"
#include "platform/Files.h"

namespace {

// The font manager's font of that file and size: one font per file and size for the whole run,
// shared by every state, text class and screen that names it.
TImageFontPtr ManagerFont(const std::string& path, int size) {
    return GetAppFont(ResolvePath(ConvertAppPath(path)), size);
}

AppStateFontSource gFontSource = &ManagerFont;

}  // namespace

void SetAppStateFontSource(AppStateFontSource source) { gFontSource = source ? source : &ManagerFont; }

TImageFontPtr LoadAppStateFont(const std::string& path, int size) { return gFontSource(path, size); }

TAppState::TAppState()
    : dim(CreateDim(0, 0, 0, 0, 0, 0, 0, 0, 0)),
      tfr(CreateTFR(1, 1, 0, 0)),
      rgb(CreateRGB(255, 255, 255, 1.0f, 1.0f)) {}

int TAppState::Free() {
    dim = nullptr;
    tfr = nullptr;
    rgb = nullptr;
    font = nullptr;
    return 0;
}

std::shared_ptr<TAppState> TAppState::Copy() {
    auto s = std::make_shared<TAppState>();
    s->name = name + "_Copy";
    s->dim = dim ? dim->Copy() : nullptr;
    s->tfr = tfr ? tfr->Copy() : nullptr;
    s->rgb = rgb ? rgb->Copy() : nullptr;
    s->font = font;
    s->size = size;
    s->fontUrl = fontUrl;
    return s;
}

int TAppState::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    AddStringToBlock(block, "Name", name, 0);
    AddStringToBlock(block, "Dim", dim ? dim->ToString() : TDim().ToString(), 0);
    AddStringToBlock(block, "TFR", tfr ? tfr->ToString() : TTFR().ToString(), 0);
    AddStringToBlock(block, "RGB", rgb ? rgb->ToString() : TRGB().ToString(), 0);
    if (!fontUrl.empty()) {
        AddStringToBlock(block, "Font", fontUrl, 0);
        AddIntToBlock(block, "Font", size, 1);
    }
    return 0;
}

int TAppState::Load(const TBlockFilePtr& block) {
    const std::string fontText = GetBFString(block, "Font", 0);
    name = GetBFString(block, "Name", 0);
    auto newDim = std::make_shared<TDim>();
    newDim->FromString(GetBFString(block, "Dim", 0));
    auto newTfr = std::make_shared<TTFR>();
    newTfr->FromString(GetBFString(block, "TFR", 0));
    auto newRgb = std::make_shared<TRGB>();
    newRgb->FromString(GetBFString(block, "RGB", 0));
    dim = newDim;
    tfr = newTfr;
    rgb = newRgb;
    if (!fontText.empty()) {
        // The path and size are kept, so the state writes its "Font" entry back when saved.
        fontUrl = fontText;
        size = GetBFInt(block, "Font", 1);
        font = LoadAppStateFont(fontUrl, size);
    }
    return 0;
}

TAppStatePtr CreateDefaultAppState() {
    auto s = std::make_shared<TAppState>();
    s->name = "DEFAULT";
    s->ind = 0;
    return s;
}

TAppStatePtr LoadAppState(const TBlockFilePtr& block) {
    auto s = std::make_shared<TAppState>();
    s->Load(block);
    return s;
}
