// The simulated "mpegvideo" device: what it answers for a sound-only file and
// for a movie, the extension table that leads to it, and the files it opens
// badly or not at all.
#include "tests/simcard/sim_mci_testing.h"

#include <digitalv.h>

namespace {

using SimMpegTest = SimMciTest;

MCIERROR Capability(MciClient &card, MCIDEVICEID device, DWORD item, DWORD_PTR &answer) {
    MCI_GETDEVCAPS_PARMS caps = {};
    caps.dwItem = item;
    MCIERROR error = card.Send(device, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, &caps);
    answer = caps.dwReturn;
    return error;
}

MCIERROR SeekTo(MciClient &card, MCIDEVICEID device, DWORD to) {
    MCI_SEEK_PARMS seek = {};
    seek.dwTo = to;
    return card.Send(device, MCI_SEEK, MCI_TO | MCI_WAIT, &seek);
}

TEST_F(SimMpegTest, ASoundOnlyFileClaimsVideoButHasNoPicture) {
    std::string path = MediaFile("mpeg", "song.mp3", MakeCompressedSound(5000));
    MCIDEVICEID song = 0;
    ASSERT_EQ(0u, card.Open(nullptr, path.c_str(), song));
    EXPECT_EQ("mpegvideo", SimMciCallsOf(MCI_OPEN).back().deviceType);
    DWORD_PTR answer = 0;
    EXPECT_EQ(0u, Capability(card, song, MCI_GETDEVCAPS_DEVICE_TYPE, answer));
    EXPECT_EQ(DWORD_PTR(MCI_DEVTYPE_DIGITAL_VIDEO), answer);
    EXPECT_EQ(0u, Capability(card, song, MCI_GETDEVCAPS_HAS_VIDEO, answer));
    EXPECT_EQ(DWORD_PTR(TRUE), answer);
    EXPECT_EQ(0u, Capability(card, song, MCI_GETDEVCAPS_CAN_RECORD, answer));
    EXPECT_EQ(DWORD_PTR(FALSE), answer);
    MCI_DGV_RECT_PARMS where = {};
    EXPECT_EQ(MCIERR_NO_WINDOW,
              card.Send(song, MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where));
    EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, card.TryStatus(song, MCI_DGV_STATUS_HWND, answer));
    EXPECT_EQ(5000u, card.Status(song, MCI_STATUS_LENGTH));

    // Plays, pauses and resumes; a seek while paused fails.
    ASSERT_EQ(0u, card.Play(song, MCI_NOTIFY, 0, 0, notices.Callback()));
    AdvanceSimClock(2000);
    EXPECT_EQ(2000u, card.Status(song, MCI_STATUS_POSITION));
    EXPECT_EQ(0u, card.Simple(song, MCI_PAUSE));
    EXPECT_EQ(MCI_MODE_PAUSE, card.Status(song, MCI_STATUS_MODE));
    EXPECT_EQ(MCIERR_INTERNAL, SeekTo(card, song, 4000));
    EXPECT_EQ(0u, card.Simple(song, MCI_RESUME));
    AdvanceSimClock(3000);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, song}}), notices.Take());
    EXPECT_EQ(MCI_MODE_STOP, card.Status(song, MCI_STATUS_MODE));
    EXPECT_EQ(0u, SeekTo(card, song, 1000)); // stopped, it seeks
    EXPECT_EQ(1000u, card.Status(song, MCI_STATUS_POSITION));

    MCI_RECORD_PARMS record = {};
    EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, card.Send(song, MCI_RECORD, MCI_WAIT, &record));
    char text[128];
    ASSERT_TRUE(card.mci.getErrorString(MCIERR_INTERNAL, text, sizeof text));
    EXPECT_STREQ("A problem occurred in initializing MCI. Try restarting Windows.", text);
}

