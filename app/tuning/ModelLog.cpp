#include "app/tuning/ModelLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

std::atomic<ModelLogSink> gSink{nullptr};

}  // namespace

void SetModelLogSink(ModelLogSink sink) { gSink.store(sink); }

void ModelLog(const char* format, ...) {
    ModelLogSink sink = gSink.load();
    if (!sink) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    sink(line);
}
