// The rules a profile read from a file must meet before it replaces the
// model: values used as indexes must be in range (else the file is refused),
// values sent to the unit are clamped to what the editors allow. A profile
// the program wrote itself passes unchanged.
#pragma once

#include "app/tuning/SceneProfile.h"

constexpr int kLinkGroups = 6;  // link and delay-link groups 1..6, 0 none
constexpr int kMainVolumeMin = -60;
constexpr int kMainVolumeMax = 6;
constexpr int kInputThresholdMin = -81;
constexpr int kInputThresholdMax = -40;
constexpr float kChannelGainMin = -60.0f;
constexpr float kDelayMaxMs = 15.0f;
constexpr float kBandQMin = 0.5f;
constexpr float kBandQMax = 9.0f;
constexpr float kBandGainMin = -18.0f;
constexpr float kBandGainMax = 12.0f;
constexpr int kMixVolumeMax = 100;
constexpr int kInputMaskBits = (1 << kInputChannels) - 1;  // one bit per input channel of the unit
constexpr int kSlopeMax = 8;  // the slope lists' last code
constexpr int kEvenSlopeType = 2;  // its list has only the even slopes
constexpr int kAccMax = 255;  // sent as one byte

// The slope a filter of type shows and sends: type 2 takes only even
// slopes, so an odd one goes up to the next.
int32_t SlopeForType(int32_t type, int32_t slope);

// False when an index value is out of range; the profile may then be
// partly clamped and must be dropped.
bool ApplyProfileFileRules(SceneProfile& profile);
