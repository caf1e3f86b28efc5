// The media managers' start-up on the shipped data: every manager is set up, in the order that
// lets the text classes load their fonts before the font list shares them.
#include "engine/AppManagers.h"

#include <gtest/gtest.h>

#include "engine/media/AppFont.h"
#include "engine/media/SoundManager.h"
#include "engine/media/TextClass.h"
#include "engine/particles/Emitter.h"
#include "engine/screen/Control.h"
#include "engine/screen/MouseCursor.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace {

class AppManagersTest : public ::testing::Test {
protected:
    std::string savedBDir;
    void SetUp() override {
        savedBDir = bDir;
        Control::Reset();
        ResetAll();
    }
    void TearDown() override {
        ResetAll();
        bDir = savedBDir;
    }
    static void ResetAll() {
        AppClassManager::Reset();
        AppFontManager::Reset();
        ResetEmitters();
        AppSoundManager::Reset();
        Mouse::Reset();
    }
};

TEST_F(AppManagersTest, EveryManagerStartsFromTheShippedData) {
    bDir = testsupport::SourceDir() + "/data/";
    AppInitManagers();

    // Every listed font resolves and loads; the classes share them.
    ASSERT_FALSE(AppFontManager::FontsLoaded.empty());
    for (const auto& f : AppFontManager::FontsLoaded) {
        EXPECT_EQ(FileType(f->url), 1) << f->url;
        EXPECT_TRUE(f->font) << f->url;
    }
    ASSERT_EQ(AppClassManager::TextClasses.front(), TTextClass::DefaultClass);
    for (const char* id : {"Title", "Text", "Button", "Small", "Credits 1", "KingdomPriceNormal"}) {
        auto cls = AppClassManager::GetTextClass(id, 0);
        ASSERT_TRUE(cls) << id;
        ASSERT_TRUE(cls->Font) << id;
        EXPECT_EQ(cls->Font, GetAppFont(ConvertAppPath(cls->cFontUrl), cls->cFontSize)) << id;
    }
    // The emitter presets, the sounds' click and the cursors.
    EXPECT_FALSE(TAppBasicEmitter::Presets.empty());
    EXPECT_TRUE(AppSoundManager::ClickSound);
    EXPECT_FALSE(Mouse::CursorsList.empty());
    EXPECT_TRUE(Mouse::DefaultCursor);
}

}  // namespace
