#pragma once

#include <windows.h>

#include "uilib/core/SkinMarkup.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

// Supplies the application's own control classes by their bare tag.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateCustomControl(const wchar_t* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns one skin layout document into a tree of controls: registers the
// document's images, fonts, default lists and styles with the manager, applies
// the Window element's settings, then creates one control per element.
class CDialogBuilder {
public:
    // Deepest nesting of Include elements; deeper (or cyclic) includes fail.
    static const int kMaxIncludeDepth = 16;

    CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // source: XML text (starting with "<"), a layout id of the resource
    // index, a skin file path, or a numeric resource id (a pointer value
    // below 0x10000) of resourceType. The caller owns the tree returned.
    CControlUI* BuildFromSource(const wchar_t* source, const wchar_t* resourceType, IDialogBuilderCallback* callback,
                                CPaintManagerUI* manager, CControlUI* parent = nullptr);
    // Builds from the document loaded by BuildFromSource.
    CControlUI* Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent = nullptr);

    // Why the last build failed or what it refused (an include cycle); empty
    // when nothing went wrong.
    const CUIString& LastError() const { return m_lastError; }
    // Tags no class was found for, separated by blanks (their elements and
    // subtrees were skipped).
    const CUIString& UnknownTags() const { return m_unknownTags; }

private:
    bool LoadSource(const wchar_t* source, const wchar_t* resourceType);
    void RegisterResources(CSkinMarkupNode root, CPaintManagerUI* manager);
    void ApplyWindowAttributes(CSkinMarkupNode root, CPaintManagerUI* manager);
    CControlUI* Parse(CSkinMarkupNode element, CControlUI* parent, CPaintManagerUI* manager);
    // Builds the included source under parent; with no parent, what it built
    // becomes topLevel when that is still empty.
    bool Include(CSkinMarkupNode element, CControlUI* parent, CPaintManagerUI* manager, CControlUI*& topLevel);
    CControlUI* CreateByTag(const wchar_t* tag);
    void Fail(const wchar_t* reason, const wchar_t* detail);
    bool IsBeingBuilt(const CUIString& source) const;

    CSkinMarkup m_document;
    IDialogBuilderCallback* m_callback;
    const wchar_t* m_resourceType;
    int m_includeDepth;
    // Sources being built by this builder and the ones that included it.
    const CDialogBuilder* m_includer;
    CUIString m_source;
    CUIString m_lastError;
    CUIString m_unknownTags;
};

} // namespace SkinUI
