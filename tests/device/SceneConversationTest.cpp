// Scene commands through DspDevice against the simulated unit's store: what
// the scene and main windows are told, and what the store keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "device/DeviceTiming.h"
#include "device/DspDevice.h"
#include "device/DspRecords.h"
#include "tests/support/PostedMessages.h"
#include "tests/support/SimDeviceTest.h"
#include "tests/support/SimUnitModel.h"

namespace {

class SceneConversationTest : public sim::SimDeviceTest {
protected:
    SceneConversationTest() : SimDeviceTest(model, 5) {}
    void BeforeOpen() override {
        device.SetDeviceConfig(95, 16, 14, 0, 0);
        device.SetMainWnd(mainWnd.hwnd);
        device.mSceneWnd = sceneWnd.hwnd;
    }

    // The last message of this kind collected by the window, or null.
    static const sim::Posted* Last(sim::ReplyWindow& wnd, UINT message, WPARAM wParam) {
        wnd.Collect();
        for (auto it = wnd.messages.rbegin(); it != wnd.messages.rend(); ++it)
            if (it->message == message && it->wParam == wParam) return &*it;
        return nullptr;
    }

    std::string NameOf(uint8_t scene) {
        device.GetSceneName(scene);
        const sim::Posted* m = Last(mainWnd, WM_READ_FLASH_VALUE, 0x0B);
        if (!m) return "<none>";
        const auto& r = sim::ReplyWindow::As<dsp::SceneNameRecord>(*m);
        if (r.index != scene - 1) return "<wrong index>";
        return std::string(reinterpret_cast<const char*>(r.name), strnlen(reinterpret_cast<const char*>(r.name), 16));
    }

    uint32_t ValidScenes() {
        device.GetSceneValid();
        const sim::Posted* m = Last(mainWnd, WM_READ_FLASH_VALUE, 0x0F);
        return m ? sim::ReplyWindow::As<dsp::SceneValidRecord>(*m).bitmap : 0xFFFFFFFFu;
    }

    sim::UnitModel model{unit()};
    sim::ReplyWindow mainWnd;
    sim::ReplyWindow sceneWnd;
};

TEST_F(SceneConversationTest, SaveNameRecallAndDeleteRoundTrip) {
    char name[16] = "Bass boost";
    device.SetSceneName(3, name, 16);
    const uint8_t mutes[16] = {1, 0, 1};
    device.Mute_Ch_Ctrl(0, 0, 0, 2, mutes, true);
    device.SaveScene(3, 0);
    const sim::Posted* saved = Last(sceneWnd, WM_READ_FLASH_VALUE, 3);
    ASSERT_NE(nullptr, saved) << "the scene window hears the save";
    EXPECT_EQ(3, model.Snapshot().currentScene);

    EXPECT_EQ("Bass boost", NameOf(3));
    EXPECT_EQ(1u << 2, ValidScenes() & (1u << 2));

    // Change the live state, then recall scene 3 into it.
    const uint8_t cleared[16] = {};
    device.Mute_Ch_Ctrl(0, 0, 0, 2, cleared, true);
    EXPECT_EQ(0, model.Snapshot().scene[0].out[0].mute);
    device.ReadScene(3, 0);
    EXPECT_EQ(1, model.Snapshot().scene[0].out[0].mute);
    EXPECT_EQ(1, model.Snapshot().scene[0].out[2].mute);

    device.DeleteScene(3);
    EXPECT_NE(nullptr, Last(sceneWnd, WM_FLASH_ACK, 3));
    EXPECT_EQ("", NameOf(3)) << "an erased name arrives empty";
    EXPECT_EQ(0u, ValidScenes() & (1u << 2));
}

TEST_F(SceneConversationTest, CurrentSceneIdGoesToTheSceneWindow) {
    device.SaveScene(7, 0);
    device.GetSceneId(true);
    const sim::Posted* m = Last(sceneWnd, WM_READ_SCENE_ID, 0x0E);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(7, m->lParam);
}

}  // namespace
