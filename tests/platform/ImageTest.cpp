// Pixmaps and the picture decoders: PNG round trip, JPEG, hand-made BMP and TGA files, and
// damaged files that must give nothing rather than crash.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <jpeglib.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "support/AddressSpaceLimit.h"
#include "support/Jpeg.h"
#include "support/Png.h"
#include "support/TestSupport.h"

namespace {

using testsupport::AddressSpaceLimit;
using testsupport::Jpeg;
using testsupport::JpegOptions;

// The place of a JPEG's frame header (any coding) in the file; npos when there is none.
size_t JpegFrameHeader(const std::string& jpeg) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
        const auto m = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF &&
            (m == 0xC0 || m == 0xC1 || m == 0xC2 || m == 0xC9 || m == 0xCA))
            return i;
    }
    return std::string::npos;
}

// The same file claiming another size.
std::string JpegClaiming(std::string jpeg, int w, int h) {
    const size_t sof = JpegFrameHeader(jpeg);
    if (sof == std::string::npos) return {};
    jpeg[sof + 5] = static_cast<char>(h >> 8);
    jpeg[sof + 6] = static_cast<char>(h & 255);
    jpeg[sof + 7] = static_cast<char>(w >> 8);
    jpeg[sof + 8] = static_cast<char>(w & 255);
    return jpeg;
}

std::string Le16(int v) { return {static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255)}; }
std::string Le32(int64_t v) { return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>((v >> 16) & 0xFFFF)); }
std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

// A BMP with a 40-byte header; `extra` (palette or masks) sits between header and pixels.
std::string Bmp(int64_t w, int64_t h, int bpp, int compression, const std::string& extra, const std::string& pixels,
                int colorsUsed = 0) {
    std::string info = Le32(40) + Le32(w) + Le32(h) + Le16(1) + Le16(bpp) + Le32(compression) +
                       Le32(static_cast<int64_t>(pixels.size())) + Le32(2835) + Le32(2835) + Le32(colorsUsed) + Le32(0);
    int offset = 14 + 40 + static_cast<int>(extra.size());
    return "BM" + Le32(offset + static_cast<int64_t>(pixels.size())) + Le32(0) + Le32(offset) + info + extra + pixels;
}

std::string Tga(int mapType, int type, int mapLength, int mapBits, int w, int h, int bpp, int descriptor,
                const std::string& body) {
    return Bytes({0, mapType, type}) + Le16(0) + Le16(mapLength) + Bytes({mapBits}) + Le16(0) + Le16(0) + Le16(w) +
           Le16(h) + Bytes({bpp, descriptor}) + body;
}

struct Pixel {
    int x, y;
    uint32_t argb;
};

const uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

TEST(PixmapTest, PixelsAreArgbIntsAndOutOfRangeIsHarmless) {
    auto p = CreatePixmap(3, 2);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pitch, 12);
    p->WritePixel(1, 1, int(0x80402010));
    EXPECT_EQ(uint32_t(p->ReadPixel(1, 1)), 0x80402010u);
    const uint8_t* bytes = p->PixelPtr(1, 1);
    EXPECT_EQ(bytes[0], 0x40);  // red first in memory
    EXPECT_EQ(bytes[3], 0x80);
    p->WritePixel(3, 0, -1);
    p->WritePixel(-1, 0, -1);
    EXPECT_EQ(p->ReadPixel(3, 0), 0);
    EXPECT_EQ(p->ReadPixel(0, -1), 0);
    EXPECT_FALSE(CreatePixmap(0, 5));
    EXPECT_FALSE(CreatePixmap(100000, 100000));
}

