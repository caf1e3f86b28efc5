#include "platform/Image.h"

#include <GL/gl.h>
#include <png.h>
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/DecodeWorker.h"
#include "platform/Files.h"
#include "platform/GLTexture.h"
#include "platform/Graphics.h"
#include "platform/Input.h"

namespace {

// The side allowed without a GL context to ask.
constexpr int kMaxSideWithoutGL = 16384;
// More progressive-JPEG scans than any encoder writes: a file of endless tiny scans would
// otherwise keep the decoder busy for minutes.
constexpr int kMaxJpegScans = 256;
// Every picture may have this many scans (libjpeg's own progression writes 10, others fewer).
constexpr int kFreeJpegScans = 12;
// Beyond those, a picture's scans times its pixels stay within this.
constexpr int64_t kMaxJpegScanPixels = int64_t(1) << 26;
// Up to this many pixels an arithmetic-coded JPEG needs no plausible size of file (below).
constexpr int64_t kSmallJpegPixels = int64_t(1) << 20;
// A PNG is handed to its decoder this many bytes at a time, the caller asked before each: at most
// a few rows' worth of work between two questions.
constexpr size_t kPngReadPiece = 8192;

bool gAutoMidHandle = false;
int gMaskR = 0, gMaskG = 0, gMaskB = 0;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void SetRGBA(uint8_t* d, int r, int g, int b, int a) {
    d[0] = static_cast<uint8_t>(r);
    d[1] = static_cast<uint8_t>(g);
    d[2] = static_cast<uint8_t>(b);
    d[3] = static_cast<uint8_t>(a);
}

// The size a decoder may make, told to it by its caller; `tooLarge` (when given) is set when a
// picture is refused for its size. Reads no global state and no GL, so any thread may decode.
struct SizeLimits {
    int64_t maxSide;
    int64_t maxPixels;
    TPictureTooLarge* tooLarge;
    // Set: only the header is read; a picture that passes its checks gives its size here.
    struct Size {
        int width = 0, height = 0;
        bool passed = false;
    }* headerOnly = nullptr;

    bool Allows(int64_t width, int64_t height) const {
        if (width <= 0 || height <= 0) return false;
        if (width <= maxSide && height <= maxSide && width * height <= maxPixels) return true;
        if (tooLarge) *tooLarge = {true, width, height, 0};
        return false;
    }
    // Called by a decoder once the header passed every check, right before its pixels are made:
    // true when only the header was wanted (its size is kept), and the decoder stops there.
    bool StopAtHeader(int64_t width, int64_t height) const {
        if (!headerOnly) return false;
        *headerOnly = {static_cast<int>(width), static_cast<int>(height), true};
        return true;
    }
};

// A new pixmap of a size the caller has checked.
// Null, after a line, when the pixels do not fit in memory: a picture that cannot be held is
// refused like a damaged one, never thrown on.
TPixmapPtr NewPixmap(int width, int height) {
    try {
        auto p = std::make_shared<TPixmap>();
        p->width = width;
        p->height = height;
        p->pitch = width * 4;
        p->pixels.assign(static_cast<size_t>(p->pitch) * height, 0);
        return p;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "A picture of %d x %d pixels does not fit in memory; it is not made\n", width, height);
        return nullptr;
    }
}

// Pictures whose alpha bytes are all zero were written without alpha (32-bit BMP and TGA
// writers often leave the fourth byte empty): make them opaque.
void OpaqueIfAlphaEmpty(TPixmap& p) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.PixelPtr(x, y)[3] != 0) return;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.PixelPtr(x, y)[3] = 255;
}

// ---- PNG ----

// The chunks a picture needs to be drawn: the critical ones (their name starts in upper case)
// and the few ancillary ones that change its pixels. Every other chunk (text, compressed text,
// colour profiles, times, anything unknown) is dropped unread: a file may hold hundreds of
// compressed text chunks whose unpacking would cost far more than its pixels.
bool PngChunkKept(const uint8_t* type) {
    if ((type[0] & 0x20) == 0) return true;
    for (const char* kept : {"tRNS", "gAMA", "sRGB", "cHRM", "sBIT"})
        if (std::memcmp(type, kept, 4) == 0) return true;
    return false;
}

uint32_t Be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// The PNG as the decoder sees it: the file's kept chunks, read in place (no copy), in pieces of
// at most kPngReadPiece bytes; before each piece the caller is asked whether to go on.
struct PngSource {
    const uint8_t* data = nullptr;
    std::vector<std::pair<size_t, size_t>> spans;  // offset, length
    size_t span = 0, at = 0;
    size_t size = 0;  // all spans together
    const std::function<bool()>* keepGoing = nullptr;
    bool stopped = false;

    // Walks the chunk list from the signature to IEND; false when a chunk's length is beyond
    // what a PNG allows. A file cut short keeps its last piece, for the decoder to refuse.
    bool Walk(const uint8_t* bytes, size_t total) {
        data = bytes;
        Add(0, 8);
        size_t pos = 8;
        while (pos < total) {
            if (total - pos < 12) {
                Add(pos, total - pos);
                break;
            }
            const uint32_t length = Be32(bytes + pos);
            if (length > 0x7FFFFFFFu) return false;
            const size_t whole = 12 + static_cast<size_t>(length);
            const size_t here = std::min(whole, total - pos);
            if (PngChunkKept(bytes + pos + 4)) Add(pos, here);
            if (std::memcmp(bytes + pos + 4, "IEND", 4) == 0) break;
            pos += here;
        }
        return true;
    }
    void Add(size_t offset, size_t length) {
        if (!spans.empty() && spans.back().first + spans.back().second == offset) spans.back().second += length;
        else spans.emplace_back(offset, length);
        size += length;
    }
    ssize_t Read(char* out, size_t wanted) {
        if (keepGoing && *keepGoing && !(*keepGoing)()) {
            stopped = true;
            errno = ECANCELED;
            return -1;
        }
        size_t done = 0;
        wanted = std::min(wanted, kPngReadPiece);
        while (done < wanted && span < spans.size()) {
            const auto [offset, length] = spans[span];
            const size_t n = std::min(wanted - done, length - at);
            std::memcpy(out + done, data + offset + at, n);
            done += n;
            at += n;
            if (at == length) ++span, at = 0;
        }
        return static_cast<ssize_t>(done);
    }
};

