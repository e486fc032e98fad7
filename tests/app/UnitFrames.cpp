#include "UnitFrames.h"

#include <cstdio>

std::vector<std::string> Described(const std::vector<sim::Frame>& frames)
{
    std::vector<std::string> out;
    for (const sim::Frame& f : frames) {
        char text[8];
        snprintf(text, sizeof text, "%02X:", f.subcommand);
        std::string line = text;
        for (size_t i = 0; i < f.data.size(); ++i) {
            snprintf(text, sizeof text, i == 0 ? "%02X" : " %02X", f.data[i]);
            line += text;
        }
        out.push_back(line);
    }
    return out;
}
