#include "app/windows/SceneWnd.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/tuning/AppMessages.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/LanguageFormat.h"
#include "app/windows/LoadingWnd.h"
#include "app/windows/MsgWnd.h"
#include "app/windows/NameMsgWnd.h"
#include "app/windows/ScreenDpi.h"
#include "base/AnsiText.h"
#include "base/Log.h"
#include "device/DspRecords.h"
#include "uilib/control/Label.h"
#include "uilib/control/List.h"

using namespace SkinUI;

namespace {

const int kHeaderHeight = 25;
// lParam: the notice's language key, a literal.
const UINT kShowNotice = WM_APP + 0x51;
const DWORD kCurrentSceneText = 0xFF16191D;
const DWORD kSceneText = 0xFFE6E9EE;
const size_t kTextChars = 1024;

struct ModeTexts {
    const wchar_t* title;
    const wchar_t* confirm;
    const wchar_t* logLine;
};

const ModeTexts kModeTexts[] = {
    {L"${load_scene}", L"${load}", L"SENCE_LOAD id = %d\n"},
    {L"${save_as_scene}", L"${save}", L"SENCE_SAVE id = %d\n"},
    {L"${delete_scene}", L"${delete}", L"SENCE_DELETE id = %d\n"},
};

JobKind KindOf(SceneWndMode mode)
{
    switch (mode) {
    case SceneWndMode::Save: return JobKind::SceneSave;
    case SceneWndMode::Delete: return JobKind::SceneDelete;
    case SceneWndMode::Load: break;
    }
    return JobKind::SceneLoad;
}

uint32_t SceneBit(int index)
{
    return TuningModel::IsSceneIndex(index) ? 1u << index : 0u;
}

} // namespace

void CSceneWnd::OnFinalWindowMessage(HWND window)
{
    // Later acknowledgements must not reach a handle that may be reused.
    if (m_controller != nullptr && m_controller->Device().mSceneWnd == window)
        m_controller->Device().mSceneWnd = nullptr;
    WindowImplBase::OnFinalWindowMessage(window);
}

void CSceneWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_closeButton = m_pm.FindControlByName(L"closebtn");
    m_list = m_pm.FindControlByName(L"listview");
    if (CControlUI* header = m_pm.FindControlByName(L"list_header")) header->SetFixedHeightValue(kHeaderHeight);
}