TPixmapPtr DecodePNG(const uint8_t* data, size_t size, const SizeLimits& limits,
                     const std::function<bool()>& keepGoing) {
    PngSource source;
    if (!source.Walk(data, size)) return nullptr;
    source.keepGoing = &keepGoing;
    cookie_io_functions_t io{};
    io.read = [](void* cookie, char* out, size_t n) { return static_cast<PngSource*>(cookie)->Read(out, n); };
    FILE* file = fopencookie(&source, "rb", io);
    if (!file) return nullptr;
    std::unique_ptr<FILE, int (*)(FILE*)> closer(file, std::fclose);
    std::setvbuf(file, nullptr, _IOFBF, kPngReadPiece);
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, file)) return nullptr;
    // Refused right after the header: too large, or more rows than the data could hold (a row
    // takes at least a filter byte and a bit a pixel, and deflate packs at most 1032 to 1).
    const uint64_t leastRaw = static_cast<uint64_t>(image.height) * (1 + (static_cast<uint64_t>(image.width) + 7) / 8);
    if (!limits.Allows(image.width, image.height) || leastRaw > static_cast<uint64_t>(source.size) * 1032 ||
        limits.StopAtHeader(image.width, image.height)) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    auto pixmap = NewPixmap(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!pixmap || !png_image_finish_read(&image, nullptr, pixmap->pixels.data(), pixmap->pitch, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    return pixmap;
}

// ---- JPEG ----

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void JpegSilent(j_common_ptr) {}

// The decoder's progress: how many scans the picture may have, and whether to go on.
struct JpegProgress {
    jpeg_progress_mgr base;
    int maxScans = kMaxJpegScans;
    bool tooManyScans = false;
    const std::function<bool()>* keepGoing = nullptr;
};

// Called as the decoder reads the file, every row of blocks: a file of more scans than its size
// allows is refused, and a caller that gives up ends the decoding.
void JpegProgressMonitor(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    auto* progress = reinterpret_cast<JpegProgress*>(cinfo->progress);
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > progress->maxScans) {
        progress->tooManyScans = true;
        cinfo->err->error_exit(cinfo);
    }
    // The answer is taken before the jump, so no C++ call is left in the middle of it.
    const bool stop = progress->keepGoing && *progress->keepGoing && !(*progress->keepGoing)();
    if (stop) cinfo->err->error_exit(cinfo);
}

// These two are kept free of objects with destructors: a decoding error jumps back into them.

// Reads the header and chooses the output colours.
bool ReadJPEGHeader(jpeg_decompress_struct* cinfo, JpegError* err, const uint8_t* data, size_t size) {
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
    if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK) cinfo->out_color_space = JCS_CMYK;
    else cinfo->out_color_space = JCS_RGB;
    return true;
}

