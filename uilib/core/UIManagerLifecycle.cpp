// The paint manager's construction and destruction, the process-wide skin
// settings and the clean-up at program end.
#include <cstdlib>
#include <cwchar>

#include "uilib/control/Menu.h"
#include "uilib/core/ControlFactory.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/ShadowWindow.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIManagerShared.h"
#include "uilib/core/ZipReader.h"

namespace SkinUI {

HINSTANCE CPaintManagerUI::s_instance = nullptr;
CUIString CPaintManagerUI::s_skinFolder;
UIResourceKind CPaintManagerUI::s_resourceKind = UIRES_FILE;
CUIString CPaintManagerUI::s_skinZipName;
bool CPaintManagerUI::s_skinZipCached = false;
CZipReader* CPaintManagerUI::s_skinZip = nullptr;
CUIString CPaintManagerUI::s_skinZipPassword;
bool CPaintManagerUI::s_hslEnabled = false;
short CPaintManagerUI::s_hue = 0;
short CPaintManagerUI::s_saturation = 0;
short CPaintManagerUI::s_lightness = 0;
void* CPaintManagerUI::s_updateLayeredWindow = nullptr;
HPEN CPaintManagerUI::s_debugPen = nullptr;
CUIPtrArray CPaintManagerUI::s_plugins;
TResourceSet CPaintManagerUI::s_shared;
CUIPtrArray CPaintManagerUI::s_liveManagers;

namespace {

void CloseSkinZip(CZipReader*& zip)
{
    delete zip;
    zip = nullptr;
}

// Builds the process's default font from the system's default GUI font.
void BuildSharedDefaultFont(TFontEntry& entry)
{
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    HFONT font = CreateFontIndirectW(&lf);
    if (font == nullptr) return;
    entry.font = font;
    entry.face = lf.lfFaceName;
    entry.size = -lf.lfHeight;
    entry.bold = lf.lfWeight >= FW_BOLD;
    entry.underline = lf.lfUnderline == 1;
    entry.italic = lf.lfItalic == 1;
    entry.metrics = TEXTMETRICW{};
}

void ClearFontEntry(TFontEntry& entry)
{
    if (entry.font != nullptr) DeleteObject(entry.font);
    entry = TFontEntry{};
}

} // namespace

CPaintManagerUI::CPaintManagerUI()
    : m_window(nullptr),
      m_paintDC(nullptr),
      m_toolTipWindow(nullptr),
      m_toolTip(),
      m_hoverTime(400),
      m_noActivate(false),
      m_root(nullptr),
      m_focusControl(nullptr),
      m_heldFocus(nullptr),
      m_releasedFocus(nullptr),
      m_hoverControl(nullptr),
      m_clickControl(nullptr),
      m_clickButton(0),
      m_menuControl(nullptr),
      m_keyControl(nullptr),
      m_lastMousePoint{-1, -1},
      m_minTrackSize{0, 0},
      m_maxTrackSize{0, 0},
      m_timerCounter(0x1000),
      m_firstLayoutPending(true),
      m_layoutNeeded(false),
      m_focusPending(false),
      m_mouseTracking(false),
      m_mouseCaptured(false),
      m_painting(false),
      m_usesVirtualWindows(false),
      m_queuePosted(false),
      m_dragPending(false),
      m_dragBitmap(nullptr),
      m_initialSize{0, 0},
      m_sizeBox{0, 0, 0, 0},
      m_cornerRounding{0, 0},
      m_captionRect{0, 0, 0, 0},
      m_scaledCaptionRect{0, 0, 0, 0},
      m_useSharedResources(false),
      m_shadow(nullptr),
      m_useGdiplusText(false),
      m_gdiplusTextHint(0),
      m_gdiplusToken(0),
      m_dpiScaler(nullptr),
      m_offscreenDC(nullptr),
      m_backgroundDC(nullptr),
      m_offscreenBitmap(nullptr),
      m_offscreenPixels(nullptr),
      m_backgroundBitmap(nullptr),
      m_backgroundPixels(nullptr),
      m_showUpdateRect(false),
      m_offscreenPaint(true),
      m_layeredOpacity(255),
      m_layered(false),
      m_layeredRedrawPending(false),
      m_layeredUpdateRect{0, 0, 0, 0}
{
    if (s_shared.defaultFont.face.IsEmpty()) {
        TResourceSet defaults;
        s_shared.disabledTextColor = defaults.disabledTextColor;
        s_shared.defaultTextColor = defaults.defaultTextColor;
        s_shared.linkTextColor = defaults.linkTextColor;
        s_shared.linkHoverTextColor = defaults.linkHoverTextColor;
        s_shared.selectedBackColor = defaults.selectedBackColor;
        BuildSharedDefaultFont(s_shared.defaultFont);
    }
    m_resources.disabledTextColor = s_shared.disabledTextColor;
    m_resources.defaultTextColor = s_shared.defaultTextColor;
    m_resources.linkTextColor = s_shared.linkTextColor;
    m_resources.linkHoverTextColor = s_shared.linkHoverTextColor;
    m_resources.selectedBackColor = s_shared.selectedBackColor;

    if (s_debugPen == nullptr) {
        s_debugPen = CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        InitCommonControls();
        LoadLibraryW(L"msimg32.dll");
    }
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusInput, nullptr);
    m_shadow = new CShadowUI();
    CShadowUI::RegisterShadowClass(s_instance != nullptr ? s_instance : GetModuleHandleW(nullptr));
}

