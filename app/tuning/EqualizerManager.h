// The tuning controller and model behind the main window: it owns the link
// to the unit, keeps the scenes, drives the bound controls and takes the
// unit's value reports. Its operations live in one file per concern
// (EqualizerManager<Concern>.cpp); this header groups them the same way.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/tuning/BoundControls.h"
#include "app/tuning/EqSendGate.h"
#include "app/tuning/LinkJobs.h"
#include "app/tuning/TuningModel.h"
#include "app/tuning/UnitStatusRead.h"
#include "device/DspDevice.h"
#include "device/ResponseMath.h"
#include "device/WorkerThread.h"
#include "uilib/core/UIString.h"

namespace SkinUI {
class CComboUI;
class CMenuElementUI;
class CMenuWnd;
class CPaintManagerUI;
class CSliderUI;
}

enum class ProfileFileKind;
enum class PushOutcome;
struct ProfileResult;

class EqualizerManager {
public:
    static const int kModelId = 95;

    EqualizerManager();
    ~EqualizerManager();
    EqualizerManager(const EqualizerManager&) = delete;
    EqualizerManager& operator=(const EqualizerManager&) = delete;

    DspDevice& Device() { return mDevice; }
    HWND MainWindow() const { return mMainWnd; }
    // The live profile, the unit's ten stored scenes and their names.
    TuningModel& Model() { return mModel; }
    SceneProfile& Current() { return mModel.Current(); }

    // ---- Binding to the main window (EqualizerManagerInit.cpp) ----
    // Finds the controls the controller drives and puts them in their
    // starting state; once, after the layout is built, before the unit opens.
    void Init(SkinUI::CPaintManagerUI* manager, HWND mainWnd);
    const BoundControls& Controls() const { return mControls; }
    // The channel's control, or for the current channel of a one-strip
    // layout the strip's; null otherwise.
    SkinUI::CSliderUI* GetVolumeSlider(int ch) const;
    SkinUI::CEditUI* GetVolumeEdit(int ch) const;
    SkinUI::COptionUI* GetMuteButton(int ch) const;
    SkinUI::COptionUI* GetPhaseButton(int ch) const;
    SkinUI::COptionUI* GetSoloButton(int ch) const;
    SkinUI::CSliderUI* GetDelaySlider(int ch) const;
    SkinUI::CEditUI* GetDelayEdit(int ch) const;
    SkinUI::CSliderUI* GetFirstVolumeSlider() const;

    // ---- Settings read at start (EqualizerManager.cpp) ----
    void SetFactoryEq(int value) { mFactoryEq = value; }
    int FactoryEq() const { return mFactoryEq; }

