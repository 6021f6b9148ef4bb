// The file dialog, dropped-file dispatch, the save question for a changed
// recording and the MCI error box of the players.
#include "players/media_files.h"

#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "cdplaylist/playlist_exchange.h"
#include "cdplaylist/sequencer.h"
#include "players/media_route.h"
#include "players/video_panel.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

OPENFILENAMEA FileRequest;
char FileRequestPath[FileRequestPathSize];
char FileRequestTitle[FileRequestBufferSize];
char PendingMediaPath[PendingMediaPathSize];
char PendingMediaTitle[PendingMediaTitleSize];

namespace {

const char AllMediaType[] = "All media files";
const char DesignFilters[] = "MIDI File \0*.mid;*.smf;*.rmi\0"
                             "WAVE File \0*.wav\0"
                             "All File\0*.*\0";
constexpr int MediaPatternsSize = 2048;

constexpr int ErrorTextSize = 256;
constexpr int PlayerTimeSize = 32;
constexpr int QuestionSize = FileRequestPathSize + TextSlotSize + 8;

void CopyText(char *out, size_t outSize, const char *text) {
    std::snprintf(out, outSize, "%s", text);
}

void SendOpenAndPlay(HWND player) {
    SendMessageA(player, WM_COMMAND, IDC_OPEN, MAKELPARAM(0, OPEN_AND_PLAY));
}

// "[title]" on the first line, the question on the second.
int AskAboutFile(HWND owner, const char *title, int questionId, UINT buttons) {
    char question[QuestionSize];
    std::snprintf(question, sizeof question, "[%s]\n%s", title, Text(questionId));
    return MessageBoxA(owner, question, Text(IDS_CAPTION), buttons | MB_ICONQUESTION);
}

// Any path the file dialogs return, however long.
bool FileExists(const char *path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The sharing that lets every other program go on with a file the checks
// look at. The Windows 95 family knows no delete sharing and refuses an open
// that asks for it.
DWORD ShareWithEveryone() {
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    return PlatformFamily == 40 ? share | FILE_SHARE_DELETE : share;
}

// The chosen path with ".wav" added when the WAVE filter was left selected
// and the name does not end in it. The buffer has room for the addition.
void SavePathOf(char *path, size_t size) {
    CopyText(path, size, FileRequestPath);
    size_t length = std::strlen(path);
    bool endsInWav = length >= 4 && lstrcmpiA(path + length - 4, ".wav") == 0;
    if (FileRequest.nFilterIndex == static_cast<DWORD>(WaveFilter) && !endsInWav)
        std::strncat(path, ".wav", size - length - 1);
}

// What tells a file from an earlier one of the same name: its index, size
// and time of the last write.
struct FileStamp {
    bool exists = false;
    DWORD indexHigh = 0, indexLow = 0, sizeHigh = 0, sizeLow = 0;
    FILETIME written{};
};

FileStamp StampOf(const char *path) {
    FileStamp stamp;
    HANDLE file = CreateFileA(path, 0, ShareWithEveryone(), nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file, &info)) {
        stamp.exists = true;
        stamp.indexHigh = info.nFileIndexHigh;
        stamp.indexLow = info.nFileIndexLow;
        stamp.sizeHigh = info.nFileSizeHigh;
        stamp.sizeLow = info.nFileSizeLow;
        stamp.written = info.ftLastWriteTime;
    }
    CloseHandle(file);
    return stamp;
}

bool SameFile(const FileStamp &a, const FileStamp &b) {
    return a.exists == b.exists && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow &&
           a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
           CompareFileTime(&a.written, &b.written) == 0;
}

// Whether a file can be written at path: an existing one is not read-only
// and nobody holds it against writers; a new one can be made there.
bool CanWriteFile(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
            return false;
        HANDLE file = CreateFileA(path, GENERIC_WRITE, ShareWithEveryone(), nullptr, OPEN_EXISTING,
                                  0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        return true;
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The platform's text for an MCI error, or the station's own with the code
// when the platform has none for it.
void MciErrorText(MCIERROR error, char *text, size_t size) {
    text[0] = '\0';
    if (!Mci.getErrorString(error, text, static_cast<UINT>(size)) || text[0] == '\0')
        std::snprintf(text, size, Text(IDS_DEVICE_ERROR), static_cast<unsigned long>(error));
}

// A file no device plays: its name and the platform's reason.
void ShowFileRefused(const char *path, MCIERROR error) {
    char reason[ErrorTextSize] = "";
    MciErrorText(error, reason, sizeof reason);
    std::string text = std::string("[") + FileTitleOf(path) + "]\n" + reason;
    MessageBoxA(MainWindow, text.c_str(), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

int SaveWaveData(const char *path) {
    MCI_SAVE_PARMSA save{};
    save.lpfilename = path;
    // Some drivers answer success for a file they could not replace, and
    // let go of the recording all the same: a file that cannot be written
    // is not handed to the driver, and a save counts only when a file of
    // that name is there afterwards and is not the old one.
    MCIERROR error = CanWriteFile(path) ? 0 : MCIERR_FILE_NOT_SAVED;
    FileStamp before = StampOf(path);
    if (error == 0)
        error = Mci.sendCommand(WaveDevice, MCI_SAVE, MCI_SAVE_FILE | MCI_WAIT,
                                reinterpret_cast<DWORD_PTR>(&save));
    if (error == 0) {
        FileStamp after = StampOf(path);
        if (!after.exists || SameFile(before, after))
            error = MCIERR_FILE_NOT_SAVED;
    }
    if (error == 0) {
        WaveModified = 0;
        return 1;
    }
    char text[ErrorTextSize];
    MciErrorText(error, text, sizeof text);
    MessageBoxA(GetFocus(), text, Text(IDS_CAPTION), MB_OK | MB_ICONERROR);
    return 0;
}

// The guarded dialogs on show, each with its own procedure: a second dialog
// may run inside the first (the save question's, say, while an Open dialog
// is up).
struct GuardedDialog {
    HWND dialog;
    WNDPROC own;
};
std::vector<GuardedDialog> GuardedDialogs;

WNDPROC OwnProcedureOf(HWND dialog) {
    for (const GuardedDialog &each : GuardedDialogs)
        if (each.dialog == dialog)
            return each.own;
    return nullptr;
}

// The whole path a name typed into the dialog stands for: the name itself
// when it starts at a drive or a share, else the name in the folder on show.
std::string TypedPathOf(HWND dialog) {
    LRESULT size = SendMessageA(dialog, CDM_GETSPEC, 0, 0);
    if (size <= 1)
        return "";
    std::string typed(static_cast<size_t>(size), '\0');
    SendMessageA(dialog, CDM_GETSPEC, static_cast<WPARAM>(size),
                 reinterpret_cast<LPARAM>(&typed[0]));
    typed.resize(std::strlen(typed.c_str()));
    if (typed.size() > 1 && (typed[1] == ':' || (typed[0] == '\\' && typed[1] == '\\')))
        return typed;
    char folder[FileRequestPathSize] = "";
    if (SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder)) <=
        0)
        return typed;
    if (typed[0] == '\\')
        return RootOf(folder) + typed;
    size_t length = std::strlen(folder);
    bool separated = length > 0 && folder[length - 1] == '\\';
    return folder + std::string(separated ? "" : "\\") + typed;
}

// The current directory as it was, put back when the dialog ends: some
// systems' Open dialogs change it whatever the flags say, and the playlist
// editor's classic dialog, which may be open under this one, browses by it.
class CurrentDirectoryKept {
  public:
    CurrentDirectoryKept() {
        DWORD length = GetCurrentDirectoryA(sizeof directory_, directory_);
        if (length == 0 || length >= sizeof directory_)
            directory_[0] = '\0';
    }
    ~CurrentDirectoryKept() {
        if (directory_[0] != '\0')
            SetCurrentDirectoryA(directory_);
    }
    CurrentDirectoryKept(const CurrentDirectoryKept &) = delete;
    CurrentDirectoryKept &operator=(const CurrentDirectoryKept &) = delete;

  private:
    char directory_[MAX_PATH] = "";
};

// A name that makes a path longer than the platform's file calls take is
// refused here, by a message that names it, before the dialog works on it:
// some dialogs hold the path in a buffer of that size and overrun it.
bool RefuseTypedName(HWND dialog, WPARAM wParam) {
    return LOWORD(wParam) == IDOK && !FileNameFits(dialog, TypedPathOf(dialog).c_str());
}

// The dialog's own procedure back as the dialog goes.
void UnguardFileDialog(HWND dialog, WNDPROC own) {
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    GuardedDialogs.erase(
        std::remove_if(GuardedDialogs.begin(), GuardedDialogs.end(),
                       [dialog](const GuardedDialog &each) { return each.dialog == dialog; }),
        GuardedDialogs.end());
}

LRESULT CALLBACK GuardedFileDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC own = OwnProcedureOf(dialog);
    switch (message) {
    case WM_COMMAND:
        if (RefuseTypedName(dialog, wParam))
            return 0;
        break;
    case WM_NCDESTROY: UnguardFileDialog(dialog, own); break;
    default: break;
    }
    return CallWindowProcA(own, dialog, message, wParam, lParam);
}

void GuardFileDialog(HWND dialog) {
    LONG_PTR own = GetWindowLongPtrA(dialog, GWLP_WNDPROC);
    if (own == 0)
        return;
    GuardedDialogs.push_back({dialog, reinterpret_cast<WNDPROC>(own)});
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GuardedFileDialog));
}

