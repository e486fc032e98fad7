#include "uilib/control/Option.h"

#include <vector>

#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

COptionUI::COptionUI()
    : m_selected(false),
      m_selectedFont(-1),
      m_selectedBkColor(0),
      m_selectedTextColor(0),
      m_selectedHotTextColor(0),
      m_selectedStateCount(0),
      m_groupManager(nullptr)
{
}

COptionUI::~COptionUI()
{
    LeaveGroup();
}

const wchar_t* COptionUI::GetTypeName() const
{
    return L"OptionUI";
}

void* COptionUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Option") == 0) return this;
    return CButtonUI::FindInterface(name);
}

void COptionUI::JoinGroup()
{
    if (m_manager == nullptr || m_group.IsEmpty()) return;
    m_manager->JoinOptionGroup(m_group, this);
    m_groupManager = m_manager;
}

void COptionUI::LeaveGroup()
{
    if (m_groupManager != nullptr && !m_group.IsEmpty()) m_groupManager->LeaveOptionGroup(m_group, this);
    m_groupManager = nullptr;
}

void COptionUI::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    // A group must never hold an option its manager no longer knows: once
    // detached, the option may be deleted without a manager to leave through.
    if (m_groupManager != nullptr && m_groupManager != manager) LeaveGroup();
    CButtonUI::AttachManager(manager, parent, initNow);
    if (initNow) JoinGroup();
}

void COptionUI::SetGroupName(const wchar_t* name)
{
    const wchar_t* newName = name != nullptr ? name : L"";
    if (m_group == newName) return;
    LeaveGroup();
    m_group = newName;
    JoinGroup();
}

void COptionUI::UnselectOtherMembers(bool silent)
{
    CUIPtrArray* members = m_manager->OptionGroupMembers(m_group);
    if (members == nullptr) return;
    std::vector<CControlUI*> others;
    for (int i = 0; i < members->Count(); ++i) {
        CControlUI* member = static_cast<CControlUI*>((*members)[i]);
        if (member != this && member != nullptr) others.push_back(member);
    }
    for (CControlUI* member : others) {
        COptionUI* option = static_cast<COptionUI*>(member->FindInterface(L"Option"));
        if (option != nullptr) option->SetSelectedState(false, silent);
    }
}

void COptionUI::SetSelectedState(bool selected, bool silent)
{
    if (m_selected == selected) return;
    m_selected = selected;
    if (selected) m_buttonState |= UISTATE_SELECTED;
    else m_buttonState &= ~UISTATE_SELECTED;

    if (m_manager != nullptr) {
        if (m_group.IsEmpty()) {
            if (!silent) m_manager->SendNotification(this, L"selectchanged", 0, 0, false);
        } else if (selected) {
            UnselectOtherMembers(false);
            if (!silent) m_manager->SendNotification(this, L"selectchanged", 0, 0, false);
        }
    }
    RequestRepaint();
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    SetSelectedState(m_group.IsEmpty() ? !m_selected : true, false);
    return true;
}

void COptionUI::SetEnabledState(bool enabled)
{
    CButtonUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_buttonState = m_selected ? uint32_t(UISTATE_SELECTED) : 0u;
}

const CUIString& COptionUI::GetSelectedStateImageSpec() const
{
    return m_selectedStateImage;
}

void COptionUI::SetSelectedStateImageSpec(const wchar_t* text)
{
    m_selectedImage.Clear();
    m_selectedStateImage = text;
    RequestRepaint();
}

void COptionUI::SetSelectedText(const wchar_t* text)
{
    m_selectedText = text;
    RequestRepaint();
}

void COptionUI::SetSelectedFont(int id)
{
    m_selectedFont = id;
    RequestRepaint();
}

void COptionUI::SetSelectedBkColor(DWORD argb)
{
    m_selectedBkColor = argb;
    RequestRepaint();
}

void COptionUI::SetSelectedImage(const wchar_t* text)
{
    m_selectedImage = text;
    RequestRepaint();
}

void COptionUI::SetSelectedHotImage(const wchar_t* text)
{
    m_selectedHotImage = text;
    RequestRepaint();
}

void COptionUI::SetSelectedPushedImage(const wchar_t* text)
{
    m_selectedPushedImage = text;
    RequestRepaint();
}

void COptionUI::SetSelectedForeImage(const wchar_t* text)
{
    m_selectedForeImage = text;
    RequestRepaint();
}

void COptionUI::SetSelectedDisabledImage(const wchar_t* text)
{
    m_selectedDisabledImage = text;
    RequestRepaint();
}

