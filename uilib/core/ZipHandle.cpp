#include "uilib/core/ZipHandle.h"

#include <atomic>
#include <cwchar>
#include <new>

namespace SkinUI {

namespace {

std::atomic<uint32_t> g_lastResult {ZR_OK};

uint32_t Record(uint32_t code)
{
    g_lastResult = code;
    return code;
}

// ZR_ARGS for a null handle, ZR_ZMODE for a handle of another kind.
uint32_t CheckHandle(HZIP zip)
{
    if (zip == nullptr) return ZR_ARGS;
    if (zip->kind != kZipHandleUnzip || zip->archive == nullptr) return ZR_ZMODE;
    return ZR_OK;
}

template <typename OpenFn>
HZIP OpenWith(OpenFn open)
{
    CZipReader* archive = new (std::nothrow) CZipReader();
    TZipHandle* zip = new (std::nothrow) TZipHandle {kZipHandleUnzip, archive};
    if (archive == nullptr || zip == nullptr) {
        delete archive;
        delete zip;
        Record(ZR_NOALLOC);
        return nullptr;
    }
    const uint32_t code = open(*archive);
    if (code != ZR_OK) {
        delete archive;
        delete zip;
        Record(code);
        return nullptr;
    }
    Record(ZR_OK);
    return zip;
}

const wchar_t* MessageText(uint32_t code)
{
    switch (code) {
    case ZR_OK: return L"Success";
    case ZR_NODUPH: return L"Culdn't duplicate handle";
    case ZR_NOFILE: return L"Couldn't create/open file";
    case ZR_NOALLOC: return L"Failed to allocate memory";
    case ZR_WRITE: return L"Error writing to file";
    case ZR_NOTFOUND: return L"File not found in the zipfile";
    case ZR_MORE: return L"Still more data to unzip";
    case ZR_CORRUPT: return L"Zipfile is corrupt or not a zipfile";
    case ZR_READ: return L"Error reading file";
    case ZR_PASSWORD: return L"Correct password required";
    case ZR_ARGS: return L"Caller: faulty arguments";
    case ZR_NOTMMAP: return L"Caller: can only get memory of a memory zipfile";
    case ZR_MEMSIZE: return L"Caller: not enough space allocated for memory zipfile";
    case ZR_FAILED: return L"Caller: there was a previous error";
    case ZR_ENDED: return L"Caller: additions to the zip have already been ended";
    case ZR_MISSIZE: return L"Zip-bug: the anticipated size turned out wrong";
    case ZR_PARTIALUNZ: return L"Caller: the file had already been partially unzipped";
    case ZR_ZMODE: return L"Caller: mixing creation and opening of zip";
    case ZR_NOTINITED: return L"Zip-bug: internal initialisation not completed";
    case ZR_SEEK: return L"Zip-bug: trying to seek the unseekable";
    case ZR_NOCHANGE: return L"Zip-bug: tried to change mind, but not allowed";
    case ZR_FLATE: return L"Zip-bug: an internal error during flation";
    default: return L"unknown zip result code";
    }
}

} // namespace

HZIP ZipOpenMemory(const void* buffer, uint32_t length, const char* password)
{
    return OpenWith([&](CZipReader& r) { return r.OpenMemory(buffer, length, password); });
}

HZIP ZipOpenFile(const wchar_t* fileName, const char* password)
{
    return OpenWith([&](CZipReader& r) { return r.OpenFile(fileName, password); });
}

uint32_t ZipFindItem(HZIP zip, const wchar_t* name, bool ignoreCase, int* index, TZipItem* item)
{
    const uint32_t check = CheckHandle(zip);
    if (check != ZR_OK) return Record(check);
    return Record(zip->archive->FindItem(name, ignoreCase, index, item));
}

uint32_t ZipUnzipToMemory(HZIP zip, int index, void* buffer, uint32_t length)
{
    const uint32_t check = CheckHandle(zip);
    if (check != ZR_OK) return Record(check);
    return Record(zip->archive->UnzipToMemory(index, buffer, length));
}

uint32_t ZipClose(HZIP zip)
{
    const uint32_t check = CheckHandle(zip);
    if (check != ZR_OK) return Record(check);
    delete zip->archive;
    delete zip;
    return Record(ZR_OK);
}

uint32_t ZipFormatMessage(uint32_t code, wchar_t* buffer, uint32_t length)
{
    const wchar_t* text = MessageText(code == kZipLastResult ? g_lastResult.load() : code);
    const uint32_t full = static_cast<uint32_t>(std::wcslen(text));
    if (buffer != nullptr && length > 0) {
        const uint32_t n = full < length - 1 ? full : length - 1;
        std::wmemcpy(buffer, text, n);
        buffer[n] = L'\0';
    }
    return full;
}

} // namespace SkinUI
