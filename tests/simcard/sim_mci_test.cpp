// The simulated card's MCI as a whole: opening by type, type id and file
// extension, aliases and identifiers, the errors of missing and malformed
// files, the notification rules on the virtual clock, the log and injected
// faults.
#include "tests/simcard/sim_mci_testing.h"

namespace {

class SimMciCardTest : public SimMciTest {
  protected:
    void SetUp() override {
        SimMciTest::SetUp();
        wave = MediaFile("card", "tone.wav", MakeWave(PcmFormat(1, 11025, 8), 2000));
        MidiSong song;
        song.lengthTicks = 96 * 6; // 3 s at 120 a minute
        midi = MediaFile("card", "song.mid", MakeMidi(song));
    }

    MCIDEVICEID OpenWave() {
        MCIDEVICEID device = 0;
        EXPECT_EQ(0u, card.Open("waveaudio", wave.c_str(), device));
        EXPECT_EQ(0u, card.SetTimeFormat(device, MCI_FORMAT_MILLISECONDS));
        return device;
    }

    std::string wave, midi;
};

TEST_F(SimMciCardTest, OpensByTypeNameTypeIdOrExtension) {
    MCIDEVICEID byName = 0, byExtension = 0, byId = 0;
    EXPECT_EQ(0u, card.Open("WaveAudio", wave.c_str(), byName));
    EXPECT_EQ(0u, card.Open(nullptr, midi.c_str(), byExtension));

    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = reinterpret_cast<LPCSTR>(MCI_DEVTYPE_CD_AUDIO);
    EXPECT_EQ(0u, card.Send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_WAIT, &open));
    byId = open.wDeviceID;

    // Identifiers are the lowest free ones, from 1.
    EXPECT_EQ(1u, byName);
    EXPECT_EQ(2u, byExtension);
    EXPECT_EQ(3u, byId);
    EXPECT_EQ(3, OpenSimMciDevices());
    EXPECT_EQ(MCI_DEVTYPE_SEQUENCER, [&] {
        MCI_GETDEVCAPS_PARMS caps = {};
        caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
        card.Send(byExtension, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM, &caps);
        return caps.dwReturn;
    }());

    EXPECT_EQ(0u, card.Close(byName));
    MCIDEVICEID reused = 0;
    EXPECT_EQ(0u, card.Open("waveaudio", "", reused));
    EXPECT_EQ(1u, reused);

    MCI_GENERIC_PARMS generic = {};
    EXPECT_EQ(0u, card.Send(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, &generic));
    EXPECT_EQ(0, OpenSimMciDevices());
}

TEST_F(SimMciCardTest, RefusesOpensAsRealDriversDo) {
    MCIDEVICEID device = 0;
    std::string dir = MakeMediaDir("card");
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, card.Open("waveaudio", (dir + "\\none.wav").c_str(), device));
    EXPECT_EQ(MCIERR_FILE_NOT_FOUND, card.Open("sequencer", (dir + "\\none.mid").c_str(), device));
    EXPECT_EQ(MCIERR_EXTENSION_NOT_FOUND, card.Open(nullptr, (dir + "\\a.xyz").c_str(), device));
    EXPECT_EQ(MCIERR_INVALID_DEVICE_NAME, card.Open("laserdisc", nullptr, device));
    EXPECT_EQ(MCIERR_NULL_PARAMETER_BLOCK, card.Send(0, MCI_OPEN, MCI_OPEN_TYPE, nullptr));

    // Files that are not what their device reads.
    std::string notWave = MediaFile("card", "midi.wav", MakeMidi(MidiSong()));
    std::string notMidi = MediaFile("card", "wave.mid", MakeWave(PcmFormat(1, 8000, 8), 10));
    std::string notAvi = MediaFile("card", "wave.avi", MakeWave(PcmFormat(1, 8000, 8), 10));
    EXPECT_EQ(MCIERR_INVALID_FILE, card.Open(nullptr, notWave.c_str(), device));
    EXPECT_EQ(MCIERR_INVALID_FILE, card.Open(nullptr, notMidi.c_str(), device));
    EXPECT_EQ(MCIERR_INVALID_FILE, card.Open(nullptr, notAvi.c_str(), device));
    Bytes truncated = MakeMidi(MidiSong());
    truncated.resize(truncated.size() - 5);
    std::string cut = MediaFile("card", "cut.mid", truncated);
    EXPECT_EQ(MCIERR_INVALID_FILE, card.Open("sequencer", cut.c_str(), device));
    EXPECT_EQ(0, OpenSimMciDevices());

    // The same file twice on one device type; an alias twice.
    MCIDEVICEID first = 0, second = 0;
    EXPECT_EQ(0u, card.Open("waveaudio", wave.c_str(), first));
    EXPECT_EQ(MCIERR_DEVICE_OPEN, card.Open("waveaudio", wave.c_str(), second));
    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = midi.c_str();
    open.lpstrAlias = "music";
    DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS | MCI_WAIT;
    EXPECT_EQ(0u, card.Send(0, MCI_OPEN, flags, &open));
    open.lpstrElementName = wave.c_str();
    open.lpstrDeviceType = "waveaudio";
    EXPECT_EQ(MCIERR_DUPLICATE_ALIAS, card.Send(0, MCI_OPEN, flags, &open));

    // Devices switched off in the configuration cannot be loaded.
    SimMciConfig none;
    none.waveaudio = false;
    none.cd.drive = false;
    Reset(none);
    EXPECT_EQ(MCIERR_CANNOT_LOAD_DRIVER, card.Open("waveaudio", wave.c_str(), device));
    EXPECT_EQ(MCIERR_CANNOT_LOAD_DRIVER, card.Open("cdaudio", nullptr, device));
}

