// The simulated file devices: "sequencer" along a MIDI tempo map,
// "waveaudio" playing, recording and saving real WAVE files, "avivideo" with
// its playback window; and the media file writers and readers they use.
#include "tests/simcard/sim_mci_testing.h"

#include <digitalv.h>

namespace {

using SimMediaTest = SimMciTest;

TEST(MediaFiles, WritersAndReadersAgree) {
    WaveData wave;
    ASSERT_TRUE(ReadWave(MakeWave(PcmFormat(2, 22050, 16), 500), wave));
    EXPECT_EQ(4u, wave.format.blockAlign);
    EXPECT_EQ(88200u, wave.format.avgBytesPerSec);
    EXPECT_EQ(44100u, wave.samples.size());
    Bytes odd = MakeWave(PcmFormat(1, 11025, 8), 1); // 11 bytes: padded chunk
    ASSERT_TRUE(ReadWave(odd, wave));
    EXPECT_EQ(11u, wave.samples.size());
    EXPECT_FALSE(ReadWave(Bytes(odd.begin(), odd.begin() + 20), wave));

    MidiSong song;
    song.division = 120;
    song.tempos = {{0, 400000}, {240, 800000}};
    song.lengthTicks = 600; // 2 quarters at 0.4 s, 3 at 0.8 s
    MidiInfo midi;
    ASSERT_TRUE(ReadMidi(MakeMidi(song), midi));
    EXPECT_EQ(600u, midi.lengthTicks);
    EXPECT_EQ(3200u, MidiTicksToMs(midi, midi.lengthTicks));
    EXPECT_EQ(800u, MidiTicksToMs(midi, 240));
    EXPECT_EQ(360u, MidiMsToTicks(midi, 1600));
    EXPECT_EQ(800000u, MidiTempoAt(midi, 300));
    ASSERT_TRUE(ReadMidi(MakeRmi(song), midi));
    EXPECT_EQ(3200u, MidiTicksToMs(midi, midi.lengthTicks));
    MidiSong noTempo;
    ASSERT_TRUE(ReadMidi(MakeMidi(noTempo), midi));
    EXPECT_EQ(2000u, MidiTicksToMs(midi, midi.lengthTicks)); // 120 a minute by default

    AviMovie movie{25, 40000, 64, 48}, read;
    ASSERT_TRUE(ReadAvi(MakeAvi(movie), read));
    EXPECT_EQ(25u, read.frames);
    EXPECT_EQ(40000u, read.microsPerFrame);
    EXPECT_EQ(64u, read.width);
    EXPECT_EQ(48u, read.height);
    EXPECT_FALSE(ReadAvi(MakeWave(PcmFormat(1, 8000, 8), 10), read));
}

TEST_F(SimMediaTest, SequencerFollowsTheTempoMap) {
    MidiSong song;
    song.division = 96;
    song.tempos = {{0, 500000}, {192, 250000}};
    song.lengthTicks = 96 * 6; // 2 quarters at 120, 4 at 240: 1 s + 1 s
    std::string path = MediaFile("seq", "map.mid", MakeMidi(song));
    MCIDEVICEID seq = 0;
    ASSERT_EQ(0u, card.Open("sequencer", path.c_str(), seq));
    EXPECT_EQ(MCI_FORMAT_MILLISECONDS, card.Status(seq, MCI_STATUS_TIME_FORMAT));
    EXPECT_EQ(2000u, card.Status(seq, MCI_STATUS_LENGTH));
    EXPECT_EQ(120u, card.Status(seq, MCI_SEQ_STATUS_TEMPO));
    EXPECT_EQ(DWORD(MCI_SEQ_DIV_PPQN), card.Status(seq, MCI_SEQ_STATUS_DIVTYPE));

    ASSERT_EQ(0u, card.Play(seq, MCI_FROM | MCI_NOTIFY, 0, 0, notices.Callback()));
    AdvanceSimClock(1500);
    EXPECT_EQ(240u, card.Status(seq, MCI_SEQ_STATUS_TEMPO)); // the tempo now in force
    EXPECT_EQ(1500u, card.Status(seq, MCI_STATUS_POSITION));
    AdvanceSimClock(500);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, seq}}), notices.Take());

    // Song pointer positions count sixteenth notes.
    EXPECT_EQ(0u, card.SetTimeFormat(seq, MCI_SEQ_FORMAT_SONGPTR));
    EXPECT_EQ(24u, card.Status(seq, MCI_STATUS_LENGTH));
    MCI_SEEK_PARMS seek = {};
    seek.dwTo = 8; // two quarters
    EXPECT_EQ(0u, card.Send(seq, MCI_SEEK, MCI_TO | MCI_WAIT, &seek));
    card.SetTimeFormat(seq, MCI_FORMAT_MILLISECONDS);
    EXPECT_EQ(1000u, card.Status(seq, MCI_STATUS_POSITION));
}

