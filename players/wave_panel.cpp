#include "players/wave_panel.h"

#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/launcher_bar.h"

namespace {

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER && ConfirmWaveChanges() != 0)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &WavePanelShown, IDC_SHOW_WAVE);
    return FALSE;
}

} // namespace

INT_PTR CALLBACK WavePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
