// Writing collections into the settings file, and the list of their names.
#include "cdplaylist/playlist_store.h"

#include "panekit/resources/panel_ids.h"
#include "players/file_names.h"
#include "shell/settings.h"
#include "shell/text_table.h"

#include <cstdio>
#include <cstring>

namespace {

const char EndMarker[] = "ENDFLAG.END";
const char ReplaceQuestion[] = "The collection \"%s\" exists.\nReplace it?";
constexpr int NameSize = 128;

} // namespace

int ListedCollectionCount() {
    int number = ReadSettingInt("PlayListTitle", "Number", 1);
    return number < 1 ? 1 : (number > MaxCollectionNames ? MaxCollectionNames : number);
}

bool WriteCollectionEntries(const char *section, const CollectionEntries &entries) {
    WriteSettingText(section, nullptr, nullptr);
    bool hasTrack = false;
    char key[16];
    int count = entries.count < MaxPlaylistEntries ? entries.count : MaxPlaylistEntries;
    for (int row = 0; row < count; ++row) {
        std::snprintf(key, sizeof key, "%d", row);
        WriteSettingText(section, key, entries.text[row]);
        char extension[EntryTextSize] = "";
        FileExtensionOf(entries.text[row], extension, sizeof extension);
        hasTrack = hasTrack || std::strcmp(extension, ".CD") == 0;
    }
    std::snprintf(key, sizeof key, "%d", count);
    WriteSettingText(section, key, EndMarker);
    return hasTrack;
}

bool CollectionListed(const char *name) {
    int number = ListedCollectionCount();
    for (int index = 1; index <= number; ++index) {
        char key[16];
        std::snprintf(key, sizeof key, "%d", index);
        char listed[NameSize];
        ReadSettingText("PlayListTitle", key, Text(IDS_UNTITLED), listed, sizeof listed);
        if (lstrcmpiA(listed, name) == 0)
            return true;
    }
    return false;
}

bool ListCollectionName(const char *name) {
    if (CollectionListed(name))
        return true;
    int number = ReadSettingInt("PlayListTitle", "Number", 0);
    if (number < 1) {
        // No list yet: the one collection every station has comes first.
        WriteSettingText("PlayListTitle", "1", Text(IDS_UNTITLED));
        number = 1;
    }
    if (number >= MaxCollectionNames)
        return false;
    char key[16];
    std::snprintf(key, sizeof key, "%d", number + 1);
    WriteSettingText("PlayListTitle", key, name);
    WriteSettingInt("PlayListTitle", "Number", number + 1);
    return true;
}

bool AskToReplaceCollection(HWND owner, const char *name) {
    char text[NameSize + 64];
    std::snprintf(text, sizeof text, ReplaceQuestion, name);
    return MessageBoxA(owner, text, Text(IDS_CAPTION),
                       MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK;
}
