// The CD player panel. The device is opened by type at creation and kept
// open; a drive held by another program, a data disc, no disc and an open
// tray each show their own text, and the 750 ms poll of timer 1 finds discs
// as they come and go. While the playlist drives the panel it plays one
// track at a time, mirrors its times into the playlist panel and hands over
// to the sequencer at the end of each track.
#include "cdplaylist/cd_panel.h"

#include "cdplaylist/cd_titles.h"
#include "cdplaylist/name_cd_dialog.h"
#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/media_device.h"
#include "players/media_files.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/station.h"
#include "shell/station_keys.h"
#include "shell/text_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

DWORD DiscId;
DWORD TrackCount;
int CdPlayState;
DWORD CdPosition = 1;

namespace {

constexpr UINT_PTR CdTimer = 1;
constexpr UINT CdTimerMs = 250;
constexpr int PollAtOnce = 1000;
constexpr int TimeTextSize = 16;
constexpr int TrackLineSize = TextSlotSize + CdNameSize + 8;

// Controls of the panel beyond the player protocol.
constexpr int IDC_TRACKLINE = 3005;
constexpr int IDC_DISCTIME = 3004;
constexpr int IDC_POSITION = 3003;
constexpr int IDC_DOOR = 1014;
constexpr int IDC_NAMECD = 4038;
constexpr int IDC_REPEAT = 4034;
constexpr int IDC_FONTLABEL = 7007;

constexpr int IDS_CD_PLAYER = 549;
constexpr int IDS_CD_IN_USE = 571;

constexpr int Stopped = 0;
constexpr int Playing = 1;
constexpr int Paused = 2;

constexpr LPARAM FromPlaylist = MAKELPARAM(0, FROM_PLAYLIST);
// What the panel sends itself: not the user's.
constexpr LPARAM FromStation = MAKELPARAM(0, FROM_STATION);

MCIDEVICEID CdDeviceId;
bool CdDeviceOpen;
bool DiscReady;
bool DoorOpen;
bool RepeatOn;
bool CdRefreshPending;
HWND LatchedPlayButton;
HWND LatchedPauseButton;
int CdAnimFrame = IdleDisplay;
int CdPollClock;
MCI_PLAY_PARMS CdPlayRequest;
MCI_STATUS_PARMS CdStatus;
HBRUSH CdPanelBrush; // behind the panel's static texts

const ControlPlace CdPlaces[] = {
    {IDC_REWSKIP, 91, 61, 43, 21},     {IDC_REW, 137, 61, 44, 21},
    {IDC_STOP, 183, 61, 43, 21},       {IDC_PLAY, 229, 61, 43, 21},
    {IDC_PAUSE, 274, 61, 43, 21},      {IDC_FF, 318, 61, 44, 21},
    {IDC_FFSKIP, 365, 61, 45, 21},     {IDC_POWER, 19, 18, 47, 18},
    {IDC_DOOR, 19, 48, 47, 18},        {IDC_NAMECD, 572, 18, 48, 18},
    {IDC_REPEAT, 572, 48, 48, 18},     {IDC_TITLE, 100, 4, 317, 18},
    {IDC_TRACKLINE, 100, 24, 317, 18}, {IDC_DISCTIME, 435, 4, 64, 18},
    {IDC_POSITION, 435, 24, 64, 18},
};

bool Driven(HWND panel) {
    return panel == CurrentPlayer;
}

void OnPlayEnded(HWND panel);

DWORD TrackOf(DWORD tmsf) {
    return MCI_TMSF_TRACK(tmsf);
}

DWORD StartOfTrack(DWORD track) {
    return MCI_MAKE_TMSF(track, 0, 0, 0);
}

// ---- device ----

MCIERROR CdCommand(UINT message, DWORD flags, void *params) {
    return Mci.sendCommand(CdDeviceId, message, flags, reinterpret_cast<DWORD_PTR>(params));
}

MCIERROR OpenCdDevice(HWND panel) {
    MCI_OPEN_PARMSA open{};
    open.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    open.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<DWORD_PTR>(MCI_DEVTYPE_CD_AUDIO));
    MCIERROR error = Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_WAIT,
                                     reinterpret_cast<DWORD_PTR>(&open));
    if (error == 0) {
        CdDeviceId = open.wDeviceID;
        CdDeviceOpen = true;
    }
    return error;
}

