// The routing of files to panels by the platform's MCI extension table: the
// "mci extensions" section of the system's profile, which the 95 family
// keeps in WIN.INI and NT maps to its registry, and where the profile
// functions do not reach it, that registry key itself.
#include "players/media_route.h"

#include "platform/mci.h"
#include "players/file_names.h"
#include "players/media_device.h"

#include <digitalv.h>

#include <cstdio>
#include <cstring>

namespace {

const char TableSection[] = "mci extensions";
const char TableKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI Extensions";
constexpr int ExtensionSize = 32;
constexpr int DeviceNameSize = 64;
constexpr int TableListSize = 4096;

struct DesignType {
    const char *extension;
    MediaRoute route;
};

// The design's own types keep their panels whatever a table says; the
// station's playlist files are never media (a platform may map .m3u).
const DesignType DesignTypes[] = {
    {"mid", MediaRoute::Midi},  {"rmi", MediaRoute::Midi}, {"wav", MediaRoute::Wave},
    {"avi", MediaRoute::Video}, {"m3u", MediaRoute::None}, {"m3u8", MediaRoute::None},
    {"pls", MediaRoute::None},
};

struct DeviceRoute {
    const char *device;
    MediaRoute route;
};

const DeviceRoute DeviceRoutes[] = {
    {"Sequencer", MediaRoute::Midi},
    {"WaveAudio", MediaRoute::Wave},
    {"AVIVideo", MediaRoute::Video},
    {"CDAudio", MediaRoute::None},
};

// The extension of the file's own name without its period; false for none.
bool ExtensionOf(const char *path, char *extension, size_t size) {
    char dotted[ExtensionSize + 1] = "";
    FileExtensionOf(path, dotted, sizeof dotted);
    if (dotted[0] != '.' || dotted[1] == '\0')
        return false;
    std::snprintf(extension, size, "%s", dotted + 1);
    return std::strlen(dotted + 1) < size;
}

// The device a table's entry names, "" for none. The registry's string may
// lack its terminator; the buffer keeps room for one.
void RegistryEntry(const char *extension, char *device, size_t size) {
    device[0] = '\0';
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TableKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(size - 1);
    if (RegQueryValueExA(key, extension, nullptr, &type, reinterpret_cast<BYTE *>(device),
                         &bytes) == ERROR_SUCCESS &&
        type == REG_SZ && bytes < size)
        device[bytes] = '\0';
    else
        device[0] = '\0';
    RegCloseKey(key);
}

void TableEntry(const char *extension, char *device, size_t size) {
    GetProfileStringA(TableSection, extension, "", device, static_cast<DWORD>(size));
    if (device[0] == '\0')
        RegistryEntry(extension, device, size);
}

// The route the design gives its own types; false for any other extension.
bool DesignRoute(const char *extension, MediaRoute *route) {
    for (const DesignType &type : DesignTypes)
        if (lstrcmpiA(extension, type.extension) == 0) {
            *route = type.route;
            return true;
        }
    return false;
}

// The route of a table's device; Sound for one that may or may not show a
// picture, None for none.
MediaRoute RouteOfDevice(const char *device) {
    if (device[0] == '\0')
        return MediaRoute::None;
    for (const DeviceRoute &known : DeviceRoutes)
        if (lstrcmpiA(device, known.device) == 0)
            return known.route;
    return MediaRoute::Sound;
}

// A sound-only file's device, kept open for the panel that plays it.
struct AskedDevice {
    char path[MediaPathSize] = "";
    MCIDEVICEID device = 0;
};
AskedDevice Asked;

// Whether a file opens, and whether what it opened on shows a picture of it.
// A file with a picture is closed again (its panel opens it in a window of
// its own); a sound-only one stays open for its panel.
MediaRoute AskTheFile(const char *path, MCIERROR *error) {
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = path;
    *error = Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                             reinterpret_cast<DWORD_PTR>(&open));
    if (*error != 0)
        return MediaRoute::None;
    MCI_DGV_RECT_PARMS where{};
    bool picture = Mci.sendCommand(open.wDeviceID, MCI_WHERE, MCI_DGV_WHERE_SOURCE | MCI_WAIT,
                                   reinterpret_cast<DWORD_PTR>(&where)) == 0 &&
                   where.rc.right > where.rc.left && where.rc.bottom > where.rc.top;
    if (picture || std::strlen(path) >= sizeof Asked.path) {
        DeviceClose(open.wDeviceID);
    } else {
        std::memcpy(Asked.path, path, std::strlen(path) + 1);
        Asked.device = open.wDeviceID;
    }
    return picture ? MediaRoute::Video : MediaRoute::Sound;
}

