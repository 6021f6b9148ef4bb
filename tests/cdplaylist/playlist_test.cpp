// The playlist panel and sequencer on the simulated card: collections of
// MIDI, CD and WAVE entries handed from player to player to their end, in
// single and repeat mode, with the Now Playing stack; the edge cases of the
// store; damaged collections in the settings file.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "players/midi_panel.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <string>
#include <vector>

namespace {

constexpr int EntryList = 1061;
constexpr int WaveLamp = 113, MidiLamp = 4012, CdLamp = 4009;
const char ThreeTrackDisc[] = "11522"; // 01:10, 01:05 and 00:30

class PlaylistTest : public StationTest {
  protected:
    void TearDown() override {
        StationTest::TearDown();
        CurrentPlayer = nullptr;
        PlaylistRunning = 0;
        CurrentEntryIndex = 0;
        LitIndicator = 0;
    }

    // Starts with the playlist panel open on collection "mix" holding the
    // given entries (the end marker added) and a disc in the drive.
    void StartWith(const std::vector<std::string> &entries, const std::string &mixer = "",
                   const std::string &cdId = ThreeTrackDisc, bool drive = true,
                   bool panelShown = true) {
        std::string list = "[Listmix]\r\n";
        for (size_t i = 0; i < entries.size(); ++i)
            list += std::to_string(i) + "=" + entries[i] + "\r\n";
        list += std::to_string(entries.size()) + "=ENDFLAG.END\r\nCD_ID=" + cdId + "\r\n";
        std::string settings = "[Mixer]\r\nPlayListName=mix\r\nPlayListEntry=Listmix\r\n"
                               "CDDISPLAY=1\r\nMIDIDISPLAY=2\r\nWAVEDISPLAY=3\r\nMIXDISPLAY=0\r\n";
        settings += std::string("MULTIDISPLAY=") + (panelShown ? "4" : "0") + "\r\n";
        WriteSettingsFile(settings + mixer + list);
        SimCardConfig card;
        card.mci.cd.discLoaded = true;
        card.mci.cd.disc = AudioDisc({70, 65, 30});
        card.mci.cd.drive = drive;
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        ASSERT_EQ(PlaylistPanelShown, panelShown);
        robot.Forget();
    }
    std::string Song(const char *name, DWORD seconds) {
        return WriteSong(MakeMediaDir("playlist"), name, seconds);
    }
    std::string Wave(const char *name, DWORD ms) {
        std::string path = MakeMediaDir("playlist") + "\\" + name;
        WriteBytes(path, MakeWave(PcmFormat(1, 11025, 8), ms));
        return path;
    }
    void Command(int id, LPARAM lParam = 0) {
        SendMessageA(PlaylistPanel, WM_COMMAND, static_cast<WPARAM>(id), lParam);
        Pump();
    }
    void PlayRow(int row) {
        SendDlgItemMessageA(PlaylistPanel, EntryList, LB_SETCURSEL, row, 0);
        Command(IDC_PLAY);
    }
    // Lets the virtual clock run and the players notice the end.
    void Run(DWORD ms) {
        AdvanceSimClock(ms);
        Pump(900);
    }
    bool Lit(int lamp) { return GetWindowLongA(GetDlgItem(PlaylistPanel, lamp), 0) == 1; }
    bool PlayLatched() { return ButtonLatched(GetDlgItem(PlaylistPanel, IDC_PLAY)); }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        HWND list = GetDlgItem(PlaylistPanel, EntryList);
        LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char row[512] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(PlaylistTest, AMixedCollectionHandsOverFromPlayerToPlayerAndStopsOnItsLastEntry) {
    StartWith({Song("a.mid", 2), "0002.CD", Wave("b.wav", 1500), Song("c.mid", 2)});
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"01:a.mid", "02:untitled2", "03:b.wav", "04:c.mid"}));
    PlayRow(0);
    EXPECT_EQ(CurrentPlayer, MidiPanel);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    EXPECT_TRUE(Lit(MidiLamp));
    EXPECT_TRUE(PlayLatched());
    size_t plays = SimMciCallsOf(MCI_PLAY).size();
    Command(IDC_PLAY); // the entry that plays already: nothing
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).size(), plays);

    Run(2100);
    EXPECT_EQ(CurrentPlayer, CdPanel);
    EXPECT_TRUE(Lit(CdLamp));
    EXPECT_FALSE(Lit(MidiLamp));
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, DWORD(MCI_MAKE_TMSF(2, 0, 0, 0)));
    EXPECT_EQ(ControlText(MidiPanel, IDC_TITLE), "a.mid") << "the playlist's number is dropped";

    Run(65100);
    EXPECT_EQ(CurrentPlayer, WavePanel);
    EXPECT_TRUE(Lit(WaveLamp));
    EXPECT_EQ(WavePlayState, WavePlaying);
    Run(1600);
    EXPECT_EQ(CurrentPlayer, MidiPanel);
    EXPECT_EQ(CurrentEntryIndex, 3);
    Run(2100);
    EXPECT_EQ(PlaylistRunning, 0) << "single mode stops after the last entry";
    EXPECT_EQ(CurrentEntryIndex, 3);
    EXPECT_TRUE(Lit(MidiLamp));
    EXPECT_FALSE(PlayLatched());
    EXPECT_TRUE(robot.Seen().empty());
}

