#include "cdplaylist/cd_panel.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"

DWORD DiscId;
int TrackCount;

namespace {

HBRUSH CdPanelBrush; // behind the panel's static texts

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &CdPanelShown, IDC_SHOW_CD);
    return FALSE;
}

BOOL OnInitDialog() {
    CdPanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    return TRUE;
}

BOOL OnDestroy() {
    DeleteObject(CdPanelBrush);
    CdPanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK CdPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_PAINT: PaintPanel(panel, CdBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(CdPanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(CdPanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
