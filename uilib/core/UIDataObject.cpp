#include "uilib/core/UIDataObject.h"

#include <cstring>
#include <cwchar>
#include <new>

namespace SkinUI {

namespace {

bool SameFormat(const FORMATETC& stored, const FORMATETC& asked)
{
    return (stored.tymed & asked.tymed) != 0 && stored.dwAspect == asked.dwAspect &&
           stored.cfFormat == asked.cfFormat;
}

HANDLE DuplicateHandleOf(const FORMATETC& format, const STGMEDIUM& from)
{
    switch (from.tymed) {
    case TYMED_HGLOBAL:
        return OleDuplicateData(from.hGlobal, format.cfFormat, 0);
    case TYMED_GDI:
        return OleDuplicateData(from.hBitmap, format.cfFormat, 0);
    case TYMED_MFPICT:
        return OleDuplicateData(from.hMetaFilePict, CF_METAFILEPICT, 0);
    case TYMED_ENHMF:
        return OleDuplicateData(from.hEnhMetaFile, CF_ENHMETAFILE, 0);
    default:
        return nullptr;
    }
}

} // namespace

bool CIDataObject::CopyMedium(const FORMATETC& format, const STGMEDIUM& from, STGMEDIUM& to)
{
    to = from;
    switch (from.tymed) {
    case TYMED_HGLOBAL:
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF: {
        HANDLE copy = DuplicateHandleOf(format, from);
        if (copy == nullptr) return false;
        to.hGlobal = static_cast<HGLOBAL>(copy);
        break;
    }
    case TYMED_FILE: {
        if (from.lpszFileName == nullptr) return false;
        size_t bytes = (std::wcslen(from.lpszFileName) + 1) * sizeof(wchar_t);
        wchar_t* name = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
        if (name == nullptr) return false;
        std::memcpy(name, from.lpszFileName, bytes);
        to.lpszFileName = name;
        break;
    }
    case TYMED_ISTREAM:
        if (from.pstm != nullptr) from.pstm->AddRef();
        break;
    case TYMED_ISTORAGE:
        if (from.pstg != nullptr) from.pstg->AddRef();
        break;
    default:
        break;
    }
    if (to.pUnkForRelease != nullptr) to.pUnkForRelease->AddRef();
    return true;
}

CIDataObject::CIDataObject(CIDropSource* source) : m_source(source), m_refCount(1) {}

CIDataObject::~CIDataObject()
{
    for (int i = 0; i < m_media.Count(); ++i) {
        STGMEDIUM* medium = static_cast<STGMEDIUM*>(m_media[i]);
        ReleaseStgMedium(medium);
        delete medium;
        delete static_cast<FORMATETC*>(m_formats[i]);
    }
}

HRESULT STDMETHODCALLTYPE CIDataObject::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIDataObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

ULONG STDMETHODCALLTYPE CIDataObject::Release()
{
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CIDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    for (int i = 0; i < m_formats.Count(); ++i) {
        if (!SameFormat(*static_cast<FORMATETC*>(m_formats[i]), *format)) continue;
        const STGMEDIUM* stored = static_cast<STGMEDIUM*>(m_media[i]);
        return CopyMedium(*static_cast<FORMATETC*>(m_formats[i]), *stored, *medium) ? S_OK : E_OUTOFMEMORY;
    }
    return DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE CIDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CIDataObject::QueryGetData(FORMATETC* format)
{
    if (format == nullptr) return E_INVALIDARG;
    if ((format->dwAspect & DVASPECT_CONTENT) == 0) return DV_E_DVASPECT;
    if (m_formats.IsEmpty()) return DV_E_TYMED;
    HRESULT result = DV_E_TYMED;
    for (int i = 0; i < m_formats.Count(); ++i) {
        const FORMATETC* stored = static_cast<FORMATETC*>(m_formats[i]);
        if ((stored->tymed & format->tymed) == 0) {
            result = DV_E_TYMED;
            continue;
        }
        if (stored->cfFormat == format->cfFormat) return S_OK;
        result = DV_E_CLIPFORMAT;
    }
    return result;
}

HRESULT STDMETHODCALLTYPE CIDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out == nullptr) return E_INVALIDARG;
    return DATA_S_SAMEFORMATETC;
}

HRESULT STDMETHODCALLTYPE CIDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    FORMATETC* formatCopy = new (std::nothrow) FORMATETC(*format);
    STGMEDIUM* mediumCopy = new (std::nothrow) STGMEDIUM();
    if (formatCopy == nullptr || mediumCopy == nullptr) {
        delete formatCopy;
        delete mediumCopy;
        return E_OUTOFMEMORY;
    }
    if (release) {
        *mediumCopy = *medium;
    } else if (!CopyMedium(*format, *medium, *mediumCopy)) {
        delete formatCopy;
        delete mediumCopy;
        return E_OUTOFMEMORY;
    }
    if (!m_formats.Append(formatCopy) || !m_media.Append(mediumCopy)) {
        if (m_formats.Count() > m_media.Count()) m_formats.RemoveAt(m_formats.Count() - 1);
        if (!release) ReleaseStgMedium(mediumCopy);
        delete formatCopy;
        delete mediumCopy;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator)
{
    if (enumerator == nullptr) return E_POINTER;
    *enumerator = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    CUIValArray list(sizeof(FORMATETC), m_formats.Count());
    for (int i = 0; i < m_formats.Count(); ++i) list.Append(m_formats[i]);
    CEnumFormatEtc* created =
        new (std::nothrow) CEnumFormatEtc(static_cast<const FORMATETC*>(list.Data()), list.Count());
    if (created == nullptr) return E_OUTOFMEMORY;
    *enumerator = created;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE CIDataObject::DUnadvise(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CIDataObject::EnumDAdvise(IEnumSTATDATA**)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

CEnumFormatEtc::CEnumFormatEtc(const FORMATETC* formats, int count, int cursor)
    : m_refCount(1), m_formats(sizeof(FORMATETC), count), m_cursor(cursor)
{
    for (int i = 0; i < count; ++i) m_formats.Append(&formats[i]);
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFORMATETC)) {
        *object = static_cast<IEnumFORMATETC*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CEnumFormatEtc::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

ULONG STDMETHODCALLTYPE CEnumFormatEtc::Release()
{
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Next(ULONG count, FORMATETC* out, ULONG* fetched)
{
    if (fetched != nullptr) *fetched = 0;
    if (count == 0 || out == nullptr || m_cursor >= m_formats.Count() || (count != 1 && fetched == nullptr)) {
        return S_FALSE;
    }
    ULONG copied = 0;
    while (copied < count && m_cursor < m_formats.Count()) {
        out[copied++] = *static_cast<FORMATETC*>(m_formats[m_cursor++]);
    }
    if (fetched != nullptr) *fetched = copied;
    return copied == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Skip(ULONG count)
{
    if (static_cast<ULONG>(m_cursor) + count >= static_cast<ULONG>(m_formats.Count())) return S_FALSE;
    m_cursor += static_cast<int>(count);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Reset()
{
    m_cursor = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Clone(IEnumFORMATETC** copy)
{
    if (copy == nullptr) return E_POINTER;
    CEnumFormatEtc* created = new (std::nothrow)
        CEnumFormatEtc(static_cast<const FORMATETC*>(m_formats.Data()), m_formats.Count(), m_cursor);
    if (created == nullptr) {
        *copy = nullptr;
        return E_OUTOFMEMORY;
    }
    *copy = created;
    return S_OK;
}

} // namespace SkinUI
