// Small real media files for the tests and the readers the simulated card
// opens them with: RIFF WAVE, standard MIDI (plain and RIFF RMID),
// uncompressed AVI, and stand-ins for compressed sound and movies. Writers
// build the bytes; readers answer what a driver learns from a file's headers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// ---- WAVE ----

struct WaveFormat {
    WORD formatTag = WAVE_FORMAT_PCM;
    WORD channels = 1;
    DWORD samplesPerSec = 11025;
    DWORD avgBytesPerSec = 11025;
    WORD blockAlign = 1;
    WORD bitsPerSample = 8;
};

// A PCM format with block align and byte rate worked out.
WaveFormat PcmFormat(WORD channels, DWORD samplesPerSec, WORD bitsPerSample);

struct WaveData {
    WaveFormat format;
    Bytes samples; // the data chunk
};

// A RIFF WAVE file holding a quiet tone of the given length.
Bytes MakeWave(const WaveFormat &format, DWORD milliseconds);
// A RIFF WAVE file of the given format and sample bytes.
Bytes MakeWave(const WaveData &wave);
// Reads a RIFF WAVE file; false when it is not one.
bool ReadWave(const Bytes &file, WaveData &wave);

// ---- MIDI ----

struct TempoChange {
    DWORD tick;
    DWORD microsPerQuarter;
};

struct MidiSong {
    WORD division = 96;              // ticks per quarter note
    std::vector<TempoChange> tempos; // none means 120 beats per minute
    DWORD lengthTicks = 384;         // the end of the longest track
};

// A format 1 standard MIDI file: a tempo track and a track of notes that
// ends at the song's length.
Bytes MakeMidi(const MidiSong &song);
// The same song wrapped as a RIFF RMID file.
Bytes MakeRmi(const MidiSong &song);

struct MidiInfo {
    WORD division = 0;
    std::vector<TempoChange> tempos; // sorted by tick, first at tick 0
    DWORD lengthTicks = 0;
};

// Reads a standard MIDI file or an RMID file; false when it is malformed or
// uses SMPTE time division.
bool ReadMidi(const Bytes &file, MidiInfo &midi);
// Milliseconds from the start to the given tick along the tempo map.
DWORD MidiTicksToMs(const MidiInfo &midi, DWORD ticks);
// The tick reached after the given milliseconds.
DWORD MidiMsToTicks(const MidiInfo &midi, DWORD milliseconds);
// Microseconds per quarter note in force at the given tick.
DWORD MidiTempoAt(const MidiInfo &midi, DWORD tick);

// ---- AVI ----

struct AviMovie {
    DWORD frames = 10;
    DWORD microsPerFrame = 100000; // 10 frames per second
    DWORD width = 32;
    DWORD height = 24;
};

// An uncompressed AVI file with one video stream of 24 or 32 bits a pixel.
// Each frame has one colour, the list repeated along the movie; with no
// colours the frames are greys that brighten along the movie.
Bytes MakeAvi(const AviMovie &movie, WORD bitsPerPixel = 24,
              const std::vector<COLORREF> &frameColours = {});
// Reads the main AVI header; false when the file is not an AVI file.
bool ReadAvi(const Bytes &file, AviMovie &movie);

// ---- compressed sound and movies ----
//
// The simulated "mpegvideo" device decodes nothing. Its test files begin as
// the real formats begin and then carry a small block that the device reads:
//   sound: an ID3v2 tag header ("ID3", version 3.0, no flags, an empty tag)
//          and an MPEG-1 Layer III frame header FF FB 90 64;
//   movie: an MPEG program stream pack start code 00 00 01 BA;
// then, little-endian:
//   "SIMMEDIA"      8 bytes
//   milliseconds    DWORD, what the file plays
//   flags           DWORD, 1: a picture; 2: the device answers a length of 0;
//                   4: the device refuses the length status
//   width, height   DWORD, the picture's size
// A reader skips an ID3v2 tag of any size before the four first bytes.

enum class LengthAnswer {
    Known,   // the length status answers the length
    Zero,    // it answers 0, as Wine's device does when it cannot tell
    Refused, // it fails (MCIERR_UNRECOGNIZED_COMMAND)
};

struct CompressedMedia {
    DWORD milliseconds = 5000;
    bool picture = false;
    DWORD width = 160;
    DWORD height = 120;
    LengthAnswer length = LengthAnswer::Known;
};

// A sound-only file, as an MP3 begins.
Bytes MakeCompressedSound(DWORD milliseconds, LengthAnswer length = LengthAnswer::Known);
// A file with a picture, as an MPEG program stream begins.
Bytes MakeMovie(DWORD milliseconds, DWORD width = 160, DWORD height = 120);
// Either, as media.picture says.
Bytes MakeCompressedMedia(const CompressedMedia &media);
// Reads the block; false when the file holds none.
bool ReadCompressedMedia(const Bytes &file, CompressedMedia &media);
// Bytes that are no format at all, the same for the same seed.
Bytes RandomBytes(size_t count, uint32_t seed = 1);

// ---- files ----

bool WriteBytes(const std::string &path, const Bytes &bytes);
// Whole file, or false when it cannot be read.
bool ReadBytes(const std::string &path, Bytes &bytes);
// A fresh directory for one test's media, under the temporary directory.
std::string MakeMediaDir(const char *name);
