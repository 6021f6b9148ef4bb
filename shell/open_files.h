// Files given to the station from outside: dropped on its window, named on
// its command line or handed over by a second start. One way in for all of
// them, so that each behaves as a drop of the same files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The name of the collection made of files that share no folder name.
constexpr char DroppedFilesName[] = "Dropped files";

// What a drop of these files does. One file: a media file plays in its
// panel, a playlist file is imported, anything else is refused by a box that
// names it. Several: the media files among them become a collection named
// after the first one's folder, asked about before it replaces a listed one;
// what cannot be taken is listed in one message; the playlist panel opens on
// the collection and plays it from its first entry.
void OpenFiles(const std::vector<std::string> &paths);

// The files a command line names, as full paths, in order: words quoted or
// not, by the platform's rules for quotes and backslashes. Switches are no
// files, nor are the words of a "/play" request for a disc track.
std::vector<std::string> FilesOfCommandLine(const char *commandLine);

// ---- The hand-over of a second start's files to the running station ----

// The tag of WM_COPYDATA's data that is a list of files: each path ended by
// its NUL, the list by one more.
constexpr ULONG_PTR HandedFilesTag = 0x53424631;
// What the running station takes at most: files, characters of one path,
// and bytes of the whole list.
constexpr size_t MostHandedFiles = 1000;
constexpr size_t LongestHandedPath = 1023;
constexpr DWORD MostHandedBytes = 64 * 1024;

// Sends the files to the running station's main window and answers whether
// it took them. Paths longer than the station takes are left out.
bool HandFilesTo(HWND running, const std::vector<std::string> &paths);

// The files of a hand-over, checked before anything is taken: the tag, the
// size, the NULs that end each path and the list, each path's length and
// their number. Answers false, with no files, for any other data; never
// reads past the data's size.
bool ReadHandedFiles(const COPYDATASTRUCT &data, std::vector<std::string> &paths);
