// The model's diagnostic lines go to a sink the program installs (the
// program log); without one they are dropped.
#pragma once

using ModelLogSink = void (*)(const char* line);

void SetModelLogSink(ModelLogSink sink);

void ModelLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
