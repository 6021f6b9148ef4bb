// The simulated "cdaudio" device: track tables in TMSF, MSF and
// milliseconds, plays that end, supersede and abort, data discs, no disc,
// the tray, a drive held by another program and a drive already playing.
#include "tests/simcard/sim_mci_testing.h"

namespace {

class SimCdTest : public SimMciTest {
  protected:
    // Three tracks: 3:00, 4:00 and 0:30.
    void Insert(int playingTrack = 0) {
        SimMciConfig config;
        config.cd.discLoaded = true;
        config.cd.disc = AudioDisc({180, 240, 30});
        config.cd.playingTrack = playingTrack;
        Reset(config);
    }

    MCIDEVICEID OpenCd(DWORD format = MCI_FORMAT_TMSF) {
        MCI_OPEN_PARMSA open = {};
        open.lpstrDeviceType = reinterpret_cast<LPCSTR>(MCI_DEVTYPE_CD_AUDIO);
        EXPECT_EQ(0u, card.Send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_WAIT, &open));
        EXPECT_EQ(0u, card.SetTimeFormat(open.wDeviceID, format));
        return open.wDeviceID;
    }

    MCIERROR SetDoor(MCIDEVICEID device, DWORD flag) {
        MCI_SET_PARMS set = {};
        return card.Send(device, MCI_SET, flag | MCI_WAIT, &set);
    }
};

TEST_F(SimCdTest, AnswersTheTrackTableInEveryTimeFormat) {
    Insert();
    MCIDEVICEID cd = OpenCd();
    EXPECT_EQ(3u, card.Status(cd, MCI_STATUS_NUMBER_OF_TRACKS));
    // Lengths come in MSF even in TMSF format.
    EXPECT_EQ(MCI_MAKE_MSF(7, 30, 0), card.Status(cd, MCI_STATUS_LENGTH));
    EXPECT_EQ(MCI_MAKE_MSF(4, 0, 0), card.Status(cd, MCI_STATUS_LENGTH, 2));
    EXPECT_EQ(MCI_MAKE_TMSF(1, 0, 0, 0), card.Status(cd, MCI_STATUS_POSITION));
    EXPECT_EQ(MCI_MAKE_TMSF(3, 0, 0, 0), card.Status(cd, MCI_STATUS_POSITION, 3));
    EXPECT_EQ(1u, card.Status(cd, MCI_STATUS_CURRENT_TRACK));
    EXPECT_EQ(DWORD(MCI_CDA_TRACK_AUDIO), card.Status(cd, MCI_CDA_STATUS_TYPE_TRACK, 1));
    EXPECT_EQ(TRUE, card.Status(cd, MCI_STATUS_MEDIA_PRESENT));
    EXPECT_EQ(TRUE, card.Status(cd, MCI_STATUS_READY));
    EXPECT_EQ(MCI_MODE_STOP, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(MCI_FORMAT_TMSF, card.Status(cd, MCI_STATUS_TIME_FORMAT));

    // MSF positions are absolute: track 1 starts two seconds into the disc.
    EXPECT_EQ(0u, card.SetTimeFormat(cd, MCI_FORMAT_MSF));
    EXPECT_EQ(MCI_MAKE_MSF(0, 2, 0), card.Status(cd, MCI_STATUS_POSITION));
    EXPECT_EQ(MCI_MAKE_MSF(3, 2, 0), card.Status(cd, MCI_STATUS_POSITION, 2));
    EXPECT_EQ(0u, card.SetTimeFormat(cd, MCI_FORMAT_MILLISECONDS));
    EXPECT_EQ(450000u, card.Status(cd, MCI_STATUS_LENGTH));
    EXPECT_EQ(420000u, card.Status(cd, MCI_STATUS_POSITION, 3));
    EXPECT_EQ(MCIERR_BAD_TIME_FORMAT, card.SetTimeFormat(cd, MCI_FORMAT_BYTES));

    DWORD_PTR value = 0;
    EXPECT_EQ(MCIERR_OUTOFRANGE, card.TryStatus(cd, MCI_STATUS_LENGTH, value, 4));
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_CDA_STATUS_TYPE_TRACK;
    EXPECT_EQ(MCIERR_MISSING_PARAMETER, card.Send(cd, MCI_STATUS, MCI_STATUS_ITEM, &status));
    card.SetTimeFormat(cd, MCI_FORMAT_TMSF);
    EXPECT_EQ(MCIERR_OUTOFRANGE, card.Play(cd, MCI_FROM, MCI_MAKE_TMSF(4, 0, 0, 0)));
    EXPECT_EQ(MCIERR_OUTOFRANGE, card.Play(cd, MCI_FROM, MCI_MAKE_TMSF(3, 0, 31, 0)));
}

TEST_F(SimCdTest, PlaysOneTrackAndNotifiesAtItsEnd) {
    Insert();
    MCIDEVICEID cd = OpenCd();
    ASSERT_EQ(0u, card.Play(cd, MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(2, 0, 0, 0),
                            MCI_MAKE_TMSF(3, 0, 0, 0), notices.Callback()));
    AdvanceSimClock(239000);
    EXPECT_EQ(MCI_MODE_PLAY, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(2u, card.Status(cd, MCI_STATUS_CURRENT_TRACK));
    EXPECT_EQ(MCI_MAKE_TMSF(2, 3, 59, 0), card.Status(cd, MCI_STATUS_POSITION));
    EXPECT_TRUE(notices.Take().empty());
    AdvanceSimClock(2000);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, cd}}), notices.Take());
    EXPECT_EQ(MCI_MODE_STOP, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(MCI_MAKE_TMSF(3, 0, 0, 0), card.Status(cd, MCI_STATUS_POSITION));

    // Without an end the play runs to the end of the disc.
    card.Play(cd, MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(3, 0, 20, 0), 0, notices.Callback());
    AdvanceSimClock(10000);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, cd}}), notices.Take());
    EXPECT_EQ(MCI_MAKE_TMSF(3, 0, 30, 0), card.Status(cd, MCI_STATUS_POSITION));
}

