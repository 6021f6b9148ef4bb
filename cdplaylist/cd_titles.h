// The disc-title database: the user's own names for audio discs and their
// tracks, kept in the settings file in one section per disc, named by the
// disc identifier in decimal.
#pragma once
#include <windows.h>

#include <cstddef>

// Room for a stored title or track name with its terminator.
constexpr int CdNameSize = 128;

// The disc's title, "untitled" when it was never named. Cut to fit size.
void ReadDiscTitle(DWORD discId, char *title, size_t size);
// A track's name, "untitled" and the track number when it was never named.
void ReadTrackName(DWORD discId, int track, char *name, size_t size);

void WriteDiscTitle(DWORD discId, const char *title);
void WriteTrackName(DWORD discId, int track, const char *name);

// The disc a collection section is bound to: its CD_ID in decimal, 0 when it
// has none or the value is no disc identifier.
DWORD BoundDisc(const char *section);
// Whether that disc is the one in the drive; 0 (no disc bound) never is, nor
// anything while the drive holds no disc.
bool IsLoadedDisc(DWORD boundDisc);
