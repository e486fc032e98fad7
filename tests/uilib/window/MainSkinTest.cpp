#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "SkinSetup.h"
#include "SkinVariants.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/render/DibCanvas.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Label.h"
#include "uilib/control/Option.h"
#include "uilib/control/Progress.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/SkinDocumentLoader.h"
#include "uilib/core/SkinMarkup.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"
#include "uilib/layout/Container.h"

using namespace SkinUI;
using SkinUITest::PumpFor;

namespace {

// One element of a layout file as written: its tag, its attributes and
// whether a hidden element encloses it.
struct TElement {
    std::wstring tag;
    std::map<std::wstring, std::wstring> attributes;
    std::vector<std::wstring> rows; // texts of ListLabelElement children, "-" prefixed when hidden
    std::wstring Attribute(const std::wstring& name) const
    {
        const auto found = attributes.find(name);
        return found == attributes.end() ? std::wstring() : found->second;
    }
};

std::wstring Lower(std::wstring text)
{
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(towlower(ch));
    return text;
}

void CollectNamed(const CSkinMarkupNode& first, std::map<std::wstring, TElement>& named, std::vector<std::wstring>& twice)
{
    for (CSkinMarkupNode node = first; node.IsValid(); node = node.NextSibling()) {
        TElement element;
        element.tag = node.Name();
        for (int i = 0; i < node.AttributeCount(); ++i) {
            element.attributes[Lower(node.AttributeName(i))] = node.AttributeValue(i);
        }
        if (node.HasChildren()) {
            for (CSkinMarkupNode row = node.FirstChild(); row.IsValid(); row = row.NextSibling()) {
                if (CompareTextIgnoreCase(row.Name(), L"ListLabelElement") != 0) continue;
                wchar_t text[64] = {};
                wchar_t visible[8] = {};
                row.CopyAttributeValue(L"text", text, 64);
                const bool hidden = row.CopyAttributeValue(L"visible", visible, 8) && Lower(visible) == L"false";
                element.rows.push_back((hidden ? L"-" : L"") + std::wstring(text));
            }
            CollectNamed(node.FirstChild(), named, twice);
        }
        // Resource elements (fonts, styles) carry names of their own.
        const std::wstring name = element.Attribute(L"name");
        if (name.empty() || element.tag == L"Font" || element.tag == L"Style" || element.tag == L"Default") continue;
        if (named.count(name)) twice.push_back(name);
        named.emplace(name, element);
    }
}

std::map<std::wstring, TElement> MainLayoutElements(std::vector<std::wstring>& twice)
{
    std::map<std::wstring, TElement> named;
    const wchar_t* const files[] = {CResourceStore::GetInstance()->LayoutPathOf(L"XML_MAIN"),
                                    L"xml/channel_settings_6in_mixer.xml"};
    for (const wchar_t* file : files) {
        CSkinMarkup doc;
        if (file != nullptr && LoadSkinDocument(doc, file, nullptr)) CollectNamed(doc.Root(), named, twice);
    }
    return named;
}

enum class TIndex { None, Index, Code };

// Every control the main window looks up: name pattern (with the index as
// %d), how many, the tag the program needs, what userdata carries and whether
// it starts hidden.
struct TContract {
    const wchar_t* pattern;
    int count;
    const wchar_t* tag;
    TIndex userdata;
    bool hidden;
};

const TContract kContracts[] = {
    {L"btnConnect", 1, L"SButton", TIndex::None, false},
    {L"closebtn", 1, L"Button", TIndex::None, false},
    {L"minbtn", 1, L"Button", TIndex::None, false},
    {L"btn_scene", 1, L"Button", TIndex::None, false},
    {L"btn_option", 1, L"Button", TIndex::None, false},
    {L"btn_advance", 1, L"Button", TIndex::None, false},
    {L"btn_debug", 1, L"Button", TIndex::None, true},
    {L"channel_settings", 1, L"VerticalLayout", TIndex::None, false},
    {L"label_channel_name", 1, L"Label", TIndex::None, false},
    {L"btn_input_source", 1, L"Combo", TIndex::None, false},
    {L"slider_main_volume", 1, L"Slider", TIndex::None, false},
    {L"edit_main_volume", 1, L"Edit", TIndex::None, false},
    {L"main_mute", 1, L"CheckBox", TIndex::None, false},
    {L"slider_acc", 1, L"Slider", TIndex::None, false},
    {L"edit_acc", 1, L"Edit", TIndex::None, false},
    {L"btn_amp_onoff", 1, L"SButton", TIndex::None, false},
    {L"btn_rem_out1_onoff", 1, L"SButton", TIndex::None, false},
    {L"btn_rem_out2_onoff", 1, L"SButton", TIndex::None, false},
    {L"btn_2ohm_spk", 1, L"SButton", TIndex::None, false},
    {L"btn_noise_gate", 1, L"SButton", TIndex::None, false},
    {L"equalizer", 1, L"Curve", TIndex::None, false},
    {L"btn_arg_eq", 1, L"SButton", TIndex::None, false},
    {L"btn_bypass", 1, L"Button", TIndex::None, false},
    {L"btn_reset_eq", 1, L"Button", TIndex::None, false},
    {L"hp_type", 1, L"Combo", TIndex::None, false},
    {L"lp_type", 1, L"Combo", TIndex::None, false},
    {L"hp_slop", 1, L"Combo", TIndex::None, false},
    {L"lp_slop", 1, L"Combo", TIndex::None, false},
    {L"hp_freq", 1, L"Edit", TIndex::None, false},
    {L"lp_freq", 1, L"Edit", TIndex::None, false},
    {L"eq_slider_%d", 31, L"Slider", TIndex::Index, false},
    {L"eq_gain_%d", 31, L"Edit", TIndex::Index, false},
    {L"eq_freq_%d", 31, L"Edit", TIndex::Index, false},
    {L"eq_q_%d", 31, L"Edit", TIndex::Index, false},
    {L"pt_enable_%d", 31, L"SButton", TIndex::Index, false},
    {L"ch_enable_%d", 16, L"SButton", TIndex::Index, false},
    {L"ch_show_%d", 16, L"CheckBox", TIndex::Index, false},
    {L"ch_output_btn_%d", 16, L"Button", TIndex::Index, false},
    {L"slider_ch_volume_%d", 16, L"Slider", TIndex::Index, false},
    {L"edit_ch_volume_%d", 16, L"Edit", TIndex::Index, false},
    {L"ch_mute_%d", 16, L"CheckBox", TIndex::Index, false},
    {L"ch_solo_%d", 16, L"CheckBox", TIndex::Index, false},
    {L"ch_phase_%d", 16, L"CheckBox", TIndex::Index, false},
    {L"ch_synchronize_%d", 16, L"CheckBox", TIndex::Index, false},
    {L"delay_link_%d", 16, L"CheckBox", TIndex::Index, false},
    {L"edit_ch_delay_%d", 16, L"Edit", TIndex::Index, false},
    {L"slider_ch_delay_%d", 16, L"Slider", TIndex::Index, true},
    {L"delay_lable_%d", 16, L"Label", TIndex::None, false},
    {L"ch_bridge_%d", 8, L"SButton", TIndex::Index, false},
    {L"speaker_%d", 28, L"SButton", TIndex::Code, true},
    {L"spk_con_%d", 28, L"Container", TIndex::None, true},
    {L"spk_delay_%d", 28, L"Edit", TIndex::Code, false},
    {L"btn_delay_down", 1, L"Button", TIndex::None, false},
    {L"btn_delay_up", 1, L"Button", TIndex::None, false},
    {L"comb_ch_unit", 1, L"Combo", TIndex::None, false},
    {L"btn_lock_output", 1, L"SButton", TIndex::None, false},
    {L"btn_link_output", 1, L"SButton", TIndex::None, false},
    {L"btn_reset_link", 1, L"Button", TIndex::None, false},
    {L"btn_reset_output", 1, L"Button", TIndex::None, false},
};

std::wstring NameOf(const wchar_t* pattern, int index)
{
    wchar_t name[64];
    _snwprintf(name, 64, pattern, index);
    name[63] = L'\0';
    return name;
}

TEST(MainSkin, EveryControlTheProgramLooksUpHasItsNameTagIndexAndStartState)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    std::vector<std::wstring> twice;
    const std::map<std::wstring, TElement> named = MainLayoutElements(twice);
    // The name index keeps the first of two equal names: the second is lost.
    EXPECT_TRUE(twice.empty()) << twice.front().c_str();
    for (const TContract& contract : kContracts) {
        for (int i = 0; i < contract.count; ++i) {
            const std::wstring name = NameOf(contract.pattern, i);
            const auto found = named.find(name);
            ASSERT_NE(named.end(), found) << name.c_str();
            const TElement& element = found->second;
            EXPECT_EQ(0, CompareTextIgnoreCase(contract.tag, element.tag.c_str())) << name.c_str() << " is "
                                                                                    << element.tag.c_str();
            const std::wstring userdata = element.Attribute(L"userdata");
            if (contract.userdata == TIndex::Index) {
                EXPECT_EQ(std::to_wstring(i), userdata) << name.c_str();
            } else if (contract.userdata == TIndex::Code) {
                EXPECT_EQ(std::to_wstring(i + 1), userdata) << name.c_str();
            }
            EXPECT_EQ(contract.hidden, Lower(element.Attribute(L"visible")) == L"false") << name.c_str();
        }
    }
    // Routing: input row i, output column o.
    for (int i = 0; i < 12; ++i) {
        for (int o = 0; o < 16; ++o) {
            const std::wstring name = L"option_ch_in" + std::to_wstring(i) + L"_" + std::to_wstring(o);
            const auto found = named.find(name);
            ASSERT_NE(named.end(), found) << name.c_str();
            EXPECT_EQ(L"CheckBox", found->second.tag) << name.c_str();
        }
    }
}

