#pragma once

#include <windows.h>
#include <ole2.h>

namespace SkinUI {

// Enumerates the one object a site hosts. Lives by its reference count.
class CActiveXEnum : public IEnumUnknown {
public:
    explicit CActiveXEnum(IUnknown* object);
    virtual ~CActiveXEnum();
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Next)(ULONG count, IUnknown** out, ULONG* fetched) override;
    STDMETHOD(Skip)(ULONG count) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** out) override;

private:
    ULONG m_refs;
    ULONG m_position;
    IUnknown* m_object;
};

} // namespace SkinUI