TEST_F(SimCdTest, StepsWithinATrackSupersedeAndOtherEndsAbort) {
    Insert();
    MCIDEVICEID cd = OpenCd();
    DWORD_PTR window = notices.Callback();
    DWORD toTrack2 = MCI_MAKE_TMSF(2, 0, 0, 0);
    card.Play(cd, MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(1, 0, 0, 0), toTrack2, window);
    AdvanceSimClock(58000);
    card.Play(cd, MCI_FROM | MCI_TO | MCI_NOTIFY, MCI_MAKE_TMSF(1, 1, 4, 0), toTrack2, window);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUPERSEDED, cd}}), notices.Take());
    EXPECT_EQ(MCI_MAKE_TMSF(1, 1, 4, 0), card.Status(cd, MCI_STATUS_POSITION));
    card.Play(cd, MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(2, 0, 0, 0), 0, window);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, cd}}), notices.Take());

    // Pause holds the position and the notification.
    AdvanceSimClock(3000);
    card.Simple(cd, MCI_PAUSE);
    EXPECT_EQ(MCI_MODE_PAUSE, card.Status(cd, MCI_STATUS_MODE));
    AdvanceSimClock(5000);
    EXPECT_EQ(MCI_MAKE_TMSF(2, 0, 3, 0), card.Status(cd, MCI_STATUS_POSITION));
    card.Simple(cd, MCI_STOP);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, cd}}), notices.Take());
    EXPECT_EQ(MCI_MODE_STOP, card.Status(cd, MCI_STATUS_MODE));
}

