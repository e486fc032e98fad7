#include "device/ReplyDecoder.h"

#include <cstdio>
#include <cstring>

#include "device/DspRecords.h"
#include "device/FrameCodec.h"

namespace dsp {

struct ReplyDecoder::Frame {
    uint8_t type;
    uint8_t sub;
    uint8_t op;
    const uint8_t* d;  // data bytes after subcommand and optype
    uint32_t n;        // their count
};

namespace {

constexpr uint8_t kAckReady = 0x0A;
constexpr uint8_t kAckNotReady = 0x60;
constexpr uint8_t kHandshakeRefused = 0xF0;
constexpr uint8_t kIrcStatusFailed = 11;

const char* const kIrcStatusNames[] = {
    "IRC_RET_START_TEST",      "IRC_RET_SPK_STATUS",  "IRC_RET_LEVEL",
    "IRC_RET_DELAY",           "IRC_RET_TRIM",        "IRC_RET_EQ",
    "IRC_RET_SPK_RTA_TEST",    "IRC_RET_RTA_UPDATE",  "IRC_RET_EQ_DATA_UPDATE",
    "IRC_RET_TEST_DATA_UPDATE", "IRC_RET_TEST_DONE",  "IRC_RET_TEST_FAIL",
    "IRC_RET_TEST_EXIT",
};

const char* const kIrcFailNames[] = {
    "IRC_FAIL_NO_VAR", "IRC_FAIL_NO_MIC", "IRC_FAIL_NO_SPEAKER",
    "IRC_FAIL_DELAY",  "IRC_FAIL_TRIM",   "IRC_FAIL_EQ",
};

uint32_t Be16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

float Signed(uint8_t byte) { return static_cast<float>(static_cast<int8_t>(byte)); }

// The six bytes of one EQ band: frequency BE16, Q whole and hundredths, gain
// + 18 whole and tenths.
void DecodeEqBand(const uint8_t* p, int32_t* freq, float* q, float* gain) {
    *freq = static_cast<int32_t>(Be16(p));
    *q = p[2] + p[3] / 100.0f;
    *gain = p[4] + p[5] / 10.0f - 18.0f;
}

// The record of one channel of a per-channel DSP reply; p points at the
// channel's stride bytes. Null when memory is short.
void* ChannelRecord(const ReplyConfig& config, uint8_t sub, int32_t scene, int32_t source,
                    int32_t ch, const uint8_t* p) {
    switch (sub) {
    case 0x05:
        if (auto* r = NewDspRecord<DspFilterRecord>()) {
            *r = {scene, ch, p[0], static_cast<int32_t>(Be16(p + 1)), p[3],
                  p[4], static_cast<int32_t>(Be16(p + 5)), p[7]};
            return r;
        }
        return nullptr;
    case 0x07:
        if (auto* r = NewDspRecord<DspDelayRecord>()) {
            *r = {scene, ch, p[0] + Be16(p + 1) / 1000.0f};
            return r;
        }
        return nullptr;
    case 0x08:
        if (auto* r = NewDspRecord<DspTrimRecord>()) {
            *r = {scene, ch, config.trimHundredths ? -(p[0] + p[1] / 100.0f) : Signed(p[0])};
            return r;
        }
        return nullptr;
    case 0x0A:
        if (auto* r = NewDspRecord<DspChByteRecord>()) {
            r->scene = scene;
            r->ch = ch;
            r->value = p[0];
            return r;
        }
        return nullptr;
    case 0x0B:
        if (auto* r = NewDspRecord<DspMixRecord>()) {
            *r = {scene, source, ch, config.inputCount < 9 ? p[0] : Be16(p)};
            return r;
        }
        return nullptr;
    case 0x4A:
        if (auto* r = NewDspRecord<DspCompressor2Record>()) {
            *r = {scene, ch, 0, Signed(p[0]) + Signed(p[1]) * 0.1f, 0,
                  static_cast<int32_t>(Be16(p + 2)), (p[4] * 10 + p[5]) * 100, 0};
            return r;
        }
        return nullptr;
    default:  // 0x09, 0x0D, 0x12, 0x34, 0x49: one byte as a 32-bit value
        if (auto* r = NewDspRecord<DspChValueRecord>()) {
            *r = {scene, ch, p[0]};
            return r;
        }
        return nullptr;
    }
}

}  // namespace

ReplyDecoder::ReplyDecoder(IReplySink& sink, const ReplyDeviceState& state)
    : mSink(sink), mState(state) {}

void ReplyDecoder::Decode(const ReplyConfig& config, uint8_t length, uint8_t type,
                          const uint8_t* payload) {
    // A frame without subcommand and optype, or longer than a frame can be,
    // carries nothing to decode.
    if (!payload || length < 3 || length - 1u > kFramePayloadSize) {
        Log("reply of type %d with length %d dropped\n", type, length);
        return;
    }
    const Frame f{type, payload[0], payload[1], payload + 2, length - 3u};
    switch (type) {
    case CMD_DSP: dsp_ack_process(config, f); break;
    case CMD_FLASH: flash_ack_process(f); break;
    case CMD_MCU: mcu_ack_process(f); break;
    case CMD_KTV: ktv_ack_process(f); break;
    default: break;
    }
}

void ReplyDecoder::dsp_ack_process(const ReplyConfig& config, const Frame& f) {
    const uint32_t count = ++mDspReplyCount;
    const char* name = f.sub == 0x83 ? "DSP_MIX_TYPE2" : f.sub <= 0x4D ? DspSubcommandName(f.sub) : nullptr;
    if (name)
        Log("dsp_ack_process %u, cmd(0x%08x), OP(%02x), %s\n", count, f.sub, f.op, name);
    else
        Log("dsp_ack_process %u, cmd(0x%08x), OP(%02x), %d\n", count, f.sub, f.op, f.sub);

    switch (f.sub) {
    case 0x02:
        if (f.op == OP_ACK) {
            Log("DSP_VOLUME OP_ACK\n");
        } else if (f.op == OP_VALUE && Need(f, 1)) {
            Log("DSP_VOLUME OP_UPDATE, MVol = %d\n", static_cast<int8_t>(f.d[0]));
            PostValue(ReplyTarget::MainWnd, WM_READ_DSP_VALUE, f.sub, static_cast<int8_t>(f.d[0]));
        }
        return;
    case 0x0D:
        if (f.op == OP_ACK)
            Log("DSP_CH_TYPE OP_ACK\n");
        else if (f.op == OP_VALUE)
            DecodeChannelRows(config, f);
        return;
    case 0x0C: case 0x10: case 0x1C:
        return;
    case 0x05: case 0x07: case 0x08: case 0x09: case 0x0A: case 0x0B: case 0x12: case 0x34:
    case 0x49: case 0x4A:
        if (f.op == OP_VALUE) DecodeChannelRows(config, f);
        return;
    case 0x06: case 0x23:
        if (f.op == OP_VALUE) DecodeBandRows(f);
        return;
    case 0x20: case 0x21: case 0x22: case 0x24: case 0x27: case 0x37: case 0x38: case 0x40:
    case 0x41: case 0x43:
        if (f.op == OP_VALUE) DecodeChannelArrays(config, f);
        return;
    case 0x3E:
        if (f.op == OP_VALUE) DecodeCompressor(f);
        return;
    case 0x13: case 0x14: case 0x15: case 0x16: case 0x17: case 0x18: case 0x19: case 0x1A:
    case 0x1B:
        if (f.op == OP_VALUE) DecodeCalibration(f);
        return;
    case 0x01: case 0x03: case 0x04: case 0x26: case 0x32: case 0x39: case 0x3A: case 0x3B:
    case 0x3F: case 0x44: case 0x46: case 0x4B: case 0x4E:
        if (f.op == OP_VALUE) DecodeDspValue(f);
        return;
    case 0x00: case 0x0E: case 0x0F: case 0x11: case 0x30: case 0x31: case 0x35: case 0x36:
    case 0x42: case 0x45: case 0x47: case 0x4C: case 0x4D: case 0x83:
        if (f.op == OP_VALUE) DecodeDspRecords(config, f);
        return;
    default:
        NotSupported();
        return;
    }
}

void ReplyDecoder::DecodeDspValue(const Frame& f) {
    if (!Need(f, f.sub == 0x32 ? 2 : 1)) return;
    intptr_t value = f.d[0];
    switch (f.sub) {
    case 0x03: value = static_cast<int8_t>(f.d[0]); break;
    case 0x26:
        value = static_cast<int8_t>(f.d[0]);
        Log("input_threshold = %d\n", static_cast<int>(value));
        break;
    case 0x32: value = Be16(f.d); break;
    case 0x39: Log("fac_preset mode = %d\n", f.d[0]); break;
    case 0x3A: Log("setup_mode mode = %d\n", f.d[0]); break;
    default: break;
    }
    PostValue(ReplyTarget::MainWnd, WM_READ_DSP_VALUE, f.sub, value);
}

void ReplyDecoder::DecodeChannelRows(const ReplyConfig& config, const Frame& f) {
    uint32_t stride = 1;
    switch (f.sub) {
    case 0x05: stride = 8; break;
    case 0x07: stride = 3; break;
    case 0x08: stride = config.trimHundredths ? 2 : 1; break;
    case 0x0B: stride = config.inputCount < 9 ? 1 : 2; break;
    case 0x4A: stride = 6; break;
    default: break;
    }
    uint32_t first = 0;
    uint32_t last = 0;
    if (!Range(f, 2, 4, stride, &first, &last) || !SceneOk(f, f.d[0]) || !ClipChannels(f, first, &last))
        return;
    for (uint32_t ch = first; ch <= last; ++ch) {
        const uint8_t* p = f.d + 4 + (ch - first) * stride;
        PostRecord(ReplyTarget::MainWnd, WM_READ_DSP_VALUE, f.sub,
                   ChannelRecord(config, f.sub, f.d[0], f.d[1], static_cast<int32_t>(ch), p));
    }
}

void ReplyDecoder::DecodeBandRows(const Frame& f) {
    uint32_t first = 0;
    uint32_t last = 0;
    if (!Range(f, 3, 5, 6, &first, &last) || !SceneOk(f, f.d[0])) return;
    const uint32_t ch = f.d[2];
    if (ch >= kRecordChannels) {
        Log("reply 0x%02x channel %u out of range, dropped\n", f.sub, ch);
        return;
    }
    for (uint32_t band = first; band <= last; ++band) {
        if (band >= kRecordBands) {
            Log("reply 0x%02x bands %u..%u out of range, dropped\n", f.sub, band, last);
            return;
        }
        auto* r = NewDspRecord<DspEqBandRecord>();
        if (r) {
            r->scene = f.d[0];
            r->ch = static_cast<int32_t>(ch);
            r->band = static_cast<int32_t>(band);
            DecodeEqBand(f.d + 5 + (band - first) * 6, &r->freq, &r->q, &r->gain);
        }
        PostRecord(ReplyTarget::MainWnd, WM_READ_DSP_VALUE, f.sub, r);
    }
}

void ReplyDecoder::DecodeChannelArrays(const ReplyConfig& config, const Frame& f) {
    uint32_t firstAt = 2;
    uint32_t stride = 1;
    bool hasScene = true;
    switch (f.sub) {
    case 0x24: firstAt = 3; break;
    case 0x27: firstAt = 0; stride = 2; hasScene = false; break;
    case 0x37: case 0x38: hasScene = false; break;
    case 0x40: case 0x41: firstAt = 1; hasScene = false; break;
    case 0x43: stride = 2; hasScene = false; break;
    default: break;  // 0x20, 0x21, 0x22
    }
    const uint32_t head = firstAt + 2;
    uint32_t first = 0;
    uint32_t last = 0;
    if (!Range(f, firstAt, head, stride, &first, &last)) return;
    if (hasScene && !SceneOk(f, f.d[0])) return;
    if (!ClipChannels(f, first, &last)) return;
    const uint8_t* items = f.d + head;
    const uint32_t count = last - first + 1;

    ReplyTarget target = ReplyTarget::MainWnd;
    void* record = nullptr;
    switch (f.sub) {
    case 0x24: {
        if (f.d[2] >= kRecordChannels) {
            Log("reply 0x%02x input channel %u out of range, dropped\n", f.sub, f.d[2]);
            return;
        }
        auto* r = NewDspRecord<DspInputMixTrimRecord>();
        if (r) {
            *r = {f.d[0], f.d[1], f.d[2], static_cast<int32_t>(first), static_cast<int32_t>(last), {}};
            std::memcpy(r->trim, items, count);
        }
        record = r;
        break;
    }
    case 0x27: {
        auto* r = NewDspRecord<DspNoiseRecord>();
        if (r) {
            r->first = static_cast<int32_t>(first);
            r->last = static_cast<int32_t>(last);
            for (uint32_t i = 0; i < count; ++i)
                r->level[first + i] = (items[2 * i] - 100) + items[2 * i + 1] / 10.0f;
        }
        record = r;
        target = config.noiseToMainWnd ? ReplyTarget::MainWnd : ReplyTarget::DspValueWnd;
        break;
    }
    case 0x37: case 0x38: {
        auto* r = NewDspRecord<DspQModeRecord>();
        if (r) {
            *r = {f.d[0], f.d[1], static_cast<uint8_t>(first), static_cast<uint8_t>(last), {}};
            std::memcpy(r->mode + first, items, count);
        }
        record = r;
        break;
    }
    case 0x40: {
        auto* r = NewDspRecord<DspInputDistortRecord>();
        if (r) {
            *r = {f.d[0], static_cast<int32_t>(first), static_cast<int32_t>(last), {}};
            std::memcpy(r->value + first, items, count);
        }
        record = r;
        break;
    }
    case 0x41: {
        auto* r = NewDspRecord<DspOutputDistortRecord>();
        if (r) {
            *r = {0, f.d[0], static_cast<int32_t>(first), static_cast<int32_t>(last), {}};
            std::memcpy(r->value + first, items, count);
        }
        record = r;
        break;
    }
    case 0x43: {
        auto* r = NewDspRecord<DspSpeakerDistanceRecord>();
        if (r) {
            *r = {f.d[0], f.d[1], static_cast<uint8_t>(first), static_cast<uint8_t>(last), {}};
            for (uint32_t i = 0; i < count; ++i) {
                r->distance[first + i] = static_cast<uint16_t>(Be16(items + 2 * i));
                Log("q_spk_dist[%u]=(%u/100)\n", first + i, Be16(items + 2 * i));
            }
        }
        record = r;
        break;
    }
    default: {  // 0x20, 0x21, 0x22
        auto* r = NewDspRecord<DspInputBytesRecord>();
        if (r) {
            *r = {f.d[0], f.d[1], static_cast<int32_t>(first), static_cast<int32_t>(last), {}};
            std::memcpy(r->value + first, items, count);
        }
        record = r;
        break;
    }
    }
    PostRecord(target, WM_READ_DSP_VALUE, f.sub, record);
}

void ReplyDecoder::DecodeCompressor(const Frame& f) {
    // One setting for the whole range: no bytes per channel.
    uint32_t first = 0;
    uint32_t last = 0;
    if (!Range(f, 2, 15, 0, &first, &last) || !SceneOk(f, f.d[0]) || !ClipChannels(f, first, &last))
        return;
    const uint8_t* d = f.d;
    for (uint32_t ch = first; ch <= last; ++ch) {
        auto* r = NewDspRecord<DspCompressorRecord>();
        if (r) {
            *r = {d[0], static_cast<int32_t>(ch), d[4],
                  d[5] + d[6] / 10.0f - 100.0f, d[7] + d[8] / 10.0f,
                  static_cast<int32_t>(Be16(d + 11)), static_cast<int32_t>(Be16(d + 13)),
                  d[9] + d[10] / 10.0f};
        }
        PostRecord(ReplyTarget::MainWnd, WM_READ_DSP_VALUE, f.sub, r);
    }
}

void ReplyDecoder::DecodeDspRecords(const ReplyConfig& config, const Frame& f) {
    const uint8_t* d = f.d;
    void* record = nullptr;
    ReplyTarget target = ReplyTarget::MainWnd;
    uint32_t message = WM_READ_DSP_VALUE;
    switch (f.sub) {
    case 0x00: {
        if (!Need(f, 1) || !Need(f, 1u + d[0])) return;
        Log("DSP_SOURCE_CONFIG update total source=%d -->\n", d[0]);
        for (uint32_t i = 0; i < d[0]; ++i) Log("source%u = %d\n", i, d[1 + i]);
        return;
    }
    case 0x11:
        if (Need(f, 1)) Log("DSP_EQ_RESET OP=0x%x, scene =%d, \n", f.op, d[0]);
        return;
    case 0x0E: case 0x30: case 0x31: {
        uint32_t pairs = config.outputCount / 2;
        if (pairs > sizeof(DspLinkRecord::pairs)) pairs = sizeof(DspLinkRecord::pairs);
        if (!Need(f, 2 + pairs) || !SceneOk(f, d[0])) return;
        auto* r = NewDspRecord<DspLinkRecord>();
        if (r) {
            r->scene = d[0];
            r->mode = d[1];
            std::memcpy(r->pairs, d + 2, pairs);
        }
        record = r;
        break;
    }
    case 0x0F: {
        if (!Need(f, 2) || !SceneOk(f, d[0])) return;
        auto* r = NewDspRecord<DspLockRecord>();
        if (r) *r = {d[0], d[1]};
        record = r;
        break;
    }
    case 0x35: {
        if (!Need(f, 1)) return;
        Log("DSP_SPK_CH_CONFIG spk_cfg(0x%02x)\n", d[0]);
        auto* r = NewDspRecord<DspSpeakerConfigRecord>();
        if (r) r->config = d[0];
        record = r;
        break;
    }
    case 0x36: case 0x83: {
        if (!Need(f, 3) || !SceneOk(f, d[0])) return;
        auto* r = NewDspRecord<DspMixTypeRecord>();
        if (r) *r = {d[0], d[1], d[2]};
        record = r;
        break;
    }
    case 0x42: {
        if (!Need(f, 8)) return;
        auto* r = NewDspRecord<DspMemDataRecord>();
        if (r) *r = {Le32(d), Le32(d + 4)};
        record = r;
        target = ReplyTarget::MemDataWnd;
        message = WM_READ_MEMDATA_VALUE;
        break;
    }
    case 0x45: {
        if (!Need(f, 2)) return;
        auto* r = NewDspRecord<DspRemoteOutRecord>();
        if (r) *r = {d[0], d[1]};
        record = r;
        break;
    }
    case 0x47: case 0x4D: {
        // 0x47: scene, source, ch, vice source, vice ch, vice gain;
        // 0x4D: scene, source, vice source, vice ch, ch.
        const bool cs = f.sub == 0x4D;
        if (!Need(f, cs ? 5 : 6) || !SceneOk(f, d[0])) return;
        const uint8_t ch = cs ? d[4] : d[2];
        const uint8_t viceSource = cs ? d[2] : d[3];
        const uint8_t viceCh = cs ? d[3] : d[4];
        if (ch >= kRecordChannels || viceCh >= kRecordChannels) {
            Log("reply 0x%02x channel %u/%u out of range, dropped\n", f.sub, ch, viceCh);
            return;
        }
        auto* r = NewDspRecord<DspCrossSourceMixRecord>();
        if (r) *r = {d[0], d[1], ch, viceSource, viceCh, static_cast<uint8_t>(cs ? 0 : d[5])};
        record = r;
        break;
    }
    case 0x4C: {
        if (!Need(f, 3) || !SceneOk(f, d[0])) return;
        if (d[2] > sizeof(DspBridgeRecord::flags)) {
            Log("reply 0x%02x bridge count %u too large, dropped\n", f.sub, d[2]);
            return;
        }
        if (!Need(f, 3u + d[2])) return;
        auto* r = NewDspRecord<DspBridgeRecord>();
        if (r) {
            r->scene = d[0];
            r->source = d[1];
            r->count = d[2];
            std::memcpy(r->flags, d + 3, d[2]);
        }
        record = r;
        break;
    }
    default:
        return;
    }
    PostRecord(target, message, f.sub, record);
}

void ReplyDecoder::DecodeCalibration(const Frame& f) {
    const uint8_t* d = f.d;
    if (f.sub == 0x13) {
        if (!Need(f, 1)) return;
        const uint8_t status = d[0];
        if (status >= sizeof(kIrcStatusNames) / sizeof(kIrcStatusNames[0])) {
            Log("DSP_IRC_CTRL status %d unknown\n", status);
            return;
        }
        Log("%s\n", kIrcStatusNames[status]);
        intptr_t value = 0;
        if (status == kIrcStatusFailed) {
            if (!Need(f, 5)) return;
            if (d[4] >= sizeof(kIrcFailNames) / sizeof(kIrcFailNames[0])) {
                Log("DSP_IRC_CTRL failure reason %d unknown\n", d[4]);
                return;
            }
            Log("%s\n", kIrcFailNames[d[4]]);
            value = d[4];
        } else if (status == 7 || status == 8) {
            if (!Need(f, 2)) return;
            value = d[1];
        } else {
            if (!Need(f, 4)) return;
            value = d[3];
        }
        PostValue(ReplyTarget::AutoCalWnd, WM_READ_IRC_VALUE, status, value);
        return;
    }

    uint32_t first = 0;
    uint32_t last = 0;
    if (f.sub == 0x16 || f.sub == 0x1A) {
        // Bands of one channel.
        const uint32_t stride = f.sub == 0x16 ? 6 : 5;
        if (!Range(f, 1, 3, stride, &first, &last)) return;
        if (d[0] >= kRecordChannels) {
            Log("reply 0x%02x channel %u out of range, dropped\n", f.sub, d[0]);
            return;
        }
        for (uint32_t band = first; band <= last; ++band) {
            if (band >= kRecordBands) {
                Log("reply 0x%02x bands %u..%u out of range, dropped\n", f.sub, band, last);
                return;
            }
            const uint8_t* p = d + 3 + (band - first) * stride;
            void* record = nullptr;
            if (f.sub == 0x16) {
                auto* r = NewDspRecord<IrcEqBandRecord>();
                if (r) {
                    r->ch = d[0];
                    r->band = static_cast<int32_t>(band);
                    DecodeEqBand(p, &r->freq, &r->q, &r->gain);
                }
                record = r;
            } else {
                auto* r = NewDspRecord<IrcSpectrumRecord>();
                if (r)
                    *r = {d[0], static_cast<int32_t>(band), Be16(p) + p[2] / 100.0f,
                          Signed(p[3]) + Signed(p[4]) / 100.0f};
                record = r;
            }
            PostRecord(ReplyTarget::AutoCalWnd, WM_READ_IRC_VALUE, f.sub, record);
        }
        return;
    }

    // Channels d0..d1: 0x14 two bytes each, the others one.
    const uint32_t stride = f.sub == 0x14 ? 2 : 1;
    if (!Range(f, 0, 2, stride, &first, &last) || !ClipChannels(f, first, &last)) return;
    for (uint32_t ch = first; ch <= last; ++ch) {
        const uint8_t* p = d + 2 + (ch - first) * stride;
        void* record = nullptr;
        if (f.sub == 0x14 || f.sub == 0x15) {
            auto* r = NewDspRecord<IrcChFloatRecord>();
            if (r) *r = {static_cast<int32_t>(ch), f.sub == 0x14 ? p[0] + p[1] / 100.0f : p[0]};
            record = r;
        } else {
            auto* r = NewDspRecord<IrcChValueRecord>();
            if (r) *r = {static_cast<int32_t>(ch), p[0]};
            record = r;
        }
        PostRecord(ReplyTarget::AutoCalWnd, WM_READ_IRC_VALUE, f.sub, record);
    }
}

void ReplyDecoder::mcu_ack_process(const Frame& f) {
    const uint8_t* d = f.d;
    switch (f.sub) {
    case 0x01: case 0xA0:
        if (f.op == OP_ACK && Need(f, 1) && d[0] == kAckReady) mState.upgState.store(UPG_MODE_ENTERED);
        return;
    case 0x02: case 0xA1:
        if (f.op != OP_ACK || !Need(f, 1)) return;
        if (d[0] == kAckReady) {
            Log("MCU_UPG_START: ACK_READY\n");
            mState.upgState.store(UPG_READY);
        } else {
            Log("MCU_UPG_START: ACK_NOT_READY\n");
            mState.upgState.store(UPG_NOT_READY);
        }
        return;
    case 0x03: case 0xA2:
        DecodeBlockAck(f, "MCU UPG_WAITING_BIN_DATA_ACK: ACK_READY", "MCU !!!!! NOT_READY !!!!!!");
        return;
    case 0x04: case 0xA3:
        if (f.op == OP_ACK && Need(f, 1) && d[0] == kAckReady && mState.upgState.load() == UPG_FINISHING)
            Log("MCU UPG_FINISH: ACK_READY\n");
        return;
    case 0x05: case 0x06: case 0x07: case 0x0A: case 0x1F: case 0x8F: case 0x90:
        return;
    case 0x08:
        if (f.op != OP_VALUE) return;
        Log("MCU_HANDSHAKE\n");
        if (!Need(f, 1)) return;
        if (d[0] == kHandshakeRefused) {
            mState.mcuNormalMode.store(0);
            PostValue(ReplyTarget::MainWnd, WM_HANDSHAKE_REFUSED, 0, 0);
            return;
        }
        if (!Need(f, 4)) return;
        mState.mcuNormalMode.store(1);
        mState.deviceModelId.store(d[1]);
        Log("model = %d, master verion = %d, slave verion = %d\n", d[1], d[2], d[3]);
        {
            auto* r = NewDspRecord<McuHandshakeRecord>();
            if (r) *r = {0, d[1], d[2], d[3]};
            PostRecord(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, r);
        }
        return;
    case 0x0B: {
        if (f.op != OP_VALUE || !Need(f, 4)) return;
        Log("flashver = %02d%02d%02d%02d\n", d[0], d[1], d[2], d[3]);
        auto* r = NewDspRecord<McuFlashVersionRecord>();
        if (r)
            for (int i = 0; i < 4; ++i) r->version[i] = d[i];
        PostRecord(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, r);
        return;
    }
    case 0x0C:
        if (f.op != OP_VALUE || !Need(f, 1)) return;
        Log("MCU bootloader version = %d\n", d[0]);
        mState.bootloaderVersion.store(d[0]);
        return;
    case 0x0D: {
        if (f.op != OP_VALUE || !Need(f, 1)) return;
        const uint32_t n = d[0];
        if (n > sizeof(McuPasswordRecord::password)) {
            Log("MCU password length %u too large, dropped\n", n);
            return;
        }
        if (!Need(f, n + 2)) return;
        const uint32_t m = d[1 + n];
        if (m > sizeof(McuPasswordRecord::remark)) {
            Log("MCU remark length %u too large, dropped\n", m);
            return;
        }
        if (!Need(f, n + 2 + m)) return;
        auto* r = NewDspRecord<McuPasswordRecord>();
        if (r) {
            r->passwordLength = n;
            std::memcpy(r->password, d + 1, n);
            r->remarkLength = m;
            std::memcpy(r->remark, d + 2 + n, m);
        }
        PostRecord(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, r);
        return;
    }
    case 0x41: {
        if (f.op != OP_VALUE || !Need(f, 1)) return;
        const uint32_t n = d[0];
        if (n > sizeof(McuDeviceTextRecord::text)) {
            Log("MCU device text length %u too large, dropped\n", n);
            return;
        }
        if (!Need(f, n + 1)) return;
        auto* r = NewDspRecord<McuDeviceTextRecord>();
        if (r) {
            r->length = static_cast<uint8_t>(n);
            std::memcpy(r->text, d + 1, n);
        }
        PostRecord(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, r);
        return;
    }
    case 0x60:
        Log("MCU INIT\n");
        return;
    case 0x91:
        if (f.op == OP_VALUE && Need(f, 2)) PostValue(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, Be16(d));
        return;
    case 0x92:
        if (f.op != OP_VALUE || !Need(f, 1)) return;
        Log("MCU_ACC OP=0x%x, delay = %d\n", f.op, static_cast<int8_t>(d[0]));
        PostValue(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, static_cast<int8_t>(d[0]));
        return;
    case 0x93:
        if (f.op != OP_VALUE) return;
        Log("MCU_PING\n");
        mState.mcuNormalMode.store(0);
        PostValue(ReplyTarget::MainWnd, WM_READ_MCU_VALUE, f.sub, 0);
        Log("post WM_READ_MCU_VALUE + MCU_PING\n");
        return;
    default:
        NotSupported();
        return;
    }
}

void ReplyDecoder::flash_ack_process(const Frame& f) {
    const uint8_t* d = f.d;
    switch (f.sub) {
    case 0x02:
        DecodeUpgradeAck(f, "FLASH CHIP ERASE", UPG_MODE_ENTERED, UPG_FLASH_ERASED);
        return;
    case 0x03:
        DecodeUpgradeAck(f, "FLASH UPG_START", UPG_MODE_ENTERED, UPG_READY);
        return;
    case 0x04:
        DecodeBlockAck(f, "UPG_WAITING_BIN_DATA_ACK: ACK_READY", "!!!!! NOT_READY !!!!!!");
        return;
    case 0x05:
        if (f.op == OP_ACK && Need(f, 1) && d[0] == kAckReady && mState.upgState.load() == UPG_FINISHING)
            Log("UPG_FINISH: ACK_READY\n");
        return;
    case 0x08: case 0x0A:
        // Save (0x08) and delete (0x0A) acknowledged; wParam names the scene.
        if (f.op != OP_ACK || !Need(f, 1) || d[0] != kAckReady || !Need(f, 2)) return;
        Log("FLASH scene %s ack, scene = %d\n", f.sub == 0x08 ? "save" : "delete", d[1]);
        PostValue(ReplyTarget::SceneWnd, f.sub == 0x08 ? WM_READ_FLASH_VALUE : WM_FLASH_ACK, d[1], 0);
        return;
    case 0x09:
        // Recalling a scene is not acknowledged to a window: the loading
        // thread ends its own busy state when its status read is done.
        return;
    case 0x0B: {
        if (f.op != OP_VALUE || !Need(f, 1 + sizeof(SceneNameRecord::name))) return;
        if (d[0] < 1 || d[0] > kSceneCount) {
            Log("FLASH_SCENE_NAME scene %d out of range, dropped\n", d[0]);
            return;
        }
        auto* r = NewDspRecord<SceneNameRecord>();
        if (r) {
            r->index = d[0] - 1;
            std::memcpy(r->name, d + 1, sizeof(r->name));
            // An erased name reads as 0xFF bytes; it means no name.
            bool erased = true;
            for (uint8_t byte : r->name) erased = erased && byte == 0xFF;
            if (erased) std::memset(r->name, 0, sizeof(r->name));
        }
        Log("FLASH_SCENE_NAME scene = %d\n", d[0]);
        PostRecord(ReplyTarget::MainWnd, WM_READ_FLASH_VALUE, f.sub, r);
        return;
    }
    case 0x0E:
        if (f.op != OP_VALUE || !Need(f, 1)) return;
        Log("FLASH_SCENE_ID current scene id = %d\n", d[0]);
        if (d[0] > kSceneCount) {
            Log("FLASH_SCENE_ID scene %d out of range, dropped\n", d[0]);
            return;
        }
        PostValue(ReplyTarget::SceneWnd, WM_READ_SCENE_ID, f.sub, d[0]);
        return;
    case 0x0F: {
        if (f.op != OP_VALUE || !Need(f, 2)) return;
        Log("FLASH_SCENE_VALID valid scene = %u\n", Be16(d));
        auto* r = NewDspRecord<SceneValidRecord>();
        if (r) r->bitmap = Be16(d);
        PostRecord(ReplyTarget::MainWnd, WM_READ_FLASH_VALUE, f.sub, r);
        return;
    }
    default:
        NotSupported();
        return;
    }
}

void ReplyDecoder::ktv_ack_process(const Frame& f) {
    // Indexed by subcommand - 1.
    static const char* const kKtvNames[] = {
        "KTV MIC VOL",      "KTV MUSIC_VOL",   "KTV HOWLING",       "KTV ECHO LEVEL", "KTV ECHO_DELAY",
        "KTV REVERB_LEVEL", "KTV REVERB_TIME", "KTV VOICE_CHANGER", "KTV_BASS_GAIN",  "KTV_TREBLE_GAIN",
    };
    if (f.sub == 0 || f.sub > 10) {
        NotSupported();
        return;
    }
    if (f.op != OP_VALUE || !Need(f, f.sub == 5 ? 2 : 1)) return;
    intptr_t value = f.d[0];
    if (f.sub == 5)
        value = Be16(f.d);
    else if (f.sub == 9 || f.sub == 10)
        value = static_cast<int8_t>(f.d[0]);
    Log("ktv_ack_process sub = %d, %s, value = %d\n", f.sub, kKtvNames[f.sub - 1], static_cast<int>(value));
    PostValue(ReplyTarget::MainWnd, WM_READ_KTV_VALUE, f.sub, value);
}

void ReplyDecoder::DecodeUpgradeAck(const Frame& f, const char* prefix, uint32_t requiredState,
                                    uint32_t readyState) {
    if (f.op != OP_ACK || !Need(f, 1)) return;
    if (f.d[0] == kAckReady && mState.upgState.load() == requiredState) {
        Log("%s: ACK_READY\n", prefix);
        mState.upgState.store(readyState);
    } else if (f.d[0] == kAckNotReady) {
        Log("%s: ACK_NOT_READY\n", prefix);
        mState.upgState.store(UPG_NOT_READY);
    }
}

void ReplyDecoder::DecodeBlockAck(const Frame& f, const char* readyText, const char* notReadyText) {
    // An acknowledgement outside the wait for a block belongs to no block.
    if (f.op != OP_ACK || !Need(f, 1) || mState.upgState.load() != UPG_WAITING_ACK) return;
    if (f.d[0] == kAckReady) {
        Log("%s\n", readyText);
        mState.upgState.store(UPG_READY);
    } else if (f.d[0] == kAckNotReady) {
        Log("%s\n", notReadyText);
        mState.upgNotReady.store(1);
    }
}

bool ReplyDecoder::Need(const Frame& f, uint32_t count) {
    if (f.n >= count) return true;
    Log("reply %d/0x%02x too short (%u data bytes, needs %u), dropped\n", f.type, f.sub, f.n, count);
    return false;
}

bool ReplyDecoder::Range(const Frame& f, uint32_t firstAt, uint32_t head, uint32_t stride,
                         uint32_t* first, uint32_t* last) {
    if (!Need(f, head)) return false;
    *first = f.d[firstAt];
    *last = f.d[firstAt + 1];
    if (*first > *last) return false;
    return Need(f, head + (*last - *first + 1) * stride);
}

bool ReplyDecoder::SceneOk(const Frame& f, uint32_t scene) {
    if (scene <= kSceneCount) return true;
    Log("reply %d/0x%02x scene %u out of range, dropped\n", f.type, f.sub, scene);
    return false;
}

bool ReplyDecoder::ClipChannels(const Frame& f, uint32_t first, uint32_t* last) {
    if (*last < kRecordChannels) return true;
    Log("reply %d/0x%02x channels %u..%u beyond %u, dropped\n", f.type, f.sub,
        first < kRecordChannels ? kRecordChannels : first, *last, kRecordChannels - 1);
    *last = kRecordChannels - 1;
    return first < kRecordChannels;
}

void ReplyDecoder::PostValue(ReplyTarget target, uint32_t message, uint32_t wParam, intptr_t value) {
    mSink.Post(ReplyMessage{target, message, wParam, value, nullptr});
}

void ReplyDecoder::PostRecord(ReplyTarget target, uint32_t message, uint32_t wParam, void* record) {
    if (!record) {
        Log("no memory for the record of message %u/0x%02x\n", message, wParam);
        return;
    }
    mSink.Post(ReplyMessage{target, message, wParam, 0, record});
}

void ReplyDecoder::NotSupported() { Log("!!! NOT SUPPORT MSG\n"); }

void ReplyDecoder::Log(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    if (n < 0) return;
    mSink.Log(line);
}

}  // namespace dsp
