// Reading the playlist files of other players into collections, one reader
// per format, and writing a collection as an .m3u file.
#include "cdplaylist/playlist_exchange.h"

#include "cdplaylist/playlist_editor.h"
#include "panekit/resources/panel_ids.h"
#include "players/file_names.h"
#include "players/media_route.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char TrackComment[] = "#SONIKBAY-CD:";
const char ImportReport[] = "%d of %d entries taken from \"%s\".";
const char NotTakenHeading[] = "Not taken:";
const char MoreNotTaken[] = "... and %d more";
const char UnreadableMessage[] = "[%s]\nThis playlist cannot be read.";
const char NotWrittenMessage[] = "[%s]\nThe playlist could not be written.";
const char ExportReport[] = "%d of %d entries written to \"%s\".\nNot written: %d disc "
                            "tracks of a disc that is not known.";
const char NamesFullMessage[] = "There is no room for another collection.";
constexpr DWORD LargestPlaylistFile = 4 * 1024 * 1024;
constexpr int ListedRefusals = 12;
constexpr int ReportLineSize = EntryTextSize + 48;
// A refused line longer than an entry may be is quoted by this many
// characters only.
constexpr int QuotedCharacters = 80;

// Why an entry of a playlist file was not taken.
const char *const WebAddress = "web address";
const char *const OtherType = "not a file the station plays";
const char *const NoSuchFile = "no such file";
const char *const NotInCodePage = "name not in this system's characters";
const char *const PathTooLong = "path too long";
const char *const CollectionFull = "beyond the 99 entries of a collection";
const char *const OtherDisc = "track of another disc";

// One entry as a reader found it: a path, or a disc track with its disc.
struct ListedEntry {
    std::string text;
    bool track = false;
    DWORD disc = 0;
};

struct PlaylistText {
    std::string bytes;
    bool utf8 = false;
};

bool HasExtension(const char *path, const char *wanted) {
    char extension[16] = "";
    FileExtensionOf(path, extension, sizeof extension);
    return lstrcmpiA(extension, wanted) == 0;
}

// One character as UTF-8.
void AppendUtf8(std::string &text, unsigned long code) {
    const unsigned char leads[] = {0, 0xC0, 0xE0, 0xF0};
    int extra = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text += static_cast<char>(leads[extra] | (code >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k)
        text += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
}

// UTF-16, low byte first or high byte first, as UTF-8. Half a surrogate
// pair alone becomes U+FFFD, which no code page has.
std::string Utf16ToUtf8(const std::string &bytes, bool lowFirst) {
    size_t units = bytes.size() / 2;
    auto byte = [&](size_t k) {
        return static_cast<unsigned long>(static_cast<unsigned char>(bytes[k]));
    };
    auto unit = [&](size_t i) {
        return lowFirst ? byte(2 * i) | byte(2 * i + 1) << 8 : byte(2 * i) << 8 | byte(2 * i + 1);
    };
    auto within = [](unsigned long code, unsigned long from, unsigned long to) {
        return code >= from && code < to;
    };
    std::string text;
    for (size_t i = 0; i < units; ++i) {
        unsigned long code = unit(i);
        if (within(code, 0xD800, 0xDC00) && i + 1 < units && within(unit(i + 1), 0xDC00, 0xE000))
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(++i) - 0xDC00);
        else if (within(code, 0xD800, 0xE000))
            code = 0xFFFD;
        AppendUtf8(text, code);
    }
    return text;
}

// A text behind a byte-order mark is read in the encoding the mark tells:
// UTF-8, or UTF-16 either way round, which is read on as UTF-8.
void ReadByteOrderMark(PlaylistText &text) {
    std::string &bytes = text.bytes;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bytes.erase(0, 3);
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        bool lowFirst = bytes[0] == '\xFF';
        bytes = Utf16ToUtf8(bytes.substr(2), lowFirst);
    } else {
        return;
    }
    text.utf8 = true;
}

