#include "uilib/layout/UIAnimation.h"

#include <algorithm>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CUIAnimation::CUIAnimation(CControlUI* owner) : m_owner(owner), m_nextSerial(1) {}

CUIAnimation::~CUIAnimation()
{
    for (TAnimation* record : m_running) delete record;
}

CUIAnimation::TAnimation* CUIAnimation::Find(int id) const
{
    for (TAnimation* record : m_running) {
        if (record->id == id) return record;
    }
    return nullptr;
}

CUIAnimation::TAnimation* CUIAnimation::StillRunning(int id, unsigned serial) const
{
    TAnimation* record = Find(id);
    return record != nullptr && record->serial == serial ? record : nullptr;
}

void CUIAnimation::Remove(TAnimation* record)
{
    m_running.erase(std::remove(m_running.begin(), m_running.end(), record), m_running.end());
    delete record;
}

bool CUIAnimation::StartAnimation(int intervalMs, int totalFrames, int id, bool loop)
{
    if (m_owner == nullptr || intervalMs <= 0 || totalFrames <= 0 || IsAnimationRunning(id)) return false;
    CPaintManagerUI* manager = m_owner->GetPaintManager();
    if (manager == nullptr || !manager->StartTimer(m_owner, static_cast<UINT>(id), static_cast<UINT>(intervalMs)))
        return false;
    m_running.push_back(new TAnimation{id, intervalMs, totalFrames, 0, loop, true, m_nextSerial++});
    return true;
}

void CUIAnimation::StopAnimation(int id)
{
    if (m_owner == nullptr) return;
    CPaintManagerUI* manager = m_owner->GetPaintManager();
    if (id == 0) {
        std::vector<TAnimation*> all;
        all.swap(m_running);
        for (TAnimation* record : all) {
            if (manager != nullptr) manager->StopTimer(m_owner, static_cast<UINT>(record->id));
            delete record;
        }
        return;
    }
    TAnimation* record = Find(id);
    if (record == nullptr) return;
    if (manager != nullptr) manager->StopTimer(m_owner, static_cast<UINT>(id));
    Remove(record);
}

bool CUIAnimation::IsAnimationRunning(int id) const
{
    return Find(id) != nullptr;
}

int CUIAnimation::GetCurrentFrame(int id) const
{
    const TAnimation* record = Find(id);
    return record != nullptr ? record->currentFrame : -1;
}

bool CUIAnimation::SetCurrentFrame(int frame, int id)
{
    TAnimation* record = Find(id);
    if (record == nullptr || frame < 0 || frame > record->totalFrames) return false;
    record->currentFrame = frame;
    return true;
}

void CUIAnimation::OnAnimationStep(int, int, int) {}
void CUIAnimation::OnAnimationStart(int, bool) {}
void CUIAnimation::OnAnimationStop(int) {}

void CUIAnimation::OnAnimationElapse(int id)
{
    if (m_owner == nullptr) return;
    TAnimation* record = Find(id);
    if (record == nullptr) return;
    // Each call back may stop or restart this animation: look again after it.
    const unsigned serial = record->serial;
    const int frame = record->currentFrame;
    if (frame == 0) {
        const bool first = record->firstLoop;
        record->firstLoop = false;
        OnAnimationStart(id, first);
        if ((record = StillRunning(id, serial)) == nullptr) return;
    }
    OnAnimationStep(record->totalFrames, frame, id);
    if ((record = StillRunning(id, serial)) == nullptr) return;
    if (frame >= record->totalFrames) {
        OnAnimationStop(id);
        if ((record = StillRunning(id, serial)) == nullptr) return;
        if (!record->loop) {
            CPaintManagerUI* manager = m_owner->GetPaintManager();
            if (manager != nullptr) manager->StopTimer(m_owner, static_cast<UINT>(id));
            Remove(record);
            return;
        }
        record->currentFrame = 0;
    }
    ++record->currentFrame;
}

} // namespace SkinUI
