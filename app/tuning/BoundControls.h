// The main window's controls that the controller drives, found once by name
// when it binds to the window. Non-owning (the layout owns them); null where
// the layout has no control of that name.
#pragma once

#include "app/tuning/SceneProfile.h"

class UIEqualizer;

namespace SkinUI {
class CButtonUI;
class CSButtonUI;
class CComboUI;
class CControlUI;
class CEditUI;
class COptionUI;
class CSliderUI;
}

// Speaker position k shows output code k + 1.
constexpr int kSpeakerPositions = kOutputCodeCount - 1;
// Input routing boxes per channel strip.
constexpr int kRoutedInputs = 12;

struct BandControls {
    SkinUI::CEditUI* freq = nullptr;
    SkinUI::CEditUI* q = nullptr;
    SkinUI::CEditUI* gain = nullptr;
    SkinUI::CSliderUI* slider = nullptr;
    SkinUI::CSButtonUI* marker = nullptr;
};

struct BridgeControls {
    SkinUI::CSButtonUI* button = nullptr;
    SkinUI::COptionUI* checkBox = nullptr;
};

struct ChannelStripControls {
    SkinUI::COptionUI* show = nullptr;
    SkinUI::CSButtonUI* enable = nullptr;
    SkinUI::CButtonUI* outputButton = nullptr;
    SkinUI::CSliderUI* volumeSlider = nullptr;
    SkinUI::CControlUI* volumeBackground = nullptr;
    SkinUI::CEditUI* volumeEdit = nullptr;
    SkinUI::COptionUI* mute = nullptr;
    SkinUI::COptionUI* solo = nullptr;
    SkinUI::COptionUI* phase = nullptr;
    SkinUI::COptionUI* synchronize = nullptr;
    SkinUI::COptionUI* delayLink = nullptr;
    SkinUI::CSliderUI* delaySlider = nullptr;
    SkinUI::CControlUI* delayLabel = nullptr;
    SkinUI::CEditUI* delayEdit = nullptr;
    SkinUI::CControlUI* placeholder = nullptr;
    SkinUI::COptionUI* inputs[kRoutedInputs] = {};
    SkinUI::CControlUI* inputGroup123 = nullptr;
    SkinUI::CControlUI* inputGroup456 = nullptr;
};

struct SpeakerControls {
    SkinUI::CSButtonUI* speaker = nullptr;
    SkinUI::CControlUI* frame = nullptr;
    SkinUI::CEditUI* delay = nullptr;
};

struct BoundControls {
    // Unit-wide switches and settings.
    SkinUI::CSButtonUI* connect = nullptr;
    SkinUI::CButtonUI* debug = nullptr;
    SkinUI::CSButtonUI* ampOnOff = nullptr;
    SkinUI::CSButtonUI* remoteOut1 = nullptr;
    SkinUI::CSButtonUI* remoteOut2 = nullptr;
    SkinUI::CSButtonUI* speakerOhm = nullptr;
    SkinUI::CSButtonUI* noiseGate = nullptr;
    SkinUI::CButtonUI* advance = nullptr;
    SkinUI::CComboUI* inputSource = nullptr;
    SkinUI::CEditUI* mainVolumeEdit = nullptr;
    SkinUI::CSliderUI* mainVolumeSlider = nullptr;
    SkinUI::CEditUI* accEdit = nullptr;
    SkinUI::CSliderUI* accSlider = nullptr;
    SkinUI::COptionUI* mainMute = nullptr;

    // The EQ chart and the current channel's crossover.
    UIEqualizer* equalizer = nullptr;
    SkinUI::CComboUI* delayUnit = nullptr;
    SkinUI::CComboUI* hpType = nullptr;
    SkinUI::CComboUI* lpType = nullptr;
    SkinUI::CComboUI* hpSlope = nullptr;
    SkinUI::CComboUI* lpSlope = nullptr;
    SkinUI::CEditUI* hpFreq = nullptr;
    SkinUI::CEditUI* lpFreq = nullptr;
    SkinUI::CControlUI* channelName = nullptr;

    // Layouts with one channel strip instead of sixteen.
    SkinUI::CSliderUI* currentVolumeSlider = nullptr;
    SkinUI::CEditUI* currentVolumeEdit = nullptr;
    SkinUI::COptionUI* currentMute = nullptr;
    SkinUI::COptionUI* currentPhase = nullptr;

    // EQ and output tools.
    SkinUI::CButtonUI* resetEq = nullptr;
    SkinUI::CButtonUI* bypass = nullptr;
    SkinUI::CSButtonUI* eqMode = nullptr;
    SkinUI::CButtonUI* resetOutput = nullptr;
    SkinUI::CSButtonUI* lockOutput = nullptr;
    SkinUI::CSButtonUI* linkOutput = nullptr;

    BandControls bands[kMaxEqBands];
    BridgeControls bridges[kBridgePairs];
    ChannelStripControls channels[kOutputChannels];
    SpeakerControls speakers[kSpeakerPositions];
};
