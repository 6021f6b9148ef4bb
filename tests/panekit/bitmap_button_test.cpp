// BitmapButton driven with mouse messages inside a host window and inside
// the library's own panels: what its parent receives and in which order
// for every style, how capture and the autorepeat timers behave, which face
// each state and style shows, and that a missing face paints nothing.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "../../panekit/control_rules.h"
#include "control_harness.h"

using namespace harness;

namespace {

constexpr int kId = 1002;
constexpr int kW = 45, kH = 21;

class BitmapButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Panekit(), nullptr) << "cannot load " << PANEKIT32_PATH;
        Host();
        ParkPointer();
        Notes().clear();
        DestroyOnLatch() = false;
    }
    void TearDown() override {
        ReleaseCapture();
        DestroyOnLatch() = false;
    }

    static LPARAM Short(HWND w) {
        return static_cast<LPARAM>(reinterpret_cast<UINT_PTR>(w) & 0xFFFF);
    }
    static Note Cmd(WPARAM code, HWND w) { return {WM_COMMAND, code, Short(w)}; }

    // A complete click in the middle of the button, posted clicks delivered.
    static void Click(HWND w) {
        Down(w, 10, 10);
        Up(w, 10, 10);
        Pump();
    }
    static int Clicks(int id) {
        int n = 0;
        for (const Note &note : Notes())
            n += note.message == WM_COMMAND && note.wParam == WPARAM(id);
        return n;
    }
};

using Notes_ = std::vector<Note>;

TEST(ButtonFaces, StateAndStyleSelectTheFace) {
    // Pressed (0x04 or 0x08) wins over latched; latched shows base + 2.
    EXPECT_EQ(ButtonFaceId(1002, 0x06, 0), 1002);
    EXPECT_EQ(ButtonFaceId(1002, 0x06, 0x18), 1003);
    EXPECT_EQ(ButtonFaceId(1002, 0x06, 0x04), 1003);
    EXPECT_EQ(ButtonFaceId(4000, 0x06, 0x20), 4002);
    EXPECT_EQ(ButtonFaceId(4000, 0x06, 0x38), 4001);
    EXPECT_EQ(ButtonFaceId(4000, 0x06, 0x03), 4000); // disabled and hidden do not count
    // Shared faces: mute, preset, and preset over mute.
    EXPECT_EQ(ButtonFaceId(3, 0x2E, 0), 4055);
    EXPECT_EQ(ButtonFaceId(41, 0x2E, 0x18), 4056);
    EXPECT_EQ(ButtonFaceId(40, 0x2E, 0x20), 4057);
    EXPECT_EQ(ButtonFaceId(1163, 0x46, 0x20), 1163);
    EXPECT_EQ(ButtonFaceId(1164, 0x46, 0), 1161);
    EXPECT_EQ(ButtonFaceId(9, 0x66, 0x08), 1162);
    // Record-source selectors 7017 to 7020 share 7017..7019; their neighbours do not.
    for (int id = 7017; id <= 7020; ++id) {
        EXPECT_EQ(ButtonFaceId(id, 0x06, 0), 7017);
        EXPECT_EQ(ButtonFaceId(id, 0x06, 0x18), 7018);
        EXPECT_EQ(ButtonFaceId(id, 0x06, 0x20), 7019);
    }
    EXPECT_EQ(ButtonFaceId(7016, 0x06, 0), 7016);
    EXPECT_EQ(ButtonFaceId(7021, 0x06, 0), 7021);
}

TEST_F(BitmapButtonTest, ClickOnReleaseIsPostedAfterTheRelease) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    EXPECT_EQ(GetCapture(), b.hwnd);
    Pump();
    EXPECT_TRUE(Notes().empty());
    Move(b.hwnd, 20, 12);
    Up(b.hwnd, 20, 12);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(Notes().empty()) << "the click is posted, not sent";
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
    // The short handle names the button again.
    EXPECT_EQ(GetDlgCtrlID(reinterpret_cast<HWND>(Notes()[0].lParam)), kId);
}

TEST_F(BitmapButtonTest, ClickOnPressIsPostedOnceAndReleaseIsSilent) {
    Control b("BitmapButton", 4028, 0x00, 10, 10, 88, 21);
    Down(b.hwnd, 10, 10);
    EXPECT_TRUE(Notes().empty());
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(4028, b.hwnd)}));
    Up(b.hwnd, 10, 10);
    Pump(100);
    EXPECT_EQ(Notes().size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BitmapButtonTest, DoubleClickPressesLikeAClick) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    SendMessageA(b.hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    Up(b.hwnd, 5, 5);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
}

