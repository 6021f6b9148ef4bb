// The media targets' bytes: the input as a whole file, and the input as the
// beginning of a longer file whose rest reads as zeros, so that the checks
// meet the sizes of files too big to hand the fuzzer (sound of hours, a
// movie past 4 GB) with the input's headers in front, or cannot be read at
// all, as a disk that fails past a point.
#pragma once
#include "players/media_structure.h"

#include <cstring>

struct SparseFile {
    const uint8_t *data;
    size_t size;
    bool tailFails = false;
};

inline bool ReadSparse(void *source, uint64_t at, void *out, uint32_t count) {
    const SparseFile &file = *static_cast<const SparseFile *>(source);
    uint8_t *bytes = static_cast<uint8_t *>(out);
    uint64_t present = at < file.size ? file.size - at : 0;
    if (file.tailFails && present < count)
        return false;
    uint32_t copied = present < count ? static_cast<uint32_t>(present) : count;
    if (copied > 0)
        std::memcpy(bytes, file.data + at, copied);
    std::memset(bytes + copied, 0, count - copied);
    return true;
}

// The files each input is checked as: as it is, 16 MB on, past 4 GB, and
// 16 MB on that cannot be read.
struct Tail {
    uint64_t size;
    bool fails;
};
constexpr Tail Tails[] = {{0, false},
                          {uint64_t(1) << 24, false},
                          {(uint64_t(1) << 32) + 4096, false},
                          {uint64_t(1) << 24, true}};

inline MediaBytes SparseBytes(SparseFile &file, Tail tail) {
    file.tailFails = tail.fails;
    MediaBytes bytes;
    bytes.size = file.size + tail.size;
    bytes.readAt = ReadSparse;
    bytes.source = &file;
    return bytes;
}

// The input checked as each of the files of Tails; the entry of each target.
inline int CheckAsEveryFile(const uint8_t *data, size_t size, void (*check)(SparseFile &, Tail)) {
    SparseFile file{data, size};
    for (Tail tail : Tails)
        check(file, tail);
    return 0;
}
