#include "shell/shell_integration.h"

#include "panekit/resources/panel_ids.h"
#include "shell/settings.h"
#include "shell/station.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr int CommandSize = 255;
constexpr int WordLimit = 63;
constexpr int HighestTrack = 0xFFFF;

bool ReadShellPlayCommand(char *command, LONG size) {
    char found[CommandSize + 1] = "";
    LONG foundSize = sizeof found;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, "AudioCD\\shell\\play\\command", found, &foundSize) !=
        ERROR_SUCCESS)
        return false;
    found[CommandSize] = '\0';
    lstrcpynA(command, found, size);
    return true;
}

bool FirstWordIsPlay(const char *commandLine) {
    const char *p = commandLine;
    while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    char word[WordLimit + 1];
    int length = 0;
    while (length < WordLimit && p[length] != '\0' &&
           !std::isspace(static_cast<unsigned char>(p[length]))) {
        word[length] = p[length];
        ++length;
    }
    word[length] = '\0';
    return std::strcmp(word, "/play") == 0;
}

int TrackAfterPercent(const char *commandLine) {
    const char *percent = std::strchr(commandLine, '%');
    if (percent == nullptr)
        return 1;
    const char *p = percent + 1;
    const char *end = p + std::min<size_t>(std::strlen(p), WordLimit);
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    int track = 0;
    for (; p < end && std::isdigit(static_cast<unsigned char>(*p)); ++p)
        track = std::min(track * 10 + (*p - '0'), HighestTrack);
    return track == 0 ? 1 : track;
}

} // namespace

void KeepAutoPlayCommand() {
    char command[CommandSize + 1];
    ReadSettingText("Init", "CDAutoPlayPath", "e", command, sizeof command);
    if (std::strlen(command) != 1)
        return;
    ReadShellPlayCommand(command, sizeof command);
    WriteSettingText("Init", "CDAutoPlayPath", command);
}

int PlayTrackOfCommandLine(const char *commandLine) {
    if (commandLine == nullptr || !FirstWordIsPlay(commandLine))
        return 0;
    return TrackAfterPercent(commandLine);
}

void HonourCommandLine(const char *commandLine) {
    int track = PlayTrackOfCommandLine(commandLine);
    if (track != 0 && CdPanel != nullptr)
        SendMessageA(CdPanel, WM_COMMAND, IDC_PLAY, MAKELPARAM(track, PLAY_TRACK_REQUEST));
}
