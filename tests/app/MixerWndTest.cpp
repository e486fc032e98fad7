#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogScript.h"
#include "UnitDialogTest.h"
#include "app/windows/CompressorsOnWnd.h"
#include "app/windows/MixerWnd.h"
#include "tests/support/FrameSignature.h"
#include "tests/support/PollUntil.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"

using dialogs::Find;
using dialogs::Notify;
using dialogs::Step;
using dialogs::TextOf;
using SkinUI::WindowImplBase;

namespace {

const uint8_t kMixTrim = 0x24;
const uint8_t kInputPhase = 0x22;
const uint8_t kBridge = 0x4C;
const uint8_t kCrossSource = 0x4D;

std::wstring Name(const wchar_t* prefix, int a, int b = -1)
{
    std::wstring name = prefix + std::to_wstring(a);
    if (b >= 0) name += L"_" + std::to_wstring(b);
    return name;
}

bool Visible(WindowImplBase& w, const std::wstring& name)
{
    SkinUI::CControlUI* control = Find(w, name.c_str());
    return control != nullptr && control->GetVisibility();
}

class MixerWindow : public UnitDialogTest {
protected:
    SceneProfile& profile() { return controller.Current(); }

    // Opens the mixer of source, plays the steps, waits until count frames
    // of subcommand were sent and the queue is idle, and closes.
    std::vector<sim::Frame> Run(int source, uint8_t subcommand, size_t count, std::vector<Step> steps)
    {
        profile().inputSource = source;
        const size_t mark = unit().ReceivedFrames().size();
        steps.push_back([&](WindowImplBase& w, HWND) {
            if (FramesOf(subcommand, mark).size() < count || !controller.Device().IsQueueIdle()) return false;
            w.PostClose(0);
            return true;
        });
        const auto result =
            dialogs::RunDialogScript(L"MixerWnd", steps, [&] { OpenMixerWnd(nullptr, controller); });
        EXPECT_TRUE(result.allStepsRan) << "step " << result.failedStep;
        EXPECT_TRUE(sim::PollUntil([&] { return controller.Device().IsQueueIdle(); }, 2000));
        return FramesOf(subcommand, mark);
    }
};

// One user change of one cell and the exact trims it sends.
struct CellCase {
    const char* label;
    int source;
    int output, row;
    int routedVolume;     // -1: not routed; else routed with this stored volume
    bool bridged;         // the output's pair
    const char* action;   // "enable", "slider", "up"
    int value;            // slider value
    std::vector<std::vector<uint8_t>> trims;  // payloads: scene, source, bit, out, out, trim
    bool selectedAfter;
};

class MixerCells : public MixerWindow, public ::testing::WithParamInterface<CellCase> {};

TEST_P(MixerCells, OneChangeStoresShowsAndSendsOneTrimPerOutput)
{
    const CellCase c = GetParam();
    const int bit = c.row < CMixerWnd::kOwnRows ? c.row : GetCrossSourceChannel(c.source, c.row - CMixerWnd::kOwnRows);
    profile().inputs[c.source][c.output] &= ~(1 << bit);
    profile().inputMixVolume[c.source][bit][c.output] = 0;
    if (c.routedVolume >= 0) {
        profile().inputs[c.source][c.output] |= 1 << bit;
        profile().inputMixVolume[c.source][bit][c.output] = c.routedVolume;
    }
    profile().bridgeOutputs[c.output / 2] = c.bridged ? 1 : 0;
    const std::wstring enable = Name(L"box_enable_", c.output, c.row);
    const std::wstring slider = Name(L"box_volume_", c.output, c.row);
    const std::wstring edit = Name(L"box_edit_", c.output, c.row);
    std::wstring shown;
    bool selected = !c.selectedAfter;
    const auto sent = Run(c.source, kMixTrim, c.trims.size(), {
        [&](WindowImplBase& w, HWND h) {
            const std::string action = c.action;
            if (action == "enable") {
                dialogs::Click(w, h, enable.c_str());
            } else if (action == "slider") {
                static_cast<SkinUI::CSliderUI*>(Find(w, slider.c_str()))->SetValue(c.value);
                Notify(w, slider.c_str(), "valuechanged");
            } else {
                if (action == "x slid off")  // typed, then a press on the X let go off it
                    Find(w, edit.c_str())->TakeFocus(), dialogs::SetText(w, edit.c_str(), L"70"), dialogs::PressSlidOff(w, h, L"closebtn");
                else Notify(w, edit.c_str(), "valuechangedup");
            }
            return true;
        },
        [&](WindowImplBase& w, HWND) { return std::string(c.action) != "x slid off" || (Notify(w, edit.c_str(), "valuechangedup"), true); },
        [&](WindowImplBase& w, HWND) {
            if (FramesOf(kMixTrim, 0).empty()) return false;
            shown = TextOf(w, edit.c_str());
            selected = static_cast<SkinUI::COptionUI*>(Find(w, enable.c_str())->FindInterface(L"Option"))->IsSelected();
            return true;
        },
    });
    ASSERT_EQ(c.trims.size(), sent.size());
    for (size_t k = 0; k < sent.size(); ++k) EXPECT_EQ(c.trims[k], sent[k].data) << k;
    const int volume = c.trims[0].back();
    EXPECT_EQ(std::to_wstring(volume), shown);
    EXPECT_EQ(c.selectedAfter, selected);
    for (const auto& trim : c.trims) {
        const int out = trim[3];
        EXPECT_EQ(volume > 0, (profile().inputs[c.source][out] >> bit & 1) != 0) << out;
        EXPECT_EQ(volume, profile().inputMixVolume[c.source][bit][out]) << out;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, MixerCells,
    ::testing::Values(
        CellCase{"EnablingAStoredZeroCellSends100", 4, 3, 2, -1, false, "enable", 0, {{0, 4, 2, 3, 3, 100}}, true},
        CellCase{"SliderToZeroClearsTheRouteAndTheBox", 5, 0, 9, 70, false, "slider", 0, {{0, 5, 9, 0, 0, 0}}, false},
        CellCase{"EditStepUp", 6, 15, 1, 50, false, "up", 0, {{0, 6, 1, 15, 15, 51}}, true},
        CellCase{"TypedKeptThroughAPressOnTheXSlidOff", 6, 14, 1, 50, false, "x slid off", 0, {{0, 6, 1, 14, 14, 71}}, true},
        CellCase{"CrossRowOfTheLowSourceUsesTheBitAboveItsInputs", 4, 1, 12, -1, false, "enable", 0,
                 {{0, 4, 8, 1, 1, 100}}, true},
        CellCase{"BridgedPairSliderCopiesToTheTwin", 0, 2, 0, 30, true, "slider", 60,
                 {{0, 0, 0, 2, 2, 60}, {0, 0, 0, 3, 3, 60}}, true}),
    [](const ::testing::TestParamInfo<CellCase>& info) { return info.param.label; });

struct RowsCase {
    int source;
    int rows;                   // own rows shown
    std::vector<std::wstring> titles;  // of the own rows
};

TEST_F(MixerWindow, EachSourceShowsItsOwnRowsAndBothCrossRowsAndFitsTheWindowToThem)
{
    const RowsCase cases[] = {
        {0, 2, {L"OPT L", L"OPT R"}}, {1, 0, {}},
        {4, 8, {L"LOW1", L"LOW2", L"LOW3", L"LOW4", L"LOW5", L"LOW6", L"LOW7", L"LOW8"}},
        {5, 10, {L"HIGH1", L"HIGH2", L"HIGH3", L"HIGH4", L"HIGH5", L"HIGH6", L"HIGH7", L"HIGH8", L"HIGH9", L"HIGH10"}},
        {6, 2, {L"DMP L", L"DMP R"}},
    };
    for (const RowsCase& c : cases) {
        std::vector<bool> shown(CMixerWnd::kRows);
        std::vector<std::wstring> titles;
        int height = 0, layoutHeight = 0;
        Run(c.source, kMixTrim, 0, {[&](WindowImplBase& w, HWND h) {
            for (int i = 0; i < CMixerWnd::kRows; ++i) {
                shown[i] = Visible(w, Name(L"box_", 15, i)) && Visible(w, Name(L"title_label_", i));
                if (i < c.rows) titles.push_back(TextOf(w, Name(L"title_label_", i).c_str()));
            }
            RECT rc;
            GetClientRect(h, &rc);
            height = rc.bottom;
            layoutHeight = w.PaintManager().InitialSize().cy;
            return true;
        }});
        for (int i = 0; i < CMixerWnd::kRows; ++i)
            EXPECT_EQ(i < c.rows || i >= CMixerWnd::kOwnRows, static_cast<bool>(shown[i])) << c.source << " row " << i;
        EXPECT_EQ(c.titles, titles) << c.source;
        EXPECT_EQ(layoutHeight - (CMixerWnd::kOwnRows - c.rows) * CMixerWnd::kRowPitch, height) << c.source;
    }
}

struct FocusCase {
    int source;
    int output, row;
    const char* type;
    int toOutput, toRow;
};

TEST_F(MixerWindow, LeftAndRightWalkTheShownCellsAndWrapOverTheShownRows)
{
    const FocusCase cases[] = {
        {4, 15, 0, "valuechangedright", 0, 1},  {4, 3, 2, "valuechangedright", 4, 2},
        {4, 15, 7, "valuechangedright", 0, 12}, {4, 15, 13, "valuechangedright", 0, 0},
        {4, 0, 0, "valuechangedleft", 15, 13},  {1, 15, 12, "valuechangedright", 0, 13},
        {1, 15, 13, "valuechangedright", 0, 12}, {1, 0, 12, "valuechangedleft", 15, 13},
    };
    for (int source : {4, 1}) {
        std::vector<Step> steps;
        std::vector<std::wstring> focused;
        std::vector<const FocusCase*> played;
        for (const FocusCase& c : cases) {
            if (c.source != source) continue;
            played.push_back(&c);
            steps.push_back([&focused, &c](WindowImplBase& w, HWND) {
                Notify(w, Name(L"box_edit_", c.output, c.row).c_str(), c.type);
                SkinUI::CControlUI* focus = w.PaintManager().FocusControl();
                focused.push_back(focus != nullptr ? focus->GetControlName().CStr() : L"<none>");
                return true;
            });
        }
        EXPECT_TRUE(Run(source, kMixTrim, 0, steps).empty()) << source;
        ASSERT_EQ(played.size(), focused.size()) << source;
        for (size_t k = 0; k < played.size(); ++k)
            EXPECT_EQ(Name(L"box_edit_", played[k]->toOutput, played[k]->toRow), focused[k])
                << source << " " << played[k]->output << "," << played[k]->row;
    }
}

// A choice in one cross-source row and what the unit receives, the other
// row following to the partner channel of the same source.
struct CrossCase {
    const char* label;
    int source;
    int otherSource, otherChannel;  // the other row before
    int row;                        // 12 or 13
    const wchar_t* tag;
    std::vector<std::vector<uint8_t>> sent;  // scene, source, second source, its channel, channel
};

class MixerCrossSource : public MixerWindow, public ::testing::WithParamInterface<CrossCase> {};

TEST_P(MixerCrossSource, ChoiceIsSentAndTheOtherRowTakesThePartnerChannel)
{
    const CrossCase c = GetParam();
    const int other = GetCrossSourceChannel(c.source, c.row == 12 ? 1 : 0);
    for (int ch = 0; ch < 16; ++ch) profile().crossSourceMix.source[c.source][ch] = CMixerWnd::kNoSecondSource;
    profile().crossSourceMix.source[c.source][other] = c.otherSource;
    profile().crossSourceMix.channel[c.source][other] = c.otherChannel;
    const std::wstring list = Name(L"cmb_csm_vice_source_", c.row);
    const auto sent = Run(c.source, kCrossSource, c.sent.size(), {[&](WindowImplBase& w, HWND) {
        auto* combo = dynamic_cast<SkinUI::CComboUI*>(Find(w, list.c_str()));
        if (combo == nullptr) return false;
        for (int k = 0; k < combo->GetChildCount(); ++k)
            if (combo->GetChildAt(k)->GetUserDataText() == c.tag) combo->SelectSingleItem(k);
        return true;
    }});
    ASSERT_EQ(c.sent.size(), sent.size());
    for (size_t k = 0; k < sent.size(); ++k) EXPECT_EQ(c.sent[k], sent[k].data) << k;
    const auto& last = c.sent.back();
    EXPECT_EQ(last[2], profile().crossSourceMix.source[c.source][last[4]]);
    EXPECT_EQ(last[3], profile().crossSourceMix.channel[c.source][last[4]]);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MixerCrossSource,
    ::testing::Values(CrossCase{"OtherRowNoneStays", 4, 9, 0, 12, L"0401", {{0, 4, 4, 1, 8}}},
                      CrossCase{"OtherSourceFollowsToTheRightChannel", 4, 2, 0, 12, L"0000",
                                {{0, 4, 0, 0, 8}, {0, 4, 0, 1, 9}}},
                      CrossCase{"SameSourceOtherChannelStays", 0, 4, 3, 13, L"0405", {{0, 0, 4, 5, 3}}},
                      CrossCase{"HighInHighPairsChannels10And11", 5, 5, 11, 12, L"0511",
                                {{0, 5, 5, 11, 10}, {0, 5, 5, 10, 11}}},
                      CrossCase{"SameChannelMovesTheOtherRowToItsPartner", 2, 0, 0, 13, L"0000",
                                {{0, 2, 0, 0, 3}, {0, 2, 0, 1, 2}}}),
    [](const ::testing::TestParamInfo<CrossCase>& info) { return info.param.label; });

TEST_F(MixerWindow, ClearSendsZeroOncePerRoutedBitAndEmptiesTheRoutes)
{
    for (int o = 0; o < 16; ++o) profile().inputs[0][o] = 0;
    profile().inputs[0][0] = 0x3;       // both inputs to output 1
    profile().inputs[0][5] = 0x4;       // the first cross-source row (bit 2) to output 6
    profile().inputMixVolume[0][2][5] = 80;
    const auto sent = Run(0, kMixTrim, 3, {[&](WindowImplBase& w, HWND h) {
        dialogs::Click(w, h, L"btn_reset_input");
        return true;
    }});
    const std::vector<std::vector<uint8_t>> expected = {{0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, {0, 0, 2, 5, 5, 0}};
    ASSERT_EQ(expected.size(), sent.size());
    for (size_t k = 0; k < sent.size(); ++k) EXPECT_EQ(expected[k], sent[k].data) << k;
    for (int o = 0; o < 16; ++o) EXPECT_EQ(0, profile().inputs[0][o]) << o;
    EXPECT_EQ(0, profile().inputMixVolume[0][2][5]);
}

// Connecting and disconnecting close an open mixer or compressor window:
// their edits would reach the model only, and the read rewrites what they show.
TEST_F(MixerWindow, ConnectAndDisconnectCloseIt)
{
    const struct {
        const char* name;
        bool openFirst;
        void (*act)(EqualizerManager&);
    } kRows[] = {
        {"disconnect", true, [](EqualizerManager& c) { c.DisconnectDevice(); }},
        {"connect", false, [](EqualizerManager& c) { c.ConnectDevice(false); }},
    };
    for (bool compressors : {false, true}) {
        for (const auto& row : kRows) {
            SCOPED_TRACE(testing::Message() << row.name << (compressors ? " under the compressors" : ""));
            if (!row.openFirst) controller.DisconnectDevice();
            const auto result = dialogs::RunDialogScript(
                compressors ? L"CompressorsOnWnd" : L"MixerWnd",
                {[&](WindowImplBase&, HWND) {
                     row.act(controller);
                     return true;
                 },
                 // Reached only by a window left open, which it closes on giving up.
                 [](WindowImplBase&, HWND) { return false; }},
                [&] { compressors ? (void)ShowCompressorsOnWnd(nullptr, controller) : OpenMixerWnd(nullptr, controller); },
                50);
            EXPECT_TRUE(result.failedStep.empty()) << "the window stayed open";
            EXPECT_EQ(nullptr, CMixerWnd::Current());
            EXPECT_EQ(nullptr, CCompressorsOnWnd::Current());
        }
    }
}

TEST_F(MixerWindow, PhaseButtonSendsItsRow)
{
    const auto phase = Run(4, kInputPhase, 1, {[&](WindowImplBase& w, HWND h) {
        dialogs::Click(w, h, L"in_phase_3");
        return true;
    }});
    ASSERT_EQ(1u, phase.size());
    EXPECT_EQ((std::vector<uint8_t>{0, 4, 3, 3, 1}), phase[0].data);
    EXPECT_EQ(1, profile().inMixPhase[4][3]);
}

std::vector<std::string> Signature(const std::vector<sim::Frame>& frames)
{
    sim::FrameSignature signature;
    for (const sim::Frame& f : frames) signature.Add(f.subcommand, f.data);
    return signature.Tokens();
}

// The mixer's bridge button is the outputs page's bridge: the twin becomes a
// copy of the first channel (bands, filters, levels, mix, speaker), and
// separating the pair empties both; both columns show the result.
TEST_F(MixerWindow, BridgeButtonCopiesTheChannelAndSeparatingEmptiesBoth)
{
    profile().scene = 0;
    profile().outputs[12] = 22;
    profile().channels[12].gain = -4.0f;
    profile().inputs[4][12] = 1 << 2;
    profile().inputs[4][13] = 0;
    profile().inputMixVolume[4][2][12] = 40;
    const size_t mark = unit().ReceivedFrames().size();
    size_t bridged = 0;
    std::wstring twin, firstAfter;
    Run(4, kBridge, 2, {
        [&](WindowImplBase& w, HWND h) {
            dialogs::Click(w, h, L"ch_bridge_6");
            return true;
        },
        [&](WindowImplBase& w, HWND h) {
            if (FramesOf(kBridge, mark).empty() || !controller.Device().IsQueueIdle()) return false;
            bridged = unit().ReceivedFrames().size();
            twin = TextOf(w, L"box_edit_13_2");
            dialogs::Click(w, h, L"ch_bridge_6");
            return true;
        },
        [&](WindowImplBase& w, HWND) {
            if (FramesOf(kBridge, mark).size() < 2 || !controller.Device().IsQueueIdle()) return false;
            firstAfter = TextOf(w, L"box_edit_12_2");
            return true;
        },
    });
    const std::vector<sim::Frame> all = unit().ReceivedFrames();
    ASSERT_GT(bridged, mark);
    const std::vector<std::string> expected = {
        "4C:00 00 08 00 00 00 00 00 00 01 00", "06@13*11", "05@13*2", "12@13", "08@13", "07@13", "24@13*108", "09@13",
        "0D:00 00 0D 0D 16", "05@13*2", "08@13", "05@13*2", "0A@13",
        "34:00 00 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", "09@13*2"};
    EXPECT_EQ(expected, Signature({all.begin() + static_cast<long>(mark), all.begin() + static_cast<long>(bridged)}));
    EXPECT_EQ(L"40", twin);
    EXPECT_EQ(L"0", firstAfter);
    EXPECT_EQ(0, profile().bridgeOutputs[6]);
    EXPECT_EQ(0, profile().outputs[13]);
    EXPECT_EQ(0, profile().inputs[4][12]);
}

} // namespace