// Decodes into the pixmap (of the header's size), one row at a time through `row` (room for a
// row of four components).
bool DecodeJPEGRows(jpeg_decompress_struct* cinfo, JpegError* err, TPixmap* pixmap, uint8_t* row) {
    if (setjmp(err->jump)) return false;
    jpeg_start_decompress(cinfo);
    const int comps = cinfo->output_components;
    if (static_cast<int64_t>(cinfo->output_width) != pixmap->width ||
        static_cast<int64_t>(cinfo->output_height) != pixmap->height || (comps != 3 && comps != 4))
        return false;
    // Adobe writes CMYK inverted; others plainly.
    const bool adobe = cinfo->saw_Adobe_marker != 0;
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return false;
        const uint8_t* s = row;
        for (int x = 0; x < pixmap->width; ++x, s += comps) {
            uint8_t* d = pixmap->PixelPtr(x, y);
            if (comps == 3) {
                SetRGBA(d, s[0], s[1], s[2], 255);
                continue;
            }
            int c = s[0], m = s[1], ye = s[2], k = s[3];
            if (!adobe) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            SetRGBA(d, c * k / 255, m * k / 255, ye * k / 255, 255);
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

TPixmapPtr DecodeJPEG(const uint8_t* data, size_t size, const SizeLimits& limits,
                      const std::function<bool()>& keepGoing) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    JpegProgress progress;
    std::memset(&cinfo, 0, sizeof(cinfo));
    std::memset(&progress.base, 0, sizeof(progress.base));
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = JpegErrorExit;
    err.base.output_message = JpegSilent;
    progress.base.progress_monitor = JpegProgressMonitor;
    progress.keepGoing = &keepGoing;
    TPixmapPtr pixmap;
    if (ReadJPEGHeader(&cinfo, &err, data, size)) {
        cinfo.progress = &progress.base;
        const int64_t w = cinfo.image_width, h = cinfo.image_height;
        // Refused right after the header: too large, or more pixels than the data could hold.
        // Huffman coding spends at least a bit on every 8 x 8 block; arithmetic coding can spend
        // next to nothing on a plain picture, so no size of file proves it plausible: it is held
        // to the same ratio above a small picture (arithmetic coding is rare, and a 202-byte
        // file once claimed 8192 x 8192 pixels and took 664 MB to decode).
        const int64_t pixels = w * h;
        const bool plausible =
            pixels <= static_cast<int64_t>(size) * 512 || (cinfo.arith_code && pixels <= kSmallJpegPixels);
        if (plausible && limits.Allows(w, h) && !limits.StopAtHeader(w, h))
            pixmap = NewPixmap(static_cast<int>(w), static_cast<int>(h));
        if (pixmap) {
            progress.maxScans = MaxJpegScans(pixels);
            std::vector<uint8_t> row(static_cast<size_t>(w) * 4);
            if (!DecodeJPEGRows(&cinfo, &err, pixmap.get(), row.data())) pixmap = nullptr;
            if (progress.tooManyScans && limits.tooLarge) *limits.tooLarge = {true, w, h, progress.maxScans};
        }
    }
    jpeg_destroy_decompress(&cinfo);
    return pixmap;
}

// ---- BMP ----

// The 8-bit value of a channel held under `mask` in `v`.
int MaskedChannel(uint32_t v, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = std::countr_zero(mask);
    uint32_t bits = mask >> shift;
    uint32_t maxValue = bits;  // all ones below the channel's width (the mask may have gaps: still fine)
    uint32_t value = (v & mask) >> shift;
    return static_cast<int>((static_cast<uint64_t>(value) * 255 + maxValue / 2) / maxValue);
}

TPixmapPtr DecodeBMP(const uint8_t* data, size_t size, const SizeLimits& limits) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') return nullptr;
    uint32_t dataOffset = Le32(data + 10);
    uint32_t headerSize = Le32(data + 14);
    if (headerSize < 12 || 14 + static_cast<uint64_t>(headerSize) > size) return nullptr;
    int64_t width, height;
    int bpp;
    uint32_t compression = 0, colorsUsed = 0;
    size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = Le16(data + 18);
        height = static_cast<int16_t>(Le16(data + 20));
        bpp = Le16(data + 24);
        paletteEntry = 3;
    } else {
        if (headerSize < 40) return nullptr;
        width = static_cast<int32_t>(Le32(data + 18));
        height = static_cast<int32_t>(Le32(data + 22));
        bpp = Le16(data + 28);
        compression = Le32(data + 30);
        colorsUsed = Le32(data + 46);
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (!limits.Allows(width, height)) return nullptr;

    uint32_t maskR = 0, maskG = 0, maskB = 0, maskA = 0;
    size_t afterHeader = 14 + headerSize;
    if (compression == 3 || compression == 6) {  // BI_BITFIELDS, BI_ALPHABITFIELDS
        if (bpp != 16 && bpp != 32) return nullptr;
        size_t maskCount = compression == 6 ? 4 : 3;
        const uint8_t* masks;
        if (headerSize >= 52) {
            masks = data + 54;
            if (headerSize >= 56) maskCount = 4;
            // An alpha mask asked for by the compression but not held by a short header would
            // lie past the header: refuse a file that ends before it.
            if (54 + maskCount * 4 > size) return nullptr;
        } else {
            masks = data + afterHeader;
            if (afterHeader + maskCount * 4 > size) return nullptr;
            afterHeader += maskCount * 4;
        }
        maskR = Le32(masks);
        maskG = Le32(masks + 4);
        maskB = Le32(masks + 8);
        if (maskCount == 4) maskA = Le32(masks + 12);
    } else if (compression != 0) {
        return nullptr;  // run-length and embedded JPEG/PNG pictures are not supported
    } else if (bpp == 16) {
        maskR = 0x7C00;
        maskG = 0x03E0;
        maskB = 0x001F;
    }

    std::vector<uint8_t> palette;  // RGB triples
    if (bpp == 1 || bpp == 4 || bpp == 8) {
        size_t count = colorsUsed ? colorsUsed : (size_t(1) << bpp);
        if (count > 256) return nullptr;
        if (afterHeader + count * paletteEntry > size) return nullptr;
        palette.resize(256 * 3, 0);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + afterHeader + i * paletteEntry;
            palette[i * 3 + 0] = e[2];
            palette[i * 3 + 1] = e[1];
            palette[i * 3 + 2] = e[0];
        }
    } else if (bpp != 16 && bpp != 24 && bpp != 32) {
        return nullptr;
    }

    uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    if (dataOffset > size || stride * static_cast<uint64_t>(height) > size - dataOffset) return nullptr;
    if (limits.StopAtHeader(width, height)) return nullptr;
    auto pixmap = NewPixmap(static_cast<int>(width), static_cast<int>(height));
    if (!pixmap) return nullptr;
    bool hasAlpha = (bpp == 32 && (compression == 0 || maskA != 0));
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = data + dataOffset + stride * static_cast<uint64_t>(row);
        int y = static_cast<int>(topDown ? row : height - 1 - row);
        for (int64_t x = 0; x < width; ++x) {
            uint8_t* d = pixmap->PixelPtr(static_cast<int>(x), y);
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    int64_t bit = x * bpp;
                    int index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
                    SetRGBA(d, palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2], 255);
                    break;
                }
                case 16: {
                    uint32_t v = Le16(src + x * 2);
                    SetRGBA(d, MaskedChannel(v, maskR), MaskedChannel(v, maskG), MaskedChannel(v, maskB),
                            maskA ? MaskedChannel(v, maskA) : 255);
                    break;
                }
                case 24: {
                    const uint8_t* s = src + x * 3;
                    SetRGBA(d, s[2], s[1], s[0], 255);
                    break;
                }
                default: {  // 32
                    const uint8_t* s = src + x * 4;
                    if (compression == 0) {
                        SetRGBA(d, s[2], s[1], s[0], s[3]);
                    } else {
                        uint32_t v = Le32(s);
                        SetRGBA(d, MaskedChannel(v, maskR), MaskedChannel(v, maskG), MaskedChannel(v, maskB),
                                maskA ? MaskedChannel(v, maskA) : 255);
                    }
                    break;
                }
            }
        }
    }
    if (hasAlpha) OpaqueIfAlphaEmpty(*pixmap);
    return pixmap;
}

