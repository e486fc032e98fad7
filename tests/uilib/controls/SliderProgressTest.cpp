// Progress bars and sliders: fill pixels, value arithmetic and the events a
// user makes on a slider.
#include <gtest/gtest.h>

#include <vector>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "uilib/control/Progress.h"
#include "uilib/control/Button.h"
#include "uilib/control/Slider.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::HostWindow;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;
using SkinUITest::SkinImageFolder;

namespace {

const uint32_t kRed = 0x00FF0000;

// A slider 110 pixels wide at x 10 with a 10-pixel thumb, 0..100.
struct SliderRig {
    SliderRig() : recorder(manager)
    {
        slider.AttachManager(&manager, nullptr, false);
        slider.SetPosition({10, 0, 120, 20});
        slider.SetThumbSize(10, 10);
    }
    ~SliderRig() { slider.AttachManager(nullptr, nullptr, false); }

    // From value from: the thumb pressed at its centre, taken across past the drag rectangle, then along.
    int DraggedTo(int from, int along)
    {
        slider.SetValue(from);
        const CUIRect t = slider.GetThumbRect();
        const int x = (t.left + t.right) / 2, y = (t.top + t.bottom) / 2, h = slider.IsHorizontal();
        SendEvent(slider, UIEVENT_BUTTONDOWN, x, y);
        SendEvent(slider, UIEVENT_MOUSEMOVE, h ? x : x + 9, h ? y + 9 : y);
        SendEvent(slider, UIEVENT_BUTTONUP, h ? along : x + 9, h ? y + 9 : along);
        return slider.GetValue();
    }

    CPaintManagerUI manager;
    NotifyRecorder recorder;
    CSliderUI slider;
};

struct SliderFixture : ::testing::Test, SliderRig {};

// A progress bar w x h at the origin, filled red, on its own manager.
struct RedBar {
    RedBar(int w, int h, bool horizontal = true)
    {
        bar.AttachManager(&manager, nullptr, false);
        bar.SetHorizontal(horizontal);
        bar.SetPosition({0, 0, w, h});
        bar.SetForegroundColor(0xFFFF0000);
    }
    ~RedBar() { bar.AttachManager(nullptr, nullptr, false); }

    CPaintManagerUI manager;
    CProgressUI bar;
};

int CountRedInColumn(const DibCanvas& canvas, int x)
{
    RECT column = {x, 0, x + 1, canvas.Height()};
    return canvas.CountRgb(column, kRed);
}

} // namespace

TEST(ProgressPaint, FillsTheValuePartFromTheStart)
{
    const struct {
        const char* name;
        bool horizontal;
        int value;
        int filled;
        std::vector<int> red;  // along the bar's middle line
        int notRed;
    } cases[] = {{"horizontal, from the left", true, 50, 100, {99}, 100},
                 {"vertical, from the bottom", false, 25, 50, {199, 150}, 149}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = c.horizontal ? 200 : 10, h = c.horizontal ? 10 : 200;
        RedBar red(w, h, c.horizontal);
        red.bar.SetValue(c.value);
        DibCanvas canvas(w, h);
        red.bar.PaintForegroundColor(canvas.Dc());
        const RECT line = c.horizontal ? RECT{0, 5, 200, 6} : RECT{5, 0, 6, 200};
        auto at = [&](int along) { return c.horizontal ? canvas.Rgb(along, 5) : canvas.Rgb(5, along); };
        EXPECT_EQ(c.filled, canvas.CountRgb(line, kRed));
        for (int along : c.red) EXPECT_EQ(kRed, at(along)) << along;
        EXPECT_NE(kRed, at(c.notRed));
    }
}

