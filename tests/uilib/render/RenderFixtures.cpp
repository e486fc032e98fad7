#include "RenderFixtures.h"

#include "uilib/core/UIManager.h"

namespace SkinUITest {

std::vector<uint8_t> ResourceBytes(const wchar_t* name)
{
    HRSRC found = FindResourceW(nullptr, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    DWORD size = SizeofResource(nullptr, found);
    if (bytes == nullptr) return {};
    return std::vector<uint8_t>(bytes, bytes + size);
}

bool UseRenderArchive()
{
    static const std::vector<uint8_t> archive = ResourceBytes(L"RENDER_ARCHIVE");
    static const bool opened = [] {
        SkinUI::CPaintManagerUI::SetResourceKind(SkinUI::UIRES_ZIP_MEMORY);
        return SkinUI::CPaintManagerUI::OpenSkinZipFromMemory(archive.data(), static_cast<DWORD>(archive.size()),
                                                              RENDER_ARCHIVE_PASSWORD);
    }();
    return opened;
}

const wchar_t* InstallTestFont()
{
    static const bool installed = [] {
        static const std::vector<uint8_t> font = ResourceBytes(L"RENDER_FONT");
        DWORD count = 0;
        return AddFontMemResourceEx(const_cast<uint8_t*>(font.data()), static_cast<DWORD>(font.size()), nullptr,
                                    &count) != nullptr;
    }();
    return installed ? L"DejaVu Sans Mono" : nullptr;
}

} // namespace SkinUITest
