#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/tuning/SceneProfile.h"

namespace {

TEST(CrossoverParams, SettersClampOutOfRangeValues) {
    using C = CrossoverParams;
    struct Case { void (C::*set)(int32_t); int32_t in; int32_t (C::*get)() const; int32_t out; };
    const Case cases[] = {
        {&C::SetHpFreq, 19, &C::GetHpFreq, 20},      {&C::SetHpFreq, 20001, &C::GetHpFreq, 20},
        {&C::SetHpFreq, 20000, &C::GetHpFreq, 20000}, {&C::SetLpFreq, 25000, &C::GetLpFreq, 20},
        {&C::SetLpFreq, 20, &C::GetLpFreq, 20},      {&C::SetLpFreq, 19999, &C::GetLpFreq, 19999},
        {&C::SetHpType, 3, &C::GetHpType, 3},        {&C::SetHpType, 4, &C::GetHpType, 1},
        {&C::SetLpType, 0, &C::GetLpType, 1},        {&C::SetLpType, 4, &C::GetLpType, 1},
        {&C::SetLpSlope, -2, &C::GetLpSlope, 0},     {&C::SetLpSlope, -2, &C::GetLpBypass, 1},
        {&C::SetHpSlope, 0, &C::GetHpBypass, 1},     {&C::SetHpSlope, 5, &C::GetHpSlope, 5},
        {&C::SetHpSlope, 5, &C::GetHpBypass, 0},     {&C::SetLpSlope, 0, &C::GetLpBypass, 1},
    };
    int row = 0;
    for (const Case& tc : cases) {
        SCOPED_TRACE(row++);
        C c(1000, 2, 3, 5000, 2, 3);
        (c.*tc.set)(tc.in);
        EXPECT_EQ((c.*tc.get)(), tc.out);
        EXPECT_EQ(c.bpType, 3) << "setters leave bpType alone";
    }
}

struct CrossoverRowCase {
    int code;
    int hpFs, hpSlope, lpFs, lpSlope, type, bpType;
};

TEST(DefaultCrossover, EveryCodeTakesItsRow) {
    const CrossoverRowCase cases[] = {
        {0, 20, 0, 20000, 0, 3, 0},      {1, 3400, 2, 20000, 0, 3, 1},  {7, 3400, 2, 20000, 0, 3, 1},
        {2, 600, 2, 1900, 2, 3, 3},      {8, 600, 2, 1900, 2, 3, 3},    {3, 70, 3, 320, 2, 3, 3},
        {9, 70, 3, 320, 2, 3, 3},        {4, 600, 2, 20000, 0, 3, 1},   {10, 600, 2, 20000, 0, 3, 1},
        {5, 70, 2, 1900, 2, 3, 3},       {11, 70, 2, 1900, 2, 3, 3},    {6, 20, 0, 20000, 0, 3, 0},
        {12, 20, 0, 20000, 0, 3, 0},     {13, 3400, 2, 20000, 0, 3, 1}, {16, 3400, 2, 20000, 0, 3, 1},
        {19, 3400, 2, 20000, 0, 3, 1},   {14, 70, 3, 320, 2, 3, 3},     {17, 70, 3, 320, 2, 3, 3},
        {20, 70, 3, 320, 2, 3, 3},       {15, 20, 0, 20000, 0, 3, 0},   {18, 20, 0, 20000, 0, 3, 0},
        {21, 20, 0, 20000, 0, 3, 0},     {22, 30, 4, 50, 2, 1, 3},      {23, 30, 4, 50, 2, 1, 3},
        {24, 30, 4, 50, 2, 1, 3},        {25, 20, 0, 20000, 0, 3, 0},   {28, 20, 0, 20000, 0, 3, 0},
        {-1, 20, 0, 20000, 0, 3, 0},     {1000, 20, 0, 20000, 0, 3, 0},
    };
    for (const CrossoverRowCase& tc : cases) {
        SCOPED_TRACE(tc.code);
        CrossoverParams c = GetDefaultCrossover(tc.code);
        EXPECT_EQ(c.hp.fs, tc.hpFs);
        EXPECT_EQ(c.hp.slope, tc.hpSlope);
        EXPECT_EQ(c.hp.bypass, tc.hpSlope == 0 ? 1 : 0);
        EXPECT_EQ(c.lp.fs, tc.lpFs);
        EXPECT_EQ(c.lp.slope, tc.lpSlope);
        EXPECT_EQ(c.lp.bypass, tc.lpSlope == 0 ? 1 : 0);
        EXPECT_EQ(c.hp.type, tc.type);
        EXPECT_EQ(c.lp.type, tc.type);
        EXPECT_EQ(c.bpType, tc.bpType);
    }
}

TEST(DefaultBandFreqs, TableFollowsTheBandCount) {
    struct Case { int count, size, first, tenth, last; };
    const Case cases[] = {
        {0, 11, 20, 10000, 20000}, {11, 11, 20, 10000, 20000}, {12, 21, 20, 450, 20000},
        {21, 21, 20, 450, 20000},  {22, 31, 20, 160, 20000},   {31, 31, 20, 160, 20000},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.count);
        BandFreqTable t = GetDefaultBandFreqs(tc.count);
        ASSERT_EQ(t.count, tc.size);
        EXPECT_EQ(t.freqs[0], tc.first);
        EXPECT_EQ(t.freqs[9], tc.tenth);
        EXPECT_EQ(t.freqs[t.count - 1], tc.last);
        for (int k = 1; k < t.count; ++k) EXPECT_LT(t.freqs[k - 1], t.freqs[k]);
    }
    EXPECT_EQ(GetDefaultBandFreqs(31).freqs[2], 31) << "third-octave 31.5 is kept as an integer";
}

