// The MIDI panel on the simulated card: a dropped file from drop to the end
// of the song, the transport keys, seeks, errors and the Open dialog.
#include "tests/players/player_test_support.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "players/midi_panel.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <cstdint>

namespace {

class MidiPanelTest : public StationTest {
  protected:
    void StartWithMidiPanel(const SimCardConfig &card = {}) {
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        if (!MidiPanelShown)
            PressLauncher(IDC_SHOW_MIDI);
        Pump(100);
        ASSERT_TRUE(MidiPanelShown);
        robot.Forget();
        directory = MakeMediaDir("midi_panel");
    }

    // Drops a song of the given length and lets it start.
    std::string DropSong(const char *name, DWORD seconds) {
        std::string path = WriteSong(directory, name, seconds);
        DropOnMainWindow({path});
        Pump(100);
        return path;
    }

    void Command(int id, LPARAM lParam = 0) {
        SendMessageA(MidiPanel, WM_COMMAND, static_cast<WPARAM>(id), lParam);
    }

    bool Latched(int id) { return ButtonLatched(GetDlgItem(MidiPanel, id)); }
    std::string Shown(int id) { return ControlText(MidiPanel, id); }
    std::vector<SimMciCall> Plays() { return SimMciCallsOf(MCI_PLAY); }

    // Position the device gives now.
    DWORD DevicePosition() {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_POSITION;
        for (const SimMciCall &call : SimMciCallsOf(MCI_OPEN))
            if (call.deviceType == "sequencer" && call.result == 0)
                Mci.sendCommand(call.device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                                reinterpret_cast<DWORD_PTR>(&status));
        return static_cast<DWORD>(status.dwReturn);
    }

    // The panel's animated display as it is on screen.
    std::vector<uint32_t> DisplayPixels() {
        HDC source = GetDC(MidiPanel);
        std::vector<uint32_t> pixels = CopyPixels(source, 372, 40, 64, 32);
        ReleaseDC(MidiPanel, source);
        return pixels;
    }

    std::string BoxesSeen() {
        std::string list;
        for (const SeenBox &box : robot.Seen())
            list += "[" + box.caption + ": " + box.text + "] ";
        return list;
    }

