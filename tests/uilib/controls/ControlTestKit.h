#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

namespace SkinUITest {

// A skin folder of test images, made for one test and removed after it.
class SkinImageFolder {
public:
    SkinImageFolder();
    ~SkinImageFolder();
    SkinImageFolder(const SkinImageFolder&) = delete;
    SkinImageFolder& operator=(const SkinImageFolder&) = delete;

    // A PNG strip of equal square cells of the given 0xRRGGBB colours.
    bool Write(const wchar_t* name, int cell, const std::vector<uint32_t>& colours);

private:
    std::wstring m_folder;
    std::wstring m_oldFolder;
    std::vector<std::wstring> m_files;
};

// A plain top-level window whose messages go to its paint manager.
class HostWindow : public SkinUI::CWindowWnd {
public:
    const wchar_t* GetWndClassName() const override { return L"BrisaControlTestHost"; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Attach();
    void Detach() { m_attached = false; }

    SkinUI::CPaintManagerUI pm;

private:
    bool m_attached = false;
};

// Pump dispatches the queued messages of the thread; Settle pumps until no
// message has come for a few milliseconds: focus changes between top-level
// windows reach the process as X events, a little later. A window that
// keeps asking (a paint that asks for the next) fails the
// caller's line after kSettleCeilingMs, in either; false then.
bool Pump(const char* file = __builtin_FILE(), int line = __builtin_LINE());
bool Settle(const char* file = __builtin_FILE(), int line = __builtin_LINE());

} // namespace SkinUITest
