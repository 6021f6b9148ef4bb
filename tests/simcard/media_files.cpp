// Writers and readers of small RIFF WAVE, MIDI, RMID and AVI files, and of
// the simulated card's stand-ins for compressed sound and movies.
#include "tests/simcard/media_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// ---- byte building ----

void Put16(Bytes &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Bytes &out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutBig16(Bytes &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutBig32(Bytes &out, uint32_t value) {
    PutBig16(out, value >> 16);
    PutBig16(out, value & 0xFFFF);
}

void PutTag(Bytes &out, const char *tag) {
    out.insert(out.end(), tag, tag + 4);
}

void PutVariable(Bytes &out, uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

// Opens a RIFF or LIST chunk; CloseChunk fills in its size.
size_t OpenChunk(Bytes &out, const char *id, const char *form) {
    PutTag(out, id);
    size_t sizeAt = out.size();
    Put32(out, 0);
    if (form != nullptr)
        PutTag(out, form);
    return sizeAt;
}

void CloseChunk(Bytes &out, size_t sizeAt) {
    uint32_t size = static_cast<uint32_t>(out.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i)
        out[sizeAt + i] = static_cast<uint8_t>(size >> (8 * i));
    if (size % 2 != 0)
        out.push_back(0);
}

void PutChunk(Bytes &out, const char *id, const Bytes &body) {
    size_t at = OpenChunk(out, id, nullptr);
    out.insert(out.end(), body.begin(), body.end());
    CloseChunk(out, at);
}

// ---- byte reading ----

uint32_t Get16(const Bytes &in, size_t at) {
    return in[at] | (in[at + 1] << 8);
}

uint32_t Get32(const Bytes &in, size_t at) {
    return Get16(in, at) | (Get16(in, at + 2) << 16);
}

uint32_t GetBig32(const Bytes &in, size_t at) {
    return (uint32_t(in[at]) << 24) | (in[at + 1] << 16) | (in[at + 2] << 8) | in[at + 3];
}

bool TagAt(const Bytes &in, size_t at, const char *tag) {
    return at + 4 <= in.size() && std::memcmp(&in[at], tag, 4) == 0;
}

// Finds a chunk with the given id (and list form, for RIFF and LIST) among
// the chunks in [begin, end); answers the offset of its body or 0.
size_t FindChunk(const Bytes &in, size_t begin, size_t end, const char *id, const char *form,
                 uint32_t &size) {
    size_t at = begin;
    while (at + 8 <= end) {
        uint32_t chunkSize = Get32(in, at + 4);
        if (chunkSize > end - at - 8)
            return 0;
        if (TagAt(in, at, id) && (form == nullptr || TagAt(in, at + 8, form))) {
            size = chunkSize;
            return at + 8;
        }
        at += 8 + chunkSize + (chunkSize & 1);
    }
    return 0;
}

} // namespace

// ---- WAVE ----

WaveFormat PcmFormat(WORD channels, DWORD samplesPerSec, WORD bitsPerSample) {
    WaveFormat format;
    format.channels = channels;
    format.samplesPerSec = samplesPerSec;
    format.bitsPerSample = bitsPerSample;
    format.blockAlign = static_cast<WORD>(bitsPerSample / 8 * channels);
    format.avgBytesPerSec = format.blockAlign * samplesPerSec;
    return format;
}

Bytes MakeWave(const WaveFormat &format, DWORD milliseconds) {
    WaveData wave;
    wave.format = format;
    DWORD frames = static_cast<DWORD>(uint64_t(format.samplesPerSec) * milliseconds / 1000);
    for (DWORD i = 0; i < frames; ++i) {
        bool high = (i / 16) % 2 == 0; // a square wave, quiet
        for (WORD c = 0; c < format.channels; ++c) {
            if (format.bitsPerSample == 8)
                wave.samples.push_back(high ? 0x90 : 0x70);
            else
                Put16(wave.samples, high ? 1000 : 0x10000 - 1000);
        }
    }
    return MakeWave(wave);
}

Bytes MakeWave(const WaveData &wave) {
    Bytes out;
    size_t riff = OpenChunk(out, "RIFF", "WAVE");
    Bytes fmt;
    Put16(fmt, wave.format.formatTag);
    Put16(fmt, wave.format.channels);
    Put32(fmt, wave.format.samplesPerSec);
    Put32(fmt, wave.format.avgBytesPerSec);
    Put16(fmt, wave.format.blockAlign);
    Put16(fmt, wave.format.bitsPerSample);
    PutChunk(out, "fmt ", fmt);
    PutChunk(out, "data", wave.samples);
    CloseChunk(out, riff);
    return out;
}

bool ReadWave(const Bytes &file, WaveData &wave) {
    if (file.size() < 12 || !TagAt(file, 0, "RIFF") || !TagAt(file, 8, "WAVE"))
        return false;
    size_t end = std::min<size_t>(file.size(), 8 + size_t(Get32(file, 4)));
    uint32_t fmtSize = 0, dataSize = 0;
    size_t fmt = FindChunk(file, 12, end, "fmt ", nullptr, fmtSize);
    size_t data = FindChunk(file, 12, end, "data", nullptr, dataSize);
    if (fmt == 0 || fmtSize < 14 || data == 0)
        return false;
    wave.format.formatTag = static_cast<WORD>(Get16(file, fmt));
    wave.format.channels = static_cast<WORD>(Get16(file, fmt + 2));
    wave.format.samplesPerSec = Get32(file, fmt + 4);
    wave.format.avgBytesPerSec = Get32(file, fmt + 8);
    wave.format.blockAlign = static_cast<WORD>(Get16(file, fmt + 12));
    wave.format.bitsPerSample = fmtSize >= 16 ? static_cast<WORD>(Get16(file, fmt + 14)) : 0;
    if (wave.format.channels == 0 || wave.format.avgBytesPerSec == 0 || wave.format.blockAlign == 0)
        return false;
    wave.samples.assign(file.begin() + data, file.begin() + data + dataSize);
    return true;
}

// ---- MIDI ----

namespace {

Bytes MidiBody(const MidiSong &song) {
    Bytes out;
    PutTag(out, "MThd");
    PutBig32(out, 6);
    PutBig16(out, 1); // format 1
    PutBig16(out, 2); // tempo track and note track
    PutBig16(out, song.division);

    Bytes tempo;
    DWORD at = 0;
    for (const TempoChange &change : song.tempos) {
        PutVariable(tempo, change.tick - at);
        at = change.tick;
        tempo.insert(tempo.end(), {0xFF, 0x51, 0x03});
        tempo.push_back(static_cast<uint8_t>(change.microsPerQuarter >> 16));
        tempo.push_back(static_cast<uint8_t>(change.microsPerQuarter >> 8));
        tempo.push_back(static_cast<uint8_t>(change.microsPerQuarter));
    }
    PutVariable(tempo, 0);
    tempo.insert(tempo.end(), {0xFF, 0x2F, 0x00});

    Bytes notes;
    PutVariable(notes, 0);
    notes.insert(notes.end(), {0xC0, 0x00}); // program change
    PutVariable(notes, 0);
    notes.insert(notes.end(), {0x90, 60, 64}); // note on
    PutVariable(notes, song.lengthTicks);
    notes.insert(notes.end(), {60, 0}); // note off by running status
    PutVariable(notes, 0);
    notes.insert(notes.end(), {0xFF, 0x2F, 0x00});

    for (const Bytes *track : {&tempo, &notes}) {
        PutTag(out, "MTrk");
        PutBig32(out, static_cast<uint32_t>(track->size()));
        out.insert(out.end(), track->begin(), track->end());
    }
    return out;
}

// Walks one track's events; false on a malformed event.
bool ReadTrack(const Bytes &in, size_t at, size_t end, MidiInfo &midi) {
    DWORD tick = 0;
    uint8_t status = 0;
    while (at < end) {
        uint32_t delta = 0;
        for (int i = 0;; ++i) {
            if (at >= end || i == 4)
                return false;
            uint8_t byte = in[at++];
            delta = (delta << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0)
                break;
        }
        tick += delta;
        if (at >= end)
            return false;
        uint8_t first = in[at];
        if (first & 0x80) {
            status = first;
            ++at;
        } else if (status == 0 || status >= 0xF0) {
            return false; // data byte without a running status
        }
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            uint8_t type = 0;
            if (status == 0xFF) {
                if (at >= end)
                    return false;
                type = in[at++];
            }
            uint32_t length = 0;
            for (int i = 0;; ++i) {
                if (at >= end || i == 4)
                    return false;
                uint8_t byte = in[at++];
                length = (length << 7) | (byte & 0x7F);
                if ((byte & 0x80) == 0)
                    break;
            }
            if (length > end - at)
                return false;
            if (status == 0xFF && type == 0x51 && length == 3) {
                DWORD micros = (in[at] << 16) | (in[at + 1] << 8) | in[at + 2];
                midi.tempos.push_back({tick, micros});
            }
            at += length;
            if (status == 0xFF && type == 0x2F)
                break; // end of track
            status = status == 0xFF ? 0 : status;
            if (status == 0xF0 || status == 0xF7)
                status = 0;
            continue;
        }
        uint8_t kind = status & 0xF0;
        size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (status >= 0xF0 || at + dataBytes > end)
            return false;
        at += dataBytes;
    }
    if (tick > midi.lengthTicks)
        midi.lengthTicks = tick;
    return true;
}

} // namespace

Bytes MakeMidi(const MidiSong &song) {
    return MidiBody(song);
}

Bytes MakeRmi(const MidiSong &song) {
    Bytes out;
    size_t riff = OpenChunk(out, "RIFF", "RMID");
    PutChunk(out, "data", MidiBody(song));
    CloseChunk(out, riff);
    return out;
}

bool ReadMidi(const Bytes &file, MidiInfo &midi) {
    size_t begin = 0, end = file.size();
    if (TagAt(file, 0, "RIFF")) {
        if (!TagAt(file, 8, "RMID"))
            return false;
        uint32_t size = 0;
        size_t data = FindChunk(file, 12, file.size(), "data", nullptr, size);
        if (data == 0)
            return false;
        begin = data;
        end = data + size;
    }
    if (end - begin < 14 || !TagAt(file, begin, "MThd") || GetBig32(file, begin + 4) < 6)
        return false;
    uint32_t headerSize = GetBig32(file, begin + 4);
    uint32_t format = (file[begin + 8] << 8) | file[begin + 9];
    uint32_t tracks = (file[begin + 10] << 8) | file[begin + 11];
    uint32_t division = (file[begin + 12] << 8) | file[begin + 13];
    if (format > 2 || tracks == 0 || division == 0 || (division & 0x8000) != 0)
        return false;
    midi = MidiInfo();
    midi.division = static_cast<WORD>(division);
    size_t at = begin + 8 + headerSize;
    for (uint32_t t = 0; t < tracks; ++t) {
        if (at + 8 > end || !TagAt(file, at, "MTrk"))
            return false;
        uint32_t size = GetBig32(file, at + 4);
        if (size > end - at - 8 || !ReadTrack(file, at + 8, at + 8 + size, midi))
            return false;
        at += 8 + size;
    }
    std::stable_sort(midi.tempos.begin(), midi.tempos.end(),
                     [](const TempoChange &a, const TempoChange &b) { return a.tick < b.tick; });
    if (midi.tempos.empty() || midi.tempos.front().tick != 0)
        midi.tempos.insert(midi.tempos.begin(), {0, 500000});
    return true;
}

DWORD MidiTicksToMs(const MidiInfo &midi, DWORD ticks) {
    uint64_t micros = 0;
    for (size_t i = 0; i < midi.tempos.size(); ++i) {
        DWORD from = midi.tempos[i].tick;
        if (from >= ticks)
            break;
        DWORD to = i + 1 < midi.tempos.size() ? std::min(ticks, midi.tempos[i + 1].tick) : ticks;
        micros += uint64_t(to - from) * midi.tempos[i].microsPerQuarter / midi.division;
    }
    return static_cast<DWORD>((micros + 500) / 1000);
}

DWORD MidiMsToTicks(const MidiInfo &midi, DWORD milliseconds) {
    uint64_t left = uint64_t(milliseconds) * 1000;
    for (size_t i = 0; i < midi.tempos.size(); ++i) {
        uint64_t perTick = midi.tempos[i].microsPerQuarter;
        if (i + 1 < midi.tempos.size()) {
            uint64_t span = midi.tempos[i + 1].tick - midi.tempos[i].tick;
            uint64_t spanMicros = span * perTick / midi.division;
            if (left >= spanMicros) {
                left -= spanMicros;
                continue;
            }
        }
        return static_cast<DWORD>(midi.tempos[i].tick + left * midi.division / perTick);
    }
    return 0;
}

DWORD MidiTempoAt(const MidiInfo &midi, DWORD tick) {
    DWORD tempo = 500000;
    for (const TempoChange &change : midi.tempos)
        if (change.tick <= tick)
            tempo = change.microsPerQuarter;
    return tempo;
}

// ---- AVI ----

Bytes MakeAvi(const AviMovie &movie, WORD bitsPerPixel, const std::vector<COLORREF> &frameColours) {
    DWORD bytesPerPixel = bitsPerPixel / 8u;
    DWORD stride = (movie.width * bytesPerPixel + 3) & ~3u;
    DWORD frameBytes = stride * movie.height;
    Bytes out;
    size_t riff = OpenChunk(out, "RIFF", "AVI ");
    size_t hdrl = OpenChunk(out, "LIST", "hdrl");
    Bytes avih;
    Put32(avih, movie.microsPerFrame);
    Put32(avih, static_cast<uint32_t>(uint64_t(frameBytes) * 1000000 / movie.microsPerFrame));
    Put32(avih, 0);    // padding granularity
    Put32(avih, 0x10); // AVIF_HASINDEX
    Put32(avih, movie.frames);
    Put32(avih, 0);          // initial frames
    Put32(avih, 1);          // streams
    Put32(avih, frameBytes); // suggested buffer size
    Put32(avih, movie.width);
    Put32(avih, movie.height);
    for (int i = 0; i < 4; ++i)
        Put32(avih, 0);
    PutChunk(out, "avih", avih);
    size_t strl = OpenChunk(out, "LIST", "strl");
    Bytes strh;
    PutTag(strh, "vids");
    PutTag(strh, "DIB ");
    Put32(strh, 0); // flags
    Put16(strh, 0); // priority
    Put16(strh, 0); // language
    Put32(strh, 0); // initial frames
    Put32(strh, movie.microsPerFrame);
    Put32(strh, 1000000);
    Put32(strh, 0); // start
    Put32(strh, movie.frames);
    Put32(strh, frameBytes);
    Put32(strh, 0xFFFFFFFF); // quality
    Put32(strh, 0);          // sample size
    Put16(strh, 0);
    Put16(strh, 0);
    Put16(strh, movie.width);
    Put16(strh, movie.height);
    PutChunk(out, "strh", strh);
    Bytes strf;
    Put32(strf, 40);
    Put32(strf, movie.width);
    Put32(strf, movie.height);
    Put16(strf, 1); // planes
    Put16(strf, bitsPerPixel);
    Put32(strf, BI_RGB);
    Put32(strf, frameBytes);
    for (int i = 0; i < 4; ++i)
        Put32(strf, 0);
    PutChunk(out, "strf", strf);
    CloseChunk(out, strl);
    CloseChunk(out, hdrl);

    size_t movi = OpenChunk(out, "LIST", "movi");
    size_t moviTag = movi + 4;
    Bytes index;
    for (DWORD f = 0; f < movie.frames; ++f) {
        Bytes frame(frameBytes, static_cast<uint8_t>(f * 255 / (movie.frames ? movie.frames : 1)));
        if (!frameColours.empty()) {
            COLORREF colour = frameColours[f % frameColours.size()];
            const uint8_t pixel[4] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
            for (DWORD at = 0; at < frameBytes; ++at)
                frame[at] = pixel[(at % stride) % bytesPerPixel];
        }
        PutTag(index, "00db");
        Put32(index, 0x10); // key frame
        Put32(index, static_cast<uint32_t>(out.size() - moviTag));
        Put32(index, frameBytes);
        PutChunk(out, "00db", frame);
    }
    CloseChunk(out, movi);
    PutChunk(out, "idx1", index);
    CloseChunk(out, riff);
    return out;
}

bool ReadAvi(const Bytes &file, AviMovie &movie) {
    if (file.size() < 12 || !TagAt(file, 0, "RIFF") || !TagAt(file, 8, "AVI "))
        return false;
    size_t end = std::min<size_t>(file.size(), 8 + size_t(Get32(file, 4)));
    uint32_t size = 0;
    size_t hdrl = FindChunk(file, 12, end, "LIST", "hdrl", size);
    if (hdrl == 0)
        return false;
    uint32_t avihSize = 0;
    size_t avih = FindChunk(file, hdrl + 4, hdrl + size, "avih", nullptr, avihSize);
    if (avih == 0 || avihSize < 40)
        return false;
    movie.microsPerFrame = Get32(file, avih);
    movie.frames = Get32(file, avih + 16);
    movie.width = Get32(file, avih + 32);
    movie.height = Get32(file, avih + 36);
    return movie.microsPerFrame != 0;
}

// ---- compressed sound and movies ----

namespace {

const char MediaTag[] = "SIMMEDIA";
const DWORD HasPicture = 1, LengthZero = 2, LengthRefused = 4;

} // namespace

Bytes MakeCompressedMedia(const CompressedMedia &media) {
    Bytes out;
    if (media.picture) {
        out.insert(out.end(), {0x00, 0x00, 0x01, 0xBA});
    } else {
        out.insert(out.end(), {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0});
        out.insert(out.end(), {0xFF, 0xFB, 0x90, 0x64});
    }
    out.insert(out.end(), MediaTag, MediaTag + 8);
    Put32(out, media.milliseconds);
    DWORD flags = media.picture ? HasPicture : 0;
    if (media.length == LengthAnswer::Zero)
        flags |= LengthZero;
    else if (media.length == LengthAnswer::Refused)
        flags |= LengthRefused;
    Put32(out, flags);
    Put32(out, media.width);
    Put32(out, media.height);
    return out;
}

Bytes MakeCompressedSound(DWORD milliseconds, LengthAnswer length) {
    CompressedMedia media;
    media.milliseconds = milliseconds;
    media.length = length;
    return MakeCompressedMedia(media);
}

Bytes MakeMovie(DWORD milliseconds, DWORD width, DWORD height) {
    CompressedMedia media;
    media.milliseconds = milliseconds;
    media.picture = true;
    media.width = width;
    media.height = height;
    return MakeCompressedMedia(media);
}

bool ReadCompressedMedia(const Bytes &file, CompressedMedia &media) {
    size_t at = 0;
    if (file.size() >= 10 && std::memcmp(file.data(), "ID3", 3) == 0) {
        // The tag's size: four bytes of seven bits each.
        size_t size = 0;
        for (int i = 6; i < 10; ++i)
            size = (size << 7) | (file[i] & 0x7F);
        at = 10 + size;
    }
    at += 4; // the frame header or the pack start code
    if (at + 8 + 16 > file.size() || std::memcmp(&file[at], MediaTag, 8) != 0)
        return false;
    DWORD flags = Get32(file, at + 12);
    media.milliseconds = Get32(file, at + 8);
    media.picture = (flags & HasPicture) != 0;
    media.length = (flags & LengthRefused) ? LengthAnswer::Refused
                   : (flags & LengthZero)  ? LengthAnswer::Zero
                                           : LengthAnswer::Known;
    media.width = Get32(file, at + 16);
    media.height = Get32(file, at + 20);
    return true;
}

Bytes RandomBytes(size_t count, uint32_t seed) {
    Bytes out(count);
    uint32_t state = seed ? seed : 1;
    for (uint8_t &byte : out) {
        state ^= state << 13; // xorshift
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return out;
}

// ---- files ----

bool WriteBytes(const std::string &path, const Bytes &bytes) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool ReadBytes(const std::string &path, Bytes &bytes) {
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    bytes.clear();
    uint8_t buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return true;
}

std::string MakeMediaDir(const char *name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir =
        std::string(temp) + "simcard-" + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}
