// The HID link of DspDevice: open, close, framed writes, reads and dispatch.
#include <hidapi.h>

#include <cwchar>

#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/DspDevice.h"

namespace {

std::atomic<uint32_t> gDspRequestCount{0};
std::atomic<DspDevice::ReplyWaitCheck> gReplyWaitCheck{nullptr};

uint32_t ElapsedSince(DWORD start) { return static_cast<uint32_t>(GetTickCount() - start); }

void LogChecksum(uint32_t tempSum) { LogPrintW(L"packet_checksum: temp_sum(0x%08x)\n", tempSum); }

// Logs title followed by the bytes as "%02x " on one line.
void LogHexLine(const wchar_t* title, const uint8_t* bytes, size_t count) {
    wchar_t line[64 + 3 * dsp::kOutputReportSize + 2];
    int n = _snwprintf(line, 64, L"%s", title);
    if (n < 0) n = 0;
    for (size_t i = 0; i < count && i < dsp::kOutputReportSize; ++i)
        n += _snwprintf(line + n, 4, L"%02x ", bytes[i]);
    line[n++] = L'\n';
    line[n] = L'\0';
    LogPrintW(L"%s", line);
}

// A read waits in slices of this length, so that a close or a reopen meanwhile
// ends it soon instead of after the unit's whole reply wait.
const uint32_t kReadSliceMs = 20;

}  // namespace

// Counts one read or write in flight while it uses the handle; a close meanwhile
// leaves the handle to the last one of them to release.
class DspDevice::IoGuard {
public:
    IoGuard(DspDevice& device, bool read) : mDevice(device), mRead(read) {
        std::lock_guard<std::mutex> lock(device.mIoMutex);
        ++device.mIoInFlight;
        mHandle = device.mHidHandle.load();
        mLink = device.mLinkSerial.load();
        if (read) device.mReading = mHandle;
    }
    ~IoGuard() { mDevice.EndIo(mRead); }
    IoGuard(const IoGuard&) = delete;
    IoGuard& operator=(const IoGuard&) = delete;
    hid_device* handle() const { return mHandle; }
    uint32_t link() const { return mLink; }

private:
    DspDevice& mDevice;
    const bool mRead;
    hid_device* mHandle;
    uint32_t mLink;
};

bool DspDevice::IsUnitOnBus() {
    if (hid_init() != 0) return false;
    hid_device_info* units = hid_enumerate(kVendorId, kProductId);
    const bool found = units != nullptr;
    hid_free_enumeration(units);
    return found;
}

void DspDevice::OpenHIDDevice() {
    if (IsDeviceOpen()) return;
    if (hid_init() != 0) return;
    hid_device* handle = hid_open(kVendorId, kProductId, nullptr);
    if (!handle) {
        LogPrintW(L"unable to open device\n");
        return;
    }

    struct InfoString {
        const wchar_t* okFormat;
        const wchar_t* failText;
    };
    const InfoString infos[4] = {
        {L"Manufacturer String: %ls\n", L"Unable to read manufacturer string\n"},
        {L"Product String: %ls\n", L"Unable to read product string\n"},
        {L"Serial Number String: (%d) %ls\n", L"Unable to read serial number string\n"},
        {L"Indexed String 1: %ls\n", L"Unable to read indexed string 1\n"},
    };
    int failures = 0;
    for (int i = 0; i < 4; ++i) {
        wchar_t text[255] = {};
        int result = 0;
        switch (i) {
        case 0: result = hid_get_manufacturer_string(handle, text, 255); break;
        case 1: result = hid_get_product_string(handle, text, 255); break;
        case 2: result = hid_get_serial_number_string(handle, text, 255); break;
        default: result = hid_get_indexed_string(handle, 1, text, 255); break;
        }
        text[254] = L'\0';
        if (result < 0) {
            LogPrintW(infos[i].failText);
            ++failures;
        } else if (i == 2) {
            LogPrintW(infos[i].okFormat, static_cast<int>(text[0]), text);
        } else {
            LogPrintW(infos[i].okFormat, text);
        }
    }
    if (failures >= 3) {
        LogPrintW(L"read HID info error, unable open device correctly\n");
        hid_close(handle);
        return;
    }
    hid_set_nonblocking(handle, 1);

    // A new link number: the first read on it empties the ring and the parser.
    std::lock_guard<std::mutex> lock(mIoMutex);
    mHidHandle.store(handle);
    mLinkSerial.fetch_add(1);
}

void DspDevice::CloseHIDDevice(bool notify) {
    hid_device* handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(mIoMutex);
        handle = mHidHandle.exchange(nullptr);
        if (!handle) return;
        const uint32_t link = mLinkSerial.fetch_add(1) + 1;
        // The worker writes the goodbye, so the closing thread never waits
        // behind a wedged write. One still unwritten for an earlier link is
        // moot now and hands its count to this one.
        if (notify) {
            if (!mLeaving) ++mIoInFlight;
            mLeaving = handle;
            mLeavingLink = link;
        }
        if (mIoInFlight > 0) {
            mClosing.push_back(handle);
            return;
        }
    }
    ReleaseHandle(handle);
}

