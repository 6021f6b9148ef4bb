// Keys and media keys: where they are routed, in one place beside the loop.
#include "shell/station_keys.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "players/media_device.h"
#include "players/midi_panel.h"
#include "players/video_panel.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"

HWND KeyedPlayer;

namespace {

// The application commands of the keyboard's media keys.
constexpr UINT AppCommandNextTrack = 11;
constexpr UINT AppCommandPreviousTrack = 12;
constexpr UINT AppCommandStop = 13;
constexpr UINT AppCommandPlayPause = 14;
constexpr UINT AppCommandPlay = 46;
constexpr UINT AppCommandPause = 47;

constexpr LPARAM RepeatedKey = 1 << 30;
constexpr WPARAM PeriodKey = 0xBE; // the main keyboard's period

struct LauncherAccess {
    WPARAM key;
    int command;
};

const LauncherAccess LauncherAccessKeys[] = {
    {'C', IDC_SHOW_CD},       {'M', IDC_SHOW_MIDI},     {'W', IDC_SHOW_WAVE},
    {'X', IDC_SHOW_MIXER},    {'L', IDC_SHOW_PLAYLIST}, {'V', IDC_SHOW_VIDEO},
    {'E', IDC_EDIT_PLAYLIST}, {'O', IDC_CONFIG},        {'D', IDC_EFX},
};

// The transport keys the players pass on to the playlist, back to start,
// Record and Open.
bool IsTransportKey(int id) {
    return EchoedToPlaylist(id) || id == IDC_REWSKIP || id == IDC_RECORD || id == IDC_OPEN;
}

// The station's own commands and what the playlist passes on: not the user's.
bool FromTheStation(int origin) {
    return origin == FROM_PLAYLIST || origin == OPEN_FROM_PLAYLIST || origin == FROM_STATION;
}

// WS_DISABLED read off the style: the platform's own question is missing on
// some of the systems the station runs on.
bool Enabled(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_DISABLED) == 0;
}

// The main window or a window inside it; the windows it owns (the 3D sound
// window, dialogs) are not, although GetParent answers their owner.
bool InStation(HWND window) {
    for (; window != nullptr; window = GetParent(window)) {
        if (window == MainWindow)
            return true;
        if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0)
            return false;
    }
    return false;
}

// The video's own window, in the VIDEO panel or on its own, or a window in it.
bool InVideoWindow(HWND window) {
    for (; window != nullptr && VideoPlaybackWindow != nullptr; window = GetParent(window))
        if (window == VideoPlaybackWindow)
            return true;
    return false;
}

bool IsPlayer(HWND panel) {
    return panel != nullptr && (panel == CdPanel || panel == MidiPanel || panel == WavePanel ||
                                panel == VideoPanel || panel == PlaylistPanel);
}

bool OnShow(HWND panel) {
    return StackIndexOf(panel) < PanelStackCount;
}

// A video in a window of its own is on screen whether its panel is or not.
bool OwnVideoWindowShown() {
    return VideoPlaybackWindow != nullptr && IsWindowVisible(VideoPlaybackWindow) &&
           (GetWindowLongA(VideoPlaybackWindow, GWL_STYLE) & WS_CHILD) == 0;
}

// A panel whose keys a person could click: on show, or the VIDEO panel while
// its video's own window is.
bool Reachable(HWND panel) {
    return OnShow(panel) || (panel == VideoPanel && OwnVideoWindowShown());
}

// Playing, or recording: what the play-or-pause key pauses.
bool Running(HWND panel) {
    if (panel == MidiPanel)
        return MidiPlayState == MidiPlaying;
    if (panel == WavePanel)
        return WavePlayState == WavePlaying || WavePlayState == WaveRecording;
    if (panel == VideoPanel)
        return VideoPlayState == VideoPlaying || VideoPlayState == VideoStepping;
    if (panel == CdPanel)
        return CdPlayState == 1;
    return panel == PlaylistPanel && PlaylistRunning == 1;
}

// Paused, a take too: what the play-or-pause key resumes.
bool Paused(HWND panel) {
    if (panel == MidiPanel)
        return MidiPlayState == MidiPaused;
    if (panel == WavePanel)
        return WavePlayState == WavePaused || WavePlayState == WaveRecordPaused;
    if (panel == VideoPanel)
        return VideoPlayState == VideoPaused;
    if (panel == CdPanel)
        return CdPlayState == 2;
    return panel == PlaylistPanel && PlaylistRunning == 2;
}

// The key that pauses what plays and resumes what is paused.
int PlayOrPauseOf(HWND panel) {
    return Running(panel) || Paused(panel) ? IDC_PAUSE : IDC_PLAY;
}

