#include <gtest/gtest.h>

#include <windows.h>

#include "AppSkin.h"
#include "DialogScript.h"
#include "app/windows/MemWrWnd.h"
#include "app/windows/SettingsFile.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimUnitModel.h"

using dialogs::Click;
using dialogs::SetText;
using dialogs::Step;
using dialogs::TextOf;

namespace {

class MemWrWindow : public sim::SimDeviceTest {
protected:
    MemWrWindow() : SimDeviceTest(model, 5) {}
    void BeforeOpen() override
    {
        ASSERT_TRUE(OpenAppSkin());
        const std::wstring path = SettingsFilePath();
        WritePrivateProfileStringW(L"config", L"mem_addr", nullptr, path.c_str());
        WritePrivateProfileStringW(L"config", L"mem_data", nullptr, path.c_str());
    }
    void SetUp() override
    {
        SimDeviceTest::SetUp();
        device.EnableAsyncMode();
    }

    dialogs::ScriptResult Run(const std::vector<Step>& steps)
    {
        return dialogs::RunDialogScript(L"MemWrWnd", steps, [&] { ShowMemWrWnd(nullptr, device); });
    }
    static Step Close()
    {
        return [](SkinUI::WindowImplBase& w, HWND h) {
            Click(w, h, L"closebtn");
            return true;
        };
    }

    sim::UnitModel model{unit()};
};

TEST_F(MemWrWindow, AWrittenWordReachesTheUnitAndReadsBack)
{
    const size_t before = unit().ReceivedFrames().size();
    const auto result = Run({
        [](SkinUI::WindowImplBase& w, HWND h) {
            SetText(w, L"addr_edit", L"0x1000");
            SetText(w, L"data_edit", L"0x80000000");
            Click(w, h, L"write_btn");
            return true;
        },
        [&](SkinUI::WindowImplBase&, HWND) { return model.Snapshot().memory.count(0x1000) == 1; },
        [](SkinUI::WindowImplBase& w, HWND h) {
            SetText(w, L"data_edit", L"0");
            Click(w, h, L"read_btn");
            return true;
        },
        [](SkinUI::WindowImplBase& w, HWND) { return TextOf(w, L"data_edit") == L"0x80000000"; },
        Close(),
    });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;

    const std::vector<sim::Frame> frames = unit().ReceivedFrames();
    ASSERT_EQ(before + 2, frames.size());
    const std::vector<uint8_t> written = {0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80};
    EXPECT_EQ(0x42, frames[before].subcommand);
    EXPECT_EQ(written, frames[before].data);
    const std::vector<uint8_t> asked = {0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(0x42, frames[before + 1].subcommand);
    EXPECT_EQ(asked, frames[before + 1].data);
    EXPECT_NE(frames[before].optype, frames[before + 1].optype);

    const std::wstring path = SettingsFilePath();
    EXPECT_EQ(4096, ReadSettingInt(path, L"mem_addr", 0));
    wchar_t stored[32] = {};
    GetPrivateProfileStringW(L"config", L"mem_data", L"", stored, 32, path.c_str());
    EXPECT_STREQ(L"-2147483648", stored);
    EXPECT_EQ(nullptr, device.mMemDataWnd);
    EXPECT_EQ(nullptr, OpenMemWrWindow());
}

TEST_F(MemWrWindow, ReopeningShowsTheLastWords)
{
    const std::wstring path = SettingsFilePath();
    WriteSettingInt(path, L"mem_addr", 0x2000);
    WriteSettingInt(path, L"mem_data", -1);
    std::wstring address, data;
    bool registered = false;
    const auto result = Run({
        [&](SkinUI::WindowImplBase& w, HWND h) {
            address = TextOf(w, L"addr_edit");
            data = TextOf(w, L"data_edit");
            registered = device.mMemDataWnd == h && OpenMemWrWindow() == &w;
            return true;
        },
        Close(),
    });
    ASSERT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    EXPECT_EQ(L"0x00002000", address);
    EXPECT_EQ(L"0xffffffff", data);
    EXPECT_TRUE(registered);
}

} // namespace