MCIERROR CloseCdDevice() {
    MCI_GENERIC_PARMS close{};
    MCIERROR error = CdCommand(MCI_CLOSE, MCI_WAIT, &close);
    if (error == 0) {
        CdDeviceOpen = false;
        CdDeviceId = 0;
    }
    return error;
}

MCIERROR SetTmsf() {
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    return CdCommand(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set);
}

MCIERROR QueryStatus(DWORD item, DWORD *value, DWORD track = 0) {
    CdStatus = MCI_STATUS_PARMS{};
    CdStatus.dwItem = item;
    CdStatus.dwTrack = track;
    DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track != 0 ? MCI_TRACK : 0);
    MCIERROR error = CdCommand(MCI_STATUS, flags, &CdStatus);
    if (error == 0)
        *value = static_cast<DWORD>(CdStatus.dwReturn);
    return error;
}

// Plays from CdPosition: one track while the playlist drives the panel, to
// the end of the disc otherwise.
MCIERROR PlayFromPosition(HWND panel) {
    DWORD next = TrackOf(CdPosition) + 1;
    CdPlayRequest.dwFrom = CdPosition;
    CdPlayRequest.dwTo = StartOfTrack(next);
    DWORD flags = MCI_FROM | MCI_NOTIFY;
    if (Driven(panel) && next <= TrackCount)
        flags |= MCI_TO;
    return CdCommand(MCI_PLAY, flags, &CdPlayRequest);
}

// Tracks of the disc in the drive, none for a data disc. Answers whether the
// disc is a data disc; countError gets the error of the track count.
bool ProbeTracks(MCIERROR *countError = nullptr) {
    DWORD count = 0;
    MCIERROR error = QueryStatus(MCI_STATUS_NUMBER_OF_TRACKS, &count);
    if (countError != nullptr)
        *countError = error;
    TrackCount = error == 0 ? count : 0;
    DWORD type = 0;
    if (QueryStatus(MCI_CDA_STATUS_TYPE_TRACK, &type, 1) == 0 && type == MCI_CDA_TRACK_OTHER) {
        TrackCount = 0;
        return true;
    }
    return false;
}

// ---- display ----

void ShowMinutesSeconds(HWND window, int id, DWORD minutes, DWORD seconds) {
    char text[TimeTextSize];
    std::snprintf(text, sizeof text, "%02lu:%02lu", static_cast<unsigned long>(minutes),
                  static_cast<unsigned long>(seconds));
    SetDlgItemTextA(window, id, text);
}

void ShowPosition(HWND panel) {
    ShowMinutesSeconds(panel, IDC_POSITION, MCI_TMSF_MINUTE(CdPosition),
                       MCI_TMSF_SECOND(CdPosition));
    if (Driven(panel) && PlaylistPanel != nullptr)
        ShowMinutesSeconds(PlaylistPanel, IDC_TIME, MCI_TMSF_MINUTE(CdPosition),
                           MCI_TMSF_SECOND(CdPosition));
}

void ShowTitleLine(HWND panel, const char *title) {
    char line[CdTitleLineLimit + 1];
    std::snprintf(line, sizeof line, "%s", title);
    SetDlgItemTextA(panel, IDC_TITLE, line);
}

void ShowTrackLine(HWND panel) {
    DWORD track = TrackOf(CdPosition);
    char name[CdNameSize];
    ReadTrackName(DiscId, static_cast<int>(track), name, sizeof name);
    char line[TrackLineSize];
    std::snprintf(line, sizeof line, "%s %02lu: %s", Text(IDS_TRACK),
                  static_cast<unsigned long>(track), name);
    SetDlgItemTextA(panel, IDC_TRACKLINE, line);
}

