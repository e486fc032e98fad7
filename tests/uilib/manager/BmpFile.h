// Small BMP files for the manager's image tests, which its decoder reads like
// any skin image.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace SkinUITest {

// A bottom-up BMP of the given size and depth around the pixel bytes, which
// carry each row's padding themselves.
inline std::vector<BYTE> BmpFile(int width, int height, WORD bitCount, const std::vector<BYTE>& pixels)
{
    std::vector<BYTE> file(14 + 40 + pixels.size(), 0);
    std::copy(pixels.begin(), pixels.end(), file.begin() + 14 + 40);
    BITMAPFILEHEADER* header = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
    header->bfType = 0x4D42;
    header->bfSize = static_cast<DWORD>(file.size());
    header->bfOffBits = 14 + 40;
    BITMAPINFOHEADER* info = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + 14);
    info->biSize = 40;
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = bitCount;
    return file;
}

inline void WriteBytes(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

} // namespace SkinUITest