// ---- TGA ----

// One colour of `bytes` bytes (2, 3 or 4; 1 grey, 2 grey+alpha when grey is set) into RGBA.
void TgaColor(const uint8_t* s, int bytes, bool grey, uint8_t* d) {
    if (grey) {
        SetRGBA(d, s[0], s[0], s[0], bytes == 2 ? s[1] : 255);
        return;
    }
    switch (bytes) {
        case 2: {
            int v = Le16(s);
            int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            SetRGBA(d, (r * 255 + 15) / 31, (g * 255 + 15) / 31, (b * 255 + 15) / 31, 255);
            break;
        }
        case 3: SetRGBA(d, s[2], s[1], s[0], 255); break;
        default: SetRGBA(d, s[2], s[1], s[0], s[3]); break;
    }
}

TPixmapPtr DecodeTGA(const uint8_t* data, size_t size, const SizeLimits& limits) {
    if (size < 18) return nullptr;
    int idLength = data[0], mapType = data[1], type = data[2];
    int mapFirst = Le16(data + 3), mapLength = Le16(data + 5), mapEntryBits = data[7];
    int width = Le16(data + 12), height = Le16(data + 14), bpp = data[16], descriptor = data[17];
    if (mapType > 1 || width == 0 || height == 0) return nullptr;
    bool rle = type >= 9;
    int baseType = rle ? type - 8 : type;
    if (baseType < 1 || baseType > 3 || (type > 3 && type < 9) || type > 11) return nullptr;
    bool grey = baseType == 3;
    if (baseType == 1 && (mapType != 1 || (bpp != 8 && bpp != 16))) return nullptr;
    if (baseType == 2 && bpp != 15 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    if (grey && bpp != 8 && bpp != 16) return nullptr;

    size_t pos = 18 + static_cast<size_t>(idLength);
    std::vector<uint8_t> map;  // RGBA entries
    if (mapType == 1) {
        int entryBytes = (mapEntryBits + 7) / 8;
        if (entryBytes < 2 || entryBytes > 4) return nullptr;
        size_t mapSize = static_cast<size_t>(mapLength) * entryBytes;
        if (pos + mapSize > size) return nullptr;
        if (baseType == 1) {
            map.resize(static_cast<size_t>(mapLength) * 4);
            for (int i = 0; i < mapLength; ++i) TgaColor(data + pos + i * entryBytes, entryBytes, false, &map[i * 4]);
        }
        pos += mapSize;
    }

    const int pixelBytes = (bpp + 7) / 8;
    const size_t total = static_cast<size_t>(width) * height;
    // Refused before the pixels are made: too large, or more pixels than the data holds (a
    // run-length packet covers at most 128 pixels with a header byte and one pixel).
    const size_t least = rle ? (total + 127) / 128 * (1 + static_cast<size_t>(pixelBytes)) : total * pixelBytes;
    if (pos > size || least > size - pos || !limits.Allows(width, height) || limits.StopAtHeader(width, height))
        return nullptr;
    auto pixmap = NewPixmap(width, height);
    if (!pixmap) return nullptr;
    bool topDown = (descriptor & 0x20) != 0;
    bool rightToLeft = (descriptor & 0x10) != 0;

    auto put = [&](size_t index, const uint8_t* s) -> bool {
        int x = static_cast<int>(index % width), y = static_cast<int>(index / width);
        if (!topDown) y = height - 1 - y;
        if (rightToLeft) x = width - 1 - x;
        uint8_t* d = pixmap->PixelPtr(x, y);
        if (baseType == 1) {
            int entry = (pixelBytes == 1 ? s[0] : Le16(s)) - mapFirst;
            if (entry < 0 || entry >= mapLength) return false;
            std::memcpy(d, &map[entry * 4], 4);
        } else {
            TgaColor(s, pixelBytes, grey, d);
        }
        return true;
    };

    size_t index = 0;
    while (index < total) {
        if (!rle) {
            if (pos + pixelBytes > size) return nullptr;
            if (!put(index++, data + pos)) return nullptr;
            pos += pixelBytes;
            continue;
        }
        if (pos >= size) return nullptr;
        int header = data[pos++];
        size_t count = static_cast<size_t>(header & 0x7F) + 1;
        if (index + count > total) return nullptr;
        if (header & 0x80) {
            if (pos + pixelBytes > size) return nullptr;
            for (size_t i = 0; i < count; ++i)
                if (!put(index++, data + pos)) return nullptr;
            pos += pixelBytes;
        } else {
            if (pos + count * pixelBytes > size) return nullptr;
            for (size_t i = 0; i < count; ++i, pos += pixelBytes)
                if (!put(index++, data + pos)) return nullptr;
        }
    }
    if (bpp == 32 || (baseType == 1 && mapEntryBits == 32)) OpaqueIfAlphaEmpty(*pixmap);
    return pixmap;
}

void ApplyMask(TPixmap& p, int r, int g, int b) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            uint8_t* d = p.PixelPtr(x, y);
            if (d[0] == r && d[1] == g && d[2] == b) d[3] = 0;
        }
}

