#include "engine/data/BlockFile.h"

#include "platform/Strings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace {

// A compact picture of a tree: blocks as NAME{...}, entries as name=[code:value,...].
std::string Dump(const TBlockFilePtr& n) {
    std::string s;
    if (n->MyType == BF_BLOCK) {
        s += n->name + "{";
        for (size_t i = 0; i < n->SubFiles.size(); ++i) {
            if (i) s += ' ';
            s += Dump(n->SubFiles[i]);
        }
        s += "}";
    } else {
        s += n->name + "=[";
        for (size_t i = 0; i < n->Value.size(); ++i) {
            if (i) s += ',';
            s += std::to_string(n->typ[i]) + ":" + n->Value[i];
        }
        s += "]";
    }
    return s;
}

// Parses a text, returning the root's children as a dump and what was printed.
std::pair<std::string, std::string> Read(const std::string& text) {
    testing::internal::CaptureStdout();
    TBlockFilePtr root = ParseBlockFileText(text, "f");
    std::string out = testing::internal::GetCapturedStdout();
    std::string d;
    for (size_t i = 0; i < root->SubFiles.size(); ++i) {
        if (i) d += ' ';
        d += Dump(root->SubFiles[i]);
    }
    return {d, out};
}

// "" when both trees hold the same nodes, names (ignoring case), values and type codes.
std::string Difference(const TBlockFilePtr& a, const TBlockFilePtr& b) {
    if (a->MyType != b->MyType || !NamesEqual(a->name, b->name) || a->Value != b->Value || a->typ != b->typ)
        return Dump(a) + " <> " + Dump(b);
    if (a->SubFiles.size() != b->SubFiles.size()) return a->name + ": child count";
    for (size_t i = 0; i < a->SubFiles.size(); ++i)
        if (auto d = Difference(a->SubFiles[i], b->SubFiles[i]); !d.empty()) return d;
    return "";
}

uint32_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Writer

TEST(BlockFileWriter, WritesTheDocumentedExampleExactly) {
    auto data = CreateBlockFile("Data");
    AddStringToBlock(data, "Name", "Box", 0, 0);
    AddIntToBlock(data, "Size", 3, 0, 0);
    AddIntToBlock(data, "Size", 4, 1, 0);
    AddFloatToBlock(data, "Scale", 0.5f, 0, 0);
    AddBoolToBlock(data, "On", 1, 0, 0);
    auto sub = CreateBlockFile("Sub", data);
    AddIntToBlock(sub, "X", 1, 0, 0);
    EXPECT_EQ(data->ToString2(""),
              "Data{\n\tName = \"Box\"\n\tSize = 3, 4\n\tScale = 0.500000000\n\tOn = true\n"
              "\tSub{\n\t\tX = 1\n\t}\n}\n");
    EXPECT_EQ(sub->ToString2(">"), ">Sub{\n>\tX = 1\n>}\n");
}

TEST(BlockFileWriter, NormalisesValuesByTypeCode) {
    struct Case {
        const char* stored;
        int type;
        const char* written;
    } cases[] = {
        {"007", BF_INT, "7"},
        {"1 2", BF_INT, "1"},
        {"-", BF_INT, "0"},
        {"-12", BF_INT, "-12"},
        {"1.5", BF_REAL, "1.50000000"},
        {"100", BF_REAL, "100.000000"},
        {"0.1", BF_REAL, "0.100000001"},
        {"-2", BF_REAL, "-2.00000000"},
        {"10000000000", BF_REAL, "1.00000000e+10"},
        {"1.2.3", BF_REAL, "1.20000005"},
        {"123456789", BF_REAL, "123456792."},
        {"0.0001", BF_REAL, "9.99999975e-05"},
        {"true", BF_BOOL, "true"},
        {"FALSE", BF_BOOL, "FALSE"},
        {"maybe so", BF_BOOL, "\"maybe so\""},
        {" padded ", BF_TEXT, "\" padded \""},
        {"x", 9, ""},
    };
    for (const auto& c : cases) {
        auto e = CreateNewStringEntry(nullptr, "V");
        e->AddEntry(c.stored, 0, c.type);
        EXPECT_EQ(e->ToString2(""), std::string("V = ") + c.written + "\n") << c.stored;
    }
}

