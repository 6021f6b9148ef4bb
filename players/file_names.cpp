// The file-name helpers of the players and the playlist import.
#include "players/file_names.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// Longest extension PlayerFileKind looks at: a longer one is none of its.
constexpr size_t ExtensionSize = 1026;

// The period that begins the extension of the file's own name: the last one
// after the last folder or drive separator, or null.
const char *ExtensionPeriodOf(const char *name) {
    return std::strrchr(FileTitleOf(name), '.');
}

bool HasExtension(const char *extension, const char *wanted) {
    return lstrcmpiA(extension, wanted) == 0;
}

} // namespace

void FileExtensionOf(const char *name, char *out, size_t outSize) {
    if (const char *period = ExtensionPeriodOf(name))
        std::snprintf(out, outSize, "%s", period);
}

const char *FileTitleOf(const char *path) {
    const char *title = path;
    for (const char *c = path; *c != '\0'; ++c)
        if (*c == '\\' || *c == '/' || *c == ':')
            title = c + 1;
    return title;
}

void FileBaseNameOf(const char *name, char *out, size_t outSize) {
    const char *period = ExtensionPeriodOf(name);
    size_t kept = period != nullptr ? static_cast<size_t>(period - name) : std::strlen(name);
    if (outSize == 0)
        return;
    if (kept >= outSize)
        kept = outSize - 1;
    std::memcpy(out, name, kept);
    out[kept] = '\0';
}

bool PlayerFileKind(const char *path, MediaKind *kind) {
    char extension[ExtensionSize] = "";
    FileExtensionOf(path, extension, sizeof extension);
    if (HasExtension(extension, ".MID") || HasExtension(extension, ".RMI"))
        *kind = MediaKind::Midi;
    else if (HasExtension(extension, ".WAV"))
        *kind = MediaKind::Wave;
    else
        return false;
    return true;
}

bool IsPlainFile(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string RootOf(const std::string &folder) {
    if (folder.compare(0, 2, "\\\\") != 0)
        return folder.size() > 1 && folder[1] == ':' ? folder.substr(0, 2) : "";
    size_t server = folder.find('\\', 2);
    return folder.substr(0, server == std::string::npos ? server : folder.find('\\', server + 1));
}
