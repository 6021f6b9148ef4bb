#include "mixer/mixer_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"

namespace {

void ClosePanel(HWND panel) {
    RemovePanel(panel, PanelSlotHeight);
    DestroyWindow(panel);
    MixerPanel = nullptr;
    SetLauncherKey(IDC_SHOW_MIXER, false);
}

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER)
        ClosePanel(panel);
    return FALSE;
}

} // namespace

INT_PTR CALLBACK MixerPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}

void TrackMixerChange(DWORD) {}
