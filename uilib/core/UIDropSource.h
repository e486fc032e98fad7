#pragma once

#include <windows.h>
#include <ole2.h>

namespace SkinUI {

// Drop source of a drag started from a control.
class CIDropSource : public IDropSource {
public:
    CIDropSource() = default;
    virtual ~CIDropSource() = default;
    CIDropSource(const CIDropSource&) = delete;
    CIDropSource& operator=(const CIDropSource&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

    bool WasDropped() const { return m_dropped; }

private:
    LONG m_refCount = 1;
    bool m_dropped = false;
};

} // namespace SkinUI
