// The station under the keyboard: the keys of the main window and the
// keyboard's media keys, each turned into the command of the panel key it
// stands for, so that every guard of the click applies. Tab and Shift+Tab
// bring the keyboard focus to the panels' keys and faders in the order of
// their names table; a focused key takes Space and Enter, a focused fader its
// arrows, Page Up and Down, Home and End; Escape gives the focus back to the
// station.
#pragma once
#include <windows.h>

// Every player panel names its controls (control_names.h) as it reports its
// commands here; Tab follows the order of the same table.
#include "shell/control_names.h"

// The player whose transport key the user pressed last, or that last opened
// a file for the user: the CD, MIDI, WAVE, VIDEO or playlist panel. The keys
// drive it, or the playlist while that plays or is paused.
extern HWND KeyedPlayer;

// Notes a command a player received: a transport key or an opened file
// makes it the keyed player; commands passed on by the playlist and those
// the station sends itself (origins FROM_PLAYLIST, OPEN_FROM_PLAYLIST and
// FROM_STATION) do not.
void NotePlayerCommand(HWND panel, int id, LPARAM lParam);

// A key message of the active main window or its panels that stands for a
// panel or launcher key is carried out as that key's command, and Tab,
// Shift+Tab and Escape move the focus; answers whether it was (the message
// is then not dispatched). The keys a focused key or fader takes are left to
// it.
bool RouteStationKey(const MSG &message);

// A keyboard media key (WM_APPCOMMAND's command) for the keyed player;
// answers whether the station handled it.
bool RouteAppCommand(int command);

// One message of the station's loop: routed as a key, or dispatched.
void DispatchStationMessage(MSG &message);
