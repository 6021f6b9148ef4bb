// The playlist editor: the classic open-file dialog with panekit32's
// template "NEWTEMP" and a hook that adds the chosen files, or tracks of the
// loaded disc, to the playlist beside the file controls. The hook consumes
// every file-name confirmation; the dialog never hands a file back. OK saves
// the collection into the settings file and closes the dialog.
#include "cdplaylist/playlist_editor.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/cd_titles.h"
#include "cdplaylist/playlist_exchange.h"
#include "cdplaylist/playlist_store.h"
#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <windows.h>
#include <commdlg.h>
#include <cderr.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char EditorFilePath[EditorFileBufferSize];
char EditorFileTitle[EditorFileTitleSize];

namespace {

// ---- Controls of NEWTEMP ----
constexpr int IDC_COLLECTION_GROUP = 7009;
constexpr int IDC_COLLECTIONS = 1151;
constexpr int IDC_DELETE_COLLECTION = 1068;
constexpr int IDC_DISC_GROUP = 7010;
constexpr int IDC_DISC_TITLE = 1131;
constexpr int IDC_COMMAND_GROUP = 7011;
constexpr int IDC_ADD = 2000;
constexpr int IDC_ADD_ALL = 1064;
constexpr int IDC_INSERT = 1066;
constexpr int IDC_DELETE_ROWS = 1062;
constexpr int IDC_CLEAR = 1065;
constexpr int IDC_FILE_GROUP = 7012;
constexpr int IDC_NAME_LABEL = 1090;
constexpr int IDC_FILE_NAME = 1152;
constexpr int IDC_FILES = 1120;
constexpr int IDC_DIRECTORY_LABEL = 7015;
constexpr int IDC_DIRECTORY = 1088;
constexpr int IDC_DIRECTORIES = 1121;
constexpr int IDC_FILE_TYPES = 1136;
constexpr int IDC_DRIVES_LABEL = 1091;
constexpr int IDC_DRIVES = 1137;
constexpr int IDC_MODE_GROUP = 7007;
constexpr int IDC_SINGLE = 1072;
constexpr int IDC_REPEAT = 1073;
constexpr int IDC_PLAYLIST_GROUP = 7013;
constexpr int IDC_ENTRY_LIST = 1061;
constexpr int IDC_ENTRY_TEXTS = 1069;
constexpr int IDC_SAVE = 1060;
constexpr int IDC_EXPORT = 1067;

// ---- Texts of the string table ----
constexpr int IDS_EDITOR_CAPTION = 532;
constexpr int IDS_FILE_NAME = 563;

const char ClearQuestion[] = "Clear PlayList OK?";
const char NameLengthMessage[] = "A collection name needs 1 to 59 characters.";
const char SelectionTooLongMessage[] =
    "The chosen files do not fit in one selection.\nChoose fewer files at a time.";
const char PathTooLongMessage[] = "A path is too long for the playlist:\n%s";
const char PlaylistFullMessage[] = "A playlist holds at most 99 entries.";
const char DeleteQuestion[] = "Delete the collection \"%s\"?";
const char NoSuchCollectionMessage[] = "There is no collection \"%s\".";
const char NamesFullMessage[] = "There is no room for another collection.";
const char EntryTooLongMessage[] = "An entry is too long for the playlist:\n%.*s%s";
constexpr int QuotedEntryChars = 300;

// The file types of the dialog: every file the platform plays first, then
// the design's. The settings file keeps the design's numbers for those (1 to
// 4, then 5 for playlists) and 6 for every media file, so that a file of an
// earlier version still chooses the same type.
const char AllMediaType[] = "All media files";
const char DesignFilters[] = "MIDI File \0*.mid;*.rmi\0WAVE File \0*.wav\0CD Track\0*.*\0"
                             "All File\0*.*\0Playlists\0*.m3u;*.m3u8;*.pls\0";
const char *const DesignPatterns[] = {"*.mid;*.rmi", "*.wav", "*.*", "*.*", "*.m3u;*.m3u8;*.pls"};
constexpr int CdTrackFilter = 3;
constexpr int AllMediaFilter = 6;
constexpr int FilterCount = 6;
constexpr int MediaPatternsSize = 1024;
const char ExportFilters[] = "PlayList File (*.m3u)\0*.m3u\0";

constexpr int NameSize = 128;       // collection names as the box gives them
constexpr int NameTakenChars = 125; // characters taken from the collection box
constexpr int SectionSize = NameSize + 8;
constexpr int RowTextSize = 256;
constexpr int MaxSelectedRows = 100;
constexpr int ExaminedFileChars = 512;
constexpr int RowsAboveAddition = 7;
constexpr int ScrollFromRow = 8;
// Posted to the dialog when the file type changed: the platform dialog
// rescans its file list first, and the type's mode is applied after that.
constexpr UINT ApplyFileTypeMessage = WM_APP + 11;

// ---- Editor state ----
char EditorSection[SectionSize];
char EditorCollectionName[NameSize];
char OpenedName[NameSize];
DWORD EditorDiscId;
DWORD EditorOldDiscId;
int DiscDiffers;
int CdTrackMode;
int InsertMode;
int EditorPlayMode;
bool EditorSaved;
int EditorFilterIndex = 1;

struct LabelText {
    int id;
    int text;
};

const LabelText Labels[] = {
    {IDC_COLLECTION_GROUP, 533},
    {IDC_DELETE_COLLECTION, 534},
    {IDC_DISC_GROUP, 542},
    {IDC_COMMAND_GROUP, 535},
    {IDC_ADD, 536},
    {IDC_ADD_ALL, 537},
    {IDC_INSERT, 538},
    {IDC_DELETE_ROWS, 539},
    {IDC_CLEAR, 540},
    {IDC_FILE_GROUP, 541},
    {IDC_NAME_LABEL, 563},
    {IDC_DIRECTORY_LABEL, 548},
    {IDC_MODE_GROUP, 543},
    {IDC_SINGLE, 544},
    {IDC_REPEAT, 545},
    {IDC_PLAYLIST_GROUP, 546},
    {IDC_SAVE, 547},
};

const int FileBrowsingControls[] = {IDC_DIRECTORIES, IDC_DRIVES, IDC_DIRECTORY, IDC_DRIVES_LABEL};

void ShowError(HWND dialog, const char *text) {
    MessageBoxA(dialog, text, Text(IDS_ERROR_CAPTION), MB_ICONERROR);
}

// A text with one collection name in it: an error, or a question that
// answers whether the user said OK (Cancel is the default).
void ShowNamedError(HWND dialog, const char *format, const char *name) {
    char text[NameSize + 64];
    std::snprintf(text, sizeof text, format, name);
    ShowError(dialog, text);
}

bool AskAboutCollection(HWND dialog, const char *format, const char *name) {
    char text[NameSize + 64];
    std::snprintf(text, sizeof text, format, name);
    return MessageBoxA(dialog, text, Text(IDS_CAPTION),
                       MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK;
}

LRESULT ToList(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

int RowCount(HWND dialog, int id) {
    return static_cast<int>(ToList(dialog, id, LB_GETCOUNT));
}

// A list row's text; false (and the empty text) when it does not fit.
bool RowText(HWND dialog, int id, int row, char *text, size_t size) {
    text[0] = '\0';
    LRESULT length = ToList(dialog, id, LB_GETTEXTLEN, row);
    if (length == LB_ERR || static_cast<size_t>(length) >= size)
        return false;
    return ToList(dialog, id, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text)) != LB_ERR;
}

bool ComboText(HWND dialog, int row, char *text, size_t size) {
    text[0] = '\0';
    LRESULT length = ToList(dialog, IDC_COLLECTIONS, CB_GETLBTEXTLEN, row);
    if (length == CB_ERR || static_cast<size_t>(length) >= size)
        return false;
    return ToList(dialog, IDC_COLLECTIONS, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text)) !=
           CB_ERR;
}

// The row of the box that holds exactly this name (in any case), or CB_ERR.
LRESULT CollectionRow(HWND dialog, const char *name) {
    return ToList(dialog, IDC_COLLECTIONS, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                  reinterpret_cast<LPARAM>(name));
}

int SelectedRows(HWND dialog, int id, int *rows) {
    LRESULT count =
        ToList(dialog, id, LB_GETSELITEMS, MaxSelectedRows, reinterpret_cast<LPARAM>(rows));
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

void InsertRow(HWND dialog, int at, const char *name, const char *entry) {
    ToList(dialog, IDC_ENTRY_LIST, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(name));
    ToList(dialog, IDC_ENTRY_TEXTS, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(entry));
}

void ScrollBothTo(HWND dialog, int top) {
    ToList(dialog, IDC_ENTRY_LIST, LB_SETTOPINDEX, std::max(top, 0));
    ToList(dialog, IDC_ENTRY_TEXTS, LB_SETTOPINDEX, std::max(top, 0));
}

void DecimalText(DWORD value, char *text, size_t size) {
    std::snprintf(text, size, "%lu", static_cast<unsigned long>(value));
}

// The title of a disc in the editor's disc line, a blank for none.
void ShowDiscTitle(HWND dialog, DWORD disc) {
    char section[16];
    DecimalText(disc, section, sizeof section);
    char title[CdNameSize];
    ReadSettingText(section, "Title", " ", title, sizeof title);
    SetDlgItemTextA(dialog, IDC_DISC_TITLE, title);
}

// Shows the title of the disc the shown collection is bound to and answers
// its CD_ID.
DWORD ShowCollectionDisc(HWND dialog) {
    DWORD bound = BoundDisc(EditorSection);
    ShowDiscTitle(dialog, bound);
    return bound;
}

// The rows and the disc of the collection named EditorCollectionName, as
// the settings file holds them.
void ShowCollection(HWND dialog) {
    std::snprintf(EditorSection, sizeof EditorSection, "List%s", EditorCollectionName);
    FillPlaylist(dialog, EditorSection, EditorListMode);
    EditorDiscId = ShowCollectionDisc(dialog);
}

// Tracks of a disc go in once per disc: a collection keeps the disc of its
// first tracks unless it had none or belonged to another disc.
void BindToLoadedDisc() {
    if (EditorDiscId == 0 || DiscDiffers == 1) {
        EditorDiscId = DiscId;
        DiscDiffers = 0;
    }
}

// A playlist holds at most 99 entries: an addition that would go past them
// is refused whole, with the reason shown.
bool RoomFor(HWND dialog, int adding) {
    if (RowCount(dialog, IDC_ENTRY_TEXTS) + adding <= MaxPlaylistEntries)
        return true;
    ShowError(dialog, PlaylistFullMessage);
    return false;
}

// ---- CD track mode ----

void EnableFileBrowsing(HWND dialog, bool enable) {
    for (int id : FileBrowsingControls)
        EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

void EnterCdTrackMode(HWND dialog) {
    ToList(dialog, IDC_FILES, LB_RESETCONTENT);
    if (DiscId == 0)
        return;
    DWORD tracks = std::min<DWORD>(TrackCount, MaxPlaylistEntries);
    for (DWORD track = 1; track <= tracks; ++track) {
        char name[CdNameSize];
        ReadTrackName(DiscId, static_cast<int>(track), name, sizeof name);
        ToList(dialog, IDC_FILES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    ToList(dialog, IDC_FILES, LB_SETSEL, TRUE, 0);
    CdTrackMode = 1;
    EnableFileBrowsing(dialog, false);
    SetDlgItemTextA(dialog, IDC_NAME_LABEL, Text(IDS_TRACK_NAME));
}

void LeaveCdTrackMode(HWND dialog) {
    EnableFileBrowsing(dialog, true);
    SetDlgItemTextA(dialog, IDC_NAME_LABEL, Text(IDS_FILE_NAME));
    CdTrackMode = 0;
}

// ---- Opening ----

void SetLabels(HWND dialog) {
    SetWindowTextA(dialog, Text(IDS_EDITOR_CAPTION));
    for (const LabelText &label : Labels)
        SetDlgItemTextA(dialog, label.id, Text(label.text));
}

// A collection bound to a disc: the one bound to the loaded disc is shown.
void PreselectBoundCollection(HWND dialog) {
    DWORD bound = BoundDisc(EditorSection);
    if (bound == 0)
        return;
    EditorDiscId = DiscId;
    EditorOldDiscId = bound;
    if (DiscId != 0) {
        char loaded[16];
        DecimalText(DiscId, loaded, sizeof loaded);
        ReadSettingText(loaded, "PlayListName", Text(IDS_UNTITLED), EditorCollectionName,
                        sizeof EditorCollectionName);
    }
    ShowDiscTitle(dialog, bound);
    if (DiscId != 0 && !IsLoadedDisc(bound))
        DiscDiffers = 1;
}

void FillCollectionNames(HWND dialog) {
    int number = ListedCollectionCount();
    ToList(dialog, IDC_COLLECTIONS, CB_LIMITTEXT, NameTakenChars);
    for (int index = 1; index <= number; ++index) {
        char key[16];
        std::snprintf(key, sizeof key, "%d", index);
        char name[NameSize];
        ReadSettingText("PlayListTitle", key, Text(IDS_UNTITLED), name, sizeof name);
        ToList(dialog, IDC_COLLECTIONS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    LRESULT shown = CollectionRow(dialog, EditorCollectionName);
    if (shown != CB_ERR)
        ToList(dialog, IDC_COLLECTIONS, CB_SETCURSEL, shown);
    else
        SetDlgItemTextA(dialog, IDC_COLLECTIONS, EditorCollectionName);
    std::snprintf(OpenedName, sizeof OpenedName, "%s", EditorCollectionName);
}

BOOL OnInitDialog(HWND dialog) {
    SetLabels(dialog);
    EditorPlayMode = ReadSettingInt("Mixer", "PLAYMODE", 0) == 1 ? 1 : 0;
    CheckRadioButton(dialog, IDC_SINGLE, IDC_REPEAT, EditorPlayMode == 1 ? IDC_REPEAT : IDC_SINGLE);
    CdTrackMode = 0;
    InsertMode = 0;
    EditorSaved = false;
    DiscDiffers = 0;
    ReadSettingText("PlayList", "NowSelected", Text(IDS_UNTITLED), EditorCollectionName,
                    sizeof EditorCollectionName);
    if (EditorSection[0] != '\0')
        PreselectBoundCollection(dialog);
    std::snprintf(EditorSection, sizeof EditorSection, "List%s", EditorCollectionName);
    FillPlaylist(dialog, EditorSection, EditorListMode);
    FillCollectionNames(dialog);
    if (EditorFilterIndex == CdTrackFilter)
        EnterCdTrackMode(dialog);
    return TRUE;
}

// ---- Adding ----

void RequestAddition(HWND dialog, int insert) {
    InsertMode = insert;
    if (ToList(dialog, IDC_FILES, LB_GETSELCOUNT) <= 0)
        return;
    if (CdTrackMode)
        PostMessageA(dialog, FileNameOkMessage, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

int InsertSelectedTracks(HWND dialog, int at) {
    int rows[MaxSelectedRows];
    int count = SelectedRows(dialog, IDC_FILES, rows);
    if (!RoomFor(dialog, count))
        return -1;
    for (int i = 0; i < count; ++i) {
        char name[CdNameSize];
        RowText(dialog, IDC_FILES, rows[i], name, sizeof name);
        char entry[16];
        std::snprintf(entry, sizeof entry, "%04d.CD", rows[i] + 1);
        InsertRow(dialog, at++, name, entry);
    }
    BindToLoadedDisc();
    return at;
}

// The files of one confirmation: a directory and the names in it.
struct ChosenFiles {
    char directory[ExaminedFileChars] = "";
    char names[ExaminedFileChars] = "";     // the names, each ended by '\0'
    char listed[EditorFileBufferSize] = ""; // names taken from the file list
    int count = 0;
    const char *first = nullptr;
};

bool IsDirectory(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "directory name name ..." when the text before the first blank is a
// directory and the names after it are bare names, else one full path (which
// may have blanks in its directories).
void SplitFileBuffer(const char *buffer, ChosenFiles &files) {
    std::snprintf(files.names, sizeof files.names, "%s", buffer);
    char *blank = std::strchr(files.names, ' ');
    if (blank != nullptr && !IsPlainFile(buffer) && std::strchr(blank + 1, '\\') == nullptr) {
        *blank = '\0';
        if (IsDirectory(files.names)) {
            std::snprintf(files.directory, sizeof files.directory, "%s", files.names);
            char *out = files.names;
            for (char *token = std::strtok(blank + 1, " "); token != nullptr;
                 token = std::strtok(nullptr, " ")) {
                std::memmove(out, token, std::strlen(token) + 1);
                out += std::strlen(out) + 1;
                ++files.count;
            }
            files.first = files.names;
            return;
        }
        *blank = ' ';
    }
    char *slash = std::strrchr(files.names, '\\');
    if (slash == nullptr)
        return;
    *slash = '\0';
    std::snprintf(files.directory, sizeof files.directory, "%s", files.names);
    std::memmove(files.names, slash + 1, std::strlen(slash + 1) + 1);
    files.count = files.names[0] != '\0' ? 1 : 0;
    files.first = files.names;
}

// Some platforms hand over only the file at the caret of a multiple
// selection; the selected rows of the file list, in list order, are then the
// files chosen. Answers false when they do not fit.
bool TakeSelectedRows(HWND dialog, ChosenFiles &files) {
    int rows[MaxSelectedRows];
    int count = SelectedRows(dialog, IDC_FILES, rows);
    if (files.count != 1 || count < 2)
        return true;
    bool caretSelected = false;
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        char name[RowTextSize];
        if (!RowText(dialog, IDC_FILES, rows[i], name, sizeof name))
            return false;
        size_t length = std::strlen(name) + 1;
        if (used + length >= sizeof files.listed)
            return false;
        std::memcpy(files.listed + used, name, length);
        used += length;
        caretSelected = caretSelected || lstrcmpiA(name, files.names) == 0;
    }
    if (!caretSelected)
        return true;
    files.first = files.listed;
    files.count = count;
    return true;
}

bool BuildPath(const ChosenFiles &files, const char *name, char *path, size_t size) {
    size_t directoryLength = std::strlen(files.directory);
    bool separated = directoryLength > 0 && files.directory[directoryLength - 1] == '\\';
    int written = std::snprintf(path, size, "%s%s%s", files.directory, separated ? "" : "\\", name);
    return written >= 0 && static_cast<size_t>(written) < size;
}

// Answers false, with the reason shown, when the paths would not fit an entry.
bool PathsFit(HWND dialog, const ChosenFiles &files) {
    const char *name = files.first;
    for (int i = 0; i < files.count; ++i, name += std::strlen(name) + 1) {
        char path[EditorFileBufferSize];
        if (!BuildPath(files, name, path, EntryTextSize)) {
            char message[EditorFileBufferSize + 64];
            std::snprintf(message, sizeof message, PathTooLongMessage, files.directory);
            ShowError(dialog, message);
            return false;
        }
    }
    return true;
}

// A playlist file chosen becomes a collection of its own, current and
// listed in the box; the rows being edited stay as they are, unless the
// import replaced the collection on show: its rows are then shown, so that
// OK never writes the old rows back over the import.
void ImportChosenPlaylist(HWND dialog, const char *path) {
    if (!OpenPlaylistFile(dialog, path))
        return;
    if (CollectionRow(dialog, PlayListName) == CB_ERR)
        ToList(dialog, IDC_COLLECTIONS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PlayListName));
    if (lstrcmpiA(PlayListName, EditorCollectionName) == 0)
        ShowCollection(dialog);
}

// Answers the row after the inserted files, or -1 when nothing was added.
int InsertChosenFiles(HWND dialog, int at) {
    if (std::memchr(EditorFilePath, '\0', ExaminedFileChars) == nullptr) {
        ShowError(dialog, SelectionTooLongMessage);
        return -1;
    }
    ChosenFiles files;
    SplitFileBuffer(EditorFilePath, files);
    if (!TakeSelectedRows(dialog, files)) {
        ShowError(dialog, SelectionTooLongMessage);
        return -1;
    }
    int playlists = 0;
    const char *name = files.first;
    for (int i = 0; i < files.count; ++i, name += std::strlen(name) + 1)
        playlists += IsPlaylistFile(name) ? 1 : 0;
    if (files.count == 0 || !PathsFit(dialog, files) || !RoomFor(dialog, files.count - playlists))
        return -1;
    int first = at;
    name = files.first;
    for (int i = 0; i < files.count; ++i, name += std::strlen(name) + 1) {
        char path[EntryTextSize];
        BuildPath(files, name, path, sizeof path);
        if (IsPlaylistFile(name))
            ImportChosenPlaylist(dialog, path);
        else
            InsertRow(dialog, at++, name, path);
    }
    return at > first ? at : -1;
}

void ScrollAfterAddition(HWND dialog, int first, int end) {
    if (!InsertMode && end >= ScrollFromRow) {
        ScrollBothTo(dialog, first - RowsAboveAddition);
        return;
    }
    LRESULT caret = ToList(dialog, IDC_ENTRY_LIST, LB_GETCARETINDEX);
    ToList(dialog, IDC_ENTRY_LIST, LB_SETSEL, TRUE, caret);
    if (InsertMode && caret >= ScrollFromRow)
        ScrollBothTo(dialog, static_cast<int>(caret) - RowsAboveAddition);
}

INT_PTR OnFileNameOk(HWND dialog) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
    DWORD error = CommDlgExtendedError();
    if (error != 0) {
        if (error == FNERR_BUFFERTOOSMALL)
            ShowError(dialog, SelectionTooLongMessage);
        InsertMode = 0;
        return 1;
    }
    int at = RowCount(dialog, IDC_ENTRY_LIST);
    if (InsertMode) {
        if (at == 0) {
            InsertMode = 0;
            return 1;
        }
        at = static_cast<int>(ToList(dialog, IDC_ENTRY_LIST, LB_GETCARETINDEX));
        ToList(dialog, IDC_ENTRY_LIST, LB_SETSEL, FALSE, at);
    }
    int first = at;
    int end = CdTrackMode ? InsertSelectedTracks(dialog, at) : InsertChosenFiles(dialog, at);
    if (end >= 0)
        ScrollAfterAddition(dialog, first, end);
    InsertMode = 0;
    return 1;
}

// Every media file the list shows, in the folder on show (the classic
// dialog browses by changing the current directory). A playlist file is
// imported only when chosen by itself, never every playlist of a folder.
void AddAllFiles(HWND dialog, int count) {
    ChosenFiles files;
    if (GetCurrentDirectoryA(sizeof files.directory, files.directory) == 0 ||
        std::strlen(files.directory) >= sizeof files.directory - 1)
        return;
    static char names[MaxPlaylistEntries][RowTextSize];
    static char paths[MaxPlaylistEntries][EntryTextSize];
    int taken = 0;
    for (int row = 0; row < count; ++row) {
        char name[RowTextSize];
        char path[EntryTextSize];
        if (!RowText(dialog, IDC_FILES, row, name, sizeof name) ||
            !BuildPath(files, name, path, sizeof path)) {
            char message[EditorFileBufferSize + 64];
            std::snprintf(message, sizeof message, PathTooLongMessage, files.directory);
            ShowError(dialog, message);
            return;
        }
        if (IsPlaylistFile(name))
            continue;
        if (!RoomFor(dialog, taken + 1))
            return;
        std::memcpy(names[taken], name, sizeof name);
        std::memcpy(paths[taken++], path, sizeof path);
    }
    int at = RowCount(dialog, IDC_ENTRY_LIST);
    for (int i = 0; i < taken; ++i)
        InsertRow(dialog, at++, names[i], paths[i]);
}

void AddAll(HWND dialog) {
    int count = RowCount(dialog, IDC_FILES);
    if (count <= 0)
        return;
    if (!CdTrackMode) {
        AddAllFiles(dialog, count);
        return;
    }
    if (!RoomFor(dialog, count))
        return;
    int at = RowCount(dialog, IDC_ENTRY_LIST);
    for (int row = 0; row < count; ++row) {
        char name[CdNameSize];
        RowText(dialog, IDC_FILES, row, name, sizeof name);
        char entry[16];
        std::snprintf(entry, sizeof entry, "%04d.CD", row + 1);
        InsertRow(dialog, at++, name, entry);
    }
    BindToLoadedDisc();
}

// ---- Changing the playlist ----

void DeleteRows(HWND dialog) {
    int rows[MaxSelectedRows];
    int count = SelectedRows(dialog, IDC_ENTRY_LIST, rows);
    for (int i = count - 1; i >= 0; --i) {
        ToList(dialog, IDC_ENTRY_LIST, LB_DELETESTRING, rows[i]);
        ToList(dialog, IDC_ENTRY_TEXTS, LB_DELETESTRING, rows[i]);
    }
    if (count > 0)
        ToList(dialog, IDC_ENTRY_LIST, LB_SETSEL, TRUE, rows[0]);
}

void ClearPlaylist(HWND dialog) {
    if (RowCount(dialog, IDC_ENTRY_LIST) == 0)
        return;
    if (MessageBoxA(dialog, ClearQuestion, Text(IDS_CAPTION), MB_OKCANCEL | MB_ICONQUESTION) !=
        IDOK)
        return;
    ToList(dialog, IDC_ENTRY_LIST, LB_RESETCONTENT);
    ToList(dialog, IDC_ENTRY_TEXTS, LB_RESETCONTENT);
}

// ---- Collections ----

void SelectCollection(HWND dialog) {
    LRESULT index = ToList(dialog, IDC_COLLECTIONS, CB_GETCURSEL);
    if (index == CB_ERR || !ComboText(dialog, static_cast<int>(index), EditorCollectionName,
                                      sizeof EditorCollectionName))
        return;
    ShowCollection(dialog);
}

// Only the collection of exactly the typed name goes, after asking; the
// name removed and the section deleted are the same collection's.
void DeleteCollection(HWND dialog) {
    char typed[NameSize] = "";
    GetDlgItemTextA(dialog, IDC_COLLECTIONS, typed, sizeof typed);
    if (typed[0] == '\0' || ToList(dialog, IDC_COLLECTIONS, CB_GETCOUNT) <= 1)
        return;
    LRESULT found = CollectionRow(dialog, typed);
    char name[NameSize];
    if (found == CB_ERR || !ComboText(dialog, static_cast<int>(found), name, sizeof name)) {
        ShowNamedError(dialog, NoSuchCollectionMessage, typed);
        return;
    }
    if (!AskAboutCollection(dialog, DeleteQuestion, name))
        return;
    ToList(dialog, IDC_COLLECTIONS, CB_DELETESTRING, found);
    char section[SectionSize];
    std::snprintf(section, sizeof section, "List%s", name);
    WriteSettingText(section, nullptr, nullptr);
    // The box always names the collection whose rows are shown, so that OK
    // never saves one collection's rows under another's name: the shown one
    // deleted, the first one is loaded; another deleted, the shown one stays.
    LRESULT shown = CollectionRow(dialog, EditorCollectionName);
    if (lstrcmpiA(section, EditorSection) != 0 && shown != CB_ERR) {
        ToList(dialog, IDC_COLLECTIONS, CB_SETCURSEL, static_cast<WPARAM>(shown));
        return;
    }
    ToList(dialog, IDC_COLLECTIONS, CB_SETCURSEL, 0);
    SelectCollection(dialog);
}

// ---- Saving ----

// An entry read from a settings file written by hand may be longer than
// an entry can be; it is named (its start, when it is very long) and refused.
void ShowEntryTooLong(HWND dialog, const char *entry) {
    char message[EditorFileBufferSize + 64];
    std::snprintf(message, sizeof message, EntryTooLongMessage, QuotedEntryChars, entry,
                  std::strlen(entry) > static_cast<size_t>(QuotedEntryChars) ? "..." : "");
    ShowError(dialog, message);
}

// The entry texts of the rows on show, or null, with the reason shown, when
// a row is longer than an entry may be.
const CollectionEntries *ShownEntries(HWND dialog) {
    static CollectionEntries rows;
    rows.count = std::min(RowCount(dialog, IDC_ENTRY_TEXTS), MaxPlaylistEntries);
    for (int row = 0; row < rows.count; ++row) {
        char text[EditorFileBufferSize];
        if (!RowText(dialog, IDC_ENTRY_TEXTS, row, text, sizeof text) ||
            std::strlen(text) >= sizeof rows.text[row]) {
            ShowEntryTooLong(dialog, text);
            return nullptr;
        }
        std::memcpy(rows.text[row], text, std::strlen(text) + 1);
    }
    return &rows;
}

// Writes the entries; answers whether one is a disc track.
bool WriteEntries(const char *section, const CollectionEntries &entries) {
    bool hasTrack = WriteCollectionEntries(section, entries);
    if (hasTrack)
        EditorDiscId = DiscId;
    return hasTrack;
}

void WriteDiscBinding(const char *name, const char *section, bool hasTrack) {
    if (EditorDiscId == 0) {
        WriteSettingText(section, "CD_ID", nullptr);
        return;
    }
    char disc[16];
    if (std::strcmp(name, OpenedName) == 0) {
        DecimalText(EditorOldDiscId, disc, sizeof disc);
        WriteSettingText(disc, "PlayListName", nullptr);
    }
    if (!hasTrack) {
        WriteSettingText(section, "CD_ID", nullptr);
        return;
    }
    DecimalText(EditorDiscId, disc, sizeof disc);
    WriteSettingText(section, "CD_ID", disc);
    WriteSettingText(disc, "PlayListName", name);
}

void WriteCollectionNames(HWND dialog) {
    int count = static_cast<int>(ToList(dialog, IDC_COLLECTIONS, CB_GETCOUNT));
    if (count <= 0)
        return;
    count = std::min(count, MaxCollectionNames);
    WriteSettingText("PlayListTitle", nullptr, nullptr);
    WriteSettingInt("PlayListTitle", "Number", count);
    for (int row = 0; row < count; ++row) {
        char key[16];
        std::snprintf(key, sizeof key, "%d", row + 1);
        char name[NameSize];
        ComboText(dialog, row, name, sizeof name);
        WriteSettingText("PlayListTitle", key, name);
    }
}

void Save(HWND dialog) {
    char name[NameSize] = "";
    GetDlgItemTextA(dialog, IDC_COLLECTIONS, name, NameTakenChars + 1);
    size_t length = std::strlen(name);
    if (length == 0 || length > CollectionNameLimit) {
        ShowError(dialog, NameLengthMessage);
        SetFocus(GetDlgItem(dialog, IDC_COLLECTIONS));
        return;
    }
    // The rows shown go over another collection only when the user says so.
    bool listed = CollectionRow(dialog, name) != CB_ERR;
    if (listed && lstrcmpiA(name, EditorCollectionName) != 0 &&
        !AskToReplaceCollection(dialog, name)) {
        SetFocus(GetDlgItem(dialog, IDC_COLLECTIONS));
        return;
    }
    // A name the list of names has no room for would be saved and never
    // listed; it is refused before anything is written.
    if (!listed && ToList(dialog, IDC_COLLECTIONS, CB_GETCOUNT) >= MaxCollectionNames) {
        ShowError(dialog, NamesFullMessage);
        SetFocus(GetDlgItem(dialog, IDC_COLLECTIONS));
        return;
    }
    const CollectionEntries *entries = ShownEntries(dialog);
    if (entries == nullptr)
        return;
    char section[SectionSize];
    std::snprintf(section, sizeof section, "List%s", name);
    std::snprintf(PlayListName, sizeof PlayListName, "%s", name);
    std::snprintf(PlayListEntry, sizeof PlayListEntry, "%s", section);
    if (!listed)
        ToList(dialog, IDC_COLLECTIONS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    int mark = SettingsWriteMark();
    bool hasTrack = WriteEntries(section, *entries);
    CurrentEntryIndex = 0;
    WriteDiscBinding(name, section, hasTrack);
    WriteCollectionNames(dialog);
    WriteSettingText("PlayList", "NowSelected", name);
    WriteSettingInt("Mixer", "PLAYMODE", EditorPlayMode);
    PlayMode = EditorPlayMode;
    // What was changed in memory is the launcher's to show either way; the
    // dialog stays open over a failed write, so that nothing built is lost.
    EditorSaved = true;
    if (!ReportSettingsWritesSince(mark, dialog))
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// The disc the tracks on show belong to: the one the collection is bound
// to, else the one its tracks were added from here; 0 when not known.
DWORD ShownTracksDisc() {
    DWORD bound = BoundDisc(EditorSection);
    return bound != 0 ? bound : EditorDiscId;
}

// The rows on show as an .m3u file, named in the Save dialog; disc tracks
// go with the disc they belong to.
void Export(HWND dialog) {
    const CollectionEntries *entries = ShownEntries(dialog);
    if (entries == nullptr)
        return;
    char path[EditorFileBufferSize];
    std::snprintf(path, sizeof path, "%s.m3u", EditorCollectionName);
    OPENFILENAMEA request{};
    request.hwndOwner = dialog;
    request.lpstrFilter = ExportFilters;
    request.nFilterIndex = 1;
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrDefExt = "m3u";
    request.Flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!RunFileDialog(request, ChooseToSave))
        return;
    ExportPlaylistFile(dialog, path, *entries, ShownTracksDisc());
}

// ---- File types ----

const char *MediaPatterns() {
    static char patterns[MediaPatternsSize];
    if (!AllMediaPatterns(patterns, sizeof patterns))
        std::snprintf(patterns, sizeof patterns, "*.mid;*.rmi;*.wav");
    return patterns;
}

const char *PatternOf(int filter) {
    return filter == AllMediaFilter ? MediaPatterns() : DesignPatterns[filter - 1];
}

// The dialog's 1-based type index of a kept filter number, and back.
int DialogIndexOf(int filter) {
    return filter == AllMediaFilter ? 1 : filter + 1;
}

int FilterOfDialogIndex(int index) {
    return index == 1 ? AllMediaFilter : index - 1;
}

const char *EditorFilters() {
    static char filters[sizeof AllMediaType + MediaPatternsSize + sizeof DesignFilters];
    const char *patterns = MediaPatterns();
    size_t used = 0;
    for (const char *part : {static_cast<const char *>(AllMediaType), patterns}) {
        std::memcpy(filters + used, part, std::strlen(part) + 1);
        used += std::strlen(part) + 1;
    }
    std::memcpy(filters + used, DesignFilters, sizeof DesignFilters);
    return filters;
}

// ---- Dispatch ----

INT_PTR OnCommand(HWND dialog, int id, int notification) {
    switch (id) {
    case IDC_ADD: RequestAddition(dialog, 0); return TRUE;
    case IDC_INSERT: RequestAddition(dialog, 1); return TRUE;
    case IDC_ADD_ALL: AddAll(dialog); return TRUE;
    case IDC_DELETE_ROWS: DeleteRows(dialog); return TRUE;
    case IDC_CLEAR: ClearPlaylist(dialog); return TRUE;
    case IDC_DELETE_COLLECTION: DeleteCollection(dialog); return TRUE;
    case IDC_SINGLE: EditorPlayMode = 0; return FALSE;
    case IDC_REPEAT: EditorPlayMode = 1; return FALSE;
    case IDC_SAVE: Save(dialog); return TRUE;
    case IDC_EXPORT: Export(dialog); return TRUE;
    case IDC_COLLECTIONS:
        if (notification == CBN_SELCHANGE)
            SelectCollection(dialog);
        return FALSE;
    case IDC_FILE_TYPES:
        if (notification == CBN_SELCHANGE)
            PostMessageA(dialog, ApplyFileTypeMessage, 0, 0);
        return FALSE;
    case IDC_FILES:
        if (notification != LBN_DBLCLK)
            return FALSE;
        PostMessageA(dialog, WM_COMMAND, IDC_ADD, 0);
        return TRUE;
    default: return FALSE;
    }
}

// Leaving CD track mode lists the files of the new type again, through the
// platform dialog's own scan of a pattern.
void ApplyFileType(HWND dialog) {
    LRESULT index = ToList(dialog, IDC_FILE_TYPES, CB_GETCURSEL);
    if (index == CB_ERR || index >= FilterCount)
        return;
    EditorFilterIndex = FilterOfDialogIndex(static_cast<int>(index) + 1);
    if (EditorFilterIndex == CdTrackFilter) {
        EnterCdTrackMode(dialog);
    } else if (CdTrackMode) {
        LeaveCdTrackMode(dialog);
        SetDlgItemTextA(dialog, IDC_FILE_NAME, PatternOf(EditorFilterIndex));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
}

void OnDestroy(HWND dialog) {
    LRESULT filter = ToList(dialog, IDC_FILE_TYPES, CB_GETCURSEL);
    if (filter != CB_ERR && filter < FilterCount)
        EditorFilterIndex = FilterOfDialogIndex(static_cast<int>(filter) + 1);
}

UINT_PTR CALLBACK EditorHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != 0 && message == FileNameOkMessage)
        return OnFileNameOk(dialog);
    if (message != 0 && message == ListSelChangedMessage && LOWORD(wParam) == IDC_FILE_TYPES)
        PostMessageA(dialog, ApplyFileTypeMessage, 0, 0);
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case ApplyFileTypeMessage: ApplyFileType(dialog); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}

} // namespace

bool RunPlaylistEditor() {
    EditorFilterIndex = ReadSettingInt("PlayList", "Ext", 1);
    if (EditorFilterIndex < 1 || EditorFilterIndex > FilterCount)
        EditorFilterIndex = 1;
    std::snprintf(EditorFilePath, sizeof EditorFilePath, "%s", PatternOf(EditorFilterIndex));
    EditorFileTitle[0] = '\0';
    EditorSaved = false;
    OPENFILENAMEA request{};
    request.lStructSize = ClassicRequestSize;
    request.hwndOwner = MainWindow;
    request.hInstance = LibraryInstance;
    request.lpstrFilter = EditorFilters();
    request.nFilterIndex = static_cast<DWORD>(DialogIndexOf(EditorFilterIndex));
    request.lpstrFile = EditorFilePath;
    request.nMaxFile = sizeof EditorFilePath;
    request.lpstrFileTitle = EditorFileTitle;
    request.nMaxFileTitle = sizeof EditorFileTitle;
    request.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ALLOWMULTISELECT;
    request.lpfnHook = EditorHookProc;
    request.lpTemplateName = "NEWTEMP";
    GetOpenFileNameA(&request);
    WriteSettingInt("PlayList", "Ext", EditorFilterIndex);
    return EditorSaved;
}
