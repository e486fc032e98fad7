// The keymap of a private Xvfb, loaded before any program starts: the
// characters the kit types beyond ASCII sit in the second group of the main
// keys, reached with Mode_switch held.
//
// xdotool types a character its keymap lacks by binding a spare key for one
// press and restoring it right after; Wine makes the character from the
// mapping it holds when it translates the key, which on a loaded machine is
// already the restored one, and the letter is lost. Spare keys bound for
// good do not do either: Wine hands unknown keys virtual keys from a short
// range (about 17 on a US keymap) and drops the rest. The main keys keep
// their virtual keys, and Wine reads the group from each key's own event.
#pragma once

#include <map>
#include <string>

namespace e2e {

struct KeyStroke {
    int keycode = 0;  // 0: the keymap lacks the character
    bool shift = false;
};

class Keymap {
public:
    // Puts the kit's characters (the Russian and Ukrainian alphabets,
    // full-width digits, the typographic signs) on the display's main keys;
    // scratch holds the tool's files. False, with why in error, when it could not.
    bool Load(const std::string& display, const std::string& scratch, std::string* error);
    KeyStroke Find(char32_t c) const;
    // The keys held for the second group: "Mode_switch", "shift+Mode_switch".
    static std::string Group(const KeyStroke& key);

private:
    std::map<char32_t, KeyStroke> mKeys;
};

// The code points of UTF-8 text; false at a malformed sequence.
bool DecodeUtf8(const std::string& text, std::u32string* out);
// "U+2212 '−'" for a failure's message.
std::string DescribeCharacter(char32_t c);

}  // namespace e2e