// Slider ranges the unit's encodings need; a slider without sendmove never
// reports a drag.
struct TSliderRange {
    const wchar_t* pattern;
    int count;
    const wchar_t* min;
    const wchar_t* max;
    const wchar_t* step;
};

const TSliderRange kSliders[] = {
    {L"slider_main_volume", 1, L"-60", L"6", L""},
    {L"slider_acc", 1, L"0", L"30", L""},
    {L"eq_slider_%d", 31, L"-180", L"120", L""},
    {L"slider_ch_volume_%d", 16, L"-600", L"0", L"10"},
    {L"slider_ch_delay_%d", 16, L"0", L"15000", L"21"},
};

TEST(MainSkin, SlidersReportDragsWithinTheUnitsRanges)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    std::vector<std::wstring> twice;
    const std::map<std::wstring, TElement> named = MainLayoutElements(twice);
    for (const TSliderRange& slider : kSliders) {
        for (int i = 0; i < slider.count; ++i) {
            const std::wstring name = NameOf(slider.pattern, i);
            const auto found = named.find(name);
            ASSERT_NE(named.end(), found) << name.c_str();
            EXPECT_EQ(L"true", found->second.Attribute(L"sendmove")) << name.c_str();
            EXPECT_EQ(slider.min, found->second.Attribute(L"min")) << name.c_str();
            EXPECT_EQ(slider.max, found->second.Attribute(L"max")) << name.c_str();
            EXPECT_EQ(slider.step, found->second.Attribute(L"step")) << name.c_str();
        }
    }
    EXPECT_EQ(L"false", named.at(L"eq_slider_0").Attribute(L"hor"));
}

