#include "platform/Files.h"
#include "platform/Audio.h"
#include "platform/Image.h"
#include "support/AddressSpaceLimit.h"
#include "support/OggSilence.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

using testsupport::TempDir;

TEST(Files, TextRoundTripsChooseEncodingByContent) {
    TempDir dir;
    // Latin-1 when every character fits, with no mark.
    ASSERT_TRUE(SaveText("caf\xc3\xa9\nline", dir.file("l1.txt")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("l1.txt")), "caf\xe9\nline");
    EXPECT_EQ(LoadText(dir.file("l1.txt")), "caf\xc3\xa9\nline");
    // UTF-16LE with a mark otherwise, including characters beyond the basic plane.
    std::string wide = "z\xe2\x82\xac\xf0\x9f\x98\x80";
    ASSERT_TRUE(SaveText(wide, dir.file("w.txt")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("w.txt")).substr(0, 4), std::string("\xFF\xFEz\0", 4));
    EXPECT_EQ(LoadText(dir.file("w.txt")), wide);
    // Text that begins with the characters of a byte-order mark in Latin-1 comes back as it
    // was (found by fuzzing: a key file whose first group was named so read back empty, and
    // its next save lost every group).
    for (const std::string text : {"\xc3\xbf\xc3\xbe {", "\xc3\xbe\xc3\xbfx", "\xc3\xaf\xc2\xbb\xc2\xbf!"}) {
        ASSERT_TRUE(SaveText(text, dir.file("m.txt")));
        EXPECT_EQ(LoadText(dir.file("m.txt")), text);
    }
    ASSERT_TRUE(SaveText("\xc3\xbf", dir.file("m.txt")));  // one such character alone stays Latin-1
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("m.txt")), "\xFF");
}

