// EQ band editing and chart drags on a real window against the simulated
// unit: each row an action on a named band control, the frames the unit
// received in order, and the model and controls afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "DialogScript.h"
#include "UnitEditKit.h"
#include "app/controls/AppControlFactory.h"
#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/tuning/EqualizerManager.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnit.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/WindowBase.h"

using namespace SkinUI;

namespace {

std::wstring BandLayout()
{
    std::wstring xml = L"<Window size=\"1300,600\"><VerticalLayout>"
                       L"<Curve name=\"equalizer\" height=\"200\"/>"
                       L"<HorizontalLayout height=\"24\"><SButton name=\"btn_arg_eq\" width=\"60\"/>"
                       L"<Button name=\"btn_bypass\" width=\"60\"/><Button name=\"btn_reset_eq\" width=\"60\"/>"
                       L"<Edit name=\"hp_freq\" width=\"60\"/><Edit name=\"lp_freq\" width=\"60\"/></HorizontalLayout>"
                       L"<HorizontalLayout height=\"220\">";
    for (int b = 0; b < kMaxEqBands; ++b) {
        wchar_t column[640];
        _snwprintf(column, 639,
                   L"<VerticalLayout width=\"40\"><SButton name=\"pt_enable_%d\" userdata=\"%d\" height=\"18\"/>"
                   L"<Slider name=\"eq_slider_%d\" userdata=\"%d\" min=\"-180\" max=\"120\" height=\"100\"/>"
                   L"<Edit name=\"eq_gain_%d\" userdata=\"%d\" height=\"20\"/>"
                   L"<Edit name=\"eq_freq_%d\" userdata=\"%d\" height=\"20\"/>"
                   L"<Edit name=\"eq_q_%d\" userdata=\"%d\" height=\"20\"/></VerticalLayout>",
                   b, b, b, b, b, b, b, b, b, b);
        column[639] = L'\0';
        xml += column;
    }
    return xml + L"</HorizontalLayout></VerticalLayout></Window>";
}

class CBandHost : public WindowImplBase {
public:
    CBandHost() : m_layout(BandLayout()) {}
    const wchar_t* GetWndClassName() const override { return L"BrisaBandHost"; }
    CUIString GetSkinXmlName() const override { return m_layout.c_str(); }
    CControlUI* CreateCustomControl(const wchar_t* className) override { return CreateAppControl(className); }
    // The chart's band notices, handed on as the main window does.
    void ReceiveNotify(TNotifyInfo& n) override
    {
        if (chart != nullptr && wcsncmp(n.type.CStr(), L"equalizer_eq", 12) == 0)
            chart->EqualizerCallback(_wtoi(n.sender->GetUserDataText().CStr()), 0, n.type == L"equalizer_eq_release");
    }
    EqualizerManager* chart = nullptr;

private:
    std::wstring m_layout;
};

uint64_t g_now = 0;
uint64_t Now()
{
    return g_now;
}

struct Rig {
    EqualizerManager controller;
    CBandHost host;

