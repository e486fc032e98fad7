// The scene store in the unit's flash (packet type CMD_FLASH).
#include <cstring>

#include "base/Log.h"
#include "device/DspDevice.h"

namespace {
constexpr uint8_t kSaveScene = 0x08;
constexpr uint8_t kReadScene = 0x09;
constexpr uint8_t kDeleteScene = 0x0A;
constexpr uint8_t kSceneName = 0x0B;
constexpr uint8_t kSceneId = 0x0E;
constexpr uint8_t kSceneValid = 0x0F;
}  // namespace

void DspDevice::SaveScene(uint8_t scene, uint8_t immediately) {
    LogPrintW(L"SaveScene scene(%d) immediately=%d\n", scene, immediately);
    const uint8_t payload[] = {scene, immediately};
    Submit(dsp::CMD_FLASH, kSaveScene, dsp::OP_SET, payload, sizeof(payload), true, kSceneWaitMs);
}

void DspDevice::ReadScene(uint8_t from, uint8_t to) {
    LogPrintW(L"ReadScene from scene(%d) to scene(%d)\n", from, to);
    const uint8_t payload[] = {from, to};
    Submit(dsp::CMD_FLASH, kReadScene, dsp::OP_SET, payload, sizeof(payload), true, kSceneWaitMs);
}

void DspDevice::DeleteScene(uint8_t scene) {
    LogPrintW(L"DeleteScene scene(%d)\n", scene);
    Submit(dsp::CMD_FLASH, kDeleteScene, dsp::OP_SET, &scene, 1, true, kSceneWaitMs);
}

void DspDevice::SetSceneName(uint8_t scene, const char* name, uint8_t length) {
    if (!name || length > kMaxSceneNameBytes) {
        LogPrintW(L"SetSceneName scene(%d): name of %d bytes refused\n", scene, length);
        return;
    }
    uint8_t payload[2 + kMaxSceneNameBytes];
    payload[0] = scene;
    payload[1] = length;
    std::memcpy(payload + 2, name, length);
    // The name as text: its bytes need not be terminated.
    char text[kMaxSceneNameBytes + 1];
    std::memcpy(text, name, length);
    text[length] = '\0';
    LogPrintW(L"SetSceneName scene(%d), len(%d), (name)%S\n", scene, length, text);
    Submit(dsp::CMD_FLASH, kSceneName, dsp::OP_SET, payload, static_cast<uint8_t>(2 + length), true);
}

void DspDevice::GetSceneName(uint8_t scene) {
    Submit(dsp::CMD_FLASH, kSceneName, dsp::OP_GET, &scene, 1, true);
}

void DspDevice::GetSceneId(bool sync) { Submit(dsp::CMD_FLASH, kSceneId, dsp::OP_GET, nullptr, 0, sync); }

void DspDevice::GetSceneValid() {
    Submit(dsp::CMD_FLASH, kSceneValid, dsp::OP_GET, nullptr, 0, true);
}
