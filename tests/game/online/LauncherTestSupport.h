// Launcher packages for tests: a description and pictures written into a folder, or packed in a
// zip, and a recorder of the launcher's log lines.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "online/LauncherPackage.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "support/TestSupport.h"
#include "support/ZipBuilder.h"

namespace launchertest {

// The bytes of a small PNG picture of one colour.
inline std::string PngBytes(int w, int h, int argb) {
    auto pixmap = CreatePixmap(w, h);
    pixmap->ClearPixels(argb);
    return EncodePNG(pixmap);
}

// The bytes of a black-and-white PNG of any size, made without its pixels: one bit a pixel,
// every row zero, so a picture of 8192 x 8192 takes about 8 KB.
inline std::string HugePngBytes(uint32_t w, uint32_t h) {
    auto be32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    auto chunk = [&](const std::string& type, const std::string& data) {
        const std::string body = type + data;
        const uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
        return be32(static_cast<uint32_t>(data.size())) + body + be32(crc);
    };
    const std::string raw(static_cast<size_t>(h) * (1 + (w + 7) / 8), '\0');
    std::string packed(compressBound(static_cast<uLong>(raw.size())), '\0');
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);
    const std::string header = be32(w) + be32(h) + std::string{1, 0, 0, 0, 0};  // 1 bit, grey
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", packed) + chunk("IEND", "");
}

// A description with a five-line header, k = 3 for icons and alternative banners, 4 for banners.
inline std::string Header(int version) {
    return "<HEADER>\nHEADERVARS|5\nICONVARS|3\nBANERVARS|4\nALTBANERVARS|3\nVERSION|" + std::to_string(version) + "\n";
}
inline std::string Icon(const std::string& appId, const std::string& gfx = "icon.png",
                        const std::string& url = "https://x.example/") {
    return "<ICON>\nAPPID|" + appId + "\nURL|" + url + "\nGFX|" + gfx + "\n";
}

// A package folder: launcher.dat with the text, and the pictures icon.png (80 x 100) and
// baner.png (600 x 100).
inline void WritePackage(const std::string& folder, const std::string& description) {
    CreateDir(folder);
    testsupport::WriteFileBytes(folder + "/launcher.dat", description);
    testsupport::WriteFileBytes(folder + "/icon.png", PngBytes(80, 100, int(0xFF3080C0)));
    testsupport::WriteFileBytes(folder + "/baner.png", PngBytes(600, 100, int(0xFFC08030)));
}

// The same package as a zip, with a filler of incompressible bytes of the given size.
inline std::string PackageZip(const std::string& description, size_t filler = 0) {
    testsupport::ZipBuilder zip;
    zip.File("launcher.dat", description).File("icon.png", PngBytes(80, 100, int(0xFF3080C0)));
    zip.File("baner.png", PngBytes(600, 100, int(0xFFC08030)));
    if (filler) {
        std::string noise(filler, '\0');
        uint32_t state = 12345;
        for (char& c : noise) {
            state = state * 1103515245u + 12345u;
            c = static_cast<char>(state >> 24);
        }
        zip.File("notes.bin", noise);
    }
    return zip.Bytes();
}

// Collects the launcher's log lines while it lives.
class LogRecorder {
public:
    std::vector<std::string> lines;
    LogRecorder() {
        saved_ = LauncherLogHook;
        LauncherLogHook = [this](const std::string& line) { lines.push_back(line); };
    }
    ~LogRecorder() { LauncherLogHook = saved_; }
    bool Has(const std::string& prefix) const {
        for (const std::string& l : lines)
            if (l.rfind(prefix, 0) == 0) return true;
        return false;
    }

private:
    std::function<void(const std::string&)> saved_;
};

}  // namespace launchertest
