#include "players/midi_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"

namespace {

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &MidiPanelShown, IDC_SHOW_MIDI);
    return FALSE;
}

} // namespace

INT_PTR CALLBACK MidiPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
