// The unit's ten stored scenes by name: load one into the live state, save
// the live state into one, or delete one. While a transfer runs the window
// shows a loading window over itself; it stays open for further transfers.
#pragma once

#include <string>

#include "app/tuning/EqualizerManager.h"
#include "uilib/core/WindowBase.h"

class CLoadingWnd;

enum class SceneWndMode { Load = 0, Save = 1, Delete = 2 };

class CSceneWnd : public SkinUI::WindowImplBase {
public:
    static const DWORD kCurrentSceneColor = 0xFFF6CE1D;

    const wchar_t* GetWndClassName() const override { return L"MsgWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_SENCE_PROFILE"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // The main window's rule: a key meant for a question or notice over this
    // window (a second Enter) presses none of its buttons.
    bool KeepsKeysFromControlsAfterCover() const override { return true; }
    // Another program's WM_CLOSE would free the main window beside a job
    // that still holds the link, and a second job could start beside it.
    bool RefusesOutsideClose() const override { return m_controller != nullptr && m_controller->LinkJobRunning(); }

    // Creates the window over parent, asks the unit which scene is current
    // and runs modally; the caller deletes the object afterwards.
    int Show(HWND parent, EqualizerManager& controller, SceneWndMode mode);
    int ShowLoadScene(HWND parent, EqualizerManager& controller);
    int ShowSaveScene(HWND parent, EqualizerManager& controller);
    int ShowDeleteScene(HWND parent, EqualizerManager& controller);

    // Highlights row index (0..9) as the unit's current scene.
    void UpdateCurrentScene(int index);
    // Scene s = 1..10. Load and save return 1 when their transfer started.
    int LoadSence(int s);
    int SaveSence(int s);
    void DeleteSence(int s);

private:
    void FillList();
    SkinUI::CControlUI* RowValue(int index);
    // The list's selected row goes to the operation of the mode; fromButton
    // tells the confirm button from a double-click on the row.
    void ChooseScene(bool fromButton);
    // The typed name as the unit will hold it: trailing spaces trimmed, in
    // the code page, cut to the unit's bytes; it goes into slot index and
    // the unit's bytes into the model. False, with a word to the installer,
    // for an empty name or characters the code page cannot hold.
    bool TakeUnitName(int index, std::wstring& name);
    // Loading window, scene slot, reply registration, then the worker.
    bool StartJob(int s);
    // True, with the word to the installer, while another job holds the link.
    bool LinkBusyTold();
    // True, with the word to the installer, while no unit is connected.
    bool RefusedOffline();

    EqualizerManager* m_controller = nullptr;
    SceneWndMode m_mode = SceneWndMode::Load;
    CLoadingWnd* m_loading = nullptr;
    SkinUI::CControlUI* m_closeButton = nullptr;
    SkinUI::CControlUI* m_list = nullptr;
    // The row a save or delete runs on and its name before, given back when
    // the transfer ends without the unit's word that it stored or deleted
    // the scene.
    int m_pendingRow = -1;
    std::wstring m_nameBefore;
    // The unit's answer which scene is current counts only until then.
    bool m_jobStarted = false;
    // From a transfer's start until its end reaches the window.
    bool m_busy = false;
    // The unit stored the scene; told at the transfer's end.
    bool m_stored = false;
};