void ShowDisc(HWND panel) {
    char title[CdNameSize];
    ReadDiscTitle(DiscId, title, sizeof title);
    ShowTitleLine(panel, title);
    ShowTrackLine(panel);
    ShowMinutesSeconds(panel, IDC_DISCTIME, MCI_MSF_MINUTE(DiscId), MCI_MSF_SECOND(DiscId));
}

// A status text in the title line, the other texts cleared.
// The poll shows the same status again and again while a drive stays empty:
// a text that is there already is not set anew, which would repaint it.
void SetTextUnlessShown(HWND panel, int id, const char *text) {
    char shown[TextSlotSize] = "";
    GetDlgItemTextA(panel, id, shown, sizeof shown);
    if (std::strcmp(shown, text) != 0)
        SetDlgItemTextA(panel, id, text);
}

void ShowStatus(HWND panel, const char *status) {
    SetTextUnlessShown(panel, IDC_TITLE, status);
    for (int id : {IDC_TIME, IDC_DISCTIME, IDC_POSITION, IDC_TRACKLINE})
        SetTextUnlessShown(panel, id, "");
}

void ShowDeviceInUse(HWND panel) {
    ShowStatus(panel, Text(IDS_CD_IN_USE));
    TrackCount = 0;
}

// Opens the device; a drive held by another program says so in the title
// line. Answers whether the device is open.
bool OpenOrSayWhy(HWND panel) {
    MCIERROR error = OpenCdDevice(panel);
    if (error == 0)
        return true;
    if (error == MCIERR_MUST_USE_SHAREABLE)
        ShowDeviceInUse(panel);
    CdDeviceOpen = false;
    return false;
}

// The current track's length in the playlist panel's total time.
void ShowTrackLengthOnPlaylist(DWORD track) {
    if (PlaylistPanel == nullptr)
        return;
    DWORD length = 0;
    if (QueryStatus(MCI_STATUS_LENGTH, &length, track) == 0)
        ShowMinutesSeconds(PlaylistPanel, IDC_TOTAL, MCI_MSF_MINUTE(length),
                           MCI_MSF_SECOND(length));
    else
        SetDlgItemTextA(PlaylistPanel, IDC_TOTAL, "--:--");
}

// Takes the drive's state when another program left it playing.
bool TakeDriveMode(HWND panel) {
    DWORD mode = 0;
    if (QueryStatus(MCI_STATUS_MODE, &mode) != 0)
        return false;
    DWORD position = 0;
    if (mode == MCI_MODE_PLAY && QueryStatus(MCI_STATUS_POSITION, &position) == 0) {
        CdPosition = position != 0 ? position : 1;
        CdPlayState = Playing;
        LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
    } else {
        CdPlayState = Stopped;
        CdPosition = 1;
    }
    return true;
}

void ShowDeviceError(HWND panel, MCIERROR error) {
    ShowMciError(panel, error);
}

// ---- commands ----

// A command that finds the device closed opens it first. Answers whether
// the command is to be carried out.
// Opens the device again after it could not be had: answers 0 when it still
// cannot be, 1 with a disc in the drive and -1 without one (said on the
// panel).
int ReopenDevice(HWND panel) {
    if (!OpenOrSayWhy(panel))
        return 0;
    CdPlayState = Stopped;
    if (ProbeTracks()) {
        ShowStatus(panel, Text(IDS_NO_DISC));
        return -1;
    }
    return 1;
}

void StartAtDisc(HWND panel, const char *positionText) {
    SetTmsf();
    CdPosition = 1;
    SetDlgItemTextA(panel, IDC_POSITION, positionText);
}

// A command reopens the device; without a disc it ends there.
bool ReopenForCommand(HWND panel) {
    int reopened = ReopenDevice(panel);
    if (reopened == 0)
        return true;
    CdRefreshPending = false;
    if (reopened < 0)
        return false;
    StartAtDisc(panel, " ");
    return true;
}

