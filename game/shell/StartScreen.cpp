#include "game/shell/StartScreen.h"

#include <utility>

#include "engine/screen/Asset.h"
#include "engine/screen/DrawObject.h"
#include "engine/object/GameObject.h"
#include "engine/system/Paths.h"
#include "engine/data/BlockFile.h"
#include "engine/media/AVO.h"
#include "engine/media/SoundManager.h"

TStartScreenPtr StartScreen;
const std::string StartScreenFile = "screens/Start/Start.AppScreen";

int TStartScreen::_LoadObjects(const TBlockFilePtr& objects, TLoadList* list) {
    TAppScreen::_LoadObjects(objects, list);
    if (!objects) return 0;
    for (const TBlockFilePtr& block : GetBlockFilesList(objects, "GameObject")) LoadDrawObjects(block);
    RebuildDrawingLayers();
    return 0;
}

int TStartScreen::LoadDrawObjects(const TBlockFilePtr& objectBlock) {
    TBlockFilePtr drawBlock;
    for (const TBlockFilePtr& child : GetBlockFilesList(objectBlock, "DrawObject")) {
        drawBlock = child;
        break;
    }
    if (drawBlock) {
        TGameObjectPtr owner = FindObject(GetBFString(objectBlock, "Basic::Name", 0));
        // Plain objects only: the other kinds have made their own draw object while loading.
        if (owner && owner->GetTypeInt() == 0) {
            TAppDrawObjectPtr drawObject = LoadAppDrawObject(drawBlock, owner.get());
            if (auto image = std::dynamic_pointer_cast<TAppDrawObjectImage>(drawObject)) {
                // The image joins this screen's assets (TAsset::CurrScreen still names the screen
                // whose file is loading), so the screen's asset set-up loads it.
                int mid = static_cast<int>(GetBFNumber(drawBlock, "MidHandle", 0)) != 0 ? 1 : 0;
                if (!image->ImageUrl.empty()) image->image = CreateEmptyImageAsset(image->ImageUrl, 0, 0, 0, 1, mid);
            }
            if (drawObject) {
                drawObject->MyObject = owner.get();
                owner->SetDrawObject(drawObject);
            }
        }
    }
    for (const TBlockFilePtr& subs : GetBlockFilesList(objectBlock, "SubObjects"))
        for (const TBlockFilePtr& sub : GetBlockFilesList(subs, "GameObject")) LoadDrawObjects(sub);
    return 0;
}

int TStartScreen::_SaveObjects(const TBlockFilePtr& root) {
    TAppScreen::_SaveObjects(root);
    // The engine wrote one "GameObject" block per saved object, in order: pair them up again.
    const auto blocks = GetBlockFilesList(GetBlockFile(root, "Objects"), "GameObject");
    size_t next = 0;
    for (const TGameObjectPtr& obj : Objects) {
        if (!obj || obj->isNotSaved != 0 || obj->isGlobal != 0) continue;
        if (next >= blocks.size()) break;
        const TBlockFilePtr& block = blocks[next++];
        // An exported object's block only names its folder.
        if (obj->isSavedInternaly != 0) SaveDrawObjects(*obj, block);
    }
    return 0;
}

int TStartScreen::SaveDrawObjects(TGameObject& obj, const TBlockFilePtr& objectBlock) {
    // Only a plain object's draw object comes from the file: widgets and the other kinds make
    // their own from their data, and a block written for them would replace it on loading.
    if (obj.DrawObject && obj.GetTypeInt() == 0) {
        obj.DrawObject->Save(objectBlock);
        auto image = std::dynamic_pointer_cast<TAppDrawObjectImage>(obj.DrawObject);
        if (image && image->image && image->image->isMidHandled != 0) {
            const auto written = GetBlockFilesList(objectBlock, "DrawObject");
            if (!written.empty()) AddIntToBlock(written.back(), "MidHandle", 1, 0);
        }
    }
    // The sub-objects' blocks follow the game-object sub-objects in order.
    const auto subBlocks = GetBlockFilesList(GetBlockFile(objectBlock, "SubObjects"), "GameObject");
    size_t next = 0;
    for (const auto& node : obj.SubObjects) {
        auto sub = std::dynamic_pointer_cast<TGameObject>(node);
        if (!sub) continue;
        if (next >= subBlocks.size()) break;
        SaveDrawObjects(*sub, subBlocks[next++]);
    }
    return 0;
}

int TStartScreen::OnSetup() {
    if (AppSoundManager::MusicsList.empty()) AppSoundManager::LoadMusics();
    return 0;
}

int TStartScreen::OnPrepare() {
    StartBird();
    AppSoundManager::PlayLevelSound();
    return 0;
}

int TStartScreen::StartBird() {
    for (const TGameObjectPtr& obj : Objects) {
        if (obj->name != BirdName) continue;
        if (auto bird = std::dynamic_pointer_cast<TAVO>(obj)) bird->PlayAnim(BirdAnim, BirdAnimTime, 1);
    }
    return 0;
}

int TStartScreen::Interface() {
    if (!CurrClickObject || CurrClickObject->name != "Play") return 0;
    std::swap(BirdAnim, BirdOtherAnim);
    return StartBird();
}

TStartScreenPtr CreateStartScreen() {
    auto screen = std::make_shared<TStartScreen>();
    screen->Init("Start", bDir + StartScreenFile);
    return screen;
}
