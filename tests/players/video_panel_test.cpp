// The VIDEO panel driven through its keys with the mouse: the window key
// while playing and paused, Forward and Back held down, Stop, files that are
// no video and pictures of no size or far too large, on the simulated card;
// then a movie on the platform's own device, its picture read off the screen.
#include "tests/players/player_test_support.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "players/midi_panel.h"
#include "players/video_panel.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <digitalv.h>

#include <algorithm>

namespace {

// A picture of 4:3 in the panel's 126 by 85 rectangle at 83, 10.
constexpr RECT LetterBoxed = {89, 10, 202, 95};

bool Is(RECT a, RECT b) {
    return EqualRect(&a, &b) != FALSE;
}

class VideoPanelTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        SimCardConfig card;
        card.mci.cd.drive = false; // the video's is the only device of the card
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        PressLauncher(IDC_SHOW_VIDEO);
        ASSERT_TRUE(VideoPanelShown);
        directory = MakeMediaDir("video_panel");
    }

    // A movie at ten frames a second, 24-bit grey or 32-bit of one colour.
    std::string Movie(DWORD frames, DWORD width = 160, DWORD height = 120, COLORREF colour = 0) {
        AviMovie movie;
        movie.frames = frames;
        movie.width = width;
        movie.height = height;
        std::string path = directory + "\\clip.avi";
        WriteBytes(path, colour == 0 ? MakeAvi(movie) : MakeAvi(movie, 32, {colour}));
        return path;
    }

    void Open(const std::string &path) {
        robot.Forget();
        robot.SetAnswer(TypeIntoFileDialog(path));
        Click(IDC_OPEN);
        Pump(200);
        robot.SetAnswer(nullptr);
    }

    // The mouse pressed on a key, held, and let go.
    void Hold(int id, int milliseconds) {
        HWND key = GetDlgItem(VideoPanel, id);
        SendMessageA(key, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        Pump(milliseconds);
        SendMessageA(key, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        Pump(50);
    }
    void Click(int id) { Hold(id, 0); }

    // The boxes seen besides the file dialog.
    std::vector<SeenBox> Boxes() {
        std::vector<SeenBox> boxes;
        for (const SeenBox &box : robot.Seen())
            if (box.caption != "Open")
                boxes.push_back(box);
        return boxes;
    }
    bool Latched(int id) { return ButtonLatched(GetDlgItem(VideoPanel, id)); }
    std::string Shown(int id) { return ControlText(VideoPanel, id); }
    std::vector<SimMciCall> Plays() { return SimMciCallsOf(MCI_PLAY); }
    bool InItsOwnWindow() {
        return GetAncestor(VideoPlaybackWindow, GA_PARENT) == GetDesktopWindow();
    }
    RECT Place(int id) {
        RECT rect{};
        GetWindowRect(GetDlgItem(VideoPanel, id), &rect);
        MapWindowPoints(nullptr, VideoPanel, reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    }
    RECT Picture(HWND relativeTo) {
        RECT rect{};
        GetWindowRect(VideoPlaybackWindow, &rect);
        MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    }

    // The share of the picture's middle that the screen shows in the colour.
    double OnScreen(COLORREF colour) {
        RECT rect{};
        GetClientRect(VideoPlaybackWindow, &rect);
        MapWindowPoints(VideoPlaybackWindow, nullptr, reinterpret_cast<POINT *>(&rect), 2);
        int width = (rect.right - rect.left) / 2, height = (rect.bottom - rect.top) / 2;
        HDC screen = GetDC(nullptr);
        auto pixels =
            CopyPixels(screen, rect.left + width / 2, rect.top + height / 2, width, height);
        ReleaseDC(nullptr, screen);
        uint32_t bgr =
            (uint32_t(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        return double(std::count_if(pixels.begin(), pixels.end(),
                                    [bgr](uint32_t pixel) { return (pixel & 0xFFFFFF) == bgr; })) /
               std::max<size_t>(pixels.size(), 1);
    }

    std::string directory;
};

// In the panel the picture keeps its proportions, centred in its rectangle,
// on the panel's black.
TEST_F(VideoPanelTest, ThePictureKeepsItsProportionsOnBlack) {
    Open(Movie(10, 160, 120));
    EXPECT_TRUE(Is(Picture(VideoPanel), LetterBoxed));
    Open(Movie(10, 200, 50));
    EXPECT_TRUE(Is(Picture(VideoPanel), RECT{83, 36, 209, 68}));
    RedrawWindow(VideoPanel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(VideoPanel);
    for (POINT at : {POINT{100, 20}, POINT{100, 90}, POINT{150, 22}, POINT{400, 45}})
        EXPECT_EQ(GetPixel(dc, at.x, at.y), RGB(0, 0, 0)) << at.x << ", " << at.y;
    ReleaseDC(VideoPanel, dc);
    EXPECT_TRUE(Boxes().empty());
}

// The panel's look: its keys at the size of their faces within its 106
// pixels, none over another or over the picture, and its texts in the
// panels' display face.
TEST_F(VideoPanelTest, TheKeysFitThePlateAndTheTextsUseThePanelsFace) {
    const int keys[] = {IDC_POWER, IDC_VIDEOWINDOW, IDC_OPEN,  IDC_REWSKIP, IDC_REW,
                        IDC_STOP,  IDC_PLAY,        IDC_PAUSE, IDC_FF,      IDC_FFSKIP};
    RECT client{}, inside{};
    GetClientRect(VideoPanel, &client);
    EXPECT_EQ(client.bottom, 106);
    RECT picture = {83, 10, 209, 95};
    std::vector<RECT> rects;
    for (int id : keys) {
        RECT rect = Place(id);
        EXPECT_TRUE(IntersectRect(&inside, &rect, &client) && Is(inside, rect)) << id;
        EXPECT_FALSE(IntersectRect(&inside, &rect, &picture)) << id;
        for (const RECT &other : rects)
            EXPECT_FALSE(IntersectRect(&inside, &rect, &other)) << id;
        rects.push_back(rect);
    }
    EXPECT_TRUE(Is(Place(IDC_PLAY), RECT{358, 70, 401, 91}));
    if (ShellGeneration == 95) {
        for (int id : {IDC_TITLE, IDC_TOTAL, IDC_TIME})
            EXPECT_EQ(
                reinterpret_cast<HFONT>(SendDlgItemMessageA(VideoPanel, id, WM_GETFONT, 0, 0)),
                PanelFont)
                << id;
    }
}

TEST_F(VideoPanelTest, TheWindowKeyKeepsThePlaceWhilePlayingAndThePauseWhilePaused) {
    Open(Movie(50));
    EXPECT_EQ(Shown(IDC_TITLE), "clip.avi");
    EXPECT_EQ(Shown(IDC_TOTAL), "00:05");
    EXPECT_TRUE(Is(Picture(VideoPanel), LetterBoxed));
    Click(IDC_PLAY);
    AdvanceSimClock(1200);
    Click(IDC_VIDEOWINDOW); // the first switch: its own window at the screen origin
    EXPECT_TRUE(InItsOwnWindow());
    EXPECT_TRUE(Is(Picture(nullptr), RECT{0, 0, 160, 120}));
    EXPECT_TRUE(IsWindowVisible(VideoPlaybackWindow));
    EXPECT_EQ(Plays().back().from, 1200u);

    AdvanceSimClock(800);
    Click(IDC_PAUSE);
    MoveWindow(VideoPlaybackWindow, 150, 120, 160, 120, TRUE); // dragged by hand
    size_t plays = Plays().size();
    Click(IDC_VIDEOWINDOW); // back into the panel, still paused
    EXPECT_EQ(GetParent(VideoPlaybackWindow), VideoPanel);
    EXPECT_EQ(VideoPlayState, VideoPaused);
    Click(IDC_VIDEOWINDOW); // out again, where it was left
    EXPECT_TRUE(Is(Picture(nullptr), RECT{150, 120, 310, 240}));
    EXPECT_EQ(Plays().size(), plays);
    Click(IDC_PLAY);
    EXPECT_EQ(Plays().back().from, 2000u);

    Click(IDC_POWER); // its own window plays on without the panel
    EXPECT_FALSE(VideoPanelShown);
    EXPECT_EQ(VideoPlayState, VideoPlaying);
    EXPECT_TRUE(IsWindowVisible(VideoPlaybackWindow));
    EXPECT_TRUE(Boxes().empty());
}

// Keys typed in the video's own window drive the VIDEO panel.
TEST_F(VideoPanelTest, KeysTypedInItsOwnWindowDriveThePanel) {
    Open(Movie(50));
    Click(IDC_VIDEOWINDOW);
    ASSERT_TRUE(InItsOwnWindow());
    Click(IDC_PLAY);
    AdvanceSimClock(1000);
    PostMessageA(VideoPlaybackWindow, WM_KEYDOWN, VK_SPACE, 1);
    Pump(100);
    EXPECT_EQ(VideoPlayState, VideoPaused);
}

TEST_F(VideoPanelTest, HeldForwardStepsTwoFramesPlayingAndBackOnePaused) {
    Open(Movie(50));
    Click(IDC_PLAY);
    AdvanceSimClock(1000);
    ClearSimMciLog();
    Hold(IDC_FF, 600); // on the press, 400 ms later and every 50 ms
    auto steps = SimMciCallsOf(MCI_STEP);
    ASSERT_GE(steps.size(), 3u);
    for (const SimMciCall &step : steps) {
        EXPECT_EQ(step.item, 2u);
        EXPECT_EQ(step.flags, DWORD(MCI_DGV_STEP_FRAMES | MCI_WAIT));
    }
    DWORD reached = 1000 + DWORD(steps.size()) * 200;
    ASSERT_EQ(Plays().size(), 1u) << "playback resumes once, on release";
    EXPECT_EQ(Plays()[0].from, reached);
    EXPECT_EQ(VideoPlayState, VideoPlaying);

    Click(IDC_PAUSE);
    ClearSimMciLog();
    Hold(IDC_REW, 500);
    steps = SimMciCallsOf(MCI_STEP);
    ASSERT_GE(steps.size(), 2u);
    for (const SimMciCall &step : steps) {
        EXPECT_EQ(step.item, 1u);
        EXPECT_NE(step.flags & MCI_DGV_STEP_REVERSE, 0u);
    }
    EXPECT_TRUE(Plays().empty());
    EXPECT_EQ(VideoPlayState, VideoPaused);
    Click(IDC_PAUSE);
    EXPECT_EQ(Plays().back().from, reached - DWORD(steps.size()) * 100);
}

TEST_F(VideoPanelTest, StopShowsTheFirstFrameAndAVideoPlaysToItsEnd) {
    Open(Movie(20));
    Click(IDC_PLAY);
    AdvanceSimClock(1000);
    Pump(300);
    EXPECT_EQ(Shown(IDC_TIME), "00:01");
    Click(IDC_STOP);
    ASSERT_EQ(SimMciCallsOf(MCI_SEEK).size(), 1u);
    EXPECT_NE(SimMciCallsOf(MCI_SEEK)[0].flags & MCI_SEEK_TO_START, 0u);
    EXPECT_EQ(Shown(IDC_TIME), "00:00");
    EXPECT_FALSE(Latched(IDC_PLAY));
    Click(IDC_PLAY);
    EXPECT_EQ(Plays().back().from, 0u);
    AdvanceSimClock(2500);
    Pump(400);
    EXPECT_EQ(VideoPlayState, VideoStopped);
    EXPECT_FALSE(Latched(IDC_PLAY));
    EXPECT_TRUE(Boxes().empty());
    Close();
    EXPECT_EQ(OpenSimMciDevices(), 0);
}

TEST_F(VideoPanelTest, NoVideoIsRefusedAndOddPicturesGiveAWindowOneCanReach) {
    Bytes movie = MakeAvi(AviMovie());
    std::string cut = directory + "\\cut.avi", tone = directory + "\\tone.avi";
    WriteBytes(cut, Bytes(movie.begin(), movie.begin() + 30));
    WriteBytes(tone, MakeWave(PcmFormat(1, 8000, 8), 100));
    for (const std::string &path : {cut, tone}) {
        Open(path);
        ASSERT_EQ(Boxes().size(), 1u) << path;
        EXPECT_EQ(Boxes()[0].caption, "sonikbay32 error");
        EXPECT_EQ(Shown(IDC_TITLE), "VIDEO PLAYER");
        EXPECT_EQ(OpenSimMciDevices(), 0) << path;
    }
    // A MIDI file chosen in the Open dialog goes to its own panel.
    Open(WriteSong(directory, "song.mid", 3));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Shown(IDC_TITLE), "VIDEO PLAYER");
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    SendMessageA(MidiPanel, WM_COMMAND, IDC_STOP, 0);

    Click(IDC_VIDEOWINDOW);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, inside;
    for (DWORD size : {0u, 30000u}) {
        for (size_t at : {64, 68}) { // width and height in the main header
            movie[at] = static_cast<uint8_t>(size);
            movie[at + 1] = static_cast<uint8_t>(size >> 8);
        }
        WriteBytes(directory + "\\odd.avi", movie);
        Open(directory + "\\odd.avi");
        RECT rect = Picture(nullptr);
        EXPECT_TRUE(IntersectRect(&inside, &rect, &screen) && Is(inside, rect)) << size;
        EXPECT_GE(rect.right - rect.left, 32);
        EXPECT_GE(rect.bottom - rect.top, 32);
        EXPECT_TRUE(IsWindowVisible(VideoPlaybackWindow) && Boxes().empty());
    }
}

TEST_F(VideoPanelTest, OnThePlatformsOwnVideoDevice) {
    RemoveSimulatedCard();
    const COLORREF green = RGB(0, 200, 0);
    Open(Movie(20, 64, 48, green));
    ASSERT_EQ(Shown(IDC_TITLE), "clip.avi") << (Boxes().empty() ? "" : Boxes()[0].text);
    EXPECT_EQ(Shown(IDC_TOTAL), "00:02");
    Click(IDC_PLAY);
    Pump(500);
    EXPECT_TRUE(Latched(IDC_PLAY));
    EXPECT_TRUE(Is(Picture(VideoPanel), LetterBoxed));
    EXPECT_GT(OnScreen(green), 0.9);
    Click(IDC_VIDEOWINDOW);
    Pump(500);
    EXPECT_TRUE(InItsOwnWindow());
    EXPECT_GT(OnScreen(green), 0.9);
    Click(IDC_VIDEOWINDOW);
    EXPECT_EQ(GetParent(VideoPlaybackWindow), VideoPanel);
    for (int waited = 0; waited < 5000 && VideoPlayState != VideoStopped; waited += 100)
        Pump(100);
    EXPECT_EQ(VideoPlayState, VideoStopped);
    EXPECT_FALSE(Latched(IDC_PLAY));
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