int EffectiveFlags(int flags) { return flags == -1 ? FILTEREDIMAGE : flags; }

// The cells of cellWidth x cellHeight of a picture, left to right then top to bottom, `count`
// of them from cell `first`; none when they do not all fit.
std::vector<TPixmapPtr> CutCells(const TPixmap& sheet, int cellWidth, int cellHeight, int first, int count) {
    if (cellWidth <= 0 || cellHeight <= 0 || first < 0 || count <= 0) return {};
    const int across = sheet.width / cellWidth, down = sheet.height / cellHeight;
    if (static_cast<int64_t>(first) + count > static_cast<int64_t>(across) * down) return {};
    std::vector<TPixmapPtr> frames;
    for (int i = first; i < first + count; ++i) {
        auto frame = CreatePixmap(cellWidth, cellHeight);
        if (!frame) return {};
        const int cx = (i % across) * cellWidth, cy = (i / across) * cellHeight;
        for (int y = 0; y < cellHeight; ++y)
            std::memcpy(frame->PixelPtr(0, y), sheet.PixelPtr(cx, cy + y), static_cast<size_t>(cellWidth) * 4);
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::atomic<int64_t> gPicturesDecoded{0};

// The file an image's frames come from, and how: their pixels are decoded from it when first
// needed and whenever they were let go, on the main thread or ahead on the background worker.
// Only the very file that was loaded is decoded: one of another size, time or place is refused
// before anything of it is decoded, and a picture larger than the one loaded right after its
// header. A file whose status changed since (written in place with its time put back, but also
// only linked to or given other rights) must still hold the bytes that were loaded.
class PictureSource : public TPixelSource {
public:
    struct Info {
        std::string path;
        TFileStamp stamp;                     // the file read at loading
        size_t bytesHash = 0;                 // and a hash of its bytes
        int sheetWidth = 0, sheetHeight = 0;  // its size in pixels
        int cellWidth = 0, cellHeight = 0;    // an animation's cells; 0: the whole picture
        int first = 0, count = 1;
        bool masked = false;
        int maskR = 0, maskG = 0, maskB = 0;
    };

    explicit PictureSource(Info info) : info_(std::make_shared<const Info>(std::move(info))) {}

    bool Fill(int frame, TPixmap& pixmap) override {
        if (!job_) Begin(false);
        if (!TDecodeWorker::Shared().Finish(job_)) return false;  // the program is quitting
        const std::shared_ptr<Outcome> outcome = outcome_;
        if (outcome->stopped) {
            Reset();
            return false;
        }
        if (!outcome->failure.empty()) {
            if (!told_) std::fprintf(stderr, "%s\n", outcome->failure.c_str());
            told_ = true;
            return false;
        }
        if (frame < 0 || frame >= static_cast<int>(outcome->frames.size())) return false;
        TPixmapPtr pixels = std::move(outcome->frames[static_cast<size_t>(frame)]);
        if (!pixels) {
            // Taken already, and wanted again: a decoding of its own.
            Reset();
            return Fill(frame, pixmap);
        }
        if (AllTaken()) Reset();
        if (pixels->width != pixmap.width || pixels->height != pixmap.height) return false;
        pixmap.pitch = pixels->pitch;
        pixmap.pixels = std::move(pixels->pixels);
        return true;
    }
    void Request() override {
        if (!job_) Begin(true);
    }
    bool Ready(int) const override { return job_ && job_->Done(); }
    void Drop(int frame) override {
        if (!job_) return;
        if (job_->Done()) {
            if (frame >= 0 && frame < static_cast<int>(outcome_->frames.size()))
                outcome_->frames[static_cast<size_t>(frame)] = nullptr;
            if (AllTaken()) Reset();
        } else if (info_->count == 1) {
            // Nobody wants it any more: taken back when it has not begun; one that runs ends, or has
            // ended since Done was asked, into an outcome no longer held here.
            TDecodeWorker::Shared().Withdraw(job_);
            Reset();
        }
    }

private:
    // What one decoding gave: each frame's pixels (null once taken), or why there are none.
    struct Outcome {
        std::vector<TPixmapPtr> frames;
        std::string failure;   // said once, on the main thread
        bool stopped = false;  // given up on the way (the program quits)
    };

    void Begin(bool background) {
        outcome_ = std::make_shared<Outcome>();
        job_ = std::make_shared<TDecodeJob>([info = info_, outcome = outcome_](const std::function<bool()>& keepGoing) {
            DecodeFrames(*info, *outcome, keepGoing);
        });
        if (background) TDecodeWorker::Shared().Add(job_);
    }
    void Reset() {
        job_ = nullptr;
        outcome_ = nullptr;
    }
    bool AllTaken() const {
        return std::all_of(outcome_->frames.begin(), outcome_->frames.end(), [](const TPixmapPtr& p) { return !p; });
    }

    // Any thread: reads the file and decodes every frame.
    static void DecodeFrames(const Info& info, Outcome& outcome, const std::function<bool()>& keepGoing) {
        std::string bytes;
        TFileStamp now;
        const bool same = LoadBytes(info.path, bytes, FileKind::Picture, &now) && now.size == info.stamp.size &&
                          now.modifiedNs == info.stamp.modifiedNs && now.device == info.stamp.device &&
                          now.inode == info.stamp.inode &&
                          (now.changedNs == info.stamp.changedNs || std::hash<std::string>{}(bytes) == info.bytesHash);
        if (!same) {
            outcome.failure =
                "The picture " + info.path + " was changed, moved or removed since it was loaded; it is not drawn";
            return;
        }
        TPixmapPtr sheet = DecodePixmap(bytes, std::max(info.sheetWidth, info.sheetHeight),
                                        static_cast<int64_t>(info.sheetWidth) * info.sheetHeight, nullptr, keepGoing);
        bytes = std::string();
        if (!sheet && keepGoing && !keepGoing()) {
            outcome.stopped = true;
            return;
        }
        gPicturesDecoded.fetch_add(1, std::memory_order_relaxed);
        if (!sheet || sheet->width != info.sheetWidth || sheet->height != info.sheetHeight) {
            outcome.failure = "The picture " + info.path + " cannot be decoded; it is not drawn";
            return;
        }
        if (info.cellWidth > 0)
            outcome.frames = CutCells(*sheet, info.cellWidth, info.cellHeight, info.first, info.count);
        else outcome.frames.push_back(std::move(sheet));
        if (outcome.frames.empty())
            outcome.failure = "The picture " + info.path + " cannot be decoded; it is not drawn";
        if (info.masked)
            for (const TPixmapPtr& frame : outcome.frames) ApplyMask(*frame, info.maskR, info.maskG, info.maskB);
    }

    const std::shared_ptr<const Info> info_;
    TDecodeJobPtr job_;
    std::shared_ptr<Outcome> outcome_;  // the job's; read once it is done
    bool told_ = false;
};

// The main thread's decoding gives up once the program is asked to quit.
bool MainKeepsGoing() { return !QuitPending(); }

// A picture file read and its header checked, with the stamp of the file: the image of its size
// (or of `cells` of it), whose pixels come from the file when they are first needed.
TImagePtr LoadFileImage(const std::string& path, int flags, int cellWidth, int cellHeight, int first, int count) {
    PictureSource::Info info;
    std::string bytes;
    if (path.empty() || !LoadBytes(path, bytes, FileKind::Picture, &info.stamp)) return nullptr;
    if (!PictureSize(bytes, MaxImageSide(), MaxImagePixels, info.sheetWidth, info.sheetHeight)) return nullptr;
    info.bytesHash = std::hash<std::string>{}(bytes);
    bytes = std::string();
    int frameWidth = info.sheetWidth, frameHeight = info.sheetHeight;
    if (cellWidth > 0 || count != 1 || first != 0) {
        if (cellWidth <= 0 || cellHeight <= 0 || first < 0 || count <= 0) return nullptr;
        const int across = info.sheetWidth / cellWidth, down = info.sheetHeight / cellHeight;
        if (static_cast<int64_t>(first) + count > static_cast<int64_t>(across) * down) return nullptr;
        frameWidth = cellWidth, frameHeight = cellHeight;
        info.cellWidth = cellWidth, info.cellHeight = cellHeight, info.first = first, info.count = count;
    }
    info.path = path;
    info.masked = (flags & MASKEDIMAGE) != 0;
    info.maskR = gMaskR, info.maskG = gMaskG, info.maskB = gMaskB;
    auto source = std::make_shared<PictureSource>(std::move(info));
    auto image = std::make_shared<TImage>();
    image->flags = flags;
    image->width = frameWidth;
    image->height = frameHeight;
    for (int i = 0; i < count; ++i) {
        auto frame = std::make_shared<TPixmap>();
        frame->width = frameWidth;
        frame->height = frameHeight;
        frame->pitch = frameWidth * 4;
        auto texture = std::make_shared<TGLTexture>(frame, (flags & FILTEREDIMAGE) != 0, (flags & MIPMAPPEDIMAGE) != 0);
        texture->SetSource(source, i);
        image->textures.push_back(std::move(texture));
        image->pixmaps.push_back(std::move(frame));
    }
    if (gAutoMidHandle) MidHandleImage(image);
    return image;
}

// An image of pixels made in memory, which it keeps.
TImagePtr MakeImage(std::vector<TPixmapPtr> frames, int flags) {
    if (frames.empty() || !frames[0]) return nullptr;
    auto image = std::make_shared<TImage>();
    image->flags = flags;
    image->width = frames[0]->width;
    image->height = frames[0]->height;
    for (auto& frame : frames) {
        if (flags & MASKEDIMAGE) ApplyMask(*frame, gMaskR, gMaskG, gMaskB);
        auto texture = std::make_shared<TGLTexture>(frame, (flags & FILTEREDIMAGE) != 0, (flags & MIPMAPPEDIMAGE) != 0);
        image->textures.push_back(std::move(texture));
        image->pixmaps.push_back(std::move(frame));
    }
    if (gAutoMidHandle) MidHandleImage(image);
    return image;
}

TGLTexture* FrameTexture(const TImagePtr& image, int frame) {
    if (!image || frame < 0 || frame >= image->FrameCount() || frame >= static_cast<int>(image->textures.size()))
        return nullptr;
    return image->textures[frame].get();
}

}  // namespace

// ---- Pixmaps ----

int TPixmap::ReadPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const uint8_t* p = PixelPtr(x, y);
    return static_cast<int>((static_cast<uint32_t>(p[3]) << 24) | (static_cast<uint32_t>(p[0]) << 16) |
                            (static_cast<uint32_t>(p[1]) << 8) | p[2]);
}

