// Keys and media keys sent to the running station: each changes what the
// click of the panel key it stands for changes, on the player used last,
// and nothing while a dialog of the station holds the keyboard.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/midi_panel.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"
#include "shell/station_keys.h"

#include <atomic>
#include <string>
#include <vector>

namespace {

constexpr UINT AppCommand = 0x0319;

class StationKeysTest : public StationTest {
  protected:
    // A list of two songs of 5 s and a WAVE file of 1 s.
    void StartWithPlaylist() {
        directory = MakeMediaDir("keys");
        first = WriteSong(directory, "first.mid", 5);
        second = WriteSong(directory, "second.mid", 5);
        wave = directory + "\\short.wav";
        WriteBytes(wave, MakeWave(PcmFormat(1, 11025, 8), 1000));
        WriteSettingsFile("[Mixer]\r\nMULTIDISPLAY=5\r\nAUTOPLAY=0\r\n[Listuntitled]\r\n0=" +
                          first + "\r\n1=" + second + "\r\n2=" + wave + "\r\n3=ENDFLAG.END\r\n");
        SimCardConfig card;
        card.mixer.present = true;
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        PressLauncher(IDC_SHOW_VIDEO);
        SetForegroundWindow(MainWindow);
        SetActiveWindow(MainWindow);
        Pump(100);
        robot.Forget();
    }

    void TearDown() override {
        StationTest::TearDown();
        CurrentPlayer = nullptr;
        PlaylistRunning = 0;
        CurrentEntryIndex = 0;
        KeyedPlayer = nullptr;
    }

    void Key(WPARAM key, UINT message = WM_KEYDOWN) {
        PostMessageA(MainWindow, message, key, 1);
        PostMessageA(MainWindow, message == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, key, 0xC0000001);
        Pump(100);
    }
    // A key typed where the keyboard focus is.
    void FocusKey(WPARAM key) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Pump(100);
    }
    void MediaKey(int command) {
        SendMessageA(MainWindow, AppCommand, reinterpret_cast<WPARAM>(MainWindow),
                     MAKELPARAM(0, command));
        Pump(100);
    }
    // A click of a panel key, as the key posts it.
    void Click(HWND panel, int id) {
        HWND key = GetDlgItem(panel, id);
        PostMessageA(panel, WM_COMMAND, id, reinterpret_cast<UINT_PTR>(key) & 0xFFFF);
        Pump(100);
    }
    bool Latched(HWND panel, int id) { return ButtonLatched(GetDlgItem(panel, id)); }

    std::string directory, first, second, wave;
};

TEST_F(StationKeysTest, KeysAndMediaKeysDoWhatTheClicksOfTheLastUsedPlayerDo) {
    StartWithPlaylist();
    Key(VK_SPACE); // no player used yet
    EXPECT_EQ(MidiPlayState, MidiStopped);

    DropOnMainWindow({first}); // a drop plays
    Pump(200);
    ASSERT_EQ(KeyedPlayer, MidiPanel);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    Key(VK_RIGHT);
    EXPECT_GE(SimMciCallsOf(MCI_PLAY).back().from, 1000u);
    Key(VK_SPACE);
    EXPECT_EQ(MidiPlayState, MidiPaused);
    EXPECT_TRUE(Latched(MidiPanel, IDC_PAUSE));
    Key(VK_SPACE);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    Key('S');
    EXPECT_EQ(MidiPlayState, MidiStopped);
    EXPECT_FALSE(Latched(MidiPanel, IDC_PLAY));
    Key(VK_SPACE);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    EXPECT_TRUE(Latched(MidiPanel, IDC_PLAY));
    Key('S');

    MediaKey(14); // play/pause
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    MediaKey(46); // play: already playing
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    MediaKey(47); // pause
    EXPECT_EQ(MidiPlayState, MidiPaused);
    MediaKey(13); // stop
    EXPECT_EQ(MidiPlayState, MidiStopped);

    // The playlist's Play makes it the player used last; Page Down and Up
    // walk its entries as its skip keys do.
    Click(PlaylistPanel, IDC_PLAY);
    ASSERT_EQ(KeyedPlayer, PlaylistPanel);
    EXPECT_EQ(PlaylistRunning, 1);
    Key(VK_NEXT);
    EXPECT_EQ(CurrentEntryIndex, 1);
    MediaKey(12); // previous track
    EXPECT_EQ(CurrentEntryIndex, 0);
    Key(0xBE); // the period
    EXPECT_EQ(PlaylistRunning, 0);

    // Launcher keys by their letters, also with Alt; a held key counts once.
    bool shown = PlaylistPanelShown;
    Key('L');
    EXPECT_NE(PlaylistPanelShown, shown);
    Key('L', WM_SYSKEYDOWN);
    EXPECT_EQ(PlaylistPanelShown, shown);
    PostMessageA(MainWindow, WM_KEYDOWN, 'M', 0x40000001);
    Pump(100);
    EXPECT_TRUE(MidiPanelShown);
}

// The stops the station sends itself never choose the player the keys drive:
// a WAVE file ending beside a playing song, a list handed from MIDI to WAVE.
TEST_F(StationKeysTest, TheStationsOwnStopsLeaveTheKeysWhereTheUserPutThem) {
    StartWithPlaylist();
    DropOnMainWindow({wave});
    DropOnMainWindow({first});
    Pump(200);
    AdvanceSimClock(1100);
    Pump(400); // the WAVE file ends
    Key(VK_SPACE);
    EXPECT_EQ(MidiPlayState, MidiPaused);
    EXPECT_EQ(WavePlayState, WaveStopped);

    SendDlgItemMessageA(PlaylistPanel, 1061, LB_SETCURSEL, 1, 0);
    Click(PlaylistPanel, IDC_PLAY);
    AdvanceSimClock(5100);
    Pump(600);
    Key(VK_PRIOR);
    EXPECT_EQ(CurrentEntryIndex, 1);
}

