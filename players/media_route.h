// Which panel plays a file, as the platform's own media devices decide: the
// MIDI, WAVE and VIDEO files of the station's design go where they always
// went; any other file goes where the platform's MCI extension table, and
// for a device that may or may not show a picture the file itself, says.
// One rule for the drop, the Open keys, the editor, the import and the list.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstddef>

enum class MediaRoute {
    None,  // no device of the platform plays it
    Midi,  // the sequencer, in the MIDI panel
    Wave,  // a WAVE file on the wave device, in the WAVE panel
    Video, // a file with a picture, in the VIDEO panel
    Sound, // a sound-only file of another device, played in the WAVE panel
};

// The device the platform's MCI extension table names for the file's
// extension ("Sequencer", "MPEGVideo", ...), or "" when it names none.
void MappedDevice(const char *path, char *device, size_t size);

// The panel for a file, by its name alone: files of a device that may or
// may not show a picture count as Sound here. What a list or an import
// asks, which opens nothing.
MediaRoute RouteByName(const char *path);

// The panel for a file about to be played: by its name, and for a device
// that may or may not show a picture by asking the file itself whether it
// has one (a device may claim video for a file of sound alone). A file that
// no device opens answers None, with the device's error in *error.
MediaRoute RouteMediaFile(const char *path, MCIERROR *error);

// The device the last RouteMediaFile opened a sound-only file on, handed to
// the panel that plays that file so that it is not opened a second time;
// 0 for another path. A device not taken is closed by the next routing.
MCIDEVICEID TakeAskedDevice(const char *path);
// Closes that device when no panel is to take it.
void LetAskedDeviceGo();

// Every extension the platform maps to a device that plays files, as the
// pattern list of a file dialog ("*.mid;*.rmi;*.wav;..."), the design's
// own first. Answers false when it does not fit.
bool AllMediaPatterns(char *patterns, size_t size);
