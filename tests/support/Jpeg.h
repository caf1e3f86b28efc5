// JPEG files made in memory for the tests: baseline or progressive, Huffman- or
// arithmetic-coded, and progressive ones of many scans (the decoding work a hostile file can ask
// for).
#pragma once
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace testsupport {

struct JpegOptions {
    bool progressive = false;  // libjpeg's own progression (10 scans in colour)
    bool arithmetic = false;
    // A colour picture of exactly this many scans, from 190 to 379 (DC, then each AC coefficient
    // of each component alone, the first `scans - 190` of them in two passes); 0: as above.
    int scans = 0;
};

// samples: w * h * components bytes (RGB or grey), rows top to bottom.
inline std::string Jpeg(int w, int h, int components, const std::vector<uint8_t>& samples, JpegOptions options = {}) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    cinfo.arith_code = options.arithmetic ? TRUE : FALSE;
    if (options.progressive) jpeg_simple_progression(&cinfo);
    std::vector<jpeg_scan_info> script;
    if (options.scans > 0 && components == 3) {
        const int twice = options.scans - 190;  // AC bands sent in two passes
        script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
        std::vector<jpeg_scan_info> refinements;
        for (int c = 0, band = 0; c < 3; ++c)
            for (int k = 1; k < 64; ++k, ++band) {
                const bool split = band < twice;
                script.push_back({1, {c, 0, 0, 0}, k, k, 0, split ? 1 : 0});
                if (split) refinements.push_back({1, {c, 0, 0, 0}, k, k, 1, 0});
            }
        script.insert(script.end(), refinements.begin(), refinements.end());
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + static_cast<size_t>(cinfo.next_scanline) * w * components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

// A colour picture of w x h in gentle gradients (so that every scan carries data), in the given
// coding.
inline std::string GradientJpeg(int w, int h, JpegOptions options = {}) {
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / (w > 1 ? w - 1 : 1));
            p[1] = static_cast<uint8_t>(y * 255 / (h > 1 ? h - 1 : 1));
            p[2] = static_cast<uint8_t>((x ^ y) & 0xFF);
        }
    return Jpeg(w, h, 3, rgb, options);
}

}  // namespace testsupport