void TPixmap::WritePixel(int x, int y, int argb) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint32_t v = static_cast<uint32_t>(argb);
    SetRGBA(PixelPtr(x, y), (v >> 16) & 255, (v >> 8) & 255, v & 255, v >> 24);
}

void TPixmap::ClearPixels(int argb) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) WritePixel(x, y, argb);
}

int MaxImageSide() {
    static int generation = 0;
    static int side = kMaxSideWithoutGL;
    const int current = GLContextGeneration();
    if (current == 0) return kMaxSideWithoutGL;
    if (current != generation) {
        GLint limit = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
        side = limit > 0 ? limit : kMaxSideWithoutGL;
        generation = current;
    }
    return side;
}

bool ImageSizeAllowed(int64_t width, int64_t height) {
    return SizeLimits{MaxImageSide(), MaxImagePixels, nullptr}.Allows(width, height);
}

TPixmapPtr CreatePixmap(int width, int height) {
    if (!ImageSizeAllowed(width, height)) return nullptr;
    return NewPixmap(width, height);
}

TPixmapPtr CopyPixmap(const TPixmapPtr& pixmap) {
    if (!pixmap) return nullptr;
    return std::make_shared<TPixmap>(*pixmap);
}

double CommonestColourShare(const TPixmapPtr& pixmap) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return 1.0;
    std::unordered_map<int, int> counts;
    int samples = 0, most = 0;
    for (int y = 0; y < pixmap->height; y += 4)
        for (int x = 0; x < pixmap->width; x += 4) {
            most = std::max(most, ++counts[pixmap->ReadPixel(x, y) & 0xFFFFFF]);
            ++samples;
        }
    return static_cast<double>(most) / samples;
}

