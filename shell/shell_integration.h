// The station's meeting points with the platform shell: the copy of the CD
// AutoPlay command kept in the settings file, and the "/play" command line.
#pragma once

// Copies the shell's AutoPlay command for audio CDs into "CDAutoPlayPath"
// unless a copy is already kept.
void KeepAutoPlayCommand();

// Track requested by a "/play" command line, or 0 when the command line asks
// for nothing.
int PlayTrackOfCommandLine(const char *commandLine);

// Sends the CD panel its track request when the command line asks for one.
void HonourCommandLine(const char *commandLine);
