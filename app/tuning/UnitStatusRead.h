// The gets that read the unit's whole state back after a connect, and those
// that read one stored scene. They run on the status reader thread: each get
// waits for its answer, which reaches the main window as a posted reply, so
// nothing here touches the model or a control.
#pragma once

#include <atomic>
#include <cstdint>

class DspDevice;
class UnitExchanges;

enum class UnitStatusRead {
    Done,             // every value was asked for
    NotRead,          // another model or the unit not in normal mode: nothing asked
    HandshakeFailed,  // the unit never answered the handshake
    Stopped,          // stop was set (the link is closing): the rest was not asked
    Unanswered,       // the unit went silent part way: the rest was not asked
};

// PC_Connect, the handshake and, for our model in normal mode, every get of
// the live settings in the unit's order. stop is looked at between gets; a
// read whose link (the one it was started on) has ended stops as well.
UnitStatusRead ReadUnitStatus(DspDevice& device, const std::atomic<bool>& stop, uint32_t link);
// The same inside a longer job, whose unanswered run it continues.
UnitStatusRead ReadUnitStatus(UnitExchanges& asker);

// Asks the unit to load stored scene sceneId, waits settleMs, then reads
// that scene's values. A load the unit does not acknowledge ends the read
// (and asker's run) as Unanswered: what the gets would return is not that scene.
UnitStatusRead ReadStoredSceneStatus(UnitExchanges& asker, uint8_t sceneId, uint32_t settleMs);

// Bands the unit holds on output channel ch: 31 on 0-11, 11 on 12-15.
int UnitEqBandCount(int ch);
