#include "tests/support/SimUnitModel.h"

#include <chrono>

#include "device/FrameCodec.h"

namespace sim {

UnitModel::UnitModel(SimUnit& unit) : mUnit(unit) {}

UnitModel::~UnitModel() {
    JoinVanish();
    std::lock_guard<std::mutex> lock(mRestartMutex);
    if (mRestartThread.joinable()) mRestartThread.join();
}

void UnitModel::OnCommand(const Frame& frame, SimUnit& unit) {
    std::vector<uint8_t> answer;
    int restartDelayMs = -1;
    bool vanish = false;
    bool drop = false;
    bool failWrites = false;
    bool failReads = false;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mFaultCountdown > 0 && --mFaultCountdown == 0) {
            if (mFault == CommandFault::Vanish) vanish = true;
            else if (mFault == CommandFault::Drop) drop = true;
            else if (mFault == CommandFault::FailWrites || mFault == CommandFault::FailOneWrite) failWrites = true;
            else if (mFault == CommandFault::FailReads) failReads = true;
            else mSilent = true;
        }
        mCommand = &frame;
        mAnswer.clear();
        // A unit that has gone takes nothing.
        if (!vanish) {
            switch (frame.type) {
            case dsp::CMD_DSP: HandleDsp(frame); break;
            case dsp::CMD_FLASH: HandleFlash(frame); break;
            case dsp::CMD_MCU: HandleMcu(frame); break;
            case dsp::CMD_KTV: HandleKtv(frame); break;
            default: break;  // a unit drops packet types it does not know
            }
        }
        mCommand = nullptr;
        if (mSilent || vanish || drop) mAnswer.clear();
        answer = mAnswer;
        mExchanges.push_back({frame, answer});
        // A silent unit is hung: it does not restart either.
        if (mRestartPending && !mSilent) restartDelayMs = mRestartDelayMs;
        mRestartPending = false;
    }
    if (vanish) {
        // Gone at once: the program's next read fails before anyone is told.
        unit.SetPresent(false);
        AnnounceVanish();
        return;
    }
    if (!answer.empty()) unit.QueueInputReport(answer);
    // This command was the last to reach the unit.
    if (failWrites) unit.FailWrites(mFault == CommandFault::FailOneWrite);
    if (failReads) unit.FailReads();
    // Only now that the answer is queued can the restart wait for it to be read.
    if (restartDelayMs >= 0) Restart(static_cast<unsigned>(restartDelayMs));
}

void UnitModel::Reply(uint8_t optype, const std::vector<uint8_t>& data) {
    if (!mCommand) return;
    // Every answer fits one 64-byte report: at most 57 data bytes (L <= 60).
    if (data.size() > dsp::kMaxCommandPayload) {
        Reply(0xEE, {kNotReady});
        return;
    }
    mAnswer = SimUnit::EncodeFrame(mCommand->type, mCommand->subcommand, optype, data);
}

UnitState UnitModel::Snapshot() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mState;
}

void UnitModel::FactoryDefaults() {
    std::lock_guard<std::mutex> lock(mMutex);
    ResetToFactory();
}

void UnitModel::ResetToFactory() {
    const Identity identity = mState.identity;
    mState = UnitState();
    mState.identity = identity;
}

void UnitModel::SetLoaderMode(bool loader) {
    std::lock_guard<std::mutex> lock(mMutex);
    mState.identity.loaderMode = loader;
}

void UnitModel::SetSilent(bool silent) {
    std::lock_guard<std::mutex> lock(mMutex);
    mSilent = silent;
}

void UnitModel::FailAtCommand(int count, CommandFault fault) {
    std::lock_guard<std::mutex> lock(mMutex);
    mFault = fault;
    if (fault == CommandFault::FailWrites || fault == CommandFault::FailOneWrite) {
        // Counted to the command before: the count-th write is the first to fail.
        if (count == 1) mUnit.FailWrites(fault == CommandFault::FailOneWrite);
        --count;
    }
    mFaultCountdown = count > 0 ? count : 0;
}

void UnitModel::TurnVolumeKnob(int8_t volumeDb) {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mState.unit.mainVolumeDb = volumeDb;
    }
    mUnit.QueueFrame(dsp::CMD_DSP, 0x02, dsp::OP_VALUE, {static_cast<uint8_t>(volumeDb)});
}

void UnitModel::SendPing() { mUnit.QueueFrame(dsp::CMD_MCU, 0x93, dsp::OP_VALUE, {}); }

void UnitModel::SendFrame(uint8_t type, uint8_t subcommand, uint8_t optype,
                          const std::vector<uint8_t>& data) {
    mUnit.QueueFrame(type, subcommand, optype, data);
}

