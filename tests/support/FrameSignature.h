// A short, exact picture of the frames the unit received, for tables of
// long command runs: one token per frame, "SS@c" for a command on output
// channel c ("SS@a-b" on a range), else "SS:payload" in hex; consecutive equal
// tokens are written once with "*n".
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace sim {

inline std::string FrameToken(uint8_t subcommand, const std::vector<uint8_t>& d)
{
    char head[24];
    switch (subcommand) {
    case 0x05: case 0x06:  // scene, source, channel, ...
        std::snprintf(head, sizeof head, "%02X@%d", subcommand, d.size() > 2 ? d[2] : -1);
        return head;
    case 0x24:  // scene, source, input, first output, last output, ...
        std::snprintf(head, sizeof head, "%02X@%d", subcommand, d.size() > 3 ? d[3] : -1);
        return head;
    case 0x07: case 0x08: case 0x09: case 0x0A: case 0x12:  // scene, source, first, last, ...
        if (d.size() > 3 && d[2] != d[3]) std::snprintf(head, sizeof head, "%02X@%d-%d", subcommand, d[2], d[3]);
        else std::snprintf(head, sizeof head, "%02X@%d", subcommand, d.size() > 2 ? d[2] : -1);
        return head;
    default: {
        std::snprintf(head, sizeof head, "%02X:", subcommand);
        std::string token = head;
        for (size_t i = 0; i < d.size(); ++i) {
            std::snprintf(head, sizeof head, i == 0 ? "%02X" : " %02X", d[i]);
            token += head;
        }
        return token;
    }
    }
}

class FrameSignature {
public:
    void Add(uint8_t subcommand, const std::vector<uint8_t>& payload)
    {
        const std::string token = FrameToken(subcommand, payload);
        if (!mTokens.empty() && token == mLast) {
            ++mRun;
            mTokens.back() = token + "*" + std::to_string(mRun);
            return;
        }
        mLast = token;
        mRun = 1;
        mTokens.push_back(token);
    }
    const std::vector<std::string>& Tokens() const { return mTokens; }

private:
    std::vector<std::string> mTokens;
    std::string mLast;
    int mRun = 0;
};

}  // namespace sim
