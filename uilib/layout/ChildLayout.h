#pragma once

#include "uilib/core/UIString.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

// Fills itself, when initialised, with the control tree of another layout
// file ("xmlfile"). A file that an enclosing child layout is still building
// (a layout naming itself, or a cycle) is refused, as are nestings deeper
// than the builder's include limit: the layout stays empty and says why.
class CChildLayoutUI : public CContainerUI {
public:
    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    void Initialize() override;

    void SetLayoutFile(const wchar_t* name) { m_layoutFile = name; }
    CUIString GetLayoutFile() const { return m_layoutFile; }
    // What the last initialisation refused or could not build; empty when
    // the whole file was built.
    const CUIString& LastError() const { return m_lastError; }

private:
    // The refusal text when the file may not be built here, else empty.
    CUIString RefusalOf(const CUIString& file) const;

    CUIString m_layoutFile;
    CUIString m_lastError;
};

} // namespace SkinUI
