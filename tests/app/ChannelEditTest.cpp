#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "UnitEditKit.h"
#include "app/controls/AppControlFactory.h"
#include "app/tuning/EqualizerManager.h"
#include "tests/support/SimUnit.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/WindowBase.h"

using namespace SkinUI;

namespace {

const int kStrips = 16;

// The format's two %02X filled with each channel in turn.
std::vector<std::string> EachChannel(const char* format)
{
    std::vector<std::string> frames;
    for (int ch = 0; ch < kStrips; ++ch) {
        char frame[64];
        snprintf(frame, sizeof frame, format, ch, ch);
        frames.push_back(frame);
    }
    return frames;
}

std::wstring StripLayout()
{
    std::wstring xml = L"<Window size=\"900,700\"><VerticalLayout>"
                       L"<Curve name=\"equalizer\" height=\"200\"/>"
                       L"<Combo name=\"comb_ch_unit\" height=\"20\">"
                       L"<ListLabelElement text=\"${delay_unit_ms}\" selected=\"true\"/>"
                       L"<ListLabelElement text=\"${delay_unit_cm}\"/>"
                       L"<ListLabelElement text=\"${delay_unit_inch}\"/></Combo>"
                       L"<SButton name=\"speaker_4\" height=\"20\"/><Container name=\"spk_con_4\" height=\"20\"/>"
                       L"<Edit name=\"spk_delay_4\" userdata=\"5\" height=\"20\"/>";
    for (int ch = 0; ch < kStrips; ++ch) {
        wchar_t row[1024];
        _snwprintf(row, 1023,
                   L"<HorizontalLayout height=\"24\">"
                   L"<SButton name=\"ch_enable_%d\" userdata=\"%d\" width=\"40\"/>"
                   L"<CheckBox name=\"ch_show_%d\" userdata=\"%d\" width=\"20\"/>"
                   L"<Slider name=\"slider_ch_volume_%d\" userdata=\"%d\" width=\"100\"/>"
                   L"<Edit name=\"edit_ch_volume_%d\" userdata=\"%d\" width=\"60\"/>"
                   L"<CheckBox name=\"ch_mute_%d\" userdata=\"%d\" width=\"30\"/>"
                   L"<CheckBox name=\"ch_phase_%d\" userdata=\"%d\" width=\"30\"/>"
                   L"<CheckBox name=\"ch_solo_%d\" userdata=\"%d\" width=\"30\"/>"
                   L"<Slider name=\"slider_ch_delay_%d\" userdata=\"%d\" min=\"0\" max=\"15000\" width=\"100\"/>"
                   L"<Edit name=\"edit_ch_delay_%d\" userdata=\"%d\" width=\"60\"/>"
                   L"</HorizontalLayout>",
                   ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch, ch);
        row[1023] = L'\0';
        xml += row;
    }
    return xml + L"</VerticalLayout></Window>";
}

// Hands the channel buttons' clicks to the controller as the main window does.
class CStripHost : public WindowImplBase {
public:
    explicit CStripHost(EqualizerManager& controller) : m_controller(controller), m_layout(StripLayout()) {}
    const wchar_t* GetWndClassName() const override { return L"BrisaStripHost"; }
    CUIString GetSkinXmlName() const override { return m_layout.c_str(); }
    CControlUI* CreateCustomControl(const wchar_t* className) override { return CreateAppControl(className); }
    void ReceiveNotify(TNotifyInfo& notify) override
    {
        if (notify.type == L"click" && notify.sender != nullptr &&
            wcsncmp(notify.sender->GetControlName(), L"ch_enable_", 10) == 0) {
            m_controller.SetCurChannelChange(static_cast<int>(wcstol(notify.sender->GetUserDataText(), nullptr, 10)));
        }
        WindowImplBase::ReceiveNotify(notify);
    }

private:
    EqualizerManager& m_controller;
    std::wstring m_layout;
};

struct Rig {
    EqualizerManager controller;
    CStripHost host{controller};

