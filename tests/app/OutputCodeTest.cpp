#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

#include "app/tuning/OutputCode.h"
#include "app/tuning/SceneProfile.h"

namespace {

std::wstring Text(const wchar_t* text) { return text ? text : L"(null)"; }

TEST(OutputCode, EveryCodeRoundTripsThroughItsItemName) {
    for (int code = 0; code < kOutputCodeCount; ++code) {
        SCOPED_TRACE(code);
        const wchar_t* name = GetOutputItemName(code);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(GetOutputCodeByName(name), code);
        const wchar_t* label = GetOutputSpeakerText(code);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(std::wcsncmp(label, L"${", 2), 0) << "every code has a label key in the menu table";
    }
}

TEST(OutputCode, LookupsOfNamesAndCodes) {
    struct { const wchar_t* name; int code; const wchar_t* speaker; } names[] = {
        {L"output_menu_front", -1, L""},
        {L"output_menu_rear", -1, L""},
        {L"output_item_empty", 0, L"${empty}"},
        {L"output_menu_rear_left_mid_freq", 25, L"${rear_left_mid}"},
        {L"output_menu_subwoof_low", 24, L"${subwoofer_freq}"},
        {L"output_menu_rear_center_all_freq", 28, L"${rear_center_all}"},
        {L"no_such_item", -1, nullptr},
    };
    int row = 0;
    for (const auto& tc : names) {
        SCOPED_TRACE(row++);
        EXPECT_EQ(GetOutputCodeByName(tc.name), tc.code);
        EXPECT_EQ(Text(GetSpeakerTextByItemName(tc.name)), Text(tc.speaker));
    }
    EXPECT_EQ(GetOutputCodeByName(nullptr), -1);
    EXPECT_EQ(Text(GetOutputSpeakerText(25)), L"${rear_left_mid}");
    EXPECT_EQ(Text(GetOutputSpeakerText(1)), L"${front_left_tweeter}");
    EXPECT_EQ(GetOutputSpeakerText(29), nullptr);
    EXPECT_EQ(GetOutputSpeakerText(-1), nullptr);
    EXPECT_EQ(Text(GetOutputSpeakerTextOrEmpty(29)), L"${empty}");
    EXPECT_EQ(GetOutputItemName(29), nullptr);
    EXPECT_EQ(std::wcslen(kOutputMenuRows[kOutputMenuRowCount - 1].itemName), 0u);
}

TEST(OutputCode, LeftRightPartners) {
    const int partner[] = {-1, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 16, 17, 18, 13, 14, 15,
                           -1, -1, -1, 23, 22, -1, 26, 25, -1, -1, -1};
    for (int code = 0; code <= 29; ++code) EXPECT_EQ(GetPairedOutputCode(code), partner[code]) << code;
    EXPECT_EQ(GetPairedOutputCode(-1), -1);
}

struct FreeCase {
    const char* name;
    int otherChannel;  // channel given otherCode; -1 leaves the defaults
    int otherCode;
    int code, ch;
    bool free;
};

TEST(SceneProfile, OutputCodeFreeFollowsGroupsAndRanges) {
    const FreeCase cases[] = {
        {"mid-high vs mid", 5, 2, 4, 0, false},
        {"mid-high vs low", 5, 3, 4, 0, true},
        {"other side", 5, 8, 2, 0, true},
        {"own channel ignored", 0, 2, 2, 0, true},
        {"full blocks woofer", 5, 6, 3, 0, false},
        {"27 always free", 5, 27, 27, 0, true},
        {"28 with 28 elsewhere", 5, 28, 28, 0, true},
        {"rear mid vs rear full", 5, 15, 25, 0, false},
        {"rear mid vs rear tweeter", 5, 13, 25, 0, true},
        {"sub left vs sub low", 5, 24, 22, 0, false},
        {"sub left vs sub right", 5, 23, 22, 0, true},
        {"empty always free", 5, 6, 0, 0, true},
        {"empty elsewhere blocks nothing", 5, 0, 6, 0, true},
        {"unknown code", 5, 6, 40, 0, true},
    };
    for (const FreeCase& tc : cases) {
        SCOPED_TRACE(tc.name);
        auto p = std::make_unique<SceneProfile>();
        p->outputs.fill(27);  // 27 conflicts with nothing
        p->outputs[tc.otherChannel] = tc.otherCode;
        EXPECT_EQ(p->IsOutputCodeFree(tc.code, tc.ch), tc.free);
        EXPECT_TRUE(p->IsOutputCodeUsed(tc.otherCode));
    }
    auto p = std::make_unique<SceneProfile>();
    EXPECT_FALSE(p->IsOutputCodeUsed(5));
    EXPECT_FALSE(p->IsOutputCodeFree(2, 0)) << "channel 2 holds 2 by default";
}

TEST(SceneProfile, PairOnSameSide) {
    struct { const char* name; int chA, codeA, chB, codeB; bool same; } cases[] = {
        {"both in 0-5", 0, 1, 3, 7, true},
        {"both in 6-15", 6, 25, 15, 26, true},
        {"across the sides", 5, 13, 6, 16, false},
        {"no partner codes", 0, 19, 1, 20, false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        auto p = std::make_unique<SceneProfile>();
        p->outputs.fill(0);
        p->outputs[tc.chA] = tc.codeA;
        p->outputs[tc.chB] = tc.codeB;
        EXPECT_EQ(p->HasPairOnSameSide(), tc.same);
    }
    EXPECT_TRUE(std::make_unique<SceneProfile>()->HasPairOnSameSide()) << "defaults pair 1 and 7 on channels 0 and 1";
}

}  // namespace
