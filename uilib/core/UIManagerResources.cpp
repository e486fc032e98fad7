// The paint manager's two-level resource tables: images, cached draw specs,
// default attribute lists, styles, colours and custom window attributes.
#include <cstring>
#include <new>

#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIManagerShared.h"

namespace SkinUI {

namespace {

void FreeImage(TImageEntry* entry) { CRenderKit::FreeImageEntry(entry, true); }
void FreeText(CUIString* text) { delete text; }
void FreeDrawSpec(TImageDrawSpec* spec) { delete spec; }

TImageEntry* LoadImageEntry(const wchar_t* name, const wchar_t* resourceType, DWORD mask, HINSTANCE module)
{
    if (resourceType == nullptr || resourceType[0] == L'\0')
        return CRenderKit::LoadImageByName(name, nullptr, mask, module);
    if (name[0] < L'0' || name[0] > L'9') return nullptr;
    return CRenderKit::LoadImageByRef(MAKEINTRESOURCEW(_wtoi(name)), resourceType, mask, module);
}

// Copies the pixels of the entry's DIB section into its source copy.
bool CopySourcePixels(TImageEntry& entry)
{
    DIBSECTION dib;
    if (GetObjectW(entry.bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr) return false;
    size_t bytes = static_cast<size_t>(entry.width) * static_cast<size_t>(entry.height) * 4;
    entry.sourcePixels = new (std::nothrow) BYTE[bytes];
    if (entry.sourcePixels == nullptr) return false;
    std::memcpy(entry.sourcePixels, dib.dsBm.bmBits, bytes);
    return true;
}

void StoreText(CUIStringMap& map, const wchar_t* key, const wchar_t* text, bool replace)
{
    if (key == nullptr || text == nullptr) return;
    CUIString* copy = new (std::nothrow) CUIString(text);
    if (copy == nullptr) return;
    if (replace) {
        CUIString* old = static_cast<CUIString*>(map.Lookup(key, false));
        if (old != nullptr) {
            map.Remove(key);
            delete old;
        }
    }
    if (!map.InsertNew(key, copy)) delete copy;
}

const wchar_t* FindText(CUIStringMap& own, CUIStringMap& shared, const wchar_t* key)
{
    if (key == nullptr) return nullptr;
    CUIString* text = static_cast<CUIString*>(own.Lookup(key));
    if (text == nullptr) text = static_cast<CUIString*>(shared.Lookup(key));
    return text != nullptr ? text->CStr() : nullptr;
}

// A shared change carries to the window value that still equals the old one.
void SetColor(DWORD TResourceSet::*field, TResourceSet& window, TResourceSet& shared, DWORD argb, bool toShared)
{
    if (toShared) {
        if (window.*field == shared.*field) window.*field = argb;
        shared.*field = argb;
    } else {
        window.*field = argb;
    }
}

} // namespace

TResourceSet::TResourceSet()
    : disabledTextColor(0xFFA7A6AA),
      defaultTextColor(0xFF000000),
      linkTextColor(0xFF0000FF),
      linkHoverTextColor(0xFFD3215F),
      selectedBackColor(0xFFBAE4FF)
{
}

int CPaintManagerUI::SharedImageCount() { return s_shared.images.Count(); }

int CPaintManagerUI::ImageCount() const { return m_resources.images.Count(); }

TImageEntry* CPaintManagerUI::FindImage(const wchar_t* name)
{
    if (name == nullptr) return nullptr;
    TImageEntry* entry = static_cast<TImageEntry*>(m_resources.images.Lookup(name));
    if (entry == nullptr) entry = static_cast<TImageEntry*>(s_shared.images.Lookup(name));
    return entry;
}

TImageEntry* CPaintManagerUI::FindOrLoadImage(const wchar_t* name, const wchar_t* resourceType, DWORD mask, bool hsl,
                                              HINSTANCE module)
{
    TImageEntry* entry = FindImage(name);
    return entry != nullptr ? entry : AddImage(name, resourceType, mask, hsl, false, module);
}

TImageEntry* CPaintManagerUI::AddImage(const wchar_t* name, const wchar_t* resourceType, DWORD mask, bool hsl,
                                       bool shared, HINSTANCE module)
{
    if (name == nullptr || name[0] == L'\0') return nullptr;
    TImageEntry* entry = LoadImageEntry(name, resourceType, mask, module);
    CUIString plain;
    // A skin may lack the scaled variant of an image: draw the plain one.
    if (entry == nullptr && TImageDrawSpec::StripDpiVariant(name, plain))
        entry = LoadImageEntry(plain, resourceType, mask, module);
    if (entry == nullptr) return nullptr;

    entry->usesHsl = hsl;
    if (resourceType != nullptr) entry->resourceType = resourceType;
    entry->maskColor = mask;
    if (hsl && !CopySourcePixels(*entry)) {
        FreeImage(entry);
        return nullptr;
    }
    CUIStringMap& map = (shared || m_useSharedResources) ? s_shared.images : m_resources.images;
    TImageEntry* old = static_cast<TImageEntry*>(map.Lookup(name, false));
    if (old != nullptr) {
        map.Remove(name);
        FreeImage(old);
    }
    if (!map.InsertNew(name, entry)) {
        FreeImage(entry);
        return nullptr;
    }
    return entry;
}

bool CPaintManagerUI::RemoveImage(const wchar_t* name, bool shared)
{
    if (name == nullptr) return false;
    CUIStringMap& map = shared ? s_shared.images : m_resources.images;
    TImageEntry* entry = static_cast<TImageEntry*>(map.Lookup(name, false));
    if (entry == nullptr) return false;
    map.Remove(name);
    FreeImage(entry);
    return true;
}

void CPaintManagerUI::RemoveAllImages(bool shared)
{
    DrainMap<TImageEntry>(shared ? s_shared.images : m_resources.images, FreeImage);
}

TImageDrawSpec* CPaintManagerUI::CachedImageDrawSpec(const wchar_t* attributeText, const wchar_t* modifierText)
{
    CUIString key(attributeText);
    key += modifierText;
    if (key.IsEmpty()) return nullptr;
    TImageDrawSpec* spec = static_cast<TImageDrawSpec*>(m_resources.drawSpecs.Lookup(key));
    if (spec != nullptr) return spec;
    spec = new (std::nothrow) TImageDrawSpec;
    if (spec == nullptr) return nullptr;
    spec->Parse(attributeText, modifierText, this);
    if (!m_resources.drawSpecs.InsertNew(key, spec)) {
        delete spec;
        return nullptr;
    }
    return spec;
}

void CPaintManagerUI::RemoveAllDrawSpecs()
{
    DrainMap<TImageDrawSpec>(m_resources.drawSpecs, FreeDrawSpec);
}

void CPaintManagerUI::SetDefaultAttributeList(const wchar_t* className, const wchar_t* text, bool shared)
{
    CUIStringMap& map = (shared || m_useSharedResources) ? s_shared.defaultAttributes : m_resources.defaultAttributes;
    StoreText(map, className, text, true);
}

const wchar_t* CPaintManagerUI::FindDefaultAttributes(const wchar_t* className) const
{
    return FindText(const_cast<CUIStringMap&>(m_resources.defaultAttributes), s_shared.defaultAttributes, className);
}

void CPaintManagerUI::RemoveAllDefaultAttributeLists(bool shared)
{
    DrainMap<CUIString>(shared ? s_shared.defaultAttributes : m_resources.defaultAttributes, FreeText);
}

void CPaintManagerUI::AddStyle(const wchar_t* name, const wchar_t* text, bool shared)
{
    CUIStringMap& map = (shared || m_useSharedResources) ? s_shared.styles : m_resources.styles;
    StoreText(map, name, text, false);
}

const wchar_t* CPaintManagerUI::FindStyle(const wchar_t* name) const
{
    return FindText(const_cast<CUIStringMap&>(m_resources.styles), s_shared.styles, name);
}

void CPaintManagerUI::RemoveAllStyles(bool shared)
{
    DrainMap<CUIString>(shared ? s_shared.styles : m_resources.styles, FreeText);
}

void CPaintManagerUI::AddWindowAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || name[0] == L'\0') return;
    StoreText(m_windowAttributes, name, value, true);
}

