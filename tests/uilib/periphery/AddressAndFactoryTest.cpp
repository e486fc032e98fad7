// The framework-drawn address control's typing rules, the address texts, and
// the control factory: every class it lists is made and names itself.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "SentEvents.h"
#include "uilib/control/DateTime.h"
#include "uilib/control/IPAddress.h"
#include "uilib/control/IPAddressEx.h"
#include "uilib/core/ControlFactory.h"
#include "uilib/core/UIControl.h"

using namespace SkinUI;
using SkinUITest::SendEvent;
using SkinUITest::SendKey;

namespace {

// Keys as a string: digits, '.', 'L'eft, 'R'ight, 'U'p, 'D'own, 'X' delete,
// 'B'ackspace, 'n' keypad 5, '+' wheel up, '-' wheel down; '1'..'4' after
// '@' click that field.
void Play(CIPAddressExUI& ip, const char* keys)
{
    for (const char* k = keys; *k != '\0'; ++k) {
        switch (*k) {
        case '@':
            ++k;
            SendEvent(ip, UIEVENT_BUTTONDOWN, (*k - '1') * 50 + 10, 10);
            break;
        case '.': SendKey(ip, VK_OEM_PERIOD); break;
        case 'L': SendKey(ip, VK_LEFT); break;
        case 'R': SendKey(ip, VK_RIGHT); break;
        case 'U': SendKey(ip, VK_UP); break;
        case 'D': SendKey(ip, VK_DOWN); break;
        case 'X': SendKey(ip, VK_DELETE); break;
        case 'B': SendKey(ip, VK_BACK); break;
        case 'n': SendKey(ip, VK_NUMPAD5); break;
        case '+': SendEvent(ip, UIEVENT_SCROLLWHEEL, 0, 0, 0); break;
        case '-': SendEvent(ip, UIEVENT_SCROLLWHEEL, 0, 0, 1); break;
        default: SendKey(ip, static_cast<WORD>(*k)); break;
        }
    }
}

struct TypingCase {
    const char* keys;
    const wchar_t* text;
    int activeField;
};

const TypingCase kTypingCases[] = {
    {"@1192", L"192.0.0.0", 2},
    {"@1192300", L"192.255.0.0", 3},
    {"@17.", L"7.0.0.0", 2},
    {"@1L", L"0.0.0.0", 1},
    {"@310R4", L"0.0.10.4", 4},
    {"@31.2.3", L"0.0.1.23", 4},
    // A dot right after a full field has moved on already does not skip one.
    {"@1192.168.1.20", L"192.168.1.20", 4},
    {"@1192..5", L"192.0.5.0", 3},
    {"@4123", L"0.0.0.123", 4},
    // The fourth field takes three digits and no more.
    {"@41234", L"0.0.0.123", 4},
    {"@49999999999", L"0.0.0.255", 4},
    {"@1255+", L"255.1.0.0", 2},
    {"@1255L+", L"255.0.0.0", 1},
    {"@1-", L"0.0.0.0", 1},
    {"@2UUUD", L"0.2.0.0", 2},
    {"@1192LX", L"0.0.0.0", 1},
    {"@212B", L"0.0.0.0", 2},
    {"@1nn", L"55.0.0.0", 1},
    {"R7", L"7.0.0.0", 1},
    {"7", L"0.0.0.0", 0},
};

} // namespace

TEST(AddressTyping, DigitsArrowsWheelAndDeleteKeepOctetsInRange)
{
    for (const TypingCase& c : kTypingCases) {
        SCOPED_TRACE(c.keys);
        CIPAddressExUI ip;
        ip.SetPosition(CUIRect(0, 0, 200, 24), false);
        Play(ip, c.keys);
        EXPECT_STREQ(ip.GetTextContent().CStr(), c.text);
        EXPECT_EQ(ip.GetActiveField(), c.activeField);
    }
}

