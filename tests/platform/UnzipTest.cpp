// Unpacking archives: a good one comes out whole; hostile names, links, damaged and truncated
// archives are refused, and a refused archive writes nothing outside the folder.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Unzip.h"
#include "support/TestSupport.h"
#include "support/ZipBuilder.h"

namespace {

using testsupport::TempDir;
using testsupport::ZipBuilder;

TEST(UnzipTest, AGoodArchiveUnpacksWithItsFolders) {
    TempDir dir;
    testsupport::WriteFileBytes(
        dir.file("a.zip"),
        ZipBuilder().File("launcher.dat", "text").Folder("pics/").File("pics/one.png", "png").Bytes());
    std::string error;
    ASSERT_TRUE(UnzipArchive(dir.file("a.zip"), dir.file("out"), &error)) << error;
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("out/launcher.dat")), "text");
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("out/pics/one.png")), "png");
}

TEST(UnzipTest, HostileEntriesRefuseTheWholeArchiveBeforeWritingAnything) {
    struct Case {
        const char* what;
        ZipBuilder zip;
    };
    const Case cases[] = {
        {"parent folder", ZipBuilder().File("good.txt", "x").File("../escaped.txt", "evil")},
        {"parent deeper", ZipBuilder().File("good.txt", "x").File("a/../../escaped.txt", "evil")},
        {"backslash parent", ZipBuilder().File("good.txt", "x").File("a\\..\\..\\escaped.txt", "evil")},
        {"absolute", ZipBuilder().File("good.txt", "x").File("/tmp/escaped.txt", "evil")},
        {"drive letter", ZipBuilder().File("good.txt", "x").File("C:/escaped.txt", "evil")},
        {"link", ZipBuilder().File("good.txt", "x").Link("sneaky", "/etc")},
        {"link then file through it", ZipBuilder().Link("sneaky", "..").File("sneaky/escaped.txt", "evil")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        testsupport::WriteFileBytes(dir.file("a.zip"), c.zip.Bytes());
        std::string error;
        EXPECT_FALSE(UnzipArchive(dir.file("a.zip"), dir.file("out/in"), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(FileType(dir.file("out/in/good.txt")), 0);
        EXPECT_EQ(FileType(dir.file("out/escaped.txt")), 0);
        EXPECT_EQ(FileType(dir.file("escaped.txt")), 0);
        EXPECT_EQ(FileType(dir.file("out/in/sneaky")), 0);
    }
}

TEST(UnzipTest, DamagedTruncatedAndMissingArchivesAreRefused) {
    TempDir dir;
    const std::string good = ZipBuilder().File("launcher.dat", std::string(5000, 'a')).File("b.png", "bb").Bytes();
    testsupport::WriteFileBytes(dir.file("cut.zip"), good.substr(0, good.size() / 2));
    testsupport::WriteFileBytes(dir.file("junk.zip"), "<html>Not found</html>");
    std::string flipped = good;
    flipped[40] ^= 0x5A;  // inside the first entry's compressed data
    testsupport::WriteFileBytes(dir.file("flipped.zip"), flipped);
    for (const char* name : {"cut.zip", "junk.zip", "flipped.zip", "missing.zip"}) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_FALSE(UnzipArchive(dir.file(name), dir.file(std::string("out-") + name), &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(UnzipTest, AnArchiveLargerThanTheLimitIsRefused) {
    TempDir dir;
    testsupport::WriteFileBytes(dir.file("big.zip"), ZipBuilder().File("big.bin", std::string(100000, 'z')).Bytes());
    TUnzipLimits limits;
    limits.maxTotalBytes = 50000;
    std::string error;
    EXPECT_FALSE(UnzipArchive(dir.file("big.zip"), dir.file("out"), &error, limits));
    EXPECT_EQ(FileType(dir.file("out/big.bin")), 0);
}

TEST(UnzipTest, EntryNameRules) {
    for (const char* ok : {"a.txt", "a/b/c.png", "a..b", "..a", "dir/", "./a"})
        EXPECT_TRUE(IsSafeZipEntryName(ok)) << ok;
    for (const char* bad : {"", "..", "../a", "a/..", "a/../b", "/a", "\\a", "a\\..\\b", "C:a", "a\nb"})
        EXPECT_FALSE(IsSafeZipEntryName(bad)) << bad;
}

}  // namespace
