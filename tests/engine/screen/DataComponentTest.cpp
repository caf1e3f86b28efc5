#include "engine/screen/DataComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/GameObject.h"

namespace {

TAppDataPtr MakeInt(const std::string& name, int32_t def, int32_t value, int32_t id) {
    auto d = std::make_shared<TAppDataInt>();
    d->name = name;
    d->DefaultValue = def;
    d->Value = value;
    d->id = id;
    return d;
}

TAppDataPtr MakeText(const std::string& name, const std::string& def, const std::string& value) {
    auto d = CreateAppDataComp_String(name, value);
    d->DefaultValue = def;
    return d;
}

// A "Component" block of a data component with these field texts.
TBlockFilePtr BlockWith(const std::string& fields, const std::vector<std::string>& forms) {
    auto block = CreateBlockFile("Component");
    AddIntToBlock(block, "Type", 2);
    AddStringToBlock(block, "Name", "Stats");
    AddStringToBlock(block, "Fields", fields);
    for (size_t i = 0; i < forms.size(); ++i) AddStringToBlock(block, "Field" + std::to_string(i + 1), forms[i]);
    return block;
}

std::shared_ptr<TAppDataComponent> Load(const TBlockFilePtr& block) {
    auto c = std::dynamic_pointer_cast<TAppDataComponent>(LoadAppComponent(nullptr, block, nullptr));
    EXPECT_TRUE(c);
    return c;
}

}  // namespace

TEST(DataComponent, TextFormsOfTheThreeKinds) {
    auto speed = CreateAppDataComp_Float("speed", 1.5f);
    struct Case {
        TAppDataPtr value;
        std::string form;
    };
    const std::vector<Case> cases = {
        {MakeInt("coins", 0, 12, 3), "I|coins|0|12|3"},
        {speed, "F|speed|0.00000000|1.50000000|0"},
        {CreateAppDataComp_String("title", "Hello"), "S|title|0|Hello|0"},
        {MakeText("path", "50%", "a%7Cb"), "S|path|50%|a%7Cb|0"},  // no "|": written as ever
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value->ToString(), c.form);
        EXPECT_EQ(CreateAppDataFromString(c.form)->ToString(), c.form);
    }
}

TEST(DataComponent, LoadReadsFormsByLetterAndSkipsTheRest) {
    auto c = Load(BlockWith("2.9", {"i|coins|0|12|3", "F|speed", "B|flag|1|1|0"}));
    EXPECT_EQ(c->name, "Stats");
    ASSERT_EQ(c->Data.size(), 2u);  // "2.9" counts two fields; the third is not read
    auto coins = std::dynamic_pointer_cast<TAppDataInt>(c->Data[0]);
    ASSERT_TRUE(coins);
    EXPECT_EQ(coins->name, "coins");
    EXPECT_EQ(coins->Value, 12);
    EXPECT_EQ(coins->id, 3);
    auto speed = std::dynamic_pointer_cast<TAppDataFloat>(c->Data[1]);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->name, "speed");
    EXPECT_EQ(speed->Value, 0.0f);

    auto d = Load(BlockWith("4", {"B|x|1|1|0", "", "S|t", "I|n|1|2|x9"}));
    ASSERT_EQ(d->Data.size(), 2u);
    auto t = std::dynamic_pointer_cast<TAppDataString>(d->Data[0]);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->DefaultValue, "0");
    EXPECT_EQ(t->Value, "");
    EXPECT_EQ(d->Data[1]->id, 0);

    // A damaged count does not make loading run for ever.
    auto e = Load(BlockWith("2000000000", {"I|a|0|1|0"}));
    EXPECT_EQ(e->Data.size(), 1u);
}

