// The structural check of MIDI, WAVE and AVI files on disk: the file opened
// and read at offsets for the checks of players/media_structure, which walk
// its chunk headers with bounded reads.
#include "players/media_check.h"

#include "players/media_structure.h"

#include <cstdint>

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

// Exactly count bytes from offset at of the open file, or false.
bool ReadFileAt(void *source, uint64_t at, void *out, uint32_t count) {
    HANDLE handle = static_cast<HANDLE>(source);
    DWORD got = 0;
    return SeekTo(handle, at) && ReadFile(handle, out, count, &got, nullptr) && got == count;
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
    MediaBytes bytes;
    bytes.readAt = ReadFileAt;
    bytes.source = handle;
    bool sound = SizeOf(handle, &bytes.size) && CheckBytes(bytes, kind, heldMs);
    CloseHandle(handle);
    return sound ? 0 : Refused;
}
