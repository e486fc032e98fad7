#pragma once
// The framework's zip entry points: a small handle over a CZipReader. Every
// call returns a result code and records it as the process-wide last result.

#include <cstdint>

#include "uilib/core/ZipReader.h"

namespace SkinUI {

// Handle kinds; only unzip handles exist.
constexpr int kZipHandleUnzip = 1;

struct TZipHandle {
    int kind;
    CZipReader* archive;
};
using HZIP = TZipHandle*;

// Code that ZipFormatMessage reads as "the last result".
constexpr uint32_t kZipLastResult = 1;

// Null on failure, the reason in the last result. A memory archive is read in
// place: the block must outlive the handle.
HZIP ZipOpenMemory(const void* buffer, uint32_t length, const char* password);
HZIP ZipOpenFile(const wchar_t* fileName, const char* password);

uint32_t ZipFindItem(HZIP zip, const wchar_t* name, bool ignoreCase, int* index, TZipItem* item);
uint32_t ZipUnzipToMemory(HZIP zip, int index, void* buffer, uint32_t length);
uint32_t ZipClose(HZIP zip);

// Copies the text of `code` (kZipLastResult: the last result), cut to
// length - 1 characters and terminated; returns the full text length. With no
// buffer or a length of 0 it only returns the length.
uint32_t ZipFormatMessage(uint32_t code, wchar_t* buffer, uint32_t length);

} // namespace SkinUI
