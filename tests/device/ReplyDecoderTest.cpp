// Reply frames in, window messages and records out, through a collecting sink.
// Frames are handed over in heap blocks of their exact size, so that the
// sanitizer build catches any read past a frame.
#include "device/ReplyDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "device/DspRecords.h"
#include "device/FrameCodec.h"

namespace {

using dsp::ReplyTarget;

class CollectingSink : public dsp::IReplySink {
public:
    ~CollectingSink() override { FreeAll(); }
    void Post(const dsp::ReplyMessage& message) override { messages.push_back(message); }
    void Log(const char* line) override { log += line; }
    void FreeAll() {
        for (auto& m : messages) dsp::FreeDspRecord(m.record);
        messages.clear();
    }
    std::vector<dsp::ReplyMessage> messages;
    std::string log;
};

template <typename T>
std::vector<uint8_t> Bytes(const T& record) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&record);
    return std::vector<uint8_t>(p, p + sizeof(record));
}

struct Expect {
    ReplyTarget target;
    uint32_t message;
    uint32_t wParam;
    intptr_t value;
    std::vector<uint8_t> record;  // empty: the value travels in lParam
};

Expect Val(uint32_t message, uint32_t wParam, intptr_t value, ReplyTarget target = ReplyTarget::MainWnd) {
    return {target, message, wParam, value, {}};
}

Expect Rec(uint32_t message, uint32_t wParam, std::vector<uint8_t> record,
           ReplyTarget target = ReplyTarget::MainWnd) {
    return {target, message, wParam, 0, std::move(record)};
}

Expect Dsp(uint32_t wParam, std::vector<uint8_t> record) {
    return Rec(WM_READ_DSP_VALUE, wParam, std::move(record));
}

struct Row {
    const char* name;
    uint8_t type;
    uint8_t sub;
    uint8_t op;
    std::vector<uint8_t> data;
    std::vector<Expect> expect;
    const char* log;  // a text the log must contain, or null
};

constexpr uint8_t DSP = dsp::CMD_DSP;
constexpr uint8_t FLASH = dsp::CMD_FLASH;
constexpr uint8_t MCU = dsp::CMD_MCU;
constexpr uint8_t KTV = dsp::CMD_KTV;
constexpr uint8_t DD = dsp::OP_VALUE;
constexpr uint8_t EE = dsp::OP_ACK;

template <typename T>
std::vector<uint8_t> ChannelBytes(T record, uint32_t first, std::vector<uint8_t> values,
                                  uint8_t (T::*array)[dsp::kRecordChannels]) {
    for (size_t i = 0; i < values.size(); ++i) (record.*array)[first + i] = values[i];
    return Bytes(record);
}