// Space and play/pause resume a paused list where it was, and a paused take.
TEST_F(StationKeysTest, SpaceResumesAPausedListAndAPausedTake) {
    StartWithPlaylist();
    robot.SetAnswer([](const SeenBox &box) { return box.text.rfind("[", 0) == 0 ? IDNO : 0; });
    Click(PlaylistPanel, IDC_PLAY);
    AdvanceSimClock(2000);
    Key(VK_SPACE);
    MediaKey(14);
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_GE(SimMciCallsOf(MCI_PLAY).back().from, 2000u) << "resumed, not started again";
    Key('S');
    Click(WavePanel, IDC_RECORD);
    Click(WavePanel, IDC_PAUSE);
    Key(VK_SPACE);
    EXPECT_EQ(WavePlayState, WaveRecording);
    Key('S');
}

// Keys through the station's own routing while the configuration dialog is
// open: a thread timer runs on the station's thread inside the dialog's loop.
std::atomic<bool> KeysRouted;

void CALLBACK RouteKeysWhileTheDialogIsOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "Config");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    for (HWND target : {dialog, MainWindow, MidiPanel}) {
        for (WPARAM key : {WPARAM(VK_SPACE), WPARAM('W')}) {
            MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
            DispatchStationMessage(message);
        }
    }
    KeysRouted = true;
}

TEST_F(StationKeysTest, NothingHappensToThePanelsWhileADialogIsOpen) {
    StartWithPlaylist();
    DropOnMainWindow({first});
    Pump(200);
    ASSERT_EQ(KeyedPlayer, MidiPanel);
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    bool waveShown = WavePanelShown;
    KeysRouted = false;
    robot.SetAnswer([](const SeenBox &box) {
        if (box.caption != "Config")
            return 0;
        SendMessageA(MainWindow, AppCommand, 0, MAKELPARAM(0, 14));
        for (int waited = 0; waited < 2000 && !KeysRouted; waited += 50)
            Sleep(50);
        Sleep(200); // what the keys would have posted is carried out in the dialog's loop
        return IDCANCEL;
    });
    SetTimer(nullptr, 0, 50, RouteKeysWhileTheDialogIsOpen);
    PressLauncher(IDC_CONFIG);
    Pump(200);
    EXPECT_TRUE(KeysRouted);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    EXPECT_EQ(WavePanelShown, waveShown);

    // The 3D sound window, which the main window owns, keeps its keys too.
    PressLauncher(IDC_EFX);
    ASSERT_NE(EfxWindow, nullptr);
    PostMessageA(EfxWindow, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(GetWindow(EfxWindow, GW_CHILD), WM_KEYDOWN, 'W', 1);
    Pump(100);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    EXPECT_EQ(WavePanelShown, waveShown);
}

// Tab and Shift+Tab go round the keys and faders of the panels in reading
// order, on to the next panel; Escape gives the focus back to the station.
TEST_F(StationKeysTest, TabGoesRoundTheKeysOfAPanelThenTheNextAndEscapeLeavesThem) {
    StartWithPlaylist(); // WAVE, MIDI, CD, mixer, playlist and VIDEO, top to bottom
    SetFocus(GetDlgItem(WavePanel, IDC_POWER));
    std::vector<int> visited;
    for (int i = 0; i < 10; ++i) {
        FocusKey(VK_TAB);
        visited.push_back(GetDlgCtrlID(GetFocus()));
    }
    EXPECT_EQ(visited, (std::vector<int>{IDC_OPEN, IDC_REWSKIP, IDC_REW, IDC_STOP, IDC_PLAY,
                                         IDC_PAUSE, IDC_FF, IDC_RECORD, IDC_RECSOURCE, IDC_POWER}));
    EXPECT_EQ(GetParent(GetFocus()), MidiPanel);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    FocusKey(VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), GetDlgItem(WavePanel, IDC_RECSOURCE));
    FocusKey(VK_ESCAPE);
    EXPECT_EQ(GetFocus(), MainWindow);

    // The 3D window, a dialog, focuses its first key, and Tab goes round
    // its own keys; on a preset, MANUAL's faders and the 3D key are below
    // its edge.
    PressLauncher(IDC_EFX);
    ASSERT_NE(EfxWindow, nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(EfxWindow, 1161));
    SetFocus(GetDlgItem(EfxWindow, 1165));
    FocusKey(VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(EfxWindow, 1161));
    FocusKey(VK_ESCAPE);
    EXPECT_EQ(GetFocus(), MainWindow);
}

// A focused key takes Space from the station and does what its click does;
// a focused fader takes the arrows and moves by one step.
TEST_F(StationKeysTest, SpacePressesAFocusedKeyAndArrowsMoveAFocusedFader) {
    StartWithPlaylist();
    DropOnMainWindow({first});
    Pump(200);
    ASSERT_EQ(KeyedPlayer, MidiPanel);
    SetFocus(GetDlgItem(PlaylistPanel, IDC_PLAY));
    FocusKey(VK_SPACE);
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_EQ(KeyedPlayer, PlaylistPanel) << "the key's own command";

    ASSERT_NE(MixerPanel, nullptr);
    HWND fader = GetDlgItem(MixerPanel, 23);
    SetFocus(fader);
    SendMessageA(fader, SVM_SETPOS, 0, MAKELPARAM(0, 8));
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    FocusKey(VK_LEFT);
    EXPECT_EQ(SendMessageA(fader, SVM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays) << "the list is not rewound";
}

} // namespace
