// Access to the settings file. Every read and write goes straight to the
// platform's private-profile functions, one key at a time; nothing is cached.
#pragma once
#include <windows.h>

// Name of the settings file. A bare name lives in the Windows directory; only
// tests point it elsewhere.
extern char SettingsFileName[MAX_PATH];

int ReadSettingInt(const char *section, const char *key, int defaultValue);
// Reads at most size - 1 characters into text, always terminated.
void ReadSettingText(const char *section, const char *key, const char *defaultValue, char *text,
                     DWORD size);
// Both return false when the platform could not write the file; the failure
// is also counted for the checks below.
bool WriteSettingInt(const char *section, const char *key, long value);
bool WriteSettingText(const char *section, const char *key, const char *value);

// A dialog that writes takes a mark before and reports after: the report
// shows "Can't save settings" over owner when a write failed since the mark
// and answers whether one did. Failures reported so stay reported.
int SettingsWriteMark();
bool ReportSettingsWritesSince(int mark, HWND owner);

// True when a write failed that was never reported; they count as reported
// from then on.
bool SettingsWriteFailed();
