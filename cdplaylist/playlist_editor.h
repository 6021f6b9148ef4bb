// The playlist editor, run from the launcher bar: the platform's classic
// open-file dialog with the playlist beside it, where collections of files
// and disc tracks are made, changed, deleted and saved.
#pragma once

constexpr int EditorFileBufferSize = 1024;
constexpr int EditorFileTitleSize = 258;
// A collection name survives a restart whole only up to this many
// characters: the current collection and its section ("List" and the name)
// are read back into 64-byte buffers.
constexpr int CollectionNameLimit = 59;

// The dialog's file and file-title buffers, as the last run left them.
extern char EditorFilePath[EditorFileBufferSize];
extern char EditorFileTitle[EditorFileTitleSize];

// Runs the editor; answers true when the user saved a collection.
bool RunPlaylistEditor();