TEST(BlockFileWriter, RealsAreWrittenWithNineSignificantDigits) {
    // The writer's own real formatting must agree with "%#.9g" for every kind of float.
    std::mt19937 rng(7);
    std::vector<float> values = {0.0f, -0.0f, 1.0f,         0.5f,          1e-5f,           1e-4f,  99999.99f,
                                 1e9f, 1e8f,  999999999.0f, 3.4028235e38f, 1.17549435e-38f, 1e-40f, -123.456f};
    for (int i = 0; i < 20000; ++i) {
        uint32_t u = rng();
        float f;
        std::memcpy(&f, &u, sizeof f);
        if (std::isfinite(f)) values.push_back(f);
    }
    for (float f : values) {
        auto b = CreateBlockFile("B");
        AddFloatToBlock(b, "R", f, 0, 0);
        ASSERT_EQ(GetBFString(b, "R", 0), FloatToString(f)) << Bits(f);
    }
}

TEST(BlockFileWriter, GapsEmptyEntriesAndOtherKinds) {
    auto x = CreateNewStringEntry(nullptr, "X");
    x->AddEntry("5", 3, BF_INT);
    ASSERT_EQ(x->GetSize(), 4);
    EXPECT_EQ(x->typ[1], BF_TEXT);
    EXPECT_EQ(x->ToString2(""), "X = \"\", \"\", \"\", 5\n");

    auto root = CreateBlockFile("R");
    auto b = CreateBlockFile("B", root);
    CreateNewStringEntry(b, "Empty");
    EXPECT_EQ(BlockFileToText(root), "B{\n}\n");

    auto odd = CreateBlockFile("Odd", b);
    odd->MyType = 7;
    AddIntToBlock(odd, "Hidden", 1, 0, 0);
    EXPECT_EQ(BlockFileToText(root), "B{\n}\n");
}

// ---------------------------------------------------------------------------------------------
// Reader

