// Resource discipline of the controls: the GDI owners restore what they
// select and give back what they create, and painting each control a
// thousand times leaves no GDI handle behind.

#include <windows.h>

#include <gtest/gtest.h>

#include "../../panekit/gdi_owners.h"
#include "control_harness.h"

using namespace harness;

namespace {

TEST(GdiOwners, SelectionsAreUndoneAndHandlesGivenBack) {
    HDC screen = GetDC(nullptr);
    long before = gdi::LiveGdiHandles();
    HDC seen = nullptr;
    HGDIOBJ originalBitmap = nullptr, originalPen = nullptr;
    HPALETTE originalPalette = nullptr;
    {
        gdi::MemoryDc memory(screen);
        ASSERT_TRUE(memory);
        seen = memory.get();
        originalBitmap = GetCurrentObject(seen, OBJ_BITMAP);
        originalPen = GetCurrentObject(seen, OBJ_PEN);
        originalPalette = static_cast<HPALETTE>(GetCurrentObject(seen, OBJ_PAL));
        gdi::Bitmap bitmap(CreateCompatibleBitmap(screen, 4, 4));
        gdi::Pen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        LOGPALETTE lp{0x300, 1, {{1, 2, 3, 0}}};
        gdi::Palette palette(CreatePalette(&lp));
        EXPECT_EQ(gdi::LiveGdiHandles(), before + 4);
        {
            gdi::Selection b(seen, bitmap.get());
            gdi::Selection p(seen, pen.get());
            gdi::PaletteSelection pal(seen, palette.get(), true);
            EXPECT_EQ(GetCurrentObject(seen, OBJ_BITMAP), bitmap.get());
            EXPECT_EQ(GetCurrentObject(seen, OBJ_PEN), pen.get());
            EXPECT_EQ(GetCurrentObject(seen, OBJ_PAL), palette.get());
            gdi::Selection nothing(seen, nullptr);
        }
        EXPECT_EQ(GetCurrentObject(seen, OBJ_BITMAP), originalBitmap);
        EXPECT_EQ(GetCurrentObject(seen, OBJ_PEN), originalPen);
        EXPECT_EQ(GetCurrentObject(seen, OBJ_PAL), originalPalette);
        gdi::Bitmap none(nullptr);
        EXPECT_FALSE(none);
        EXPECT_EQ(gdi::LiveGdiHandles(), before + 4);
    }
    EXPECT_EQ(gdi::LiveGdiHandles(), before);
    EXPECT_EQ(GetObjectType(seen), 0u) << "the memory context is deleted";
    ReleaseDC(nullptr, screen);
}

// The measure itself: it counts what is created and what is deleted.
TEST(LiveGdiObjects, CountsCreatedAndDeletedHandles) {
    int base = LiveGdiObjects();
    HBRUSH kept[300];
    for (HBRUSH &b : kept)
        b = CreateSolidBrush(RGB(1, 1, 1));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(LiveGdiObjects() - base, 301) << "GDI handle numbering is not what this relies on";
    for (HBRUSH b : kept)
        DeleteObject(b);
    DeleteDC(dc);
    EXPECT_EQ(LiveGdiObjects(), base);
}

// Paints every kind of control a thousand times through WM_PAINT; the GDI
// handle table must not grow.
TEST(ControlPainting, ThousandPaintsLeaveNoHandleBehind) {
    ASSERT_NE(Panekit(), nullptr);
    Dialog mixer("MIXER");
    ASSERT_NE(mixer.hwnd, nullptr);
    SetWindowPos(mixer.hwnd, nullptr, 0, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Control play("BitmapButton", IDC_PLAY, 0x06, 10, 10, 45, 21);
    Control missing("BitmapButton", 1500, 0x06, 60, 10, 45, 21);
    Control slider("SliderVol", 14, 0, 110, 10, 19, 48);
    Control lamp("HiliteBitmap", 4016, 0, 140, 10, 36, 11);
    HWND windows[] = {play.hwnd, missing.hwnd, slider.hwnd, lamp.hwnd, GetDlgItem(mixer.hwnd, 3)};
    for (HWND w : windows)
        ASSERT_NE(w, nullptr);
    SendMessageA(play.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    SendMessageA(lamp.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    SendMessageA(slider.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    Pump();
    // Warm up what the system caches on first use.
    for (HWND w : windows)
        gdi::RepaintNow(w);
    int before = LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) {
        for (HWND w : windows)
            gdi::RepaintNow(w);
        SendMessageA(slider.hwnd, SVM_MOVEBY, (i & 1) ? 5 : -5, 0);
    }
    Pump();
    EXPECT_LE(LiveGdiObjects() - before, 5) << "GDI handles leak while painting";
}

// A control switched while it is not on screen does not paint then; once
// shown it must show its new state, not what it showed before it was hidden.
TEST(ControlPainting, StateSwitchedWhileHiddenShowsOnceShown) {
    ASSERT_NE(Panekit(), nullptr);
    Control play("BitmapButton", IDC_PLAY, 0x06, 300, 100, 45, 21);
    Control lamp("HiliteBitmap", 4016, 0, 360, 100, 36, 11);
    Control slider("SliderVol", 14, 0, 410, 100, 19, 48);
    const struct {
        HWND window;
        int onFace;
    } controls[] = {{play.hwnd, 4002}, {lamp.hwnd, 4017}, {slider.hwnd, 7026}};
    for (const auto &control : controls) {
        if (!FaceExists(control.onFace))
            GTEST_SKIP() << "no face " << control.onFace << " in this build";
        UpdateWindow(control.window); // the unlit face is on screen
        ShowWindow(control.window, SW_HIDE);
        SendMessageA(control.window, WM_COMMAND, CMD_SET_ON, 0);
        ShowWindow(control.window, SW_SHOWNA);
        Pump();
        FaceImage face(control.onFace);
        HDC dc = GetDC(control.window);
        // A new slider's thumb covers the track's first eight rows.
        for (int y = control.window == slider.hwnd ? 8 : 0; y < face.height(); y += 3)
            for (int x = 0; x < face.width(); x += 3)
                ASSERT_EQ(GetPixel(dc, x, y), face.Pixel(x, y))
                    << "face " << control.onFace << " at " << x << "," << y;
        ReleaseDC(control.window, dc);
    }
}

// A fader set while it is not on screen leaves nothing to repaint then; once
// shown its thumb stands at the new place (rows 40 to 47 for the minimum).
TEST(ControlPainting, FaderSetWhileHiddenShowsItsThumbOnceShown) {
    ASSERT_NE(Panekit(), nullptr);
    Control slider("SliderVol", 14, 0, 440, 100, 19, 48);
    UpdateWindow(slider.hwnd); // the thumb is at the top
    ShowWindow(slider.hwnd, SW_HIDE);
    SendMessageA(slider.hwnd, SVM_SETPOS, 0, MAKELPARAM(0, 0));
    ShowWindow(slider.hwnd, SW_SHOWNA);
    Pump();
    HDC dc = GetDC(slider.hwnd);
    EXPECT_EQ(GetPixel(dc, 5, 40), RGB(255, 255, 0)) << "no thumb at its new place";
    EXPECT_NE(GetPixel(dc, 5, 0), RGB(255, 255, 0)) << "the thumb is still shown at the top";
    ReleaseDC(slider.hwnd, dc);
}

// A key and a fader with the keyboard focus show a frame in the skin's
// yellow along their edge; it is gone once the focus leaves.
TEST(FocusMark, ShowsWhileTheControlHasTheFocus) {
    ASSERT_NE(Panekit(), nullptr);
    Control key("BitmapButton", IDC_PLAY, 0x06, 10, 10, 45, 21);
    Control fader("SliderVol", 23, 0, 60, 10, 19, 48);
    for (HWND control : {key.hwnd, fader.hwnd}) {
        RECT client;
        GetClientRect(control, &client);
        Canvas canvas(client.right, client.bottom);
        canvas.Render(control);
        COLORREF corner = canvas.Pixel(client.right - 1, client.bottom - 1);
        ASSERT_NE(corner, RGB(255, 255, 0));
        SetFocus(control);
        canvas.Render(control);
        EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 255, 0));
        EXPECT_EQ(canvas.Pixel(client.right - 1, client.bottom - 1), RGB(255, 255, 0));
        SetFocus(Host());
        canvas.Render(control);
        EXPECT_EQ(canvas.Pixel(client.right - 1, client.bottom - 1), corner);
    }
}

} // namespace
