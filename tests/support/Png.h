// PNG files with chunks of one's choosing, made in memory: the chunks that are not pixels (texts,
// compressed texts, profiles) that a hostile file may carry in any number.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <string>

namespace testsupport {

inline std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 255), static_cast<char>((v >> 8) & 255),
            static_cast<char>(v & 255)};
}

// One PNG chunk, its checksum made good.
inline std::string PngChunk(const char* type, const std::string& body) {
    const std::string typed = type + body;
    return Be32(static_cast<uint32_t>(body.size())) + typed +
           Be32(static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size())));
}

// The PNG with `chunks` placed right after its header.
inline std::string PngWith(const std::string& png, const std::string& chunks) {
    return png.substr(0, 33) + chunks + png.substr(33);
}

// `n` zTXt chunks, each of 8 MB of zeros packed into some 8 KB: costly to unpack, cheap to send.
inline std::string CompressedTextChunks(int n) {
    const std::string zeros(8 << 20, '\0');
    uLongf packedSize = compressBound(zeros.size());
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(zeros.data()),
              zeros.size(), 9);
    packed.resize(packedSize);
    const std::string chunk = PngChunk("zTXt", std::string("Comment\0\0", 9) + packed);
    std::string all;
    for (int i = 0; i < n; ++i) all += chunk;
    return all;
}

}  // namespace testsupport
