// The paint manager's resource tables on managers without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uilib/core/ControlFactory.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"
#include "tests/uilib/ZipTestArchive.h"
#include "tests/uilib/manager/BmpFile.h"

using namespace SkinUI;

namespace {

// Every test leaves the process-wide tables as it found them: empty.
class ManagerResources : public ::testing::Test {
protected:
    void TearDown() override
    {
        CPaintManagerUI::Shutdown(true);
        CPaintManagerUI::SetSkinZipFile(L"", false, L"");
        CPaintManagerUI::SetSkinFolder(L"");
    }
};

bool IsLiveFont(HFONT font) { return GetObjectType(font) == OBJ_FONT; }

// A 2x1 24-bit BMP: a blue, then a red pixel.
std::vector<BYTE> TinyBmp()
{
    return SkinUITest::BmpFile(2, 1, 24, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0});
}

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    std::wstring folder = std::wstring(path) + L"brisa_manager_test\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

TEST_F(ManagerResources, SkinFolderGetsOneFinalSeparator)
{
    CPaintManagerUI::SetSkinFolder(L"C:\\skin");
    EXPECT_EQ(CPaintManagerUI::SkinFolder(), L"C:\\skin\\");
    CPaintManagerUI::SetSkinFolder(L"C:/skin/");
    EXPECT_EQ(CPaintManagerUI::SkinFolder(), L"C:/skin/");
    CPaintManagerUI::SetSkinFolder(L"C:\\skin\\");
    EXPECT_EQ(CPaintManagerUI::SkinFolder(), L"C:\\skin\\");
    CPaintManagerUI::SetSkinFolder(L"");
    EXPECT_TRUE(CPaintManagerUI::SkinFolder().IsEmpty());
}

TEST_F(ManagerResources, AddingAFontIdTwiceKeepsTheSecond)
{
    CPaintManagerUI manager;
    HFONT first = manager.AddFont(3, L"Arial", 12, false, false, false, false);
    HFONT second = manager.AddFont(3, L"Arial", 20, true, true, true, false);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsLiveFont(first));
    EXPECT_EQ(manager.FontHandle(3), second);
    TFontEntry* entry = manager.FontEntry(3);
    EXPECT_EQ(entry->size, 20);
    EXPECT_TRUE(entry->bold && entry->underline && entry->italic);
    EXPECT_GT(entry->metrics.tmHeight, 0);
    LOGFONTW lf;
    GetObjectW(second, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST_F(ManagerResources, MissingOrNegativeFontIdsGiveTheDefaultFont)
{
    CPaintManagerUI manager;
    HFONT fallback = manager.DefaultFontEntry()->font;
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(manager.FontHandle(-1), fallback);
    EXPECT_EQ(manager.FontHandle(42), fallback);
    EXPECT_EQ(manager.FontEntryOfHandle(nullptr), manager.DefaultFontEntry());
    EXPECT_GT(manager.DefaultFontEntry()->metrics.tmHeight, 0);
}

TEST_F(ManagerResources, FontsAreFoundByDescriptionAndHandle)
{
    CPaintManagerUI manager;
    HFONT font = manager.AddFont(5, L"Arial", 14, true, false, false, false);
    EXPECT_EQ(manager.FindFont(L"Arial", 14, true, false, false), font);
    EXPECT_EQ(manager.FindFont(L"Arial", 14, false, false, false), nullptr);
    EXPECT_EQ(manager.FontEntryOfHandle(font), manager.FontEntry(5));
}

TEST_F(ManagerResources, WindowFontsShadowSharedOnesOfTheSameId)
{
    CPaintManagerUI one;
    CPaintManagerUI two;
    HFONT shared = one.AddFont(1, L"Arial", 11, false, false, false, true);
    EXPECT_EQ(two.FontHandle(1), shared);
    HFONT own = two.AddFont(1, L"Arial", 13, false, false, false, false);
    EXPECT_EQ(two.FontHandle(1), own);
    EXPECT_EQ(one.FontHandle(1), shared);
}

TEST_F(ManagerResources, SharedResourceFlagSendsAddsToTheSharedSet)
{
    CPaintManagerUI popup;
    CPaintManagerUI other;
    popup.SetUseSharedImages(true);
    HFONT font = popup.AddFont(9, L"Arial", 10, false, false, false, false);
    popup.AddStyle(L"s", L"text=\"x\"", false);
    popup.SetDefaultAttributeList(L"Button", L"width=\"9\"", false);
    EXPECT_EQ(other.FontHandle(9), font);
    EXPECT_STREQ(other.FindStyle(L"s"), L"text=\"x\"");
    EXPECT_STREQ(other.FindDefaultAttributes(L"Button"), L"width=\"9\"");
}

TEST_F(ManagerResources, DefaultFontOfTheWindowOverridesTheShared)
{
    CPaintManagerUI manager;
    TFontEntry* shared = manager.DefaultFontEntry();
    manager.SetDefaultFont(L"Arial", 17, false, false, true, false);
    TFontEntry* own = manager.DefaultFontEntry();
    EXPECT_NE(own, shared);
    EXPECT_EQ(own->size, 17);
    EXPECT_TRUE(own->italic);
    CPaintManagerUI other;
    EXPECT_EQ(other.DefaultFontEntry(), shared);
}

TEST_F(ManagerResources, DpiChangeRebuildsFontsAtTheNewHeight)
{
    CPaintManagerUI manager;
    HFONT before = manager.AddFont(2, L"Arial", 12, false, false, false, false);
    manager.ApplyDpi(144);
    HFONT after = manager.FontHandle(2);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsLiveFont(before));
    LOGFONTW lf;
    GetObjectW(after, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -18);
    EXPECT_EQ(manager.FontEntry(2)->size, 12);
    HFONT scaled = manager.AddFont(4, L"Arial", 10, false, false, false, false);
    GetObjectW(scaled, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -15);
}

