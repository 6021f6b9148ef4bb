// The playlist store and sequencer: collections of MIDI files, WAVE files and
// tracks of one audio disc kept in the settings file, the walk through the
// current collection that hands each entry to the CD, MIDI or WAVE panel,
// and the filling of a dialog's two entry lists from a collection.
#pragma once
#include <windows.h>

constexpr int EntryTextSize = 255;
constexpr int MaxPlaylistEntries = 99;

// The CD, MIDI or WAVE panel that holds the playlist's current entry, or null.
extern HWND CurrentPlayer;
// The playlist's current entry: its text (a file path or a CD track) and
// zero-based index.
extern char CurrentEntryText[EntryTextSize];
extern unsigned short CurrentEntryIndex;
// 0 idle, 1 playing, 2 paused.
extern int PlaylistRunning;
// The playlist panel's lit indicator: 4012 MIDI, 113 WAVE, 4009 CD, or 0.
extern int LitIndicator;
// 0 single, 1 repeat.
extern int PlayMode;

// Request codes; the others are the commands they stand for (1008 next,
// 1010 previous, 6000 restart at entry 0).
constexpr int LOAD_CURRENT_ENTRY = -1;
constexpr int EDITOR_SAVED = 3;
constexpr int END_OF_PLAY = 4;
// From the player of the current entry: it could not open the entry (its
// device's error box has been answered).
constexpr int ENTRY_NOT_OPENED = 5;
constexpr int FOLLOW_CURRENT_ENTRY = 1003;

// A request to the sequencer from the given window. Answers 1 when it gave up
// without handing anything over, else 0.
int SequencerRequest(int code, HWND caller);

// List modes of FillPlaylist.
constexpr int PanelListMode = 1;  // rows numbered "01:NAME"
constexpr int EditorListMode = 2; // plain names

// Fills list 1061 (display names) and list 1069 (entry texts) of a dialog
// from a collection's section. Answers 0 for an empty collection, else 1.
int FillPlaylist(HWND dialog, const char *section, int mode);
