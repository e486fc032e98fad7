#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DibCanvas.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::HasRgb;

namespace {

// Records the events that reach it and the order of its paint layers.
class ProbeControl : public CControlUI {
public:
    void HandleEvent(TEventInfo& event) override
    {
        events.push_back(event.type);
        CControlUI::HandleEvent(event);
    }
    void PaintBackgroundColor(HDC dc) override { Log("bkcolor", dc); }
    void PaintBackgroundImage(HDC dc) override { Log("bkimage", dc); }
    void PaintStateImage(HDC dc) override { Log("state", dc); }
    void PaintForegroundColor(HDC dc) override { Log("forecolor", dc); }
    void PaintForegroundImage(HDC dc) override { Log("foreimage", dc); }
    void PaintTextLayer(HDC dc) override { Log("text", dc); }
    void PaintBorderLines(HDC dc) override { Log("border", dc); }

    std::vector<int> events;
    std::vector<std::string> layers;

private:
    void Log(const char* name, HDC) { layers.push_back(name); }
};

// Raises one event of that type on the control.
void Raise(CControlUI& control, int type, WPARAM wParam = 0, CControlUI* sender = nullptr)
{
    TEventInfo event;
    event.type = type;
    event.wParam = wParam;
    event.sender = sender;
    control.RaiseEvent(event);
}

class Refuser {
public:
    bool Refuse(void*) { return false; }
    bool CountSize(void* param)
    {
        sizes.push_back(static_cast<CControlUI*>(param));
        return true;
    }
    std::vector<CControlUI*> sizes;
};

} // namespace

TEST(ControlGeometry, PositionIsNormalisedAndRelativeToTheParent)
{
    CControlUI parent;
    CControlUI child;
    child.AttachManager(nullptr, &parent, false);
    parent.SetPosition({10, 20, 110, 220});
    child.SetPosition({30, 40, 20, 30});
    EXPECT_EQ(30, child.GetPosition().right);
    EXPECT_EQ(40, child.GetPosition().bottom);
    child.SetPosition({15, 25, 45, 65});
    const CUIRect rel = child.GetRelativePosition();
    EXPECT_EQ(5, rel.left);
    EXPECT_EQ(5, rel.top);
    EXPECT_EQ(35, rel.right);
    EXPECT_EQ(45, rel.bottom);
    EXPECT_EQ(30, child.GetCurrentWidth());
    EXPECT_EQ(40, child.GetCurrentHeight());
    EXPECT_EQ(0, parent.GetRelativePosition().right);
    CUISize desired = child.MeasureDesiredSize(CUISize(500, 500));
    EXPECT_EQ(0, desired.cx);
    child.SetFixedWidthValue(70);
    child.SetFixedWidthValue(-3);
    EXPECT_EQ(70, child.MeasureDesiredSize(CUISize(1, 1)).cx);
    child.SetMinHeightValue(-1);
    EXPECT_EQ(0, child.GetScaledMinHeight());
    EXPECT_EQ(9999, child.GetScaledMaxWidth());
}

TEST(ControlGeometry, OffsetMovesTheFixedOrigin)
{
    CControlUI c;
    c.SetFixedOrigin(5, 6);
    c.OffsetBy(10, -2, false);
    EXPECT_EQ(15, c.GetFixedOrigin().cx);
    EXPECT_EQ(4, c.GetFixedOrigin().cy);
}

TEST(ControlGeometry, SizeDelegatesFireOnlyWithAManager)
{
    CPaintManagerUI manager;
    Refuser r;
    CControlUI c;
    c.OnSize.AddDelegate(MakeDelegate(&r, &Refuser::CountSize));
    c.SetPosition({0, 0, 10, 10});
    EXPECT_TRUE(r.sizes.empty());
    EXPECT_TRUE(c.IsLayoutNeeded());
    c.AttachManager(&manager, nullptr, false);
    c.SetPosition({0, 0, 20, 10});
    ASSERT_EQ(1u, r.sizes.size());
    EXPECT_EQ(&c, r.sizes[0]);
    EXPECT_FALSE(c.IsLayoutNeeded());
    c.AttachManager(nullptr, nullptr, false);
}

