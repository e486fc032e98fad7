// The firmware upgrade: checks the file, brings the unit into upgrade mode
// (through a restart into its loader when it runs its application) and sends
// the image one block per acknowledgement, one step per UpgradeProcess call.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "device/FirmwareFileReader.h"
#include "device/ReplyDecoder.h"
#include "device/TextConvert.h"
#include "device/UpgradeSubcommands.h"

namespace {

using namespace dsp::upgrade;

// The file was accepted for an MCU kind; only the unit's acknowledgement
// moves the state on to "upgrade mode entered".
constexpr uint32_t kUpgFileAccepted = 16;

// The unit restarts into its loader: it leaves the bus and comes back.
constexpr uint32_t kRestartPauseMs = 8000;
constexpr uint32_t kReopenTries = 10;
constexpr uint32_t kReopenPauseMs = 500;
// How long one block may wait for its acknowledgement, re-reads after a
// "not ready" answer included.
constexpr uint32_t kBlockAnswerMs = 30000;

// Transfer phases of UpgradeProcess.
enum : uint32_t {
    kPhaseReady = 0,     // the next block may go out
    kPhaseSent = 1,      // a block just went out
    kPhaseRead = 2,      // read the block's answer
    kPhaseFinished = 3,  // finish sent, or failed: the next step settles
};

std::string FileNameOf(const wchar_t* path) {
    const std::string narrow = WideToAnsiString(path);
    const size_t slash = narrow.find_last_of("\\/");
    return slash == std::string::npos ? narrow : narrow.substr(slash + 1);
}

void LogInvalidFile(const wchar_t* path, int line) {
    LogPrintA("return UPG_FILE_INVALID %s %d\n", FileNameOf(path).c_str(), line);
}

// True once an image, accepted or not, was read far enough for its checksum.
bool ImageWasRead(const FirmwareImage& image) { return image.fileSize != 0; }

bool ImageFault(FirmwareFault fault) {
    return fault == FirmwareFault::ImageTooShort || fault == FirmwareFault::FirmwareId ||
           fault == FirmwareFault::ModelId || fault == FirmwareFault::Checksum;
}

}  // namespace

uint32_t DspDevice::McuUpgParsingFile(const wchar_t* path, UpgradeKind kind) {
    const char* who = kind == UPG_KIND_LOADER ? "MCUUpgBLParsingFile" : "MCUUpgParsingFile";
    mUpgState.store(kUpgFileAccepted);
    if (!IsDeviceOpen()) {
        LogPrintA("%s return UPG_CONNECT_FAIL!\n", who);
        return UPG_CONNECT_FAIL;
    }
    LogPrintA("CopyFileToBuffer\n");
    const UpgradeFileType type = kind == UPG_KIND_LOADER ? UpgradeFileType::Loader : UpgradeFileType::Mcu;
    const uint32_t result = LoadUpgradeFile(path, type, mExpectedModelId, &mUpgFile);
    const FirmwareImage& image = mUpgFile.mcu;
    if (ImageWasRead(image)) {
        LogPrintA("cal MCU encrypt_checksum=0x%x!\n", image.computedChecksum);
        LogPrintA("encrypt_checksum=0x%x!\n", image.storedChecksum);
        LogPrintA("noCheckID=false, FW_ID=0x%x, FW_MODEL_ID=0x%x, pc_model_id=0x%x\n",
                  image.firmwareId, image.modelId, mExpectedModelId);
    }
    if (result == UPG_OK) LogPrintA("UPG_FILE_VALID\n");
    if (result == UPG_FILE_INVALID) LogInvalidFile(path, __LINE__);
    return result;
}

uint32_t DspDevice::FlashUpgParsingFile(const wchar_t* path) {
    LogPrintA("FlashUpgParsingFile!\n");
    if (!IsDeviceOpen()) {
        LogPrintA("FlashUpgParsingFile return USB disconnected!\n");
        return UPG_CONNECT_FAIL;
    }
    mUpgState.store(dsp::UPG_MODE_ENTERED);
    const uint32_t result = LoadUpgradeFile(path, UpgradeFileType::Flash, mExpectedModelId, &mUpgFile);
    if (result == UPG_FILE_OPEN_FAIL) {
        LogPrintW(L"Error: Open file %s error!\n", path);
        return result;
    }
    ClearReceiveRing();
    const FirmwareImage& image = mUpgFile.dsp;
    if (ImageWasRead(image)) {
        LogPrintW(L"%ls file size is %ld\n", path, static_cast<long>(image.fileSize));
        LogPrintA("cal FLASH checksum=0x%x!\n", image.computedChecksum);
        LogPrintA("encrypt_checksum=0x%x!\n", image.storedChecksum);
    }
    if (result == UPG_OK) LogPrintA("FlashUpgParsingFile return ok!\n");
    if (result == UPG_FILE_INVALID) LogInvalidFile(path, __LINE__);
    return result;
}

