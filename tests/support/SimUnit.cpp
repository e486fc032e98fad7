#include "tests/support/SimUnit.h"

#include <algorithm>
#include <chrono>

#include "device/FrameCodec.h"

namespace sim {

namespace {
struct SimHandle {
    int serial;
    int reads = 0;  // reads waiting on the handle
};
int gNextSerial = 1;
}  // namespace

void AckResponder::OnCommand(const Frame& frame, SimUnit& unit) {
    unit.QueueFrame(frame.type, frame.subcommand, dsp::OP_ACK, {0x0A});
}

SimUnit& SimUnit::Instance() {
    static SimUnit unit;
    return unit;
}

void SimUnit::Reset() {
    std::lock_guard<std::mutex> lock(mMutex);
    mPresent = true;
    mRestarting = false;
    mHoldReads = mHoldWrites = mFailWrites = mFailOneWrite = mFailReads = false;
    mFailMask = 0;
    mStrings[0] = L"Brisa";
    mStrings[1] = L"BrisaDSP";
    mStrings[2] = L"0001";
    mStrings[3] = L"Brisa";
    mResponder = nullptr;
    mInput.clear();
    mReceived.clear();
    mReceivedAtMs.clear();
    mMisused = 0;
    mReadAttempts = 0;
    for (void* handle : mOpenHandles) delete static_cast<SimHandle*>(handle);
    mOpenHandles.clear();
    mChanged.notify_all();
}

void SimUnit::SetStrings(const std::wstring& manufacturer, const std::wstring& product,
                         const std::wstring& serial, const std::wstring& indexed) {
    std::lock_guard<std::mutex> lock(mMutex);
    mStrings[0] = manufacturer;
    mStrings[1] = product;
    mStrings[2] = serial;
    mStrings[3] = indexed;
}

void SimUnit::SetFailingStrings(unsigned failMask) {
    std::lock_guard<std::mutex> lock(mMutex);
    mFailMask = failMask;
}

void SimUnit::SetResponder(IResponder* responder) {
    std::lock_guard<std::mutex> lock(mMutex);
    mResponder = responder;
}

void SimUnit::QueueInputReport(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> report(bytes);
    report.resize(dsp::kInputReportSize, 0);
    std::lock_guard<std::mutex> lock(mMutex);
    mInput.push_back(report);
    mChanged.notify_all();
}

std::vector<uint8_t> SimUnit::EncodeFrame(uint8_t type, uint8_t subcommand, uint8_t optype,
                                          const std::vector<uint8_t>& data) {
    const uint8_t length = static_cast<uint8_t>(data.size() + 3);
    std::vector<uint8_t> frame(data.size() + 7);
    frame[0] = 0xAA;
    frame[1] = 0x55;
    frame[2] = length;
    frame[3] = type;
    frame[4] = subcommand;
    frame[5] = optype;
    std::copy(data.begin(), data.end(), frame.begin() + 6);
    frame.back() = dsp::packet_checksum(length, type, frame.data() + 4);
    return frame;
}

void SimUnit::QueueFrame(uint8_t type, uint8_t subcommand, uint8_t optype,
                         const std::vector<uint8_t>& data) {
    QueueInputReport(EncodeFrame(type, subcommand, optype, data));
}

void SimUnit::HoldReads(bool hold) {
    std::lock_guard<std::mutex> lock(mMutex);
    mHoldReads = hold;
    mChanged.notify_all();
}

void SimUnit::FailWrites(bool once) {
    std::lock_guard<std::mutex> lock(mMutex);
    mFailWrites = true;
    mFailOneWrite = once;
}

void SimUnit::SetRestarting(bool restarting) {
    std::lock_guard<std::mutex> lock(mMutex);
    mRestarting = restarting;
    mChanged.notify_all();
}

void SimUnit::FailReads() {
    std::lock_guard<std::mutex> lock(mMutex);
    mFailReads = true;
}

void SimUnit::HoldWrites(bool hold, size_t after) {
    std::lock_guard<std::mutex> lock(mMutex);
    mHoldWrites = hold;
    mHoldAfter = hold ? after : 0;
    mChanged.notify_all();
}

bool SimUnit::WaitForBlockedRead(unsigned timeoutMs) {
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return mBlockedReads > 0; });
}

bool SimUnit::WaitForBlockedWrite(unsigned timeoutMs) {
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return mBlockedWrites > 0; });
}

int SimUnit::BlockedWrites() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mBlockedWrites;
}

int SimUnit::BlockedReads() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mBlockedReads;
}

void SimUnit::SetPresent(bool present) {
    std::lock_guard<std::mutex> lock(mMutex);
    mPresent = present;
    if (present) mFailWrites = mFailOneWrite = mFailReads = false;
    // Reports not read before the unit dropped off the bus are lost with it.
    if (!present) mInput.clear();
    mChanged.notify_all();
}

bool SimUnit::WaitForInputDrained(unsigned timeoutMs) {
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return mInput.empty(); });
}

bool SimUnit::IsPresent() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mPresent;
}

std::vector<std::vector<uint8_t>> SimUnit::ReceivedReports() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mReceived;
}