// Entries in folders with periods, and names with several: typed by the
// extension of the file's own name, titled with the whole name before it.
// A name typed by its first period in earlier versions keeps its type.
TEST_F(PlaylistTest, NamesWithPeriodsGoToThePlayerOfTheirOwnExtension) {
    std::string folder = MakeMediaDir("My.Music");
    std::string intro = folder + "\\01. Intro.wav";
    WriteBytes(intro, MakeWave(PcmFormat(1, 11025, 8), 1000));
    StartWith({WriteSong(folder, "song.v2.mid", 2), intro, WriteSong(folder, "old.mid.bak", 2)});
    PlayRow(0);
    EXPECT_EQ(CurrentPlayer, MidiPanel);
    EXPECT_EQ(ControlText(MidiPanel, IDC_TITLE), "1:song.v2.mid");
    Run(2100);
    EXPECT_EQ(CurrentPlayer, WavePanel);
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "2:01. Intro 8Bit 11K");
    Run(1100);
    EXPECT_EQ(CurrentPlayer, MidiPanel);
    EXPECT_EQ(CurrentEntryIndex, 2);
    EXPECT_TRUE(robot.Seen().empty());
}

TEST_F(PlaylistTest, RepeatStartsAgainAndPreviousOnTheFirstEntryOnlyStops) {
    StartWith({Song("a.mid", 2), Song("b.mid", 2)}, "PLAYMODE=1\r\n");
    PlayRow(1);
    Run(2100);
    EXPECT_EQ(CurrentEntryIndex, 0) << "repeat: on to entry 0";
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
    Command(IDC_REWSKIP);
    EXPECT_EQ(CurrentEntryIndex, 0);
    EXPECT_EQ(MidiPlayState, MidiStopped);
    // Stop and Pause while idle do nothing; a forwarded power key is ignored.
    Command(IDC_STOP);
    Command(IDC_PAUSE);
    EXPECT_EQ(PlaylistRunning, 0);
    Command(IDC_POWER, MAKELPARAM(0, FROM_PLAYLIST));
    EXPECT_TRUE(PlaylistPanelShown);
}

