// Text with links: the links laid out by painting, their rectangles, and the
// clicks that send "link".
#include <gtest/gtest.h>

#include <vector>

#include "DibCanvas.h"
#include "uilib/control/Text.h"
#include "uilib/core/UIManager.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

using namespace SkinUI;
using SkinUITest::DibCanvas;
using SkinUITest::NotifyRecorder;
using SkinUITest::SendEvent;

namespace {

const wchar_t kThreeLinks[] = L"see {a one}first{/a} then {a two}second{/a} and {a three}third{/a}";

struct TextHost : ::testing::Test {
    TextHost() : canvas(400, 120, 0xFFFFFFFF), recorder(manager)
    {
        text.AttachManager(&manager, nullptr, false);
        text.SetPosition({10, 10, 390, 110});
        text.SetShowHtml(true);
    }
    ~TextHost() override { text.AttachManager(nullptr, nullptr, false); }

    void Paint(const wchar_t* content)
    {
        text.SetTextContent(content);
        text.PaintTextLayer(canvas.Dc());
    }
    POINT CentreOf(int link) const
    {
        const CUIRect rc = text.GetLinkRect(link);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void Click(POINT down, POINT up)
    {
        SendEvent(text, UIEVENT_BUTTONDOWN, down.x, down.y);
        SendEvent(text, UIEVENT_BUTTONUP, up.x, up.y);
    }

    CPaintManagerUI manager;
    DibCanvas canvas;
    NotifyRecorder recorder;
    CTextUI text;
};

TEST_F(TextHost, LinksAreLaidOutLeftToRightInsideTheControl)
{
    Paint(kThreeLinks);
    ASSERT_EQ(3, text.GetLinkCount());
    const wchar_t* names[] = {L"one", L"two", L"three"};
    int previousRight = 10;
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(nullptr, text.GetLinkText(i));
        EXPECT_EQ(*text.GetLinkText(i), names[i]);
        const CUIRect rc = text.GetLinkRect(i);
        EXPECT_GT(rc.right, rc.left);
        EXPECT_GE(rc.left, previousRight);
        EXPECT_GE(rc.top, 10);
        EXPECT_LE(rc.bottom, 110);
        previousRight = rc.right;
    }
    EXPECT_EQ(nullptr, text.GetLinkText(3));
    EXPECT_EQ(nullptr, text.GetLinkText(-1));
    EXPECT_EQ(static_cast<uint32_t>(UIFLAG_SETCURSOR), text.GetBehaviorFlags());
}

TEST_F(TextHost, MoreThanEightLinksKeepTheFirstEight)
{
    Paint(L"{a 0}a{/a} {a 1}b{/a} {a 2}c{/a} {a 3}d{/a} {a 4}e{/a} {a 5}f{/a} {a 6}g{/a} {a 7}h{/a} {a 8}i{/a} "
          L"{a 9}j{/a}");
    EXPECT_EQ(CTextUI::kMaxLinks, text.GetLinkCount());
    EXPECT_EQ(*text.GetLinkText(7), L"7");
}

struct ClickCase {
    const char* name;
    bool enabled;
    int downLink; // -1: press beside every link
    int upLink;
    std::vector<int> sent;
};

TEST_F(TextHost, ClicksSendTheLinkUnderTheRelease)
{
    const ClickCase cases[] = {
        {"press and release on a link", true, 1, 1, {1}},
        {"release on another link", true, 0, 2, {2}},
        {"release beside the links", true, 2, -1, {}},
        {"disabled control", false, 0, 0, {}},
    };
    Paint(kThreeLinks);
    const POINT beside = {385, 105};
    for (const ClickCase& c : cases) {
        recorder.Clear();
        text.SetEnabledState(c.enabled);
        Click(c.downLink >= 0 ? CentreOf(c.downLink) : beside, c.upLink >= 0 ? CentreOf(c.upLink) : beside);
        EXPECT_EQ(c.sent, recorder.Params(L"link")) << c.name;
    }
    text.SetEnabledState(false);
    EXPECT_EQ(0u, text.GetBehaviorFlags());
}

TEST_F(TextHost, AnEmptyTextForgetsItsLinks)
{
    Paint(kThreeLinks);
    const POINT where = CentreOf(0);
    Paint(L"");
    EXPECT_EQ(0, text.GetLinkCount());
    Click(where, where);
    EXPECT_EQ(0, recorder.Count(L"link"));
}

} // namespace
