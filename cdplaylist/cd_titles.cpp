// The disc-title database in the settings file.
#include "cdplaylist/cd_titles.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/stored_entries.h"
#include "panekit/resources/panel_ids.h"
#include "shell/settings.h"
#include "shell/text_table.h"

#include <cstdio>

namespace {

constexpr int SectionSize = 16; // a 32-bit value in decimal
constexpr int KeySize = 16;

void SectionOf(DWORD discId, char *section) {
    std::snprintf(section, SectionSize, "%lu", static_cast<unsigned long>(discId));
}

// Reads into a buffer of the stored size, then hands over what fits.
void ReadName(DWORD discId, const char *key, const char *defaultName, char *out, size_t size) {
    if (size == 0)
        return;
    char section[SectionSize];
    SectionOf(discId, section);
    char stored[CdNameSize];
    ReadSettingText(section, key, defaultName, stored, sizeof stored);
    std::snprintf(out, size, "%s", stored);
}

} // namespace

void ReadDiscTitle(DWORD discId, char *title, size_t size) {
    ReadName(discId, "Title", Text(IDS_UNTITLED), title, size);
}

void ReadTrackName(DWORD discId, int track, char *name, size_t size) {
    char key[KeySize];
    std::snprintf(key, sizeof key, "%d", track);
    char defaultName[CdNameSize];
    std::snprintf(defaultName, sizeof defaultName, "%s%d", Text(IDS_UNTITLED), track);
    ReadName(discId, key, defaultName, name, size);
}

void WriteDiscTitle(DWORD discId, const char *title) {
    char section[SectionSize];
    SectionOf(discId, section);
    WriteSettingText(section, "Title", title);
}

void WriteTrackName(DWORD discId, int track, const char *name) {
    char section[SectionSize];
    SectionOf(discId, section);
    char key[KeySize];
    std::snprintf(key, sizeof key, "%d", track);
    WriteSettingText(section, key, name);
}

DWORD BoundDisc(const char *section) {
    char text[SectionSize + 1];
    ReadSettingText(section, "CD_ID", "0", text, sizeof text);
    return DiscIdOf(text);
}

bool IsLoadedDisc(DWORD boundDisc) {
    return boundDisc != 0 && boundDisc == DiscId;
}
