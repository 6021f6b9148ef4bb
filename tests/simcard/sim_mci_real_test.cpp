// The simulated card against the platform's own drivers: the same generated
// WAVE and MIDI files opened on Wine's real "waveaudio" and "sequencer" and
// on the card must give the same lengths, formats and error codes; so must
// a generated AVI file on Wine's "avivideo". Recording is compared with
// the documentation only: a recording on Wine's driver leaves a worker behind
// that can bring the test process down later.
#include "tests/simcard/sim_mci_testing.h"

#include <digitalv.h>

namespace {

struct Answers {
    MCIERROR open = 0;
    DWORD_PTR length = 0;
    std::vector<DWORD_PTR> format; // bits, rate, channels, block align, bytes a second
    MCIERROR secondOpen = 0;
};

Answers AskWave(MciClient client, const std::string &path) {
    Answers answers;
    MCIDEVICEID device = 0;
    answers.open = client.Open("waveaudio", path.c_str(), device);
    if (answers.open != 0)
        return answers;
    EXPECT_EQ(0u, client.SetTimeFormat(device, MCI_FORMAT_MILLISECONDS));
    answers.length = client.Status(device, MCI_STATUS_LENGTH);
    for (DWORD item :
         {MCI_WAVE_STATUS_BITSPERSAMPLE, MCI_WAVE_STATUS_SAMPLESPERSEC, MCI_WAVE_STATUS_CHANNELS,
          MCI_WAVE_STATUS_BLOCKALIGN, MCI_WAVE_STATUS_AVGBYTESPERSEC})
        answers.format.push_back(client.Status(device, item));
    MCIDEVICEID again = 0;
    answers.secondOpen = client.Open("waveaudio", path.c_str(), again);
    if (answers.secondOpen == 0)
        client.Close(again);
    EXPECT_EQ(0u, client.Close(device));
    return answers;
}

Answers AskMidi(MciClient client, const std::string &path, DWORD_PTR &tempo) {
    Answers answers;
    MCIDEVICEID device = 0;
    answers.open = client.Open("sequencer", path.c_str(), device);
    if (answers.open != 0)
        return answers;
    EXPECT_EQ(0u, client.SetTimeFormat(device, MCI_FORMAT_MILLISECONDS));
    answers.length = client.Status(device, MCI_STATUS_LENGTH);
    tempo = client.Status(device, MCI_SEQ_STATUS_TEMPO);
    EXPECT_EQ(0u, client.Close(device));
    return answers;
}

class RealDriverTest : public SimMciTest {
  protected:
    void SetUp() override {
        SimMciTest::SetUp();
        // Wine offers "waveaudio" only with a sound server running.
        MCIDEVICEID device = 0;
        MCIERROR error = real.Open("waveaudio", "", device);
        if (error != 0)
            GTEST_SKIP() << "no real waveaudio device here (" << error << ")";
        real.Close(device);
    }

    MciClient real{{mciSendCommandA, mciGetErrorStringA}};
};

TEST_F(RealDriverTest, WaveFilesGiveTheSameLengthFormatAndErrors) {
    struct Case {
        const char *name;
        WaveFormat format;
        DWORD milliseconds;
    } cases[] = {{"mono8.wav", PcmFormat(1, 11025, 8), 1500},
                 {"stereo16.wav", PcmFormat(2, 22050, 16), 700},
                 {"stereo16-44k.wav", PcmFormat(2, 44100, 16), 250}};
    for (const Case &each : cases) {
        std::string path =
            MediaFile("real-wave", each.name, MakeWave(each.format, each.milliseconds));
        Answers fromWine = AskWave(real, path);
        Answers fromCard = AskWave(card, path);
        SCOPED_TRACE(each.name);
        EXPECT_EQ(0u, fromWine.open);
        EXPECT_EQ(fromWine.open, fromCard.open);
        EXPECT_EQ(fromWine.length, fromCard.length);
        EXPECT_EQ(fromWine.format, fromCard.format);
        EXPECT_EQ(MCIERR_DEVICE_OPEN, fromWine.secondOpen);
        EXPECT_EQ(fromWine.secondOpen, fromCard.secondOpen);
    }

    std::string missing = MakeMediaDir("real-wave") + "\\absent.wav";
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, AskWave(real, missing).open);
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, AskWave(card, missing).open);

    Bytes junk = MakeWave(PcmFormat(1, 11025, 8), 100);
    junk[8] = 'X'; // RIFF of another form
    std::string malformed = MediaFile("real-wave", "junk.wav", junk);
    MCIERROR wineError = AskWave(real, malformed).open;
    EXPECT_EQ(MCIERR_INVALID_FILE, wineError);
    EXPECT_EQ(wineError, AskWave(card, malformed).open);
}