    // ---- Connection (EqualizerManagerConnection.cpp) ----
    // Opens the unit (or, when open, closes it) and starts the status read;
    // showFailure reports a failed open in a box.
    void ConnectDevice(bool showFailure);
    // Stops the status read, closes the link, disconnected look.
    void DisconnectDevice();
    // The status read finished (WM_STATUS_READ_DONE): curves, model and
    // firmware decisions, connected look and async mode.
    void DeviceConnected();
    // A read gave up on a silent unit, or an edit went untaken: an unplug the
    // removal has not reported yet is told as one, anything else lets the
    // link go with notice (a failed connect for the status read,
    // WM_STATUS_READ_SILENT).
    void LetLinkGoUnlessGone(const wchar_t* notice);
    // The unit was unplugged or plugged in (WM_DEVICECHANGE).
    void DevicePlugOut();
    void DevicePlugin();
    // The unit stayed listed but did not take, or did not answer, all it was
    // sent: the link closes, so the screen is not taken for the unit's and
    // nothing more waits on it, and notice (a literal language key) tells
    // the user. A link closed meanwhile (unplugged) has had its own notice.
    void LetLinkGo(const wchar_t* notice);
    // WM_BACK_TO_TAKEN: the live profile as the unit last took it, shown.
    void BackToTaken();
    // Tells notice (a literal language key) once the loading window has gone;
    // overTyping: the installer was typing into a box.
    void TellAfterLoading(const wchar_t* notice, bool overTyping = false);
    // Whether a job that did not finish was cut by its link's end: the link
    // closed or replaced, or the unit gone from the bus before its removal
    // is reported (the link then closes here, and the removal finds it closed).
    bool JobCutByLinkEnd(bool linkLasted);
    // A link job's end (WM_LINK_JOB_DONE): judged from its report alone,
    // then finished and told by its kind. linkLasted: the link it ran on is
    // still the open one.
    void LinkJobEnded(const JobReport& report, bool linkLasted);
    // Link looks of "btnConnect".
    enum class LinkLook { Connecting, Connected, Disconnected };
    void ShowLinkLook(LinkLook look);
    bool IsStatusReadRunning() const { return mStatusReading.load(); }
    // Whether no link has opened or closed since the serial a worker or a
    // removal posted: what it reports of an older link is moot, the unit
    // back since has a read of its own.
    bool LinkUnchangedSince(WPARAM link) const { return mDevice.LinkSerial() == link; }
    // The job that holds the link now, or None: the connect read, a profile
    // push or whole save, a scene job, a bridge or output reset, the factory
    // reset's wait, or a firmware window's transfer with its restarts and reset. Cut short, it leaves
    // the unit part way through; so while one runs no other starts, and
    // neither an outside close, the session's end nor the display's restart
    // ends the program. A firmware window left idle after a failure is none.
    enum class LinkJobKind { None, Firmware, StatusRead, Profile, Scene, Outputs, Factory };
    LinkJobKind LinkJob() const;
    bool LinkJobRunning() const { return LinkJob() != LinkJobKind::None; }
    // Status timer tick: tells an edit the unit did not take, and while
    // connected and the link is idle, takes the reports the unit sent on its
    // own (the volume knob) without waiting.
    void ReadUnitReports();
    // The table's no-link rule for kind: Runs while a link is open.
    Offline WithoutLink(JobKind kind) const;
    // A job of kind that cannot run without a link is refused aloud over
    // owner: asked before any question about it.
    bool RefusedOffline(JobKind kind, HWND owner);
    // Set while the forced update or the firmware update window is open: an
    // unplug then raises no notice.
    bool forceUpdateRunning = false;
    bool updateWindowOpen = false;

    // ---- Forced update and factory default (EqualizerManagerForceUpdate.cpp) ----
    // WM_FORCE_UPDATE: the unit runs older firmware than the program carries;
    // offered only when the program carries usable images.
    void ForceUpdate();
    // The unit came back while the forced update window runs.
    void ResumeForcedUpdate();
    // The option menu's factory reset: asks, then resets on a worker; the
    // unit's restart after a confirmed reset reconnects as a plug-in.
    void ResetMcuFactoryDefault();
    // A firmware window closed: unless a read already runs, the unit is read
    // again when it came back from its restart or when the window left the
    // link out of ordinary work (async mode off).
    void ResumeAfterFirmwareWindow(bool unitReturned);
    // Starts the status read of an open link behind the loading window.
    void StartStatusRead();

    // ---- The unit's replies (EqualizerManagerDspReplies.cpp, EqualizerManagerMcuReplies.cpp) ----
    // Each takes a reply the device library posted and frees its record.
    void ReadDspValueCallback(int subcommand, LPARAM value);
    void ReadMcuValueCallback(int subcommand, LPARAM value);
    void ReadSenceValueCallback(int subcommand, LPARAM value);
    void ReadKtvValueCallback(int subcommand, LPARAM value);
    // Every text the main window's boxes show in words of the language
    // (volumes, ACC, delay units) written again, as after a language switch.
    void UpdateAllVolumeEdit();

    // ---- Menu actions of the main window's popup menus (EqualizerManagerGroups.cpp,
    // EqualizerManagerScenes.cpp, EqualizerManagerMixer.cpp) ----
    // The output channel whose popup menu was opened last.
    int menuChannel = 0;
    void SetChSynchronize(int ch, int group);
    void SetChDelayLink(int ch, int group);
    void LoadSenceConfigFromDSP(HWND owner);
    void SaveSenceConfigToDSP(HWND owner);
    void DeleteDSPSenceConfig(HWND owner);
    void ShowMixerWnd();