uint32_t DspDevice::ParsingUpgFWFile(const wchar_t* path) {
    // The merged file's trace goes to the console only.
    const uint32_t result = LoadUpgradeFile(path, UpgradeFileType::Merged, mExpectedModelId, &mUpgFile);
    const FirmwareFile& file = mUpgFile;
    if (file.fault == FirmwareFault::NoMemory && !file.faultInDsp) ConsolePrintf("malloc mergedFW buffer error!\n");
    if (file.fault == FirmwareFault::ReadFailed) ConsolePrintf("read FW error!\n");
    if (file.fault == FirmwareFault::MergedHeader || file.mergedCount != 0) {
        ConsolePrintf("head is 0x%x, 0x%x\n", file.mergedHeader[0], file.mergedHeader[1]);
    }
    if (file.fault == FirmwareFault::MergedHeader) ConsolePrintf("upg FW not match!\n");
    if (file.mergedCount != 0) ConsolePrintf("totalFW=%d\n", static_cast<int>(file.mergedCount));
    if (ImageWasRead(file.mcu)) {
        const uint32_t bytes = file.mcu.fileSize - static_cast<uint32_t>(kImageOverhead);
        ConsolePrintf("FWSize[0]=0x%x\n", file.mcu.fileSize);
        ConsolePrintf("MCU imgfilesize=0x%x\n", bytes);
        ConsolePrintf("read MCUFW size = 0x%x\n", bytes);
        ConsolePrintf("MCU cal encrypt_checksum=0x%x!\n", file.mcu.computedChecksum);
        ConsolePrintf("MCU encrypt_checksum=0x%x!\n", file.mcu.storedChecksum);
    }
    if (ImageFault(file.fault) && !file.faultInDsp) ConsolePrintf("MCU checksum error!\n");
    if (ImageWasRead(file.dsp)) {
        const uint32_t bytes = file.dsp.fileSize - static_cast<uint32_t>(kImageOverhead);
        ConsolePrintf("FWSize[1]=0x%x\n", file.dsp.fileSize);
        ConsolePrintf("dspsize=0x%x\n", bytes);
        ConsolePrintf("read DSPFW size = 0x%x\n", bytes);
        ConsolePrintf("cal DSP encrypt_checksum=0x%x!\n", file.dsp.computedChecksum);
        ConsolePrintf("dsp encrypt_checksum=0x%x!\n", file.dsp.storedChecksum);
    }
    if (file.fault == FirmwareFault::NoMemory && file.faultInDsp) ConsolePrintf("malloc DSPFW fail\n");
    if (ImageFault(file.fault) && file.faultInDsp) ConsolePrintf("DSP checksum error!\n");
    if (result != UPG_OK) {
        ConsolePrintf("return UPG_FILE_INVALID %s %d\n", FileNameOf(path).c_str(), __LINE__);
    }
    return result;
}

uint32_t DspDevice::UpgradeStart(const wchar_t* path, uint8_t eraseFirst) {
    ResetUpgrade(kUpgradeDone);
    LogPrintA("UpgradeStart filename %s\n", FileNameOf(path).c_str());

    uint32_t result = UPG_FILE_INVALID;
    switch (UpgradeFileTypeFromPath(path)) {
    case UpgradeFileType::DownloadScript:
        return UPG_OK;  // nothing to transfer: the steps report done at once
    case UpgradeFileType::Loader:
        LogPrintA("before MCUUpgBLParsingFile\n");
        result = McuUpgParsingFile(path, UPG_KIND_LOADER);
        break;
    case UpgradeFileType::Flash:
        LogPrintA("before FlashUpgParsingFile\n");
        result = FlashUpgParsingFile(path);
        break;
    case UpgradeFileType::Mcu:
        LogPrintA("before MCUUpgParsingFile\n");
        result = McuUpgParsingFile(path, UPG_KIND_MCU);
        break;
    case UpgradeFileType::Merged:
        LogPrintA("before ParsingUpgFWFile\n");
        result = ParsingUpgFWFile(path);
        break;
    case UpgradeFileType::Unknown:
        LogPrintA("UpgradeStart UPG_FILE_INVALID\n");
        ResetUpgrade(kUpgradeFailed);
        return UPG_FILE_INVALID;
    }
    LogPrintA("Parsing return 0x%0x\n", result);
    if (result == UPG_OK && !EnterUpgradeMode(eraseFirst)) result = UPG_START_FAIL;
    if (result != UPG_OK) {
        ResetUpgrade(kUpgradeFailed);
        return result;
    }
    if (mMcuNormalMode.load() == 1 && mUpgFile.kind != UPG_KIND_LOADER) ReopenAfterRestart();

    mBootloaderVersion.store(0);
    if (!IsDeviceOpen()) {
        LogPrintA("UpgradeStart Device not Connected\n");
        ResetUpgrade(kUpgradeFailed);
        LogPrintA("UpgradeStart UPG_CONNECT_FAIL\n");
        return UPG_CONNECT_FAIL;
    }
    LogPrintA("UpgradeStart Device Connected\n");
    ClearReceiveRing();
    return StartTransfer();
}