TEST(ControlVisibility, EffectiveVisibilityAndFocus)
{
    CControlUI c;
    EXPECT_TRUE(c.GetVisibility());
    c.SetInheritedVisibility(false);
    EXPECT_FALSE(c.GetVisibility());
    c.SetInheritedVisibility(true);
    Raise(c, UIEVENT_SETFOCUS);
    EXPECT_TRUE(c.HasFocus());
    c.ApplyAttribute(L"visible", L"false");
    EXPECT_FALSE(c.GetVisibility());
    EXPECT_FALSE(c.HasFocus());
    c.SetVisibility(true);
    EXPECT_FALSE(c.HasFocus());
    EXPECT_FALSE(c.ActivateControl() == false);
    c.SetEnabledState(false);
    EXPECT_FALSE(c.ActivateControl());
}

TEST(ControlEvents, UnhandledEventsGoToTheParent)
{
    ProbeControl parent;
    CControlUI child;
    child.AttachManager(nullptr, &parent, false);
    child.ApplyAttribute(L"mouse", L"false");
    Raise(child, UIEVENT_BUTTONDOWN, 0, &child);
    Raise(child, UIEVENT_CONTEXTMENU);
    Raise(child, UIEVENT_SETFOCUS);
    EXPECT_EQ(std::vector<int>({UIEVENT_BUTTONDOWN, UIEVENT_CONTEXTMENU}), parent.events);
    EXPECT_TRUE(child.HasFocus());
}

TEST(ControlEvents, RefusingDelegateSuppressesHandling)
{
    ProbeControl c;
    Refuser r;
    c.OnEvent.AddDelegate(MakeDelegate(&r, &Refuser::Refuse));
    Raise(c, UIEVENT_MOUSEMOVE);
    EXPECT_TRUE(c.events.empty());
}

namespace {

class NotifyLog : public INotifyUI {
public:
    void ReceiveNotify(TNotifyInfo& notify) override
    {
        types.push_back(std::wstring(notify.type.CStr()));
        wParams.push_back(notify.wParam);
    }
    std::vector<std::wstring> types;
    std::vector<WPARAM> wParams;
};

} // namespace

TEST(ControlEvents, MenuAndTimerBecomeNotifications)
{
    CPaintManagerUI manager;
    NotifyLog log;
    manager.RegisterNotifyReceiver(&log);
    ProbeControl parent;
    CControlUI child;
    child.AttachManager(&manager, &parent, false);
    Raise(child, UIEVENT_CONTEXTMENU);
    EXPECT_TRUE(log.types.empty());
    EXPECT_EQ(1u, parent.events.size());
    child.ApplyAttribute(L"menu", L"true");
    Raise(child, UIEVENT_CONTEXTMENU);
    Raise(child, UIEVENT_TIMER, 7);
    EXPECT_EQ(std::vector<std::wstring>({L"menu", L"timer"}), log.types);
    EXPECT_EQ(7u, log.wParams[1]);
    EXPECT_EQ(1u, parent.events.size());
    manager.UnregisterNotifyReceiver(&log);
    child.AttachManager(nullptr, nullptr, false);
}

TEST(ControlPainting, LayersInFixedOrderOnlyInsideThePaintArea)
{
    ProbeControl c;
    c.SetPosition({10, 10, 50, 50});
    DibCanvas canvas(60, 60);
    EXPECT_TRUE(c.PaintArea(canvas.Dc(), {0, 0, 5, 5}, nullptr));
    EXPECT_TRUE(c.layers.empty());
    EXPECT_TRUE(c.PaintArea(canvas.Dc(), {0, 0, 30, 30}, nullptr));
    EXPECT_EQ(std::vector<std::string>({"bkcolor", "bkimage", "state", "forecolor", "foreimage", "text", "border"}),
              c.layers);
    EXPECT_EQ(30, c.GetPaintRect().right);
    EXPECT_EQ(10, c.GetPaintRect().left);
    c.layers.clear();
    EXPECT_FALSE(c.PaintArea(canvas.Dc(), {0, 0, 60, 60}, &c));
    EXPECT_TRUE(c.layers.empty());
    // A border round paints the same layers inside a rounded clip.
    c.SetBorderRound(8, 8);
    EXPECT_TRUE(c.PaintArea(canvas.Dc(), {0, 0, 60, 60}, nullptr));
    EXPECT_EQ(7u, c.layers.size());
}

TEST(ControlPainting, ColoursDrawBackgroundThenForeground)
{
    CControlUI c;
    c.SetPosition({2, 2, 12, 12});
    c.ApplyAttributeList(L"bkcolor=\"#FF0000FF\"");
    DibCanvas canvas(20, 20, 0xFF000000);
    c.PaintArea(canvas.Dc(), {0, 0, 20, 20}, nullptr);
    EXPECT_EQ(100, canvas.CountRgb({0, 0, 20, 20}, 0x0000FF));
    c.SetForegroundColor(0xFF00FF00);
    c.PaintArea(canvas.Dc(), {0, 0, 20, 20}, nullptr);
    EXPECT_EQ(100, canvas.CountRgb({0, 0, 20, 20}, 0x00FF00));
    EXPECT_EQ(0u, canvas.Rgb(12, 12));
}

