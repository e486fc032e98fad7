#include "app/tuning/OutputCode.h"

#include <cwchar>

namespace {

struct OutputCodeInfo {
    const wchar_t* itemName;
    const wchar_t* speakerLabel;
    int group;  // speaker group, -1 none
    int rangeMask;  // bit 2 high, bit 1 mid, bit 0 low
};

enum Group { kFrontLeft, kFrontRight, kRearLeft, kRearRight, kCenter, kSub };

const OutputCodeInfo kCodes[kOutputCodeCount] = {
    {L"output_item_empty", L"${empty}", kFrontLeft, 0},
    {L"output_menu_front_left_high_freq", L"${front_left_tweeter}", kFrontLeft, 4},
    {L"output_menu_front_left_mid_freq", L"${front_left_midrange}", kFrontLeft, 2},
    {L"output_menu_front_left_low_freq", L"${front_left_woofer}", kFrontLeft, 1},
    {L"output_menu_front_left_mid_high_freq", L"${front_left_mid_twee}", kFrontLeft, 6},
    {L"output_menu_front_left_mid_low_freq", L"${front_left_mid_woof}", kFrontLeft, 3},
    {L"output_menu_front_left_all_freq", L"${front_left_full}", kFrontLeft, 7},
    {L"output_menu_front_right_high_freq", L"${front_right_tweeter}", kFrontRight, 4},
    {L"output_menu_front_right_mid_freq", L"${front_right_midrange}", kFrontRight, 2},
    {L"output_menu_front_right_low_freq", L"${front_right_woofer}", kFrontRight, 1},
    {L"output_menu_front_right_mid_high_freq", L"${front_right_mid_twee}", kFrontRight, 6},
    {L"output_menu_front_right_mid_low_freq", L"${front_right_mid_woof}", kFrontRight, 3},
    {L"output_menu_front_right_all_freq", L"${front_right_full}", kFrontRight, 7},
    {L"output_menu_rear_left_high_freq", L"${rear_left_tweeter}", kRearLeft, 4},
    {L"output_menu_rear_left_low_freq", L"${rear_left_woofer}", kRearLeft, 1},
    {L"output_menu_rear_left_all_freq", L"${rear_left_full}", kRearLeft, 7},
    {L"output_menu_rear_right_high_freq", L"${rear_right_tweeter}", kRearRight, 4},
    {L"output_menu_rear_right_low_freq", L"${rear_right_woofer}", kRearRight, 1},
    {L"output_menu_rear_right_all_freq", L"${rear_right_full}", kRearRight, 7},
    {L"output_menu_center_high_freq", L"${center_tweeter}", kCenter, 4},
    {L"output_menu_center_low_freq", L"${center_woofer}", kCenter, 1},
    {L"output_menu_center_all_freq", L"${center_full}", kCenter, 7},
    {L"output_menu_subwoof_left", L"${left_subwoofer_freq}", kSub, 4},
    {L"output_menu_subwoof_right", L"${right_subwoofer_freq}", kSub, 2},
    {L"output_menu_subwoof_low", L"${subwoofer_freq}", kSub, 7},
    {L"output_menu_rear_left_mid_freq", L"${rear_left_mid}", kRearLeft, 2},
    {L"output_menu_rear_right_mid_freq", L"${rear_right_mid}", kRearRight, 2},
    {L"output_menu_front_center_all_freq", L"${front_center_all}", -1, 7},
    {L"output_menu_rear_center_all_freq", L"${rear_center_all}", -1, 7},
};

bool InRange(int code) { return code >= 0 && code < kOutputCodeCount; }

}  // namespace

