// Writes a colour JPEG that costs its decoder the most work a file of its size can ask for:
// arithmetic-coded and progressive, in many scans (the costly package of
// bench/launcher_start.py).
//
//     costly_jpeg OUT WIDTH HEIGHT SCANS      (SCANS from 190 to 379)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/Jpeg.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: costly_jpeg OUT WIDTH HEIGHT SCANS\n");
        return 2;
    }
    const int w = std::atoi(argv[2]), h = std::atoi(argv[3]), scans = std::atoi(argv[4]);
    if (w < 1 || h < 1 || w > 4096 || h > 4096 || scans < 190 || scans > 379) {
        std::fprintf(stderr, "costly_jpeg: a size from 1 to 4096 and 190 to 379 scans\n");
        return 2;
    }
    // Noise, so that every scan of every block carries data.
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    uint32_t state = 12345;
    for (uint8_t& sample : rgb) {
        state = state * 1103515245u + 12345u;
        sample = static_cast<uint8_t>(state >> 23);
    }
    const std::string bytes = testsupport::Jpeg(w, h, 3, rgb, {.arithmetic = true, .scans = scans});
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "costly_jpeg: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
