// What the file players send to their open MCI device, one small function
// per command, all through the Mci seam: each takes the device and answers
// the command's error. A panel keeps its own device and state; these only
// speak to the device.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstddef>

// Any command to the device, its parameter block as it is.
MCIERROR DeviceCommand(MCIDEVICEID device, UINT message, DWORD flags, void *params);

// One status item, waited for. value is left as it was on an error.
MCIERROR DeviceStatus(MCIDEVICEID device, DWORD item, DWORD *value);
// The same for an item that answers a handle.
MCIERROR DeviceWideStatus(MCIDEVICEID device, DWORD item, DWORD_PTR *value);

// Plays from the position, with a notification to the request's callback
// window at the end: MCI_NOTIFY | MCI_FROM.
MCIERROR DevicePlayFrom(MCIDEVICEID device, MCI_PLAY_PARMS &request, DWORD from);
// Stops, waited for.
MCIERROR DeviceStop(MCIDEVICEID device);
// Seeks to the start (MCI_SEEK_TO_START) or the end (MCI_SEEK_TO_END), waited for.
MCIERROR DeviceSeek(MCIDEVICEID device, DWORD where);
// The unit of the positions and lengths the device gives and takes.
MCIERROR DeviceSetTimeFormat(MCIDEVICEID device, DWORD format);
// Closes the device, waited for.
MCIERROR DeviceClose(MCIDEVICEID device);

// The title of the file at path as the platform gives it, else the part of
// path after its last separator; at most 127 characters either way.
void MediaFileTitle(const char *path, char *title, size_t size);

// The title line of a file the MIDI or VIDEO panel opened: its title, after
// the entry's number when it is the playlist's entry, which is then copied
// to PendingMediaPath. An open from anywhere else takes the panel from the
// playlist.
void ShowFileTitle(HWND panel, int origin);

// The transport keys a player driven by the playlist passes on to the
// playlist panel when they come from anywhere else; a panel that answers
// one of them in its own way leaves that one out.
bool EchoedToPlaylist(int id);