TEST(Files, LoadTextDetectsByteOrderMarks) {
    TempDir dir;
    testsupport::WriteFileBytes(dir.file("u8.txt"), "\xEF\xBB\xBF\xc3\xa9");
    testsupport::WriteFileBytes(dir.file("be.txt"), std::string("\xFE\xFF\x00\x41\x20\xAC", 6));
    EXPECT_EQ(LoadText(dir.file("u8.txt")), "\xc3\xa9");
    EXPECT_EQ(LoadText(dir.file("be.txt")), "A\xe2\x82\xac");
    bool ok = true;
    EXPECT_EQ(LoadText(dir.file("missing.txt"), &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(SaveText("x", dir.file("no/such/folder/x.txt")));
}

TEST(Files, PathsResolveWithoutRegardToCase) {
    TempDir dir;
    testsupport::WriteFileBytes(dir.file("Game/PlayField/GridSizes.txt"), "1");
    EXPECT_EQ(FileType(dir.file("game/playfield/gridsizes.TXT")), 1);
    EXPECT_EQ(FileType(dir.file("GAME/playField")), 2);
    EXPECT_EQ(FileType(dir.file("game/nothing.txt")), 0);
    EXPECT_EQ(LoadText(dir.file("GAME/PLAYFIELD/GRIDSIZES.TXT")), "1");
    EXPECT_EQ(ResolvePath(dir.file("game/playfield/x/y")), dir.file("Game/PlayField/x/y"));
}

TEST(Files, PathSplittingAndContainment) {
    EXPECT_EQ(ExtractDir("a/b/c.txt"), "a/b");
    EXPECT_EQ(StripDir("a/b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractExt("a/b.d/c"), "");
    EXPECT_EQ(ExtractExt("a/b/c.tar.gz"), "gz");
    EXPECT_EQ(StripExt("a/b/c.txt"), "a/b/c");
    EXPECT_EQ(StripAll("a/b/c.txt"), "c");
    EXPECT_EQ(JoinPath("a/", "/b"), "a/b");
    EXPECT_TRUE(PathIsInside("/data", "images/x.png"));
    EXPECT_FALSE(PathIsInside("/data", "../etc/passwd"));
    EXPECT_FALSE(PathIsInside("/data", "/etc/passwd"));
    EXPECT_FALSE(PathIsInside("/data", "a/../../x"));
}

namespace {

// The Files helpers of one game per folder, killed saves and write errors.

// A child process that holds the lock on path until it is killed; returns its pid once the lock
// is held.
pid_t HoldLockInChild(const std::string& path) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        bool busy = false;
        const char ok = LockFileExclusive(path, busy) >= 0 ? 1 : 0;
        if (::write(ready[1], &ok, 1) != 1) _exit(2);
        for (;;) ::pause();
    }
    char ok = 0;
    if (::read(ready[0], &ok, 1) != 1 || !ok) return -1;
    ::close(ready[0]);
    ::close(ready[1]);
    return child;
}

}  // namespace

TEST(Files, ALockIsHeldByOneProcessAtATimeAndGoesWithItsProcess) {
    TempDir dir;
    const std::string path = dir.file("Game.lock");
    const pid_t holder = HoldLockInChild(path);
    ASSERT_GT(holder, 0);
    bool busy = false;
    EXPECT_EQ(LockFileExclusive(path, busy), -1);
    EXPECT_TRUE(busy);

    // Killed, however hard: the lock goes with it.
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    const int fd = LockFileExclusive(path, busy);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(busy);

    // A program started while the lock is held does not inherit it: once the holder lets go (by
    // closing, as at its end) the lock is free although the program still runs.
    // The pipe's end closes at the exec, so the read below returns once the program runs (a wait of
    // fixed length lost the race on a loaded machine, the child still before its exec).
    int execed[2];
    ASSERT_EQ(::pipe2(execed, O_CLOEXEC), 0);
    const pid_t program = ::fork();
    if (program == 0) {
        ::close(execed[0]);
        ::execl("/bin/sleep", "sleep", "5", static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(execed[1]);
    char none;
    EXPECT_EQ(::read(execed[0], &none, 1), 0);
    ::close(execed[0]);
    ::close(fd);
    const int again = LockFileExclusive(path, busy);
    EXPECT_GE(again, 0) << "the program started by the holder kept the lock";
    UnlockFile(again);
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);

    // A folder where the lock file cannot be made: no lock, and not busy either.
    EXPECT_EQ(LockFileExclusive(dir.file("missing/Game.lock"), busy), -1);
    EXPECT_FALSE(busy);
}

TEST(Files, LeftoverTemporaryFilesOfOtherProcessesAreRemoved) {
    long pid = 0;
    EXPECT_TRUE(IsTempFileName("a.AppProfile.tmp-123", &pid));
    EXPECT_EQ(pid, 123);
    for (const char* name : {"a.tmp-", "a.tmp-12x", ".tmp-12", "a.tmp-1234567890", "a.tmp", "a.AppProfile"})
        EXPECT_FALSE(IsTempFileName(name)) << name;

    TempDir dir;
    const pid_t dead = ::fork();
    if (dead == 0) _exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string own = "own.tmp-" + std::to_string(::getpid());
    const std::string ofDead = "dead.tmp-" + std::to_string(dead);
    const std::string ofLive = "live.tmp-1";  // init runs as long as the system does
    for (const std::string& name : {own, ofDead, ofLive, std::string("keep.dat")})
        testsupport::WriteFileBytes(dir.file(name), "x");
    ::mkdir(dir.file("folder.tmp-77").c_str(), 0755);

    // Only the processes that ended, in a folder other programs write in too.
    EXPECT_EQ(RemoveLeftoverTempFiles(dir.path(), true), std::vector<std::string>{ofDead});
    // Every other process's, in a folder the game holds; never this process's own, never a folder.
    EXPECT_EQ(RemoveLeftoverTempFiles(dir.path(), false), std::vector<std::string>{ofLive});
    EXPECT_EQ(ReadDir(dir.path()), (std::vector<std::string>{"folder.tmp-77", "keep.dat", own}));
}

TEST(Files, WriteErrorsAreToldAndCanBeInjected) {
    TempDir dir;
    ASSERT_TRUE(SaveBytes(dir.file("a.txt"), "old"));
    EXPECT_EQ(LastWriteError(), 0);
    EXPECT_FALSE(SaveBytes(dir.file("missing/a.txt"), "x"));
    EXPECT_EQ(WriteErrorText(LastWriteError()), "the game's folder is missing");

    // A full disk: writing fails, the old file stays whole, no temporary file is left.
    SetWriteFaultHook([](const std::string&, FileWrite what) { return what == FileWrite::Save ? ENOSPC : 0; });
    EXPECT_FALSE(SaveBytes(dir.file("a.txt"), "new"));
    EXPECT_EQ(LastWriteError(), ENOSPC);
    EXPECT_EQ(WriteErrorText(LastWriteError()), "the disk is full");
    EXPECT_TRUE(RenameFile(dir.file("a.txt"), dir.file("b.txt")));
    // A read-only folder: renaming and removing fail too.
    SetWriteFaultHook([](const std::string&, FileWrite) { return EROFS; });
    EXPECT_FALSE(RenameFile(dir.file("b.txt"), dir.file("a.txt")));
    EXPECT_FALSE(DeleteFile(dir.file("b.txt")));
    EXPECT_EQ(WriteErrorText(LastWriteError()), "the game's folder can't be written to");
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("b.txt")), "old");
    EXPECT_EQ(ReadDir(dir.path()), std::vector<std::string>{"b.txt"});

    // A folder the game must not write to: nothing below it changes, whatever the call; beside
    // it writing goes on; lifted, it is written again.
    CreateDir(dir.file("theirs"));
    ASSERT_TRUE(SaveBytes(dir.file("theirs/c.txt"), "old"));
    RefuseWritesBelow(dir.file("theirs"), ENOLCK);
    EXPECT_FALSE(SaveBytes(dir.file("theirs/c.txt"), "new"));
    EXPECT_EQ(LastWriteError(), ENOLCK);
    EXPECT_EQ(WriteErrorText(LastWriteError()), "the game's folder could not be locked for this game alone");
    EXPECT_FALSE(RenameFile(dir.file("b.txt"), dir.file("theirs/b.txt")));
    EXPECT_FALSE(DeleteFile(dir.file("theirs/c.txt")));
    EXPECT_TRUE(SaveBytes(dir.file("mine.txt"), "x"));
    EXPECT_EQ(ReadDir(dir.file("theirs")), std::vector<std::string>{"c.txt"});
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("theirs/c.txt")), "old");
    // A relative path (a screenshot's, say) is the working folder's, not the refused folder's.
    const std::string cwd = CurrentDir();
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    EXPECT_TRUE(SaveBytes("relative.txt", "x"));
    EXPECT_FALSE(SaveBytes("theirs/relative.txt", "x"));
    ASSERT_EQ(::chdir(cwd.c_str()), 0);
    EXPECT_EQ(FileType(dir.file("relative.txt")), 1);
    RefuseWritesBelow("", 0);
    EXPECT_TRUE(SaveBytes(dir.file("theirs/c.txt"), "new"));
}

