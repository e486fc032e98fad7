// The firmware update window: the user picks an upgrade file and the
// device library's engine sends it on a worker thread, which only posts its
// progress and result here; the controls change on the UI thread.
#pragma once

#include <atomic>

#include "app/windows/FirmwareTransfer.h"
#include "app/windows/FirmwareWndBase.h"
#include "device/WorkerThread.h"

class CUpdateFwWnd : public CFirmwareWndBase {
public:
    // Worker to window: progress (wParam percent), finished, failed, the
    // file or the unit's entry into upgrade mode refused.
    static constexpr UINT kMsgProgress = kFwMsgProgress;
    static constexpr UINT kMsgFinished = kFwMsgFinished;
    static constexpr UINT kMsgFailed = kFwMsgFailed;
    static constexpr UINT kMsgNotAccepted = kFwMsgNotAccepted;
    static constexpr size_t kPathChars = 260;

    explicit CUpdateFwWnd(DspDevice& device);
    ~CUpdateFwWnd() override;

    const wchar_t* GetWndClassName() const override { return L"UpdateFwWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_UPDATE_FW"; }
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;

    // Takes path as the chosen file (what the file chooser does on OK).
    void ChooseFile(const wchar_t* path);
    // Starts the transfer of the chosen file; nothing without a link.
    void BeginUpdate();
    bool IsUpdating() const { return m_worker.IsStarted() && !m_workerDone.load(); }

protected:
    void StopWorkers() override;
    bool HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Upg_GetOpenFileName();
    static void UpgradeThread(void* window);
    void RunUpgrade();

    wchar_t m_path[kPathChars] = {};
    wchar_t m_workerPath[kPathChars] = {};
    std::atomic<bool> m_workerDone{false};
    WorkerThread m_worker{&CUpdateFwWnd::UpgradeThread, this};
};

// The update window while it is open, else null: the unit's return after
// its restart closes it.
CUpdateFwWnd* OpenUpdateFwWindow();

// Opens the window modally over parent for device; its close code (1 when
// the unit's return after its restart closed it).
int OpenUpdateFwWnd(HWND parent, DspDevice& device);