TEST_F(ManagerResources, FirstStyleWinsWhileAttributeListsAreReplaced)
{
    CPaintManagerUI manager;
    manager.AddStyle(L"big", L"width=\"10\"", false);
    manager.AddStyle(L"big", L"width=\"20\"", false);
    EXPECT_STREQ(manager.FindStyle(L"big"), L"width=\"10\"");
    manager.SetDefaultAttributeList(L"Label", L"a=\"1\"", false);
    manager.SetDefaultAttributeList(L"Label", L"a=\"2\"", false);
    EXPECT_STREQ(manager.FindDefaultAttributes(L"Label"), L"a=\"2\"");
    EXPECT_EQ(manager.FindStyle(L"none"), nullptr);
    EXPECT_EQ(manager.FindDefaultAttributes(nullptr), nullptr);
}

TEST_F(ManagerResources, WindowTablesAreSearchedBeforeSharedOnes)
{
    CPaintManagerUI manager;
    manager.AddStyle(L"st", L"shared", true);
    manager.SetDefaultAttributeList(L"Edit", L"shared", true);
    EXPECT_STREQ(manager.FindStyle(L"st"), L"shared");
    manager.AddStyle(L"st", L"own", false);
    manager.SetDefaultAttributeList(L"Edit", L"own", false);
    EXPECT_STREQ(manager.FindStyle(L"st"), L"own");
    EXPECT_STREQ(manager.FindDefaultAttributes(L"Edit"), L"own");
    manager.RemoveAllStyles(false);
    manager.RemoveAllDefaultAttributeLists(false);
    EXPECT_STREQ(manager.FindStyle(L"st"), L"shared");
    EXPECT_STREQ(manager.FindDefaultAttributes(L"Edit"), L"shared");
}

TEST_F(ManagerResources, NewManagersStartWithTheDefaultColours)
{
    CPaintManagerUI manager;
    EXPECT_EQ(manager.DefaultDisabledTextColor(), 0xFFA7A6AAu);
    EXPECT_EQ(manager.DefaultTextColor(), 0xFF000000u);
    EXPECT_EQ(manager.DefaultLinkTextColor(), 0xFF0000FFu);
    EXPECT_EQ(manager.DefaultLinkHoverTextColor(), 0xFFD3215Fu);
    EXPECT_EQ(manager.DefaultSelectedBackColor(), 0xFFBAE4FFu);
}

