// The texture registry: description files, the two caches and their keys, and what a request
// that cannot be met gets.
#include "engine/media/ImgTex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/system/Paths.h"
#include "platform/Image.h"
#include "platform/Strings.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

void WritePng(const std::string& path, int w, int h, int argb) {
    TPixmapPtr p = CreatePixmap(w, h);
    p->ClearPixels(argb);
    ASSERT_TRUE(SavePixmapPNG(p, path));
}

class ImgTexTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string savedBDir;

    void SetUp() override {
        savedBDir = bDir;
        TImgTex::ResetRegistry();
        WritePng(dir.file("Tex.png"), 32, 16, int(0xFF00FF00));
        // CR LF line ends; a picture name in the ignored header; names with blanks and in lower
        // case; an empty line standing for a number; three lines of an incomplete record.
        WriteFileBytes(dir.file("Tex.txt"),
                       "HEADER\r\n"
                       "  button \r\n0\r\n0\r\n16\r\n8\r\n"
                       "icon\r\n16\r\n0\r\n4px\r\n8\r\n"
                       "wide\r\n\r\n8\r\n32\r\n8\r\n"
                       "LOST\r\n1\r\n2\r\n");
    }
    void TearDown() override {
        TImgTex::ResetRegistry();
        TImg::ResetSetup();
        bDir = savedBDir;
    }
    std::string Tex(const std::string& suffix) const { return dir.path() + "/Tex.png" + suffix; }
};

TEST(ImgTexSplit, SplitStringByCharPieces) {
    const struct {
        const char* text;
        const char* sep;
        std::vector<std::string> want;
    } cases[] = {
        {"", "|", {}},
        {"a||b", "|", {"a", "", "b"}},
        {"a|", "|", {"a"}},
        {"|a", "|", {"", "a"}},
        {"abc", "", {"abc"}},
        {"a|b", "|b", {"a|b"}},                  // longer separators never match
        {"x\xC3\xA9y", "\xC3\xA9", {"x", "y"}},  // one character of two bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TImgTex::SplitStringByChar(c.text, c.sep), c.want) << c.text << " / " << c.sep;
    }
}

TEST_F(ImgTexTest, DescriptionRecordsAfterTheHeaderLine) {
    TImgTexPtr tex = LoadTextureFile(Tex(""), 2);
    const struct {
        const char* name;
        int x, y, w, h;
    } want[] = {{"BUTTON", 0, 0, 16, 8}, {"ICON", 16, 0, 4, 8}, {"WIDE", 0, 8, 32, 8}};
    ASSERT_EQ(tex->images.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        const TImgPtr& img = tex->images[i];
        EXPECT_EQ(img->name, want[i].name);
        EXPECT_EQ((std::vector<int>{img->x, img->y, img->w, img->h}),
                  (std::vector<int>{want[i].x, want[i].y, want[i].w, want[i].h}))
            << want[i].name;
        EXPECT_EQ(img->texture, tex);
        EXPECT_EQ(img->isSingle, 0);
    }
    EXPECT_EQ(tex->GetImage("header"), nullptr);
    EXPECT_EQ(tex->GetImage("LOST"), nullptr);
    EXPECT_EQ(tex->GetImage("  icon\t"), tex->images[1]);
    EXPECT_EQ(tex->Img, nullptr) << "describing a texture loads no pixels";
    EXPECT_EQ(tex->flags, 2);
}

TEST_F(ImgTexTest, SubImagesAreCachedByLowerCasePathAndTrimmedUpperName) {
    TImgPtr a = LoadImg(Tex("|icon"), 2);
    ASSERT_EQ(TImgTex::AllLoadedTextures.size(), 1u);
    TImgTexPtr tex = TImgTex::AllLoadedTextures[0];
    EXPECT_EQ(tex->url, Lower(Tex("")));
    ASSERT_NE(tex->Img, nullptr) << "the first request loads the pixels";
    EXPECT_EQ(ImageWidth(tex->Img), 32);

    // Once read, the description is not read again.
    WriteFileBytes(dir.file("Tex.txt"), "H\nOTHER\n0\n0\n1\n1\n");
    std::string upperUrl = Upper(dir.path()) + "/TEX.PNG| ICON ";
    TImgPtr b = LoadImg(upperUrl, 6);
    EXPECT_EQ(a, b) << "the very same sub-image object";
    EXPECT_EQ(b->Url, upperUrl) << "the url of the last request, unchanged";
    EXPECT_EQ(TImgTex::AllLoadedTextures.size(), 1u);
    EXPECT_EQ(TImgTex::GetTex(Tex(""), 4), tex);
    EXPECT_EQ(tex->flags, 2) << "the first request's flags stay";
}