bool DspDevice::EnterUpgradeMode(uint8_t eraseFirst) {
    const UpgradeKind kind = mUpgFile.kind;
    uint8_t enter = kMcuEnter;
    switch (kind) {
    case UPG_KIND_LOADER: enter = kLoaderEnter; break;
    case UPG_KIND_MCU: break;
    case UPG_KIND_DSP:
        // The erase answer only moves the state; the upgrade goes on either way.
        if (eraseFirst) Submit(dsp::CMD_FLASH, kFlashErase, dsp::OP_SET, nullptr, 0, true);
        break;
    default:
        LogPrintA("unknown upg_device: 0x%0x\n", kind);
        return false;
    }
    mUpgState.store(kUpgFileAccepted);
    Submit(dsp::CMD_MCU, enter, dsp::OP_SET, nullptr, 0, true);
    if (mUpgState.load() != dsp::UPG_MODE_ENTERED) {
        LogPrintA("UpgradeStart the unit did not enter upgrade mode\n");
        return false;
    }
    return true;
}

void DspDevice::ReopenAfterRestart() {
    CloseHIDDevice(false);
    Sleep(ScaledWait(kRestartPauseMs));
    for (uint32_t i = 0; i < kReopenTries; ++i) {
        OpenHIDDevice();
        if (IsDeviceOpen()) return;
        Sleep(ScaledWait(kReopenPauseMs));
    }
}

uint32_t DspDevice::StartTransfer() {
    const UpgradeKind kind = mUpgFile.kind;
    const bool dspKind = kind == UPG_KIND_DSP;
    const FirmwareImage& image = dspKind ? mUpgFile.dsp : mUpgFile.mcu;
    const char* what = dspKind ? "FlashStart" : kind == UPG_KIND_LOADER ? "McuBLStart" : "McuStart";
    const uint8_t type = dspKind ? dsp::CMD_FLASH : dsp::CMD_MCU;
    const uint8_t start = dspKind ? kFlashStart : kind == UPG_KIND_LOADER ? kLoaderStart : kMcuStart;

    Submit(type, start, dsp::OP_SET, image.startParams, sizeof(image.startParams), true);
    // Refused (80) or never answered: no transfer can follow.
    const bool started = mUpgState.load() == dsp::UPG_READY && mUpgBlocks.Begin(kind, image.bytes);
    const uint32_t result = started ? UPG_OK : UPG_START_FAIL;
    LogPrintA("UpgradeStart %s return 0x%0x\n", what, result);
    if (!started) {
        ResetUpgrade(kUpgradeFailed);
        return result;
    }
    mUpgPhase = kPhaseReady;
    return UPG_OK;
}

uint8_t DspDevice::UpgradeProcess() {
    if (!mUpgBlocks.Active()) return mUpgIdleResult;
    switch (mUpgPhase) {
    case kPhaseSent:
        mUpgPhase = kPhaseRead;
        return mUpgBlocks.Progress();
    case kPhaseRead:
        ReadBlockAnswer();
        return mUpgBlocks.Progress();
    case kPhaseFinished:
        return FinishUpgrade(mUpgState.load() == dsp::UPG_FINISHING ? kUpgradeDone : kUpgradeFailed);
    default:
        break;
    }
    const uint32_t state = mUpgState.load();
    if (state == dsp::UPG_READY) {
        SendNextBlock();
    } else if (state == dsp::UPG_NOT_READY) {
        return FinishUpgrade(kUpgradeFailed);
    } else {
        // Nothing the unit can still send moves the transfer on from here.
        LogPrintA("upgrade stopped in state %u\n", state);
        FailTransfer();
    }
    return mUpgBlocks.Progress();
}

