// The VIDEO panel: opens an AVI file on the digital-video device chosen by
// its extension, shows the picture inside the panel or in a window of its
// own (the window key switches while the video keeps its place), plays,
// pauses, steps frame by frame while Forward or Back is held, follows the
// position on timer 5 and reports the end of the video to the sequencer.
#include "players/video_panel.h"

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

#include <digitalv.h>

#include <algorithm>
#include <cstdio>

int VideoPlayState;
int VideoWindowMode;
HWND VideoPlaybackWindow;

namespace {

constexpr UINT_PTR PositionTimer = 5;
constexpr UINT PositionTimerMs = 250;
constexpr int TimeTextSize = 64;
constexpr int IdleTitleSize = 64;
constexpr int InPanelWindow = 1;

// The picture's place inside the panel.
constexpr RECT PictureInPanel = {83, 10, 83 + 126, 10 + 85};

// Each key at the size of its face, on the panel's 106-pixel plate: the
// panel's own keys on the left, the picture's window, the text display,
// the transport row below it.
const ControlPlace VideoPlaces[] = {
    {IDC_POWER, 19, 12, 47, 18},    {IDC_VIDEOWINDOW, 12, 41, 60, 24}, {IDC_OPEN, 19, 76, 47, 18},
    {IDC_REWSKIP, 219, 70, 43, 21}, {IDC_REW, 265, 70, 44, 21},        {IDC_STOP, 312, 70, 43, 21},
    {IDC_PLAY, 358, 70, 43, 21},    {IDC_PAUSE, 404, 70, 43, 21},      {IDC_FF, 450, 70, 44, 21},
    {IDC_FFSKIP, 497, 70, 45, 21},  {IDC_TITLE, 228, 8, 318, 18},      {IDC_TOTAL, 228, 35, 64, 18},
    {IDC_TIME, 360, 35, 64, 18},
};
// Frames a Forward or Back repeat steps: two while playing, one when paused.
constexpr DWORD StepWhilePlaying = 2;
constexpr DWORD StepWhilePaused = 1;
constexpr DWORD StepByTimeMs = 1000;
// A separate window keeps at least this much of itself on the screen.
constexpr int ReachableEdge = 32;

bool VideoDeviceOpen;
MCIDEVICEID VideoDevice;
DWORD VideoKeptPosition; // ms, kept at pause, after each step and before a switch
DWORD VideoLength;       // ms
// Where the separate window was when the device last left it. Signed, so
// that a window dragged past the left or top edge comes back on screen.
short SavedWindowX;
short SavedWindowY;
// The open video's path, reused when the window mode switches; it holds any
// path a player can be handed.
char VideoElement[PendingMediaPathSize];
char IdleTitle[IdleTitleSize]; // the template's title, shown with no video
HWND LatchedPlayButton;
HWND LatchedPauseButton;
HBRUSH VideoPanelBrush; // behind the panel's static texts

constexpr LPARAM FromPlaylist = MAKELPARAM(0, FROM_PLAYLIST);
// What the panel sends itself: not the user's.
constexpr LPARAM FromStation = MAKELPARAM(0, FROM_STATION);

// ---- device ----

MCIERROR VideoCommand(UINT message, DWORD flags, void *params) {
    return DeviceCommand(VideoDevice, message, flags, params);
}

MCIERROR QueryPosition(DWORD *position) {
    return DeviceStatus(VideoDevice, MCI_STATUS_POSITION, position);
}

MCIERROR PlayFrom(HWND panel, DWORD position) {
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    return DevicePlayFrom(VideoDevice, play, position);
}

MCIERROR StopDevice() {
    MCIERROR error = DeviceStop(VideoDevice);
    // A driver may report that the sound part of a video without sound
    // failed to stop while the picture stopped: a device that stands still
    // has stopped.
    DWORD mode = 0;
    if (error != 0 && DeviceStatus(VideoDevice, MCI_STATUS_MODE, &mode) == 0 &&
        mode == MCI_MODE_STOP)
        return 0;
    return error;
}

MCIERROR CloseDevice() {
    MCIERROR error = DeviceClose(VideoDevice);
    if (error == 0) {
        VideoDeviceOpen = false;
        VideoDevice = 0;
        VideoPlaybackWindow = nullptr;
    }
    return error;
}

// A device that shows a picture of the file: some claim video for a file
// of sound alone, which has no picture to place.
bool IsVideoDevice() {
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = MCI_GETDEVCAPS_HAS_VIDEO;
    MCI_DGV_RECT_PARMS where{};
    return VideoCommand(MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, &caps) == 0 &&
           caps.dwReturn != FALSE &&
           VideoCommand(MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where) == 0;
}

void SaveSeparateWindowPosition() {
    RECT rect;
    if (VideoPlaybackWindow != nullptr && GetWindowRect(VideoPlaybackWindow, &rect)) {
        SavedWindowX = static_cast<short>(rect.left);
        SavedWindowY = static_cast<short>(rect.top);
    }
}

// The picture inside the panel: as large as its rectangle allows with the
// video's own proportions, centred; the panel shows black around it.
void PlaceInPanel() {
    const RECT &area = PictureInPanel;
    LONG width = area.right - area.left, height = area.bottom - area.top;
    MCI_DGV_RECT_PARMS where{};
    if (VideoCommand(MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where) == 0) {
        LONG sourceWidth = where.rc.right - where.rc.left;
        LONG sourceHeight = where.rc.bottom - where.rc.top;
        if (sourceWidth > 0 && sourceHeight > 0) {
            if (sourceWidth * height > sourceHeight * width)
                height = (width * sourceHeight + sourceWidth / 2) / sourceWidth;
            else
                width = (height * sourceWidth + sourceHeight / 2) / sourceHeight;
        }
    }
    LONG x = area.left + (area.right - area.left - width) / 2;
    LONG y = area.top + (area.bottom - area.top - height) / 2;
    MoveWindow(VideoPlaybackWindow, x, y, width, height, TRUE);
}

// The separate window at the saved place with the picture's size; a picture
// of no size or larger than the screen still gives a window one can see
// whole and move.
void PlaceSeparateWindow() {
    MCI_DGV_RECT_PARMS where{};
    VideoCommand(MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT, &where);
    RECT screen = ReachableScreen();
    int screenWidth = std::max<int>(screen.right - screen.left, ReachableEdge);
    int screenHeight = std::max<int>(screen.bottom - screen.top, ReachableEdge);
    int width = std::clamp<int>(where.rc.right - where.rc.left, ReachableEdge, screenWidth);
    int height = std::clamp<int>(where.rc.bottom - where.rc.top, ReachableEdge, screenHeight);
    int x = std::clamp<int>(SavedWindowX, screen.left, screen.left + screenWidth - ReachableEdge);
    int y = std::clamp<int>(SavedWindowY, screen.top, screen.top + screenHeight - ReachableEdge);
    MoveWindow(VideoPlaybackWindow, x, y, width, height, TRUE);
}

// The panel's windows before a device adds one of its own for the picture.
constexpr int MostPanelChildren = 128;
struct PanelChildren {
    HWND windows[MostPanelChildren];
    int count = 0;
    bool whole = true;
};

PanelChildren ChildrenOf(HWND panel) {
    PanelChildren children;
    for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (children.count == MostPanelChildren) {
            children.whole = false;
            break;
        }
        children.windows[children.count++] = child;
    }
    return children;
}