int PixmapWidth(const TPixmapPtr& pixmap) { return pixmap ? pixmap->width : 0; }
int PixmapHeight(const TPixmapPtr& pixmap) { return pixmap ? pixmap->height : 0; }
int ReadPixel(const TPixmapPtr& pixmap, int x, int y) { return pixmap ? pixmap->ReadPixel(x, y) : 0; }
void WritePixel(const TPixmapPtr& pixmap, int x, int y, int argb) {
    if (pixmap) pixmap->WritePixel(x, y, argb);
}

TPixmapPtr LoadPixmapFromMemory(const std::string& bytes) {
    return DecodePixmap(bytes, MaxImageSide(), MaxImagePixels, nullptr, MainKeepsGoing);
}

int MaxJpegScans(int64_t pixels) {
    if (pixels <= 0) return kMaxJpegScans;
    return static_cast<int>(std::clamp<int64_t>(kMaxJpegScanPixels / pixels, kFreeJpegScans, kMaxJpegScans));
}

namespace {

TPixmapPtr Decode(const std::string& bytes, const SizeLimits& limits, const std::function<bool()>& keepGoing) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t size = bytes.size();
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return DecodePNG(data, size, limits, keepGoing);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return DecodeJPEG(data, size, limits, keepGoing);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBMP(data, size, limits);
    return DecodeTGA(data, size, limits);
}

}  // namespace

TPixmapPtr DecodePixmap(const std::string& bytes, int64_t maxSide, int64_t maxPixels, TPictureTooLarge* tooLarge,
                        const std::function<bool()>& keepGoing) {
    if (tooLarge) *tooLarge = {};
    return Decode(bytes, {maxSide, std::min(maxPixels, MaxImagePixels), tooLarge}, keepGoing);
}

bool PictureSize(const std::string& bytes, int64_t maxSide, int64_t maxPixels, int& width, int& height,
                 TPictureTooLarge* tooLarge) {
    if (tooLarge) *tooLarge = {};
    SizeLimits::Size size;
    Decode(bytes, {maxSide, std::min(maxPixels, MaxImagePixels), tooLarge, &size}, nullptr);
    width = size.width;
    height = size.height;
    return size.passed;
}

TPixmapPtr LoadPixmap(const std::string& path) {
    std::string bytes;
    if (path.empty() || !LoadBytes(path, bytes, FileKind::Picture)) return nullptr;
    return LoadPixmapFromMemory(bytes);
}

std::string EncodePNG(const TPixmapPtr& pixmap, bool fast) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return {};
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixmap->width);
    image.height = static_cast<png_uint_32>(pixmap->height);
    image.format = PNG_FORMAT_RGBA;
    if (fast) image.flags |= PNG_IMAGE_FLAG_FAST;
    // Encoded once into room for the largest file the picture can make (asking for the size
    // first would compress it twice).
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixmap->pixels.data(), pixmap->pitch, nullptr))
        return {};
    out.resize(size);
    return out;
}

bool SavePixmapPNG(const TPixmapPtr& pixmap, const std::string& path, bool fast) {
    std::string bytes = EncodePNG(pixmap, fast);
    if (bytes.empty() || path.empty()) return false;
    return SaveBytes(path, bytes);
}

// ---- Images ----

void AutoMidHandle(bool on) { gAutoMidHandle = on; }

void SetMaskColor(int r, int g, int b) {
    gMaskR = std::clamp(r, 0, 255);
    gMaskG = std::clamp(g, 0, 255);
    gMaskB = std::clamp(b, 0, 255);
}

void ResetImageSettings() {
    gAutoMidHandle = false;
    gMaskR = gMaskG = gMaskB = 0;
}

TImagePtr LoadImage(const std::string& path, int flags) {
    return LoadFileImage(path, EffectiveFlags(flags), 0, 0, 0, 1);
}

TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags) {
    if (!pixmap) return nullptr;
    return MakeImage({CopyPixmap(pixmap)}, EffectiveFlags(flags));
}

TImagePtr AdoptPixmapImage(TPixmapPtr pixmap, int flags) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
    return MakeImage({std::move(pixmap)}, EffectiveFlags(flags));
}

