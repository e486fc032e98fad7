#pragma once

#include <windows.h>

#include "uilib/control/OverlayLabel.h"

namespace SkinUI {

class CDateTimeWnd;

// A label showing a date as year-month-day that lays the system date picker
// over itself for editing.
class CDateTimeUI : public COverlayLabelUI {
public:
    enum UpdateMode { kUpdateNone = 0, kUpdateShow = 1, kUpdateClear = 2 };

    CDateTimeUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;

    void SetDateTime(const SYSTEMTIME& time);
    const SYSTEMTIME& GetDateTime() const { return m_time; }
    // Stores the date without touching the text.
    void StoreDateTime(const SYSTEMTIME& time) { m_time = time; }
    int GetUpdateMode() const { return m_updateMode; }
    void SetUpdateMode(int mode) { m_updateMode = mode; }
    // Applies the update mode: show the date, empty the text, or nothing.
    void RefreshText();
    // Refreshes the text with the date shown (and the mode back to none).
    void ShowDate();

    CDateTimeWnd* GetPicker() const;

    // "%4d-%02d-%02d" of the date.
    static CUIString FormatDate(const SYSTEMTIME& time);

protected:
    COverlayWnd* CreateOverlay() override;

private:
    SYSTEMTIME m_time;
    int m_updateMode;
};

} // namespace SkinUI