TEST_F(BitmapButtonTest, DraggingOffCancelsAndComingBackDoesNotPressAgain) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    Move(b.hwnd, 30, 10);
    EXPECT_EQ(GetCapture(), b.hwnd);
    Move(b.hwnd, kW + 5, 10);
    EXPECT_EQ(GetCapture(), nullptr) << "leaving gives the capture back";
    Move(b.hwnd, 30, 10);
    Up(b.hwnd, 30, 10);
    Pump(50);
    EXPECT_TRUE(Notes().empty());
    // The next press works as usual.
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
}

TEST_F(BitmapButtonTest, LeftColumnTopRowAndFarEdgesCountAsOutside) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    const POINT outside[] = {{0, 10}, {10, 0}, {kW, 10}, {10, kH}, {-1, 10}, {10, -30000}};
    for (POINT p : outside) {
        Down(b.hwnd, p.x, p.y); // a press is taken wherever it is reported
        Move(b.hwnd, p.x, p.y);
        EXPECT_EQ(GetCapture(), nullptr) << p.x << "," << p.y;
        Up(b.hwnd, p.x, p.y);
    }
    // The last inside pixel and the first inside row keep the press.
    Down(b.hwnd, kW - 1, 1);
    Move(b.hwnd, kW - 1, 1);
    Move(b.hwnd, 1, kH - 1);
    Up(b.hwnd, 1, kH - 1);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
}

TEST_F(BitmapButtonTest, ReleaseWithoutPressDoesNothing) {
    Control b("BitmapButton", kId, 0x1E, 10, 10, kW, kH);
    Up(b.hwnd, 10, 10);
    Move(b.hwnd, 10, 10);
    Pump();
    EXPECT_TRUE(Notes().empty());
    // Nor did it latch: the first click latches.
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, b.hwnd), Cmd(kId, b.hwnd)}));
}

TEST_F(BitmapButtonTest, ToggleLatchesThenUnlatchesWithTheirNotifications) {
    Control b("BitmapButton", 4034, 0x0E, 10, 10, 48, 18);
    Down(b.hwnd, 10, 10);
    Up(b.hwnd, 10, 10);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, b.hwnd)})) << "latching is sent";
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, b.hwnd), Cmd(4034, b.hwnd)}));
    Notes().clear();
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_UNLATCHED, b.hwnd)})) << "no click after unlatching";
    Notes().clear();
    Click(b.hwnd);
    Click(b.hwnd);
    Click(b.hwnd);
    EXPECT_EQ(Notes(),
              Notes_({Cmd(NOTIFY_LATCHED, b.hwnd), Cmd(4034, b.hwnd), Cmd(NOTIFY_UNLATCHED, b.hwnd),
                      Cmd(NOTIFY_LATCHED, b.hwnd), Cmd(4034, b.hwnd)}));
}

TEST_F(BitmapButtonTest, ToggleDraggedOffKeepsItsStateAndReportsNothing) {
    Control b("BitmapButton", 1030, 0x0E, 10, 10, 48, 18);
    Click(b.hwnd); // latched
    Notes().clear();
    Down(b.hwnd, 10, 10);
    Move(b.hwnd, -5, 10);
    Up(b.hwnd, -5, 10);
    Pump();
    EXPECT_TRUE(Notes().empty());
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_UNLATCHED, b.hwnd)})) << "it was still latched";
}

TEST_F(BitmapButtonTest, ToggleNeedsNotifyOnRelease) {
    // 0x08 without 0x04: a click on press that never latches.
    Control b("BitmapButton", kId, 0x08, 10, 10, kW, kH);
    Click(b.hwnd);
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd), Cmd(kId, b.hwnd)}));
}

TEST_F(BitmapButtonTest, SetOnAndOffLatchSilently) {
    Control b("BitmapButton", 4034, 0x0E, 10, 10, 48, 18);
    SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_ON, 0); // on a latched button: nothing changes
    SendMessageA(b.hwnd, WM_COMMAND, 4034, 0);       // other commands are ignored
    Pump();
    EXPECT_TRUE(Notes().empty());
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_UNLATCHED, b.hwnd)}));
    Notes().clear();
    SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_OFF, 0);
    Pump();
    EXPECT_TRUE(Notes().empty());
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, b.hwnd), Cmd(4034, b.hwnd)}));
}

