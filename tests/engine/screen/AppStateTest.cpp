// Object states: copies and the "State" block, font entry included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/AppState.h"
#include "engine/system/Paths.h"
#include "engine/media/AppFont.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::pair<std::string, int>> gFontRequests;
TImageFontPtr RecordFont(const std::string& path, int size) {
    gFontRequests.emplace_back(path, size);
    return nullptr;
}

TEST(AppState, FreshStateAndCopy) {
    auto s = CreateDefaultAppState();
    EXPECT_EQ(s->name, "DEFAULT");
    EXPECT_EQ(s->rgb->ToString(), CreateRGB(255, 255, 255, 1.0f, 1.0f)->ToString());
    EXPECT_EQ(s->tfr->sx, 1);
    s->fontUrl = "f.ttf";
    s->size = 12;
    s->ind = 4;

    auto c = s->Copy();
    EXPECT_EQ(c->name, "DEFAULT_Copy");
    EXPECT_EQ(c->ind, 0);
    EXPECT_EQ(c->fontUrl, "f.ttf");
    EXPECT_EQ(c->size, 12);
    EXPECT_EQ(c->font, s->font);
    EXPECT_NE(c->dim, s->dim);
    EXPECT_NE(c->rgb, s->rgb);
    c->rgb->r = 3;
    EXPECT_EQ(s->rgb->r, 255);

    s->Free();
    EXPECT_EQ(s->name, "DEFAULT");
    EXPECT_EQ(s->dim, nullptr);
    EXPECT_EQ(s->rgb, nullptr);
}

TEST(AppState, FontEntryOnlyWithAPathAndKeptThroughLoadAndSave) {
    SetAppStateFontSource(&RecordFont);
    gFontRequests.clear();

    auto plain = CreateDefaultAppState();
    auto block = CreateBlockFile("State");
    plain->Save(block);
    EXPECT_EQ(isBFEntry(block, "Font"), 0);

    auto withFont = CreateDefaultAppState();
    withFont->fontUrl = "#BDIR#Fonts/Title.ttf";
    withFont->size = 24;
    auto fontBlock = CreateBlockFile("State");
    withFont->Save(fontBlock);
    EXPECT_EQ(GetBFString(fontBlock, "Font", 0), "#BDIR#Fonts/Title.ttf");
    EXPECT_EQ(GetBFInt(fontBlock, "Font", 1), 24);

    auto loaded = LoadAppState(fontBlock);
    EXPECT_EQ(gFontRequests, (std::vector<std::pair<std::string, int>>{{"#BDIR#Fonts/Title.ttf", 24}}));
    auto resaved = CreateBlockFile("State");
    loaded->Save(resaved);
    EXPECT_EQ(BlockFileToText(resaved), BlockFileToText(fontBlock));
    SetAppStateFontSource(nullptr);
}

TEST(AppState, MissingEntriesReadAsTypeDefaults) {
    auto s = LoadAppState(ParseBlockFileText("Dim = \"4,5\"\n", "State"));
    EXPECT_EQ(s->name, "");
    EXPECT_EQ(s->dim->x, 4);
    EXPECT_EQ(s->dim->y, 5);
    EXPECT_EQ(s->dim->w, 0);
    EXPECT_EQ(s->rgb->r, 0);  // no "RGB": black
    EXPECT_EQ(s->rgb->a, 1.0f);
    EXPECT_EQ(s->tfr->sx, 1.0f);  // no "TFR": unscaled
    EXPECT_EQ(s->fontUrl, "");
}

TEST(AppState, FontsAreTheFontManagersShared) {
    testsupport::TempDir dir;
    const std::string savedBDir = bDir;
    bDir = dir.path() + "/";
    AppFontManager::Reset();
    testsupport::WriteFileBytes(dir.file("Title.ttf"),
                                testsupport::ReadFileBytes(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf"));
    auto block = ParseBlockFileText("Name = \"Big\"\nFont = \"#BDIR#Title.ttf\", 18\n", "State");
    auto first = LoadAppState(block);
    auto second = LoadAppState(block);
    ASSERT_NE(first->font, nullptr);
    EXPECT_EQ(second->font, first->font);
    EXPECT_EQ(GetAppFont(bDir + "Title.ttf", 18), first->font);
    AppFontManager::Reset();
    bDir = savedBDir;
}

}  // namespace
