// The VIDEO (AVI) player panel.
#pragma once
#include <windows.h>

INT_PTR CALLBACK VideoPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