TEST(ResetEqBands, WritesOnlyTheTablesBands) {
    EqBand bands[kMaxEqBands + 1];
    bands[11] = EqBand(3.0f, 1.0f, 777, 0);
    ResetEqBands(bands, 11);
    EXPECT_EQ(bands[10].freq, 20000);
    EXPECT_FLOAT_EQ(bands[10].Q, 5.8f);
    EXPECT_EQ(bands[11].freq, 777) << "rows past count are left alone";
    bands[kMaxEqBands] = EqBand(3.0f, 1.0f, 777, 0);
    ResetEqBands(bands, 40);
    EXPECT_EQ(bands[kMaxEqBands - 1].freq, 20000);
    EXPECT_EQ(bands[kMaxEqBands].freq, 777) << "a count beyond the table stops at 31";
}

TEST(SceneProfile, NewProfileHasItsDefaults) {
    auto p = std::make_unique<SceneProfile>();
    const OutputCode outputs[] = {1, 7, 2, 8, 13, 16, 25, 26, 19, 20, 3, 9, 14, 17, 22, 23};
    for (int c = 0; c < kOutputChannels; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(p->outputs[c], outputs[c]);
        EXPECT_EQ(p->outputs_bk[c], outputs[c]);
        EXPECT_EQ(p->GetEqSize(c), c < 12 ? 31 : 11);
        EXPECT_EQ(p->linkOutputs[c], -1);
        EXPECT_EQ(p->channels[c].bypass, 1);
        EXPECT_EQ(p->channels[c].compressorFlag, 1);
        EXPECT_EQ(p->compressorSettings.release[c], 30000);
        EXPECT_FLOAT_EQ(p->compressorSettings.value6[c], 24.0f);
        EXPECT_EQ(p->inputMixVolume[8][13][c], 100);
        EXPECT_EQ(p->crossSourceMix.source[3][c], kNoSecondSource);
    }
    const ChannelParams& ch0 = p->channels[0];
    EXPECT_EQ(ch0.crossover.hp.fs, 3400);
    EXPECT_EQ(ch0.crossover.hp.slope, 2);
    EXPECT_EQ(ch0.crossover.lp.fs, 20000);
    EXPECT_EQ(ch0.crossover.lp.bypass, 1);
    EXPECT_EQ(ch0.crossover.bpType, 1);
    EXPECT_EQ(p->GetEqBands(0)[30].freq, 20000);
    const EqBand& b = p->GetEqBands(12)[0];
    EXPECT_EQ(b.freq, 20);
    EXPECT_EQ(b.gain, 0.0f);
    EXPECT_FLOAT_EQ(b.Q, 5.8f);
    EXPECT_EQ(b.enable, 1);
    EXPECT_EQ(p->GetEqBands(12)[10].freq, 20000);
    EXPECT_EQ(p->GetEqBands(16), nullptr);
    EXPECT_EQ(p->GetEqBands(-1), nullptr);
    EXPECT_EQ(p->GetEqSize(16), 0);
    EXPECT_EQ(p->model, -1);
    EXPECT_EQ(p->inputThreshold, -60);
    EXPECT_EQ(p->soloChannel, -1);
    EXPECT_EQ(p->speakerOhm, 1);
    EXPECT_EQ(p->channelCount, 16);
    EXPECT_EQ(p->karaokeValues[0], 60);
    EXPECT_EQ(p->karaokeValues[7], 0);
    const int source4[] = {1, 2, 4, 8, 3, 3, 1, 2, 1, 2};
    const int source1[] = {1, 2, 1, 2, 3, 3, 1, 2, 1, 2};
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(p->inputs[4][c], source4[c]);
        EXPECT_EQ(p->inputs[5][c], source4[c]);
        EXPECT_EQ(p->inputs[1][c], source1[c]);
    }
}

TEST(SceneProfile, ResetKeepsLinkGroupsAndTheLastKaraokeCodes) {
    auto p = std::make_unique<SceneProfile>();
    p->linkSel[3] = 2;
    p->delayLinkSel[4] = 1;
    p->karaokeValues[0] = 5;
    p->karaokeValues[8] = 7;
    p->karaokeValues[9] = 9;
    p->channels[2].gain = -7.0f;
    p->GetEqBands(2)[5].gain = 4.0f;
    p->outputs[0] = 22;
    p->Reset();
    EXPECT_EQ(p->linkSel[3], 2);
    EXPECT_EQ(p->delayLinkSel[4], 1);
    EXPECT_EQ(p->karaokeValues[0], 60);
    EXPECT_EQ(p->karaokeValues[8], 7);
    EXPECT_EQ(p->karaokeValues[9], 9);
    EXPECT_EQ(p->channels[2].gain, 0.0f);
    EXPECT_EQ(p->GetEqBands(2)[5].gain, 0.0f);
    EXPECT_EQ(p->outputs[0], 1);
}