// Every row of the reply tables with a frame the unit may send.
std::vector<Row> Rows() {
    std::vector<Row> rows = {
        {"source config", DSP, 0x00, DD, {2, 0x51, 0x52}, {}, "DSP_SOURCE_CONFIG update total source=2 -->\nsource0 = 81\nsource1 = 82\n"},
        {"source switch", DSP, 0x01, DD, {0x51}, {Val(WM_READ_DSP_VALUE, 0x01, 0x51)}, nullptr},
        {"main volume", DSP, 0x02, DD, {0xF6}, {Val(WM_READ_DSP_VALUE, 0x02, -10)}, "DSP_VOLUME OP_UPDATE, MVol = -10\n"},
        {"main volume ack", DSP, 0x02, EE, {0x0A}, {}, "DSP_VOLUME OP_ACK\n"},
        {"subwoofer volume", DSP, 0x03, DD, {0xFB}, {Val(WM_READ_DSP_VALUE, 0x03, -5)}, nullptr},
        {"mute", DSP, 0x04, DD, {1}, {Val(WM_READ_DSP_VALUE, 0x04, 1)}, nullptr},
        {"filter", DSP, 0x05, DD,
         {0, 0, 1, 2, 2, 0x00, 0x50, 3, 1, 0x1F, 0x40, 4, 0, 0x03, 0xE8, 1, 0, 0x4E, 0x20, 2},
         {Dsp(0x05, Bytes(dsp::DspFilterRecord{0, 1, 2, 80, 3, 1, 8000, 4})),
          Dsp(0x05, Bytes(dsp::DspFilterRecord{0, 2, 0, 1000, 1, 0, 20000, 2}))}, nullptr},
        {"eq", DSP, 0x06, DD,
         {0, 0, 3, 0, 1, 0x03, 0xE8, 2, 50, 20, 5, 0x07, 0xD0, 5, 50, 0x12, 0},
         {Dsp(0x06, Bytes(dsp::DspEqBandRecord{0, 3, 0, 1000, 2.5f, 2.5f})),
          Dsp(0x06, Bytes(dsp::DspEqBandRecord{0, 3, 1, 2000, 5.5f, 0.0f}))}, nullptr},
        {"delay", DSP, 0x07, DD, {0, 0, 0, 0, 1, 0x01, 0xF4}, {Dsp(0x07, Bytes(dsp::DspDelayRecord{0, 0, 1.5f}))}, nullptr},
        {"trim", DSP, 0x08, DD, {2, 0, 2, 3, 0xFA, 3},
         {Dsp(0x08, Bytes(dsp::DspTrimRecord{2, 2, -6.0f})), Dsp(0x08, Bytes(dsp::DspTrimRecord{2, 3, 3.0f}))}, nullptr},
        {"channel mute", DSP, 0x09, DD, {0, 0, 4, 4, 1}, {Dsp(0x09, Bytes(dsp::DspChValueRecord{0, 4, 1}))}, nullptr},
        {"phase", DSP, 0x0A, DD, {0, 0, 4, 4, 1}, {Dsp(0x0A, Bytes(dsp::DspChByteRecord{0, 4, 1, {}}))}, nullptr},
        {"mix", DSP, 0x0B, DD, {0, 2, 5, 6, 0x20, 0x01, 0x00, 0x03},
         {Dsp(0x0B, Bytes(dsp::DspMixRecord{0, 2, 5, 0x2001})), Dsp(0x0B, Bytes(dsp::DspMixRecord{0, 2, 6, 3}))}, nullptr},
        {"remap", DSP, 0x0C, DD, {1, 2, 3}, {}, nullptr},
        {"channel type", DSP, 0x0D, DD, {0, 0, 0, 0, 7}, {Dsp(0x0D, Bytes(dsp::DspChValueRecord{0, 0, 7}))}, nullptr},
        {"channel type ack", DSP, 0x0D, EE, {0x0A}, {}, "DSP_CH_TYPE OP_ACK\n"},
        {"link", DSP, 0x0E, DD, {1, 2, 0, 1, 2, 3, 4, 5, 6, 7},
         {Dsp(0x0E, Bytes(dsp::DspLinkRecord{1, 2, {0, 1, 2, 3, 4, 5, 6, 7}}))}, nullptr},
        {"lock", DSP, 0x0F, DD, {3, 1}, {Dsp(0x0F, Bytes(dsp::DspLockRecord{3, 1}))}, nullptr},
        {"bypass", DSP, 0x10, DD, {1}, {}, nullptr},
        {"eq reset", DSP, 0x11, DD, {3}, {}, "DSP_EQ_RESET OP=0xdd, scene =3, \n"},
        {"eq bypass", DSP, 0x12, DD, {0, 0, 1, 1, 1}, {Dsp(0x12, Bytes(dsp::DspChValueRecord{0, 1, 1}))}, nullptr},
        {"rta", DSP, 0x1C, DD, {1}, {}, nullptr},
        {"input trim", DSP, 0x20, DD, {0, 0, 2, 3, 5, 6},
         {Dsp(0x20, ChannelBytes(dsp::DspInputBytesRecord{0, 0, 2, 3, {}}, 2, {5, 6}, &dsp::DspInputBytesRecord::value))}, nullptr},
        {"input mute", DSP, 0x21, DD, {1, 0, 0, 0, 1},
         {Dsp(0x21, ChannelBytes(dsp::DspInputBytesRecord{1, 0, 0, 0, {}}, 0, {1}, &dsp::DspInputBytesRecord::value))}, nullptr},
        {"input phase", DSP, 0x22, DD, {0, 0, 13, 13, 1},
         {Dsp(0x22, ChannelBytes(dsp::DspInputBytesRecord{0, 0, 13, 13, {}}, 13, {1}, &dsp::DspInputBytesRecord::value))}, nullptr},
        {"input eq", DSP, 0x23, DD, {0, 0, 1, 4, 4, 0x00, 0x64, 1, 0, 18, 0},
         {Dsp(0x23, Bytes(dsp::DspEqBandRecord{0, 1, 4, 100, 1.0f, 0.0f}))}, nullptr},
        {"input mix trim", DSP, 0x24, DD, {0, 1, 2, 3, 4, 40, 50},
         {Dsp(0x24, Bytes(dsp::DspInputMixTrimRecord{0, 1, 2, 3, 4, {40, 50}}))}, nullptr},
        {"input threshold", DSP, 0x26, DD, {0xF6}, {Val(WM_READ_DSP_VALUE, 0x26, -10)}, "input_threshold = -10\n"},
        {"input noise", DSP, 0x27, DD, {1, 2, 40, 5, 100, 0},
         {Rec(WM_READ_DSP_VALUE, 0x27, Bytes(dsp::DspNoiseRecord{1, 2, {0.0f, -59.5f, 0.0f}}), ReplyTarget::DspValueWnd)}, nullptr},
        {"channel trim link", DSP, 0x30, DD, {0, 1, 9, 8, 7, 6, 5, 4, 3, 2},
         {Dsp(0x30, Bytes(dsp::DspLinkRecord{0, 1, {9, 8, 7, 6, 5, 4, 3, 2}}))}, nullptr},
        {"channel delay link", DSP, 0x31, DD, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {Dsp(0x31, Bytes(dsp::DspLinkRecord{0, 0, {}}))}, nullptr},
        {"remote channel", DSP, 0x32, DD, {0x01, 0x02}, {Val(WM_READ_DSP_VALUE, 0x32, 0x102)}, nullptr},
        {"solo", DSP, 0x34, DD, {0, 0, 15, 15, 1}, {Dsp(0x34, Bytes(dsp::DspChValueRecord{0, 15, 1}))}, nullptr},
        {"speaker config", DSP, 0x35, DD, {0x21}, {Dsp(0x35, Bytes(dsp::DspSpeakerConfigRecord{0x21}))}, "DSP_SPK_CH_CONFIG spk_cfg(0x21)\n"},
        {"mix type", DSP, 0x36, DD, {0, 3, 2}, {Dsp(0x36, Bytes(dsp::DspMixTypeRecord{0, 3, 2}))}, nullptr},
        {"mix type 2", DSP, 0x83, DD, {1, 4, 1}, {Dsp(0x83, Bytes(dsp::DspMixTypeRecord{1, 4, 1}))}, "DSP_MIX_TYPE2\n"},
        {"hpf q mode", DSP, 0x37, DD, {9, 8, 1, 2, 3, 4},
         {Dsp(0x37, ChannelBytes(dsp::DspQModeRecord{9, 8, 1, 2, {}}, 1, {3, 4}, &dsp::DspQModeRecord::mode))}, nullptr},
        {"lpf q mode", DSP, 0x38, DD, {0, 0, 15, 15, 1},
         {Dsp(0x38, ChannelBytes(dsp::DspQModeRecord{0, 0, 15, 15, {}}, 15, {1}, &dsp::DspQModeRecord::mode))}, nullptr},
        {"factory preset", DSP, 0x39, DD, {2}, {Val(WM_READ_DSP_VALUE, 0x39, 2)}, "fac_preset mode = 2\n"},
        {"setup mode", DSP, 0x3A, DD, {1}, {Val(WM_READ_DSP_VALUE, 0x3A, 1)}, "setup_mode mode = 1\n"},
        {"auto effection", DSP, 0x3B, DD, {1}, {Val(WM_READ_DSP_VALUE, 0x3B, 1)}, nullptr},
        {"compressor", DSP, 0x3E, DD, {0, 0, 0, 1, 1, 80, 5, 4, 5, 2, 5, 0x00, 0x0A, 0x01, 0x2C},
         {Dsp(0x3E, Bytes(dsp::DspCompressorRecord{0, 0, 1, -19.5f, 4.5f, 10, 300, 2.5f})),
          Dsp(0x3E, Bytes(dsp::DspCompressorRecord{0, 1, 1, -19.5f, 4.5f, 10, 300, 2.5f}))}, nullptr},
        {"amp mute", DSP, 0x3F, DD, {1}, {Val(WM_READ_DSP_VALUE, 0x3F, 1)}, nullptr},
        {"input distort", DSP, 0x40, DD, {2, 0, 1, 7, 8},
         {Dsp(0x40, ChannelBytes(dsp::DspInputDistortRecord{2, 0, 1, {}}, 0, {7, 8}, &dsp::DspInputDistortRecord::value))}, nullptr},
        {"output distort", DSP, 0x41, DD, {2, 3, 4, 7, 8},
         {Dsp(0x41, ChannelBytes(dsp::DspOutputDistortRecord{0, 2, 3, 4, {}}, 3, {7, 8}, &dsp::DspOutputDistortRecord::value))}, nullptr},
        {"memory data", DSP, 0x42, DD, {0x78, 0x56, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE},
         {Rec(WM_READ_MEMDATA_VALUE, 0x42, Bytes(dsp::DspMemDataRecord{0x12345678, 0xDEADBEEF}), ReplyTarget::MemDataWnd)}, nullptr},
        {"speaker distance", DSP, 0x43, DD, {5, 6, 0, 1, 0x01, 0x2C, 0x00, 0x64},
         {Dsp(0x43, Bytes(dsp::DspSpeakerDistanceRecord{5, 6, 0, 1, {300, 100}}))}, "q_spk_dist[0]=(300/100)\n"},
        {"mix source switch", DSP, 0x44, DD, {3}, {Val(WM_READ_DSP_VALUE, 0x44, 3)}, nullptr},
        {"remote out", DSP, 0x45, DD, {1, 2}, {Dsp(0x45, Bytes(dsp::DspRemoteOutRecord{1, 2}))}, nullptr},
        {"dsp status", DSP, 0x46, DD, {0}, {Val(WM_READ_DSP_VALUE, 0x46, 0)}, nullptr},
        {"cross source mix", DSP, 0x47, DD, {0, 1, 2, 3, 4, 5}, {Dsp(0x47, Bytes(dsp::DspCrossSourceMixRecord{0, 1, 2, 3, 4, 5}))}, nullptr},
        {"compressor on", DSP, 0x49, DD, {0, 0, 3, 3, 1}, {Dsp(0x49, Bytes(dsp::DspChValueRecord{0, 3, 1}))}, nullptr},
        {"compressor 2", DSP, 0x4A, DD, {0, 0, 3, 3, 0xEC, 0xFB, 0x00, 0x32, 1, 5},
         {Dsp(0x4A, Bytes(dsp::DspCompressor2Record{0, 3, 0, -20.5f, 0, 50, 1500, 0}))}, nullptr},
        {"speaker ohm", DSP, 0x4B, DD, {1}, {Val(WM_READ_DSP_VALUE, 0x4B, 1)}, nullptr},
        {"bridge", DSP, 0x4C, DD, {0, 0, 3, 1, 0, 1}, {Dsp(0x4C, Bytes(dsp::DspBridgeRecord{0, 0, 3, {1, 0, 1}}))}, nullptr},
        {"cross source mix cs", DSP, 0x4D, DD, {0, 1, 2, 3, 4}, {Dsp(0x4D, Bytes(dsp::DspCrossSourceMixRecord{0, 1, 4, 2, 3, 0}))}, nullptr},
        {"noise gate", DSP, 0x4E, DD, {1}, {Val(WM_READ_DSP_VALUE, 0x4E, 1)}, nullptr},
        {"unknown dsp", DSP, 0x48, DD, {1}, {}, "!!! NOT SUPPORT MSG\n"},

        {"irc progress", DSP, 0x13, DD, {3, 0, 0, 40, 0}, {Val(WM_READ_IRC_VALUE, 3, 40, ReplyTarget::AutoCalWnd)}, "IRC_RET_DELAY\n"},
        {"irc rta update", DSP, 0x13, DD, {7, 60}, {Val(WM_READ_IRC_VALUE, 7, 60, ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc failed", DSP, 0x13, DD, {11, 0, 0, 0, 2}, {Val(WM_READ_IRC_VALUE, 11, 2, ReplyTarget::AutoCalWnd)}, "IRC_FAIL_NO_SPEAKER\n"},
        {"irc exit", DSP, 0x13, DD, {12, 0, 0, 0}, {Val(WM_READ_IRC_VALUE, 12, 0, ReplyTarget::AutoCalWnd)}, "IRC_RET_TEST_EXIT\n"},
        {"irc unknown reason", DSP, 0x13, DD, {11, 0, 0, 0, 6}, {}, nullptr},
        {"irc unknown status", DSP, 0x13, DD, {13, 0, 0, 0, 0}, {}, nullptr},
        {"irc distance", DSP, 0x14, DD, {0, 1, 2, 25, 3, 50},
         {Rec(WM_READ_IRC_VALUE, 0x14, Bytes(dsp::IrcChFloatRecord{0, 2.25f}), ReplyTarget::AutoCalWnd),
          Rec(WM_READ_IRC_VALUE, 0x14, Bytes(dsp::IrcChFloatRecord{1, 3.5f}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc trim", DSP, 0x15, DD, {4, 4, 6}, {Rec(WM_READ_IRC_VALUE, 0x15, Bytes(dsp::IrcChFloatRecord{4, 6.0f}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc eq", DSP, 0x16, DD, {2, 0, 0, 0x03, 0xE8, 2, 50, 20, 5},
         {Rec(WM_READ_IRC_VALUE, 0x16, Bytes(dsp::IrcEqBandRecord{2, 0, 1000, 2.5f, 2.5f}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc speaker size", DSP, 0x17, DD, {0, 0, 9}, {Rec(WM_READ_IRC_VALUE, 0x17, Bytes(dsp::IrcChValueRecord{0, 9}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc speaker phase", DSP, 0x18, DD, {1, 1, 1}, {Rec(WM_READ_IRC_VALUE, 0x18, Bytes(dsp::IrcChValueRecord{1, 1}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc speaker level", DSP, 0x19, DD, {2, 2, 70}, {Rec(WM_READ_IRC_VALUE, 0x19, Bytes(dsp::IrcChValueRecord{2, 70}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc spectrum", DSP, 0x1A, DD, {1, 3, 3, 0x03, 0xE8, 50, 0xFD, 0xE7},
         {Rec(WM_READ_IRC_VALUE, 0x1A, Bytes(dsp::IrcSpectrumRecord{1, 3, 1000.5f, -3.25f}), ReplyTarget::AutoCalWnd)}, nullptr},
        {"irc noise level", DSP, 0x1B, DD, {3, 3, 40}, {Rec(WM_READ_IRC_VALUE, 0x1B, Bytes(dsp::IrcChValueRecord{3, 40}), ReplyTarget::AutoCalWnd)}, nullptr},

        {"handshake", MCU, 0x08, DD, {0, 0x5F, 1, 0x19},
         {Rec(WM_READ_MCU_VALUE, 0x08, Bytes(dsp::McuHandshakeRecord{0, 95, 1, 25}))}, "model = 95, master verion = 1, slave verion = 25\n"},
        {"handshake refused", MCU, 0x08, DD, {0xF0, 0x5F, 1, 0x19}, {Val(WM_HANDSHAKE_REFUSED, 0, 0)}, "MCU_HANDSHAKE\n"},
        {"flash version", MCU, 0x0B, DD, {1, 2, 3, 4},
         {Rec(WM_READ_MCU_VALUE, 0x0B, Bytes(dsp::McuFlashVersionRecord{{}, {1, 2, 3, 4}}))}, "flashver = 01020304\n"},
        {"bootloader version", MCU, 0x0C, DD, {7}, {}, nullptr},
        {"password", MCU, 0x0D, DD, {2, 'a', 'b', 3, 'x', 'y', 'z'},
         {Rec(WM_READ_MCU_VALUE, 0x0D, Bytes(dsp::McuPasswordRecord{2, {'a', 'b'}, 3, {'x', 'y', 'z'}}))}, nullptr},
        {"device text", MCU, 0x41, DD, {3, 'B', 'D', 'A'}, {Rec(WM_READ_MCU_VALUE, 0x41, Bytes(dsp::McuDeviceTextRecord{3, {'B', 'D', 'A'}}))}, nullptr},
        {"mcu init", MCU, 0x60, DD, {}, {}, "MCU INIT\n"},
        {"power-off delay", MCU, 0x91, DD, {0x01, 0xF4}, {Val(WM_READ_MCU_VALUE, 0x91, 500)}, nullptr},
        {"acc delay", MCU, 0x92, DD, {0xFD}, {Val(WM_READ_MCU_VALUE, 0x92, -3)}, "MCU_ACC OP=0xdd, delay = -3\n"},
        {"ping", MCU, 0x93, DD, {}, {Val(WM_READ_MCU_VALUE, 0x93, 0)}, "MCU_PING\npost WM_READ_MCU_VALUE + MCU_PING\n"},
        {"mcu ignored", MCU, 0x90, EE, {0x0A}, {}, nullptr},
        {"pc connect ignored", MCU, 0x1F, DD, {1}, {}, nullptr},
        {"unknown mcu", MCU, 0x55, DD, {}, {}, "!!! NOT SUPPORT MSG\n"},

        {"save scene ack", FLASH, 0x08, EE, {0x0A, 3}, {Val(WM_READ_FLASH_VALUE, 3, 0, ReplyTarget::SceneWnd)}, nullptr},
        {"save scene refused", FLASH, 0x08, EE, {0x60, 3}, {}, nullptr},
        {"read scene ack", FLASH, 0x09, EE, {0x0A, 3}, {}, nullptr},
        {"delete scene ack", FLASH, 0x0A, EE, {0x0A, 3}, {Val(WM_FLASH_ACK, 3, 0, ReplyTarget::SceneWnd)}, nullptr},
        {"scene name", FLASH, 0x0B, DD, {1, 'L', 'i', 'v', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {Rec(WM_READ_FLASH_VALUE, 0x0B, Bytes(dsp::SceneNameRecord{0, 0, {'L', 'i', 'v', 'e'}}))}, nullptr},
        {"scene name ack ignored", FLASH, 0x0B, EE, {0x0A}, {}, nullptr},
        {"scene id", FLASH, 0x0E, DD, {3}, {Val(WM_READ_SCENE_ID, 0x0E, 3, ReplyTarget::SceneWnd)}, "FLASH_SCENE_ID current scene id = 3\n"},
        {"valid scenes", FLASH, 0x0F, DD, {0x02, 0x07}, {Rec(WM_READ_FLASH_VALUE, 0x0F, Bytes(dsp::SceneValidRecord{0x207}))}, "FLASH_SCENE_VALID valid scene = 519\n"},
        {"unknown flash", FLASH, 0x01, DD, {}, {}, "!!! NOT SUPPORT MSG\n"},

        {"ktv mic volume", KTV, 1, DD, {20}, {Val(WM_READ_KTV_VALUE, 1, 20)}, "sub = 1, KTV MIC VOL, value = 20\n"},
        {"ktv music volume", KTV, 2, DD, {21}, {Val(WM_READ_KTV_VALUE, 2, 21)}, "2, KTV MUSIC_VOL, value = 21\n"},
        {"ktv howling", KTV, 3, DD, {1}, {Val(WM_READ_KTV_VALUE, 3, 1)}, "3, KTV HOWLING, value = 1\n"},
        {"ktv echo level", KTV, 4, DD, {9}, {Val(WM_READ_KTV_VALUE, 4, 9)}, "4, KTV ECHO LEVEL, value = 9\n"},
        {"ktv echo delay", KTV, 5, DD, {0x01, 0x2C}, {Val(WM_READ_KTV_VALUE, 5, 300)}, "5, KTV ECHO_DELAY, value = 300\n"},
        {"ktv reverb level", KTV, 6, DD, {7}, {Val(WM_READ_KTV_VALUE, 6, 7)}, "6, KTV REVERB_LEVEL, value = 7\n"},
        {"ktv reverb time", KTV, 7, DD, {4}, {Val(WM_READ_KTV_VALUE, 7, 4)}, "7, KTV REVERB_TIME, value = 4\n"},
        {"ktv voice changer", KTV, 8, DD, {2}, {Val(WM_READ_KTV_VALUE, 8, 2)}, "8, KTV VOICE_CHANGER, value = 2\n"},
        {"ktv bass gain", KTV, 9, DD, {0xFD}, {Val(WM_READ_KTV_VALUE, 9, -3)}, "9, KTV_BASS_GAIN, value = -3\n"},
        {"ktv treble gain", KTV, 10, DD, {0x02}, {Val(WM_READ_KTV_VALUE, 10, 2)}, "10, KTV_TREBLE_GAIN, value = 2\n"},
        {"ktv ack ignored", KTV, 1, EE, {0x0A}, {}, nullptr},
        {"ktv 0", KTV, 0, DD, {1}, {}, "!!! NOT SUPPORT MSG\n"},
        {"ktv 11", KTV, 11, DD, {1}, {}, "!!! NOT SUPPORT MSG\n"},
    };
    return rows;
}

class ReplyDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { liveBefore = dsp::LiveDspRecordCount(); }
    void TearDown() override {
        sink.FreeAll();
        EXPECT_EQ(liveBefore, dsp::LiveDspRecordCount()) << "a record was leaked or freed twice";
    }

    // The frame's payload in a block of exactly its size.
    void Feed(uint8_t type, uint8_t sub, uint8_t op, const std::vector<uint8_t>& data) {
        const size_t size = 2 + data.size();
        std::unique_ptr<uint8_t[]> payload(new uint8_t[size]);
        payload[0] = sub;
        payload[1] = op;
        if (!data.empty()) std::memcpy(payload.get() + 2, data.data(), data.size());
        decoder.Decode(config, static_cast<uint8_t>(size + 1), type, payload.get());
    }
    void FeedDsp(uint8_t sub, const std::vector<uint8_t>& data) { Feed(DSP, sub, DD, data); }

    const std::vector<dsp::ReplyMessage>& Posted() const { return sink.messages; }
    template <typename T>
    const T& Record(size_t i) const {
        return *static_cast<const T*>(sink.messages.at(i).record);
    }

    std::atomic<int32_t> modelId{-1};
    std::atomic<uint8_t> normalMode{0};
    std::atomic<uint8_t> bootloader{0};
    std::atomic<uint32_t> upgState{0};
    std::atomic<uint8_t> notReady{0};
    CollectingSink sink;
    dsp::ReplyDecoder decoder{sink, dsp::ReplyDeviceState{modelId, normalMode, bootloader, upgState, notReady}};
    dsp::ReplyConfig config;
    int32_t liveBefore = 0;
};

TEST_F(ReplyDecoderTest, EveryRowPostsItsMessagesAndRecords) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        sink.FreeAll();
        sink.log.clear();
        Feed(row.type, row.sub, row.op, row.data);
        ASSERT_EQ(row.expect.size(), Posted().size());
        for (size_t i = 0; i < row.expect.size(); ++i) {
            const Expect& e = row.expect[i];
            const dsp::ReplyMessage& m = Posted()[i];
            EXPECT_EQ(e.target, m.target) << "message " << i;
            EXPECT_EQ(e.message, m.message) << "message " << i;
            EXPECT_EQ(e.wParam, m.wParam) << "message " << i;
            if (e.record.empty()) {
                EXPECT_EQ(nullptr, m.record) << "message " << i;
                EXPECT_EQ(e.value, m.value) << "message " << i;
            } else {
                ASSERT_NE(nullptr, m.record) << "message " << i;
                EXPECT_EQ(0, std::memcmp(e.record.data(), m.record, e.record.size())) << "record " << i;
            }
        }
        if (row.log) {
            EXPECT_NE(std::string::npos, sink.log.find(row.log)) << sink.log;
        }
        const bool unknown = row.log && std::string(row.log) == "!!! NOT SUPPORT MSG\n";
        if (!unknown) {
            EXPECT_EQ(std::string::npos, sink.log.find("NOT SUPPORT")) << sink.log;
        }
    }
}

TEST_F(ReplyDecoderTest, DspRepliesAreCountedAndNamedInTheLog) {
    FeedDsp(0x02, {0xF6});
    FeedDsp(0x83, {0, 0, 0});
    FeedDsp(0x50, {});
    EXPECT_NE(std::string::npos, sink.log.find("dsp_ack_process 1, cmd(0x00000002), OP(dd), DSP_VOLUME\n"));
    EXPECT_NE(std::string::npos, sink.log.find("dsp_ack_process 2, cmd(0x00000083), OP(dd), DSP_MIX_TYPE2\n"));
    EXPECT_NE(std::string::npos, sink.log.find("dsp_ack_process 3, cmd(0x00000050), OP(dd), 80\n"));
}

TEST_F(ReplyDecoderTest, KnownSubcommandWithOtherOptypeIsDroppedSilently) {
    Feed(DSP, 0x09, EE, {0, 0, 0, 0, 1});
    Feed(DSP, 0x05, dsp::OP_GET, {0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    Feed(MCU, 0x08, EE, {0x0A});
    Feed(FLASH, 0x0E, EE, {0x0A});
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(-1, modelId.load());
    EXPECT_EQ(std::string::npos, sink.log.find("NOT SUPPORT"));
    EXPECT_EQ(std::string::npos, sink.log.find("dropped"));
}

TEST_F(ReplyDecoderTest, EmptyRangePostsNothing) {
    FeedDsp(0x09, {0, 0, 3, 2});
    FeedDsp(0x06, {0, 0, 1, 5, 4});
    FeedDsp(0x27, {5, 4});
    FeedDsp(0x24, {0, 0, 0, 9, 8});
    EXPECT_TRUE(Posted().empty());
}

TEST_F(ReplyDecoderTest, TrimWithHundredthsIsNegatedAttenuation) {
    config.trimHundredths = 1;
    FeedDsp(0x08, {0, 0, 1, 2, 3, 50, 0, 25});
    ASSERT_EQ(2u, Posted().size());
    EXPECT_FLOAT_EQ(-3.5f, Record<dsp::DspTrimRecord>(0).trimDb);
    EXPECT_EQ(2, Record<dsp::DspTrimRecord>(1).ch);
    EXPECT_FLOAT_EQ(-0.25f, Record<dsp::DspTrimRecord>(1).trimDb);
}

TEST_F(ReplyDecoderTest, MixMaskIsOneByteForEightInputsOrFewer) {
    config.inputCount = 8;
    FeedDsp(0x0B, {0, 1, 0, 1, 0x81, 0x02});
    ASSERT_EQ(2u, Posted().size());
    EXPECT_EQ(0x81u, Record<dsp::DspMixRecord>(0).mask);
    EXPECT_EQ(0x02u, Record<dsp::DspMixRecord>(1).mask);
}

TEST_F(ReplyDecoderTest, NoiseGoesToMainWindowWhenSwitched) {
    config.noiseToMainWnd = 1;
    FeedDsp(0x27, {0, 0, 100, 5});
    ASSERT_EQ(1u, Posted().size());
    EXPECT_EQ(ReplyTarget::MainWnd, Posted()[0].target);
    EXPECT_FLOAT_EQ(0.5f, Record<dsp::DspNoiseRecord>(0).level[0]);
}

TEST_F(ReplyDecoderTest, LinkPairsFollowTheOutputCount) {
    config.outputCount = 8;
    FeedDsp(0x0E, {0, 1, 2, 3, 4, 5});
    ASSERT_EQ(1u, Posted().size());
    const auto& link = Record<dsp::DspLinkRecord>(0);
    EXPECT_EQ(std::vector<uint8_t>({2, 3, 4, 5, 0, 0, 0, 0}), std::vector<uint8_t>(link.pairs, link.pairs + 8));

    // More outputs than the record holds: eight pairs are read, no more.
    sink.FreeAll();
    config.outputCount = 40;
    FeedDsp(0x0E, {0, 1, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(1u, Posted().size());
    EXPECT_EQ(8, Record<dsp::DspLinkRecord>(0).pairs[7]);
}

TEST_F(ReplyDecoderTest, HandshakeSetsModelAndNormalMode) {
    Feed(MCU, 0x08, DD, {0, 95, 1, 25});
    EXPECT_EQ(95, modelId.load());
    EXPECT_EQ(1, normalMode.load());
    Feed(MCU, 0x08, DD, {0xF0, 96, 1, 25});
    EXPECT_EQ(0, normalMode.load());
    EXPECT_EQ(95, modelId.load()) << "a refusal keeps the model id";
    Feed(MCU, 0x08, DD, {0, 95, 1, 25});
    Feed(MCU, 0x93, DD, {});
    EXPECT_EQ(0, normalMode.load()) << "a ping clears normal mode";
    Feed(MCU, 0x0C, DD, {7});
    EXPECT_EQ(7, bootloader.load());
}

TEST_F(ReplyDecoderTest, McuUpgradeAcknowledgementsMoveTheState) {
    Feed(MCU, 0x01, EE, {0x60});
    EXPECT_EQ(0u, upgState.load());
    Feed(MCU, 0xA0, EE, {0x0A});
    EXPECT_EQ(32u, upgState.load());
    Feed(MCU, 0x02, EE, {0x0A});
    EXPECT_EQ(48u, upgState.load());
    Feed(MCU, 0xA1, EE, {0x33});
    EXPECT_EQ(80u, upgState.load());

    // Block acknowledgements count only while a block waits for one.
    upgState = 48;
    Feed(MCU, 0x03, EE, {0x60});
    Feed(MCU, 0x03, EE, {0x0A});
    EXPECT_EQ(48u, upgState.load());
    EXPECT_EQ(0, notReady.load());
    upgState = 49;
    Feed(MCU, 0xA2, EE, {0x60});
    EXPECT_EQ(1, notReady.load());
    EXPECT_EQ(49u, upgState.load());
    Feed(MCU, 0x03, EE, {0x0A});
    EXPECT_EQ(48u, upgState.load());
    EXPECT_NE(std::string::npos, sink.log.find("MCU UPG_WAITING_BIN_DATA_ACK: ACK_READY\n"));
    EXPECT_NE(std::string::npos, sink.log.find("MCU !!!!! NOT_READY !!!!!!\n"));

    Feed(MCU, 0x04, EE, {0x0A});
    EXPECT_EQ(std::string::npos, sink.log.find("MCU UPG_FINISH"));
    upgState = 64;
    Feed(MCU, 0xA3, EE, {0x0A});
    EXPECT_NE(std::string::npos, sink.log.find("MCU UPG_FINISH: ACK_READY\n"));
    EXPECT_TRUE(Posted().empty());
}

TEST_F(ReplyDecoderTest, FlashUpgradeAcknowledgementsMoveTheState) {
    Feed(FLASH, 0x02, EE, {0x0A});
    EXPECT_EQ(0u, upgState.load()) << "erase ready counts only in upgrade mode";
    upgState = 32;
    Feed(FLASH, 0x02, EE, {0x0A});
    EXPECT_EQ(96u, upgState.load());
    upgState = 32;
    Feed(FLASH, 0x03, EE, {0x0A});
    EXPECT_EQ(48u, upgState.load());
    Feed(FLASH, 0x03, EE, {0x60});
    EXPECT_EQ(80u, upgState.load());
    EXPECT_NE(std::string::npos, sink.log.find("FLASH UPG_START: ACK_NOT_READY\n"));

    upgState = 49;
    Feed(FLASH, 0x04, EE, {0x60});
    EXPECT_EQ(1, notReady.load());
    Feed(FLASH, 0x04, EE, {0x0A});
    EXPECT_EQ(48u, upgState.load());
    upgState = 64;
    Feed(FLASH, 0x05, EE, {0x0A});
    EXPECT_NE(std::string::npos, sink.log.find("UPG_FINISH: ACK_READY\n"));
}

TEST_F(ReplyDecoderTest, ErasedSceneNameArrivesEmptyButOddBytesSurvive) {
    std::vector<uint8_t> erased(17, 0xFF);
    erased[0] = 4;
    Feed(FLASH, 0x0B, DD, erased);
    std::vector<uint8_t> odd(17, 'A');  // every byte has its lowest bit set
    odd[0] = 10;
    Feed(FLASH, 0x0B, DD, odd);
    ASSERT_EQ(2u, Posted().size());
    const auto& first = Record<dsp::SceneNameRecord>(0);
    EXPECT_EQ(3, first.index);
    EXPECT_EQ(std::vector<uint8_t>(16, 0), std::vector<uint8_t>(first.name, first.name + 16));
    const auto& second = Record<dsp::SceneNameRecord>(1);
    EXPECT_EQ(9, second.index);
    EXPECT_EQ(std::vector<uint8_t>(16, 'A'), std::vector<uint8_t>(second.name, second.name + 16));
}

// Out-of-range indexes and lengths: dropped or clipped, never written past a record.

TEST_F(ReplyDecoderTest, ChannelsAbove15AreNotPosted) {
    FeedDsp(0x09, {0, 0, 14, 17, 1, 2, 3, 4});
    ASSERT_EQ(2u, Posted().size());
    EXPECT_EQ(14, Record<dsp::DspChValueRecord>(0).ch);
    EXPECT_EQ(15, Record<dsp::DspChValueRecord>(1).ch);
    EXPECT_NE(std::string::npos, sink.log.find("dropped"));

    sink.FreeAll();
    FeedDsp(0x05, {0, 0, 16, 16, 1, 2, 3, 4, 5, 6, 7, 8});
    Feed(DSP, 0x3E, DD, {0, 0, 16, 20, 1, 80, 5, 4, 5, 2, 5, 0, 10, 1, 44});
    Feed(DSP, 0x14, DD, {16, 16, 1, 1});
    EXPECT_TRUE(Posted().empty());
}

TEST_F(ReplyDecoderTest, BandsFrom31AndChannel16AreDropped) {
    FeedDsp(0x06, {0, 0, 3, 30, 31, 0x03, 0xE8, 1, 0, 18, 0, 0x07, 0xD0, 1, 0, 18, 0});
    ASSERT_EQ(1u, Posted().size());
    EXPECT_EQ(30, Record<dsp::DspEqBandRecord>(0).band);

    sink.FreeAll();
    FeedDsp(0x06, {0, 0, 16, 0, 0, 0x03, 0xE8, 1, 0, 18, 0});
    FeedDsp(0x23, {0, 0, 200, 0, 0, 0x03, 0xE8, 1, 0, 18, 0});
    Feed(DSP, 0x16, DD, {16, 0, 0, 0x03, 0xE8, 1, 0, 18, 0});
    Feed(DSP, 0x1A, DD, {0, 31, 31, 0x03, 0xE8, 0, 0, 0});
    EXPECT_TRUE(Posted().empty());
}

TEST_F(ReplyDecoderTest, ChannelArraysAreClippedTo16Entries) {
    // The noise window may ask for channels 0..255; the largest frame holds 28.
    std::vector<uint8_t> noise = {0, 27};
    for (int ch = 0; ch < 28; ++ch) {
        noise.push_back(static_cast<uint8_t>(100 + ch));
        noise.push_back(0);
    }
    FeedDsp(0x27, noise);
    ASSERT_EQ(1u, Posted().size());
    const auto& r = Record<dsp::DspNoiseRecord>(0);
    EXPECT_EQ(0, r.first);
    EXPECT_EQ(15, r.last);
    EXPECT_FLOAT_EQ(15.0f, r.level[15]);

    sink.FreeAll();
    std::vector<uint8_t> inputs = {0, 0, 10, 20};
    for (int ch = 10; ch <= 20; ++ch) inputs.push_back(static_cast<uint8_t>(ch));
    FeedDsp(0x20, inputs);
    std::vector<uint8_t> trims = {0, 0, 1, 0, 20};
    for (int ch = 0; ch <= 20; ++ch) trims.push_back(static_cast<uint8_t>(ch + 1));
    FeedDsp(0x24, trims);
    std::vector<uint8_t> dist = {0, 0, 14, 18};
    for (int ch = 14; ch <= 18; ++ch) {
        dist.push_back(0);
        dist.push_back(static_cast<uint8_t>(ch));
    }
    FeedDsp(0x43, dist);
    FeedDsp(0x37, {0, 0, 15, 17, 1, 2, 3});
    FeedDsp(0x41, {0, 12, 19, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(5u, Posted().size());
    const auto& in = Record<dsp::DspInputBytesRecord>(0);
    EXPECT_EQ(15, in.last);
    EXPECT_EQ(15, in.value[15]);
    const auto& mix = Record<dsp::DspInputMixTrimRecord>(1);
    EXPECT_EQ(15, mix.last);
    EXPECT_EQ(16, mix.trim[15]);
    EXPECT_EQ(15, Record<dsp::DspSpeakerDistanceRecord>(2).last);
    EXPECT_EQ(15, Record<dsp::DspSpeakerDistanceRecord>(2).distance[15]);
    EXPECT_EQ(1, Record<dsp::DspQModeRecord>(3).mode[15]);
    EXPECT_EQ(4, Record<dsp::DspOutputDistortRecord>(4).value[15]);

    // Nothing left inside the arrays: nothing posted.
    sink.FreeAll();
    FeedDsp(0x27, {20, 25, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    FeedDsp(0x24, {0, 0, 16, 0, 0, 1});
    FeedDsp(0x40, {0, 16, 16, 1});
    EXPECT_TRUE(Posted().empty());
}

TEST_F(ReplyDecoderTest, ScenesOutOfRangeAreDropped) {
    FeedDsp(0x07, {11, 0, 0, 0, 1, 0, 0});
    FeedDsp(0x0F, {200, 1});
    FeedDsp(0x4C, {11, 0, 1, 1});
    Feed(FLASH, 0x0B, DD, std::vector<uint8_t>(17, 0));  // scene 0: index -1
    std::vector<uint8_t> name(17, 'x');
    name[0] = 11;
    Feed(FLASH, 0x0B, DD, name);
    Feed(FLASH, 0x0E, DD, {11});
    EXPECT_TRUE(Posted().empty());
    FeedDsp(0x07, {10, 0, 0, 0, 1, 0, 0});
    name[0] = 10;
    Feed(FLASH, 0x0B, DD, name);
    EXPECT_EQ(2u, Posted().size());
}

TEST_F(ReplyDecoderTest, LengthsBeyondTheirFieldsAreDropped) {
    std::vector<uint8_t> password = {13};
    password.resize(1 + 13 + 1, 'p');
    password.back() = 0;
    Feed(MCU, 0x0D, DD, password);
    std::vector<uint8_t> remark = {1, 'p', 21};
    remark.resize(3 + 21, 'r');
    Feed(MCU, 0x0D, DD, remark);
    std::vector<uint8_t> text = {17};
    text.resize(18, 't');
    Feed(MCU, 0x41, DD, text);
    std::vector<uint8_t> bridge = {0, 0, 21};
    bridge.resize(3 + 21, 1);
    FeedDsp(0x4C, bridge);
    EXPECT_TRUE(Posted().empty());
    EXPECT_NE(std::string::npos, sink.log.find("too large"));

    // At their limits they fit.
    std::vector<uint8_t> full = {12};
    full.resize(13, 'p');
    full.push_back(20);
    full.resize(34, 'r');
    Feed(MCU, 0x0D, DD, full);
    text[0] = 16;
    text.pop_back();
    Feed(MCU, 0x41, DD, text);
    bridge[2] = 20;
    bridge.pop_back();
    FeedDsp(0x4C, bridge);
    ASSERT_EQ(3u, Posted().size());
    EXPECT_EQ(20u, Record<dsp::McuPasswordRecord>(0).remarkLength);
    EXPECT_EQ('r', Record<dsp::McuPasswordRecord>(0).remark[19]);
    EXPECT_EQ(16, Record<dsp::McuDeviceTextRecord>(1).length);
    EXPECT_EQ(20, Record<dsp::DspBridgeRecord>(2).count);
}

TEST_F(ReplyDecoderTest, FramesShorterThanTheirLayoutAreDropped) {
    FeedDsp(0x05, {0, 0, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8});  // four channels announced, one sent
    Feed(MCU, 0x0D, DD, {5, 'a', 'b'});
    Feed(MCU, 0x08, DD, {0, 95});
    FeedDsp(0x42, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(-1, modelId.load());
    EXPECT_NE(std::string::npos, sink.log.find("too short"));

    // A frame without optype, and one longer than any frame can be.
    uint8_t big[80] = {0x01, DD};
    decoder.Decode(config, 2, DSP, big);
    decoder.Decode(config, 70, DSP, big);
    EXPECT_TRUE(Posted().empty());
}

// Every prefix of every row's frame: nothing read past the frame (the
// sanitizers watch), never more messages than the whole frame gives, no leak.
TEST_F(ReplyDecoderTest, TruncatedFramesNeverReadPastTheirEnd) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        for (size_t size = 0; size < row.data.size(); ++size) {
            sink.FreeAll();
            Feed(row.type, row.sub, row.op, std::vector<uint8_t>(row.data.begin(), row.data.begin() + size));
            EXPECT_LE(Posted().size(), row.expect.size()) << size << " data bytes";
        }
    }
}

// Random frames of every type and subcommand: every record posted is one
// allocation, freed once.
TEST_F(ReplyDecoderTest, RandomFramesKeepRecordsBalanced) {
    std::mt19937 random(1234);
    const uint8_t types[] = {DSP, FLASH, MCU, KTV, 4, 9};
    const uint8_t ops[] = {DD, EE, dsp::OP_GET, 0};
    for (int i = 0; i < 20000; ++i) {
        std::vector<uint8_t> data(random() % (dsp::kFramePayloadSize - 1));
        for (auto& byte : data) byte = static_cast<uint8_t>(random() % 4 == 0 ? random() % 20 : random());
        upgState = random() % 2 ? 49 : 32;
        config.trimHundredths = random() % 2;
        config.inputCount = random() % 2 ? 8 : 14;
        const uint8_t sub = static_cast<uint8_t>(random() % 2 ? random() % 0x50 : random());
        Feed(types[random() % 6], sub, ops[random() % 4], data);
        EXPECT_EQ(liveBefore + static_cast<int32_t>(std::count_if(Posted().begin(), Posted().end(),
                                                                  [](const dsp::ReplyMessage& m) { return m.record; })),
                  dsp::LiveDspRecordCount());
        sink.FreeAll();
    }
}

}  // namespace
