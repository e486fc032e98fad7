// The one object through which the program talks to the unit: the HID link,
// the command queue with its worker, and the state the replies update.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "device/DspCmdQueue.h"
#include "device/DspCommandRecords.h"
#include "device/FirmwareFile.h"
#include "device/FrameCodec.h"
#include "device/UpgradeBlocks.h"
#include "device/WorkerThread.h"

struct hid_device_;
class ReplyPoster;

// Receives every checksum-valid frame read from the unit, on the reading thread.
class IFrameHandler {
public:
    virtual ~IFrameHandler() = default;
    // payload: subcommand, optype and data; length is the frame's L (payload bytes + 1).
    virtual void OnFrame(uint8_t length, uint8_t type, const uint8_t* payload) = 0;
};

class DspDevice {
public:
    static constexpr uint16_t kVendorId = 0x0483;
    static constexpr uint16_t kProductId = 0x5750;
    static constexpr uint32_t kReplyWaitMs = 10000;
    static constexpr uint32_t kWriteWaitMs = 2000;
    // Failed reads in a row after which the unit counts as gone.
    static constexpr int kFailedReadsBeforeGone = 3;

    DspDevice();
    // Stops the worker (the command in progress finishes, the rest is
    // discarded). Does not close the link: the owner closes it first.
    ~DspDevice();
    DspDevice(const DspDevice&) = delete;
    DspDevice& operator=(const DspDevice&) = delete;

    void SetDeviceConfig(uint8_t modelId, uint32_t outputCount, uint32_t inputCount,
                         uint32_t trimHundredths, uint8_t noiseToMainWnd);
    void SetMainWnd(HWND wnd);
    void SetFrameHandler(IFrameHandler* handler) { mFrameHandler.store(handler); }

    // Async mode on: commands not sent synchronously are queued; off: dropped.
    void EnableAsyncMode();
    // Returns at once: the worker takes nothing more from the queue and drops
    // what is still queued once the command in progress has ended.
    void DisableAsyncMode();
    // Returns once the worker has ended the command in progress, so that
    // nothing queued reaches the unit afterwards while async mode stays off.
    // Up to a whole reply wait: for a job's own thread, never the window's.
    void WaitCommandInProgress();
    bool IsAsyncMode() const { return mAsyncMode.load() != 0; }
    // True when every queued command has been sent or discarded.
    bool IsQueueIdle() const { return mDone.load() == mPushed.load(); }
    // Called before every queued command with the window the device reports
    // to; the queue takes one producer, and test builds install a check that
    // it is that window's thread. The program installs none.
    using PushCheck = void (*)(HWND mainWnd, uint8_t subcommand);
    static void SetPushCheck(PushCheck check);
    // Called before every exchange that waits for its answer and every wait
    // for the command in progress (subcommand 0), likewise: test builds count
    // those made on the window's thread, which must never wait on the unit.
    static void SetExchangeCheck(PushCheck check);
    // Called as a reply wait begins, with the length the wait makes (scaled):
    // test builds record the wait each exchange makes. The program installs none.
    using ReplyWaitCheck = void (*)(uint8_t subcommand, uint32_t waitMs);
    static void SetReplyWaitCheck(ReplyWaitCheck check);

    // The link. A close never waits: a read or write still using the old
    // link releases it as it ends, within one read slice. With notify the
    // worker tells the unit on the closed handle that the program leaves.
    void OpenHIDDevice();
    void CloseHIDDevice(bool notify);
    bool IsDeviceOpen() const { return mHidHandle.load() != nullptr; }
    // Changes with every open and close: a job compares it with the link it began on.
    uint32_t LinkSerial() const { return mLinkSerial.load(); }
    // Whether a unit is on the bus now, open or not.
    static bool IsUnitOnBus();
    bool SendCtrlCommand(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                         uint8_t length);
    // Reads one input report (up to timeoutMs) and dispatches its frames.
    bool ReadHIDData(uint8_t* buffer, uint32_t timeoutMs);
    // Reads and dispatches until a frame of this type and subcommand arrived;
    // false when none came within timeoutMs or reads fail (the unit is gone).
    bool ReadReply(uint8_t type, uint8_t subcommand, uint32_t timeoutMs);
    void packet_dispatch(uint8_t length, uint8_t type, const uint8_t* payload);
    uint8_t* ReceiveBuffer() { return mReceiveBuffer; }
    int32_t BytesRead() const { return mBytesRead.load(); }

