// The structural check of MIDI, WAVE and AVI files: walks their chunk
// headers with bounded reads and answers whether a device may be given the
// file.
#include "players/media_check.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr MCIERROR Refused = MCIERR_INVALID_FILE;

// Chunks of kinds the check does not need, skipped on the way to those it
// does; a file with more of them before those is not taken as sound.
constexpr int MaxSkippedChunks = 4096;
// Chunk headers read in a movie's frame list; a longer list is not walked
// to its end.
constexpr uint32_t MaxFrameChunks = 1u << 20;

constexpr uint32_t ChunkHeaderSize = 8;
constexpr uint32_t MidiHeaderSize = 6;  // format, tracks, division
constexpr uint32_t WaveFormatSize = 14; // up to the block align
constexpr uint32_t AviMainHeaderSize = 56;
constexpr uint32_t AviStreamHeaderSize = 48; // the oldest writers stop here
constexpr uint32_t BitmapHeaderSize = 40;

struct MediaFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    uint64_t size = 0;
};

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

// Exactly count bytes from offset at, or false.
bool ReadAt(const MediaFile &file, uint64_t at, void *out, DWORD count) {
    if (at > file.size || count > file.size - at)
        return false;
    DWORD got = 0;
    return SeekTo(file.handle, at) && ReadFile(file.handle, out, count, &got, nullptr) &&
           got == count;
}

uint32_t Little16(const uint8_t *bytes) {
    return bytes[0] | (uint32_t(bytes[1]) << 8);
}

uint32_t Little32(const uint8_t *bytes) {
    return Little16(bytes) | (Little16(bytes + 2) << 16);
}

uint32_t Big16(const uint8_t *bytes) {
    return (uint32_t(bytes[0]) << 8) | bytes[1];
}

uint32_t Big32(const uint8_t *bytes) {
    return (Big16(bytes) << 16) | Big16(bytes + 2);
}

bool IsTag(const void *bytes, const char *tag) {
    return std::memcmp(bytes, tag, 4) == 0;
}

// ---- chunks ----

struct Chunk {
    char id[4];
    uint64_t body; // offset of the first byte after the header
    uint32_t size; // of the body, without a pad byte
    bool cut;      // claims more than the file holds; size is what it holds
    uint64_t End() const { return body + size; }
    // RIFF chunks of odd size are followed by a pad byte.
    uint64_t NextRiff() const { return End() + (size & 1); }
};

// A stretch of the file that holds chunks.
struct Region {
    uint64_t begin, end;
};

enum class Header {
    Read,   // a chunk that lies within the region
    NoRoom, // fewer than eight bytes left: the region's end, or a pad byte
    Bad,    // a chunk that runs past the region's end, or an unreadable file
};

Header ReadChunk(const MediaFile &file, uint64_t at, const Region &region, bool bigEndian,
                 Chunk &chunk) {
    if (at >= region.end || region.end - at < ChunkHeaderSize)
        return Header::NoRoom;
    uint8_t header[ChunkHeaderSize];
    if (!ReadAt(file, at, header, sizeof header))
        return Header::Bad;
    std::memcpy(chunk.id, header, 4);
    chunk.size = bigEndian ? Big32(header + 4) : Little32(header + 4);
    chunk.body = at + ChunkHeaderSize;
    chunk.cut = false;
    return chunk.size <= region.end - chunk.body ? Header::Read : Header::Bad;
}

// A size of all ones is no placeholder that devices take.
constexpr uint32_t UnknownSize = 0xFFFFFFFF;

// The last chunk of a file, which claims more than the file holds, cut to
// what it holds. Only where the region ends with the file.
bool CutToFile(const MediaFile &file, const Region &region, Chunk &chunk) {
    if (region.end != file.size || chunk.body > file.size || chunk.size == UnknownSize)
        return false;
    chunk.size = static_cast<uint32_t>(file.size - chunk.body);
    chunk.cut = true;
    return true;
}

enum class Visit { Next, Stop, Refuse };

enum class Overrun {
    Refuse, // a chunk that runs past the region refuses the file
    Cut,    // one that runs past the end of the file is visited cut to it
};