// The panel the transport keys drive. A list that plays or is paused takes
// them (on its panel, or on its entry's player, which passes them on),
// unless the player the user chose last plays or pauses beside it on its own.
HWND KeyTarget() {
    bool besideTheList = KeyedPlayer != PlaylistPanel && KeyedPlayer != CurrentPlayer &&
                         (Running(KeyedPlayer) || Paused(KeyedPlayer));
    if (PlaylistRunning == 0 || besideTheList)
        return KeyedPlayer;
    return OnShow(PlaylistPanel) ? PlaylistPanel : CurrentPlayer;
}

// Keys typed in the video's own window drive the VIDEO panel.
HWND KeyTargetOf(const MSG &message) {
    return InVideoWindow(message.hwnd) ? VideoPanel : KeyTarget();
}

LPARAM ShortHandle(HWND key) {
    return static_cast<LPARAM>(reinterpret_cast<UINT_PTR>(key) & 0xFFFF);
}

// What a click of the window's key posts; nothing for a key that cannot be
// clicked.
void PressKeyOf(HWND window, int id) {
    HWND key = window != nullptr ? GetDlgItem(window, id) : nullptr;
    if (key == nullptr || !IsWindowVisible(key) || !Enabled(key))
        return;
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), ShortHandle(key));
}

// Nothing for a panel whose keys cannot be clicked.
void PressPanelKey(HWND panel, int id) {
    if (IsPlayer(panel) && Reachable(panel))
        PressKeyOf(panel, id);
}

// A key that holds a stepping video still sends its release when let go.
void ReleasePanelKey(HWND panel, int id) {
    HWND key = IsPlayer(panel) ? GetDlgItem(panel, id) : nullptr;
    if (key == nullptr || (GetWindowLongA(key, GWL_STYLE) & BBS_RELEASENOTIFY) == 0)
        return;
    PostMessageA(panel, WM_COMMAND, NOTIFY_RELEASED, ShortHandle(key));
}

int TransportCommandOf(WPARAM key, HWND target) {
    switch (key) {
    case VK_SPACE: return PlayOrPauseOf(target);
    case 'S':
    case PeriodKey: return IDC_STOP;
    case VK_LEFT: return IDC_REW;
    case VK_RIGHT: return IDC_FF;
    case VK_PRIOR: return IDC_REWSKIP;
    case VK_NEXT: return IDC_FFSKIP;
    default: return 0;
    }
}

int LauncherCommandOf(WPARAM key) {
    for (const LauncherAccess &access : LauncherAccessKeys)
        if (access.key == key)
            return access.command;
    return 0;
}

// Keys come to the window with the focus, or to the active window when none
// has it: they are the station's while its window, a panel or the video's
// own window is that window, and no dialog of its own holds the keyboard.
bool ForTheStation(HWND target) {
    return MainWindow != nullptr && Enabled(MainWindow) &&
           (InStation(target) || InVideoWindow(target));
}

// ---- The keyboard focus ----

constexpr int MaxRingStops = MaxTabStops * (MaxStackedPanels + 1);

// The window itself or one of its descendants.
bool Within(HWND window, HWND ancestor) {
    for (; window != nullptr && ancestor != nullptr; window = GetParent(window))
        if (window == ancestor)
            return true;
    return false;
}

// Inside the client area of its window: the 3D window keeps its faders and
// its 3D key below its edge until MANUAL is chosen.
bool InsideItsWindow(HWND control, HWND window) {
    RECT rect, client;
    GetWindowRect(control, &rect);
    GetClientRect(window, &client);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(window, &corner);
    return corner.x < client.right && corner.y < client.bottom;
}

// The keys and faders Tab goes round, in order: those of the launcher bar
// and of the stacked panels top to bottom, or those of the 3D window, which
// is a window of its own. Hidden, disabled and cut off ones are passed over.
int TabRing(bool efx, HWND (&stops)[MaxRingStops]) {
    HWND panels[MaxStackedPanels + 1];
    int panelCount = 0;
    if (efx) {
        panels[panelCount++] = EfxWindow;
    } else {
        panels[panelCount++] = LauncherBar;
        for (int i = 0; i < PanelStackCount; ++i)
            panels[panelCount++] = PanelStack[i].panel;
    }
    int count = 0;
    for (int p = 0; p < panelCount; ++p) {
        int ids[MaxTabStops];
        int idCount = TabStopsOf(panels[p], ids);
        for (int i = 0; i < idCount; ++i) {
            HWND control = GetDlgItem(panels[p], ids[i]);
            if (control != nullptr && IsWindowVisible(control) && Enabled(control) &&
                InsideItsWindow(control, panels[p]))
                stops[count++] = control;
        }
    }
    return count;
}

