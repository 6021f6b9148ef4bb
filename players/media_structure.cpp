// The structural check of MIDI, WAVE and AVI files: walks their chunk
// headers with bounded reads and answers whether a device may be given the
// file.
#include "players/media_structure.h"

#include <cstring>

namespace {

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

bool ReadBuffer(void *source, uint64_t at, void *out, uint32_t count) {
    std::memcpy(out, static_cast<const uint8_t *>(source) + at, count);
    return true;
}

// Exactly count bytes from offset at, or false.
bool ReadAt(const MediaBytes &file, uint64_t at, void *out, uint32_t count) {
    if (at > file.size || count > file.size - at)
        return false;
    return file.readAt(file.source, at, out, count);
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
    uint64_t body;    // offset of the first byte after the header
    uint32_t size;    // of the body, without a pad byte
    uint32_t claimed; // the size the header gives
    bool cut;         // claims more than the file holds; size is what it holds
    uint64_t End() const { return body + size; }
    // RIFF chunks of odd size are followed by a pad byte.
    uint64_t NextRiff() const { return End() + (size & 1); }
};

// A stretch of the file that holds chunks.
struct Region {
    uint64_t begin, end;
};

enum class Header {
    Read,       // a chunk that lies within the region
    NoRoom,     // fewer than eight bytes left: the region's end, or a pad byte
    Bad,        // a chunk that runs past the region's end
    Unreadable, // the header could not be read
};

Header ReadChunk(const MediaBytes &file, uint64_t at, const Region &region, bool bigEndian,
                 Chunk &chunk) {
    if (at >= region.end || region.end - at < ChunkHeaderSize)
        return Header::NoRoom;
    uint8_t header[ChunkHeaderSize];
    if (!ReadAt(file, at, header, sizeof header))
        return Header::Unreadable;
    std::memcpy(chunk.id, header, 4);
    chunk.size = bigEndian ? Big32(header + 4) : Little32(header + 4);
    chunk.claimed = chunk.size;
    chunk.body = at + ChunkHeaderSize;
    chunk.cut = false;
    return chunk.size <= region.end - chunk.body ? Header::Read : Header::Bad;
}

// A size of all ones is no placeholder that devices take.
constexpr uint32_t UnknownSize = 0xFFFFFFFF;

// The last chunk of a file, which claims more than the file holds, cut to
// what it holds. Only where the region ends with the file.
bool CutToFile(const MediaBytes &file, const Region &region, Chunk &chunk) {
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
// Refuse. False when a chunk runs past the region (unless overrun lets it be
// cut to the file's end) or visit refuses, or when visit has not stopped
// within MaxSkippedChunks chunks.
template <typename Visitor>
bool WalkRiffChunks(const MediaBytes &file, const Region &region, Visitor visit,
                    Overrun overrun = Overrun::Refuse) {
    uint64_t at = region.begin;
    for (int walked = 0; walked < MaxSkippedChunks; ++walked) {
        Chunk chunk;
        switch (ReadChunk(file, at, region, false, chunk)) {
        case Header::NoRoom: return true;
        case Header::Bad:
            if (overrun != Overrun::Cut || !CutToFile(file, region, chunk))
                return false;
            break;
        case Header::Unreadable: return false;
        case Header::Read: break;
        }
        switch (visit(chunk)) {
        case Visit::Next: break;
        case Visit::Stop: return true;
        case Visit::Refuse: return false;
        }
        at = chunk.NextRiff();
    }
    return false;
}

// The form type of a RIFF or LIST chunk, false when it has no room for one.
bool ListType(const MediaBytes &file, const Chunk &chunk, char type[4]) {
    return chunk.size >= 4 && ReadAt(file, chunk.body, type, 4);
}

Region ListBody(const Chunk &list) {
    return Region{list.body + 4, list.End()};
}

// The chunks of a RIFF file of the given form. A RIFF size that overstates
// the file is forgiven (the chunks inside still have to fit); one that
// leaves no room for the form type is not.
bool OpenRiffForm(const MediaBytes &file, const char *form, Region &chunks) {
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

// A standard MIDI file held in the song's region: its header chunk and as
// many track chunks as the header counts, chunks of other kinds skipped.
bool CheckStandardMidi(const MediaBytes &file, SongLayout &song) {
    uint8_t header[ChunkHeaderSize + MidiHeaderSize];
    if (song.end - song.begin < sizeof header || !ReadAt(file, song.begin, header, sizeof header) ||
        !IsTag(header, "MThd"))
        return false;
    uint32_t headerSize = Big32(header + 4);
    uint32_t format = Big16(header + 8);
    uint32_t tracks = Big16(header + 10);
    uint32_t division = Big16(header + 12);
    bool smpte = (division & 0x8000) != 0;
    if (headerSize < MidiHeaderSize || headerSize > song.end - song.begin - ChunkHeaderSize ||
        format > 2 || tracks == 0 || division == 0 || (smpte && (division & 0xFF) == 0))
        return false;
    Region chunks{song.begin + ChunkHeaderSize + headerSize, song.end};
    if (uint64_t(tracks) * ChunkHeaderSize > chunks.end - chunks.begin)
        return false; // more tracks than the file has room for
    uint32_t found = 0;
    int skipped = 0;
    uint64_t at = chunks.begin;
    while (found < tracks) {
        Chunk chunk;
        if (ReadChunk(file, at, chunks, true, chunk) != Header::Read)
            return false;
        if (IsTag(chunk.id, "MTrk"))
            ++found;
        else if (++skipped > MaxSkippedChunks)
            return false;
        at = chunk.End();
    }
    song.tracks = tracks;
    song.tracksEnd = at;
    return true;
}

// ---- WAVE ----

struct SoundFields {
    uint32_t bytesPerSec = 0;
    uint32_t blockAlign = 0;
};

// A format chunk that describes sound at all: channels, a sample rate, a
// byte rate and a block size.
bool SoundFormat(const MediaBytes &file, const Chunk &format, SoundFields &sound) {
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

// ---- AVI ----

// One stream's list: a stream header long enough for its fields and, for
// video and sound, a format long enough for its kind.
bool SoundStreamList(const MediaBytes &file, const Chunk &list) {
    bool haveHeader = false;
    char kind[4] = {};
    bool walked = WalkRiffChunks(file, ListBody(list), [&](const Chunk &chunk) {
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
    return walked && haveHeader;
}

bool CheckAviHeaders(const MediaBytes &file, const Chunk &headers, MovieLayout &movie) {
    bool haveMain = false;
    bool walked = WalkRiffChunks(file, ListBody(headers), [&](const Chunk &chunk) {
        char type[4];
        if (IsTag(chunk.id, "avih")) {
            uint8_t main[AviMainHeaderSize];
            if (chunk.size < sizeof main || !ReadAt(file, chunk.body, main, sizeof main))
                return Visit::Refuse;
            movie.frames = Little32(main + 16);
            movie.streams = Little32(main + 24);
            haveMain = true;
        } else if (IsTag(chunk.id, "LIST") && ListType(file, chunk, type) && IsTag(type, "strl")) {
            if (!SoundStreamList(file, chunk))
                return Visit::Refuse;
            ++movie.streamLists;
        }
        return Visit::Next;
    });
    return walked && haveMain && movie.streams != 0 && movie.streamLists >= movie.streams;
}

// Every chunk of a frame list lies within it, those of its record lists
// too; read counts the chunk headers read so far.
bool WalkFrameChunks(const MediaBytes &file, const Region &region, bool inRecord, uint32_t &read) {
    for (uint64_t at = region.begin; read < MaxFrameChunks; ++read) {
        Chunk chunk;
        switch (ReadChunk(file, at, region, false, chunk)) {
        case Header::NoRoom: return true;
        case Header::Bad:
        case Header::Unreadable: return false;
        case Header::Read: break;
        }
        char type[4];
        if (!inRecord && IsTag(chunk.id, "LIST") && ListType(file, chunk, type) &&
            IsTag(type, "rec ") && !WalkFrameChunks(file, ListBody(chunk), true, read))
            return false;
        at = chunk.NextRiff();
    }
    return true;
}

// The frame list has room for a chunk header for every frame the main
// header counts, and its chunks lie within it.
bool CheckFrames(const MediaBytes &file, const Region &frames, const MovieLayout &movie) {
    if (uint64_t(movie.frames) * ChunkHeaderSize > frames.end - frames.begin)
        return false;
    uint32_t read = 0;
    return WalkFrameChunks(file, frames, false, read);
}

} // namespace

MediaBytes BufferBytes(const uint8_t *data, size_t size) {
    MediaBytes bytes;
    bytes.size = size;
    bytes.readAt = ReadBuffer;
    bytes.source = const_cast<uint8_t *>(data);
    return bytes;
}

bool CheckSongBytes(const MediaBytes &file, SongLayout &song) {
    song = SongLayout{};
    char tag[4];
    if (!ReadAt(file, 0, tag, sizeof tag))
        return false;
    if (!IsTag(tag, "RIFF")) {
        song.end = file.size;
        return CheckStandardMidi(file, song);
    }
    Region chunks;
    if (!OpenRiffForm(file, "RMID", chunks))
        return false;
    bool walked = WalkRiffChunks(file, chunks, [&](const Chunk &chunk) {
        if (!IsTag(chunk.id, "data"))
            return Visit::Next;
        song.begin = chunk.body;
        song.end = chunk.End();
        return Visit::Stop;
    });
    return walked && song.end != 0 && CheckStandardMidi(file, song);
}

// Only the data chunk may claim more than the file holds, and only after
// the format: the device then plays what is there. It must hold a whole
// block at least.
bool CheckWaveBytes(const MediaBytes &file, WaveLayout &wave) {
    wave = WaveLayout{};
    Region chunks;
    if (!OpenRiffForm(file, "WAVE", chunks))
        return false;
    bool haveFormat = false, haveData = false;
    SoundFields sound;
    bool walked = WalkRiffChunks(
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
                wave.cut = chunk.cut;
                wave.dataBegin = chunk.body;
                wave.dataClaimed = chunk.claimed;
                wave.dataHeld = wave.cut ? chunk.size - chunk.size % sound.blockAlign : chunk.size;
                if (wave.cut && wave.dataHeld == 0)
                    return Visit::Refuse;
            }
            return haveFormat && haveData ? Visit::Stop : Visit::Next;
        },
        Overrun::Cut);
    if (!walked || !haveFormat || !haveData)
        return false;
    wave.bytesPerSec = sound.bytesPerSec;
    wave.blockAlign = sound.blockAlign;
    uint64_t heldMs = wave.dataHeld * 1000 / sound.bytesPerSec;
    if (wave.cut)
        wave.heldMs = heldMs < LongestHeldMs ? static_cast<uint32_t>(heldMs) : LongestHeldMs;
    return true;
}

bool CheckMovieBytes(const MediaBytes &file, MovieLayout &movie) {
    movie = MovieLayout{};
    Region chunks;
    if (!OpenRiffForm(file, "AVI ", chunks))
        return false;
    Chunk headers{}, frames{};
    bool haveHeaders = false, haveFrames = false;
    bool walked = WalkRiffChunks(file, chunks, [&](const Chunk &chunk) {
        char type[4];
        if (!IsTag(chunk.id, "LIST") || !ListType(file, chunk, type))
            return Visit::Next;
        if (IsTag(type, "hdrl") && !haveHeaders) {
            headers = chunk;
            haveHeaders = true;
        } else if (IsTag(type, "movi") && !haveFrames) {
            frames = chunk;
            haveFrames = true;
        }
        return haveHeaders && haveFrames ? Visit::Stop : Visit::Next;
    });
    if (!walked || !haveHeaders || !haveFrames || !CheckAviHeaders(file, headers, movie))
        return false;
    Region list = ListBody(frames);
    movie.framesBegin = list.begin;
    movie.framesEnd = list.end;
    return CheckFrames(file, list, movie);
}
