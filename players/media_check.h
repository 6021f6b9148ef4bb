// A cheap look at the structure of a media file before a player hands it to
// its device. Some drivers never come back from an open of a file whose
// chunks lie about their lengths, others crash on it or report hours of
// sound that are not there; so every file player asks CheckMediaFile first
// and shows its answer with ShowMciError when it is not 0.
//
// The check reads chunk headers only, never the sound or the pictures, and
// refuses a file whose structure cannot be right: a chunk that runs past the
// end of the file or of the chunk that holds it, a header too short for its
// kind, a count that the file has no room for. Unusual but sound files pass:
// several tracks, chunks of unknown kinds, RIFF pad bytes, RIFF MIDI files
// with extra chunks, WAVE files with fact or LIST chunks. One lie is
// forgiven because the waveaudio device copes with it: a WAVE whose data
// chunk, its last, claims more than the file holds, as a writer to a pipe
// (which cannot go back to the sizes) or a copy cut short leaves it. The
// device reports the claimed length and stops where the sound ends, so the
// check tells how long the sound really is.
#pragma once
#include <windows.h>
#include <mmsystem.h>

enum class MediaKind {
    Midi, // standard MIDI file or RIFF RMID, for the "sequencer" device
    Wave, // RIFF WAVE, for the "waveaudio" device
    Avi,  // RIFF AVI, for the AVI video device
};

// 0 when the file at path may be opened on its device; otherwise the MCI
// error to show for it, MCIERR_INVALID_FILE, the code the devices themselves
// give for a file that is not of their kind. A file that cannot be opened
// for reading at all answers 0: the device then gives its own error for it.
// heldMs, when given, receives the milliseconds of sound a WAVE file holds
// when its data chunk claims more than that, else WholeMediaLength.
MCIERROR CheckMediaFile(const char *path, MediaKind kind, DWORD *heldMs = nullptr);

// The length a file's own headers give needs no correction.
constexpr DWORD WholeMediaLength = 0xFFFFFFFF;
