// Painting off-screen and into layered windows, printing, and DPI changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BmpFile.h"
#include "ManagerHarness.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/kit/ExpectRect.h"

using namespace SkinUI;
using namespace SkinUITest;
using SkinUITest::ExpectRect;

namespace {

// A copy of the pixels of a 32-bit bottom-up DIB section, addressed top-down.
class Pixels {
public:
    explicit Pixels(HBITMAP bitmap)
    {
        DIBSECTION dib = {};
        if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) return;
        GdiFlush();
        width = dib.dsBm.bmWidth;
        height = dib.dsBm.bmHeight;
        const DWORD* bits = static_cast<const DWORD*>(dib.dsBm.bmBits);
        data.assign(bits, bits + static_cast<size_t>(width) * height);
    }
    DWORD At(int x, int y) const { return data[static_cast<size_t>(height - 1 - y) * width + x]; }

    int width = 0;
    int height = 0;
    std::vector<DWORD> data;
};

struct PaintWindow : ::testing::Test {
    CManagedWindow window{400, 300};
    CProbeContainer* root = new CProbeContainer;
    CProbeControl* blue = new CProbeControl;
    CProbeControl* gdiGreen = new CProbeControl;
    CProbeControl* gdiBlack = new CProbeControl;

    void SetUp() override
    {
        ASSERT_NE(window.Handle(), nullptr);
        blue->SetBackgroundColor(0xFF0000FF);
        gdiGreen->SetGdiFill(RGB(0, 255, 0), true);
        gdiBlack->SetGdiFill(RGB(0, 0, 0), true);
        root->Add(blue, RECT{0, 0, 100, 100});
        root->Add(gdiGreen, RECT{100, 0, 200, 100});
        root->Add(gdiBlack, RECT{200, 0, 300, 100});
    }
};

} // namespace

TEST_F(PaintWindow, LayeredWindowGetsPerPixelAlpha)
{
    window.Manager().SetLayeredMode(true);
    ASSERT_TRUE(window.Manager().IsLayeredMode());
    window.Manager().AttachRoot(root);
    window.ShowAndPaint();
    EXPECT_NE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    Pixels pixels(window.Manager().OffscreenBitmap());
    ASSERT_EQ(pixels.width, 400);
    ASSERT_EQ(pixels.height, 300);
    EXPECT_EQ(pixels.At(50, 50), 0xFF0000FFu);
    // GDI leaves alpha at 0: coloured pixels become opaque, black stays clear.
    EXPECT_EQ(pixels.At(150, 50), 0xFF00FF00u);
    EXPECT_EQ(pixels.At(250, 50), 0x00000000u);
    EXPECT_EQ(pixels.At(350, 50), 0x00000000u);
    EXPECT_EQ(pixels.At(50, 200), 0x00000000u);
}

TEST_F(PaintWindow, OffscreenBitmapFollowsTheClientSize)
{
    window.Manager().AttachRoot(root);
    window.ShowAndPaint();
    Pixels before(window.Manager().OffscreenBitmap());
    EXPECT_EQ(before.width, 400);
    EXPECT_EQ((before.At(50, 50) & 0x00FFFFFF), 0x0000FFu);
    SetWindowPos(window.Handle(), nullptr, 0, 0, 520, 360, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(window.Handle());
    Pixels after(window.Manager().OffscreenBitmap());
    EXPECT_EQ(after.width, 520);
    EXPECT_EQ(after.height, 360);
    // A repaint of a small area after the resize stays inside the bitmap.
    RECT corner = {500, 340, 600, 400};
    window.Manager().InvalidateArea(corner);
    UpdateWindow(window.Handle());
    EXPECT_EQ(Pixels(window.Manager().OffscreenBitmap()).width, 520);
}

TEST_F(PaintWindow, InvalidatedAreaIsCorrectedBeforeUse)
{
    RECT rc = {-5, -7, 10, 12};
    window.Manager().InvalidateArea(rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    RECT inverted = {30, 30, 10, 10};
    window.Manager().InvalidateArea(inverted);
    EXPECT_EQ(inverted.right, 30);
    EXPECT_EQ(inverted.bottom, 30);
}

TEST_F(PaintWindow, PrintClientDrawsIntoTheGivenDcAndRestoresIt)
{
    window.Manager().AttachRoot(root);
    window.ShowAndPaint();
    HWND child = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE, 300, 200, 50, 20, window.Handle(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 400;
    info.bmiHeader.biHeight = 300;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_CHILDREN);
    POINT origin = {-1, -1};
    GetWindowOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    SelectObject(dc, old);
    Pixels printed(bitmap);
    EXPECT_EQ((printed.At(50, 50) & 0x00FFFFFF), 0x0000FFu);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(child);
}

TEST_F(PaintWindow, ApplyDpiScalesTheWindowAndPostsTheNotice)
{
    window.Manager().AttachRoot(root);
    window.ShowAndPaint();
    PumpPending();
    window.Manager().ApplyDpi(144);
    RECT rc;
    GetWindowRect(window.Handle(), &rc);
    EXPECT_EQ(rc.right - rc.left, 600);
    EXPECT_EQ(rc.bottom - rc.top, 450);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window.Handle(), WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(window.Manager().DpiScaler()->GetScalePercent(), 150);
}

TEST_F(PaintWindow, OpacityMakesTheWindowLayered)
{
    window.Manager().SetOpacity(128);
    EXPECT_NE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
}

namespace {

// A packed 32-bit DIB of 16x16 pixels whose block holds `payload` bytes of pixels.
HGLOBAL PackedDib(SIZE_T payload)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + payload);
    BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = 16;
    header->biHeight = 16;
    header->biPlanes = 1;
    header->biBitCount = 32;
    GlobalUnlock(block);
    return block;
}

} // namespace

