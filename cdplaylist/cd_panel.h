// The CD player panel and the disc facts the playlist reads.
#pragma once
#include <windows.h>

INT_PTR CALLBACK CdPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// The loaded disc: its identifier (the packed total length) and track count.
extern DWORD DiscId;
extern int TrackCount;
