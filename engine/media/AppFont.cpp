#include "engine/media/AppFont.h"
#include "engine/basics/Basics.h"

#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// The key a font file is known by: its absolute, normalised path without regard to case.
std::string FontKey(const std::string& url) { return Upper(RealPath(url)); }

std::string DefaultFontsListUrl() { return bDir + AppResources + AppResourcesData + "Fonts.dat"; }

}  // namespace

void TAppFont::Reload() { font = LoadImageFont(url, size, SMOOTHFONT); }

TImageFontPtr AppFontManager::LoadManagerFont(const std::string& url, int size) {
    // Sizes come from data files (text classes, states, the newsletter's settings): one beyond
    // what a font can be drawn at is reported and held to the largest.
    if (size > kMaxFontSize) {
        Error("The font " + url + " is asked for at size " + IntToString(size) + ", larger than " +
                  IntToString(kMaxFontSize) + "; it is drawn at " + IntToString(kMaxFontSize),
              Here());
        size = kMaxFontSize;
    }
    // Every request for a missing file is reported, also when an earlier one left its (empty)
    // entry: each caller learns that its text falls back to the default font.
    if (FileType(url) == 0) ErrorNoFile(url, Here());
    const std::string key = FontKey(url);
    for (const auto& f : FontsLoaded)
        if (f && f->size == size && FontKey(f->url) == key) return f->font;
    return AddFont(url, size);
}

TImageFontPtr AppFontManager::AddFont(const std::string& url, int size) { return AddAppFont(url, size)->font; }

TAppFontPtr AppFontManager::AddAppFont(const std::string& url, int size) {
    auto f = std::make_shared<TAppFont>();
    f->url = url;
    f->size = size;
    f->font = LoadImageFont(url, size, SMOOTHFONT);
    FontsLoaded.push_back(f);
    return f;
}

void AppFontManager::LoadFonts(const std::string& url) {
    TBlockFilePtr root = LoadBlockFile(url);
    for (const auto& block : GetBlockFilesList(root, "FONT")) {
        GetAppFont(ConvertAppPath(GetBFString(block, "URL", 0)), TruncToInt(GetBFNumber(block, "SIZE", 0)));
    }
    FontsListUrl = url;
}

void AppFontManager::Save() {
    if (FontsListUrl.empty()) FontsListUrl = DefaultFontsListUrl();
    TBlockFilePtr root = CreateBlockFile(FontsListUrl);
    for (const auto& f : FontsLoaded) {
        if (!f) continue;
        TBlockFilePtr block = CreateBlockFile("FONT", root);
        AddStringToBlock(block, "Url", f->url, 0, 0);
        AddIntToBlock(block, "Size", f->size, 0, 0);
    }
    SaveBlockFile(root);
}

void AppFontManager::Reset() {
    FontsLoaded.clear();
    FontsListUrl.clear();
}

TImageFontPtr GetAppFont(const std::string& url, int size) { return AppFontManager::LoadManagerFont(url, size); }

void LoadAppFonts(const std::string& url) { AppFontManager::LoadFonts(url); }

void AppInitFonts() {
    const std::string url = DefaultFontsListUrl();
    if (FileType(url) != 0) LoadAppFonts(url);
    else ErrorNoFile(url, Here());  // texts then use the default font
}