// Tab moves to the next key or fader, Shift+Tab to the one before; from a
// window that is none of them, to the first or the last.
void MoveFocusAlongRing(HWND from, bool efx) {
    HWND stops[MaxRingStops];
    int count = TabRing(efx, stops);
    if (count == 0)
        return;
    bool backwards = GetKeyState(VK_SHIFT) < 0;
    int at = 0;
    while (at < count && stops[at] != from)
        ++at;
    int next;
    if (at == count)
        next = backwards ? count - 1 : 0;
    else
        next = (at + (backwards ? count - 1 : 1)) % count;
    SetFocus(stops[next]);
}

// A panel whose keys a person can reach: the launcher bar or a stacked panel.
bool PanelOnShow(HWND panel) {
    return panel != nullptr && (panel == LauncherBar || StackIndexOf(panel) < PanelStackCount);
}

// Escape gives the focus of a panel's control, or of the 3D window (a
// dialog, which always keeps it on one of its controls), back to the
// station, whose keys then work as before.
bool ReturnFocus(HWND from, bool efx) {
    HWND panel = GetParent(from);
    if (efx ? panel != EfxWindow : !PanelOnShow(panel))
        return false;
    SetFocus(MainWindow);
    return true;
}

// Tab, Shift+Tab and Escape in the station's windows and in the 3D window.
bool MovesTheFocus(const MSG &message) {
    if (message.wParam != VK_TAB && message.wParam != VK_ESCAPE)
        return false;
    bool efx = EfxWindow != nullptr && Within(message.hwnd, EfxWindow);
    if (!efx && !ForTheStation(message.hwnd))
        return false;
    if (message.wParam == VK_ESCAPE)
        return ReturnFocus(message.hwnd, efx);
    MoveFocusAlongRing(message.hwnd, efx);
    return true;
}

// A focused key takes Space and Enter, a focused fader its navigation keys
// (what each answers WM_GETDLGCODE with), while its panel is on show.
bool TakenByFocusedControl(const MSG &message) {
    if (!PanelOnShow(GetParent(message.hwnd)))
        return false;
    LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam,
                                reinterpret_cast<LPARAM>(&message));
    return (code & DLGC_WANTMESSAGE) != 0;
}

bool OnKeyDown(const MSG &message) {
    bool alt = message.message == WM_SYSKEYDOWN;
    bool repeated = (message.lParam & RepeatedKey) != 0;
    if (int command = LauncherCommandOf(message.wParam)) {
        if (!repeated)
            PressKeyOf(LauncherBar, command);
        return true;
    }
    HWND target = KeyTargetOf(message);
    int command = alt ? 0 : TransportCommandOf(message.wParam, target);
    if (command == 0)
        return false;
    // Only stepping goes on while a key is held.
    if (!repeated || command == IDC_REW || command == IDC_FF)
        PressPanelKey(target, command);
    return true;
}

bool OnKeyUp(const MSG &message) {
    if (message.wParam != VK_LEFT && message.wParam != VK_RIGHT)
        return false;
    ReleasePanelKey(KeyTargetOf(message), message.wParam == VK_LEFT ? IDC_REW : IDC_FF);
    return false;
}

} // namespace

void NotePlayerCommand(HWND panel, int id, LPARAM lParam) {
    if (IsTransportKey(id) && !FromTheStation(HIWORD(lParam)))
        KeyedPlayer = panel;
}

bool RouteStationKey(const MSG &message) {
    switch (message.message) {
    case WM_KEYDOWN:
        if (MovesTheFocus(message))
            return true;
        return ForTheStation(message.hwnd) && !TakenByFocusedControl(message) && OnKeyDown(message);
    case WM_SYSKEYDOWN: return ForTheStation(message.hwnd) && OnKeyDown(message);
    case WM_KEYUP:
        return ForTheStation(message.hwnd) && !TakenByFocusedControl(message) && OnKeyUp(message);
    default: return false;
    }
}

bool RouteAppCommand(int command) {
    if (MainWindow == nullptr || !Enabled(MainWindow))
        return false;
    HWND target = KeyTarget();
    switch (command) {
    case AppCommandPlayPause: PressPanelKey(target, PlayOrPauseOf(target)); return true;
    case AppCommandPlay:
        if (!Running(target))
            PressPanelKey(target, PlayOrPauseOf(target));
        return true;
    case AppCommandPause:
        if (Running(target))
            PressPanelKey(target, IDC_PAUSE);
        return true;
    case AppCommandStop: PressPanelKey(target, IDC_STOP); return true;
    case AppCommandNextTrack: PressPanelKey(target, IDC_FFSKIP); return true;
    case AppCommandPreviousTrack: PressPanelKey(target, IDC_REWSKIP); return true;
    default: return false;
    }
}

void DispatchStationMessage(MSG &message) {
    if (RouteStationKey(message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}