TEST_F(BitmapButtonTest, ReleaseNotificationComesBeforeTheClick) {
    // 0x11: click on press, repeat, NOTIFY_RELEASED on release.
    Control video("BitmapButton", 1006, 0x11, 10, 10, kW, kH);
    Down(video.hwnd, 10, 10);
    Pump();
    Up(video.hwnd, 10, 10);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(1006, video.hwnd), Cmd(NOTIFY_RELEASED, video.hwnd)}));
    Notes().clear();
    // 0x16: released is sent, then the click is posted.
    Control b("BitmapButton", kId, 0x16, 60, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    Up(b.hwnd, 10, 10);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_RELEASED, b.hwnd)}));
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_RELEASED, b.hwnd), Cmd(kId, b.hwnd)}));
    Notes().clear();
    // A toggle never sends NOTIFY_RELEASED.
    Control t("BitmapButton", 4024, 0x1E, 110, 10, kW, kH);
    Click(t.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, t.hwnd), Cmd(4024, t.hwnd)}));
}

TEST_F(BitmapButtonTest, CancelModeCompletesTheRelease) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    SendMessageA(b.hwnd, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
    Notes().clear();
    SendMessageA(b.hwnd, WM_CANCELMODE, 0, 0); // not pressed: nothing
    Control t("BitmapButton", 1070, 0x0E, 60, 10, 39, 20);
    Down(t.hwnd, 10, 10);
    SendMessageA(t.hwnd, WM_CANCELMODE, 0, 0);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, t.hwnd), Cmd(1070, t.hwnd)}));
}

TEST_F(BitmapButtonTest, AutorepeatWaitsThenRepeatsUntilRelease) {
    Control b("BitmapButton", 1006, 0x01, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    Pump(250); // the first repeat comes 400 ms after the press
    EXPECT_EQ(Clicks(1006), 1);
    Pump(850);
    int held = Clicks(1006);
    // One click on press, one at 400 ms, then one per 50 ms for ~700 ms.
    EXPECT_GE(held, 4);
    EXPECT_LE(held, 20);
    Up(b.hwnd, 10, 10);
    Pump(300);
    EXPECT_EQ(Clicks(1006), held) << "no repeat after the release";
    EXPECT_EQ(Notes().size(), size_t(held)) << "only clicks";
}

TEST_F(BitmapButtonTest, AutorepeatGoesQuietOnceThePointerMovedInside) {
    Control b("BitmapButton", 1004, 0x01, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    Move(b.hwnd, 11, 10);
    Pump(700);
    EXPECT_EQ(Clicks(1004), 1);
    Up(b.hwnd, 11, 10);
    // A fresh press repeats again.
    Down(b.hwnd, 10, 10);
    Pump(700);
    EXPECT_GE(Clicks(1004), 3);
    Up(b.hwnd, 10, 10);
}

TEST_F(BitmapButtonTest, AutorepeatStopsWhenDraggedOff) {
    Control b("BitmapButton", 1008, 0x01, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    Move(b.hwnd, -10, 10);
    Pump(700);
    EXPECT_EQ(Clicks(1008), 1);
}

TEST_F(BitmapButtonTest, ClickOnReleaseWithAutorepeatReportsOnlyOnRelease) {
    Control b("BitmapButton", kId, 0x05, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    Pump(700);
    EXPECT_TRUE(Notes().empty());
    Up(b.hwnd, 10, 10);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
}

// A command that ends a press while the mouse is held stops the repeat,
// and the button gives its capture back at the release.
TEST_F(BitmapButtonTest, CommandDuringAPressEndsItCleanly) {
    Control b("BitmapButton", 1006, 0x01, 10, 10, kW, kH);
    Down(b.hwnd, 10, 10);
    SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_OFF, 0);
    Pump(700);
    EXPECT_EQ(Clicks(1006), 1);
    Up(b.hwnd, 10, 10);
    EXPECT_EQ(GetCapture(), nullptr);
    Pump();
    EXPECT_EQ(Clicks(1006), 1);
}

TEST_F(BitmapButtonTest, ParentMayDestroyTheButtonWhileLatching) {
    DestroyOnLatch() = true;
    HWND b = CreateWindowExA(0, "BitmapButton", "", WS_CHILD | WS_VISIBLE | 0x0E, 10, 10, kW, kH,
                             Host(), reinterpret_cast<HMENU>(4034), nullptr, nullptr);
    ASSERT_NE(b, nullptr);
    Down(b, 10, 10);
    Up(b, 10, 10);
    EXPECT_FALSE(IsWindow(b));
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, b)})) << "no click for a button that is gone";
}

