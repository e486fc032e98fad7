#include "tests/e2e/kit/Keymap.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/e2e/kit/Process.h"

namespace e2e {

namespace {

// A key's plain and shifted character in the second group: whole
// alphabets and blocks, so that a new row's text is covered too.
std::vector<std::pair<char32_t, char32_t>> KitPairs() {
    std::vector<std::pair<char32_t, char32_t>> pairs;
    for (char32_t i = 0; i < 32; ++i) pairs.emplace_back(0x0430 + i, 0x0410 + i);  // а..я, А..Я
    for (char32_t c : {0x0451, 0x0456, 0x0457, 0x0454}) pairs.emplace_back(c, c - 0x50);  // ё і ї є
    for (char32_t i = 0; i < 10; i += 2) pairs.emplace_back(0xFF10 + i, 0xFF11 + i);  // full-width digits
    const char32_t signs[][2] = {{0x2212, 0x2116},   // − №
                                 {0x00B0, 0x00B1},   // ° ±
                                 {0x2013, 0x2014},   // – —
                                 {0x00D7, 0x00B5},   // × µ
                                 {0x00AB, 0x00BB},   // « »
                                 {0x2026, 0x00A0}};  // … no-break space
    for (const auto& sign : signs) pairs.emplace_back(sign[0], sign[1]);
    return pairs;
}

std::string KeysymName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U%04X", static_cast<unsigned>(c));
    return name;
}

// The main keys of the US keymap, by keycode: digits, three letter rows with
// their signs, grave and backslash.
std::vector<int> MainKeycodes() {
    std::vector<int> keys;
    for (int k = 10; k <= 61; ++k) {
        if (k != 22 && k != 23 && k != 36 && k != 37 && k != 50) keys.push_back(k);
    }
    return keys;
}

// Each keycode's first-group keysyms, from "keycode 38 = a A a A".
std::map<int, std::string> FirstGroup(const std::string& table) {
    std::map<int, std::string> groups;
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word, equals, plain, shifted;
        int keycode = 0;
        if (words >> word >> keycode >> equals >> plain >> shifted && word == "keycode" && equals == "=") {
            groups[keycode] = plain + " " + shifted;
        }
    }
    return groups;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

bool Keymap::Load(const std::string& display, const std::string& scratch, std::string* error) {
    const Environment env{{"DISPLAY", display}};
    const std::string table = scratch + "/keymap";
    std::remove(table.c_str());
    int code = -1;
    if (!WaitChild(Spawn({"xmodmap", "-pke"}, env, "", table), 15000, &code) || code != 0) {
        return (*error = "xmodmap -pke failed on " + display), false;
    }
    const std::map<int, std::string> first = FirstGroup(ReadAll(table));
    const std::vector<int> keys = MainKeycodes();
    const auto pairs = KitPairs();
    const std::string expressions = scratch + "/keymap-kit";
    std::ofstream out(expressions);
    for (size_t i = 0; i < pairs.size() && i < keys.size(); ++i) {
        const auto found = first.find(keys[i]);
        if (found == first.end()) return (*error = "no key " + std::to_string(keys[i]) + " on " + display), false;
        out << "keycode " << keys[i] << " = " << found->second << " " << KeysymName(pairs[i].first) << " "
            << KeysymName(pairs[i].second) << "\n";
        mKeys[pairs[i].first] = KeyStroke{keys[i], false};
        mKeys[pairs[i].second] = KeyStroke{keys[i], true};
    }
    out.close();
    if (!out || !RunTool({"xmodmap", expressions}, env)) return (*error = "xmodmap could not load " + expressions), false;
    return true;
}

KeyStroke Keymap::Find(char32_t c) const {
    const auto found = mKeys.find(c);
    return found == mKeys.end() ? KeyStroke() : found->second;
}

std::string Keymap::Group(const KeyStroke& key) { return key.shift ? "shift+Mode_switch" : "Mode_switch"; }

bool DecodeUtf8(const std::string& text, std::u32string* out) {
    out->clear();
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 0x2) return false;
            c = (c << 6) | (next & 0x3F);
        }
        out->push_back(c);
        i += length;
    }
    return true;
}

std::string DescribeCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string utf8;
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
    return std::string(code) + " '" + utf8 + "'";
}

}  // namespace e2e
