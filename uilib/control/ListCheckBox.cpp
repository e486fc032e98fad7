#include "uilib/control/ListCheckBox.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIControl.h"

namespace SkinUI {

CListCheckBox::CListCheckBox() : m_state(0), m_checked(false), m_width(0), m_height(0) {}

bool CListCheckBox::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    struct ImageSlot {
        const wchar_t* name;
        CUIString CListCheckBox::*field;
    };
    static const ImageSlot kImages[] = {
        {L"checkboxnormalimage", &CListCheckBox::m_normalImage},
        {L"checkboxhotimage", &CListCheckBox::m_hotImage},
        {L"checkboxpushedimage", &CListCheckBox::m_pushedImage},
        {L"checkboxfocusedimage", &CListCheckBox::m_focusedImage},
        {L"checkboxdisabledimage", &CListCheckBox::m_disabledImage},
        {L"checkboxselectedimage", &CListCheckBox::m_selectedImage},
        {L"checkboxforeimage", &CListCheckBox::m_foreImage},
    };
    if (AttrNameEquals(name, L"checkboxwidth") || AttrNameEquals(name, L"checkboxheight")) {
        const int size = ParseAttrInt(value);
        if (size >= 0) (AttrNameEquals(name, L"checkboxwidth") ? m_width : m_height) = size;
        return true;
    }
    for (const ImageSlot& slot : kImages) {
        if (AttrNameEquals(name, slot.name)) {
            this->*slot.field = value;
            return true;
        }
    }
    return false;
}

CUIRect CListCheckBox::BoxRect(const CControlUI& owner, const RECT& item) const
{
    const int width = owner.Scaled(m_width);
    const int height = owner.Scaled(m_height);
    const int left = item.left + owner.Scaled(kLeftMargin);
    const int top = item.top + ((item.bottom - item.top) - height) / 2;
    return CUIRect(left, top, left + width, top + height);
}

bool CListCheckBox::SetChecked(bool checked)
{
    if (checked == m_checked) return false;
    m_checked = checked;
    if (checked)
        m_state |= kStateSelected;
    else
        m_state &= ~kStateSelected;
    return true;
}

CListCheckBox::EventResult CListCheckBox::HandleEvent(const CControlUI& owner, const TEventInfo& event,
                                                     const RECT& item)
{
    const uint32_t before = m_state;
    const CUIRect box = BoxRect(owner, item);
    const bool inside = PtInRect(&box, event.point) != FALSE;
    switch (event.type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (!inside) return kIgnored;
        m_state |= kStatePushed | kStateCaptured;
        return kChanged;
    case UIEVENT_MOUSEMOVE: {
        const uint32_t bit = (m_state & kStateCaptured) != 0 ? kStatePushed : kStateHot;
        if (inside)
            m_state |= bit;
        else
            m_state &= ~bit;
        return m_state != before ? kChanged : kIgnored;
    }
    case UIEVENT_BUTTONUP: {
        if ((m_state & kStateCaptured) == 0) return kIgnored;
        EndPress();
        if (!inside) return kChanged;
        SetChecked(!m_checked);
        return kToggled;
    }
    case UIEVENT_MOUSEENTER:
        if (inside) m_state |= kStateHot;
        return m_state != before ? kChanged : kIgnored;
    case UIEVENT_MOUSELEAVE:
        m_state &= ~kStateHot;
        return m_state != before ? kChanged : kIgnored;
    default:
        return kIgnored;
    }
}

bool CListCheckBox::EndPress()
{
    const uint32_t before = m_state;
    m_state &= ~(kStatePushed | kStateCaptured);
    return m_state != before;
}

bool CListCheckBox::DrawAt(CControlUI& owner, HDC dc, const RECT& item, const CUIString& image) const
{
    if (image.IsEmpty()) return false;
    CUIRect box = BoxRect(owner, item);
    box.Translate(-item.left, -item.top);
    // Skin pixels: the image text is scaled when parsed.
    box = owner.UnscaledRect(box);
    CUIString modifier;
    modifier.Printf(L"dest='%d,%d,%d,%d'", box.left, box.top, box.right, box.bottom);
    return owner.DrawImageSpec(dc, image, modifier);
}

void CListCheckBox::Paint(CControlUI& owner, HDC dc, const RECT& item)
{
    if (m_checked && DrawAt(owner, dc, item, m_selectedImage)) {
        DrawAt(owner, dc, item, m_foreImage);
        return;
    }
    if (owner.HasFocus())
        m_state |= kStateFocused;
    else
        m_state &= ~kStateFocused;
    if (owner.GetEnabledState())
        m_state &= ~kStateDisabled;
    else
        m_state |= kStateDisabled;
    // The pushed image shows while the box is held down.
    const CUIString* image = nullptr;
    if ((m_state & kStateDisabled) != 0)
        image = &m_disabledImage;
    else if ((m_state & kStatePushed) != 0)
        image = &m_pushedImage;
    else if ((m_state & kStateHot) != 0)
        image = &m_hotImage;
    else if ((m_state & kStateFocused) != 0)
        image = &m_focusedImage;
    if (image != nullptr && DrawAt(owner, dc, item, *image)) return;
    if (DrawAt(owner, dc, item, m_normalImage)) return;
    DrawAt(owner, dc, item, m_foreImage);
}

} // namespace SkinUI