void DspDevice::EndIo(bool read) {
    std::vector<hid_device*> closed;
    {
        std::lock_guard<std::mutex> lock(mIoMutex);
        if (read) mReading = nullptr;
        if (--mIoInFlight == 0) closed.swap(mClosing);
    }
    for (hid_device* handle : closed) ReleaseHandle(handle);
}

void DspDevice::SendLeaveFrame() {
    hid_device* handle = nullptr;
    uint32_t link = 0;
    {
        std::lock_guard<std::mutex> lock(mIoMutex);
        // A read still in its slice on the closed handle ends soon; the worker
        // comes back to the goodbye then.
        if (mLeaving == mReading) return;
        std::swap(handle, mLeaving);
        link = mLeavingLink;
    }
    if (!handle) return;
    PC_Connect(0, handle, link);
    EndIo();
}

void DspDevice::ReleaseHandle(hid_device* handle) {
    hid_close(handle);
    LogPrintW(L"CloseHIDDevice!\n");
}

bool DspDevice::SendCtrlCommand(uint8_t type, uint8_t subcommand, uint8_t optype,
                                const uint8_t* payload, uint8_t length) {
    return WriteCommand(nullptr, mLinkSerial.load(), type, subcommand, optype, payload, length);
}

bool DspDevice::WriteCommand(hid_device* closed, uint32_t link, uint8_t type, uint8_t subcommand,
                             uint8_t optype, const uint8_t* payload, uint8_t length) {
    const DWORD start = GetTickCount();
    if (type == dsp::CMD_DSP && optype == dsp::OP_GET) {
        uint32_t count = gDspRequestCount.fetch_add(1) + 1;
        if (const char* name = dsp::DspSubcommandName(subcommand))
            LogPrintW(L"SendCtrlCommand %d, %S\n", count, name);
        else
            LogPrintW(L"SendCtrlCommand %d, %d\n", count, subcommand);
    }
    LogPrintW(L"SendCtrlCommand timestart = %ld\n", static_cast<long>(start));
    if (!closed && !IsDeviceOpen()) return false;

    uint8_t report[dsp::kOutputReportSize];
    if (!dsp::BuildOutputReport(type, subcommand, optype, payload, length, report, &LogChecksum)) {
        LogPrintW(L"SendCtrlCommand payload too long (%d), subcmd 0x%02x\n", length, subcommand);
        return false;
    }

    while (mWriteBusy.exchange(1)) {
        if (ElapsedSince(start) > ScaledWait(kWriteWaitMs)) {
            LogPrintW(L"time out, break out send cmd!\n");
            return false;
        }
        if (mLinkSerial.load() != link) {
            LogPrintW(L"mHidHandle is NULL, break out send cmd!\n");
            return false;
        }
        Sleep(1);
    }

    LogPrintW(L"SendCtrlCommand Cmd:0x%02x, subcmd:0x%02x, optype:0x%02x, len:0x%02x\n", type,
              subcommand, optype, length);
    LogHexLine(L"begain to write data to devices:", report, sizeof(report));
    LogPrintW(L"set WRITE_ROPRT = TRUE\n");

    bool written = false;
    {
        IoGuard io(*this, false);
        // A command for a link that has ended since goes nowhere.
        hid_device* handle = io.link() == link ? (closed ? closed : io.handle()) : nullptr;
        if (!handle) {
            LogPrintW(L"mHidHandle is NULL, can't send cmd\n");
        } else if (hid_write(handle, report, sizeof(report)) < 0) {
            const wchar_t* error = hid_error(handle);
            LogPrintW(L"Write HidDeviceObject = %d errot = %s\n",
                      static_cast<int>(reinterpret_cast<intptr_t>(handle)), error ? error : L"");
        } else {
            LogPrintW(L"write data ok! HidDeviceObject = %d\n",
                      static_cast<int>(reinterpret_cast<intptr_t>(handle)));
            written = true;
        }
    }
    mWriteBusy.store(0);
    return written;
}

bool DspDevice::ReadHIDData(uint8_t* buffer, uint32_t timeoutMs) {
    return ReadReport(buffer, ScaledWait(timeoutMs)) == ReadOutcome::Data;
}

