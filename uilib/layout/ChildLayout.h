#pragma once

#include "uilib/core/UIString.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

// Fills itself, when initialised, with the control tree of another layout
// file ("xmlfile").
class CChildLayoutUI : public CContainerUI {
public:
    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void Initialize() override;

    void SetLayoutFile(const wchar_t* name) { m_layoutFile = name; }
    CUIString GetLayoutFile() const { return m_layoutFile; }

private:
    CUIString m_layoutFile;
};

} // namespace SkinUI
