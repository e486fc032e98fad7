#include "uilib/core/WideFileOpen.h"

#include "uilib/core/Utf8Encode.h"

namespace SkinUI {

FILE* OpenWideFileForReading(const wchar_t* fileName)
{
    char name[4096];
    if (WideToUtf8(fileName, name, sizeof(name)) == static_cast<size_t>(-1)) return nullptr;
    return std::fopen(name, "rb");
}

} // namespace SkinUI
