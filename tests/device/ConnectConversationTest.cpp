// The application's whole connect conversation (PC_Connect, the handshake and
// every get of the status read) through DspDevice against the simulated unit:
// each value that reaches the main window equals what the unit holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "device/DspRecords.h"
#include "tests/support/PostedMessages.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimUnitModel.h"
#include "tests/support/StatusReadConversation.h"

namespace {

using MainWindow = sim::ReplyWindow;
using sim::Posted;

// Distinct values everywhere the status read looks.
void FillUnit(sim::UnitState& s) {
    s.unit.source = 0x53;
    s.unit.mainVolumeDb = -12;
    s.unit.subVolumeDb = -7;
    s.unit.mute = 1;
    s.unit.ampMute = 1;
    s.unit.remoteOut[0] = 3;
    s.unit.remoteOut[1] = 5;
    s.unit.speakerOhm = 1;
    s.unit.noiseGate = 1;
    s.unit.speakerConfig = 6;
    s.unit.inputThreshold = -42;
    s.unit.accDelay = 7;
    for (int scene = 1; scene <= 10; scene += 2) {
        s.store[scene].valid = true;
        std::memset(s.store[scene].name, 0, 16);
        std::memcpy(s.store[scene].name, "Scene", 5);
        s.store[scene].name[5] = static_cast<uint8_t>('0' + scene % 10);
    }
    sim::SceneParams& live = s.scene[0];
    live.linkMode = 1;
    const uint8_t pairs[] = {1, 0, 3, 2, 5, 4, 7, 6};
    std::memcpy(live.linkPairs, pairs, sizeof pairs);
    live.lock = 1;
    for (int ch = 0; ch < sim::kOutputs; ++ch) {
        sim::OutputChannel& out = live.out[ch];
        out.highPass = {static_cast<uint8_t>(1 + ch % 3), static_cast<uint16_t>(20 + 10 * ch), 2};
        out.lowPass = {2, static_cast<uint16_t>(20000 - 100 * ch), 4};
        for (int band = 0; band < sim::EqBandCount(ch); ++band)
            out.eq[band] = {static_cast<uint16_t>(20 + 600 * band + ch),
                            static_cast<uint16_t>(50 + 13 * band + ch),
                            static_cast<int16_t>(-180 + (7 * band + 3 * ch) % 300)};
        out.delayMicros = 1234u * ch + 7;
        out.gainDb = static_cast<int8_t>(6 - 2 * ch);
        out.mute = static_cast<uint8_t>((ch + 1) % 2);
        out.phase = static_cast<uint8_t>(ch % 2);
        out.solo = static_cast<uint8_t>(ch % 3 == 1);
        out.eqBypass = static_cast<uint8_t>(ch % 3 == 0);
        out.type = static_cast<uint8_t>(ch + 3);
    }
    for (int source = 0; source < sim::kSources; ++source) {
        for (int ch = 0; ch < sim::kOutputs; ++ch)
            live.mixMask[source][ch] = static_cast<uint16_t>(1u << ((source + ch) % 14) | source);
        for (int in = 0; in < sim::kInputs; ++in)
            for (int ch = 0; ch < sim::kOutputs; ++ch)
                live.inputMixTrim[source][in][ch] = static_cast<uint8_t>((7 * source + 3 * in + ch) % 101);
        for (int ch = 0; ch < sim::kCrossChannels; ++ch)
            live.cross[source][ch] = {static_cast<uint8_t>((source + 1) % 9), static_cast<uint8_t>(ch ^ 1)};
    }
    for (int i = 0; i < 8; ++i) live.bridge[i] = static_cast<uint8_t>(i % 2);
}

// The status read after a connect, in the application's order.
void RunConnect(DspDevice& device) {
    ASSERT_TRUE(sim::RunStatusRead(device));
    ASSERT_EQ(95, device.mDeviceModelId.load());
    ASSERT_EQ(1, device.mMcuNormalMode.load());
}

class ConnectConversationTest : public sim::SimDeviceTest {
protected:
    ConnectConversationTest() : SimDeviceTest(model, 5) {}
    void BeforeOpen() override {
        FillUnit(*model.Access());
        ASSERT_NE(nullptr, main.hwnd);
        device.SetDeviceConfig(95, 16, 14, 0, 0);
        device.SetMainWnd(main.hwnd);
    }