TEST_F(SimMpegTest, AMovieShowsItsPictureInAPlaybackWindow) {
    std::string path = MediaFile("mpeg", "clip.mpg", MakeMovie(2000));
    HWND parent = CreateWindowA("STATIC", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    MCI_DGV_OPEN_PARMSA open = {};
    open.lpstrElementName = const_cast<LPSTR>(path.c_str());
    open.dwStyle = WS_CHILD;
    open.hWndParent = parent;
    ASSERT_EQ(0u, card.Send(0, MCI_OPEN,
                            MCI_OPEN_ELEMENT | MCI_DGV_OPEN_WS | MCI_DGV_OPEN_PARENT | MCI_WAIT,
                            &open));
    MCIDEVICEID movie = open.wDeviceID;
    MCI_DGV_RECT_PARMS where = {};
    EXPECT_EQ(0u, card.Send(movie, MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where));
    EXPECT_EQ(0, where.rc.left);
    EXPECT_EQ(0, where.rc.top);
    EXPECT_EQ(160, where.rc.right);
    EXPECT_EQ(120, where.rc.bottom);
    HWND window = reinterpret_cast<HWND>(card.Status(movie, MCI_DGV_STATUS_HWND));
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(parent, GetParent(window));
    EXPECT_EQ(2000u, card.Status(movie, MCI_STATUS_LENGTH));

    ShowWindow(parent, SW_SHOWNA);
    ASSERT_EQ(0u, card.Play(movie, MCI_NOTIFY, 0, 0, notices.Callback()));
    EXPECT_TRUE(IsWindowVisible(window));
    AdvanceSimClock(500);
    EXPECT_EQ(0u, card.Simple(movie, MCI_STOP));
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_ABORTED, movie}}), notices.Take());
    MCI_DGV_STEP_PARMS step = {};
    EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, card.Send(movie, MCI_STEP, MCI_WAIT, &step));
    card.Close(movie);
    EXPECT_FALSE(IsWindow(window));
    DestroyWindow(parent);
}

TEST_F(SimMpegTest, TheTableAndTheConfigurationDecideWhatOpensAndHow) {
    std::string ogg = MediaFile("mpeg", "tune.ogg", MakeCompressedSound(1000));
    MCIDEVICEID device = 0;
    EXPECT_EQ(MCIERR_EXTENSION_NOT_FOUND, card.Open(nullptr, ogg.c_str(), device));
    SimMciConfig config;
    config.moreMpegExtensions = {"ogg"};
    config.mpegSeeksWhilePaused = true;
    Reset(config);
    ASSERT_EQ(0u, card.Open(nullptr, ogg.c_str(), device));
    card.Play(device, 0);
    AdvanceSimClock(300);
    card.Simple(device, MCI_PAUSE);
    EXPECT_EQ(0u, SeekTo(card, device, 800));
    EXPECT_EQ(800u, card.Status(device, MCI_STATUS_POSITION));

    // A length refused or answered as 0: the file still plays to its end.
    std::string unknown =
        MediaFile("mpeg", "stream.wma", MakeCompressedSound(1500, LengthAnswer::Refused));
    ASSERT_EQ(0u, card.Open(nullptr, unknown.c_str(), device));
    DWORD_PTR length = 0;
    EXPECT_EQ(MCIERR_UNRECOGNIZED_COMMAND, card.TryStatus(device, MCI_STATUS_LENGTH, length));
    card.Play(device, MCI_NOTIFY, 0, 0, notices.Callback());
    AdvanceSimClock(1500);
    EXPECT_EQ((NoticeList{{MCI_NOTIFY_SUCCESSFUL, device}}), notices.Take());
    std::string zero = MediaFile("mpeg", "zero.mp3", MakeCompressedSound(700, LengthAnswer::Zero));
    ASSERT_EQ(0u, card.Open(nullptr, zero.c_str(), device));
    EXPECT_EQ(0u, card.Status(device, MCI_STATUS_LENGTH));

    // Bytes of no format open with a length guessed from their size; an
    // empty file does not open.
    std::string noise = MediaFile("mpeg", "noise.mp3", RandomBytes(3200));
    ASSERT_EQ(0u, card.Open(nullptr, noise.c_str(), device));
    EXPECT_EQ(200u, card.Status(device, MCI_STATUS_LENGTH));
    std::string empty = MediaFile("mpeg", "empty.mp3", Bytes());
    EXPECT_EQ(MCIERR_INTERNAL, card.Open(nullptr, empty.c_str(), device));

    // Without the platform's player neither the type nor its files open.
    config.mpegvideo = false;
    Reset(config);
    EXPECT_EQ(MCIERR_EXTENSION_NOT_FOUND, card.Open(nullptr, noise.c_str(), device));
    EXPECT_EQ(MCIERR_INVALID_DEVICE_NAME, card.Open("mpegvideo", noise.c_str(), device));
}

} // namespace