TEST(ProgressValue, OutOfRangeIsIgnoredAndPaintingClampsWhatIsStored)
{
    RedBar red(100, 10);
    CProgressUI& bar = red.bar;
    bar.SetValue(50);
    bar.SetValue(150);
    EXPECT_EQ(bar.GetValue(), 50);
    bar.SetValue(-1);
    EXPECT_EQ(bar.GetValue(), 50);

    bar.SetMaxValue(40);
    DibCanvas canvas(100, 10);
    bar.PaintForegroundColor(canvas.Dc());
    EXPECT_EQ(bar.GetValue(), 40);
    RECT row = {0, 5, 100, 6};
    EXPECT_EQ(canvas.CountRgb(row, kRed), 100);
}

TEST(ProgressValue, EmptyRangeNeitherFailsNorPrintsInfinity)
{
    RedBar red(100, 10);
    CProgressUI& bar = red.bar;
    bar.SetShowValueText(true);
    bar.SetMinValue(30);
    bar.SetMaxValue(30);
    bar.SetValue(30);
    bar.RefreshValueText();
    EXPECT_EQ(bar.GetTextContent(), L"0%");

    DibCanvas canvas(100, 10);
    bar.PaintForegroundColor(canvas.Dc());
    EXPECT_EQ(bar.GetMaxValue(), 31);
}

TEST(ProgressValue, ValueTextIsThePercentageOfTheRange)
{
    CProgressUI bar;
    bar.SetShowValueText(true);
    bar.SetMinValue(-60);
    bar.SetMaxValue(6);
    bar.SetValue(-27);
    EXPECT_EQ(bar.GetTextContent(), L"50%");
}

TEST(ProgressAttributes, ParsedIntoTheFields)
{
    CProgressUI bar;
    EXPECT_EQ(bar.GetFixedSizeValue().cy, 12);
    EXPECT_EQ(bar.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_CENTER));
    bar.ApplyAttribute(L"min", L"-10");
    bar.ApplyAttribute(L"MAX", L"10");
    bar.ApplyAttribute(L"value", L"5");
    bar.ApplyAttribute(L"hor", L"false");
    bar.ApplyAttribute(L"isstretchfore", L"FALSE");
    EXPECT_EQ(bar.GetMinValue(), -10);
    EXPECT_EQ(bar.GetMaxValue(), 10);
    EXPECT_EQ(bar.GetValue(), 5);
    EXPECT_FALSE(bar.IsHorizontal());
    EXPECT_FALSE(bar.IsStretchForeground());
    EXPECT_STREQ(bar.GetTypeName(), L"ProgressUI");
    EXPECT_EQ(bar.FindInterface(L"progress"), &bar);
    EXPECT_EQ(bar.FindInterface(L"Label"), &bar);
}

TEST_F(SliderFixture, DraggedThumbFollowsThePointerHorizontally)
{
    struct Case {
        int x;
        int value;
    } cases[] = {{70, 55}, {115, 100}, {300, 100}, {15, 0}, {-5, 0}, {16, 1}, {114, 99}, {65, 50}};
    for (const Case& c : cases) {
        EXPECT_EQ(DraggedTo(0, c.x), c.value) << "x=" << c.x;
    }
    slider.SetMaxValue(25);
    EXPECT_EQ(DraggedTo(10, 54), DraggedTo(10, 56));  // a pixel either way of the press moves the value alike
}

