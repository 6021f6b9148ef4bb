// The playlist files of other players read from their bytes: decoding,
// lines, the entries of each format and the import's tally.
#include "cdplaylist/playlist_reader.h"

#include "cdplaylist/stored_entries.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t TrackCommentSize = sizeof TrackComment - 1;

// One character as UTF-8.
void AppendUtf8(std::string &text, uint32_t code) {
    const unsigned char leads[] = {0, 0xC0, 0xE0, 0xF0};
    int extra = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text += static_cast<char>(leads[extra] | (code >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k)
        text += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
}

// UTF-16, low byte first or high byte first, as UTF-8.
std::string Utf16ToUtf8(const std::string &bytes, size_t from, bool lowFirst) {
    size_t units = (bytes.size() - from) / 2;
    auto byte = [&](size_t k) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[from + k]));
    };
    auto unit = [&](size_t i) {
        return lowFirst ? byte(2 * i) | byte(2 * i + 1) << 8 : byte(2 * i) << 8 | byte(2 * i + 1);
    };
    auto within = [](uint32_t code, uint32_t first, uint32_t past) {
        return code >= first && code < past;
    };
    std::string text;
    for (size_t i = 0; i < units; ++i) {
        uint32_t code = unit(i);
        if (within(code, 0xD800, 0xDC00) && i + 1 < units && within(unit(i + 1), 0xDC00, 0xE000))
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(++i) - 0xDC00);
        else if (within(code, 0xD800, 0xE000))
            code = 0xFFFD;
        AppendUtf8(text, code);
    }
    return text;
}

bool StartsWith(const std::string &text, size_t at, size_t end, const char *wanted, size_t size) {
    return end - at >= size && text.compare(at, size, wanted, size) == 0;
}

// "File", in any case.
bool IsFileKey(const char *key) {
    const char lower[] = "file";
    for (int i = 0; i < 4; ++i)
        if (key[i] != lower[i] && key[i] != lower[i] - ('a' - 'A'))
            return false;
    return true;
}

// The end of a text that ends at a NUL, if it holds one, before end.
size_t UpToNul(const std::string &text, size_t begin, size_t end) {
    const char *first = text.data() + begin;
    return begin + static_cast<size_t>(std::find(first, text.data() + end, '\0') - first);
}

bool Holds(const std::string &text, size_t begin, size_t end, const char *wanted) {
    const char *last = text.data() + end;
    return std::search(text.data() + begin, last, wanted, wanted + std::strlen(wanted)) != last;
}

// Sets entry.text to the text from begin, cut after ListedTextLimit
// characters: a byte of a code page, or a UTF-8 lead byte with up to three
// bytes that continue it, each count as one.
void TakeText(const std::string &text, size_t begin, size_t end, bool utf8, ListedEntry &entry) {
    size_t characters = 0, continuing = 0, at = begin;
    for (; at < end; ++at) {
        unsigned char byte = static_cast<unsigned char>(text[at]);
        if (utf8 && continuing > 0 && (byte & 0xC0) == 0x80) {
            --continuing;
            continue;
        }
        if (characters == ListedTextLimit)
            break;
        ++characters;
        continuing = !utf8 ? 0 : byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    }
    entry.cut = at < end;
    entry.text.assign(text, begin, at - begin);
}

// A path as the file lists it. One that begins with "./" (or ".\", as many
// times over) is from the playlist's folder, whatever follows, and loses
// that beginning here, so that only the path itself counts toward its
// length.
void TakePath(const PlaylistText &playlist, size_t begin, size_t end, ListedEntry &entry) {
    const std::string &text = playlist.text;
    entry.address = Holds(text, begin, end, "://");
    while (!entry.address && end - begin >= 2 && text[begin] == '.' &&
           (text[begin + 1] == '/' || text[begin + 1] == '\\')) {
        begin += 2;
        entry.fromFolder = true;
    }
    TakeText(text, begin, end, playlist.utf8, entry);
}

} // namespace

PlaylistText DecodePlaylistBytes(std::string bytes, bool utf8ByName) {
    PlaylistText decoded;
    decoded.utf8 = true;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        decoded.text.assign(bytes, 3, std::string::npos);
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        decoded.text = Utf16ToUtf8(bytes, 2, bytes[0] == '\xFF');
    } else {
        decoded.text = std::move(bytes);
        decoded.utf8 = utf8ByName;
    }
    return decoded;
}

