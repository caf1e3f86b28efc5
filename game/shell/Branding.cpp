#include "game/shell/Branding.h"

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TBrandingPtr branding;

int TBranding::setup() {
    imgList.clear();
    for (int n = 1; n <= kMaxPictures; ++n) {
        const std::string path = bDir + "Branding/partnerscreen-" + IntToString(n) + ".jpg";
        // Each picture is optional: a missing or undecodable one is skipped without a word.
        if (FileType(path) != 1) continue;
        TImagePtr image = LoadImage(path);
        if (!image) continue;
        MidHandleImage(image);
        imgList.push_back(image);
    }
    return 0;
}

int TBranding::getNextImg() {
    if (imgList.empty()) {
        aktImg = nullptr;
        return 0;
    }
    aktImg = imgList.front();
    imgList.pop_front();
    dFade = 0.0f;
    time = MilliSecs() + kShowMs;
    return 0;
}

int TBranding::prepare() {
    fade = 1.0f;
    dFade = 0.0f;
    ResetDelta();
    getNextImg();
    FlushMouse();
    return aktImg ? 0 : 1;
}

int TBranding::_updateTime() {
    if (MilliSecs() > time) dFade = 1.0f;
    if (fade == 1.0f && dFade == 1.0f) getNextImg();
    return 0;
}

int TBranding::update() {
    UpdateDelta();
    _updateTime();
    _updateFade();
    return 0;
}

int TBranding::draw() {
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(1.0f);
    if (aktImg) {
        if (ImageWidth(aktImg) > 1024) SetScale(0.5f, 0.5f);
        DrawImage(aktImg, 512.0f, 384.0f, 0);
    }
    SetBlend(ALPHABLEND);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(fade);
    SetColor(0, 0, 0);
    DrawRect(-1000.0f, -1000.0f, 5000.0f, 5000.0f);
    return 0;
}

int TBranding::mainLoop() {
    if (prepare() != 0) return 0;
    for (;;) {
        if (Control::BeginOwnLoopFrame() != 0) return 0;
        Cls();
        update();
        draw();
        Control::BeforeOwnLoopFlip();
        Flip(-1);
        AspectCls();
        if (MouseHit(1) && MilliSecs() > time - (kShowMs - kClickIgnoredMs)) dFade = 1.0f;
        if (fade == 1.0f && dFade == 1.0f && !aktImg) break;
    }
    FlushKeys();
    FlushMouse();
    return 0;
}

int AppInitBranding() {
    if (!branding) return 0;
    branding->setup();
    branding->mainLoop();
    return 0;
}
