// The forced firmware update: the program's own MCU and DSP images go to the
// unit in two stages, each ending in the unit's restart; its return moves
// the window to the next stage, and a check box adds a factory reset at the
// end. Workers only post their progress here; the controls change on the UI
// thread.
#pragma once

#include <atomic>

#include "app/windows/FirmwareWndBase.h"
#include "device/WorkerThread.h"

class CForceUpdateWnd : public CFirmwareWndBase {
public:
    // Besides the transfer's messages: stage started, and the factory reset
    // answered (wParam: a ResetEnd). lParam of every worker message: the
    // stage that posted it.
    static constexpr UINT kMsgMcuStarted = 1259;
    static constexpr UINT kMsgFlashStarted = 1260;
    static constexpr UINT kMsgFactoryDone = 1240;
    static constexpr size_t kPathChars = 260;
    enum Stage { kStageIdle = 0, kStageMcu = 1, kStageFlash = 2, kStageFactory = 3 };
    // Without the acknowledgement the reset failed: the unit silent, or gone.
    enum ResetEnd { kResetAcknowledged = 0, kResetUnanswered = 1, kResetLeft = 2 };

    // reloadAfterClose, when given, is set once the unit came back from the
    // last stage: the opener then reads the unit again. resetUnanswered,
    // when given, is set when the unit left the reset unanswered: the opener
    // then lets the link go.
    CForceUpdateWnd(DspDevice& device, bool* reloadAfterClose, bool* resetUnanswered = nullptr);
    ~CForceUpdateWnd() override;

    const wchar_t* GetWndClassName() const override { return L"ForceUpdateWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_FORCE_UPDATE"; }
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;

    // mcuText is shown as the MCU file, mcuPath and flashPath are sent; an
    // empty text leaves its label and path as they are.
    void SetFiles(const wchar_t* mcuText, const wchar_t* mcuPath, const wchar_t* flashPath);
    // Starts the next stage (MCU, then DSP); nothing without a link.
    void BeginUpdate();
    // The unit came back after its restart.
    void OnDeviceReconnected();
    void ResetMcuFactoryDefault();
    int CurrentStage() const { return m_stage; }

protected:
    void StopWorkers() override;
    // The workers' messages, and the timer that gives up on the unit's return.
    bool HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static void UpgradeThread(void* window);
    static void FactoryDefaultThread(void* window);
    void RunFactoryDefault();
    // A transfer that did not go through: the stage can be tried again, and
    // the window can be left.
    void StageFailed(const wchar_t* tips);
    void SetProgress(const wchar_t* name, int value);
    bool ShowsText(const wchar_t* name);

    bool* m_reloadAfterClose;
    bool* m_resetUnanswered;
    // The stage running; after a failed one, the stage before it, so that
    // the update button begins the failed stage again. Not what holds a close.
    int m_stage = kStageIdle;
    wchar_t m_mcuPath[kPathChars] = {};
    wchar_t m_flashPath[kPathChars] = {};
    std::atomic<int> m_workerStage{kStageIdle};
    WorkerThread m_upgrade{&CForceUpdateWnd::UpgradeThread, this};
    WorkerThread m_factory{&CForceUpdateWnd::FactoryDefaultThread, this};
};

// The forced update window while it is open, else null.
CForceUpdateWnd* OpenForceUpdateWindow();

// Creates the window over parent, gives it the texts and runs it modally;
// kForceUpdateUnitSilent when the unit left the factory reset unanswered, 1
// when it came back from the last stage, else the close code.
constexpr int kForceUpdateUnitSilent = -1;
int OpenForceUpdateWnd(HWND parent, DspDevice& device, const wchar_t* mcuText, const wchar_t* mcuPath,
                       const wchar_t* flashPath);
