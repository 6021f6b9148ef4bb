// The WAVE panel on the simulated card and on Wine's own "waveaudio": takes
// in the settings file's format saved through the question and the real
// Save dialog, the three recording modes, every path into the save
// question, the peak meter read back as pixels and the source key.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "mixer/mixer_access.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class WavePanelTest : public StationTest {
  protected:
    void StartWithWavePanel(const std::string &mixerSettings = "", bool mixer = false) {
        SimCardConfig card;
        card.mixer.present = mixer;
        card.mci.cd.drive = false;
        WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nMIDIDISPLAY=0\r\nMIXDISPLAY=0\r\n"
                          "WAVEDISPLAY=1\r\n" +
                          mixerSettings);
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        ASSERT_TRUE(WavePanelShown);
        robot.Forget();
        directory = MakeMediaDir("wave_panel");
    }
    std::string WriteWave(const char *name, DWORD ms, WORD channels = 1) {
        std::string path = directory + "\\" + name;
        WriteBytes(path, MakeWave(PcmFormat(channels, 11025, 8), ms));
        return path;
    }
    void Command(int id, LPARAM lParam = 0) {
        SendMessageA(WavePanel, WM_COMMAND, static_cast<WPARAM>(id), lParam);
        Pump();
    }
    std::string Shown(int id) { return ControlText(WavePanel, id); }
    std::vector<SimMciCall> Records() { return SimMciCallsOf(MCI_RECORD); }
    // Answers the save question with the given key and, for Yes, the Save
    // dialog with the given path.
    void AnswerSaveQuestion(int key, const std::string &path = "") {
        auto typePath = TypeIntoFileDialog(path);
        robot.SetAnswer([key, typePath](const SeenBox &box) -> int {
            if (FileDialogShown() != nullptr)
                return typePath(box);
            return box.text.rfind("[", 0) == 0 ? key : 0;
        });
    }
    std::vector<std::string> Questions() {
        std::vector<std::string> texts;
        for (const SeenBox &box : robot.Seen())
            if (box.text.rfind("[", 0) == 0)
                texts.push_back(box.text.substr(0, box.text.find('\n')));
        return texts;
    }
    void RecordFor(DWORD ms) {
        Command(IDC_RECORD);
        AdvanceSimClock(ms);
        Command(IDC_STOP);
    }

    std::string directory;
};

TEST_F(WavePanelTest, ATakeInTheSettingsFormatIsKeptThroughTheSaveQuestion) {
    StartWithWavePanel("Mono=2\r\nBits=16\r\nSampleRate=44100\r\nRECMODE=2\r\n");
    Command(IDC_RECORD);
    EXPECT_EQ(WavePlayState, WaveRecording);
    EXPECT_EQ(Shown(IDC_TITLE), "untitled 16Bit 44K");
    EXPECT_EQ(WaveModified, 1);
    AdvanceSimClock(2000);
    Command(IDC_STOP);
    EXPECT_EQ(Shown(IDC_TOTAL), "00:02");

    std::string saved = directory + "\\take.wav";
    DeleteFileA(saved.c_str());
    AnswerSaveQuestion(IDYES, saved);
    Command(IDC_RECORD); // a new take: the first one is asked about first
    EXPECT_EQ(Questions(), (std::vector<std::string>{"[UNTITLED.WAV]"}));
    std::ifstream file(saved, std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    WaveData wave;
    ASSERT_TRUE(ReadWave(bytes, wave)) << saved;
    EXPECT_EQ(wave.format.formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSec, 44100u);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.avgBytesPerSec, 176400u);
    EXPECT_GE(wave.samples.size(), 176400u * 19 / 10);
    EXPECT_EQ(WavePlayState, WaveRecording) << "the new take runs";

    // Closing the station while it records: Yes keeps the take, replacing
    // the file of that name once asked.
    AdvanceSimClock(1000);
    Close();
    std::ifstream again(saved, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(again), std::istreambuf_iterator<char>());
    ASSERT_TRUE(ReadWave(bytes, wave));
    EXPECT_GE(wave.samples.size(), 176400u * 9 / 10);
    EXPECT_LT(wave.samples.size(), 176400u * 19 / 10) << "the second take, not the first";
    EXPECT_EQ(Questions().size(), 3u);
}