const wchar_t* CPaintManagerUI::FindWindowAttribute(const wchar_t* name) const
{
    if (name == nullptr) return nullptr;
    CUIString* text = static_cast<CUIString*>(const_cast<CUIStringMap&>(m_windowAttributes).Lookup(name));
    return text != nullptr ? text->CStr() : nullptr;
}

void CPaintManagerUI::RemoveAllWindowAttributes()
{
    DrainMap<CUIString>(m_windowAttributes, FreeText);
}

DWORD CPaintManagerUI::DefaultDisabledTextColor() const { return m_resources.disabledTextColor; }
DWORD CPaintManagerUI::DefaultTextColor() const { return m_resources.defaultTextColor; }
DWORD CPaintManagerUI::DefaultLinkTextColor() const { return m_resources.linkTextColor; }
DWORD CPaintManagerUI::DefaultLinkHoverTextColor() const { return m_resources.linkHoverTextColor; }
DWORD CPaintManagerUI::DefaultSelectedBackColor() const { return m_resources.selectedBackColor; }

void CPaintManagerUI::SetDefaultDisabledTextColor(DWORD argb, bool shared)
{
    SetColor(&TResourceSet::disabledTextColor, m_resources, s_shared, argb, shared);
}

void CPaintManagerUI::SetDefaultTextColor(DWORD argb, bool shared)
{
    SetColor(&TResourceSet::defaultTextColor, m_resources, s_shared, argb, shared);
}

void CPaintManagerUI::SetDefaultLinkTextColor(DWORD argb, bool shared)
{
    SetColor(&TResourceSet::linkTextColor, m_resources, s_shared, argb, shared);
}

void CPaintManagerUI::SetDefaultLinkHoverTextColor(DWORD argb, bool shared)
{
    SetColor(&TResourceSet::linkHoverTextColor, m_resources, s_shared, argb, shared);
}

void CPaintManagerUI::SetDefaultSelectedBackColor(DWORD argb, bool shared)
{
    SetColor(&TResourceSet::selectedBackColor, m_resources, s_shared, argb, shared);
}

} // namespace SkinUI
