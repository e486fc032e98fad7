#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "uilib/core/UIManager.h"

namespace SkinUITest {

// Records every notification a paint manager delivers, with both parameters.
class NotifyRecorder : public SkinUI::INotifyUI {
public:
    struct Entry {
        std::wstring type;
        SkinUI::CControlUI* sender;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit NotifyRecorder(SkinUI::CPaintManagerUI& manager);
    virtual ~NotifyRecorder();
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;

    int Count(const wchar_t* type) const;
    // The wParam values of every notification of that type, in order.
    std::vector<int> Params(const wchar_t* type) const;
    // The types in order, joined with blanks.
    std::wstring Types() const;
    const std::vector<Entry>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    SkinUI::CPaintManagerUI& m_manager;
    std::vector<Entry> m_entries;
};

} // namespace SkinUITest