CPaintManagerUI::~CPaintManagerUI()
{
    for (int i = 0; i < m_delayedDeletion.Count(); ++i) delete static_cast<CControlUI*>(m_delayedDeletion[i]);
    m_delayedDeletion.Clear();
    for (int i = 0; i < m_notificationQueue.Count(); ++i) delete static_cast<TNotifyInfo*>(m_notificationQueue[i]);
    m_notificationQueue.Clear();
    m_nameIndex.RemoveAll();
    CControlUI* root = m_root;
    m_root = nullptr;
    delete root;

    if (m_resources.defaultFont.font != nullptr) DeleteObject(m_resources.defaultFont.font);
    m_resources.defaultFont = TFontEntry{};
    RemoveAllWindowResources();
    RemoveAllDrawSpecs();
    m_fontVariants.Clear();

    if (m_toolTipWindow != nullptr) DestroyWindow(m_toolTipWindow);
    m_toolTipWindow = nullptr;
    for (int i = 0; i < m_addedFontResources.Count(); ++i) RemoveFontMemResourceEx(m_addedFontResources[i]);
    m_addedFontResources.Clear();

    DeletePaintBitmaps();
    if (m_paintDC != nullptr) ReleaseDC(m_window, m_paintDC);
    int live = s_liveManagers.IndexOf(this);
    if (live >= 0) s_liveManagers.RemoveAt(live);
    RevokeRegistration();
    if (m_dragBitmap != nullptr) DeleteObject(m_dragBitmap);
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    delete m_dpiScaler;
    delete m_shadow;
}

void CPaintManagerUI::SetModuleInstance(HINSTANCE instance) { s_instance = instance; }
HINSTANCE CPaintManagerUI::ProgramInstance() { return s_instance; }
HINSTANCE CPaintManagerUI::ResourceInstance() { return s_instance; }