    // ---- Profile files and their push to the unit (EqualizerManagerProfileFiles.cpp) ----
    // The scene menu's file rows: a common file dialog, then the operation
    // on the chosen path below.
    void LoadSenceConfigFromFile();
    void SaveSenceConfigToFile();
    void LoadWholeConfigFromFile();
    void SaveWholeConfigToFile();
    // A valid file replaces the model and is pushed to the unit on a worker
    // behind the loading window; a refused one only shows why.
    void LoadSenceConfigFile(const std::wstring& path);
    void LoadWholeConfigFile(const std::wstring& path);
    void SaveSenceConfigFile(const std::wstring& path);
    // Reads the unit's ten scenes and the live state on a worker, then writes.
    void SaveWholeConfigFile(const std::wstring& path);
    bool IsTransferRunning() const { return mTransferRunning.load(); }
    // Called on a job's worker after its end is posted, just before it is
    // marked stopped, so a test sees the window's queue at that moment. The
    // program installs no check.
    static void SetJobEndCheck(void (*check)());
    // Every control rewritten from the live profile (EqualizerManagerRefresh.cpp).
    void RefreshFromProfile();

    // ---- Scenes stored in the unit (EqualizerManagerScenes.cpp) ----
    // One transfer with the unit's scene store at a time, on scene slot
    // (1..10) as it is when started, run by the scene worker; its end
    // reaches the main window as WM_LINK_JOB_DONE and the UI thread
    // finishes it there.
    // kind: SceneLoad, SceneSave or SceneDelete. False while a job holds
    // the link or when the worker cannot start.
    bool StartSceneJob(JobKind kind, int slot);
    bool IsSceneJobRunning() const { return mSceneJobRunning.load(); }
    // ---- Crossover and output assignment (EqualizerManagerCrossover.cpp) ----
    // The current channel's high-pass (filter 2) and low-pass (filter 1):
    // the channel, its link group and its partner take each change, which
    // goes to the unit; the high-pass never rises above the low-pass.
    void SetFreqDivider(int ch);
    void SetHpFreq();
    void SetLpFreq();
    void SetHpFreqUp(bool up);
    void SetLpFreqUp(bool up);
    void SetHpType();
    void SetLpType();
    void SetHpSlop();
    void SetLpSlop();
    // Whether the frequency edit holds text other than what the program wrote.
    bool IsFilterFreqTyped(bool highPass) const;
    // An output menu row chosen for channel ch: its speaker code, the code's
    // default crossover, the speaker positions and ch made current.
    void SetOutputValue(int ch, const wchar_t* itemName, int keepBackup);
    // One row of the output menu opened for channel ch: check icon when some
    // channel has the code, enabled when ch may take it.
    void MarkOutputMenuItem(SkinUI::CMenuElementUI* item, const wchar_t* name, int ch);

    // ---- Unit-wide settings (EqualizerManagerUnitSettings.cpp) ----
    void SetMainVolumeSlider();
    void SetMainVolumeEdit();
    void SetMainVolumeUp(bool up);
    void SetMainMute();
    void SetAccSlider();
    void SetAccEdit();
    void SetAccUp(bool up);
    void SetInputSource();
    void SetInputIn(int input, int output);
    void SwitchAmpOnOff();
    void SwitchRemOut1();
    void SwitchRemOut2();
    void SwitchSpkOhm();
    void SwitchNoiseGate();
    // Display operations, also used for the unit's reports: each stores the
    // value and shows it; the Apply ones also send it.
    void ApplyMainVolume(int db);
    // "%ddB", or "${off}" at the lowest level.
    void ShowMainVolumeText(int db);
    void ApplyMainMute(bool on);
    void ApplyAcc(int value);
    void ShowAccText(int value);
    void ShowAmpState(bool on);
    void ShowRemOut1State(bool on);
    void ShowRemOut2State(bool on);
    void ShowSpkOhmState(bool on);
    void ShowNoiseGateState(bool on);
    // Whether the edit holds text other than what the program wrote.
    bool IsMainVolumeTyped() const;
    bool IsAccTyped() const;