void COptionUI::SetSelectedStateCount(int count)
{
    m_selectedStateCount = count;
    RequestRepaint();
}

void COptionUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"group")) SetGroupName(value);
    else if (AttrNameEquals(name, L"selected")) SetSelectedState(ParseAttrBool(value), true);
    else if (AttrNameEquals(name, L"selectedimage")) SetSelectedImage(value);
    else if (AttrNameEquals(name, L"selectedhotimage")) SetSelectedHotImage(value);
    else if (AttrNameEquals(name, L"selectedpushedimage")) SetSelectedPushedImage(value);
    else if (AttrNameEquals(name, L"selectedforeimage")) SetSelectedForeImage(value);
    else if (AttrNameEquals(name, L"selecteddisabledimage")) SetSelectedDisabledImage(value);
    else if (AttrNameEquals(name, L"selectedstateimage")) SetSelectedStateImageSpec(value);
    else if (AttrNameEquals(name, L"selectedtext")) SetSelectedText(value);
    else if (AttrNameEquals(name, L"selectedstatecount")) SetSelectedStateCount(ParseAttrInt(value));
    else if (AttrNameEquals(name, L"selectedbkcolor")) SetSelectedBkColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"selectedtextcolor")) SetSelectedTextColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"selectedhottextcolor")) SetSelectedHotTextColor(ParseAttrColor(value, false));
    else if (AttrNameEquals(name, L"selectedfont")) SetSelectedFont(ParseAttrInt(value));
    else CButtonUI::ApplyAttribute(name, value);
}

void COptionUI::PaintBackgroundColor(HDC dc)
{
    if (!m_selected) {
        CButtonUI::PaintBackgroundColor(dc);
        return;
    }
    if (m_selectedBkColor != 0) CRenderKit::FillRectColor(dc, m_item, ApplyHslToColor(m_selectedBkColor));
}

void COptionUI::PaintStateImage(HDC dc)
{
    if (!m_selected) {
        CButtonUI::PaintStateImage(dc);
        return;
    }
    CutStateStrip(m_selectedStateImage, m_selectedStateCount, m_selectedImage, m_selectedHotImage,
                  m_selectedPushedImage, nullptr);
    RefreshStateBits();

    const CUIString* image = nullptr;
    if (!GetEnabledState()) {
        image = &m_selectedDisabledImage;
    } else if (m_buttonState & UISTATE_PUSHED) {
        if (!m_selectedPushedImage.IsEmpty()) image = &m_selectedPushedImage;
        else if (m_buttonState & UISTATE_HOT) image = &m_selectedHotImage;
    } else if (m_buttonState & UISTATE_HOT) {
        image = &m_selectedHotImage;
    }
    if (image != nullptr && !image->IsEmpty() && DrawImageSpec(dc, *image, nullptr)) return;
    if (!m_selectedImage.IsEmpty()) DrawImageSpec(dc, m_selectedImage, nullptr);
}

void COptionUI::PaintForegroundImage(HDC dc)
{
    if (m_selected && !m_selectedForeImage.IsEmpty() && DrawImageSpec(dc, m_selectedForeImage, nullptr)) return;
    CButtonUI::PaintForegroundImage(dc);
}

void COptionUI::PaintTextLayer(HDC dc)
{
    if (!m_selected) {
        CButtonUI::PaintTextLayer(dc);
        return;
    }
    if (m_manager == nullptr) return;
    RefreshStateBits();

    const DWORD savedTextColor = m_textColor;
    if (m_selectedTextColor != 0) m_textColor = m_selectedTextColor;
    if ((m_buttonState & UISTATE_HOT) && m_selectedHotTextColor != 0) m_textColor = m_selectedHotTextColor;
    if (m_textColor == 0) m_textColor = m_manager->DefaultTextColor();
    if (m_disabledTextColor == 0) m_disabledTextColor = m_manager->DefaultDisabledTextColor();

    const CUIString text = GetTextContent();
    if (!text.IsEmpty()) {
        const int font = m_selectedFont != -1 ? m_selectedFont : m_font;
        const DWORD color = GetEnabledState() ? m_textColor : m_disabledTextColor;
        if (m_selectedText.IsEmpty()) {
            DrawButtonText(dc, text, color, font);
        } else {
            DrawButtonText(dc, CResourceStore::GetInstance()->LookupText(m_selectedText), color, font);
        }
    }
    m_textColor = savedTextColor;
}

} // namespace SkinUI