void OnPlay(HWND panel, LPARAM lParam) {
    if (TrackCount == 0)
        return;
    if (HIWORD(lParam) == PLAY_TRACK_REQUEST) {
        DWORD track = LOWORD(lParam);
        if (track >= 1 && track <= TrackCount) {
            CdPosition = StartOfTrack(track);
            ShowTrackLine(panel);
        }
    }
    if (!DiscReady || CdPlayState == Playing)
        return;
    if (CdPlayState == Paused) {
        SendPlayerCommand(panel, IDC_PAUSE, FromStation);
        return;
    }
    CdAnimFrame = IdleDisplay;
    CdPosition = StartOfTrack(TrackOf(CdPosition));
    CdPlayState = Playing;
    // A play that fails leaves the panel playing without a latched key; the
    // next poll finds the drive stopped and ends the play.
    if (PlayFromPosition(panel) == 0)
        LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
}

void OnPause(HWND panel) {
    if (CdPlayState == Stopped)
        return;
    MCIERROR error = 0;
    if (CdPlayState == Playing) {
        DWORD position = 0;
        error = QueryStatus(MCI_STATUS_POSITION, &position);
        if (error == 0) {
            CdPosition = position;
            MCI_GENERIC_PARMS pause{};
            error = CdCommand(MCI_PAUSE, MCI_WAIT, &pause);
        }
        if (error == 0) {
            CdPlayState = Paused;
            LatchButton(panel, IDC_PAUSE, &LatchedPauseButton);
        }
    } else {
        error = PlayFromPosition(panel);
        if (error == 0) {
            CdPlayState = Playing;
            SwitchControl(LatchedPauseButton, false);
            LatchedPauseButton = nullptr;
        }
    }
    if (error != 0) {
        ShowDeviceError(panel, error);
        SendPlayerCommand(panel, IDC_STOP, FromStation);
    }
}

void OnStop(HWND panel) {
    if (CdPlayState == Stopped)
        return;
    MCI_GENERIC_PARMS stop{};
    if (CdCommand(MCI_STOP, MCI_WAIT, &stop) != 0)
        return;
    CdPlayState = Stopped;
    CdPosition = StartOfTrack(TrackOf(CdPosition));
    CdAnimFrame = IdleDisplay;
    DrawIdleDisplay(panel);
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
    ShowPosition(panel);
}

// The position to step from: the drive's while playing, else the kept one.
bool StepOrigin(HWND panel) {
    if (CdPlayState != Playing)
        return true;
    DWORD position = 0;
    if (QueryStatus(MCI_STATUS_POSITION, &position) != 0) {
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return false;
    }
    CdPosition = position;
    return true;
}

// Plays on from a stepped position and shows it.
void ResumeAtPosition(HWND panel) {
    if (CdPlayState == Playing && PlayFromPosition(panel) != 0) {
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return;
    }
    ShowPosition(panel);
}

bool PastTrackEnd(DWORD position, DWORD length) {
    DWORD minutes = MCI_TMSF_MINUTE(position), seconds = MCI_TMSF_SECOND(position);
    DWORD frames = MCI_TMSF_FRAME(position);
    DWORD endMinutes = MCI_MSF_MINUTE(length), endSeconds = MCI_MSF_SECOND(length);
    DWORD endFrames = MCI_MSF_FRAME(length);
    if (minutes != endMinutes)
        return minutes > endMinutes;
    if (seconds != endSeconds)
        return seconds > endSeconds;
    return frames >= endFrames;
}

void OnForward(HWND panel) {
    if (CdPlayState == Stopped || !StepOrigin(panel))
        return;
    DWORD track = TrackOf(CdPosition);
    DWORD minutes = MCI_TMSF_MINUTE(CdPosition), seconds = MCI_TMSF_SECOND(CdPosition) + 6;
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    DWORD target = MCI_MAKE_TMSF(track, minutes, seconds, MCI_TMSF_FRAME(CdPosition));
    DWORD length = 0;
    if (QueryStatus(MCI_STATUS_LENGTH, &length, track) != 0) {
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return;
    }
    if (PastTrackEnd(target, length)) {
        // The playlist's track is over: the list goes on to its next entry.
        if (Driven(panel))
            OnPlayEnded(panel);
        else
            SendPlayerCommand(panel, IDC_FFSKIP, FromStation);
        return;
    }
    CdPosition = target;
    ResumeAtPosition(panel);
}