TImagePtr CreateMadeImage(int width, int height, std::function<bool(TPixmap& pixmap)> make, int flags) {
    if (!make || !ImageSizeAllowed(width, height)) return nullptr;
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = width;
    pixmap->height = height;
    pixmap->pitch = width * 4;
    TImagePtr image = MakeImage({pixmap}, EffectiveFlags(flags) & ~MASKEDIMAGE);
    image->textures[0]->SetReload([make = std::move(make)](TPixmap& p) {
        p.pitch = p.width * 4;
        p.pixels.assign(static_cast<size_t>(p.pitch) * p.height, 0);
        return make(p);
    });
    return image;
}

TImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int first, int count, int flags) {
    if (cellWidth <= 0 || cellHeight <= 0 || count <= 0) return nullptr;
    return LoadFileImage(path, EffectiveFlags(flags), cellWidth, cellHeight, first, count);
}

TImagePtr LoadAnimImage(const TPixmapPtr& pixmap, int cellWidth, int cellHeight, int first, int count, int flags) {
    if (!pixmap) return nullptr;
    return MakeImage(CutCells(*pixmap, cellWidth, cellHeight, first, count), EffectiveFlags(flags));
}

TImagePtr CreateImage(int width, int height, int frames, int flags) {
    if (frames <= 0) return nullptr;
    std::vector<TPixmapPtr> pixmaps;
    for (int i = 0; i < frames; ++i) {
        auto p = CreatePixmap(width, height);
        if (!p) return nullptr;
        pixmaps.push_back(std::move(p));
    }
    // Blank frames are not masked: they are meant to be filled.
    return MakeImage(std::move(pixmaps), EffectiveFlags(flags) & ~MASKEDIMAGE);
}

void SetImageHandle(const TImagePtr& image, float x, float y) {
    if (!image) return;
    image->handle_x = x;
    image->handle_y = y;
}

void MidHandleImage(const TImagePtr& image) {
    if (image) SetImageHandle(image, image->width * 0.5f, image->height * 0.5f);
}

float ImageHandleX(const TImagePtr& image) { return image ? image->handle_x : 0.0f; }
float ImageHandleY(const TImagePtr& image) { return image ? image->handle_y : 0.0f; }
int ImageWidth(const TImagePtr& image) { return image ? image->width : 0; }
int ImageHeight(const TImagePtr& image) { return image ? image->height : 0; }
int ImageFrames(const TImagePtr& image) { return image ? image->FrameCount() : 0; }

int64_t PicturesDecoded() { return gPicturesDecoded.load(std::memory_order_relaxed); }

TPixmapPtr LockImage(const TImagePtr& image, int frame) {
    TGLTexture* texture = FrameTexture(image, frame);
    if (!texture) return nullptr;
    // The pixels come back if they were let go, and are kept from now on: they are the
    // program's now, no longer the file's.
    if (!texture->EnsurePixels()) return nullptr;
    texture->KeepPixels();
    return image->pixmaps[frame];
}

void UnlockImage(const TImagePtr& image, int frame) {
    if (TGLTexture* texture = FrameTexture(image, frame)) texture->Invalidate();
}

void DrawImage(const TImagePtr& image, float x, float y, int frame) {
    TGLTexture* texture = FrameTexture(image, frame);
    if (!texture) return;
    float w = static_cast<float>(image->width), h = static_cast<float>(image->height);
    GLDrawQuad(texture, -image->handle_x, -image->handle_y, w - image->handle_x, h - image->handle_y, 0.0f, 0.0f, 1.0f,
               1.0f, x, y);
}

void DrawImageRect(const TImagePtr& image, float x, float y, float width, float height, int frame) {
    TGLTexture* texture = FrameTexture(image, frame);
    if (!texture) return;
    float hx = image->handle_x * width / static_cast<float>(image->width);
    float hy = image->handle_y * height / static_cast<float>(image->height);
    GLDrawQuad(texture, -hx, -hy, width - hx, height - hy, 0.0f, 0.0f, 1.0f, 1.0f, x, y);
}

void DrawSubImageRect(const TImagePtr& image, float x, float y, float width, float height, float sx, float sy, float sw,
                      float sh, float hx, float hy, int frame) {
    TGLTexture* texture = FrameTexture(image, frame);
    if (!texture || sw == 0.0f || sh == 0.0f) return;
    float iw = static_cast<float>(image->width), ih = static_cast<float>(image->height);
    float thx = hx * width / sw, thy = hy * height / sh;
    GLDrawQuad(texture, -thx, -thy, width - thx, height - thy, sx / iw, sy / ih, (sx + sw) / iw, (sy + sh) / ih, x, y);
}

void TileImage(const TImagePtr& image, float x, float y, int frame) {
    TGLTexture* texture = FrameTexture(image, frame);
    if (!texture) return;
    float scaleX, scaleY, ox, oy;
    GetScale(scaleX, scaleY);
    GetOrigin(ox, oy);
    float tw = std::fabs(image->width * scaleX), th = std::fabs(image->height * scaleY);
    if (tw < 1.0f || th < 1.0f) return;
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    if (vw <= 0 || vh <= 0) return;
    // The viewport in drawing coordinates (before the origin is added).
    float left = vx - ox, top = vy - oy, right = left + vw, bottom = top + vh;
    float startX = x - image->handle_x * scaleX, startY = y - image->handle_y * scaleY;
    startX += std::floor((left - startX) / tw) * tw;
    startY += std::floor((top - startY) / th) * th;
    float rotation = GetRotation();
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    for (float ty = startY; ty < bottom; ty += th)
        for (float tx = startX; tx < right; tx += tw)
            GLDrawQuad(texture, 0.0f, 0.0f, tw, th, 0.0f, 0.0f, 1.0f, 1.0f, tx, ty);
    SetScale(scaleX, scaleY);
    SetRotation(rotation);
}