// The WAVE panel's previous-entry key under the playlist: past the first
// second it starts the entry again, within it (stopped too) it goes to the
// previous entry.
TEST_F(PlaylistTest, TheWavePanelsBackKeyGoesToThePreviousEntryPlayingOrStopped) {
    StartWith({Wave("a.wav", 1500), Wave("b.wav", 3000)});
    auto back = [] { SendMessageA(WavePanel, WM_COMMAND, IDC_REWSKIP, 0); };
    PlayRow(1);
    Run(1200);
    back();
    Pump();
    EXPECT_EQ(CurrentEntryIndex, 1);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, 0u) << "started again";
    back();
    Pump();
    EXPECT_EQ(CurrentEntryIndex, 0);
    EXPECT_EQ(WavePlayState, WavePlaying);
    Run(1600);
    ASSERT_EQ(CurrentEntryIndex, 1);
    SendMessageA(WavePanel, WM_COMMAND, IDC_STOP, 0);
    Pump();
    ASSERT_EQ(WavePlayState, WaveStopped);
    ASSERT_EQ(CurrentPlayer, WavePanel);
    back();
    Pump();
    EXPECT_EQ(CurrentEntryIndex, 0) << "stopped: the previous entry all the same";
    EXPECT_TRUE(robot.Seen().empty());
}

TEST_F(PlaylistTest, EntriesOfAnotherDiscAndOfNoKnownTypeHandNothingOver) {
    StartWith({"0001.CD", "C:\\my.music\\song", Song("a.mid", 2)}, "", "999");
    PlayRow(0);
    EXPECT_FALSE(PlayLatched()) << "a CD entry of another disc plays nothing";
    EXPECT_NE(CurrentPlayer, CdPanel);
    EXPECT_EQ(CdPlayState, 0);
    EXPECT_EQ(PlaylistRunning, 0) << "refused: the list is idle";
    // With the collection's own disc the same Play on the same row plays.
    WritePrivateProfileStringA("Listmix", "CD_ID", ThreeTrackDisc, settingsPath.c_str());
    PlayRow(0);
    EXPECT_TRUE(PlayLatched());
    EXPECT_EQ(CurrentPlayer, CdPanel);
    Command(IDC_STOP);
    PlayRow(1); // a dot in a directory name: no type
    EXPECT_FALSE(PlayLatched());
    EXPECT_EQ(CurrentEntryIndex, 1);
    PlayRow(2);
    EXPECT_TRUE(PlayLatched());
    EXPECT_EQ(CurrentPlayer, MidiPanel);

    // The CD panel's own Play while it holds the entry latches the list's.
    Close();
    StartWith({"0003.CD"});
    PlayRow(0);
    ASSERT_EQ(CurrentPlayer, CdPanel);
    Command(IDC_STOP);
    EXPECT_FALSE(PlayLatched());
    SendMessageA(CdPanel, WM_COMMAND, IDC_PLAY, 0);
    EXPECT_TRUE(PlayLatched());
}

// A running list that comes to an entry it cannot hand over stops there,
// idle, with its Play key released; it shows that entry, and Play tries it
// again.
TEST_F(PlaylistTest, ARunningListStopsIdleAtAnEntryOfAnotherDiscAndPlayTriesIt) {
    StartWith({Song("a.mid", 2), "0001.CD"}, "", "999");
    PlayRow(0);
    ASSERT_EQ(CurrentPlayer, MidiPanel);
    Run(2100);
    EXPECT_EQ(CurrentEntryIndex, 1);
    EXPECT_EQ(PlaylistRunning, 0);
    EXPECT_FALSE(PlayLatched());
    EXPECT_EQ(CdPlayState, 0);
    EXPECT_EQ(SendDlgItemMessageA(PlaylistPanel, EntryList, LB_GETCURSEL, 0, 0), 1);
    WritePrivateProfileStringA("Listmix", "CD_ID", ThreeTrackDisc, settingsPath.c_str());
    Command(IDC_PLAY);
    EXPECT_EQ(CurrentPlayer, CdPanel);
}

// A file its player cannot open stops the list on it after the device's box:
// Play tries it again, Next goes past it.
TEST_F(PlaylistTest, AnEntryItsPlayerCannotOpenStopsTheListOnIt) {
    std::string gone = MakeMediaDir("playlist") + "\\gone";
    StartWith({gone + ".wav", gone + ".mid", Song("a.mid", 2)});
    PlayRow(0);
    EXPECT_EQ(PlaylistRunning, 0);
    Command(IDC_PLAY);
    Command(IDC_FFSKIP);
    EXPECT_EQ(robot.Seen().size(), 3u) << "each try shows its box";
    Command(IDC_FFSKIP);
    Command(IDC_PLAY);
    EXPECT_EQ(MidiPlayState, MidiPlaying);
}