TEST(BlockFileReader, GrammarAndErrorLines) {
    struct Case {
        const char* text;
        const char* tree;
        const char* printed;
    } cases[] = {
        {"Data{\n\tName = \"Box\"\n\tSize = 3, 4\n}\n", "DATA{name=[0:Box] size=[1:3,1:4]}", ""},
        {"X {A = 1}\n", "X{a=[1:1]}", ""},
        {"X\t{ A=1 }", "X{a=[1:1]}", ""},
        {"A = 1, 2; B = 3\n", "a=[1:1,1:2] b=[1:3]", ""},
        {"A = 1 2\nB = 3\n", "a=[1:1] b=[1:3]", ""},
        {"A = , 5\n", "a=[]", "ERROR (Line 1 Char 5): Coma (',') before data entry!!\n"},
        {"A = B = C\n", "a=[0:B]", "ERROR (Line 1 Char 7): Character '=' found again in the same entry!\n"},
        {"A == 5\n", "a=[]", "ERROR (Line 1 Char 3): No '=' character!\n"},
        {"x\n\tÄ = , 1\n", "ä=[]", "ERROR (Line 2 Char 6): Coma (',') before data entry!!\n"},
        {"A = 0.5, -3, .\nB = TRUE, +5, 1e5, abc, 1.00000000e+10\n",
         "a=[2:0.5,1:-3,2:.] b=[3:TRUE,0:+5,0:1e5,0:abc,2:1.00000000e+10]", ""},
        {"A = \"x, y\"\n", "a=[0:x, y]", ""},
        {"A = \"\", 5\n", "a=[0:,1:5]", ""},
        {"X{A = }\nB = 1\n}\nC = 2\n", "X{a=[0:}] b=[1:1]} c=[1:2]", ""},
        {"A = 1\n}\nB = 2\n", "a=[1:1]", ""},
        {"X{Y{A = 1\n", "X{Y{a=[1:1]}}", ""},
        {"X\n{\nA = 1\n}\n", "\n{a=[1:1]}", ""},
        {"lone words ; , \\ \n", "", ""},
        {"A", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        auto [tree, printed] = Read(c.text);
        EXPECT_EQ(tree, c.tree) << c.text;
        EXPECT_EQ(printed, c.printed) << c.text;
    }
}

TEST(BlockFileReader, ReadsFilesAsAPersonWouldExpect) {
    struct Case {
        const char* text;
        const char* tree;
        const char* printed;
    } cases[] = {
        // The last value of a file without a final line feed is kept.
        {"A = 5", "a=[1:5]", ""},
        {"A = \"open", "a=[0:open]", ""},
        // Carriage returns of CR LF files never stay in a value.
        {"Type = BASIC_EMITTER\r\nN = \"q\"\r\n", "type=[0:BASIC_EMITTER] n=[0:q]", ""},
        {"X{\r\n\tA = 1\r\n}\r\n", "X{a=[1:1]}", ""},
        // A leading blank line changes nothing, and lines are counted from the file's first.
        {"\nData{\nA = 1\n}\n", "DATA{a=[1:1]}", ""},
        {"\nA == 1\n", "a=[]", "ERROR (Line 2 Char 3): No '=' character!\n"},
        // A quoted text is text: its form survives and marks inside it are plain characters.
        {"A = \"007\", \"1 2\", \"TRUE\", \"5\"\n", "a=[0:007,0:1 2,0:TRUE,0:5]", ""},
        {"A = \"{\", \"}\", \"=\", \";\"\nB = 1\n", "a=[0:{,0:},0:=,0:;] b=[1:1]", ""},
        // Empty and blank texts are values like any other.
        {"A = 5, \"\", \"  \"\n", "a=[1:5,0:,0:  ]", ""},
        // A backslash before the opening quote marks a text with escapes.
        {"A = \\\"say \\\"hi\\\"\\nnow\\r\\\\\", 2\n", "a=[0:say \"hi\"\nnow\r\\,1:2]", ""},
        {"P = \"C:\\new\\dir\"\n", "p=[0:C:\\new\\dir]", ""},
    };
    for (const auto& c : cases) {
        auto [tree, printed] = Read(c.text);
        EXPECT_EQ(tree, c.tree) << c.text;
        EXPECT_EQ(printed, c.printed) << c.text;
    }
}

TEST(BlockFileReader, TokensCarryLineColumnAndKind) {
    TTokenQueue q = TokenCreator::CreateTokens("Ab{\n k = \"v w\"\n}");
    std::vector<std::string> got;
    for (const auto& t : q.items) got.push_back(t.ToString());
    std::vector<std::string> want = {
        "<LINE 1 CHAR 1 TYPE = 2 > Ab",  "<LINE 1 CHAR 3 TYPE = 3 > {",   "<LINE 1 CHAR 4 TYPE = 5 > \n",
        "<LINE 2 CHAR 2 TYPE = 1 > k",   "<LINE 2 CHAR 4 TYPE = 6 > =",   "<LINE 2 CHAR 6 TYPE = 7 > \"",
        "<LINE 2 CHAR 7 TYPE = 0 > v w", "<LINE 2 CHAR 10 TYPE = 7 > \"", "<LINE 2 CHAR 11 TYPE = 5 > \n",
        "<LINE 3 CHAR 1 TYPE = 4 > }",
    };
    EXPECT_EQ(got, want);
}

TEST(BlockFileReader, ParserPiecesShareOneTokenQueue) {
    // A nested block consumes its tokens up to its own "}"; the caller goes on after it.
    TTokenQueue q = TokenCreator::CreateTokens("X{A = 1\n\tY{\n\t}\n}\nB = 2, 3\n");
    TBlockParser parser;
    ASSERT_EQ(q.items[q.head++].T, "X");
    parser.AddBlock("X", q);
    ASSERT_EQ(q.items[q.head++].T, "\n");
    ASSERT_EQ(q.items[q.head++].T, "B");
    parser.AddEntry("B", q);
    std::string d;
    for (const auto& c : parser.BlockFile->SubFiles) d += Dump(c) + " ";
    EXPECT_EQ(d, "X{a=[1:1] Y{}} b=[1:2,1:3] ");
    EXPECT_TRUE(q.empty());
}

TEST(BlockFileReader, ValueTyping) {
    struct Case {
        const char* text;
        int type;
    } cases[] = {{"-5", BF_INT},     {"12", BF_INT},   {"-", BF_INT},      {"1 2", BF_INT},
                 {"0.5", BF_REAL},   {".", BF_REAL},   {"1.2.3", BF_REAL}, {" true ", BF_BOOL},
                 {"False", BF_BOOL}, {"", BF_TEXT},    {"  ", BF_TEXT},    {"+5", BF_TEXT},
                 {"1e5", BF_TEXT},   {"abc", BF_TEXT}, {"5-", BF_TEXT},    {"1.00000000e+10", BF_TEXT}};
    for (const auto& c : cases) EXPECT_EQ(GetEntryType(c.text), c.type) << "'" << c.text << "'";
}

TEST(BlockFileReader, DirectReadingMatchesTheTokenPath) {
    // The reader takes well-formed lines straight into the tree; whatever the text, the result
    // and the printed errors must equal those of the plain token path.
    const std::vector<std::string> pieces = {
        "Name = 1, \"a b\"\n",
        "Blk{\n",
        "}\n",
        "\n",
        "  x = y\r\n",
        "\tR = 0.5, -2, true\n",
        "Q = \"\", 3\n",
        "A",
        "b2",
        " ",
        "\t",
        "=",
        ",",
        "{",
        "}",
        ";",
        "\"",
        "\\\"",
        "\\",
        "\n",
        "\r\n",
        "\r",
        "5",
        "-1.5",
        "\"q r\"",
        "é",
        "1.00000000e+10",
        "\x01",
        "E = \\\"e\\n\"\n",
    };
    std::mt19937 rng(42);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int count = round == 0 ? 12000 : static_cast<int>(rng() % 40);
        for (int i = 0; i < count; ++i) text += pieces[rng() % pieces.size()];

        testing::internal::CaptureStdout();
        TBlockFilePtr direct = ParseBlockFileText(text, "f");
        std::string directOut = testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
        TTokenQueue tokens = TokenCreator::CreateTokens(text);
        TBlockParser parser;
        TBlockFilePtr viaTokens = parser.Parse("f", tokens);
        std::string tokensOut = testing::internal::GetCapturedStdout();

        ASSERT_EQ(Dump(direct), Dump(viaTokens)) << "text: " << text;
        ASSERT_EQ(directOut, tokensOut) << "text: " << text;
    }
}

