// Base64 (standard alphabet with "=" padding) for the scene names stored in
// whole-configuration files.
#pragma once

#include <cstdint>
#include <string>

// Writes the text and a terminating zero into out. capacity: in, the size of
// out; out, the text length. False when out is null or too small.
bool Base64Encode(const uint8_t* data, uint32_t length, char* out, uint32_t* capacity);

// Bytes outside the alphabet are skipped; decoding stops after a padded group.
// capacity: in, the size of out; out, the bytes written. False when the bytes
// do not fit.
bool Base64Decode(const std::string& text, uint8_t* out, uint32_t* capacity);
