#include "uilib/core/RenderKit.h"

#include <cwchar>
#include <vector>

#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Pixel amounts of <x N>, <y N> and <p N> are cut to this: far beyond any
// window, yet pen arithmetic on them can never overflow.
const long kMaxTagPixels = 100000;

int ClampPixels(long value, long low, long high)
{
    return static_cast<int>(value < low ? low : (value > high ? high : value));
}

int TagPixels(const wchar_t* argument, long low)
{
    return ClampPixels(std::wcstol(argument, nullptr, 10), low, kMaxTagPixels);
}

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

bool IsLowerLetter(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z';
}

bool IsCloseBracket(wchar_t ch)
{
    return ch == L'>' || ch == L'}';
}

bool IsAsciiLetter(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (*p == L' ') ++p;
    return p;
}

// One tag as found in the text.
struct TTag {
    wchar_t letter = 0;
    bool closing = false;
    CUIString argument;
    const wchar_t* next = nullptr; // first character after the tag
};

// Reads the tag at p ("<" or "{"); false when p does not start a tag. A tag
// without its closing bracket ends at the end of the text.
bool ReadTag(const wchar_t* p, TTag& tag)
{
    if (*p != L'<' && *p != L'{') return false;
    if (p[1] == L'/' && IsLowerLetter(p[2]) && IsCloseBracket(p[3])) {
        tag.letter = p[2];
        tag.closing = true;
        tag.argument.Clear();
        tag.next = p + 4;
        return true;
    }
    if (!IsLowerLetter(p[1]) || (p[2] != L' ' && !IsCloseBracket(p[2]))) return false;
    tag.letter = p[1];
    tag.closing = false;
    const wchar_t* start = p[2] == L' ' ? p + 3 : p + 2;
    const wchar_t* end = start;
    while (*end != L'\0' && !IsCloseBracket(*end)) ++end;
    tag.argument = CUIString(start, static_cast<int>(end - start));
    tag.next = *end != L'\0' ? end + 1 : end;
    return true;
}

// "<{>", "<}>", "{<}", "{>}": a bracket drawn as text.
bool ReadEscape(const wchar_t* p, wchar_t& ch)
{
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') {
        ch = p[1];
        return true;
    }
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') {
        ch = p[1];
        return true;
    }
    return false;
}

bool IsRawEnd(const wchar_t* p)
{
    return (p[0] == L'<' || p[0] == L'{') && p[1] == L'/' && p[2] == L'r' && IsCloseBracket(p[3]);
}

// Image tag argument: name, resource type, cell count and index.
struct TImageRef {
    CUIString name;
    CUIString type;
    int count = 1;
    int index = 0;
};

TImageRef ParseImageRef(const CUIString& argument)
{
    TImageRef ref;
    const wchar_t* p = argument.CStr();
    if (argument.IndexOf(L"file='") >= 0 || argument.IndexOf(L"res='") >= 0) {
        // key='value' pairs separated by single blanks; stops at the first bad one.
        while (*p != L'\0') {
            const wchar_t* key = p;
            while (*p != L'\0' && *p != L'=' && *p != L' ') ++p;
            if (*p != L'=' || p[1] != L'\'') break;
            CUIString name(key, static_cast<int>(p - key));
            p += 2;
            const wchar_t* value = p;
            while (*p != L'\0' && *p != L'\'') ++p;
            if (*p == L'\0') break;
            CUIString text(value, static_cast<int>(p - value));
            ++p;
            if (name == L"file" || name == L"res") ref.name = text;
            else if (name == L"restype") ref.type = text;
            if (*p != L' ') break;
            ++p;
        }
    } else {
        p = SkipBlanks(p);
        const wchar_t* start = p;
        while (*p != L'\0' && *p != L' ') ++p;
        ref.name = CUIString(start, static_cast<int>(p - start));
    }
    wchar_t* stop = nullptr;
    p = SkipBlanks(p);
    if (*p != L'\0') {
        ref.count = static_cast<int>(std::wcstol(p, &stop, 10));
        p = SkipBlanks(stop);
        if (*p != L'\0') ref.index = static_cast<int>(std::wcstol(p, &stop, 10));
    }
    if (ref.count < 1) ref.count = 1;
    if (ref.index < 0 || ref.index >= ref.count) ref.index = 0;
    return ref;
}