void OnBack(HWND panel) {
    if (CdPlayState == Stopped || !StepOrigin(panel))
        return;
    DWORD track = TrackOf(CdPosition);
    DWORD minutes = MCI_TMSF_MINUTE(CdPosition), seconds = MCI_TMSF_SECOND(CdPosition);
    DWORD frames = MCI_TMSF_FRAME(CdPosition);
    if (seconds >= 6) {
        seconds -= 6;
    } else if (minutes >= 1) {
        --minutes;
        seconds += 54;
    } else {
        seconds = 0;
        frames = 0; // never back into the previous track
    }
    CdPosition = MCI_MAKE_TMSF(track, minutes, seconds, frames);
    ResumeAtPosition(panel);
}

// A skip on the panel itself takes it away from the playlist.
void DetachFromPlaylist(HWND panel) {
    if (!Driven(panel))
        return;
    CurrentPlayer = nullptr;
    if (PlaylistRunning != 0)
        SendPlayerCommand(PlaylistPanel, IDC_STOP, FromPlaylist);
}

void PlayAfterSkip(HWND panel) {
    if (CdPlayState == Playing && PlayFromPosition(panel) != 0) {
        CdPosition = 1;
        SendPlayerCommand(panel, IDC_STOP, FromStation);
    }
    ShowTrackLine(panel);
}

// The drive's own position, not the last poll's, up to 750 ms old.
void TakeDrivePosition() {
    DWORD position = CdPosition;
    if (CdPlayState == Playing && QueryStatus(MCI_STATUS_POSITION, &position) == 0)
        CdPosition = position;
}

void OnNextTrack(HWND panel) {
    if (TrackCount == 0 || !DiscReady)
        return;
    DetachFromPlaylist(panel);
    TakeDrivePosition();
    DWORD track = TrackOf(CdPosition);
    if (track < TrackCount)
        CdPosition = StartOfTrack(track + 1);
    PlayAfterSkip(panel);
}

void OnPreviousTrack(HWND panel) {
    if (TrackCount == 0 || !DiscReady)
        return;
    DetachFromPlaylist(panel);
    // The drive's position tells whether the track has run a second yet.
    TakeDrivePosition();
    DWORD track = TrackOf(CdPosition);
    bool intoTrack = MCI_TMSF_MINUTE(CdPosition) != 0 || MCI_TMSF_SECOND(CdPosition) >= 1;
    if (CdPlayState == Stopped || !intoTrack)
        track = track > 1 ? track - 1 : 1;
    CdPosition = StartOfTrack(track);
    PlayAfterSkip(panel);
}

void OnDoor(HWND panel) {
    if (CdPlayState != Stopped)
        SendPlayerCommand(panel, IDC_STOP, FromStation);
    if (Driven(panel))
        CurrentPlayer = nullptr;
    MCI_SET_PARMS set{};
    if (DoorOpen) {
        if (CdCommand(MCI_SET, MCI_SET_DOOR_CLOSED | MCI_WAIT, &set) == 0)
            DoorOpen = false;
    } else if (CdCommand(MCI_SET, MCI_SET_DOOR_OPEN | MCI_WAIT, &set) == 0) {
        DoorOpen = true;
        DiscReady = false; // the next poll probes the disc again
    } else {
        DoorOpen = false;
    }
}

void OnNameCd(HWND panel) {
    if (DiscId == 0) {
        MessageBoxA(MainWindow, Text(IDS_DISC_NOT_LOADED), Text(IDS_ERROR_CAPTION),
                    MB_OK | MB_ICONERROR);
        return;
    }
    RunNameCdDialog(MainWindow);
    ShowTrackLine(panel);
}

