#include "uilib/control/CheckBox.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CCheckBoxUI::CCheckBoxUI() : m_autoCheck(false) {}

CCheckBoxUI::~CCheckBoxUI() = default;

const wchar_t* CCheckBoxUI::GetTypeName() const
{
    return L"CheckBoxUI";
}

void* CCheckBoxUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"CheckBox") == 0) return this;
    return COptionUI::FindInterface(name);
}

void CCheckBoxUI::SetCheckedState(bool checked)
{
    if (m_selected == checked) return;
    m_selected = checked;
    if (checked) m_buttonState |= UISTATE_SELECTED;
    else m_buttonState &= ~UISTATE_SELECTED;

    if (m_manager != nullptr) {
        if (m_group.IsEmpty()) {
            m_manager->SendNotification(this, L"selectchanged", checked ? 1 : 0, 0, false);
        } else if (checked) {
            UnselectOtherMembers(true);
            m_manager->SendNotification(this, L"selectchanged", 1, 0, false);
        }
    }
    RequestRepaint();
}

void CCheckBoxUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CButtonUI::HandleEvent(event);
        return;
    }
    if (m_autoCheck && (event.type == UIEVENT_BUTTONDOWN || event.type == UIEVENT_DBLCLICK) &&
        PtInRect(&m_item, event.point) && GetEnabledState()) {
        SetCheckedState(!m_selected);
        if (m_manager != nullptr) m_manager->SendNotification(this, L"checkclick", 0, 0, false);
        RequestRepaint();
        return;
    }
    COptionUI::HandleEvent(event);
}

void CCheckBoxUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    // The flag is also offered to the option, which keeps it as a custom attribute.
    if (AttrNameEquals(name, L"EnableAutoCheck")) SetAutoCheck(ParseAttrBool(value));
    COptionUI::ApplyAttribute(name, value);
}

} // namespace SkinUI
