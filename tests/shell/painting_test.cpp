// Painting helpers: the display animation's frames and ticks, text colours,
// remembered keys and the record-source indicators, the screen windows are
// kept on, and that painting the whole station gives back every GDI object it
// makes.
#include "panekit/gdi_owners.h"
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/station.h"
#include "tests/support/object_census.h"
#include "tests/support/station_harness.h"

#include <vector>

namespace {

using PaintingTest = StationTest;

struct ControlMessage {
    HWND window;
    UINT command;
};
std::vector<ControlMessage> Recorded;

LRESULT CALLBACK RecordControlMessage(int code, WPARAM wParam, LPARAM lParam) {
    auto *sent = reinterpret_cast<CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_COMMAND &&
        (sent->wParam == CMD_SET_ON || sent->wParam == CMD_SET_OFF))
        Recorded.push_back({sent->hwnd, static_cast<UINT>(sent->wParam)});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Records the CMD_SET_ON / CMD_SET_OFF commands sent to any window of this thread.
class ControlMessageRecorder {
  public:
    ControlMessageRecorder() {
        Recorded.clear();
        hook_ =
            SetWindowsHookExA(WH_CALLWNDPROC, RecordControlMessage, nullptr, GetCurrentThreadId());
    }
    ~ControlMessageRecorder() { UnhookWindowsHookEx(hook_); }
    ControlMessageRecorder(const ControlMessageRecorder &) = delete;
    ControlMessageRecorder &operator=(const ControlMessageRecorder &) = delete;

  private:
    HHOOK hook_;
};

} // namespace

TEST_F(PaintingTest, DisplayAnimatesWhilePlayingAndPollsEveryThirdTick) {
    ASSERT_EQ(Start(), -1);
    int frame = IdleDisplay;
    int ticks = 0;
    std::vector<int> frames;
    std::vector<int> polls;
    for (int tick = 0; tick < 12; ++tick) {
        polls.push_back(AnimateDisplay(MidiPanel, 1, &frame, &ticks));
        frames.push_back(frame);
    }
    EXPECT_EQ(frames,
              (std::vector<int>{105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 105, 106}));
    EXPECT_EQ(polls, (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(ticks, 0);

    // Paused: the frame stays, the ticks still count.
    EXPECT_EQ(AnimateDisplay(MidiPanel, 2, &frame, &ticks), 0);
    EXPECT_EQ(AnimateDisplay(MidiPanel, 2, &frame, &ticks), 0);
    EXPECT_EQ(AnimateDisplay(MidiPanel, 2, &frame, &ticks), 1);
    EXPECT_EQ(frame, 106);
    // Recording animates as playing does.
    AnimateDisplay(WavePanel, 3, &frame, &ticks);
    EXPECT_EQ(frame, 107);
}

TEST_F(PaintingTest, StaticTextsAreCyanOnBlackWithTheBrushAlignedToThePanel) {
    ASSERT_EQ(Start(), -1);
    HDC dc = GetDC(CdPanel);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    StaticColors(brush, CdPanel, dc);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 255, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 0));
    POINT origin{0, 0};
    ClientToScreen(CdPanel, &origin);
    POINT brushOrigin{};
    GetBrushOrgEx(dc, &brushOrigin);
    EXPECT_EQ(brushOrigin.x, origin.x);
    EXPECT_EQ(brushOrigin.y, origin.y);
    DeleteObject(brush);
    ReleaseDC(CdPanel, dc);
}

TEST_F(PaintingTest, LatchedButtonsAreReleasedAndForgotten) {
    ASSERT_EQ(Start(), -1);
    HWND play = GetDlgItem(MidiPanel, IDC_PLAY);
    HWND pause = nullptr;
    ControlMessageRecorder recorder;
    ReleaseLatchedButtons(&play, &pause);
    EXPECT_EQ(play, nullptr);
    EXPECT_EQ(pause, nullptr);
    ASSERT_EQ(Recorded.size(), 1u);
    EXPECT_EQ(Recorded[0].window, GetDlgItem(MidiPanel, IDC_PLAY));
    EXPECT_EQ(Recorded[0].command, static_cast<UINT>(CMD_SET_OFF));
}

TEST_F(PaintingTest, OneSourceIndicatorIsLitAndTheOthersDarkened) {
    ASSERT_EQ(Start(), -1);
    ControlMessageRecorder recorder;
    SelectSourceIndicator(WavePanel, 4020);
    ASSERT_EQ(Recorded.size(), 4u);
    for (const ControlMessage &sent : Recorded) {
        int id = GetDlgCtrlID(sent.window);
        EXPECT_EQ(GetParent(sent.window), WavePanel);
        EXPECT_EQ(sent.command, static_cast<UINT>(id == 4020 ? CMD_SET_ON : CMD_SET_OFF)) << id;
    }
}

// Metrics of a system with two monitors, the second left of the first, and
// of one that has no virtual screen metrics (they answer 0).
int WINAPI TwoMonitors(int index) {
    switch (index) {
    case SM_XVIRTUALSCREEN: return -1280;
    case SM_YVIRTUALSCREEN: return -24;
    case SM_CXVIRTUALSCREEN: return 2304;
    case SM_CYVIRTUALSCREEN: return 1048;
    case SM_CXSCREEN: return 1024;
    case SM_CYSCREEN: return 768;
    }
    return 0;
}
int WINAPI NoVirtualScreen(int index) {
    return index == SM_CXSCREEN ? 800 : index == SM_CYSCREEN ? 600 : 0;
}

TEST(ReachableScreen, IsTheVirtualScreenOrThePrimaryOneWhereThereIsNone) {
    RECT all = ReachableScreen(TwoMonitors);
    EXPECT_EQ(all.left, -1280);
    EXPECT_EQ(all.top, -24);
    EXPECT_EQ(all.right, 1024);
    EXPECT_EQ(all.bottom, 1024);
    RECT old = ReachableScreen(NoVirtualScreen);
    EXPECT_EQ(old.left, 0);
    EXPECT_EQ(old.top, 0);
    EXPECT_EQ(old.right, 800);
    EXPECT_EQ(old.bottom, 600);
}

TEST_F(PaintingTest, ThousandRepaintsOfTheWholeStationKeepNoGdiObject) {
    ASSERT_TRUE(StartWithEveryPanel());
    auto repaint = [] {
        RedrawWindow(MainWindow, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    repaint(); // the first paint makes the shared palette, which lives until exit
    long ownedBefore = gdi::LiveGdiHandles();
    int gdiBefore = LiveGdiObjects();
    int windowsBefore = LiveWindows();
    for (int count = 0; count < 1000; ++count) {
        repaint();
        ASSERT_EQ(gdi::LiveGdiHandles(), ownedBefore) << "after repaint " << count;
    }
    Pump();
    EXPECT_LE(LiveGdiObjects(), gdiBefore) << "GDI objects of the whole process";
    EXPECT_EQ(LiveWindows(), windowsBefore);
}