    sim::UnitModel model{unit()};
    MainWindow main;
};

TEST_F(ConnectConversationTest, EveryWaitedCommandGetsOneValueAnswer) {
    RunConnect(device);
    const std::vector<sim::Exchange> log = model.Exchanges();
    ASSERT_EQ(1u + 177u, log.size());
    EXPECT_EQ(0x1F, log[0].command.subcommand);
    EXPECT_TRUE(log[0].answer.empty()) << "PC_Connect is never answered";
    for (size_t i = 1; i < log.size(); ++i) {
        ASSERT_GE(log[i].answer.size(), 7u) << i;
        EXPECT_EQ(0xDD, log[i].answer[5]) << "command " << i << " sub " << int(log[i].command.subcommand);
        EXPECT_LE(log[i].answer[2], 60) << i;
    }
    EXPECT_TRUE(model.Snapshot().pcConnected);
}

TEST_F(ConnectConversationTest, EveryDecodedValueEqualsTheUnits) {
    RunConnect(device);
    main.Collect();
    const sim::UnitState s = model.Snapshot();
    const sim::SceneParams& live = s.scene[0];
    std::map<std::pair<UINT, WPARAM>, int> count;

    for (const Posted& m : main.messages) {
        ++count[{m.message, m.wParam}];
        const int32_t value = static_cast<int32_t>(m.lParam);
        if (m.message == WM_READ_MCU_VALUE) {
            if (m.wParam == 0x92) {
                EXPECT_EQ(7, value);
            } else if (m.wParam == 0x08) {
                const auto& r = MainWindow::As<dsp::McuHandshakeRecord>(m);
                EXPECT_EQ(95, r.modelId);
                EXPECT_EQ(1, r.masterVersion);
                EXPECT_EQ(25, r.slaveVersion);
            }
            continue;
        }
        if (m.message == WM_READ_FLASH_VALUE) {
            if (m.wParam == 0x0F) {
                EXPECT_EQ(0x155u, MainWindow::As<dsp::SceneValidRecord>(m).bitmap);
            } else if (m.wParam == 0x0B) {
                const auto& r = MainWindow::As<dsp::SceneNameRecord>(m);
                ASSERT_TRUE(r.index >= 0 && r.index < 10);
                uint8_t expected[16] = {};
                if (s.store[r.index + 1].valid) std::memcpy(expected, s.store[r.index + 1].name, 16);
                EXPECT_EQ(0, std::memcmp(expected, r.name, 16)) << "scene " << r.index + 1;
            }
            continue;
        }
        ASSERT_EQ(WM_READ_DSP_VALUE, m.message);
        switch (m.wParam) {
        case 0x01: EXPECT_EQ(0x53, value); break;
        case 0x02: EXPECT_EQ(-12, value); break;
        case 0x03: EXPECT_EQ(-7, value); break;
        case 0x04: case 0x3F: case 0x4B: case 0x4E: EXPECT_EQ(1, value); break;
        case 0x26: EXPECT_EQ(-42, value); break;
        case 0x35: EXPECT_EQ(6, MainWindow::As<dsp::DspSpeakerConfigRecord>(m).config); break;
        case 0x45: {
            const auto& r = MainWindow::As<dsp::DspRemoteOutRecord>(m);
            EXPECT_EQ(3, r.out1);
            EXPECT_EQ(5, r.out2);
            break;
        }
        case 0x05: {
            const auto& r = MainWindow::As<dsp::DspFilterRecord>(m);
            ASSERT_TRUE(r.ch >= 0 && r.ch < 16);
            const sim::OutputChannel& out = live.out[r.ch];
            EXPECT_EQ(out.highPass.type, r.hpType);
            EXPECT_EQ(out.highPass.freqHz, r.hpFreq);
            EXPECT_EQ(out.highPass.slope, r.hpSlope);
            EXPECT_EQ(out.lowPass.type, r.lpType);
            EXPECT_EQ(out.lowPass.freqHz, r.lpFreq);
            EXPECT_EQ(out.lowPass.slope, r.lpSlope);
            break;
        }
        case 0x06: {
            const auto& r = MainWindow::As<dsp::DspEqBandRecord>(m);
            ASSERT_TRUE(r.ch >= 0 && r.ch < 16 && r.band >= 0 && r.band < sim::EqBandCount(r.ch));
            const sim::EqBand& band = live.out[r.ch].eq[r.band];
            EXPECT_EQ(band.freqHz, r.freq);
            EXPECT_NEAR(band.qHundredths / 100.0, r.q, 1e-4);
            EXPECT_NEAR(band.gainTenthsDb / 10.0, r.gain, 1e-4) << r.ch << "/" << r.band;
            break;
        }
        case 0x07: {
            const auto& r = MainWindow::As<dsp::DspDelayRecord>(m);
            ASSERT_TRUE(r.ch >= 0 && r.ch < 16);
            EXPECT_NEAR(live.out[r.ch].delayMicros / 1000.0, r.delayMs, 1e-4);
            break;
        }
        case 0x08: {
            const auto& r = MainWindow::As<dsp::DspTrimRecord>(m);
            ASSERT_TRUE(r.ch >= 0 && r.ch < 16);
            EXPECT_EQ(live.out[r.ch].gainDb, r.trimDb);
            break;
        }
        case 0x09: case 0x0D: case 0x12: case 0x34: {
            const auto& r = MainWindow::As<dsp::DspChValueRecord>(m);
            ASSERT_TRUE(r.ch >= 0 && r.ch < 16);
            const sim::OutputChannel& out = live.out[r.ch];
            const int expected = m.wParam == 0x09 ? out.mute : m.wParam == 0x0D ? out.type
                               : m.wParam == 0x12 ? out.eqBypass : out.solo;
            EXPECT_EQ(expected, r.value) << std::hex << m.wParam << " ch " << r.ch;
            break;
        }
        case 0x0A: {
            const auto& r = MainWindow::As<dsp::DspChByteRecord>(m);
            ASSERT_TRUE(r.ch >= 0 && r.ch < 16);
            EXPECT_EQ(live.out[r.ch].phase, r.value);
            break;
        }
        case 0x0B: {
            const auto& r = MainWindow::As<dsp::DspMixRecord>(m);
            ASSERT_TRUE(r.source >= 0 && r.source < 9 && r.ch >= 0 && r.ch < 16);
            EXPECT_EQ(live.mixMask[r.source][r.ch], r.mask);
            break;
        }
        case 0x0E: {
            const auto& r = MainWindow::As<dsp::DspLinkRecord>(m);
            EXPECT_EQ(1, r.mode);
            EXPECT_EQ(0, std::memcmp(live.linkPairs, r.pairs, 8));
            break;
        }
        case 0x0F: EXPECT_EQ(1, MainWindow::As<dsp::DspLockRecord>(m).lock); break;
        case 0x24: {
            const auto& r = MainWindow::As<dsp::DspInputMixTrimRecord>(m);
            ASSERT_TRUE(r.source >= 0 && r.source < 9 && r.inputCh >= 0 && r.inputCh < 14);
            EXPECT_EQ(0, r.first);
            EXPECT_EQ(15, r.last);
            for (int ch = 0; ch < 16; ++ch)
                EXPECT_EQ(live.inputMixTrim[r.source][r.inputCh][ch], static_cast<uint8_t>(r.trim[ch]));
            break;
        }
        case 0x4D: {
            const auto& r = MainWindow::As<dsp::DspCrossSourceMixRecord>(m);
            ASSERT_TRUE(r.source < 9 && r.ch < sim::kCrossChannels);
            EXPECT_EQ(live.cross[r.source][r.ch].viceSource, r.viceSource);
            EXPECT_EQ(live.cross[r.source][r.ch].viceCh, r.viceCh);
            EXPECT_EQ(0, r.gain);
            break;
        }
        case 0x4C: {
            const auto& r = MainWindow::As<dsp::DspBridgeRecord>(m);
            ASSERT_EQ(8, r.count);
            EXPECT_EQ(0, std::memcmp(live.bridge, r.flags, 8));
            break;
        }
        default: ADD_FAILURE() << "unexpected DSP reply " << std::hex << m.wParam;
        }
    }

    // Every value arrived, once per channel, band or source asked for.
    const std::map<std::pair<UINT, WPARAM>, int> expected = {
        {{WM_READ_MCU_VALUE, 0x08}, 1},   {{WM_READ_MCU_VALUE, 0x92}, 1},
        {{WM_READ_FLASH_VALUE, 0x0F}, 1}, {{WM_READ_FLASH_VALUE, 0x0B}, 10},
        {{WM_READ_DSP_VALUE, 0x01}, 1},   {{WM_READ_DSP_VALUE, 0x02}, 1},
        {{WM_READ_DSP_VALUE, 0x03}, 1},   {{WM_READ_DSP_VALUE, 0x04}, 1},
        {{WM_READ_DSP_VALUE, 0x3F}, 1},   {{WM_READ_DSP_VALUE, 0x45}, 1},
        {{WM_READ_DSP_VALUE, 0x4B}, 1},   {{WM_READ_DSP_VALUE, 0x4E}, 1},
        {{WM_READ_DSP_VALUE, 0x35}, 1},   {{WM_READ_DSP_VALUE, 0x07}, 16},
        {{WM_READ_DSP_VALUE, 0x0D}, 16},  {{WM_READ_DSP_VALUE, 0x34}, 32},
        {{WM_READ_DSP_VALUE, 0x0E}, 1},   {{WM_READ_DSP_VALUE, 0x0F}, 1},
        {{WM_READ_DSP_VALUE, 0x05}, 16},  {{WM_READ_DSP_VALUE, 0x12}, 16},
        {{WM_READ_DSP_VALUE, 0x06}, 12 * 31 + 4 * 11},
        {{WM_READ_DSP_VALUE, 0x08}, 16},  {{WM_READ_DSP_VALUE, 0x09}, 16},
        {{WM_READ_DSP_VALUE, 0x0A}, 16},  {{WM_READ_DSP_VALUE, 0x0B}, 9 * 16},
        {{WM_READ_DSP_VALUE, 0x24}, 44},  {{WM_READ_DSP_VALUE, 0x4D}, 18},
        {{WM_READ_DSP_VALUE, 0x26}, 1},   {{WM_READ_DSP_VALUE, 0x4C}, 1},
    };
    EXPECT_EQ(expected, count);
}

TEST_F(ConnectConversationTest, SetsThroughTheLibraryReachTheUnit) {
    device.EQ_Ctrl(0, 0, 3, 5, 1000, 5.8f, -3.0f, true);
    device.Main_Volume_Ctrl(6 - (-10), true);
    const float delays[] = {2.345f, 0.5f};
    device.Delay_Ctrl(2, 0, 6, 7, delays, true);
    const float trims[] = {4.0f};  // the application sends the attenuation
    device.Trim_Ctrl(0, 0, 9, 9, trims, true);
    const CompressorSetting2 comp{-20.5f, 300, 1500};
    device.Compressor_Ctrl2(0, 0, 4, 4, &comp, true);
    const uint32_t masks[] = {0x2001};
    device.Mix_Ch_Ctrl(0, 3, 5, 5, masks, true);

    const sim::UnitState s = model.Snapshot();
    const sim::EqBand& band = s.scene[0].out[3].eq[5];
    EXPECT_EQ(1000, band.freqHz);
    EXPECT_EQ(580, band.qHundredths);
    EXPECT_EQ(-30, band.gainTenthsDb);
    EXPECT_EQ(-10, s.unit.mainVolumeDb);
    EXPECT_EQ(2345u, s.scene[2].out[6].delayMicros);
    EXPECT_EQ(500u, s.scene[2].out[7].delayMicros);
    EXPECT_EQ(0u, s.scene[0].out[6].delayMicros - 1234u * 6 - 7) << "what plays is untouched";
    EXPECT_EQ(-4, s.scene[0].out[9].gainDb);
    EXPECT_EQ(-205, s.scene[0].out[4].compressor2.thresholdTenthsDb);
    EXPECT_EQ(300, s.scene[0].out[4].compressor2.attackMs);
    EXPECT_EQ(1500, s.scene[0].out[4].compressor2.releaseMs);
    EXPECT_EQ(0x2001, s.scene[0].mixMask[3][5]);
    for (const sim::Exchange& e : model.Exchanges()) {
        ASSERT_EQ(8u, e.answer.size());
        EXPECT_EQ(0xEE, e.answer[5]);
        EXPECT_EQ(0x0A, e.answer[6]);
    }
}

}  // namespace
