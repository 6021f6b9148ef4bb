// The WAVE panel on Wine's own "waveaudio" with the sound server's null
// sink: what it plays reaches the sink, and a take recorded from the sink's
// monitor is kept through the save question and the real Save dialog. The
// sound server's own programs capture and feed the sink; a Windows process
// under Wine starts them by their Unix paths.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "cdplaylist/sequencer.h"
#include "players/video_panel.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int ToneAmplitude = 8000;

// A sine of 441 Hz, loud enough to tell from the sink's silence.
Bytes ToneWave(const WaveFormat &format, DWORD ms) {
    WaveData wave;
    wave.format = format;
    DWORD frames = format.samplesPerSec / 1000 * ms;
    for (DWORD i = 0; i < frames; ++i) {
        double phase = 2 * 3.14159265358979 * 441.0 * i / format.samplesPerSec;
        auto sample = static_cast<int16_t>(ToneAmplitude * std::sin(phase));
        for (WORD c = 0; c < format.channels; ++c) {
            wave.samples.push_back(static_cast<uint8_t>(sample & 0xFF));
            wave.samples.push_back(static_cast<uint8_t>((sample >> 8) & 0xFF));
        }
    }
    return MakeWave(wave);
}

// How many 16-bit samples stand out from silence.
size_t LoudSamples(const Bytes &bytes) {
    size_t loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto sample = static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8));
        loud += sample > ToneAmplitude / 4 || sample < -ToneAmplitude / 4;
    }
    return loud;
}

// Starts a program of the Unix side through Wine's "start /unix" and waits
// for start to return; the program must end by itself, and soon, since it
// holds this process's Unix output open. Started from this process
// directly, Wine gives no handle for it and leaves this process's standard
// output or error going nowhere.
bool StartUnixProgram(const std::string &commandLine) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string start = std::string(system) + "\\start.exe";
    std::string line = "\"" + start + "\" /unix " + commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(start.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return false;
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

DWORD FileSize(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

class WaveRealTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        for (const char *tool : {"parecord", "paplay", "pactl", "timeout"})
            if (GetFileAttributesA((std::string("Z:\\usr\\bin\\") + tool).c_str()) ==
                INVALID_FILE_ATTRIBUTES)
                GTEST_SKIP() << "no /usr/bin/" << tool << " to reach the sound server";
        if (waveOutGetNumDevs() == 0 || waveInGetNumDevs() == 0)
            GTEST_SKIP() << "no sound server: Wine offers no wave devices";
        char name[64];
        std::snprintf(name, sizeof name, "/tmp/sbay32_wave_real_%lu", GetCurrentProcessId());
        unixStem = name;
        directory = MakeMediaDir("wave_real");
    }
    void TearDown() override {
        StationTest::TearDown();
        for (const char *suffix : {".raw", ".wav"})
            if (!unixStem.empty())
                DeleteFileA(WindowsPath(unixStem + suffix).c_str());
    }
    static std::string WindowsPath(std::string unixPath) {
        for (char &c : unixPath)
            if (c == '/')
                c = '\\';
        return "Z:" + unixPath;
    }
    // Starts capturing what reaches the sink, mono 16-bit 22050 Hz, for five
    // seconds, and waits until samples reach the file. Answers the capture.
    std::string StartCapture() {
        std::string capture = unixStem + ".raw";
        DeleteFileA(WindowsPath(capture).c_str());
        EXPECT_TRUE(StartUnixProgram("/usr/bin/timeout 5 /usr/bin/parecord -d nullsink.monitor "
                                     "--latency-msec=50 --raw --format=s16le --channels=1 "
                                     "--rate=22050 " +
                                     capture));
        for (int waited = 0; waited < 3000 && FileSize(WindowsPath(capture)) == 0; waited += 50)
            Pump(50);
        return capture;
    }
    void StartOnTheRealCard(const std::string &mixerSettings) {
        WriteSettingsFile("[Mixer]\r\nCDDISPLAY=0\r\nMIDIDISPLAY=0\r\nMIXDISPLAY=0\r\n"
                          "WAVEDISPLAY=1\r\n" +
                          mixerSettings);
        SimCardConfig card;
        card.mixer.present = false;
        card.mci.cd.drive = false;
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        RemoveSimulatedCard();
        robot.Forget();
    }
    void Command(int id) {
        SendMessageA(WavePanel, WM_COMMAND, static_cast<WPARAM>(id), 0);
        Pump();
    }

    std::string unixStem; // of this test's files that the Unix side reads or writes
    std::string directory;
};