DspDevice::ReadOutcome DspDevice::ReadReport(uint8_t* buffer, uint32_t timeout) {
    const DWORD start = GetTickCount();
    std::unique_lock<std::recursive_timed_mutex> lock(mLinkLock, std::defer_lock);
    if (!lock.try_lock_for(std::chrono::milliseconds(timeout))) {
        mBytesRead.store(0);
        return ReadOutcome::Nothing;
    }

    int count = 0;
    int failures = 0;
    uint32_t link = 0;
    for (;;) {
        {
            IoGuard io(*this, true);
            if (!io.handle()) {
                LogPrintW(L"mHidHandle is NULL\n");
                mBytesRead.store(0);
                return ReadOutcome::Failed;
            }
            link = io.link();
            // A partial frame of an earlier link must not swallow the first answer.
            if (mParsedLink != link) {
                mRing.Clear();
                mParser.Reset();
                mParser.trace = &LogChecksum;
                mParsedLink = link;
            }
            uint32_t elapsed = ElapsedSince(start);
            uint32_t wait = elapsed < timeout ? timeout - elapsed : 0;
            count = hid_read_timeout(io.handle(), buffer, dsp::kInputReportSize,
                                     static_cast<int>(wait < kReadSliceMs ? wait : kReadSliceMs));
        }
        if (count > 0 || mLinkSerial.load() != link) break;
        if (count == 0) {
            if (ElapsedSince(start) >= timeout) break;
            continue;
        }
        // A unit that was pulled out fails every read at once: a few failures
        // in a row end the read, so nobody waits out the time-out for it.
        if (++failures >= kFailedReadsBeforeGone || ElapsedSince(start) > timeout) break;
        Sleep(1);
    }
    // What an earlier link still brought belongs to no one now.
    if (mLinkSerial.load() != link) {
        mBytesRead.store(0);
        return ReadOutcome::Failed;
    }

    // A poll that does not wait and finds nothing is not logged: the status
    // timer polls ten times a second for the whole session.
    if (timeout > 0 || count != 0) {
        LogPrintW(L"ReadHIDData timestart = %ld\n", static_cast<long>(start));
        LogPrintW(L"ReadHIDData done timeend-timestart = %ld\n", static_cast<long>(ElapsedSince(start)));
        LogPrintW(L"ReadHIDData NumberOfBytesRead = %d\n", count);
    }
    if (count < 1) {
        mBytesRead.store(0);
        if (count < 0) {
            LogPrintW(L"ReadHIDData failed %d times in a row\n", failures);
            mFailedReads.fetch_add(1);
        }
        return count < 0 ? ReadOutcome::Failed : ReadOutcome::Nothing;
    }
    if (count > static_cast<int>(dsp::kInputReportSize)) count = dsp::kInputReportSize;
    mBytesRead.store(count);
    LogHexLine(L"read data: ", buffer, static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) mRing.Put(buffer[i]);

    uint8_t byte;
    while (IsDeviceOpen() && mRing.Take(&byte)) {
        if (mParser.state >= 4)
            LogPrintW(L"packet_process: temp_index(0x%02x), packet_length(0x%02x), packet_byte(0x%02x)\n",
                      mParser.state, mParser.length + 3, byte);
        if (mParser.packet_process(byte)) packet_dispatch(mParser.length, mParser.type, mParser.payload);
    }
    return ReadOutcome::Data;
}

void DspDevice::SetReplyWaitCheck(ReplyWaitCheck check) { gReplyWaitCheck.store(check); }

bool DspDevice::ReadReply(uint8_t type, uint8_t subcommand, uint32_t timeoutMs) {
    return AwaitReply(type, subcommand, timeoutMs, mLinkSerial.load());
}

bool DspDevice::AwaitReply(uint8_t type, uint8_t subcommand, uint32_t timeoutMs, uint32_t link) {
    std::unique_lock<std::recursive_timed_mutex> lock(mLinkLock, std::defer_lock);
    const DWORD start = GetTickCount();
    const uint32_t timeout = ScaledWait(timeoutMs);
    if (ReplyWaitCheck check = gReplyWaitCheck.load()) check(subcommand, timeout);
    if (!lock.try_lock_for(std::chrono::milliseconds(timeout))) return false;
    mAwaitType = type;
    mAwaitSubcommand = subcommand;
    mAwaitMatched = false;
    mAwaitActive = true;
    while (!mAwaitMatched && IsDeviceOpen() && mLinkSerial.load() == link) {
        uint32_t elapsed = ElapsedSince(start);
        if (elapsed >= timeout) break;
        // A failed read means the unit is gone: no answer will come.
        if (ReadReport(mReceiveBuffer, timeout - elapsed) == ReadOutcome::Failed) break;
    }
    mAwaitActive = false;
    return mAwaitMatched;
}

void DspDevice::packet_dispatch(uint8_t length, uint8_t type, const uint8_t* payload) {
    switch (type) {
    case dsp::CMD_DSP: LogPrintW(L"packet_process: packet_type(CMD_DSP)\n"); break;
    case dsp::CMD_FLASH: LogPrintW(L"packet_process: packet_type(CMD_FLASH)\n"); break;
    case dsp::CMD_MCU: LogPrintW(L"packet_process: packet_type(CMD_MCU)\n"); break;
    case dsp::CMD_DSP_DWRITE: LogPrintW(L"packet_process: packet_type(CMD_DSP_DWRITE)\n"); return;
    case dsp::CMD_KTV: LogPrintW(L"packet_process: packet_type(CMD_KTV)\n"); break;
    default: return;
    }
    // Only a frame that carries a subcommand and an optype answers a wait;
    // a shorter one leaves the previous frame's bytes in the payload.
    if (mAwaitActive && type == mAwaitType && length >= 3 && payload[0] == mAwaitSubcommand)
        mAwaitMatched = true;
    if (IFrameHandler* handler = mFrameHandler.load()) handler->OnFrame(length, type, payload);
}
