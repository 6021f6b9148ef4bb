// Files beyond the design's MIDI, WAVE and AVI on the simulated card: each
// goes to the panel the platform's devices say, from a drop, a player's Open
// key and an imported playlist; a sound-only file plays in the WAVE panel
// with every transport key and is never written.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "players/midi_panel.h"
#include "players/video_panel.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <string>
#include <vector>

namespace {

class MediaRouteTest : public StationTest {
  protected:
    void StartStation(bool seeksWhilePaused = false) {
        SimCardConfig card;
        card.mixer.present = false;
        card.mci.cd.drive = false;
        card.mci.mpegSeeksWhilePaused = seeksWhilePaused;
        WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nMIDIDISPLAY=1\r\nWAVEDISPLAY=2\r\n"
                          "MIXDISPLAY=0\r\nMULTIDISPLAY=0\r\n");
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        robot.Forget();
        directory = MakeMediaDir("media_route");
    }
    std::string File(const char *name, const Bytes &bytes) {
        std::string path = directory + "\\" + name;
        WriteBytes(path, bytes);
        return path;
    }
    void Wave(int id) {
        SendMessageA(WavePanel, WM_COMMAND, static_cast<WPARAM>(id), 0);
        Pump();
    }
    std::string Opened() {
        std::vector<SimMciCall> opens = SimMciCallsOf(MCI_OPEN);
        return opens.empty() ? "" : opens.back().deviceType;
    }
    std::string directory;
};

// A drop, a player's Open key and an imported playlist all route by the
// platform's table and, for a device that may show a picture, the file.
TEST_F(MediaRouteTest, EachFileGoesToThePanelThePlatformsDevicesSay) {
    StartStation();
    std::string song = File("song.mp3", MakeCompressedSound(5000));
    std::string film = File("film.mpg", MakeMovie(3000));
    std::string notes = File("notes.xyz", Bytes(10, 'x'));

    DropOnMainWindow({song});
    Pump();
    EXPECT_TRUE(WavePlayOnly);
    EXPECT_EQ(WavePlayState, WavePlaying);
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "song.mp3");
    EXPECT_EQ(ControlText(WavePanel, IDC_TOTAL), "00:05");
    EXPECT_EQ(Opened(), "mpegvideo");

    ASSERT_FALSE(VideoPanelShown);
    DropOnMainWindow({film});
    Pump();
    EXPECT_TRUE(VideoPanelShown) << "a picture brings its panel into the stack";
    EXPECT_EQ(ControlText(VideoPanel, IDC_TOTAL), "00:03");
    EXPECT_EQ(VideoPlayState, VideoPlaying);
    // Its device steps no frames: a paused film steps by a second.
    AdvanceSimClock(1000);
    SendMessageA(VideoPanel, WM_COMMAND, IDC_PAUSE, 0);
    SendMessageA(VideoPanel, WM_COMMAND, IDC_FF, 0);
    EXPECT_EQ(ControlText(VideoPanel, IDC_TIME), "00:02");
    SendMessageA(VideoPanel, WM_COMMAND, IDC_PAUSE, 0);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, 2000u);
    SendMessageA(VideoPanel, WM_COMMAND, IDC_STOP, 0);

    DropOnMainWindow({notes});
    Pump();
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text.substr(0, 11), "[notes.xyz]");

    // The MIDI panel's Open key hands the MP3 chosen to the WAVE panel.
    Wave(IDC_STOP);
    robot.Forget();
    robot.SetAnswer(TypeIntoFileDialog(song));
    SendMessageA(MidiPanel, WM_COMMAND, IDC_OPEN, 0);
    Pump();
    robot.SetAnswer(nullptr);
    EXPECT_EQ(WavePlayState, WavePlaying);
    EXPECT_EQ(MidiPlayState, MidiStopped);

    // A playlist file naming them takes both as entries.
    std::string text = "#EXTM3U\r\nsong.mp3\r\nfilm.mpg\r\nnotes.xyz\r\n";
    std::string list = File("mix.m3u", Bytes(text.begin(), text.end()));
    robot.Forget();
    DropOnMainWindow({list});
    Pump();
    EXPECT_EQ(Setting("Listmix", "0"), song);
    EXPECT_EQ(Setting("Listmix", "1"), film);
    EXPECT_EQ(Setting("Listmix", "2"), "ENDFLAG.END");
}

// Every transport key works on a play-only file as on a WAVE file; a device
// that refuses a seek while paused still steps; a length the device does not
// tell shows as --:-- and the file plays; Record makes a new take and the
// file is never written.
TEST_F(MediaRouteTest, APlayOnlyFileHasEveryTransportKeyAndIsNeverWritten) {
    StartStation();
    std::string song = File("song.mp3", MakeCompressedSound(5000));
    Bytes before;
    ReadBytes(song, before);
    DropOnMainWindow({song});
    Pump();
    AdvanceSimClock(2000);
    Wave(IDC_PAUSE);
    EXPECT_EQ(WavePlayState, WavePaused);
    Wave(IDC_FF);
    Wave(IDC_FF);
    Wave(IDC_REW);
    EXPECT_EQ(ControlText(WavePanel, IDC_TIME), "00:03");
    Wave(IDC_PAUSE);
    EXPECT_EQ(WavePlayState, WavePlaying);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, 3000u);
    AdvanceSimClock(2500);
    Pump(600);
    EXPECT_EQ(WavePlayState, WaveStopped) << "the end is seen";

    std::string quiet = File("quiet.mp3", MakeCompressedSound(2000, LengthAnswer::Refused));
    DropOnMainWindow({quiet});
    Pump();
    EXPECT_EQ(ControlText(WavePanel, IDC_TOTAL), "--:--");
    EXPECT_EQ(WavePlayState, WavePlaying);
    Wave(IDC_STOP);

    Wave(IDC_RECORD);
    EXPECT_EQ(WavePlayState, WaveRecording);
    EXPECT_FALSE(WavePlayOnly);
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE).substr(0, 8), "untitled");
    Wave(IDC_STOP);
    Bytes after;
    ReadBytes(song, after);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(robot.Seen().empty());
    robot.SetAnswer([](const SeenBox &box) { return box.text.rfind("[", 0) == 0 ? IDNO : 0; });
}

} // namespace
