// Loading a skin document from a file on disk.
#include "uilib/core/SkinMarkup.h"

#include <windows.h>

#include <cstdlib>

namespace SkinUI {

bool CSkinMarkup::LoadFromDiskFile(const wchar_t* path, SkinEncoding encoding)
{
    ReleaseDocument();
    HANDLE file = path ? CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr)
                       : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE)
        return Fail(L"Error opening file", nullptr, 0);

    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (size == 0 && high == 0) {
        CloseHandle(file);
        return Fail(L"File is empty", nullptr, 0);
    }
    if (high != 0 || size == INVALID_FILE_SIZE || size > kMaxDocumentBytes) {
        CloseHandle(file);
        return Fail(L"File too large", nullptr, 0);
    }

    unsigned char* bytes = static_cast<unsigned char*>(malloc(size));
    if (!bytes) {
        CloseHandle(file);
        return Fail(L"Out of memory", nullptr, 0);
    }
    DWORD read = 0;
    BOOL ok = ReadFile(file, bytes, size, &read, nullptr);
    CloseHandle(file);
    if (!ok || read != size) {
        free(bytes);
        return Fail(L"Could not read file", nullptr, 0);
    }
    bool loaded = LoadFromBytes(bytes, size, encoding);
    free(bytes);
    return loaded;
}

} // namespace SkinUI
