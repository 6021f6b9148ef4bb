// SliderVol: the value/thumb scale, the panel's messages and what they
// repaint, dragging and paging with the mouse and what the parent hears of
// them, the lit track, and the thumb drawn row by row.

#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "../../panekit/control_rules.h"
#include "control_harness.h"

using namespace harness;

namespace {

constexpr int kW = 19, kH = 48;

TEST(SliderScale, ValueAndThumbInIntegers) {
    EXPECT_EQ(SliderThumbFor(16, 16, 0), 0);
    EXPECT_EQ(SliderThumbFor(0, 16, 0), 40);
    EXPECT_EQ(SliderThumbFor(8, 16, 0), 20);
    EXPECT_EQ(SliderThumbFor(15, 16, 0), 2); // 2.5 truncated
    EXPECT_EQ(SliderValueFor(39, 16, 0), 1); // 16 - 15.6 truncated
    EXPECT_EQ(SliderValueFor(0, 64, 0), 64);
    EXPECT_EQ(SliderValueFor(40, 64, 0), 0);
    EXPECT_EQ(SliderValueFor(1, 64, 0), 63);
    EXPECT_EQ(SliderThumbFor(5, 5, 5), 0) << "an empty range must not divide by zero";
    EXPECT_EQ(SliderLimit(20, 16, 0), 16);
    EXPECT_EQ(SliderLimit(-1, 16, 0), 0);
}

class SliderVolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Panekit(), nullptr);
        Host();
        ParkPointer();
        Notes().clear();
    }
    void TearDown() override { ReleaseCapture(); }

    static LONG Slot(HWND s, int slot) { return GetWindowLongA(s, slot); }
    static int Pos(HWND s) { return static_cast<int>(SendMessageA(s, SVM_GETPOS, 0, 0)); }
    static void Range(HWND s, int max, int min) {
        SendMessageA(s, SVM_SETRANGE, 0, MAKELPARAM(min, max));
    }
    static void SetPos(HWND s, int value) { SendMessageA(s, SVM_SETPOS, 0, MAKELPARAM(0, value)); }
    static void MoveBy(HWND s, int valueStep, int pixelStep) {
        SendMessageA(s, SVM_MOVEBY, static_cast<WPARAM>(valueStep), static_cast<LPARAM>(pixelStep));
    }
    static Note Changed(HWND s, int value) {
        return {SVM_POSCHANGED, MAKEWPARAM(SVN_CHANGED, value), reinterpret_cast<LPARAM>(s)};
    }
    // Rows waiting to be repainted as top,bottom; 0,0 when none.
    static std::pair<LONG, LONG> Dirty(HWND s) {
        RECT r{};
        if (!GetUpdateRect(s, &r, FALSE))
            return {0, 0};
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.right, kW) << "the full width";
        return {r.top, r.bottom};
    }
    static constexpr std::pair<LONG, LONG> kNone{0, 0};
    static void Clean(HWND s) { ValidateRect(s, nullptr); }
};

using Notes_ = std::vector<Note>;

TEST_F(SliderVolTest, StartsEmptyOverAHundred) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MAXIMUM), 100);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MINIMUM), 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 0);
    EXPECT_EQ(Pos(s.hwnd), 0);
}

TEST_F(SliderVolTest, SetPosLimitsMovesTheThumbAndTellsNoOne) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    for (auto [value, shown, thumb] :
         {std::tuple{16, 16, 0}, {0, 0, 40}, {8, 8, 20}, {20, 16, 0}}) {
        SetPos(s.hwnd, value);
        EXPECT_EQ(Pos(s.hwnd), shown) << value;
        EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), thumb) << value;
    }
    Range(s.hwnd, 64, 10);
    SetPos(s.hwnd, 3);
    EXPECT_EQ(Pos(s.hwnd), 10);
    Pump();
    EXPECT_TRUE(Notes().empty());
}

TEST_F(SliderVolTest, SetRangeAloneLeavesTheThumb) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    SetPos(s.hwnd, 50);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 20);
    Clean(s.hwnd);
    Range(s.hwnd, 64, 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 20);
    EXPECT_EQ(Pos(s.hwnd), 50);
    EXPECT_EQ(Dirty(s.hwnd), kNone) << "no repaint";
    SetPos(s.hwnd, 50);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 8); // 14 * 40 / 64
}

TEST_F(SliderVolTest, MoveByStepsValueOrPixelsWithinLimits) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SetPos(s.hwnd, 16);
    MoveBy(s.hwnd, 1, 0);
    EXPECT_EQ(Pos(s.hwnd), 16);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 0);
    MoveBy(s.hwnd, -3, 99); // the pixel step is unused with a value step
    EXPECT_EQ(Pos(s.hwnd), 13);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 7);
    MoveBy(s.hwnd, -100, 0);
    EXPECT_EQ(Pos(s.hwnd), 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 40);
    MoveBy(s.hwnd, 0, -100);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 0);
    EXPECT_EQ(Pos(s.hwnd), 16);
    MoveBy(s.hwnd, 0, 39);
    EXPECT_EQ(Pos(s.hwnd), 1);
    MoveBy(s.hwnd, 0, 100);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 40);
    EXPECT_EQ(Pos(s.hwnd), 0);
    Pump();
    EXPECT_TRUE(Notes().empty());
}

