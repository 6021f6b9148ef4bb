#include "cdplaylist/playlist_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/station.h"

namespace {

HBRUSH PlaylistPanelBrush; // behind the panel's static texts

constexpr int IDC_ENTRY_LIST = 1061;
constexpr int IDC_ENTRY_TIMES = 1069;

WNDPROC EntryListProc;
WNDPROC EntryTimesProc;

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
    return FollowScrolling(EntryListProc, IDC_ENTRY_TIMES, list, message, wParam, lParam);
}

LRESULT CALLBACK EntryTimesSubclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return FollowScrolling(EntryTimesProc, IDC_ENTRY_LIST, list, message, wParam, lParam);
}

WNDPROC Subclass(int id, WNDPROC procedure) {
    HWND list = GetDlgItem(PlaylistPanel, id);
    if (list == nullptr)
        return nullptr;
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

BOOL OnCommand(HWND panel, int id, LPARAM lParam) {
    // The power key forwarded from a player never closes the playlist.
    if (id == IDC_POWER && HIWORD(lParam) != FROM_PLAYLIST)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &PlaylistPanelShown, IDC_SHOW_PLAYLIST);
    return FALSE;
}

BOOL OnInitDialog() {
    PlaylistPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    return TRUE;
}

BOOL OnDestroy() {
    DeleteObject(PlaylistPanelBrush);
    PlaylistPanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK PlaylistPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_PAINT: PaintPanel(panel, PlaylistBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(PlaylistPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(PlaylistPanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam), lParam);
    default: return FALSE;
    }
}

void SubclassPlaylistLists() {
    if (PlaylistPanel == nullptr)
        return;
    EntryListProc = Subclass(IDC_ENTRY_LIST, EntryListSubclass);
    EntryTimesProc = Subclass(IDC_ENTRY_TIMES, EntryTimesSubclass);
}
