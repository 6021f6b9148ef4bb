// Reading the playlist files of other players: the text decoded from its
// bytes, the lines of the text and the entries of an .m3u, .m3u8 or .pls
// file, in play order, and what an import keeps of them. Over bytes alone,
// with no platform header, for the station's import (playlist_exchange) and
// for the fuzzer of fuzz/. The file access, the conversion to the system's
// code page and whether an entry names a file stay with the import.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A playlist's text: UTF-8 when the file said so by its byte-order mark or
// its .m3u8 name, else in the system's code page, which the reader leaves to
// the caller.
struct PlaylistText {
    std::string text;
    bool utf8 = false;
};

// A text behind a byte-order mark is read in the encoding the mark tells:
// UTF-8, or UTF-16 either way round, which is made UTF-8 (half a surrogate
// pair alone becomes U+FFFD, which no code page has).
PlaylistText DecodePlaylistBytes(std::string bytes, bool utf8ByName);

// UTF-8 to UTF-16; false for bytes that are no UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included). The platform's own
// conversion from UTF-8 is missing on the oldest systems.
bool Utf8ToUtf16(const std::string &text, std::u16string &wide);

// The most characters an entry's text may hold: what a collection's entry
// keeps without its terminator, since no character takes less than a byte
// of the code page.
constexpr size_t ListedTextLimit = 254;

// One entry as the file lists it.
struct ListedEntry {
    std::string text;        // the path, or the disc track "0003.CD"
    bool track = false;      // one of this station's disc tracks, of disc
    uint32_t disc = 0;       //
    bool address = false;    // a place on the web ("://"), not a file
    bool fromFolder = false; // began with "./", which is taken off
    bool cut = false;        // longer than ListedTextLimit: text is its beginning
};

// The comment line that carries one of this station's disc tracks, which
// other players skip: "#SONIKBAY-CD:disc:0003.CD".
constexpr char TrackComment[] = "#SONIKBAY-CD:";

enum class PlaylistFormat {
    M3u, // .m3u and .m3u8: a path per line; comments name nothing
    Pls, // .pls: "FileN=path" in the order of N
};

// The entries of a playlist's text one at a time, in play order. Lines end
// at CR, LF or both and lose the blanks around them. The text must outlive
// the reader.
class PlaylistReader {
  public:
    PlaylistReader(const PlaylistText &text, PlaylistFormat format);
    // The next entry; false after the last.
    bool Next(ListedEntry &entry);

  private:
    struct Line {
        size_t begin, end;
    };
    struct Numbered {
        uint32_t number;
        Line text;
    };
    bool NextLine(Line &line);
    bool NextM3u(ListedEntry &entry);
    void IndexPls();

    const PlaylistText &text_;
    PlaylistFormat format_;
    size_t at_ = 0;
    bool ended_ = false;
    std::vector<Numbered> numbered_;
    size_t nextNumbered_ = 0;
};

// What an import keeps of a playlist: the entries taken, up to what a
// collection holds, and the first refusals for the report; the rest is only
// counted.
constexpr size_t KeptEntries = 99;
constexpr size_t ShownRefusals = 12;

struct Refusal {
    std::string text;   // the entry as the import resolved it
    bool cut = false;   // the file's line was longer still
    const char *reason; // why it was not taken
};

struct PlaylistTally {
    std::vector<std::string> taken; // in play order, at most KeptEntries
    std::vector<Refusal> refusals;  // the first ShownRefusals refused
    uint32_t listed = 0;            // the entries the file lists
    uint32_t refused = 0;           // of which were not taken
    uint32_t disc = 0;              // the disc of the tracks taken, or 0
};

// Why an entry cannot be taken, or null when it can, with the text the
// collection keeps or the report quotes.
using EntryJudge =
    std::function<const char *(const ListedEntry &, const PlaylistTally &, std::string &text)>;

// Hands the reader's entries to judge in play order and keeps what it takes;
// an entry judge takes once the collection is full is refused as full. Once
// nothing more can be taken or shown, the rest is only counted.
void TallyPlaylist(PlaylistReader &reader, const EntryJudge &judge, const char *fullReason,
                   PlaylistTally &tally);