// A file dropped on the station plays at once, to its end.
TEST_F(WaveRealTest, WhatThePanelPlaysReachesTheSink) {
    StartOnTheRealCard("");
    std::string tone = directory + "\\tone.wav";
    WriteBytes(tone, ToneWave(PcmFormat(1, 22050, 16), 2000));

    // The capture ends by itself; playback starts once samples reach the
    // file, since the first few tenths of a second of a capture get lost.
    std::string capture = StartCapture();
    ASSERT_GT(FileSize(WindowsPath(capture)), 0u) << "the capture never started";
    DropOnMainWindow({tone});
    Pump();
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "tone 16Bit 22K");
    Pump(500);
    EXPECT_EQ(WavePlayState, WavePlaying);
    for (int waited = 0; waited < 5000 && WavePlayState != WaveStopped; waited += 100)
        Pump(100);
    EXPECT_EQ(WavePlayState, WaveStopped);
    Pump(400); // the last tenths reaching the capture

    Bytes captured;
    ASSERT_TRUE(ReadBytes(WindowsPath(capture), captured));
    EXPECT_GT(LoudSamples(captured), 22050u * 3 / 2)
        << "of " << captured.size() / 2 << " samples captured, the tone is not among them";
    Close();
}

// What a writer to a pipe leaves (RIFF and data sizes at their placeholder)
// and a copy cut short: Wine's device reports the claimed length and stops
// where the sound ends. Opened through the Open key, each shows the length
// it holds, plays its sound to the sink and ends.
TEST_F(WaveRealTest, PipedAndCutFilesPlayWhatTheyHold) {
    StartOnTheRealCard("");
    Bytes whole = ToneWave(PcmFormat(1, 22050, 16), 2000); // 1995 ms: 22 frames a ms
    Bytes piped = whole;
    auto poke32 = [&piped](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            piped[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    poke32(4, 0x7FFFF024);  // the RIFF size
    poke32(40, 0x7FFFF000); // the data size, after a plain 16-byte format
    Bytes cut(whole.begin(), whole.end() - 1044);
    const struct {
        const char *name;
        const Bytes &bytes;
        const char *total;
    } files[] = {{"piped.wav", piped, "00:01"}, {"cut.wav", cut, "00:01"}};
    for (const auto &file : files) {
        std::string path = directory + "\\" + file.name;
        ASSERT_TRUE(WriteBytes(path, file.bytes));
        std::string capture = StartCapture();
        robot.Forget();
        robot.SetAnswer(TypeIntoFileDialog(path));
        Command(IDC_OPEN);
        robot.SetAnswer(nullptr);
        for (const SeenBox &box : robot.Seen())
            EXPECT_NE(box.caption, "sonikbay32 error") << file.name << ": " << box.text;
        EXPECT_EQ(ControlText(WavePanel, IDC_TOTAL), file.total) << file.name;
        Command(IDC_PLAY);
        EXPECT_EQ(WavePlayState, WavePlaying) << file.name;
        for (int waited = 0; waited < 4000 && WavePlayState != WaveStopped; waited += 100)
            Pump(100);
        EXPECT_EQ(WavePlayState, WaveStopped) << file.name << ": the end is never reached";
        Pump(400);
        Bytes captured;
        ASSERT_TRUE(ReadBytes(WindowsPath(capture), captured));
        EXPECT_GT(LoudSamples(captured), 22050u * 3 / 2) << file.name << ": the sound not heard";
        for (int waited = 0; waited < 3000 && FileSize(WindowsPath(capture)) != 0 &&
                             !DeleteFileA(WindowsPath(capture).c_str());
             waited += 100)
            Pump(100); // the capture ends by itself
    }
    Close();
}

// Wine's recorder starts about 1.3 s after RECORD, keeps whole buffers of a
// third of a second, reads a length of 0 until the take is saved, starts
// every RECORD afresh, and answers success for a save it could not make
// while letting go of the take. The panel still keeps the take whole: the
// total shown is where the take stopped, another take into it is asked
// about first, and a file that cannot be written is refused before the
// driver sees it, so the take can go under another name.
TEST_F(WaveRealTest, ATakeFromTheSinkIsSavedWhole) {
    StartOnTheRealCard("Mono=2\r\nBits=16\r\nSampleRate=22050\r\nRECMODE=1\r\n");
    ASSERT_TRUE(StartUnixProgram("/usr/bin/pactl set-default-source nullsink.monitor"));
    std::string tone = unixStem + ".wav";
    WriteBytes(WindowsPath(tone), ToneWave(PcmFormat(2, 22050, 16), 4500));
    Pump(300);
    ASSERT_TRUE(StartUnixProgram("/usr/bin/paplay -d nullsink " + tone));
    Pump(300);

    Command(IDC_RECORD);
    ASSERT_EQ(WavePlayState, WaveRecording);
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "untitled 16Bit 22K");
    Pump(3000);
    Command(IDC_STOP);
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_EQ(WaveModified, 1);
    // The total comes from where the take stopped: the driver's length
    // reads 0 until the take is saved.
    std::string total = ControlText(WavePanel, IDC_TOTAL);

    // Appending would start afresh on this driver: the take is asked about
    // first, and Cancel keeps it as it was.
    robot.SetAnswer([](const SeenBox &box) { return box.text.rfind("[", 0) == 0 ? IDCANCEL : 0; });
    Command(IDC_RECORD);
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text.substr(0, 14), "[UNTITLED.WAV]");
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_EQ(WaveModified, 1);

    // The Power key asks too: Yes, and a name typed into the Save dialog.
    // First a file that refuses writers, held open read-only: the error is
    // shown and the take stays for another name.
    auto saveAs = [this](const std::string &path) {
        auto typePath = TypeIntoFileDialog(path);
        robot.Forget();
        robot.SetAnswer([typePath](const SeenBox &box) -> int {
            if (FileDialogShown() != nullptr)
                return typePath(box);
            return box.text.rfind("[", 0) == 0 ? IDYES : 0;
        });
        Command(IDC_POWER);
    };
    std::string locked = directory + "\\locked.wav";
    Bytes lockedBytes = ToneWave(PcmFormat(1, 22050, 16), 100);
    WriteBytes(locked, lockedBytes);
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    saveAs(locked);
    CloseHandle(hold);
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<SeenBox> seen = robot.Seen();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().icon, BoxIcon::Error) << "the failed save is shown";
    EXPECT_EQ(WaveModified, 1);
    EXPECT_TRUE(WavePanelShown);
    Bytes bytes;
    ASSERT_TRUE(ReadBytes(locked, bytes));
    EXPECT_EQ(bytes, lockedBytes);

    std::string saved = directory + "\\take.wav";
    DeleteFileA(saved.c_str());
    saveAs(saved);
    EXPECT_EQ(WaveModified, 0);
    EXPECT_FALSE(WavePanelShown);

    ASSERT_TRUE(ReadBytes(saved, bytes)) << saved;
    WaveData wave;
    ASSERT_TRUE(ReadWave(bytes, wave));
    EXPECT_EQ(wave.format.formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSec, 22050u);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.avgBytesPerSec, 88200u);
    EXPECT_GE(wave.samples.size(), 88200u / 2);
    EXPECT_GT(LoudSamples(wave.samples), wave.samples.size() / 2 / 2)
        << "most of the take is the tone, not silence";
    int seconds = static_cast<int>(wave.samples.size() / 88200);
    int shown = std::atoi(total.c_str()) * 60 + std::atoi(total.c_str() + 3);
    EXPECT_LE(std::abs(shown - seconds), 1)
        << "the total shown at Stop, " << total
        << ", is the take saved: " << wave.samples.size() / 88.2 << " ms";
    Close();
}

