// What the update and forced-update windows share: their workers post
// their progress to the window and only the UI thread changes controls; the
// close is held while a transfer runs, a transfer locks the window's
// buttons, and the tips line tells where it stands.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "uilib/core/WindowBase.h"

class DspDevice;

class CFirmwareWndBase : public SkinUI::WindowImplBase {
public:
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // Another program's WM_CLOSE would stop the transfer with the unit part way through an image.
    bool RefusesOutsideClose() const override { return IsWorking(); }
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // Whether a transfer, the unit's restart after it or a reset runs: the
    // buttons wait for its end, and so does a close. A window idle after a
    // failure closes like any other.
    bool IsWorking() const { return m_working; }

protected:
    // openSlot holds the window from its build to its end, for the opener's
    // lookup; locked names the count controls a transfer disables.
    CFirmwareWndBase(DspDevice& device, CFirmwareWndBase** openSlot, const wchar_t* const* locked, size_t count);
    ~CFirmwareWndBase() override;

    // Asks the workers to stop at their next step and waits for them.
    virtual void StopWorkers() = 0;
    // A message of the window's own (a worker's post, a timer); false for
    // any other.
    virtual bool HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    void SetButtonsEnabled(bool enabled);
    void SetTips(const wchar_t* text);
    // A transfer that failed reads as failed, not as one still running: the
    // tips and the named bar (null: none), where it stopped, in the danger
    // colour until the next tips.
    void ShowFailure(const wchar_t* text, const wchar_t* bar);

    DspDevice& m_device;
    std::atomic<uint8_t> m_abortRequested{0};
    HWND m_target = nullptr;  // where the workers post

private:
    CFirmwareWndBase** m_openSlot;
    const wchar_t* const* m_locked;
    size_t m_lockedCount;
    bool m_working = false;
    DWORD m_tipsColor = 0;  // the tips' own colour, as the skin gives it
    SkinUI::CControlUI* m_failedBar = nullptr;
    DWORD m_barColor = 0;  // the failed bar's own colour
};
