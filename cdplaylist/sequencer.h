// The playlist sequencer: its state that the players read, and the request
// by which a player reports that its media ended.
#pragma once
#include <windows.h>

constexpr int EntryTextSize = 255;

// The CD, MIDI or WAVE panel that holds the playlist's current entry, or null.
extern HWND CurrentPlayer;
// The playlist's current entry: its text (a file path or a CD track) and
// zero-based index.
extern char CurrentEntryText[EntryTextSize];
extern unsigned short CurrentEntryIndex;
// 0 idle, 1 playing, 2 paused.
extern int PlaylistRunning;

// Request codes.
constexpr int END_OF_PLAY = 4;

// A request to the sequencer from the given window. Answers 1 when it gave up
// without handing anything over, else 0.
int SequencerRequest(int code, HWND caller);
