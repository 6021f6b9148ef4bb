// HiliteBitmap: lit and unlit by the two commands only, faces id and id + 1,
// the class background where a face is missing, and silence toward the
// parent.

#include <windows.h>

#include <gtest/gtest.h>

#include "control_harness.h"

using namespace harness;

namespace {

class HiliteBitmapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Panekit(), nullptr);
        Host();
        ParkPointer();
        Notes().clear();
    }
    static LONG Lit(HWND w) { return GetWindowLongA(w, 0); }
    static void Command(HWND w, WPARAM c) { SendMessageA(w, WM_COMMAND, c, 0); }
};

TEST_F(HiliteBitmapTest, CommandsLightAndDarkenAndNothingElseDoes) {
    Control lamp("HiliteBitmap", 4016, 0, 10, 10, 36, 11);
    EXPECT_EQ(Lit(lamp.hwnd), 0);
    Command(lamp.hwnd, CMD_SET_ON);
    EXPECT_EQ(Lit(lamp.hwnd), 1);
    Command(lamp.hwnd, CMD_SET_ON);
    EXPECT_EQ(Lit(lamp.hwnd), 1);
    Command(lamp.hwnd, 4016);
    Command(lamp.hwnd, NOTIFY_LATCHED);
    SendMessageA(lamp.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    SendMessageA(lamp.hwnd, WM_LBUTTONUP, 0, At(3, 3));
    EXPECT_EQ(Lit(lamp.hwnd), 1);
    Command(lamp.hwnd, CMD_SET_OFF);
    EXPECT_EQ(Lit(lamp.hwnd), 0);
    Pump();
    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

// Renders like the window manager does: erase with the class brush, then paint.
void RenderErased(Canvas &canvas, HWND w) {
    SendMessageA(w, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
}

TEST_F(HiliteBitmapTest, ShowsItsIdUnlitAndTheNextIdLit) {
    for (auto [id, w, h] :
         {std::tuple{4016, 36, 11}, {4012, 39, 12}, {113, 39, 12}, {4045, 40, 16}}) {
        Control lamp("HiliteBitmap", id, 0, 10, 10, w, h);
        for (bool lit : {false, true}) {
            SCOPED_TRACE(::testing::Message() << id << (lit ? " lit" : " unlit"));
            Command(lamp.hwnd, lit ? CMD_SET_ON : CMD_SET_OFF);
            Canvas c(w, h);
            RenderErased(c, lamp.hwnd);
            int face = id + (lit ? 1 : 0);
            if (FaceExists(face)) {
                ExpectShowsFace(c, face, w, h);
            } else {
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        ASSERT_EQ(c.Pixel(x, y), RGB(0, 0, 0)) << "black class background";
            }
        }
    }
}

TEST_F(HiliteBitmapTest, MissingFaceShowsTheBlackBackground) {
    ASSERT_FALSE(FaceExists(1500));
    Control lamp("HiliteBitmap", 1500, 0, 10, 10, 30, 12);
    Canvas c(30, 12);
    RenderErased(c, lamp.hwnd);
    EXPECT_EQ(c.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.Pixel(29, 11), RGB(0, 0, 0));
}

TEST_F(HiliteBitmapTest, PlaylistIndicatorsStartUnlit) {
    Dialog playlist("PLAYLIST");
    ASSERT_NE(playlist.hwnd, nullptr);
    for (int id : {4012, 4009, 113, 4045}) {
        HWND lamp = GetDlgItem(playlist.hwnd, id);
        ASSERT_NE(lamp, nullptr) << id;
        EXPECT_EQ(Lit(lamp), 0);
        Command(lamp, CMD_SET_ON);
        EXPECT_EQ(Lit(lamp), 1);
    }
    Pump();
    EXPECT_TRUE(Notes().empty());
}

} // namespace