TEST_F(SimMciCardTest, AnswersCommandErrors) {
    MCIDEVICEID device = OpenWave();
    DWORD_PTR value = 0;
    EXPECT_EQ(MCIERR_INVALID_DEVICE_ID, card.Simple(device + 7, MCI_STOP));
    EXPECT_EQ(MCIERR_CANNOT_USE_ALL, card.Simple(MCI_ALL_DEVICE_ID, MCI_PLAY));
    EXPECT_EQ(MCIERR_BAD_CONSTANT, card.TryStatus(device, 0x4999, value));
    EXPECT_EQ(MCIERR_MISSING_PARAMETER, card.Send(device, MCI_STATUS, MCI_WAIT, &value));
    EXPECT_EQ(MCIERR_NULL_PARAMETER_BLOCK, card.Send(device, MCI_STATUS, MCI_STATUS_ITEM, nullptr));
    EXPECT_EQ(MCIERR_BAD_TIME_FORMAT, card.SetTimeFormat(device, MCI_FORMAT_TMSF));
    EXPECT_EQ(MCIERR_OUTOFRANGE, card.Play(device, MCI_FROM | MCI_WAIT, 2001));
    EXPECT_EQ(MCIERR_OUTOFRANGE, card.Play(device, MCI_FROM | MCI_TO | MCI_WAIT, 1500, 1000));
    EXPECT_EQ(MCIERR_UNSUPPORTED_FUNCTION, card.Simple(device, MCI_STEP));
    EXPECT_EQ(MCIERR_NULL_PARAMETER_BLOCK, card.Send(device, MCI_STOP, MCI_NOTIFY, nullptr));
    // A failed command sets up no notification.
    card.Play(device, MCI_FROM | MCI_NOTIFY, 5000, 0, notices.Callback());
    AdvanceSimClock(3000);
    EXPECT_TRUE(notices.Take().empty());
}

TEST_F(SimMciCardTest, PlayEndsWithSuccessAtItsOwnTime) {
    MCIDEVICEID device = OpenWave();
    ASSERT_EQ(0u, card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, notices.Callback()));
    EXPECT_EQ(MCI_MODE_PLAY, card.Status(device, MCI_STATUS_MODE));
    AdvanceSimClock(1200);
    EXPECT_EQ(1200u, card.Status(device, MCI_STATUS_POSITION));
    EXPECT_TRUE(notices.Take().empty());
    AdvanceSimClock(1000);
    EXPECT_EQ(MCI_MODE_STOP, card.Status(device, MCI_STATUS_MODE));
    EXPECT_EQ(2000u, card.Status(device, MCI_STATUS_POSITION));
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, device}}), notices.Take());
    ASSERT_EQ(1u, SimMciNotices().size());
    EXPECT_EQ(2000u, SimMciNotices()[0].clock);
    EXPECT_EQ(notices.window, SimMciNotices()[0].window);
}

TEST_F(SimMciCardTest, NotificationsAreSupersededOrAborted) {
    MCIDEVICEID device = OpenWave();
    DWORD_PTR window = notices.Callback();

    // A new play to the same end with its own request supersedes.
    card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, window);
    AdvanceSimClock(300);
    card.Play(device, MCI_FROM | MCI_NOTIFY, 1000, 0, window);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUPERSEDED, device}}), notices.Take());
    // Without a request of its own the old one stays and is met at the end.
    card.Play(device, MCI_FROM, 500);
    EXPECT_TRUE(notices.Take().empty());
    AdvanceSimClock(1500);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, device}}), notices.Take());

    // A play that changes the end aborts, and only aborts.
    card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, window);
    card.Play(device, MCI_FROM | MCI_TO | MCI_NOTIFY, 0, 800, window);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, device}}), notices.Take());

    // Pause keeps the notification; resume meets it.
    card.Simple(device, MCI_PAUSE);
    AdvanceSimClock(2000);
    EXPECT_TRUE(notices.Take().empty());
    card.Simple(device, MCI_RESUME);
    AdvanceSimClock(800);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, device}}), notices.Take());

    // Stop, seek and close abort; a stop with its own request then succeeds.
    card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, window);
    card.Simple(device, MCI_STOP, MCI_NOTIFY, window);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, device}, {MCI_NOTIFY_SUCCESSFUL, device}}),
              notices.Take());
    card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, window);
    MCI_SEEK_PARMS seek = {};
    card.Send(device, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &seek);
    EXPECT_EQ(MCI_MODE_STOP, card.Status(device, MCI_STATUS_MODE));
    card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, window);
    card.Close(device);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, device}, {MCI_NOTIFY_ABORTED, device}}),
              notices.Take());

    // Another command with notify supersedes a pending play.
    device = OpenWave();
    card.Play(device, MCI_FROM | MCI_NOTIFY, 0, 0, window);
    MCI_STATUS_PARMS status = {};
    status.dwCallback = window;
    status.dwItem = MCI_STATUS_MODE;
    card.Send(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_NOTIFY, &status);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUPERSEDED, device}, {MCI_NOTIFY_SUCCESSFUL, device}}),
              notices.Take());
}

