// The about box's version lines for a unit and without one, and the codes
// its buttons close with.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "AppSkin.h"
#include "app/windows/AboutWnd.h"
#include "tests/uilib/kit/MessagePump.h"

using namespace SkinUI;

namespace {

struct AboutCase {
    UnitIdentity unit;
    const wchar_t* firmwareLine;
    const wchar_t* click;
    int result;
};

class AboutBox : public ::testing::TestWithParam<AboutCase> {
protected:
    void SetUp() override { ASSERT_TRUE(OpenAppSkin()); }
};

TEST_P(AboutBox, ShowsTheVersionsAndClosesWithTheButtonsCode)
{
    const AboutCase c = GetParam();
    CAboutWnd* box = new CAboutWnd(c.unit);
    ASSERT_NE(nullptr, box->CreateNativeWindow(nullptr, L"msgwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW));
    CPaintManagerUI& manager = box->PaintManager();
    EXPECT_EQ(c.firmwareLine, TextOf(manager, L"fw_version"));
    EXPECT_TRUE(VisibleOf(manager, L"fw_version"));
    EXPECT_EQ(L"Software version v6.8.7", TextOf(manager, L"soft_version"));
    EXPECT_EQ(L"Built-in firmware v1.25", TextOf(manager, L"inner_fw_version"));
    EXPECT_TRUE(VisibleOf(manager, L"inner_fw_version"));
    EXPECT_EQ(L"Brisa DSP Audio", TextOf(manager, L"company_title"));
    EXPECT_FALSE(VisibleOf(manager, L"company_title"));

    TNotifyInfo click;
    click.type = L"click";
    click.sender = manager.FindControlByName(c.click);
    ASSERT_NE(nullptr, click.sender) << c.click;
    box->ReceiveNotify(click);
    EXPECT_EQ(c.result, static_cast<int>(box->RunModal()));  // the box deletes itself
    EXPECT_EQ(nullptr, SkinUITest::FindOwnWindow(L"AboutWnd"));
}

INSTANTIATE_TEST_SUITE_P(
    Units, AboutBox,
    ::testing::Values(AboutCase{{-1, 0, 0}, L"BrisaDSP ", L"closebtn", 0},
                      AboutCase{{95, 1, 25}, L"BrisaDSP firmware version v1.25", L"confirm_btn", 1},
                      AboutCase{{95, 2, 3}, L"BrisaDSP firmware version v2.3", L"closebtn", 0}));

} // namespace
