// Time of laying out a long list and of building a layout from its text.
#include <windows.h>

#include <cstdio>
#include <string>

#include "uilib/core/DialogBuilder.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/VerticalLayout.h"
#include "tests/uilib/kit/BenchClock.h"

using namespace SkinUI;
using SkinUITest::MillisecondsSince;

namespace {

// Budget: 5 ms for one layout of 1000 rows with a scroll bar.
void LayoutOfALongList()
{
    const int kRows = 1000;
    const int kRounds = 100;
    CVerticalLayoutUI list;
    list.ApplyAttribute(L"vscrollbar", L"true");
    list.ApplyAttribute(L"childpadding", L"2");
    for (int i = 0; i < kRows; ++i) {
        CControlUI* row = new CControlUI();
        row->SetFixedHeightValue(24);
        list.AddChild(row);
    }
    list.SetPosition(RECT{0, 0, 400, 600}, false);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRounds; ++i) list.SetPosition(RECT{0, 0, 400 + (i & 1), 600}, false);
    std::printf("layout of %d rows: %.3f ms (budget 5 ms)\n", kRows, MillisecondsSince(start) / kRounds);
}

// Budget: 20 ms for a 500-control layout, fonts and styles included.
void BuildFromText()
{
    std::wstring xml = L"<Window><Font id=\"1\" name=\"Arial\" size=\"12\"/>"
                       L"<Style name=\"st_row\" value=\"height=&quot;20&quot; bkcolor=&quot;#FF2A3038&quot;\"/>"
                       L"<VerticalLayout vscrollbar=\"true\">";
    for (int i = 0; i < 100; ++i) {
        xml += L"<HorizontalLayout height=\"24\" childpadding=\"4\">";
        for (int j = 0; j < 4; ++j) xml += L"<Control name=\"c" + std::to_wstring(i * 4 + j) + L"\" innerstyle=\"st_row\"/>";
        xml += L"</HorizontalLayout>";
    }
    xml += L"</VerticalLayout></Window>";
    const int kRounds = 20;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kRounds; ++i) {
        CPaintManagerUI manager;
        CDialogBuilder builder;
        CControlUI* root = builder.BuildFromSource(xml.c_str(), nullptr, nullptr, &manager);
        delete root;
    }
    std::printf("build of 500 controls: %.3f ms (budget 20 ms)\n", MillisecondsSince(start) / kRounds);
}

} // namespace

int main()
{
    LayoutOfALongList();
    BuildFromText();
    return 0;
}