TEST_F(ManagerResources, SharedColourCarriesOnlyToWindowsStillHoldingTheOldValue)
{
    CPaintManagerUI following;
    CPaintManagerUI customised;
    customised.SetDefaultTextColor(0xFF112233, false);
    following.SetDefaultTextColor(0xFF445566, true);
    EXPECT_EQ(following.DefaultTextColor(), 0xFF445566u);
    EXPECT_EQ(customised.DefaultTextColor(), 0xFF112233u);
    CPaintManagerUI later;
    EXPECT_EQ(later.DefaultTextColor(), 0xFF445566u);
    following.SetDefaultTextColor(0xFF000000, true);
}

TEST_F(ManagerResources, ImageNamesAreCheckedBeforeLoading)
{
    CPaintManagerUI manager;
    EXPECT_EQ(manager.AddImage(L"logo.png", L"PNG", 0, false, false), nullptr);
    EXPECT_EQ(manager.AddImage(L"", nullptr, 0, false, false), nullptr);
    EXPECT_EQ(manager.AddImage(nullptr, nullptr, 0, false, false), nullptr);
    EXPECT_EQ(manager.FindOrLoadImage(L"no_such_image.png"), nullptr);
}

TEST_F(ManagerResources, MissingDpiVariantFallsBackToThePlainImage)
{
    std::wstring folder = TempFolder();
    SkinUITest::WriteBytes(folder + L"tiny.bmp", TinyBmp());
    CPaintManagerUI::SetSkinFolder(folder.c_str());
    CPaintManagerUI manager;
    manager.ApplyDpi(144);
    TImageDrawSpec* spec = manager.CachedImageDrawSpec(L"file='tiny.bmp'", nullptr);
    ASSERT_EQ(spec->imageName, L"tiny@150.bmp");
    TImageEntry* image = manager.FindOrLoadImage(spec->imageName);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(manager.FindImage(L"tiny@150.bmp"), image);
    EXPECT_TRUE(manager.RemoveImage(L"tiny@150.bmp", false));
    EXPECT_EQ(manager.FindImage(L"tiny@150.bmp"), nullptr);
    DeleteFileW((folder + L"tiny.bmp").c_str());
}

TEST_F(ManagerResources, ImagesWithHslKeepAnUnadjustedCopy)
{
    std::wstring folder = TempFolder();
    SkinUITest::WriteBytes(folder + L"hsl.bmp", TinyBmp());
    CPaintManagerUI::SetSkinFolder(folder.c_str());
    CPaintManagerUI manager;
    TImageEntry* plain = manager.AddImage(L"hsl.bmp", nullptr, 0xFF00FF00, false, false);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->sourcePixels, nullptr);
    EXPECT_EQ(plain->maskColor, 0xFF00FF00u);
    TImageEntry* adjusted = manager.AddImage(L"hsl.bmp", nullptr, 0, true, false);
    ASSERT_NE(adjusted, nullptr);
    ASSERT_NE(adjusted->sourcePixels, nullptr);
    EXPECT_TRUE(adjusted->usesHsl);
    EXPECT_EQ(manager.FindImage(L"hsl.bmp"), adjusted);
    DeleteFileW((folder + L"hsl.bmp").c_str());
}