TEST_F(SimMciCardTest, WaitLetsTheClockRunToTheEnd) {
    MCIDEVICEID device = OpenWave();
    EXPECT_EQ(0u, card.Play(device, MCI_FROM | MCI_TO | MCI_WAIT, 500, 1250));
    EXPECT_EQ(750u, SimClock());
    EXPECT_EQ(1250u, card.Status(device, MCI_STATUS_POSITION));
    EXPECT_EQ(MCI_MODE_STOP, card.Status(device, MCI_STATUS_MODE));
}

TEST_F(SimMciCardTest, LogsEveryCommandWithItsKeyParameters) {
    MCIDEVICEID device = OpenWave();
    card.Play(device, MCI_FROM | MCI_TO | MCI_NOTIFY, 100, 900, notices.Callback());
    DWORD_PTR value = 0;
    card.TryStatus(device, MCI_WAVE_STATUS_CHANNELS, value);
    card.Simple(device + 1, MCI_STOP);

    const std::vector<SimMciCall> &log = SimMciLog();
    ASSERT_EQ(5u, log.size());
    EXPECT_EQ(MCI_OPEN, log[0].message);
    EXPECT_EQ("waveaudio", log[0].deviceType);
    EXPECT_EQ(wave, log[0].text);
    EXPECT_EQ(device, log[0].device);
    EXPECT_EQ(MCI_FORMAT_MILLISECONDS, log[1].item);
    EXPECT_EQ(MCI_PLAY, log[2].message);
    EXPECT_EQ(DWORD(MCI_FROM | MCI_TO | MCI_NOTIFY), log[2].flags);
    EXPECT_EQ(100u, log[2].from);
    EXPECT_EQ(900u, log[2].to);
    EXPECT_EQ(DWORD(MCI_WAVE_STATUS_CHANNELS), log[3].item);
    EXPECT_EQ(1u, log[3].returned);
    EXPECT_EQ(MCIERR_INVALID_DEVICE_ID, log[4].result);
    EXPECT_EQ(1u, SimMciCallsOf(MCI_PLAY).size());
    EXPECT_NE(std::string::npos, DescribeMciCall(log[2]).find("MCI_PLAY"));
    ClearSimMciLog();
    EXPECT_TRUE(SimMciLog().empty());
}

TEST_F(SimMciCardTest, InjectedFaultsHitTheNextMatchingCommandOnce) {
    MCIDEVICEID device = OpenWave();
    SimMciFailNext("sequencer", MCI_PLAY, MCIERR_HARDWARE);
    SimMciFailNext("waveaudio", MCI_PLAY, MCIERR_DEVICE_NOT_READY);
    EXPECT_EQ(MCIERR_DEVICE_NOT_READY, card.Play(device, MCI_FROM, 0));
    EXPECT_EQ(0u, card.Play(device, MCI_FROM, 0));
    SimMciFailNext("cdaudio", MCI_OPEN, MCIERR_MUST_USE_SHAREABLE);
    SimMciFailNext("", MCI_OPEN, MCIERR_CANNOT_LOAD_DRIVER);
    MCIDEVICEID other = 0;
    EXPECT_EQ(MCIERR_CANNOT_LOAD_DRIVER, card.Open("sequencer", midi.c_str(), other));
    EXPECT_EQ(MCIERR_MUST_USE_SHAREABLE, card.Open("cdaudio", nullptr, other));
    EXPECT_EQ(0u, card.Open("sequencer", midi.c_str(), other));
    EXPECT_EQ(MCIERR_HARDWARE, card.Play(other, MCI_FROM, 0));
}

TEST_F(SimMciCardTest, ErrorTextsAnswerEveryCodeTheCardGives) {
    char text[256];
    MciBinding sim = SimMciBinding();
    EXPECT_TRUE(sim.getErrorString(MCIERR_FILE_NOT_FOUND, text, sizeof text));
    EXPECT_STREQ("Cannot find the specified file. Make sure the path and filename are correct.",
                 text);
    char small[10];
    EXPECT_TRUE(sim.getErrorString(MCIERR_FILE_NOT_FOUND, small, sizeof small));
    EXPECT_STREQ("Cannot fi", small);
    EXPECT_FALSE(sim.getErrorString(12345, text, sizeof text));
}

} // namespace