// Hands each RIFF chunk of the region to visit until it answers Stop or
// Refuse. Refused when a chunk runs past the region (unless overrun lets it
// be cut to the file's end) or visit refuses, or when visit has not stopped
// within MaxSkippedChunks chunks.
template <typename Visitor>
MCIERROR WalkRiffChunks(const MediaFile &file, const Region &region, Visitor visit,
                        Overrun overrun = Overrun::Refuse) {
    uint64_t at = region.begin;
    for (int walked = 0; walked < MaxSkippedChunks; ++walked) {
        Chunk chunk;
        switch (ReadChunk(file, at, region, false, chunk)) {
        case Header::NoRoom: return 0;
        case Header::Bad:
            if (overrun != Overrun::Cut || !CutToFile(file, region, chunk))
                return Refused;
            break;
        case Header::Read: break;
        }
        switch (visit(chunk)) {
        case Visit::Next: break;
        case Visit::Stop: return 0;
        case Visit::Refuse: return Refused;
        }
        at = chunk.NextRiff();
    }
    return Refused;
}

// The form type of a RIFF or LIST chunk, false when it has no room for one.
bool ListType(const MediaFile &file, const Chunk &chunk, char type[4]) {
    return chunk.size >= 4 && ReadAt(file, chunk.body, type, 4);
}

Region ListBody(const Chunk &list) {
    return Region{list.body + 4, list.End()};
}

// The chunks of a RIFF file of the given form. A RIFF size that overstates
// the file is forgiven (the chunks inside still have to fit); one that
// leaves no room for the form type is not.
bool OpenRiffForm(const MediaFile &file, const char *form, Region &chunks) {
    Chunk riff;
    Region whole{0, UINT64_MAX};
    char type[4];
    if (ReadChunk(file, 0, whole, false, riff) != Header::Read || !IsTag(riff.id, "RIFF") ||
        !ListType(file, riff, type) || !IsTag(type, form))
        return false;
    chunks = ListBody(riff);
    if (chunks.end > file.size)
        chunks.end = file.size;
    return true;
}

// ---- MIDI ----

// A standard MIDI file held in [begin, end): its header chunk and as many
// track chunks as the header counts, chunks of other kinds skipped.
MCIERROR CheckStandardMidi(const MediaFile &file, const Region &song) {
    uint8_t header[ChunkHeaderSize + MidiHeaderSize];
    if (song.end - song.begin < sizeof header || !ReadAt(file, song.begin, header, sizeof header) ||
        !IsTag(header, "MThd"))
        return Refused;
    uint32_t headerSize = Big32(header + 4);
    uint32_t format = Big16(header + 8);
    uint32_t tracks = Big16(header + 10);
    uint32_t division = Big16(header + 12);
    bool smpte = (division & 0x8000) != 0;
    if (headerSize < MidiHeaderSize || headerSize > song.end - song.begin - ChunkHeaderSize ||
        format > 2 || tracks == 0 || division == 0 || (smpte && (division & 0xFF) == 0))
        return Refused;
    Region chunks{song.begin + ChunkHeaderSize + headerSize, song.end};
    if (uint64_t(tracks) * ChunkHeaderSize > chunks.end - chunks.begin)
        return Refused; // more tracks than the file has room for
    uint32_t found = 0;
    int skipped = 0;
    for (uint64_t at = chunks.begin; found < tracks;) {
        Chunk chunk;
        if (ReadChunk(file, at, chunks, true, chunk) != Header::Read)
            return Refused;
        if (IsTag(chunk.id, "MTrk"))
            ++found;
        else if (++skipped > MaxSkippedChunks)
            return Refused;
        at = chunk.End();
    }
    return 0;
}

