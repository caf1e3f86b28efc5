#include "support/TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

std::string SourceDir() { return QUILTORA_SOURCE_DIR; }
std::string GameExe() { return QUILTORA_EXE; }

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "quiltora-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::TempDir(InMemory) {
    std::string tmpl = "/dev/shm/quiltora-test-XXXXXX";
    if (mkdtemp(tmpl.data())) {
        path_ = tmpl;
        return;
    }
    tmpl = (std::filesystem::temp_directory_path() / "quiltora-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

ScopedEnv::ScopedEnv(const std::string& name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name.c_str())) {
        had_ = true;
        old_ = old;
    }
    if (value) setenv(name.c_str(), value, 1);
    else unsetenv(name.c_str());
}

ScopedEnv::~ScopedEnv() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}

void WriteScript(const std::string& path, const std::string& body) {
    WriteFileBytes(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool PngSize(const std::string& path, float& w, float& h) {
    const std::string b = ReadFileBytes(path);
    if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return false;
    auto at = [&](int i) {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(b[i + k]);
        return static_cast<float>(v);
    };
    w = at(16);
    h = at(20);
    return true;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

bool MirrorEntry(const std::string& from, const std::string& to) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(from, ec)) {
        fs::create_directories(to, ec);
        for (const auto& entry : fs::directory_iterator(from, ec))
            if (!MirrorEntry(entry.path().string(), to + "/" + entry.path().filename().string())) return false;
        return true;
    }
    fs::create_hard_link(from, to, ec);
    if (ec) fs::copy_file(from, to, ec);
    return !ec;
}

}  // namespace testsupport
