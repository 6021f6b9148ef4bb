// The MIDI player panel: opens a file on the "sequencer" device, plays,
// pauses, seeks by the second, polls the position on timer 2 and reports the
// end of the file to the sequencer.
#include "players/midi_panel.h"

#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/media_check.h"
#include "players/media_device.h"
#include "players/media_files.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/station.h"
#include "shell/station_keys.h"
#include "shell/text_table.h"

#include <cstdio>
#include <initializer_list>

int MidiPlayState;

namespace {

constexpr UINT_PTR PositionTimer = 2;
constexpr UINT PositionTimerMs = 250;
constexpr int TimeTextSize = 64;
constexpr DWORD OneSecond = 1000;
constexpr int IDS_MIDI_PLAYER = 550;

bool MidiDeviceOpen;
MCIDEVICEID MidiDevice;
DWORD MidiKeptPosition; // ms, kept at pause, seeks while paused and each poll
DWORD MidiLength;       // ms
MCI_PLAY_PARMS MidiPlayRequest;
int MidiFrame = IdleDisplay;
int MidiTicks;
HWND LatchedPlayButton;
HWND LatchedPauseButton;
HBRUSH MidiPanelBrush; // behind the panel's static texts

const ControlPlace MidiPlaces[] = {
    {IDC_REWSKIP, 91, 61, 43, 21}, {IDC_REW, 137, 61, 44, 21},    {IDC_STOP, 183, 61, 43, 21},
    {IDC_PLAY, 229, 61, 43, 21},   {IDC_PAUSE, 274, 61, 43, 21},  {IDC_FF, 318, 61, 44, 21},
    {IDC_FFSKIP, 365, 61, 45, 21}, {IDC_POWER, 19, 16, 47, 18},   {IDC_OPEN, 19, 46, 47, 18},
    {IDC_TITLE, 100, 8, 237, 18},  {IDC_TOTAL, 100, 35, 187, 18}, {IDC_TIME, 297, 35, 64, 18},
};

constexpr LPARAM FromPlaylist = MAKELPARAM(0, FROM_PLAYLIST);
// What the panel sends itself: not the user's.
constexpr LPARAM FromStation = MAKELPARAM(0, FROM_STATION);

// ---- device ----

MCIERROR QueryStatus(DWORD item, DWORD *value) {
    return DeviceStatus(MidiDevice, item, value);
}

MCIERROR PlayFrom(DWORD position) {
    return DevicePlayFrom(MidiDevice, MidiPlayRequest, position);
}

MCIERROR CloseDevice() {
    MCIERROR error = DeviceClose(MidiDevice);
    if (error == 0) {
        MidiDeviceOpen = false;
        MidiDevice = 0;
    }
    return error;
}

// ---- display ----

// The tempo in beats per minute. Some sequencers answer in microseconds per
// quarter note instead; no song is faster than 1000 beats per minute, so a
// larger answer can only be that.
DWORD BeatsPerMinute(DWORD tempo) {
    constexpr DWORD MicrosPerMinute = 60000000;
    constexpr DWORD FastestTempo = 1000;
    if (tempo <= FastestTempo)
        return tempo;
    return (MicrosPerMinute + tempo / 2) / tempo;
}

void ShowLengthAndTempo(HWND panel, DWORD tempo) {
    char length[TimeTextSize];
    FormatPlayerTime(length, sizeof length, MidiLength);
    char text[TimeTextSize + TextSlotSize];
    std::snprintf(text, sizeof text, "%s %s:%ld", length, Text(IDS_TEMPO),
                  static_cast<long>(BeatsPerMinute(tempo)));
    SetDlgItemTextA(panel, IDC_TOTAL, text);
}

// The position now: from the device while playing, else the kept one.
bool CurrentPosition(DWORD *position) {
    if (MidiPlayState != MidiPlaying) {
        *position = MidiKeptPosition;
        return true;
    }
    return QueryStatus(MCI_STATUS_POSITION, position) == 0;
}

// The panel stopped, as its Stop key leaves it.
void StopPlaying(HWND panel) {
    KillTimer(panel, PositionTimer);
    if (MCIERROR error = DeviceStop(MidiDevice)) {
        ShowMciError(panel, error);
        return;
    }
    MidiPlayState = MidiStopped;
    MidiKeptPosition = 0;
    ShowPlayerTime(panel, IDC_TIME, 0);
    MidiFrame = IdleDisplay;
    DrawIdleDisplay(panel);
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
}

// ---- open ----

bool ChooseFromDialog() {
    if (ChooseMediaFile(MainWindow, "*.mid;*.rmi", MidiFilter, ChooseToOpen) == 0 ||
        !KeepChosenFile(MediaRoute::Midi, MediaRoute::Midi))
        return false;
    std::snprintf(PendingMediaPath, sizeof PendingMediaPath, "%s", FileRequestPath);
    std::snprintf(PendingMediaTitle, sizeof PendingMediaTitle, "%s", FileRequestTitle);
    return true;
}

// What plays stops before the old file closes; a drop with AUTOPLAY on
// stops the panel even when it stands still.
bool CloseOldFile(HWND panel, int origin) {
    if (!MidiDeviceOpen)
        return true;
    if (MidiPlayState != MidiStopped || AutoPlayDrop(origin)) {
        StopPlaying(panel);
        if (origin != OPEN_FROM_PLAYLIST && DrivenByPlaylist(panel))
            SendPlayerCommand(PlaylistPanel, IDC_STOP, FromPlaylist);
    }
    if (MCIERROR error = CloseDevice()) {
        ShowMciError(panel, error);
        return false;
    }
    return true;
}

bool OpenDevice(HWND panel, const char *element) {
    if (!FileNameFits(panel, element))
        return false;
    // A file whose chunks lie can keep the sequencer's open from ever
    // coming back: such a file never reaches the device.
    if (MCIERROR error = CheckMediaFile(element, MediaKind::Midi)) {
        ShowMciError(panel, error);
        return false;
    }
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = element;
    MCIERROR error = Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                     reinterpret_cast<DWORD_PTR>(&open));
    if (error != 0) {
        ShowMciError(panel, error);
        return false;
    }
    MidiDevice = open.wDeviceID;
    if ((error = DeviceSetTimeFormat(MidiDevice, MCI_FORMAT_MILLISECONDS)) != 0) {
        ShowMciError(panel, error);
        // A device that cannot count in milliseconds is of no use; it is
        // not left open with nobody to close it.
        CloseDevice();
        return false;
    }
    MidiDeviceOpen = true;
    return true;
}

