#pragma once

#include <string>
#include <windows.h>

#include "control/TestControl.h"

namespace SkinUITest {

// The test control DLL as the host loads it (by module name), with its
// switches and records.
class TestControlLink {
public:
    static const wchar_t* ModuleName() { return L"hosted_test_control.dll"; }

    TestControlLink();
    bool IsLoaded() const { return m_setup != nullptr; }
    void Setup(DWORD misc, DWORD mode) const { m_setup(misc, mode); }
    std::string Log() const { return m_log(); }
    LONG Live() const { return m_live(); }
    HRESULT Fire(DISPID id) const { return m_fire(id); }
    LONG Sinks() const { return m_sinks(); }

private:
    TestControlSetupFunction m_setup = nullptr;
    TestControlLogFunction m_log = nullptr;
    TestControlLiveFunction m_live = nullptr;
    TestControlFireFunction m_fire = nullptr;
    TestControlSinksFunction m_sinks = nullptr;
};

} // namespace SkinUITest