// The state that a line's drawing pass starts again from.
struct TLayoutState {
    const wchar_t* p = nullptr;
    POINT pen = {0, 0};
    int lineHeight = 0;
    std::vector<TFontEntry*> fonts;
    std::vector<DWORD> colours;
    std::vector<int> paragraphs;
    TFontEntry* font = nullptr;
    DWORD colour = 0;
    bool raw = false;
    bool selected = false;
    bool inLink = false;
    CUIString linkText;
    POINT linkStart = {0, 0};
    int linkIndex = 0;
    int lineFirstLink = 0;
};

enum class LineEnd { Text, Break, Full };

class CTaggedTextLayout {
public:
    CTaggedTextLayout(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD colour,
                      RECT* linkRects, CUIString* linkTexts, int& linkCount, int fontId, UINT style)
        : m_dc(dc), m_manager(manager), m_rc(rc), m_text(text), m_colour(colour), m_linkRects(linkRects),
          m_linkTexts(linkTexts), m_linkCapacity(linkRects != nullptr && linkTexts != nullptr ? linkCount : 0),
          m_linkCount(linkCount), m_fontId(fontId), m_style(style), m_drawing((style & DT_CALCRECT) == 0)
    {
    }

    void Run();

private:
    TFontEntry* BaseFont() const;
    TFontEntry* Variant(const TFontEntry* from, bool bold, bool underline, bool italic);
    TFontEntry* FontByFace(const wchar_t* face, int size, bool bold, bool underline, bool italic);
    void SelectFont(TFontEntry* font);
    void PushFont(TFontEntry* font);
    void PopFont();
    void SetColour(DWORD colour);
    int FontLineHeight() const;
    int ParagraphExtra() const;

    LineEnd ProcessLine(bool draw);
    bool ApplyTag(const TTag& tag, bool draw, LineEnd& end);
    bool PlaceImage(const TTag& tag, bool draw);
    bool PlaceSpace(bool draw);
    bool PlaceRun(bool draw);
    void EndLine();
    void RecordLinkRect(int index, const RECT& rc);

    HDC m_dc;
    CPaintManagerUI* m_manager;
    RECT& m_rc;
    const wchar_t* m_text;
    DWORD m_colour;
    RECT* m_linkRects;
    CUIString* m_linkTexts;
    int m_linkCapacity;
    int& m_linkCount;
    int m_fontId;
    UINT m_style;
    bool m_drawing;
    // True in the pass that records links (the measuring pass of a line).
    bool m_recording = false;

    TLayoutState m_state;
    TEXTMETRICW m_metrics = {};
    CUIString m_hoverLink;
    int m_maxX = 0;
    int m_imageBottom = 0;
};

TFontEntry* CTaggedTextLayout::BaseFont() const
{
    return m_manager->FontEntry(m_fontId);
}

TFontEntry* CTaggedTextLayout::FontByFace(const wchar_t* face, int size, bool bold, bool underline, bool italic)
{
    HFONT known = m_manager->FindFont(face, size, bold, underline, italic);
    if (known != nullptr) return m_manager->FontEntryOfHandle(known);
    // Made fonts are kept per face, size and style, never under one shared id.
    CDpiScaler* scaler = m_manager->DpiScaler();
    const int height = scaler != nullptr ? scaler->ScaleValue(size) : size;
    return m_manager->FontVariants().Obtain(face, size, height, bold, underline, italic, m_manager->DeviceContext());
}

TFontEntry* CTaggedTextLayout::Variant(const TFontEntry* from, bool bold, bool underline, bool italic)
{
    TFontEntry* made = FontByFace(from->face, from->size, bold, underline, italic);
    return made != nullptr ? made : m_state.font;
}

void CTaggedTextLayout::SelectFont(TFontEntry* font)
{
    if (font == nullptr) font = m_manager->DefaultFontEntry();
    m_state.font = font;
    SelectObject(m_dc, font->font);
    GetTextMetricsW(m_dc, &m_metrics);
    if (m_state.lineHeight < FontLineHeight()) m_state.lineHeight = FontLineHeight();
}

void CTaggedTextLayout::PushFont(TFontEntry* font)
{
    m_state.fonts.push_back(font);
    SelectFont(font);
}

void CTaggedTextLayout::PopFont()
{
    const bool wasItalic = m_metrics.tmItalic != 0;
    ABC abc = {};
    if (wasItalic) GetCharABCWidthsW(m_dc, L' ', L' ', &abc);
    if (!m_state.fonts.empty()) m_state.fonts.pop_back();
    SelectFont(m_state.fonts.empty() ? BaseFont() : m_state.fonts.back());
    if (wasItalic && m_metrics.tmItalic == 0) m_state.pen.x += abc.abcC / 2;
}

