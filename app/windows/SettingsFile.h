// The settings file "varolt.ini": the language and a few preferences, kept
// for all users of the machine.
#pragma once

#include <string>

// "<common application data>\varolt.ini", or in the current directory when
// that folder is unavailable.
std::wstring SettingsFilePath();

// [config] key of the settings file at path as a signed decimal; fallback
// when absent or beyond an int.
int ReadSettingInt(const std::wstring& path, const wchar_t* key, int fallback);

// [config] "lan": 0 English, 1 Chinese, 2 Russian; 0 when absent.
int ReadLanguageSetting(const std::wstring& path);

// The language name registered for a "lan" value, null for unknown values.
const wchar_t* LanguageNameOfSetting(int value);

// Writes [config] key = value as signed decimal; false when it failed.
bool WriteSettingInt(const std::wstring& path, const wchar_t* key, int value);
