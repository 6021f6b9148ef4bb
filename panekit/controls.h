// The three control classes of panekit32 and their registration.
#pragma once
#include <windows.h>

// Instance of panekit32, for the controls' bitmaps; null when registration failed.
extern HINSTANCE PanekitInstance;

// Registers BitmapButton, SliderVol and HiliteBitmap once per process and
// answers the atom of the last class registered, 0 on failure.
ATOM RegisterPanelClasses(HINSTANCE library);

LRESULT CALLBACK BitmapButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SliderVolProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK HiliteBitmapProc(HWND indicator, UINT message, WPARAM wParam, LPARAM lParam);
