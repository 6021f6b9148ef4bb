// The hardware mixer panel and its tracker of mixer control changes.
#pragma once
#include <windows.h>

INT_PTR CALLBACK MixerPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Brings every display of the changed control up to date.
void TrackMixerChange(DWORD controlId);
