#include "shell/settings.h"

#include "panekit/resources/panel_ids.h"
#include "shell/text_table.h"

#include <cstdio>

char SettingsFileName[MAX_PATH] = "SONIKBAY.INI";

namespace {

int FailedWrites;
int ReportedWrites;

} // namespace

int ReadSettingInt(const char *section, const char *key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, SettingsFileName));
}

void ReadSettingText(const char *section, const char *key, const char *defaultValue, char *text,
                     DWORD size) {
    if (size == 0)
        return;
    text[0] = '\0';
    GetPrivateProfileStringA(section, key, defaultValue, text, size, SettingsFileName);
    text[size - 1] = '\0';
}

bool WriteSettingInt(const char *section, const char *key, long value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%ld", value);
    return WriteSettingText(section, key, digits);
}

bool WriteSettingText(const char *section, const char *key, const char *value) {
    bool written = WritePrivateProfileStringA(section, key, value, SettingsFileName) != FALSE;
    if (!written)
        ++FailedWrites;
    return written;
}

int SettingsWriteMark() {
    return FailedWrites;
}

bool ReportSettingsWritesSince(int mark, HWND owner) {
    if (FailedWrites == mark)
        return false;
    ReportedWrites += FailedWrites - mark;
    MessageBoxA(owner, Text(IDS_CANT_SAVE_SETTINGS), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
    return true;
}

bool SettingsWriteFailed() {
    bool failed = FailedWrites > ReportedWrites;
    ReportedWrites = FailedWrites;
    return failed;
}
