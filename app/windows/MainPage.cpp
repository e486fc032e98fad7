#include "app/windows/MainPage.h"

#include "base/Log.h"

using namespace SkinUI;

namespace {

void OnClick(CNotifyPump*, TNotifyInfo&) { LogPrintW(L"OnClick\n"); }
void OnSelectChanged(CNotifyPump*, TNotifyInfo&) { LogPrintW(L"OnSelectChanged\n"); }
void OnItemClick(CNotifyPump*, TNotifyInfo&) { LogPrintW(L"OnItemClick\n"); }

const TNotifyMapEntry kEntries[] = {
    {L"click", L"", UINOTIFY_RECORD, nullptr, &OnClick},
    {L"selectchanged", L"", UINOTIFY_RECORD, nullptr, &OnSelectChanged},
    {L"itemclick", L"", UINOTIFY_RECORD, nullptr, &OnItemClick},
    {nullptr, nullptr, UINOTIFY_END, nullptr, nullptr},
};

const TNotifyMap kMap = {nullptr, kEntries};

} // namespace

const TNotifyMap* CMainPage::GetNotifyMap() const
{
    return &kMap;
}
