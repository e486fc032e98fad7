// Runs a worker's exchanges with the unit one at a time. It gives up once
// stop is set, so a closing link is not kept busy with questions nobody
// waits for; once the link it started on is closed or replaced, so a job
// never goes on with a unit that came back; and once the unit has let
// kMaxUnanswered exchanges in a row go unanswered: a unit that is gone or
// hung would otherwise cost every remaining exchange its full time-out
// behind the busy window. Its thread's exchanges are bound to that link
// while it lives (one per thread at a time, made and ended there).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "app/tuning/UnitStatusRead.h"
#include "device/DspDevice.h"

class UnitExchanges {
public:
    static constexpr int kMaxUnanswered = 3;

    // link: the link the job was started on. askAgain: a get left
    // unanswered is made once more before it counts as missed; both tries
    // count towards the silence rule, so a silent unit waits no longer.
    UnitExchanges(DspDevice& device, const std::atomic<bool>& stop, uint32_t link, bool askAgain = false)
        : mDevice(device), mStop(stop), mLink(link), mBinding(link), mAskAgain(askAgain)
    {
    }

    // Runs exchange(device) unless the run is over; false once it is.
    template <class Exchange>
    bool Run(Exchange exchange)
    {
        return Ask(exchange, mAskAgain);
    }

    // As Run, for an exchange the rest depends on (a scene's load or store):
    // left unanswered, it ends the run as a silent unit does. It is not
    // asked again: its long wait twice over would keep a unit that answers
    // nothing behind the busy window longer than the silence rule allows.
    template <class Exchange>
    bool RunAnswered(Exchange exchange)
    {
        // After a get missed at both askings, a short question first: a unit
        // gone silent is told before the long wait, one that answers goes on.
        if (mAskAgain && mUnanswered > 0 && !Ask([](DspDevice& d) { d.GetSceneValid(); }, false)) return false;
        if (!Ask(exchange, false)) return false;
        if (!mDevice.LastExchangeAnswered()) mUnanswered = kMaxUnanswered;
        return GoesOn();
    }

    // Waits ms, in short steps so that a stop ends the wait.
    bool Pause(uint32_t ms)
    {
        for (uint32_t waited = 0; waited < ms && !Stopped(); waited += kStopPollMs) Sleep(kStopPollMs);
        return !Stopped();
    }

    bool GoesOn() const { return !Stopped() && !Silent(); }
    bool Stopped() const { return mStop.load() || mDevice.LinkSerial() != mLink; }
    bool Silent() const { return mUnanswered >= kMaxUnanswered; }
    // Whether any exchange of the run went unanswered, even one the run went on past.
    bool MissedAny() const { return mMissedAny; }
    // Why a run that did not finish ended.
    UnitStatusRead Outcome() const
    {
        return !Stopped() && Silent() ? UnitStatusRead::Unanswered : UnitStatusRead::Stopped;
    }
    DspDevice& Device() const { return mDevice; }

private:
    template <class Exchange>
    bool Ask(Exchange exchange, bool again)
    {
        if (!GoesOn()) return false;
        exchange(mDevice);
        if (again && !mDevice.LastExchangeAnswered()) {
            ++mUnanswered;
            if (GoesOn()) exchange(mDevice);
        }
        mUnanswered = mDevice.LastExchangeAnswered() ? 0 : mUnanswered + 1;
        if (mUnanswered > 0) mMissedAny = true;
        return GoesOn();
    }

    static constexpr uint32_t kStopPollMs = 20;
    DspDevice& mDevice;
    const std::atomic<bool>& mStop;
    const uint32_t mLink;
    const DspDevice::LinkBinding mBinding;
    const bool mAskAgain;
    int mUnanswered = 0;
    bool mMissedAny = false;
};