// The playlist's current entry, a track number and ".CD", is loaded and,
// while the playlist runs, played.
void OnLoadEntry(HWND panel) {
    std::snprintf(PendingMediaPath, sizeof PendingMediaPath, "%s", CurrentEntryText);
    SendPlayerCommand(panel, IDC_STOP, FromPlaylist);
    char number[EntryTextSize];
    FileBaseNameOf(CurrentEntryText, number, sizeof number);
    DWORD track = static_cast<DWORD>(std::strtoul(number, nullptr, 10));
    if (track > 0xFF)
        track = 0; // no such track on any disc: the device refuses to play it
    CdPosition = StartOfTrack(track);
    ShowTrackLine(panel);
    ShowTrackLengthOnPlaylist(track);
    if (PlaylistRunning == 0)
        return;
    if (!DiscReady) {
        SendMessageA(panel, WM_TIMER, CdTimer, 0);
        CdPosition = StartOfTrack(track);
        ShowTrackLine(panel);
    }
    HWND play = GetDlgItem(panel, IDC_PLAY);
    SendPlayerCommand(panel, IDC_PLAY,
                      MAKELPARAM(LOWORD(reinterpret_cast<DWORD_PTR>(play)), FROM_PLAYLIST));
}

void OnPower(HWND panel) {
    ClosePanelByPowerKey(panel, PanelSlotHeight, &CdPanelShown, IDC_SHOW_CD);
}

BOOL OnCommand(HWND panel, int id, LPARAM lParam) {
    NotePlayerCommand(panel, id, lParam);
    if (id == IDC_POWER) {
        OnPower(panel);
        return FALSE;
    }
    if (!CdDeviceOpen && !ReopenForCommand(panel))
        return TRUE;
    // Next track skips on the disc and leaves the playlist: not passed on.
    if (Driven(panel) && HIWORD(lParam) != FROM_PLAYLIST && id != IDC_FFSKIP &&
        EchoedToPlaylist(id))
        SendPlayerCommand(PlaylistPanel, id, FromPlaylist);
    switch (id) {
    case IDC_PLAY: OnPlay(panel, lParam); break;
    case IDC_PAUSE: OnPause(panel); break;
    case IDC_STOP: OnStop(panel); break;
    case IDC_FF: OnForward(panel); break;
    case IDC_REW: OnBack(panel); break;
    case IDC_FFSKIP: OnNextTrack(panel); break;
    case IDC_REWSKIP: OnPreviousTrack(panel); break;
    case IDC_DOOR: OnDoor(panel); break;
    case IDC_NAMECD: OnNameCd(panel); break;
    case NOTIFY_LATCHED: RepeatOn = true; break;
    case NOTIFY_UNLATCHED: RepeatOn = false; break;
    case IDC_OPEN:
        if (HIWORD(lParam) == OPEN_FROM_PLAYLIST)
            OnLoadEntry(panel);
        break;
    default: break;
    }
    return TRUE;
}

// ---- the poll ----

void PostRepeat(HWND panel) {
    HWND play = GetDlgItem(panel, IDC_PLAY);
    PostMessageA(panel, WM_COMMAND, IDC_PLAY,
                 MAKELPARAM(LOWORD(reinterpret_cast<DWORD_PTR>(play)), FROM_STATION));
}

// The poll's reopen of a device that could not be had before.
void ReopenOnPoll(HWND panel) {
    if (ReopenDevice(panel) != 0)
        StartAtDisc(panel, "");
}

// The drive has no disc, or its tray is out.
void ForgetDisc(HWND panel) {
    ShowStatus(panel, Text(DoorOpen ? IDS_DOOR_OPEN : IDS_NO_DISC));
    if (DiscReady)
        DoorOpen = true;
    if (PlatformFamily == 40) {
        CdPosition = 1;
        TrackCount = 0;
    }
    CdPlayState = Stopped;
    DiscReady = false;
    DiscId = 0;
    if (CdAnimFrame != IdleDisplay) { // a frame of a play is on the display
        CdAnimFrame = IdleDisplay;
        DrawIdleDisplay(panel);
    }
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
}

// The newer shell learns a new disc's table only from a fresh open: the
// device is closed on one poll and opened again on the next. Answers whether
// the probe goes on in this tick.
bool RefreshDevice(HWND panel) {
    if (CdDeviceOpen) {
        if (CloseCdDevice() == 0) {
            CdPlayState = Stopped;
            DiscReady = false;
            DiscId = 0;
            CdPosition = 1;
            CdRefreshPending = true;
        }
        return false;
    }
    if (OpenCdDevice(panel) != 0) {
        CdDeviceOpen = false;
        return false;
    }
    if (SetTmsf() != 0 || !TakeDriveMode(panel))
        return false;
    CdRefreshPending = false;
    ShowPosition(panel);
    return true;
}