// An MP3, written by lame from a tone, dropped on the station: Wine's own
// media device plays it in the WAVE panel, which shows its name and length
// and is back at 00:00 after the end. Damaged files of the kind (empty, cut,
// random bytes) and a file no device opens leave the station answering; the
// ones that open nowhere are refused with a box naming them.
TEST_F(WaveRealTest, AnMp3DroppedIsHeardAndBadOnesLeaveTheStationAnswering) {
    if (GetFileAttributesA("Z:\\usr\\bin\\lame") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no /usr/bin/lame to write an MP3";
    StartOnTheRealCard("");
    std::string tone = unixStem + ".wav", song = unixStem + ".mp3";
    WriteBytes(WindowsPath(tone), ToneWave(PcmFormat(1, 22050, 16), 5300));
    ASSERT_TRUE(StartUnixProgram("/usr/bin/lame --quiet -b 64 " + tone + " " + song));
    std::string capture = StartCapture();
    DropOnMainWindow({WindowsPath(song)});
    Pump();
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), song.substr(song.rfind('/') + 1));
    EXPECT_EQ(ControlText(WavePanel, IDC_TOTAL), "00:05");
    EXPECT_EQ(WavePlayState, WavePlaying);
    Pump(1000);
    Command(IDC_PAUSE);
    EXPECT_EQ(WavePlayState, WavePaused);
    Command(IDC_FF);
    Command(IDC_PAUSE);
    EXPECT_EQ(WavePlayState, WavePlaying) << "resumed a second on";
    for (int waited = 0; waited < 9000 && WavePlayState != WaveStopped; waited += 100)
        Pump(100);
    EXPECT_EQ(WavePlayState, WaveStopped);
    EXPECT_EQ(ControlText(WavePanel, IDC_TIME), "00:00");
    Bytes captured;
    ASSERT_TRUE(ReadBytes(WindowsPath(capture), captured));
    EXPECT_GT(LoudSamples(captured), 22050u * 3 / 2) << "the song not heard";

    Bytes whole;
    ASSERT_TRUE(ReadBytes(WindowsPath(song), whole));
    const struct {
        const char *name;
        Bytes bytes;
        bool refused;
    } bad[] = {{"empty.mp3", {}, true},
               {"cut.mp3", Bytes(whole.begin(), whole.begin() + whole.size() / 3), false},
               {"noise.mp3", RandomBytes(200000), false},
               {"notes.xyz", Bytes(100, 'x'), true}};
    for (const auto &file : bad) {
        std::string path = directory + "\\" + file.name;
        WriteBytes(path, file.bytes);
        robot.Forget();
        DropOnMainWindow({path});
        Pump(300);
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutA(MainWindow, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &answer), 0)
            << file.name;
        bool boxed = false;
        for (const SeenBox &box : robot.Seen())
            boxed = boxed || (box.caption == "sonikbay32 error" &&
                              box.text.rfind(std::string("[") + file.name + "]", 0) == 0);
        EXPECT_EQ(boxed, file.refused) << file.name;
        Command(IDC_STOP);
    }
    Close();
}

