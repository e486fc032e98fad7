#pragma once

#include "uilib/layout/BoxLayout.h"

namespace SkinUI {

// Stacks its children from top to bottom ("sepheight" for the drag strip).
class CVerticalLayoutUI : public CBoxLayoutUI {
public:
    CVerticalLayoutUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    void SetSeparatorHeight(int height) { SetSeparatorSize(height); }
};

} // namespace SkinUI
