// The playlist panel: the transport of the current collection. It lists the
// entries, lights the indicator of the player that holds the current one and
// shows the play mode; its keys drive the sequencer or are forwarded to that
// player, which writes its times back into this panel.
#include "cdplaylist/playlist_panel.h"

#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/station_keys.h"
#include "shell/text_table.h"

#include <initializer_list>

namespace {

constexpr int IDC_ENTRY_LIST = 1061;
constexpr int IDC_ENTRY_TEXTS = 1069;
constexpr int IDC_PLAY_MODE = 7007;
constexpr LPARAM FromPlaylist = MAKELPARAM(0, FROM_PLAYLIST);

HBRUSH PlaylistPanelBrush; // behind the panel's static texts
HWND LatchedPlayButton;
HWND LatchedPauseButton;
WNDPROC EntryListProc;
WNDPROC EntryTextsProc;

const ControlPlace PlaylistPlaces[] = {
    {IDC_REWSKIP, 91, 61, 43, 21},
    {IDC_REW, 137, 61, 44, 21},
    {IDC_STOP, 183, 61, 43, 21},
    {IDC_PLAY, 229, 61, 43, 21},
    {IDC_PAUSE, 274, 61, 43, 21},
    {IDC_FF, 318, 61, 44, 21},
    {IDC_FFSKIP, 365, 61, 45, 21},
    {IDC_POWER, 19, 29, 46, 18},
    {IDC_ENTRY_LIST, 168, 4, 280, 56},
    {IDC_ENTRY_TEXTS, 308, 4, 140, 56},
    {113, 490, 4, 39, 12},
    {4012, 490, 18, 39, 12},
    {4009, 490, 32, 39, 12},
    {IDC_PLAY_MODE, 468, 42, 80, 16},
    {IDC_TOTAL, 100, 18, 62, 16},
    {IDC_TIME, 100, 42, 62, 16},
};

// After painting, each list gives the other its own top index.
LRESULT FollowScrolling(WNDPROC original, int otherId, HWND list, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    LRESULT result = CallWindowProcA(original, list, message, wParam, lParam);
    if (message == WM_PAINT) {
        HWND other = GetDlgItem(GetParent(list), otherId);
        LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
        if (other != nullptr && SendMessageA(other, LB_GETTOPINDEX, 0, 0) != top)
            SendMessageA(other, LB_SETTOPINDEX, top, 0);
    }
    return result;
}

LRESULT CALLBACK EntryListSubclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return FollowScrolling(EntryListProc, IDC_ENTRY_TEXTS, list, message, wParam, lParam);
}

LRESULT CALLBACK EntryTextsSubclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return FollowScrolling(EntryTextsProc, IDC_ENTRY_LIST, list, message, wParam, lParam);
}