TEST(BlockFileReader, DeepNestingIsReportedNotFatal) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "X{";
    text += "A = 1\n";
    testing::internal::CaptureStdout();
    TBlockFilePtr root = ParseBlockFileText(text, "deep");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Blocks nested too deeply!"), std::string::npos);
    int depth = 0;
    for (TBlockFilePtr n = root; !n->SubFiles.empty(); n = n->SubFiles[0]) ++depth;
    EXPECT_GT(depth, 100);

    // A tree built in code may be deeper still: releasing it must not exhaust the stack.
    auto top = CreateBlockFile("top");
    auto n = top;
    for (int i = 0; i < 300000; ++i) n = CreateBlockFile("X", n);
    n.reset();
    top.reset();
}

// What a text becomes is bounded in blocks and entries and in values, whatever its lines: a text
// beyond is refused whole with one line, and reads as empty and not whole.
TEST(BlockFileReader, ATextHoldingMoreThanAFileMayBecomeIsRefusedWhole) {
    auto repeat = [](const std::string& piece, size_t n) {
        std::string text;
        text.reserve(piece.size() * n);
        for (size_t i = 0; i < n; ++i) text += piece;
        return text;
    };
    const std::string values = repeat("1,", kMaxBlockFileValues - 1) + "1";
    const struct {
        const char* name;
        std::string text;
        size_t nodes;  // what is read; 0: refused
    } cases[] = {
        {"entries, one a line, up to the budget", repeat("a=1\n", kMaxBlockFileNodes), kMaxBlockFileNodes},
        {"one entry more", repeat("a=1\n", kMaxBlockFileNodes + 1), 0},
        {"entries on one line", repeat("a=1;", kMaxBlockFileNodes + 1), 0},
        {"blocks", repeat("B{}", kMaxBlockFileNodes + 1), 0},
        {"values up to the budget", "a=" + values + "\n", 1},
        {"one value more, on a line of its own", "a=" + values + ",1\n", 0},
        {"one value more, in a quoted text", "a=" + values + ",\"x\"\n", 0},
        {"values over entries", repeat("a=1,1\n", kMaxBlockFileValues / 2) + "b=1\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        bool whole = true;
        const TBlockFilePtr root = ParseBlockFileTextChecked(c.text, "Awards.txt", whole);
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(root->SubFiles.size(), c.nodes);
        EXPECT_EQ(whole, c.nodes > 0);
        if (c.nodes > 0) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find("The block file Awards.txt holds more than 131072 blocks and entries or 262144 values; "
                                "it is not read!"),
                      std::string::npos)
                << said.substr(0, 300);
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said.substr(0, 300);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Round trip through a file

TEST(BlockFileRoundTrip, WhatIsWrittenReadsBackIdentically) {
    testsupport::TempDir dir;
    const std::vector<std::string> texts = {
        "plain",
        "",
        "  ",
        " padded ",
        "007",
        "1 2",
        "-",
        "1.5",
        "true",
        "say \"hi\"",
        "two\nlines",
        "crlf\r\nend",
        "back\\slash \\\" mix",
        "tab\there",
        "{ } = ; , \\",
        "café",
        "Łódź ✓ 😀",
    };
    const std::vector<float> reals = {0.0f, -0.0f, 0.1f, 1e10f, -3.4028235e38f, 1e-40f, 1e-5f, 123456789.0f};
    const std::vector<int32_t> ints = {0, -1, 2147483647, -2147483647 - 1};

    for (bool wide : {false, true}) {
        auto root = CreateBlockFile(dir.file(wide ? "wide.dat" : "narrow.dat"));
        auto b = CreateBlockFile("Objects", root);
        auto o = CreateBlockFile("Object", b);
        for (size_t i = 0; i < texts.size(); ++i)
            if (wide || texts[i].find("Ł") == std::string::npos) AddStringToBlock(o, "Texts", texts[i], int(i), 0);
        for (size_t i = 0; i < reals.size(); ++i) AddFloatToBlock(o, "Reals", reals[i], int(i), 0);
        for (size_t i = 0; i < ints.size(); ++i) AddIntToBlock(o, "Ints", ints[i], int(i), 0);
        AddBoolToBlock(o, "Flags", 1, 0, 0);
        AddBoolToBlock(o, "Flags", 0, 1, 0);
        CreateBlockFile("Empty", b);
        AddStringToBlock(root, "Top", "last", 0, 0);
        ASSERT_TRUE(SaveBlockFile(root));

        std::string bytes = testsupport::ReadFileBytes(root->name);
        EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0) == 0, wide);
        if (!wide) {
            EXPECT_NE(bytes.find("caf\xE9"), std::string::npos);  // Latin-1
        }

        std::string path = root->name;
        testing::internal::CaptureStdout();
        auto back = LoadBlockFile(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(back->name, path);
        back->name = root->name = "";
        EXPECT_EQ(Difference(back, root), "");
        EXPECT_EQ(BlockFileToText(ParseBlockFileText(BlockFileToText(back), "")), BlockFileToText(back));

        auto ob = GetBlockFile(back, "objects::object");
        auto texts2 = GetBlockFile(ob, "Texts");
        ASSERT_EQ(texts2->Value, GetBlockFile(o, "Texts")->Value);
        for (size_t i = 0; i < reals.size(); ++i)
            EXPECT_EQ(Bits(GetBFNumber(ob, "Reals", int(i))), Bits(reals[i])) << reals[i];
        for (size_t i = 0; i < ints.size(); ++i) EXPECT_EQ(GetBFInt(ob, "Ints", int(i)), ints[i]);
        EXPECT_EQ(GetBFBool(ob, "Flags", 0), 1);
        EXPECT_EQ(GetBFBool(ob, "Flags", 1), 0);
        EXPECT_EQ(GetBlockFilesList(GetBlockFile(back, "Objects"), "EMPTY").size(), 1u);
        EXPECT_EQ(GetBFString(back, "Top"), "last");
    }
}

TEST(BlockFileRoundTrip, LatinOneAndUtf8FilesAreDecoded) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("l.dat"), "A = \"caf\xE9\"\n");
    testsupport::WriteFileBytes(dir.file("u.dat"),
                                "\xEF\xBB\xBF"
                                "A = \"\xC5\x81\xC3\xB3\x64\xC5\xBA\"\n");
    EXPECT_EQ(GetBFString(LoadBlockFile(dir.file("l.dat")), "A"), "café");
    EXPECT_EQ(GetBFString(LoadBlockFile(dir.file("u.dat")), "A"), "Łódź");
}