TEST_F(PaintWindow, DroppedDibIsCheckedAgainstItsBlock)
{
    window.Manager().AttachRoot(root);
    FORMATETC format = {CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    DWORD effect = DROPEFFECT_COPY;

    medium.hGlobal = PackedDib(16);
    EXPECT_TRUE(window.Manager().HandleDroppedData(format, medium, &effect));
    EXPECT_EQ(window.imagesSet, 0);
    GlobalFree(medium.hGlobal);

    medium.hGlobal = PackedDib(16 * 16 * 4);
    EXPECT_TRUE(window.Manager().HandleDroppedData(format, medium, &effect));
    EXPECT_EQ(window.imagesSet, 1);
    GlobalFree(medium.hGlobal);
}

TEST_F(PaintWindow, LayeredBackgroundAlphaShapesTheWindow)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp);
    // One white pixel, half transparent.
    WriteBytes(folder + L"brisa_shape.bmp", BmpFile(1, 1, 32, {0xFF, 0xFF, 0xFF, 0x80}));
    CPaintManagerUI::SetSkinFolder(folder.c_str());
    window.Manager().SetLayeredMode(true);
    window.Manager().SetLayeredImage(L"file='brisa_shape.bmp'");
    window.Manager().AttachRoot(root);
    window.ShowAndPaint();
    // The first paint only lays out; the redraw it asks for composes.
    UpdateWindow(window.Handle());
    Pixels pixels(window.Manager().OffscreenBitmap());
    ASSERT_EQ(pixels.width, 400);
    EXPECT_EQ(pixels.At(50, 50), 0x80000080u);
    EXPECT_EQ(pixels.At(350, 200), 0x80000000u);
    CPaintManagerUI::SetSkinFolder(L"");
    DeleteFileW((folder + L"brisa_shape.bmp").c_str());
}

namespace {

// A floating container inside a container inset by 50: its place is in
// window coordinates and must survive relayouts of part of the tree.
TEST(PartialRelayout, FloatingControlsKeepTheirPlace)
{
    const struct {
        const wchar_t* change;
        void (*apply)(CContainerUI* parent, CContainerUI* floating);
        bool checkAdded;
    } cases[] = {
        {L"the floating container gains a child", [](CContainerUI*, CContainerUI* f) { f->AddChild(new CControlUI()); },
         false},
        {L"a child inside it is hidden", [](CContainerUI*, CContainerUI* f) { f->GetChildAt(0)->SetVisibility(false); },
         false},
        {L"a floating control is added beside it",
         [](CContainerUI* parent, CContainerUI*) {
             CControlUI* added = new CControlUI();
             added->ApplyAttributeList(L"float=\"true\" pos=\"10,10,110,60\"");
             parent->AddChild(added);
         },
         true},
    };
    for (const auto& c : cases) {
        CManagedWindow window(400, 300);
        CContainerUI* root = new CContainerUI();
        CContainerUI* parent = new CContainerUI();
        CContainerUI* floating = new CContainerUI();
        root->ApplyAttribute(L"inset", L"50,50,50,50");
        floating->ApplyAttributeList(L"float=\"true\" pos=\"10,10,110,60\"");
        floating->AddChild(new CControlUI());
        parent->AddChild(floating);
        root->AddChild(parent);
        window.Manager().AttachRoot(root);
        window.ShowAndPaint();
        ASSERT_EQ(50, parent->GetPosition().left) << c.change;
        ExpectRect(floating->GetPosition(), 60, 60, 160, 110);

        c.apply(parent, floating);
        UpdateWindow(window.Handle());
        ExpectRect(floating->GetPosition(), 60, 60, 160, 110);
        if (c.checkAdded) ExpectRect(parent->GetChildAt(1)->GetPosition(), 60, 60, 160, 110);
        EXPECT_FALSE(floating->IsLayoutNeeded()) << c.change;
    }
}

} // namespace
