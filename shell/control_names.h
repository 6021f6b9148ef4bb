// The names of the panels' keys, faders and lights, and the order in which
// Tab reaches them. A screen reader reads a control by its window text, so
// each panel gives its controls their names from the library's string table
// once, as it is built.
#pragma once
#include <windows.h>

enum class NamedPanel { Launcher, Cd, Midi, Wave, Video, Playlist, Mixer, Efx };

// Sets the window text of each named control of a panel that the template
// does not already give its name (where the language asks for other words).
// The panel is still hidden: nothing is redrawn.
void ApplyControlNames(HWND panel, NamedPanel which);

constexpr int MaxTabStops = 48;

// The ids of the keys and faders of the launcher bar, a stacked panel or the
// 3D window that Tab reaches, in reading order (block by block from the
// left, row by row within a block); answers their count, 0 for any other
// window. The controls may be hidden or disabled: Tab passes over those.
int TabStopsOf(HWND panel, int (&ids)[MaxTabStops]);