void ProbeNewDisc(HWND panel) {
    if (ShellGeneration == 95 && !RefreshDevice(panel))
        return;
    CdPosition = 1;
    DiscReady = true;
    DoorOpen = false;
    MCIERROR countError = 0;
    ProbeTracks(&countError);
    if (countError != 0) {
        ShowDeviceError(panel, countError);
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return;
    }
    DWORD present = 1;
    if (ShellGeneration == 95 && QueryStatus(MCI_STATUS_MEDIA_PRESENT, &present) != 0)
        present = 0;
    if (TrackCount == 0 || present == 0) {
        ShowStatus(panel, "CD-ROM");
        return;
    }
    DWORD length = 0;
    if (MCIERROR error = QueryStatus(MCI_STATUS_LENGTH, &length))
        ShowDeviceError(panel, error);
    else
        DiscId = length;
    DWORD position = 0;
    if (QueryStatus(MCI_STATUS_POSITION, &position) != 0)
        return;
    CdPosition = position;
    ShowDisc(panel);
}

void FollowPlay(HWND panel) {
    DWORD mode = MCI_MODE_STOP;
    if (QueryStatus(MCI_STATUS_MODE, &mode) != 0)
        mode = MCI_MODE_STOP;
    if (mode == MCI_MODE_STOP) {
        // The playlist's track has ended, whether the poll or the
        // notification sees it first: the list goes on.
        if (Driven(panel)) {
            OnPlayEnded(panel);
            return;
        }
        // The disc has ended.
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        CdPosition = 1;
        ShowTrackLine(panel);
        ShowPosition(panel);
        if (RepeatOn)
            PostRepeat(panel);
        return;
    }
    DWORD position = 0;
    if (QueryStatus(MCI_STATUS_POSITION, &position) != 0)
        return;
    bool newTrack = TrackOf(position) != TrackOf(CdPosition);
    CdPosition = position;
    if (newTrack)
        ShowTrackLine(panel);
    ShowPosition(panel);
    if (Driven(panel))
        ShowTrackLengthOnPlaylist(TrackOf(CdPosition));
}

// Whether a disc lies ready in the drive. Answers false when the tick is to
// end here.
bool QueryPresence(DWORD *present) {
    // A device closed on purpose for a refresh is opened again by the probe
    // of a new disc; there is nothing to ask until then.
    if (!CdDeviceOpen && CdRefreshPending) {
        *present = 1;
        return true;
    }
    DWORD item = ShellGeneration == 95 ? MCI_STATUS_READY : MCI_STATUS_MEDIA_PRESENT;
    if (QueryStatus(item, present) == 0)
        return true;
    if (CdDeviceId == 0 && !CdRefreshPending)
        return false;
    *present = 0;
    return true;
}

void OnTimer(HWND panel) {
    // The poll runs every third tick, or at once after an open.
    if (AnimateDisplay(panel, CdPlayState, &CdAnimFrame, &CdPollClock) == 0)
        return;
    if (!CdDeviceOpen && TrackCount != 1 && !CdRefreshPending)
        ReopenOnPoll(panel);
    DWORD present = 0;
    if (!QueryPresence(&present))
        return;
    if (present == 0 && !CdRefreshPending) {
        ForgetDisc(panel);
        return;
    }
    if (present != 0 && !DiscReady) {
        ProbeNewDisc(panel);
        return;
    }
    if (CdPlayState == Playing)
        FollowPlay(panel);
}

// ---- notification ----

