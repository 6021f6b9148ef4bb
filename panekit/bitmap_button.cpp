#include "panekit/controls.h"

LRESULT CALLBACK BitmapButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(button, message, wParam, lParam);
}
