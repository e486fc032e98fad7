#include "ConnectHost.h"

#include <cstdio>
#include <cwchar>

sim::UnitModel& Unit()
{
    static sim::UnitModel* model = new sim::UnitModel(sim::SimUnit::Instance());
    return *model;
}

std::string FrameText(const sim::Frame& f)
{
    char head[16];
    snprintf(head, sizeof(head), "%02x %02x %02x ", f.type, f.subcommand, f.optype);
    std::string text = head;
    for (uint8_t byte : f.data) {
        snprintf(head, sizeof(head), "%02x", byte);
        text += head;
    }
    return text;
}

std::vector<std::string> ReceivedCommands()
{
    std::vector<std::string> frames;
    for (const sim::Exchange& e : Unit().Exchanges()) frames.push_back(FrameText(e.command));
    return frames;
}

// The controls the controller drives, one strip per channel and 31 bands.
std::wstring CConnectHost::Layout()
{
    std::wstring xml = L"<Window size=\"1200,900\"><VerticalLayout>"
                       L"<SButton name=\"btnConnect\" height=\"20\"/>"
                       L"<Combo name=\"btn_input_source\" width=\"120\" height=\"20\">";
    const wchar_t* sources[] = {L"source_opt", L"source_coax", L"source_bt", L"source_aux", L"source_low",
                                L"source_hi",  L"source_dmp",  L"source_udp", L"source_scp"};
    for (const wchar_t* s : sources) xml += std::wstring(L"<ListLabelElement name=\"") + s + L"\" text=\"s\"/>";
    xml += L"</Combo><Slider name=\"slider_main_volume\" height=\"10\"/><Edit name=\"edit_main_volume\" height=\"10\"/>"
           L"<CheckBox name=\"main_mute\" height=\"10\"/><Edit name=\"hp_freq\" height=\"10\"/>"
           L"<Edit name=\"lp_freq\" height=\"10\"/>";
    for (const wchar_t* combo : {L"hp_type", L"lp_type", L"hp_slop", L"lp_slop"}) {
        xml += std::wstring(L"<Combo name=\"") + combo + L"\" height=\"10\">";
        for (int i = 0; i < 9; ++i) xml += L"<ListLabelElement text=\"i\"/>";
        xml += L"</Combo>";
    }
    wchar_t row[1024];
    for (int b = 0; b < 31; ++b) {
        _snwprintf(row, 1023,
                   L"<HorizontalLayout height=\"8\"><Edit name=\"eq_freq_%d\"/><Edit name=\"eq_q_%d\"/>"
                   L"<Edit name=\"eq_gain_%d\"/><Slider name=\"eq_slider_%d\" min=\"-180\" max=\"120\"/></HorizontalLayout>",
                   b, b, b, b);
        xml += row;
    }
    for (int ch = 0; ch < 16; ++ch) {
        _snwprintf(row, 1023,
                   L"<HorizontalLayout height=\"8\"><SButton name=\"ch_enable_%d\" userdata=\"%d\"/>"
                   L"<Button name=\"ch_output_btn_%d\"/><Slider name=\"slider_ch_volume_%d\"/>"
                   L"<Edit name=\"edit_ch_volume_%d\"/><CheckBox name=\"ch_mute_%d\"/><CheckBox name=\"ch_phase_%d\"/>"
                   L"<CheckBox name=\"ch_solo_%d\"/><Edit name=\"edit_ch_delay_%d\"/></HorizontalLayout>",
                   ch, ch, ch, ch, ch, ch, ch, ch, ch);
        xml += row;
    }
    return xml + L"</VerticalLayout></Window>";
}
