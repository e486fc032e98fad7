// The rich edit over the system's text services in a real window: typing by
// X input, selection, the Return rules, limits, read-only, scroll requests,
// the context menu's grey states and fonts from the paint manager.
#include <string>

#include "HostedFixture.h"
#include "DibCanvas.h"
#include "XInput.h"
#include "uilib/control/RichEdit.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/control/TxtWinHost.h"
#include "uilib/core/DpiScaler.h"

using namespace SkinUI;
using SkinUITest::ClickAt;
using SkinUITest::HostedFixture;
using SkinUITest::PumpUntil;
using SkinUITest::RunXdotool;
using SkinUITest::ScreenPointOf;

namespace {

struct RichEditFixture : HostedFixture {
    CRichEditUI* MakeEdit(const wchar_t* attributes)
    {
        CRichEditUI* edit = new CRichEditUI();
        edit->ApplyAttributeList(attributes);
        Add(edit, 120);
        return edit;
    }
    bool ClickInto(const CRichEditUI& edit)
    {
        return RunXdotool(ClickAt(ScreenPointOf(edit, Window(), 20, 20)));
    }
    static std::wstring Text(const CRichEditUI& edit) { return edit.GetTextContent().CStr(); }
};

struct TypingCase {
    const wchar_t* attributes;
    const wchar_t* keys; // xdotool arguments
    const wchar_t* text;
    int returns;
    bool changes;
};

// Line breaks read back as "\r".
const TypingCase kTyping[] = {
    {L"", L"key a b Return c", L"ab\rc", 0, true},
    {L"wantreturn=\"false\"", L"key a b Return", L"ab", 1, true},
    {L"wantctrlreturn=\"false\"", L"key a b ctrl+Return", L"ab", 1, true},
    {L"wantctrlreturn=\"false\"", L"key a b Return", L"ab\r", 0, true},
    {L"maxchar=\"3\"", L"key a b c d e f", L"abc", 0, true},
    {L"readonly=\"true\"", L"key a b Return", L"", 0, false},
    {L"", L"key a Tab b", L"a\tb", 0, true},
};

} // namespace

TEST_F(RichEditFixture, TypedKeysFollowTheReturnLimitAndReadOnlyRules)
{
    for (const TypingCase& c : kTyping) {
        SCOPED_TRACE(std::wstring(c.attributes) + L" | " + c.keys);
        root = new CVerticalLayoutUI();
        away = new CButtonUI();
        Add(away, 30);
        CRichEditUI* edit = MakeEdit(c.attributes);
        Show();
        ASSERT_NE(edit->GetTxtWinHost(), nullptr);
        ASSERT_TRUE(ClickInto(*edit));
        ASSERT_TRUE(PumpUntil([edit] { return edit->HasFocus(); }));
        recorder->Clear();
        ASSERT_TRUE(RunXdotool(c.keys));
        const std::wstring expected = c.text;
        // A Return the edit does not take changes no text: its notification is waited for too.
        EXPECT_TRUE(PumpUntil([&] { return Text(*edit) == expected && recorder->Count(L"return") >= c.returns; })) << Text(*edit);
        EXPECT_EQ(recorder->Count(L"return"), c.returns);
        EXPECT_EQ(recorder->Count(L"textchanged") > 0, c.changes);
        // Tab stays in the edit that wants it.
        EXPECT_TRUE(edit->HasFocus());
    }
}

