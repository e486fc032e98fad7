// Scene names through the system's code page, as the program converts them.
#include <gtest/gtest.h>

#include "app/tuning/TuningModel.h"
#include "base/AnsiText.h"

namespace {

TEST(SceneNameAnsi, SixteenUnitBytesFillTheSlotAndComeBack) {
    TuningModel m;
    const char fromUnit[] = "0123456789abcdefXYZ";  // 16 name bytes, no terminator among them
    ASSERT_TRUE(m.StoreUnitSceneName(3, reinterpret_cast<const uint8_t*>(fromUnit), 16, AnsiToWide));
    EXPECT_EQ(m.SceneNameText(3), L"01234567");
    UnitSceneName out;
    ASSERT_TRUE(m.ToUnitSceneName(3, out, WideToAnsi));
    EXPECT_STREQ(out.data(), "01234567");
    m.SetSceneName(4, L"Stage");
    ASSERT_TRUE(m.ToUnitSceneName(4, out, WideToAnsi));
    EXPECT_STREQ(out.data(), "Stage");
    EXPECT_EQ(out[15], 0) << "the rest of the 16 bytes is zero";
    EXPECT_EQ(TuningModel::UnstorableChars(L"Tab\tName\x7f", WideToAnsi, AnsiToWide), L"\t\x7f");
}

}  // namespace