bool ReadWholeFile(const char *path, PlaylistText &text) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    bool read = size != INVALID_FILE_SIZE && size <= LargestPlaylistFile;
    if (read) {
        text.bytes.assign(size, '\0');
        DWORD got = 0;
        read = size == 0 || (ReadFile(file, &text.bytes[0], size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    text.utf8 = HasExtension(path, ".m3u8");
    ReadByteOrderMark(text);
    return read;
}

// The lines of a text, ended by CR, LF or both, without the blanks around.
std::vector<std::string> LinesOf(const std::string &bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        size_t first = line.find_first_not_of(" \t");
        size_t last = line.find_last_not_of(" \t");
        lines.push_back(first == std::string::npos ? "" : line.substr(first, last - first + 1));
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// "#SONIKBAY-CD:disc:0003.CD"
bool ReadTrackComment(const std::string &line, ListedEntry &entry) {
    if (line.compare(0, sizeof TrackComment - 1, TrackComment) != 0)
        return false;
    const char *disc = line.c_str() + sizeof TrackComment - 1;
    char *end = nullptr;
    entry.disc = std::strtoul(disc, &end, 10);
    entry.track = true;
    entry.text = *end == ':' ? end + 1 : "";
    return true;
}

// .m3u and .m3u8: a path per line; "#EXTM3U", "#EXTINF" and other comments
// name nothing, except the station's own disc tracks.
std::vector<ListedEntry> ReadM3u(const std::string &bytes) {
    std::vector<ListedEntry> entries;
    for (const std::string &line : LinesOf(bytes)) {
        ListedEntry entry;
        if (ReadTrackComment(line, entry)) {
            entries.push_back(entry);
        } else if (!line.empty() && line[0] != '#') {
            entry.text = line;
            entries.push_back(entry);
        }
    }
    return entries;
}

// .pls: "FileN=path" in the order of N; titles and lengths name nothing.
std::vector<ListedEntry> ReadPls(const std::string &bytes) {
    std::vector<std::pair<unsigned long, ListedEntry>> numbered;
    for (const std::string &line : LinesOf(bytes)) {
        if (line.size() < 6 || _strnicmp(line.c_str(), "File", 4) != 0)
            continue;
        char *end = nullptr;
        unsigned long number = std::strtoul(line.c_str() + 4, &end, 10);
        if (end == line.c_str() + 4 || *end != '=')
            continue;
        ListedEntry entry;
        entry.text = end + 1;
        numbered.emplace_back(number, entry);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<ListedEntry> entries;
    for (const auto &each : numbered)
        entries.push_back(each.second);
    return entries;
}

// UTF-8 to UTF-16; false for bytes that are no UTF-8. The platform's own
// conversion from UTF-8 is missing on the oldest systems.
bool Utf8ToWide(const std::string &text, std::wstring &wide) {
    wide.clear();
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
        if (extra < 0 || lead > 0xF4 || text.size() - i <= static_cast<size_t>(extra))
            return false;
        unsigned long code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned long smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (code >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// A UTF-16 text in the system's code page, and that back again.
std::string WideToCodePage(const std::wstring &wide) {
    int length = static_cast<int>(wide.size());
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size <= 0 || WideCharToMultiByte(CP_ACP, 0, wide.c_str(), length, &text[0], size, nullptr,
                                         nullptr) != size)
        return "";
    return text;
}

std::wstring CodePageToWide(const std::string &text) {
    int length = static_cast<int>(text.size());
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size <= 0 || MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, &wide[0], size) != size)
        return L"";
    return wide;
}

// A UTF-8 text in the system's code page; false when a character has no
// place there (the text then holds what the platform made of it, stand-ins
// or look-alikes, for the list). Whether it fits is told by converting back:
// the platform's own report of stand-ins is refused for some code pages,
// UTF-8 among them, and says nothing of look-alikes.
bool ToCodePage(std::string &text) {
    std::wstring wide;
    if (!Utf8ToWide(text, wide))
        return false;
    if (wide.empty())
        return true;
    std::string converted = WideToCodePage(wide);
    if (converted.empty())
        return false;
    text = converted;
    return CodePageToWide(text) == wide;
}

// The drive ("C:") or the share ("\\server\share") a folder is on, or ""
// for a folder named without either.
std::string RootOf(const std::string &folder) {
    if (folder.compare(0, 2, "\\\\") != 0)
        return folder.size() > 1 && folder[1] == ':' ? folder.substr(0, 2) : "";
    size_t server = folder.find('\\', 2);
    return folder.substr(0, server == std::string::npos ? server : folder.find('\\', server + 1));
}

// The entry's path as the station stores it: separators made backslashes,
// a relative path taken from the playlist file's folder, and one that starts
// at the root from that folder's drive or share.
std::string ResolvedPath(std::string text, const std::string &folder) {
    std::replace(text.begin(), text.end(), '/', '\\');
    bool absolute = text.size() > 1 && (text[1] == ':' || (text[0] == '\\' && text[1] == '\\'));
    if (absolute)
        return text;
    if (!text.empty() && text[0] == '\\')
        return RootOf(folder) + text;
    while (text.compare(0, 2, ".\\") == 0)
        text.erase(0, 2);
    return folder + "\\" + text;
}

// What the import takes and what it does not, with the reasons.
struct ImportResult {
    CollectionEntries entries;
    DWORD disc = 0;
    int listed = 0;
    std::vector<std::string> refused;
};

// An entry as a report quotes it: characters that show nothing as '?', and
// a line longer than any entry cut after its first characters.
std::string Quoted(std::string entry) {
    for (char &c : entry)
        c = static_cast<unsigned char>(c) < ' ' ? '?' : c;
    if (entry.size() < static_cast<size_t>(EntryTextSize))
        return entry;
    size_t cut = 0;
    for (int shown = 0; shown < QuotedCharacters; ++shown)
        cut += IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(entry[cut])) ? 2 : 1;
    return entry.substr(0, cut) + "...";
}

void Refuse(ImportResult &result, const std::string &entry, const char *reason) {
    result.refused.push_back(Quoted(entry) + " (" + reason + ")");
}

// Why a listed entry cannot be taken, or null when it can; path is what the
// collection keeps.
const char *ReasonAgainst(const ListedEntry &entry, bool utf8, const std::string &folder,
                          const ImportResult &result, std::string &path) {
    path = entry.text;
    if (entry.track) {
        if (!IsTrackEntry(path.c_str()) || entry.disc == 0)
            return OtherType;
        return result.disc != 0 && entry.disc != result.disc ? OtherDisc : nullptr;
    }
    if (path.find("://") != std::string::npos)
        return WebAddress;
    bool fits = !utf8 || ToCodePage(path);
    path = ResolvedPath(path, folder);
    if (!fits)
        return NotInCodePage;
    if (path.size() >= EntryTextSize)
        return PathTooLong;
    if (RouteByName(path.c_str()) == MediaRoute::None)
        return OtherType;
    return IsPlainFile(path.c_str()) ? nullptr : NoSuchFile;
}

void TakeEntries(const std::vector<ListedEntry> &listed, bool utf8, const std::string &folder,
                 ImportResult &result) {
    result.listed = static_cast<int>(listed.size());
    for (const ListedEntry &entry : listed) {
        std::string path;
        const char *reason = ReasonAgainst(entry, utf8, folder, result, path);
        if (reason == nullptr && result.entries.count >= MaxPlaylistEntries)
            reason = CollectionFull;
        if (reason != nullptr) {
            Refuse(result, path, reason);
            continue;
        }
        if (entry.track)
            result.disc = entry.disc;
        std::snprintf(result.entries.text[result.entries.count++], EntryTextSize, "%s",
                      path.c_str());
    }
}

// The collection's name: the file's name less its extension, at most as long
// as a name that survives a restart, brackets (which end a section's name in
// the settings file) made round.
void CollectionNameOf(const char *path, char *name, size_t size) {
    char base[CollectionNameLimit + 1];
    FileBaseNameOf(FileTitleOf(path), base, sizeof base);
    if (base[0] == '\0')
        std::snprintf(base, sizeof base, "%s", Text(IDS_UNTITLED));
    base[CollectionNameLimit] = '\0';
    for (char *c = base; *c != '\0'; ++c)
        *c = *c == '[' ? '(' : *c == ']' ? ')' : *c;
    std::snprintf(name, size, "%s", base);
}

void ShowNamedFileError(HWND owner, const char *format, const char *path) {
    std::string text(std::strlen(format) + std::strlen(path) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, path);
    MessageBoxA(owner, text.c_str(), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

void ShowImportReport(HWND owner, const char *path, const ImportResult &result) {
    if (result.refused.empty() && result.entries.count > 0)
        return;
    char line[ReportLineSize];
    std::snprintf(line, sizeof line, ImportReport, result.entries.count, result.listed,
                  FileTitleOf(path));
    std::string text = line;
    if (!result.refused.empty())
        text += std::string("\n") + NotTakenHeading;
    int shown = std::min(static_cast<int>(result.refused.size()), ListedRefusals);
    for (int i = 0; i < shown; ++i)
        text += "\n" + result.refused[static_cast<size_t>(i)];
    if (shown < static_cast<int>(result.refused.size())) {
        std::snprintf(line, sizeof line, MoreNotTaken,
                      static_cast<int>(result.refused.size()) - shown);
        text += "\n" + std::string(line);
    }
    MessageBoxA(owner, text.c_str(), Text(IDS_CAPTION), MB_OK | MB_ICONINFORMATION);
}

// The collection into the settings file, whole or not at all.
bool WriteImported(HWND owner, const char *name, const ImportResult &result) {
    char section[PlayListNameSize + 8];
    std::snprintf(section, sizeof section, "List%s", name);
    int mark = SettingsWriteMark();
    WriteCollectionEntries(section, result.entries);
    char disc[16];
    std::snprintf(disc, sizeof disc, "%lu", static_cast<unsigned long>(result.disc));
    WriteSettingText(section, "CD_ID", result.disc != 0 ? disc : nullptr);
    bool listed = ListCollectionName(name);
    if (listed && !ReportSettingsWritesSince(mark, owner))
        return true;
    WriteSettingText(section, nullptr, nullptr);
    if (!listed)
        MessageBoxA(owner, NamesFullMessage, Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
    return false;
}

// Disc tracks whose disc is not known are not written: another reader
// could not tell them from the tracks of any other disc.
void ShowExportReport(HWND owner, const char *path, int count, int unknownDisc) {
    char text[ReportLineSize * 2];
    std::snprintf(text, sizeof text, ExportReport, count - unknownDisc, count, FileTitleOf(path),
                  unknownDisc);
    MessageBoxA(owner, text, Text(IDS_CAPTION), MB_OK | MB_ICONINFORMATION);
}

} // namespace

bool IsPlaylistFile(const char *path) {
    return HasExtension(path, ".m3u") || HasExtension(path, ".m3u8") || HasExtension(path, ".pls");
}

bool ImportPlaylistFile(HWND owner, const char *path, char *name, size_t nameSize) {
    PlaylistText text;
    if (!ReadWholeFile(path, text)) {
        ShowNamedFileError(owner, UnreadableMessage, path);
        return false;
    }
    std::string folder(path, static_cast<size_t>(FileTitleOf(path) - path));
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    static ImportResult result;
    result = ImportResult{};
    TakeEntries(HasExtension(path, ".pls") ? ReadPls(text.bytes) : ReadM3u(text.bytes), text.utf8,
                folder, result);
    CollectionNameOf(path, name, nameSize);
    if (result.entries.count == 0) {
        ShowImportReport(owner, path, result);
        return false;
    }
    if (CollectionListed(name) && !AskToReplaceCollection(owner, name))
        return false;
    if (!WriteImported(owner, name, result))
        return false;
    ShowImportReport(owner, path, result);
    return true;
}

bool OpenPlaylistFile(HWND owner, const char *path) {
    char name[PlayListNameSize];
    if (!ImportPlaylistFile(owner, path, name, sizeof name))
        return false;
    std::snprintf(PlayListName, sizeof PlayListName, "%s", name);
    std::snprintf(PlayListEntry, sizeof PlayListEntry, "List%s", name);
    WriteSettingText("PlayList", "NowSelected", name);
    CurrentEntryIndex = 0;
    ShowCurrentCollection();
    if (PlaylistPanel != nullptr && ReadSettingInt("Mixer", "AUTOPLAY", 0) == 1)
        SendMessageA(PlaylistPanel, WM_COMMAND, IDC_PLAY, 0);
    return true;
}

bool ExportPlaylistFile(HWND owner, const char *path, const CollectionEntries &entries,
                        DWORD disc) {
    std::string text = "#EXTM3U\r\n";
    int unknownDisc = 0;
    for (int row = 0; row < entries.count; ++row) {
        const char *entry = entries.text[row];
        if (IsTrackEntry(entry) && disc == 0) {
            ++unknownDisc;
            continue;
        }
        if (IsTrackEntry(entry)) {
            char line[64];
            std::snprintf(line, sizeof line, "%s%lu:", TrackComment,
                          static_cast<unsigned long>(disc));
            text += line;
        }
        text += entry;
        text += "\r\n";
    }
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool whole = file != INVALID_HANDLE_VALUE &&
                 WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                 written == text.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!whole)
        ShowNamedFileError(owner, NotWrittenMessage, path);
    else if (unknownDisc > 0)
        ShowExportReport(owner, path, entries.count, unknownDisc);
    return whole;
}
