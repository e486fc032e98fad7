#include "uilib/control/Flash.h"

#include "uilib/control/HostedObjectLinks.h"
#include "uilib/core/AttrParse.h"

namespace SkinUI {

namespace {

// The player's interface {D27CDB6C-AE6D-11CF-96B8-444553540000}.
const IID kIidPlayer = {0xd27cdb6c, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// Its events {D27CDB6D-AE6D-11CF-96B8-444553540000}.
const IID kDiidPlayerEvents = {0xd27cdb6d, 0xae6d, 0x11cf, {0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

} // namespace

CFlashUI::CFlashUI() : m_player(nullptr), m_refs(0), m_cookie(0)
{
    SetClass(L"{D27CDB6E-AE6D-11CF-96B8-444553540000}");
}

CFlashUI::~CFlashUI()
{
    CFlashUI::ReleaseControl();
}

const wchar_t* CFlashUI::GetTypeName() const
{
    return L"Flash";
}

void* CFlashUI::FindInterface(const wchar_t* name)
{
    if (AttrNameEquals(name, L"Flash")) return this;
    return CActiveXUI::FindInterface(name);
}

bool CFlashUI::CreateControl()
{
    if (!CActiveXUI::CreateControl()) return false;
    QueryControl(kIidPlayer, reinterpret_cast<void**>(&m_player));
    ConnectEventSink(m_player, kDiidPlayerEvents, static_cast<IDispatch*>(this), m_cookie, true);
    return true;
}

void CFlashUI::ReleaseControl()
{
    ConnectEventSink(m_player, kDiidPlayerEvents, static_cast<IDispatch*>(this), m_cookie, false);
    if (m_player != nullptr) {
        IUnknown* player = m_player;
        m_player = nullptr;
        player->Release();
    }
    CActiveXUI::ReleaseControl();
}

STDMETHODIMP CFlashUI::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, kDiidPlayerEvents))
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFlashUI::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) CFlashUI::Release()
{
    return static_cast<ULONG>(InterlockedDecrement(&m_refs));
}

STDMETHODIMP CFlashUI::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CFlashUI::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CFlashUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CFlashUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return S_OK;
}

LRESULT CFlashUI::TranslateAcceleratorMessage(MSG* msg)
{
    return TranslateForHostedObject(*this, m_player, msg);
}

} // namespace SkinUI
