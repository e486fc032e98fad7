#include "PushShape.h"

#include <cstdio>
#include <vector>

namespace {

std::string Set(int type, int sub, const std::vector<int>& lead)
{
    char part[16];
    snprintf(part, sizeof(part), "%02x %02x bb ", type, sub);
    std::string text = part;
    for (int b : lead) {
        snprintf(part, sizeof(part), "%02x", b & 0xFF);
        text += part;
    }
    return text;
}

void ProfileShape(std::vector<std::string>& out, const SceneProfile& p, int scene, bool bypass)
{
    for (int ch = 0; ch < 16; ++ch) {
        out.push_back(Set(1, 0x05, {scene, 0, ch, 1}));
        out.push_back(Set(1, 0x05, {scene, 0, ch, 2}));
        for (int b = 0; b < (ch < 12 ? 31 : 11); ++b) out.push_back(Set(1, 0x06, {scene, 0, ch, b}));
    }
    for (int sub : {0x0d, 0x08, 0x09, 0x0a, 0x34, 0x07}) out.push_back(Set(1, sub, {scene, 0, 0, 15}));
    if (bypass) out.push_back(Set(1, 0x12, {scene, 0, 0, 15}));
    std::vector<int> bridges = {scene, 0, 8};
    for (int pair = 0; pair < 8; ++pair) bridges.push_back(p.bridgeOutputs[pair] != 0 ? 1 : 0);
    out.push_back(Set(1, 0x4c, bridges));
    out.push_back(Set(1, 0x0b, {scene, p.inputSource, 0, 15}));
    const int rows[][2] = {{0, 2}, {2, 2}, {4, 8}, {5, 12}, {6, 2}};
    for (const auto& row : rows)
        for (int in = 0; in < row[1]; ++in) out.push_back(Set(1, 0x24, {scene, row[0], in, 0, 15}));
}

std::vector<std::string> LiveShape(const SceneProfile& p, bool bypass)
{
    std::vector<std::string> out = {Set(1, 0x02, {6 - p.mainVolume}), Set(1, 0x04, {p.mainVolumeMute})};
    ProfileShape(out, p, 0, bypass);
    return out;
}

} // namespace

std::vector<std::string> LivePushShape(const SceneProfile& profile)
{
    return LiveShape(profile, true);
}

std::vector<std::string> WholePushShape(const TuningModel& model)
{
    std::vector<std::string> out;
    for (int k = 0; k < kStoredScenes; ++k) {
        ProfileShape(out, *model.Stored(k), k + 1, true);
        out.push_back(Set(2, 0x0b, {k + 1, 16}));
        out.push_back(Set(2, 0x08, {k + 1, 1}));
    }
    const std::vector<std::string> live = LiveShape(model.Current(), false);
    out.insert(out.end(), live.begin(), live.end());
    return out;
}

std::vector<std::string> CutToShape(const std::vector<std::string>& frames, const std::vector<std::string>& shape)
{
    std::vector<std::string> cut;
    for (size_t i = 0; i < frames.size(); ++i) cut.push_back(i < shape.size() ? frames[i].substr(0, shape[i].size()) : frames[i]);
    return cut;
}
