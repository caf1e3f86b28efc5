// A hostile data folder: files made to cost far more than their bytes once read (a sound of
// silence that decodes to minutes of samples, text files of nothing but line breaks up to the
// byte cap), and a data folder without its font. Each start must reach the main menu, say in one
// line which file it refused, draw the menu's texts, and peak at no more than half again the
// memory of a start on the shipped data in the same run (without the bounds these starts peaked
// at hundreds of megabytes to gigabytes, or never reached the menu).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/GameRun.h"
#include "platform/Files.h"
#include "support/OggSilence.h"
#include "support/TestSupport.h"

namespace {

using e2e::Quote;

struct Start {
    int status = -1;
    std::string output;  // standard output and error
    TPixmapPtr shot;
    long peakKb = 0;    // at the main menu's first frame
    double menuMs = 0;  // from the start of main to the main menu's first frame
    bool menu = false;
};

// A data folder put together from the repository's (hard links), with files replaced: a file is
// removed before it is written, never written through its link into the repository's data.
class DataFolder {
public:
    DataFolder() { EXPECT_TRUE(testsupport::MirrorEntry(testsupport::SourceDir() + "/data", path())); }
    std::string path() const { return dir_.file("data"); }
    void Replace(const std::string& file, const std::string& bytes) {
        Remove(file);
        testsupport::WriteFileBytes(path() + "/" + file, bytes);
    }
    void Remove(const std::string& file) { ::unlink((path() + "/" + file).c_str()); }

private:
    testsupport::TempDir dir_;
};

Start RunStart(const std::string& data) {
    testsupport::TempDir dir;
    const std::string command = "timeout 240 " + Quote(testsupport::GameExe()) + " --data " + Quote(data) +
                                " --user-dir " + Quote(dir.file("user")) +
                                " --fixed-delta --timings --menu-frames 30 --frames 3000 --screenshot " +
                                Quote(dir.file("shot.png")) + " > " + Quote(dir.file("out.txt")) + " 2>&1";
    Start start;
    const int status = std::system(command.c_str());
    start.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    start.output = testsupport::ReadFileBytes(dir.file("out.txt"));
    start.shot = LoadPixmap(dir.file("shot.png"));
    start.menu = start.output.find("timing main-menu ") != std::string::npos;
    if (const size_t at = start.output.find("memory peak-kb "); at != std::string::npos)
        start.peakKb = std::atol(start.output.c_str() + at + 15);
    const size_t began = start.output.find("timing main "), menu = start.output.find("timing main-menu ");
    if (began != std::string::npos && menu != std::string::npos)
        start.menuMs = std::atof(start.output.c_str() + menu + 17) - std::atof(start.output.c_str() + began + 12);
    return start;
}

// Pixels of the light text of the main menu's Play button (none where no text is drawn).
int PlayLabelPixels(const TPixmapPtr& shot) {
    int light = 0;
    for (int y = 360; y < 390; ++y)
        for (int x = 620; x < 750; ++x) {
            const uint32_t c = e2e::Rgb(shot, x, y);
            if (((c >> 16) & 255) > 220 && ((c >> 8) & 255) > 220 && (c & 255) > 220) ++light;
        }
    return light;
}

size_t Count(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++n;
    return n;
}

}  // namespace

