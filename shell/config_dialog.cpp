#include "shell/config_dialog.h"

#include "shell/station.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

} // namespace

void RunConfigDialog() {
    DialogBoxParamA(LibraryInstance, "CONFIG", MainWindow, ConfigDialogProc, 0);
}