// How much of a picture its commonest colour covers: what tells a benchmark a blank frame.
TEST(PixmapTest, TheCommonestColoursShareIsOneForABlankPicture) {
    auto blank = CreatePixmap(64, 48);
    blank->ClearPixels(int(0xFF102030));
    EXPECT_DOUBLE_EQ(CommonestColourShare(blank), 1.0);
    blank->WritePixel(0, 0, int(0x00102030));  // alpha alone is no other colour
    EXPECT_DOUBLE_EQ(CommonestColourShare(blank), 1.0);
    EXPECT_DOUBLE_EQ(CommonestColourShare(nullptr), 1.0);
    auto halves = CreatePixmap(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            halves->WritePixel(x, y, x < 16 ? int(0xFF0000FF) : x < 32 ? int(0xFF00FF00) : int(0xFFFF0000));
    EXPECT_DOUBLE_EQ(CommonestColourShare(halves), 0.5);
}

TEST(PixmapTest, PngRoundTripKeepsEveryPixelAndAlpha) {
    testsupport::TempDir dir;
    auto p = CreatePixmap(5, 3);
    const uint32_t values[] = {0xFFFF0000, 0x00000000, 0x80123456, 0xFFFFFFFF, 0x01ABCDEF};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) p->WritePixel(x, y, int(values[(x + y) % 5]));
    ASSERT_TRUE(SavePixmapPNG(p, dir.file("round.png")));
    auto back = LoadPixmap(dir.file("round.png"));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, 5);
    ASSERT_EQ(back->height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(back->ReadPixel(x, y), p->ReadPixel(x, y)) << x << "," << y;

    EXPECT_FALSE(SavePixmapPNG(p, dir.file("no/such/folder/x.png")));
    EXPECT_FALSE(SavePixmapPNG(nullptr, dir.file("null.png")));
    EXPECT_FALSE(LoadPixmap(dir.file("missing.png")));
}

TEST(PixmapTest, JpegDecodesColourAndGrey) {
    std::vector<uint8_t> rgb(16 * 16 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = 200;
        rgb[i + 1] = 30;
        rgb[i + 2] = 60;
    }
    auto colour = LoadPixmapFromMemory(Jpeg(16, 16, 3, rgb));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->width, 16);
    uint32_t v = uint32_t(colour->ReadPixel(8, 8));
    EXPECT_EQ(v >> 24, 255u);
    EXPECT_NEAR(int((v >> 16) & 255), 200, 6);
    EXPECT_NEAR(int((v >> 8) & 255), 30, 6);
    EXPECT_NEAR(int(v & 255), 60, 6);

    auto grey = LoadPixmapFromMemory(Jpeg(8, 4, 1, std::vector<uint8_t>(32, 90)));
    ASSERT_TRUE(grey);
    uint32_t g = uint32_t(grey->ReadPixel(3, 3));
    EXPECT_NEAR(int(g & 255), 90, 3);
    EXPECT_EQ((g >> 16) & 255, g & 255);
}