TEST_F(WavePanelTest, AppendContinuesAtTheEndAndOverwriteStartsAtZero) {
    StartWithWavePanel("RECMODE=1\r\n");
    DropOnMainWindow({WriteWave("ten.wav", 10000)});
    Pump();
    Command(IDC_STOP);
    RecordFor(2000);
    EXPECT_EQ(Records().back().from, 10000u);
    EXPECT_EQ(Shown(IDC_TOTAL), "00:12");

    // A take paused and resumed goes on where it paused, inserting.
    AnswerSaveQuestion(IDNO); // another take into data not yet kept asks first
    Command(IDC_RECORD);
    AdvanceSimClock(1000);
    Command(IDC_PAUSE);
    AdvanceSimClock(500);
    Command(IDC_PAUSE);
    EXPECT_EQ(Records().back().flags & MCI_RECORD_OVERWRITE, 0u);
    EXPECT_EQ(Records().back().from, Records()[Records().size() - 2].from + 1000);
    Command(IDC_STOP);

    WaveRecordMode = 0;
    RecordFor(3000);
    EXPECT_EQ(Records().back().from, 0u);
    EXPECT_EQ(Shown(IDC_TOTAL), "00:13") << "the larger of the old length and the take";
}

TEST_F(WavePanelTest, EveryWayOfDroppingATakeAsksFirstAndCancelKeepsIt) {
    StartWithWavePanel();
    RecordFor(1000);
    ASSERT_EQ(WaveModified, 1);
    AnswerSaveQuestion(IDCANCEL);
    Command(IDC_POWER);
    EXPECT_TRUE(WavePanelShown);
    robot.SetAnswer(
        [](const SeenBox &box) -> int { return box.text.rfind("[", 0) == 0 ? IDCANCEL : 0; });
    Command(IDC_OPEN); // the Open key asks before its dialog
    DropOnMainWindow({WriteWave("other.wav", 1000)});
    Pump();
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0), FALSE);
    Pump();
    EXPECT_EQ(Questions().size(), 5u);
    EXPECT_TRUE(IsWindow(MainWindow));
    EXPECT_EQ(WaveModified, 1);
    EXPECT_EQ(Shown(IDC_TITLE), "untitled 8Bit 22K");

    AnswerSaveQuestion(IDNO); // a new take after No drops the old one
    Command(IDC_RECORD);
    EXPECT_EQ(WavePlayState, WaveRecording);
    EXPECT_EQ(Questions().size(), 6u);
}

// Cancel in the question of a new take keeps the kept take whole: its
// length, its total and a transport that plays it, seeks it by the second
// while playing and paused, and ends it by Forward within its last second.
TEST_F(WavePanelTest, CancelKeepsTheTakeWholeAndItPlaysAndSeeks) {
    StartWithWavePanel("RECMODE=2\r\n");
    RecordFor(3000);
    AnswerSaveQuestion(IDCANCEL);
    Command(IDC_RECORD);
    EXPECT_EQ(Questions().size(), 1u);
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_EQ(Shown(IDC_TOTAL), "00:03");

    Command(IDC_PLAY);
    EXPECT_EQ(WavePlayState, WavePlaying);
    Command(IDC_FF);
    EXPECT_EQ(Shown(IDC_TIME), "00:01");
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, 1000u);
    Command(IDC_REW);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, 0u);
    AdvanceSimClock(1500);
    Command(IDC_PAUSE);
    EXPECT_EQ(WavePlayState, WavePaused);
    Command(IDC_FF);
    EXPECT_EQ(Shown(IDC_TIME), "00:02") << "paused: only the kept position moves";
    Command(IDC_PLAY); // resumes at the kept position
    EXPECT_EQ(WavePlayState, WavePlaying);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().from, 2500u);
    Command(IDC_FF); // within the last second: the end
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_EQ(Shown(IDC_TOTAL), "00:03");
    EXPECT_EQ(WaveModified, 1);
    AnswerSaveQuestion(IDNO); // at the end of the test
}

// No drops the take; when the new device then fails, no take is left to ask
// about, and the station closes without a question.
TEST_F(WavePanelTest, NoAndAFailedOpenLeaveNoTakeBehind) {
    StartWithWavePanel("RECMODE=2\r\n");
    RecordFor(1000);
    AnswerSaveQuestion(IDNO);
    SimMciFailNext("waveaudio", MCI_OPEN, MCIERR_OUT_OF_MEMORY);
    Command(IDC_RECORD);
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_EQ(WaveModified, 0);
    EXPECT_EQ(Shown(IDC_TITLE), "WAVE PLAYER");
    EXPECT_EQ(Shown(IDC_TOTAL), "00:00");
    Command(IDC_PLAY);
    EXPECT_EQ(WavePlayState, WaveStopped);
    robot.Forget();
    EXPECT_EQ(Close(), 0);
    EXPECT_TRUE(Questions().empty());
}

TEST_F(WavePanelTest, AFileTheDeviceRefusesKeepsWhatWasOpen) {
    StartWithWavePanel();
    DropOnMainWindow({WriteWave("good.wav", 3000)});
    Pump();
    std::string broken = directory + "\\broken.wav";
    WriteBytes(broken, Bytes{'R', 'I', 'F', 'F', 1, 0, 0, 0});
    DropOnMainWindow({broken});
    Pump();
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].caption, "sonikbay32 error");
    EXPECT_EQ(Shown(IDC_TITLE), "good 8Bit 11K");
    Command(IDC_STOP);
    Command(IDC_PLAY);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().result, 0u) << "the good file still plays";
}

