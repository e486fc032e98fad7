#include "uilib/core/WideFileOpen.h"

namespace SkinUI {

FILE* OpenWideFileForReading(const wchar_t* fileName)
{
    if (fileName == nullptr) return nullptr;
    return _wfopen(fileName, L"rb");
}

} // namespace SkinUI