const OutputMenuRow kOutputMenuRows[kOutputMenuRowCount] = {
    {L"output_menu_front", L"${front}", L""},
    {L"output_menu_front_left", L"${left}", L""},
    {L"output_menu_front_left_high_freq", L"${tweeter}", L"${front_left_tweeter}"},
    {L"output_menu_front_left_mid_freq", L"${midrange}", L"${front_left_midrange}"},
    {L"output_menu_front_left_low_freq", L"${woofer}", L"${front_left_woofer}"},
    {L"output_menu_front_left_mid_high_freq", L"${midrange_tweeter}", L"${front_left_mid_twee}"},
    {L"output_menu_front_left_mid_low_freq", L"${midrange_woofer}", L"${front_left_mid_woof}"},
    {L"output_menu_front_left_all_freq", L"${full}", L"${front_left_full}"},
    {L"output_menu_front_right", L"${right}", L""},
    {L"output_menu_front_right_high_freq", L"${tweeter}", L"${front_right_tweeter}"},
    {L"output_menu_front_right_mid_freq", L"${midrange}", L"${front_right_midrange}"},
    {L"output_menu_front_right_low_freq", L"${woofer}", L"${front_right_woofer}"},
    {L"output_menu_front_right_mid_high_freq", L"${midrange_tweeter}", L"${front_right_mid_twee}"},
    {L"output_menu_front_right_mid_low_freq", L"${midrange_woofer}", L"${front_right_mid_woof}"},
    {L"output_menu_front_right_all_freq", L"${full}", L"${front_right_full}"},
    {L"output_menu_front_center", L"${center}", L""},
    {L"output_menu_front_center_all_freq", L"${full}", L"${front_center_all}"},
    {L"output_menu_rear", L"${rear}", L""},
    {L"output_menu_rear_left", L"${left}", L""},
    {L"output_menu_rear_left_high_freq", L"${tweeter}", L"${rear_left_tweeter}"},
    {L"output_menu_rear_left_mid_freq", L"${midrange}", L"${rear_left_mid}"},
    {L"output_menu_rear_left_low_freq", L"${woofer}", L"${rear_left_woofer}"},
    {L"output_menu_rear_left_all_freq", L"${full}", L"${rear_left_full}"},
    {L"output_menu_rear_right", L"${right}", L""},
    {L"output_menu_rear_right_high_freq", L"${tweeter}", L"${rear_right_tweeter}"},
    {L"output_menu_rear_right_mid_freq", L"${midrange}", L"${rear_right_mid}"},
    {L"output_menu_rear_right_low_freq", L"${woofer}", L"${rear_right_woofer}"},
    {L"output_menu_rear_right_all_freq", L"${full}", L"${rear_right_full}"},
    {L"output_menu_rear_center", L"${center}", L""},
    {L"output_menu_rear_center_all_freq", L"${full}", L"${rear_center_all}"},
    {L"output_menu_center", L"${center}", L""},
    {L"output_menu_center_high_freq", L"${tweeter}", L"${center_tweeter}"},
    {L"output_menu_center_low_freq", L"${woofer}", L"${center_woofer}"},
    {L"output_menu_center_all_freq", L"${full}", L"${center_full}"},
    {L"output_menu_subwoof", L"${subwoofer}", L""},
    {L"output_menu_subwoof_left", L"${left_subwoofer}", L"${left_subwoofer_freq}"},
    {L"output_menu_subwoof_right", L"${right_subwoofer}", L"${right_subwoofer_freq}"},
    {L"output_menu_subwoof_low", L"${woofer}", L"${subwoofer_freq}"},
    {L"output_item_empty", L"${empty}", L"${empty}"},
    {L"", L"", L""},
};

const wchar_t* GetOutputItemName(int code) {
    return InRange(code) ? kCodes[code].itemName : nullptr;
}

int GetOutputCodeByName(const wchar_t* name) {
    if (!name) return -1;
    for (int code = 0; code < kOutputCodeCount; ++code) {
        if (std::wcscmp(kCodes[code].itemName, name) == 0) return code;
    }
    return -1;
}

const wchar_t* GetSpeakerTextByItemName(const wchar_t* name) {
    if (!name) return nullptr;
    for (const OutputMenuRow& row : kOutputMenuRows) {
        if (std::wcscmp(row.itemName, name) == 0) return row.speakerLabel;
    }
    return nullptr;
}

const wchar_t* GetOutputSpeakerText(int code) {
    const wchar_t* name = GetOutputItemName(code);
    return name ? GetSpeakerTextByItemName(name) : nullptr;
}

const wchar_t* GetOutputSpeakerTextOrEmpty(int code) {
    const wchar_t* text = GetOutputSpeakerText(code);
    return text ? text : kCodes[0].speakerLabel;
}

int GetPairedOutputCode(int code) {
    if (code >= 1 && code <= 6) return code + 6;
    if (code >= 7 && code <= 12) return code - 6;
    if (code >= 13 && code <= 15) return code + 3;
    if (code >= 16 && code <= 18) return code - 3;
    if (code == 22) return 23;
    if (code == 23) return 22;
    if (code == 25) return 26;
    if (code == 26) return 25;
    return -1;
}

bool OutputCodesConflict(int code, int other) {
    if (!InRange(code) || !InRange(other)) return false;
    const OutputCodeInfo& a = kCodes[code];
    const OutputCodeInfo& b = kCodes[other];
    if (a.group < 0) return false;
    // Code 0 sits in the front-left group but holds no range, so it blocks
    // nothing and nothing blocks it.
    bool sameGroup = a.group == b.group && other != 0;
    return sameGroup && (a.rangeMask & b.rangeMask) != 0;
}
