#include "cdplaylist/cd_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"

DWORD DiscId;
int TrackCount;

namespace {

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &CdPanelShown, IDC_SHOW_CD);
    return FALSE;
}

} // namespace

INT_PTR CALLBACK CdPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
