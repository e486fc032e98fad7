#include "uilib/control/ListContainerHeaderItem.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

CListContainerHeaderItemUI::CListContainerHeaderItemUI() : m_editable(false), m_comboable(false), m_checkable(false)
{
    m_clickNotification = L"listheaderclick";
}

const wchar_t* CListContainerHeaderItemUI::GetTypeName() const
{
    return L"ListContainerHeaderItem";
}

void* CListContainerHeaderItemUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"ListContainerHeaderItem") == 0) return this;
    return CListHeaderItemUI::FindInterface(name);
}

int CListContainerHeaderItemUI::TextLeftInset() const
{
    return m_checkable ? Scaled(m_checkBox.GetWidth()) : 0;
}

void CListContainerHeaderItemUI::SetChecked(bool checked)
{
    if (m_checkBox.SetChecked(checked)) RequestRepaint();
}

void CListContainerHeaderItemUI::HandleEvent(TEventInfo& event)
{
    if (m_checkable && !IgnoresMouseEvent(event)) {
        const CListCheckBox::EventResult result = m_checkBox.HandleEvent(*this, event, m_item);
        if (result != CListCheckBox::kIgnored) RequestRepaint();
        if (result == CListCheckBox::kToggled && m_parent != nullptr && m_manager != nullptr) {
            IContainerUI* header = static_cast<IContainerUI*>(m_parent->FindInterface(L"IContainer"));
            const int index = header != nullptr ? header->IndexOfChild(this) : 0;
            m_manager->SendNotification(this, L"listheaditemchecked", static_cast<WPARAM>(index),
                                        m_checkBox.IsChecked() ? 1 : 0);
        }
        // A press or release on the box is the box's alone.
        const bool onBox = (event.type == UIEVENT_BUTTONDOWN || event.type == UIEVENT_DBLCLICK ||
                            event.type == UIEVENT_BUTTONUP) &&
                           result != CListCheckBox::kIgnored;
        if (onBox) return;
    }
    CListHeaderItemUI::HandleEvent(event);
}

void CListContainerHeaderItemUI::EndPress()
{
    if (m_checkBox.EndPress()) RequestRepaint();
    CListHeaderItemUI::EndPress();
}

void CListContainerHeaderItemUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"editable"))
        m_editable = ParseAttrBool(value);
    else if (AttrNameEquals(name, L"comboable"))
        m_comboable = ParseAttrBool(value);
    else if (AttrNameEquals(name, L"checkable"))
        m_checkable = ParseAttrBool(value);
    else if (!m_checkBox.ApplyAttribute(name, value))
        CListHeaderItemUI::ApplyAttribute(name, value);
}

void CListContainerHeaderItemUI::PaintTextLayer(HDC dc)
{
    CListHeaderItemUI::PaintTextLayer(dc);
    if (m_checkable) m_checkBox.Paint(*this, dc, m_item);
}

} // namespace SkinUI