    template <class T>
    T* Named(const wchar_t* format, int ch)
    {
        return static_cast<T*>(host.PaintManager().FindControlByName(NameOf(format, ch).c_str()));
    }
    CSliderUI* Slider(int ch) { return Named<CSliderUI>(L"slider_ch_volume_%d", ch); }
    CEditUI* Edit(int ch) { return Named<CEditUI>(L"edit_ch_volume_%d", ch); }
    COptionUI* Option(const wchar_t* format, int ch) { return Named<COptionUI>(format, ch); }
    SceneProfile& Profile() { return controller.Current(); }
    CEditUI* DelayEdit(int ch) { return Named<CEditUI>(L"edit_ch_delay_%d", ch); }
    CSliderUI* DelaySlider(int ch) { return Named<CSliderUI>(L"slider_ch_delay_%d", ch); }
    void SetUnit(int unit)
    {
        static_cast<CComboUI*>(host.PaintManager().FindControlByName(L"comb_ch_unit"))->SelectSingleItem(unit, false);
        controller.SetDelayUnit();
    }
    void TypeDelay(int ch, const wchar_t* text)
    {
        DelayEdit(ch)->SetTextContent(text);
        controller.SetChDelayEdit(ch);
    }
    // The slider moved, as a drag leaves it.
    void Slide(int ch, int tenths)
    {
        Slider(ch)->SetValue(tenths);
        controller.SetChVolumeSlider(ch, true, false);
    }
    // The channel's gain as the user left it: model, slider and edit agree.
    void SetGain(int ch, int tenths)
    {
        Profile().channels[ch].gain = tenths / 10.0f;
        Slider(ch)->SetValue(tenths);
    }
};

struct EditCase {
    const char* name;
    std::function<void(Rig&)> setup;
    std::function<void(Rig&)> action;
    std::vector<std::string> frames;
    std::function<void(Rig&)> check;
};

const char kSoloOnly3[] = "34:00 00 00 0F 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00";

const EditCase kCases[] = {
    {"typed -12 on the current channel: trim 12 dB, then unmute", [](Rig&) {},
     [](Rig& r) {
         r.Edit(0)->SetTextContent(L"-12");
         r.controller.SetChVolumeEdit(0, false);
     },
     {"08:00 00 00 00 0C", "09:00 00 00 00 00"},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(-12.0f, r.Profile().channels[0].gain);
         EXPECT_EQ(-120, r.Slider(0)->GetValue());
         EXPECT_EQ("-12dB", Narrow(r.Edit(0)->GetTextContent()));
     }},
    {"typed -70 at -60 dB clamps and does not reach the bridge partner",
     [](Rig& r) {
         r.Profile().bridgeOutputs[0] = 1;
         r.SetGain(0, -600);
         r.SetGain(1, -300);
     },
     [](Rig& r) {
         r.Edit(0)->SetTextContent(L"-70");
         r.controller.SetChVolumeEdit(0, false);
     },
     {"08:00 00 00 00 3C", "09:00 00 00 00 00"},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(-60.0f, r.Profile().channels[0].gain);
         EXPECT_EQ(Resolved(L"${off}"), Narrow(r.Edit(0)->GetTextContent()));
         EXPECT_FLOAT_EQ(-30.0f, r.Profile().channels[1].gain);
     }},
    {"slider on a bridged channel moves the partner by the same step",
     [](Rig& r) { r.Profile().bridgeOutputs[0] = 1; },
     [](Rig& r) { r.Slide(0, -50); },
     {"08:00 00 00 00 05", "09:00 00 00 00 00", "08:00 00 01 01 05", "09:00 00 01 01 00"},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(-5.0f, r.Profile().channels[1].gain);
         EXPECT_EQ(-50, r.Slider(1)->GetValue());
         EXPECT_EQ("-5dB", Narrow(r.Edit(1)->GetTextContent()));
     }},
    {"link group members follow in channel order, each clamped",
     [](Rig& r) {
         r.Profile().linkSel[0] = r.Profile().linkSel[2] = r.Profile().linkSel[3] = 1;
         r.SetGain(0, -100);
         r.SetGain(2, -200);
         r.SetGain(3, -20);
     },
     [](Rig& r) { r.Slide(0, -50); },
     {"08:00 00 00 00 05", "09:00 00 00 00 00", "08:00 00 02 02 0F", "09:00 00 02 02 00", "08:00 00 03 03 00",
      "09:00 00 03 03 00"},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(-15.0f, r.Profile().channels[2].gain);
         EXPECT_FLOAT_EQ(0.0f, r.Profile().channels[3].gain);
         EXPECT_FLOAT_EQ(0.0f, r.Profile().channels[1].gain) << "not in the group";
     }},
    {"a group member's bridged twin takes the member's level",
     [](Rig& r) {
         r.Profile().linkSel[0] = r.Profile().linkSel[2] = 1;
         r.Profile().bridgeOutputs[1] = 1;
         r.SetGain(0, -100);
         r.SetGain(2, -100);
         r.SetGain(3, -200);
     },
     [](Rig& r) { r.Slide(0, -50); },
     {"08:00 00 00 00 05", "09:00 00 00 00 00", "08:00 00 02 02 05", "09:00 00 02 02 00", "08:00 00 03 03 05",
      "09:00 00 03 03 00"},
     [](Rig& r) { EXPECT_FLOAT_EQ(-5.0f, r.Profile().channels[3].gain); }},
    {"linked, bridged and grouped at once, no channel moves twice",
     [](Rig& r) {
         r.Profile().linkMode = 1;
         r.Profile().linkOutputs[0] = 2;
         r.Profile().bridgeOutputs[0] = 1;
         r.Profile().linkSel[0] = r.Profile().linkSel[1] = 1;
         for (int ch = 0; ch < 3; ++ch) r.SetGain(ch, -100);
     },
     [](Rig& r) { r.Slide(0, -50); },
     {"08:00 00 00 00 05", "09:00 00 00 00 00", "08:00 00 01 01 05", "09:00 00 01 01 00", "08:00 00 02 02 05",
      "09:00 00 02 02 00"},
     [](Rig& r) { EXPECT_FLOAT_EQ(-5.0f, r.Profile().channels[0].gain); }},
    {"a linked partner takes the member's changes in whole tenths: off, -20.6 dB, off leaves both off",
     [](Rig& r) {
         r.Profile().linkMode = 1;
         r.Profile().linkOutputs[0] = 1;
         r.SetGain(0, -600);
         r.SetGain(1, -600);
     },
     [](Rig& r) {
         for (int tenths : {-206, -600}) r.Slide(0, tenths);
     },
     {"08:00 00 00 00 14", "09:00 00 00 00 00", "08:00 00 01 01 14", "09:00 00 01 01 00", "08:00 00 00 00 3C",
      "09:00 00 00 00 00", "08:00 00 01 01 3C", "09:00 00 01 01 00"},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(-60.0f, r.Profile().channels[1].gain);
         EXPECT_EQ(-600, r.Slider(1)->GetValue());
         EXPECT_EQ(Resolved(L"${off}"), Narrow(r.Edit(1)->GetTextContent()));
     }},
    {"a fractional trim reported by the unit, its box left untouched, sends nothing and stays muted",
     [](Rig& r) { r.Profile().channels[0].mute = 1; },
     [](Rig& r) {
         PostReport(r.controller, 0x08, dsp::DspTrimRecord{0, 0, -12.34f});
         r.controller.LeaveChVolumeEdit(0);
     },
     {},
     [](Rig& r) {
         EXPECT_NEAR(-12.34f, r.Profile().channels[0].gain, 1e-4);
         EXPECT_EQ("-12dB", Narrow(r.Edit(0)->GetTextContent()));
         EXPECT_EQ(1, r.Profile().channels[0].mute);
     }},
    {"a trim reported while its box is typed into moves the model and the slider; the box keeps the typing", [](Rig& r) { r.Edit(0)->TakeFocus(); },
     [](Rig& r) { SendMessageW(r.Edit(0)->GetNativeWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"-1")); PostReport(r.controller, 0x08, dsp::DspTrimRecord{0, 0, -30.0f}); }, {},
     [](Rig& r) { EXPECT_EQ(-300, r.Slider(0)->GetValue()); EXPECT_EQ("-1", Narrow(r.Edit(0)->GetTextContent())); }},
    {"slider of another channel makes it current first",
     [](Rig&) {},
     [](Rig& r) { r.Slide(2, -100); },
     {"09:00 00 02 02 00", "08:00 00 02 02 0A", "09:00 00 02 02 00"},
     [](Rig& r) { EXPECT_EQ(2, r.Profile().currOutChannel); }},
    {"step down at -60 dB sends nothing", [](Rig& r) { r.SetGain(0, -600); },
     [](Rig& r) { r.controller.SetChVolumeUp(0, false); }, {},
     [](Rig& r) { EXPECT_EQ(-600, r.Slider(0)->GetValue()); }},
    {"step up is one dB", [](Rig& r) { r.SetGain(0, -600); }, [](Rig& r) { r.controller.SetChVolumeUp(0, true); },
     {"08:00 00 00 00 3B", "09:00 00 00 00 00"},
     [](Rig& r) { EXPECT_EQ("-59dB", Narrow(r.Edit(0)->GetTextContent())); }},
    {"mute on a bridged odd channel mutes the even one",
     [](Rig& r) { r.Profile().bridgeOutputs[0] = 1; },
     [](Rig& r) {
         r.Profile().channels[1].mute = 1;
         r.controller.SetChMute(1);
     },
     {"09:00 00 01 01 01", "09:00 00 00 00 01"},
     [](Rig& r) {
         EXPECT_EQ(1, r.Profile().channels[0].mute);
         EXPECT_TRUE(r.Option(L"ch_mute_%d", 0)->IsSelected());
         EXPECT_TRUE(r.Option(L"ch_mute_%d", 1)->IsSelected());
     }},
    {"phase reversed on each channel in turn goes out for that channel", [](Rig&) {},
     [](Rig& r) {
         for (int ch = 0; ch < kStrips; ++ch) {
             r.Option(L"ch_phase_%d", ch)->SetSelectedState(true, true);
             r.controller.SetChPhase(ch);
         }
     },
     EachChannel("0A:00 00 %02X %02X 01"),
     [](Rig& r) {
         for (int ch = 0; ch < kStrips; ++ch) EXPECT_EQ(1, r.Profile().channels[ch].phase) << ch;
     }},
    {"solo is exclusive and goes out for all sixteen channels at once",
     [](Rig& r) {
         r.Profile().channels[1].solo = 1;
         r.Option(L"ch_solo_%d", 1)->SetSelectedState(true, true);
     },
     [](Rig& r) {
         r.Option(L"ch_solo_%d", 3)->SetSelectedState(true, true);
         r.controller.SetChSolo(3);
     },
     {kSoloOnly3, "09:00 00 03 03 00"},
     [](Rig& r) {
         EXPECT_EQ(0, r.Profile().channels[1].solo);
         EXPECT_FALSE(r.Option(L"ch_solo_%d", 1)->IsSelected());
         EXPECT_EQ(3, r.Profile().soloChannel);
         EXPECT_EQ(3, r.Profile().currOutChannel);
     }},
    {"solo off leaves the other channels alone",
     [](Rig& r) { r.Profile().channels[1].solo = r.Profile().channels[3].solo = 1; },
     [](Rig& r) { r.controller.ApplyChSolo(3, false); },
     {"34:00 00 00 0F 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
     [](Rig& r) { EXPECT_EQ(1, r.Profile().channels[1].solo); }},
    {"without the unit's queue nothing goes out and the model keeps the change",
     [](Rig& r) { r.controller.Device().DisableAsyncMode(); },
     [](Rig& r) { r.Slide(0, -70); },
     {},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(-7.0f, r.Profile().channels[0].gain);
         EXPECT_EQ("-7dB", Narrow(r.Edit(0)->GetTextContent()));
     }},
    {"10 typed in cm is 150/519 ms and shows as 10 cm", [](Rig& r) { r.SetUnit(1); },
     [](Rig& r) { r.TypeDelay(0, L"10"); }, {"07:00 00 00 00 00 01 21"},
     [](Rig& r) {
         EXPECT_NEAR(150.0 / 519, r.Profile().channels[0].delay, 1e-6);
         EXPECT_EQ("10 cm", Narrow(r.DelayEdit(0)->GetTextContent()));
         EXPECT_EQ(289, r.DelaySlider(0)->GetValue());
     }},
    {"600 typed in cm is the full 15 ms", [](Rig& r) { r.SetUnit(1); }, [](Rig& r) { r.TypeDelay(0, L"600"); },
     {"07:00 00 00 00 0F 00 00"},
     [](Rig& r) { EXPECT_EQ("519 cm", Narrow(r.DelayEdit(0)->GetTextContent())); }},
    {"a delay slider on a bridged channel moves the partner by the same ms",
     [](Rig& r) {
         r.Profile().bridgeOutputs[0] = 1;
         r.Profile().channels[1].delay = 1.0f;
     },
     [](Rig& r) {
         r.DelaySlider(0)->SetValue(2000);
         r.controller.SetChDelaySlider(0);
     },
     {"07:00 00 00 00 02 00 00", "07:00 00 01 01 03 00 00"},
     [](Rig& r) { EXPECT_EQ("3.000 ms", Narrow(r.DelayEdit(1)->GetTextContent())); }},
    {"switching the unit rewrites the texts and keeps the stored delay",
     [](Rig& r) { r.Profile().channels[2].delay = 0.3f; }, [](Rig& r) { r.SetUnit(2); }, {},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(0.3f, r.Profile().channels[2].delay);
         EXPECT_EQ("4 in", Narrow(r.DelayEdit(2)->GetTextContent()));
     }},
    {"in inches one step rounds back to the same inch and is sent once", [](Rig& r) { r.SetUnit(2); },
     [](Rig& r) { r.controller.SetChDelayUp(0, true); }, {"07:00 00 00 00 00 00 00"},
     [](Rig& r) {
         EXPECT_EQ(0.0f, r.Profile().channels[0].delay);
         EXPECT_EQ(0, r.DelaySlider(0)->GetValue());
     }},
    {"a speaker position edit sets its channel's delay and strip: leaving the strip's box sends nothing stale",
     [](Rig& r) { r.Profile().outputs[2] = 5; },
     [](Rig& r) {
         r.Named<CEditUI>(L"spk_delay_%d", 4)->SetTextContent(L"3.5");
         r.controller.SetSpeakerDelayEdit(5);
         r.controller.LeaveChDelayEdit(2);
     },
     {"07:00 00 02 02 03 01 F4"},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(3.5f, r.Profile().channels[2].delay);
         EXPECT_EQ("3.500 ms", Narrow(r.DelayEdit(2)->GetTextContent()));
         EXPECT_EQ(3500, r.DelaySlider(2)->GetValue());
     }},
    {"a delay report shows in the chosen cm, and leaving its box sends nothing", [](Rig& r) { r.SetUnit(1); },
     [](Rig& r) {
         PostReport(r.controller, 0x07, dsp::DspDelayRecord{0, 2, 1.5f});
         r.controller.LeaveChDelayEdit(2);
     },
     {},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(1.5f, r.Profile().channels[2].delay);
         EXPECT_EQ("52 cm", Narrow(r.DelayEdit(2)->GetTextContent()));
         EXPECT_EQ(1500, r.DelaySlider(2)->GetValue());
     }},
    {"a delay off the whole cm, its box left untouched, sends nothing",
     [](Rig& r) {
         r.Profile().channels[1].delay = 1.0f;
         r.SetUnit(1);
     },
     [](Rig& r) { r.controller.LeaveChDelayEdit(1); }, {},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(1.0f, r.Profile().channels[1].delay);
         EXPECT_EQ("35 cm", Narrow(r.DelayEdit(1)->GetTextContent()));
     }},
    {"a typed delay equal to the stored one is sent once and shown as written: leaving the box sends nothing more",
     [](Rig& r) {
         for (int ch = 0; ch < kStrips; ++ch) r.Profile().channels[ch].delay = 1.5f;
     },
     [](Rig& r) {
         for (int ch = 0; ch < kStrips; ++ch) {
             r.TypeDelay(ch, L"1.5");
             r.controller.LeaveChDelayEdit(ch);
         }
     },
     EachChannel("07:00 00 %02X %02X 01 01 F4"),
     [](Rig& r) {
         for (int ch = 0; ch < kStrips; ++ch) EXPECT_EQ("1.500 ms", Narrow(r.DelayEdit(ch)->GetTextContent())) << ch;
     }},
    {"nan typed into a delay keeps the stored delay", [](Rig& r) { r.Profile().channels[0].delay = 1.0f; },
     [](Rig& r) { r.TypeDelay(0, L"nan"); }, {},
     [](Rig& r) {
         EXPECT_FLOAT_EQ(1.0f, r.Profile().channels[0].delay);
         EXPECT_EQ("1.000 ms", Narrow(r.DelayEdit(0)->GetTextContent()));
     }},
    {"after a switch to Russian a delay box shows the unit combo's word and leaving it sends nothing",
     [](Rig& r) { r.Profile().channels[1].delay = 1.0f; },
     [](Rig& r) {
         CResourceStore::GetInstance()->SelectLanguage(L"ru");
         r.controller.UpdateAllVolumeEdit();
         r.controller.LeaveChDelayEdit(1);
     },
     {},
     [](Rig& r) {
         const CUIString shown = r.DelayEdit(1)->GetTextContent();
         const CUIString unit = r.Named<CControlUI>(L"comb_ch_unit", 0)->GetTextContent();
         CResourceStore::GetInstance()->SelectLanguage(L"en");
         EXPECT_EQ(L"1.000 \u043c\u0441", std::wstring(shown.CStr()));
         EXPECT_EQ(L"\u043c\u0441", std::wstring(unit.CStr()));
     }},
    {"4 inch and 4 \u0434\u044e\u0439\u043c typed are 4 in", [](Rig& r) { r.SetUnit(2); },
     [](Rig& r) { r.TypeDelay(0, L"4 inch"), r.TypeDelay(1, L"4 \u0434\u044e\u0439\u043c"); },
     {"07:00 00 00 00 00 01 26", "07:00 00 01 01 00 01 26"},
     [](Rig& r) { EXPECT_EQ("4 in", Narrow(r.DelayEdit(1)->GetTextContent())); }},
    {"a speaker code no channel has does nothing", [](Rig&) {},
     [](Rig& r) {
         r.Named<CEditUI>(L"spk_delay_%d", 4)->SetTextContent(L"3.5");
         r.controller.SetSpeakerDelayEdit(5);
         r.controller.SetSpeakerDelayUp(5, true);
     },
     {}, [](Rig& r) { EXPECT_EQ(0.0f, r.Profile().channels[2].delay); }},
};