TEST(PixmapTest, BmpAndTgaVariantsDecode) {
    const std::string palette2 = Bytes({0, 0, 255, 0, 0, 255, 0, 0});  // red, green (BGRx)
    const struct {
        const char* name;
        std::string file;
        int w, h;
        std::vector<Pixel> pixels;
    } cases[] = {
        {"bmp 24-bit bottom-up with row padding",
         Bmp(2, 2, 24, 0, "", Bytes({255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0})),
         2,
         2,
         {{0, 0, kRed}, {1, 0, kGreen}, {0, 1, kBlue}, {1, 1, kWhite}}},
        {"bmp 32-bit top-down with alpha",
         Bmp(1, -2, 32, 0, "", Bytes({0x10, 0x20, 0x30, 0x80, 0, 0, 0, 255})),
         1,
         2,
         {{0, 0, 0x80302010}, {0, 1, kBlack}}},
        {"bmp 32-bit without alpha is opaque", Bmp(1, 1, 32, 0, "", Bytes({0, 0, 255, 0})), 1, 1, {{0, 0, kRed}}},
        {"bmp 8-bit palette",
         Bmp(3, 1, 8, 0, palette2, Bytes({1, 0, 1, 0}), 2),
         3,
         1,
         {{0, 0, kGreen}, {1, 0, kRed}, {2, 0, kGreen}}},
        {"bmp 1-bit palette",
         Bmp(8, 1, 1, 0, palette2, Bytes({0xA0, 0, 0, 0}), 2),
         8,
         1,
         {{0, 0, kGreen}, {1, 0, kRed}, {2, 0, kGreen}, {7, 0, kRed}}},
        {"bmp 16-bit 5-5-5", Bmp(1, 1, 16, 0, "", Bytes({0x00, 0x7C, 0, 0})), 1, 1, {{0, 0, kRed}}},
        {"bmp 16-bit bit fields 5-6-5",
         Bmp(1, 1, 16, 3, Le32(0xF800) + Le32(0x07E0) + Le32(0x001F), Bytes({0xE0, 0x07, 0, 0})),
         1,
         1,
         {{0, 0, kGreen}}},
        {"tga true colour bottom-up",
         Tga(0, 2, 0, 0, 2, 2, 24, 0, Bytes({255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0})),
         2,
         2,
         {{0, 0, kRed}, {1, 0, kGreen}, {0, 1, kBlue}, {1, 1, kWhite}}},
        {"tga run-length 32-bit top-down",
         Tga(0, 10, 0, 0, 3, 1, 32, 0x28, Bytes({0x81, 0x10, 0x20, 0x30, 0x40, 0x00, 0, 0, 255, 255})),
         3,
         1,
         {{0, 0, 0x40302010}, {1, 0, 0x40302010}, {2, 0, kRed}}},
        {"tga grey", Tga(0, 3, 0, 0, 2, 1, 8, 0x20, Bytes({0, 0x80})), 2, 1, {{0, 0, kBlack}, {1, 0, 0xFF808080}}},
        {"tga colour-mapped",
         Tga(1, 1, 2, 24, 2, 1, 8, 0x20, Bytes({0, 0, 255, 0, 255, 0, 1, 0})),
         2,
         1,
         {{0, 0, kGreen}, {1, 0, kRed}}},
        {"tga right-to-left", Tga(0, 3, 0, 0, 2, 1, 8, 0x30, Bytes({0, 0xFF})), 2, 1, {{0, 0, kWhite}, {1, 0, kBlack}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = LoadPixmapFromMemory(c.file);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->width, c.w);
        EXPECT_EQ(p->height, c.h);
        // The header alone tells the same size.
        int w = 0, h = 0;
        EXPECT_TRUE(PictureSize(c.file, MaxImageSide(), MaxImagePixels, w, h));
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
        for (const auto& px : c.pixels) EXPECT_EQ(uint32_t(p->ReadPixel(px.x, px.y)), px.argb) << px.x << "," << px.y;
    }
}

TEST(PixmapTest, DamagedFilesGiveNothing) {
    std::string goodBmp = Bmp(2, 2, 24, 0, "", std::string(16, '\0'));
    std::vector<uint8_t> grey(64 * 64, 128);
    std::string goodJpeg = Jpeg(64, 64, 1, grey);
    std::string goodPng;
    {
        testsupport::TempDir dir;
        auto p = CreatePixmap(4, 4);
        ASSERT_TRUE(SavePixmapPNG(p, dir.file("p.png")));
        goodPng = testsupport::ReadFileBytes(dir.file("p.png"));
    }
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "just some text that is no picture"},
        {"png cut short", goodPng.substr(0, goodPng.size() / 2)},
        {"jpeg cut short", goodJpeg.substr(0, 120)},
        {"bmp pixels cut short", goodBmp.substr(0, goodBmp.size() - 4)},
        {"bmp of absurd size", Bmp(100000, 100000, 24, 0, "", std::string(16, '\0'))},
        {"bmp run-length", Bmp(2, 2, 8, 1, std::string(8, '\0'), std::string(8, '\0'), 2)},
        {"bmp palette missing", Bmp(2, 1, 8, 0, "", Bytes({0, 0, 0, 0}))},
        {"bmp alpha mask past a short header", "BM" + Le32(66) + Le32(0) + Le32(66) + Le32(52) + Le32(1) + Le32(1) +
                                                   Le16(1) + Le16(32) + Le32(6) + Le32(4) + Le32(2835) + Le32(2835) +
                                                   Le32(0) + Le32(0) + Le32(0xFF0000) + Le32(0xFF00) + Le32(0xFF)},
        {"tga run longer than the picture", Tga(0, 10, 0, 0, 1, 1, 24, 0, Bytes({0x85, 1, 2, 3}))},
        {"tga index outside its map", Tga(1, 1, 2, 24, 1, 1, 8, 0, Bytes({0, 0, 255, 0, 255, 0, 5}))},
        {"tga pixels cut short", Tga(0, 2, 0, 0, 2, 2, 32, 0, Bytes({1, 2, 3, 4}))},
        {"tga unknown kind", Tga(0, 7, 0, 0, 1, 1, 24, 0, Bytes({1, 2, 3}))},
    };
    for (const auto& c : cases) EXPECT_FALSE(LoadPixmapFromMemory(c.bytes)) << c.name;
}

// The 32-bit big-endian field at pos replaced by v.
void PutBe32(std::string& s, size_t pos, uint32_t v) {
    for (int k = 0; k < 4; ++k) s[pos + k] = static_cast<char>((v >> (24 - 8 * k)) & 255);
}