TEST(Files, Crc32IsTheCheckOfZipAndPng) {
    EXPECT_EQ(Crc32(""), 0u);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    // One bit anywhere changes it.
    EXPECT_NE(Crc32("Level = 37\n"), Crc32("Level = 36\n"));
}

TEST(Files, AWriteErrorBelongsToTheThreadThatWrote) {
    // The launcher's worker deletes and renames files while the main thread saves: a failed save
    // must read back its own error, not "no error" from the worker's last write.
    TempDir dir;
    EXPECT_FALSE(SaveBytes(dir.file("missing/a.txt"), "x"));
    ASSERT_EQ(LastWriteError(), ENOENT);
    int workerAfterSuccess = -1, workerAfterFailure = -1;
    std::thread worker([&] {
        EXPECT_FALSE(RenameFile(dir.file("gone.txt"), dir.file("x/y.txt")));
        workerAfterFailure = LastWriteError();
        testsupport::WriteFileBytes(dir.file("w.txt"), "w");
        EXPECT_TRUE(RenameFile(dir.file("w.txt"), dir.file("v.txt")));
        EXPECT_TRUE(DeleteFile(dir.file("v.txt")));
        workerAfterSuccess = LastWriteError();
    });
    worker.join();
    EXPECT_EQ(workerAfterSuccess, 0);
    EXPECT_EQ(workerAfterFailure, ENOENT);
    EXPECT_EQ(LastWriteError(), ENOENT);
    ASSERT_TRUE(SaveBytes(dir.file("a.txt"), "x"));
    EXPECT_EQ(LastWriteError(), 0);
}

