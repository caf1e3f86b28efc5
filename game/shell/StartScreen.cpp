#include "game/shell/StartScreen.h"

#include <utility>

#include "engine/Asset.h"
#include "engine/DrawObject.h"
#include "engine/GameObject.h"
#include "engine/System/Paths.h"
#include "engine/data/BlockFile.h"
#include "engine/media/AVO.h"

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
        if (owner) {
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

int TStartScreen::OnPrepare() {
    for (const TGameObjectPtr& obj : Objects) {
        if (obj->name != BirdName) continue;
        if (auto bird = std::dynamic_pointer_cast<TAVO>(obj)) bird->PlayAnim(BirdAnim, BirdAnimTime, 1);
    }
    return 0;
}

int TStartScreen::Interface() {
    if (!CurrClickObject || CurrClickObject->name != "Play") return 0;
    std::swap(BirdAnim, BirdOtherAnim);
    return OnPrepare();
}

TStartScreenPtr CreateStartScreen() {
    auto screen = std::make_shared<TStartScreen>();
    screen->Init("Start", bDir + StartScreenFile);
    return screen;
}
