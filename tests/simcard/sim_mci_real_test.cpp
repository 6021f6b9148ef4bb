// The simulated card against the platform's own drivers: the same generated
// WAVE and MIDI files opened on Wine's real "waveaudio" and "sequencer" and
// on the card must give the same lengths, formats and error codes.
#include "tests/simcard/sim_mci_testing.h"

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