MCIERROR CheckMidi(const MediaFile &file) {
    char tag[4];
    if (!ReadAt(file, 0, tag, sizeof tag))
        return Refused;
    if (!IsTag(tag, "RIFF"))
        return CheckStandardMidi(file, Region{0, file.size});
    Region chunks;
    if (!OpenRiffForm(file, "RMID", chunks))
        return Refused;
    Region song{0, 0};
    MCIERROR error = WalkRiffChunks(file, chunks, [&](const Chunk &chunk) {
        if (!IsTag(chunk.id, "data"))
            return Visit::Next;
        song = Region{chunk.body, chunk.End()};
        return Visit::Stop;
    });
    if (error != 0 || song.end == 0)
        return Refused;
    return CheckStandardMidi(file, song);
}

// ---- WAVE ----

struct SoundFields {
    uint32_t bytesPerSec = 0;
    uint32_t blockAlign = 0;
};

// A format chunk that describes sound at all: channels, a sample rate, a
// byte rate and a block size.
bool SoundFormat(const MediaFile &file, const Chunk &format, SoundFields &sound) {
    uint8_t fields[WaveFormatSize];
    if (format.cut || format.size < sizeof fields ||
        !ReadAt(file, format.body, fields, sizeof fields))
        return false;
    uint32_t channels = Little16(fields + 2);
    uint32_t samplesPerSec = Little32(fields + 4);
    sound.bytesPerSec = Little32(fields + 8);
    sound.blockAlign = Little16(fields + 12);
    return channels != 0 && samplesPerSec != 0 && sound.bytesPerSec != 0 && sound.blockAlign != 0;
}

// Only the data chunk may claim more than the file holds, and only after
// the format: the device then plays what is there. It must hold a whole
// block at least, and heldMs receives how long what it holds plays.
MCIERROR CheckWave(const MediaFile &file, DWORD *heldMs) {
    Region chunks;
    if (!OpenRiffForm(file, "WAVE", chunks))
        return Refused;
    bool haveFormat = false, haveData = false;
    SoundFields sound;
    uint64_t held = 0;
    bool cut = false;
    MCIERROR error = WalkRiffChunks(
        file, chunks,
        [&](const Chunk &chunk) {
            if (chunk.cut && (!IsTag(chunk.id, "data") || !haveFormat))
                return Visit::Refuse;
            if (IsTag(chunk.id, "fmt ")) {
                if (!SoundFormat(file, chunk, sound))
                    return Visit::Refuse;
                haveFormat = true;
            } else if (IsTag(chunk.id, "data")) {
                haveData = true;
                cut = chunk.cut;
                held = cut ? chunk.size - chunk.size % sound.blockAlign : chunk.size;
                if (cut && held == 0)
                    return Visit::Refuse;
            }
            return haveFormat && haveData ? Visit::Stop : Visit::Next;
        },
        Overrun::Cut);
    if (error != 0 || !haveFormat || !haveData)
        return Refused;
    if (heldMs != nullptr)
        *heldMs = cut ? static_cast<DWORD>(held * 1000 / sound.bytesPerSec) : WholeMediaLength;
    return 0;
}

// ---- AVI ----

struct MovieFacts {
    uint32_t frames = 0;  // the main header's frame count
    uint32_t streams = 0; // the main header's stream count
    uint32_t streamLists = 0;
};

// One stream's list: a stream header long enough for its fields and, for
// video and sound, a format long enough for its kind.
bool SoundStreamList(const MediaFile &file, const Chunk &list) {
    bool haveHeader = false;
    char kind[4] = {};
    MCIERROR error = WalkRiffChunks(file, ListBody(list), [&](const Chunk &chunk) {
        if (IsTag(chunk.id, "strh")) {
            if (chunk.size < AviStreamHeaderSize || !ReadAt(file, chunk.body, kind, sizeof kind))
                return Visit::Refuse;
            haveHeader = true;
            return Visit::Next;
        }
        if (!IsTag(chunk.id, "strf"))
            return Visit::Next;
        if (!haveHeader)
            return Visit::Refuse;
        if (IsTag(kind, "vids") && chunk.size < BitmapHeaderSize)
            return Visit::Refuse;
        if (IsTag(kind, "auds") && chunk.size < WaveFormatSize)
            return Visit::Refuse;
        return Visit::Stop;
    });
    return error == 0 && haveHeader;
}

