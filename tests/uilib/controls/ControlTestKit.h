#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

namespace SkinUITest {

// Records every notification a paint manager delivers.
class NotifyRecorder : public SkinUI::INotifyUI {
public:
    struct Entry {
        std::wstring type;
        SkinUI::CControlUI* sender;
        WPARAM wParam;
    };

    explicit NotifyRecorder(SkinUI::CPaintManagerUI& manager);
    virtual ~NotifyRecorder();
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;

    int Count(const wchar_t* type) const;
    // The types in order, joined with blanks.
    std::wstring Types() const;
    const std::vector<Entry>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    SkinUI::CPaintManagerUI& m_manager;
    std::vector<Entry> m_entries;
};

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

// Dispatches the queued messages of the thread.
void Pump();
// Pumps until no message has come for a few milliseconds: focus changes
// between top-level windows reach the process as X events, a little later.
void Settle();

// Hands one event of the given type at (x, y) to the control.
void SendEvent(SkinUI::CControlUI& control, int type, int x = 0, int y = 0, WPARAM wParam = 0);
void SendKey(SkinUI::CControlUI& control, WORD key);

} // namespace SkinUITest
