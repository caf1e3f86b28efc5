#include "online/EnBlock.h"

#include "engine/data/BlockFile.h"
#include "engine/data/IniFile.h"
#include "engine/media/TxtFile.h"
#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// The text without its last character (a whole UTF-8 sequence).
std::string DropLastCharacter(const std::string& s) {
    if (s.empty()) return s;
    size_t end = s.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return s.substr(0, end);
}

}  // namespace

std::string TEnParam::ToString() const { return id + " = " + data; }

std::string TEnBlock::ToString() const {
    std::string out = "[ " + name + " ]\n";
    for (const TEnParamPtr& p : params) out += p->ToString() + "\n";
    return out;
}

std::string TEnBlock::GetParam(const std::string& key) const {
    const std::string wanted = NameUpper(key);
    for (const TEnParamPtr& p : params)
        if (NameUpper(p->id) == wanted) return p->data;
    return "";
}

int TEnBlock::GetParamInt(const std::string& key) const { return StringToInt(GetParam(key)); }

float TEnBlock::GetParamFloat(const std::string& key) const { return StringToFloat(GetParam(key)); }

TEnParamPtr ParseEnParam(const std::string& key, const std::string& value) {
    auto p = std::make_shared<TEnParam>();
    p->id = NameUpper(key);
    p->data = NameUpper(value);
    return p;
}

TEnBlockPtr ParseEnBlock(const std::string& openingToken, std::deque<std::string>& tokens) {
    auto block = std::make_shared<TEnBlock>();
    block->name = openingToken.empty() ? "" : DropLastCharacter(openingToken.substr(1));
    std::string triple[3];
    int count = 0;
    while (!tokens.empty() && tokens.front()[0] != '[') {
        triple[count++] = std::move(tokens.front());
        tokens.pop_front();
        if (count == 3) {
            // The separator (normally "=") is not examined.
            block->params.push_back(ParseEnParam(triple[0], triple[2]));
            count = 0;
        }
    }
    return block;
}

std::vector<TEnBlockPtr> ParseEnBlockText(const std::string& text, const std::string& name) {
    std::vector<std::string> list = TokenizeIniText(text);
    if (IniTextOverBudget(list, name)) return {};
    std::deque<std::string> tokens(std::make_move_iterator(list.begin()), std::make_move_iterator(list.end()));
    std::vector<TEnBlockPtr> blocks;
    while (!tokens.empty()) {
        std::string token = std::move(tokens.front());
        tokens.pop_front();
        if (token[0] == '[') blocks.push_back(ParseEnBlock(token, tokens));
    }
    return blocks;
}

std::vector<TEnBlockPtr> LoadEnBlockFile(const std::string& url) {
    bool ok = false;
    const std::string text = LoadText(url, &ok);
    if (!ok) {
        ErrorNoFile(url, Here());
        return {};
    }
    return ParseEnBlockText(text, url);
}

std::vector<std::string> LoadTextLines(const std::string& url) {
    bool ok = false;
    const std::string text = LoadText(url, &ok);
    if (!ok) {
        ErrorNoFile(url, Here());
        return {};
    }
    return SplitTxtLines(text);
}