CUIString CPaintManagerUI::ModuleFolder()
{
    if (s_instance == nullptr) return CUIString();
    wchar_t path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(s_instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return CUIString();
    CUIString folder(path);
    int slash = folder.LastIndexOfChar(L'\\');
    return slash >= 0 ? folder.Prefix(slash + 1) : CUIString();
}

void CPaintManagerUI::SetSkinFolder(const wchar_t* path)
{
    s_skinFolder = path;
    int length = s_skinFolder.Length();
    if (length > 0) {
        wchar_t last = s_skinFolder.CharAt(length - 1);
        if (last != L'\\' && last != L'/') s_skinFolder += L'\\';
    }
}

CUIString CPaintManagerUI::SkinFolder() { return s_skinFolder; }
void CPaintManagerUI::SetResourceKind(UIResourceKind kind) { s_resourceKind = kind; }
UIResourceKind CPaintManagerUI::ResourceKind() { return s_resourceKind; }

bool CPaintManagerUI::OpenSkinZipFromMemory(const void* bytes, DWORD size, const wchar_t* password)
{
    if (s_skinZipCached) CloseSkinZip(s_skinZip);
    s_skinZipName = L"membuffer";
    s_skinZipCached = true;
    s_skinZipPassword = password;
    if (bytes == nullptr || size == 0) return false;
    char* ansiPassword = WideToNewMultiByte(password, CP_ACP);
    CZipReader* zip = new CZipReader();
    uint32_t result = zip->OpenMemory(bytes, size, ansiPassword);
    delete[] ansiPassword;
    if (result != ZR_OK) {
        delete zip;
        return false;
    }
    s_skinZip = zip;
    return true;
}

bool CPaintManagerUI::SetSkinZipFile(const wchar_t* name, bool cached, const wchar_t* password)
{
    if (s_skinZipName == name && s_skinZipCached == cached) return true;
    if (s_skinZipCached) CloseSkinZip(s_skinZip);
    s_skinZipName = name;
    s_skinZipCached = cached;
    s_skinZipPassword = password;
    if (!cached) return true;
    CZipReader* zip = new CZipReader();
    if (!OpenSkinZipFile(*zip)) {
        delete zip;
        return false;
    }
    s_skinZip = zip;
    return true;
}

bool CPaintManagerUI::OpenSkinZipFile(CZipReader& zip)
{
    char* ansiPassword = WideToNewMultiByte(s_skinZipPassword, CP_ACP);
    const uint32_t result = zip.OpenFile(s_skinFolder + s_skinZipName, ansiPassword);
    delete[] ansiPassword;
    return result == ZR_OK;
}

CUIString CPaintManagerUI::SkinZipName() { return s_skinZipName; }
bool CPaintManagerUI::IsSkinZipCached() { return s_skinZipCached; }
CZipReader* CPaintManagerUI::SkinZipHandle() { return s_skinZip; }
CUIString CPaintManagerUI::SkinZipPassword() { return s_skinZipPassword; }
CUIPtrArray* CPaintManagerUI::Plugins() { return &s_plugins; }
int CPaintManagerUI::LiveManagerCount() { return s_liveManagers.Count(); }
CPaintManagerUI* CPaintManagerUI::LiveManagerAt(int index)
{
    return static_cast<CPaintManagerUI*>(s_liveManagers.At(index));
}

// Blocks handed between modules are plain C heap blocks.
void CPaintManagerUI::FreeBlock(void* block)
{
    free(block);
}

bool CPaintManagerUI::HslState(short* hue, short* saturation, short* lightness)
{
    if (hue != nullptr) *hue = s_hue;
    if (saturation != nullptr) *saturation = s_saturation;
    if (lightness != nullptr) *lightness = s_lightness;
    return s_hslEnabled;
}

void CPaintManagerUI::Shutdown(bool freeEverything)
{
    if (freeEverything) {
        CResourceStore::ReleaseInstance();
        CControlFactory::Release();
    }
    CMenuWnd::ClearMenuCheckInfo();
    DrainMap<TImageEntry>(s_shared.images, [](TImageEntry* entry) { CRenderKit::FreeImageEntry(entry, true); });
    DrainMap<TFontEntry>(s_shared.fonts, DeleteFontEntry);
    ClearFontEntry(s_shared.defaultFont);
    DrainMap<CUIString>(s_shared.styles, [](CUIString* text) { delete text; });
    DrainMap<CUIString>(s_shared.defaultAttributes, [](CUIString* text) { delete text; });
    if (s_skinZipCached) CloseSkinZip(s_skinZip);
}

} // namespace SkinUI