TEST(PixmapTest, OversizedPicturesAreRefusedRightAfterTheirHeader) {
    const int64_t side = MaxImageSide();
    EXPECT_TRUE(ImageSizeAllowed(side, 1));
    EXPECT_FALSE(ImageSizeAllowed(side + 1, 1));
    EXPECT_TRUE(ImageSizeAllowed(8192, 8192));  // MaxImagePixels exactly
    EXPECT_FALSE(ImageSizeAllowed(8192, 8193));
    EXPECT_FALSE(ImageSizeAllowed(0, 5));
    EXPECT_FALSE(ImageSizeAllowed(5, -1));
    EXPECT_FALSE(CreatePixmap(8192, 8193));

    // A progressive JPEG whose frame header claims 65500 x 65500.
    const std::string jpeg = Jpeg(8, 8, 3, std::vector<uint8_t>(8 * 8 * 3, 200), {.progressive = true});
    const std::string hugeJpeg = JpegClaiming(jpeg, 65500, 65500);
    // The same, claiming 8000 x 8000: allowed in size, but far more than its few bytes hold.
    const std::string bigJpeg = JpegClaiming(jpeg, 8000, 8000);
    // An arithmetic-coded one claiming 8192 x 8192 (such a file of 202 bytes once decoded at a
    // peak of 664 MB): arithmetic coding is held to the same plausible size of file.
    const std::string arithmeticJpeg =
        JpegClaiming(Jpeg(8, 8, 3, std::vector<uint8_t>(8 * 8 * 3, 200), {.arithmetic = true}), 8192, 8192);
    ASSERT_FALSE(hugeJpeg.empty() || bigJpeg.empty() || arithmeticJpeg.empty());
    // A 1 x 1 PNG whose header (with its checksum made good) claims 8192 x 8192.
    std::string png = EncodePNG(CreatePixmap(1, 1));
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    PutBe32(png, 16, 8192);
    PutBe32(png, 20, 8192);
    PutBe32(png, 29, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)));
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"jpeg of 65500 x 65500", hugeJpeg},
        {"jpeg of 8000 x 8000 in a few bytes", bigJpeg},
        {"arithmetic-coded jpeg of 8192 x 8192 in a few bytes", arithmeticJpeg},
        {"png of 8192 x 8192 in a few bytes", png},
        {"tga header of 8192 x 8192 alone", Tga(0, 2, 0, 0, 8192, 8192, 32, 0, "")},
        {"run-length tga of 8192 x 8192 in one packet", Tga(0, 10, 0, 0, 8192, 8192, 32, 0, Bytes({0xFF, 1, 2, 3, 4}))},
        {"tga of 65535 x 65535", Tga(0, 2, 0, 0, 65535, 65535, 8, 0, std::string(64, '\0'))},
        {"bmp header of 8192 x 8192 alone", Bmp(8192, 8192, 32, 0, "", "")},
    };
    // Nothing is allocated for the pixels: 64 MB more than the process has is plenty.
    AddressSpaceLimit limit(64 << 20);
    if (!limit.active()) GTEST_SKIP() << "no address-space limit can be set here";
    for (const auto& c : cases) {
        EXPECT_FALSE(LoadPixmapFromMemory(c.bytes)) << c.name;
        int w = 0, h = 0;
        EXPECT_FALSE(PictureSize(c.bytes, MaxImageSide(), MaxImagePixels, w, h)) << c.name << ": its header alone";
    }
}