TEST_F(SliderFixture, DraggedThumbFollowsThePointerVertically)
{
    slider.SetHorizontal(false);
    slider.SetPosition({0, 10, 20, 120});
    struct Case {
        int y;
        int value;
    } cases[] = {{115, 0}, {200, 0}, {15, 100}, {0, 100}, {60, 55}, {114, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(DraggedTo(0, c.y), c.value) << "y=" << c.y;
    }
}

TEST_F(SliderFixture, ThumbRectFollowsTheValue)
{
    slider.SetValue(40);
    CUIRect thumb = slider.GetThumbRect();
    EXPECT_EQ(thumb.left, 50);
    EXPECT_EQ(thumb.right, 60);
    EXPECT_EQ(thumb.top, 5);
    EXPECT_EQ(thumb.bottom, 15);

    slider.SetHorizontal(false);
    slider.SetPosition({0, 0, 20, 110});
    thumb = slider.GetThumbRect();
    EXPECT_EQ(thumb.left, 5);
    EXPECT_EQ(thumb.top, 60);
    EXPECT_EQ(thumb.bottom, 70);
}

TEST_F(SliderFixture, EmptyRangeNeverDividesByZero)
{
    slider.SetMinValue(50);
    slider.SetMaxValue(50);
    EXPECT_EQ(DraggedTo(50, 70), 50);
    CUIRect thumb = slider.GetThumbRect();
    EXPECT_EQ(thumb.Width(), 10);
    SendEvent(slider, UIEVENT_BUTTONUP, 100, 10);
    SendEvent(slider, UIEVENT_SCROLLWHEEL, 70, 10, 0);
    DibCanvas canvas(130, 20);
    slider.PaintForegroundImage(canvas.Dc());
}

TEST_F(SliderFixture, WheelAndStep)
{
    slider.SetValue(40);
    slider.SetStep(5);
    SendEvent(slider, UIEVENT_SCROLLWHEEL, 0, 0, 0);
    EXPECT_EQ(slider.GetValue(), 45);
    EXPECT_EQ(recorder.Types(), L"valuechanged");
    SendEvent(slider, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    SendEvent(slider, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    EXPECT_EQ(slider.GetValue(), 35);
    EXPECT_EQ(recorder.Count(L"valuechanged"), 3);

    // Past the maximum nothing changes and nothing is sent.
    slider.SetValue(98);
    recorder.Clear();
    SendEvent(slider, UIEVENT_SCROLLWHEEL, 0, 0, 0);
    EXPECT_EQ(slider.GetValue(), 98);
    EXPECT_EQ(recorder.Types(), L"");

    // A disabled slider does not step.
    slider.SetEnabledState(false);
    SendEvent(slider, UIEVENT_SCROLLWHEEL, 0, 0, 1);
    EXPECT_EQ(slider.GetValue(), 98);
}

// Pointer events at (x, 10) on a slider at 40 whose thumb is at 50..60; a
// step of kSetValue is the unit setting the value x instead.
TEST(SliderPointer, PressesDragsAndReleasesReportTheirValues)
{
    const int kSetValue = -1;
    const int down = UIEVENT_BUTTONDOWN, move = UIEVENT_MOUSEMOVE, up = UIEVENT_BUTTONUP;
    const wchar_t* const twoMoves = L"movevaluechanged movevaluechanged";
    struct Step {
        int event;
        int x;
        int value;
        bool held;
        const wchar_t* sent;
    };
    const struct {
        const char* name;
        const wchar_t* attributes;
        std::vector<Step> steps;
    } cases[] = {
        {"a release beside the thumb steps", L"step=\"5\"",
         {{down, 20, 40, false, L""},
          {UIEVENT_RBUTTONUP, 20, 35, false, L"valuechanged"},
          {up, 110, 40, false, L"valuechanged valuechanged"}}},
        {"a drag with send move reports each value once", L"sendmove=\"true\"",
         {{down, 55, 40, true, L""},
          {move, 65, 50, true, L"movevaluechanged"},
          {move, 75, 60, true, twoMoves},
          {move, 75, 60, true, twoMoves},
          {kSetValue, 70, 60, true, twoMoves},
          {up, 75, 60, false, L"movevaluechanged movevaluechanged valuechanged"},
          {kSetValue, 70, 70, false, L"movevaluechanged movevaluechanged valuechanged"}}},
        {"a drag without send move still reports the result (released past the end: nothing steps)", L"",
         {{down, 55, 40, true, L""}, {move, 85, 70, true, L""}, {move, 300, 100, true, L""},
          {up, 300, 100, false, L"valuechanged"}}},
        {"a press away from the thumb's centre keeps that offset", L"",
         {{down, 58, 40, true, L""}, {move, 68, 50, true, L""}, {up, 58, 40, false, L""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SliderRig rig;
        rig.slider.ApplyAttributeList(c.attributes);
        rig.slider.SetValue(40);
        for (const auto& step : c.steps) {
            if (step.event == kSetValue) rig.slider.SetValue(step.x);
            else SendEvent(rig.slider, step.event, step.x, 10);
            SCOPED_TRACE(testing::Message() << "after event " << step.event << " at " << step.x);
            EXPECT_EQ(step.value, rig.slider.GetValue());
            EXPECT_EQ(step.held, (rig.slider.GetThumbState() & CSliderUI::kThumbCaptured) != 0);
            EXPECT_EQ(step.sent, rig.recorder.Types());
        }
    }
}

TEST_F(SliderFixture, HotStateFollowsThePointerOverTheThumb)
{
    slider.SetValue(40);
    SendEvent(slider, UIEVENT_MOUSEMOVE, 55, 10);
    EXPECT_NE(slider.GetThumbState() & CSliderUI::kThumbHot, 0u);
    SendEvent(slider, UIEVENT_MOUSEMOVE, 90, 10);
    EXPECT_EQ(slider.GetThumbState() & CSliderUI::kThumbHot, 0u);
    SendEvent(slider, UIEVENT_MOUSEMOVE, 55, 10);
    SendEvent(slider, UIEVENT_MOUSELEAVE, 200, 10);
    EXPECT_EQ(slider.GetThumbState(), 0u);

    SendEvent(slider, UIEVENT_BUTTONDOWN, 55, 10);
    slider.SetEnabledState(false);
    EXPECT_EQ(slider.GetThumbState(), 0u);
    slider.SetValue(10);
    EXPECT_EQ(slider.GetValue(), 10);
}

TEST(SliderAttributes, ParsedIntoTheFields)
{
    CSliderUI slider;
    slider.ApplyAttribute(L"thumbsize", L"12,20");
    slider.ApplyAttribute(L"step", L"21");
    slider.ApplyAttribute(L"sendmove", L"TRUE");
    slider.ApplyAttribute(L"thumbimage", L"file='t.png'");
    slider.ApplyAttribute(L"thumbhotimage", L"file='th.png'");
    slider.ApplyAttribute(L"thumbpushedimage", L"file='tp.png'");
    slider.ApplyAttribute(L"max", L"15000");
    EXPECT_EQ(slider.GetThumbSize().cx, 12);
    EXPECT_EQ(slider.GetThumbSize().cy, 20);
    EXPECT_EQ(slider.GetStep(), 21);
    EXPECT_TRUE(slider.IsSendMove());
    EXPECT_EQ(slider.GetThumbImage(), L"file='t.png'");
    EXPECT_EQ(slider.GetThumbHotImage(), L"file='th.png'");
    EXPECT_EQ(slider.GetThumbPushedImage(), L"file='tp.png'");
    EXPECT_EQ(slider.GetMaxValue(), 15000);
    EXPECT_STREQ(slider.GetTypeName(), L"SliderUI");
    EXPECT_EQ(slider.FindInterface(L"Slider"), &slider);
    EXPECT_EQ(slider.FindInterface(L"Progress"), &slider);
    EXPECT_EQ(slider.GetBehaviorFlags(), static_cast<uint32_t>(UIFLAG_SETCURSOR));
    slider.SetEnabledState(false);
    EXPECT_EQ(slider.GetBehaviorFlags(), 0u);
}

TEST(ProgressPaint, ForegroundImageCoversTheValuePart)
{
    SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"fill.png", 10, {0xFF0000}));
    CPaintManagerUI manager;
    CProgressUI bar;
    bar.AttachManager(&manager, nullptr, false);
    bar.SetPosition({0, 0, 100, 10});
    bar.SetForegroundImage(L"file='fill.png'");
    bar.SetValue(30);
    DibCanvas canvas(100, 10);
    RECT all = {0, 0, 100, 10};
    bar.PaintArea(canvas.Dc(), all, nullptr);
    RECT row = {0, 5, 100, 6};
    EXPECT_EQ(canvas.CountRgb(row, kRed), 30);
    EXPECT_EQ(canvas.Rgb(29, 5), kRed);

    // A destination in the text is the whole bar.
    bar.SetForegroundImage(L"file='fill.png' dest='10,0,90,10'");
    bar.SetValue(50);
    canvas.Fill(0);
    bar.PaintArea(canvas.Dc(), all, nullptr);
    EXPECT_EQ(canvas.CountRgb(row, kRed), 40);
    EXPECT_EQ(canvas.Rgb(10, 5), kRed);
    EXPECT_NE(canvas.Rgb(9, 5), kRed);

    // Vertical bars fill from the bottom.
    bar.SetForegroundImage(L"file='fill.png'");
    bar.SetHorizontal(false);
    bar.SetPosition({0, 0, 10, 100});
    bar.SetValue(25);
    DibCanvas tall(10, 100);
    RECT tallAll = {0, 0, 10, 100};
    bar.PaintArea(tall.Dc(), tallAll, nullptr);
    EXPECT_EQ(CountRedInColumn(tall, 5), 25);
    EXPECT_EQ(tall.Rgb(5, 99), kRed);
    bar.AttachManager(nullptr, nullptr, false);
}

TEST_F(SliderFixture, ThumbImageFollowsTheValueAndTheState)
{
    SkinImageFolder folder;
    ASSERT_TRUE(folder.Write(L"thumb.png", 10, {0xFF0000}));
    ASSERT_TRUE(folder.Write(L"thumbhot.png", 10, {0x00FF00}));
    ASSERT_TRUE(folder.Write(L"thumbdown.png", 10, {0x0000FF}));
    slider.ApplyAttribute(L"thumbimage", L"thumb.png");
    slider.ApplyAttribute(L"thumbhotimage", L"thumbhot.png");
    slider.ApplyAttribute(L"thumbpushedimage", L"thumbdown.png");
    slider.SetValue(40);
    auto centreOfThumb = [&]() {
        DibCanvas canvas(130, 20);
        RECT all = {0, 0, 130, 20};
        slider.PaintArea(canvas.Dc(), all, nullptr);
        RECT thumb = {50, 5, 60, 15};
        EXPECT_EQ(canvas.CountRgb(thumb, canvas.Rgb(55, 10)), 100);
        return canvas.Rgb(55, 10);
    };
    EXPECT_EQ(centreOfThumb(), kRed);
    SendEvent(slider, UIEVENT_MOUSEMOVE, 55, 10);
    EXPECT_EQ(centreOfThumb(), 0x00FF00u);
    SendEvent(slider, UIEVENT_BUTTONDOWN, 55, 10);
    EXPECT_EQ(centreOfThumb(), 0x0000FFu);
}

namespace {

// A drag that loses the mouse without a button-up, in a real window: the
// slider must stop following the pointer and take the unit's values again.
// The keyboard focus moving inside the window (a handler focusing the
// value's box, which opens its own edit window) leaves the drag to the hand.
TEST(PressInWindow, DragsAndPressesEndWhenTheMouseOrTheFocusIsTakenAway)
{
    HostWindow host;
    ASSERT_NE(nullptr, host.CreateNativeWindow(nullptr, L"slider", WS_POPUP | WS_VISIBLE, 0, 60, 60, 200, 80));
    host.Attach();
    HostWindow thief;
    ASSERT_NE(nullptr, thief.CreateNativeWindow(nullptr, L"other", WS_POPUP, 0, 300, 60, 50, 50));
    HWND box = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 40, 50, 20, host.GetNativeHandle(), nullptr,
                               nullptr, nullptr);
    ASSERT_NE(nullptr, box);
    NotifyRecorder recorder(host.pm);
    CVerticalLayoutUI* root = new CVerticalLayoutUI();
    CSliderUI* slider = new CSliderUI();
    CButtonUI* button = new CButtonUI();
    slider->ApplyAttributeList(L"width=\"110\" height=\"20\" padding=\"10,0,0,0\" thumbsize=\"10,10\" sendmove=\"true\"");
    button->SetFixedHeightValue(20);
    root->AddChild(slider);
    root->AddChild(button);
    host.pm.AttachRoot(root);
    SkinUITest::Pump();
    ASSERT_EQ(10, slider->GetPosition().left);

    const struct {
        const wchar_t* how;
        void (*takeAway)(HostWindow& host, HWND other, HWND box, CControlUI* control);
        bool goesOn;
    } cases[] = {
        {L"capture taken by another window",
         [](HostWindow&, HWND other, HWND, CControlUI*) { SetCapture(other); EXPECT_EQ(other, GetCapture()); },
         false},
        {L"window lost the keyboard focus",
         [](HostWindow& host, HWND other, HWND, CControlUI*) {
             SendMessageW(host.GetNativeHandle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(other), 0);
         },
         false},
        {L"focus moved to another control",
         [](HostWindow& host, HWND, HWND, CControlUI* control) { host.pm.SetFocusControl(control); }, true},
        {L"keyboard focus moved to an edit window inside the window",
         [](HostWindow& host, HWND, HWND box, CControlUI*) {
             SendMessageW(host.GetNativeHandle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(box), 0);
         },
         true},
        {L"another control right-clicked", [](HostWindow& host, HWND, HWND, CControlUI*) {
             SendMessageW(host.GetNativeHandle(), WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(50, 30));
             SendMessageW(host.GetNativeHandle(), WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(50, 30));
         }, false},
    };
    for (const auto& c : cases) {
        slider->SetValue(40);
        recorder.Clear();
        // Thumb at 50..60; press on its centre, drag to 65 (value 50).
        SendMessageW(host.GetNativeHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(55, 10));
        SendMessageW(host.GetNativeHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 10));
        SendMessageW(host.GetNativeHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(65, 10));
        ASSERT_EQ(50, slider->GetValue()) << c.how;
        c.takeAway(host, thief.GetNativeHandle(), box, button);
        if (!c.goesOn) ReleaseCapture();
        EXPECT_EQ(c.goesOn ? CSliderUI::kThumbCaptured : 0u, slider->GetThumbState() & CSliderUI::kThumbCaptured)
            << c.how;
        // An ended drag's result is reported once; later moves without a
        // button leave the value alone. A drag that goes on follows them
        // and keeps the program's values off until the release.
        EXPECT_EQ(1, recorder.Count(L"movevaluechanged")) << c.how;
        SendMessageW(host.GetNativeHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(95, 10));
        EXPECT_EQ(c.goesOn ? 80 : 50, slider->GetValue()) << c.how;
        EXPECT_EQ(c.goesOn ? 2 : 1, recorder.Count(L"movevaluechanged")) << c.how;
        slider->SetValue(10);
        EXPECT_EQ(c.goesOn ? 80 : 10, slider->GetValue()) << c.how;
        SendMessageW(host.GetNativeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(95, 10));
        EXPECT_EQ(c.goesOn ? 80 : 10, slider->GetValue()) << c.how;
        EXPECT_EQ(c.goesOn ? 1 : 0, recorder.Count(L"valuechanged")) << c.how;
        EXPECT_EQ(0u, slider->GetThumbState() & CSliderUI::kThumbCaptured) << c.how;
    }
    // A button pressed when another window takes the mouse is no longer
    // pushed, and the late release over it is no click.
    recorder.Clear();
    SendMessageW(host.GetNativeHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 30));
    EXPECT_NE(0u, button->GetButtonState() & UISTATE_PUSHED);
    SetCapture(thief.GetNativeHandle());
    ReleaseCapture();
    EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
    SendMessageW(host.GetNativeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
    EXPECT_EQ(0, recorder.Count(L"click"));
    host.Detach();
    DestroyWindow(thief.GetNativeHandle());
    DestroyWindow(host.GetNativeHandle());
}

} // namespace