TEST(SceneProfile, CopiesAreSeparateProfiles) {
    auto a = std::make_unique<SceneProfile>();
    auto b = std::make_unique<SceneProfile>(*a);
    b->GetEqBands(3)[4].gain = -6.0f;
    b->channels[3].crossover.SetHpFreq(500);
    EXPECT_EQ(a->GetEqBands(3)[4].gain, 0.0f);
    EXPECT_EQ(a->channels[3].crossover.hp.fs, 600);
    *a = *b;
    b->GetEqBands(3)[4].gain = 2.0f;
    EXPECT_EQ(a->GetEqBands(3)[4].gain, -6.0f);
    EXPECT_EQ(a->GetEqBands(3), a->channels[3].bands.data());
}

TEST(SceneProfile, CopyOutConfigCopiesTheTargetsBandCountAndClamps) {
    auto p = std::make_unique<SceneProfile>();
    for (int k = 0; k < kMaxEqBands; ++k) p->GetEqBands(12)[k] = EqBand(-1.0f, 2.0f, 100 + k, 1);
    for (int k = 0; k < kMaxEqBands; ++k) p->GetEqBands(0)[k] = EqBand(3.0f, 4.0f, 1000 + k, 0);
    p->channels[0].crossover = CrossoverParams(5, 9, -3, 30000, 2, 4);  // out of range on purpose
    p->channels[0].bypass = 0;
    p->channels[13].crossover.bpType = 2;
    p->CopyOutConfig(0, 13);
    const ChannelParams& to = p->channels[13];
    EXPECT_EQ(to.bands[10].freq, 1010);
    EXPECT_EQ(to.bands[10].enable, 0);
    EXPECT_NE(to.bands[11].freq, 1011) << "only eqSize(to) bands are copied";
    EXPECT_EQ(to.crossover.hp.fs, 20);
    EXPECT_EQ(to.crossover.hp.type, 1);
    EXPECT_EQ(to.crossover.hp.slope, 0);
    EXPECT_EQ(to.crossover.hp.bypass, 1);
    EXPECT_EQ(to.crossover.lp.fs, 20);
    EXPECT_EQ(to.crossover.lp.type, 2);
    EXPECT_EQ(to.crossover.lp.slope, 4);
    EXPECT_EQ(to.crossover.bpType, 2) << "bpType is not copied";
    EXPECT_EQ(to.bypass, 0);
    p->CopyOutConfig(0, 16);  // out of range: nothing happens
    p->CopyOutConfig(-1, 3);
    EXPECT_EQ(p->channels[3].bands[0].freq, 20);
}

TEST(SceneProfile, MixConfigCopyAndClearTouchOnlyTheChannel) {
    auto p = std::make_unique<SceneProfile>();
    p->inputs[6][2] = 0x0F0;
    p->inputMixVolume[6][13][2] = 42;
    p->CopyMixConfig(2, 9);
    EXPECT_EQ(p->inputs[6][9], 0x0F0);
    EXPECT_EQ(p->inputMixVolume[6][13][9], 42);
    p->ClearMixConfig(9);
    for (int s = 0; s < kInputSources; ++s) {
        EXPECT_EQ(p->inputs[s][9], 0);
        for (int i = 0; i < kInputChannels; ++i) EXPECT_EQ(p->inputMixVolume[s][i][9], 0);
    }
    EXPECT_EQ(p->inputs[6][2], 0x0F0);
    EXPECT_EQ(p->inputMixVolume[6][13][8], 100);
    p->ClearMixConfig(16);
    p->CopyMixConfig(2, -1);
}

TEST(ModelHelpers, GroupsSourcesAndSearch) {
    struct { int a, b; bool same; } groups[] = {{0, 11, true}, {11, 12, false}, {12, 15, true}, {3, 14, false}};
    for (const auto& g : groups) EXPECT_EQ(IsSameEqGroup(g.a, g.b), g.same) << g.a << "," << g.b;
    const int extra[] = {2, 0, 2, 0, 8, 12, 2, 0, 0, 0};
    for (int s = 0; s < 10; ++s) EXPECT_EQ(GetInputExtraChannels(s), extra[s]) << s;
    EXPECT_EQ(GetInputExtraChannels(-1), 0);
    const int32_t values[] = {4, 5, 6};
    EXPECT_TRUE(ContainsValue(6, values, 3));
    EXPECT_FALSE(ContainsValue(6, values, 2));
    EXPECT_FALSE(ContainsValue(4, values, 0));
    EXPECT_FALSE(ContainsValue(4, values, -1));
}

}  // namespace