void OnPlayEnded(HWND panel) {
    if (Driven(panel)) {
        PlaylistRunning = 1;
        SequencerRequest(IDC_FFSKIP, panel);
        return;
    }
    // The drive's own place, not the last poll's, tells where the play ended.
    DWORD position = 0;
    if (QueryStatus(MCI_STATUS_POSITION, &position) == 0)
        CdPosition = position;
    if (TrackOf(CdPosition) < TrackCount) {
        SendPlayerCommand(panel, IDC_FFSKIP, FromStation);
        return;
    }
    SendPlayerCommand(panel, IDC_STOP, FromStation);
    CdPosition = 1;
    ShowPosition(panel);
    ShowTrackLine(panel);
    if (RepeatOn)
        PostRepeat(panel);
}

void OnDoorOpened(HWND panel) {
    if (Driven(panel)) {
        SendPlayerCommand(PlaylistPanel, IDC_STOP, FromPlaylist);
        CurrentPlayer = nullptr;
    }
    ShowStatus(panel, Text(IDS_NO_DISC));
    CdPlayState = Stopped;
    DiscReady = false;
    DiscId = 0;
    DoorOpen = true;
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
}

LRESULT OnMciNotify(HWND panel) {
    if (CdPlayState != Playing)
        return TRUE;
    DWORD mode = 0;
    if (QueryStatus(MCI_STATUS_MODE, &mode) != 0) {
        CdPlayState = Stopped;
        DiscReady = false;
        return TRUE;
    }
    if (mode == MCI_MODE_OPEN)
        OnDoorOpened(panel);
    else if (mode == MCI_MODE_STOP)
        OnPlayEnded(panel);
    return TRUE;
}

// ---- creation and destruction ----

void PlaceCdControls(HWND panel) {
    PlaceControls(panel, CdPlaces);
    if (ShellGeneration == 95)
        SetControlFonts(panel,
                        {IDC_TITLE, IDC_TRACKLINE, IDC_DISCTIME, IDC_POSITION, IDC_FONTLABEL},
                        PanelFont);
}

// Opens the device and shows the disc in the drive, as far as there is one.
void FirstProbe(HWND panel) {
    if (!OpenOrSayWhy(panel))
        return;
    if (ProbeTracks()) {
        ShowStatus(panel, Text(IDS_NO_DISC));
        DiscReady = false;
        return;
    }
    DiscReady = TrackCount != 0;
    if (SetTmsf() != 0)
        return;
    TakeDriveMode(panel);
    DWORD length = 0;
    if (QueryStatus(MCI_STATUS_LENGTH, &length) != 0)
        return;
    DiscId = length;
    CdPollClock = PollAtOnce;
    ShowDisc(panel);
    ShowPosition(panel);
}

BOOL OnInitDialog(HWND panel) {
    ApplyControlNames(panel, NamedPanel::Cd);
    SetDlgItemTextA(panel, IDC_TITLE, Text(IDS_CD_PLAYER));
    PlaceCdControls(panel);
    CdPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    CdAnimFrame = IdleDisplay;
    CdPlayRequest = MCI_PLAY_PARMS{};
    CdPlayRequest.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    DiscReady = false;
    DiscId = 0;
    CdPosition = 1;
    DoorOpen = false;
    RepeatOn = false;
    CdPlayState = Stopped;
    CdRefreshPending = false;
    CdPollClock = 0;
    if (SetTimer(panel, CdTimer, CdTimerMs, nullptr) == 0) {
        MessageBoxA(panel, Text(IDS_CANT_GET_TIMER), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    FirstProbe(panel);
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

BOOL OnDestroy(HWND panel) {
    DeleteObject(CdPanelBrush);
    CdPanelBrush = nullptr;
    KillTimer(panel, CdTimer);
    if (CdDeviceOpen)
        CloseCdDevice();
    if (Driven(panel))
        CurrentPlayer = nullptr;
    LatchedPlayButton = LatchedPauseButton = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK CdPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(panel);
    case WM_PAINT: PaintPanel(panel, CdBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(CdPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(CdPanelBrush);
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam), lParam);
    case WM_TIMER:
        if (wParam == CdTimer)
            OnTimer(panel);
        return TRUE;
    case MM_MCINOTIFY: return OnMciNotify(panel);
    case WM_DESTROY: return OnDestroy(panel);
    default: return FALSE;
    }
}