void DspDevice::SendNextBlock() {
    const UpgradeKind kind = mUpgBlocks.Kind();
    const bool dspKind = kind == UPG_KIND_DSP;
    const uint8_t type = dspKind ? dsp::CMD_FLASH : dsp::CMD_MCU;
    if (mUpgBlocks.AllSent()) {
        const uint8_t finish = dspKind ? kFlashFinish : kind == UPG_KIND_LOADER ? kLoaderFinish : kMcuFinish;
        // The finish is not answered: the unit reboots.
        if (!SendUpgradeCommand(type, finish, nullptr, 0)) {
            FailTransfer();
            return;
        }
        mUpgPhase = kPhaseFinished;
        mUpgState.store(dsp::UPG_FINISHING);
        LogPrintA(dspKind ? "upgrade dsp finished!\n"
                  : kind == UPG_KIND_LOADER ? "upgrade mcu bootloader finished!\n"
                                            : "upgrade mcu finished!\n");
        return;
    }
    if (!IsDeviceOpen()) {
        FailTransfer();
        return;
    }
    uint8_t payload[UpgradeBlocks::kMaxPayloadBytes];
    const UpgradeBlock block = mUpgBlocks.TakeBlock(payload);
    if (dspKind) {
        LogPrintA("Total file len %ld; current read pos: %ld;  has read len %ld.\n",
                  static_cast<long>(mUpgBlocks.Size()), static_cast<long>(block.offset),
                  static_cast<long>(mUpgBlocks.BytesSent()));
    }
    const uint8_t sub = dspKind ? kFlashBlock : kind == UPG_KIND_LOADER ? kLoaderBlock : kMcuBlock;
    mUpgNotReady.store(0);
    mUpgState.store(dsp::UPG_WAITING_ACK);
    mUpgBlockSentAt = GetTickCount();
    if (!SendUpgradeCommand(type, sub, payload, block.length)) {
        FailTransfer();
        return;
    }
    mUpgPhase = kPhaseSent;
}

void DspDevice::ReadBlockAnswer() {
    if (!IsDeviceOpen()) {
        FailTransfer();
        return;
    }
    const UpgradeKind kind = mUpgBlocks.Kind();
    const uint8_t type = kind == UPG_KIND_DSP ? dsp::CMD_FLASH : dsp::CMD_MCU;
    const uint8_t sub = kind == UPG_KIND_DSP ? kFlashBlock : kind == UPG_KIND_LOADER ? kLoaderBlock : kMcuBlock;
    LogPrintA("begain to read data...\n");
    // Each answer is decoded once, by the read itself.
    if (ReadReply(type, sub, kReplyWaitMs)) {
        LogPrintA("has send out %d dtata... \n", static_cast<int>(BytesRead()));
        LogAnswerBytes();
    } else {
        LogPrintA("read data error! %d\n", static_cast<int>(GetLastError()));
    }

    const uint32_t state = mUpgState.load();
    if (state == dsp::UPG_READY) {
        mUpgPhase = kPhaseReady;
        return;
    }
    if (state != dsp::UPG_WAITING_ACK) {
        FailTransfer();
        return;
    }
    if (GetTickCount() - mUpgBlockSentAt > ScaledWait(kBlockAnswerMs)) {
        LogPrintA("no acknowledgement of the block, upgrade failed\n");
        FailTransfer();
        return;
    }
    // Not ready: read again from the next step on; the block is not resent.
    // No answer yet: this phase reads again.
    if (mUpgNotReady.exchange(0)) mUpgPhase = kPhaseSent;
}

void DspDevice::LogAnswerBytes() {
    char line[32 + 3 * dsp::kInputReportSize];
    int n = snprintf(line, sizeof(line), "data return from devices is:");
    const int count = BytesRead();
    for (int i = 0; i < count && i < static_cast<int>(dsp::kInputReportSize); ++i)
        n += snprintf(line + n, sizeof(line) - static_cast<size_t>(n), "%02X ", mReceiveBuffer[i]);
    LogPrintA("%s\n", line);
}

void DspDevice::FailTransfer() {
    mUpgState.store(dsp::UPG_NOT_READY);
    mUpgPhase = kPhaseFinished;
}

uint8_t DspDevice::FinishUpgrade(uint8_t result) {
    // A DSP upgrade ends with the unit's reboot, successful or not.
    if (mUpgBlocks.Kind() == UPG_KIND_DSP) MCU_Reboot_Ctrl();
    ResetUpgrade(result);
    return result;
}

void DspDevice::ResetUpgrade(uint8_t idleResult) {
    mUpgBlocks.End();
    mUpgFile = FirmwareFile{};
    mUpgState.store(0);
    mUpgPhase = kPhaseReady;
    mUpgIdleResult = idleResult;
}

bool DspDevice::SendUpgradeCommand(uint8_t type, uint8_t subcommand, const uint8_t* payload,
                                   uint8_t length) {
    std::unique_lock<std::recursive_timed_mutex> lock(mLinkLock, std::defer_lock);
    if (!lock.try_lock_for(std::chrono::milliseconds(ScaledWait(kReplyWaitMs)))) {
        LogPrintW(L"time out, break out send cmd!\n");
        return false;
    }
    return SendCtrlCommand(type, subcommand, dsp::OP_SET, payload, length);
}

void DspDevice::ClearReceiveRing() {
    std::lock_guard<std::recursive_timed_mutex> lock(mLinkLock);
    mRing.Clear();
    mParser.Reset();
}