    // Every command goes through here. sync: send now and wait up to waitMs
    // for the answer (true when it came); otherwise queue while async mode is
    // on (true when queued) or drop. Payloads over 57 bytes are refused.
    bool Submit(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                uint8_t length, bool sync, uint32_t waitMs = kReplyWaitMs);
    // Whether the last waited command got its answer in time; long runs of
    // waited commands stop on a unit that no longer answers.
    bool LastExchangeAnswered() const { return mLastAnswered.load() != 0; }
    // Waited commands whose whole wait passed without an answer while the
    // link stayed open: the unit is there but silent (a pulled unit fails at
    // once instead); the worker drops what is queued behind a silent one.
    // A count: callers compare it before and after their work.
    uint32_t SilentExchanges() const { return mSilentExchanges.load(); }
    // The last queued command dropped or left unanswered, numbered as
    // QueuedCommands counts them (the first is 1); 0: none. A job compares it
    // with the count before its own: an earlier edit's miss is not the job's.
    uint32_t LastQueueMiss() const { return mLastQueueMiss.load(); }
    // Commands queued so far, a count as above: a job that queued none sent nothing.
    uint32_t QueuedCommands() const { return mPushed.load(); }
    // Exchanges the unit answered so far, of any thread, waited or queued, a
    // count as above: a job that holds the link alone and finds it unchanged
    // had none of its own commands taken.
    uint32_t AnsweredExchanges() const { return mAnswered.load(); }
    // Reads that failed on the link they began on, a count as above.
    uint32_t FailedReads() const { return mFailedReads.load(); }
    // The link on which a queued change last went out untaken (its write
    // failed or its answer never came), until it is handed over; 0: none.
    uint32_t UntakenLink() const { return mUntakenLink.load(); }
    // The same, handed over once; 0: none since. unanswered: it was
    // written, so the unit may have taken it.
    uint32_t TakeUntakenLink(bool* unanswered) {
        const uint32_t link = mUntakenLink.exchange(0);
        *unanswered = mUntakenUnanswered.load();
        return link;
    }
    // While one lives, the waited commands of its thread go only to link: a
    // link opened since, checked as each is sent, never hears them.
    class LinkBinding {
    public:
        explicit LinkBinding(uint32_t link);
        ~LinkBinding();
        LinkBinding(const LinkBinding&) = delete;
        LinkBinding& operator=(const LinkBinding&) = delete;

    private:
        const uint32_t mBefore;
    };
    // The worker drops what is queued now once the command in progress has
    // ended; nothing waits here for it, and later commands are kept.
    void DropQueued();