std::vector<Frame> SimUnit::ReceivedFrames() {
    std::vector<Frame> frames;
    std::vector<long> times;
    const std::vector<std::vector<uint8_t>> reports = [&] {
        std::lock_guard<std::mutex> lock(mMutex);
        times = mReceivedAtMs;
        return mReceived;
    }();
    for (size_t i = 0; i < reports.size(); ++i) {
        const auto& report = reports[i];
        if (report.size() < 8 || report[1] != 0xAA || report[2] != 0x55 || report[3] < 3) continue;
        Frame frame;
        frame.atMs = times[i];
        frame.type = report[4];
        frame.subcommand = report[5];
        frame.optype = report[6];
        size_t length = std::min<size_t>(report[3] - 3u, report.size() - 8);
        frame.data.assign(report.begin() + 7, report.begin() + 7 + static_cast<long>(length));
        frames.push_back(frame);
    }
    return frames;
}

void SimUnit::ClearReceived() {
    std::lock_guard<std::mutex> lock(mMutex);
    mReceived.clear();
    mReceivedAtMs.clear();
}

int SimUnit::MisusedHandleCount() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mMisused;
}

int SimUnit::ReadAttemptCount() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mReadAttempts;
}

int SimUnit::OpenHandleCount() {
    std::lock_guard<std::mutex> lock(mMutex);
    return static_cast<int>(mOpenHandles.size());
}

bool SimUnit::CheckHandle(void* device) {
    if (std::find(mOpenHandles.begin(), mOpenHandles.end(), device) != mOpenHandles.end())
        return true;
    ++mMisused;
    return false;
}

void* SimUnit::Open() {
    std::unique_lock<std::mutex> lock(mMutex);
    // The bound only keeps a test that never ends a restart from hanging.
    mChanged.wait_for(lock, std::chrono::seconds(10), [this] { return !mRestarting; });
    if (!mPresent) return nullptr;
    auto* handle = new SimHandle{gNextSerial++};
    mOpenHandles.push_back(handle);
    return handle;
}

int SimUnit::Write(void* device, const uint8_t* data, size_t length) {
    Frame frame;
    IResponder* responder = nullptr;
    {
        std::unique_lock<std::mutex> lock(mMutex);
        if (!CheckHandle(device)) return -1;
        if (static_cast<SimHandle*>(device)->reads > 0) ++mMisused;
        ++mBlockedWrites;
        mChanged.notify_all();
        mChanged.wait(lock, [this] { return !mHoldWrites || mHoldAfter > 0; });
        if (mHoldAfter > 0) --mHoldAfter;
        --mBlockedWrites;
        if (!mPresent || mFailWrites) {
            if (mFailOneWrite) mFailWrites = mFailOneWrite = false;
            return -1;
        }
        mReceived.emplace_back(data, data + length);
        mReceivedAtMs.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch()).count()));
        responder = mResponder;
        const auto& report = mReceived.back();
        // A unit drops a frame whose checksum is wrong, silently.
        if (length >= 8 && report[1] == 0xAA && report[2] == 0x55 && report[3] >= 3 &&
            report[3] - 3u <= length - 8 &&
            dsp::packet_checksum(report[3], report[4], &report[5]) == report[4 + report[3]]) {
            frame.type = report[4];
            frame.subcommand = report[5];
            frame.optype = report[6];
            frame.data.assign(report.begin() + 7, report.begin() + 7 + (report[3] - 3));
        } else {
            responder = nullptr;
        }
    }
    if (responder) responder->OnCommand(frame, *this);
    return static_cast<int>(length);
}

int SimUnit::Read(void* device, uint8_t* data, size_t length, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mMutex);
    if (!CheckHandle(device)) return -1;
    ++mReadAttempts;
    if (mFailReads) return -1;
    auto ready = [this] { return !mPresent || (!mHoldReads && !mInput.empty()); };
    ++mBlockedReads;
    ++static_cast<SimHandle*>(device)->reads;
    mChanged.notify_all();
    if (mHoldReads) {
        // A released read returns what is there, without waiting further.
        mChanged.wait(lock, [this] { return !mHoldReads || !mPresent; });
    } else if (timeoutMs < 0) {
        mChanged.wait(lock, ready);
    } else {
        mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    --mBlockedReads;
    --static_cast<SimHandle*>(device)->reads;
    if (!mPresent) return -1;
    if (mInput.empty()) return 0;
    std::vector<uint8_t> report = std::move(mInput.front());
    mInput.pop_front();
    mChanged.notify_all();
    size_t count = std::min(length, report.size());
    std::copy(report.begin(), report.begin() + static_cast<long>(count), data);
    return static_cast<int>(count);
}

int SimUnit::GetString(void* device, int which, wchar_t* text, size_t maxLength) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!CheckHandle(device) || which < 0 || which > 3 || (mFailMask & (1u << which))) return -1;
    if (maxLength == 0) return -1;
    size_t count = std::min(maxLength - 1, mStrings[which].size());
    std::copy(mStrings[which].begin(), mStrings[which].begin() + static_cast<long>(count), text);
    text[count] = L'\0';
    return 0;
}

void SimUnit::Close(void* device) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!CheckHandle(device)) return;
    mOpenHandles.erase(std::find(mOpenHandles.begin(), mOpenHandles.end(), device));
    delete static_cast<SimHandle*>(device);
    mChanged.notify_all();
}

}  // namespace sim