WNDPROC Subclass(int id, WNDPROC procedure) {
    HWND list = GetDlgItem(PlaylistPanel, id);
    if (list == nullptr)
        return nullptr;
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

// A command of this panel's own goes on to the player of the current entry.
void Forward(int id, LPARAM lParam) {
    if (HIWORD(lParam) != FROM_PLAYLIST && CurrentPlayer != nullptr)
        SendMessageA(CurrentPlayer, WM_COMMAND, static_cast<WPARAM>(id), FromPlaylist);
}

void OnStop(HWND panel, LPARAM lParam) {
    if (PlaylistRunning == 0)
        return;
    PlaylistRunning = 0;
    DrawIdleDisplay(panel);
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
    Forward(IDC_STOP, lParam);
}

void OnPause(HWND panel, LPARAM lParam) {
    if (PlaylistRunning == 0)
        return;
    if (PlaylistRunning == 2) {
        PlaylistRunning = 1;
        SwitchControl(LatchedPauseButton, false);
        LatchedPauseButton = nullptr;
    } else {
        PlaylistRunning = 2;
        LatchButton(panel, IDC_PAUSE, &LatchedPauseButton);
    }
    Forward(IDC_PAUSE, lParam);
}

void OnPlay(HWND panel, int id, LPARAM lParam) {
    LRESULT selected = SendDlgItemMessageA(panel, IDC_ENTRY_LIST, LB_GETCURSEL, 0, 0);
    unsigned short row =
        selected == LB_ERR ? CurrentEntryIndex : static_cast<unsigned short>(selected);
    bool marked = HIWORD(lParam) == FROM_PLAYLIST;
    if (id == IDC_PLAY && PlaylistRunning == 1 && row == CurrentEntryIndex && !marked)
        return;
    CurrentEntryIndex = row;
    if (!marked) {
        PlaylistRunning = 1;
        // Refused, nothing plays: the list is idle, and the next Play on the
        // same row tries again.
        if (SequencerRequest(LOAD_CURRENT_ENTRY, panel) == 1) {
            PlaylistRunning = 0;
            return;
        }
    }
    LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
    PlaylistRunning = 1;
}

void OnMarkRunning(HWND panel) {
    LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
    PlaylistRunning = 1;
}

void OnRefresh(HWND panel) {
    PlayMode = ReadSettingInt("Mixer", "PLAYMODE", 0) == 1 ? 1 : 0;
    SetDlgItemTextA(panel, IDC_PLAY_MODE, Text(PlayMode == 1 ? IDS_REPEAT : IDS_SINGLE));
    FillPlaylist(panel, PlayListEntry, PanelListMode);
    // Only the list follows: handing the entry to its player here would stop
    // what that player plays and could ask about a take.
    SequencerRequest(FOLLOW_CURRENT_ENTRY, panel);
}

void OnListFocus(HWND panel, int id) {
    int other = id == IDC_ENTRY_LIST ? IDC_ENTRY_TEXTS : IDC_ENTRY_LIST;
    SendDlgItemMessageA(panel, other, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

BOOL OnCommand(HWND panel, WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    NotePlayerCommand(panel, id, lParam);
    switch (id) {
    case IDC_STOP: OnStop(panel, lParam); break;
    case IDC_FFSKIP:
    case IDC_REWSKIP: SequencerRequest(id, panel); break;
    case IDC_RESTART_LIST: SequencerRequest(IDC_RESTART_LIST, panel); break;
    case IDC_POWER:
        // The power key forwarded from a player never closes the playlist.
        if (HIWORD(lParam) != FROM_PLAYLIST)
            ClosePanelByPowerKey(panel, PanelSlotHeight, &PlaylistPanelShown, IDC_SHOW_PLAYLIST);
        break;
    case IDC_ENTRY_LIST:
    case IDC_ENTRY_TEXTS:
        if (HIWORD(wParam) == LBN_SETFOCUS)
            OnListFocus(panel, id);
        break;
    case IDC_PLAY:
    case IDC_START_SELECTION: OnPlay(panel, id, lParam); break;
    case IDC_MARK_RUNNING: OnMarkRunning(panel); break;
    case IDC_PAUSE: OnPause(panel, lParam); break;
    case IDC_REFRESH_LIST: OnRefresh(panel); break;
    default: Forward(id, lParam); break;
    }
    return TRUE;
}

BOOL OnInitDialog(HWND panel) {
    ApplyControlNames(panel, NamedPanel::Playlist);
    PlaceControls(panel, PlaylistPlaces);
    if (ShellGeneration == 95)
        SetControlFonts(panel,
                        {IDC_TOTAL, IDC_TIME, IDC_ENTRY_LIST, IDC_ENTRY_TEXTS, IDC_PLAY_MODE},
                        PlaylistFont);
    PlaylistPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    PlayMode = ReadSettingInt("Mixer", "PLAYMODE", 0) == 1 ? 1 : 0;
    LatchedPlayButton = LatchedPauseButton = nullptr;
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

BOOL OnDestroy() {
    DeleteObject(PlaylistPanelBrush);
    PlaylistPanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK PlaylistPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(panel);
    case WM_PAINT: PaintPanel(panel, PlaylistBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        StaticColors(PlaylistPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(PlaylistPanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, wParam, lParam);
    default: return FALSE;
    }
}

void SubclassPlaylistLists() {
    if (PlaylistPanel == nullptr)
        return;
    EntryListProc = Subclass(IDC_ENTRY_LIST, EntryListSubclass);
    EntryTextsProc = Subclass(IDC_ENTRY_TEXTS, EntryTextsSubclass);
}