    std::string directory;
};

TEST_F(MidiPanelTest, ADroppedSongPlaysToItsEndAndTheKeysRelease) {
    StartWithMidiPanel();
    std::string path = DropSong("song.mid", 5);

    auto opens = SimMciCallsOf(MCI_OPEN);
    ASSERT_FALSE(opens.empty());
    EXPECT_EQ(opens.back().deviceType, "sequencer");
    EXPECT_EQ(opens.back().text, path);
    auto sets = SimMciCallsOf(MCI_SET);
    ASSERT_FALSE(sets.empty());
    EXPECT_EQ(sets.back().item, DWORD(MCI_FORMAT_MILLISECONDS));
    EXPECT_EQ(Shown(IDC_TITLE), "song.mid");
    EXPECT_EQ(Shown(IDC_TOTAL), "00:05 tempo:120");

    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_EQ(Plays()[0].flags, DWORD(MCI_NOTIFY | MCI_FROM));
    EXPECT_EQ(Plays()[0].from, 0u);
    EXPECT_TRUE(Latched(IDC_PLAY));
    EXPECT_EQ(MidiPlayState, MidiPlaying);

    std::vector<uint32_t> idle = DisplayPixels();
    AdvanceSimClock(2000);
    Pump(900);
    EXPECT_NE(DisplayPixels(), idle) << "the display animates while the song plays";
    EXPECT_EQ(Shown(IDC_TIME), "00:02");

    AdvanceSimClock(3500);
    Pump(300);
    EXPECT_EQ(MidiPlayState, MidiStopped);
    EXPECT_FALSE(Latched(IDC_PLAY));
    EXPECT_EQ(Shown(IDC_TIME), "00:00");
    EXPECT_FALSE(SimMciCallsOf(MCI_STOP).empty());
    EXPECT_TRUE(robot.Seen().empty()) << BoxesSeen();
}

TEST_F(MidiPanelTest, PauseKeepsThePlaceAndStopStartsAgainFromZero) {
    StartWithMidiPanel();
    DropSong("song.mid", 10);
    AdvanceSimClock(3000);
    Command(IDC_PAUSE);
    EXPECT_EQ(MidiPlayState, MidiPaused);
    EXPECT_TRUE(Latched(IDC_PAUSE));
    AdvanceSimClock(2000); // nothing moves while paused

    Command(IDC_PLAY); // resumes where it paused
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    EXPECT_FALSE(Latched(IDC_PAUSE));
    EXPECT_EQ(Plays().back().from, 3000u);

    Command(IDC_PLAY); // already playing: nothing
    EXPECT_EQ(Plays().size(), 2u);

    Command(IDC_STOP);
    EXPECT_EQ(MidiPlayState, MidiStopped);
    EXPECT_FALSE(Latched(IDC_PLAY));
    EXPECT_EQ(Shown(IDC_TIME), "00:00");
    Command(IDC_PLAY);
    EXPECT_EQ(Plays().back().from, 0u);
    EXPECT_TRUE(Latched(IDC_PLAY));
}

TEST_F(MidiPanelTest, ForwardInTheLastSecondEndsTheSong) {
    StartWithMidiPanel();
    DropSong("song.mid", 5);
    AdvanceSimClock(3000);
    Command(IDC_FF);
    EXPECT_EQ(Plays().back().from, 4000u);
    EXPECT_EQ(Shown(IDC_TIME), "00:04");
    AdvanceSimClock(300);
    Command(IDC_FF);
    EXPECT_EQ(MidiPlayState, MidiStopped);
    EXPECT_FALSE(Latched(IDC_PLAY));
}

TEST_F(MidiPanelTest, ForwardAndBackWhilePausedOnlyMoveTheKeptPlace) {
    StartWithMidiPanel();
    DropSong("song.mid", 10);
    AdvanceSimClock(4000);
    Command(IDC_PAUSE);
    size_t plays = Plays().size();
    Command(IDC_FF);
    Command(IDC_FF);
    EXPECT_EQ(Shown(IDC_TIME), "00:06");
    Command(IDC_REW);
    EXPECT_EQ(Shown(IDC_TIME), "00:05");
    EXPECT_EQ(Plays().size(), plays) << "nothing plays while paused";
    Command(IDC_PAUSE);
    EXPECT_EQ(Plays().back().from, 5000u);

    // Back near the start stops at 0.
    Command(IDC_PAUSE);
    for (int i = 0; i < 7; ++i)
        Command(IDC_REW);
    EXPECT_EQ(Shown(IDC_TIME), "00:00");
}

TEST_F(MidiPanelTest, BackToStartRestartsOnlyAPlayingSong) {
    StartWithMidiPanel();
    DropSong("song.mid", 10);
    AdvanceSimClock(3000);
    Command(IDC_REWSKIP);
    ASSERT_EQ(Plays().size(), 2u);
    EXPECT_EQ(Plays().back().from, 0u);

    AdvanceSimClock(2000);
    Command(IDC_PAUSE);
    size_t plays = Plays().size();
    Command(IDC_REWSKIP);
    EXPECT_EQ(Plays().size(), plays);
    EXPECT_EQ(MidiPlayState, MidiPaused);

    Command(IDC_STOP);
    Command(IDC_REWSKIP);
    EXPECT_EQ(Plays().size(), plays);
    EXPECT_EQ(MidiPlayState, MidiStopped);
}

TEST_F(MidiPanelTest, ACorruptSongShowsTheDevicesOwnErrorText) {
    StartWithMidiPanel();
    std::string path = directory + "\\broken.mid";
    WriteBytes(path, Bytes{'n', 'o', 't', ' ', 'M', 'I', 'D', 'I'});
    DropOnMainWindow({path});
    Pump(300);

    char expected[256] = "";
    Mci.getErrorString(MCIERR_INVALID_FILE, expected, sizeof expected);
    auto seen = robot.Seen();
    ASSERT_EQ(seen.size(), 1u) << BoxesSeen();
    EXPECT_EQ(seen[0].caption, "sonikbay32 error");
    EXPECT_EQ(seen[0].text, expected);
    EXPECT_EQ(seen[0].icon, BoxIcon::Error);
    EXPECT_EQ(seen[0].owner, GetAncestor(MidiPanel, GA_ROOT));
    EXPECT_TRUE(Plays().empty());
    EXPECT_EQ(Shown(IDC_TITLE), "MIDI PLAYER");
}

// With AUTOPLAY a drop stops the panel before it opens; a drop that cannot
// be opened must still leave the next file playable.
TEST_F(MidiPanelTest, AFailedAutoplayDropLeavesThePanelStopped) {
    StartWithMidiPanel();
    Display.autoPlay = 1;
    std::string broken = directory + "\\broken.mid";
    WriteBytes(broken, Bytes{'M', 'T', 'h', 'x'});
    DropOnMainWindow({broken});
    Pump(300);
    EXPECT_EQ(robot.Seen().size(), 1u) << BoxesSeen();
    EXPECT_EQ(MidiPlayState, MidiStopped);

    std::string good = WriteSong(directory, "good.mid", 4);
    robot.SetAnswer(TypeIntoFileDialog(good));
    Command(IDC_OPEN);
    Pump(100);
    Command(IDC_PLAY);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_TRUE(Latched(IDC_PLAY));
}

// With AUTOPLAY on, a drop stops the panel before the old song closes, even
// when the panel stands still.
TEST_F(MidiPanelTest, WithAutoplayADropStopsEvenAStillPanelFirst) {
    StartWithMidiPanel();
    DropSong("first.mid", 10);
    Command(IDC_STOP);
    Display.autoPlay = 1;
    ClearSimMciLog();
    DropSong("second.mid", 6);
    std::vector<std::string> sent;
    for (const SimMciCall &call : SimMciLog())
        if (call.deviceType == "sequencer")
            sent.push_back(MciMessageName(call.message));
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "MCI_STOP");
    EXPECT_EQ(sent[1], "MCI_CLOSE");
    EXPECT_EQ(MidiPlayState, MidiPlaying);
}

