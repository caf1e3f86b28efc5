// Text classes: the block form read and written, generic parameters, copies, and the registry.
#include <gtest/gtest.h>

#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/BlockFile.h"
#include "engine/media/AppFont.h"
#include "engine/media/TextClass.h"
#include "platform/Files.h"
#include "support/ClockedTest.h"
#include "support/TestSupport.h"

namespace {

using testsupport::CollectError;
using testsupport::ErrorLines;

class TextClassTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedBDir = bDir;
        bDir = dir.path() + "/";
        AppClassManager::Reset();
        AppFontManager::Reset();
        ErrorLines().clear();
        WatchErrorReports(CollectError);
        testsupport::WriteFileBytes(
            dir.file("Font.ttf"), testsupport::ReadFileBytes(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf"));
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        AppClassManager::Reset();
        AppFontManager::Reset();
        bDir = savedBDir;
    }
    // A text class read from a "Class" block written as text.
    static TTextClassPtr ReadClass(const std::string& body) {
        auto root = ParseBlockFileText("Class{\n" + body + "}\n", "root");
        auto block = GetBlockFilesList(root, "CLASS").at(0);
        auto cls = std::make_shared<TTextClass>();
        cls->LoadFromBlock(block);
        cls->Load(block);
        return cls;
    }
    testsupport::TempDir dir;
    std::string savedBDir;
};

TEST_F(TextClassTest, BlockRoundTripKeepsEveryField) {
    auto cls = std::make_shared<TTextClass>();
    cls->id = "Price Tag";
    cls->Rgb = CreateRGB(12, 34, 56, 0.75f);
    cls->OutLIne = CreateRGB(200, 100, 50, 0.5f);
    cls->Shadow = CreateDim(0.25f, 2.5f, 3, 0);
    cls->HAlign = 2;
    cls->VAlign = 1;
    cls->VSpace = 2.75f;  // the fraction survives saving
    cls->cFontUrl = "#BDIR#Font.ttf";
    cls->cFontSize = 21;

    auto root = CreateBlockFile(dir.file("Classes.dat"));
    cls->Save(root);
    ASSERT_TRUE(SaveBlockFile(root));
    AppClassManager::LoadClasses(dir.file("Classes.dat"));
    auto back = AppClassManager::GetTextClass("price tag", 0);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, "Price Tag");
    EXPECT_EQ(back->Rgb->ToString(), cls->Rgb->ToString());
    ASSERT_TRUE(back->OutLIne);
    EXPECT_EQ(back->OutLIne->ToString(), cls->OutLIne->ToString());
    ASSERT_TRUE(back->Shadow);
    EXPECT_EQ(back->Shadow->ToString(), cls->Shadow->ToString());
    EXPECT_EQ(back->HAlign, 2);
    EXPECT_EQ(back->VAlign, 1);
    EXPECT_FLOAT_EQ(back->VSpace, 2.75f);
    EXPECT_EQ(back->cFontUrl, "#BDIR#Font.ttf");
    EXPECT_EQ(back->cFontSize, 21);
    ASSERT_TRUE(back->Font);
    EXPECT_EQ(back->Font, GetAppFont(bDir + "Font.ttf", 21));  // shared with the font manager
    EXPECT_EQ(back->ToString(), " Is Font\n Is Outline\n Is RGB\n Is Shadow\n");
    // Every entry also stands as a generic parameter.
    EXPECT_EQ(back->GetParamString("type", 0), "TTEXTCLASS");
    EXPECT_EQ(back->GetParamInt("Font", 1), 21);
    EXPECT_TRUE(ErrorLines().empty());
}