UINT_PTR CALLBACK FileDialogHook(HWND child, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG)
        GuardFileDialog(GetParent(child));
    return 0;
}

} // namespace

BOOL RunFileDialog(OPENFILENAMEA &request, int mode) {
    CurrentDirectoryKept kept;
    request.lStructSize = ClassicRequestSize;
    request.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK | OFN_NOCHANGEDIR;
    request.lpfnHook = FileDialogHook;
    return mode == ChooseToOpen ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);
}

namespace {

// The dialogs' types: every file the platform plays, then the design's.
const char *MediaFilters() {
    static char filters[sizeof AllMediaType + MediaPatternsSize + sizeof DesignFilters];
    static char patterns[MediaPatternsSize];
    if (!AllMediaPatterns(patterns, sizeof patterns))
        CopyText(patterns, sizeof patterns, "*.mid;*.rmi;*.wav;*.avi");
    size_t used = 0;
    for (const char *part : {AllMediaType, static_cast<const char *>(patterns)}) {
        std::memcpy(filters + used, part, std::strlen(part) + 1);
        used += std::strlen(part) + 1;
    }
    std::memcpy(filters + used, DesignFilters, sizeof DesignFilters);
    return filters;
}

} // namespace

int ChooseMediaFile(HWND owner, const char *initialText, int filterIndex, int mode) {
    CopyText(FileRequestTitle, sizeof FileRequestTitle, initialText);
    FileRequest = OPENFILENAMEA{};
    FileRequest.hwndOwner = owner;
    FileRequest.lpstrFilter = MediaFilters();
    FileRequest.nFilterIndex = static_cast<DWORD>(filterIndex);
    FileRequest.lpstrFile = FileRequestPath;
    FileRequest.nMaxFile = FileRequestPathSize;
    FileRequest.lpstrFileTitle = FileRequestTitle;
    FileRequest.nMaxFileTitle = FileRequestBufferSize;
    FileRequest.Flags = OFN_PATHMUSTEXIST;
    CopyText(FileRequestPath, sizeof FileRequestPath,
             mode == ChooseToOpen ? initialText : WaveFilePath);
    return RunFileDialog(FileRequest, mode) ? 1 : 0;
}

