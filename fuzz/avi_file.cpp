// The AVI check over any bytes: the same bytes give the same verdict, and an
// accepted movie's frame list lies within the bytes present with room for
// every frame the main header counts, and a list for every stream.
#include "fuzz/media_bytes.h"
#include "fuzz/property.h"

namespace {

void CheckAt(SparseFile &file, Tail tail) {
    MediaBytes bytes = SparseBytes(file, tail);
    MovieLayout movie, again;
    bool accepted = CheckMovieBytes(bytes, movie);
    PROPERTY(CheckMovieBytes(bytes, again) == accepted);
    if (!accepted)
        return;
    PROPERTY(movie.framesBegin == again.framesBegin && movie.framesEnd == again.framesEnd &&
             movie.frames == again.frames && movie.streams == again.streams &&
             movie.streamLists == again.streamLists);
    PROPERTY(movie.framesBegin >= 12 && movie.framesBegin <= movie.framesEnd);
    PROPERTY(movie.framesEnd <= bytes.size);
    PROPERTY(uint64_t(movie.frames) * 8 <= movie.framesEnd - movie.framesBegin);
    PROPERTY(movie.streams >= 1 && movie.streamLists >= movie.streams);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    return CheckAsEveryFile(data, size, CheckAt);
}