TEST_F(ImgTexTest, WholeImagesAreCachedByUrlAnyCaseAndFlags) {
    std::string url = dir.file("Tex.png");
    TImgPtr first = LoadImg(url, 2);
    TImgPtr again = LoadImg(Upper(url), 2);
    TImgPtr other = LoadImg(url, 6);
    ASSERT_NE(first->image, nullptr);
    EXPECT_EQ(first->name, url);
    EXPECT_EQ((std::vector<int>{first->w, first->h, first->isSingle, first->MyLoadedFlags}),
              (std::vector<int>{32, 16, 1, 2}));

    EXPECT_NE(again, first);
    EXPECT_EQ(again->image, first->image) << "a copy shares the picture";
    EXPECT_EQ(again->name, "");
    EXPECT_NE(other->image, first->image) << "other flags load the file again";
    EXPECT_EQ(TImgTex::AllLoadedSingles, (std::vector<TImgPtr>{first, other}));

    again->Free();  // a copy is not in the cache: nothing leaves it
    EXPECT_EQ(TImgTex::AllLoadedSingles.size(), 2u);
    first->Free();
    EXPECT_EQ(TImgTex::AllLoadedSingles, (std::vector<TImgPtr>{other}));
    EXPECT_EQ(first->image, nullptr);
    TImgPtr reloaded = LoadImg(url, 2);
    EXPECT_EQ(reloaded->name, url) << "after Free the next request loads anew";
}

TEST_F(ImgTexTest, RequestsThatCannotBeMetAreReportedAndGiveAnEmptyImage) {
    WriteFileBytes(dir.file("NoDesc.png"), "");
    const struct {
        std::string url;
        std::string line;  // the start of the first report line
    } cases[] = {
        {Tex("|NOPE"), "ERROR ( File: ImgTex  Code: TImgTex::LoadImgTex ) No image named \"NOPE\""},
        {Tex("|"), "ERROR ( File: ImgTex  Code: TImgTex::LoadImgTex ) No image named \"\""},
        {dir.file("NoDesc.png|A"),
         "NO FILE ERROR ( File: ImgTex  Code: TImgTex::LoadTex ) No such file or directory! Url = " +
             Lower(dir.file("nodesc.txt"))},
        {"|A", "ERROR ( File: ImgTex  Code: TImgTex::LoadImgTex ) Texture url without a texture path!"},
        {dir.file("missing.png"),
         "NO FILE ERROR ( File: ImgTex  Code: TImgTex::LoadImgSingle ) No such file or "
         "directory! Url = " +
             dir.file("missing.png")},
        {dir.file("Tex.txt"), "ERROR ( File: ImgTex  Code: TImgTex::LoadImgSingle ) Couldn't load TImg object!"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        TImgPtr img = LoadImg(c.url, -1);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.substr(0, c.line.size()), c.line) << c.url;
        ASSERT_NE(img, nullptr) << c.url;
        EXPECT_EQ(img->image, nullptr);
        EXPECT_EQ(img->texture, nullptr);
        EXPECT_EQ(ImgWidth(img), 0);
        EXPECT_EQ(img->Url, c.url);
    }
    // The unknown names were not added to the texture, and a failed whole image is not cached.
    EXPECT_EQ(TImgTex::GetTex(Tex(""), -1)->images.size(), 3u);
    EXPECT_TRUE(TImgTex::AllLoadedSingles.empty());
}

TEST_F(ImgTexTest, BareTextureNameIsTakenFromTheDataFolder) {
    bDir = dir.path() + "/";
    TImgPtr img = LoadImg("tex.png|WIDE", -1);
    ASSERT_NE(img->texture, nullptr);
    EXPECT_EQ(img->texture->url, dir.path() + "/tex.png");
    EXPECT_NE(img->texture->Img, nullptr);
    EXPECT_EQ(LoadImg("TEX.png|button", -1)->texture, img->texture);
}

TEST_F(ImgTexTest, PrintMeListsPixelsAndPictures) {
    TImgPtr icon = LoadImg(Tex("|ICON"), -1);
    TImgTexPtr tex = icon->texture;
    testing::internal::CaptureStdout();
    tex->PrintMe();
    TImgTex().PrintMe();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Img: OK\nIMAGES: 3\n\tBUTTON - OK\n\tICON - OK\n\tWIDE - OK\n\n"
              "Img: NULL\nIMAGES: 0\n\n");
}

}  // namespace

namespace {

TEST_F(ImgTexTest, ADescriptionCutShortIsReportedOnceNotForEveryPictureItLacks) {
    // Its header counts four pictures; the file ends in the second.
    WritePng(dir.file("Cut.png"), 32, 16, int(0xFF00FF00));
    WriteFileBytes(dir.file("Cut.txt"), "4\nA\n0\n0\n8\n8\nB\n8\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(ImgWidth(LoadImg(dir.file("Cut.png|A"), -1)), 8);
    EXPECT_EQ(LoadImg(dir.file("Cut.png|B"), -1)->texture, nullptr);
    EXPECT_EQ(LoadImg(dir.file("Cut.png|C"), -1)->texture, nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "ERROR ( File: ImgTex  Code: TImgTex::LoadTex ) Texture description '" + Lower(dir.file("cut.txt")) +
                       "' is cut short; the pictures it lacks are drawn as placeholders\n");
}

}  // namespace
