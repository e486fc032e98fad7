#include "uilib/control/ActiveXEnum.h"

namespace SkinUI {

CActiveXEnum::CActiveXEnum(IUnknown* object) : m_refs(1), m_position(0), m_object(object)
{
    if (m_object != nullptr) m_object->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_object != nullptr) m_object->Release();
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IEnumUnknown)) return E_NOINTERFACE;
    *out = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return ++m_refs;
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CActiveXEnum::Next(ULONG count, IUnknown** out, ULONG* fetched)
{
    if (fetched != nullptr) *fetched = 0;
    if (out == nullptr || count == 0) return E_POINTER;
    if (m_position > 0 || m_object == nullptr) return S_FALSE;
    ++m_position;
    *out = m_object;
    m_object->AddRef();
    if (fetched != nullptr) *fetched = 1;
    return count == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG count)
{
    m_position += count;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown**)
{
    return E_NOTIMPL;
}

} // namespace SkinUI