    // ---- Popup menus (EqualizerManagerMenus.cpp) ----
    // Each opens its layout under the clicked control; menu holds the one
    // open menu (a weak pointer the menu clears as it goes) and the previous
    // one is closed first; notify receives the chosen rows.
    void ShowAdvanceMenu(HWND mainWnd, SkinUI::CControlUI* control, SkinUI::CMenuWnd*& menu,
                         SkinUI::CPaintManagerUI* notify);
    void ShowDelayLinkGroupMenu(HWND mainWnd, SkinUI::CControlUI* control, SkinUI::CMenuWnd*& menu,
                                SkinUI::CPaintManagerUI* notify);
    void ShowOutputMenu(HWND mainWnd, SkinUI::CControlUI* control, SkinUI::CMenuWnd*& menu,
                        SkinUI::CPaintManagerUI* notify, int ch);
    void ShowOptionMenu(HWND mainWnd, SkinUI::CControlUI* control, SkinUI::CMenuWnd*& menu,
                        SkinUI::CPaintManagerUI* notify);
    void ShowSceneMenu(HWND mainWnd, SkinUI::CControlUI* control, SkinUI::CMenuWnd*& menu,
                       SkinUI::CPaintManagerUI* notify);

    // ---- Channel level, mute, phase, solo (EqualizerManagerChannel.cpp) ----
    // Every change goes into the model, onto the channel's controls and, as a
    // queued command, to the unit; the partner and the link group follow.
    void SetChVolumeSlider(int ch, bool select, bool force);
    void SetChVolumeEdit(int ch, bool force);
    void SetChVolumeUp(int ch, bool up);
    // The caller has stored the mute control's new state in the model.
    void SetChMute(int ch);
    void SetChPhase(int ch);
    void SetChSolo(int ch);
    void SetChActive(int ch);
    void SetCurChannelChange(int ch);
    void ApplyChMute(int ch, bool on);
    void ApplyChPhase(int ch, bool on);
    void ApplyChSolo(int ch, bool on);
    // One channel's gain in tenths of a dB, clamped, sent and shown; no
    // propagation.
    void StoreChVolume(int ch, float tenths, bool unmute);
    void ChangeChVolume(int ch, float tenths, bool focus, bool force);
    void ShowChVolumeText(int ch, float tenths);
    void SetChVolumeSliderValue(int ch, float tenths);
    // The typed whole dB, the lowest for the off word; false for other text.
    bool ReadChVolumeEdit(int ch, float& db) const;
    // A volume or delay edit losing the focus or given Enter is taken only
    // when it holds other text than the program wrote for the channel:
    // leaving a box untouched must neither unmute the channel nor send
    // anything.
    void LeaveChVolumeEdit(int ch);
    void LeaveChDelayEdit(int ch);
    void SendChTrim(int ch);
    // The channel that follows ch (link output, else bridge partner); -1 none.
    int UpdateSyncPartner(int ch);

    // ---- Channel and speaker delays (EqualizerManagerDelay.cpp) ----
    // The model keeps ms; "comb_ch_unit" picks what the edits show and read.
    void SetChDelayEdit(int ch);
    void SetChDelaySlider(int ch);
    void SetChDelayUp(int ch, bool up);
    void SetDelayUnit();
    // Speaker positions act only for a code some channel is assigned to.
    void SetSpeakerDelayEdit(int code);
    // Enter in a speaker's box: taken only when typed, as the strip's boxes.
    void LeaveSpeakerDelayEdit(int code);
    void SetSpeakerDelayUp(int code, bool up);
    void SetSpeakerDelayFocus(int code);
    void StoreChDelay(int ch, float ms);
    void ChangeChDelay(int ch, float ms);
    void ShowChDelayText(int ch, float ms);
    void SetChDelaySliderValue(int ch, float micros);
    void ShowSpeakerDelay(int ch);
    // Position k's edit shows channel ch's delay; ch < 0 hides it.
    void ShowSpeakerDelayText(int k, int ch);

    // ---- Display refresh (EqualizerManagerCurves.cpp) ----
    void ComputeChannelCurve(int ch, bool bypassed);
    // Recomputes the current channel, its partner and its link group, then
    // hands bands, crossover and curves to the chart; selected: band or -1.
    void UpdateEqualizer(int selected);
    // "ch_show_%d" switched: the channel's curve is drawn or hidden, its data kept.
    void SetChEqualizerShow(int ch);

