#include "uilib/core/DialogBuilder.h"

#include <cstdint>
#include <cwchar>

#include "uilib/control/TreeNode.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/ControlFactory.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/ShadowWindow.h"
#include "uilib/core/SkinDocumentLoader.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

namespace {

// Longest Include source taken.
const size_t kMaxIncludeSource = 499;

bool IsResourceId(const wchar_t* source)
{
    return (reinterpret_cast<uintptr_t>(source) >> 16) == 0;
}

bool NameIs(const wchar_t* name, const wchar_t* expected)
{
    return CompareTextIgnoreCase(name, expected) == 0;
}

bool IsResourceElement(const wchar_t* name)
{
    return NameIs(name, L"Image") || NameIs(name, L"Font") || NameIs(name, L"Default") || NameIs(name, L"Style") ||
           NameIs(name, L"Import");
}

// The value of the named attribute (ignoring case), or null.
const wchar_t* FindAttribute(const CSkinMarkupNode& node, const wchar_t* name)
{
    const int count = node.AttributeCount();
    for (int i = 0; i < count; ++i) {
        if (NameIs(node.AttributeName(i), name)) return node.AttributeValue(i);
    }
    return nullptr;
}

const wchar_t* AttributeOr(const CSkinMarkupNode& node, const wchar_t* name, const wchar_t* fallback)
{
    const wchar_t* value = FindAttribute(node, name);
    return value != nullptr ? value : fallback;
}

bool BoolAttribute(const CSkinMarkupNode& node, const wchar_t* name)
{
    const wchar_t* value = FindAttribute(node, name);
    return value != nullptr && ParseAttrBool(value);
}

RECT ReadQuad(const wchar_t* value)
{
    int32_t v[4];
    ParseAttrIntList(value, v, 4);
    const RECT rc = {v[0], v[1], v[2], v[3]};
    return rc;
}

CUISize ReadPair(const wchar_t* value)
{
    int32_t v[2];
    ParseAttrIntList(value, v, 2);
    return CUISize(v[0], v[1]);
}

// Where a control given inside parent's element goes: a tree node keeps
// its small controls in its row, so anything but a child node joins them.
IContainerUI* MarkupPlaceOf(CControlUI* parent, IContainerUI* container, CControlUI* control)
{
    CTreeNodeUI* node = static_cast<CTreeNodeUI*>(parent->FindInterface(L"TreeNode"));
    if (node == nullptr || control->FindInterface(L"TreeNode") != nullptr) return container;
    return node->GetRowLayout();
}

// Window attributes whose names are compared with case.
bool WindowNameIs(const wchar_t* name, const wchar_t* expected)
{
    return wcscmp(name, expected) == 0;
}

void ApplyShadowAttribute(CShadowUI* shadow, const wchar_t* name, const wchar_t* value)
{
    if (shadow == nullptr) return;
    if (NameIs(name, L"shadowsize")) {
        shadow->SetSize(ParseAttrInt(value));
    } else if (NameIs(name, L"shadowsharpness")) {
        shadow->SetSharpness(static_cast<unsigned int>(ParseAttrInt(value)));
    } else if (NameIs(name, L"shadowdarkness")) {
        shadow->SetDarkness(static_cast<unsigned int>(ParseAttrInt(value)));
    } else if (NameIs(name, L"shadowposition")) {
        const CUISize offset = ReadPair(value);
        shadow->SetPosition(offset.cx, offset.cy);
    } else if (NameIs(name, L"shadowcolor")) {
        shadow->SetColor(ParseAttrColor(value, false));
    } else if (NameIs(name, L"shadowcorner")) {
        shadow->SetShadowCorner(ReadQuad(value));
    } else if (NameIs(name, L"shadowimage")) {
        shadow->SetImage(value);
    } else if (NameIs(name, L"showshadow")) {
        shadow->SetShown(ParseAttrBool(value));
    }
}

void ApplyWindowAttribute(CPaintManagerUI* manager, const wchar_t* name, const wchar_t* value)
{
    if (NameIs(name, L"size")) {
        const CUISize size = ReadPair(value);
        const CDpiScaler* scaler = manager->DpiScaler();
        manager->SetInitialSize(scaler->ScaleValue(size.cx), scaler->ScaleValue(size.cy));
    } else if (NameIs(name, L"sizebox")) {
        manager->SetSizeBox(ReadQuad(value));
    } else if (NameIs(name, L"caption")) {
        manager->SetCaptionRect(ReadQuad(value));
    } else if (NameIs(name, L"roundcorner")) {
        const CUISize round = ReadPair(value);
        manager->SetCornerRounding(round.cx, round.cy);
    } else if (NameIs(name, L"mininfo")) {
        const CUISize size = ReadPair(value);
        manager->SetMinTrackSize(size.cx, size.cy);
    } else if (NameIs(name, L"maxinfo")) {
        const CUISize size = ReadPair(value);
        manager->SetMaxTrackSize(size.cx, size.cy);
    } else if (NameIs(name, L"showdirty")) {
        manager->SetShowUpdateRect(ParseAttrBool(value));
    } else if (NameIs(name, L"opacity") || NameIs(name, L"alpha")) {
        manager->SetOpacity(static_cast<BYTE>(ParseAttrInt(value)));
    } else if (WindowNameIs(name, L"layeredopacity")) {
        manager->SetLayeredOpacity(static_cast<BYTE>(ParseAttrInt(value)));
    } else if (WindowNameIs(name, L"layered") || WindowNameIs(name, L"bktrans")) {
        manager->SetLayeredMode(ParseAttrBool(value));
    } else if (WindowNameIs(name, L"layeredimage")) {
        manager->SetLayeredMode(true);
        manager->SetLayeredImage(value);
    } else if (WindowNameIs(name, L"noactivate")) {
        manager->SetNoActivate(ParseAttrBool(value));
    } else if (NameIs(name, L"disabledfontcolor")) {
        manager->SetDefaultDisabledTextColor(ParseAttrColor(value, false), false);
    } else if (NameIs(name, L"defaultfontcolor")) {
        manager->SetDefaultTextColor(ParseAttrColor(value, false), false);
    } else if (NameIs(name, L"linkfontcolor")) {
        manager->SetDefaultLinkTextColor(ParseAttrColor(value, false), false);
    } else if (NameIs(name, L"linkhoverfontcolor")) {
        manager->SetDefaultLinkHoverTextColor(ParseAttrColor(value, false), false);
    } else if (NameIs(name, L"selectedcolor")) {
        manager->SetDefaultSelectedBackColor(ParseAttrColor(value, false), false);
    } else if (NameIs(name, L"gdiplustext")) {
        manager->SetUseGdiplusText(ParseAttrBool(value));
    } else if (NameIs(name, L"textrenderinghint")) {
        manager->SetGdiplusTextRenderingHint(ParseAttrInt(value));
    } else if (NameIs(name, L"tooltiphovertime")) {
        manager->SetHoverTime(static_cast<DWORD>(ParseAttrInt(value)));
    } else {
        ApplyShadowAttribute(manager->ShadowWindow(), name, value);
    }
}

} // namespace

