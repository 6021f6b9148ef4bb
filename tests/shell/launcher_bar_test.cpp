// The launcher bar's panel stack: opening, closing, closing up the gap, the
// window's height, the screen-height rule and the tool keys.
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"
#include "tests/support/station_harness.h"

#include <vector>

namespace {

constexpr int EmptyClientHeight = 40; // the launcher bar alone

class LauncherBarTest : public StationTest {
  protected:
    // Starts with nothing shown.
    void StartEmpty(const SimCardConfig &card = {}) {
        WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=0\r\n"
                          "MIXDISPLAY=0\r\nMULTIDISPLAY=0\r\n");
        ASSERT_EQ(Start("", card), -1);
        robot.Forget();
    }

    // Every shown panel lies directly under the one above it and the main
    // window's client area ends exactly at the last panel's bottom edge.
    void ExpectTightStack() {
        int expectedTop = EmptyClientHeight + 1;
        for (HWND panel : StackOrder()) {
            RECT rect = RectInMain(panel);
            EXPECT_EQ(rect.left, 0);
            EXPECT_EQ(rect.right - rect.left, 639);
            EXPECT_EQ(rect.top, expectedTop);
            expectedTop = rect.bottom + 1;
        }
        EXPECT_EQ(ClientRectOf(MainWindow).bottom, expectedTop - 1);
        EXPECT_EQ(ClientHeight, expectedTop - 1);
    }

    bool Parked(HWND panel) {
        RECT rect = RectInMain(panel);
        return rect.left >= ClientRectOf(MainWindow).right;
    }
};

} // namespace

TEST_F(LauncherBarTest, BarSitsOnTopOfAnEmptyStack) {
    StartEmpty();
    RECT bar = RectInMain(LauncherBar);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.top, 1);
    EXPECT_EQ(bar.right - bar.left, 639);
    EXPECT_EQ(bar.bottom - bar.top, 38);
    EXPECT_EQ(ClientHeight, EmptyClientHeight);
    for (HWND panel : {CdPanel, MidiPanel, WavePanel, PlaylistPanel, VideoPanel})
        EXPECT_TRUE(Parked(panel));
    RECT key;
    GetWindowRect(GetDlgItem(LauncherBar, IDC_SHOW_CD), &key);
    MapWindowPoints(nullptr, LauncherBar, reinterpret_cast<POINT *>(&key), 2);
    EXPECT_EQ(key.left, 216);
    EXPECT_EQ(key.top, 26);
    EXPECT_EQ(key.right - key.left, 51);
    EXPECT_EQ(key.bottom - key.top, 14);
}

TEST_F(LauncherBarTest, PanelsStackInOpeningOrderAndCloseUpTheGap) {
    StartEmpty();
    PressLauncher(IDC_SHOW_CD);
    PressLauncher(IDC_SHOW_MIDI);
    PressLauncher(IDC_SHOW_WAVE);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel, MidiPanel, WavePanel}));
    ExpectTightStack();
    for (int key : {IDC_SHOW_CD, IDC_SHOW_MIDI, IDC_SHOW_WAVE})
        EXPECT_TRUE(ButtonLatched(GetDlgItem(LauncherBar, key))) << key;
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_SHOW_PLAYLIST)));

    PressLauncher(IDC_SHOW_CD); // a lit key closes its panel through the panel's power key
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_SHOW_CD)));
    EXPECT_FALSE(CdPanelShown);
    EXPECT_TRUE(Parked(CdPanel));
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{MidiPanel, WavePanel}));
    ExpectTightStack();

    PressLauncher(IDC_SHOW_PLAYLIST);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{MidiPanel, WavePanel, PlaylistPanel}));
    ExpectTightStack();

    SendMessageA(WavePanel, WM_COMMAND, IDC_POWER, 0);
    SendMessageA(MidiPanel, WM_COMMAND, IDC_POWER, 0);
    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_POWER, 0);
    EXPECT_TRUE(StackOrder().empty());
    EXPECT_EQ(ClientHeight, EmptyClientHeight);
}

TEST_F(LauncherBarTest, PowerKeyFromThePlaylistSequencerDoesNotClosePlaylist) {
    StartEmpty();
    PressLauncher(IDC_SHOW_PLAYLIST);
    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_POWER, MAKELPARAM(0, FROM_PLAYLIST));
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{PlaylistPanel}));
}

TEST_F(LauncherBarTest, RemovingAPanelNotInTheStackAnswersZero) {
    StartEmpty();
    EXPECT_EQ(RemovePanel(CdPanel, PanelSlotHeight), 0);
    EXPECT_EQ(ClientHeight, EmptyClientHeight);
}

TEST_F(LauncherBarTest, PressIsIgnoredWhenTheScreenHasNoRoomForAnotherSlot) {
    StartEmpty();
    PressLauncher(IDC_SHOW_CD);
    ScreenHeight = ClientHeight + PanelSlotHeight; // the next slot would reach the bottom
    PressLauncher(IDC_SHOW_MIDI);
    EXPECT_FALSE(MidiPanelShown);
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_SHOW_MIDI)));
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel}));
    ScreenHeight = ClientHeight + PanelSlotHeight + 1;
    PressLauncher(IDC_SHOW_MIDI);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel, MidiPanel}));
}

