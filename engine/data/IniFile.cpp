#include "engine/data/IniFile.h"

#include "engine/system/Error.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

bool IsFlag(std::string_view s, std::string_view word) { return EqualsNoCase(s, word); }

// The text without its last character (a whole UTF-8 sequence).
std::string_view DropLastChar(std::string_view s) {
    if (s.empty()) return s;
    size_t n = s.size() - 1;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

// The text without its first character (a whole UTF-8 sequence).
std::string_view DropFirstChar(std::string_view s) {
    if (s.empty()) return s;
    size_t n = 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
    return s.substr(n);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TIniParam

std::string TIniParam::ToString() const { return id + " = " + data; }

int TIniParam::GetBool() const {
    if (IsFlag(data, "TRUE")) return 1;
    if (IsFlag(data, "FALSE")) return 0;
    return GetFloat() != 0.0f ? 1 : 0;
}

float TIniParam::GetFloat() const {
    if (IsFlag(data, "TRUE")) return 1.0f;
    return StringToFloat(data);
}

int32_t TIniParam::GetInt() const {
    if (IsFlag(data, "TRUE")) return 1;
    return StringToInt(data);
}

// ---------------------------------------------------------------------------------------------
// TIniBlock

std::string TIniBlock::ToString() const {
    std::string out = "[" + name + "]\n";
    for (const auto& p : params)
        if (p) out += p->ToString() + "\n";
    return out;
}

std::string TIniBlock::GetParam(std::string_view key) const {
    for (const auto& p : params)
        if (p && NamesEqual(p->id, key)) return p->data;
    return std::string();
}

int32_t TIniBlock::GetParamInt(std::string_view key) const {
    TIniParam p;
    p.data = GetParam(key);
    return p.GetInt();
}

float TIniBlock::GetParamFloat(std::string_view key) const {
    TIniParam p;
    p.data = GetParam(key);
    return p.GetFloat();
}

void TIniBlock::SetParam(const std::string& key, const std::string& value) {
    for (const auto& p : params)
        if (p && NamesEqual(p->id, key)) {
            p->data = value;
            return;
        }
    auto p = std::make_shared<TIniParam>();
    p->id = key;
    p->data = value;
    params.push_back(std::move(p));
}

void TIniBlock::SetParamInt(const std::string& key, int32_t value) { SetParam(key, std::to_string(value)); }

void TIniBlock::SetParamFloat(const std::string& key, float value) { SetParam(key, FloatToString(value)); }

// ---------------------------------------------------------------------------------------------
// Reading and writing

TIniBlockPtr CreateIniBlock(const std::string& name) {
    auto b = std::make_shared<TIniBlock>();
    b->name = name;
    return b;
}

TIniParamPtr CreateIniParam(std::string_view key, std::string_view value) {
    auto p = std::make_shared<TIniParam>();
    p->id = NameUpper(key);
    p->data = NameUpper(value);
    return p;
}

std::vector<std::string> TokenizeIniText(std::string_view text) {
    std::vector<std::string> tokens;
    size_t start = 0;
    auto flush = [&](size_t end) {
        std::string t = Trim(text.substr(start, end - start));
        if (!t.empty()) tokens.push_back(std::move(t));
    };
    for (size_t i = 0; i < text.size() && tokens.size() <= kMaxIniWords; ++i) {
        char c = text[i];
        if (c == ' ' || c == '=' || c == '\n') {
            flush(i);
            if (c == '=') tokens.emplace_back("=");
            start = i + 1;
        }
    }
    if (tokens.size() <= kMaxIniWords) flush(text.size());
    return tokens;
}

bool IniTextOverBudget(const std::vector<std::string>& tokens, const std::string& name) {
    if (tokens.size() <= kMaxIniWords) return false;
    Error("The file " + (name.empty() ? std::string("(in memory)") : name) + " holds more than " +
              std::to_string(kMaxIniWords) + " words; it is not read!",
          Here());
    return true;
}

TIniBlockPtr ParseIniBlock(const std::string& header, const std::vector<std::string>& tokens, size_t& pos) {
    auto block = CreateIniBlock(std::string(DropLastChar(DropFirstChar(header))));
    std::string key;
    int count = 0;
    while (pos < tokens.size() && tokens[pos][0] != '[') {
        const std::string& t = tokens[pos++];
        if (count == 0) key = t;
        if (count == 2) block->params.push_back(CreateIniParam(key, t));
        count = (count + 1) % 3;
    }
    return block;
}

TIniBlockList ParseIniText(std::string_view text, const std::string& name) {
    TIniBlockList blocks;
    std::vector<std::string> tokens = TokenizeIniText(text);
    if (IniTextOverBudget(tokens, name)) return blocks;
    size_t pos = 0;
    while (pos < tokens.size()) {
        const std::string& t = tokens[pos++];
        if (t[0] != '[') continue;  // text outside a section is ignored
        blocks.push_back(ParseIniBlock(t, tokens, pos));
    }
    return blocks;
}

TIniBlockList LoadIniFile(const std::string& path) {
    bool ok = false;
    std::string text = FileType(path) == 1 ? LoadText(path, &ok) : std::string();
    if (!ok) {
        ErrorNoFile(path, Here());
        return {};
    }
    return ParseIniText(text, path);
}

std::string IniBlocksToText(const TIniBlockList& blocks) {
    std::string out;
    for (const auto& b : blocks)
        if (b) out += b->ToString() + "\n";
    return out;
}

bool SaveIniFile(const TIniBlockList& blocks, const std::string& path) {
    if (!SaveText(IniBlocksToText(blocks), path)) {
        Error("Couldn't write ini file! Url = " + path, Here());
        return false;
    }
    return true;
}