TEST_F(SimCdTest, DataDiscsAndEmptyDrives) {
    SimMciConfig config;
    config.cd.discLoaded = true;
    config.cd.disc = DataDisc();
    Reset(config);
    MCIDEVICEID cd = OpenCd();
    EXPECT_EQ(1u, card.Status(cd, MCI_STATUS_NUMBER_OF_TRACKS));
    EXPECT_EQ(DWORD(MCI_CDA_TRACK_OTHER), card.Status(cd, MCI_CDA_STATUS_TYPE_TRACK, 1));
    EXPECT_EQ(MCIERR_HARDWARE, card.Play(cd, MCI_FROM, MCI_MAKE_TMSF(1, 0, 0, 0)));

    Reset(); // a drive with no disc opens, and knows no tracks
    cd = OpenCd();
    DWORD_PTR value = 0;
    EXPECT_EQ(FALSE, card.Status(cd, MCI_STATUS_MEDIA_PRESENT));
    EXPECT_EQ(MCI_MODE_NOT_READY, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(MCIERR_DEVICE_NOT_READY, card.TryStatus(cd, MCI_STATUS_NUMBER_OF_TRACKS, value));
    EXPECT_EQ(MCIERR_DEVICE_NOT_READY, card.Play(cd, 0));
    SimCdInsertDisc(AudioDisc({60, 60}));
    EXPECT_EQ(TRUE, card.Status(cd, MCI_STATUS_MEDIA_PRESENT));
    EXPECT_EQ(2u, card.Status(cd, MCI_STATUS_NUMBER_OF_TRACKS));
}

TEST_F(SimCdTest, TheTrayStopsPlayAndHidesTheDisc) {
    Insert();
    MCIDEVICEID cd = OpenCd();
    card.Play(cd, MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(1, 0, 0, 0), 0, notices.Callback());
    AdvanceSimClock(1000);
    EXPECT_EQ(0u, SetDoor(cd, MCI_SET_DOOR_OPEN));
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, cd}}), notices.Take());
    EXPECT_EQ(MCI_MODE_OPEN, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(FALSE, card.Status(cd, MCI_STATUS_MEDIA_PRESENT));
    EXPECT_EQ(FALSE, card.Status(cd, MCI_STATUS_READY));
    EXPECT_EQ(0u, SetDoor(cd, MCI_SET_DOOR_CLOSED));
    EXPECT_EQ(MCI_MODE_STOP, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(3u, card.Status(cd, MCI_STATUS_NUMBER_OF_TRACKS));
    EXPECT_EQ(MCIERR_FLAGS_NOT_COMPATIBLE, SetDoor(cd, MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED));

    // A person takes the disc out while it plays: the play fails.
    card.Play(cd, MCI_FROM | MCI_NOTIFY, MCI_MAKE_TMSF(2, 0, 0, 0), 0, notices.Callback());
    SimCdRemoveDisc();
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_FAILURE, cd}}), notices.Take());
    EXPECT_EQ(MCI_MODE_OPEN, card.Status(cd, MCI_STATUS_MODE));
    SimCdSetDoor(false);
    EXPECT_EQ(MCI_MODE_NOT_READY, card.Status(cd, MCI_STATUS_MODE));
}

TEST_F(SimCdTest, ADriveHeldByAnotherProgramMustBeShared) {
    SimMciConfig config;
    config.cd.discLoaded = true;
    config.cd.disc = AudioDisc({100});
    config.cd.heldByOtherProgram = true;
    Reset(config);
    MCIDEVICEID cd = 0;
    EXPECT_EQ(MCIERR_MUST_USE_SHAREABLE, card.Open("cdaudio", nullptr, cd));
    EXPECT_EQ(0u, card.Open("cdaudio", nullptr, cd, MCI_OPEN_SHAREABLE));
    card.Close(cd);
    SimCdSetHeldByOtherProgram(false);
    EXPECT_EQ(0u, card.Open("cdaudio", nullptr, cd));
    MCIDEVICEID again = 0;
    EXPECT_EQ(MCIERR_DEVICE_OPEN, card.Open("cdaudio", nullptr, again));
}

TEST_F(SimCdTest, ADriveAlreadyPlayingKeepsPlayingAcrossOpens) {
    Insert(2);
    AdvanceSimClock(5000);
    MCIDEVICEID cd = OpenCd();
    EXPECT_EQ(MCI_MODE_PLAY, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_EQ(MCI_MAKE_TMSF(2, 0, 5, 0), card.Status(cd, MCI_STATUS_POSITION));
    // Closing the device leaves the disc playing.
    card.Close(cd);
    AdvanceSimClock(1000);
    cd = OpenCd();
    EXPECT_EQ(MCI_MAKE_TMSF(2, 0, 6, 0), card.Status(cd, MCI_STATUS_POSITION));
    AdvanceSimClock(270000);
    EXPECT_EQ(MCI_MODE_STOP, card.Status(cd, MCI_STATUS_MODE));
    EXPECT_TRUE(SimMciNotices().empty()); // nobody asked to be told
}

} // namespace
