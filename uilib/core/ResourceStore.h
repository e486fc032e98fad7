#pragma once

#include "uilib/core/UIString.h"
#include "uilib/core/UIStringMap.h"

namespace SkinUI {

class CSkinMarkup;
class CSkinMarkupNode;

// Answers texts the language files lack; the application's main window
// implements it.
class IQueryControlText {
public:
    // The display text for key ("${...}" as the skin writes it), or null.
    // type is the asking control's type text, null when none.
    virtual const wchar_t* LookupControlText(const wchar_t* key, const wchar_t* type) = 0;

protected:
    ~IQueryControlText() = default;
};

// Loads a skin document that is not XML text: a skin file path, or a numeric
// resource id (a pointer value below 0x10000, as Win32 writes them) of the
// given resource type. The skin setup, which knows where the skin lives
// (folder, archive, resources), installs it.
using SkinDocumentLoader = bool (*)(CSkinMarkup& doc, const wchar_t* source, const wchar_t* resourceType);

// The process's translatable texts (up to three languages, one current) and
// the resource index mapping layout and image ids to skin paths. UI thread only.
class CResourceStore {
public:
    static const int kMaxLanguages = 3;

    // The single store, made on first use; ReleaseInstance destroys it, and
    // the next GetInstance makes a new, empty one.
    static CResourceStore* GetInstance();
    static void ReleaseInstance();

    CResourceStore();
    ~CResourceStore();
    CResourceStore(const CResourceStore&) = delete;
    CResourceStore& operator=(const CResourceStore&) = delete;

    void SetDocumentLoader(SkinDocumentLoader loader) { m_loader = loader; }
    // The owner keeps the callback alive; the store never releases it.
    void SetTextQueryCallback(IQueryControlText* callback) { m_query = callback; }

    // Loads a language file (XML text when source starts with "<", otherwise
    // a skin path) into the next free slot, which becomes current. False when
    // the document does not load or all slots are taken; the store is then
    // unchanged.
    bool AddLanguage(const wchar_t* source, const wchar_t* name);
    // Makes current the last slot named name (ignoring case); no match keeps
    // the current one.
    void SelectLanguage(const wchar_t* name);
    const wchar_t* CurrentLanguageName() const;
    int LanguageCount() const { return m_languageCount; }

    // The display text of a skin text: a text starting with "${" is a key of
    // the current language (or, missing, the key itself), with every "{\n}"
    // turned into a line feed; any other text comes back unchanged.
    CUIString LookupText(const wchar_t* text, const wchar_t* type = nullptr);

    // Reads the resource index ("xml\res.xml"): source as for AddLanguage, or
    // a numeric resource id of resourceType. The first entry of an id wins.
    bool LoadResourceIndex(const wchar_t* source, const wchar_t* resourceType = nullptr);
    // Null when the id is not in the index.
    const wchar_t* ImagePathOf(const wchar_t* id);
    const wchar_t* LayoutPathOf(const wchar_t* id);

private:
    bool LoadDocument(CSkinMarkup& doc, const wchar_t* source, const wchar_t* resourceType);
    void ReadIndexLevel(const CSkinMarkupNode& first, int depth);
    static void FreeTexts(CUIStringMap& map);

    int m_currentLanguage;
    int m_languageCount;
    CUIString m_languageNames[kMaxLanguages];
    CUIStringMap m_languageTexts[kMaxLanguages];
    IQueryControlText* m_query;
    SkinDocumentLoader m_loader;
    CUIStringMap m_images;
    CUIStringMap m_layouts;
};

} // namespace SkinUI
