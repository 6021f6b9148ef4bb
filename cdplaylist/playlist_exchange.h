// Playlist files of other players: an .m3u, .m3u8 or .pls file made into a
// collection, and a collection written out as an .m3u file. Disc tracks,
// which those files cannot name, travel as comment lines that other players
// skip and this station reads back with their disc.
#pragma once
#include "cdplaylist/playlist_store.h"

#include <windows.h>

#include <cstddef>

// Whether the file's extension is that of a playlist file the station reads.
bool IsPlaylistFile(const char *path);

// Makes a collection named after the playlist file, of the media files
// (and this station's disc tracks) it names, asking first when that
// name is taken; what cannot be taken is listed in one message, with the
// count taken. Answers true, with the collection's name, when one was
// written; nothing is written when nothing can be taken, the user keeps the
// old collection or the settings file refuses the write.
bool ImportPlaylistFile(HWND owner, const char *path, char *name, size_t nameSize);

// Imports the playlist file and makes its collection the current one: the
// playlist panel opens on it and, with AUTOPLAY set, plays it.
bool OpenPlaylistFile(HWND owner, const char *path);

// Writes the entries as an .m3u file, paths as stored; the disc tracks as
// comment lines bound to the disc. Answers false, after saying why, when the
// file cannot be written.
bool ExportPlaylistFile(HWND owner, const char *path, const CollectionEntries &entries, DWORD disc);