using ChannelEditTest = UnitEditTest;

TEST_F(ChannelEditTest, EachEditSendsItsFramesInOrder)
{
    for (const EditCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        Open(rig.host, rig.controller, 900, 700);
        if (HasFatalFailure()) return;
        c.setup(rig);
        sim::SimUnit::Instance().ClearReceived();
        c.action(rig);
        EXPECT_EQ(c.frames, Sent(rig.controller));
        c.check(rig);
        Close(rig.host, rig.controller);
    }
}

// Only the channels a change touches are recomputed; the others keep theirs.
TEST_F(ChannelEditTest, CurvesOfCurrentPartnerAndGroupOnly)
{
    Rig rig;
    Open(rig.host, rig.controller, 900, 700);
    if (HasFatalFailure()) return;
    SceneProfile& p = rig.Profile();
    p.bridgeOutputs[0] = 1;
    p.linkSel[0] = p.linkSel[2] = p.linkSel[13] = 1;
    p.channels[0].bypass = 0;
    p.channels[0].crossover = p.channels[1].crossover = CrossoverParams();
    p.channels[0].bands[0] = EqBand(6.0f, 2.0f, 1000, 1);
    for (auto& gains : p.curveGains)
        for (double& g : gains) g = 99.0;
    rig.controller.SetCurChannelChange(0);
    std::vector<int> recomputed;
    for (int ch = 0; ch < kOutputChannels; ++ch)
        if (p.curveGains[ch][100] != 99.0) recomputed.push_back(ch);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), recomputed) << "current, partner and the group member of its band group";
    // The peak of the band shows on the current curve, not on the bypassed partner's.
    double peak0 = -100, peak1 = -100;
    for (int i = 0; i < kCurvePoints; ++i) {
        peak0 = std::max(peak0, p.curveGains[0][i]);
        peak1 = std::max(peak1, p.curveGains[1][i]);
    }
    EXPECT_NEAR(6.0, peak0, 0.2);
    EXPECT_NEAR(0.0, peak1, 0.01);

    // Hiding a channel keeps its curve and tells the model.
    p.showOutChEqualizer[0] = 1;
    auto* show = rig.Option(L"ch_show_%d", 0);
    ASSERT_NE(nullptr, show);
    show->SetSelectedState(false, true);
    rig.controller.SetChEqualizerShow(0);
    EXPECT_EQ(0, p.showOutChEqualizer[0]);
    EXPECT_NEAR(6.0, *std::max_element(p.curveGains[0].begin(), p.curveGains[0].end()), 0.2);
    Close(rig.host, rig.controller);
}

} // namespace
