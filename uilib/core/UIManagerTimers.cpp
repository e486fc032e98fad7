// Per-control timers on the manager's window. Window timer ids of control
// timers cycle through 0..239.
#include <new>

#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const UINT kTimerIdRange = 240;
CPaintManagerUI::WindowTimerStart gStartWindowTimer = SetTimer;

TTimerRecord* RecordAt(const CUIPtrArray& timers, int index)
{
    return static_cast<TTimerRecord*>(timers[index]);
}

} // namespace

void CPaintManagerUI::SetWindowTimerStart(WindowTimerStart start) { gStartWindowTimer = start; }

bool CPaintManagerUI::IsTimerIdInUse(UINT windowTimerId) const
{
    for (int i = 0; i < m_timers.Count(); ++i) {
        const TTimerRecord* record = RecordAt(m_timers, i);
        if (record->window == m_window && record->windowTimerId == windowTimerId && !record->killed) return true;
    }
    return false;
}

bool CPaintManagerUI::StartTimer(CControlUI* control, UINT id, UINT ms)
{
    if (control == nullptr || m_window == nullptr) return false;
    for (int i = 0; i < m_timers.Count(); ++i) {
        TTimerRecord* record = RecordAt(m_timers, i);
        if (record->control == control && record->window == m_window && record->localId == id) {
            if (!record->killed) return false;
            // Its id may have gone to another timer since it was stopped.
            if (IsTimerIdInUse(record->windowTimerId)) break;
            if (gStartWindowTimer(m_window, record->windowTimerId, ms, nullptr) == 0) return false;
            record->killed = false;
            return true;
        }
    }
    // After the counter wraps, an id may still belong to a running timer.
    UINT timerId = 0;
    bool found = false;
    for (UINT attempt = 0; attempt < kTimerIdRange && !found; ++attempt) {
        m_timerCounter = (m_timerCounter + 1) % kTimerIdRange;
        timerId = m_timerCounter;
        found = !IsTimerIdInUse(timerId);
    }
    if (!found) return false;
    if (gStartWindowTimer(m_window, timerId, ms, nullptr) == 0) return false;
    // A stopped record of the same control and id gives way to the new one.
    for (int i = 0; i < m_timers.Count(); ++i) {
        TTimerRecord* record = RecordAt(m_timers, i);
        if (record->control == control && record->window == m_window && record->localId == id) {
            record->windowTimerId = timerId;
            record->killed = false;
            return true;
        }
    }
    TTimerRecord* record = new (std::nothrow) TTimerRecord;
    if (record == nullptr) {
        KillTimer(m_window, timerId);
        return false;
    }
    record->control = control;
    record->localId = id;
    record->window = m_window;
    record->windowTimerId = timerId;
    if (!m_timers.Append(record)) {
        KillTimer(m_window, timerId);
        delete record;
        return false;
    }
    return true;
}

bool CPaintManagerUI::StopTimer(CControlUI* control, UINT id)
{
    for (int i = 0; i < m_timers.Count(); ++i) {
        TTimerRecord* record = RecordAt(m_timers, i);
        if (record->control == control && record->window == m_window && record->localId == id && !record->killed) {
            if (IsWindow(m_window)) KillTimer(record->window, record->windowTimerId);
            record->killed = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::StopControlTimers(CControlUI* control)
{
    for (int i = m_timers.Count() - 1; i >= 0; --i) {
        TTimerRecord* record = RecordAt(m_timers, i);
        if (record->control != control || record->window != m_window) continue;
        if (!record->killed && IsWindow(m_window)) KillTimer(record->window, record->windowTimerId);
        m_timers.RemoveAt(i);
        delete record;
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_timers.Count(); ++i) {
        TTimerRecord* record = RecordAt(m_timers, i);
        if (record->window == m_window && !record->killed && IsWindow(m_window))
            KillTimer(record->window, record->windowTimerId);
        delete record;
    }
    m_timers.Clear();
}

} // namespace SkinUI
