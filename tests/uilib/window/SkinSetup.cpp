#include "SkinSetup.h"

#include <windows.h>

#include <vector>

#include "skin/skin_password.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/SkinDocumentLoader.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

bool OpenEmbeddedSkin()
{
    static bool opened = false;
    if (opened) return true;
    CPaintManagerUI::SetModuleInstance(GetModuleHandleW(nullptr));
    HRSRC found = FindResourceW(nullptr, L"IDR_ZIPRES", L"ZIPRES");
    HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return false;
    CPaintManagerUI::SetResourceKind(UIRES_ZIP_MEMORY);
    if (!CPaintManagerUI::OpenSkinZipFromMemory(bytes, SizeofResource(nullptr, found), BrisaSkin::kSkinPassword)) {
        return false;
    }
    CResourceStore* store = CResourceStore::GetInstance();
    store->SetDocumentLoader(LoadSkinDocument);
    if (!store->LoadResourceIndex(L"xml\\res.xml")) return false;
    if (!store->AddLanguage(L"lan/lan_en.xml", L"en") || !store->AddLanguage(L"lan/lan_cn.xml", L"cn_zh") ||
        !store->AddLanguage(L"lan/lan_ru.xml", L"ru")) {
        return false;
    }
    store->SelectLanguage(L"en");
    opened = true;
    return true;
}

std::wstring ScreenshotFolder()
{
    // One folder for every test program's pictures, so the run's gallery
    // page shows them together.
    const std::string narrow = BRISA_SCREENSHOT_DIR;
    std::wstring folder(narrow.begin(), narrow.end());
    for (wchar_t& c : folder) {
        if (c == L'/') c = L'\\';
    }
    CreateDirectoryW(folder.substr(0, folder.find_last_of(L'\\', folder.size() - 2)).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool SaveWindowScreenshot(void* window, const std::wstring& path)
{
    RECT rc;
    if (!GetWindowRect(static_cast<HWND>(window), &rc)) return false;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
        SelectObject(memory, old);
        const DWORD stride = ((width * 3 + 3) / 4) * 4;
        const DWORD imageBytes = stride * height;
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + imageBytes;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = WriteFile(file, &header, sizeof(header), &written, nullptr) &&
                    WriteFile(file, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
                    WriteFile(file, bits, imageBytes, &written, nullptr);
            CloseHandle(file);
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
