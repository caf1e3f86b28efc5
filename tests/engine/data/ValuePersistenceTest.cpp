#include "engine/data/ValuePersistence.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::shared_ptr<TDim> Key(float x, int bezier, int squash) {
    auto d = CreateDim(x, -x * 0.5f, 100, 0.1f, 0.333333343f, 1.5f, 2.5f, -3e-7f, 123456789.0f);
    d->isBezier = bezier;
    d->isSplaszczenie = squash;
    return d;
}

void ExpectSameDims(const TDimArray& got, const TDimArray& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_TRUE(got[i]);
        EXPECT_EQ(got[i]->ToString(), want[i]->ToString()) << "slot " << i;
    }
}

}  // namespace

TEST(ValuePersistence, ArrayRoundTripKeepsEveryFieldAndOrder) {
    TempDir dir;
    const TDimArray dims{Key(10, 2, 3), Key(-0.1f, 1, 0), Key(1e-6f, 0, 6)};
    ASSERT_TRUE(SaveDimArray(dims, dir.file("a.txt")));
    // Each value is one quoted text, so its commas stay inside it.
    const std::string text = testsupport::ReadFileBytes(dir.file("a.txt"));
    EXPECT_NE(text.find("Dim = \"" + dims[0]->ToString() + "\""), std::string::npos) << text;
    ExpectSameDims(LoadDimArray(dir.file("a.txt")), dims);
    ExpectSameDims(LoadDimList(dir.file("a.txt")), dims);

    ASSERT_TRUE(SaveDimArray({}, dir.file("empty.txt")));
    EXPECT_TRUE(LoadDimArray(dir.file("empty.txt")).empty());

    // A list with a hole saves its values only.
    ASSERT_TRUE(SaveDimList({dims[0], nullptr, dims[2]}, dir.file("list.txt")));
    ExpectSameDims(LoadDimArray(dir.file("list.txt")), {dims[0], dims[2]});
}

TEST(ValuePersistence, ReadersTakeEveryTopLevelEntryWhateverItsName) {
    TempDir dir;
    WriteFileBytes(dir.file("walk.txt"),
                   "P1 = \"10,20,0,0\"\n"
                   "Inner{\n\tDim = \"99,99\"\n}\n"
                   "anything = \"1,,3\"\n"
                   "NoValue = \n");
    const auto dims = LoadDimArray(dir.file("walk.txt"));
    ASSERT_EQ(dims.size(), 3u);
    EXPECT_EQ(dims[0]->x, 10);
    EXPECT_EQ(dims[0]->y, 20);
    EXPECT_EQ(dims[1]->y, 0);
    EXPECT_EQ(dims[1]->w, 3);
    EXPECT_EQ(dims[2]->ToString(), TDim().ToString());

    WriteFileBytes(dir.file("rgbs.txt"), "C1 = \"255,0,0\"\nc2 = \"0,128,255,0.5,0.25\"\n");
    const auto colours = LoadRGBArray(dir.file("rgbs.txt"));
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0]->ToString(), "255,0,0,1.00000000,1.00000000");
    EXPECT_EQ(colours[1]->ToString(), "0,128,255,0.500000000,0.250000000");
}

TEST(ValuePersistence, MissingFileIsReportedAndGivesNothing) {
    TempDir dir;
    struct Case {
        const char* code;
        size_t (*load)(const std::string&);
    };
    const Case cases[] = {
        {"LoadDimArray", [](const std::string& p) { return LoadDimArray(p).size(); }},
        {"LoadRGBArray", [](const std::string& p) { return LoadRGBArray(p).size(); }},
        {"LoadDimArray", [](const std::string& p) { return LoadDimList(p).size(); }},
    };
    int n = 0;
    for (const auto& c : cases) {
        // A file of its own each: a missing file is reported once.
        const std::string path = dir.file("none-" + std::to_string(n++) + ".txt");
        testing::internal::CaptureStdout();
        EXPECT_EQ(c.load(path), 0u);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  std::string("NO FILE ERROR ( File: ValuePersistence  Code: ") + c.code +
                      " ) No such file or directory! Url = " + path + "\n");
    }
}

TEST(ValuePersistence, MultipleArrays) {
    TempDir dir;
    const std::vector<TDimArray> arrays{{Key(1, 0, 0), Key(2, 2, 1)}, {}, {Key(3, 1, 5)}};
    ASSERT_TRUE(SaveMultipleDimArrays(arrays, dir.file("m.txt")));
    const auto back = LoadMultipleDimArrays(dir.file("m.txt"));
    ASSERT_EQ(back.size(), arrays.size());
    for (size_t i = 0; i < arrays.size(); ++i) ExpectSameDims(back[i], arrays[i]);

    // Block names ignore case; another name, or a top-level entry, is not an array.
    WriteFileBytes(dir.file("hand.txt"),
                   "dimarray{\n\tA = \"1,2\"\n\tB = \"3,4\"\n}\n"
                   "DimArrays{\n\tA = \"9,9\"\n}\n"
                   "Dim = \"7,7\"\n"
                   "DIMARRAY{\n}\n");
    const auto hand = LoadMultipleDimArrays(dir.file("hand.txt"));
    ASSERT_EQ(hand.size(), 2u);
    ASSERT_EQ(hand[0].size(), 2u);
    EXPECT_EQ(hand[0][1]->x, 3);
    EXPECT_EQ(hand[0][1]->y, 4);
    EXPECT_TRUE(hand[1].empty());
}

TEST(ValuePersistence, SimpleRectanglesReadIntegers) {
    TempDir dir;
    WriteFileBytes(dir.file("s.txt"), "R = 10, 20.9, 30\nQ = -4, $10, 5, 6, 7\n");
    const auto dims = LoadSimpleDimArray(dir.file("s.txt"));
    ASSERT_EQ(dims.size(), 2u);
    EXPECT_EQ(dims[0]->ToString(), CreateDim(10, 20, 30, 0)->ToString());
    EXPECT_EQ(dims[1]->ToString(), CreateDim(-4, 16, 5, 6)->ToString());
}

TEST(ValuePersistence, ListConversionAndSaveFailure) {
    const auto a = Key(1, 0, 0), b = Key(2, 0, 0);
    const auto arr = ConvertDimListToArray({a, nullptr, b});
    ASSERT_EQ(arr.size(), 3u);
    EXPECT_EQ(arr[0], a);
    EXPECT_EQ(arr[1], b);
    EXPECT_EQ(arr[2], nullptr);

    TempDir dir;
    WriteFileBytes(dir.file("plain"), "x");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveDimArray({a}, dir.file("plain") + "/under-a-file.txt"));
    EXPECT_FALSE(SaveMultipleDimArrays({{a}}, dir.file("plain") + "/under-a-file.txt"));
    testing::internal::GetCapturedStdout();
}
