// The simulated unit's behaviour: it keeps every parameter per scene, the
// scene store and its identity, and answers each command the way the unit
// does: one report per waited command, nothing to PC_Connect. Installed on
// the transport with SimUnit::SetResponder.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/SimUnit.h"
#include "tests/support/SimUnitState.h"

namespace sim {

// A command the model received and the frame it answered with (empty: none).
struct Exchange {
    Frame command;
    std::vector<uint8_t> answer;  // "AA 55 L type sub op data cs"
};

// The state, locked for as long as this object lives.
class StateAccess {
public:
    StateAccess(std::mutex& mutex, UnitState& state) : mLock(mutex), mState(state) {}
    UnitState* operator->() { return &mState; }
    UnitState& operator*() { return mState; }

private:
    std::unique_lock<std::mutex> mLock;
    UnitState& mState;
};

class UnitModel : public IResponder {
public:
    static constexpr uint8_t kReady = 0x0A;
    static constexpr uint8_t kNotReady = 0x60;
    static constexpr uint8_t kRefused = 0xF0;

    // Told when the unit drops off the bus (false) and comes back (true), on
    // the thread that moved it; the program's own build posts WM_DEVICECHANGE.
    using PlugListener = std::function<void(bool arrived)>;

    explicit UnitModel(SimUnit& unit);
    // Waits for a restart in progress to come back.
    ~UnitModel() override;
    UnitModel(const UnitModel&) = delete;
    UnitModel& operator=(const UnitModel&) = delete;

    void OnCommand(const Frame& frame, SimUnit& unit) override;

    // Typed access: model.Access()->scene[0].out[3].mute = 1.
    StateAccess Access() { return StateAccess(mMutex, mState); }
    UnitState Snapshot();
    // Back to the factory state; the identity stays.
    void FactoryDefaults();

    // How the unit fails at a command a test names.
    enum class CommandFault { Silent, Vanish, Drop, FailWrites, FailOneWrite, FailReads };
    // At the count-th command from now (1: the next) the unit stops
    // answering from that command on, leaves that one command alone
    // unanswered (Drop), fails its write and every one after it while it
    // stays listed (until plugged in again), fails that write alone, takes
    // it and fails every read after it while listed, or drops off the bus without
    // taking it; the plug
    // listener hears of the removal a moment later, from a thread of its
    // own, as the system tells a program. 0 cancels.
    void FailAtCommand(int count, CommandFault fault);

    // Loader mode: the handshake answers F0 (refused).
    void SetLoaderMode(bool loader);
    // A silent unit still takes every command but answers none.
    void SetSilent(bool silent);

    // Reports the unit sends on its own; the program reads them with the
    // answer of its next waited command.
    void TurnVolumeKnob(int8_t volumeDb);
    void SendPing();
    void SendFrame(uint8_t type, uint8_t subcommand, uint8_t optype,
                   const std::vector<uint8_t>& data);

    // Unplugged and plugged in again; open handles fail meanwhile.
    void Vanish();
    void Return();
    void SetPlugListener(PlugListener listener);
    // How long a reboot (MCU 8F) or factory default (MCU 90) keeps the unit
    // off the bus; negative (the default): it stays.
    void SetRestartDelay(int delayMs);
    // Drops off the bus once the program has read its last answer (or after
    // a second), and comes back delayMs later, on a thread of its own.
    // hostWaits: meanwhile a host's open waits until it is back.
    void Restart(unsigned delayMs, bool hostWaits = false);
    // Held, a restart leaves the unit off the bus (opens failing at once)
    // until the hold is let go.
    void HoldReturn(bool hold);

    std::vector<Exchange> Exchanges();
    void ClearExchanges();

protected:
    // One handler per packet type; each returns the answer frame's optype
    // and data through Reply, or nothing. Called with the state locked.
    virtual void HandleDsp(const Frame& frame);
    virtual void HandleFlash(const Frame& frame);
    virtual void HandleMcu(const Frame& frame);
    virtual void HandleKtv(const Frame& frame);

    // The one answer of the command being handled.
    void Reply(uint8_t optype, const std::vector<uint8_t>& data);
    void Ack() { Reply(0xEE, {kReady}); }
    // Silent from a fault or SetSilent: hung, it neither answers nor restarts.
    bool Hung() const { return mSilent; }
    void NotReady() { Reply(0xEE, {kNotReady}); }

    UnitState mState;

private:
    void ResetToFactory();
    void MovePlug(bool present);
    // Tells the plug listener of a removal from a thread of its own.
    void AnnounceVanish();
    void JoinVanish();
    // A reboot after the answer, when a restart delay is set.
    void RestartAfterAnswer();
    // DSP parameter sets and gets (SimDspParams.cpp).
    void SetDsp(const Frame& frame);
    void GetDsp(const Frame& frame);

    std::mutex mMutex;
    SimUnit& mUnit;
    bool mSilent = false;
    int mFaultCountdown = 0;
    CommandFault mFault = CommandFault::Silent;
    int mRestartDelayMs = -1;
    bool mRestartPending = false;
    PlugListener mPlugListener;
    bool mReturnHeld = false;
    std::condition_variable mReturnLet;
    std::mutex mRestartMutex;  // one restart at a time
    std::thread mRestartThread;
    std::mutex mVanishMutex;
    std::thread mVanishThread;  // tells of a vanish after the command that caused it
    const Frame* mCommand = nullptr;
    std::vector<uint8_t> mAnswer;
    std::vector<Exchange> mExchanges;
};

}  // namespace sim
