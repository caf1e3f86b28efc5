// Frame animations: the sequence text form and ".AnimData" files with their frames, handles
// and sequences.
#include "engine/media/AnimData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/system/Paths.h"
#include "engine/media/Img.h"
#include "platform/Image.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

TEST(AnimData, FromStringStepsAndRunningDelay) {
    const struct {
        const char* text;
        std::vector<int> frames, delays;
    } cases[] = {
        {"0|120 1 2|80 3", {0, 1, 2, 3}, {120, 120, 80, 80}},
        {"", {}, {}},
        {"5", {5}, {100}},
        {"1|50 2|70|9", {1, 2}, {50, 70}},       // a third piece is ignored
        {"1|50  2", {1, 0, 2}, {50, 50, 50}},    // an empty step is frame 0
        {"|30 x4 7 ", {0, 0, 7}, {30, 30, 30}},  // unreadable numbers are 0, a last blank adds nothing
    };
    for (const auto& c : cases) {
        TAnimData d;
        d.Frames = {9, 9, 9, 9, 9};
        d.FromString(c.text);
        EXPECT_EQ(d.Frames, c.frames) << c.text;
        EXPECT_EQ(d.FrameDelay, c.delays) << c.text;
    }
}

class AnimFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string savedBDir;
    void SetUp() override {
        savedBDir = bDir;
        bDir = dir.path() + "/";
        TImg::ResetSetup();
    }
    void TearDown() override {
        bDir = savedBDir;
        TImg::ResetSetup();
    }
    void WriteFrame(const std::string& name, int w, int h) {
        TPixmapPtr p = CreatePixmap(w, h);
        p->ClearPixels(int(0xFF336699));
        ASSERT_TRUE(SavePixmapPNG(p, dir.file(name)));
    }
};

TEST_F(AnimFileTest, FramesHandlesAndSequences) {
    WriteFrame("f0.png", 10, 20);
    WriteFrame("f2.png", 30, 40);
    WriteFrame("f3.png", 4, 4);
    WriteFileBytes(dir.file("walk.AnimData"),
                   "Frames{\n"
                   "\tGlobalHandle = 3, 4\n"
                   "\tFRAME = \"#BDIR#f0.png\"\n"
                   "\tFRAME = \"#BDIR#gone.png\", 7, 8\n"
                   "\tNote = \"not a frame\"\n"
                   "\tframe = \"[BDIR]f2.png\", 5\n"
                   "\tFrame = \"#BDIR#F3.PNG\", 1, 2\n"
                   "}\n"
                   "Anims{\n"
                   "\tAnim{\n\t\tid = 2.9\n\t\tData = \"0|120 1 2|80 3\"\n\t}\n"
                   "\tAnim{\n\t\tid = 2\n\t\tData = \"3\"\n\t}\n"
                   "\tOther{\n\t\tid = 7\n\t}\n"
                   "\tAnim{\n\t\tid = -1.5\n\t}\n"
                   "}\n");
    testing::internal::CaptureStdout();
    TAnimObjectPtr obj = LoadAnimObject(dir.file("walk.AnimData"), 6);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "NO FILE ERROR ( File: AnimData  Code: LoadAnimObjectFrames ) No such file or directory! Url = " +
                       dir.path() + "/gone.png\n");

    ASSERT_EQ(obj->Frames.size(), 4u) << "a missing frame keeps its place";
    const struct {
        int w, h;
        float hx, hy;
    } want[] = {{10, 20, 3, 4}, {128, 64, 7, 8}, {30, 40, 5, 0}, {4, 4, 1, 2}};
    for (size_t i = 0; i < std::size(want); ++i) {
        const TImagePtr& f = obj->Frames[i];
        ASSERT_NE(f, nullptr) << i;
        EXPECT_EQ(ImageWidth(f), want[i].w) << i;
        EXPECT_EQ(ImageHeight(f), want[i].h) << i;
        EXPECT_EQ(ImageHandleX(f), want[i].hx) << i;
        EXPECT_EQ(ImageHandleY(f), want[i].hy) << i;
    }
    EXPECT_EQ(obj->Frames[0]->flags, 6) << "the caller's flags pass through";
    EXPECT_NE(obj->Frames[1], TImg::_emptyImg) << "the placeholder itself keeps its handle";
    EXPECT_EQ(ImageHandleX(TImg::_emptyImg), 0.0f);

    ASSERT_EQ(obj->Anims.size(), 3u);
    EXPECT_EQ(obj->Anims[0]->id, 2);
    EXPECT_EQ(obj->Anims[0]->FrameDelay, (std::vector<int>{120, 120, 80, 80}));
    EXPECT_EQ(obj->GetAnim(2), obj->Anims[0]) << "the first of two with one id";
    EXPECT_EQ(obj->GetAnim(-1), obj->Anims[2]);
    EXPECT_TRUE(obj->Anims[2]->Frames.empty());
    EXPECT_EQ(obj->GetAnim(7), nullptr);
}

TEST_F(AnimFileTest, MissingOrEmptyFileGivesAnEmptyObject) {
    WriteFileBytes(dir.file("empty.AnimData"), "Something{\n}\n");
    for (const std::string name : {"empty.AnimData", "absent.AnimData"}) {
        testing::internal::CaptureStdout();
        TAnimObjectPtr obj = LoadAnimObject(dir.file(name), -1);
        testing::internal::GetCapturedStdout();
        ASSERT_NE(obj, nullptr) << name;
        EXPECT_TRUE(obj->Frames.empty()) << name;
        EXPECT_TRUE(obj->Anims.empty()) << name;
        EXPECT_EQ(obj->GetAnim(0), nullptr) << name;
    }
}

TEST_F(AnimFileTest, AFileCutShortIsSaidOnceAndItsCutFrameNameIsNot) {
    WriteFrame("f0.png", 10, 20);
    const std::string whole =
        "Frames{\n\tFRAME = \"#BDIR#f0.png\"\n\tFRAME = \"#BDIR#gone.png\"\n"
        "\tFRAME = \"#BDIR#f0.png\"\n}\nAnims{\n\tAnim{\n\t\tid = 1\n\t}\n}\n";
    // Cut inside the last frame's name: the deleted picture before it is still said, the name
    // cut short is the file's fault, said in the file's line.
    WriteFileBytes(dir.file("cut.AnimData"), whole.substr(0, whole.rfind("f0.png") - 3));
    testing::internal::CaptureStdout();
    TAnimObjectPtr obj = LoadAnimObject(dir.file("cut.AnimData"), -1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Animation file '" + dir.file("cut.AnimData") + "' is damaged"), std::string::npos) << out;
    EXPECT_NE(out.find(dir.path() + "/gone.png"), std::string::npos) << out;
    size_t lines = 0;
    for (char c : out) lines += c == '\n';
    EXPECT_EQ(lines, 2u) << out;
    ASSERT_EQ(obj->Frames.size(), 3u);
    EXPECT_EQ(ImageWidth(obj->Frames[0]), 10);
}

}  // namespace
