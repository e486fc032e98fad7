#include "ListTestKit.h"

#include <cwchar>

namespace ListTest {

CtrlHeld::CtrlHeld()
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
}

CtrlHeld::~CtrlHeld()
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

SkinUI::CListLabelElementUI* NewRow(const wchar_t* text, int height)
{
    SkinUI::CListLabelElementUI* row = new SkinUI::CListLabelElementUI();
    row->SetTextContent(text);
    row->SetFixedHeightValue(height);
    return row;
}

void AddRows(SkinUI::IContainerUI& rows, int count, int height)
{
    for (int i = 0; i < count; ++i) {
        wchar_t name[16];
        _snwprintf(name, 16, L"r%d", i);
        SkinUI::CListLabelElementUI* row = NewRow(name, height);
        row->SetControlName(name);
        rows.AddChild(row);
    }
}

namespace {

BOOL CALLBACK CountWindow(HWND window, LPARAM counter)
{
    if (IsWindow(window)) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

} // namespace

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace ListTest
