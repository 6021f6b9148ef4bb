// The media targets' bytes: the input as a whole file, and the input as the
// beginning of a longer file whose rest reads as zeros, so that the checks
// meet the sizes of files too big to hand the fuzzer (sound of hours, a
// movie past 4 GB) with the input's headers in front.
#pragma once
#include "players/media_structure.h"

#include <cstring>

struct SparseFile {
    const uint8_t *data;
    size_t size;
};

inline bool ReadSparse(void *source, uint64_t at, void *out, uint32_t count) {
    const SparseFile &file = *static_cast<const SparseFile *>(source);
    uint8_t *bytes = static_cast<uint8_t *>(out);
    uint64_t present = at < file.size ? file.size - at : 0;
    uint32_t copied = present < count ? static_cast<uint32_t>(present) : count;
    if (copied > 0)
        std::memcpy(bytes, file.data + at, copied);
    std::memset(bytes + copied, 0, count - copied);
    return true;
}

// The sizes each input is checked at: as it is, 16 MB on, past 4 GB.
constexpr uint64_t ZeroTails[] = {0, uint64_t(1) << 24, (uint64_t(1) << 32) + 4096};

inline MediaBytes SparseBytes(SparseFile &file, uint64_t tail) {
    MediaBytes bytes;
    bytes.size = file.size + tail;
    bytes.readAt = ReadSparse;
    bytes.source = &file;
    return bytes;
}