// Drop-down rows: the row index is the code the program and the unit use.
struct TComboRows {
    const wchar_t* name;
    std::vector<std::wstring> rows;
};

TEST(MainSkin, DropDownRowsStandAtTheirCodes)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    const TComboRows combos[] = {
        {L"btn_input_source",
         {L"${source_opt}", L"${source_coax}", L"${source_bt}", L"${source_aux}", L"${source_low}", L"${source_hi}",
          L"${source_dmp}", L"${source_udp}", L"${source_scp}"}},
        {L"hp_type", {L"-", L"${butterworth}", L"${linkwitz_riley}", L"${bessel}"}},
        {L"lp_type", {L"-", L"${butterworth}", L"${linkwitz_riley}", L"${bessel}"}},
        {L"hp_slop",
         {L"${off}", L"6dB/oct", L"12dB/oct", L"18dB/oct", L"24dB/oct", L"30dB/oct", L"36dB/oct", L"42dB/oct",
          L"48dB/oct"}},
        {L"comb_ch_unit", {L"${delay_unit_ms}", L"${delay_unit_cm}", L"${delay_unit_inch}"}},
    };
    std::vector<std::wstring> twice;
    const std::map<std::wstring, TElement> named = MainLayoutElements(twice);
    for (const TComboRows& combo : combos) {
        EXPECT_EQ(combo.rows, named.at(combo.name).rows) << combo.name;
    }
    EXPECT_EQ(named.at(L"hp_slop").rows, named.at(L"lp_slop").rows);
}