// An old device that will not close keeps its data and its name, which the
// save question and the Save dialog show; the new device is closed again.
TEST_F(WavePanelTest, AnOldDeviceThatWillNotCloseKeepsItsFileAndName) {
    StartWithWavePanel();
    std::string good = WriteWave("good.wav", 3000);
    DropOnMainWindow({good});
    Pump();
    int devices = OpenSimMciDevices();
    SimMciFailNext("waveaudio", MCI_CLOSE, MCIERR_HARDWARE);
    DropOnMainWindow({WriteWave("other.wav", 2000)});
    Pump();
    EXPECT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(OpenSimMciDevices(), devices);
    EXPECT_STREQ(WaveFilePath, good.c_str());
    EXPECT_STREQ(WaveFileTitle, "good.wav");
    EXPECT_EQ(Shown(IDC_TITLE), "good 8Bit 11K");
    Command(IDC_PLAY);
    EXPECT_EQ(SimMciCallsOf(MCI_PLAY).back().result, 0u) << "the good file still plays";
}

// The title is the file's own name up to its last period, read from the
// path: a name longer than the platform's file titles (128 characters) is
// not cut at a period before its extension.
TEST_F(WavePanelTest, TheTitleIsTheFilesOwnNameUpToItsLastPeriod) {
    StartWithWavePanel();
    std::string name = "01. Intro " + std::string(130, 'x');
    DropOnMainWindow({WriteWave((name + ".wav").c_str(), 1000)});
    Pump();
    EXPECT_EQ(Shown(IDC_TITLE), name + " 8Bit 11K");
}

TEST_F(WavePanelTest, TheMeterShowsThePeaksOfEachChannel) {
    StartWithWavePanel("Mono=2\r\n", true);
    auto litSegments = [](int row) {
        HDC dc = GetDC(WavePanel);
        int lit = 0;
        for (int i = 0; i < 9; ++i) {
            COLORREF pixel = GetPixel(dc, 412 + 12 * i + 10, row);
            lit +=
                pixel == RGB(0, 255, 255) || pixel == RGB(255, 255, 0) || pixel == RGB(255, 0, 0);
        }
        ReleaseDC(WavePanel, dc);
        return lit;
    };
    DWORD meter = MixerControlMap.WavePeakMeter;
    DropOnMainWindow({WriteWave("stereo.wav", 5000, 2)});
    Pump();
    SetSimMeter(meter, -32768, 32767); // silent left, full right
    Pump(300);
    EXPECT_EQ(litSegments(22), 1) << "a running meter shows one segment for silence";
    EXPECT_EQ(litSegments(36), 9);
    RedrawWindow(WavePanel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(300);
    EXPECT_EQ(litSegments(36), 9) << "the same levels are drawn again after a paint";
    Command(IDC_STOP);
    EXPECT_EQ(litSegments(22), 0) << "stopped: dark";
    EXPECT_EQ(litSegments(36), 0);

    DropOnMainWindow({WriteWave("mono.wav", 5000, 1)});
    Pump();
    SetSimMeter(meter, 10000, -32768);
    Pump(300);
    EXPECT_EQ(litSegments(22), (10000 + 32768) / 5041 - 4);
    EXPECT_EQ(litSegments(36), litSegments(22)) << "mono: both rows follow the left channel";
    Command(IDC_STOP);

    // A stereo take from the mic: its meter's two channels, one to a row.
    Command(IDC_RECSOURCE, MAKELPARAM(0, 1));
    Command(IDC_RECORD);
    SetSimMeter(MixerControlMap.RecMeter1, 10000, 32767);
    Pump(300);
    EXPECT_EQ(litSegments(22), (10000 + 32768) / 5041 - 4);
    EXPECT_EQ(litSegments(36), 9);
    Command(IDC_STOP);
    AnswerSaveQuestion(IDNO); // at the end of the test
}

TEST_F(WavePanelTest, TheSourceKeyCyclesTheSelectorAndTheIndicatorsFollow) {
    StartWithWavePanel("", true);
    HWND key = GetDlgItem(WavePanel, IDC_RECSOURCE);
    const int indicators[] = {4018, 4020, 4016, 4022};
    for (int expected : {1, 2, 3, 0}) {
        SendMessageA(key, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(key, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
        EXPECT_EQ(RecordSource, expected);
        for (int item = 0; item < 4; ++item) {
            EXPECT_EQ(SimControlValue(MixerControlMap.RecSelector, 0, item), item == expected);
            EXPECT_EQ(GetWindowLongA(GetDlgItem(WavePanel, indicators[item]), 0), item == expected)
                << "indicator of source " << item;
        }
    }
}

TEST_F(WavePanelTest, ASaveTheDiskRefusesKeepsTheTakeForAnotherName) {
    StartWithWavePanel();
    RecordFor(1000);
    // A file that refuses writers even to root: read-only and held open.
    std::string locked = WriteWave("locked.wav", 500);
    Bytes before;
    ASSERT_TRUE(ReadBytes(locked, before));
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    AnswerSaveQuestion(IDYES, locked); // Yes to the question and to replacing
    Command(IDC_POWER);
    CloseHandle(hold);
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<SeenBox> seen = robot.Seen();
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const SeenBox &box) {
        return box.icon == BoxIcon::Error;
    })) << "the failed save is shown";
    EXPECT_EQ(WaveModified, 1);
    EXPECT_TRUE(WavePanelShown) << "the panel stays with its take";
    Bytes after;
    ASSERT_TRUE(ReadBytes(locked, after));
    EXPECT_EQ(after, before);

    std::string kept = directory + "\\kept.wav";
    DeleteFileA(kept.c_str());
    AnswerSaveQuestion(IDYES, kept);
    Command(IDC_POWER);
    EXPECT_EQ(WaveModified, 0);
    EXPECT_FALSE(WavePanelShown);
    Bytes bytes;
    WaveData wave;
    ASSERT_TRUE(ReadBytes(kept, bytes) && ReadWave(bytes, wave)) << kept;
    EXPECT_GE(wave.samples.size(), 22050u * 9 / 10) << "the whole take of a second";
}

