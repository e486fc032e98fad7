// The about box: the program's version, the connected unit's firmware and
// the firmware the program carries.
#pragma once

#include "uilib/core/WindowBase.h"

// The unit's identity as the current profile holds it; model -1 when no
// unit is identified.
struct UnitIdentity {
    int model = -1;
    int mainVersion = 0;
    int slaveVersion = 0;
};

class CAboutWnd : public SkinUI::WindowImplBase {
public:
    static const wchar_t* const kSoftwareVersion;

    explicit CAboutWnd(const UnitIdentity& unit) : m_unit(unit) {}

    const wchar_t* GetWndClassName() const override { return L"AboutWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_ABOUT"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;

private:
    void SetText(const wchar_t* name, const wchar_t* text, bool show);

    UnitIdentity m_unit;
};

// Opens the about box modally over parent; its close code.
int OpenAboutWnd(HWND parent, const UnitIdentity& unit);
