#include "tests/support/SimUnitState.h"

namespace sim {

namespace {

// The speaker each output drives when new.
const uint8_t kFactoryTypes[kOutputs] = {1, 7, 2, 8, 13, 16, 25, 26, 19, 20, 3, 9, 14, 17, 22, 23};

const uint16_t kBands31[31] = {20,   25,   31,   40,   50,   63,   80,    100,   125,   160,   200,
                               250,  315,  400,  500,  630,  800,  1000,  1250,  1600,  2000,  2500,
                               3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};
const uint16_t kBands11[11] = {20, 40, 80, 160, 315, 630, 1250, 2500, 5000, 10000, 20000};

struct Crossover {
    uint16_t hpHz;
    uint8_t hpSlope;
    uint16_t lpHz;
    uint8_t lpSlope;
    uint8_t type;
};

// By speaker: tweeters, mids and woofers of the front and rear sides, centre
// and subwoofers; full range (slope 0: off) for the rest.
Crossover CrossoverOf(uint8_t speaker) {
    switch (speaker) {
    case 1: case 7: case 13: case 16: case 19: return {3400, 2, 20000, 0, 3};
    case 2: case 8: return {600, 2, 1900, 2, 3};
    case 3: case 9: case 14: case 17: case 20: return {70, 3, 320, 2, 3};
    case 4: case 10: return {600, 2, 20000, 0, 3};
    case 5: case 11: return {70, 2, 1900, 2, 3};
    case 22: case 23: case 24: return {30, 4, 50, 2, 1};
    default: return {20, 0, 20000, 0, 3};
    }
}

}  // namespace

SceneParams::SceneParams() {
    for (int ch = 0; ch < kOutputs; ++ch) {
        OutputChannel& o = out[ch];
        o.type = kFactoryTypes[ch];
        const Crossover x = CrossoverOf(o.type);
        o.highPass = {x.type, x.hpHz, x.hpSlope};
        o.lowPass = {x.type, x.lpHz, x.lpSlope};
        const int bands = EqBandCount(ch);
        for (int b = 0; b < bands; ++b) {
            o.eq[b].freqHz = bands == 31 ? kBands31[b] : kBands11[b];
            o.eq[b].qHundredths = 580;
            o.eq[b].gainTenthsDb = 0;
        }
    }
}

}  // namespace sim
