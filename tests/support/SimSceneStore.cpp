// The unit's flash scene store (packet type 2): scenes 1..10 with their
// names, the valid bitmap and the current scene id.
#include <algorithm>

#include "device/FrameCodec.h"
#include "tests/support/SimUnitModel.h"

namespace sim {

namespace {

bool IsStoredScene(uint8_t scene) { return scene >= 1 && scene < kScenes; }

uint16_t ValidBitmap(const UnitState& state) {
    uint16_t bits = 0;
    for (int s = 1; s < kScenes; ++s)
        if (state.store[s].valid) bits = static_cast<uint16_t>(bits | 1u << (s - 1));
    return bits;
}

}  // namespace

void UnitModel::HandleFlash(const Frame& frame) {
    const std::vector<uint8_t>& d = frame.data;
    const bool set = frame.optype == dsp::OP_SET;
    const bool get = frame.optype == dsp::OP_GET;
    const uint8_t scene = d.empty() ? 0 : d[0];

    switch (frame.subcommand) {
    case 0x08:  // save: 0 stores what plays, otherwise the working copy as written
        if (!set || d.size() != 2 || !IsStoredScene(scene)) break;
        if (d[1] == 0) mState.scene[scene] = mState.scene[0];
        mState.store[scene].params = mState.scene[scene];
        mState.store[scene].valid = true;
        mState.currentScene = scene;
        Reply(dsp::OP_ACK, {kReady, scene});
        return;
    case 0x09:  // recall: (s, 0) into what plays, (s, FF) into working copy s
        if (!set || d.size() != 2) break;
        if (scene == 0 && d[1] == 0) {
            Ack();
            return;
        }
        if (!IsStoredScene(scene) || !mState.store[scene].valid) break;
        if (d[1] == 0) {
            mState.scene[0] = mState.store[scene].params;
            mState.currentScene = scene;
        } else if (d[1] == 0xFF) {
            mState.scene[scene] = mState.store[scene].params;
        } else {
            break;
        }
        Ack();
        return;
    case 0x0A:  // delete
        if (!set || d.size() != 1 || !IsStoredScene(scene)) break;
        mState.store[scene] = StoredScene();
        if (mState.currentScene == scene) mState.currentScene = 0;
        Reply(dsp::OP_ACK, {kReady, scene});
        return;
    case 0x0B:  // name: set [s, len, bytes], get [s]
        if (set && d.size() >= 2 && IsStoredScene(scene) && d[1] <= 16 &&
            d.size() == 2u + d[1]) {
            uint8_t* name = mState.store[scene].name;
            std::fill(name, name + 16, 0);
            std::copy(d.begin() + 2, d.end(), name);
            Ack();
            return;
        }
        if (get && d.size() == 1 && IsStoredScene(scene)) {
            std::vector<uint8_t> answer(17, scene);
            std::copy(mState.store[scene].name, mState.store[scene].name + 16, answer.begin() + 1);
            Reply(dsp::OP_VALUE, answer);
            return;
        }
        break;
    case 0x0E:
        if (!get) break;
        Reply(dsp::OP_VALUE, {mState.currentScene});
        return;
    case 0x0F: {
        if (!get) break;
        const uint16_t bits = ValidBitmap(mState);
        Reply(dsp::OP_VALUE, {static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)});
        return;
    }
    default: break;
    }
    NotReady();
}

}  // namespace sim