// Adds "*.ext" to the pattern list unless it is there; false when full.
bool AddPattern(char *patterns, size_t size, const char *extension) {
    char pattern[ExtensionSize + 4];
    std::snprintf(pattern, sizeof pattern, "*.%s", extension);
    size_t length = std::strlen(pattern);
    const char *at = patterns;
    while (*at != '\0') {
        const char *end = at;
        while (*end != '\0' && *end != ';')
            ++end;
        char listed[ExtensionSize + 4] = "";
        if (static_cast<size_t>(end - at) == length) {
            std::memcpy(listed, at, length);
            if (lstrcmpiA(listed, pattern) == 0)
                return true;
        }
        at = *end == ';' ? end + 1 : end;
    }
    size_t used = std::strlen(patterns);
    if (used + length + 2 > size)
        return false;
    std::snprintf(patterns + used, size - used, "%s%s", used > 0 ? ";" : "", pattern);
    return true;
}

// Adds the extension of a table's entry naming device unless nothing plays it.
bool AddMapped(char *patterns, size_t size, const char *extension, const char *device) {
    MediaRoute route = MediaRoute::None;
    if (!DesignRoute(extension, &route))
        route = RouteOfDevice(device);
    return route == MediaRoute::None || AddPattern(patterns, size, extension);
}

// The extensions the registry's table holds, added to the list.
bool AddRegistryTable(char *patterns, size_t size) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TableKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return true;
    bool fits = true;
    char extension[ExtensionSize];
    char device[DeviceNameSize];
    for (DWORD index = 0; fits; ++index) {
        DWORD length = sizeof extension;
        DWORD type = 0;
        DWORD bytes = sizeof device - 1;
        LONG found = RegEnumValueA(key, index, extension, &length, nullptr, &type,
                                   reinterpret_cast<BYTE *>(device), &bytes);
        if (found == ERROR_NO_MORE_ITEMS)
            break;
        if (found != ERROR_SUCCESS || type != REG_SZ || bytes >= sizeof device)
            continue;
        device[bytes] = '\0';
        fits = AddMapped(patterns, size, extension, device);
    }
    RegCloseKey(key);
    return fits;
}

} // namespace

void MappedDevice(const char *path, char *device, size_t size) {
    device[0] = '\0';
    char extension[ExtensionSize];
    if (ExtensionOf(path, extension, sizeof extension))
        TableEntry(extension, device, size);
}

MediaRoute RouteByName(const char *path) {
    char extension[ExtensionSize];
    if (!ExtensionOf(path, extension, sizeof extension))
        return MediaRoute::None;
    MediaRoute route = MediaRoute::None;
    if (DesignRoute(extension, &route))
        return route;
    char device[DeviceNameSize];
    TableEntry(extension, device, sizeof device);
    return RouteOfDevice(device);
}

MediaRoute RouteMediaFile(const char *path, MCIERROR *error) {
    *error = 0;
    LetAskedDeviceGo();
    MediaRoute route = RouteByName(path);
    if (route == MediaRoute::None) {
        *error = MCIERR_EXTENSION_NOT_FOUND;
        return route;
    }
    return route == MediaRoute::Sound ? AskTheFile(path, error) : route;
}

void LetAskedDeviceGo() {
    if (Asked.device != 0)
        DeviceClose(Asked.device);
    Asked = AskedDevice{};
}

MCIDEVICEID TakeAskedDevice(const char *path) {
    if (Asked.device == 0 || lstrcmpiA(Asked.path, path) != 0)
        return 0;
    MCIDEVICEID device = Asked.device;
    Asked = AskedDevice{};
    return device;
}

bool AllMediaPatterns(char *patterns, size_t size) {
    patterns[0] = '\0';
    for (const DesignType &type : DesignTypes)
        if (type.route != MediaRoute::None && !AddPattern(patterns, size, type.extension))
            return false;
    static char keys[TableListSize];
    GetProfileStringA(TableSection, nullptr, "", keys, sizeof keys);
    char device[DeviceNameSize];
    for (const char *key = keys; *key != '\0'; key += std::strlen(key) + 1) {
        if (std::strlen(key) >= ExtensionSize)
            continue;
        TableEntry(key, device, sizeof device);
        if (!AddMapped(patterns, size, key, device))
            return false;
    }
    return AddRegistryTable(patterns, size);
}