// CD entries saved while no disc was loaded belong to no disc: they play
// neither in an empty drive nor on whatever disc is in.
TEST_F(PlaylistTest, CdEntriesOfNoDiscNeverPlay) {
    for (bool drive : {false, true}) {
        SCOPED_TRACE(drive);
        StartWith({"0001.CD"}, "", "0", drive);
        PlayRow(0);
        EXPECT_FALSE(PlayLatched());
        EXPECT_NE(CurrentPlayer, CdPanel);
        EXPECT_EQ(PlaylistRunning, 0);
        Close();
    }
}

// A damaged CD entry naming no track of any disc is passed over, not played
// as the whole disc.
TEST_F(PlaylistTest, ACdEntryBeyondTrack255IsPassedOver) {
    StartWith({"0300.CD"});
    PlayRow(0);
    EXPECT_FALSE(PlayLatched());
    EXPECT_NE(CurrentPlayer, CdPanel);
    EXPECT_EQ(CdPlayState, 0);
    EXPECT_NE(ControlText(PlaylistPanel, IDC_TOTAL), "02:45");
}

// Opening the panel only shows the list: what the CD panel plays goes on,
// and an unsaved take is not asked about.
TEST_F(PlaylistTest, OpeningThePanelStopsNothingAndAsksNothing) {
    StartWith({Wave("a.wav", 1500), "0001.CD"}, "", ThreeTrackDisc, true, false);
    if (!CdPanelShown)
        PressLauncher(IDC_SHOW_CD);
    SendMessageA(CdPanel, WM_COMMAND, IDC_PLAY, 0);
    ASSERT_EQ(CdPlayState, 1);
    SendMessageA(WavePanel, WM_COMMAND, IDC_RECORD, 0);
    AdvanceSimClock(1000);
    SendMessageA(WavePanel, WM_COMMAND, IDC_STOP, 0);
    ASSERT_EQ(WaveModified, 1);
    robot.Forget();
    PressLauncher(IDC_SHOW_PLAYLIST);
    ASSERT_TRUE(PlaylistPanelShown);
    EXPECT_EQ(CdPlayState, 1);
    EXPECT_TRUE(robot.Seen().empty());
    EXPECT_EQ(Rows(), (std::vector<std::string>{"01:a.wav", "02:untitled1"}));
    robot.SetAnswer([](const SeenBox &box) -> int {
        return box.text.rfind("[", 0) == 0 ? IDNO : 0; // the station may close
    });
}

// The end of a CD track goes on to the next entry whichever of the poll and
// the notification sees it first, and so does a step forward within the
// track's last six seconds.
TEST_F(PlaylistTest, ACdTrackHandsOverHoweverItsEndIsSeen) {
    StartWith({"0001.CD", "0002.CD", "0003.CD", "0001.CD"});
    auto ticks = [] {
        for (int tick = 0; tick < 3; ++tick)
            SendMessageA(CdPanel, WM_TIMER, 1, 0);
    };
    auto posted = [] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) ||
               PeekMessageA(&message, nullptr, WM_TIMER + 1, 0xFFFFFFFFu, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    };
    PlayRow(0);
    ASSERT_EQ(CurrentPlayer, CdPanel);
    AdvanceSimClock(70500);
    ticks(); // the poll first
    posted();
    EXPECT_EQ(CurrentEntryIndex, 1);
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, DWORD(MCI_MAKE_TMSF(2, 0, 0, 0)));
    AdvanceSimClock(65500);
    posted(); // the notification first
    ticks();
    EXPECT_EQ(CurrentEntryIndex, 2);
    EXPECT_EQ(PlaylistRunning, 1);
    AdvanceSimClock(26000);
    ticks();
    Command(IDC_FF); // 26 s into a track of 30 s
    EXPECT_EQ(CurrentEntryIndex, 3);
    EXPECT_EQ(CurrentPlayer, CdPanel);
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, DWORD(MCI_MAKE_TMSF(1, 0, 0, 0)));
}