namespace {

// How many descriptors the process holds open.
int OpenHandles() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) (void)entry, ++n;
    return n;
}

// Captures what is written on the error stream while it lives.
class ErrorLines {
public:
    ErrorLines() { testing::internal::CaptureStderr(); }
    std::string Text() {
        if (!taken_) text_ = testing::internal::GetCapturedStderr(), taken_ = true;
        return text_;
    }
    ~ErrorLines() { Text(); }

private:
    bool taken_ = false;
    std::string text_;
};

}  // namespace

TEST(Files, AReadIsCappedByItsKindAndRefusesWhatIsNotAFileWithoutWaiting) {
    TempDir dir;
    // Sparse files: a size on paper, no room on the disk.
    auto sparse = [&](const std::string& name, int64_t size) {
        const std::string path = dir.file(name);
        testsupport::WriteFileBytes(path, "x");
        EXPECT_EQ(::truncate(path.c_str(), size), 0);
        return path;
    };
    const std::string hugeText = sparse("Awards.txt", int64_t(64) << 30);
    const std::string hugePicture = sparse("big.png", int64_t(3) << 30);
    const std::string justText = sparse("edge.txt", MaxFileBytes(FileKind::Text));
    const std::string overLevel = sparse("big.PACLevel", MaxFileBytes(FileKind::Level) + 1);
    // Line breaks up to the byte cap: refused by their lines, whatever their bytes.
    const std::string breaks = dir.file("MainMenu.txt");
    testsupport::WriteFileBytes(breaks, std::string(static_cast<size_t>(MaxFileBytes(FileKind::Text)), '\n'));
    const std::string manyLines = dir.file("lines.txt");
    testsupport::WriteFileBytes(manyLines, std::string(static_cast<size_t>(kMaxTextLines), '\n') + "one more");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    const struct {
        std::string path;
        FileKind kind;
        const char* said;  // empty: refused without a line (the caller tells of a missing file)
    } refused[] = {
        {hugeText, FileKind::Text, "more than a text file may have (16777216)"},
        {hugePicture, FileKind::Picture, "more than a picture may have (269484032)"},
        {overLevel, FileKind::Level, "more than a level may have"},
        {breaks, FileKind::Text, "has 16777216 lines, more than a text file may have (262144); it is not read"},
        {manyLines, FileKind::Text, "has 262145 lines, more than a text file may have (262144)"},
        {dir.file("fifo"), FileKind::Text, "is not a file"},
        {"/dev/zero", FileKind::Any, "is not a file"},
        {dir.path(), FileKind::Text, ""},
        {dir.file("missing"), FileKind::Text, ""},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        ErrorLines lines;
        std::string out = "kept";
        EXPECT_FALSE(LoadBytes(c.path, out, c.kind));
        EXPECT_EQ(out, "kept");
        if (*c.said) {
            EXPECT_NE(lines.Text().find(c.said), std::string::npos) << lines.Text();
        } else {
            EXPECT_EQ(lines.Text(), "");
        }
    }
    // At the cap exactly, a file is read.
    std::string edge;
    ASSERT_TRUE(LoadBytes(justText, edge, FileKind::Text));
    EXPECT_EQ(edge.size(), static_cast<size_t>(MaxFileBytes(FileKind::Text)));
    testsupport::WriteFileBytes(manyLines, std::string(static_cast<size_t>(kMaxTextLines) - 2, '\n') + "\r\nlast");
    ASSERT_TRUE(LoadBytes(manyLines, edge, FileKind::Text));
    EXPECT_TRUE(LoadBytes(breaks, edge, FileKind::Any));  // only a text is counted in lines

    // No failed read leaves a handle open, whatever failed.
    const int before = OpenHandles();
    {
        ErrorLines quiet;
        for (int i = 0; i < 1000; ++i) {
            std::string out;
            LoadBytes(refused[i % std::size(refused)].path, out, refused[i % std::size(refused)].kind);
        }
    }
    EXPECT_EQ(OpenHandles(), before);
}

