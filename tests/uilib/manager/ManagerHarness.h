#pragma once
// A real window served by a paint manager, and probe controls that record
// what the manager sends them.

#include <set>
#include <vector>

#include "uilib/core/UIManager.h"
#include "tests/uilib/kit/MessagePump.h"

namespace SkinUITest {

// Records every event; optionally a tab stop, a cursor setter or a type.
class CProbeControl : public SkinUI::CControlUI {
public:
    CProbeControl();
    ~CProbeControl() override;

    const wchar_t* GetTypeName() const override { return m_type; }
    uint32_t GetBehaviorFlags() const override { return m_flags; }
    bool ActivateControl() override;
    void HandleEvent(SkinUI::TEventInfo& event) override;
    void EndPress() override { ++pressesEnded; }
    bool PaintSelf(HDC dc, const RECT& paintArea, SkinUI::CControlUI* stopControl) override;

    void SetType(const wchar_t* type) { m_type = type; }
    void SetFlags(uint32_t flags) { m_flags = flags; }
    // Filled with GDI, which leaves the alpha byte at 0; 0 = none.
    void SetGdiFill(COLORREF color, bool on) { m_gdiColor = color; m_gdiFill = on; }

    int CountOf(int type) const;
    const SkinUI::TEventInfo* LastOf(int type) const;

    std::vector<SkinUI::TEventInfo> events;
    int activations = 0;
    int pressesEnded = 0;

    // Probes alive right now, to tell whether a pointer is still valid.
    static std::set<const CProbeControl*>& Live();

private:
    const wchar_t* m_type;
    uint32_t m_flags;
    COLORREF m_gdiColor;
    bool m_gdiFill;
};

// Owns children placed at fixed offsets from its own top-left.
class CProbeContainer : public CProbeControl {
public:
    ~CProbeContainer() override;

    void Add(SkinUI::CControlUI* child, const RECT& offset);
    // Takes the child out without deleting it.
    bool Detach(SkinUI::CControlUI* child);
    // Takes the child out and deletes it at once.
    bool Delete(SkinUI::CControlUI* child);

    void AttachManager(SkinUI::CPaintManagerUI* manager, SkinUI::CControlUI* parent, bool initNow) override;
    void SetPosition(const RECT& rc, bool invalidate) override;
    SkinUI::CControlUI* FindInTree(SkinUI::UIFindPredicate predicate, void* data, uint32_t flags) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, SkinUI::CControlUI* stopControl) override;

private:
    std::vector<SkinUI::CControlUI*> m_children;
    std::vector<RECT> m_offsets;
};

// A top-level popup window whose procedure hands every message to its manager.
class CManagedWindow {
public:
    explicit CManagedWindow(int width = 400, int height = 300, DWORD exStyle = 0);
    ~CManagedWindow();
    CManagedWindow(const CManagedWindow&) = delete;
    CManagedWindow& operator=(const CManagedWindow&) = delete;

    HWND Handle() const { return m_window; }
    SkinUI::CPaintManagerUI& Manager() { return m_manager; }
    // Shows the window without activating it and paints it once.
    void ShowAndPaint();

    // Pictures handed to the window (STM_SETIMAGE) so far.
    int imagesSet = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    SkinUI::CPaintManagerUI m_manager;
    HWND m_window;
};

// Takes every queued message of that id for the window out of the queue and
// dispatches it; returns how many there were.
int DispatchQueued(HWND window, UINT message);

LPARAM PointParam(int x, int y);

} // namespace SkinUITest
