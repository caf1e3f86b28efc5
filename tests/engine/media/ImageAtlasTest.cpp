// Pictures packed into one texture at load: each drawn from the atlas gives exactly the pixels it
// gives drawn from its own file, at any scale, place and blend, and a picture that cannot be
// decoded is left to its caller.
#include "engine/media/ImageAtlas.h"

#include <gtest/gtest.h>

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

// A picture of sharp-edged blocks of colour and alpha (a Park-Miller generator's), its border
// opaque where filtering reads past it.
void WritePicture(const std::string& path, int w, int h, unsigned seed) {
    TPixmapPtr p = CreatePixmap(w, h);
    unsigned long state = seed;
    auto next = [&] { return static_cast<int>((state = state * 48271 % 2147483647) & 0xFF); };
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 2) {
            const int argb = (next() << 24) | (next() << 16) | (next() << 8) | next();
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    p->WritePixel(x + dx, y + dy, argb | (x == 0 || y == 0 ? 0xFF000000 : 0));
        }
    ASSERT_TRUE(SavePixmapPNG(p, path));
}

class ImageAtlasTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(480, 400));
        ResetDrawState();
        TImgTex::ResetRegistry();
    }
    void TearDown() override {
        ResetDrawState();
        TImgTex::ResetRegistry();
    }
    TPixmapPtr Drawn(const TImgPtr& img, float x, float y, float scale, int blend) {
        SetClsColor(40, 60, 80);
        Cls();
        SetBlend(blend);
        SetColor(255, 200, 120);
        SetAlpha(0.8f);
        SetScale(scale, scale);
        DrawImg(img, x, y);
        ResetDrawState();
        return GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    }
};

TEST_F(ImageAtlasTest, PicturesDrawFromTheAtlasAsFromTheirFiles) {
    const std::vector<std::pair<int, int>> sizes{{38, 56}, {64, 56}, {57, 84}, {14, 14}, {112, 112}};
    std::vector<std::string> paths;
    for (size_t i = 0; i < sizes.size(); ++i) {
        paths.push_back(dir.file("p" + std::to_string(i) + ".png"));
        WritePicture(paths.back(), sizes[i].first, sizes[i].second, 7 + static_cast<unsigned>(i));
    }
    const std::vector<TImgPtr> packed = LoadImgAtlas("pictures", paths);
    ASSERT_EQ(packed.size(), paths.size());
    const struct {
        float x, y, scale;
        int blend;
    } draws[] = {{100, 100, 1.0f, ALPHABLEND},        {100.5f, 99.25f, 0.37f, ALPHABLEND},
                 {203.3f, 150.7f, 1.37f, LIGHTBLEND}, {50.1f, 60.9f, 2.5f, ALPHABLEND},
                 {300, 200, 0.2f, LIGHTBLEND},        {17.5f, 33.5f, 1.2f, ALPHABLEND}};
    for (size_t i = 0; i < paths.size(); ++i) {
        ASSERT_TRUE(packed[i]);
        TImgPtr own = LoadImg(paths[i], -1);
        EXPECT_EQ(ImgWidth(packed[i]), sizes[i].first);
        EXPECT_EQ(ImgHeight(packed[i]), sizes[i].second);
        own->MidHandle();
        packed[i]->MidHandle();
        for (const auto& d : draws) {
            SCOPED_TRACE(testing::Message()
                         << "picture " << i << " at " << d.x << ", " << d.y << " scaled " << d.scale);
            const TPixmapPtr a = Drawn(own, d.x, d.y, d.scale, d.blend),
                             b = Drawn(packed[i], d.x, d.y, d.scale, d.blend);
            int differ = 0, most = 0;
            for (int y = 0; y < a->height; ++y)
                for (int x = 0; x < a->width; ++x)
                    if (a->ReadPixel(x, y) != b->ReadPixel(x, y)) {
                        ++differ;
                        for (int s = 0; s < 24; s += 8)
                            most = std::max(
                                most, std::abs(((a->ReadPixel(x, y) >> s) & 255) - ((b->ReadPixel(x, y) >> s) & 255)));
                    }
            EXPECT_EQ(differ, 0) << "most " << most;
        }
    }
}

TEST_F(ImageAtlasTest, AFileThatCannotBeDecodedIsLeftToItsCallerAndTheAtlasKeepsNoPixels) {
    const std::string good = dir.file("good.png"), damaged = dir.file("damaged.png");
    WritePicture(good, 20, 12, 3);
    WriteFileBytes(damaged, "\x89PNG not really");
    const int64_t before = TextureMemory().picturePixels;
    const std::vector<TImgPtr> packed = LoadImgAtlas("pictures", {dir.file("missing.png"), good, damaged});
    ASSERT_EQ(packed.size(), 3u);
    EXPECT_FALSE(packed[0]);
    EXPECT_FALSE(packed[2]);
    ASSERT_TRUE(packed[1]);
    EXPECT_EQ(ImgWidth(packed[1]), 20);
    // Drawn, its pixels made from the file and uploaded, then let go.
    EXPECT_EQ(Drawn(packed[1], 50, 50, 1.0f, ALPHABLEND)->ReadPixel(10, 10) & 0xFFFFFF, 0x283C50);
    EXPECT_NE(Drawn(packed[1], 50, 50, 1.0f, SOLIDBLEND)->ReadPixel(51, 51) & 0xFFFFFF, 0x283C50);
    EXPECT_EQ(TextureMemory().picturePixels, before);
}

}  // namespace
