// What the station reads itself out of the texts the settings file keeps
// for collections and discs: the type of a collection's entry by its name,
// the track a disc-track entry names, and the disc a collection is bound to.
// Over text alone, with no platform header, for the station and for the
// fuzzer of fuzz/. The file itself is read by the platform's profile calls.
#pragma once
#include <cstddef>
#include <cstdint>

// A number in decimal as the C library's strtoul reads it into a 32-bit
// unsigned long, from the text between begin and end (which ends sooner at
// a NUL): white space skipped, a sign, digits; a value past 32 bits reads as
// all ones. stop, when given, receives where the number ended, begin when
// there was none.
uint32_t ReadDecimal(const char *begin, const char *end, const char **stop = nullptr);

// ---- collection entries ----

// Sound (a sound-only file of another of the platform's devices) and Video
// (a file with a picture) are never given by the name alone: the sequencer
// asks the platform for the entries of no type here.
enum class EntryType { Midi, Wave, Cd, End, Sound, Video, Unknown };

// By the extension of the entry's file name. Playlists stored by earlier
// versions were typed from the name's first period: a name such as
// "song.mid.old" that had a type that way keeps it.
EntryType EntryTypeOf(const char *entry);

// "0003.CD": tracks of a disc are numbered 1 to 255.
bool NamesATrack(const char *entry);

// Whether an entry text is a disc track: four digits and ".CD".
bool IsTrackEntry(const char *entry);

// ---- disc sections ----

// The disc a collection section's CD_ID value names: digits alone, their
// value at most 32 bits; 0 when the value is no disc identifier.
uint32_t DiscIdOf(const char *value);
