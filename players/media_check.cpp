// The structural check of MIDI, WAVE and AVI files on disk: the file opened
// and read at offsets for the checks of players/media_structure, which walk
// its chunk headers with bounded reads.
#include "players/media_check.h"

#include "players/media_structure.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr MCIERROR Refused = MCIERR_INVALID_FILE;

// The size and the seek with their high words, which every Windows has: a
// low word of all ones is an answer only when the last error says so.
bool SizeOf(HANDLE handle, uint64_t *size) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    *size = (uint64_t(high) << 32) | low;
    return true;
}

bool SeekTo(HANDLE handle, uint64_t at) {
    LONG high = static_cast<LONG>(at >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(handle, static_cast<LONG>(at & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

// The open file with its first bytes, read once when it opens: the headers
// the checks walk mostly lie there, and every read of the file is a call
// into the system.
struct FileBytes {
    HANDLE handle;
    unsigned char head[4096];
    DWORD held = 0;
};

bool ReadExactly(HANDLE handle, uint64_t at, void *out, DWORD count, DWORD *got) {
    return SeekTo(handle, at) && ReadFile(handle, out, count, got, nullptr);
}

// Exactly count bytes from offset at of the open file, or false.
bool ReadFileAt(void *source, uint64_t at, void *out, uint32_t count) {
    auto *file = static_cast<FileBytes *>(source);
    if (at <= file->held && count <= file->held - at) {
        std::memcpy(out, file->head + at, count);
        return true;
    }
    DWORD got = 0;
    return ReadExactly(file->handle, at, out, count, &got) && got == count;
}

bool CheckBytes(const MediaBytes &bytes, MediaKind kind, DWORD *heldMs) {
    switch (kind) {
    case MediaKind::Midi: {
        SongLayout song;
        return CheckSongBytes(bytes, song);
    }
    case MediaKind::Wave: {
        WaveLayout wave;
        if (!CheckWaveBytes(bytes, wave))
            return false;
        if (heldMs != nullptr)
            *heldMs = wave.cut ? wave.heldMs : WholeMediaLength;
        return true;
    }
    case MediaKind::Avi: {
        MovieLayout movie;
        return CheckMovieBytes(bytes, movie);
    }
    }
    return false;
}

} // namespace

MCIERROR CheckMediaFile(const char *path, MediaKind kind, DWORD *heldMs) {
    if (heldMs != nullptr)
        *heldMs = WholeMediaLength;
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    FileBytes file;
    file.handle = handle;
    MediaBytes bytes;
    bytes.readAt = ReadFileAt;
    bytes.source = &file;
    bool sound = SizeOf(handle, &bytes.size) &&
                 ReadFile(handle, file.head, sizeof file.head, &file.held, nullptr) &&
                 CheckBytes(bytes, kind, heldMs);
    CloseHandle(handle);
    return sound ? 0 : Refused;
}