void CTaggedTextLayout::SetColour(DWORD colour)
{
    m_state.colour = colour;
    SetTextColor(m_dc, ToColorRef(colour));
}

int CTaggedTextLayout::FontLineHeight() const
{
    return m_metrics.tmHeight + m_metrics.tmExternalLeading;
}

int CTaggedTextLayout::ParagraphExtra() const
{
    return m_state.paragraphs.empty() ? 0 : m_state.paragraphs.back();
}

void CTaggedTextLayout::RecordLinkRect(int index, const RECT& rc)
{
    if (index >= 0 && index < m_linkCapacity) m_linkRects[index] = rc;
}

bool CTaggedTextLayout::ApplyTag(const TTag& tag, bool draw, LineEnd& end)
{
    TLayoutState& s = m_state;
    const bool atLeft = s.pen.x == m_rc.left;
    if (tag.closing) {
        switch (tag.letter) {
        case L'c':
            if (!s.colours.empty()) s.colours.pop_back();
            SetColour(s.colours.empty() ? m_colour : s.colours.back());
            break;
        case L'p':
            if (!s.paragraphs.empty()) s.paragraphs.pop_back();
            if (!atLeft) end = LineEnd::Break;
            break;
        case L's':
            s.selected = !s.selected;
            SetBkMode(m_dc, s.selected ? OPAQUE : TRANSPARENT);
            break;
        case L'a':
            if (s.inLink && m_recording && s.linkIndex < m_linkCapacity) {
                const LONG right = s.pen.x < m_rc.right ? s.pen.x : m_rc.right;
                RecordLinkRect(s.linkIndex, {s.linkStart.x, s.linkStart.y, right, s.pen.y + FontLineHeight()});
            }
            if (s.inLink) ++s.linkIndex;
            s.inLink = false;
            if (!s.colours.empty()) s.colours.pop_back();
            SetColour(s.colours.empty() ? m_colour : s.colours.back());
            PopFont();
            break;
        case L'b':
        case L'f':
        case L'i':
        case L'u':
            PopFont();
            break;
        default:
            break;
        }
        return true;
    }

    switch (tag.letter) {
    case L'a': {
        const CUIString text(SkipBlanks(tag.argument));
        if (m_recording && s.linkIndex < m_linkCapacity) m_linkTexts[s.linkIndex] = text;
        DWORD colour = m_colour != 0 ? m_colour : m_manager->DefaultLinkTextColor();
        if (!m_hoverLink.IsEmpty() && m_hoverLink == text) colour = m_manager->DefaultLinkHoverTextColor();
        s.colours.push_back(colour);
        SetColour(colour);
        PushFont(s.font->underline ? s.font : Variant(s.font, s.font->bold, true, s.font->italic));
        s.inLink = true;
        s.linkText = text;
        s.linkStart = s.pen;
        break;
    }
    case L'b':
        PushFont(s.font->bold ? s.font : Variant(s.font, true, s.font->underline, s.font->italic));
        break;
    case L'u':
        PushFont(s.font->underline ? s.font : Variant(s.font, s.font->bold, true, s.font->italic));
        break;
    case L'c': {
        const wchar_t* arg = SkipBlanks(tag.argument);
        if (*arg == L'#') ++arg;
        const DWORD colour = static_cast<DWORD>(std::wcstoul(arg, nullptr, 16));
        s.colours.push_back(colour);
        SetColour(colour);
        break;
    }
    case L'f': {
        const wchar_t* arg = SkipBlanks(tag.argument);
        if (*arg >= L'0' && *arg <= L'9') {
            PushFont(m_manager->FontEntry(static_cast<int>(std::wcstol(arg, nullptr, 10))));
            break;
        }
        const wchar_t* faceEnd = arg;
        while (*faceEnd != L'\0' && *faceEnd != L' ') ++faceEnd;
        const CUIString face(arg, static_cast<int>(faceEnd - arg));
        const wchar_t* rest = SkipBlanks(faceEnd);
        int size = 10;
        if (*rest >= L'0' && *rest <= L'9') {
            wchar_t* stop = nullptr;
            size = static_cast<int>(std::wcstol(rest, &stop, 10));
            rest = stop;
        }
        CUIString words(rest);
        words.ToLower();
        TFontEntry* font = FontByFace(face, size, words.IndexOf(L"bold") >= 0, words.IndexOf(L"underline") >= 0,
                                      words.IndexOf(L"italic") >= 0);
        PushFont(font != nullptr ? font : s.font);
        break;
    }
    case L'i':
        if (tag.argument.IsEmpty()) {
            PushFont(s.font->italic ? s.font : Variant(s.font, s.font->bold, s.font->underline, true));
            break;
        }
        return PlaceImage(tag, draw);
    case L'n':
        if ((m_style & DT_SINGLELINE) == 0) {
            end = LineEnd::Break;
            return true;
        }
        break;
    case L'p':
        s.paragraphs.push_back(TagPixels(tag.argument, -kMaxTagPixels));
        if (!atLeft) end = LineEnd::Break;
        break;
    case L'r':
        s.raw = true;
        break;
    case L's':
        s.selected = !s.selected;
        SetBkMode(m_dc, s.selected ? OPAQUE : TRANSPARENT);
        break;
    case L'x':
        s.pen.x = ClampPixels(static_cast<long>(s.pen.x) + TagPixels(tag.argument, -kMaxTagPixels),
                              m_rc.left - kMaxTagPixels, m_rc.right + kMaxTagPixels);
        break;
    case L'y':
        // The drawing pass keeps the height its line was measured with.
        if (!draw) s.lineHeight = TagPixels(tag.argument, 0);
        break;
    default:
        break;
    }
    return true;
}