bool ShowLength(HWND panel) {
    DWORD length = 0, tempo = 0;
    if (QueryStatus(MCI_STATUS_LENGTH, &length) != 0 ||
        QueryStatus(MCI_SEQ_STATUS_TEMPO, &tempo) != 0)
        return false;
    MidiLength = length;
    ShowLengthAndTempo(panel, tempo);
    if (DrivenByPlaylist(panel)) {
        char text[TimeTextSize];
        FormatPlayerTime(text, sizeof text, MidiLength);
        SetDlgItemTextA(PlaylistPanel, IDC_TOTAL, text);
    }
    return true;
}

// Opens the file, and plays it when the drop or the running playlist asks.
// Answers whether it opened.
bool LoadFile(HWND panel, int origin) {
    bool fromPlaylist = origin == OPEN_FROM_PLAYLIST;
    if (!fromPlaylist && origin != OPEN_AND_PLAY && !ChooseFromDialog())
        return false;
    if (!CloseOldFile(panel, origin))
        return false;
    // Without a device nothing plays, even when the old file failed to stop:
    // a file that fails to open must not leave Play ignored.
    MidiPlayState = MidiStopped;
    if (!OpenDevice(panel, fromPlaylist ? CurrentEntryText : PendingMediaPath))
        return false;
    MidiKeptPosition = 0;
    ShowFileTitle(panel, origin);
    if (!ShowLength(panel))
        return false;
    if (origin == OPEN_AND_PLAY || (fromPlaylist && PlaylistRunning == 1)) {
        MidiPlayState = MidiStopped;
        SendPlayerCommand(panel, IDC_PLAY, FromPlaylist);
    }
    return true;
}

