#include <string>

#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/e2e/kit/Steps.h"

namespace e2e {

namespace {

// A control whose text the picture must show: one too small to hold three
// rows of strokes, or a minus sign (one stroke across), is left out.
bool CarriesText(const ControlState& c) {
    return c.visible && !c.text.empty() && c.text != "\xe2\x88\x92" && c.rect.Width() >= 8 && c.rect.Height() >= 8;
}

// The script a UTF-8 text's letters call for: Cyrillic is two bytes led by
// D0-D4, the CJK ideographs three bytes led by E4-E9.
bool HasCyrillic(const std::string& text) {
    for (unsigned char b : text)
        if (b >= 0xD0 && b <= 0xD4) return true;
    return false;
}

bool HasIdeographs(const std::string& text) {
    for (unsigned char b : text)
        if (b >= 0xE4 && b <= 0xE9) return true;
    return false;
}

// What is wrong with one picture of the window, a line each.
std::string PictureFaults(App& app, const std::string& window, const std::string& png) {
    if (!app.Screenshot(window, png)) return png + ": not taken\n";
    const PaintCheck painting = CheckPainting(png);
    if (!painting.painted)
        return png + ": not painted, black share " + std::to_string(painting.blackShare) + ", colours " +
               std::to_string(painting.colours) + "\n";
    const Rect frame = app.Window(window).rect;
    std::string faults;
    int texts = 0;
    for (const auto& named : app.Controls(window)) {
        const ControlState& c = named.second;
        if (!CarriesText(c)) continue;
        ++texts;
        const Rect local{c.rect.left - frame.left, c.rect.top - frame.top, c.rect.right - frame.left,
                         c.rect.bottom - frame.top};
        if (!HasTextEdges(png, local)) faults += png + ": no text drawn in " + named.first + " \"" + c.text + "\"\n";
    }
    if (texts == 0) faults += png + ": no text at all\n";
    return faults;
}

}  // namespace

std::string PictureWindow(App& app, const std::string& window, const std::string& png) {
    // A window just shown may paint its texts a moment after its ground.
    std::string faults;
    Poll([&] { return (faults = PictureFaults(app, window, png)).empty(); }, 15000);
    return faults;
}

bool InForeignScript(const std::string& text, const std::string& language) {
    return (language != "ru" && HasCyrillic(text)) || (language != "cn" && HasIdeographs(text));
}

std::string ForeignScriptText(App& app, const std::string& window, const std::string& language) {
    for (const auto& named : app.Controls(window)) {
        const ControlState& c = named.second;
        if (c.visible && InForeignScript(c.text, language)) return named.first + " \"" + c.text + "\"";
    }
    return std::string();
}

}  // namespace e2e
