// The station's one top-level window: receives dropped files, keeps the
// window position and client height, saves the panel display order when it
// is destroyed and passes mixer changes to the mixer panel.
#pragma once
#include <windows.h>

constexpr char MainWindowClass[] = "sonikbay";
constexpr int StationWidth = 639;
constexpr int LauncherHeight = 40; // client height holding only the launcher bar

bool RegisterMainWindowClass(HINSTANCE instance);
void UnregisterMainWindowClass(HINSTANCE instance);

// Creates MainWindow, not yet shown. Null on failure.
HWND CreateMainWindow();

// Height of the main window's frame and caption: window height less client
// height, measured on the real window.
int NonClientHeight();

// Moves the main window to its saved place with the given client height.
void ResizeMainWindow(int clientHeight);

// Gives a control of the station the keyboard focus. While the main window
// is still being built and not yet shown, the focus waits for ShowMainWindow:
// giving it earlier would activate the hidden window.
void GiveFocus(HWND control);

// Shows the built main window and then gives the focus that waited for it.
void ShowMainWindow(int showState);
