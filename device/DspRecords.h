// Window messages the device library posts with the unit's replies, and the
// records some of them carry. Shared by the library, the program and the tests;
// platform-free.
//
// Ownership: a record travels as the message's lParam. It is a zero-filled heap
// block from AllocDspRecord, and whoever ends up with it frees it with
// FreeDspRecord: the receiving window after use (also for a subcommand it
// ignores), or the poster when the message could not be posted.
#pragma once

#include <cstddef>
#include <cstdint>

// Message numbers (wParam: the reply's subcommand unless said otherwise).
constexpr uint32_t WM_READ_DSP_VALUE = 1234;      // value or record
constexpr uint32_t WM_READ_MCU_VALUE = 1235;      // value or record
constexpr uint32_t WM_READ_FLASH_VALUE = 1237;    // scene name, valid scenes; save acknowledgement
constexpr uint32_t WM_FLASH_ACK = 1238;           // wParam: the scene byte of the acknowledgement
constexpr uint32_t WM_HANDSHAKE_REFUSED = 1239;   // wParam 0, lParam 0
constexpr uint32_t WM_READ_IRC_VALUE = 1241;      // calibration: record, or status and value
constexpr uint32_t WM_READ_KTV_VALUE = 1246;      // karaoke value
constexpr uint32_t WM_READ_MEMDATA_VALUE = 1249;  // wParam 0x42, DspMemDataRecord
constexpr uint32_t WM_READ_SCENE_ID = 1250;       // wParam 0x0E, lParam the current scene id