// False when the image does not fit and the line must end first.
bool CTaggedTextLayout::PlaceImage(const TTag& tag, bool draw)
{
    TLayoutState& s = m_state;
    const TImageRef ref = ParseImageRef(tag.argument);
    const TImageEntry* image =
        ref.name.IsEmpty() ? nullptr
                           : m_manager->FindOrLoadImage(ref.name, ref.type.IsEmpty() ? nullptr : ref.type.CStr());
    if (image == nullptr) return true;
    const int w = ref.count > 1 ? image->width / ref.count : image->width;
    const int h = image->height;
    if (s.pen.x + w > m_rc.right && s.pen.x > m_rc.left && (m_style & DT_SINGLELINE) == 0) return false;
    if (s.lineHeight < h) s.lineHeight = h;
    if (draw) {
        int top = s.pen.y + s.lineHeight - h;
        if (h < s.lineHeight) top -= (s.lineHeight - h) / 2;
        const RECT dest = {s.pen.x, top, s.pen.x + w, top + h};
        const RECT source = {ref.index * w, 0, (ref.index + 1) * w, h};
        CRenderKit::DrawBitmap(m_dc, image->bitmap, dest, m_rc, source, {0, 0, 0, 0}, image->hasAlpha, 255, false,
                               false, false);
    }
    const int bottom = s.pen.y + s.lineHeight;
    if (bottom > m_imageBottom) m_imageBottom = bottom;
    s.pen.x += w;
    return true;
}

bool CTaggedTextLayout::PlaceSpace(bool draw)
{
    TLayoutState& s = m_state;
    SIZE size = {};
    GetTextExtentPoint32W(m_dc, L" ", 1, &size);
    if (s.pen.x + size.cx > m_rc.right && s.pen.x > m_rc.left) {
        ++s.p;
        return false;
    }
    if (draw) TextOutW(m_dc, s.pen.x, s.pen.y + s.lineHeight - FontLineHeight(), L" ", 1);
    s.pen.x += size.cx;
    ++s.p;
    return true;
}