TEST(AddressTyping, DisabledControlTakesNothingAndFocusLossEndsTheField)
{
    CIPAddressExUI ip;
    ip.SetPosition(CUIRect(0, 0, 200, 24), false);
    EXPECT_TRUE(ip.IsReadOnly());
    EXPECT_EQ(ip.GetBehaviorFlags(), static_cast<uint32_t>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR));
    Play(ip, "@21");
    SendEvent(ip, UIEVENT_KILLFOCUS);
    EXPECT_EQ(ip.GetActiveField(), 0);
    ip.SetEnabledState(false);
    Play(ip, "@3+9");
    EXPECT_STREQ(ip.GetTextContent().CStr(), L"0.1.0.0");
    EXPECT_EQ(ip.GetActiveField(), 0);
}

TEST(AddressTexts, DottedDecimalsHighestOctetFirst)
{
    EXPECT_STREQ(CIPAddressUI::FormatAddress(0xC0A80114u).CStr(), L"192.168.1.20");
    EXPECT_STREQ(CIPAddressUI::FormatAddress(0).CStr(), L"0.0.0.0");
    EXPECT_STREQ(CIPAddressUI::FormatAddress(0xFFFFFFFFu).CStr(), L"255.255.255.255");

    // Outside an edit the text follows a new address at once.
    CIPAddressUI ip;
    ip.SetAddress(0x0A000001u);
    EXPECT_STREQ(ip.GetTextContent().CStr(), L"10.0.0.1");
    EXPECT_EQ(ip.GetUpdateMode(), CIPAddressUI::kUpdateNone);
    EXPECT_EQ(ip.FindInterface(L"IPAddress"), &ip);
    EXPECT_EQ(ip.FindInterface(L"ipaddress"), nullptr);

    SYSTEMTIME day = {};
    day.wYear = 2024;
    day.wMonth = 3;
    day.wDay = 5;
    EXPECT_STREQ(CDateTimeUI::FormatDate(day).CStr(), L"2024-03-05");
    day.wYear = 987;
    EXPECT_STREQ(CDateTimeUI::FormatDate(day).CStr(), L" 987-03-05");
    CDateTimeUI date;
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_STREQ(date.GetTextContent().CStr(), CDateTimeUI::FormatDate(now).CStr());
}

namespace {

// Classes whose type name is not their class name without the "C".
const std::map<std::wstring, std::wstring> kOddTypeNames = {
    {L"CListExUI", L"XListUI"},
    {L"CIPAddressUI", L"DateTimeUI"},
    {L"CListTextExtElementUI", L"ListTextExElementUI"},
    {L"CListContainerHeaderItemUI", L"ListContainerHeaderItem"},
    {L"CLoadingBarUI", L"LoadingBar"},
    {L"CFlashUI", L"Flash"},
};

const wchar_t* const kPeripheryClasses[] = {
    L"CComboBoxUI",    L"CDateTimeUI", L"CIPAddressUI", L"CIPAddressExUI",
    L"CListExUI",      L"CListContainerHeaderItemUI",   L"CListTextExtElementUI",
    L"CGroupBoxUI",    L"CRollTextUI", L"CColorPaletteUI", L"CHotKeyUI",
};

} // namespace

TEST(ControlFactoryClasses, EveryListedClassIsMadeAndAnswersItsTypeName)
{
    CControlFactory* factory = CControlFactory::GetInstance();
    const std::vector<CUIString>& names = factory->ClassNames();
    ASSERT_EQ(static_cast<int>(names.size()), factory->Count());
    for (const CUIString& name : names) {
        SCOPED_TRACE(std::wstring(name.CStr()));
        CControlUI* control = factory->CreateControl(name);
        ASSERT_NE(control, nullptr);
        const std::wstring className(name.CStr());
        const auto odd = kOddTypeNames.find(className);
        const std::wstring expected = odd != kOddTypeNames.end() ? odd->second : className.substr(1);
        EXPECT_EQ(std::wstring(control->GetTypeName()), expected);
        delete control;
    }
    for (const wchar_t* name : kPeripheryClasses) {
        SCOPED_TRACE(name);
        bool listed = false;
        for (const CUIString& registered : names) listed = listed || registered == name;
        EXPECT_TRUE(listed);
    }
}