namespace dsp {

// Channel-indexed arrays hold this many entries; channels of a reply above it are dropped.
constexpr uint32_t kRecordChannels = 16;
// EQ bands per channel.
constexpr uint32_t kRecordBands = 31;
// Stored scenes are 1..kSceneCount; scene 0 is the live state.
constexpr uint32_t kSceneCount = 10;

// Zero-filled block of size bytes, or null when memory is short.
void* AllocDspRecord(size_t size);
// Frees a block of AllocDspRecord; null is ignored.
void FreeDspRecord(void* record);
// Blocks allocated and not yet freed, for leak checks.
int32_t LiveDspRecordCount();

template <typename Record>
Record* NewDspRecord() {
    return static_cast<Record*>(AllocDspRecord(sizeof(Record)));
}

// WM_READ_DSP_VALUE records, by subcommand.

// 0x05, one per channel.
struct DspFilterRecord {
    int32_t scene, ch;
    int32_t hpType, hpFreq, hpSlope;
    int32_t lpType, lpFreq, lpSlope;
};

// 0x06 and 0x23, one per band.
struct DspEqBandRecord {
    int32_t scene, ch, band, freq;
    float q, gain;
};

// 0x07, one per channel.
struct DspDelayRecord {
    int32_t scene, ch;
    float delayMs;
};

// 0x08, one per channel.
struct DspTrimRecord {
    int32_t scene, ch;
    float trimDb;
};

// 0x09 mute, 0x0D output type, 0x12 EQ bypass, 0x34 solo, 0x49 compressor on;
// one per channel.
struct DspChValueRecord {
    int32_t scene, ch, value;
};

// 0x0A phase, one per channel: the value is a byte.
struct DspChByteRecord {
    int32_t scene, ch;
    uint8_t value;
    uint8_t reserved[3];
};

// 0x0B, one per output channel.
struct DspMixRecord {
    int32_t scene, source, ch;
    uint32_t mask;
};

// 0x0E, 0x30, 0x31.
struct DspLinkRecord {
    int32_t scene, mode;
    uint8_t pairs[8];
};

// 0x0F.
struct DspLockRecord {
    int32_t scene, lock;
};

// 0x20, 0x21, 0x22: value[ch] for ch in first..last.
struct DspInputBytesRecord {
    int32_t scene, source, first, last;
    uint8_t value[kRecordChannels];
};

// 0x24: trim[i] belongs to output first + i.
struct DspInputMixTrimRecord {
    int32_t scene, source, inputCh, first, last;
    int8_t trim[kRecordChannels];
};

// 0x27: level[ch] in dB for ch in first..last.
struct DspNoiseRecord {
    int32_t first, last;
    float level[kRecordChannels];
};

// 0x35.
struct DspSpeakerConfigRecord {
    int32_t config;
};

// 0x36, 0x83.
struct DspMixTypeRecord {
    int32_t scene, source, type;
};

// 0x37, 0x38: mode[ch] for ch in first..last.
struct DspQModeRecord {
    uint8_t d0, d1, first, last;
    uint8_t mode[kRecordChannels];
};

// 0x3E, one per channel (the same setting for every channel of the range).
struct DspCompressorRecord {
    int32_t scene, ch, bypass;
    float threshold, ratio;
    int32_t attack, release;
    float knee;
};

// 0x40: value[ch] for ch in first..last.
struct DspInputDistortRecord {
    int32_t source, first, last;
    uint8_t value[kRecordChannels];
};

// 0x41: value[ch] for ch in first..last.
struct DspOutputDistortRecord {
    int32_t reserved, source, first, last;
    uint8_t value[kRecordChannels];
};

// 0x42 (WM_READ_MEMDATA_VALUE): both words little-endian on the wire.
struct DspMemDataRecord {
    uint32_t address, data;
};

// 0x43: distance[ch] in hundredths for ch in first..last.
struct DspSpeakerDistanceRecord {
    uint8_t d0, d1, first, last;
    uint16_t distance[kRecordChannels];
};

// 0x45.
struct DspRemoteOutRecord {
    uint8_t out1, out2;
};

// 0x47 and 0x4D (whose reply carries no gain: 0).
struct DspCrossSourceMixRecord {
    uint8_t scene, source, ch, viceSource, viceCh, gain;
};

// 0x4A, one per channel.
struct DspCompressor2Record {
    int32_t scene, ch, reserved0;
    float threshold;
    int32_t reserved1, attack, release, reserved2;
};

// 0x4C: count flags in flags[0..count).
struct DspBridgeRecord {
    uint8_t scene, source, count;
    uint8_t flags[20];
};

// WM_READ_MCU_VALUE records.

// 0x08.
struct McuHandshakeRecord {
    int32_t reserved, modelId, masterVersion, slaveVersion;
};

// 0x0B.
struct McuFlashVersionRecord {
    int32_t reserved[4];
    int32_t version[4];
};

// 0x0D.
struct McuPasswordRecord {
    uint32_t passwordLength;
    uint8_t password[12];
    uint32_t remarkLength;
    uint8_t remark[20];
};

// 0x41.
struct McuDeviceTextRecord {
    uint8_t length;
    uint8_t text[16];
};

// WM_READ_FLASH_VALUE records, to the main window.

// 0x0B: index is the scene number - 1; an erased name arrives all zero.
struct SceneNameRecord {
    uint32_t reserved;
    int32_t index;
    uint8_t name[16];
};

// 0x0F: bit (s - 1) for stored scene s.
struct SceneValidRecord {
    uint32_t bitmap;
};

// WM_READ_IRC_VALUE records (calibration), one per channel or band.

// 0x14 distance, 0x15 trim.
struct IrcChFloatRecord {
    int32_t ch;
    float value;
};

// 0x17 speaker size, 0x18 speaker phase, 0x19 speaker level, 0x1B noise level.
struct IrcChValueRecord {
    int32_t ch, value;
};

// 0x16.
struct IrcEqBandRecord {
    int32_t ch, band, freq;
    float q, gain;
};

// 0x1A.
struct IrcSpectrumRecord {
    int32_t ch, band;
    float freq, gain;
};

// The receivers read these layouts by offset; keep them fixed.
static_assert(sizeof(DspFilterRecord) == 32, "record layout");
static_assert(sizeof(DspEqBandRecord) == 24, "record layout");
static_assert(sizeof(DspDelayRecord) == 12 && sizeof(DspTrimRecord) == 12, "record layout");
static_assert(sizeof(DspChValueRecord) == 12 && sizeof(DspChByteRecord) == 12, "record layout");
static_assert(offsetof(DspChByteRecord, value) == 8, "record layout");
static_assert(sizeof(DspMixRecord) == 16 && sizeof(DspLinkRecord) == 16, "record layout");
static_assert(sizeof(DspLockRecord) == 8, "record layout");
static_assert(sizeof(DspInputBytesRecord) == 32, "record layout");
static_assert(sizeof(DspInputMixTrimRecord) == 36 && offsetof(DspInputMixTrimRecord, trim) == 20,
              "record layout");
static_assert(sizeof(DspNoiseRecord) == 72, "record layout");
static_assert(sizeof(DspSpeakerConfigRecord) == 4 && sizeof(DspMixTypeRecord) == 12, "record layout");
static_assert(sizeof(DspQModeRecord) == 20, "record layout");
static_assert(sizeof(DspCompressorRecord) == 32 && sizeof(DspCompressor2Record) == 32,
              "record layout");
static_assert(sizeof(DspInputDistortRecord) == 28 && sizeof(DspOutputDistortRecord) == 32,
              "record layout");
static_assert(sizeof(DspMemDataRecord) == 8, "record layout");
static_assert(sizeof(DspSpeakerDistanceRecord) == 36 && offsetof(DspSpeakerDistanceRecord, distance) == 4,
              "record layout");
static_assert(sizeof(DspRemoteOutRecord) == 2 && sizeof(DspCrossSourceMixRecord) == 6, "record layout");
static_assert(sizeof(DspBridgeRecord) == 23, "record layout");
static_assert(sizeof(McuHandshakeRecord) == 16 && sizeof(McuFlashVersionRecord) == 32, "record layout");
static_assert(sizeof(McuPasswordRecord) == 40 && offsetof(McuPasswordRecord, remarkLength) == 16,
              "record layout");
static_assert(sizeof(McuDeviceTextRecord) == 17, "record layout");
static_assert(sizeof(SceneNameRecord) == 24 && sizeof(SceneValidRecord) == 4, "record layout");
static_assert(sizeof(IrcChFloatRecord) == 8 && sizeof(IrcChValueRecord) == 8, "record layout");
static_assert(sizeof(IrcEqBandRecord) == 20 && sizeof(IrcSpectrumRecord) == 16, "record layout");

}  // namespace dsp
