#include "shell/open_files.h"

#include "cdplaylist/playlist_editor.h"
#include "cdplaylist/playlist_exchange.h"
#include "cdplaylist/playlist_store.h"
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The longest name a drop of one file takes; a longer one is refused in the
// platform's own words, never cut down to some other file's name.
constexpr size_t LongestDroppedName = 529;
constexpr int ListedRefusals = 12;
constexpr int ReportLineSize = 160;

const char TakenReport[] = "%d of %d files taken into \"%s\".";
const char NotTakenHeading[] = "Not taken:";
const char MoreNotTaken[] = "... and %d more";
const char NamesFullMessage[] = "There is no room for another collection.";

// Why a file was not taken into the collection.
const char *const OtherType = "not a file the station plays";
const char *const NoSuchFile = "no such file";
const char *const PathTooLong = "path too long";
const char *const CollectionFull = "beyond the 99 entries of a collection";

struct DroppedCollection {
    CollectionEntries entries;
    std::vector<std::string> refused;
    int given = 0;
};

void ShowNameTooLong() {
    char text[256];
    NameTooLongText(text, sizeof text);
    MessageBoxA(MainWindow, text, Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

// A file that is not there, named on a command line or handed over, is
// named in the platform's own words before any player is bothered with it.
void ShowNoSuchFile(const std::string &path) {
    char reason[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, reason, sizeof reason, nullptr);
    std::string text = std::string("[") + FileTitleOf(path.c_str()) + "]\n" + reason;
    MessageBoxA(MainWindow, text.c_str(), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

// A file of a type the station plays or reads that is not there. A file of
// no type the station plays is refused as such, by its players' own rule.
bool IsMissingMediaFile(const std::string &path) {
    bool known = IsPlaylistFile(path.c_str()) || RouteByName(path.c_str()) != MediaRoute::None;
    return known && path.size() < MAX_PATH &&
           GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void OpenOneFile(const std::string &path) {
    if (path.size() > LongestDroppedName)
        ShowNameTooLong();
    else if (IsMissingMediaFile(path))
        ShowNoSuchFile(path);
    else
        DispatchMediaFile(path.c_str());
}

const char *ReasonAgainst(const std::string &path) {
    if (path.size() >= static_cast<size_t>(EntryTextSize))
        return PathTooLong;
    if (RouteByName(path.c_str()) == MediaRoute::None)
        return OtherType;
    return IsPlainFile(path.c_str()) ? nullptr : NoSuchFile;
}

// A path as a report quotes it: characters that show nothing as '?', and a
// long one cut after its first characters.
std::string Quoted(const std::string &path) {
    std::string text = path.substr(0, 80);
    for (char &c : text)
        c = static_cast<unsigned char>(c) < ' ' ? '?' : c;
    return path.size() > text.size() ? text + "..." : text;
}

void TakeFiles(const std::vector<std::string> &paths, DroppedCollection &collection) {
    collection.given = static_cast<int>(paths.size());
    for (const std::string &path : paths) {
        const char *reason = ReasonAgainst(path);
        if (reason == nullptr && collection.entries.count >= MaxPlaylistEntries)
            reason = CollectionFull;
        if (reason != nullptr) {
            collection.refused.push_back(Quoted(path) + " (" + reason + ")");
            continue;
        }
        std::snprintf(collection.entries.text[collection.entries.count++], EntryTextSize, "%s",
                      path.c_str());
    }
}

// The name of the first file's folder ("C:\My Music\a.mid": "My Music"), at
// most as long as a name that survives a restart, brackets (which end a
// section's name in the settings file) made round; "Dropped files" for a
// file at the root of its drive or share.
std::string CollectionNameOf(const std::string &first) {
    size_t slash = first.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "" : first.substr(0, slash);
    size_t start = folder.find_last_of("\\/:");
    std::string name = start == std::string::npos ? folder : folder.substr(start + 1);
    if (name.empty())
        return DroppedFilesName;
    name = name.substr(0, CollectionNameLimit);
    std::replace(name.begin(), name.end(), '[', '(');
    std::replace(name.begin(), name.end(), ']', ')');
    return name;
}

void ShowTakenReport(const std::string &name, const DroppedCollection &collection) {
    if (collection.refused.empty())
        return;
    char line[ReportLineSize];
    std::snprintf(line, sizeof line, TakenReport, collection.entries.count, collection.given,
                  name.c_str());
    std::string text = std::string(line) + "\n" + NotTakenHeading;
    int shown = std::min(static_cast<int>(collection.refused.size()), ListedRefusals);
    for (int i = 0; i < shown; ++i)
        text += "\n" + collection.refused[static_cast<size_t>(i)];
    if (shown < static_cast<int>(collection.refused.size())) {
        std::snprintf(line, sizeof line, MoreNotTaken,
                      static_cast<int>(collection.refused.size()) - shown);
        text += "\n" + std::string(line);
    }
    MessageBoxA(MainWindow, text.c_str(), Text(IDS_CAPTION), MB_OK | MB_ICONINFORMATION);
}

// The collection into the settings file, whole or not at all.
bool WriteCollection(const std::string &name, const DroppedCollection &collection) {
    std::string section = "List" + name;
    int mark = SettingsWriteMark();
    WriteCollectionEntries(section.c_str(), collection.entries);
    WriteSettingText(section.c_str(), "CD_ID", nullptr);
    bool listed = ListCollectionName(name.c_str());
    if (listed && !ReportSettingsWritesSince(mark, MainWindow))
        return true;
    WriteSettingText(section.c_str(), nullptr, nullptr);
    if (!listed)
        MessageBoxA(MainWindow, NamesFullMessage, Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
    return false;
}

void PlayCollection(const std::string &name) {
    std::snprintf(PlayListName, sizeof PlayListName, "%s", name.c_str());
    std::snprintf(PlayListEntry, sizeof PlayListEntry, "List%s", name.c_str());
    WriteSettingText("PlayList", "NowSelected", name.c_str());
    CurrentEntryIndex = 0;
    ShowCurrentCollection();
    if (PlaylistPanel != nullptr)
        SendMessageA(PlaylistPanel, WM_COMMAND, IDC_PLAY, 0);
}

void OpenAsCollection(const std::vector<std::string> &paths) {
    static DroppedCollection collection;
    collection = DroppedCollection{};
    TakeFiles(paths, collection);
    std::string name = CollectionNameOf(paths.front());
    if (collection.entries.count == 0) {
        ShowTakenReport(name, collection);
        return;
    }
    if (CollectionListed(name.c_str()) && !AskToReplaceCollection(MainWindow, name.c_str()))
        return;
    if (!WriteCollection(name, collection))
        return;
    ShowTakenReport(name, collection);
    PlayCollection(name);
}

} // namespace

void OpenFiles(const std::vector<std::string> &paths) {
    if (paths.size() == 1)
        OpenOneFile(paths.front());
    else if (paths.size() > 1)
        OpenAsCollection(paths);
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The words of a command line as the platform's start-up code splits them:
// blanks outside quotes end a word; 2n backslashes before a quote are n
// backslashes and the quote opens or closes, 2n+1 are n and a quote;
// backslashes before anything else are themselves.
std::vector<std::string> WordsOf(const char *line) {
    std::vector<std::string> words;
    const char *p = line;
    while (true) {
        while (IsBlank(*p))
            ++p;
        if (*p == '\0')
            return words;
        std::string word;
        bool quoted = false;
        while (*p != '\0' && (quoted || !IsBlank(*p))) {
            size_t backslashes = 0;
            while (p[backslashes] == '\\')
                ++backslashes;
            if (backslashes == 0 && *p != '"') {
                word += *p++;
                continue;
            }
            if (p[backslashes] != '"') {
                word.append(backslashes, '\\');
                p += backslashes;
                continue;
            }
            word.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1)
                word += '"';
            else
                quoted = !quoted;
            p += backslashes + 1;
        }
        words.push_back(word);
    }
}

// What the AudioCD command of the platform's shell puts after "/play": the
// track request with its '%' and what follows it, a drive ("D:" or "D:\")
// or a disc track file.
bool BelongsToPlayRequest(const std::string &word) {
    char extension[16] = "";
    FileExtensionOf(word.c_str(), extension, sizeof extension);
    bool drive = (word.size() == 2 || (word.size() == 3 && word[2] == '\\')) && word[1] == ':';
    return drive || lstrcmpiA(extension, ".cda") == 0;
}

// A path taken from the current folder, as the second start that read it
// had it: the running station's current folder may be another.
std::string FullPathOf(const std::string &path) {
    bool absolute = path.size() > 1 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
    if (absolute)
        return path;
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return path;
    std::string base = folder;
    if (!path.empty() && path[0] == '\\')
        return base.substr(0, 2) + path;
    if (base.back() != '\\')
        base += '\\';
    return base + (path.compare(0, 2, ".\\") == 0 ? path.substr(2) : path);
}

} // namespace

std::vector<std::string> FilesOfCommandLine(const char *commandLine) {
    std::vector<std::string> files;
    if (commandLine == nullptr)
        return files;
    std::vector<std::string> words = WordsOf(commandLine);
    bool playRequest = !words.empty() && words.front() == "/play";
    for (const std::string &word : words) {
        if (playRequest && word.find('%') != std::string::npos)
            break; // the track number and whatever follows it
        if (word.empty() || word[0] == '/' || (playRequest && BelongsToPlayRequest(word)))
            continue;
        files.push_back(FullPathOf(word));
    }
    return files;
}

bool HandFilesTo(HWND running, const std::vector<std::string> &paths) {
    std::string list;
    size_t count = 0;
    for (const std::string &path : paths) {
        if (path.empty() || path.size() > LongestHandedPath || count == MostHandedFiles ||
            list.size() + path.size() + 2 > MostHandedBytes)
            continue;
        list += path;
        list += '\0';
        ++count;
    }
    if (count == 0)
        return false;
    list += '\0';
    COPYDATASTRUCT data{};
    data.dwData = HandedFilesTag;
    data.cbData = static_cast<DWORD>(list.size());
    data.lpData = &list[0];
    return SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) == TRUE;
}

bool ReadHandedFiles(const COPYDATASTRUCT &data, std::vector<std::string> &paths) {
    paths.clear();
    const char *bytes = static_cast<const char *>(data.lpData);
    DWORD size = data.cbData;
    if (data.dwData != HandedFilesTag || bytes == nullptr || size < 3 || size > MostHandedBytes ||
        bytes[size - 1] != '\0' || bytes[size - 2] != '\0')
        return false;
    // Every path ends before the last NUL, which was checked above: the
    // search for a path's end stops there at the latest.
    DWORD at = 0;
    while (at < size - 1) {
        size_t length = std::strlen(bytes + at);
        if (length == 0 || length > LongestHandedPath || paths.size() == MostHandedFiles) {
            paths.clear();
            return false;
        }
        paths.emplace_back(bytes + at, length);
        at += static_cast<DWORD>(length) + 1;
    }
    return !paths.empty();
}
