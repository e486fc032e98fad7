#include "uilib/core/UIDropTarget.h"

#include <shlobj.h>

namespace SkinUI {

CIDropTarget::CIDropTarget()
    : m_refCount(0), m_allowDrop(false), m_helper(nullptr), m_formats(sizeof(FORMATETC)), m_chosen(-1),
      m_window(nullptr), m_registered(false), m_destroying(false)
{
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                reinterpret_cast<void**>(&m_helper)))) {
        m_helper = nullptr;
    }
}

CIDropTarget::~CIDropTarget()
{
    m_destroying = true;
    RevokeRegistration();
    if (m_helper != nullptr) m_helper->Release();
}

HRESULT STDMETHODCALLTYPE CIDropTarget::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

ULONG STDMETHODCALLTYPE CIDropTarget::Release()
{
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0 && !m_destroying) OnFinalRelease();
    return static_cast<ULONG>(count);
}

bool CIDropTarget::RegisterWith(HWND window)
{
    RevokeRegistration();
    m_window = window;
    if (window == nullptr || FAILED(RegisterDragDrop(window, this))) return false;
    m_registered = true;
    return true;
}

void CIDropTarget::RevokeRegistration()
{
    if (!m_registered) return;
    m_registered = false;
    RevokeDragDrop(m_window);
}

void CIDropTarget::AddSupportedFormat(const FORMATETC& format)
{
    m_formats.Append(&format);
}

const FORMATETC* CIDropTarget::ChosenFormat() const
{
    return m_chosen >= 0 ? static_cast<const FORMATETC*>(m_formats.At(m_chosen)) : nullptr;
}

bool CIDropTarget::QueryDrop(DWORD keyState, DWORD* effect) const
{
    if (effect == nullptr) return false;
    DWORD offered = *effect;
    *effect = DROPEFFECT_NONE;
    if (!m_allowDrop) return false;

    bool control = (keyState & MK_CONTROL) != 0;
    bool shift = (keyState & MK_SHIFT) != 0;
    DWORD wanted = DROPEFFECT_NONE;
    if (control && shift) wanted = DROPEFFECT_LINK;
    else if (control) wanted = DROPEFFECT_COPY;
    else if (shift) wanted = DROPEFFECT_MOVE;

    if (wanted != DROPEFFECT_NONE) {
        *effect = (offered & wanted) != 0 ? wanted : DROPEFFECT_NONE;
    } else if (offered & DROPEFFECT_COPY) {
        *effect = DROPEFFECT_COPY;
    } else if (offered & DROPEFFECT_MOVE) {
        *effect = DROPEFFECT_MOVE;
    } else if (offered & DROPEFFECT_LINK) {
        *effect = DROPEFFECT_LINK;
    }
    return *effect != DROPEFFECT_NONE;
}

void CIDropTarget::ForgetDrag()
{
    m_chosen = -1;
    m_allowDrop = false;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    if (data == nullptr) return E_INVALIDARG;
    if (m_helper != nullptr) {
        POINT p = {pt.x, pt.y};
        m_helper->DragEnter(m_window, data, &p, effect != nullptr ? *effect : DROPEFFECT_NONE);
    }
    ForgetDrag();
    for (int i = 0; i < m_formats.Count(); ++i) {
        FORMATETC* format = static_cast<FORMATETC*>(m_formats[i]);
        if (data->QueryGetData(format) == S_OK) {
            m_chosen = i;
            m_allowDrop = true;
            break;
        }
    }
    QueryDrop(keyState, effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect)
{
    if (m_helper != nullptr) {
        POINT p = {pt.x, pt.y};
        m_helper->DragOver(&p, effect != nullptr ? *effect : DROPEFFECT_NONE);
    }
    QueryDrop(keyState, effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragLeave()
{
    if (m_helper != nullptr) m_helper->DragLeave();
    ForgetDrag();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    if (data == nullptr) return E_INVALIDARG;
    if (m_helper != nullptr) {
        POINT p = {pt.x, pt.y};
        m_helper->Drop(data, &p, effect != nullptr ? *effect : DROPEFFECT_NONE);
    }
    if (QueryDrop(keyState, effect) && m_allowDrop && m_chosen >= 0) {
        FORMATETC format = *static_cast<FORMATETC*>(m_formats[m_chosen]);
        STGMEDIUM medium = {};
        if (data->GetData(&format, &medium) == S_OK) {
            if (HandleDroppedData(format, medium, effect)) ReleaseStgMedium(&medium);
        }
    }
    ForgetDrag();
    if (effect != nullptr) *effect = DROPEFFECT_NONE;
    return S_OK;
}

} // namespace SkinUI
