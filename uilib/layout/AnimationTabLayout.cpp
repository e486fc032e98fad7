#include "uilib/layout/AnimationTabLayout.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CAnimationTabLayoutUI::CAnimationTabLayoutUI()
    : CUIAnimation(this), m_vertical(false), m_direction(1), m_currentPage(nullptr), m_pageShown(false)
{
}

CAnimationTabLayoutUI::~CAnimationTabLayoutUI()
{
    StopAnimation(0);
}

const wchar_t* CAnimationTabLayoutUI::GetTypeName() const
{
    return L"AnimationTabLayoutUI";
}

void* CAnimationTabLayoutUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"AnimationTabLayout") == 0)
        return static_cast<CAnimationTabLayoutUI*>(this);
    return CTabLayoutUI::FindInterface(name);
}

void CAnimationTabLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"animation_direction") && CompareTextIgnoreCase(value, L"vertical") == 0)
        m_vertical = true;
    CTabLayoutUI::ApplyAttribute(name, value);
}

void CAnimationTabLayoutUI::HandleEvent(TEventInfo& event)
{
    if (event.type == UIEVENT_TIMER) OnAnimationElapse(static_cast<int>(event.wParam));
    CContainerUI::HandleEvent(event);
}

bool CAnimationTabLayoutUI::SelectPageAt(int index)
{
    if (index < 0 || index >= GetChildCount()) return false;
    if (index == m_selected) return true;
    m_direction = index > m_selected ? -1 : 1;
    const int old = m_selected;
    m_selected = index;
    m_currentPage = ShowOnlyPage(index);
    m_pageShown = false;
    RequestParentRelayout();
    // It comes back with the first frame of the slide.
    if (m_currentPage != nullptr) m_currentPage->SetVisibility(false);
    BeginSlide();
    AnnounceSelection(index, old);
    return true;
}

void CAnimationTabLayoutUI::BeginSlide()
{
    // A slide that starts again mid-way keeps the place the layout belongs
    // at, not the displaced rectangle of the frame it was on.
    if (!IsAnimationRunning(kSlideId)) m_oldPos = m_item;
    m_currentPos = m_oldPos;
    if (m_vertical) {
        m_currentPos.Translate(0, -(m_oldPos.Height() * m_direction));
    } else {
        m_currentPos.Translate((m_oldPos.left - m_oldPos.right + kSlideInset) * m_direction, 0);
    }
    StopAnimation(kSlideId);
    StartAnimation(kFrameMs, kFrames, kSlideId, false);
}

void CAnimationTabLayoutUI::OnAnimationStep(int totalFrames, int currentFrame, int)
{
    if (totalFrames <= 0) return;
    if (!m_pageShown) {
        m_pageShown = true;
        if (m_currentPage != nullptr) m_currentPage->SetVisibility(true);
    }
    if (currentFrame != totalFrames) {
        if (m_vertical) {
            m_currentPos.Translate(0, m_oldPos.Height() * m_direction / totalFrames);
        } else {
            m_currentPos.Translate(m_oldPos.Width() * m_direction / totalFrames, 0);
        }
    } else {
        m_currentPos = m_oldPos;
        m_item = m_oldPos;
    }
    SetPosition(m_currentPos, true);
}

void CAnimationTabLayoutUI::OnAnimationStart(int, bool) {}

void CAnimationTabLayoutUI::OnAnimationStop(int)
{
    SetPosition(m_oldPos, true);
    RequestParentRelayout();
}

} // namespace SkinUI
