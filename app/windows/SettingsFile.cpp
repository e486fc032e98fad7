#include "app/windows/SettingsFile.h"

#include <windows.h>
#include <shlobj.h>

#include <cerrno>
#include <climits>
#include <cwchar>

std::wstring SettingsFilePath()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, folder))) {
        const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH) folder[0] = L'\0';
    }
    return std::wstring(folder) + L"\\varolt.ini";
}

int ReadSettingInt(const std::wstring& path, const wchar_t* key, int fallback)
{
    wchar_t text[32] = L"";
    GetPrivateProfileStringW(L"config", key, L"", text, 32, path.c_str());
    wchar_t* end = text;
    errno = 0;
    const long long value = wcstoll(text, &end, 10);
    // A number no int holds would wrap into a value nobody stored.
    if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) return fallback;
    return static_cast<int>(value);
}

int ReadLanguageSetting(const std::wstring& path)
{
    return ReadSettingInt(path, L"lan", 0);
}

const wchar_t* LanguageNameOfSetting(int value)
{
    static const wchar_t* const kNames[] = {L"en", L"cn_zh", L"ru"};
    return value >= 0 && value < 3 ? kNames[value] : nullptr;
}

bool WriteSettingInt(const std::wstring& path, const wchar_t* key, int value)
{
    wchar_t text[16];
    _snwprintf(text, 15, L"%d", value);
    text[15] = L'\0';
    return WritePrivateProfileStringW(L"config", key, text, path.c_str()) != FALSE;
}