    // ---- Groups, lock, link, bridge and output reset (EqualizerManagerGroups.cpp,
    // EqualizerManagerOutputs.cpp) ----
    // Link ("synchronize") and delay link groups: 0 none.
    void ApplyChSynchronize(int ch, int group);
    void ApplyChDelayLink(int ch, int group);
    // "btn_reset_link": every channel leaves its link group.
    void ResetLink();
    // "btn_link_output" takes clicks only while no channel is in a group.
    void UpdateLinkOutputButton();
    // "speaker_%d" clicked: the channels on that speaker become current.
    void SetSpeakerFocus(int code);
    // The channel delay slider shows only while its channel's delay has the focus.
    void SetChDelaySliderShow(int ch);
    void SetChDelaySliderHide();
    void SetOutpuLock();
    void SetOutputLink();
    void SwitchBridge(int pair);
    void SwitchBridgeCheckBox(int pair);
    // apply: the odd channel becomes a copy of the even one (on) or both are
    // emptied (off); threaded: behind the busy window until the unit took
    // every command.
    void SetBridge(int pair, bool on, bool apply, bool threaded);
    void SetOutputReset();
    // answer: kResetDefault or kResetEmptied.
    void ResetOutputs(int answer);
    static const int kResetDefault = 1;
    static const int kResetEmptied = 2;
    // True while a bridge or reset waits for the unit to take its commands.
    bool IsOutputJobRunning() const { return mOutputJobRunning.load(); }

    // ---- Compressors (EqualizerManagerCompressor.cpp) ----
    // Stores channel ch's compressor on/off and sends that channel's flag.
    void SetChCompressor(int ch, uint8_t on);

    // ---- EQ bands (EqualizerManagerBands.cpp) ----
    // A band's edits of the current channel committed, its slider moved, its
    // steppers; the partner and the link group's channels of the same band
    // count follow.
    void SetChEqEdit(int band);
    void SetChEqSlider(int band);
    void SetEqFreqUp(int band, bool up);
    void SetEqQUp(int band, bool up);
    void SetEqGainUp(int band, bool up);
    void OnEqEnable(int band);
    // "btn_bypass", "btn_reset_eq" and "btn_arg_eq", each after its question.
    void SetOutputBypass();
    void SetOutputEqReset();
    void SetOutputEqMode();
    // All 31 rows from channel ch's bands; rows beyond its count disabled.
    void ShowEqBandRows(int ch);
    void ShowEqBandRow(int ch, int band);
    // "btn_bypass" offers to bypass (active) or to restore.
    void ShowBypassButton(bool active);

    // ---- EQ chart drags (EqualizerManagerChart.cpp) ----
    // command 0 band moved, 1 high-pass handle, 2 low-pass handle; release
    // at the end of the drag.
    void EqualizerCallback(int index, int command, bool release);
    // The milliseconds the chart's send gate reads (GetTickCount64 unless a
    // test steps its own clock).
    void SetChartClock(uint64_t (*clock)()) { mChartClock = clock; }

private:
    int CurrentChannel() const { return mModel.Current().currOutChannel; }
    // Closes the windows whose edits go straight to the unit and drops the
    // main window's typing (connect, disconnect).
    void CloseUnitEditors();
    // Channel ch's own control, else for the current channel the one strip's.
    template <class T>
    T* StripControl(int ch, T* ChannelStripControls::*member, T* currentStrip) const;
    void BindSwitches();
    void BindMainVolumeAndCrossover();
    void BindBandsAndBridges();
    void BindChannelStrips();
    void BindSpeakers();
    void BindTools();
    // The routing boxes of channel ch as the current source routes it;
    // clearHidden unselects the rows the source does not have.
    void ShowInputRouting(int ch, bool clearHidden = false);