// The main window as the program builds it, with stand-ins for the
// application's own tags (the chart, selectable buttons), and the
// channel-settings file built into its container.
class CMainSkinWindow : public WindowImplBase {
public:
    const wchar_t* GetWndClassName() const override { return L"BrisaTestMainSkin"; }
    CUIString GetSkinXmlName() const override { return L"XML_MAIN"; }
    CControlUI* CreateCustomControl(const wchar_t* className) override
    {
        if (CompareTextIgnoreCase(className, L"SButton") == 0) return new COptionUI();
        if (CompareTextIgnoreCase(className, L"Curve") == 0) return new CLabelUI();
        return nullptr;
    }
    void OnUiBuilt() override
    {
        CControlUI* container = m_pm.FindControlByName(L"channel_settings");
        void* parent = container != nullptr ? container->FindInterface(L"IContainer") : nullptr;
        if (parent == nullptr) return;
        CDialogBuilder builder;
        builder.BuildFromSource(L"xml/channel_settings_6in_mixer.xml", nullptr, this, &m_pm,
                                static_cast<CContainerUI*>(container));
    }
};

// Visible controls that draw something of their own: not layouts.
void CollectVisibleLeaves(CControlUI* control, std::vector<CControlUI*>& leaves)
{
    if (control == nullptr || !control->GetVisibility()) return;
    void* container = control->FindInterface(L"IContainer");
    if (container == nullptr) {
        leaves.push_back(control);
        return;
    }
    IContainerUI* children = static_cast<IContainerUI*>(container);
    for (int i = 0; i < children->GetChildCount(); ++i) CollectVisibleLeaves(children->GetChildAt(i), leaves);
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::wstring Describe(CControlUI* control)
{
    const std::wstring name = control->GetControlName().CStr();
    return name.empty() ? std::wstring(control->GetTypeName()) + L" '" + control->GetTextContent().CStr() + L"'" : name;
}

// Whether the text, as the current language shows it, fits the control's
// width inside its text padding; a failure names the control.
bool TextFits(HDC dc, CControlUI& control, const wchar_t* text, const std::wstring& label)
{
    CLabelUI* face = static_cast<CLabelUI*>(control.FindInterface(L"Label"));
    if (face == nullptr) return true;
    const CUIString shown = CResourceStore::GetInstance()->LookupText(text);
    if (shown.IsEmpty()) return true;
    CPaintManagerUI* manager = control.GetPaintManager();
    const CUISize extent = CRenderKit::MeasureTextExtent(dc, manager, shown.CStr(), face->GetFont());
    CUIRect padding = face->GetTextPadding();
    manager->DpiScaler()->ScaleRectInPlace(padding);
    const RECT rc = control.GetPosition();
    const int room = rc.right - rc.left - padding.left - padding.right;
    if (extent.cx <= room) return true;
    ADD_FAILURE() << label.c_str() << ": " << Describe(&control).c_str() << " needs " << extent.cx << " px for '"
                  << shown.CStr() << "', has " << room;
    return false;
}

// The painted window for people to look at; larger than the test screen at
// 144 DPI, so it is taken from the off-screen painting.
void SavePng(const std::vector<uint32_t>& argb, int width, int height, const std::wstring& path)
{
    std::vector<uint8_t> rgba;
    rgba.reserve(argb.size() * 4);
    for (uint32_t pixel : argb) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                 static_cast<uint8_t>(pixel), 0xFF});
    }
    const std::vector<uint8_t> png = SkinUITest::EncodePng(width, height, rgba);
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(nullptr, file) << path.c_str();
    EXPECT_EQ(png.size(), fwrite(png.data(), 1, png.size(), file));
    fclose(file);
}