TEST_F(LauncherBarTest, MixerPanelIsCreatedOnOpeningAndDestroyedOnClosing) {
    SimCardConfig card;
    card.mixer.present = true;
    StartEmpty(card);
    EXPECT_TRUE(MixerAvailable);
    PressLauncher(IDC_SHOW_WAVE);
    PressLauncher(IDC_SHOW_MIXER);
    ASSERT_NE(MixerPanel, nullptr);
    EXPECT_TRUE(ButtonLatched(GetDlgItem(LauncherBar, IDC_SHOW_MIXER)));
    HWND mixer = MixerPanel;
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{WavePanel, MixerPanel}));
    // The mixer panel sits one pixel higher than the other panels.
    EXPECT_EQ(RectInMain(mixer).top, RectInMain(WavePanel).bottom);

    PressLauncher(IDC_SHOW_WAVE);
    EXPECT_EQ(RectInMain(mixer).top, EmptyClientHeight + 1);
    PressLauncher(IDC_SHOW_MIXER);
    EXPECT_EQ(MixerPanel, nullptr);
    EXPECT_FALSE(IsWindow(mixer));
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_SHOW_MIXER)));
    EXPECT_TRUE(StackOrder().empty());
    EXPECT_EQ(ClientHeight, EmptyClientHeight);
}

TEST_F(LauncherBarTest, WithoutMixerTheMixerKeyDoesNothing) {
    StartEmpty();
    PressLauncher(IDC_SHOW_MIXER);
    EXPECT_EQ(MixerPanel, nullptr);
    EXPECT_TRUE(StackOrder().empty());
}

TEST_F(LauncherBarTest, VideoPanelTakesATallerSlot) {
    StartEmpty();
    HWND videoKey = GetDlgItem(LauncherBar, IDC_SHOW_VIDEO);
    EXPECT_FALSE(IsWindowVisible(videoKey));
    EXPECT_FALSE(IsWindowEnabled(videoKey));
    PressLauncher(IDC_SHOW_VIDEO);
    ASSERT_EQ(StackOrder(), (std::vector<HWND>{VideoPanel}));
    EXPECT_EQ(ClientHeight, EmptyClientHeight + VideoSlotHeight - 3);
    PressLauncher(IDC_SHOW_CD);
    EXPECT_EQ(RectInMain(CdPanel).top, ClientHeight - 82);
    PressLauncher(IDC_SHOW_VIDEO);
    EXPECT_FALSE(VideoPanelShown);
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{CdPanel}));
    ExpectTightStack();
}

TEST_F(LauncherBarTest, AutoPlayStartsThePlaylistOnlyOnItsFirstOpening) {
    WriteSettingsFile("[Mixer]\r\nAUTOPLAY=1\r\n");
    ASSERT_EQ(Start(), -1);
    EXPECT_TRUE(AutoPlayStarted);
    AutoPlayStarted = true;
    PressLauncher(IDC_SHOW_PLAYLIST); // closes
    PressLauncher(IDC_SHOW_PLAYLIST); // opens again, without starting
    EXPECT_EQ(StackOrder(), (std::vector<HWND>{PlaylistPanel}));
    EXPECT_TRUE(AutoPlayStarted);
}

TEST_F(LauncherBarTest, ConfigurationDialogRunsModallyAndReturns) {
    StartEmpty();
    bool latchedWhileOpen = false;
    robot.SetAnswer([&](const SeenBox &) {
        latchedWhileOpen = ButtonLatched(GetDlgItem(LauncherBar, IDC_CONFIG));
        return IDCANCEL;
    });
    PressLauncher(IDC_CONFIG);
    EXPECT_TRUE(latchedWhileOpen);
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_CONFIG)));
    auto boxes = robot.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Config");
    EXPECT_EQ(boxes[0].owner, MainWindow);
}

TEST_F(LauncherBarTest, OptionsAreReadAtCreationAndSavedAtExit) {
    WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nWAVEDISPLAY=0\r\nMIDIDISPLAY=0\r\n"
                      "Lock=0\r\nWaveLock=1\r\nMonoIn=1\r\nPlayListName=Party\r\n"
                      "PlayListEntry=ListParty\r\n");
    ASSERT_EQ(Start(), -1);
    EXPECT_EQ(LockOption, 0);
    EXPECT_EQ(WaveLockOption, 1);
    EXPECT_EQ(MonoInOption, 1);
    EXPECT_STREQ(PlayListName, "Party");
    Close();
    EXPECT_EQ(Setting("Mixer", "Lock"), "0");
    EXPECT_EQ(Setting("Mixer", "WaveLock"), "1");
    EXPECT_EQ(Setting("Mixer", "MonoIn"), "1");
    EXPECT_EQ(Setting("Mixer", "PlayListEntry"), "ListParty");
}

TEST_F(LauncherBarTest, ThreeDWindowOpensAtTheFirstPaintWhenItWasOpenAtExit) {
    WriteSettingsFile("[EFX]\r\nDLOG=1\r\n");
    SimCardConfig card;
    card.mixer.present = true;
    ASSERT_EQ(Start("", card), -1);
    UpdateWindow(LauncherBar);
    Pump();
    ASSERT_TRUE(EfxAvailable);
    EXPECT_TRUE(EfxWindowOpen);
    ASSERT_NE(EfxWindow, nullptr);
    EXPECT_TRUE(ButtonLatched(GetDlgItem(LauncherBar, IDC_EFX)));

    PressLauncher(IDC_EFX); // closes it again
    EXPECT_FALSE(EfxWindowOpen);
    EXPECT_EQ(EfxWindow, nullptr);
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_EFX)));
}