// While the list runs, Pause, the six-second steps and Stop on the panel
// act on the player of the current entry.
TEST_F(PlaylistTest, TheTransportIsForwardedToThePlayerOfTheEntry) {
    StartWith({"0001.CD"});
    PlayRow(0);
    ASSERT_EQ(CurrentPlayer, CdPanel);
    AdvanceSimClock(20000);
    Command(IDC_PAUSE);
    EXPECT_EQ(PlaylistRunning, 2);
    EXPECT_EQ(CdPlayState, 2);
    Command(IDC_PAUSE);
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_EQ(CdPlayState, 1);
    Command(IDC_FF);
    DWORD from = SimMciCallsOf(MCI_PLAY).back().from;
    EXPECT_EQ(MCI_TMSF_SECOND(from), 26u);
    Command(IDC_REW);
    from = SimMciCallsOf(MCI_PLAY).back().from;
    EXPECT_EQ(MCI_TMSF_SECOND(from), 20u);
    EXPECT_EQ(CurrentEntryIndex, 0);
    Command(IDC_STOP);
    EXPECT_EQ(PlaylistRunning, 0);
    EXPECT_EQ(CdPlayState, 0);
}

TEST_F(PlaylistTest, ThePanelsFollowThePlaylistInTheNowPlayingMode) {
    StartWith({Song("a.mid", 2), Wave("b.wav", 1500)}, "AUTOPLAY=1\r\nSELECTABLE=0\r\n");
    // The playlist opened at start-up plays at once, its player's panel opened.
    EXPECT_EQ(PlaylistRunning, 1);
    EXPECT_EQ(CurrentPlayer, MidiPanel);
    EXPECT_TRUE(MidiPanelShown);
    EXPECT_FALSE(WavePanelShown);
    Run(2100);
    EXPECT_EQ(CurrentPlayer, WavePanel);
    EXPECT_FALSE(MidiPanelShown) << "the previous player's panel closes";
    EXPECT_TRUE(WavePanelShown);
    Command(IDC_STOP);

    ShowWindow(MainWindow, SW_MINIMIZE);
    Pump();
    PlayRow(0);
    EXPECT_EQ(CurrentPlayer, MidiPanel);
    EXPECT_TRUE(WavePanelShown) << "not while the window is minimised";
    EXPECT_FALSE(MidiPanelShown);
    ShowWindow(MainWindow, SW_RESTORE);
}

// Wine's own "waveaudio": two short files in single mode, one after the
// other, then the playlist stops on the second with the WAVE lamp lit.
TEST_F(PlaylistTest, TwoWaveFilesOnThePlatformsOwnDevice) {
    // No CD drive: the CD panel holds no device of the card whose number the
    // platform's own devices could be given.
    // The playlist panel opens only once the platform's devices are in use,
    // so that no entry was loaded on the card before.
    StartWith({Wave("one.wav", 800), Wave("two.wav", 800)}, "", "0", false, false);
    RemoveSimulatedCard();
    PressLauncher(IDC_SHOW_PLAYLIST);
    PlayRow(0);
    if (WavePlayState != WavePlaying && !robot.Seen().empty())
        GTEST_SKIP() << "no wave device here: " << robot.Seen()[0].text;
    ASSERT_EQ(WavePlayState, WavePlaying);
    EXPECT_EQ(CurrentEntryIndex, 0);
    for (int waited = 0; waited < 4000 && CurrentEntryIndex == 0; waited += 100)
        Pump(100);
    EXPECT_EQ(CurrentEntryIndex, 1);
    EXPECT_EQ(WavePlayState, WavePlaying) << "the second file plays";
    for (int waited = 0; waited < 4000 && PlaylistRunning != 0; waited += 100)
        Pump(100);
    EXPECT_EQ(PlaylistRunning, 0);
    EXPECT_EQ(CurrentEntryIndex, 1);
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_TRUE(Lit(WaveLamp));
    EXPECT_TRUE(robot.Seen().empty());
    Close();
}