TEST_F(MidiPanelTest, TheOpenKeyOpensTheChosenFileWithoutPlaying) {
    StartWithMidiPanel();
    std::string path = WriteSong(directory, "chosen.mid", 7);
    robot.SetAnswer(TypeIntoFileDialog(path));
    Command(IDC_OPEN);
    Pump(100);

    ASSERT_FALSE(SimMciCallsOf(MCI_OPEN).empty());
    EXPECT_EQ(SimMciCallsOf(MCI_OPEN).back().text, path);
    EXPECT_EQ(Shown(IDC_TITLE), "chosen.mid");
    EXPECT_EQ(Shown(IDC_TOTAL), "00:07 tempo:120");
    EXPECT_TRUE(Plays().empty());
    EXPECT_EQ(MidiPlayState, MidiStopped);
}

TEST_F(MidiPanelTest, ANewSongStopsAndClosesTheOneThatPlays) {
    StartWithMidiPanel();
    DropSong("first.mid", 10);
    AdvanceSimClock(2000);
    std::string second = DropSong("second.mid", 6);
    EXPECT_EQ(OpenSimMciDevices(), 2) << "the CD panel's device and the new song's";
    EXPECT_EQ(SimMciCallsOf(MCI_CLOSE).size(), 1u);
    EXPECT_EQ(Shown(IDC_TITLE), "second.mid");
    EXPECT_EQ(Plays().back().from, 0u);
    EXPECT_TRUE(Latched(IDC_PLAY));
}

TEST_F(MidiPanelTest, ClosingThePanelLeavesTheSongPlaying) {
    StartWithMidiPanel();
    DropSong("song.mid", 10);
    Command(IDC_POWER);
    Pump(100);
    EXPECT_FALSE(MidiPanelShown);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    AdvanceSimClock(2000);
    EXPECT_EQ(DevicePosition(), 2000u);
    EXPECT_TRUE(SimMciCallsOf(MCI_STOP).empty());
}

TEST_F(MidiPanelTest, TheDeviceClosesWithTheStation) {
    StartWithMidiPanel();
    DropSong("song.mid", 10);
    Close();
    EXPECT_EQ(OpenSimMciDevices(), 0);
    EXPECT_TRUE(robot.Seen().empty()) << BoxesSeen();
}

TEST_F(MidiPanelTest, TheControlsSitInTheirFixedPlaces) {
    StartWithMidiPanel();
    struct Place {
        int id, x, y, width, height;
    };
    for (Place place : {Place{IDC_REWSKIP, 91, 61, 43, 21}, Place{IDC_PLAY, 229, 61, 43, 21},
                        Place{IDC_POWER, 19, 16, 47, 18}, Place{IDC_TITLE, 100, 8, 237, 18},
                        Place{IDC_TIME, 297, 35, 64, 18}}) {
        HWND control = GetDlgItem(MidiPanel, place.id);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, MidiPanel, reinterpret_cast<POINT *>(&rect), 2);
        EXPECT_EQ(rect.left, place.x) << place.id;
        EXPECT_EQ(rect.top, place.y) << place.id;
        EXPECT_EQ(rect.right - rect.left, place.width) << place.id;
        EXPECT_EQ(rect.bottom - rect.top, place.height) << place.id;
    }
}

