#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>
#include <gdiplus.h>

namespace {

// GDI+ and OLE for the whole test program, as a paint manager's window has them.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override
    {
        Gdiplus::GdiplusShutdown(m_token);
        OleUninitialize();
    }

private:
    ULONG_PTR m_token = 0;
};

const ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace
