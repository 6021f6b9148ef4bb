// The CD panel on the simulated card's drive: discs, data discs, an empty
// drive, the tray, a drive held by another program and one already playing;
// the transport and its arithmetic in tracks, minutes, seconds and frames;
// the play for the playlist; the poll on both platform families and shells.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int TrackLine = 3005;
constexpr int DiscTime = 3004;
constexpr int Position = 3003;
constexpr int Door = 1014;
constexpr int Repeat = 4034;

DWORD Tmsf(DWORD track, DWORD minutes, DWORD seconds, DWORD frames = 0) {
    return MCI_MAKE_TMSF(track, minutes, seconds, frames);
}

class CdPanelTest : public StationTest {
  protected:
    void TearDown() override {
        CurrentPlayer = nullptr;
        PlaylistRunning = 0;
        StationTest::TearDown();
    }

    // Three tracks: 01:10, 01:05 and 00:30; the disc lasts 02:45.
    static SimDisc ThreeTracks() { return AudioDisc({70, 65, 30}); }

    void StartWith(const SimCdConfig &cd, const char *commandLine = "") {
        SimCardConfig card;
        card.mci.cd = cd;
        ASSERT_EQ(Start(commandLine, card), 0 + StationRunning);
        if (!CdPanelShown)
            PressLauncher(IDC_SHOW_CD);
        ASSERT_TRUE(CdPanelShown);
        robot.Forget();
    }
    void StartWithDisc(const char *commandLine = "") {
        SimCdConfig cd;
        cd.discLoaded = true;
        cd.disc = ThreeTracks();
        StartWith(cd, commandLine);
    }

    void Command(int id, LPARAM lParam = 0) {
        SendMessageA(CdPanel, WM_COMMAND, static_cast<WPARAM>(id), lParam);
    }
    // Exactly one poll of the drive: three ticks of the panel's timer, with
    // what the card posted (notifications) handled first and afterwards.
    void Poll() {
        DispatchPosted();
        for (int tick = 0; tick < 3; ++tick)
            SendMessageA(CdPanel, WM_TIMER, 1, 0);
        DispatchPosted();
    }
    // Posted messages, but none of the real timer's ticks.
    static void DispatchPosted() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&message, nullptr, WM_TIMER + 1, 0xFFFFFFFFu, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // A person's click on one of the panel's keys.
    void Click(int id) {
        HWND key = GetDlgItem(CdPanel, id);
        SendMessageA(key, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(key, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    }

    std::string Shown(int id) { return ControlText(CdPanel, id); }
    bool Latched(int id) { return ButtonLatched(GetDlgItem(CdPanel, id)); }
    SimMciCall LastPlay() {
        std::vector<SimMciCall> plays = SimMciCallsOf(MCI_PLAY);
        return plays.empty() ? SimMciCall() : plays.back();
    }
    std::vector<DWORD> StatusItemsAsked() {
        std::vector<DWORD> items;
        for (const SimMciCall &call : SimMciCallsOf(MCI_STATUS))
            items.push_back(call.item);
        return items;
    }
    static bool Has(const std::vector<DWORD> &items, DWORD item) {
        return std::find(items.begin(), items.end(), item) != items.end();
    }
};

TEST_F(CdPanelTest, PlayAloneRunsToTheDiscsEndAndRepeatStartsItAgain) {
    StartWithDisc("/play");
    EXPECT_EQ(Shown(IDC_TITLE), "untitled");
    EXPECT_EQ(Shown(TrackLine), "Track 01: untitled1");
    EXPECT_EQ(Shown(DiscTime), "02:45");
    EXPECT_EQ(DiscId, DWORD(MCI_MAKE_MSF(2, 45, 0)));
    EXPECT_EQ(TrackCount, 3u);

    // "/play" alone: track 1, on to the end of the disc.
    EXPECT_EQ(LastPlay().from, Tmsf(1, 0, 0));
    EXPECT_EQ(LastPlay().flags, DWORD(MCI_FROM | MCI_NOTIFY));
    EXPECT_EQ(CdPlayState, 1);
    EXPECT_TRUE(Latched(IDC_PLAY));

    AdvanceSimClock(75000);
    Poll();
    EXPECT_EQ(Shown(TrackLine), "Track 02: untitled2");
    EXPECT_EQ(Shown(Position), "00:05");

    AdvanceSimClock(60000);
    Poll();
    AdvanceSimClock(40000); // past the end of track 3
    Poll();
    EXPECT_EQ(CdPlayState, 0);
    EXPECT_FALSE(Latched(IDC_PLAY));
    EXPECT_EQ(Shown(TrackLine), "Track 01: untitled1");
    EXPECT_EQ(Shown(Position), "00:00");

    Click(Repeat);
    EXPECT_TRUE(Latched(Repeat));
    Command(IDC_PLAY);
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    AdvanceSimClock(70000);
    Poll();
    AdvanceSimClock(70000);
    Poll();
    AdvanceSimClock(40000);
    Poll();
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays + 1);
    EXPECT_EQ(LastPlay().from, Tmsf(1, 0, 0)) << "repeat starts again at track 1";
    EXPECT_EQ(CdPlayState, 1);
    EXPECT_TRUE(robot.Seen().empty());
}

TEST_F(CdPanelTest, SixSecondStepsCrossMinutesButNeverTracks) {
    StartWithDisc();
    Command(IDC_FF); // stopped: nothing
    EXPECT_TRUE(SimMciCallsOf(MCI_PLAY).empty());

    Command(IDC_PLAY);
    AdvanceSimClock(58000);
    Command(IDC_FF);
    EXPECT_EQ(LastPlay().from, Tmsf(1, 1, 4));
    EXPECT_EQ(Shown(Position), "01:04");

    AdvanceSimClock(1000); // 01:05 of 01:10: within the last 6 seconds
    Command(IDC_FF);
    EXPECT_EQ(LastPlay().from, Tmsf(2, 0, 0));
    EXPECT_EQ(Shown(TrackLine), "Track 02: untitled2");

    AdvanceSimClock(63000);
    Command(IDC_REW);
    EXPECT_EQ(LastPlay().from, Tmsf(2, 0, 57));
    AdvanceSimClock(4000); // 01:01
    Command(IDC_PAUSE);
    EXPECT_TRUE(Latched(IDC_PAUSE));
    Command(IDC_REW); // paused: only the kept place moves
    EXPECT_EQ(Shown(Position), "00:55");
    EXPECT_EQ(LastPlay().from, Tmsf(2, 0, 57));
    Command(IDC_PAUSE);
    EXPECT_EQ(LastPlay().from, Tmsf(2, 0, 55));
    EXPECT_FALSE(Latched(IDC_PAUSE));

    Command(IDC_FFSKIP);
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    AdvanceSimClock(4000);
    Command(IDC_REW);
    ASSERT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays + 1);
    EXPECT_EQ(LastPlay().from, Tmsf(3, 0, 0)) << "back at 00:04 stops at the track's start";
    EXPECT_EQ(Shown(Position), "00:00");
}

TEST_F(CdPanelTest, PreviousAndNextTrack) {
    StartWithDisc("/play %3");
    EXPECT_EQ(LastPlay().from, Tmsf(3, 0, 0));
    Command(IDC_FFSKIP); // last track: the place stays, play goes on
    EXPECT_EQ(MCI_TMSF_TRACK(CdPosition), 3u);
    EXPECT_EQ(CdPlayState, 1);

    AdvanceSimClock(2000);
    Command(IDC_REWSKIP);
    EXPECT_EQ(LastPlay().from, Tmsf(3, 0, 0)) << "two seconds in: the same track again";
    AdvanceSimClock(500);
    Command(IDC_REWSKIP);
    EXPECT_EQ(LastPlay().from, Tmsf(2, 0, 0)) << "within the first second: the track before";

    Command(IDC_STOP);
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    Command(IDC_REWSKIP);
    Command(IDC_REWSKIP);
    Command(IDC_REWSKIP);
    EXPECT_EQ(Shown(TrackLine), "Track 01: untitled1") << "track 1 stays track 1";
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays) << "nothing plays while stopped";

    Command(IDC_PLAY, MAKELPARAM(9, PLAY_TRACK_REQUEST)); // no track 9: the number is ignored
    EXPECT_EQ(LastPlay().from, Tmsf(1, 0, 0));
    AdvanceSimClock(71000); // into track 2, before the next poll
    Command(IDC_FFSKIP);
    EXPECT_EQ(LastPlay().from, Tmsf(3, 0, 0)) << "next after the track the drive is in";
}

TEST_F(CdPanelTest, TheTrayAndDiscsComingAndGoing) {
    StartWithDisc("/play");
    Command(Door); // opened while playing: stops
    EXPECT_EQ(CdPlayState, 0);
    EXPECT_FALSE(Latched(IDC_PLAY));
    Poll();
    Poll();
    EXPECT_EQ(Shown(IDC_TITLE), "Door open");
    EXPECT_EQ(Shown(DiscTime), "");
    EXPECT_EQ(DiscId, 0u);

    Click(4038);
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text, "Disc is not loaded");
    EXPECT_EQ(robot.Seen()[0].caption, "sonikbay32 error");

    SimCdInsertDisc(AudioDisc({200, 100}));
    Poll();
    Poll(); // the newer shell closes the device on one poll and opens it on the next
    EXPECT_EQ(Shown(IDC_TITLE), "untitled");
    EXPECT_EQ(Shown(DiscTime), "05:00");
    EXPECT_EQ(TrackCount, 2u);

    // The person opens the tray by its own button while the disc plays for
    // the playlist: the playlist lets go and the panel says so.
    CurrentPlayer = CdPanel;
    PlaylistRunning = 1;
    Command(IDC_PLAY);
    SimCdSetDoor(true);
    DispatchPosted();
    EXPECT_EQ(Shown(IDC_TITLE), "No Disc");
    EXPECT_EQ(CurrentPlayer, nullptr);
    EXPECT_EQ(CdPlayState, 0);
}

TEST_F(CdPanelTest, DataDiscsEmptyDrivesAndADriveHeldElsewhere) {
    SimCdConfig data;
    data.discLoaded = true;
    data.disc = DataDisc();
    StartWith(data);
    EXPECT_EQ(Shown(IDC_TITLE), "No Disc");
    Poll();
    Poll();
    EXPECT_EQ(Shown(IDC_TITLE), "CD-ROM");
    Command(IDC_PLAY);
    EXPECT_TRUE(SimMciCallsOf(MCI_PLAY).empty());
    Close();

    SimCdConfig held;
    held.discLoaded = true;
    held.disc = ThreeTracks();
    held.heldByOtherProgram = true;
    StartWith(held);
    EXPECT_EQ(Shown(IDC_TITLE), "CD device is in use");
    Poll();
    EXPECT_EQ(Shown(IDC_TITLE), "CD device is in use") << "every poll tries again";
    SimCdSetHeldByOtherProgram(false);
    // Play only opens the device now; the next polls probe the disc.
    ClearSimMciLog();
    Command(IDC_PLAY);
    EXPECT_FALSE(SimMciCallsOf(MCI_OPEN).empty());
    EXPECT_TRUE(SimMciCallsOf(MCI_PLAY).empty());
    Poll();
    Poll();
    EXPECT_EQ(Shown(IDC_TITLE), "untitled");
    Command(IDC_PLAY);
    EXPECT_EQ(LastPlay().from, Tmsf(1, 0, 0));
    EXPECT_TRUE(robot.Seen().empty());
}

