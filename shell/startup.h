// Start-up and shutdown of the station. The entry point runs StartStation,
// the message loop and EndStation; tests run them in-process.
#pragma once
#include <windows.h>

// StartStation's answer when the station is up and the message loop is due.
constexpr int StationRunning = -1;

// Runs the whole start-up. Answers StationRunning, or the exit code: 1 when
// another instance was raised instead, 0 when start-up failed.
int StartStation(HINSTANCE instance, HINSTANCE previous, const char *commandLine, int showState);

// Get, translate, dispatch until the quit message; answers its code.
int RunMessageLoop();

// Frees the panel library and whatever a failed start-up left behind.
void EndStation();

// Language code from the platform's "sLanguage" value.
int LanguageCodeOf(const char *languageValue);