void UnitModel::Vanish() { MovePlug(false); }

// A vanish still being told goes first: told after the return, it would take the unit away again.
void UnitModel::Return() {
    JoinVanish();
    MovePlug(true);
}

void UnitModel::JoinVanish() {
    std::lock_guard<std::mutex> lock(mVanishMutex);
    if (mVanishThread.joinable()) mVanishThread.join();
}

void UnitModel::MovePlug(bool present) {
    mUnit.SetPresent(present);
    PlugListener listener;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        listener = mPlugListener;
    }
    if (listener) listener(present);
}

void UnitModel::SetPlugListener(PlugListener listener) {
    std::lock_guard<std::mutex> lock(mMutex);
    mPlugListener = std::move(listener);
}

void UnitModel::SetRestartDelay(int delayMs) {
    std::lock_guard<std::mutex> lock(mMutex);
    mRestartDelayMs = delayMs;
}

void UnitModel::Restart(unsigned delayMs, bool hostWaits) {
    std::lock_guard<std::mutex> lock(mRestartMutex);
    if (mRestartThread.joinable()) mRestartThread.join();
    {
        std::lock_guard<std::mutex> held(mMutex);
        hostWaits = hostWaits && !mReturnHeld;
    }
    // Set before the thread runs: a host may look before it does.
    if (hostWaits) mUnit.SetRestarting(true);
    mRestartThread = std::thread([this, delayMs, hostWaits] {
        mUnit.WaitForInputDrained(1000);
        Vanish();
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        {
            std::unique_lock<std::mutex> lock(mMutex);
            mReturnLet.wait(lock, [this] { return !mReturnHeld; });
        }
        Return();
        if (hostWaits) mUnit.SetRestarting(false);
    });
}

void UnitModel::HoldReturn(bool hold) {
    std::lock_guard<std::mutex> lock(mMutex);
    mReturnHeld = hold;
    mReturnLet.notify_all();
}

void UnitModel::AnnounceVanish() {
    std::lock_guard<std::mutex> lock(mVanishMutex);
    if (mVanishThread.joinable()) mVanishThread.join();
    mVanishThread = std::thread([this] { Vanish(); });
}

void UnitModel::RestartAfterAnswer() {
    if (mRestartDelayMs >= 0) mRestartPending = true;
}

std::vector<Exchange> UnitModel::Exchanges() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mExchanges;
}

void UnitModel::ClearExchanges() {
    std::lock_guard<std::mutex> lock(mMutex);
    mExchanges.clear();
}

void UnitModel::HandleMcu(const Frame& frame) {
    const bool set = frame.optype == dsp::OP_SET;
    const bool get = frame.optype == dsp::OP_GET;
    switch (frame.subcommand) {
    case 0x08:  // handshake: status, model, master, slave
        if (!set) break;
        Reply(dsp::OP_VALUE, {mState.identity.loaderMode ? kRefused : uint8_t{0x00},
                              mState.identity.model, mState.identity.master,
                              mState.identity.slave});
        return;
    case 0x1F:  // the program arrives or leaves; never answered
        if (set && frame.data.size() == 1) mState.pcConnected = frame.data[0] != 0;
        return;
    case 0x8F:  // reboot
        if (!set) break;
        Ack();
        RestartAfterAnswer();
        return;
    case 0x90:  // factory default
        if (!set) break;
        ResetToFactory();
        Ack();
        RestartAfterAnswer();
        return;
    case 0x91:  // power-off delay, BE16 ms
        if (!set || frame.data.size() != 2) break;
        mState.unit.powerOffMs = static_cast<uint16_t>(frame.data[0] << 8 | frame.data[1]);
        Ack();
        return;
    case 0x92:  // ACC delay
        if (set && frame.data.size() == 1) {
            mState.unit.accDelay = static_cast<int8_t>(frame.data[0]);
            Ack();
            return;
        }
        if (get) {
            Reply(dsp::OP_VALUE, {static_cast<uint8_t>(mState.unit.accDelay)});
            return;
        }
        break;
    default: break;
    }
    NotReady();
}

void UnitModel::HandleKtv(const Frame& frame) {
    const uint8_t sub = frame.subcommand;
    const size_t width = sub == 0x05 ? 2 : 1;  // the echo delay is a BE16
    if (frame.optype != dsp::OP_SET || sub < 1 || sub > 10 || frame.data.size() != width) {
        NotReady();
        return;
    }
    mState.unit.karaoke[sub] =
        width == 2 ? static_cast<uint16_t>(frame.data[0] << 8 | frame.data[1]) : frame.data[0];
    Ack();
}

}  // namespace sim
