// The MIDI player panel: plays one standard MIDI file at a time on the
// "sequencer" device, driven by its keys, dropped files and the playlist.
#pragma once
#include <windows.h>

constexpr int MidiStopped = 0;
constexpr int MidiPlaying = 1;
constexpr int MidiPaused = 2;

// 0 stopped, 1 playing, 2 paused.
extern int MidiPlayState;

INT_PTR CALLBACK MidiPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