    // DSP parameter set commands (DspSetCommands.cpp).
    // Channels count from 0 (outputs 0..15, inputs 0..13); a range runs from
    // first to last with values[0] for first. Arguments beyond the unit's
    // arrays are refused with a log line and nothing is sent.
    void Source_Switch_Ctrl(uint8_t source, bool sync);
    void Main_Volume_Ctrl(float gain, bool sync);
    void Mute_Ctrl(uint8_t mute, bool sync);
    void Filter_Ctrl(uint8_t scene, uint8_t source, uint8_t ch, uint8_t iFilter, uint32_t freq,
                     uint8_t slope, uint8_t type, bool sync);
    void EQ_Ctrl(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint32_t freq, float Q,
                 float gain, bool sync);
    void Delay_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                    const float* delays_ms, bool sync);
    void Trim_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                   const float* trims_db, bool sync);
    void Mute_Ch_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                      const uint8_t* mute, bool sync);
    void Phase_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                    const uint8_t* phase, bool sync);
    void Mix_Ch_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                     const uint32_t* masks, bool sync);
    void CH_Type_Ctrl(uint8_t scene, uint8_t source, uint8_t ch_x, uint8_t ch_y,
                      const uint8_t* types, bool sync);
    // pairs: count (from, to) channel pairs; count 0 clears the link.
    void CH_Link_Ctrl(uint8_t scene, uint8_t link, uint8_t count, const uint8_t* pairs, bool sync);
    void CH_Lock_Ctrl(uint8_t scene, uint8_t lock, bool sync);
    void PEQ_Reset_Ctrl(uint8_t scene, uint8_t source, uint8_t count, const uint8_t* channels,
                        bool sync);
    void PEQ_Bypass_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                         const uint8_t* bypass, bool sync);
    void Input_Phase_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                          const uint8_t* phase, bool sync);
    void Input_Mix_Trim_Ctrl(uint8_t scene, uint8_t source, uint8_t in_ch, uint8_t out_first,
                             uint8_t out_last, const uint8_t* trims, bool sync);
    void Input_Ch_Threshold_Ctrl(int8_t threshold, bool sync);
    void Solo_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                   const uint8_t* solo, bool sync);
    void AUTO_ON_Ctrl(uint8_t scene, uint8_t on, bool sync);
    void IRC_Active_Bypass_Ctrl(uint8_t scene, uint8_t on, bool sync);
    void CS_Auto_Setting_Ctrl(const CsAutoSetting& setting, bool sync);
    void Compressor_Ctrl(uint8_t scene, uint8_t source, uint8_t ch, const uint8_t* bypass,
                         const float* noise, const float* ratio, const uint32_t* attack,
                         const uint32_t* release, const float* soft_knee, bool sync);
    void Amp_Mute_Ctrl(uint8_t t_mute, bool sync);
    void Set_MemData(uint32_t address, uint32_t data, bool sync);
    void Rem_Out_Ctrl(uint8_t remOut1, uint8_t remOut2, bool sync);
    void Compressor_Ch_Ctrl(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                            const uint8_t* on, bool sync);
    void Compressor_Ctrl2(uint8_t scene, uint8_t source, uint8_t first, uint8_t last,
                          const CompressorSetting2* records, bool sync);
    void Spk_Ohm_Ctrl(uint8_t ohm, bool sync);
    void Output_Bridge_Ctrl(uint8_t scene, uint8_t source, uint8_t count, const uint32_t* bridge,
                            bool sync);
    void Cross_Source_Mix_Ctrl_CS47048(uint8_t scene, uint8_t source, uint8_t ch,
                                       uint8_t vice_source, uint8_t vice_ch, bool sync);
    void Noise_Gate_Ctrl(uint8_t onoff, bool sync);

    // Get queries (DspGetQueries.cpp). Each asks the unit and waits for the
    // answer, which arrives as a window message; the two with a sync flag
    // queue or drop like the set commands.
    void Get_Source();
    void Get_Main_Volume();
    // Through the command queue while async mode is on (dropped otherwise):
    // the caller does not wait, the answer arrives as the other replies do.
    void Get_Main_Volume_Queued();
    void Get_Subwoofer_Volume();
    void Get_Mute();
    void Get_Filter(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_EQ(uint8_t scene, uint8_t source, uint8_t ch, uint8_t band, uint8_t band_end);
    void Get_Delay(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_Trim(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_Mute_Ch(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_Phase(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_Mix_Ch(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_CH_Type(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_CH_Link(uint8_t scene);
    void Get_CH_Lock(uint8_t scene);
    void Get_PEQ_Bypass(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_Input_Mix_CH_Trim(uint8_t scene, uint8_t source, uint8_t in_ch, uint8_t out_ch_x,
                               uint8_t out_ch_y);
    void Get_Ch_Solo(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_Speaker_Config();
    void Get_Amp_Mute();
    void Get_InDistort(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_OutDistort(uint8_t scene, uint8_t source, uint8_t ch, uint8_t ch_end);
    void Get_MemData(uint32_t address, bool sync);
    void Get_Rem_Out();
    void Get_Spk_Ohm();
    void Get_Ouput_Bridge(uint8_t scene, uint8_t source, uint8_t count);
    void Get_Cross_Source_Mix_CS47048(uint8_t scene, uint8_t source, uint8_t ch);
    void Get_Noise_Gate();
    void Get_Input_Threshold(uint8_t scene, uint8_t source, bool sync);
    void Get_Input_Noise(uint8_t ch_x, uint8_t ch_y, bool sync);

    // Scene, MCU-system, karaoke and calibration commands (DspSceneCommands.cpp,
    // DspMcuCommands.cpp, DspKtvCommands.cpp, DspIrcCommands.cpp).
    static constexpr uint32_t kSceneWaitMs = 20000;
    static constexpr uint32_t kFactoryDefaultWaitMs = 30000;
    static constexpr uint8_t kMaxSceneNameBytes = 28;

    void SaveScene(uint8_t scene, uint8_t immediately);
    void ReadScene(uint8_t from, uint8_t to);
    void DeleteScene(uint8_t scene);
    // At most kMaxSceneNameBytes bytes; a longer name is refused.
    void SetSceneName(uint8_t scene, const char* name, uint8_t length);
    void GetSceneName(uint8_t scene);
    void GetSceneId(bool sync);
    void GetSceneValid();

    void MCU_Enter_Upg_Mode();
    // True when the unit's handshake answer arrived (a refusal included).
    bool Hand_Connect();
    // Tells the unit that the program is connected (1) or leaves (0); no answer is read.
    void PC_Connect(uint8_t on);
    void MCU_Reboot_Ctrl();
    // True when the unit acknowledged the reset (it restarts then).
    bool MCU_Factory_Default();
    void Set_Power_Off_Time(uint32_t milliseconds, bool sync);
    void Set_Acc(uint8_t delay, bool sync);
    void Get_Acc();

    void KTV_Mic_Vol_Ctrl(uint8_t value, bool sync);
    void KTV_Music_Vol_Ctrl(uint8_t value, bool sync);
    void KTV_Howling_Ctrl(uint8_t value, bool sync);
    void KTV_Echo_Level_Ctrl(uint8_t value, bool sync);
    void KTV_Echo_Delay_Ctrl(uint16_t value, bool sync);
    void KTV_Reverb_Level_Ctrl(uint8_t value, bool sync);
    void KTV_Reverb_Time_Ctrl(uint8_t value, bool sync);
    void KTV_Voice_Changer_Ctrl(uint8_t value, bool sync);
    void KTV_Bass_Gain_Ctrl(int8_t value, bool sync);
    void KTV_Treble_Gain_Ctrl(int8_t value, bool sync);

    void IRC_Ctrl(uint8_t on, uint16_t ircch, uint8_t irc_eqmode, bool sync);
    void IRC_Get();
    void IRC_Get_Distance(uint8_t ch, uint8_t ch_end);
    void IRC_Get_EQ(uint8_t ch, uint8_t band, uint8_t band_end);
    void IRC_Get_Spectrum(uint8_t ch, uint8_t band, uint8_t band_end);
    void IRC_Sel_Test_Module(uint8_t module, bool sync);

    // Firmware upgrade (DspUpgrade.cpp). Runs on one worker thread while the
    // application keeps every other command off the link.
    static constexpr uint8_t kUpgradeDone = 101;
    static constexpr uint8_t kUpgradeFailed = 255;
    // Checks the file and brings the unit into upgrade mode, through a
    // restart into its loader when it runs its application. 0 started (or
    // nothing to transfer), 1 the file cannot be opened, 2 invalid file,
    // 3 no unit, 4 the unit refused or never acknowledged. eraseFirst: DSP only.
    uint32_t UpgradeStart(const wchar_t* path, uint8_t eraseFirst);
    // One step: 0..100 progress in percent, kUpgradeDone or kUpgradeFailed.
    // With no transfer active it returns how the last one ended (done when
    // there was none), so a caller's loop always ends.
    uint8_t UpgradeProcess();

    // Reply windows: each window writes its own handle while it is open.
    HWND mMainWnd = nullptr;
    HWND mSceneWnd = nullptr;
    HWND mAutoCalWnd = nullptr;
    HWND mDspValueWnd = nullptr;
    HWND mMemDataWnd = nullptr;

    std::atomic<int32_t> mDeviceModelId{-1};
    uint32_t mOutputCount = 16;
    uint32_t mInputCount = 14;
    uint32_t mTrimHundredths = 0;
    uint32_t mNoiseToMainWnd = 0;
    uint8_t mExpectedModelId = 0;
    std::atomic<uint8_t> mMcuNormalMode{0};
    std::atomic<uint8_t> mBootloaderVersion{0};
    std::atomic<uint32_t> mUpgState{0};
    // Set by the unit's "not ready" answer to a data block; cleared by the upgrade.
    std::atomic<uint8_t> mUpgNotReady{0};

private:
    void KtvSet(uint8_t subcommand, const uint8_t* value, uint8_t length, bool sync);
    static void McuCmdThread(void* device);
    void RunCommandWorker();
    // What one input read brought: bytes, nothing within the time-out, or a
    // failure (no unit, or reads failing in a row because the unit is gone).
    enum class ReadOutcome { Data, Nothing, Failed };
    // ReadHIDData with an already scaled time-out.
    ReadOutcome ReadReport(uint8_t* buffer, uint32_t timeout);
    // written, when given, is set once the command was written.
    bool Exchange(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                  uint8_t length, uint32_t waitMs, bool* written = nullptr);
    // ReadReply for the link that was open as link: another link's frames never answer it.
    bool AwaitReply(uint8_t type, uint8_t subcommand, uint32_t timeoutMs, uint32_t link);
    void LogQueuedEntry(const DspCmdEntry& entry);
    // Discards the entries DropQueued named; on the worker (or with none running).
    void DiscardQueued();
    class IoGuard;
    // Ends one read (read) or write counted on the link; the last one
    // releases the closed handles.
    void EndIo(bool read = false);
    void ReleaseHandle(hid_device_* handle);
    // SendCtrlCommand on the link numbered link: the open one, or closed, a
    // handle closed since, while no other link has opened.
    bool WriteCommand(hid_device_* closed, uint32_t link, uint8_t type, uint8_t subcommand,
                      uint8_t optype, const uint8_t* payload, uint8_t length);
    void PC_Connect(uint8_t on, hid_device_* closed, uint32_t link);
    // On the worker: the goodbye a close with notify left, on its closed
    // handle, once no read runs on that handle.
    void SendLeaveFrame();

    std::atomic<uint8_t> mRunning{1};
    std::atomic<uint8_t> mAsyncMode{0};
    std::atomic<uint8_t> mLastAnswered{1};
    std::atomic<uint32_t> mSilentExchanges{0};
    std::atomic<uint32_t> mLastQueueMiss{0};
    std::atomic<uint32_t> mAnswered{0};
    std::atomic<uint32_t> mFailedReads{0};
    std::atomic<uint32_t> mUntakenLink{0};
    std::atomic<bool> mUntakenUnanswered{false};
    // Entries up to this push count are dropped instead of sent.
    std::atomic<uint32_t> mDropThrough{0};
    std::atomic<uint8_t> mWorkerBusy{0};
    std::atomic<uint32_t> mPushed{0};
    std::atomic<uint32_t> mDone{0};
    DspCmdQueue mCmdQueue;

    // One exchange (a send and the reads of its answer) at a time; reads take
    // it too, so the ring and the parser have one user.
    std::recursive_timed_mutex mLinkLock;
    dsp::ReceiveRing mRing;
    dsp::FrameParser mParser;
    // The link whose bytes the ring and the parser hold (under mLinkLock).
    uint32_t mParsedLink = 0;
    uint8_t mAwaitType = 0;
    uint8_t mAwaitSubcommand = 0;
    bool mAwaitActive = false;
    bool mAwaitMatched = false;

    std::atomic<hid_device_*> mHidHandle{nullptr};
    // Counts opens and closes: a read that began on an earlier link ends.
    std::atomic<uint32_t> mLinkSerial{0};
    // Reads and writes using a handle, and the closed handles they still
    // hold; the last one to end releases them.
    std::mutex mIoMutex;
    int mIoInFlight = 0;
    std::vector<hid_device_*> mClosing;
    // The closed link whose goodbye the worker has still to write; it counts
    // as one I/O in flight until written.
    hid_device_* mLeaving = nullptr;
    uint32_t mLeavingLink = 0;
    // The handle a read waits on (reads run one at a time), else null: the
    // system's HID device takes no write on a handle while a read runs on it.
    hid_device_* mReading = nullptr;
    std::atomic<int> mWriteBusy{0};
    std::atomic<int32_t> mBytesRead{0};
    std::atomic<IFrameHandler*> mFrameHandler{nullptr};
    // Decodes the replies into window messages; the frame handler unless replaced.
    std::unique_ptr<ReplyPoster> mReplyPoster;
    uint8_t* mReceiveBuffer;
    WorkerThread* mWorker = nullptr;

    // Firmware upgrade (DspUpgrade.cpp).
    uint32_t McuUpgParsingFile(const wchar_t* path, UpgradeKind kind);
    uint32_t FlashUpgParsingFile(const wchar_t* path);
    uint32_t ParsingUpgFWFile(const wchar_t* path);
    bool EnterUpgradeMode(uint8_t eraseFirst);
    void ReopenAfterRestart();
    uint32_t StartTransfer();
    void SendNextBlock();
    void ReadBlockAnswer();
    void LogAnswerBytes();
    void FailTransfer();
    uint8_t FinishUpgrade(uint8_t result);
    void ResetUpgrade(uint8_t idleResult);
    bool SendUpgradeCommand(uint8_t type, uint8_t subcommand, const uint8_t* payload,
                            uint8_t length);
    void ClearReceiveRing();
    FirmwareFile mUpgFile;  // the images of the upgrade in progress
    UpgradeBlocks mUpgBlocks;
    uint32_t mUpgPhase = 0;
    DWORD mUpgBlockSentAt = 0;
    uint8_t mUpgIdleResult = kUpgradeDone;
};