TEST(BlockFileFiles, FailuresAreReportedAndNeverFatal) {
    testsupport::TempDir dir;
    testing::internal::CaptureStdout();
    auto missing = LoadBlockFile(dir.file("none.dat"));
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->SubFiles.empty());
    EXPECT_NE(out.find("NO FILE ERROR"), std::string::npos);
    EXPECT_NE(out.find("none.dat"), std::string::npos);

    auto root = CreateBlockFile(dir.file("no/such/folder/x.dat"));
    CreateBlockFile("B", root);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveBlockFile(root));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);

    auto empty = CreateBlockFile(dir.file("empty.dat"));
    EXPECT_TRUE(SaveBlockFile(empty));
    EXPECT_EQ(testsupport::ReadFileBytes(empty->name), "");
}

TEST(BlockFileFiles, CheckedLoadTellsWholeFilesFromDamagedOnes) {
    testsupport::TempDir dir;
    struct Case {
        const char* text;
        bool whole;
    };
    const Case cases[] = {
        {"Data{\n\tName = \"Ann\"\n}\nLevels{\n\ti = 0\n}\n", true},
        {"", true},                                         // empty, but nothing wrong with it
        {"Data{\n\tName = \"Ann\"\n\tLevel = 5\n", false},  // cut short inside a block
        {"Data{\n\tName = \"An", false},                    // cut inside a quoted text
        {"Data{\n}\n}\nLevels{\n}\n", false},               // a "}" that closes nothing
        {"Data{\n\tName \"Ann\"\n}\n", false},              // an entry without "="
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testsupport::WriteFileBytes(dir.file("f.dat"), c.text);
        bool whole = !c.whole;
        testing::internal::CaptureStdout();
        auto root = LoadBlockFileChecked(dir.file("f.dat"), whole);
        testing::internal::GetCapturedStdout();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(whole, c.whole);
    }
    bool whole = true;
    testing::internal::CaptureStdout();
    LoadBlockFileChecked(dir.file("none.dat"), whole);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(whole);
}

