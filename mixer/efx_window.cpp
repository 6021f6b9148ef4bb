#include "mixer/efx_window.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"

namespace {

BOOL OnDestroy() {
    EfxWindowOpen = false;
    EfxWindow = nullptr;
    SetLauncherKey(IDC_EFX, false);
    return FALSE;
}

} // namespace

INT_PTR CALLBACK EfxWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_CLOSE: DestroyWindow(window); return TRUE;
    case WM_DESTROY: return OnDestroy();
    default: return FALSE;
    }
}
