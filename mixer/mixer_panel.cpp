#include "mixer/mixer_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/station.h"

namespace {

HBRUSH MixerPanelBrush; // behind the panel's static texts

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

BOOL OnInitDialog() {
    MixerPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    return TRUE;
}

BOOL OnDestroy() {
    DeleteObject(MixerPanelBrush);
    MixerPanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK MixerPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_PAINT: PaintPanel(panel, MixerBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(MixerPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(MixerPanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}

void TrackMixerChange(DWORD) {}
