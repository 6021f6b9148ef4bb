#include "panekit/controls.h"

LRESULT CALLBACK SliderVolProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(slider, message, wParam, lParam);
}
