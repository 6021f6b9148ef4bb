// The WAVE player and recorder panel.
#pragma once
#include <windows.h>

INT_PTR CALLBACK WavePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
