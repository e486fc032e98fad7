#include "device/DspRecords.h"

#include <atomic>
#include <cstdlib>

namespace dsp {

namespace {
std::atomic<int32_t> gLiveRecords{0};
}

void* AllocDspRecord(size_t size) {
    void* record = std::calloc(1, size);
    if (record) gLiveRecords.fetch_add(1);
    return record;
}

void FreeDspRecord(void* record) {
    if (!record) return;
    gLiveRecords.fetch_sub(1);
    std::free(record);
}

int32_t LiveDspRecordCount() { return gLiveRecords.load(); }

}  // namespace dsp