TEST_F(SimMediaTest, WaveAnswersItsFormatInEveryTimeFormat) {
    std::string path = MediaFile("wave", "stereo.wav", MakeWave(PcmFormat(2, 22050, 16), 1000));
    MCIDEVICEID wave = 0;
    ASSERT_EQ(0u, card.Open("waveaudio", path.c_str(), wave));
    EXPECT_EQ(16u, card.Status(wave, MCI_WAVE_STATUS_BITSPERSAMPLE));
    EXPECT_EQ(22050u, card.Status(wave, MCI_WAVE_STATUS_SAMPLESPERSEC));
    EXPECT_EQ(2u, card.Status(wave, MCI_WAVE_STATUS_CHANNELS));
    EXPECT_EQ(4u, card.Status(wave, MCI_WAVE_STATUS_BLOCKALIGN));
    EXPECT_EQ(88200u, card.Status(wave, MCI_WAVE_STATUS_AVGBYTESPERSEC));
    EXPECT_EQ(DWORD(WAVE_FORMAT_PCM), card.Status(wave, MCI_WAVE_STATUS_FORMATTAG));
    EXPECT_EQ(1000u, card.Status(wave, MCI_STATUS_LENGTH));
    card.SetTimeFormat(wave, MCI_FORMAT_BYTES);
    EXPECT_EQ(88200u, card.Status(wave, MCI_STATUS_LENGTH));
    card.SetTimeFormat(wave, MCI_FORMAT_SAMPLES);
    EXPECT_EQ(22050u, card.Status(wave, MCI_STATUS_LENGTH));

    // The format belongs to data that exists.
    MCI_WAVE_SET_PARMS set = {};
    set.nChannels = 1;
    EXPECT_EQ(MCIERR_NONAPPLICABLE_FUNCTION,
              card.Send(wave, MCI_SET, MCI_WAVE_SET_CHANNELS | MCI_WAIT, &set));
    EXPECT_EQ(0u, card.Send(wave, MCI_SET, MCI_WAVE_SET_ANYOUTPUT | MCI_WAIT, &set));
}

