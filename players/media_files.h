// What the file players share: the one open/save file dialog, the hand-over
// of a dropped file to its player, the save question for a changed recording
// and the error box for multimedia commands. The file-name helpers they use
// come with it, from players/file_names.h.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include "players/file_names.h"
#include "players/media_check.h"
#include "players/media_route.h"

#include <cstddef>

constexpr int FileRequestBufferSize = 258;
constexpr int PendingMediaPathSize = MediaPathSize;
// The dialogs' path buffer holds any path a drop may hand over too: a name
// typed that does not fit the buffer is one the dialog refuses.
constexpr int FileRequestPathSize = PendingMediaPathSize;
constexpr int PendingMediaTitleSize = 258;

// The size of the file dialogs' request block that every system from
// Windows 95 and NT 4.0 on accepts: the block without the fields added after
// them (those two refuse any other size).
const DWORD ClassicRequestSize = OPENFILENAME_SIZE_VERSION_400A;

// Modes of ChooseMediaFile.
constexpr int ChooseToOpen = 1;
constexpr int ChooseToSave = 2;

// Filter indexes of ChooseMediaFile's list: every file the platform's
// devices play first, then the design's types.
constexpr int AllMediaFilter = 1;
constexpr int MidiFilter = 2;
constexpr int WaveFilter = 3;
constexpr int AllFilesFilter = 4;

// The program's one common-dialog request, filled anew on each use; after a
// confirmed dialog it holds the chosen path and title and the filter left
// selected.
extern OPENFILENAMEA FileRequest;
extern char FileRequestPath[FileRequestPathSize];
extern char FileRequestTitle[FileRequestBufferSize];

// The file a player opens on its next IDC_OPEN with OPEN_AND_PLAY, or the one
// it just chose in its file dialog.
extern char PendingMediaPath[PendingMediaPathSize];
extern char PendingMediaTitle[PendingMediaTitleSize];

// Runs the Open (mode ChooseToOpen) or Save dialog. Answers 1 when the user
// confirmed a file, 0 when the dialog was cancelled or failed.
int ChooseMediaFile(HWND owner, const char *initialText, int filterIndex, int mode);

// Runs the platform's Open (mode ChooseToOpen) or Save dialog for a request
// filled but for its size and hook: a name typed that makes a path longer
// than the platform's file calls take is refused in the dialog, by a message
// that names it.
BOOL RunFileDialog(OPENFILENAMEA &request, int mode);

// Hands a media file to the player for its extension, or a playlist file to
// the playlist. Answers 1 when a
// player took it.
int DispatchMediaFile(const char *path);

// After a player's Open dialog: whether the file chosen is one the asking
// player plays; a file of another player is handed to it as a drop is, and
// one that nothing plays is refused with a box.
bool KeepChosenFile(MediaRoute own, MediaRoute alsoOwn);

// Asks about an unsaved recording and saves it when the user wants. Answers 1
// when the caller may drop or replace the WAVE data, 0 when it must not.
int ConfirmWaveChanges();

// Whether the platform's file calls take a path of that length; when not,
// an error box owned by owner names the path and says why it is refused.
bool FileNameFits(HWND owner, const char *path);
// The platform's own words for a name that is too long.
void NameTooLongText(char *text, size_t size);

// The platform's text for an MCI error in an error box owned by owner; for a
// code the platform has no text for, the station's own with the code.
void ShowMciError(HWND owner, MCIERROR error);

// ---- What every player does the same way ----

// Whether the playlist drives the panel: the panel holds the playlist's
// current entry and the playlist panel exists.
bool DrivenByPlaylist(HWND panel);
// After a player's open from that origin: the playlist's entry that could
// not be opened, or does not play while the list runs, stops the list on it
// (ENTRY_NOT_OPENED), so that the list never runs with nothing playing.
void ReportEntryOpened(HWND panel, int origin, bool opened, bool playing);
// Whether an IDC_OPEN from that origin is a dropped file's while the AUTOPLAY
// display setting (read at start-up, kept by the configuration dialog) is
// on: such an open stops the player first even when it stands still.
bool AutoPlayDrop(int origin);
// A command to a window, none when the window is null.
void SendPlayerCommand(HWND window, int id, LPARAM lParam);
// "mm:ss" of a time in milliseconds.
void FormatPlayerTime(char *text, size_t size, DWORD ms);
// A time on a player's display, and on the playlist panel's while the
// playlist drives the player.
void ShowPlayerTime(HWND panel, int id, DWORD ms);
// "--:--" there: a time the device does not tell.
void ShowUnknownTime(HWND panel, int id);