TEST(PixmapTest, DecodingWithinTheCallersLimitsTellsTheSizeItRefused) {
    const std::string small = EncodePNG(CreatePixmap(80, 100));
    // A 1 x 1 PNG whose header (with its checksum made good) claims 8192 x 8192.
    std::string huge = EncodePNG(CreatePixmap(1, 1));
    PutBe32(huge, 16, 8192);
    PutBe32(huge, 20, 8192);
    PutBe32(huge, 29, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17)));
    const struct {
        const char* name;
        const std::string& bytes;
        int64_t side, pixels;
        bool refused;  // for its size
        int64_t width, height;
    } cases[] = {
        {"within", small, 100, 8000, false, 80, 100},
        {"one pixel too many", small, 100, 7999, true, 80, 100},
        {"a side too long", small, 99, 8000, true, 80, 100},
        {"a header of 8192 x 8192", huge, 2048, int64_t(2) << 20, true, 8192, 8192},
        {"allowed in size, but far more than its bytes hold", huge, 16384, int64_t(1) << 40, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPictureTooLarge tooLarge, headerTooLarge;
        const TPixmapPtr p = DecodePixmap(c.bytes, c.side, c.pixels, &tooLarge);
        EXPECT_EQ(tooLarge.refused, c.refused);
        // Its header alone gives the same answer.
        int w = 0, h = 0;
        EXPECT_EQ(PictureSize(c.bytes, c.side, c.pixels, w, h, &headerTooLarge), p != nullptr);
        EXPECT_EQ(headerTooLarge.refused, c.refused);
        if (p) {
            EXPECT_EQ(w, p->width);
        }
        if (c.refused) {
            EXPECT_FALSE(p);
            EXPECT_EQ(tooLarge.width, c.width);
            EXPECT_EQ(tooLarge.height, c.height);
        } else if (c.width > 0) {
            ASSERT_TRUE(p);
            EXPECT_EQ(p->width, c.width);
        }
    }
    // The image made of a decoded pixmap keeps that very pixmap.
    TPixmapPtr p = DecodePixmap(small, 100, 8000);
    const TPixmap* raw = p.get();
    const TImagePtr image = AdoptPixmapImage(std::move(p));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixmaps[0].get(), raw);
    EXPECT_FALSE(AdoptPixmapImage(nullptr));
}

using testsupport::CompressedTextChunks;
using testsupport::PngChunk;
using testsupport::PngWith;

TEST(PixmapTest, APngsTextAndProfileChunksAreSkippedUnread) {
    auto p = CreatePixmap(4, 3);
    p->ClearPixels(int(0xFF336699));
    p->WritePixel(1, 1, int(0x80FF0000));
    const std::string png = EncodePNG(p);
    // 200 compressed texts (1.6 MB, 1.6 GB unpacked), a text, an international text and a
    // colour profile: the decoder is handed the picture's own chunks only, in a few pieces.
    const std::string hostile = PngWith(png, CompressedTextChunks(200) + PngChunk("tEXt", std::string("Title\0x", 7)) +
                                                 PngChunk("iTXt", std::string("Title\0\0\0\0\0x", 11)) +
                                                 PngChunk("iCCP", std::string("icc\0\0", 5) + std::string(1000, 'x')) +
                                                 PngChunk("vpAg", std::string(9, '\0')));
    ASSERT_GT(hostile.size(), size_t(1) << 20);
    int asked = 0;
    const TPixmapPtr back = DecodePixmap(hostile, 100, 100, nullptr, [&asked] { return ++asked > 0; });
    ASSERT_TRUE(back);
    EXPECT_GE(asked, 1);  // asked as it is read
    EXPECT_LE(asked, 2);  // but only for the few pieces of the chunks kept
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(back->ReadPixel(x, y), p->ReadPixel(x, y)) << x << "," << y;

    // A chunk claiming more than a PNG may hold is damage, not something to skip.
    std::string lying = PngWith(png, PngChunk("tEXt", "a"));
    PutBe32(lying, 33, 0x80000000u);
    EXPECT_FALSE(DecodePixmap(lying, 100, 100));
}

TEST(PixmapTest, APngDecodeStopsAtTheNextPieceOnceItsCallerGivesUp) {
    // 1024 x 1024 of noise: some 4 MB of data, hundreds of pieces.
    auto p = CreatePixmap(1024, 1024);
    uint32_t state = 1;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x) {
            state = state * 1664525u + 1013904223u;
            p->WritePixel(x, y, int(state | 0xFF000000u));
        }
    const std::string png = EncodePNG(p, true);
    int asked = 0;
    ASSERT_TRUE(DecodePixmap(png, 2048, int64_t(1) << 22, nullptr, [&asked] { return ++asked > 0; }));
    ASSERT_GT(asked, 100);
    for (int stopAt : {1, 2, asked / 2}) {
        SCOPED_TRACE(stopAt);
        int questions = 0;
        EXPECT_FALSE(DecodePixmap(png, 2048, int64_t(1) << 22, nullptr, [&] { return ++questions < stopAt; }));
        EXPECT_EQ(questions, stopAt);
    }
}