// Checks one built main window: size, colours, every visible control inside
// the window and apart from the others, every text fitting its control.
void CheckLayout(CMainSkinWindow& window, const std::wstring& label, int percent)
{
    CPaintManagerUI& manager = window.PaintManager();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(1230 * percent / 100, client.right) << label.c_str();
    EXPECT_EQ(650 * percent / 100, client.bottom) << label.c_str();

    // The channel-settings file is built into its container and shows there.
    CControlUI* channelName = manager.FindControlByName(L"label_channel_name");
    ASSERT_NE(nullptr, channelName) << label.c_str();
    EXPECT_EQ(&manager, channelName->GetPaintManager()) << label.c_str();
    const CUIRect named = channelName->GetPosition();
    EXPECT_GT(named.Width(), 0) << label.c_str();
    EXPECT_GT(named.Height(), 0) << label.c_str();

    std::vector<CControlUI*> leaves;
    CollectVisibleLeaves(manager.Root(), leaves);
    EXPECT_GT(leaves.size(), 300u) << label.c_str();
    HDC dc = GetDC(window);
    int overlaps = 0;
    int cut = 0;
    for (size_t i = 0; i < leaves.size(); ++i) {
        const RECT a = leaves[i]->GetPosition();
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom)
            << label.c_str() << ": " << Describe(leaves[i]).c_str() << " outside the window";
        for (size_t j = i + 1; j < leaves.size() && overlaps < 5; ++j) {
            if (!Overlap(a, leaves[j]->GetPosition())) continue;
            ++overlaps;
            ADD_FAILURE() << label.c_str() << ": " << Describe(leaves[i]).c_str() << " overlaps "
                          << Describe(leaves[j]).c_str();
        }
        if (leaves[i]->FindInterface(L"Progress") != nullptr) continue;
        if (cut < 5 && !TextFits(dc, *leaves[i], leaves[i]->GetTextContent().CStr(), label)) ++cut;
    }
    ReleaseDC(window, dc);

    // Painted off screen: nothing inside the border stays black.
    HBITMAP bitmap = CRenderKit::RenderRootToBitmap(&manager, client, nullptr, 0);
    ASSERT_NE(nullptr, bitmap) << label.c_str();
    const std::vector<uint32_t> pixels = SkinUITest::BitmapPixels(bitmap, client.right, client.bottom);
    DeleteObject(bitmap);
    SavePng(pixels, client.right, client.bottom, ScreenshotFolder() + L"xml_main_" + label + L".png");
    const int inset = 8 * percent / 100;
    int black = 0;
    for (int y = inset; y < client.bottom - inset; ++y) {
        for (int x = inset; x < client.right - inset; ++x) black += (pixels[y * client.right + x] & 0xFFFFFF) == 0;
    }
    EXPECT_EQ(0, black) << label.c_str();
}

// Texts the program writes into controls later: each must fit where it goes.
struct TProgramTexts {
    const wchar_t* control;
    std::vector<const wchar_t*> texts;
};

