// The component base and the component factory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/Collider.h"
#include "engine/screen/Component.h"
#include "engine/screen/GameObject.h"
#include "engine/system/Error.h"

namespace {

std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        gErrors.clear();
        WatchErrorReports(&CaptureError);
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        ResetAppComponentTypes();
    }
};

TEST_F(ComponentTest, FactoryBuildsKindsWithClassesOnly) {
    const std::pair<int, const char*> kinds[] = {{0, "Animator"}, {1, "Collider"}, {2, "Data Block"}, {4, "Triggers"}};
    for (const auto& [kind, word] : kinds) {
        auto c = CreateNewAppComponentByType(kind);
        ASSERT_NE(c, nullptr) << kind;
        EXPECT_EQ(c->GetTypeInt(), kind);
        EXPECT_EQ(c->GetTypeStr(), word);
    }
    EXPECT_EQ(CreateNewAppComponentByType(3), nullptr);
    EXPECT_EQ(CreateNewAppComponentByType(5), nullptr);
    EXPECT_EQ(COMPONENTS_NAMES, (std::vector<std::string>{"Animator", "Collider", "Data Block", "Drawer", "Triggers"}));
}

TEST_F(ComponentTest, LoadsByTypeWithOwnerAndName) {
    TGameObject obj;
    auto block = ParseBlockFileText("Type = 1.7\nName = \"Hit\"\n", "Component");
    auto c = LoadAppComponent(&obj, block, nullptr);
    ASSERT_NE(std::dynamic_pointer_cast<TAppCollider>(c), nullptr);
    EXPECT_EQ(c->name, "Hit");
    EXPECT_EQ(c->Obj, &obj);

    auto saved = CreateBlockFile("Component");
    c->Save(saved);
    ASSERT_GE(saved->SubFiles.size(), 2u);
    EXPECT_EQ(saved->SubFiles[0]->name, "Type");
    EXPECT_EQ(saved->SubFiles[1]->name, "Name");
    auto again = LoadAppComponent(&obj, saved, nullptr);
    EXPECT_EQ(again->GetTypeInt(), 1);
    EXPECT_EQ(again->name, "Hit");

    c->Free();
    EXPECT_EQ(c->Obj, nullptr);
}

TEST_F(ComponentTest, UnknownKindIsReportedAndTheObjectLoadsWithoutIt) {
    TGameObject obj;
    obj.name = "Crate";
    EXPECT_EQ(LoadAppComponent(&obj, ParseBlockFileText("Type = 3\n", "Component"), nullptr), nullptr);
    ASSERT_EQ(gErrors.size(), 1u);
    EXPECT_EQ(gErrors[0],
              "ERROR ( File: Component  Code: LoadAppComponent ) Unknown component type 3 in object 'CRATE'!");

    auto root =
        ParseBlockFileText("GameObject{\nComponents{\nComponent{\nType = 3\n}\nComponent{\nType = 1\n}\n}\n}\n", "f");
    auto loaded = LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, "");
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->Components.size(), 1u);
    EXPECT_EQ(loaded->Comp_Collider, loaded->Components[0]);
}

class CustomComponent : public TAppObjComponent {
public:
    int GetTypeInt() override { return 3; }
};

TEST_F(ComponentTest, RegisteredKindsExtendTheFactory) {
    RegisterAppComponentType(3, [] { return std::make_shared<CustomComponent>(); });
    EXPECT_NE(std::dynamic_pointer_cast<CustomComponent>(CreateNewAppComponentByType(3)), nullptr);
    RegisterAppComponentType(1, nullptr);
    EXPECT_EQ(CreateNewAppComponentByType(1), nullptr);
    ResetAppComponentTypes();
    EXPECT_EQ(CreateNewAppComponentByType(3), nullptr);
    EXPECT_NE(CreateNewAppComponentByType(1), nullptr);
}

}  // namespace
