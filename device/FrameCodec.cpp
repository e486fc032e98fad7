#include "device/FrameCodec.h"

#include <cstring>

namespace dsp {

uint8_t packet_checksum(uint8_t length, uint8_t type, const uint8_t* payload, ChecksumTrace trace) {
    uint32_t sum = static_cast<uint32_t>(length) + type;
    size_t count = length > 0 ? length - 1u : 0u;
    if (count > kFramePayloadSize) count = kFramePayloadSize;
    for (size_t i = 0; i < count; ++i) sum += payload[i];
    const uint32_t tempSum = 0u - sum;
    if (trace != nullptr) trace(tempSum);
    return static_cast<uint8_t>(tempSum);
}

bool BuildOutputReport(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                       size_t payloadLength, uint8_t report[kOutputReportSize], ChecksumTrace trace) {
    if (payloadLength > kMaxCommandPayload || (payloadLength > 0 && !payload)) return false;
    std::memset(report, 0, kOutputReportSize);
    const uint8_t length = static_cast<uint8_t>(payloadLength + 3);
    report[1] = 0xAA;
    report[2] = 0x55;
    report[3] = length;
    report[4] = type;
    report[5] = subcommand;
    report[6] = optype;
    if (payloadLength > 0) std::memcpy(report + 7, payload, payloadLength);
    report[7 + payloadLength] = packet_checksum(length, type, report + 5, trace);
    return true;
}

bool FrameParser::packet_process(uint8_t byte) {
    switch (state) {
    case 0:
        if (byte == 0xAA) state = 1;
        return false;
    case 1:
        // After 0xAA the parser keeps waiting for 0x55.
        if (byte == 0x55) state = 2;
        return false;
    case 2:
        length = byte;
        state = 3;
        return false;
    case 3:
        type = byte;
        state = 4;
        return false;
    default:
        break;
    }
    if (state == length + 3u) {
        state = 0;
        return byte == packet_checksum(length, type, payload, trace);
    }
    if (state < 4 + kFramePayloadSize) {
        payload[state - 4] = byte;
        ++state;
    }
    // Longer than any frame can be: start over at once, so that the byte
    // after it is looked at as the possible start of the next frame.
    if (state >= 4 + kFramePayloadSize && state != length + 3u) state = 0;
    return false;
}

}  // namespace dsp
