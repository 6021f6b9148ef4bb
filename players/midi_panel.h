// The MIDI player panel.
#pragma once
#include <windows.h>

INT_PTR CALLBACK MidiPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
