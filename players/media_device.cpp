// The file players' MCI commands and what else the three panels do alike.
#include "players/media_device.h"

#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/media_files.h"

#include <cstdio>

namespace {

constexpr int TitleLimit = 128; // the longest title the panels show, terminator included

} // namespace

MCIERROR DeviceCommand(MCIDEVICEID device, UINT message, DWORD flags, void *params) {
    return Mci.sendCommand(device, message, flags, reinterpret_cast<DWORD_PTR>(params));
}

MCIERROR DeviceWideStatus(MCIDEVICEID device, DWORD item, DWORD_PTR *value) {
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    MCIERROR error = DeviceCommand(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status);
    if (error == 0)
        *value = status.dwReturn;
    return error;
}

MCIERROR DeviceStatus(MCIDEVICEID device, DWORD item, DWORD *value) {
    DWORD_PTR wide = 0;
    MCIERROR error = DeviceWideStatus(device, item, &wide);
    if (error == 0)
        *value = static_cast<DWORD>(wide);
    return error;
}

MCIERROR DevicePlayFrom(MCIDEVICEID device, MCI_PLAY_PARMS &request, DWORD from) {
    request.dwFrom = from;
    return DeviceCommand(device, MCI_PLAY, MCI_NOTIFY | MCI_FROM, &request);
}

MCIERROR DeviceStop(MCIDEVICEID device) {
    MCI_GENERIC_PARMS stop{};
    return DeviceCommand(device, MCI_STOP, MCI_WAIT, &stop);
}

MCIERROR DeviceSeek(MCIDEVICEID device, DWORD where) {
    MCI_SEEK_PARMS seek{};
    return DeviceCommand(device, MCI_SEEK, where | MCI_WAIT, &seek);
}

MCIERROR DeviceSetTimeFormat(MCIDEVICEID device, DWORD format) {
    MCI_SET_PARMS set{};
    set.dwTimeFormat = format;
    return DeviceCommand(device, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set);
}

MCIERROR DeviceClose(MCIDEVICEID device) {
    MCI_GENERIC_PARMS close{};
    return DeviceCommand(device, MCI_CLOSE, MCI_WAIT, &close);
}

void MediaFileTitle(const char *path, char *title, size_t size) {
    char found[TitleLimit] = "";
    if (GetFileTitleA(path, found, sizeof found) != 0)
        std::snprintf(found, sizeof found, "%s", FileTitleOf(path));
    std::snprintf(title, size, "%s", found);
}

void ShowFileTitle(HWND panel, int origin) {
    if (origin == OPEN_FROM_PLAYLIST)
        std::snprintf(PendingMediaPath, sizeof PendingMediaPath, "%s", CurrentEntryText);
    char title[TitleLimit] = "";
    MediaFileTitle(PendingMediaPath, title, sizeof title);
    char text[TitleLimit + 16];
    if (origin == OPEN_FROM_PLAYLIST) {
        std::snprintf(text, sizeof text, "%d:%s", CurrentEntryIndex + 1, title);
    } else {
        std::snprintf(text, sizeof text, "%s", title);
        if (CurrentPlayer == panel)
            CurrentPlayer = nullptr;
    }
    SetDlgItemTextA(panel, IDC_TITLE, text);
}

bool EchoedToPlaylist(int id) {
    switch (id) {
    case IDC_PLAY:
    case IDC_PAUSE:
    case IDC_STOP:
    case IDC_FF:
    case IDC_REW:
    case IDC_FFSKIP: return true;
    default: return false;
    }
}
