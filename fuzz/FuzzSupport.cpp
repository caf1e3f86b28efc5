#include "FuzzSupport.h"

#include <fcntl.h>
#include <sanitizer/allocator_interface.h>
#include <unistd.h>

#include <atomic>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/Engine.h"
#include "platform/Platform.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {
std::string gRoot;

// The heap watch: bytes live now and at their peak, counted by the sanitizer's allocation hooks.
std::atomic<int64_t> gLive{0};
std::atomic<int64_t> gPeak{0};
std::atomic<int64_t> gBase{0};

void OnAllocate(const volatile void*, size_t size) {
    const int64_t now = gLive += static_cast<int64_t>(size);
    int64_t peak = gPeak.load();
    while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
    }
}

void OnFree(const volatile void* ptr) {
    // Called before the block is given back, so its size can still be asked.
    if (ptr) gLive -= static_cast<int64_t>(__sanitizer_get_allocated_size(const_cast<const void*>(ptr)));
}

void RemoveRoot() {
    std::error_code ec;
    if (!gRoot.empty()) fs::remove_all(gRoot, ec);
}
}  // namespace

void Init() {
    if (!gRoot.empty()) return;
    // In memory when the machine has a RAM folder: loaders write (atomically, with a sync) on
    // every run, and a disk would make that the slowest part by far.
    std::error_code ec;
    const fs::path base = access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
    std::string tmpl = (base / "quiltora-fuzz-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    gRoot = tmpl;
    std::atexit(RemoveRoot);
    // Textures and their pictures point at each other, and the last run's stay loaded to the
    // end: the loops are cut before the leak check at exit, which otherwise reports them
    // whenever no stale copy of a pointer to them happens to be left on the stack.
    std::atexit([] { TImgTex::ResetRegistry(); });
    // What loaders find beside their input: pictures, fonts, text classes, vector animations,
    // screens (all of the data but the sounds).
    const fs::path source = QUILTORA_DATA_DIR;
    fs::create_directories(DataDir());
    for (const auto& entry : fs::directory_iterator(source))
        if (entry.path().filename() != "Sound")
            fs::copy(entry.path(), fs::path(DataDir()) / entry.path().filename(), fs::copy_options::recursive);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::fflush(stdout);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, 1);
        close(null);
    }
    InstallAVO();
    InstallEmitters();
    InstallWidgets();
    __sanitizer_install_malloc_and_free_hooks(&OnAllocate, &OnFree);
}

void StartHeapWatch() {
    gBase = gLive.load();
    gPeak = gBase.load();
}

int64_t HeapPeakBytes() { return gPeak.load() - gBase.load(); }

void BeginRun() {
    std::error_code ec;
    fs::remove_all(RunDir(), ec);
    fs::create_directories(RunDir(), ec);
    ResetAppPaths();
    bDir = DataDir();
    AppRealPath = DataDir();
    AppDataFolder = RunDir() + "/user";
    LocalizeDir = bDir + AppLangDir + LangMod + "/";
    Control::Reset();
    TAsset::ResetCurrScreen();
    TAppDrawObjectText::ResetStatics();
    TAppDrawObject::CurrScreen = nullptr;
    TAppScreen::CurrentlyLoadingScreen = nullptr;
    AppFontManager::Reset();
    AppClassManager::Reset();
    TImgTex::ResetRegistry();
    ResetFileReports();
    TAppVectorAnim::ResetGlobals();
    ResetEmitters();
    AppSettings::Reset();
    ResetImageSettings();
    ResetRnd();
    ResetAppTime();
    ResetDelta();
}

std::string DataDir() { return gRoot + "/data/"; }
std::string RunDir() { return gRoot + "/run"; }

void WriteFile(const std::string& path, std::string_view bytes) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t n) {
    std::vector<std::string> parts(n);
    const std::string_view all = Bytes(data, size);
    size_t start = 0;
    for (size_t i = 0; i < n && start <= all.size(); ++i) {
        size_t end = i + 1 == n ? all.size() : all.find('\0', start);
        if (end == std::string_view::npos) end = all.size();
        parts[i] = std::string(all.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace fuzz

// Every target starts the same way: the fuzzing engine calls this once before the first input.
// It lives here, beside the set-up it runs, so no target has to repeat it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Init();
    return 0;
}
