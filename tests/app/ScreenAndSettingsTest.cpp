#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "AppSkin.h"
#include "app/windows/ScreenDpi.h"
#include "app/windows/SettingsFile.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

struct SizeCase {
    int width;
    int height;
    int dpi;
};

class ScreenSizeDpi : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ScreenSizeDpi, PicksTheDpiOfTheSmallerScale)
{
    const SizeCase c = GetParam();
    EXPECT_EQ(c.dpi, DpiForScreenSize(c.width, c.height)) << c.width << "x" << c.height;
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenSizeDpi,
                         ::testing::Values(SizeCase{1366, 768, 77}, SizeCase{1280, 1024, 77},
                                           SizeCase{1536, 760, 96}, SizeCase{1600, 900, 96},
                                           // 1920 / 1536 is exactly 1.25: not below it.
                                           SizeCase{1920, 1080, 120}, SizeCase{1919, 1080, 96},
                                           SizeCase{2560, 1440, 144}, SizeCase{2304, 1140, 144},
                                           SizeCase{3840, 2160, 192}, SizeCase{4608, 2280, 288},
                                           // A wide but low screen is held back by its height.
                                           SizeCase{3840, 800, 96}));

struct MonitorCase {
    const char* what;
    RECT mainScreen;
    std::vector<RECT> others;
    int count;
    int widest;
    RECT chosen;
};

class WidestScreen : public ::testing::TestWithParam<MonitorCase> {};

TEST_P(WidestScreen, TakesTheWidestAndTheEarlierOnATie)
{
    const MonitorCase& c = GetParam();
    RECT chosen = {};
    EXPECT_EQ(c.widest, WidestMonitor(c.mainScreen, c.others.data(), static_cast<int>(c.others.size()), c.count,
                                      &chosen))
        << c.what;
    EXPECT_TRUE(EqualRect(&c.chosen, &chosen)) << c.what << ": " << chosen.left << "," << chosen.top << ","
                                               << chosen.right << "," << chosen.bottom;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WidestScreen,
    ::testing::Values(
        MonitorCase{"one screen", {0, 0, 1600, 900}, {}, 1, 0, {0, 0, 1600, 900}},
        MonitorCase{"wider second", {0, 0, 1600, 900}, {{1600, 0, 4160, 1440}}, 2, 1, {1600, 0, 4160, 1440}},
        MonitorCase{"equal second loses", {0, 0, 1920, 1080}, {{1920, 0, 3840, 1080}}, 2, 0, {0, 0, 1920, 1080}},
        MonitorCase{"narrower second", {0, 0, 2560, 1440}, {{-1280, 0, 0, 1024}}, 2, 0, {0, 0, 2560, 1440}},
        MonitorCase{"third widest", {0, 0, 1280, 1024}, {{1280, 0, 2880, 900}, {2880, 0, 4800, 1080}}, 3, 2,
                    {2880, 0, 4800, 1080}},
        // More monitors counted than listed: the missing ones are empty.
        MonitorCase{"count beyond list", {0, 0, 1600, 900}, {}, 3, 0, {0, 0, 1600, 900}}));

TEST(ScreenDpi, TheTestScreenGivesNinetySix)
{
    // The test display is 1600 x 900.
    ASSERT_EQ(1600, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(900, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(96, GetScreenDpi());
}

// A settings file in a folder of its own, removed afterwards.
class SettingsFileFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        m_path = std::wstring(folder) + L"brisa_settings_test.ini";
        DeleteFileW(m_path.c_str());
    }
    void TearDown() override { DeleteFileW(m_path.c_str()); }
    void Write(const wchar_t* key, const wchar_t* value)
    {
        ASSERT_TRUE(WritePrivateProfileStringW(L"config", key, value, m_path.c_str()));
    }
    std::wstring m_path;
};

struct LanguageCase {
    const wchar_t* lan; // null: no such key
    const wchar_t* current;
};

class LanguageChoice : public SettingsFileFixture, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageChoice, SelectsTheRegisteredLanguageOrKeepsTheLastAdded)
{
    ASSERT_TRUE(OpenAppSkin());
    const LanguageCase c = GetParam();
    if (c.lan != nullptr) Write(L"lan", c.lan);
    CResourceStore* store = CResourceStore::GetInstance();
    // As at start: the last registered language is current before the choice.
    store->SelectLanguage(L"ru");
    const wchar_t* name = LanguageNameOfSetting(ReadLanguageSetting(m_path));
    if (name != nullptr) store->SelectLanguage(name);
    EXPECT_STREQ(c.current, store->CurrentLanguageName());
    store->SelectLanguage(L"en");
}

INSTANTIATE_TEST_SUITE_P(Values, LanguageChoice,
                         ::testing::Values(LanguageCase{nullptr, L"en"}, LanguageCase{L"0", L"en"},
                                           LanguageCase{L"1", L"cn_zh"}, LanguageCase{L"2", L"ru"},
                                           LanguageCase{L"7", L"ru"}, LanguageCase{L"-1", L"ru"},
                                           LanguageCase{L"chinese", L"en"}, LanguageCase{L"4294967297", L"en"}));

TEST_F(SettingsFileFixture, FactoryEqComesFromTheSameSection)
{
    EXPECT_EQ(0, ReadSettingInt(m_path, L"factoryEQ", 0));
    Write(L"factoryEQ", L"3");
    EXPECT_EQ(3, ReadSettingInt(m_path, L"factoryEQ", 0));
}

TEST(SettingsFile, LivesInTheCommonApplicationDataFolder)
{
    const std::wstring path = SettingsFilePath();
    ASSERT_GT(path.size(), 11u);
    EXPECT_EQ(L"\\varolt.ini", path.substr(path.size() - 11));
    wchar_t folder[MAX_PATH];
    GetEnvironmentVariableW(L"ALLUSERSPROFILE", folder, MAX_PATH);
    EXPECT_EQ(0, _wcsnicmp(folder, path.c_str(), wcslen(folder))) << path.c_str();
}

} // namespace
