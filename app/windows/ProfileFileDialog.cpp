#include "app/windows/ProfileFileDialog.h"

#include <commdlg.h>

#include "app/tuning/TuningModel.h"

namespace {

const int kChineseLanguage = 1;

// Description and pattern pairs, each ended by a zero, the list by a second one.
const wchar_t* Filter(ProfileFileKind kind, int language)
{
    static const wchar_t sceneEn[] = L"Scene Profile(*.spf)\0*.spf\0All Files(*.*)\0*.*\0";
    static const wchar_t sceneCn[] = L"\u573a\u666f\u914d\u7f6e\u6587\u4ef6(*.spf)\0*.spf\0"
                                     L"\u6240\u6709\u6587\u4ef6(*.*)\0*.*\0";
    static const wchar_t wholeEn[] = L"Whole Config Profile(*.wpf)\0*.wpf\0All Files(*.*)\0*.*\0";
    static const wchar_t wholeCn[] = L"\u6574\u673a\u914d\u7f6e\u6587\u4ef6(*.wpf)\0*.wpf\0"
                                     L"\u6240\u6709\u6587\u4ef6(*.*)\0*.*\0";
    const bool chinese = language == kChineseLanguage;
    if (kind == ProfileFileKind::Scene) return chinese ? sceneCn : sceneEn;
    return chinese ? wholeCn : wholeEn;
}

} // namespace

bool AskProfilePath(HWND owner, ProfileFileKind kind, bool save, int language, std::wstring& path)
{
    wchar_t file[kPathChars] = {};
    wchar_t folder[kPathChars] = {};
    const DWORD folderLength = GetCurrentDirectoryW(kPathChars, folder);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Filter(kind, language);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = kPathChars;
    dialog.lpstrInitialDir = folderLength > 0 && folderLength < kPathChars ? folder : nullptr;
    // A save dialog must let the user name a new file.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (save) dialog.lpstrDefExt = kind == ProfileFileKind::Scene ? L"spf" : L"wpf";
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return false;
    path.assign(file);
    return !path.empty();
}
