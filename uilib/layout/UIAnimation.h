#pragma once

#include <vector>

namespace SkinUI {

class CControlUI;

// Frame animations of a control, each driven by a timer of the control whose
// id is the animation id.
class IUIAnimation {
public:
    virtual ~IUIAnimation() = default;
    virtual bool StartAnimation(int intervalMs, int totalFrames, int id, bool loop) = 0;
    virtual void StopAnimation(int id) = 0;
    virtual bool IsAnimationRunning(int id) const = 0;
    virtual int GetCurrentFrame(int id) const = 0;
    virtual bool SetCurrentFrame(int frame, int id) = 0;
    virtual void OnAnimationStep(int totalFrames, int currentFrame, int id) = 0;
    virtual void OnAnimationStart(int id, bool firstLoop) = 0;
    virtual void OnAnimationStop(int id) = 0;
    virtual void OnAnimationElapse(int id) = 0;
};

// Mix-in base of an animated control. The control hands every timer event to
// OnAnimationElapse with the event's timer id and overrides the step, start
// and stop calls. A non-looping animation of n frames steps through frames
// 0..n, then stops; a looping one goes on with 1..n after each stop. The
// control stops every animation (StopAnimation(0)) before it goes.
class CUIAnimation : public IUIAnimation {
public:
    explicit CUIAnimation(CControlUI* owner);
    ~CUIAnimation() override;
    CUIAnimation(const CUIAnimation&) = delete;
    CUIAnimation& operator=(const CUIAnimation&) = delete;

    // False when the id is running, the interval or the frame count is not
    // positive, or the owner's timer cannot be started.
    bool StartAnimation(int intervalMs, int totalFrames, int id, bool loop) override;
    // Id 0 stops them all; an unknown id does nothing.
    void StopAnimation(int id) override;
    bool IsAnimationRunning(int id) const override;
    // -1 for an unknown id.
    int GetCurrentFrame(int id) const override;
    // Frames 0 to the total count are accepted.
    bool SetCurrentFrame(int frame, int id) override;
    void OnAnimationStep(int totalFrames, int currentFrame, int id) override;
    void OnAnimationStart(int id, bool firstLoop) override;
    void OnAnimationStop(int id) override;
    void OnAnimationElapse(int id) override;

private:
    struct TAnimation {
        int id;
        int intervalMs;
        int totalFrames;
        int currentFrame;
        bool loop;
        bool firstLoop;
        // Tells a record apart from a later one of the same id.
        unsigned serial;
    };

    TAnimation* Find(int id) const;
    // The record, unless a callback stopped or restarted its animation.
    TAnimation* StillRunning(int id, unsigned serial) const;
    void Remove(TAnimation* record);

    CControlUI* m_owner;
    std::vector<TAnimation*> m_running;
    unsigned m_nextSerial;
};

} // namespace SkinUI