CDialogBuilder::CDialogBuilder()
    : m_callback(nullptr), m_resourceType(nullptr), m_includeDepth(0), m_includer(nullptr)
{
}

void CDialogBuilder::Fail(const wchar_t* reason, const wchar_t* detail)
{
    m_lastError = reason;
    if (detail != nullptr) {
        m_lastError += L": ";
        m_lastError += detail;
    }
}

bool CDialogBuilder::LoadSource(const wchar_t* source, const wchar_t* resourceType)
{
    if (source == nullptr) {
        Fail(L"No layout source", nullptr);
        return false;
    }
    if (IsResourceId(source)) {
        m_resourceType = resourceType;
        m_source.Printf(L"#%u", static_cast<unsigned int>(reinterpret_cast<uintptr_t>(source)));
        if (!LoadSkinDocument(m_document, source, resourceType)) {
            Fail(L"Layout resource not loaded", m_source);
            return false;
        }
        return true;
    }
    const wchar_t* text = source;
    if (text[0] != L'<') {
        const wchar_t* path = CResourceStore::GetInstance()->LayoutPathOf(text);
        if (path != nullptr) text = path;
    }
    m_source = text[0] == L'<' ? CUIString() : CUIString(text);
    if (!m_source.IsEmpty() && IsBeingBuilt(m_source)) {
        Fail(L"Layout includes itself", text);
        return false;
    }
    const bool loaded = text[0] == L'<' ? m_document.LoadFromText(text) : LoadSkinDocument(m_document, text, nullptr);
    if (!loaded) {
        CUIString why(m_document.LastErrorMessage());
        why += L" ";
        why += text[0] == L'<' ? m_document.LastErrorLocation() : text;
        Fail(L"Layout not loaded", why);
    }
    return loaded;
}

