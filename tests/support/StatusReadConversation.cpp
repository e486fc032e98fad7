#include "tests/support/StatusReadConversation.h"

#include <algorithm>

namespace sim {

bool RunStatusRead(DspDevice& device) {
    device.PC_Connect(1);
    if (!device.Hand_Connect()) return false;

    device.Get_Source();
    device.Get_Main_Volume();
    device.Get_Acc();
    device.Get_Subwoofer_Volume();
    device.Get_Mute();
    device.Get_Amp_Mute();
    device.Get_Rem_Out();
    device.Get_Spk_Ohm();
    device.Get_Noise_Gate();
    device.Get_Speaker_Config();
    device.GetSceneValid();

    device.Get_Delay(0, 0, 0, 15);
    device.Get_CH_Type(0, 0, 0, 15);
    device.Get_Ch_Solo(0, 0, 0, 15);
    device.Get_CH_Link(0);
    device.Get_CH_Lock(0);
    for (uint8_t ch = 0; ch < 16; ch += 4) device.Get_Filter(0, 0, ch, ch + 3);
    device.Get_PEQ_Bypass(0, 0, 0, 15);
    for (uint8_t ch = 0; ch < 16; ++ch) {
        const uint8_t bands = ch < 12 ? 31 : 11;
        for (uint8_t band = 0; band < bands; band += 7)
            device.Get_EQ(0, 0, ch, band, static_cast<uint8_t>(std::min(band + 6, bands - 1)));
    }
    device.Get_Trim(0, 0, 0, 15);
    device.Get_Mute_Ch(0, 0, 0, 15);
    device.Get_Phase(0, 0, 0, 15);
    device.Get_Ch_Solo(0, 0, 0, 15);
    for (uint8_t source = 0; source < 9; ++source) device.Get_Mix_Ch(0, source, 0, 15);
    const uint8_t inputsPerSource[9] = {4, 2, 4, 2, 10, 14, 4, 2, 2};
    for (uint8_t source = 0; source < 9; ++source)
        for (uint8_t in = 0; in < inputsPerSource[source]; ++in)
            device.Get_Input_Mix_CH_Trim(0, source, in, 0, 15);
    // The two channels just above each source's own mixer rows (the high
    // source keeps 10 rows).
    const uint8_t firstCrossChannel[9] = {2, 0, 2, 0, 8, 10, 2, 0, 0};
    for (uint8_t source = 0; source < 9; ++source)
        for (uint8_t k = 0; k < 2; ++k)
            device.Get_Cross_Source_Mix_CS47048(0, source, static_cast<uint8_t>(firstCrossChannel[source] + k));
    device.Get_Input_Threshold(0, 0, true);
    for (uint8_t scene = 1; scene <= 10; ++scene) device.GetSceneName(scene);
    device.Get_Ouput_Bridge(0, 0, 8);
    return true;
}

}  // namespace sim
