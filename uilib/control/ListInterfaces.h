#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CListHeaderUI;
class CListBodyUI;

// Appearance shared by every row of one owner (a list, a combo box or a menu);
// rows read it through their owner and never copy it.
struct TListItemStyle {
    static const int kMaxColumns = 32;

    // The defaults of a list; other owners adjust what differs.
    TListItemStyle();

    int columnCount;
    RECT columns[kMaxColumns];
    int font;
    UINT textStyle;
    RECT textPadding;
    DWORD textColor;
    DWORD backColor;
    CUIString backImage;
    bool alternateBack;
    DWORD selectedTextColor;
    DWORD selectedBackColor;
    CUIString selectedImage;
    DWORD hotTextColor;
    DWORD hotBackColor;
    CUIString hotImage;
    DWORD disabledTextColor;
    DWORD disabledBackColor;
    CUIString disabledImage;
    DWORD lineColor;
    bool showRowLine;
    bool showColumnLine;
    bool showHtml;
    bool multipleExpanding;
    bool rightButtonSelects;
};

// Owner kinds answered by GetOwnerKind.
enum UIListOwnerKind : uint32_t {
    UILIST_OWNER_LIST = 0,
    UILIST_OWNER_COMBO = 1,
    UILIST_OWNER_MENU = 3,
};

// What rows see of the control that holds them.
class IListOwnerUI {
public:
    virtual uint32_t GetOwnerKind() const = 0;
    virtual TListItemStyle* GetListStyleInfo() = 0;
    virtual int GetSelectedIndex() const = 0;
    virtual bool SelectSingleItem(int index, bool takeFocus = false) = 0;
    virtual bool AddToSelection(int index, bool takeFocus = false) = 0;
    virtual bool RemoveFromSelection(int index, bool others) = 0;
    // Rows pass the events they do not handle here.
    virtual void HandleItemEvent(TEventInfo& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

// Supplies the texts of text rows, cell by cell; owned by the application.
class IListTextCallback {
public:
    virtual const wchar_t* GetItemText(CControlUI* row, int rowIndex, int column) = 0;

protected:
    ~IListTextCallback() = default;
};

// The list's side beyond what every owner offers.
class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeaderControl() const = 0;
    virtual CListBodyUI* GetBodyContainer() const = 0;
    virtual IListTextCallback* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListTextCallback* callback) = 0;
    virtual bool SetItemExpandedAt(int index, bool expand) = 0;
    virtual int GetExpandedIndex() const = 0;
    virtual void SetMultipleSelection(bool on) = 0;
    virtual bool HasMultipleSelection() const = 0;
    virtual void SelectEveryItem() = 0;
    virtual void ClearSelection() = 0;
    virtual int GetSelectedCount() const = 0;
    // Walks the selection: -1 gives the first entry, an entry gives the next.
    virtual int GetSelectedAt(int index) const = 0;

protected:
    ~IListUI() = default;
};

// The row side.
class IListItemUI {
public:
    virtual int GetListIndex() const = 0;
    virtual void SetListIndex(int index) = 0;
    virtual IListOwnerUI* GetListOwner() const = 0;
    virtual void SetListOwner(CControlUI* owner) = 0;
    virtual bool IsItemSelected() const = 0;
    virtual bool SetItemSelected(bool select) = 0;
    virtual bool SetItemSelectedAdditive(bool select) = 0;
    virtual bool IsItemExpanded() const = 0;
    virtual bool SetItemExpanded(bool expand) = 0;
    virtual void PaintItemText(HDC dc, const RECT& rc) = 0;

protected:
    ~IListItemUI() = default;
};

// The row interface of a control, or null (also for a null control).
inline IListItemUI* AsListItem(CControlUI* control)
{
    return control != nullptr ? static_cast<IListItemUI*>(control->FindInterface(L"ListItem")) : nullptr;
}

// The owner interface of a control, or null.
inline IListOwnerUI* AsListOwner(CControlUI* control)
{
    return control != nullptr ? static_cast<IListOwnerUI*>(control->FindInterface(L"IListOwner")) : nullptr;
}

} // namespace SkinUI