    CControlUI* Named(const wchar_t* format, int b)
    {
        return host.PaintManager().FindControlByName(NameOf(format, b).c_str());
    }
    CEditUI* Freq(int b) { return static_cast<CEditUI*>(Named(L"eq_freq_%d", b)); }
    CEditUI* Q(int b) { return static_cast<CEditUI*>(Named(L"eq_q_%d", b)); }
    CEditUI* Gain(int b) { return static_cast<CEditUI*>(Named(L"eq_gain_%d", b)); }
    CSliderUI* Slider(int b) { return static_cast<CSliderUI*>(Named(L"eq_slider_%d", b)); }
    CSButtonUI* Marker(int b) { return static_cast<CSButtonUI*>(Named(L"pt_enable_%d", b)); }
    std::string Text(const wchar_t* format, int b) { return Narrow(Named(format, b)->GetTextContent()); }
    std::string BypassText() { return Narrow(Named(L"btn_bypass", 0)->GetTextContent()); }
    SceneProfile& Profile() { return controller.Current(); }
    EqBand& Band(int ch, int b) { return Profile().channels[ch].bands[b]; }
    // An active channel whose EQ carries band 3 at +4 dB.
    void Active(int ch)
    {
        Profile().channels[ch].bypass = 0;
        Band(ch, 3).gain = 4.0f;
    }
    void Show() { controller.SetCurChannelChange(Profile().currOutChannel); }
    void Type(CEditUI* edit, const wchar_t* text, int b)
    {
        edit->SetTextContent(text);
        controller.SetChEqEdit(b);
    }
    // The chart as a drag leaves it: band b at gain g, then the callback.
    void Drag(int b, float g, uint64_t at, bool release)
    {
        UIEqualizer* chart = static_cast<UIEqualizer*>(Named(L"equalizer", 0));
        EqBand bands[kMaxEqBands];
        for (int i = 0; i < chart->BandCount(); ++i) bands[i] = chart->GetBand(i);
        bands[b].gain = g;
        chart->SetBands(bands, chart->BandCount(), b);
        g_now = at;
        controller.EqualizerCallback(b, 0, release);
    }
};

// Answers the question box that the action opens with one of its buttons.
std::wstring Answered(const wchar_t* button, const std::function<void()>& action)
{
    std::wstring asked;
    const dialogs::ScriptResult result = dialogs::RunDialogScript(
        L"MsgWnd",
        {[&](WindowImplBase& box, HWND hwnd) {
            asked = dialogs::TextOf(box, L"MessageText");
            dialogs::Click(box, hwnd, button);
            return true;
        }},
        action);
    EXPECT_TRUE(result.allStepsRan) << "step " << result.failedStep;
    return asked;
}

struct BandCase {
    const char* name;
    std::function<void(Rig&)> setup;
    std::function<void(Rig&)> action;
    std::vector<std::string> frames;
    std::function<void(Rig&)> check;
};

// Band 17 is 1000 Hz and band 5 63 Hz on a 31-band channel; Q 5.8 is sent
// as 05 08 and a gain g as g + 18 dB in whole dB and tenths.
const BandCase kCases[] = {
    {"2k5 typed into a frequency box moves the band to 2500 Hz", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Freq(17), L"2k5", 17); }, {"06:00 00 00 11 09 C4 05 08 12 00"},
     [](Rig& r) {
         EXPECT_EQ(2500, r.Band(0, 17).freq);
         EXPECT_EQ("2500", r.Text(L"eq_freq_%d", 17));
         EXPECT_EQ(0, r.Profile().channels[0].bypass);
     }},
    {"1k typed is 1000 Hz", [](Rig& r) { r.Active(0); }, [](Rig& r) { r.Type(r.Freq(5), L"1k", 5); },
     {"06:00 00 00 05 03 E8 05 08 12 00"}, [](Rig& r) { EXPECT_EQ(1000, r.Band(0, 5).freq); }},
    {"a frequency above 20000 keeps the stored one and sends nothing", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Freq(5), L"25000", 5); }, {},
     [](Rig& r) {
         EXPECT_EQ(63, r.Band(0, 5).freq);
         EXPECT_EQ("63", r.Text(L"eq_freq_%d", 5));
     }},
    {"a typed gain is rounded to the slider's tenth", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Gain(17), L"-5.94", 17); }, {"06:00 00 00 11 03 E8 05 08 0C 01"},
     [](Rig& r) {
         EXPECT_EQ(-59, r.Slider(17)->GetValue());
         EXPECT_EQ("-5.9", r.Text(L"eq_gain_%d", 17));
         EXPECT_TRUE(r.Marker(17)->IsSelected());
     }},
    {"a slider on a bypassed channel first zeroes its hidden gains, then leaves bypass",
     [](Rig& r) { r.Band(0, 2).gain = 2.0f; },
     [](Rig& r) {
         r.Slider(17)->SetValue(35);
         r.controller.SetChEqSlider(17);
     },
     {"06:00 00 00 02 00 1F 05 08 12 00", "12:00 00 00 00 00", "06:00 00 00 11 03 E8 05 08 15 05"},
     [](Rig& r) {
         EXPECT_EQ(0.0f, r.Band(0, 2).gain);
         EXPECT_EQ(0, r.Profile().channels[0].bypass);
         EXPECT_EQ("3.5", r.Text(L"eq_gain_%d", 17));
         EXPECT_EQ(Resolved(L"${bypass_eq}"), r.BypassText());
     }},
    {"every band flat with the EQ on: the chart's mark takes no word of the bypass button in any language",
     [](Rig& r) {
         r.Profile().channels[0].bypass = 0;
         for (EqBand& band : r.Profile().channels[0].bands) band.gain = 0.0f;
     },
     [](Rig&) {}, {},
     [](Rig& r) {
         EXPECT_TRUE(static_cast<UIEqualizer*>(r.Named(L"equalizer", 0))->Model().AllFlat());
         EXPECT_EQ(Resolved(L"${bypass_eq}"), r.BypassText());
         for (const wchar_t* language : {L"en", L"cn_zh", L"ru"}) {
             CResourceStore::GetInstance()->SelectLanguage(language);
             std::wstring mark = Text(L"${all_bypass}");
             std::wstring word = Text(L"${bypass_eq}");
             word.erase(word.find(L"EQ"), 2);
             word.erase(word.find_last_not_of(L' ') + 1);
             word.erase(0, word.find_first_not_of(L' '));
             CharUpperW(&mark[0]);
             CharUpperW(&word[0]);
             EXPECT_EQ(std::wstring::npos, mark.find(word)) << Narrow(mark.c_str());
         }
         CResourceStore::GetInstance()->SelectLanguage(L"en");
     }},
    {"leaving a bypassed channel's gain box untouched keeps its hidden gains",
     [](Rig& r) { r.Band(0, 2).gain = 2.0f; }, [](Rig& r) { r.controller.SetChEqEdit(2); }, {},
     [](Rig& r) { EXPECT_EQ(2.0f, r.Band(0, 2).gain); }},
    {"leaving a switched-off band's gain box untouched keeps its gain",
     [](Rig& r) {
         r.Active(0);
         r.Band(0, 17) = EqBand(6.0f, 5.8f, 1000, 0);
     },
     [](Rig& r) { r.controller.SetChEqEdit(17); }, {},
     [](Rig& r) {
         EXPECT_EQ(6.0f, r.Band(0, 17).gain);
         EXPECT_EQ(0, r.Band(0, 17).enable);
     }},
    {"nan typed into a gain box keeps the stored gain and sends nothing", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Gain(3), L"nan", 3); }, {},
     [](Rig& r) {
         EXPECT_EQ(4.0f, r.Band(0, 3).gain);
         EXPECT_EQ("4.0", r.Text(L"eq_gain_%d", 3));
         EXPECT_EQ(40, r.Slider(3)->GetValue());
     }},
    {"-0.001 typed into a gain box is no gain, shown 0.0", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Gain(17), L"-0.001", 17); }, {}, [](Rig& r) { EXPECT_EQ("0.0", r.Text(L"eq_gain_%d", 17)); }},
    {"gain step up is a tenth of a dB", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.controller.SetEqGainUp(17, true); }, {"06:00 00 00 11 03 E8 05 08 12 01"},
     [](Rig& r) { EXPECT_EQ("0.1", r.Text(L"eq_gain_%d", 17)); }},
    {"the only band set back to 0 dB bypasses the channel",
     [](Rig& r) {
         r.Profile().channels[0].bypass = 0;
         r.Band(0, 17).gain = 2.0f;
     },
     [](Rig& r) { r.Type(r.Gain(17), L"0", 17); }, {"12:00 00 00 00 01", "06:00 00 00 11 03 E8 05 08 12 00"},
     [](Rig& r) {
         EXPECT_EQ(1, r.Profile().channels[0].bypass);
         EXPECT_EQ(Resolved(L"${restore_eq}"), r.BypassText());
         EXPECT_FALSE(r.Marker(17)->IsSelected());
     }},
    {"a band of half a dB left keeps the channel active",
     [](Rig& r) {
         r.Profile().channels[0].bypass = 0;
         r.Band(0, 17).gain = 2.0f;
         r.Band(0, 4).gain = 0.5f;
     },
     [](Rig& r) { r.Type(r.Gain(17), L"0", 17); }, {"06:00 00 00 11 03 E8 05 08 12 00"},
     [](Rig& r) { EXPECT_EQ(0, r.Profile().channels[0].bypass); }},
    {"Q stepped up from 8.98 is 9.00, and not beyond", [](Rig& r) {
         r.Active(0);
         r.Band(0, 17).Q = 8.98f;
     },
     [](Rig& r) {
         r.controller.SetEqQUp(17, true);
         r.controller.SetEqQUp(17, true);
     },
     {"06:00 00 00 11 03 E8 09 00 12 00"}, [](Rig& r) { EXPECT_EQ("9.00", r.Text(L"eq_q_%d", 17)); }},
    {"a Q typed between the unit's tenths goes to the nearest below", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Q(17), L"1.23", 17); }, {"06:00 00 00 11 03 E8 01 02 12 00"},
     [](Rig& r) { EXPECT_EQ("1.20", r.Text(L"eq_q_%d", 17)); }},
    {"a Q typed between the unit's tenths goes to the nearest above", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Type(r.Q(17), L"1.26", 17); }, {"06:00 00 00 11 03 E8 01 03 12 00"},
     [](Rig& r) { EXPECT_EQ("1.30", r.Text(L"eq_q_%d", 17)); }},
    {"every Q the unit holds, typed, then stepped down to 0.50 and up again, is shown and sent as it is",
     [](Rig& r) { r.Active(0); },
     [](Rig& r) {
         std::vector<std::string> expected;
         for (int i = 5; i <= 260; ++i) {
             const int t = i <= 90 ? i : (i <= 175 ? 180 - i : i - 170);
             const std::string q = std::to_string(t / 10) + "." + std::to_string(t % 10);
             if (i <= 90) r.Type(r.Q(17), std::wstring(q.begin(), q.end()).c_str(), 17);
             else r.controller.SetEqQUp(17, i > 175);
             EXPECT_EQ(q + "0", r.Text(L"eq_q_%d", 17));
             expected.push_back("06:00 00 00 11 03 E8 0" + q.substr(0, 1) + " 0" + q.substr(2) + " 12 00");
         }
         EXPECT_TRUE(sim::PollUntil([&] { return r.controller.Device().IsQueueIdle(); }, 10000));
         EXPECT_EQ(expected, Described(sim::SimUnit::Instance().ReceivedFrames()));
         sim::SimUnit::Instance().ClearReceived();
     },
     {}, [](Rig&) {}},
    {"frequency step up from 1000 Hz is 1026 Hz", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.controller.SetEqFreqUp(17, true); }, {"06:00 00 00 11 04 02 05 08 12 00"},
     [](Rig& r) { EXPECT_EQ(1026, r.Band(0, 17).freq); }},
    {"the enable button turns a band off and on again",
     [](Rig& r) {
         r.Active(0);
         r.Band(0, 17).gain = 2.0f;
     },
     [](Rig& r) {
         r.controller.OnEqEnable(17);
         EXPECT_EQ(0, r.Slider(17)->GetValue());
         EXPECT_FALSE(r.Marker(17)->IsSelected());
         r.controller.OnEqEnable(17);
     },
     {"06:00 00 00 11 03 E8 05 08 12 00", "06:00 00 00 11 03 E8 05 08 14 00"},
     [](Rig& r) {
         EXPECT_EQ(20, r.Slider(17)->GetValue());
         EXPECT_TRUE(r.Marker(17)->IsSelected());
     }},
    {"a bridged partner receives the band after the channel",
     [](Rig& r) {
         r.Profile().bridgeOutputs[0] = 1;
         r.Active(0);
         r.Active(1);
     },
     [](Rig& r) { r.Type(r.Gain(17), L"3", 17); },
     {"06:00 00 00 11 03 E8 05 08 15 00", "06:00 00 01 11 03 E8 05 08 15 00"},
     [](Rig& r) { EXPECT_EQ(3.0f, r.Band(1, 17).gain); }},
    {"a link group passes over its 11-band member",
     [](Rig& r) { r.Profile().linkSel[0] = r.Profile().linkSel[2] = r.Profile().linkSel[12] = 1; },
     [](Rig& r) { r.Type(r.Gain(5), L"3.0", 5); },
     {"06:00 00 02 05 00 3F 05 08 15 00", "12:00 00 00 00 00", "12:00 00 02 02 00", "06:00 00 00 05 00 3F 05 08 15 00"},
     [](Rig& r) {
         EXPECT_EQ(0.0f, r.Band(12, 5).gain);
         EXPECT_EQ(1, r.Profile().channels[12].bypass);
     }},
    {"bypass, confirmed, hides the gains", [](Rig& r) { r.Active(0); },
     [](Rig& r) {
         EXPECT_EQ(Text(L"${bypass_all_eq_tips}"), Answered(L"confirm_btn", [&] { r.controller.SetOutputBypass(); }));
     },
     {"12:00 00 00 00 01"},
     [](Rig& r) {
         EXPECT_EQ(1, r.Profile().channels[0].bypass);
         EXPECT_EQ("0.0", r.Text(L"eq_gain_%d", 3));
         EXPECT_EQ(4.0f, r.Band(0, 3).gain);
     }},
    {"restore, confirmed, shows the kept gains again", [](Rig& r) { r.Band(0, 3).gain = 0.5f; },
     [](Rig& r) {
         EXPECT_EQ(Text(L"${restore_all_eq_tips}"), Answered(L"confirm_btn", [&] { r.controller.SetOutputBypass(); }));
     },
     {"12:00 00 00 00 00"}, [](Rig& r) { EXPECT_EQ("0.5", r.Text(L"eq_gain_%d", 3)); }},
    {"reset, confirmed, resets the channel and its partner with one command",
     [](Rig& r) {
         r.Profile().bridgeOutputs[0] = 1;
         r.Active(0);
         r.Band(0, 3).freq = 44;
         r.Active(1);
     },
     [](Rig& r) {
         EXPECT_EQ(Text(L"${reset_all_eq_tips}"), Answered(L"confirm_btn", [&] { r.controller.SetOutputEqReset(); }));
     },
     {"11:00 00 02 00 01"},
     [](Rig& r) {
         EXPECT_EQ(0.0f, r.Band(0, 3).gain);
         EXPECT_EQ(40, r.Band(0, 3).freq);
         EXPECT_EQ(0.0f, r.Band(1, 3).gain);
         EXPECT_EQ("0.0", r.Text(L"eq_gain_%d", 3));
     }},
    {"reset refused changes nothing", [](Rig& r) { r.Active(0); },
     [](Rig& r) { Answered(L"cancel_btn", [&] { r.controller.SetOutputEqReset(); }); }, {},
     [](Rig& r) {
         EXPECT_EQ(4.0f, r.Band(0, 3).gain);
         EXPECT_EQ("4.0", r.Text(L"eq_gain_%d", 3));
     }},
    {"the mode switch to PEQ opens the frequency and Q boxes and sends nothing", [](Rig&) {},
     [](Rig& r) {
         EXPECT_FALSE(r.Freq(0)->GetEnabledState());
         EXPECT_EQ(Text(L"${peq_mode_tips}"), Answered(L"confirm_btn", [&] { r.controller.SetOutputEqMode(); }));
     },
     {},
     [](Rig& r) {
         EXPECT_TRUE(static_cast<CSButtonUI*>(r.Named(L"btn_arg_eq", 0))->IsSelected());
         EXPECT_EQ(Resolved(L"${peq_mode}"), r.Text(L"btn_arg_eq", 0));
         EXPECT_TRUE(r.Freq(0)->GetEnabledState());
         EXPECT_TRUE(r.Q(30)->GetEnabledState());
     }},
    {"the mode switch refused keeps GEQ", [](Rig&) {},
     [](Rig& r) { Answered(L"cancel_btn", [&] { r.controller.SetOutputEqMode(); }); }, {},
     [](Rig& r) { EXPECT_FALSE(r.Freq(0)->GetEnabledState()); }},
    {"switching the channel reloads the rows from the model",
     [](Rig& r) {
         r.Active(1);
         r.Band(1, 17).gain = -5.9f;
     },
     [](Rig& r) {
         r.controller.SetCurChannelChange(1);
         EXPECT_EQ(-59, r.Slider(17)->GetValue());
         EXPECT_EQ("-5.9", r.Text(L"eq_gain_%d", 17));
         EXPECT_TRUE(r.Gain(30)->GetEnabledState());
         r.controller.SetCurChannelChange(12);
     },
     {"09:00 00 01 01 00", "09:00 00 0C 0C 00"},
     [](Rig& r) {
         EXPECT_TRUE(r.Gain(10)->GetEnabledState());
         EXPECT_FALSE(r.Gain(11)->GetEnabledState());
         EXPECT_EQ("0", r.Text(L"eq_freq_%d", 11));
         EXPECT_EQ("20000", r.Text(L"eq_freq_%d", 10));
     }},
};