TEST_F(BitmapButtonTest, EnableAndShowDoNotDisturbClicks) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    EnableWindow(b.hwnd, FALSE);
    EnableWindow(b.hwnd, TRUE);
    ShowWindow(b.hwnd, SW_HIDE);
    ShowWindow(b.hwnd, SW_SHOW);
    Click(b.hwnd);
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
}

TEST_F(BitmapButtonTest, WindowMessagesAboveTheControlRangeAreIgnored) {
    Control b("BitmapButton", kId, 0x06, 10, 10, kW, kH);
    EXPECT_EQ(SendMessageA(b.hwnd, WM_USER + 7, 1, 2), 0);
    EXPECT_EQ(SendMessageA(b.hwnd, WM_ERASEBKGND, 0, 0), 0);
}

// ---- In the library's panels ----

TEST_F(BitmapButtonTest, MixerMuteKeysLatchTowardTheMixerPanel) {
    Dialog mixer("MIXER");
    ASSERT_NE(mixer.hwnd, nullptr);
    HWND mute = GetDlgItem(mixer.hwnd, 3);
    ASSERT_NE(mute, nullptr);
    Click(mute);
    Click(mute);
    EXPECT_EQ(Notes(),
              Notes_({Cmd(NOTIFY_LATCHED, mute), Cmd(3, mute), Cmd(NOTIFY_UNLATCHED, mute)}));
    // Record-source selectors click on release and never latch.
    Notes().clear();
    HWND source = GetDlgItem(mixer.hwnd, 7019);
    Click(source);
    Click(source);
    EXPECT_EQ(Notes(), Notes_({Cmd(7019, source), Cmd(7019, source)}));
}

TEST_F(BitmapButtonTest, LauncherKeysClickOnRelease) {
    Dialog bar("MAIN");
    ASSERT_NE(bar.hwnd, nullptr);
    for (int id : {IDC_SHOW_CD, IDC_SHOW_MIDI, IDC_SHOW_WAVE, IDC_SHOW_MIXER, IDC_SHOW_PLAYLIST}) {
        HWND key = GetDlgItem(bar.hwnd, id);
        ASSERT_NE(key, nullptr) << id;
        Down(key, 5, 5);
        Pump();
        EXPECT_TRUE(Notes().empty()) << id;
        Up(key, 5, 5);
        Pump();
        EXPECT_EQ(Notes(), Notes_({Cmd(id, key)})) << id;
        Notes().clear();
    }
}

// ---- Faces ----

// Renders a button of the given style in the given state (reached through
// commands and a held press) and checks it shows `face`, or nothing at all
// when the library has no such face.
void ExpectFace(int id, DWORD style, bool latched, bool pressed, int face, int w, int h) {
    SCOPED_TRACE(::testing::Message() << "id " << id << " style 0x" << std::hex << style);
    Control b("BitmapButton", id, style, 10, 10, w, h);
    if (latched)
        SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    if (pressed)
        Down(b.hwnd, 1, 1);
    Canvas canvas(w + 4, h + 4);
    canvas.Render(b.hwnd);
    if (pressed)
        SendMessageA(b.hwnd, WM_CANCELMODE, 0, 0);
    Pump();
    Notes().clear();
    if (!FaceExists(face)) {
        for (int y = 0; y < canvas.height(); y += 2)
            for (int x = 0; x < canvas.width(); x += 2)
                ASSERT_EQ(canvas.Pixel(x, y), Canvas::Untouched) << "a missing face paints nothing";
        return;
    }
    ExpectShowsFace(canvas, face, w, h);
    // Never beyond the client area.
    EXPECT_EQ(canvas.Pixel(w + 1, 1), Canvas::Untouched);
    EXPECT_EQ(canvas.Pixel(1, h + 1), Canvas::Untouched);
}

TEST_F(BitmapButtonTest, FacesFollowStateAndStyle) {
    ExpectFace(IDC_PLAY, 0x06, false, false, 4000, 45, 21);
    ExpectFace(IDC_PLAY, 0x06, false, true, 4001, 45, 21);
    ExpectFace(IDC_PLAY, 0x06, true, false, 4002, 45, 21);
    ExpectFace(IDC_PLAY, 0x06, true, true, 4001, 45, 21);
    ExpectFace(3, 0x2E, false, false, 4055, 44, 11);
    ExpectFace(8, 0x2E, true, false, 4057, 44, 11);
    ExpectFace(1162, 0x46, false, true, 1162, 46, 46);
    ExpectFace(5, 0x66, true, false, 1163, 46, 46);
    ExpectFace(7020, 0x06, false, false, 7017, 13, 7);
    ExpectFace(7018, 0x06, true, false, 7019, 13, 7);
    // A face larger than the button is clipped.
    ExpectFace(IDC_STOP, 0x06, false, false, 1002, 20, 10);
}