// The window a device made in the panel for the picture, where the device
// does not tell its handle (Wine's DirectShow device answers no
// MCI_DGV_STATUS_HWND): the panel's one child that was not there before the
// open. None when that cannot be told.
HWND NewChildOf(HWND panel, const PanelChildren &before) {
    PanelChildren after = ChildrenOf(panel);
    if (!before.whole || !after.whole)
        return nullptr;
    HWND added = nullptr;
    for (int i = 0; i < after.count; ++i) {
        const HWND *end = before.windows + before.count;
        if (std::find(before.windows, end, after.windows[i]) != end)
            continue;
        if (added != nullptr)
            return nullptr;
        added = after.windows[i];
    }
    return added;
}

// The picture's window as the device tells it, or as the panel finds it.
HWND PictureWindow(int mode, HWND panel, const PanelChildren &before) {
    DWORD_PTR window = 0;
    if (DeviceWideStatus(VideoDevice, MCI_DGV_STATUS_HWND, &window) == 0 && window != 0)
        return reinterpret_cast<HWND>(window);
    return mode == VideoSeparateWindow ? nullptr : NewChildOf(panel, before);
}

// Opens the video element in the given window mode and places its window.
// Answers 0 or the error that left no device open.
MCIERROR OpenVideoDevice(int mode, HWND panel) {
    // The station reads the headers of AVI files; other films are their
    // device's to read.
    char extension[8] = "";
    FileExtensionOf(VideoElement, extension, sizeof extension);
    MCIERROR checked =
        lstrcmpiA(extension, ".avi") == 0 ? CheckMediaFile(VideoElement, MediaKind::Avi) : 0;
    if (checked != 0)
        return checked;
    MCI_DGV_OPEN_PARMSA open{};
    open.lpstrElementName = VideoElement;
    DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT | MCI_DGV_OPEN_WS;
    if (mode == VideoSeparateWindow) {
        open.dwStyle = WS_OVERLAPPEDWINDOW;
    } else {
        flags |= MCI_DGV_OPEN_PARENT;
        open.dwStyle = WS_CHILD;
        open.hWndParent = panel;
    }
    PanelChildren before = ChildrenOf(panel);
    if (MCIERROR error = Mci.sendCommand(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)))
        return error;
    VideoDevice = open.wDeviceID;
    // A sound or MIDI file named in the open dialog opens on its own device,
    // which has no picture: that is no video.
    if (!IsVideoDevice()) {
        CloseDevice();
        return MCIERR_INVALID_FILE;
    }
    // A separate window the panel cannot find keeps the place and size its
    // device gave it, the picture filling it.
    VideoPlaybackWindow = PictureWindow(mode, panel, before);
    if (VideoPlaybackWindow != nullptr) {
        if (mode == VideoSeparateWindow)
            PlaceSeparateWindow();
        else
            PlaceInPanel();
        // The whole picture fills the window, whatever the window's size.
        MCI_DGV_PUT_PARMS put{};
        GetClientRect(VideoPlaybackWindow, &put.rc);
        VideoCommand(MCI_PUT, MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT | MCI_WAIT, &put);
    }
    // The first frame shows at once; the separate window does not take the
    // activation from the station until the video plays.
    MCI_DGV_WINDOW_PARMSA show{};
    show.nCmdShow = SW_SHOWNA;
    VideoCommand(MCI_WINDOW, MCI_DGV_WINDOW_STATE | MCI_WAIT, &show);
    if (MCIERROR error = DeviceSetTimeFormat(VideoDevice, MCI_FORMAT_MILLISECONDS)) {
        // Positions in any other unit would be shown as milliseconds.
        CloseDevice();
        return error;
    }
    return 0;
}

