// What a file's name tells: its extension, its own name without the folder,
// the name without the extension, which player takes it, and whether it is a
// file at all. Below both the players' file handling and the playlist import,
// which ask it and nothing else of each other.
#pragma once
#include "players/media_check.h"

#include <cstddef>
#include <string>

// The room for any path a drop, the command line or the file dialogs hand
// over, with its terminator.
constexpr int MediaPathSize = 1026;

// The extension of the file's own name: the text from the last period after
// the last folder or drive separator to its end; out is left unchanged when
// that name has no period. out holds outSize characters with the terminator.
void FileExtensionOf(const char *name, char *out, size_t outSize);

// The part of path after its last directory or drive separator.
const char *FileTitleOf(const char *path);

// name without the extension that FileExtensionOf gives.
void FileBaseNameOf(const char *name, char *out, size_t outSize);

// Whether the MIDI or the WAVE player takes a file of this name (by its
// extension: .mid and .rmi, .wav), and which.
bool PlayerFileKind(const char *path, MediaKind *kind);

// Whether the path names a file (not a folder).
bool IsPlainFile(const char *path);

// The drive ("C:") or the share ("\\server\share") a folder is on, or ""
// for a folder named without either: what a name that starts at the root
// ("\music\a.wav") is taken from.
std::string RootOf(const std::string &folder);