const TProgramTexts kProgramTexts[] = {
    {L"btnConnect", {L"${btn_connecting}", L"${btn_connected}", L"${btn_disconnected}"}},
    {L"btn_amp_onoff", {L"${amp_on}", L"${amp_off}"}},
    {L"btn_rem_out1_onoff", {L"${rem_out1_on}", L"${rem_out1_off}"}},
    {L"btn_rem_out2_onoff", {L"${rem_out2_on}", L"${rem_out2_off}"}},
    {L"btn_2ohm_spk", {L"${btn_2ohm_spk}", L"${btn_4ohm_spk}"}},
    {L"btn_noise_gate", {L"${btn_noise_gate_on}", L"${btn_noise_gate_off}"}},
    {L"btn_arg_eq", {L"${peq_mode}", L"${geq_mode}"}},
    {L"btn_bypass", {L"${bypass_eq}", L"${restore_eq}"}},
    {L"ch_phase_15", {L"${reverse phase}", L"${positive_phase}"}},
    {L"label_channel_name", {L"CH16"}},
    {L"edit_main_volume", {L"${off}", L"-59dB"}},
    {L"edit_acc", {L"${off}", L"30"}},
    {L"edit_ch_volume_15", {L"${off}", L"-59dB"}},
    {L"edit_ch_delay_15",
     {L"14.994 ms", L"514 cm", L"202 in", L"14.994 \u6beb\u79d2", L"514 \u5398\u7c73", L"202 \u82f1\u5bf8",
      L"14.994 \u043c\u0441", L"514 \u0441\u043c", L"202 \u2033"}},
    {L"hp_freq", {L"20000Hz"}},
    {L"eq_gain_30", {L"-18.0"}},
    {L"eq_freq_30", {L"20000"}},
    {L"eq_q_30", {L"9.00"}},
    {L"spk_delay_27", {L"14.994", L"514"}},
    {L"ch_output_btn_15",
     {L"${empty}", L"${front_left_tweeter}", L"${front_left_midrange}", L"${front_left_woofer}",
      L"${front_left_mid_twee}", L"${front_left_mid_woof}", L"${front_left_full}", L"${front_right_tweeter}",
      L"${front_right_midrange}", L"${front_right_woofer}", L"${front_right_mid_twee}", L"${front_right_mid_woof}",
      L"${front_right_full}", L"${rear_left_tweeter}", L"${rear_left_woofer}", L"${rear_left_full}",
      L"${rear_right_tweeter}", L"${rear_right_woofer}", L"${rear_right_full}", L"${center_tweeter}",
      L"${center_woofer}", L"${center_full}", L"${left_subwoofer_freq}", L"${right_subwoofer_freq}",
      L"${subwoofer_freq}", L"${rear_left_mid}", L"${rear_right_mid}", L"${front_center_all}", L"${rear_center_all}"}},
};

void CheckProgramTexts(CMainSkinWindow& window, const std::wstring& label)
{
    HDC dc = GetDC(window);
    for (const TProgramTexts& entry : kProgramTexts) {
        CControlUI* control = window.PaintManager().FindControlByName(entry.control);
        ASSERT_NE(nullptr, control) << entry.control;
        for (const wchar_t* text : entry.texts) TextFits(dc, *control, text, label);
    }
    ReleaseDC(window, dc);
}

// Shown on screen: the control and every container around it visible.
bool Shown(const CControlUI* control)
{
    for (; control != nullptr; control = control->GetParentControl()) {
        if (!control->GetVisibility()) return false;
    }
    return true;
}