// ---- display ----

// The panel as it is with nothing playing: keys up, no timer, time 00:00.
void ShowStopped(HWND panel) {
    KillTimer(panel, PositionTimer);
    VideoPlayState = VideoStopped;
    VideoKeptPosition = 0;
    ShowPlayerTime(panel, IDC_TIME, 0);
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
}

// The panel as it is with no video open.
void ShowNoVideo(HWND panel) {
    ShowStopped(panel);
    SetDlgItemTextA(panel, IDC_TITLE, IdleTitle);
    ShowPlayerTime(panel, IDC_TOTAL, 0);
}

// ---- open ----

bool ChooseFromDialog() {
    if (ChooseMediaFile(MainWindow, "*.avi", AllFilesFilter, ChooseToOpen) == 0 ||
        !KeepChosenFile(MediaRoute::Video, MediaRoute::Video))
        return false;
    std::snprintf(PendingMediaPath, sizeof PendingMediaPath, "%s", FileRequestPath);
    std::snprintf(PendingMediaTitle, sizeof PendingMediaTitle, "%s", FileRequestTitle);
    return true;
}

bool CloseOldVideo(HWND panel, int origin) {
    if (!VideoDeviceOpen)
        return true;
    if (VideoPlayState != VideoStopped) {
        SendPlayerCommand(panel, IDC_STOP, FromPlaylist);
        if (origin != OPEN_FROM_PLAYLIST && DrivenByPlaylist(panel))
            SendPlayerCommand(PlaylistPanel, IDC_STOP, FromPlaylist);
    }
    if (VideoWindowMode == VideoSeparateWindow)
        SaveSeparateWindowPosition();
    if (MCIERROR error = CloseDevice()) {
        ShowMciError(panel, error);
        return false;
    }
    return true;
}