TEST_F(SimMediaTest, RecordsANewElementInTheSetFormatAndSavesIt) {
    MCI_WAVE_OPEN_PARMSA open = {};
    open.lpstrDeviceType = "waveaudio";
    open.lpstrElementName = "";
    open.dwBufferSeconds = 3;
    ASSERT_EQ(0u,
              card.Send(0, MCI_OPEN,
                        MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAVE_OPEN_BUFFER | MCI_WAIT, &open));
    MCIDEVICEID wave = open.wDeviceID;
    EXPECT_EQ(3u, SimMciCallsOf(MCI_OPEN).back().item);
    // A new element starts empty in the driver's default format.
    EXPECT_EQ(11025u, card.Status(wave, MCI_WAVE_STATUS_SAMPLESPERSEC));
    EXPECT_EQ(8u, card.Status(wave, MCI_WAVE_STATUS_BITSPERSAMPLE));
    EXPECT_EQ(0u, card.Status(wave, MCI_STATUS_LENGTH));

    MCI_WAVE_SET_PARMS set = {};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    set.wFormatTag = WAVE_FORMAT_PCM;
    set.nChannels = 2;
    set.nSamplesPerSec = 44100;
    set.wBitsPerSample = 16;
    set.nBlockAlign = 4;
    set.nAvgBytesPerSec = 176400;
    DWORD formatFlags = MCI_WAIT | MCI_SET_TIME_FORMAT | MCI_WAVE_SET_FORMATTAG |
                        MCI_WAVE_SET_CHANNELS | MCI_WAVE_SET_SAMPLESPERSEC |
                        MCI_WAVE_SET_AVGBYTESPERSEC | MCI_WAVE_SET_BLOCKALIGN |
                        MCI_WAVE_SET_BITSPERSAMPLE | MCI_WAVE_SET_ANYINPUT;
    ASSERT_EQ(0u, card.Send(wave, MCI_SET, formatFlags, &set));
    set.wBitsPerSample = 12;
    EXPECT_EQ(MCIERR_OUTOFRANGE,
              card.Send(wave, MCI_SET, MCI_WAVE_SET_BITSPERSAMPLE | MCI_WAIT, &set));

    MCI_RECORD_PARMS record = {};
    record.dwCallback = notices.Callback();
    ASSERT_EQ(0u,
              card.Send(wave, MCI_RECORD, MCI_RECORD_OVERWRITE | MCI_FROM | MCI_NOTIFY, &record));
    EXPECT_EQ(MCI_MODE_RECORD, card.Status(wave, MCI_STATUS_MODE));
    AdvanceSimClock(1500);
    EXPECT_EQ(1500u, card.Status(wave, MCI_STATUS_POSITION));
    EXPECT_EQ(1500u, card.Status(wave, MCI_STATUS_LENGTH)); // grows as it records
    card.Simple(wave, MCI_STOP);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, wave}}), notices.Take());

    std::string path = MakeMediaDir("wave") + "\\take1.wav";
    MCI_SAVE_PARMSA save = {};
    save.lpfilename = path.c_str();
    ASSERT_EQ(0u, card.Send(wave, MCI_SAVE, MCI_SAVE_FILE | MCI_WAIT, &save));
    Bytes file;
    WaveData saved;
    ASSERT_TRUE(ReadBytes(path, file));
    ASSERT_TRUE(ReadWave(file, saved));
    EXPECT_EQ(2u, saved.format.channels);
    EXPECT_EQ(44100u, saved.format.samplesPerSec);
    EXPECT_EQ(16u, saved.format.bitsPerSample);
    EXPECT_EQ(176400u * 3 / 2, saved.samples.size());

    // A save needs a name; a bad one is not saved.
    MCI_GENERIC_PARMS generic = {};
    MCIDEVICEID fresh = 0;
    card.Open("waveaudio", "", fresh);
    EXPECT_EQ(MCIERR_UNNAMED_RESOURCE, card.Send(fresh, MCI_SAVE, MCI_WAIT, &generic));
    std::string nowhere = MakeMediaDir("wave") + "\\no\\such\\dir\\x.wav";
    save.lpfilename = nowhere.c_str();
    EXPECT_EQ(MCIERR_FILE_NOT_SAVED, card.Send(wave, MCI_SAVE, MCI_SAVE_FILE | MCI_WAIT, &save));
}

