#pragma once

#include <map>
#include <vector>

#include "uilib/core/UIString.h"

namespace SkinUI {

class CControlUI;

typedef CControlUI* (*UIControlCreateFunction)();

// Process-wide registry from control class name ("CButtonUI") to the function
// that creates a new control of that class. Names are kept lower-cased, so
// lookups ignore case. UI thread only.
class CControlFactory {
public:
    // The registry, made with the built-in classes on first use.
    static CControlFactory* GetInstance();
    // Destroys the registry; the next GetInstance makes a new one.
    static void Release();

    virtual ~CControlFactory();
    CControlFactory(const CControlFactory&) = delete;
    CControlFactory& operator=(const CControlFactory&) = delete;

    // The first registration of a name wins; false when it was present.
    bool RegisterControl(const wchar_t* className, UIControlCreateFunction create);
    // A new control, owned by the caller, or null for an unknown name.
    CControlUI* CreateControl(const wchar_t* className) const;
    int Count() const { return static_cast<int>(m_registry.size()); }
    // Every registered class name as it was registered, in that order.
    const std::vector<CUIString>& ClassNames() const { return m_names; }

private:
    CControlFactory();
    void RegisterBuiltIns();

    std::map<CUIString, UIControlCreateFunction> m_registry;
    std::vector<CUIString> m_names;
};

} // namespace SkinUI
