#include "panekit/controls.h"

LRESULT CALLBACK HiliteBitmapProc(HWND indicator, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(indicator, message, wParam, lParam);
}