TEST_F(TextClassTest, MissingAndPartialKeysKeepTheDefaults) {
    struct Case {
        std::string body;
        int r, g, b;
        float a;
        bool outline, shadow;
        std::string fontUrl;
        int fontSize;
        bool font;
        int halign;
    } cases[] = {
        {"id = \"A\"\n", 255, 255, 255, 1.0f, false, false, "", 0, false, 0},
        {"rgb = \"\"\nOutline = \"\"\nshadow = \"\"\n", 255, 255, 255, 1.0f, false, false, "", 0, false, 0},
        {"RGB = \"1,2,3\"\nOUTLINE = \"9\"\nHALIGN = 2.9\n", 1, 2, 3, 1.0f, true, false, "", 0, false, 2},
        {"Font = \"#BDIR#Font.ttf\"\n", 255, 255, 255, 1.0f, false, false, "#BDIR#Font.ttf", 0, false, 0},
        {"Font = \"\", 12\n", 255, 255, 255, 1.0f, false, false, "", 12, false, 0},
        {"font = \"[BDIR]Font.ttf\", 15\nShadow = \"0.5,1,2\"\n", 255, 255, 255, 1.0f, false, true, "[BDIR]Font.ttf",
         15, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        auto cls = ReadClass(c.body);
        ASSERT_TRUE(cls->Rgb);
        EXPECT_EQ(cls->Rgb->r, c.r);
        EXPECT_EQ(cls->Rgb->g, c.g);
        EXPECT_EQ(cls->Rgb->b, c.b);
        EXPECT_FLOAT_EQ(cls->Rgb->a, c.a);
        EXPECT_EQ(bool(cls->OutLIne), c.outline);
        EXPECT_EQ(bool(cls->Shadow), c.shadow);
        EXPECT_EQ(cls->cFontUrl, c.fontUrl);
        EXPECT_EQ(cls->cFontSize, c.fontSize);
        EXPECT_EQ(bool(cls->Font), c.font);
        EXPECT_EQ(cls->HAlign, c.halign);
    }
}

TEST_F(TextClassTest, ParametersCopiesAndGenericClasses) {
    auto cls = ReadClass("id = \"Mixed\"\nRgb = 1, 2, \" 3 \", 4\nExtra = x\n");
    EXPECT_EQ(cls->id, "Mixed");  // the style keeps the id as written
    EXPECT_EQ(cls->GetParamString("rgb", 2), " 3 ");
    EXPECT_FLOAT_EQ(cls->GetParamFloat("RGB", 3), 4.0f);
    EXPECT_FLOAT_EQ(cls->GetParamFloat("RGB", 7), 0.0f);
    EXPECT_EQ(cls->GetParamInt("missing", 0), 0);
    EXPECT_EQ(cls->ParamExist("extra"), 1);

    cls->Font = GetAppFont(dir.file("Font.ttf"), 10);
    cls->Shadow = CreateDim(0.5f, 1, 1, 0);
    auto copy = cls->CopyTextClass();
    EXPECT_EQ(copy->id, "Mixed_copy");
    EXPECT_EQ(copy->Font, cls->Font);
    EXPECT_NE(copy->Shadow, cls->Shadow);
    EXPECT_EQ(copy->Shadow->ToString(), cls->Shadow->ToString());
    EXPECT_FALSE(copy->OutLIne);
    EXPECT_TRUE(copy->Params.empty());
    EXPECT_EQ(std::dynamic_pointer_cast<TTextClass>(cls->Copy())->id, "Mixed_copy");

    TClass generic;
    generic.LoadFromBlock(
        GetBlockFilesList(ParseBlockFileText("Class{\nid = \"gen\"\nSize = \" 7 \", 8\n}\n", "r"), "CLASS")[0]);
    EXPECT_EQ(generic.id, "GEN");
    EXPECT_EQ(generic.Copy()->id, "GEN_Copy");
    EXPECT_EQ(generic.Params[1]->ToString(), "SIZE =  7 , 8");
    auto out = CreateBlockFile("root");
    generic.Save(out);
    EXPECT_EQ(BlockFileToText(out), "CLASS{\n\tID = \"gen\"\n\tSIZE = \"7\", \"8\"\n}\n");

    EXPECT_EQ(TTextClass().ToString(), " Is RGB\n");
}

TEST_F(TextClassTest, RegistryLookupsAndFile) {
    const std::string url = dir.file("Classes.dat");
    testsupport::WriteFileBytes(url,
                                "Class{\n\tid = \"Credits 1\"\n\tTYPE = \"ttextclass\"\n\trgb = \"1,1,1,1.0,1.0\"\n}\n"
                                "Class{\n\tid = \"Credits 1\"\n\tTYPE = \"TTEXTCLASS\"\n\trgb = \"2,2,2,1.0,1.0\"\n}\n"
                                "Class{\n\tid = \"Image\"\n\tTYPE = \"TIMAGECLASS\"\n}\n"
                                "Class{\n\tid = \"Untyped\"\n}\n");
    AppClassManager::Init();
    AppClassManager::LoadClasses(url);
    EXPECT_TRUE(ErrorLines().empty());
    ASSERT_EQ(AppClassManager::Classes.size(), 2u);
    ASSERT_EQ(AppClassManager::TextClasses.size(), 3u);
    EXPECT_EQ(AppClassManager::GetTextClass("credits 1", 0)->Rgb->r, 1);  // the earlier wins
    EXPECT_EQ(AppClassManager::GetTextClass("DEF. TEXT CLASS", 0), TTextClass::DefaultClass);
    EXPECT_FALSE(AppClassManager::GetTextClass("Image", 0));
    EXPECT_FALSE(AppClassManager::GetClass("Def. Text Class"));  // the default is not in Classes

    auto copy = AppClassManager::GetTextClass("Credits 1", 0)->CopyTextClass();
    EXPECT_EQ(AppClassManager::isClass(copy), 0);
    AppClassManager::AddTextClass(copy);
    EXPECT_EQ(AppClassManager::isClass(copy), 1);
    EXPECT_EQ(AppClassManager::GetClass("credits 1_COPY"), copy);

    AppClassManager::Save();  // back to the file read, the default class left out
    AppClassManager::RemoveClass(TTextClass::DefaultClass);
    EXPECT_FALSE(AppClassManager::GetTextClass("Def. Text Class", 0));
    EXPECT_EQ(TTextClass::DefaultClass->id, "Def. Text Class");

    AppClassManager::Reset();
    AppClassManager::LoadClasses(url);
    EXPECT_EQ(AppClassManager::TextClasses.size(), 3u);
    EXPECT_EQ(AppClassManager::TextClasses[2]->id, "Credits 1_copy");
}

TEST_F(TextClassTest, StartUpReadsTheStandardFile) {
    // No file: only the default class. Save writes where start-up reads, without the default.
    AppInitClasses();
    ASSERT_EQ(AppClassManager::TextClasses.size(), 1u);
    ASSERT_TRUE(CreateDir(bDir + "App/Data"));
    AppClassManager::AddTextClass(ReadClass("id = \"Added\"\nTYPE = \"TTEXTCLASS\"\n"));
    AppClassManager::Save();
    EXPECT_EQ(AppClassManager::ClassListUrl, bDir + "App/Data/Classes.dat");

    AppClassManager::Reset();
    AppInitClasses();
    ASSERT_EQ(AppClassManager::TextClasses.size(), 2u);
    EXPECT_TRUE(AppClassManager::GetTextClass("added", 0));
}

}  // namespace
