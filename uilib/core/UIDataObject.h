#pragma once

#include <windows.h>
#include <ole2.h>

#include "uilib/core/UIPtrArray.h"
#include "uilib/core/UIValArray.h"

namespace SkinUI {

class CIDropSource;

// Data object of a drag started from a control: formats with their media.
class CIDataObject : public IDataObject {
public:
    explicit CIDataObject(CIDropSource* source);
    CIDataObject(const CIDataObject&) = delete;
    CIDataObject& operator=(const CIDataObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;

    // Copies a medium as GetData hands it out; false when it cannot.
    static bool CopyMedium(const FORMATETC& format, const STGMEDIUM& from, STGMEDIUM& to);

private:
    virtual ~CIDataObject();

    CIDropSource* m_source;
    LONG m_refCount;
    CUIPtrArray m_formats; // owned FORMATETC*
    CUIPtrArray m_media;   // owned STGMEDIUM*, index-aligned with m_formats
};

// Enumerator over a copy of a list of formats.
class CEnumFormatEtc : public IEnumFORMATETC {
public:
    CEnumFormatEtc(const FORMATETC* formats, int count, int cursor = 0);
    CEnumFormatEtc(const CEnumFormatEtc&) = delete;
    CEnumFormatEtc& operator=(const CEnumFormatEtc&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

private:
    virtual ~CEnumFormatEtc() = default;

    LONG m_refCount;
    CUIValArray m_formats; // FORMATETC
    int m_cursor;
};

} // namespace SkinUI