TEST(PixmapTest, AJpegsDecodingWorkIsBoundedByItsScansForItsSize) {
    // Every scan passes over the whole picture: beyond 12, a picture may have as many scans as
    // keep it within 2^26 pixels decoded, and never more than 256.
    const struct {
        int64_t pixels;
        int scans;
    } most[] = {{1, 256}, {512 * 512, 256}, {512 * 512 + 1, 255}, {1448 * 1448, 32}, {int64_t(1) << 26, 12}};
    for (const auto& m : most) EXPECT_EQ(MaxJpegScans(m.pixels), m.scans) << m.pixels;

    // Arithmetic coding, progressive or not, still decodes.
    for (bool progressive : {false, true}) {
        const TPixmapPtr p =
            LoadPixmapFromMemory(testsupport::GradientJpeg(64, 48, {.progressive = progressive, .arithmetic = true}));
        ASSERT_TRUE(p);
        EXPECT_EQ(p->width, 64);
        EXPECT_NEAR((p->ReadPixel(63, 0) >> 16) & 0xFF, 255, 8);
    }
    // 256 scans: within what a 512 x 512 picture may have, past what one a little larger may.
    const std::string within = testsupport::GradientJpeg(512, 512, {.arithmetic = true, .scans = 256});
    const std::string past = testsupport::GradientJpeg(520, 512, {.arithmetic = true, .scans = 256});
    TPictureTooLarge tooLarge;
    EXPECT_TRUE(DecodePixmap(within, 16384, MaxImagePixels, &tooLarge));
    EXPECT_FALSE(tooLarge.refused);
    EXPECT_FALSE(DecodePixmap(past, 16384, MaxImagePixels, &tooLarge));
    EXPECT_TRUE(tooLarge.refused);
    EXPECT_EQ(tooLarge.width, 520);
    EXPECT_EQ(tooLarge.height, 512);
    EXPECT_EQ(tooLarge.scans, MaxJpegScans(520 * 512));
    EXPECT_FALSE(LoadPixmapFromMemory(past));

    // A caller that gives up ends the decoding at once, with nothing decoded and nothing refused.
    int asked = 0;
    EXPECT_FALSE(DecodePixmap(within, 16384, MaxImagePixels, &tooLarge, [&asked] { return ++asked < 3; }));
    EXPECT_FALSE(tooLarge.refused);
    EXPECT_EQ(asked, 3);
}

TEST(ImageTest, AnimImageCutsCellsInReadingOrder) {
    // Six 2 x 2 cells in a 3 x 2 grid; cell i is coloured 0xFF0000i0 + i.
    auto sheet = CreatePixmap(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) sheet->WritePixel(x, y, int(0xFF000000u | uint32_t((y / 2) * 3 + x / 2)));
    auto image = LoadAnimImage(sheet, 2, 2, 2, 3);
    ASSERT_TRUE(image);
    EXPECT_EQ(ImageFrames(image), 3);
    EXPECT_EQ(ImageWidth(image), 2);
    for (int f = 0; f < 3; ++f) EXPECT_EQ(image->pixmaps[f]->ReadPixel(1, 1) & 0xFF, 2 + f);
    EXPECT_FALSE(LoadAnimImage(sheet, 2, 2, 4, 3));
    EXPECT_FALSE(LoadAnimImage(sheet, 0, 2, 0, 1));
    EXPECT_FALSE(LoadAnimImage(TPixmapPtr(), 2, 2, 0, 1));
}

TEST(ImageTest, HandlesAndAutoSettings) {
    auto image = CreateImage(10, 6, 2);
    ASSERT_TRUE(image);
    EXPECT_EQ(ImageFrames(image), 2);
    MidHandleImage(image);
    EXPECT_FLOAT_EQ(ImageHandleX(image), 5.0f);
    EXPECT_FLOAT_EQ(ImageHandleY(image), 3.0f);
    AutoMidHandle(true);
    auto mid = LoadImage(CreatePixmap(4, 8));
    EXPECT_FLOAT_EQ(ImageHandleY(mid), 4.0f);
    ResetImageSettings();
    EXPECT_FLOAT_EQ(ImageHandleY(LoadImage(CreatePixmap(4, 8))), 0.0f);
    EXPECT_FALSE(LockImage(image, 2));
    EXPECT_EQ(ImageWidth(nullptr), 0);
}

}  // namespace