TEST(HostileDataTest, EachHostileStartReachesTheMenuSaysWhatItRefusedAndPeaksNearAShippedStart) {
    const Start clean = RunStart(testsupport::SourceDir() + "/data");
    ASSERT_TRUE(clean.menu) << clean.output;
    ASSERT_GT(clean.peakKb, 0);
    ASSERT_TRUE(clean.shot);
    ASSERT_GT(PlayLabelPixels(clean.shot), 20);

    const std::string breaks(static_cast<size_t>(MaxFileBytes(FileKind::Text)), '\n');
    std::string entries;  // Awards.txt of "a=1" lines up to the byte cap
    while (entries.size() + 4 <= breaks.size()) entries += "a=1\n";
    std::string oneLine;  // and of entries on one line
    while (oneLine.size() + 4 <= breaks.size()) oneLine += "a=1;";
    const std::string linesRefused = " lines, more than a text file may have (262144); it is not read";
    const struct {
        const char* name;
        std::function<void(DataFolder&)> make;
        std::vector<std::string> files;  // every report line is about one of these
        std::vector<std::string> said;   // each exactly once
    } starts[] = {
        {"the click, ten minutes of silence that decode to 106 MB",
         [](DataFolder& d) { d.Replace("Sound/sfx/click.ogg", testsupport::OggSilence(600, 44100, 2)); },
         {"click.ogg"},
         {"click.ogg' decodes to more than a sound effect may (10 seconds, 4194304 bytes of samples); it is not "
          "played"}},
        {"the main menu's texts, line breaks up to the byte cap",
         [&](DataFolder& d) { d.Replace("Local/en/MainMenu.txt", breaks); },
         {"MainMenu.txt"},
         {"MainMenu.txt' has 16777216" + linesRefused}},
        {"four text files at the byte cap",
         [&](DataFolder& d) {
             for (const char* file : {"Local/en/MainMenu.txt", "Local/en/Stages.txt", "Local/en/Kingdom.txt"})
                 d.Replace(file, breaks);
             d.Replace("Awards.txt", entries);
         },
         {"MainMenu.txt", "Stages.txt", "Kingdom.txt", "Awards.txt"},
         {"MainMenu.txt' has 16777216" + linesRefused, "Stages.txt' has 16777216" + linesRefused,
          "Kingdom.txt' has 16777216" + linesRefused, "Awards.txt' has 4194304" + linesRefused}},
        {"the awards, entries on one line up to the byte cap",
         [&](DataFolder& d) { d.Replace("Awards.txt", oneLine); },
         {"Awards.txt"},
         {"Awards.txt holds more than 131072 blocks and entries or 262144 values; it is not read!"}},
        {"no font in the data folder",
         [](DataFolder& d) { d.Remove("fonts/DejaVuSans.ttf"); },
         {"fonts/DejaVuSans.ttf"},
         {"No such file or directory! Url = "}},
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(s.name);
        DataFolder data;
        s.make(data);
        const Start start = RunStart(data.path());
        EXPECT_EQ(start.status, 0);
        EXPECT_TRUE(start.menu) << start.output.substr(0, 2000);
        EXPECT_EQ(start.output.find("failed: std::bad_alloc"), std::string::npos);
        for (const std::string& line : s.said) EXPECT_EQ(Count(start.output, line), 1u) << line << "\n" << start.output;
        std::istringstream lines(start.output);
        for (std::string line; std::getline(lines, line);) {
            if (!e2e::IsReportLine(line)) continue;
            bool named = false;
            for (const std::string& file : s.files) named = named || line.find(file) != std::string::npos;
            EXPECT_TRUE(named) << "a report line about another file: " << line;
        }
        // The menu's texts are drawn (with the system's font when the data folder has none),
        // unless the file of its texts was the one refused.
        ASSERT_TRUE(start.shot);
        const bool labels = std::find(s.files.begin(), s.files.end(), "MainMenu.txt") == s.files.end();
        EXPECT_EQ(PlayLabelPixels(start.shot) > 20, labels);
        EXPECT_LE(start.peakKb, clean.peakKb * 3 / 2) << "a shipped start peaked at " << clean.peakKb << " kB";
        std::printf(
            "[ memory   ] %s: peak %ld kB, %.2f of a shipped start's %ld kB; menu after %.0f ms, %.2f of its %.0f ms\n",
            s.name, start.peakKb, double(start.peakKb) / double(clean.peakKb), clean.peakKb, start.menuMs,
            start.menuMs / clean.menuMs, clean.menuMs);
    }
}
