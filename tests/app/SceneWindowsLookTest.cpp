// The scene window, the name entry, the two-box question and the notices a
// job's end leaves in every language at 96, 120 and 144 DPI, each checked
// on its own painting.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "AppSkin.h"
#include "DialogScript.h"
#include "SkinVariants.h"
#include "WindowLook.h"
#include "app/tuning/EqualizerManager.h"
#include "app/windows/MsgCheckBoxWnd.h"
#include "app/windows/MsgWnd.h"
#include "app/windows/NameMsgWnd.h"
#include "uilib/control/List.h"

using dialogs::WindowStep;
using namespace SkinUI;

namespace {

// Looks at the window the step finds in every language and at each DPI,
// then closes it: one window each, since every window Wine closes costs time.
// size, when given: the layout's size, which every language keeps, scaled.
WindowStep Look(const wchar_t* className, const wchar_t* windowName, const wchar_t* layout, SIZE size = {0, 0})
{
    return {className, windowName, [=](WindowImplBase& w, HWND handle) {
                ForEachLanguageAndDpi([&](const wchar_t* language, int dpi) {
                    CheckWindow(w, layout, language, dpi);
                    RECT client;
                    GetClientRect(handle, &client);
                    if (size.cx == 0) return;
                    EXPECT_EQ(size.cx * dpi / 96, client.right) << language << " " << dpi;
                    EXPECT_EQ(size.cy * dpi / 96, client.bottom) << language << " " << dpi;
                });
                w.PostClose(0);
                return true;
            }};
}

TEST(SceneWindowsLook, PaintInEveryLanguageAtEachDpi)
{
    ASSERT_TRUE(OpenAppSkin());
    // No unit: the window opens at once with the names the model has.
    EqualizerManager controller;
    controller.Model().SetSceneName(0, L"Home");
    controller.Model().SetSceneName(1, L"\x4E2D\x6587\x573A\x666F");
    controller.Model().SetSceneName(2, L"\x0421\x0446\x0435\x043D\x0430");
    controller.Model().sceneSlot = 2;
    const auto scene = dialogs::RunWindowScript(
        {{L"MsgWnd", L"scenewnd",
          [](WindowImplBase& w, HWND) {
              static_cast<CListUI*>(dialogs::Find(w, L"listview"))->SelectSingleItem(0);
              return true;
          }},
         Look(L"MsgWnd", L"scenewnd", L"xml_sence_profile", {380, 416})},
        [&] { controller.SaveSenceConfigToDSP(nullptr); });
    EXPECT_TRUE(scene.allStepsRan) << scene.failedStep;
    std::wstring name = L"Stage 2";
    const auto entry = dialogs::RunWindowScript({Look(L"NameMsgWnd", nullptr, L"xml_msg_name")},
                                                [&] { ShowNameMsgWnd(nullptr, name); });
    EXPECT_TRUE(entry.allStepsRan) << entry.failedStep;
    const auto question = dialogs::RunWindowScript(
        {Look(L"MsgCheckBoxWnd", nullptr, L"xml_checkbox_msg")},
        [] { AskDestructiveChoice(nullptr, L"${tips}", L"${link_tips}", L"${copy_left_to_right}", L"${copy_right_to_left}"); });
    EXPECT_TRUE(question.allStepsRan) << question.failedStep;
    for (const std::wstring word : {L"load_scene_fail", L"outputs_fail", L"whole_save_fail", L"factory_reset_fail",
                                    L"job_offline", L"device_left_after_job", L"device_no_answer", L"edit_not_taken",
                                    L"outputs_none", L"profile_push_none", L"profile_push_fail", L"whole_save_offline"}) {
        const std::wstring layout = L"xml_msg_" + word, key = L"${" + word + L"}";
        const auto notice = dialogs::RunWindowScript({Look(L"MsgWnd", nullptr, layout.c_str())},
                                                     [&] { ShowNotice(nullptr, key.c_str()); });
        EXPECT_TRUE(notice.allStepsRan) << layout.c_str() << ": " << notice.failedStep;
    }
}

} // namespace