TEST_F(RealDriverTest, MidiFilesGiveTheSameLengthAndErrors) {
    MidiSong plain;
    plain.division = 96;
    plain.tempos = {{0, 500000}};
    plain.lengthTicks = 96 * 8; // eight quarters at 120 a minute: 4 s
    std::string path = MediaFile("real-midi", "plain.mid", MakeMidi(plain));
    DWORD_PTR wineTempo = 0, cardTempo = 0;
    Answers fromWine = AskMidi(real, path, wineTempo);
    Answers fromCard = AskMidi(card, path, cardTempo);
    EXPECT_EQ(0u, fromWine.open);
    EXPECT_EQ(0u, fromCard.open);
    EXPECT_EQ(4000u, fromWine.length);
    EXPECT_EQ(fromWine.length, fromCard.length);
    // Wine answers the file's microseconds per quarter note; the
    // documentation says beats per minute, which the card answers.
    EXPECT_EQ(500000u, wineTempo);
    EXPECT_EQ(120u, cardTempo);

    // Along a tempo map: 2 quarters at 0.6 s, 3 at 0.3 s, 1 at 1 s. Wine
    // measures the length as if the whole song kept the default tempo
    // (3000 here); the card follows the tempo map as the file means it.
    MidiSong changing;
    changing.division = 480;
    changing.tempos = {{0, 600000}, {480 * 2, 300000}, {480 * 5, 1000000}};
    changing.lengthTicks = 480 * 6;
    path = MediaFile("real-midi", "changing.mid", MakeMidi(changing));
    fromCard = AskMidi(card, path, cardTempo);
    EXPECT_EQ(3100u, fromCard.length);
    EXPECT_EQ(100u, cardTempo);
    // Wine refuses RIFF RMID files with 296; the platform's documented
    // sequencer plays them, and so does the card.
    path = MediaFile("real-midi", "changing.rmi", MakeRmi(changing));
    fromCard = AskMidi(card, path, cardTempo);
    EXPECT_EQ(0u, fromCard.open);
    EXPECT_EQ(3100u, fromCard.length);

    std::string missing = MakeMediaDir("real-midi") + "\\absent.mid";
    DWORD_PTR tempo = 0;
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, AskMidi(real, missing, tempo).open);
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, AskMidi(card, missing, tempo).open);

    Bytes junk = MakeMidi(plain);
    junk[0] = 'X'; // no MThd
    std::string malformed = MediaFile("real-midi", "junk.mid", junk);
    MCIERROR wineError = AskMidi(real, malformed, tempo).open;
    EXPECT_EQ(MCIERR_INVALID_FILE, wineError);
    EXPECT_EQ(wineError, AskMidi(card, malformed, tempo).open);
}

struct VideoAnswers {
    MCIERROR open = 0;
    DWORD_PTR timeFormat = 0, frames = 0, milliseconds = 0;
    RECT source = {};
    bool window = false;
};

