// The kit's reading of probe replies.
#include <gtest/gtest.h>

#include "tests/e2e/kit/ProbeReply.h"

namespace e2e {
namespace {

struct ControlCase {
    const char* reply;
    bool found;
    const char* text;
    bool visible, enabled, selected, hasValue;
    int value;
    bool hasIndex;
    int index;
    Rect rect;
};

const ControlCase kControlCases[] = {
    {"OK type=ButtonUI\ttext=Mute\tvisible=1\tenabled=1\tselected=0\tvalue=\tmin=\tmax=\tindex=\trect=10,20,110,50",
     true, "Mute", true, true, false, false, 0, false, -1, {10, 20, 110, 50}},
    {"OK type=SliderUI\ttext=\tvisible=1\tenabled=0\tselected=0\tvalue=-35\tmin=-60\tmax=6\tindex=\trect=-5,0,95,20",
     true, "", true, false, false, true, -35, false, -1, {-5, 0, 95, 20}},
    {"OK type=ComboUI\ttext=a\\tb\\\\c\\nd\tvisible=0\tenabled=1\tselected=0\tvalue=\tmin=\tmax=\tindex=2\trect=0,0,1,1",
     true, "a\tb\\c\nd", false, true, false, false, 0, true, 2, {0, 0, 1, 1}},
    {"OK type=OptionUI\ttext=\xe4\xb8\xad\tvisible=1\tenabled=1\tselected=1\tvalue=\tmin=\tmax=\tindex=\trect=1,2,3,4",
     true, "\xe4\xb8\xad", true, true, true, false, 0, false, -1, {1, 2, 3, 4}},
    {"ERR no control ch_mute_0", false, "", false, false, false, false, 0, false, -1, {}},
    {"OK type=LabelUI\ttext=x\trect=1,2,3", false, "", false, false, false, false, 0, false, -1, {}},
    {"ERR no reply", false, "", false, false, false, false, 0, false, -1, {}},
};

TEST(ProbeReply, ControlRecordsTable) {
    for (const ControlCase& c : kControlCases) {
        SCOPED_TRACE(c.reply);
        const ControlState s = ParseControl(c.reply);
        EXPECT_EQ(s.found, c.found);
        if (!c.found) continue;
        EXPECT_EQ(s.text, c.text);
        EXPECT_EQ(s.visible, c.visible);
        EXPECT_EQ(s.enabled, c.enabled);
        EXPECT_EQ(s.selected, c.selected);
        EXPECT_EQ(s.hasValue, c.hasValue);
        EXPECT_EQ(s.value, c.value);
        EXPECT_EQ(s.hasIndex, c.hasIndex);
        EXPECT_EQ(s.index, c.index);
        EXPECT_EQ(s.rect.left, c.rect.left);
        EXPECT_EQ(s.rect.top, c.rect.top);
        EXPECT_EQ(s.rect.right, c.rect.right);
        EXPECT_EQ(s.rect.bottom, c.rect.bottom);
    }
}

TEST(ProbeReply, WindowRecord) {
    const WindowState w =
        ParseWindow("OK hwnd=1a03c\tvisible=1\trect=185,125,1415,775\txwindow=4194305\ttitle=Brisa DSP Audio\tclass=MainWnd");
    ASSERT_TRUE(w.found);
    EXPECT_EQ(w.hwnd, 0x1a03cul);
    EXPECT_EQ(w.rect.Width(), 1230);
    EXPECT_EQ(w.rect.Height(), 650);
    EXPECT_EQ(w.title, "Brisa DSP Audio");
    EXPECT_EQ(w.className, "MainWnd");
    EXPECT_EQ(w.xwindow, "4194305");
    EXPECT_FALSE(ParseWindow("ERR no window msgwnd").found);
}

struct FrameCase {
    const char* line;
    uint8_t type, sub, op;
    std::vector<uint8_t> payload;
    long atMs = -1;
};

TEST(ProbeReply, FramesTable) {
    const FrameCase cases[] = {
        {"01 09 bb 000001", 1, 0x09, 0xBB, {0x00, 0x00, 0x01}},
        {"03 1f bb 01 @52017", 3, 0x1F, 0xBB, {0x01}, 52017},
        {"02 0e 66  @7", 2, 0x0E, 0x66, {}, 7},
        {"01 02 dd FA", 1, 0x02, 0xDD, {0xFA}},
        {"01 02 dd 0g", 1, 0x02, 0xDD, {}},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.line);
        const UnitFrame f = ParseFrame(c.line);
        EXPECT_EQ(f.type, c.type);
        EXPECT_EQ(f.subcommand, c.sub);
        EXPECT_EQ(f.optype, c.op);
        EXPECT_EQ(f.payload, c.payload);
        EXPECT_EQ(f.atMs, c.atMs);
    }
    EXPECT_EQ(ParseFrame("01 09 bb 000001").Text(), "01 09 bb 000001");
    EXPECT_EQ(ParseFrame("02 0e 66").Text(), "02 0e 66 ");
}

TEST(ProbeReply, Resources) {
    const ProcessResources r =
        ParseResources("OK gdi=41\tuser=17\tthreads=6\treplies=0\tmemory=20480\tfaces=9\timages=3\tfonts=4\tdccache=12");
    EXPECT_EQ(r.gdi, 41);
    EXPECT_EQ(r.faces, 9);
    EXPECT_EQ(r.images, 3);
    EXPECT_EQ(r.fonts, 4);
    EXPECT_EQ(r.dcCache, 12);
    EXPECT_EQ(r.memoryKiB, 20480);
    EXPECT_EQ(r.user, 17);
    EXPECT_EQ(r.threads, 6);
    EXPECT_EQ(r.replies, 0);
    EXPECT_EQ(ParseResources("ERR ui thread busy").threads, -1);
}

}  // namespace
}  // namespace e2e