TEST(ControlPainting, GradientHalvesSplitAtTheMiddle)
{
    CControlUI c;
    c.SetPosition({0, 0, 10, 101});
    c.ApplyAttributeList(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"");
    DibCanvas canvas(10, 101, 0xFF000000);
    c.PaintArea(canvas.Dc(), {0, 0, 10, 101}, nullptr);
    auto ch = [&](int y, int shift) { return static_cast<int>((canvas.Pixel(5, y) >> shift) & 0xFF); };
    EXPECT_GT(ch(0, 16), 240);
    EXPECT_GT(ch(49, 8), 225);
    EXPECT_LT(ch(49, 0), 10);
    // The lower half starts again at the second colour.
    EXPECT_GT(ch(50, 8), 245);
    EXPECT_LT(ch(50, 16), 10);
    EXPECT_GT(ch(100, 0), 240);
}

TEST(ControlPainting, FourBorderModes)
{
    DibCanvas canvas(60, 50, 0xFF000000);
    const uint32_t red = 0xFF0000;
    const RECT area = {0, 0, 60, 50};

    // Plain border of width 3: inside the rectangle.
    CControlUI plain;
    plain.SetPosition({10, 10, 50, 40});
    plain.ApplyAttributeList(L"bordercolor=\"#FFFF0000\" bordersize=\"3\"");
    plain.PaintArea(canvas.Dc(), area, nullptr);
    EXPECT_TRUE(HasRgb(canvas, {{10, 20, red}, {12, 20, red}, {13, 20, 0}, {47, 20, red}, {50, 20, 0}, {9, 20, 0}}));

    // Focused with a focus colour: the focus colour wins.
    canvas.Fill(0xFF000000);
    plain.SetFocusBorderColor(0xFF00FF00);
    Raise(plain, UIEVENT_SETFOCUS);
    plain.PaintArea(canvas.Dc(), area, nullptr);
    EXPECT_TRUE(HasRgb(canvas, {{11, 20, 0x00FF00}, {9, 20, 0}}));

    // Side widths: left 2, bottom 1, in the border colour.
    canvas.Fill(0xFF000000);
    CControlUI sides;
    sides.SetPosition({10, 10, 50, 40});
    sides.ApplyAttributeList(L"bordercolor=\"#FFFF0000\" leftbordersize=\"2\" bottombordersize=\"1\"");
    sides.PaintArea(canvas.Dc(), area, nullptr);
    EXPECT_TRUE(HasRgb(canvas, {{10, 20, red}, {11, 20, red}, {12, 20, 0}, {9, 20, 0}, {30, 39, red}, {30, 38, 0},
                                {30, 40, 0}, {30, 10, 0}}));

    // Rounded outline: inside, with the corner cut.
    canvas.Fill(0xFF000000);
    CControlUI round;
    round.SetPosition({10, 10, 50, 40});
    round.ApplyAttributeList(L"bordercolor=\"#FFFF0000\" bordersize=\"2\" borderround=\"12,12\"");
    round.PaintArea(canvas.Dc(), area, nullptr);
    EXPECT_GT((canvas.Pixel(30, 10) >> 16) & 0xFF, 150u);
    EXPECT_LT((canvas.Pixel(30, 9) >> 16) & 0xFF, 60u);
    EXPECT_LT((canvas.Pixel(30, 13) >> 16) & 0xFF, 60u);
    EXPECT_LT((canvas.Pixel(10, 10) >> 16) & 0xFF, 60u);
}

TEST(ControlPainting, RoundedClipKeepsCornersUnpainted)
{
    CControlUI c;
    c.SetPosition({0, 0, 40, 40});
    c.ApplyAttributeList(L"bkcolor=\"#FFFFFFFF\" borderround=\"20,20\"");
    DibCanvas canvas(40, 40, 0xFF000000);
    c.PaintArea(canvas.Dc(), {0, 0, 40, 40}, nullptr);
    EXPECT_TRUE(HasRgb(canvas, {{0, 0, 0}, {39, 0, 0}, {20, 20, 0xFFFFFF}, {0, 20, 0xFFFFFF}}));
    // The clip is gone afterwards.
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, GetClipRgn(canvas.Dc(), probe));
    DeleteObject(probe);
}