void OnOpen(HWND panel, int origin) {
    bool opened = LoadFile(panel, origin);
    ReportEntryOpened(panel, origin, opened, MidiPlayState == MidiPlaying);
}

// ---- transport ----

void OnPlay(HWND panel, bool fromPlaylist) {
    if (!MidiDeviceOpen)
        return;
    if (MidiPlayState == MidiPaused) {
        SendPlayerCommand(panel, IDC_PAUSE, FromStation);
        return;
    }
    if (MidiPlayState == MidiPlaying)
        return;
    MidiFrame = IdleDisplay;
    if (MCIERROR error = PlayFrom(0)) {
        ShowMciError(panel, error);
        return;
    }
    if (panel == CurrentPlayer && !fromPlaylist)
        SendPlayerCommand(PlaylistPanel, IDC_PLAY, FromPlaylist);
    if (SetTimer(panel, PositionTimer, PositionTimerMs, nullptr) == 0) {
        MessageBoxA(panel, Text(IDS_CANT_GET_TIMER), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
        return;
    }
    MidiPlayState = MidiPlaying;
    LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
}

void OnPause(HWND panel) {
    if (MidiPlayState == MidiStopped)
        return;
    if (MidiPlayState == MidiPaused) {
        if (MCIERROR error = PlayFrom(MidiKeptPosition)) {
            ShowMciError(panel, error);
            return;
        }
        MidiPlayState = MidiPlaying;
        SwitchControl(LatchedPauseButton, false);
        LatchedPauseButton = nullptr;
        return;
    }
    DWORD position = 0;
    MCIERROR error = QueryStatus(MCI_STATUS_POSITION, &position);
    if (error == 0)
        error = DeviceStop(MidiDevice);
    if (error != 0) {
        ShowMciError(panel, error);
        return;
    }
    MidiKeptPosition = position;
    MidiPlayState = MidiPaused;
    LatchButton(panel, IDC_PAUSE, &LatchedPauseButton);
}

void OnStop(HWND panel) {
    if (MidiPlayState != MidiStopped)
        StopPlaying(panel);
}

void OnForward(HWND panel) {
    DWORD position = 0;
    if (MidiPlayState == MidiStopped || !CurrentPosition(&position))
        return;
    if (MidiLength < OneSecond || position >= MidiLength - OneSecond) {
        SequencerRequest(END_OF_PLAY, panel);
        return;
    }
    DWORD target = position + OneSecond;
    if (MidiPlayState == MidiPlaying && PlayFrom(target) != 0)
        return;
    if (MidiPlayState == MidiPaused)
        MidiKeptPosition = target;
    ShowPlayerTime(panel, IDC_TIME, target);
}

void OnBack(HWND panel) {
    DWORD position = 0;
    if (MidiPlayState == MidiStopped || !CurrentPosition(&position))
        return;
    DWORD target = position < OneSecond ? 0 : position - OneSecond;
    if (MidiPlayState == MidiPlaying && PlayFrom(target) != 0)
        return;
    MidiKeptPosition = target;
    ShowPlayerTime(panel, IDC_TIME, target);
}

// Within the first second of a driven file: the previous playlist entry.
// Otherwise a playing file starts again; a stopped or paused one stays.
void OnBackToStart(HWND panel) {
    DWORD position = 0;
    if (!CurrentPosition(&position))
        return;
    if (position < OneSecond && DrivenByPlaylist(panel)) {
        SendPlayerCommand(PlaylistPanel, IDC_REWSKIP, FromPlaylist);
        return;
    }
    if (MidiPlayState == MidiPlaying)
        PlayFrom(0);
}

// ---- messages ----

BOOL OnCommand(HWND panel, int id, LPARAM lParam) {
    NotePlayerCommand(panel, id, lParam);
    int origin = HIWORD(lParam);
    bool fromPlaylist = origin == FROM_PLAYLIST;
    // Play is passed on only once the song plays.
    if (panel == CurrentPlayer && !fromPlaylist && id != IDC_PLAY && EchoedToPlaylist(id))
        SendPlayerCommand(PlaylistPanel, id, FromPlaylist);
    switch (id) {
    case IDC_OPEN: OnOpen(panel, origin); break;
    case IDC_PLAY: OnPlay(panel, fromPlaylist); break;
    case IDC_PAUSE: OnPause(panel); break;
    case IDC_STOP: OnStop(panel); break;
    case IDC_FF: OnForward(panel); break;
    case IDC_REW: OnBack(panel); break;
    case IDC_REWSKIP:
        if (!fromPlaylist)
            OnBackToStart(panel);
        break;
    case IDC_POWER:
        ClosePanelByPowerKey(panel, PanelSlotHeight, &MidiPanelShown, IDC_SHOW_MIDI);
        break;
    default: break;
    }
    return FALSE;
}

void OnPositionTimer(HWND panel) {
    if (MidiPlayState == MidiPaused)
        return;
    if (AnimateDisplay(panel, MidiPlayState, &MidiFrame, &MidiTicks) == 0)
        return;
    DWORD mode = 0;
    if (QueryStatus(MCI_STATUS_MODE, &mode) != 0) {
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return;
    }
    if (mode == MCI_MODE_STOP && MidiPlayState == MidiPlaying) {
        SequencerRequest(END_OF_PLAY, panel);
        return;
    }
    DWORD position = 0;
    if (QueryStatus(MCI_STATUS_POSITION, &position) != 0)
        return;
    MidiKeptPosition = position;
    ShowPlayerTime(panel, IDC_TIME, position);
    DWORD tempo = 0;
    if (QueryStatus(MCI_SEQ_STATUS_TEMPO, &tempo) == 0)
        ShowLengthAndTempo(panel, tempo);
}

LRESULT OnMciNotify(HWND panel) {
    // Only a file that plays can end: after the position poll has found the
    // end, the notification of the same end must not end it a second time.
    DWORD position = 0;
    if (MidiDeviceOpen && MidiPlayState == MidiPlaying &&
        QueryStatus(MCI_STATUS_POSITION, &position) == 0 && position >= MidiLength)
        SequencerRequest(END_OF_PLAY, panel);
    return TRUE;
}

BOOL OnInitDialog(HWND panel) {
    ApplyControlNames(panel, NamedPanel::Midi);
    SetDlgItemTextA(panel, IDC_TITLE, Text(IDS_MIDI_PLAYER));
    MidiPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    MidiFrame = IdleDisplay;
    MidiPlayRequest = MCI_PLAY_PARMS{};
    MidiPlayRequest.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    MidiPlayState = MidiStopped;
    PlaceControls(panel, MidiPlaces);
    if (ShellGeneration == 95)
        SetControlFonts(panel, {IDC_TITLE, IDC_TOTAL, IDC_TIME}, PanelFont);
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

BOOL OnDestroy(HWND panel) {
    DeleteObject(MidiPanelBrush);
    MidiPanelBrush = nullptr;
    if (!MidiDeviceOpen)
        return FALSE;
    if (MidiPlayState != MidiStopped)
        SendPlayerCommand(panel, IDC_STOP, FromStation);
    if (MCIERROR error = CloseDevice()) {
        ShowMciError(panel, error);
        return FALSE;
    }
    if (CurrentPlayer == panel)
        CurrentPlayer = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK MidiPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(panel);
    case WM_PAINT: PaintPanel(panel, MidiBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(MidiPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(MidiPanelBrush);
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam), lParam);
    case WM_TIMER:
        if (wParam == PositionTimer)
            OnPositionTimer(panel);
        return TRUE;
    case MM_MCINOTIFY: return OnMciNotify(panel);
    case WM_DESTROY: return OnDestroy(panel);
    default: return FALSE;
    }
}