// Links raced against the gate, as a hostile data folder can while the game reads it: one to a
// file outside that keeps appearing and going (a link to nothing half the time), and a file
// swapped again and again for a link to a file outside. The reading program, traced with strace,
// never opens a file outside, not even to refuse it.
TEST(Files, ALinkRacedAgainstTheGateNeverOpensAFileOutside) {
    if (std::system("strace -qq -o /dev/null true > /dev/null 2>&1") != 0) GTEST_SKIP() << "strace cannot trace here";
    TempDir dir;
    const std::string data = dir.file("data"), outside = dir.file("outside");
    ASSERT_TRUE(CreateDir(data) && CreateDir(outside));
    testsupport::WriteFileBytes(outside + "/source", "outside");
    testsupport::WriteFileBytes(data + "/.inside", "inside");
    testsupport::WriteFileBytes(data + "/file", "inside");
    ASSERT_EQ(::symlink((outside + "/secret").c_str(), (data + "/link").c_str()), 0);
    std::atomic<bool> stop{false};
    std::thread racer([&] {
        const std::string source = outside + "/source", secret = outside + "/secret";
        while (!stop) {
            ::link(source.c_str(), secret.c_str());  // the link's target appears
            ::symlink(source.c_str(), (data + "/.l").c_str());
            ::rename((data + "/.l").c_str(), (data + "/file").c_str());  // the file becomes a link out
            ::unlink(secret.c_str());                                    // and goes
            ::link((data + "/.inside").c_str(), (data + "/.f").c_str());
            ::rename((data + "/.f").c_str(), (data + "/file").c_str());  // a file again
        }
    });
    const std::string command = "strace -f -y -qq --seccomp-bpf -e trace=open,openat,openat2 -o " +
                                dir.file("trace.txt") + " " + QUILTORA_GATE_RACE + " " + data + " 5000 > " +
                                dir.file("out.txt") + " 2>/dev/null";
    const int status = std::system(command.c_str());
    stop = true;
    racer.join();
    ASSERT_EQ(status, 0);
    // The race ran: the file was read while it was one.
    int links = -1, files = -1;
    ASSERT_EQ(std::sscanf(testsupport::ReadFileBytes(dir.file("out.txt")).c_str(), "%d %d", &links, &files), 2);
    EXPECT_EQ(links, 0);
    EXPECT_GT(files, 0);
    std::istringstream trace(testsupport::ReadFileBytes(dir.file("trace.txt")));
    int opened = 0, outsideOpened = 0;
    std::string first;
    for (std::string line; std::getline(trace, line);) {
        if (line.find(data + "/") != std::string::npos) ++opened;
        if (line.find(outside) == std::string::npos) continue;
        if (outsideOpened++ == 0) first = line;
    }
    EXPECT_GT(opened, 0);  // the reads are on record
    EXPECT_EQ(outsideOpened, 0) << "the first: " << first;
}