TEST_F(BitmapButtonTest, MissingFacePaintsNothingNotEvenTheBackground) {
    // 1500 has no face in the library.
    ASSERT_FALSE(FaceExists(1500));
    Control b("BitmapButton", 1500, 0x06, 10, 10, kW, kH);
    Canvas canvas(kW, kH);
    SendMessageA(b.hwnd, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), Canvas::Untouched);
}

} // namespace

// ---- Through the system's own mouse input ----

// Moves the system pointer to a client point of `w`; false when the
// display does not let the pointer be placed.
bool PointerTo(HWND w, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(w, &p);
    SetCursorPos(p.x, p.y);
    Pump(30);
    POINT now;
    GetCursorPos(&now);
    return now.x == p.x && now.y == p.y;
}

void Button(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
    Pump(30);
}

TEST_F(BitmapButtonTest, RealPointerClickDragOffAndBack) {
    Control b("BitmapButton", kId, 0x06, 200, 100, kW, kH);
    if (!PointerTo(b.hwnd, 20, 10))
        GTEST_SKIP() << "the pointer cannot be placed on this display";
    Button(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(GetCapture(), b.hwnd);
    ASSERT_TRUE(PointerTo(b.hwnd, 21, 11));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Notes(), Notes_({Cmd(kId, b.hwnd)}));
    Notes().clear();

    // Off the button and back before the release: nothing.
    Button(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PointerTo(b.hwnd, kW + 30, 10));
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_TRUE(PointerTo(b.hwnd, 20, 10));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(Notes().empty());
}

// The face reaches the screen through WM_PAINT and the window's palette.
TEST_F(BitmapButtonTest, LatchedFaceShowsOnScreen) {
    if (!FaceExists(4002))
        GTEST_SKIP() << "no face 4002 in this build";
    Control b("BitmapButton", IDC_PLAY, 0x06, 300, 100, kW, kH);
    SendMessageA(b.hwnd, WM_COMMAND, CMD_SET_ON, 0);
    FaceImage face(4002);
    HDC dc = GetDC(b.hwnd);
    for (int y = 0; y < kH; y += 4)
        for (int x = 0; x < kW; x += 4)
            ASSERT_EQ(GetPixel(dc, x, y), face.Pixel(x, y)) << x << "," << y;
    ReleaseDC(b.hwnd, dc);
}

// Space and Enter are the button's own keys and do what its click does: a
// toggle flips and reports it, a held key clicks again only on a repeating
// button, and a button that reports its release does so as the key goes up.
TEST_F(BitmapButtonTest, SpaceAndEnterDoWhatAClickDoes) {
    Control toggle("BitmapButton", 4034, 0x0E, 0, 0, kW, kH);
    Control play("BitmapButton", kId, 0x06, 50, 0, kW, kH);
    Control step("BitmapButton", 1004, 0x11, 100, 0, kW, kH);
    MSG space{toggle.hwnd, WM_KEYDOWN, VK_SPACE, 1, 0, {}};
    MSG letter{toggle.hwnd, WM_KEYDOWN, 'S', 1, 0, {}};
    EXPECT_EQ(SendMessageA(toggle.hwnd, WM_GETDLGCODE, VK_SPACE, LPARAM(&space)), DLGC_WANTMESSAGE);
    EXPECT_EQ(SendMessageA(toggle.hwnd, WM_GETDLGCODE, 'S', LPARAM(&letter)), 0);

    SendMessageA(toggle.hwnd, WM_KEYDOWN, VK_SPACE, 1);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_LATCHED, toggle.hwnd), Cmd(4034, toggle.hwnd)}));
    Notes().clear();
    SendMessageA(play.hwnd, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(play.hwnd, WM_KEYDOWN, VK_RETURN, 1 | (1 << 30));
    SendMessageA(step.hwnd, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageA(step.hwnd, WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));
    SendMessageA(step.hwnd, WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(Notes(), Notes_({Cmd(NOTIFY_RELEASED, step.hwnd), Cmd(kId, play.hwnd),
                               Cmd(1004, step.hwnd), Cmd(1004, step.hwnd)}));
}
