// A costly picture in the data folder never holds a quit: a termination signal during the loading
// screen ends the game at once (in a small share of the time such a picture takes to decode),
// whether the picture is the main menu's (its pixels are not decoded
// before it is about to be shown) or the loading screen's own (decoded on the main thread when it
// is first drawn, and given up there); and a start with the menu's costly picture needs no more
// memory than one and a half times a clean start quit at the same moment. The picture is a
// 4096 x 4096 arithmetic-coded progressive JPEG of noise (64 MB of pixels, seconds of decoding).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "e2e/GameRun.h"
#include "support/Jpeg.h"
#include "support/TestSupport.h"

namespace {

using namespace e2e;

// The costly picture, made once.
const std::string& CostlyJpeg() {
    static const std::string bytes = [] {
        constexpr int kSide = 4096;
        std::vector<uint8_t> rgb(static_cast<size_t>(kSide) * kSide * 3);
        uint32_t state = 12345;
        for (uint8_t& sample : rgb) {
            state = state * 1103515245u + 12345u;
            sample = static_cast<uint8_t>(state >> 23);
        }
        return testsupport::Jpeg(kSide, kSide, 3, rgb, {.progressive = true, .arithmetic = true});
    }();
    return bytes;
}

// How long decoding the costly picture whole takes in this process, now: the reference a quit is
// measured against, so that a loaded machine slows both alike.
double DecodeMs(const std::string& bytes) {
    const auto start = std::chrono::steady_clock::now();
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    std::vector<uint8_t> row(static_cast<size_t>(cinfo.output_width) * cinfo.output_components);
    JSAMPROW rows[] = {row.data()};
    while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct QuitRun {
    int status = -1;
    double exitMs = -1;  // from the signal to the end of the process
    long peakKb = -1;
    std::string output;
};

// Runs the game on the real clock on `data` and sends it SIGTERM `afterMs` after its loading
// screen began.
QuitRun RunAndQuitDuringLoading(const testsupport::TempDir& dir, const std::string& data, int afterMs) {
    QuitRun run;
    int out[2];
    if (pipe(out) != 0) return run;
    const std::string exe = testsupport::GameExe(), user = dir.file("user");
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execl(exe.c_str(), exe.c_str(), "--data", data.c_str(), "--user-dir", user.c_str(), "--timings",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    FILE* from = fdopen(out[0], "r");
    char line[4096];
    std::chrono::steady_clock::time_point signalled{};
    bool sent = false;
    while (std::fgets(line, sizeof line, from)) {
        run.output += line;
        if (!sent && std::string(line).rfind("timing loading ", 0) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
            signalled = std::chrono::steady_clock::now();
            kill(pid, SIGTERM);
            sent = true;
        }
        long kb = 0;
        if (std::sscanf(line, "memory run-peak-kb %ld", &kb) == 1) run.peakKb = kb;
    }
    std::fclose(from);
    int status = 0;
    waitpid(pid, &status, 0);
    if (sent)
        run.exitMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - signalled).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CostlyPictureTest, AQuitDuringLoadingNeverWaitsForACostlyPicture) {
    // The quit comes while the loading screen reads the screens' pictures (the loading's own
    // picture is drawn from its first frame, and the screens' are reached after a second and a
    // half of fade-in and screen files, out of three seconds).
    constexpr int kAmongThePictures = 1600, kAtTheFirstFrames = 300;
    testsupport::TempDir cleanDir;
    const QuitRun clean = RunAndQuitDuringLoading(cleanDir, testsupport::SourceDir() + "/data", kAmongThePictures);
    ASSERT_EQ(clean.status, 0) << clean.output;
    ASSERT_GT(clean.peakKb, 0) << clean.output;
    // A quit that waited for the picture would take the rest of its decode (all of it for the
    // menu's picture, all but the first 0.3 s for the loading screen's); one that gives up takes a
    // share of it (a quarter of a second on a quiet machine against three; up to two thirds of it
    // on a loaded one, where the signal and the exit wait for a core too).
    const double decodeMs = DecodeMs(CostlyJpeg());
    const struct {
        const char* picture;
        int quitAfterMs;
        bool memoryChecked;  // the loading screen's own picture is decoded, up to the quit
    } cases[] = {
        {"Screens/MainMenu/Background.jpg", kAmongThePictures, true},
        {"Screens/LoadingScreen/Background.jpg", kAtTheFirstFrames, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        testsupport::TempDir dir;
        const std::string data = dir.file("data");
        ASSERT_TRUE(testsupport::MirrorEntry(testsupport::SourceDir() + "/data", data));
        // Written anew, not through the link to the repository's file.
        std::remove((data + "/" + c.picture).c_str());
        testsupport::WriteFileBytes(data + "/" + c.picture, CostlyJpeg());
        const QuitRun run = RunAndQuitDuringLoading(dir, data, c.quitAfterMs);
        std::printf(
            "%s: the quit ended %.0f ms after the signal (the picture's decode: %.0f ms); peak %.1f MB, %.2f "
            "times a clean start's %.1f MB\n",
            c.picture, run.exitMs, decodeMs, run.peakKb / 1024.0, run.peakKb / double(clean.peakKb),
            clean.peakKb / 1024.0);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_GE(run.exitMs, 0.0) << run.output;
        EXPECT_LT(run.exitMs, decodeMs * 3 / 4);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        if (c.memoryChecked) {
            EXPECT_LE(run.peakKb, clean.peakKb * 3 / 2) << "a clean start's peak: " << clean.peakKb << " kB";
        }
    }
}

}  // namespace
