#include "players/video_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"

namespace {

HBRUSH VideoPanelBrush; // behind the panel's static texts

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER)
        ClosePanelByPowerKey(panel, VideoSlotHeight, &VideoPanelShown, 0);
    return FALSE;
}

BOOL OnInitDialog() {
    VideoPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    return TRUE;
}

BOOL OnDestroy() {
    DeleteObject(VideoPanelBrush);
    VideoPanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK VideoPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_PAINT: PaintPanel(panel, VideoBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(VideoPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(VideoPanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
