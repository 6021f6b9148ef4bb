// The structure of MIDI, WAVE and AVI files, read from their bytes alone:
// the RIFF chunk walk and the checks of each kind that CheckMediaFile
// (players/media_check.h) answers with. Nothing here knows a file or the
// platform: the bytes come from a buffer or through a read-at callback for
// files too big to hold, so the same code runs in the station and under the
// fuzzer of fuzz/.
//
// Every check reads chunk headers only and accepts only a structure that
// lies within the bytes present: a chunk that runs past the end of the file
// or of the chunk that holds it refuses the file, except the data chunk of a
// WAVE file, which is taken cut to what the file holds (see media_check.h).
#pragma once
#include <cstddef>
#include <cstdint>

// The bytes of a file: how many there are, and a reader of exactly count
// bytes from offset at, which answers false when they cannot be read. The
// checks ask it only for stretches within size.
struct MediaBytes {
    uint64_t size = 0;
    bool (*readAt)(void *source, uint64_t at, void *out, uint32_t count) = nullptr;
    void *source = nullptr;
};

// The bytes of a buffer, which must outlive the answer.
MediaBytes BufferBytes(const uint8_t *data, size_t size);

// A standard MIDI file, plain or wrapped in a RIFF RMID file.
struct SongLayout {
    uint64_t begin = 0, end = 0; // the song: the whole file, or the RMID's data chunk
    uint32_t tracks = 0;         // as the header counts them
    uint64_t tracksEnd = 0;      // the end of the last track counted
};

// A RIFF WAVE file.
struct WaveLayout {
    uint64_t dataBegin = 0;   // the data chunk's first sound byte
    uint64_t dataHeld = 0;    // the bytes of sound that are there
    uint32_t dataClaimed = 0; // the data chunk's size as its header gives it
    uint32_t bytesPerSec = 0; // the format's byte rate
    uint32_t blockAlign = 0;  // and its block size
    bool cut = false;         // the data chunk claims more than the file holds
    uint32_t heldMs = 0;      // how long the sound there plays, when cut
};

// The longest held length a cut WAVE tells: sound that plays longer (at a
// byte rate below a thousand a second, a file can hold more than 32 bits of
// milliseconds) is told as this, one short of media_check's "whole length".
constexpr uint32_t LongestHeldMs = 0xFFFFFFFE;

// A RIFF AVI file.
struct MovieLayout {
    uint64_t framesBegin = 0, framesEnd = 0; // the frame list ("movi")
    uint32_t frames = 0;                     // as the main header counts them
    uint32_t streams = 0;                    // as the main header counts them
    uint32_t streamLists = 0;                // stream lists found
};

// Whether a device may be given the file; the layout is filled in when so.
bool CheckSongBytes(const MediaBytes &bytes, SongLayout &song);
bool CheckWaveBytes(const MediaBytes &bytes, WaveLayout &wave);
bool CheckMovieBytes(const MediaBytes &bytes, MovieLayout &movie);