TEST_F(SimMediaTest, RecordingOverwritesOrInsertsIntoOpenData) {
    std::string path = MediaFile("wave", "ten.wav", MakeWave(PcmFormat(1, 8000, 8), 10000));
    MCIDEVICEID wave = 0;
    ASSERT_EQ(0u, card.Open("waveaudio", path.c_str(), wave));
    card.SetTimeFormat(wave, MCI_FORMAT_MILLISECONDS);

    // Overwrite from 0 for 2 s: the length stays 10 s.
    MCI_RECORD_PARMS record = {};
    card.Send(wave, MCI_RECORD, MCI_RECORD_OVERWRITE | MCI_FROM, &record);
    AdvanceSimClock(2000);
    card.Simple(wave, MCI_STOP);
    EXPECT_EQ(10000u, card.Status(wave, MCI_STATUS_LENGTH));
    EXPECT_EQ(2000u, card.Status(wave, MCI_STATUS_POSITION));

    // Append at the end: it grows.
    record.dwFrom = 10000;
    card.Send(wave, MCI_RECORD, MCI_RECORD_OVERWRITE | MCI_FROM, &record);
    AdvanceSimClock(1000);
    card.Simple(wave, MCI_STOP);
    EXPECT_EQ(11000u, card.Status(wave, MCI_STATUS_LENGTH));

    // Without the overwrite flag a record inserts; pause and resume go on
    // inserting where they stopped.
    record.dwFrom = 5000;
    card.Send(wave, MCI_RECORD, MCI_FROM, &record);
    AdvanceSimClock(500);
    card.Simple(wave, MCI_PAUSE);
    EXPECT_EQ(MCI_MODE_PAUSE, card.Status(wave, MCI_STATUS_MODE));
    AdvanceSimClock(700);
    EXPECT_EQ(11500u, card.Status(wave, MCI_STATUS_LENGTH));
    card.Simple(wave, MCI_RESUME);
    AdvanceSimClock(500);
    card.Simple(wave, MCI_STOP);
    EXPECT_EQ(12000u, card.Status(wave, MCI_STATUS_LENGTH));
    EXPECT_EQ(6000u, card.Status(wave, MCI_STATUS_POSITION));

    // A bounded record ends by itself and notifies.
    record.dwFrom = 0;
    record.dwTo = 300;
    record.dwCallback = notices.Callback();
    card.Send(wave, MCI_RECORD, MCI_RECORD_OVERWRITE | MCI_FROM | MCI_TO | MCI_NOTIFY, &record);
    AdvanceSimClock(400);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, wave}}), notices.Take());
    EXPECT_EQ(MCIERR_FLAGS_NOT_COMPATIBLE,
              card.Send(wave, MCI_RECORD, MCI_RECORD_OVERWRITE | MCI_RECORD_INSERT, &record));
}