// A file within its caps that still does not fit in the memory left is refused with a line, as
// if it were missing: no load throws out of the platform layer.
TEST(Files, AReadOrDecodeThatDoesNotFitInMemoryIsRefusedWithALine) {
    TempDir dir;
    const std::string latin1 = dir.file("latin1.txt");
    testsupport::WriteFileBytes(latin1, std::string(4 << 20, '\xE9'));  // twice as long decoded
    const std::string music = testsupport::OggSilence(240);             // 3.8 MB of samples
    const std::string picture = EncodePNG(CreatePixmap(2048, 2048));    // 16 MB of pixels
    const struct {
        const char* name;
        std::function<bool()> load;  // true when something came back
        const char* said;
    } cases[] = {
        {"a Latin-1 text",
         [&] {
             bool ok = true;
             LoadText(latin1, &ok);
             return ok;
         },
         "does not fit in memory"},
        {"music", [&] { return DecodeAudioSample(music, SoundKind::Music, "m.ogg") != nullptr; },
         "The sound 'm.ogg' does not fit in memory"},
        {"a picture", [&] { return LoadPixmapFromMemory(picture) != nullptr; },
         "A picture of 2048 x 2048 pixels does not fit in memory"},
    };
    // Each in a process of its own, started afresh (no memory freed by other tests lies about for
    // the load to take within the limit), where every allocation of a megabyte or more gets
    // memory of its own.
    if (!testsupport::AddressSpaceLimit(64 << 20).active()) GTEST_SKIP() << "no address-space limit can be set here";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(
            {
                mallopt(M_MMAP_THRESHOLD, 1 << 20);
                testsupport::AddressSpaceLimit limit(2 << 20);
                std::_Exit(c.load() ? 1 : 0);
            },
            testing::ExitedWithCode(0), c.said);
    }
    for (const auto& c : cases) EXPECT_TRUE(c.load()) << c.name;  // with the memory there, it loads
}

TEST(Files, AStampTellsTheFileAReadFound) {
    TempDir dir;
    const std::string path = dir.file("a.png");
    testsupport::WriteFileBytes(path, "one");
    std::string bytes;
    TFileStamp read;
    ASSERT_TRUE(LoadBytes(path, bytes, FileKind::Picture, &read));
    EXPECT_EQ(read.size, 3);
    EXPECT_EQ(FileStamp(path), read);
    EXPECT_EQ(FileStamp(dir.file("A.PNG")), read);  // found without regard to case, like reads
    // The same size written anew, and another file renamed over it, are other files.
    struct timespec later[2] = {{0, UTIME_OMIT}, {read.modifiedNs / 1000000000 + 5, 0}};
    testsupport::WriteFileBytes(path, "two");
    ::utimensat(AT_FDCWD, path.c_str(), later, 0);
    EXPECT_NE(FileStamp(path), read);
    EXPECT_EQ(FileStamp(dir.file("gone")).size, -1);
}