    // Profile transfers (EqualizerManagerProfileFiles.cpp, EqualizerManagerRefresh.cpp).
    enum class TransferJob { LiveProfile, WholeProfile, WholeSave };
    void AskAndRun(const wchar_t* operation, ProfileFileKind kind, bool save,
                   void (EqualizerManager::*run)(const std::wstring&));
    // True, the user told, while another long exchange holds the link.
    bool RefusedWhileLinkBusy();
    void PushLoaded(const ProfileResult& result, TransferJob job);
    bool StartTransfer(TransferJob job);
    static void TransferThread(void* self);
    void RunTransfer();
    bool ReadWholeUnit();
    void EndTransfer();
    void StopTransfer();
    // Link job ends by kind (EqualizerManagerJobs.cpp for the judgement).
    JobEnd JudgeJobEnd(const JobReport& report, bool linkLasted);
    // Tells end's word of kind once the loading window has gone; an end
    // that lets the link go tells it as the link closes.
    void TellJobEnd(JobKind kind, JobEnd end);
    // The one let-go rule of a job's end: an end that lets the link go
    // closes it with its word; any other end's word (or null) is returned.
    const wchar_t* WordLeftToTell(JobKind kind, JobEnd end);
    // The display is refreshed from the pushed profile.
    void ProfilePushed(const JobReport& report, JobEnd end);
    // The file is written only from a whole read.
    void WholeScenesRead(const JobReport& report, JobEnd end);
    // After a load the recalled scene is shown and queued commands flow
    // again; the scene window's loading window closes with the job's word.
    void SceneJobDone(const JobReport& report, JobEnd end);
    // A confirmed reset restarts the unit: its removal is no unplug.
    void FactoryDefaultEnded(const JobReport& report, JobEnd end);
    // Opens the main window's loading window for a job; its token closes it.
    uint16_t BeginBusy();
    uint16_t mBusyToken = 0;
    void ShowLinkAndLock();

    // Status reader thread (EqualizerManagerConnection.cpp).
    static void ReadMcuValueThread(void* self);
    void RunStatusRead();
    void StopStatusRead();
    void PostToMain(UINT message, WPARAM wParam = 0);
    bool UpgradeBusy() const;

    // Reports of the live settings (EqualizerManagerDspReplies.cpp).
    void TakeFilter(SceneProfile& profile, bool live, LPARAM value);
    void TakeEqBand(SceneProfile& profile, bool live, LPARAM value);
    void TakeChannelValue(SceneProfile& profile, bool live, int subcommand, LPARAM value);
    void TakeMix(SceneProfile& profile, bool live, LPARAM value);
    void TakeOutputType(SceneProfile& profile, bool live, LPARAM value);
    void TakeLink(SceneProfile& profile, bool live, LPARAM value);
    void TakeLock(SceneProfile& profile, bool live, LPARAM value);
    void TakeInputMixTrim(SceneProfile& profile, LPARAM value);
    void TakeCrossSourceMix(SceneProfile& profile, bool live, LPARAM value);
    void TakeUnitWideValue(int subcommand, LPARAM value);

    // Crossover and unit-wide helpers (EqualizerManagerCrossover.cpp,
    // EqualizerManagerUnitSettings.cpp).
    struct FilterSide;
    static const FilterSide& Side(bool highPass);
    enum class UnitSwitch { Amp, RemOut1, RemOut2, SpeakerOhm, NoiseGate };
    void SetFilterFreq(const FilterSide& side);
    void StepFilterFreq(const FilterSide& side, bool up);
    void SetFilterType(const FilterSide& side);
    void SetFilterSlope(const FilterSide& side);
    void SendFilter(int ch, int iFilter);
    // Applies change to every other channel of ch's link group and sends it.
    template <class Change>
    void FollowFilter(int ch, int iFilter, Change change);
    void ShowSlopeItems(SkinUI::CComboUI* slope, int type);
    // Selects a row without the combo's notification reaching the controller.
    void SelectQuietly(SkinUI::CComboUI* combo, int index);
    bool mQuietSelect = false;
    void ShowSwitchState(UnitSwitch which, bool on);
    void ToggleSwitch(UnitSwitch which);
    // Each channel's output button names its speaker; the assigned
    // positions show, each with its delay box and frame, the others hide.
    void ShowSpeakerPositions();
    SkinUI::CMenuWnd* OpenMenu(HWND mainWnd, SkinUI::CControlUI* control, SkinUI::CMenuWnd*& menu,
                               SkinUI::CPaintManagerUI* notify, const wchar_t* layout, int anchor, uint32_t align);

    // The window and its paint manager, through which every control is found.
    HWND mMainWnd = nullptr;
    SkinUI::CPaintManagerUI* mManager = nullptr;
    BoundControls mControls;

    TuningModel mModel;
    // The "factoryEQ" setting read at start.
    int mFactoryEq = 0;
    DspDevice mDevice;

