#include "uilib/core/RenderKit.h"

#include <cwchar>
#include <gdiplus.h>

#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// "&#x" followed by up to four hexadecimal digits draws that one character
// (icon fonts); anything else is drawn as given.
CUIString ShownText(const wchar_t* text)
{
    const wchar_t* ref = std::wcsstr(text, L"&#x");
    if (ref == nullptr) return CUIString(text);
    CUIString digits(ref + 3);
    if (digits.Length() > 4) digits = digits.Prefix(4);
    if (!digits.IsEmpty() && digits.CharAt(digits.Length() - 1) == L' ') digits = digits.Prefix(digits.Length() - 1);
    if (!digits.IsEmpty() && digits.CharAt(digits.Length() - 1) == L';') digits = digits.Prefix(digits.Length() - 1);
    return CUIString(static_cast<wchar_t>(std::wcstoul(digits, nullptr, 16)));
}

void DrawWithGdi(HDC dc, CPaintManagerUI* manager, RECT& rc, const CUIString& text, DWORD argb, int fontId,
                 UINT style)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(argb));
    HGDIOBJ old = SelectObject(dc, manager->FontHandle(fontId));
    DrawTextW(dc, text, -1, &rc, style);
    SelectObject(dc, old);
}

// False when GDI+ cannot use the font (not TrueType): the caller draws with GDI.
bool DrawWithGdiplus(HDC dc, CPaintManagerUI* manager, RECT& rc, const CUIString& text, DWORD argb, int fontId,
                     UINT style)
{
    HFONT font = manager->FontHandle(fontId);
    HGDIOBJ old = SelectObject(dc, font);
    LOGFONTW lf = {};
    Gdiplus::Font* gpFont = GetObjectW(font, sizeof(lf), &lf) != 0 ? new Gdiplus::Font(dc, &lf) : new Gdiplus::Font(dc);
    if (gpFont->GetLastStatus() != Gdiplus::Ok) {
        delete gpFont;
        SelectObject(dc, old);
        return false;
    }
    Gdiplus::Graphics graphics(dc);
    const int hint = manager->GdiplusTextRenderingHint();
    graphics.SetTextRenderingHint(
        static_cast<Gdiplus::TextRenderingHint>(hint >= 1 && hint <= 5 ? hint : 0));
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);

    Gdiplus::StringFormat* format = Gdiplus::StringFormat::GenericTypographic()->Clone();
    if (style & DT_END_ELLIPSIS) format->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    INT flags = format->GetFormatFlags();
    if (style & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
    if (style & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
    format->SetFormatFlags(flags);
    format->SetAlignment((style & DT_CENTER)  ? Gdiplus::StringAlignmentCenter
                         : (style & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                              : Gdiplus::StringAlignmentNear);
    format->SetLineAlignment((style & DT_VCENTER)  ? Gdiplus::StringAlignmentCenter
                             : (style & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                   : Gdiplus::StringAlignmentNear);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                                static_cast<Gdiplus::REAL>(rc.right - rc.left),
                                static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    if (style & DT_CALCRECT) {
        Gdiplus::RectF bounds;
        graphics.MeasureString(text, -1, gpFont, layout, format, &bounds);
        rc.bottom = rc.top + static_cast<LONG>(bounds.Height) + 1;
        rc.right = rc.left + static_cast<LONG>(bounds.Width) + 1;
    } else {
        Gdiplus::SolidBrush brush{Gdiplus::Color((argb & 0x00FFFFFFu) | 0xFE000000u)};
        graphics.DrawString(text, -1, gpFont, layout, format, &brush);
    }
    delete format;
    delete gpFont;
    SelectObject(dc, old);
    return true;
}

} // namespace

void CRenderKit::DrawControlText(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD argb,
                                 int fontId, UINT style, bool tagged)
{
    if (!tagged) {
        DrawPlainText(dc, manager, rc, text, argb, fontId, style);
        return;
    }
    int links = 0;
    DrawTaggedText(dc, manager, rc, text, argb, nullptr, nullptr, links, fontId, style);
}

void CRenderKit::DrawPlainText(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text, DWORD argb,
                               int fontId, UINT style)
{
    if (dc == nullptr || manager == nullptr || text == nullptr || text[0] == L'\0') return;
    const CUIString shown = ShownText(text);
    if (manager->IsLayeredMode() || manager->UsesGdiplusText()) {
        if (DrawWithGdiplus(dc, manager, rc, shown, argb, fontId, style)) return;
    }
    DrawWithGdi(dc, manager, rc, shown, argb, fontId, style);
}

void CRenderKit::DrawTextOverColor(HDC dc, CPaintManagerUI* manager, RECT& rc, const wchar_t* text,
                                   DWORD textArgb, int fontId, UINT style, DWORD backArgb)
{
    if (manager == nullptr || text == nullptr || text[0] == L'\0') return;
    FillRectColor(dc, rc, backArgb);
    DrawPlainText(dc, manager, rc, text, textArgb, fontId, style);
}

CUISize CRenderKit::MeasureTextExtent(HDC dc, CPaintManagerUI* manager, const wchar_t* text, int fontId)
{
    CUISize size;
    if (dc == nullptr || manager == nullptr || text == nullptr || text[0] == L'\0') return size;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, manager->FontHandle(fontId));
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    SelectObject(dc, old);
    return size;
}

} // namespace SkinUI
