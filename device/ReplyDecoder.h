// Turns the unit's reply frames into window messages (DspRecords.h) and the
// device state the firmware upgrade watches. Platform-free: the messages go to
// a sink, which posts them on Windows and collects them in tests.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>

namespace dsp {

// The window of DspDevice a message is meant for.
enum class ReplyTarget : uint8_t { MainWnd, SceneWnd, DspValueWnd, MemDataWnd, AutoCalWnd };

struct ReplyMessage {
    ReplyTarget target;
    uint32_t message;
    uint32_t wParam;
    intptr_t value;  // lParam when there is no record
    void* record;    // lParam: a block of AllocDspRecord, or null
};

class IReplySink {
public:
    virtual ~IReplySink() = default;
    // Owns message.record from here on: hands it to its window or frees it.
    virtual void Post(const ReplyMessage& message) = 0;
    // One log line, ending in a line feed.
    virtual void Log(const char* line) = 0;
};

// Configuration of the connected unit that shapes some replies.
struct ReplyConfig {
    uint32_t outputCount = 16;
    uint32_t inputCount = 14;
    uint32_t trimHundredths = 0;
    uint32_t noiseToMainWnd = 0;
};

// Device state the replies update. The upgrade engine polls it from its own
// thread, so every field is atomic.
struct ReplyDeviceState {
    std::atomic<int32_t>& deviceModelId;
    std::atomic<uint8_t>& mcuNormalMode;
    std::atomic<uint8_t>& bootloaderVersion;
    std::atomic<uint32_t>& upgState;
    std::atomic<uint8_t>& upgNotReady;
};

// Values of the upgrade state the replies move.
enum UpgradeState : uint32_t {
    UPG_MODE_ENTERED = 32,
    UPG_READY = 48,
    UPG_WAITING_ACK = 49,
    UPG_FINISHING = 64,
    UPG_NOT_READY = 80,
    UPG_FLASH_ERASED = 96,
};

class ReplyDecoder {
public:
    ReplyDecoder(IReplySink& sink, const ReplyDeviceState& state);

    // One checksum-valid frame: length is its L, payload the L - 1 bytes of
    // subcommand, optype and data. Every index and length in it is checked
    // before use; what does not fit is dropped with a log line.
    void Decode(const ReplyConfig& config, uint8_t length, uint8_t type, const uint8_t* payload);

private:
    struct Frame;

    void dsp_ack_process(const ReplyConfig& config, const Frame& f);
    void flash_ack_process(const Frame& f);
    void mcu_ack_process(const Frame& f);
    void ktv_ack_process(const Frame& f);
    void DecodeCalibration(const Frame& f);

    // The DSP rows, grouped by shape.
    void DecodeChannelRows(const ReplyConfig& config, const Frame& f);
    void DecodeBandRows(const Frame& f);
    void DecodeChannelArrays(const ReplyConfig& config, const Frame& f);
    void DecodeDspValue(const Frame& f);
    void DecodeDspRecords(const ReplyConfig& config, const Frame& f);
    void DecodeCompressor(const Frame& f);
    void DecodeUpgradeAck(const Frame& f, const char* prefix, uint32_t requiredState,
                          uint32_t readyState);
    void DecodeBlockAck(const Frame& f, const char* readyText, const char* notReadyText);

    // False (logged) when the data holds fewer than count bytes.
    bool Need(const Frame& f, uint32_t count);
    // Checks a range reply: head bytes, first and last at firstAt and
    // firstAt + 1, then stride bytes per item. False when the range is empty
    // (silently) or the data is shorter than the range (logged).
    bool Range(const Frame& f, uint32_t firstAt, uint32_t head, uint32_t stride, uint32_t* first,
               uint32_t* last);
    // False (logged) when a scene byte is beyond the stored scenes.
    bool SceneOk(const Frame& f, uint32_t scene);
    // Clips last to the channel-indexed arrays; false (logged) when nothing is left.
    bool ClipChannels(const Frame& f, uint32_t first, uint32_t* last);

    void PostValue(ReplyTarget target, uint32_t message, uint32_t wParam, intptr_t value);
    void PostRecord(ReplyTarget target, uint32_t message, uint32_t wParam, void* record);
    void NotSupported();
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    IReplySink& mSink;
    ReplyDeviceState mState;
    std::atomic<uint32_t> mDspReplyCount{0};
};

}  // namespace dsp