TEST(Files, NoReadLeavesTheAllowedFoldersByDotDotOrByALink) {
    TempDir dir;
    ASSERT_TRUE(CreateDir(dir.file("data/fonts")));
    ASSERT_TRUE(CreateDir(dir.file("user")));
    ASSERT_TRUE(CreateDir(dir.file("elsewhere/deep")));
    testsupport::WriteFileBytes(dir.file("data/fonts/Own.ttf"), "inside");
    testsupport::WriteFileBytes(dir.file("user/Settings.ini"), "mine");
    testsupport::WriteFileBytes(dir.file("elsewhere/secret.txt"), "outside");
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), dir.file("data/fonts/out").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("elsewhere/secret.txt").c_str(), dir.file("data/Secret.txt").c_str()), 0);
    ASSERT_EQ(::symlink("fonts/Own.ttf", dir.file("data/same.ttf").c_str()), 0);  // a link that stays inside

    const std::string data = dir.file("data"), user = dir.file("user");
    const struct {
        std::string path;
        bool inside;
    } cases[] = {
        {data + "/fonts/Own.ttf", true},
        {data + "/FONTS/own.TTF", true},  // found without regard to case
        {data + "/same.ttf", true},
        {data + "/fonts/../fonts/Own.ttf", true},
        {user + "/Settings.ini", true},
        {data + "/../elsewhere/secret.txt", false},
        {data + "/fonts/../../elsewhere/secret.txt", false},
        {data + "/fonts/out/secret.txt", false},
        {data + "/fonts/OUT/deep/../secret.txt", false},
        {data + "/secret.txt", false},  // the link, found without regard to case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathResolvesInside(data, c.path) || PathResolvesInside(user, c.path), c.inside);
    }

    AllowReadsBelow(data);
    AllowReadsBelow(user);
    AllowReadsBelow(dir.file("no/such/folder"));
    EXPECT_EQ(ReadableFolders().size(), 2u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ErrorLines lines;
        std::string out;
        EXPECT_EQ(LoadBytes(c.path, out), c.inside);
        EXPECT_EQ(lines.Text().find("lies outside the game's folders") != std::string::npos, !c.inside) << lines.Text();
        if (!c.inside) {
            EXPECT_EQ(out, "");
        }
    }
    // Nor is a folder outside listed (an animation's frames, say).
    {
        ErrorLines lines;
        EXPECT_EQ(ReadDir(data + "/fonts/out"), std::vector<std::string>{});
        EXPECT_EQ(ReadDir(data + "/fonts/.."), (std::vector<std::string>{"Secret.txt", "fonts", "same.ttf"}));
        EXPECT_EQ(ReadDir(data + "/.."), std::vector<std::string>{});
        EXPECT_NE(lines.Text().find("lies outside the game's folders"), std::string::npos);
    }
    // Nor does the lookup without regard to case list one: the name stays as written.
    EXPECT_EQ(ResolvePath(data + "/../ELSEWHERE/secret.txt"), data + "/../ELSEWHERE/secret.txt");
    EXPECT_EQ(ResolvePath(data + "/FONTS/own.TTF"), data + "/fonts/Own.ttf");
    // The game's own folder named in another case is found by its own name, not by a listing.
    EXPECT_EQ(ResolvePath(dir.file("DATA/FONTS/own.TTF")), data + "/fonts/Own.ttf");
    // A link to nothing is refused before any open, and so is the file once it is there.
    ASSERT_EQ(::symlink(dir.file("elsewhere/deep/later.txt").c_str(), dir.file("data/Later.txt").c_str()), 0);
    {
        ErrorLines lines;
        std::string out;
        EXPECT_FALSE(LoadBytes(data + "/Later.txt", out));
        EXPECT_FALSE(LoadBytes(data + "/missing.txt", out));  // plain nothing: the caller says so
        EXPECT_NE(lines.Text().find("Later.txt' leads to nothing that can be read"), std::string::npos) << lines.Text();
        EXPECT_EQ(lines.Text().find("missing.txt"), std::string::npos) << lines.Text();
    }
    {
        ErrorLines lines;
        std::string out;
        testsupport::WriteFileBytes(dir.file("elsewhere/deep/later.txt"), "outside");
        EXPECT_FALSE(LoadBytes(data + "/Later.txt", out));
        EXPECT_NE(lines.Text().find("Later.txt' lies outside the game's folders"), std::string::npos) << lines.Text();
    }
    // One file outside may be allowed on its own: that file, not its folder nor its neighbours.
    AllowReadOfFile(dir.file("elsewhere/secret.txt"));
    AllowReadOfFile(dir.file("elsewhere/none.txt"));
    {
        ErrorLines lines;
        std::string out;
        EXPECT_TRUE(LoadBytes(dir.file("elsewhere/secret.txt"), out));
        EXPECT_TRUE(LoadBytes(data + "/Secret.txt", out));  // the link to it, too
        EXPECT_FALSE(LoadBytes(dir.file("elsewhere/deep/later.txt"), out));
        EXPECT_EQ(ReadDir(dir.file("elsewhere")), std::vector<std::string>{});
    }
    AllowReadsAnywhere();
    EXPECT_EQ(ReadDir(data + "/fonts/out"), (std::vector<std::string>{"deep", "secret.txt"}));
    std::string out;
    EXPECT_TRUE(LoadBytes(data + "/fonts/out/secret.txt", out));
    EXPECT_EQ(out, "outside");
}