VideoAnswers AskVideo(MciClient client, const std::string &path) {
    VideoAnswers answers;
    MCI_DGV_OPEN_PARMSA open = {};
    open.lpstrElementName = const_cast<LPSTR>(path.c_str());
    open.dwStyle = WS_OVERLAPPEDWINDOW;
    answers.open = client.Send(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_DGV_OPEN_WS | MCI_WAIT, &open);
    if (answers.open != 0)
        return answers;
    MCIDEVICEID device = open.wDeviceID;
    answers.timeFormat = client.Status(device, MCI_STATUS_TIME_FORMAT);
    answers.frames = client.Status(device, MCI_STATUS_LENGTH);
    client.SetTimeFormat(device, MCI_FORMAT_MILLISECONDS);
    answers.milliseconds = client.Status(device, MCI_STATUS_LENGTH);
    MCI_DGV_RECT_PARMS where = {};
    EXPECT_EQ(0u, client.Send(device, MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where));
    answers.source = where.rc;
    answers.window = IsWindow(reinterpret_cast<HWND>(client.Status(device, MCI_DGV_STATUS_HWND)));
    EXPECT_EQ(0u, client.Close(device));
    return answers;
}

TEST_F(RealDriverTest, AviFilesGiveTheSameFramesTimeAndSize) {
    std::string path = MediaFile("real-avi", "clip.avi", MakeAvi(AviMovie{12, 40000, 96, 64}));
    VideoAnswers fromWine = AskVideo(real, path);
    VideoAnswers fromCard = AskVideo(card, path);
    ASSERT_EQ(0u, fromWine.open);
    EXPECT_EQ(0u, fromCard.open);
    EXPECT_EQ(fromWine.timeFormat, fromCard.timeFormat);
    EXPECT_EQ(12u, fromWine.frames);
    EXPECT_EQ(fromWine.frames, fromCard.frames);
    EXPECT_EQ(fromWine.milliseconds, fromCard.milliseconds);
    EXPECT_EQ(96, fromWine.source.right);
    EXPECT_EQ(fromWine.source.right, fromCard.source.right);
    EXPECT_EQ(fromWine.source.bottom, fromCard.source.bottom);
    EXPECT_TRUE(fromWine.window);
    EXPECT_TRUE(fromCard.window);

    std::string notAvi = MediaFile("real-avi", "tone.avi", MakeWave(PcmFormat(1, 8000, 8), 10));
    MCIERROR wineError = AskVideo(real, notAvi).open;
    EXPECT_NE(0u, wineError);
    EXPECT_EQ(wineError, AskVideo(card, notAvi).open);
}

TEST_F(RealDriverTest, ErrorTextsAreThePlatformsOwn) {
    MciBinding sim = SimMciBinding();
    for (MCIERROR code : {MCIERR_INVALID_DEVICE_ID,
                          MCIERR_HARDWARE,
                          MCIERR_INVALID_DEVICE_NAME,
                          MCIERR_DEVICE_OPEN,
                          MCIERR_CANNOT_LOAD_DRIVER,
                          MCIERR_MISSING_PARAMETER,
                          MCIERR_UNSUPPORTED_FUNCTION,
                          MCIERR_FILE_NOT_FOUND,
                          MCIERR_DEVICE_NOT_READY,
                          MCIERR_CANNOT_USE_ALL,
                          MCIERR_EXTENSION_NOT_FOUND,
                          MCIERR_OUTOFRANGE,
                          MCIERR_FLAGS_NOT_COMPATIBLE,
                          MCIERR_FILE_NOT_SAVED,
                          MCIERR_DUPLICATE_ALIAS,
                          MCIERR_BAD_CONSTANT,
                          MCIERR_MUST_USE_SHAREABLE,
                          MCIERR_MISSING_DEVICE_NAME,
                          MCIERR_BAD_TIME_FORMAT,
                          MCIERR_INVALID_FILE,
                          MCIERR_NULL_PARAMETER_BLOCK,
                          MCIERR_UNNAMED_RESOURCE,
                          MCIERR_NONAPPLICABLE_FUNCTION,
                          MCIERR_FILENAME_REQUIRED,
                          MCIERR_SEQ_NOMIDIPRESENT,
                          MCIERR_CREATEWINDOW,
                          MCIERR_FILE_READ}) {
        char wine[256] = "", ours[256] = "";
        EXPECT_TRUE(mciGetErrorStringA(code, wine, sizeof wine));
        EXPECT_TRUE(sim.getErrorString(code, ours, sizeof ours)) << code;
        EXPECT_STREQ(wine, ours) << code;
    }
}

} // namespace