// Draws the run of text at p; false when it did not fit (the line ends).
bool CTaggedTextLayout::PlaceRun(bool draw)
{
    TLayoutState& s = m_state;
    const wchar_t* start = s.p;
    const wchar_t* end = start;
    if (s.raw) {
        while (*end != L'\0' && *end != L'\n' && *end != L' ' && !IsRawEnd(end)) ++end;
    } else {
        while (*end != L'\0' && *end != L'\n' && *end != L' ' && *end != L'<' && *end != L'{') ++end;
    }
    int length = static_cast<int>(end - start);
    if (length == 0) {
        // A bracket that starts no tag is drawn as itself.
        length = 1;
        end = start + 1;
    }

    const int room = m_rc.right - s.pen.x;
    int fit = length;
    SIZE size = {};
    bool full = false;
    // The estimate spares measuring runs that are far from the edge.
    if (s.pen.x + length * m_metrics.tmMaxCharWidth >= m_rc.right) {
        INT fitted = 0;
        GetTextExtentExPointW(m_dc, start, length, room > 0 ? room : 0, &fitted, nullptr, &size);
        fit = fitted;
        full = fit < length;
    }
    const bool atLeft = s.pen.x == m_rc.left;
    bool ellipsis = false;
    if (full) {
        if (fit == 0 && atLeft) fit = 1; // always make progress
        if (m_style & DT_WORDBREAK) {
            int cut = 0;
            for (int i = 0; i < fit; ++i) {
                if (!IsAsciiLetter(start[i])) cut = i + 1;
            }
            if (cut > 0) fit = cut;
            else if (!atLeft) fit = 0;
        }
        if ((m_style & DT_END_ELLIPSIS) != 0 && fit >= 1) {
            fit -= fit > 1 ? 2 : 1;
            if (fit < 0) fit = 0;
            ellipsis = true;
        }
    }
    GetTextExtentPoint32W(m_dc, start, fit, &size);
    if (fit > 0 && draw) {
        int x = s.pen.x;
        if ((m_style & DT_SINGLELINE) == 0) {
            if (m_style & DT_CENTER) x += (m_rc.right - m_rc.left - size.cx) / 2;
            else if (m_style & DT_RIGHT) x += (m_rc.right - m_rc.left) - size.cx;
        }
        const int y = s.pen.y + s.lineHeight - FontLineHeight();
        TextOutW(m_dc, x, y, start, fit);
        if (ellipsis) TextOutW(m_dc, x + size.cx, y, L"...", 3);
    } else if (ellipsis && draw) {
        TextOutW(m_dc, s.pen.x, s.pen.y + s.lineHeight - FontLineHeight(), L"...", 3);
    }
    s.pen.x += size.cx;
    if (ellipsis) s.pen.x = m_rc.right;
    if (s.pen.x > m_maxX) m_maxX = s.pen.x;
    s.p = start + fit;
    return !full;
}

LineEnd CTaggedTextLayout::ProcessLine(bool draw)
{
    TLayoutState& s = m_state;
    while (*s.p != L'\0') {
        if (s.pen.x >= m_rc.right) return LineEnd::Full;
        if (*s.p == L'\n') {
            ++s.p;
            return LineEnd::Break;
        }
        if (s.raw) {
            if (IsRawEnd(s.p)) {
                s.p += 4;
                s.raw = false;
                continue;
            }
        } else {
            wchar_t escaped = 0;
            TTag tag;
            if (ReadEscape(s.p, escaped)) {
                SIZE size = {};
                GetTextExtentPoint32W(m_dc, &escaped, 1, &size);
                if (draw) TextOutW(m_dc, s.pen.x, s.pen.y + s.lineHeight - FontLineHeight(), &escaped, 1);
                s.pen.x += size.cx;
                if (s.pen.x > m_maxX) m_maxX = s.pen.x;
                s.p += 3;
                continue;
            }
            if (ReadTag(s.p, tag)) {
                LineEnd end = LineEnd::Text;
                // An image that does not fit is read again on the next line.
                if (!ApplyTag(tag, draw, end)) return LineEnd::Full;
                s.p = tag.next;
                if (end != LineEnd::Text) return end;
                if (s.pen.x > m_maxX) m_maxX = s.pen.x;
                continue;
            }
            if ((*s.p == L'<' || *s.p == L'{') && IsLowerLetter(s.p[1])) {
                // Malformed tag: skipped up to its closing bracket.
                const wchar_t* q = s.p + 1;
                while (*q != L'\0' && !IsCloseBracket(*q)) ++q;
                s.p = *q != L'\0' ? q + 1 : q;
                continue;
            }
        }
        if (*s.p == L' ') {
            if (!PlaceSpace(draw)) return LineEnd::Full;
            continue;
        }
        if (!PlaceRun(draw)) return LineEnd::Full;
    }
    return LineEnd::Text;
}

void CTaggedTextLayout::EndLine()
{
    TLayoutState& s = m_state;
    const int bottom = s.pen.y + s.lineHeight;
    for (int i = s.lineFirstLink; i < s.linkIndex && i < m_linkCapacity; ++i) m_linkRects[i].bottom = bottom;
    if (s.inLink) {
        const LONG right = s.pen.x < m_rc.right ? s.pen.x : m_rc.right;
        RecordLinkRect(s.linkIndex, {s.linkStart.x, s.linkStart.y, right, bottom});
        ++s.linkIndex;
        if (s.linkIndex < m_linkCapacity) m_linkTexts[s.linkIndex] = s.linkText;
        s.linkStart = {m_rc.left, bottom};
    }
    s.lineFirstLink = s.linkIndex;
    s.pen.x = m_rc.left;
    s.pen.y = bottom;
    s.lineHeight = FontLineHeight() + ParagraphExtra();
}