TEST_F(WavePanelTest, FormatValuesThatMakeNoFormatRecordInTheDefaultOne) {
    StartWithWavePanel();
    const char *const values[][3] = {
        {"0", "0", "0"}, {"3", "7", "1000000"}, {"text", "text", "text"}, {"1000000", "3", "7"}};
    for (const auto &value : values) {
        WriteSettingsFile(std::string("[Mixer]\r\nCDDISPLAY=0\r\nMIDIDISPLAY=0\r\n"
                                      "MIXDISPLAY=0\r\nWAVEDISPLAY=1\r\nMono=") +
                          value[0] + "\r\nBits=" + value[1] + "\r\nSampleRate=" + value[2] +
                          "\r\n");
        AnswerSaveQuestion(IDNO);
        RecordFor(500);
        SCOPED_TRACE(std::string("Mono=") + value[0] + " Bits=" + value[1] +
                     " SampleRate=" + value[2]);
        EXPECT_EQ(Shown(IDC_TITLE), "untitled 8Bit 22K");
        auto status = [](DWORD item) {
            MCI_STATUS_PARMS parms{};
            parms.dwItem = item;
            Mci.sendCommand(WaveDevice, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&parms));
            return static_cast<DWORD>(parms.dwReturn);
        };
        EXPECT_EQ(status(MCI_WAVE_STATUS_FORMATTAG), DWORD{WAVE_FORMAT_PCM});
        EXPECT_EQ(status(MCI_WAVE_STATUS_CHANNELS), 1u);
        EXPECT_EQ(status(MCI_WAVE_STATUS_BITSPERSAMPLE), 8u);
        EXPECT_EQ(status(MCI_WAVE_STATUS_SAMPLESPERSEC), 22050u);
        EXPECT_EQ(status(MCI_WAVE_STATUS_BLOCKALIGN), 1u);
        EXPECT_EQ(status(MCI_WAVE_STATUS_AVGBYTESPERSEC), 22050u);
    }
    EXPECT_EQ(Questions().size(), 3u) << "each new take asked about the one before";
}

// Wine's own "waveaudio": a real file opened through the Open key plays to
// its end and the panel returns to stopped with its keys released.
TEST_F(WavePanelTest, OnThePlatformsOwnWaveDevice) {
    StartWithWavePanel();
    RemoveSimulatedCard();
    std::string path = directory + "\\real.wav";
    WriteBytes(path, MakeWave(PcmFormat(1, 11025, 8), 1000));
    robot.SetAnswer(TypeIntoFileDialog(path));
    Command(IDC_OPEN);
    if (!robot.Seen().empty() && robot.Seen().back().caption == "sonikbay32 error")
        GTEST_SKIP() << "no wave device: " << robot.Seen().back().text;
    EXPECT_EQ(Shown(IDC_TITLE), "real 8Bit 11K");
    Command(IDC_PLAY);
    EXPECT_TRUE(ButtonLatched(GetDlgItem(WavePanel, IDC_PLAY)));
    for (int waited = 0; waited < 5000 && WavePlayState != WaveStopped; waited += 100)
        Pump(100);
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_FALSE(ButtonLatched(GetDlgItem(WavePanel, IDC_PLAY)));
    Close();
}

} // namespace
