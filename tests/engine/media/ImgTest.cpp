// Images drawn in a real headless frame and read back: sub-images cut from a texture, handles,
// the placeholder for whatever is missing, partial drawing and fitting.
#include "engine/media/Img.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/media/ImgTex.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

using testsupport::Rgb;

const Rgb kBack{40, 60, 80};
const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};
const Rgb kMagenta{255, 0, 255}, kBlack{0, 0, 0};

class ImgTest : public ::testing::Test {
protected:
    TempDir dir;
    TPixmapPtr frame;

    void SetUp() override {
        // Any window at least this large will do (other suites may have opened theirs).
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(480, 400));
        ResetDrawState();
        SetClsColor(kBack.r, kBack.g, kBack.b);
        Cls();
        TImgTex::ResetRegistry();
        TImg::ResetSetup();
        ASSERT_NO_FATAL_FAILURE(testsupport::WriteQuadrantsPng(dir.file("quads.png"), 32, 16));
        // QUAD straddles all four quadrants; GREEN lies inside the green one.
        WriteFileBytes(dir.file("quads.txt"), "2\nQUAD\n8\n4\n16\n8\nGREEN\n16\n0\n8\n8\nODD\n0\n0\n5\n3\n");
    }
    void TearDown() override {
        ResetDrawState();
        TImgTex::ResetRegistry();
        TImg::ResetSetup();
    }
    std::string Url(const std::string& name) const { return dir.file("quads.png|" + name); }
    void Grab() { frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()); }
    Rgb At(int x, int y) const { return testsupport::RgbAt(frame, x, y); }
    // Every probe (x, y, colour) read back from the last grab, within a small tolerance.
    void ExpectPixels(const std::vector<std::pair<std::pair<int, int>, Rgb>>& probes, const std::string& what) {
        for (const auto& [pt, want] : probes) {
            Rgb got = At(pt.first, pt.second);
            EXPECT_TRUE(testsupport::NearRgb(got, want, 2))
                << what << " at (" << pt.first << ", " << pt.second << "): got " << got << " want " << want;
        }
    }
    // The placeholder with its top-left corner at (x, y): a white frame round magenta and
    // black checks of 8 pixels, 128 x 64, nothing beyond.
    void ExpectPlaceholder(int x, int y, const std::string& what) {
        ExpectPixels({{{x, y}, kWhite},
                      {{x + 127, y + 63}, kWhite},
                      {{x + 4, y + 4}, kMagenta},
                      {{x + 12, y + 4}, kBlack},
                      {{x + 12, y + 12}, kMagenta},
                      {{x + 128, y + 10}, kBack},
                      {{x + 10, y + 64}, kBack}},
                     what);
    }
};

TEST_F(ImgTest, SubImagesDrawTheirRectangleOfTheTexture) {
    TImgPtr quad = LoadImg(Url("QUAD"), -1);
    TImgPtr green = LoadImg(Url("green"), -1);
    DrawImg(quad, 100, 20, 0);
    DrawImg(quad, 100, 60, 3);                        // the frame number changes nothing
    DrawImgSubRect(quad, 140, 20, 8, 4, 8, 4, 8, 4);  // the white corner: offset by QUAD's origin
    green->MidHandle();
    DrawImg(green, 200, 20, 0);
    Grab();
    ExpectPixels({{{100, 20}, kRed},
                  {{108, 20}, kGreen},
                  {{100, 24}, kBlue},
                  {{115, 27}, kWhite},
                  {{116, 20}, kBack},
                  {{99, 20}, kBack},
                  {{100, 28}, kBack}},
                 "QUAD");
    ExpectPixels({{{100, 60}, kRed}, {{115, 67}, kWhite}}, "QUAD frame 3");
    ExpectPixels({{{140, 20}, kWhite}, {{147, 23}, kWhite}, {{148, 20}, kBack}, {{140, 24}, kBack}}, "part of QUAD");
    ExpectPixels({{{196, 16}, kGreen}, {{203, 23}, kGreen}, {{195, 16}, kBack}, {{204, 20}, kBack}},
                 "mid-handled GREEN");

    // Freeing one user's sub-image leaves the texture drawing for everybody.
    quad->Free();
    Cls();
    DrawImg(LoadImg(Url("quad"), -1), 100, 20, 0);
    DrawImg(green, 200, 20, 0);
    Grab();
    ExpectPixels({{{100, 20}, kRed}, {{200, 20}, kGreen}}, "after Free");
}

TEST_F(ImgTest, WholeImageIsPlacedByItsSharedHandle) {
    TImgPtr img = LoadImg(dir.file("quads.png"), -1);
    TImgPtr copy = LoadImg(dir.file("quads.png"), -1);
    img->MidHandle();
    EXPECT_EQ((std::vector<int>{img->hx, img->hy, img->isMidHandled}), (std::vector<int>{16, 8, 1}));
    DrawImg(copy, 100, 100, 0);  // the copy shares the centred picture
    SetImgHandle(img, 0, 0);
    EXPECT_EQ(img->isMidHandled, 0);
    DrawImg(copy, 200, 100, 0);
    Grab();
    ExpectPixels({{{84, 92}, kRed}, {{115, 107}, kWhite}, {{83, 92}, kBack}}, "centred");
    ExpectPixels({{{200, 100}, kRed}, {{231, 115}, kWhite}, {{199, 100}, kBack}}, "handle 0, 0");
}