TEST_F(PlaylistTest, AnUnsavedTakeIsAskedAboutBeforeAWaveEntryAndCancelKeepsIt) {
    StartWith({Song("a.mid", 20), Wave("b.wav", 1500)});
    SendMessageA(WavePanel, WM_COMMAND, IDC_RECORD, 0);
    AdvanceSimClock(1000);
    SendMessageA(WavePanel, WM_COMMAND, IDC_STOP, 0);
    ASSERT_EQ(WaveModified, 1);
    PlayRow(0);
    robot.SetAnswer(
        [](const SeenBox &box) -> int { return box.text.rfind("[", 0) == 0 ? IDCANCEL : 0; });
    Command(IDC_FFSKIP); // on to the WAVE entry
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text.substr(0, 14), "[UNTITLED.WAV]");
    EXPECT_EQ(WaveModified, 1) << "the take is kept";
    EXPECT_EQ(CurrentEntryIndex, 0) << "and the list stays where it was";
    EXPECT_NE(CurrentPlayer, WavePanel);
    robot.SetAnswer([](const SeenBox &box) -> int {
        return box.text.rfind("[", 0) == 0 ? IDNO : 0; // the station may close
    });
}

TEST_F(PlaylistTest, DamagedCollectionsShowWhatTheyHold) {
    std::vector<std::string> many;
    for (int i = 0; i < 120; ++i)
        many.push_back("C:\\music\\song" + std::to_string(i) + ".mid");
    many[5] = "C:\\" + std::string(300, 'x') + ".mid";
    StartWith(many);
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 99u) << "key 99 is the end marker's, whatever it holds";
    EXPECT_EQ(rows[0], "01:song0.mid");
    EXPECT_EQ(rows[98], "99:song98.mid");
    EXPECT_LE(rows[5].size(), 260u);
    Close();

    WriteSettingsFile("[Mixer]\r\nPlayListEntry=Listodd\r\nMULTIDISPLAY=1\r\nCDDISPLAY=0\r\n"
                      "[Listodd]\r\n0=C:\\a.mid\r\n1=C:\\b.wav\r\n3=C:\\d.mid\r\n"
                      "[PlayListTitle]\r\nNumber=5000\r\n");
    ASSERT_EQ(Start(), 0 + StationRunning);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"01:a.mid", "02:b.wav"}))
        << "a gap ends the collection; a missing end marker loses no entry";
}

// A sound-only file of another device plays in the WAVE panel, in its place
// among MIDI, WAVE and disc entries.
TEST_F(PlaylistTest, APlayOnlyEntryHandsOverInItsPlace) {
    std::string song = MakeMediaDir("playlist") + "\\c.mp3";
    WriteBytes(song, MakeCompressedSound(1500));
    StartWith({Song("a.mid", 2), Wave("b.wav", 1500), song, "0002.CD"});
    EXPECT_EQ(Rows()[2], "03:c.mp3");
    PlayRow(0);
    Run(2100);
    EXPECT_EQ(CurrentPlayer, WavePanel);
    EXPECT_FALSE(WavePlayOnly);
    Run(1600);
    EXPECT_EQ(CurrentPlayer, WavePanel);
    EXPECT_TRUE(WavePlayOnly);
    EXPECT_EQ(WavePlayState, WavePlaying);
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "3:c.mp3");
    EXPECT_TRUE(Lit(WaveLamp));
    Run(1600);
    EXPECT_EQ(CurrentPlayer, CdPanel);
    EXPECT_EQ(CurrentEntryIndex, 3);
    EXPECT_TRUE(robot.Seen().empty());
}

} // namespace
