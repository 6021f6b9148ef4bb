#include "shell/painting.h"

namespace {

HPALETTE SharedPalette;

} // namespace

void PaintPanel(HWND panel, int) {
    PAINTSTRUCT paint;
    BeginPaint(panel, &paint);
    EndPaint(panel, &paint);
}

void DeleteSharedPalette() {
    if (SharedPalette != nullptr)
        DeleteObject(SharedPalette);
    SharedPalette = nullptr;
}
