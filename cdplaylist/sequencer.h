// The playlist sequencer's state that other panels read.
#pragma once
#include <windows.h>

// The CD, MIDI or WAVE panel that holds the playlist's current entry, or null.
extern HWND CurrentPlayer;