    // Channel editing and curves.
    bool IsBridged(int ch) const;
    // What a channel's volume edit shows for tenths of a dB ("${off}" at the lowest).
    const wchar_t* ChVolumeText(float tenths) const;
    int mSyncPartner = -1;
    int DelayUnitIndex() const;
    // What a channel's delay edit shows for ms (the speaker edits: no unit).
    SkinUI::CUIString DelayText(float ms, bool withUnit) const;
    // A delay box's typed value in ms, the unit word shown or its English one
    // after it or none; empty for other text.
    std::optional<float> ReadDelayEdit(SkinUI::CEditUI* edit) const;
    // The first channel assigned the speaker code; -1 none.
    int ChannelOfSpeaker(int code) const;
    void SendChDelay(int ch);
    void FollowChDelay(int ch, float delta);
    void SetSpeakerDelay(int code, float ms);
    void ShowCurves();
    ResponseGrid mCurveGrid;

    // EQ band editing and chart drags.
    bool IsEqBypassed(int ch) const;
    // The other channels of ch's link group with ch's band count, without
    // ch and its partner; returns how many went into out.
    int EqGroupMembers(int ch, int partner, int* out) const;
    void SendEqBand(int ch, int band);
    void SendEqBypass(int ch);
    // Every band of ch with a gain becomes 0 dB, enabled, and is sent.
    void ZeroEqGains(int ch);
    // Channel ch takes the bypass byte, sent only when it changes.
    void StoreEqBypass(int ch, uint8_t bypass);
    void CopyEqBand(int from, int to, int band);
    // The band of the current channel takes the values and follows to the
    // partner and the group; the bypass follows the flat test.
    void CommitEqBand(int band, int freq, float q, float gain);
    // A question of the EQ page that erases nothing: it opens on confirm.
    bool AskEq(const wchar_t* question);
    // True when this move's sends are due (always at a release).
    bool ChartSendDue(bool release);
    void ChartBandMoved(int index, bool release);
    void ChartHandleMoved(bool highPass, bool release);
    EqSendGate mChartGate;
    uint64_t (*mChartClock)() = nullptr;
    // Lock, link, bridge and reset.
    void ActivateChannel(int ch);
    void EnableGroupButtons(bool enabled);
    void EnableOutputButtons(bool enabled);
    void ShowLockButton(bool locked);
    void ShowLinkButton(bool linked);
    void DropLink();
    // The direction the user chose for a new link: 0 cancelled, 1 left to
    // right, 2 right to left.
    int AskLinkDirection();
    void LinkPairs(int direction, uint8_t* pairs, int* pairCount);
    void FinishLink(const uint8_t* pairs, int pairCount);
    void ApplyBridge(int pair, bool on);
    // The pair's bridge in the model, its controls and to the unit; apply: its channels follow.
    void ShowBridge(int pair, bool on, bool apply);
    void SendBridges();
    void SendChannelAll(int ch);
    // iFilter 1 low-pass, 2 high-pass.
    void SendChFilter(int ch, int iFilter);
    void SendMixTrims(int ch);
    // With an open link, the job's commands are queued behind the loading
    // window and a waiter posts its end once the unit took them, or after
    // maxPolls polls of 100 ms. With none the change is the model's alone.
    void RunOutputJob(const wchar_t* startLog, int maxPolls, const std::function<void()>& queue);
    static void OutputJobWaitThread(void* self);
    void RunOutputJobWait();
    // Factory reset (EqualizerManagerForceUpdate.cpp). The unit's restart
    // after it is no unplug: set until the unit is back.
    static void FactoryDefaultThread(void* self);
    std::atomic<bool> mFactoryDefaultRunning{false};
    bool mRestartExpected = false;
    uint32_t mFactorySilentBefore = 0;
    uint32_t mFactoryLink = 0;
    // The job's start, which its worker completes into its end message.
    JobReport mFactoryReport;
    WorkerThread mFactoryDefault{&EqualizerManager::FactoryDefaultThread, this};

    // The status reader: started on a connect, stopped and joined before the
    // next one and on close.
    WorkerThread mStatusReader{&EqualizerManager::ReadMcuValueThread, this};
    std::atomic<bool> mStatusStop{false};
    std::atomic<bool> mStatusReading{false};
    // Each job belongs to the link it was started on, taken on the UI thread.
    uint32_t mStatusLink = 0;
    uint16_t mStatusBusy = 0;
    // The live profile as the unit last took it on link mTakenLink: kept at
    // the connect read's end and at each status tick that finds every queued
    // change answered. A link let go brings the model back to it, so neither
    // the screen, a file nor the next edit of a record no connect reads back
    // (the compressors) carries what the unit did not take.
    std::unique_ptr<SceneProfile> mTaken = std::make_unique<SceneProfile>();
    uint32_t mTakenLink = 0;