TEST_F(SliderVolTest, OnlyTheRowsTheThumbCrossedAreRepainted) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SetPos(s.hwnd, 16);
    UpdateWindow(s.hwnd);
    SetPos(s.hwnd, 8); // thumb 0 -> 20
    EXPECT_EQ(Dirty(s.hwnd), std::make_pair(0L, 28L));
    Clean(s.hwnd);
    MoveBy(s.hwnd, -2, 0); // 20 -> 25
    EXPECT_EQ(Dirty(s.hwnd), std::make_pair(20L, 33L));
    Clean(s.hwnd);
    SetPos(s.hwnd, 6); // same value, same row
    MoveBy(s.hwnd, 0, 0);
    EXPECT_EQ(Dirty(s.hwnd), kNone);
}

TEST_F(SliderVolTest, DraggingTheThumbReportsEveryStep) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SetPos(s.hwnd, 16);
    Down(s.hwnd, 9, 3); // on the thumb, rows 0 to 7
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 1);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_GRAB_OFFSET), -3);
    EXPECT_EQ(GetCapture(), s.hwnd);
    Move(s.hwnd, 9, 3); // no movement, nothing
    EXPECT_TRUE(Notes().empty());
    Move(s.hwnd, 9, 42); // thumb to row 39
    EXPECT_EQ(Notes(), Notes_({Changed(s.hwnd, 1)}));
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 39);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_PIXEL_STEP), 39);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_VALUE_STEP), 0);
    Move(s.hwnd, 9, 23);  // row 20
    Move(s.hwnd, 9, 500); // far below: the thumb stops at the last row that fits
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), kH - 9);
    Move(s.hwnd, 9, -500); // far above
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 0);
    Up(s.hwnd, 9, -500);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Notes(), Notes_({Changed(s.hwnd, 1), Changed(s.hwnd, 8), Changed(s.hwnd, 0),
                               Changed(s.hwnd, 16)}));
    Move(s.hwnd, 9, 30); // idle: ignored
    EXPECT_EQ(Notes().size(), 4u);
    EXPECT_EQ(Pos(s.hwnd), 16);
}

TEST_F(SliderVolTest, PagingDownStepsEveryTickUntilTheThumbPassesThePointer) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SetPos(s.hwnd, 16);
    POINT pointer = {9, 30};
    ClientToScreen(s.hwnd, &pointer);
    SetCursorPos(pointer.x, pointer.y);
    Pump(50);
    POINT now;
    GetCursorPos(&now);
    if (now.x != pointer.x || now.y != pointer.y)
        GTEST_SKIP() << "the pointer cannot be placed on this display";
    Notes().clear();
    Down(s.hwnd, 9, 30);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 2);
    Pump(250);
    size_t early = Notes().size();
    EXPECT_GE(early, 1u);
    EXPECT_LT(early, 10u) << "one step per 50 ms";
    Pump(1500);
    // Values 15 down to 6: at 6 the thumb (row 25) has passed row 30 - 8.
    std::vector<Note> expected;
    for (int v = 15; v >= 6; --v)
        expected.push_back(Changed(s.hwnd, v));
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_VALUE_STEP), -1);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_PIXEL_STEP), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SliderVolTest, PagingUpStopsAtTheEndOfTravelOrWhenThePointerLeaves) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SetPos(s.hwnd, 3);
    POINT pointer = {9, 0};
    ClientToScreen(s.hwnd, &pointer);
    SetCursorPos(pointer.x, pointer.y);
    Pump(50);
    POINT now;
    GetCursorPos(&now);
    if (now.x != pointer.x || now.y != pointer.y)
        GTEST_SKIP() << "the pointer cannot be placed on this display";
    Notes().clear();
    Down(s.hwnd, 9, 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 4);
    Pump(1500);
    // Up to the maximum, where the thumb reaches the end of travel; the
    // pointer on row 0 is never passed.
    std::vector<Note> expected;
    for (int v = 4; v <= 16; ++v)
        expected.push_back(Changed(s.hwnd, v));
    EXPECT_EQ(Notes(), expected);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 0);

    // Leaving the slider while paging ends it at once.
    SetPos(s.hwnd, 3);
    Notes().clear();
    Down(s.hwnd, 9, 0);
    Move(s.hwnd, 9, -1);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_MODE), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    Pump(200);
    EXPECT_TRUE(Notes().empty());
    // And releasing ends it too.
    Down(s.hwnd, 9, 0);
    Up(s.hwnd, 9, 0);
    Pump(200);
    EXPECT_TRUE(Notes().empty());
    EXPECT_EQ(Pos(s.hwnd), 3);
}

TEST_F(SliderVolTest, MixerFadersReportToTheMixerPanel) {
    Dialog mixer("MIXER");
    ASSERT_NE(mixer.hwnd, nullptr);
    HWND fader = GetDlgItem(mixer.hwnd, 14);
    ASSERT_NE(fader, nullptr);
    Range(fader, 16, 0);
    SetPos(fader, 16);
    Down(fader, 5, 2);
    Move(fader, 5, 22); // row 20
    Up(fader, 5, 22);
    EXPECT_EQ(Notes(), Notes_({Changed(fader, 8)}));
}