namespace {

// The route of a file about to be played. A file a panel holds open is that
// panel's: its device would not open it a second time to be asked.
MediaRoute RouteForPlaying(const char *path, MCIERROR *error) {
    *error = 0;
    if (VideoHoldsFile(path))
        return MediaRoute::Video;
    if (WaveHoldsFile(path))
        return WavePlayOnly ? MediaRoute::Sound : MediaRoute::Wave;
    return RouteMediaFile(path, error);
}

} // namespace

int DispatchMediaFile(const char *path) {
    if (path == nullptr || std::strlen(path) >= sizeof PendingMediaPath)
        return 0;
    if (IsPlaylistFile(path))
        return OpenPlaylistFile(MainWindow, path) ? 1 : 0;
    MCIERROR error = 0;
    MediaRoute route = RouteForPlaying(path, &error);
    if (route == MediaRoute::None) {
        ShowFileRefused(path, error);
        return 0;
    }
    if ((route == MediaRoute::Wave || route == MediaRoute::Sound) && ConfirmWaveChanges() == 0) {
        LetAskedDeviceGo();
        return 0;
    }
    CopyText(PendingMediaPath, sizeof PendingMediaPath, path);
    if (route == MediaRoute::Midi) {
        SendOpenAndPlay(MidiPanel);
    } else if (route == MediaRoute::Video) {
        // A picture needs its panel on show.
        if (!VideoPanelShown && LauncherBar != nullptr)
            SendMessageA(LauncherBar, WM_COMMAND, IDC_SHOW_VIDEO, 0);
        SendOpenAndPlay(VideoPanel);
    } else {
        SendOpenAndPlay(WavePanel);
    }
    return 1;
}