void CTaggedTextLayout::Run()
{
    const bool align = m_drawing && (m_style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0;
    if (align) {
        RECT measured = {0, 0, 9999, 100};
        int none = 0;
        CRenderKit::DrawTaggedText(m_dc, m_manager, measured, m_text, m_colour, nullptr, nullptr, none, m_fontId,
                                   m_style | DT_CALCRECT);
        const int mw = measured.right - measured.left;
        const int mh = measured.bottom - measured.top;
        if (m_style & DT_SINGLELINE) {
            if (m_style & DT_CENTER) {
                m_rc.left = m_rc.left + (m_rc.right - m_rc.left) / 2 - mw / 2;
                m_rc.right = m_rc.left + mw;
            } else if (m_style & DT_RIGHT) {
                m_rc.left = m_rc.right - mw;
            }
        }
        if (m_style & DT_VCENTER) {
            m_rc.top = m_rc.top + (m_rc.bottom - m_rc.top) / 2 - mh / 2;
            m_rc.bottom = m_rc.top + mh;
        } else if (m_style & DT_BOTTOM) {
            m_rc.top = m_rc.bottom - mh;
        }
    }

    if (m_linkCapacity > 0 && m_drawing) {
        const POINT mouse = m_manager->LastMousePoint();
        for (int i = 0; i < m_linkCapacity; ++i) {
            if (PtInRect(&m_linkRects[i], mouse)) {
                m_hoverLink = m_linkTexts[i];
                break;
            }
        }
    }

    CRenderClip clip;
    if (m_drawing) CRenderClip::ClipToRect(m_dc, m_rc, clip);
    const HGDIOBJ oldFont = GetCurrentObject(m_dc, OBJ_FONT);
    const int oldMode = SetBkMode(m_dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(m_dc, ToColorRef(m_colour));
    const COLORREF oldBack = SetBkColor(m_dc, ToColorRef(m_manager->DefaultSelectedBackColor()));

    m_state.p = m_text;
    m_state.colour = m_colour;
    SelectFont(BaseFont());
    m_state.pen = {m_rc.left, m_rc.top};
    m_state.lineHeight = FontLineHeight();
    m_maxX = m_rc.left;

    while (*m_state.p != L'\0') {
        if (m_drawing) {
            // Measure the line first so that everything on it shares its bottom.
            const TLayoutState saved = m_state;
            m_recording = true;
            ProcessLine(false);
            const int height = m_state.lineHeight;
            m_state = saved;
            m_state.lineHeight = height;
            SelectFont(m_state.font);
            SetColour(m_state.colour);
            SetBkMode(m_dc, m_state.selected ? OPAQUE : TRANSPARENT);
            m_recording = false;
            ProcessLine(true);
        } else {
            m_recording = true;
            ProcessLine(false);
        }
        if (*m_state.p == L'\0') break;
        if (m_style & DT_SINGLELINE) break;
        m_recording = true;
        EndLine();
        if (m_drawing && m_state.pen.y >= m_rc.bottom) break;
    }

    m_linkCount = m_state.linkIndex < m_linkCapacity ? m_state.linkIndex : m_linkCapacity;
    if (!m_drawing) {
        const int textBottom = m_state.pen.y + m_state.lineHeight;
        m_rc.bottom = m_imageBottom > textBottom ? m_imageBottom : textBottom;
        if (m_maxX < m_rc.right) m_rc.right = m_maxX;
    }
    SelectObject(m_dc, oldFont);
    SetBkMode(m_dc, oldMode);
    SetTextColor(m_dc, oldColour);
    SetBkColor(m_dc, oldBack);
}

} // namespace

void CRenderKit::DrawTaggedText(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD argb,
                                RECT* linkRects, CUIString* linkTexts, int& linkCount, int fontId, UINT style)
{
    if (dc == nullptr || manager == nullptr || text == nullptr || text[0] == L'\0') return;
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    CTaggedTextLayout layout(dc, manager, rc, text, argb, linkRects, linkTexts, linkCount, fontId, style);
    layout.Run();
}

} // namespace SkinUI
