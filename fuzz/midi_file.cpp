// The MIDI check (standard MIDI files, plain or as RIFF RMID) over any
// bytes: the same bytes give the same verdict, and an accepted song lies
// within the bytes present with every track it counts.
#include "fuzz/media_bytes.h"
#include "fuzz/property.h"

namespace {

void CheckAt(SparseFile &file, Tail tail) {
    MediaBytes bytes = SparseBytes(file, tail);
    SongLayout song, again;
    bool accepted = CheckSongBytes(bytes, song);
    PROPERTY(CheckSongBytes(bytes, again) == accepted);
    if (!accepted)
        return;
    PROPERTY(song.begin == again.begin && song.end == again.end && song.tracks == again.tracks &&
             song.tracksEnd == again.tracksEnd);
    PROPERTY(song.begin < song.end && song.end <= bytes.size);
    // The header chunk, then a chunk header at least for every track.
    PROPERTY(song.tracks >= 1 && song.tracks <= 0xFFFF);
    PROPERTY(song.begin + 14 + 8 * uint64_t(song.tracks) <= song.tracksEnd);
    PROPERTY(song.tracksEnd <= song.end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    return CheckAsEveryFile(data, size, CheckAt);
}