MCIERROR CheckAviHeaders(const MediaFile &file, const Chunk &headers, MovieFacts &facts) {
    bool haveMain = false;
    MCIERROR error = WalkRiffChunks(file, ListBody(headers), [&](const Chunk &chunk) {
        char type[4];
        if (IsTag(chunk.id, "avih")) {
            uint8_t main[AviMainHeaderSize];
            if (chunk.size < sizeof main || !ReadAt(file, chunk.body, main, sizeof main))
                return Visit::Refuse;
            facts.frames = Little32(main + 16);
            facts.streams = Little32(main + 24);
            haveMain = true;
        } else if (IsTag(chunk.id, "LIST") && ListType(file, chunk, type) && IsTag(type, "strl")) {
            if (!SoundStreamList(file, chunk))
                return Visit::Refuse;
            ++facts.streamLists;
        }
        return Visit::Next;
    });
    if (error != 0 || !haveMain || facts.streams == 0 || facts.streamLists < facts.streams)
        return Refused;
    return 0;
}

// Every chunk of a frame list lies within it, those of its record lists
// too; read counts the chunk headers read so far.
MCIERROR WalkFrameChunks(const MediaFile &file, const Region &region, bool inRecord,
                         uint32_t &read) {
    for (uint64_t at = region.begin; read < MaxFrameChunks; ++read) {
        Chunk chunk;
        switch (ReadChunk(file, at, region, false, chunk)) {
        case Header::NoRoom: return 0;
        case Header::Bad: return Refused;
        case Header::Read: break;
        }
        char type[4];
        if (!inRecord && IsTag(chunk.id, "LIST") && ListType(file, chunk, type) &&
            IsTag(type, "rec "))
            if (MCIERROR error = WalkFrameChunks(file, ListBody(chunk), true, read))
                return error;
        at = chunk.NextRiff();
    }
    return 0;
}

// The frame list has room for a chunk header for every frame the main
// header counts, and its chunks lie within it.
MCIERROR CheckFrames(const MediaFile &file, const Chunk &movie, const MovieFacts &facts) {
    Region frames = ListBody(movie);
    if (uint64_t(facts.frames) * ChunkHeaderSize > frames.end - frames.begin)
        return Refused;
    uint32_t read = 0;
    return WalkFrameChunks(file, frames, false, read);
}

MCIERROR CheckAvi(const MediaFile &file) {
    Region chunks;
    if (!OpenRiffForm(file, "AVI ", chunks))
        return Refused;
    Chunk headers{}, movie{};
    bool haveHeaders = false, haveMovie = false;
    MCIERROR error = WalkRiffChunks(file, chunks, [&](const Chunk &chunk) {
        char type[4];
        if (!IsTag(chunk.id, "LIST") || !ListType(file, chunk, type))
            return Visit::Next;
        if (IsTag(type, "hdrl") && !haveHeaders) {
            headers = chunk;
            haveHeaders = true;
        } else if (IsTag(type, "movi") && !haveMovie) {
            movie = chunk;
            haveMovie = true;
        }
        return haveHeaders && haveMovie ? Visit::Stop : Visit::Next;
    });
    if (error != 0 || !haveHeaders || !haveMovie)
        return Refused;
    MovieFacts facts;
    if ((error = CheckAviHeaders(file, headers, facts)) != 0)
        return error;
    return CheckFrames(file, movie, facts);
}

} // namespace

MCIERROR CheckMediaFile(const char *path, MediaKind kind, DWORD *heldMs) {
    if (heldMs != nullptr)
        *heldMs = WholeMediaLength;
    MediaFile file;
    file.handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.handle == INVALID_HANDLE_VALUE)
        return 0;
    MCIERROR answer = Refused;
    if (SizeOf(file.handle, &file.size)) {
        switch (kind) {
        case MediaKind::Midi: answer = CheckMidi(file); break;
        case MediaKind::Wave: answer = CheckWave(file, heldMs); break;
        case MediaKind::Avi: answer = CheckAvi(file); break;
        }
    }
    CloseHandle(file.handle);
    return answer;
}