// Chart drags: moves through the send gate on a stepped clock.
const BandCase kDrags[] = {
    {"a drag sends at most once per 500 ms and always at the release", [](Rig& r) { r.Active(0); },
     [](Rig& r) {
         r.Drag(17, 3.0f, 1000, false);
         r.Drag(17, 4.0f, 1200, false);
         EXPECT_EQ("4.0", r.Text(L"eq_gain_%d", 17)) << "the box follows every move";
         r.Drag(17, 4.5f, 1300, true);
     },
     {"06:00 00 00 11 03 E8 05 08 15 00", "06:00 00 00 11 03 E8 05 08 16 05"},
     [](Rig& r) { EXPECT_EQ(4.5f, r.Band(0, 17).gain); }},
    {"a right click mid-drag ends it there, sent; the release and a hover send nothing", [](Rig& r) { r.Active(0); },
     [](Rig& r) {
         r.host.chart = &r.controller;
         const CUIPoint p = static_cast<UIEqualizer*>(r.Named(L"equalizer", 0))->Model().BandPoint(17);
         // Message, keys, pixels below band 17's point, time: the second move waits for the gate.
         int steps[][4] = {{WM_LBUTTONDOWN, 1, 0, 1000}, {WM_MOUSEMOVE, 1, -30, 1000}, {WM_MOUSEMOVE, 1, -40, 1100},
                           {WM_RBUTTONDOWN, 3, -40, 1150}, {WM_LBUTTONUP, 0, -40, 1250}, {WM_MOUSEMOVE, 0, 40, 5000}};
         for (const auto& s : steps) {
             g_now = s[3];
             SendMessageW(r.host.GetNativeHandle(), s[0], s[1], MAKELPARAM(p.x, p.y + s[2]));
         }
     },
     {"06:00 00 00 11 03 E8 05 08 16 05", "06:00 00 00 11 03 E8 05 08 18 00"},
     [](Rig& r) { EXPECT_EQ(6.0f, r.Band(0, 17).gain); EXPECT_EQ("6.0", r.Text(L"eq_gain_%d", 17)); }},
    {"a move that changes nothing sends nothing", [](Rig& r) { r.Active(0); },
     [](Rig& r) { r.Drag(3, 4.0f, 5000, false); }, {}, [](Rig&) {}},
    {"a hover over a switched-off band keeps its gain, which its enable button brings back",
     [](Rig& r) {
         r.Active(0);
         r.Band(0, 17) = EqBand(6.0f, 5.8f, 1000, 0);
     },
     [](Rig& r) {
         r.Drag(17, 0.0f, 1000, false);
         r.controller.OnEqEnable(17);
     },
     {"06:00 00 00 11 03 E8 05 08 18 00"},
     [](Rig& r) {
         EXPECT_EQ(6.0f, r.Band(0, 17).gain);
         EXPECT_EQ(1, r.Band(0, 17).enable);
     }},
    {"leaving the flat state zeroes the hidden gains and says so once",
     [](Rig& r) { r.Band(0, 2).gain = 2.0f; },
     [](Rig& r) {
         r.Drag(17, 3.0f, 1000, false);
         r.Drag(17, 4.0f, 1200, false);
     },
     {"06:00 00 00 02 00 1F 05 08 12 00", "12:00 00 00 00 00", "06:00 00 00 11 03 E8 05 08 15 00"},
     [](Rig& r) {
         EXPECT_EQ(4.0f, r.Band(0, 17).gain) << "the dragged band is not zeroed again";
         EXPECT_EQ(0, r.Profile().channels[0].bypass);
     }},
    {"group member and partner follow within the gate",
     [](Rig& r) {
         r.Profile().bridgeOutputs[0] = 1;
         r.Profile().linkSel[0] = r.Profile().linkSel[2] = 1;
         r.Active(0);
         r.Active(1);
         r.Active(2);
     },
     [](Rig& r) {
         r.Drag(17, 3.0f, 1000, false);
         r.Drag(17, 4.0f, 1200, false);
         r.Drag(17, 4.0f, 1300, true);
     },
     {"06:00 00 02 11 03 E8 05 08 15 00", "06:00 00 00 11 03 E8 05 08 15 00", "06:00 00 01 11 03 E8 05 08 15 00",
      "06:00 00 02 11 03 E8 05 08 16 00", "06:00 00 00 11 03 E8 05 08 16 00", "06:00 00 01 11 03 E8 05 08 16 00"},
     [](Rig& r) { EXPECT_EQ(4.0f, r.Band(2, 17).gain); }},
    {"a band beyond an 11-band channel's count is ignored", [](Rig& r) { r.controller.SetCurChannelChange(12); },
     [](Rig& r) {
         g_now = 1000;
         r.controller.EqualizerCallback(15, 0, true);
     },
     {}, [](Rig&) {}},
    {"the high-pass handle stores, shows and sends its frequency", [](Rig&) {},
     [](Rig& r) {
         static_cast<UIEqualizer*>(r.Named(L"equalizer", 0))->setCurEqHpLp(300, 20000);
         g_now = 1000;
         r.controller.EqualizerCallback(-1, 1, true);
     },
     {"05:00 00 00 02 03 01 2C 02"},
     [](Rig& r) {
         EXPECT_EQ(300, r.Profile().channels[0].crossover.GetHpFreq());
         EXPECT_EQ("300Hz", r.Text(L"hp_freq", 0));
     }},
};

class BandEditTest : public UnitEditTest {
protected:
    void Run(const BandCase* cases, size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            const BandCase& c = cases[i];
            SCOPED_TRACE(c.name);
            Rig rig;
            Open(rig.host, rig.controller, 1300, 600);
            if (HasFatalFailure()) return;
            rig.controller.SetChartClock(Now);
            c.setup(rig);
            rig.Show();
            Sent(rig.controller);
            sim::SimUnit::Instance().ClearReceived();
            c.action(rig);
            EXPECT_EQ(c.frames, Sent(rig.controller));
            c.check(rig);
            Close(rig.host, rig.controller);
        }
    }
};

TEST_F(BandEditTest, EachBandEditSendsItsFramesInOrder)
{
    Run(kCases, sizeof kCases / sizeof kCases[0]);
}

TEST_F(BandEditTest, ChartDragsSendThroughTheGate)
{
    Run(kDrags, sizeof kDrags / sizeof kDrags[0]);
}

} // namespace