// ---- Painting ----

void ExpectThumbAt(const Canvas &c, int t) {
    const COLORREF rows[] = {RGB(255, 255, 0),   RGB(255, 255, 0),   RGB(192, 192, 192),
                             RGB(128, 128, 255), RGB(128, 255, 255), RGB(255, 128, 255)};
    for (int r = 0; r < 6; ++r) {
        for (int x = 2; x <= 18; ++x)
            ASSERT_EQ(c.Pixel(x, t + r), rows[r]) << "row t+" << r << " x " << x;
        ASSERT_EQ(c.Pixel(1, t + r), RGB(255, 255, 255)) << "white column, row t+" << r;
    }
    for (int x = 1; x <= 18; ++x) {
        ASSERT_EQ(c.Pixel(x, t + 6), RGB(255, 255, 255)) << "x " << x;
        ASSERT_EQ(c.Pixel(x, t + 7), RGB(0, 0, 0)) << "x " << x;
    }
}

TEST_F(SliderVolTest, ThumbIsDrawnRowByRowAtItsPosition) {
    Control s("SliderVol", 14, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    for (auto [value, top] : {std::pair{8, 20}, {16, 0}, {0, 40}, {13, 7}}) {
        SCOPED_TRACE(value);
        SetPos(s.hwnd, value);
        Canvas c(kW + 2, kH + 2);
        c.Render(s.hwnd);
        ExpectThumbAt(c, top);
        if (!FaceExists(SLIDER_TRACK_UNLIT)) {
            // Without a track only the thumb is drawn.
            EXPECT_EQ(c.Pixel(0, top + 3), Canvas::Untouched);
            if (top > 0) {
                EXPECT_EQ(c.Pixel(5, top - 1), Canvas::Untouched);
            }
            if (top + 8 < kH) {
                EXPECT_EQ(c.Pixel(5, top + 8), Canvas::Untouched);
            }
        }
        EXPECT_EQ(c.Pixel(kW, 5), Canvas::Untouched) << "nothing beyond the client area";
    }
}

TEST_F(SliderVolTest, WindowPaintShowsTheThumbOnScreen) {
    Control s("SliderVol", 14, 0, 100, 100, kW, kH);
    Range(s.hwnd, 64, 0);
    SetPos(s.hwnd, 32); // row 20
    UpdateWindow(s.hwnd);
    HDC dc = GetDC(s.hwnd);
    EXPECT_EQ(GetPixel(dc, 10, 20), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(dc, 10, 27), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 24), RGB(255, 255, 255));
    ReleaseDC(s.hwnd, dc);
}

TEST_F(SliderVolTest, LightingSelectsTheTrackAndNeverNotifies) {
    Control s("SliderVol", 25, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SendMessageA(s.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_LIT), 1);
    SendMessageA(s.hwnd, WM_COMMAND, 4711, 0);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_LIT), 1);
    for (bool lit : {true, false}) {
        SendMessageA(s.hwnd, WM_COMMAND, lit ? CMD_SET_ON : CMD_SET_OFF, 0);
        int track = lit ? SLIDER_TRACK_LIT : SLIDER_TRACK_UNLIT;
        if (!FaceExists(track))
            continue;
        SetPos(s.hwnd, 0); // thumb at the bottom, the upper track shows
        Canvas c(kW, kH);
        c.Render(s.hwnd);
        FaceImage face(track);
        for (int y = 0; y < 40 && y < face.height(); y += 3)
            for (int x = 0; x < kW && x < face.width(); x += 3)
                ASSERT_EQ(c.Pixel(x, y), face.Pixel(x, y)) << track << " " << x << "," << y;
    }
    Pump();
    EXPECT_TRUE(Notes().empty());
}

// The arrows step by one, Page Up and Down by an eighth of the range, Home
// and End go to the ends; the parent hears each move as a paging step.
TEST_F(SliderVolTest, NavigationKeysMoveTheValueAsPagingDoes) {
    Control s("SliderVol", 23, 0, 10, 10, kW, kH);
    Range(s.hwnd, 16, 0);
    SetPos(s.hwnd, 8);
    std::vector<int> values;
    for (WPARAM key : {VK_UP, VK_LEFT, VK_LEFT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_END}) {
        SendMessageA(s.hwnd, WM_KEYDOWN, key, 1);
        values.push_back(Pos(s.hwnd));
    }
    EXPECT_EQ(values, (std::vector<int>{9, 8, 7, 9, 7, 16, 0, 0}));
    ASSERT_EQ(Notes().size(), 7u) << "nothing at the end";
    EXPECT_EQ(Notes().back(), Changed(s.hwnd, 0));
    EXPECT_EQ(Slot(s.hwnd, SLIDER_VALUE_STEP), -16);
    EXPECT_EQ(Slot(s.hwnd, SLIDER_THUMB), 40);
}

} // namespace
