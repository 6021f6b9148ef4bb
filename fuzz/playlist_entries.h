// What the two playlist targets check of a reader's entries, whatever the
// format: each entry is one line's, no longer than an entry may be, the same
// bytes give the same entries, and the import's tally keeps no more than a
// collection holds and the report shows, however long the list.
#pragma once
#include "cdplaylist/playlist_reader.h"
#include "fuzz/property.h"

#include <algorithm>
#include <string>
#include <vector>

inline bool SameEntry(const ListedEntry &a, const ListedEntry &b) {
    return a.text == b.text && a.track == b.track && a.disc == b.disc && a.address == b.address &&
           a.fromFolder == b.fromFolder && a.cut == b.cut;
}

inline std::vector<ListedEntry> AllEntries(const PlaylistText &text, PlaylistFormat format) {
    PlaylistReader reader(text, format);
    std::vector<ListedEntry> entries;
    ListedEntry entry;
    while (reader.Next(entry))
        entries.push_back(entry);
    return entries;
}

inline void CheckEntry(const ListedEntry &entry, bool utf8) {
    const std::string &text = entry.text;
    PROPERTY(text.find_first_of("\r\n") == std::string::npos);
    // A character of a code page is a byte; one of UTF-8 four at most.
    PROPERTY(text.size() <= ListedTextLimit * (utf8 ? 4 : 1));
    if (entry.cut)
        PROPERTY(text.size() >= ListedTextLimit);
    if (utf8) {
        std::u16string wide;
        if (Utf8ToUtf16(text, wide))
            PROPERTY(std::count_if(wide.begin(), wide.end(), [](char16_t unit) {
                         return unit < 0xDC00 || unit >= 0xE000;
                     }) <= static_cast<long>(ListedTextLimit));
    }
    if (entry.track)
        PROPERTY(!entry.address && !entry.fromFolder);
    else
        PROPERTY(entry.disc == 0);
    if (entry.fromFolder)
        PROPERTY(text.compare(0, 2, "./") != 0 && text.compare(0, 2, ".\\") != 0);
    if (entry.address && !entry.cut)
        PROPERTY(text.find("://") != std::string::npos);
}

// Takes entries by a rule of its own, as the import takes those that name
// files there.
inline const char *SomeJudge(const ListedEntry &entry, const PlaylistTally &, std::string &text) {
    text = entry.text;
    return text.size() % 3 == 0 ? "not there" : nullptr;
}

inline void CheckTally(const PlaylistText &text, PlaylistFormat format,
                       const std::vector<ListedEntry> &entries) {
    PlaylistReader reader(text, format);
    PlaylistTally tally;
    TallyPlaylist(reader, SomeJudge, "full", tally);
    PROPERTY(tally.listed == entries.size());
    PROPERTY(tally.taken.size() <= KeptEntries && tally.refusals.size() <= ShownRefusals);
    PROPERTY(tally.taken.size() + tally.refused == tally.listed);
    PROPERTY(tally.refusals.size() == std::min<size_t>(tally.refused, ShownRefusals));
    // What is taken is the first of what the judge takes, in play order.
    size_t next = 0;
    for (const ListedEntry &entry : entries) {
        std::string kept;
        if (next < tally.taken.size() && SomeJudge(entry, tally, kept) == nullptr)
            PROPERTY(tally.taken[next++] == kept);
    }
    PROPERTY(next == tally.taken.size());
}

inline void CheckPlaylist(const uint8_t *data, size_t size, PlaylistFormat format) {
    std::string bytes(reinterpret_cast<const char *>(data), size);
    // Line ends are counted apart: a CR LF pair ends one line.
    size_t lines = 1;
    for (size_t i = 0; i < size; ++i)
        lines += data[i] == '\n' || (data[i] == '\r' && (i + 1 == size || data[i + 1] != '\n'));
    for (bool utf8ByName : {false, true}) {
        PlaylistText text = DecodePlaylistBytes(bytes, utf8ByName);
        std::vector<ListedEntry> entries = AllEntries(text, format);
        std::vector<ListedEntry> again = AllEntries(text, format);
        PROPERTY(entries.size() == again.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            PROPERTY(SameEntry(entries[i], again[i]));
            CheckEntry(entries[i], text.utf8);
        }
        // Decoding makes no line ends: a UTF-16 file has a CR or LF byte
        // in each of its own.
        PROPERTY(entries.size() <= lines);
        CheckTally(text, format, entries);
    }
}
