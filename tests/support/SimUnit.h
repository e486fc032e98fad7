// A simulated unit behind the hidapi C interface. Tests script its identity,
// its answers and its failures, and read back every report it received.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

class SimUnit;

// A received command, decoded from its output report.
struct Frame {
    uint8_t type = 0;
    uint8_t subcommand = 0;
    uint8_t optype = 0;
    std::vector<uint8_t> data;
    long atMs = 0;  // when the unit took it, on its own clock
};

// Answers the unit gives; called on the writing thread, with no lock held.
class IResponder {
public:
    virtual ~IResponder() = default;
    virtual void OnCommand(const Frame& frame, SimUnit& unit) = 0;
};

// Acknowledges every command with "sub EE 0A" of its packet type at once.
class AckResponder : public IResponder {
public:
    void OnCommand(const Frame& frame, SimUnit& unit) override;
};

class SimUnit {
public:
    static SimUnit& Instance();

    // Present, default identity, no responder, nothing held, nothing recorded.
    void Reset();

    // Identity strings; bit i of failMask makes string i fail (manufacturer,
    // product, serial number, indexed string 1).
    void SetStrings(const std::wstring& manufacturer, const std::wstring& product,
                    const std::wstring& serial, const std::wstring& indexed);
    void SetFailingStrings(unsigned failMask);
    void SetResponder(IResponder* responder);

    // Input reports the program will read, in order.
    void QueueInputReport(const std::vector<uint8_t>& bytes);
    // One frame "AA 55 L type sub op data cs" in a report of its own.
    void QueueFrame(uint8_t type, uint8_t subcommand, uint8_t optype,
                    const std::vector<uint8_t>& data);
    static std::vector<uint8_t> EncodeFrame(uint8_t type, uint8_t subcommand, uint8_t optype,
                                            const std::vector<uint8_t>& data);

    // Held reads block until released, whatever their time-out; held writes likewise.
    void HoldReads(bool hold);
    // A hold with writes to let through first engages once they have passed.
    void HoldWrites(bool hold, size_t after = 0);
    // Waits until a read (or write) is blocked inside the unit; false after timeoutMs.
    bool WaitForBlockedRead(unsigned timeoutMs);
    bool WaitForBlockedWrite(unsigned timeoutMs);
    // Writes waiting inside the unit now (HoldWrites).
    int BlockedWrites();
    int BlockedReads();

    // Unplugged: opening fails, every read or write on an open handle fails
    // and the reports not yet read are lost. Back, its writes work again.
    void SetPresent(bool present);
    // Every write fails while the unit stays listed: the moment between a
    // pulled cable and the system's removal; once: only the next one.
    void FailWrites(bool once = false);
    // Every read fails while the unit stays listed (until plugged in again).
    void FailReads();
    // While the unit restarts, a host that opens it finds it once it is back,
    // as a host that waits out the restart does, however late the unit's own
    // thread runs.
    void SetRestarting(bool restarting);
    // Waits until every queued report was read; false after timeoutMs.
    bool WaitForInputDrained(unsigned timeoutMs);

    std::vector<std::vector<uint8_t>> ReceivedReports();
    std::vector<Frame> ReceivedFrames();
    void ClearReceived();
    // Times a closed or unknown handle was used (or written under a read), and handles still open.
    int MisusedHandleCount();
    int OpenHandleCount();
    // Reads tried on an open handle since the last Reset, failed ones included.
    int ReadAttemptCount();

    // The hidapi side.
    void* Open();
    int Write(void* device, const uint8_t* data, size_t length);
    int Read(void* device, uint8_t* data, size_t length, int timeoutMs);
    int GetString(void* device, int which, wchar_t* text, size_t maxLength);
    void Close(void* device);
    bool IsPresent();

private:
    SimUnit() = default;
    bool CheckHandle(void* device);  // mutex held

    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mPresent = true;
    bool mRestarting = false;
    bool mHoldReads = false;
    bool mHoldWrites = false;
    size_t mHoldAfter = 0;
    bool mFailWrites = false;
    bool mFailOneWrite = false;
    bool mFailReads = false;
    int mBlockedReads = 0;
    int mBlockedWrites = 0;
    unsigned mFailMask = 0;
    std::wstring mStrings[4];
    IResponder* mResponder = nullptr;
    std::deque<std::vector<uint8_t>> mInput;
    std::vector<std::vector<uint8_t>> mReceived;
    std::vector<long> mReceivedAtMs;
    std::vector<void*> mOpenHandles;
    int mMisused = 0;
    int mReadAttempts = 0;
};

}  // namespace sim
