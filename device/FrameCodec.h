// The unit's HID framing: output reports, the checksum, the receive ring and
// the byte-by-byte input frame parser. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dsp {

constexpr size_t kOutputReportSize = 65;  // report id 0 + 64 bytes
constexpr size_t kInputReportSize = 64;
constexpr size_t kMaxCommandPayload = 57;
constexpr size_t kFramePayloadSize = 60;  // subcommand, optype and data of one frame

enum PacketType : uint8_t {
    CMD_DSP = 1,
    CMD_FLASH = 2,
    CMD_MCU = 3,
    CMD_DSP_DWRITE = 4,
    CMD_KTV = 7,
};

enum DspOpType : uint8_t {
    OP_GET = 0x66,
    OP_SET = 0xBB,
    OP_VALUE = 0xDD,
    OP_ACK = 0xEE,
};

// Receives the negated 32-bit sum a checksum was taken from, for the log
// ("packet_checksum: temp_sum(0x%08x)").
using ChecksumTrace = void (*)(uint32_t tempSum);

// Two's complement of the 8-bit sum of L, the type and the L - 1 payload bytes;
// the negated 32-bit sum goes to the trace when one is given.
uint8_t packet_checksum(uint8_t length, uint8_t type, const uint8_t* payload, ChecksumTrace trace = nullptr);

// Builds the 65-byte report of one command. False when the payload is longer
// than 57 bytes (nothing is written then).
bool BuildOutputReport(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                       size_t payloadLength, uint8_t report[kOutputReportSize], ChecksumTrace trace = nullptr);

// The frame parser; its state is the index of the frame byte expected next.
struct FrameParser {
    uint8_t state = 0;
    uint8_t length = 0;
    uint8_t type = 0;
    uint8_t payload[kFramePayloadSize] = {};
    ChecksumTrace trace = nullptr;  // told each frame's checksum sum

    // One parser step. True when the byte completed a frame with a valid
    // checksum: length, type and payload hold it until the next call.
    bool packet_process(uint8_t byte);
    void Reset() { state = 0; }
};

// 1024-byte ring between the HID reads and the parser.
class ReceiveRing {
public:
    static constexpr uint32_t kSize = 1024;
    void Put(uint8_t byte) {
        mBytes[mWrite] = byte;
        mWrite = (mWrite + 1) & (kSize - 1);
    }
    bool Take(uint8_t* byte) {
        if (mRead == mWrite) return false;
        *byte = mBytes[mRead];
        mRead = (mRead + 1) & (kSize - 1);
        return true;
    }
    void Clear() { mRead = mWrite = 0; }

private:
    uint8_t mBytes[kSize] = {};
    uint32_t mWrite = 0;
    uint32_t mRead = 0;
};

// Protocol name of a DSP subcommand for the log; null outside the table.
const char* DspSubcommandName(uint8_t subcommand);

}  // namespace dsp
