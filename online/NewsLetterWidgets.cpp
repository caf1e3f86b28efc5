#include "online/NewsLetterWidgets.h"

#include <vector>

#include "engine/media/AppFont.h"
#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/fading/EkranTools.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "online/EnBlock.h"
#include "online/NewsLetter.h"
#include "online/WrappedText.h"
#include "platform/Graphics.h"
#include "platform/Strings.h"

namespace {

// Line n (from 1) of the window's text file; empty outside it.
std::string TextLine(int n) {
    if (!NewsLetter || n < 1 || n > static_cast<int>(NewsLetter->TextArray.size())) return "";
    return NewsLetter->TextArray[static_cast<size_t>(n - 1)];
}

float PanelX() { return NewsLetter ? NewsLetter->PanelX : 0.0f; }
float PanelY() { return NewsLetter ? NewsLetter->PanelY : 0.0f; }

// What texts and buttons share: id, text, font, position and colour.
void ReadTextWidget(TNLObj& widget, const TEnBlock& block, const std::string& name) {
    widget.id = Upper(name);
    widget.text = TextLine(block.GetParamInt("TextLine"));
    widget.Font = NewsLetterFont(block.GetParam("FontUrl"), block.GetParamInt("FontSize"));
    widget.x = PanelX() + static_cast<float>(block.GetParamInt("x"));
    widget.y = PanelY() + static_cast<float>(block.GetParamInt("y"));
    widget.r = block.GetParamInt("rgb_red");
    widget.g = block.GetParamInt("rgb_green");
    widget.b = block.GetParamInt("rgb_blue");
}

}  // namespace

std::string NewsLetterDataPath(const std::string& relative) {
    // Counted from the data folder: the path may reach the data folder's other files (the
    // game's fonts), never beyond it.
    if (relative.empty()) return "";
    int depth = 1;  // "newsletter/"
    bool refused = relative[0] == '/' || relative[0] == '\\' || relative.find(':') != std::string::npos;
    for (const std::string& part : SplitString(Replace(relative, "\\", "/"), "/")) {
        if (part.empty() || part == ".") continue;
        depth += part == ".." ? -1 : 1;
        if (depth < 0) refused = true;
    }
    if (refused) {
        Error("The newsletter's file path " + relative + " leads outside the data folder; not loaded", Here());
        return "";
    }
    return bDir + "newsletter/" + relative;
}

TImageFontPtr NewsLetterFont(const std::string& relative, int size) {
    const std::string path = NewsLetterDataPath(relative);
    if (path.empty()) {
        if (relative.empty())
            Error(bDir + "newsletter/newsletter.dat names no font for one of its texts; the default font is used",
                  Here());
        return nullptr;
    }
    return GetAppFont(path, size);
}

TNLTextPtr _CreateNLText(const TEnBlock& block) {
    auto text = std::make_shared<TNLText>();
    ReadTextWidget(*text, block, block.name);
    text->width = block.GetParamInt("Width");
    text->align = block.GetParam("align");
    return text;
}

TNLButtonPtr _CreateNLButton(const TEnBlock& block) {
    auto button = std::make_shared<TNLButton>();
    ReadTextWidget(*button, block, block.name);
    // The font stays current after the button is built.
    SetImageFont(button->Font);
    button->ww = TextWidth(button->text) + 10;
    button->hh = TextHeight(button->text) + 10;
    button->xx = TruncToInt(button->x - static_cast<float>(button->ww / 2));
    button->yy = TruncToInt(button->y - static_cast<float>(button->hh / 2));
    return button;
}

TNLImagePtr _CreateNLImage(const TEnBlock& block) {
    auto image = std::make_shared<TNLImage>();
    image->id = Upper(block.name);
    image->x = PanelX() + static_cast<float>(block.GetParamInt("x"));
    image->y = PanelY() + static_cast<float>(block.GetParamInt("y"));
    image->alpha = block.GetParamFloat("alpha");
    image->scale = block.GetParamFloat("scale");
    image->rot = static_cast<int>(block.GetParamFloat("rotation"));
    const std::string path = NewsLetterDataPath(block.GetParam("url"));
    if (!path.empty()) {
        image->img = LoadImage(path);
        if (!image->img) {
            ErrorNoFile(path, Here());
        } else {
            MidHandleImage(image->img);
        }
    } else if (block.GetParam("url").empty()) {
        Error("The newsletter's image " + image->id + " names no file", Here());
    }
    return image;
}

TNLObjPtr CreateNLObj(const TEnBlock& block) {
    const std::string type = block.GetParam("Type");
    if (type == "TEXT") return _CreateNLText(block);
    if (type == "TEXTBUTTON") return _CreateNLButton(block);
    if (type == "IMAGE") return _CreateNLImage(block);
    return nullptr;
}

int TNLText::draw() {
    SetColor(r, g, b);
    SetImageFont(Font);
    const float wrapWidth = static_cast<float>(width);
    DrawWrappedText(text, static_cast<int>(x), static_cast<int>(y), wrapWidth, align, nullptr, 1);
    return 0;
}

int TNLButton::draw() {
    if (isVisible == 0) return 0;
    const float a0 = GetAlpha();
    SetColor(r, g, b);
    SetBlend(ALPHABLEND);
    SetImageFont(Font);
    const float tx = x - static_cast<float>(TextWidth(text) / 2);
    const float ty = y - static_cast<float>(TextHeight(text) / 2);
    DrawText(text, tx, ty);
    if (oa != 0.0f) {
        const TNewsLetter* window = NewsLetter.get();
        SetColor(window ? window->OverR : 0, window ? window->overG : 0, window ? window->overB : 0);
        SetAlpha(a0 * oa);
        DrawText(text, tx, ty);
        SetBlend(ALPHABLEND);
        SetAlpha(a0);
    }
    SetAlpha(a0);
    return 0;
}

int TNLButton::update() {
    isOver = 0;
    doa = 0.0f;
    if (isVisible != 0 && isActive != 0 && Mouse::InRect(xx, yy, ww, hh) != 0) {
        isOver = 1;
        doa = 1.0f;
    }
    MoveTowardTarget(oa, doa, 0.05f);
    return 0;
}

int TNLImage::draw() {
    const float a0 = GetAlpha();
    SetAlpha(a0 * alpha);
    SetScale(scale, scale);
    SetColor(r, g, b);
    SetRotation(static_cast<float>(rot));
    if (img) DrawImage(img, x, y, 0);
    SetRotation(0.0f);
    SetAlpha(a0);
    return 0;
}
