// Launcher packages for tests: a description and pictures written into a folder, or packed in a
// zip, and a recorder of the launcher's log lines.
#pragma once
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

// A description with a five-line header, k = 3 for icons and alternative banners, 4 for banners.
inline std::string Header(int version) {
    return "<HEADER>\nHEADERVARS|5\nICONVARS|3\nBANERVARS|4\nALTBANERVARS|3\nVERSION|" + std::to_string(version) + "\n";
}
inline std::string Icon(const std::string& appId, const std::string& gfx = "icon.png", const std::string& url = "https://x.example/") {
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
