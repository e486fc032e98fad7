#include "app/windows/ResourceTempFile.h"

#include <cstdio>
#include <cwchar>

int ExtractResourceToTempFile(HMODULE module, const wchar_t* fileName, wchar_t* outPath, size_t outChars,
                              const wchar_t* resourceName, const wchar_t* resourceType)
{
    if (outPath == nullptr || outChars == 0) return kResourceFileNotCreated;
    outPath[0] = L'\0';
    HRSRC resource = FindResourceW(module, resourceName, resourceType);
    if (resource == nullptr) return kResourceNotFound;
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr) return kResourceNotLoadable;
    const DWORD size = SizeofResource(module, resource);
    if (size == 0) return kResourceEmpty;
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) return kResourceNotLockable;

    // The system's temporary folder, not TMP read raw: it may be unset or
    // longer than a path.
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return kResourceFileNotCreated;
    const wchar_t* separator = folder[length - 1] == L'\\' ? L"" : L"\\";
    const int written = _snwprintf(outPath, outChars, L"%s%s%s", folder, separator, fileName);
    if (written < 0 || static_cast<size_t>(written) >= outChars) {
        outPath[0] = L'\0';
        return kResourceFileNotCreated;
    }
    FILE* file = _wfopen(outPath, L"wb");
    if (file == nullptr) return kResourceFileNotCreated;
    const size_t put = fwrite(bytes, 1, size, file);
    const bool closed = fclose(file) == 0;
    return put == size && closed ? kResourceFileOk : kResourceShortWrite;
}
