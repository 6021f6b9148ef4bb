#include "shell/startup.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/playlist_panel.h"
#include "panekit/resources/panel_ids.h"
#include "players/midi_panel.h"
#include "players/video_panel.h"
#include "players/wave_panel.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/main_window.h"
#include "shell/open_files.h"
#include "shell/settings.h"
#include "shell/shell_integration.h"
#include "shell/station.h"
#include "shell/station_keys.h"
#include "shell/text_table.h"

#include <commdlg.h>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

HWND MainWindow;
HWND LauncherBar;
HWND CdPanel;
HWND MidiPanel;
HWND WavePanel;
HWND PlaylistPanel;
HWND VideoPanel;
HWND MixerPanel;
HWND EfxWindow;
HINSTANCE LibraryInstance;
HINSTANCE ProgramInstance;
int LanguageCode = LanguageOther;
int PlatformFamily = 40;
int ShellGeneration = 95;
int DefaultAscent;
bool LargeFontTemplates;
short WindowX;
short WindowY;
unsigned short ClientHeight;
int CaptionHeight;
int ScreenHeight;
DisplaySettings Display;
UINT FileNameOkMessage;
UINT ListSelChangedMessage;

namespace {

constexpr char LibraryFileName[] = "panekit32.dll";
constexpr int LanguageValueSize = 64;

struct PanelTemplate {
    HWND *panel;
    const char *templateName;
    DLGPROC procedure;
    int errorText;
};

// Permanent panels, in the order they are created.
const PanelTemplate PermanentPanels[] = {
    {&CdPanel, "CD_PLAY", CdPanelProc, IDS_CD_DIALOG_ERROR},
    {&MidiPanel, "MIDI_PLAY", MidiPanelProc, IDS_MIDI_DIALOG_ERROR},
    {&WavePanel, "WAVE_PLAY", WavePanelProc, IDS_WAVE_DIALOG_ERROR},
    {&PlaylistPanel, "PLAYLIST", PlaylistPanelProc, IDS_PLAYLIST_DIALOG_ERROR},
    {&VideoPanel, "VIDEO_PLAY", VideoPanelProc, IDS_VIDEO_DIALOG_ERROR},
};

void ForgetWindows() {
    for (HWND *window : {&MainWindow, &LauncherBar, &CdPanel, &MidiPanel, &WavePanel,
                         &PlaylistPanel, &VideoPanel, &MixerPanel, &EfxWindow})
        *window = nullptr;
}

// A second start hands its files, if any, to the running station, which
// opens them as a drop of them, and raises its window.
bool RaiseRunningStation(const std::vector<std::string> &files) {
    HWND running = FindWindowA(MainWindowClass, nullptr);
    if (running == nullptr)
        return false;
    if (!files.empty())
        HandFilesTo(running, files);
    if (IsIconic(running))
        ShowWindow(running, SW_SHOWNORMAL);
    SetWindowPos(running, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void ReadDisplaySettings() {
    Display.autoPlay = ReadSettingInt("Mixer", "AUTOPLAY", 0);
    Display.selectable = ReadSettingInt("Mixer", "SELECTABLE", 0);
    Display.cdDisplay = ReadSettingInt("Mixer", "CDDISPLAY", 3);
    Display.waveDisplay = ReadSettingInt("Mixer", "WAVEDISPLAY", 1);
    Display.midiDisplay = ReadSettingInt("Mixer", "MIDIDISPLAY", 2);
    Display.mixDisplay = ReadSettingInt("Mixer", "MIXDISPLAY", 4);
    Display.videoDisplay = ReadSettingInt("Mixer", "VIDEODISPLAY", 0);
    Display.multiDisplay = ReadSettingInt("Mixer", "MULTIDISPLAY", 0);
}

void ReadLanguage() {
    char value[LanguageValueSize];
    GetProfileStringA("intl", "sLanguage", "XXX", value, sizeof value);
    value[LanguageValueSize - 1] = '\0';
    LanguageCode = LanguageCodeOf(value);
}

// The library is taken from the program's own directory, never from the
// search path, so that no other copy of it can stand in.
HINSTANCE LoadPanelLibrary() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    char *slash = std::strrchr(path, '\\');
    char *name = slash == nullptr ? path : slash + 1;
    if (static_cast<size_t>(name - path) + sizeof LibraryFileName > MAX_PATH)
        return nullptr;
    std::memcpy(name, LibraryFileName, sizeof LibraryFileName);
    return LoadLibraryA(path);
}

void ReadPlatform() {
    DWORD version = GetVersion();
    PlatformFamily = (version & 0x80000000u) != 0 ? 95 : 40;
    int major = LOBYTE(LOWORD(version));
    int minor = HIBYTE(LOWORD(version));
    ShellGeneration = (major >= 4 || minor > 20) ? 95 : 31;
}

void MeasureDefaultAscent() {
    HDC screen = GetDC(nullptr);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    ReleaseDC(nullptr, screen);
    DefaultAscent = metrics.tmAscent;
}

void ChooseTemplates() {
    if (ShellGeneration == 95 || LanguageCode == LanguageOther || LanguageCode == LanguageJapanese)
        LargeFontTemplates = DefaultAscent > 16;
    else
        LargeFontTemplates = DefaultAscent >= 16;
}

// The NT family cannot place a window above or left of the screen.
void ClampWindowPosition() {
    if (PlatformFamily != 40)
        return;
    if (WindowX < 0)
        WindowX = 0;
    if (WindowY < 0)
        WindowY = 0;
}

HWND CreatePanel(const char *plainName, DLGPROC procedure) {
    char name[32];
    return CreateDialogParamA(LibraryInstance, TemplateName(plainName, name, sizeof name),
                              MainWindow, procedure, 0);
}

void CreatePermanentPanels() {
    for (const PanelTemplate &panel : PermanentPanels) {
        *panel.panel = CreatePanel(panel.templateName, panel.procedure);
        if (*panel.panel == nullptr)
            MessageBoxA(GetFocus(), Text(panel.errorText), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
    }
}

void PlaceLauncherAndPanels() {
    MoveWindow(LauncherBar, 0, 1, 639, 38, TRUE);
    for (HWND panel : {CdPanel, MidiPanel, WavePanel, VideoPanel, PlaylistPanel})
        if (panel != nullptr)
            MoveWindow(panel, 641, 0, 1, 1, FALSE);
}

void OpenLauncher(int command) {
    SendMessageA(LauncherBar, WM_COMMAND, command, 0);
}

void OpenPreviousPanels() {
    if (Display.autoPlay != 0) {
        OpenLauncher(IDC_SHOW_PLAYLIST);
        if (Display.selectable != 1)
            return;
        if (Display.waveDisplay == 1)
            OpenLauncher(IDC_SHOW_WAVE);
        if (Display.midiDisplay == 1)
            OpenLauncher(IDC_SHOW_MIDI);
        if (Display.cdDisplay == 1)
            OpenLauncher(IDC_SHOW_CD);
        if (Display.mixDisplay == 1)
            OpenLauncher(IDC_SHOW_MIXER);
        return;
    }
    for (int position = 1; position <= 5; ++position) {
        if (Display.waveDisplay == position)
            OpenLauncher(IDC_SHOW_WAVE);
        if (Display.midiDisplay == position)
            OpenLauncher(IDC_SHOW_MIDI);
        if (Display.cdDisplay == position)
            OpenLauncher(IDC_SHOW_CD);
        if (Display.mixDisplay == position)
            OpenLauncher(IDC_SHOW_MIXER);
        if (Display.multiDisplay == position)
            OpenLauncher(IDC_SHOW_PLAYLIST);
    }
}

} // namespace

const char *TemplateName(const char *plainName, char *buffer, size_t size) {
    std::strncpy(buffer, plainName, size - 2);
    buffer[size - 2] = '\0';
    if (LargeFontTemplates)
        std::strcat(buffer, "1");
    return buffer;
}

int LanguageCodeOf(const char *value) {
    if (_strnicmp(value, "FR", 2) == 0)
        return LanguageFrench;
    if (_strnicmp(value, "DE", 2) == 0)
        return LanguageGerman;
    if (_strnicmp(value, "IT", 2) == 0)
        return LanguageItalian;
    if (_strnicmp(value, "ES", 2) == 0)
        return LanguageSpanish;
    if (_stricmp(value, "JPN") == 0)
        return LanguageJapanese;
    return LanguageOther;
}

int StartStation(HINSTANCE instance, HINSTANCE previous, const char *commandLine, int showState) {
    ForgetWindows();
    SettingsWriteFailed();
    // The command line is read once, here. Where files stand beside "/play"
    // the files win and the disc's track request is ignored: the files are
    // what the user pointed at.
    std::vector<std::string> files = FilesOfCommandLine(commandLine);
    if (RaiseRunningStation(files))
        return 1;
    if (previous == nullptr && !RegisterMainWindowClass(instance))
        return 0;
    WindowX = static_cast<short>(ReadSettingInt("Init", "X", 0));
    WindowY = static_cast<short>(ReadSettingInt("Init", "Y", 0));
    FileNameOkMessage = RegisterWindowMessageA(FILEOKSTRINGA);
    ListSelChangedMessage = RegisterWindowMessageA(LBSELCHSTRINGA);
    ProgramInstance = instance;
    CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    ReadDisplaySettings();
    KeepAutoPlayCommand();
    ReadLanguage();
    LibraryInstance = LoadPanelLibrary();
    LoadTextTable(LibraryInstance);
    ReadPlatform();
    MeasureDefaultAscent();
    ChooseTemplates();
    ClampWindowPosition();
    if (CreateMainWindow() == nullptr)
        return 0;
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    CreateSharedFonts();
    char name[32];
    LauncherBar = CreateDialogParamA(LibraryInstance, TemplateName("MAIN", name, sizeof name),
                                     MainWindow, LauncherBarProc, 0);
    if (LauncherBar == nullptr) {
        MessageBoxA(GetFocus(), Text(IDS_CANT_OPEN_WINDOW), Text(IDS_CAPTION), MB_ICONERROR);
        return 0;
    }
    CreatePermanentPanels();
    SubclassPlaylistLists();
    PlaceLauncherAndPanels();
    OpenPreviousPanels();
    ShowMainWindow(showState);
    UpdateWindow(MainWindow);
    if (files.empty())
        HonourCommandLine(commandLine);
    else
        OpenFiles(files);
    return StationRunning;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchStationMessage(message);
    return static_cast<int>(message.wParam);
}

void EndStation() {
    // Said once, after every window has saved what it keeps.
    if (SettingsWriteFailed())
        MessageBoxA(nullptr, Text(IDS_CANT_SAVE_SETTINGS), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
    if (MainWindow != nullptr && IsWindow(MainWindow)) {
        // A start-up that failed half way leaves its window behind.
        DestroyWindow(MainWindow);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    DeleteSharedFonts();
    if (LibraryInstance != nullptr)
        FreeLibrary(LibraryInstance);
    LibraryInstance = nullptr;
    UnregisterMainWindowClass(ProgramInstance);
    ForgetWindows();
}
