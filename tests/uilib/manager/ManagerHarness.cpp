#include "ManagerHarness.h"

using namespace SkinUI;

namespace SkinUITest {

std::set<const CProbeControl*>& CProbeControl::Live()
{
    static std::set<const CProbeControl*> live;
    return live;
}

CProbeControl::CProbeControl() : m_type(L"ProbeUI"), m_flags(0), m_gdiColor(0), m_gdiFill(false)
{
    Live().insert(this);
}

CProbeControl::~CProbeControl()
{
    Live().erase(this);
}

bool CProbeControl::ActivateControl()
{
    ++activations;
    return CControlUI::ActivateControl();
}

void CProbeControl::HandleEvent(TEventInfo& event)
{
    events.push_back(event);
    CControlUI::HandleEvent(event);
}

bool CProbeControl::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    bool painted = CControlUI::PaintSelf(dc, paintArea, stopControl);
    if (m_gdiFill) {
        HBRUSH brush = CreateSolidBrush(m_gdiColor);
        FillRect(dc, &m_item, brush);
        DeleteObject(brush);
    }
    return painted;
}

int CProbeControl::CountOf(int type) const
{
    int count = 0;
    for (const TEventInfo& event : events) count += event.type == type ? 1 : 0;
    return count;
}

const TEventInfo* CProbeControl::LastOf(int type) const
{
    for (auto it = events.rbegin(); it != events.rend(); ++it) {
        if (it->type == type) return &*it;
    }
    return nullptr;
}

CProbeContainer::~CProbeContainer()
{
    for (CControlUI* child : m_children) delete child;
}

void CProbeContainer::Add(CControlUI* child, const RECT& offset)
{
    m_children.push_back(child);
    m_offsets.push_back(offset);
    if (m_manager != nullptr) m_manager->InitializeTree(child, this);
    RequestRelayout();
}

bool CProbeContainer::Detach(CControlUI* child)
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i] != child) continue;
        m_children.erase(m_children.begin() + static_cast<long>(i));
        m_offsets.erase(m_offsets.begin() + static_cast<long>(i));
        return true;
    }
    return false;
}

bool CProbeContainer::Delete(CControlUI* child)
{
    if (!Detach(child)) return false;
    delete child;
    return true;
}

void CProbeContainer::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    CControlUI::AttachManager(manager, parent, initNow);
    for (CControlUI* child : m_children) child->AttachManager(manager, this, initNow);
}

void CProbeContainer::SetPosition(const RECT& rc, bool invalidate)
{
    CControlUI::SetPosition(rc, invalidate);
    for (size_t i = 0; i < m_children.size(); ++i) {
        RECT place = m_offsets[i];
        OffsetRect(&place, m_item.left, m_item.top);
        m_children[i]->SetPosition(place, invalidate);
    }
}

CControlUI* CProbeContainer::FindInTree(UIFindPredicate predicate, void* data, uint32_t flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !GetVisibility()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !GetEnabledState()) return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 && !PtInRect(&m_item, *static_cast<const POINT*>(data))) return nullptr;
    if ((flags & UIFIND_ME_FIRST) != 0) {
        if (CControlUI* found = CControlUI::FindInTree(predicate, data, flags)) return found;
    }
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (size_t n = 0; n < m_children.size(); ++n) {
        size_t i = topFirst ? m_children.size() - 1 - n : n;
        if (CControlUI* found = m_children[i]->FindInTree(predicate, data, flags)) return found;
    }
    if ((flags & UIFIND_ME_FIRST) != 0) return nullptr;
    return CControlUI::FindInTree(predicate, data, flags);
}

bool CProbeContainer::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    if (!CProbeControl::PaintSelf(dc, paintArea, stopControl)) return false;
    for (CControlUI* child : m_children) {
        if (!child->PaintArea(dc, paintArea, stopControl)) return false;
    }
    return true;
}

CManagedWindow::CManagedWindow(int width, int height, DWORD exStyle) : m_window(nullptr)
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = L"BrisaManagerTestWindow";
        atom = RegisterClassExW(&wc);
    }
    m_window = CreateWindowExW(exStyle, L"BrisaManagerTestWindow", L"test", WS_POPUP, 10, 10, width, height, nullptr,
                               nullptr, GetModuleHandleW(nullptr), this);
    if (m_window != nullptr) m_manager.AttachWindow(m_window, L"test");
}

CManagedWindow::~CManagedWindow()
{
    if (m_window != nullptr) DestroyWindow(m_window);
    PumpPending();
}

void CManagedWindow::ShowAndPaint()
{
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    UpdateWindow(m_window);
}

LRESULT CALLBACK CManagedWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CManagedWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (message == STM_SETIMAGE && self != nullptr) ++self->imagesSet;
    LRESULT result = 0;
    if (self != nullptr && self->m_manager.WindowHandle() == window &&
        self->m_manager.ProcessMessage(message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int DispatchQueued(HWND window, UINT message)
{
    int count = 0;
    MSG msg;
    std::vector<MSG> taken;
    while (PeekMessageW(&msg, window, message, message, PM_REMOVE)) taken.push_back(msg);
    for (MSG& each : taken) {
        DispatchMessageW(&each);
        ++count;
    }
    return count;
}

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(x, y);
}

} // namespace SkinUITest
