#pragma once

namespace SkinUI {

// Page selection of a tab layout. A tab layout answers
// FindInterface(kTabLayoutInterface) with a pointer to this interface; a
// button bound to a layout by name selects pages only through it, so a name
// that leads to another kind of control does nothing.
class ITabLayoutUI {
public:
    virtual bool SelectPageAt(int index) = 0;

protected:
    ~ITabLayoutUI() = default;
};

constexpr const wchar_t* kTabLayoutInterface = L"ITabLayout";

} // namespace SkinUI
