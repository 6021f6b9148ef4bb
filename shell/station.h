// The station's shared state: window handles, start-up facts and display
// settings, set once at start-up and read by every panel.
#pragma once
#include <windows.h>

// ---- Windows (null when creation failed or the window is not open) ----
extern HWND MainWindow;
extern HWND LauncherBar;
extern HWND CdPanel;
extern HWND MidiPanel;
extern HWND WavePanel;
extern HWND PlaylistPanel;
extern HWND VideoPanel;
extern HWND MixerPanel;
extern HWND EfxWindow;

extern HINSTANCE LibraryInstance; // panekit32
extern HINSTANCE ProgramInstance;

// ---- Start-up facts ----
extern int LanguageCode;    // 1 other, 3 French, 4 German, 5 Italian, 6 Spanish, 81 Japanese
extern int PlatformFamily;  // 95: Windows 95 family, 40: Windows NT
extern int ShellGeneration; // 95: newer shell, 31: older shell
extern int DefaultAscent;
extern bool LargeFontTemplates;
extern short WindowX;
extern short WindowY;
extern unsigned short ClientHeight;
extern int CaptionHeight;
extern int ScreenHeight;

constexpr int LanguageOther = 1;
constexpr int LanguageFrench = 3;
constexpr int LanguageGerman = 4;
constexpr int LanguageItalian = 5;
constexpr int LanguageSpanish = 6;
constexpr int LanguageJapanese = 81;

// ---- Display settings of section "Mixer", read at start-up ----
struct DisplaySettings {
    int autoPlay;
    int selectable;
    int cdDisplay;
    int waveDisplay;
    int midiDisplay;
    int mixDisplay;
    int videoDisplay;
    int multiDisplay;
};
extern DisplaySettings Display;

// Registered messages of the classic file dialog, for the playlist editor's hook.
extern UINT FileNameOkMessage;
extern UINT ListSelChangedMessage;

// Template name with the large-font suffix when the large templates are in use.
// Returns buffer.
const char *TemplateName(const char *plainName, char *buffer, size_t size);
