#include "ControlTestKit.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "DibCanvas.h"

namespace SkinUITest {

SkinImageFolder::SkinImageFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"brisa_skin_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(m_folder.c_str(), nullptr);
    m_oldFolder = SkinUI::CPaintManagerUI::SkinFolder().CStr();
    SkinUI::CPaintManagerUI::SetSkinFolder(m_folder.c_str());
}

SkinImageFolder::~SkinImageFolder()
{
    for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
    RemoveDirectoryW(m_folder.c_str());
    SkinUI::CPaintManagerUI::SetSkinFolder(m_oldFolder.c_str());
}

bool SkinImageFolder::Write(const wchar_t* name, int cell, const std::vector<uint32_t>& colours)
{
    const int width = cell * static_cast<int>(colours.size());
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * cell * 4);
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colours[static_cast<size_t>(x / cell)];
            uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(c >> 16);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c);
            p[3] = 0xFF;
        }
    }
    const std::vector<uint8_t> png = EncodePng(width, cell, rgba);
    const std::wstring path = m_folder + name;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f == nullptr) return false;
    const bool written = fwrite(png.data(), 1, png.size(), f) == png.size();
    fclose(f);
    m_files.push_back(path);
    return written;
}

LRESULT HostWindow::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_attached && pm.ProcessMessage(message, wParam, lParam, result)) return result;
    return CWindowWnd::ProcessMessage(message, wParam, lParam);
}

void HostWindow::Attach()
{
    pm.AttachWindow(m_window);
    m_attached = true;
}

bool Pump(const char* file, int line)
{
    const DWORD start = GetTickCount();
    for (int round = 0; round < 3; ++round) {
        if (!Drain(start, file, line, &SkinUI::CPaintManagerUI::TranslateQueuedMessage)) return false;
    }
    return true;
}

bool Settle(const char* file, int line)
{
    const DWORD start = GetTickCount();
    do {
        if (!Drain(start, file, line, &SkinUI::CPaintManagerUI::TranslateQueuedMessage)) return false;
    } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT) != WAIT_TIMEOUT);
    return true;
}

} // namespace SkinUITest