TEST(DataComponent, SaveLayoutAndRoundTrip) {
    auto obj = std::make_shared<TGameObject>();
    auto c = CreateAppDataComponent(obj.get());
    EXPECT_EQ(c->name, "Data Block");
    ASSERT_EQ(obj->Components.size(), 1u);
    c->AddData(MakeInt("coins", 0, 12, 3));
    c->AddData(MakeText("title", "none", "Hi"));

    auto block = CreateBlockFile("Component");
    c->Save(block);
    EXPECT_EQ(BlockFileToText(block),
              "Type = 2\nName = \"Data Block\"\nFields = 2\nField1 = \"I|coins|0|12|3\"\n"
              "Field2 = \"S|title|none|Hi|0\"\n");
    auto back = Load(ParseBlockFileText(BlockFileToText(block), "Component"));  // through the file text
    auto again = CreateBlockFile("Component");
    back->Save(again);
    EXPECT_EQ(BlockFileToText(again), BlockFileToText(block));

    auto empty = std::make_shared<TAppDataComponent>();
    auto emptyBlock = CreateBlockFile("Component");
    empty->Save(emptyBlock);
    EXPECT_EQ(GetBFInt(emptyBlock, "Fields"), 0);
    EXPECT_EQ(isBFEntry(emptyBlock, "Field1"), 0);
    EXPECT_TRUE(Load(emptyBlock)->Data.empty());
}

TEST(DataComponent, TextsHoldingBarsSurviveSaveAndLoad) {
    const std::vector<std::string> texts = {"a|b", "|", "x||y|", "100%|", "%7C|%25", "ends|"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        auto c = std::make_shared<TAppDataComponent>();
        auto value = MakeText("key|" + text, text, text);
        value->id = 5;
        c->AddData(value);
        c->AddData(MakeInt("n|m", 1, 2, 3));
        auto block = CreateBlockFile("Component");
        c->Save(block);
        auto back = Load(ParseBlockFileText(BlockFileToText(block), "Component"));
        ASSERT_EQ(back->Data.size(), 2u);
        auto s = std::dynamic_pointer_cast<TAppDataString>(back->Data[0]);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->name, "key|" + text);
        EXPECT_EQ(s->DefaultValue, text);
        EXPECT_EQ(s->Value, text);
        EXPECT_EQ(s->id, 5);
        EXPECT_EQ(back->Data[1]->name, "n|m");
        EXPECT_EQ(back->Data[1]->id, 3);

        auto viaForm = std::make_shared<TAppDataString>();
        viaForm->FromString(value->ToString());
        EXPECT_EQ(viaForm->Value, text);
    }
    // Forms written before the escape read exactly as they did.
    auto old = Load(BlockWith("1", {"S|t|0|a%7Cb|2"}));
    EXPECT_EQ(std::dynamic_pointer_cast<TAppDataString>(old->Data[0])->Value, "a%7Cb");
    auto cut = Load(BlockWith("1", {"S|t|0|a|b|2"}));
    EXPECT_EQ(std::dynamic_pointer_cast<TAppDataString>(cut->Data[0])->Value, "a");
    EXPECT_EQ(cut->Data[0]->id, 0);
}

TEST(DataComponent, CopyRemoveAndArrayRules) {
    auto c = std::make_shared<TAppDataComponent>();
    c->name = "Stats";
    auto coins = MakeInt("coins", 0, 12, 3);
    c->AddData(coins);
    c->AddData(CreateAppDataComp_Float("speed", 2.0f));

    auto copy = std::dynamic_pointer_cast<TAppDataComponent>(c->Copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->name, "");
    EXPECT_EQ(copy->Obj, nullptr);
    ASSERT_EQ(copy->Data.size(), 2u);
    EXPECT_NE(copy->Data[0], coins);
    std::static_pointer_cast<TAppDataInt>(copy->Data[0])->SetValue(99);
    EXPECT_EQ(std::static_pointer_cast<TAppDataInt>(coins)->Value, 12);
    EXPECT_EQ(copy->Data[1]->ToString(), c->Data[1]->ToString());

    c->RemoveData(MakeInt("coins", 0, 12, 3));  // equal, not the same
    EXPECT_EQ(c->Data.size(), 2u);
    c->RemoveData(coins);
    ASSERT_EQ(c->Data.size(), 1u);
    EXPECT_EQ(c->Data[0]->name, "speed");

    c->CreateDataArrayFromList({nullptr, coins});
    ASSERT_EQ(c->Data.size(), 2u);
    EXPECT_EQ(c->Data[0], coins);
    EXPECT_EQ(c->Data[1], nullptr);

    c->Free();
    EXPECT_TRUE(c->Data.empty());
}