TEST_F(ImgTest, SubImageHandlesAndCopies) {
    TImgPtr odd = LoadImg(Url("ODD"), -1);
    MidHandleImg(odd);
    EXPECT_EQ((std::vector<int>{ImgHandleX(odd), ImgHandleY(odd), odd->isMidHandled}), (std::vector<int>{2, 1, 1}));
    SetImgHandle(odd, 3, 2);
    odd->Load();
    EXPECT_EQ((std::vector<int>{odd->hx, odd->hy, odd->isMidHandled, odd->isLoaded}), (std::vector<int>{3, 2, 0, 1}));
    TImgPtr copy = odd->Copy();
    EXPECT_EQ((std::vector<int>{copy->x, copy->y, copy->w, copy->h, copy->hx, copy->hy}),
              (std::vector<int>{0, 0, 5, 3, 3, 2}));
    EXPECT_EQ(copy->texture, odd->texture);
    EXPECT_EQ(copy->name, "");
}

TEST_F(ImgTest, MissingPicturesDrawThePlaceholderAndAreReported) {
    WriteFileBytes(dir.file("nopix.txt"), "1\nA\n0\n0\n4\n4\n");  // a description without its image
    const struct {
        std::string url;
        std::string report;  // the start of the output
    } cases[] = {
        {dir.file("gone.png"), "NO FILE ERROR ( File: ImgTex  Code: TImgTex::LoadImgSingle )"},
        {Url("NOT_THERE"), "ERROR ( File: ImgTex  Code: TImgTex::LoadImgTex ) No image named \"NOT_THERE\""},
        {dir.file("nopix.png|A"), "NO FILE ERROR ( File: ImgTex  Code: TImgTex::Load )"},
    };
    int y = 10;
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        TImgPtr img = LoadImg(c.url, -1);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.substr(0, c.report.size()), c.report) << c.url;
        // Handles on a missing picture are accepted without harm.
        SetImgHandle(img, 5, 5);
        MidHandleImg(img);
        SetImgHandle(img, 0, 0);
        DrawImg(img, 300, static_cast<float>(y), 0);
        y += 100;
    }
    DrawImg(nullptr, 10, 300, 0);
    Grab();
    ExpectPlaceholder(300, 10, "missing file");
    ExpectPlaceholder(300, 110, "unknown name");
    ExpectPlaceholder(300, 210, "texture without pixels");
    ExpectPlaceholder(10, 300, "null image");
}

TEST_F(ImgTest, PlaceholderIsMadeOnceByTheFirstLoad) {
    EXPECT_EQ(TImg::_emptyImg, nullptr);
    LoadImg(Url("QUAD"), -1);
    TImagePtr made = TImg::_emptyImg;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(ImageWidth(made), 128);
    EXPECT_EQ(ImageHeight(made), 64);
    LoadImg(Url("GREEN"), -1);
    EXPECT_EQ(TImg::_emptyImg, made);
}

TEST_F(ImgTest, DrawImagePartDrawsOneSideInPlace) {
    TImgPtr img = LoadImg(dir.file("quads.png"), -1);  // 32 x 16
    const struct {
        int side;
        int x, y;
        std::vector<std::pair<std::pair<int, int>, Rgb>> probes;
    } cases[] = {
        // Left quarter: 8 columns.
        {0, 20, 20, {{{20, 20}, kRed}, {{27, 35}, kBlue}, {{28, 20}, kBack}}},
        // Top quarter: 4 rows.
        {1, 80, 20, {{{80, 20}, kRed}, {{111, 23}, kGreen}, {{80, 24}, kBack}}},
        // Right quarter: the right-most 8 columns, at x + 24.
        {2, 140, 20, {{{164, 20}, kGreen}, {{171, 35}, kWhite}, {{163, 20}, kBack}, {{172, 20}, kBack}}},
        // Bottom quarter: the last 4 rows, at y + 12.
        {3, 200, 20, {{{200, 32}, kBlue}, {{231, 35}, kWhite}, {{200, 31}, kBack}, {{200, 36}, kBack}}},
        // Any other side draws nothing.
        {4, 260, 20, {{{260, 20}, kBack}, {{275, 27}, kBack}}},
    };
    for (const auto& c : cases) DrawImagePart(img, c.x, c.y, 0.25f, c.side);
    DrawImagePart(img, 320, 20, 0.0f, 2);  // nothing at all
    Grab();
    for (const auto& c : cases) ExpectPixels(c.probes, "side " + std::to_string(c.side));
    ExpectPixels({{{320, 20}, kBack}, {{351, 35}, kBack}}, "per 0");
}

TEST(ImgFit, FitImageScaleFitsBothSides) {
    const struct {
        int w, h;
        float maxW, maxH, want;
    } cases[] = {
        {400, 300, 200, 200, 0.5f}, {50, 50, 200, 200, 1.0f},
        {200, 200, 200, 200, 1.0f}, {100, 90, 200, 45, 0.5f},  // only the height overflows: the height decides
        {300, 100, 150, 10, 0.1f},                             // both overflow: the tighter factor wins
        {0, 0, 10, 10, 1.0f},
    };
    for (const auto& c : cases) {
        TImgPtr img = CreateImgFromImage(CreateImage(c.w > 0 ? c.w : 1, c.h > 0 ? c.h : 1));
        img->w = c.w;
        img->h = c.h;
        SetScale(3, 3);
        EXPECT_FLOAT_EQ(FitImageScale(img, c.maxW, c.maxH), c.want) << c.w << "x" << c.h;
        float sx = 0, sy = 0;
        GetScale(sx, sy);
        EXPECT_EQ(sx, c.want);
        EXPECT_EQ(sy, c.want);
    }
    SetScale(1, 1);
    EXPECT_EQ(ImgWidth(CreateImgFromImage(CreateImage(7, 9))), 7) << "a wrapped picture keeps its size";
}

}  // namespace
