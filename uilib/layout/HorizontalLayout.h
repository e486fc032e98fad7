#pragma once

#include "uilib/layout/BoxLayout.h"

namespace SkinUI {

// Stacks its children from left to right ("sepwidth" for the drag strip).
class CHorizontalLayoutUI : public CBoxLayoutUI {
public:
    CHorizontalLayoutUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    void SetSeparatorWidth(int width) { SetSeparatorSize(width); }
};

} // namespace SkinUI