// Opens the file, and plays it when the drop or the running playlist asks.
// Answers whether it opened.
bool LoadFile(HWND panel, int origin) {
    bool fromPlaylist = origin == OPEN_FROM_PLAYLIST;
    if (!fromPlaylist && origin != OPEN_AND_PLAY && !ChooseFromDialog())
        return false;
    if (!CloseOldVideo(panel, origin))
        return false;
    std::snprintf(VideoElement, sizeof VideoElement, "%s",
                  fromPlaylist ? CurrentEntryText : PendingMediaPath);
    if (!FileNameFits(panel, VideoElement)) {
        ShowNoVideo(panel);
        return false;
    }
    if (MCIERROR error = OpenVideoDevice(VideoWindowMode, panel)) {
        ShowNoVideo(panel);
        ShowMciError(panel, error);
        return false;
    }
    VideoDeviceOpen = true;
    ShowStopped(panel);
    ShowFileTitle(panel, origin);
    // A device that tells no length still plays.
    VideoLength = 0;
    if (DeviceStatus(VideoDevice, MCI_STATUS_LENGTH, &VideoLength) == 0)
        ShowPlayerTime(panel, IDC_TOTAL, VideoLength);
    else
        ShowUnknownTime(panel, IDC_TOTAL);
    if (origin == OPEN_AND_PLAY || (fromPlaylist && PlaylistRunning == 1)) {
        VideoPlayState = VideoStopped;
        PostMessageA(panel, WM_COMMAND, IDC_PLAY, FromPlaylist);
    }
    return true;
}

// The playlist's entry that cannot be opened stops the list on it.
void OnOpen(HWND panel, int origin) {
    if (!LoadFile(panel, origin) && origin == OPEN_FROM_PLAYLIST)
        SequencerRequest(ENTRY_NOT_OPENED, panel);
}

// ---- transport ----