bool CDialogBuilder::IsBeingBuilt(const CUIString& source) const
{
    for (const CDialogBuilder* builder = m_includer; builder != nullptr; builder = builder->m_includer) {
        if (!builder->m_source.IsEmpty() && builder->m_source.CompareIgnoreCase(source) == 0) return true;
    }
    return false;
}

CControlUI* CDialogBuilder::BuildFromSource(const wchar_t* source, const wchar_t* resourceType,
                                            IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                            CControlUI* parent)
{
    m_lastError.Clear();
    if (!LoadSource(source, resourceType)) return nullptr;
    CControlUI* root = Create(callback, manager, parent);
    m_document.ReleaseDocument();
    return root;
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent)
{
    m_callback = callback;
    CSkinMarkupNode root = m_document.Root();
    if (!root.IsValid()) {
        Fail(L"Layout has no root element", nullptr);
        return nullptr;
    }
    if (manager != nullptr) {
        RegisterResources(root, manager);
        if (NameIs(root.Name(), L"Window") && manager->WindowHandle() != nullptr) ApplyWindowAttributes(root, manager);
    }
    return Parse(root, parent, manager);
}

void CDialogBuilder::RegisterResources(CSkinMarkupNode root, CPaintManagerUI* manager)
{
    for (CSkinMarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
        const wchar_t* name = node.Name();
        const bool shared = BoolAttribute(node, L"shared");
        if (NameIs(name, L"Image")) {
            const wchar_t* image = FindAttribute(node, L"name");
            const wchar_t* mask = FindAttribute(node, L"mask");
            if (image != nullptr) {
                manager->AddImage(image, FindAttribute(node, L"restype"),
                                  mask != nullptr ? ParseAttrColor(mask, false) : 0, false, shared);
            }
        } else if (NameIs(name, L"Font")) {
            const wchar_t* id = FindAttribute(node, L"id");
            const int fontId = id != nullptr ? ParseAttrInt(id) : -1;
            if (fontId < 0) continue;
            const wchar_t* face = AttributeOr(node, L"name", L"");
            const wchar_t* size = FindAttribute(node, L"size");
            const int pixels = size != nullptr ? ParseAttrInt(size) : 12;
            const bool bold = BoolAttribute(node, L"bold");
            const bool underline = BoolAttribute(node, L"underline");
            const bool italic = BoolAttribute(node, L"italic");
            manager->AddFont(fontId, face, pixels, bold, underline, italic, shared);
            if (BoolAttribute(node, L"default")) manager->SetDefaultFont(face, pixels, bold, underline, italic, shared);
        } else if (NameIs(name, L"Default")) {
            const wchar_t* cls = FindAttribute(node, L"name");
            if (cls != nullptr) manager->SetDefaultAttributeList(cls, AttributeOr(node, L"value", L""), shared);
        } else if (NameIs(name, L"Style")) {
            const wchar_t* style = FindAttribute(node, L"name");
            if (style != nullptr) manager->AddStyle(style, AttributeOr(node, L"value", L""), shared);
        } else if (NameIs(name, L"Import")) {
            const wchar_t* file = FindAttribute(node, L"fontfile");
            if (file != nullptr) manager->AddFontFile(file);
        }
    }
}

void CDialogBuilder::ApplyWindowAttributes(CSkinMarkupNode root, CPaintManagerUI* manager)
{
    const int count = root.AttributeCount();
    for (int i = 0; i < count; ++i) ApplyWindowAttribute(manager, root.AttributeName(i), root.AttributeValue(i));
}

CControlUI* CDialogBuilder::CreateByTag(const wchar_t* tag)
{
    CUIString className;
    className.Printf(L"C%sUI", tag);
    CControlUI* control = CControlFactory::GetInstance()->CreateControl(className);
    if (control != nullptr) return control;
    const CUIPtrArray* plugins = CPaintManagerUI::Plugins();
    for (int i = 0; i < plugins->Count(); ++i) {
        UIPluginCreateFunction create = reinterpret_cast<UIPluginCreateFunction>(plugins->At(i));
        control = create != nullptr ? create(tag) : nullptr;
        if (control != nullptr) return control;
    }
    if (m_callback != nullptr) control = m_callback->CreateCustomControl(tag);
    if (control == nullptr) {
        if (!m_unknownTags.IsEmpty()) m_unknownTags += L" ";
        m_unknownTags += tag;
    }
    return control;
}