// A film written by ffmpeg as MPEG-1, dropped, plays in the VIDEO panel
// where the device shows it; a list of a WAVE file and an MP3 plays both, in
// order, on Wine's own devices.
TEST_F(WaveRealTest, AnMpegFilmAndAListOfWaveAndMp3PlayOnWinesDevices) {
    if (GetFileAttributesA("Z:\\usr\\bin\\lame") == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA("Z:\\usr\\bin\\ffmpeg") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no /usr/bin/lame or /usr/bin/ffmpeg to write the files";
    std::string film = unixStem + ".mpg", tone = unixStem + ".wav", song = unixStem + ".mp3";
    ASSERT_TRUE(StartUnixProgram("/usr/bin/ffmpeg -loglevel error -y -f lavfi -i "
                                 "color=c=green:s=160x120:d=2:r=25 -c:v mpeg1video -f mpeg " +
                                 film));
    WriteBytes(WindowsPath(tone), ToneWave(PcmFormat(1, 22050, 16), 1500));
    ASSERT_TRUE(StartUnixProgram("/usr/bin/lame --quiet -b 64 " + tone + " " + song));
    std::string wave = directory + "\\first.wav";
    WriteBytes(wave, ToneWave(PcmFormat(1, 22050, 16), 1000));
    StartOnTheRealCard("PlayListName=mix\r\nPlayListEntry=Listmix\r\nMULTIDISPLAY=2\r\n"
                       "[Listmix]\r\n0=" +
                       wave + "\r\n1=" + WindowsPath(song) + "\r\n2=ENDFLAG.END\r\n");

    // Wine's device opens MPEG-1 films only with GStreamer's MPEG demuxer
    // (error 277 without it); then the station names the file in its box and
    // plays nothing. Where the device shows it, it plays to its end in the
    // VIDEO panel, its length as the device counts it (1960 ms here).
    DropOnMainWindow({WindowsPath(film)});
    Pump(500);
    std::string name = film.substr(film.rfind('/') + 1);
    bool refused = false;
    for (const SeenBox &box : robot.Seen())
        refused = refused || box.text.rfind("[" + name + "]", 0) == 0;
    if (refused) {
        EXPECT_FALSE(VideoPanelShown);
        EXPECT_EQ(VideoPlayState, VideoStopped);
    } else {
        EXPECT_TRUE(VideoPanelShown);
        std::string total = ControlText(VideoPanel, IDC_TOTAL);
        EXPECT_TRUE(total == "00:01" || total == "00:02") << total;
        // The picture's window lies in the panel's picture rectangle, though
        // this device does not tell its handle.
        ASSERT_NE(VideoPlaybackWindow, nullptr);
        RECT picture{}, area = {83, 10, 209, 95}, both{};
        GetWindowRect(VideoPlaybackWindow, &picture);
        MapWindowPoints(nullptr, VideoPanel, reinterpret_cast<POINT *>(&picture), 2);
        EXPECT_TRUE(UnionRect(&both, &picture, &area) && EqualRect(&both, &area));
        EXPECT_EQ(picture.bottom - picture.top, 85);
        EXPECT_EQ(VideoPlayState, VideoPlaying);
        for (int waited = 0; waited < 5000 && VideoPlayState != VideoStopped; waited += 100)
            Pump(100);
        EXPECT_EQ(VideoPlayState, VideoStopped);
    }

    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_PLAY, 0);
    Pump(300);
    EXPECT_EQ(CurrentPlayer, WavePanel);
    EXPECT_FALSE(WavePlayOnly);
    std::vector<bool> played;
    for (int waited = 0; waited < 8000 && PlaylistRunning != 0; waited += 100) {
        Pump(100);
        if (WavePlayState == WavePlaying && (played.empty() || played.back() != WavePlayOnly))
            played.push_back(WavePlayOnly);
    }
    EXPECT_EQ(played, (std::vector<bool>{false, true})) << "the WAVE file, then the MP3";
    EXPECT_EQ(PlaylistRunning, 0);
    EXPECT_EQ(CurrentEntryIndex, 1);
    Close();
}

} // namespace
