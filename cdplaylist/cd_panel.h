// The CD player panel: plays an audio disc on the CD audio device in tracks,
// minutes, seconds and frames, shows its title and track names from the
// disc-title database, polls the drive for discs coming and going, and plays
// single tracks for the playlist. Also the disc facts the playlist reads.
#pragma once
#include <windows.h>

INT_PTR CALLBACK CdPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// The loaded disc: its identifier (the packed total length, minutes in byte 0,
// seconds in byte 1, frames in byte 2; 0 while no disc is known) and its
// number of tracks (0 while there is no playable disc).
extern DWORD DiscId;
extern DWORD TrackCount;

// The title line shows at most this many characters of a disc title.
constexpr int CdTitleLineLimit = 26;

// 0 stopped, 1 playing, 2 paused.
extern int CdPlayState;
// Track in byte 0 (1-based), then minutes, seconds and frames into the track.
extern DWORD CdPosition;