TEST_F(ManagerResources, ShutdownLeavesNoSharedResourceAlive)
{
    std::wstring folder = TempFolder();
    SkinUITest::WriteBytes(folder + L"shared.bmp", TinyBmp());
    CPaintManagerUI::SetSkinFolder(folder.c_str());
    SkinUITest::TTestMember member;
    member.name = "a.txt";
    member.data = SkinUITest::TextBytes("abc");
    SkinUITest::TTestArchive zip = SkinUITest::BuildTestZip({member});
    ASSERT_TRUE(CPaintManagerUI::OpenSkinZipFromMemory(zip.bytes.data(), static_cast<DWORD>(zip.bytes.size()), L""));
    ASSERT_NE(CPaintManagerUI::SkinZipHandle(), nullptr);
    ASSERT_TRUE(CResourceStore::GetInstance()->AddLanguage(L"<Language><Text id=\"${a}\" value=\"b\"/></Language>",
                                                           L"en"));
    ASSERT_TRUE(CControlFactory::GetInstance()->RegisterControl(L"CShutdownProbeUI", [] {
        return new CControlUI();
    }));
    HFONT sharedFont = nullptr;
    HFONT sharedDefault = nullptr;
    {
        CPaintManagerUI manager;
        sharedFont = manager.AddFont(7, L"Arial", 12, false, false, false, true);
        sharedDefault = manager.DefaultFontEntry()->font;
        manager.AddStyle(L"style", L"x=\"1\"", true);
        manager.SetDefaultAttributeList(L"Button", L"y=\"2\"", true);
        CPaintManagerUI::SetSkinZipFile(L"", false, L"");
        ASSERT_NE(manager.AddImage(L"shared.bmp", nullptr, 0, false, true), nullptr);
        ASSERT_TRUE(CPaintManagerUI::OpenSkinZipFromMemory(zip.bytes.data(), static_cast<DWORD>(zip.bytes.size()),
                                                           L""));
    }
    CPaintManagerUI::Shutdown(true);

    EXPECT_FALSE(IsLiveFont(sharedFont));
    EXPECT_FALSE(IsLiveFont(sharedDefault));
    EXPECT_EQ(CPaintManagerUI::SkinZipHandle(), nullptr);
    EXPECT_EQ(CResourceStore::GetInstance()->LanguageCount(), 0);
    EXPECT_EQ(CControlFactory::GetInstance()->CreateControl(L"CShutdownProbeUI"), nullptr);
    CPaintManagerUI fresh;
    EXPECT_EQ(fresh.FindStyle(L"style"), nullptr);
    EXPECT_EQ(fresh.FindDefaultAttributes(L"Button"), nullptr);
    EXPECT_EQ(fresh.FindImage(L"shared.bmp"), nullptr);
    EXPECT_NE(fresh.FontHandle(7), sharedFont);
    EXPECT_TRUE(IsLiveFont(fresh.FontHandle(7)));
    DeleteFileW((folder + L"shared.bmp").c_str());
}

TEST_F(ManagerResources, WindowAttributesKeepTheLastValue)
{
    CPaintManagerUI manager;
    manager.AddWindowAttribute(L"theme", L"dark");
    manager.AddWindowAttribute(L"theme", L"light");
    EXPECT_STREQ(manager.FindWindowAttribute(L"theme"), L"light");
    manager.RemoveAllWindowAttributes();
    EXPECT_EQ(manager.FindWindowAttribute(L"theme"), nullptr);
}

TEST_F(ManagerResources, ScaledSizesFollowTheDpi)
{
    CPaintManagerUI manager;
    manager.SetMinTrackSize(200, 100);
    manager.SetMaxTrackSize(800, 600);
    manager.SetCaptionRect(RECT{0, 0, 0, 30});
    manager.ApplyDpi(144);
    EXPECT_EQ(manager.ScaledMinTrackSize().cx, 300);
    EXPECT_EQ(manager.ScaledMinTrackSize().cy, 150);
    EXPECT_EQ(manager.MaxTrackSize().cx, 800);
    EXPECT_EQ(manager.ScaledCaptionRect().bottom, 45);
}

TEST_F(ManagerResources, OptionGroupsRefuseDuplicatesAndVanishWhenEmpty)
{
    CPaintManagerUI manager;
    CControlUI a;
    CControlUI b;
    EXPECT_TRUE(manager.JoinOptionGroup(L"g", &a));
    EXPECT_FALSE(manager.JoinOptionGroup(L"g", &a));
    EXPECT_TRUE(manager.JoinOptionGroup(L"g", &b));
    ASSERT_NE(manager.OptionGroupMembers(L"g"), nullptr);
    EXPECT_EQ(manager.OptionGroupMembers(L"g")->Count(), 2);
    manager.LeaveOptionGroup(L"g", &a);
    manager.LeaveOptionGroup(L"g", &b);
    EXPECT_EQ(manager.OptionGroupMembers(L"g"), nullptr);
}
