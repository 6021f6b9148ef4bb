// Reading the playlist files of other players into collections, one reader
// per format, and writing a collection as an .m3u file.
#include "cdplaylist/playlist_exchange.h"

#include "cdplaylist/playlist_editor.h"
#include "cdplaylist/playlist_reader.h"
#include "panekit/resources/panel_ids.h"
#include "players/file_names.h"
#include "players/media_route.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char ImportReport[] = "%d of %d entries taken from \"%s\".";
const char NotTakenHeading[] = "Not taken:";
const char MoreNotTaken[] = "... and %d more";
const char UnreadableMessage[] = "[%s]\nThis playlist cannot be read.";
const char NotWrittenMessage[] = "[%s]\nThe playlist could not be written.";
const char ExportReport[] = "%d of %d entries written to \"%s\".\nNot written: %d disc "
                            "tracks of a disc that is not known.";
const char NamesFullMessage[] = "There is no room for another collection.";
constexpr DWORD LargestPlaylistFile = 4 * 1024 * 1024;
constexpr int ReportLineSize = EntryTextSize + 48;
// A refused line longer than an entry may be is quoted by this many
// characters only.
constexpr int QuotedCharacters = 80;

static_assert(KeptEntries == MaxPlaylistEntries && ListedTextLimit == EntryTextSize - 1,
              "the reader keeps what a collection holds");

// Why an entry of a playlist file was not taken.
const char *const WebAddress = "web address";
const char *const OtherType = "not a file the station plays";
const char *const NoSuchFile = "no such file";
const char *const NotInCodePage = "name not in this system's characters";
const char *const PathTooLong = "path too long";
const char *const CollectionFull = "beyond the 99 entries of a collection";
const char *const OtherDisc = "track of another disc";

bool HasExtension(const char *path, const char *wanted) {
    char extension[16] = "";
    FileExtensionOf(path, extension, sizeof extension);
    return lstrcmpiA(extension, wanted) == 0;
}

bool ReadWholeFile(const char *path, PlaylistText &text) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    bool read = size != INVALID_FILE_SIZE && size <= LargestPlaylistFile;
    std::string bytes;
    if (read) {
        bytes.assign(size, '\0');
        DWORD got = 0;
        read = size == 0 || (ReadFile(file, &bytes[0], size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    text = DecodePlaylistBytes(std::move(bytes), HasExtension(path, ".m3u8"));
    return read;
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
    std::u16string utf16;
    if (!Utf8ToUtf16(text, utf16))
        return false;
    std::wstring wide(utf16.begin(), utf16.end());
    if (wide.empty())
        return true;
    std::string converted = WideToCodePage(wide);
    if (converted.empty())
        return false;
    text = converted;
    return CodePageToWide(text) == wide;
}

// The entry's path as the station stores it: separators made backslashes,
// a relative path taken from the playlist file's folder, and one that starts
// at the root from that folder's drive or share. One the file listed from
// its folder ("./", which the reader takes off) is relative whatever follows.
std::string ResolvedPath(std::string text, const std::string &folder, bool fromFolder) {
    std::replace(text.begin(), text.end(), '/', '\\');
    bool absolute = text.size() > 1 && (text[1] == ':' || (text[0] == '\\' && text[1] == '\\'));
    if (absolute && !fromFolder)
        return text;
    if (!text.empty() && text[0] == '\\' && !fromFolder)
        return RootOf(folder) + text;
    return folder + "\\" + text;
}

// An entry as a report quotes it: characters that show nothing as '?', and
// a line longer than any entry cut after its first characters.
std::string Quoted(const Refusal &refusal) {
    std::string entry = refusal.text;
    for (char &c : entry)
        c = static_cast<unsigned char>(c) < ' ' ? '?' : c;
    if (!refusal.cut && entry.size() < static_cast<size_t>(EntryTextSize))
        return entry;
    size_t cut = 0;
    for (int shown = 0; shown < QuotedCharacters && cut < entry.size(); ++shown)
        cut += IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(entry[cut])) ? 2 : 1;
    return entry.substr(0, cut) + "...";
}

// Why a listed entry cannot be taken, or null when it can; path is what the
// collection keeps.
const char *ReasonAgainst(const ListedEntry &entry, bool utf8, const std::string &folder,
                          const PlaylistTally &tally, std::string &path) {
    path = entry.text;
    if (entry.track) {
        if (!IsTrackEntry(path.c_str()) || entry.disc == 0)
            return OtherType;
        return tally.disc != 0 && entry.disc != tally.disc ? OtherDisc : nullptr;
    }
    if (entry.address)
        return WebAddress;
    bool fits = !utf8 || ToCodePage(path);
    path = ResolvedPath(path, folder, entry.fromFolder);
    if (!fits)
        return NotInCodePage;
    if (entry.cut || path.size() >= EntryTextSize)
        return PathTooLong;
    if (RouteByName(path.c_str()) == MediaRoute::None)
        return OtherType;
    return IsPlainFile(path.c_str()) ? nullptr : NoSuchFile;
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

void ShowImportReport(HWND owner, const char *path, const PlaylistTally &tally) {
    if (tally.refused == 0 && !tally.taken.empty())
        return;
    char line[ReportLineSize];
    std::snprintf(line, sizeof line, ImportReport, static_cast<int>(tally.taken.size()),
                  static_cast<int>(tally.listed), FileTitleOf(path));
    std::string text = line;
    if (tally.refused > 0)
        text += std::string("\n") + NotTakenHeading;
    for (const Refusal &refusal : tally.refusals)
        text += "\n" + Quoted(refusal) + " (" + refusal.reason + ")";
    if (tally.refused > tally.refusals.size()) {
        std::snprintf(line, sizeof line, MoreNotTaken,
                      static_cast<int>(tally.refused - tally.refusals.size()));
        text += "\n" + std::string(line);
    }
    MessageBoxA(owner, text.c_str(), Text(IDS_CAPTION), MB_OK | MB_ICONINFORMATION);
}

// The collection into the settings file, whole or not at all.
bool WriteImported(HWND owner, const char *name, const PlaylistTally &tally) {
    static CollectionEntries entries;
    entries.count = 0;
    for (const std::string &taken : tally.taken)
        std::snprintf(entries.text[entries.count++], EntryTextSize, "%s", taken.c_str());
    char section[PlayListNameSize + 8];
    std::snprintf(section, sizeof section, "List%s", name);
    int mark = SettingsWriteMark();
    WriteCollectionEntries(section, entries);
    char disc[16];
    std::snprintf(disc, sizeof disc, "%lu", static_cast<unsigned long>(tally.disc));
    WriteSettingText(section, "CD_ID", tally.disc != 0 ? disc : nullptr);
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
    PlaylistReader reader(text,
                          HasExtension(path, ".pls") ? PlaylistFormat::Pls : PlaylistFormat::M3u);
    PlaylistTally tally;
    TallyPlaylist(
        reader,
        [&](const ListedEntry &entry, const PlaylistTally &sofar, std::string &kept) {
            return ReasonAgainst(entry, text.utf8, folder, sofar, kept);
        },
        CollectionFull, tally);
    CollectionNameOf(path, name, nameSize);
    if (tally.taken.empty()) {
        ShowImportReport(owner, path, tally);
        return false;
    }
    if (CollectionListed(name) && !AskToReplaceCollection(owner, name))
        return false;
    if (!WriteImported(owner, name, tally))
        return false;
    ShowImportReport(owner, path, tally);
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
    if (PlaylistPanel != nullptr && Display.autoPlay == 1)
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