TEST_F(CdPanelTest, ADriveAlreadyPlayingAtStartUpIsFollowed) {
    SimCdConfig cd;
    cd.discLoaded = true;
    cd.disc = ThreeTracks();
    cd.playingTrack = 2;
    StartWith(cd);
    EXPECT_EQ(CdPlayState, 1);
    EXPECT_TRUE(Latched(IDC_PLAY));
    AdvanceSimClock(12000);
    Poll();
    EXPECT_EQ(Shown(TrackLine), "Track 02: untitled2");
    EXPECT_EQ(Shown(Position), "00:12");
}

TEST_F(CdPanelTest, APlaylistEntryPlaysOneTrackIntoThePlaylistPanel) {
    StartWithDisc();
    CurrentPlayer = CdPanel;
    PlaylistRunning = 1;
    std::snprintf(CurrentEntryText, sizeof CurrentEntryText, "0002.CD");
    Command(IDC_OPEN, MAKELPARAM(0, OPEN_FROM_PLAYLIST));
    EXPECT_EQ(LastPlay().from, Tmsf(2, 0, 0));
    EXPECT_EQ(LastPlay().to, Tmsf(3, 0, 0));
    EXPECT_EQ(LastPlay().flags, DWORD(MCI_FROM | MCI_TO | MCI_NOTIFY));
    EXPECT_EQ(ControlText(PlaylistPanel, IDC_TOTAL), "01:05");
    AdvanceSimClock(3000);
    Poll();
    EXPECT_EQ(ControlText(PlaylistPanel, IDC_TIME), "00:03");

    // At the end of its track the panel hands over to the sequencer, which
    // finds no next entry in this collection: the panel stops and plays
    // nothing more of its own.
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    AdvanceSimClock(63000);
    DispatchPosted();
    EXPECT_EQ(CdPlayState, 0);
    EXPECT_EQ(PlaylistRunning, 0);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays);

    // A skip on the panel itself takes it from the playlist.
    CurrentPlayer = CdPanel;
    Command(IDC_FFSKIP);
    EXPECT_EQ(CurrentPlayer, nullptr);
}

TEST_F(CdPanelTest, ThePollOnBothShellsAndBothPlatformFamilies) {
    StartWithDisc();
    for (int shell : {31, 95}) {
        for (int family : {95, 40}) {
            SCOPED_TRACE("shell " + std::to_string(shell) + ", family " + std::to_string(family));
            ShellGeneration = shell;
            PlatformFamily = family;
            SimCdRemoveDisc();
            ClearSimMciLog();
            Poll();
            EXPECT_TRUE(
                Has(StatusItemsAsked(), shell == 95 ? MCI_STATUS_READY : MCI_STATUS_MEDIA_PRESENT));
            EXPECT_EQ(Shown(IDC_TITLE), "No Disc");
            EXPECT_EQ(TrackCount, family == 40 ? 0u : 3u) << "NT forgets the track count";

            SimCdInsertDisc(ThreeTracks());
            ClearSimMciLog();
            Poll();
            Poll();
            EXPECT_EQ(Shown(IDC_TITLE), "untitled");
            EXPECT_EQ(TrackCount, 3u);
            // The newer shell refreshes the device by closing and opening it.
            EXPECT_EQ(SimMciCallsOf(MCI_CLOSE).size(), shell == 95 ? 1u : 0u);
        }
    }
}

TEST_F(CdPanelTest, ThePowerKeyLeavesTheDiscPlaying) {
    StartWithDisc("/play");
    Click(IDC_POWER);
    EXPECT_FALSE(CdPanelShown);
    EXPECT_FALSE(ButtonLatched(GetDlgItem(LauncherBar, IDC_SHOW_CD)));
    EXPECT_EQ(CdPlayState, 1);
    EXPECT_TRUE(SimMciCallsOf(MCI_STOP).empty());
}

} // namespace