bool Utf8ToUtf16(const std::string &text, std::u16string &wide) {
    wide.clear();
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
        if (extra < 0 || lead > 0xF4 || text.size() - i <= static_cast<size_t>(extra))
            return false;
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            wide += static_cast<char16_t>(0xD800 + (code >> 10));
            wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            wide += static_cast<char16_t>(code);
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

PlaylistReader::PlaylistReader(const PlaylistText &text, PlaylistFormat format)
    : text_(text), format_(format) {
    if (format_ == PlaylistFormat::Pls)
        IndexPls();
}

bool PlaylistReader::NextLine(Line &line) {
    if (ended_)
        return false;
    const std::string &text = text_.text;
    size_t end = text.find_first_of("\r\n", at_);
    if (end == std::string::npos) {
        end = text.size();
        ended_ = true;
    }
    line.begin = at_;
    line.end = end;
    while (line.begin < line.end && (text[line.begin] == ' ' || text[line.begin] == '\t'))
        ++line.begin;
    while (line.end > line.begin && (text[line.end - 1] == ' ' || text[line.end - 1] == '\t'))
        --line.end;
    at_ = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    return true;
}

// .m3u and .m3u8: a path per line; "#EXTM3U", "#EXTINF" and other comments
// name nothing, except the station's own disc tracks.
bool PlaylistReader::NextM3u(ListedEntry &entry) {
    const std::string &text = text_.text;
    Line line;
    while (NextLine(line)) {
        if (StartsWith(text, line.begin, line.end, TrackComment, TrackCommentSize)) {
            const char *number = text.data() + line.begin + TrackCommentSize;
            const char *stop = nullptr;
            entry.track = true;
            entry.disc = ReadDecimal(number, text.data() + line.end, &stop);
            size_t after = static_cast<size_t>(stop - text.data()) + 1;
            if (after <= line.end && text[after - 1] == ':')
                TakeText(text, after, UpToNul(text, after, line.end), text_.utf8, entry);
            return true;
        }
        if (line.begin < line.end && text[line.begin] != '#') {
            TakePath(text_, line.begin, line.end, entry);
            return true;
        }
    }
    return false;
}

// .pls: "FileN=path"; titles, lengths and the rest name nothing. The lines
// are put in the order of N before the first entry is read.
void PlaylistReader::IndexPls() {
    const std::string &text = text_.text;
    Line line;
    while (NextLine(line)) {
        const char *key = text.data() + line.begin;
        if (line.end - line.begin < 6 || !IsFileKey(key))
            continue;
        const char *stop = nullptr;
        uint32_t number = ReadDecimal(key + 4, text.data() + line.end, &stop);
        size_t equals = static_cast<size_t>(stop - text.data());
        if (stop == key + 4 || equals >= line.end || text[equals] != '=')
            continue;
        numbered_.push_back({number, {equals + 1, UpToNul(text, equals + 1, line.end)}});
    }
    std::stable_sort(numbered_.begin(), numbered_.end(),
                     [](const Numbered &a, const Numbered &b) { return a.number < b.number; });
}

bool PlaylistReader::Next(ListedEntry &entry) {
    entry = ListedEntry{};
    if (format_ == PlaylistFormat::M3u)
        return NextM3u(entry);
    if (nextNumbered_ >= numbered_.size())
        return false;
    const Line &path = numbered_[nextNumbered_++].text;
    TakePath(text_, path.begin, path.end, entry);
    return true;
}

void TallyPlaylist(PlaylistReader &reader, const EntryJudge &judge, const char *fullReason,
                   PlaylistTally &tally) {
    tally = PlaylistTally{};
    ListedEntry entry;
    while (reader.Next(entry)) {
        ++tally.listed;
        bool full = tally.taken.size() >= KeptEntries;
        if (full && tally.refusals.size() >= ShownRefusals) {
            ++tally.refused; // refused in any case, and past what the report shows
            continue;
        }
        std::string text;
        const char *reason = judge(entry, tally, text);
        if (reason == nullptr && full)
            reason = fullReason;
        if (reason != nullptr) {
            ++tally.refused;
            if (tally.refusals.size() < ShownRefusals)
                tally.refusals.push_back({text, entry.cut, reason});
            continue;
        }
        if (entry.track)
            tally.disc = entry.disc;
        tally.taken.push_back(text);
    }
}
