#include "players/midi_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"

namespace {

HBRUSH MidiPanelBrush; // behind the panel's static texts

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &MidiPanelShown, IDC_SHOW_MIDI);
    return FALSE;
}

BOOL OnInitDialog() {
    MidiPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    return TRUE;
}

BOOL OnDestroy() {
    DeleteObject(MidiPanelBrush);
    MidiPanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK MidiPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_PAINT: PaintPanel(panel, MidiBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(MidiPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(MidiPanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
