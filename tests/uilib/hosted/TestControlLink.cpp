#include "TestControlLink.h"

namespace SkinUITest {

namespace {

template <typename Fn>
Fn Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

TestControlLink::TestControlLink()
{
    HMODULE module = LoadLibraryW(ModuleName());
    if (module == nullptr) return;
    m_log = Entry<TestControlLogFunction>(module, "TestControlLog");
    m_live = Entry<TestControlLiveFunction>(module, "TestControlLive");
    m_fire = Entry<TestControlFireFunction>(module, "TestControlFire");
    m_sinks = Entry<TestControlSinksFunction>(module, "TestControlSinks");
    if (m_log != nullptr && m_live != nullptr && m_fire != nullptr && m_sinks != nullptr)
        m_setup = Entry<TestControlSetupFunction>(module, "TestControlSetup");
}

} // namespace SkinUITest
