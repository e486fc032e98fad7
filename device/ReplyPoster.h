// Win32 side of the reply decoding: decodes every frame DspDevice reads and
// posts the result to the window DspDevice holds for that kind of reply.
#pragma once

#include <windows.h>

#include "device/DspDevice.h"
#include "device/ReplyDecoder.h"

class ReplyPoster : public IFrameHandler, private dsp::IReplySink {
public:
    explicit ReplyPoster(DspDevice& device);
    ReplyPoster(const ReplyPoster&) = delete;
    ReplyPoster& operator=(const ReplyPoster&) = delete;

    void OnFrame(uint8_t length, uint8_t type, const uint8_t* payload) override;

private:
    // A record that cannot be posted (no window, or the post failed) is freed here.
    void Post(const dsp::ReplyMessage& message) override;
    void Log(const char* line) override;
    HWND TargetWindow(dsp::ReplyTarget target) const;

    DspDevice& mDevice;
    dsp::ReplyDecoder mDecoder;
};