    // The profile transfer: the model copy it sends, the queue state to
    // restore, and its worker (joined before the device goes).
    TransferJob mTransferJob = TransferJob::LiveProfile;
    std::unique_ptr<TuningModel> mTransferCopy;
    // Written by the worker, read once it is joined.
    PushOutcome mPushOutcome{};
    bool mAsyncBeforeTransfer = false;
    // The device's silent exchanges when a job started.
    uint32_t mTransferSilentBefore = 0;
    uint32_t mTransferAnsweredBefore = 0;
    // A whole save, for its worker: whether it read every scene and the live state, and whether its run
    // ended on a unit that stopped answering.
    bool mWholeSaveRead = false;
    bool mWholeSaveSilent = false;
    std::atomic<bool> mTransferStop{false};
    std::atomic<bool> mTransferRunning{false};
    uint32_t mTransferLink = 0;
    // The job's start, which its worker completes into its end message.
    JobReport mTransferReport;
    // The transfer's end with the link it ran on; it stops running there.
    void PostTransferEnd();
    // A job's worker posts its end, with the link it ran on, then marks
    // itself stopped: one seen stopped has its end waiting.
    void EndLinkJob(uint32_t link, const JobReport& report, std::atomic<bool>& running);
    // From a link job's start (the connect read aside) until the UI thread
    // takes its end: a removal meanwhile is told by that end, in the job's
    // words, and the status tick lets no link go under it.
    bool mJobTellsItsCut = false;
    // Starts a link job of report's kind: its worker marked running and
    // telling its own cut, behind the main window's loading window when
    // busy (or the one report names). False, with everything put back, when
    // the thread did not start, or, told aloud, when the kind needs a link
    // and none is open.
    bool StartLinkJob(bool busy, WorkerThread& worker, std::atomic<bool>& running, JobReport& report);
    WorkerThread mTransfer{&EqualizerManager::TransferThread, this};
    // The scene worker (EqualizerManagerScenes.cpp).
    static void SceneJobThread(void* self);
    // Each job's exchanges; Done when the unit answered every one.
    UnitStatusRead LoadSenceThread();
    UnitStatusRead SaveSenceThread();
    UnitStatusRead DeleteSenceThread();
    void ShowRecalledScene();
    std::atomic<int> mSceneJobSlot{0};
    std::atomic<bool> mSceneJobRunning{false};
    std::atomic<bool> mSceneStop{false};
    uint32_t mSceneSilentBefore = 0;
    // Set by the load's worker: the unit took the recall.
    std::atomic<bool> mSceneTaken{false};
    uint32_t mSceneLink = 0;
    // The job's start, which its worker completes into its end message.
    JobReport mSceneReport;
    WorkerThread mSceneWorker{&EqualizerManager::SceneJobThread, this};
    // The waiter of a bridge or reset job.
    WorkerThread mOutputJobWaiter{&EqualizerManager::OutputJobWaitThread, this};
    std::atomic<bool> mOutputJobStop{false};
    std::atomic<bool> mOutputJobRunning{false};
    const wchar_t* mOutputJobLog = L"";
    int mOutputJobPolls = 0;
    uint32_t mOutputJobSilentBefore = 0;
    uint32_t mOutputJobQueuedBefore = 0;
    uint32_t mOutputJobAnsweredBefore = 0;
    uint32_t mOutputJobLink = 0;
    // The job's start, which its worker completes into its end message.
    JobReport mOutputJobReport;
};

// The combo's rows 16 pixels high (scaled with the window) and its drop box
// tall enough for every row, hidden ones included.
void InitInputSourceList(SkinUI::CComboUI* list);

// "%ddB" of the gain truncated toward zero, in one shared buffer valid until
// the next call.
const wchar_t* FormatDbText(float value);

// Clamps value into the slider's range; true when the clamped value differs
// from the slider's, so only a slider that must move is moved. False without
// a slider.
bool ClampToSlider(SkinUI::CSliderUI* slider, float& value);