class SimAviTest : public SimMediaTest {
  protected:
    void SetUp() override {
        SimMediaTest::SetUp();
        path = MediaFile("avi", "clip.avi", MakeAvi(AviMovie{20, 50000, 160, 120}));
        parent = CreateWindowA("STATIC", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override {
        SimMediaTest::TearDown();
        DestroyWindow(parent);
    }

    MCIDEVICEID OpenAvi(DWORD style, HWND parentWindow) {
        MCI_DGV_OPEN_PARMSA open = {};
        open.lpstrElementName = const_cast<LPSTR>(path.c_str());
        open.dwStyle = style;
        open.hWndParent = parentWindow;
        DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT | MCI_DGV_OPEN_WS;
        if (parentWindow != nullptr)
            flags |= MCI_DGV_OPEN_PARENT;
        EXPECT_EQ(0u, card.Send(0, MCI_OPEN, flags, &open));
        return open.wDeviceID;
    }

    std::string path;
    HWND parent = nullptr;
};

TEST_F(SimAviTest, OpensAChildPlaybackWindowAndAnswersItsGeometry) {
    MCIDEVICEID avi = OpenAvi(WS_CHILD, parent);
    EXPECT_EQ(MCI_FORMAT_FRAMES, card.Status(avi, MCI_STATUS_TIME_FORMAT));
    EXPECT_EQ(20u, card.Status(avi, MCI_STATUS_LENGTH));
    card.SetTimeFormat(avi, MCI_FORMAT_MILLISECONDS);
    EXPECT_EQ(1000u, card.Status(avi, MCI_STATUS_LENGTH));

    HWND window = reinterpret_cast<HWND>(card.Status(avi, MCI_DGV_STATUS_HWND));
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(parent, GetParent(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(IsWindowVisible(window));

    MCI_DGV_RECT_PARMS where = {};
    EXPECT_EQ(0u, card.Send(avi, MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where));
    EXPECT_EQ(0, where.rc.left);
    EXPECT_EQ(0, where.rc.top);
    EXPECT_EQ(160, where.rc.right); // an extent, not a corner
    EXPECT_EQ(120, where.rc.bottom);

    MCI_DGV_WINDOW_PARMSA show = {};
    show.nCmdShow = SW_SHOW;
    ShowWindow(parent, SW_SHOWNA);
    EXPECT_EQ(0u, card.Send(avi, MCI_WINDOW, MCI_DGV_WINDOW_STATE | MCI_WAIT, &show));
    EXPECT_TRUE(IsWindowVisible(window));

    card.Close(avi);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(SimAviTest, AnOverlappedWindowShowsWhenPlayStarts) {
    MCIDEVICEID avi = OpenAvi(WS_OVERLAPPEDWINDOW, nullptr);
    HWND window = reinterpret_cast<HWND>(card.Status(avi, MCI_DGV_STATUS_HWND));
    EXPECT_EQ(nullptr, GetParent(window));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(160, client.right);
    EXPECT_EQ(120, client.bottom);
    EXPECT_FALSE(IsWindowVisible(window));
    card.Play(avi, MCI_FROM | MCI_NOTIFY, 0, 0, notices.Callback());
    EXPECT_TRUE(IsWindowVisible(window));
    AdvanceSimClock(1000);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, avi}}), notices.Take());

    MCIDEVICEID orphan = 0;
    MCI_DGV_OPEN_PARMSA open = {};
    open.lpstrElementName = const_cast<LPSTR>(path.c_str());
    open.dwStyle = WS_CHILD;
    card.Close(avi);
    EXPECT_EQ(MCIERR_CREATEWINDOW,
              card.Send(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_DGV_OPEN_WS | MCI_WAIT, &open));
    (void)orphan;
}

TEST_F(SimAviTest, StepsByFramesBothWaysAndLeavesThePlayPaused) {
    MCIDEVICEID avi = OpenAvi(WS_CHILD, parent);
    card.Play(avi, MCI_FROM | MCI_NOTIFY, 0, 0, notices.Callback());
    AdvanceSimClock(250); // five frames
    EXPECT_EQ(5u, card.Status(avi, MCI_STATUS_POSITION));
    MCI_DGV_STEP_PARMS step = {};
    step.dwFrames = 2;
    EXPECT_EQ(0u, card.Send(avi, MCI_STEP, MCI_DGV_STEP_FRAMES | MCI_WAIT, &step));
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, avi}}), notices.Take());
    EXPECT_EQ(7u, card.Status(avi, MCI_STATUS_POSITION));
    EXPECT_EQ(MCI_MODE_PAUSE, card.Status(avi, MCI_STATUS_MODE));
    step.dwFrames = 3;
    card.Send(avi, MCI_STEP, MCI_DGV_STEP_FRAMES | MCI_DGV_STEP_REVERSE | MCI_WAIT, &step);
    EXPECT_EQ(4u, card.Status(avi, MCI_STATUS_POSITION));
    step.dwFrames = 10;
    card.Send(avi, MCI_STEP, MCI_DGV_STEP_FRAMES | MCI_DGV_STEP_REVERSE | MCI_WAIT, &step);
    EXPECT_EQ(0u, card.Status(avi, MCI_STATUS_POSITION));
    step.dwFrames = 50;
    card.Send(avi, MCI_STEP, MCI_DGV_STEP_FRAMES | MCI_WAIT, &step);
    EXPECT_EQ(20u, card.Status(avi, MCI_STATUS_POSITION));
    EXPECT_EQ(4u, SimMciCallsOf(MCI_STEP).size());
    EXPECT_EQ(50u, SimMciCallsOf(MCI_STEP).back().item);
}

} // namespace
