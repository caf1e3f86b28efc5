#include "engine/data/DataContainer.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <typeinfo>

TEST(DataContainer, ValuesAreTypedByTheirText) {
    struct Case {
        const char* text;
        char kind;  // i, f or s
        float value;
    } cases[] = {
        {"1024", 'i', 1024}, {"-3", 'i', -3},     {"-", 'i', 0},   {"TRUE", 'i', 1}, {"false", 'i', 0},
        {"0.5", 'f', 0.5f},  {"-.5", 'f', -0.5f}, {"7.", 'f', 7},  {".", 'f', 0},    {"1e5", 's', 0},
        {"+5", 's', 0},      {"1.2.3", 's', 0},   {"abc", 's', 0}, {"0.5f", 's', 0},
    };
    for (const auto& c : cases) {
        auto p = std::make_shared<TIniParam>();
        p->id = "K";
        p->data = c.text;
        TDataFieldPtr f = ConvertIniParamToDataField(p);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Name, "K");
        if (c.kind == 'i') {
            auto* i = dynamic_cast<TDataFieldInt*>(f.get());
            ASSERT_NE(i, nullptr) << c.text;
            EXPECT_EQ(i->data, static_cast<int>(c.value)) << c.text;
        } else if (c.kind == 'f') {
            auto* x = dynamic_cast<TDataFieldFloat*>(f.get());
            ASSERT_NE(x, nullptr) << c.text;
            EXPECT_EQ(x->data, c.value) << c.text;
        } else {
            auto* s = dynamic_cast<TDataFieldString*>(f.get());
            ASSERT_NE(s, nullptr) << c.text;
            EXPECT_EQ(s->data, c.text);
        }
    }
    EXPECT_EQ(ConvertIniParamToDataField(nullptr), nullptr);
}

TEST(DataContainer, LoadedSettingsReadAsNumbersOfEitherKind) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("s.ini"),
                                "[VOLUME]\r\nSoundVolume = 0.5\r\nMusicVolume = 1\r\n\r\n[Other]\r\n"
                                "Fullscreen = TRUE\r\nLang = en\r\n");
    auto list = LoadDataContainersFromIniFile(dir.file("s.ini"));
    ASSERT_EQ(list.size(), 2u);
    auto& vol = *list[0];
    EXPECT_EQ(vol.Name, "VOLUME");
    EXPECT_EQ(vol.GetFieldFloat("soundvolume"), 0.5f);
    EXPECT_EQ(vol.GetFieldFloat("musicvolume"), 1.0f);  // a whole number read as a float
    EXPECT_EQ(vol.GetFieldInt("MusicVolume"), 1);
    EXPECT_EQ(vol.GetFieldInt("SoundVolume"), 0);  // truncated toward zero
    auto& other = *list[1];
    EXPECT_EQ(other.Name, "Other");
    EXPECT_EQ(other.GetFieldInt("fullscreen"), 1);
    EXPECT_EQ(other.GetFieldString("lang"), "EN");
    EXPECT_EQ(other.GetFieldString("fullscreen"), "1");
    EXPECT_EQ(other.GetFieldInt("lang"), 0);
    EXPECT_EQ(vol.ToString(),
              "CONTAINER: VOLUME\n" + std::string(53, '=') + "\nSOUNDVOLUME = 0.500000000\nMUSICVOLUME = 1\n");

    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadDataContainersFromIniFile(dir.file("missing.ini")).empty());
    testing::internal::GetCapturedStdout();
}

TEST(DataContainer, FieldsByName) {
    auto c = CreateDataContainer("X");
    EXPECT_EQ(c->ToString(), "CONTAINER: X\n" + std::string(53, '=') + "\n");
    AddDataField(c, CreateDataInt("a", 1));
    c->AddField(CreateDataInt("A", 2));
    c->AddDataField(CreateDataString("windowWidth", "w"));
    c->AddDataField(CreateDataFloat("ßeta", 2.5f));
    EXPECT_EQ(c->Fields[2]->Name, "WindowWidth");
    EXPECT_EQ(c->GetField("A"), c->Fields[0]);
    EXPECT_EQ(c->GetField("a"), c->Fields[0]);
    EXPECT_EQ(c->GetFieldFloat("ßETA"), 2.5f);

    testing::internal::CaptureStdout();
    EXPECT_EQ(c->GetFieldInt("nothing"), 0);
    EXPECT_EQ(c->GetFieldString("nothing"), "");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "ERROR ( File: DataContainer  Code: TDataContainer::GetField ) No Data Field 'nothing' found!\n"
              "ERROR ( File: DataContainer  Code: TDataContainer::GetField ) No Data Field 'nothing' found!\n");
}
