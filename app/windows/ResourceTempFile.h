// Writes a resource of the program, unread and unchanged, into a file of the
// user's temporary folder (the carried firmware images before a forced update).
#pragma once

#include <windows.h>

#include <cstddef>

enum ResourceTempFileResult {
    kResourceFileOk = 0,
    kResourceNotFound = 1,
    kResourceNotLoadable = 2,
    kResourceEmpty = 3,
    kResourceNotLockable = 4,
    kResourceFileNotCreated = 5,  // the file cannot be made, or its path would not fit
    kResourceShortWrite = 6,
};

// outPath (outChars wide characters) gets "<temp folder>\<fileName>".
int ExtractResourceToTempFile(HMODULE module, const wchar_t* fileName, wchar_t* outPath, size_t outChars,
                              const wchar_t* resourceName, const wchar_t* resourceType);
