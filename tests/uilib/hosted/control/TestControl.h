#pragma once
// The test control's own switches and records, exported by the test DLL.

#include <windows.h>

// Object behaviours chosen by the test before creating the next object.
enum TestControlMode : DWORD {
    kTestWindowless = 0x1,  // activates windowless when the site allows it
    kTestFailInitNew = 0x2, // IPersistStreamInit::InitNew answers E_FAIL
    kTestNoPersist = 0x4,   // offers no IPersistStreamInit
};

extern "C" {
typedef void(__cdecl* TestControlSetupFunction)(DWORD misc, DWORD mode);
// Every call the objects received since the last setup, joined with ";".
typedef const char*(__cdecl* TestControlLogFunction)();
// Test objects alive.
typedef LONG(__cdecl* TestControlLiveFunction)();
// Calls Invoke(dispid) on every connected event sink; the last answer.
typedef HRESULT(__cdecl* TestControlFireFunction)(DISPID id);
// Event sinks connected now.
typedef LONG(__cdecl* TestControlSinksFunction)();
}