void OnPlay(HWND panel) {
    if (!VideoDeviceOpen || VideoPlayState == VideoPlaying)
        return;
    if (VideoPlayState == VideoPaused) {
        SendPlayerCommand(panel, IDC_PAUSE, FromStation);
        return;
    }
    if (MCIERROR error = PlayFrom(panel, 0)) {
        ShowMciError(panel, error);
        return;
    }
    if (SetTimer(panel, PositionTimer, PositionTimerMs, nullptr) == 0) {
        MessageBoxA(panel, Text(IDS_CANT_GET_TIMER), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
        return;
    }
    VideoPlayState = VideoPlaying;
    LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
    if (VideoPlaybackWindow != nullptr)
        SetFocus(VideoPlaybackWindow);
}

void OnPause(HWND panel) {
    if (VideoPlayState == VideoStopped)
        return;
    if (VideoPlayState == VideoPaused) {
        if (MCIERROR error = PlayFrom(panel, VideoKeptPosition)) {
            ShowMciError(panel, error);
            return;
        }
        VideoPlayState = VideoPlaying;
        SwitchControl(LatchedPauseButton, false);
        LatchedPauseButton = nullptr;
        return;
    }
    DWORD position = 0;
    MCIERROR error = QueryPosition(&position);
    if (error == 0)
        error = StopDevice();
    if (error != 0) {
        ShowMciError(panel, error);
        return;
    }
    VideoKeptPosition = position;
    VideoPlayState = VideoPaused;
    LatchButton(panel, IDC_PAUSE, &LatchedPauseButton);
}

void OnStop(HWND panel) {
    if (VideoPlayState == VideoStopped)
        return;
    KillTimer(panel, PositionTimer);
    if (MCIERROR error = StopDevice()) {
        ShowMciError(panel, error);
        return;
    }
    DeviceSeek(VideoDevice, MCI_SEEK_TO_START); // the first frame shows again
    ShowStopped(panel);
}

// A device that cannot step frames (some players of compressed films): the
// place kept moves by a second, and play goes on from there.
void StepByTime(HWND panel, bool back, bool held) {
    if (held && QueryPosition(&VideoKeptPosition) == 0)
        StopDevice();
    DWORD position = VideoKeptPosition;
    if (back)
        position = position > StepByTimeMs ? position - StepByTimeMs : 0;
    else
        position = VideoLength > 0 ? std::min(position + StepByTimeMs, VideoLength)
                                   : position + StepByTimeMs;
    VideoKeptPosition = position;
    ShowPlayerTime(panel, IDC_TIME, position);
}

// One Forward or Back repeat: a playing video holds still and steps.
void OnStep(HWND panel, bool back) {
    if (VideoPlayState == VideoStopped || !VideoDeviceOpen)
        return;
    bool held = VideoPlayState == VideoPlaying;
    if (held)
        VideoPlayState = VideoStepping;
    MCI_DGV_STEP_PARMS step{};
    step.dwFrames = VideoPlayState == VideoStepping ? StepWhilePlaying : StepWhilePaused;
    DWORD flags = MCI_DGV_STEP_FRAMES | MCI_WAIT | (back ? MCI_DGV_STEP_REVERSE : 0);
    if (VideoCommand(MCI_STEP, flags, &step) != 0) {
        StepByTime(panel, back, held);
        return;
    }
    DWORD position = 0;
    if (QueryPosition(&position) != 0)
        return;
    VideoKeptPosition = position;
    ShowPlayerTime(panel, IDC_TIME, position);
}

// Forward or Back let go: playback goes on where the stepping stopped.
void OnStepReleased(HWND panel) {
    if (VideoPlayState != VideoStepping)
        return;
    if (MCIERROR error = PlayFrom(panel, VideoKeptPosition)) {
        ShowMciError(panel, error);
        return;
    }
    VideoPlayState = VideoPlaying;
}

void OnBackToStart(HWND panel) {
    if (VideoPlayState != VideoPlaying)
        return;
    if (MCIERROR error = PlayFrom(panel, 0))
        ShowMciError(panel, error);
}

// The window key: the video reopens in the other window and a playing one
// goes on from where it was.
void OnWindowKey(HWND panel) {
    VideoWindowMode = VideoWindowMode == VideoSeparateWindow ? InPanelWindow : VideoSeparateWindow;
    if (!VideoDeviceOpen)
        return;
    if (VideoWindowMode == InPanelWindow)
        SaveSeparateWindowPosition();
    bool playing = VideoPlayState == VideoPlaying;
    if (playing) {
        if (QueryPosition(&VideoKeptPosition) != 0)
            VideoKeptPosition = 0;
        if (MCIERROR error = StopDevice()) {
            ShowMciError(panel, error);
            return;
        }
    }
    if (MCIERROR error = CloseDevice()) {
        ShowMciError(panel, error);
        return;
    }
    if (MCIERROR error = OpenVideoDevice(VideoWindowMode, panel)) {
        // The video is gone: nothing plays or waits to resume.
        ShowNoVideo(panel);
        ShowMciError(panel, error);
        return;
    }
    VideoDeviceOpen = true;
    if (playing)
        if (MCIERROR error = PlayFrom(panel, VideoKeptPosition))
            ShowMciError(panel, error);
}

// ---- messages ----

bool FromWindowKey(HWND panel, LPARAM lParam) {
    // The key names itself by the low 16 bits of its handle.
    HWND key = reinterpret_cast<HWND>(static_cast<UINT_PTR>(LOWORD(lParam)));
    return GetDlgCtrlID(key) == IDC_VIDEOWINDOW && GetParent(key) == panel;
}

BOOL OnCommand(HWND panel, int id, LPARAM lParam) {
    NotePlayerCommand(panel, id, lParam);
    int origin = HIWORD(lParam);
    bool fromPlaylist = origin == FROM_PLAYLIST;
    if (panel == CurrentPlayer && !fromPlaylist && EchoedToPlaylist(id))
        SendPlayerCommand(PlaylistPanel, id, FromPlaylist);
    switch (id) {
    case IDC_OPEN: OnOpen(panel, origin); break;
    case IDC_PLAY: OnPlay(panel); break;
    case IDC_PAUSE: OnPause(panel); break;
    case IDC_STOP: OnStop(panel); break;
    case IDC_FF: OnStep(panel, false); break;
    case IDC_REW: OnStep(panel, true); break;
    case NOTIFY_RELEASED: OnStepReleased(panel); break;
    case IDC_REWSKIP:
        if (!fromPlaylist)
            OnBackToStart(panel);
        break;
    case NOTIFY_LATCHED:
    case NOTIFY_UNLATCHED:
        if (FromWindowKey(panel, lParam))
            OnWindowKey(panel);
        break;
    case IDC_POWER: ClosePanelByPowerKey(panel, VideoSlotHeight, &VideoPanelShown, 0); break;
    default: break;
    }
    return FALSE;
}

void OnPositionTimer(HWND panel) {
    // Paused and stepping videos hold still on purpose.
    if (VideoPlayState != VideoPlaying)
        return;
    DWORD mode = 0;
    if (DeviceStatus(VideoDevice, MCI_STATUS_MODE, &mode) != 0) {
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return;
    }
    if (mode == MCI_MODE_STOP) {
        SequencerRequest(END_OF_PLAY, panel);
        return;
    }
    DWORD position = 0;
    if (QueryPosition(&position) == 0)
        ShowPlayerTime(panel, IDC_TIME, position);
}

LRESULT OnMciNotify(HWND panel, MCIDEVICEID device) {
    // Only the open video that plays can end; a stopped, paused or closed
    // one reports its aborted play here too.
    DWORD position = 0;
    if (VideoDeviceOpen && device == VideoDevice && VideoPlayState == VideoPlaying &&
        QueryPosition(&position) == 0 && position >= VideoLength)
        SequencerRequest(END_OF_PLAY, panel);
    return TRUE;
}

BOOL OnInitDialog(HWND panel) {
    ApplyControlNames(panel, NamedPanel::Video);
    PlaceControls(panel, VideoPlaces, FALSE);
    if (ShellGeneration == 95)
        SetControlFonts(panel, {IDC_TITLE, IDC_TOTAL, IDC_TIME}, PanelFont);
    VideoPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    VideoPlayState = VideoStopped;
    VideoDeviceOpen = false;
    VideoPlaybackWindow = nullptr;
    VideoWindowMode = 0;
    SavedWindowX = SavedWindowY = 0;
    LatchedPlayButton = LatchedPauseButton = nullptr;
    GetDlgItemTextA(panel, IDC_TITLE, IdleTitle, sizeof IdleTitle);
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

BOOL OnDestroy(HWND panel) {
    DeleteObject(VideoPanelBrush);
    VideoPanelBrush = nullptr;
    if (!VideoDeviceOpen)
        return FALSE;
    if (VideoPlayState != VideoStopped)
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

bool VideoHoldsFile(const char *path) {
    return VideoDeviceOpen && lstrcmpiA(VideoElement, path) == 0;
}

INT_PTR CALLBACK VideoPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(panel);
    case WM_PAINT: PaintPanel(panel, VideoBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(VideoPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(VideoPanelBrush);
    // Erased black under its skin, as the picture's window is.
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(VideoPanelBrush);
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam), lParam);
    case WM_TIMER:
        if (wParam == PositionTimer)
            OnPositionTimer(panel);
        return TRUE;
    case MM_MCINOTIFY: return OnMciNotify(panel, static_cast<MCIDEVICEID>(lParam));
    case WM_DESTROY: return OnDestroy(panel);
    default: return FALSE;
    }
}