// Wine's own "sequencer": it opens the file and reports its length and its
// tempo in microseconds per quarter note, but has no MIDI output here, so
// Play either plays or shows its own error.
TEST_F(MidiPanelTest, OnThePlatformsOwnSequencer) {
    // A card without a CD drive: the CD panel holds no device of the card
    // whose number the platform's own devices could be given.
    SimCardConfig card;
    card.mci.cd.drive = false;
    StartWithMidiPanel(card);
    RemoveSimulatedCard();
    std::string path = WriteSong(directory, "real.mid", 5);

    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    MCIERROR opened = Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                      reinterpret_cast<DWORD_PTR>(&open));
    if (opened != 0)
        GTEST_SKIP() << "no sequencer on this machine: " << opened;
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    Mci.sendCommand(open.wDeviceID, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&set));
    MCI_STATUS_PARMS length{}, tempo{};
    length.dwItem = MCI_STATUS_LENGTH;
    tempo.dwItem = MCI_SEQ_STATUS_TEMPO;
    Mci.sendCommand(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&length));
    Mci.sendCommand(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&tempo));
    MCI_GENERIC_PARMS close{};
    Mci.sendCommand(open.wDeviceID, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));

    robot.SetAnswer(TypeIntoFileDialog(path));
    Command(IDC_OPEN);
    Pump(200);
    EXPECT_EQ(Shown(IDC_TITLE), "real.mid") << BoxesSeen();
    // The song runs at 120 beats per minute, whether the driver answers in
    // beats per minute or in microseconds per quarter note.
    EXPECT_TRUE(tempo.dwReturn == 120 || tempo.dwReturn == 500000) << tempo.dwReturn;
    char total[64];
    std::snprintf(total, sizeof total, "%02lu:%02lu tempo:120",
                  static_cast<unsigned long>(length.dwReturn / 60000),
                  static_cast<unsigned long>(length.dwReturn / 1000 % 60));
    EXPECT_EQ(Shown(IDC_TOTAL), total);

    robot.Forget();
    Command(IDC_PLAY);
    Pump(1000);
    auto seen = robot.Seen();
    if (seen.empty()) {
        EXPECT_EQ(MidiPlayState, MidiPlaying);
        EXPECT_TRUE(Latched(IDC_PLAY));
    } else {
        EXPECT_EQ(seen[0].caption, "sonikbay32 error");
        EXPECT_FALSE(seen[0].text.empty());
        EXPECT_EQ(MidiPlayState, MidiStopped);
    }
    Command(IDC_STOP);
    Close();
}

// Records the player commands that reach the playlist panel, and keeps them
// from it: only what the player sends is looked at here.
std::vector<std::pair<int, LPARAM>> PlaylistCommands;
WNDPROC PlaylistProc;

LRESULT CALLBACK RecordPlaylistCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        PlaylistCommands.emplace_back(LOWORD(wParam), lParam);
        return 0;
    }
    return CallWindowProcA(PlaylistProc, window, message, wParam, lParam);
}

TEST_F(MidiPanelTest, ADrivenPanelEchoesItsOwnCommandsToThePlaylist) {
    StartWithMidiPanel();
    DropSong("song.mid", 10);
    ASSERT_NE(PlaylistPanel, nullptr);
    PlaylistCommands.clear();
    PlaylistProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        PlaylistPanel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPlaylistCommand)));
    CurrentPlayer = MidiPanel;
    const LPARAM fromPlaylist = MAKELPARAM(0, FROM_PLAYLIST);

    Command(IDC_REWSKIP); // within the first second: the previous entry
    Command(IDC_PAUSE);
    Command(IDC_FF, fromPlaylist); // the playlist's own: not sent back
    Command(IDC_FFSKIP);
    using Sent = std::vector<std::pair<int, LPARAM>>;
    EXPECT_EQ(
        PlaylistCommands,
        (Sent{{IDC_REWSKIP, fromPlaylist}, {IDC_PAUSE, fromPlaylist}, {IDC_FFSKIP, fromPlaylist}}));
    EXPECT_EQ(ControlText(PlaylistPanel, IDC_TIME), "00:01");

    SetWindowLongPtrA(PlaylistPanel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlaylistProc));
    CurrentPlayer = nullptr;
}

} // namespace