bool KeepChosenFile(MediaRoute own, MediaRoute alsoOwn) {
    MCIERROR error = 0;
    MediaRoute route = RouteForPlaying(FileRequestPath, &error);
    if (route != MediaRoute::None && (route == own || route == alsoOwn))
        return true;
    DispatchMediaFile(FileRequestPath);
    return false;
}

int ConfirmWaveChanges() {
    if (WaveModified != 1)
        return 1;
    int answer = AskAboutFile(WavePanel, WaveFileTitle, IDS_WAVE_CHANGED, MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return 0;
    if (answer == IDNO)
        return 1;
    // A take still being recorded is ended first, so that all of it is kept.
    if (WavePlayState == WaveRecording || WavePlayState == WaveRecordPaused)
        SendPlayerCommand(WavePanel, IDC_STOP, MAKELPARAM(0, FROM_STATION));
    if (ChooseMediaFile(WavePanel, WaveFileTitle, WaveFilter, ChooseToSave) == 0)
        return 0;
    // The file asked about is the one written, ".wav" included, so that no
    // existing take1.wav is replaced unasked when the name typed was take1.
    char path[FileRequestPathSize + 4];
    SavePathOf(path, sizeof path);
    if (!FileNameFits(WavePanel, path))
        return 0;
    if (FileExists(path) && AskAboutFile(WavePanel, FileTitleOf(path), IDS_WAVE_EXISTS,
                                         MB_YESNO | MB_DEFBUTTON2) == IDNO)
        return 0;
    return SaveWaveData(path);
}

void NameTooLongText(char *text, size_t size) {
    text[0] = '\0';
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILENAME_EXCED_RANGE, 0, text, static_cast<DWORD>(size), nullptr);
}

bool FileNameFits(HWND owner, const char *path) {
    if (std::strlen(path) < MAX_PATH)
        return true;
    char reason[ErrorTextSize];
    NameTooLongText(reason, sizeof reason);
    char text[QuestionSize];
    std::snprintf(text, sizeof text, "[%s]\n%s", path, reason);
    MessageBoxA(owner, text, Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
    return false;
}

void ShowMciError(HWND owner, MCIERROR error) {
    char text[ErrorTextSize];
    MciErrorText(error, text, sizeof text);
    MessageBoxA(owner, text, Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

bool AutoPlayDrop(int origin) {
    return origin == OPEN_AND_PLAY && Display.autoPlay == 1;
}

bool DrivenByPlaylist(HWND panel) {
    return panel != nullptr && panel == CurrentPlayer && PlaylistPanel != nullptr;
}

void ReportEntryOpened(HWND panel, int origin, bool opened, bool playing) {
    if (origin == OPEN_FROM_PLAYLIST && (!opened || (PlaylistRunning == 1 && !playing)))
        SequencerRequest(ENTRY_NOT_OPENED, panel);
}

void SendPlayerCommand(HWND window, int id, LPARAM lParam) {
    if (window != nullptr)
        SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), lParam);
}

void FormatPlayerTime(char *text, size_t size, DWORD ms) {
    std::snprintf(text, size, "%02ld:%02ld", static_cast<long>(ms / 60000),
                  static_cast<long>((ms / 1000) % 60));
}

namespace {

// A text on a player's display, and on the playlist panel's while the
// playlist drives the player.
void ShowPlayerText(HWND panel, int id, const char *text) {
    SetDlgItemTextA(panel, id, text);
    if (DrivenByPlaylist(panel))
        SetDlgItemTextA(PlaylistPanel, id, text);
}

} // namespace

void ShowPlayerTime(HWND panel, int id, DWORD ms) {
    char text[PlayerTimeSize];
    FormatPlayerTime(text, sizeof text, ms);
    ShowPlayerText(panel, id, text);
}

void ShowUnknownTime(HWND panel, int id) {
    ShowPlayerText(panel, id, "--:--");
}