TEST_F(RichEditFixture, TabMovesTheFocusOnWhenTheEditDoesNotWantIt)
{
    CRichEditUI* edit = MakeEdit(L"wanttab=\"false\"");
    CButtonUI* next = new CButtonUI();
    Add(next, 30);
    Show();
    ASSERT_TRUE(ClickInto(*edit));
    ASSERT_TRUE(PumpUntil([edit] { return edit->HasFocus(); }));
    ASSERT_TRUE(RunXdotool(L"key a"));
    ASSERT_TRUE(PumpUntil([edit] { return Text(*edit) == L"a"; }));
    // Tab as the program's message loop meets it, before it is dispatched.
    MSG tab = {Window(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(CPaintManagerUI::TranslateQueuedMessage(&tab));
    EXPECT_TRUE(next->HasFocus());
    EXPECT_EQ(Text(*edit), L"a");
}

TEST_F(RichEditFixture, SelectionReplaceUndoAndEveryChangeNotifiesOnce)
{
    CRichEditUI* edit = MakeEdit(L"");
    Show();
    edit->SetTextContent(L"hello world");
    EXPECT_EQ(Text(*edit), L"hello world");
    EXPECT_EQ(edit->GetTextLength(), 11);
    recorder->Clear();

    edit->SetSel(0, 5);
    EXPECT_EQ(edit->GetSelectionType(), SEL_TEXT | SEL_MULTICHAR);
    edit->SetSel(0, 0);
    EXPECT_EQ(edit->GetSelectionType(), SEL_EMPTY);
    edit->SetSel(0, 5);
    edit->ReplaceSel(L"HELLO", true);
    EXPECT_EQ(Text(*edit), L"HELLO world");
    EXPECT_EQ(recorder->Count(L"textchanged"), 1);
    EXPECT_TRUE(edit->CanUndo());
    EXPECT_TRUE(edit->RunMenuCommand(CRichEditUI::kMenuUndo));
    EXPECT_EQ(Text(*edit), L"hello world");
    EXPECT_EQ(recorder->Count(L"textchanged"), 2);
    EXPECT_TRUE(edit->CanRedo());
    EXPECT_TRUE(edit->RunMenuCommand(CRichEditUI::kMenuRedo));
    EXPECT_EQ(Text(*edit), L"HELLO world");
    EXPECT_TRUE(edit->RunMenuCommand(CRichEditUI::kMenuSelectAll));
    EXPECT_EQ(edit->GetSelectionType(), SEL_TEXT | SEL_MULTICHAR);
    EXPECT_TRUE(edit->RunMenuCommand(CRichEditUI::kMenuClear));
    EXPECT_EQ(Text(*edit), L"");
    EXPECT_FALSE(edit->RunMenuCommand(100));
}

namespace {

struct MenuCase {
    bool readOnly;
    bool selected;
    bool cut, copy, paste, clear;
};

const MenuCase kMenu[] = {
    {false, true, false, false, false, false},
    {false, false, true, true, false, true},
    {true, true, true, false, true, true},
    {true, false, true, true, true, true},
};

} // namespace

TEST_F(RichEditFixture, ContextMenuGreysByReadOnlyAndSelection)
{
    CRichEditUI* editable = MakeEdit(L"");
    CRichEditUI* readOnly = MakeEdit(L"readonly=\"true\"");
    Show();
    for (const MenuCase& c : kMenu) {
        SCOPED_TRACE(std::to_string(c.readOnly) + "/" + std::to_string(c.selected));
        CRichEditUI* edit = c.readOnly ? readOnly : editable;
        edit->SetTextContent(L"some text");
        edit->SetSel(0, c.selected ? 4 : 0);
        EXPECT_EQ(edit->IsMenuCommandGrayed(CRichEditUI::kMenuCut), c.cut);
        EXPECT_EQ(edit->IsMenuCommandGrayed(CRichEditUI::kMenuCopy), c.copy);
        EXPECT_EQ(edit->IsMenuCommandGrayed(CRichEditUI::kMenuPaste), c.paste);
        EXPECT_EQ(edit->IsMenuCommandGrayed(CRichEditUI::kMenuClear), c.clear);
        EXPECT_FALSE(edit->IsMenuCommandGrayed(CRichEditUI::kMenuSelectAll));
    }
}

TEST_F(RichEditFixture, HostAnswersFromTheControlsAttributes)
{
    CRichEditUI* zero = MakeEdit(L"maxchar=\"0\" rich=\"false\" transparent=\"false\"");
    CRichEditUI* styled =
        MakeEdit(L"password=\"true\" readonly=\"true\" multiline=\"false\" autohscroll=\"true\" align=\"right\"");
    Show();
    DWORD value = 0;
    ASSERT_NE(zero->GetTxtWinHost(), nullptr);
    zero->GetTxtWinHost()->TxGetMaxLength(&value);
    EXPECT_EQ(value, 32767u);
    TXTBACKSTYLE back = TXTBACK_TRANSPARENT;
    zero->GetTxtWinHost()->TxGetBackStyle(&back);
    EXPECT_EQ(back, TXTBACK_OPAQUE);
    zero->GetTxtWinHost()->TxGetPropertyBits(0xFFFFFFFF, &value);
    EXPECT_EQ(value & (TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP), TXTBIT_MULTILINE | TXTBIT_WORDWRAP);

    CTxtWinHost* host = styled->GetTxtWinHost();
    ASSERT_NE(host, nullptr);
    host->TxGetPropertyBits(0xFFFFFFFF, &value);
    EXPECT_EQ(value & (TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_READONLY | TXTBIT_USEPASSWORD | TXTBIT_WORDWRAP),
              TXTBIT_RICHTEXT | TXTBIT_READONLY | TXTBIT_USEPASSWORD);
    wchar_t mask = 0;
    host->TxGetPasswordChar(&mask);
    EXPECT_EQ(mask, L'*');
    const PARAFORMAT* para = nullptr;
    host->TxGetParaFormat(&para);
    EXPECT_EQ(para->wAlignment, PFA_RIGHT);
    // The text services draw the client rectangle: the item less the padding.
    styled->SetTextPadding({4, 2, 4, 2});
    styled->SetPosition(styled->GetPosition());
    RECT client;
    host->TxGetClientRect(&client);
    const RECT& item = styled->GetPosition();
    EXPECT_EQ(client.left, item.left + 4);
    EXPECT_EQ(client.bottom, item.bottom - 2);
}

namespace {

struct RangeCase {
    LONG min;
    int maxOverClient; // max - client height
    bool shown;
    int range;
};

const RangeCase kRanges[] = {
    {0, 0, false, 0},
    {10, 10, false, 0},
    {0, 1, true, 1},
    {0, 50, true, 50},
    {20, 70, true, 50},
};

} // namespace

TEST_F(RichEditFixture, ScrollRangeRequestsShowOrHideTheFrameworksBar)
{
    CRichEditUI* edit = MakeEdit(L"vscrollbar=\"true\"");
    Show();
    CTxtWinHost* host = edit->GetTxtWinHost();
    ASSERT_NE(host, nullptr);
    ASSERT_NE(edit->GetVScrollBarControl(), nullptr);
    RECT client;
    host->TxGetClientRect(&client);
    const int height = client.bottom - client.top;
    for (const RangeCase& c : kRanges) {
        SCOPED_TRACE(c.maxOverClient);
        EXPECT_TRUE(host->TxSetScrollRange(SB_VERT, c.min, height + c.maxOverClient, TRUE));
        EXPECT_EQ(edit->GetVScrollBarControl()->GetVisibility(), c.shown);
        if (c.shown) {
            EXPECT_EQ(edit->GetVScrollBarControl()->GetScrollRange(), c.range);
        }
    }
    host->TxSetScrollPos(SB_VERT, 7, TRUE);
    EXPECT_EQ(edit->GetVScrollBarControl()->GetScrollPos(), 7);
}

TEST_F(RichEditFixture, FontsComeFromThePaintManagerAndFollowItsDpi)
{
    host.pm.AddFont(7, L"Arial", 12, true, false, true, false);
    CRichEditUI* edit = MakeEdit(L"font=\"7\" textcolor=\"#FF102030\"");
    Show();
    CTxtWinHost* txt = edit->GetTxtWinHost();
    ASSERT_NE(txt, nullptr);
    const int logPixels = GetDeviceCaps(host.pm.DeviceContext(), LOGPIXELSY);
    EXPECT_EQ(txt->CharFormat().yHeight, 12 * 1440 / logPixels);
    EXPECT_EQ(txt->CharFormat().dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE),
              static_cast<DWORD>(CFE_BOLD | CFE_ITALIC));
    EXPECT_STREQ(txt->CharFormat().szFaceName, L"Arial");
    EXPECT_EQ(txt->CharFormat().crTextColor, RGB(0x10, 0x20, 0x30));

    host.pm.DpiScaler()->SetScaleFromDpi(144);
    host.pm.RebuildFonts();
    EXPECT_EQ(txt->CharFormat().yHeight, 18 * 1440 / logPixels);
    host.pm.DpiScaler()->SetScaleFromDpi(96);
    host.pm.RebuildFonts();
    EXPECT_EQ(txt->CharFormat().yHeight, 12 * 1440 / logPixels);
    host.pm.RemoveAllFonts(false);
}

TEST_F(RichEditFixture, TwoHundredEditsMadeAndDestroyedLeaveNothingBehind)
{
    Show();
    // The trees of earlier tests go first.
    SkinUITest::Settle();
    const int hosts = CTxtWinHost::LiveCount();
    const int controls = CControlUI::LiveCount();
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    for (int i = 0; i < 200; ++i) {
        CRichEditUI* edit = new CRichEditUI();
        edit->SetFixedHeightValue(40);
        root->AddChild(edit);
        ASSERT_NE(edit->GetTxtWinHost(), nullptr) << "cycle " << i;
        edit->SetTextContent(L"cycle");
        edit->TakeFocus();
        root->RemoveChild(edit);
    }
    SkinUITest::Pump();
    EXPECT_EQ(CTxtWinHost::LiveCount(), hosts);
    EXPECT_EQ(CControlUI::LiveCount(), controls);
    DWORD after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_LE(after, handles);
    // A message after the edits are gone reaches no filter of theirs.
    SendMessageW(Window(), WM_KEYDOWN, 'A', 0);
}

namespace {

struct TipCase {
    const wchar_t* text;
    bool focused;
    bool tipShown;
    // In a layered window the edit draws the caret itself, never in black
    // (the transparent colour there).
    bool layered;
};

const TipCase kTips[] = {
    {L"", false, true, false},
    {L"", true, false, false},
    {L"typed", false, false, false},
    {L"", true, false, true},
};

} // namespace

TEST_F(RichEditFixture, PlaceholderShowsOnlyWhileEmptyAndUnfocusedAndTextIsDrawn)
{
    host.pm.AddFont(3, L"Arial", 28, true, false, false, false);
    CRichEditUI* edit = MakeEdit(L"font=\"3\" multiline=\"false\" tipvalue=\"HINT\"");
    Show();
    const RECT& rc = edit->GetPosition();
    for (const TipCase& c : kTips) {
        SCOPED_TRACE(std::wstring(c.text) + (c.focused ? L" focused" : L"") + (c.layered ? L" layered" : L""));
        host.pm.SetLayeredMode(c.layered);
        edit->SetTextContent(c.text);
        if (c.focused) edit->TakeFocus();
        else away->TakeFocus();
        SkinUITest::DibCanvas canvas(rc.right, rc.bottom, 0xFFFFFFFF);
        // The self-drawn caret blinks: paint until a phase shows it.
        const bool caretSeen = SkinUITest::PumpUntil([&] {
            canvas.Fill(0xFFFFFFFF);
            edit->PaintArea(canvas.Dc(), rc, nullptr);
            return !c.layered || canvas.CountRgb(rc, 0x000001) > 0;
        });
        EXPECT_TRUE(caretSeen);
        EXPECT_EQ(canvas.CountRgb(rc, 0xBAC0C5) > 0, c.tipShown);
        // The text services draw typed text in the text colour, black.
        EXPECT_EQ(canvas.CountRgb(rc, 0x000000) > 0, c.text[0] != L'\0');
    }
    host.pm.SetLayeredMode(false);
    // Disabled, the text turns to the disabled colour.
    edit->SetEnabledState(false);
    EXPECT_EQ(edit->GetTxtWinHost()->CharFormat().crTextColor & 0xFFFFFF,
              RGB((host.pm.DefaultDisabledTextColor() >> 16) & 0xFF, (host.pm.DefaultDisabledTextColor() >> 8) & 0xFF,
                  host.pm.DefaultDisabledTextColor() & 0xFF));
    edit->SetEnabledState(true);
    EXPECT_EQ(edit->GetTxtWinHost()->CharFormat().crTextColor, RGB(0, 0, 0));
    host.pm.RemoveAllFonts(false);
}