namespace {

// The file's modification time moved by `seconds`.
void Touch(const std::string& path, int seconds) {
    const int64_t ns = FileStamp(path).modifiedNs + int64_t(seconds) * 1000000000;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(ns / 1000000000), ns % 1000000000}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

TEST(ImageTest, APictureIsDecodedAgainOnlyFromTheFileThatWasLoaded) {
    testsupport::TempDir dir;
    auto picture = [](uint32_t argb, int w, int h) {
        auto p = CreatePixmap(w, h);
        p->ClearPixels(int(argb));
        return p;
    };
    const std::string red = EncodePNG(picture(kRed, 8, 8)), blue = EncodePNG(picture(kBlue, 8, 8));
    ASSERT_EQ(red.size(), blue.size());
    const std::string jpeg = Jpeg(32, 32, 1, std::vector<uint8_t>(32 * 32, 90));
    // What becomes of the file between the loading and the first draw.
    const struct {
        const char* name;
        std::string loaded;
        std::function<void(const std::string& path)> change;
        bool drawn;
    } cases[] = {
        {"left as it was", red, [](const std::string&) {}, true},
        {"the same size, written anew", red,
         [&](const std::string& path) {
             testsupport::WriteFileBytes(path, blue);
             Touch(path, 5);
         },
         false},
        {"written in place at the same size, its time put back", red,
         [&](const std::string& path) {
             const int64_t was = FileStamp(path).modifiedNs;
             // (Past the file system's clock tick, so that the write is a later change.)
             std::this_thread::sleep_for(std::chrono::milliseconds(20));
             testsupport::WriteFileBytes(path, blue);
             const struct timespec times[2] = {{0, UTIME_OMIT},
                                               {static_cast<time_t>(was / 1000000000), was % 1000000000}};
             ::utimensat(AT_FDCWD, path.c_str(), times, 0);
             ASSERT_EQ(FileStamp(path).modifiedNs, was);
         },
         false},
        {"linked to and given other rights, its bytes as they were", red,
         [&](const std::string& path) {
             const int64_t was = FileStamp(path).changedNs;
             std::this_thread::sleep_for(std::chrono::milliseconds(20));
             ASSERT_EQ(::link(path.c_str(), (path + ".link").c_str()), 0);
             ::chmod(path.c_str(), 0600);
             ASSERT_NE(FileStamp(path).changedNs, was);
         },
         true},
        {"another file renamed over it", red,
         [&](const std::string& path) {
             testsupport::WriteFileBytes(path + ".next", blue);
             ASSERT_TRUE(RenameFile(path + ".next", path));
         },
         false},
        {"a JPEG cut in half", jpeg,
         [&](const std::string& path) { testsupport::WriteFileBytes(path, jpeg.substr(0, jpeg.size() / 2)); }, false},
        {"a far larger picture", red,
         [](const std::string& path) { testsupport::WriteFileBytes(path, EncodePNG(CreatePixmap(4096, 4096))); },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("p.pic");
        testsupport::WriteFileBytes(path, c.loaded);
        const TImagePtr image = LoadImage(path, 0);
        ASSERT_TRUE(image);
        ASSERT_TRUE(image->pixmaps[0]->pixels.empty());
        c.change(path);
        testing::internal::CaptureStderr();
        const TPixmapPtr pixels = LockImage(image);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(pixels != nullptr, c.drawn);
        if (c.drawn) {
            EXPECT_EQ(uint32_t(pixels->ReadPixel(3, 3)), kRed);
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find("was changed, moved or removed since it was loaded; it is not drawn"),
                      std::string::npos)
                << said;
        }
    }
}

// The main thread's decoding gives up, with nothing decoded, once the program is asked to quit: a
// quit during the loading never waits for a costly picture.
TEST(ImageTest, DecodingOnTheMainThreadGivesUpOnceTheProgramIsToQuit) {
    testsupport::TempDir dir;
    auto picture = CreatePixmap(64, 64);
    picture->ClearPixels(int(kRed));
    testsupport::WriteFileBytes(dir.file("p.png"), EncodePNG(picture));
    testsupport::WriteFileBytes(dir.file("p.jpg"),
                                Jpeg(64, 64, 1, std::vector<uint8_t>(64 * 64, 90), {.progressive = true}));
    const TImagePtr image = LoadImage(dir.file("p.png"), 0);
    ASSERT_TRUE(image);
    InjectQuit();
    for (const char* name : {"p.png", "p.jpg"}) EXPECT_FALSE(LoadPixmap(dir.file(name))) << name;
    EXPECT_FALSE(LockImage(image));
    ResetInput();
    for (const char* name : {"p.png", "p.jpg"}) EXPECT_TRUE(LoadPixmap(dir.file(name))) << name;
}