// ---------------------------------------------------------------------------------------------
// Paths and lookups

TEST(BlockFilePaths, CutBFPath) {
    struct Case {
        const char* path;
        std::vector<std::string> parts;
    } cases[] = {
        {"Settings::CurrProfile", {"Settings", "CurrProfile"}},
        {"GFX::gfxs", {"GFX", "gfxs"}},
        {"A::B::C", {"A", "B::C"}},
        {"A:b:c", {"Abc", ""}},
        {"A:::B", {"A", ":B"}},
        {"::X", {":", "X"}},
        {"X", {"X"}},
        {"", {""}},
        {"é", {"é"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutBFPath(c.path), c.parts) << c.path;
        EXPECT_EQ(CutBFPathFirst(c.path), c.parts[0]);
        EXPECT_EQ(CutBFPathRest(c.path), c.parts.size() > 1 ? c.parts[1] : "");
    }
}

TEST(BlockFilePaths, LookupsIgnoreCaseAndNeverFail) {
    auto root = ParseBlockFileText(
        "Settings{\n\tCurrProfile = \"Ann\", 3\n\tOn = TRUE, \" true \", True, false, 1, 2, \"\", abc, 12abc, 1.5e2\n"
        "\tÉcran{\n\t\tW = 800\n\t}\n}\n",
        "f");
    EXPECT_EQ(GetBFString(root, "settings :: currprofile"), "Ann");
    EXPECT_EQ(GetBFInt(root, "SETTINGS::CURRPROFILE", 1), 3);
    EXPECT_EQ(GetBFInt(root, "Settings::écran::w"), 800);
    EXPECT_EQ(GetBFNumber(root, "Settings::On", 9), 150.0f);
    EXPECT_EQ(GetBFInt(root, "Settings::On", 7), 0);
    EXPECT_EQ(GetBFInt(root, "Settings::On", 8), 12);
    const int bools[] = {1, 1, 1, 0, 1, 2, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(GetBFBool(root, "Settings::On", i), bools[i]) << i;

    // Missing steps, entries and indices give defaults.
    for (TBlockFilePtr b : {root, TBlockFilePtr()}) {
        EXPECT_EQ(GetBFString(b, "A::B::Name"), "");
        EXPECT_EQ(GetBFInt(b, "A::B::Name"), 0);
        EXPECT_EQ(GetBFNumber(b, "A::B::Name"), 0.0f);
        EXPECT_EQ(GetBfFloat(b, "A::B::Name"), 0.0f);
        EXPECT_EQ(GetBFBool(b, "A::B::Name"), 0);
        EXPECT_EQ(GetBlockFileNO_NEW(b, "A::B"), nullptr);
        EXPECT_EQ(GetBlockEntryNO_NEW(b, "A::B"), nullptr);
        auto detached = GetBlockFile(b, "A::B");
        ASSERT_NE(detached, nullptr);
        EXPECT_TRUE(detached->SubFiles.empty() && detached->Value.empty());
    }
    EXPECT_EQ(GetBFString(root, "Settings::CurrProfile", 2), "");
    EXPECT_EQ(GetBFString(root, "Settings::CurrProfile", -1), "");

    // Values stored in a detached node appear nowhere.
    auto text = BlockFileToText(root);
    AddIntToBlock(GetBlockFile(root, "Missing"), "X", 1, 0, 0);
    EXPECT_EQ(BlockFileToText(root), text);

    auto settings = GetBlockFile(root, "Settings");
    EXPECT_EQ(isBFEntry(root, "Settings"), 1);
    EXPECT_EQ(isBFEntry(root, "Settings::Ecran"), 0);
    EXPECT_EQ(isBFBlock(settings, "currprofile"), 1);
    EXPECT_EQ(settings->isBlock("CURRPROFILE "), nullptr);  // names are not trimmed
    EXPECT_EQ(settings->isBlock("écran"), settings->isBlock("ÉCRAN"));
    EXPECT_NE(settings->isBlock("écran"), nullptr);
}

TEST(BlockFilePaths, ListsOfChildren) {
    auto root = ParseBlockFileText("Font{\n}\nFONT = 1\nfont{\n}\nOther{\n}\nX = 2\n", "f");
    EXPECT_EQ(GetBlockFilesList(root, "font").size(), 2u);
    EXPECT_EQ(GetBlockFilesOnly(root).size(), 3u);
    EXPECT_EQ(GetBlockFileEntrysList(root, "").size(), 2u);
    auto fonts = GetBlockFileEntrysList(root, "Font");
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->GetInt(0), 1);
    EXPECT_TRUE(GetBlockFilesList(nullptr, "x").empty());
}

// ---------------------------------------------------------------------------------------------
// Typed adds

TEST(BlockFileAdds, FillGapsReplaceAndTurnBlocksIntoEntries) {
    auto b = CreateBlockFile("B");
    AddIntToBlock(b, "Size", 7, 1, 0);
    auto size = GetBlockFile(b, "Size");
    EXPECT_EQ(size->Value, (std::vector<std::string>{"", "7"}));
    EXPECT_EQ(size->typ, (std::vector<int32_t>{BF_TEXT, BF_INT}));
    AddIntToBlock(b, "size", 3, 0, 0);
    EXPECT_EQ(size->Value, (std::vector<std::string>{"3", "7"}));
    EXPECT_EQ(size->typ, (std::vector<int32_t>{BF_INT, BF_INT}));

    AddFloatToBlock(b, "F", 1.5f, 0, 0);
    AddFloatToBlock(b, "F", 0.25f, 1, 0);
    EXPECT_EQ(GetBlockFile(b, "F")->Value, (std::vector<std::string>{"1.50000000", "0.250000000"}));

    AddStringToBlock(b, "N", "a", 0, 0);
    AddStringToBlock(b, "N", "b", 0, 1);
    EXPECT_EQ(GetBlockFileEntrysList(b, "N").size(), 2u);

    auto child = CreateBlockFile("Child", b);
    CreateBlockFile("Inner", child);
    AddStringToBlock(b, "child", "now an entry", 0, 0);
    EXPECT_EQ(child->MyType, BF_ENTRY);
    EXPECT_EQ(child->ToString2(""), "Child = \"now an entry\"\n");

    AddBoolToBlock(b, "On", 5, 0, 0);
    EXPECT_EQ(GetBFString(b, "On"), "true");
    AddIntToBlock(nullptr, "X", 1, 0, 0);  // nothing to add to: no effect, no crash
}
