#include "uilib/core/ControlFactory.h"

#include "uilib/control/ActiveX.h"
#include "uilib/control/Button.h"
#include "uilib/control/CheckBox.h"
#include "uilib/control/ColorPalette.h"
#include "uilib/control/Combo.h"
#include "uilib/control/ComboBox.h"
#include "uilib/control/DateTime.h"
#include "uilib/control/Edit.h"
#include "uilib/control/FadeButton.h"
#include "uilib/control/Flash.h"
#include "uilib/control/GifAnim.h"
#include "uilib/control/GroupBox.h"
#include "uilib/control/HotKey.h"
#include "uilib/control/IPAddress.h"
#include "uilib/control/IPAddressEx.h"
#include "uilib/control/Label.h"
#include "uilib/control/List.h"
#include "uilib/control/ListContainerHeaderItem.h"
#include "uilib/control/ListContainerElement.h"
#include "uilib/control/ListEx.h"
#include "uilib/control/ListHeader.h"
#include "uilib/control/ListHeaderItem.h"
#include "uilib/control/ListTextElement.h"
#include "uilib/control/ListTextExtElement.h"
#include "uilib/control/LoadingBar.h"
#include "uilib/control/MenuElement.h"
#include "uilib/control/MenuList.h"
#include "uilib/control/Option.h"
#include "uilib/control/Progress.h"
#include "uilib/control/RichEdit.h"
#include "uilib/control/Ring.h"
#include "uilib/control/RollText.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/control/Slider.h"
#include "uilib/control/Text.h"
#include "uilib/control/TreeNode.h"
#include "uilib/control/TreeView.h"
#include "uilib/control/WebBrowser.h"
#include "uilib/core/UIControl.h"
#include "uilib/layout/AnimationTabLayout.h"
#include "uilib/layout/ChildLayout.h"
#include "uilib/layout/Container.h"
#include "uilib/layout/HorizontalLayout.h"
#include "uilib/layout/TabLayout.h"
#include "uilib/layout/TileLayout.h"
#include "uilib/layout/VerticalLayout.h"

namespace SkinUI {

namespace {

template <class T>
CControlUI* CreateOf()
{
    return new T();
}

struct TBuiltIn {
    const wchar_t* name;
    UIControlCreateFunction create;
};

// Every control class of the framework, in registration order; a class joins
// the list when it exists.
const TBuiltIn kBuiltIns[] = {
    {L"CControlUI", &CreateOf<CControlUI>},
    {L"CContainerUI", &CreateOf<CContainerUI>},
    {L"CScrollBarUI", &CreateOf<CScrollBarUI>},
    {L"CHorizontalLayoutUI", &CreateOf<CHorizontalLayoutUI>},
    {L"CVerticalLayoutUI", &CreateOf<CVerticalLayoutUI>},
    {L"CTileLayoutUI", &CreateOf<CTileLayoutUI>},
    {L"CTabLayoutUI", &CreateOf<CTabLayoutUI>},
    {L"CChildLayoutUI", &CreateOf<CChildLayoutUI>},
    {L"CLabelUI", &CreateOf<CLabelUI>},
    {L"CProgressUI", &CreateOf<CProgressUI>},
    {L"CSliderUI", &CreateOf<CSliderUI>},
    {L"CButtonUI", &CreateOf<CButtonUI>},
    {L"COptionUI", &CreateOf<COptionUI>},
    {L"CCheckBoxUI", &CreateOf<CCheckBoxUI>},
    {L"CEditUI", &CEditUI::CreateControlInstance},
    {L"CListUI", &CreateOf<CListUI>},
    {L"CListHeaderUI", &CreateOf<CListHeaderUI>},
    {L"CListHeaderItemUI", &CreateOf<CListHeaderItemUI>},
    {L"CListLabelElementUI", &CreateOf<CListLabelElementUI>},
    {L"CListTextElementUI", &CreateOf<CListTextElementUI>},
    {L"CListContainerElementUI", &CreateOf<CListContainerElementUI>},
    {L"CComboUI", &CreateOf<CComboUI>},
    {L"CMenuUI", &CreateOf<CMenuUI>},
    {L"CMenuElementUI", &CreateOf<CMenuElementUI>},
    {L"CComboBoxUI", &CreateOf<CComboBoxUI>},
    {L"CDateTimeUI", &CreateOf<CDateTimeUI>},
    {L"CIPAddressUI", &CreateOf<CIPAddressUI>},
    {L"CIPAddressExUI", &CreateOf<CIPAddressExUI>},
    {L"CGroupBoxUI", &CreateOf<CGroupBoxUI>},
    {L"CRollTextUI", &CreateOf<CRollTextUI>},
    {L"CColorPaletteUI", &CreateOf<CColorPaletteUI>},
    {L"CHotKeyUI", &CreateOf<CHotKeyUI>},
    {L"CListExUI", &CreateOf<CListExUI>},
    {L"CListContainerHeaderItemUI", &CreateOf<CListContainerHeaderItemUI>},
    {L"CListTextExtElementUI", &CreateOf<CListTextExtElementUI>},
    {L"CTreeViewUI", &CreateOf<CTreeViewUI>},
    {L"CTreeNodeUI", &CreateOf<CTreeNodeUI>},
    {L"CTextUI", &CreateOf<CTextUI>},
    {L"CGifAnimUI", &CreateOf<CGifAnimUI>},
    {L"CLoadingBarUI", &CreateOf<CLoadingBarUI>},
    {L"CRingUI", &CreateOf<CRingUI>},
    {L"CAnimationTabLayoutUI", &CreateOf<CAnimationTabLayoutUI>},
    {L"CFadeButtonUI", &CreateOf<CFadeButtonUI>},
    {L"CRichEditUI", &CreateOf<CRichEditUI>},
    {L"CActiveXUI", &CreateOf<CActiveXUI>},
    {L"CWebBrowserUI", &CreateOf<CWebBrowserUI>},
    {L"CFlashUI", &CreateOf<CFlashUI>},
};

CControlFactory*& InstanceSlot()
{
    static CControlFactory* instance = nullptr;
    return instance;
}

CUIString LowerCased(const wchar_t* text)
{
    CUIString key(text);
    key.ToLower();
    return key;
}

} // namespace

CControlFactory* CControlFactory::GetInstance()
{
    CControlFactory*& slot = InstanceSlot();
    if (slot == nullptr) {
        slot = new CControlFactory();
        slot->RegisterBuiltIns();
    }
    return slot;
}

void CControlFactory::Release()
{
    CControlFactory*& slot = InstanceSlot();
    delete slot;
    slot = nullptr;
}

CControlFactory::CControlFactory() = default;

CControlFactory::~CControlFactory() = default;

void CControlFactory::RegisterBuiltIns()
{
    for (const TBuiltIn& entry : kBuiltIns) RegisterControl(entry.name, entry.create);
}

bool CControlFactory::RegisterControl(const wchar_t* className, UIControlCreateFunction create)
{
    if (className == nullptr || className[0] == L'\0' || create == nullptr) return false;
    if (!m_registry.emplace(LowerCased(className), create).second) return false;
    m_names.push_back(CUIString(className));
    return true;
}

CControlUI* CControlFactory::CreateControl(const wchar_t* className) const
{
    if (className == nullptr) return nullptr;
    const auto found = m_registry.find(LowerCased(className));
    return found != m_registry.end() ? found->second() : nullptr;
}

} // namespace SkinUI
