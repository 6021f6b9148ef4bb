// The WAVE panel until its player is built: its skin, its power key and the
// state of its WAVE data.
#include "players/wave_panel.h"

#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"

int WaveModified;
char WaveFilePath[WaveNameSize];
char WaveFileTitle[WaveNameSize];
MCIDEVICEID WaveDevice;
int WavePlayState;
int WaveRecordMode = 2;

namespace {

HBRUSH WavePanelBrush; // behind the panel's static texts

BOOL OnCommand(HWND panel, int id) {
    if (id == IDC_POWER && ConfirmWaveChanges() != 0)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &WavePanelShown, IDC_SHOW_WAVE);
    return FALSE;
}

BOOL OnInitDialog() {
    WavePanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    return TRUE;
}

BOOL OnDestroy() {
    DeleteObject(WavePanelBrush);
    WavePanelBrush = nullptr;
    return FALSE;
}

} // namespace

INT_PTR CALLBACK WavePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_PAINT: PaintPanel(panel, WaveBackground); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(WavePanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(WavePanelBrush);
    case WM_DESTROY: return OnDestroy();
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam));
    default: return FALSE;
    }
}
