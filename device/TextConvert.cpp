#include "device/TextConvert.h"

#include <windows.h>

#include <vector>

std::string WideToAnsiString(const wchar_t* text) {
    if (!text) return std::string();
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(needed));
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), needed, nullptr, nullptr) <= 0)
        return std::string();
    return std::string(buffer.data());
}
