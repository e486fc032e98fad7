#pragma once

#include <windows.h>

#include "uilib/control/Button.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A button with a selected state and its own look while selected. Options
// that share a group name in one paint manager act as radio buttons; every
// selection sends "selectchanged".
class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    // A click also selects the option (toggles it outside a group).
    bool Activate() override;
    // Leaves the group of a manager it is detached from, joins on initialisation.
    void AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow = true) override;
    void SetEnabledState(bool enabled) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void PaintBackgroundColor(HDC dc) override;
    void PaintStateImage(HDC dc) override;
    void PaintForegroundImage(HDC dc) override;
    void PaintTextLayer(HDC dc) override;

    virtual const CUIString& GetSelectedStateImageSpec() const;
    virtual void SetSelectedStateImageSpec(const wchar_t* text);
    virtual void SetSelectedState(bool selected, bool silent);

    bool IsSelected() const { return m_selected; }
    void SetGroupName(const wchar_t* name);
    const CUIString& GetGroupName() const { return m_group; }
    void SetSelectedText(const wchar_t* text);
    const CUIString& GetSelectedText() const { return m_selectedText; }
    void SetSelectedFont(int id);
    int GetSelectedFont() const { return m_selectedFont; }
    void SetSelectedBkColor(DWORD argb);
    DWORD GetSelectedBkColor() const { return m_selectedBkColor; }
    void SetSelectedTextColor(DWORD argb) { m_selectedTextColor = argb; }
    DWORD GetSelectedTextColor() const { return m_selectedTextColor; }
    void SetSelectedHotTextColor(DWORD argb) { m_selectedHotTextColor = argb; }
    DWORD GetSelectedHotTextColor() const { return m_selectedHotTextColor; }
    void SetSelectedImage(const wchar_t* text);
    const CUIString& GetSelectedImage() const { return m_selectedImage; }
    void SetSelectedHotImage(const wchar_t* text);
    const CUIString& GetSelectedHotImage() const { return m_selectedHotImage; }
    void SetSelectedPushedImage(const wchar_t* text);
    const CUIString& GetSelectedPushedImage() const { return m_selectedPushedImage; }
    void SetSelectedForeImage(const wchar_t* text);
    // Selected and taking no input.
    void SetSelectedDisabledImage(const wchar_t* text);
    const CUIString& GetSelectedDisabledImage() const { return m_selectedDisabledImage; }
    const CUIString& GetSelectedForeImage() const { return m_selectedForeImage; }
    void SetSelectedStateCount(int count);
    int GetSelectedStateCount() const { return m_selectedStateCount; }

protected:
    // Unselects the other members of the group, silently or not.
    void UnselectOtherMembers(bool silent);

    bool m_selected;
    CUIString m_group;
    CUIString m_selectedText;
    int m_selectedFont;
    DWORD m_selectedBkColor;
    DWORD m_selectedTextColor;
    DWORD m_selectedHotTextColor;
    CUIString m_selectedImage;
    CUIString m_selectedHotImage;
    CUIString m_selectedPushedImage;
    CUIString m_selectedForeImage;
    CUIString m_selectedDisabledImage;
    int m_selectedStateCount;
    CUIString m_selectedStateImage;

private:
    void JoinGroup();
    void LeaveGroup();

    // The manager whose group this option is in; null when in none.
    CPaintManagerUI* m_groupManager;
};

} // namespace SkinUI