int CSceneWnd::Show(HWND parent, EqualizerManager& controller, SceneWndMode mode)
{
    if (CreateNativeWindow(parent, L"scenewnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) return 0;
    CenterOverOwner();
    m_mode = mode;
    m_controller = &controller;
    TuningModel& model = controller.Model();
    if (model.sceneSlot >= 1) UpdateCurrentScene(model.sceneSlot - 1);
    controller.Device().mSceneWnd = m_window;
    // Queued: the window opens at once with the slot it knows; the answer
    // comes back as WM_READ_SCENE_ID once the modal loop runs.
    controller.Device().GetSceneId(false);
    const ModeTexts& texts = kModeTexts[static_cast<int>(mode)];
    if (CControlUI* title = m_pm.FindControlByName(L"MessageTitle")) title->SetTextContent(texts.title);
    if (CControlUI* confirm = m_pm.FindControlByName(L"confirm_btn")) confirm->SetTextContent(texts.confirm);
    if (CControlUI* cancel = m_pm.FindControlByName(L"cancel_btn")) cancel->SetTextContent(L"${exit}");
    FillList();
    return static_cast<int>(RunModal());
}

int CSceneWnd::ShowLoadScene(HWND parent, EqualizerManager& controller)
{
    return Show(parent, controller, SceneWndMode::Load);
}

int CSceneWnd::ShowSaveScene(HWND parent, EqualizerManager& controller)
{
    return Show(parent, controller, SceneWndMode::Save);
}

int CSceneWnd::ShowDeleteScene(HWND parent, EqualizerManager& controller)
{
    return Show(parent, controller, SceneWndMode::Delete);
}

CControlUI* CSceneWnd::RowValue(int index)
{
    auto* list = dynamic_cast<CListUI*>(m_list);
    if (list == nullptr || index < 0 || index >= list->GetChildCount()) return nullptr;
    return m_pm.FindSubControlByName(list->GetChildAt(index), L"value");
}

void CSceneWnd::FillList()
{
    if (m_controller == nullptr) return;
    for (int i = 0; i < kStoredScenes; ++i) {
        if (CControlUI* value = RowValue(i)) value->SetTextContent(m_controller->Model().SceneNameText(i).c_str());
    }
}

void CSceneWnd::UpdateCurrentScene(int index)
{
    LogPrintW(L"UpdateCurrentScene %d\n", index);
    auto* list = dynamic_cast<CListUI*>(m_list);
    if (list == nullptr) return;
    for (int i = 0; i < list->GetChildCount(); ++i) {
        auto* row = dynamic_cast<CContainerUI*>(list->GetChildAt(i));
        if (row == nullptr) continue;
        row->SetBackgroundColor(i == index ? kCurrentSceneColor : 0);
        // Dark text keeps the name readable on the highlight.
        for (int c = 0; c < row->GetChildCount(); ++c) {
            if (auto* label = dynamic_cast<CLabelUI*>(row->GetChildAt(c)))
                label->SetTextColor(i == index ? kCurrentSceneText : kSceneText);
        }
    }
}

void CSceneWnd::OnControlClick(TNotifyInfo& notify)
{
    CControlUI* sender = notify.sender;
    if (sender == nullptr) return;
    const CUIString name = sender->GetControlName();
    if (sender == m_closeButton) {
        PostClose(0);
    } else if (name.CompareIgnoreCase(L"confirm_btn") == 0) {
        LogPrintW(L"Click confirm_btn\n");
        ChooseScene(true);
    } else if (name.CompareIgnoreCase(L"cancel_btn") == 0) {
        LogPrintW(L"Click cancel_btn\n");
        PostClose(0);
    }
}

void CSceneWnd::ReceiveNotify(TNotifyInfo& notify)
{
    if (notify.type == L"itemactivate" && notify.sender != nullptr &&
        wcsncmp(notify.sender->GetControlName(), L"listitem", 8) == 0) {
        ChooseScene(false);
        return;
    }
    WindowImplBase::ReceiveNotify(notify);
}

void CSceneWnd::ChooseScene(bool fromButton)
{
    // One transfer per confirmation: a click while it starts is the same one.
    if (m_busy) {
        LogPrintW(L"scene confirmation ignored: a transfer runs\n");
        return;
    }
    auto* list = dynamic_cast<CListUI*>(m_list);
    const int index = list != nullptr ? list->GetSelectedIndex() : -1;
    LogPrintW(kModeTexts[static_cast<int>(m_mode)].logLine, index);
    if (!TuningModel::IsSceneIndex(index)) return;
    int result = 0;
    switch (m_mode) {
    case SceneWndMode::Load: result = LoadSence(index + 1); break;
    case SceneWndMode::Save: result = SaveSence(index + 1); break;
    case SceneWndMode::Delete: DeleteSence(index + 1); break;
    }
    if (fromButton ? (m_mode == SceneWndMode::Save && result == 1) : m_mode != SceneWndMode::Delete)
        UpdateCurrentScene(index);
}

bool CSceneWnd::StartJob(int s)
{
    // The unit may have left while the question or the name entry was open.
    if (RefusedOffline() || LinkBusyTold()) return false;
    PostMessageW(m_window, WM_BUSY_BEGIN, 0, 0);
    m_controller->Model().sceneSlot = s;
    m_controller->Device().mSceneWnd = m_window;
    if (m_controller->StartSceneJob(KindOf(m_mode), s)) {
        m_jobStarted = true;
        m_busy = true;
        return true;
    }
    PostMessageW(m_window, WM_BUSY_END, 0, 0);
    return false;
}

// The unit may have left while the window was open: nothing is asked then.
bool CSceneWnd::RefusedOffline()
{
    return m_controller->RefusedOffline(KindOf(m_mode), m_window);
}

// Another job holds the link (the connect read after a replug, say).
bool CSceneWnd::LinkBusyTold()
{
    if (!m_controller->LinkJobRunning()) return false;
    ShowNotice(m_window, L"${device_busy}");
    return true;
}

int CSceneWnd::LoadSence(int s)
{
    LogPrintW(L"LoadSence\n");
    if (m_controller == nullptr || !TuningModel::IsSceneIndex(s - 1)) return 0;
    const std::wstring name = m_controller->Model().SceneNameText(s - 1);
    wchar_t text[kTextChars];
    if (name.empty()) FormatLanguageText(text, kTextChars, L"${load_scene_tips2}", "d", s);
    else FormatLanguageText(text, kTextChars, L"${load_scene_tips1}", "ds", s, name.c_str());
    // The recall replaces the live tuning at the unit.
    if (RefusedOffline() || AskDestructive(m_window, L"${tips}", text) != 1) return 0;
    return StartJob(s) ? 1 : 0;
}

int CSceneWnd::SaveSence(int s)
{
    LogPrintW(L"SaveSence\n");
    if (m_controller == nullptr || !TuningModel::IsSceneIndex(s - 1)) return 0;
    if (RefusedOffline()) return 0;
    TuningModel& model = m_controller->Model();
    model.sceneNameInput.fill(0);
    const std::wstring oldName = model.SceneNameText(s - 1);
    wchar_t text[kTextChars];
    // A slot the unit still holds (a delete it never confirmed) is asked for too.
    if (!oldName.empty() || (model.sceneValid & SceneBit(s - 1)) != 0) {
        FormatLanguageText(text, kTextChars, L"${save_scene_overwrite}", "d", s);
        if (AskDestructive(m_window, L"${tips}", text) != 1) return 0;
    }
    std::wstring name = oldName;
    // The typed name waits, its entry open again, while another job holds the link.
    do {
        if (ShowNameMsgWnd(m_window, name) != 1) return 0;
    } while (LinkBusyTold());
    if (!TakeUnitName(s - 1, name)) {
        model.SetSceneName(s - 1, oldName);
        return 0;
    }
    for (int j = 0; j < kStoredScenes; ++j) {
        if (j == s - 1 || model.SceneNameText(j) != name) continue;
        // The slot keeps its old name: the unit still holds that scene.
        FormatLanguageText(text, kTextChars, L"${same_name_tips}", "sds", name.c_str(), j + 1,
                           model.SceneNameText(j).c_str());
        ShowNotice(m_window, text);
        model.SetSceneName(s - 1, oldName);
        return 0;
    }
    if (CControlUI* value = RowValue(s - 1)) value->SetTextContent(name.c_str());
    if (!StartJob(s)) {
        model.SetSceneName(s - 1, oldName);
        FillList();
        return 0;
    }
    m_pendingRow = s - 1;
    m_nameBefore = oldName;
    return 1;
}

bool CSceneWnd::TakeUnitName(int index, std::wstring& name)
{
    // Spaces at either end would show two names alike; no name at all, a free slot.
    name.erase(std::find_if_not(name.rbegin(), name.rend(), IsTypedSpace).base(), name.end());
    name.erase(name.begin(), std::find_if_not(name.begin(), name.end(), IsTypedSpace));
    if (name.empty()) {
        ShowNotice(m_window, L"${scene_name_empty}");
        return false;
    }
    const std::wstring lost = TuningModel::UnstorableChars(name, WideToAnsi, AnsiToWide);
    if (!lost.empty()) {
        wchar_t text[kTextChars];
        FormatLanguageText(text, kTextChars, L"${scene_name_chars}", "s", lost.c_str());
        ShowNotice(m_window, text);
        return false;
    }
    TuningModel& model = m_controller->Model();
    model.SetSceneName(index, name);
    UnitSceneName& bytes = model.sceneNameInput;
    if (!model.ToUnitSceneName(index, bytes, WideToAnsi) ||
        !model.StoreUnitSceneName(index, reinterpret_cast<const uint8_t*>(bytes.data()), kSceneNameBytes, AnsiToWide)) {
        LogPrintW(L"scene name %s cannot be converted for the unit\n", name.c_str());
        return false;
    }
    name = model.SceneNameText(index);
    return true;
}

// The name goes only once the job runs, and comes back when the unit never
// confirms the delete: the unit then still holds the scene.
void CSceneWnd::DeleteSence(int s)
{
    LogPrintW(L"DeleteSence\n");
    if (m_controller == nullptr || !TuningModel::IsSceneIndex(s - 1)) return;
    const std::wstring oldName = m_controller->Model().SceneNameText(s - 1);
    // A free slot holds nothing to delete: so a double-click on a row, or on
    // Delete, deletes once, its second click coming after the first delete.
    if (oldName.empty() && (m_controller->Model().sceneValid & SceneBit(s - 1)) == 0) {
        LogPrintW(L"scene %d is free: nothing to delete\n", s);
        return;
    }
    if (!StartJob(s)) return;
    m_pendingRow = s - 1;
    m_nameBefore = oldName;
    m_controller->Model().SetSceneName(s - 1, L"");
    FillList();
}

LRESULT CSceneWnd::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = true;
    switch (message) {
    case WM_BUSY_BEGIN:
        RunLoadingWnd(m_window, &m_loading, 0);
        break;
    case WM_BUSY_END:
        m_busy = false;
        CloseLoadingWnd(&m_loading, 0);
        if (m_pendingRow >= 0 && m_controller != nullptr) {
            LogPrintW(L"scene %d not changed by the unit\n", m_pendingRow + 1);
            m_controller->Model().SetSceneName(m_pendingRow, m_nameBefore);
            FillList();
        }
        m_pendingRow = -1;
        // wParam: the word the job's end leaves (a literal language key), or
        // 0: then a stored scene's own word. One notice tells the end.
        if (wParam != 0 || m_stored) {
            const LPARAM word = wParam != 0 ? static_cast<LPARAM>(wParam) : reinterpret_cast<LPARAM>(L"${save_scene_ok}");
            PostMessageW(m_window, kShowNotice, 0, word);
        }
        m_stored = false;
        break;
    case WM_READ_FLASH_VALUE:
        m_pendingRow = -1;
        // The unit stored scene wParam. Its word waits for the job's end (the
        // unit may leave before it), which follows once the loading window
        // has gone, so that it opens over an enabled scene window.
        m_stored = true;
        CloseLoadingWnd(&m_loading, 0);
        if (m_controller != nullptr) m_controller->Model().sceneValid |= SceneBit(static_cast<int>(wParam) - 1);
        break;
    case kShowNotice:
        ShowNotice(m_window, reinterpret_cast<const wchar_t*>(lParam));
        break;
    case WM_FLASH_ACK:
        m_pendingRow = -1;
        PostMessageW(m_window, WM_BUSY_END, 0, 0);
        if (m_controller != nullptr) m_controller->Model().sceneValid &= ~SceneBit(static_cast<int>(wParam) - 1);
        break;
    case WM_READ_SCENE_ID: {
        const int id = static_cast<int>(lParam);
        LogPrintW(L"FLASH_SCENE_ID/mSceneId %d\n", id);
        // An answer behind a started job is older than the installer's choice.
        if (m_jobStarted) break;
        if (m_controller != nullptr) m_controller->Model().sceneSlot = id;
        if (id >= 1) UpdateCurrentScene(id - 1);
        break;
    }
    default:
        handled = false;
        break;
    }
    return 0;
}
