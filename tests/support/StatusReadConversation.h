// The application's conversation after a connect: PC_Connect, the handshake
// and every get of the status read, in the application's order.
#pragma once

#include "device/DspDevice.h"

namespace sim {

// False when the handshake got no answer (nothing more is asked then).
bool RunStatusRead(DspDevice& device);

}  // namespace sim