void Click(HWND window, const CControlUI& control)
{
    const RECT rc = control.GetPosition();
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

// Axis labels beside the chart stand where the chart maps their value: a
// frequency on its logarithmic 20 Hz to 20 kHz axis, a gain on its +12 to
// -18 dB axis split at the zero line. The chart's plot is its whole control.
const struct {
    const wchar_t* name;
    double freq;  // 0: a gain label
    double gain;
} kAxisLabels[] = {
    {L"axis_hz_50", 50, 0},    {L"axis_hz_1000", 1000, 0}, {L"axis_hz_10000", 10000, 0}, {L"axis_db_10", 0, 10},
    {L"axis_db_0", 0, 0},      {L"axis_db_m5", 0, -5},     {L"axis_db_m15", 0, -15},
};

void CheckAxisLabels(CPaintManagerUI& manager, const std::wstring& label)
{
    const CUIRect chart = manager.FindControlByName(L"equalizer")->GetPosition();
    const double zero = chart.Height() * 12 / 30;
    for (const auto& row : kAxisLabels) {
        CControlUI* axis = manager.FindControlByName(row.name);
        ASSERT_NE(nullptr, axis) << row.name;
        const CUIRect rc = axis->GetPosition();
        if (row.freq > 0) {
            const double x = chart.left + chart.Width() * std::log10(row.freq / 20) / 3;
            EXPECT_NEAR(x, (rc.left + rc.right) / 2.0, 2.0) << label.c_str() << " " << row.name;
        } else {
            const double y = chart.top + zero - (row.gain > 0 ? zero * row.gain / 12 : (chart.Height() - zero) * row.gain / 18);
            EXPECT_NEAR(y, (rc.top + rc.bottom) / 2.0, 2.0) << label.c_str() << " " << row.name;
        }
    }
}

// The pages under the tab row: the tab that shows each and a control on it.
struct TPage {
    const wchar_t* tab;
    const wchar_t* member;
    const wchar_t* label;
};

const TPage kPages[] = {
    {L"tab_routing", L"option_ch_in11_15", L"routing"},
    {L"tab_outputs", L"btn_lock_output", L"outputs"},
    {L"tab_eq_bands", L"eq_slider_30", L"bands"},
};

TEST(MainSkin, EveryPageInEveryLanguageFitsAtOneHundredAndOneHundredFiftyPercent)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    ForEachLanguageAndDpi([](const wchar_t* language, int dpi) {
        CMainSkinWindow window;
        ASSERT_NE(nullptr, window.CreateNativeWindow(nullptr, L"Brisa DSP Audio", WS_POPUP, 0, 0, 0, 0, 0));
        ShowAtDpi(window, dpi);
        CPaintManagerUI& manager = window.PaintManager();
        const std::wstring label = std::wstring(language) + L"_" + std::to_wstring(dpi) + L"dpi";
        for (const TPage& page : kPages) {
            CControlUI* tab = manager.FindControlByName(page.tab);
            ASSERT_NE(nullptr, tab) << page.tab;
            Click(window, *tab);
            CControlUI* member = manager.FindControlByName(page.member);
            ASSERT_NE(nullptr, member) << page.member;
            EXPECT_TRUE(SkinUITest::PumpUntil([&] { return Shown(member); })) << label.c_str() << " " << page.tab;
            for (const TPage& other : kPages) {
                if (&other == &page) continue;
                EXPECT_FALSE(Shown(manager.FindControlByName(other.member))) << other.member;
            }
            // Every speaker position at once, as if all were taken: no two collide.
            for (int k = 0; k < 28; ++k) {
                for (const wchar_t* pattern : {L"speaker_%d", L"spk_con_%d", L"spk_delay_%d"}) {
                    manager.FindControlByName(NameOf(pattern, k).c_str())->SetVisibility(true);
                }
            }
            PumpFor(50);
            CheckLayout(window, label + L"_" + page.label, dpi * 100 / 96);
        }
        // The greyed looks of the shared styles: a linked pair's ticked link boxes, and filled volumes, disabled.
        for (int c = 0; c < 2; ++c) {
            auto* link = static_cast<COptionUI*>(manager.FindControlByName(NameOf(L"ch_synchronize_%d", c).c_str()));
            auto* volume =
                static_cast<CProgressUI*>(manager.FindControlByName(NameOf(L"slider_ch_volume_%d", c).c_str()));
            link->SetSelectedState(true, true), volume->SetValue(-100 - 200 * c);
            link->SetEnabledState(false), volume->SetEnabledState(false);
        }
        PumpFor(50);
        CheckLayout(window, label + L"_disabled", dpi * 100 / 96);
        CheckAxisLabels(manager, label);
        CheckProgramTexts(window, label);
        // The delay unit shows milliseconds until the installer picks another.
        EXPECT_EQ(0, static_cast<CComboUI*>(manager.FindControlByName(L"comb_ch_unit"))->GetSelectedIndex())
            << label.c_str();
        DestroyWindow(window);
    });
}

} // namespace