bool CDialogBuilder::Include(CSkinMarkupNode element, CControlUI* parent, CPaintManagerUI* manager,
                             CControlUI*& topLevel)
{
    const wchar_t* source = FindAttribute(element, L"source");
    if (source == nullptr || source[0] == L'\0') return true;
    if (wcslen(source) > kMaxIncludeSource) {
        Fail(L"Include source too long", nullptr);
        return false;
    }
    const wchar_t* count = FindAttribute(element, L"count");
    const int copies = count != nullptr ? ParseAttrInt(count) : 1;
    if (m_includeDepth + 1 > kMaxIncludeDepth) {
        Fail(L"Includes nested too deep", source);
        return false;
    }
    bool ok = true;
    for (int n = 0; n < copies; ++n) {
        CDialogBuilder included;
        included.m_includer = this;
        included.m_includeDepth = m_includeDepth + 1;
        const bool fromResource = m_resourceType != nullptr;
        const wchar_t* what = fromResource
                                  ? MAKEINTRESOURCEW(static_cast<WORD>(ParseAttrInt(source) & 0xFFFF))
                                  : source;
        CControlUI* built =
            included.BuildFromSource(what, fromResource ? m_resourceType : nullptr, m_callback, manager, parent);
        // Without a parent nothing owns what was built: it is the top-level
        // control, or refused like any second one.
        if (parent == nullptr && built != nullptr) {
            if (topLevel == nullptr) {
                topLevel = built;
            } else {
                delete built;
                Fail(L"More than one top-level control", source);
            }
        }
        if (!included.m_unknownTags.IsEmpty()) {
            if (!m_unknownTags.IsEmpty()) m_unknownTags += L" ";
            m_unknownTags += included.m_unknownTags;
        }
        if (!included.m_lastError.IsEmpty()) {
            // A refused include (a cycle) is refused once, not once per copy.
            m_lastError = included.m_lastError;
            ok = false;
            break;
        }
    }
    return ok;
}

CControlUI* CDialogBuilder::Parse(CSkinMarkupNode element, CControlUI* parent, CPaintManagerUI* manager)
{
    IContainerUI* container = nullptr;
    CControlUI* first = nullptr;
    for (CSkinMarkupNode node = element.FirstChild(); node.IsValid(); node = node.NextSibling()) {
        const wchar_t* tag = node.Name();
        if (IsResourceElement(tag)) continue;
        if (NameIs(tag, L"Include")) {
            Include(node, parent, manager, first);
            continue;
        }
        CControlUI* control = CreateByTag(tag);
        if (control == nullptr) continue;
        if (parent != nullptr && container == nullptr) {
            container = static_cast<IContainerUI*>(parent->FindInterface(L"IContainer"));
            if (container == nullptr) {
                delete control;
                Fail(L"Parent of a control is not a container", tag);
                return nullptr;
            }
        } else if (parent == nullptr && first != nullptr) {
            // Only one control can be the root; a second one would be lost.
            delete control;
            Fail(L"More than one top-level control", tag);
            continue;
        }
        if (node.HasChildren()) Parse(node, control, manager);
        if (manager != nullptr) {
            control->AttachManager(manager, nullptr, false);
            const wchar_t* defaults = manager->FindDefaultAttributes(tag);
            if (defaults != nullptr) control->ApplyAttributeList(defaults);
        }
        const int count = node.AttributeCount();
        for (int i = 0; i < count; ++i) control->ApplyAttribute(node.AttributeName(i), node.AttributeValue(i));
        if (manager != nullptr) control->AttachManager(nullptr, nullptr, false);
        // Added last: a container already in a window attaches the new subtree
        // to its manager, which the detach above would undo.
        if (container != nullptr && !MarkupPlaceOf(parent, container, control)->AddChild(control)) {
            delete control;
            continue;
        }
        if (first == nullptr) first = control;
    }
    return first;
}

} // namespace SkinUI
