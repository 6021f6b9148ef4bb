#include "shell/text_table.h"

#include "panekit/resources/panel_ids.h"

#include <cstring>

namespace {

constexpr int MessageCount = IDS_LAST_MESSAGE - IDS_FIRST_MESSAGE + 1;
constexpr int LabelCount = IDS_LAST_LABEL - IDS_FIRST_LABEL + 1;

char TextTable[MessageCount + LabelCount][TextSlotSize];

// What the station can still say when its library cannot be loaded.
struct BuiltInText {
    int id;
    const char *text;
};
constexpr BuiltInText BuiltInTexts[] = {
    {IDS_ERROR_CAPTION, "sonikbay32 error"},
    {IDS_CAPTION, "sonikbay32"},
    {IDS_CANT_OPEN_WINDOW, "Can't Open Window"},
    {IDS_CANT_SAVE_SETTINGS, "Can't save settings"},
};

int SlotOf(int id) {
    if (id >= IDS_FIRST_MESSAGE && id <= IDS_LAST_MESSAGE)
        return id - IDS_FIRST_MESSAGE;
    if (id >= IDS_FIRST_LABEL && id <= IDS_LAST_LABEL)
        return MessageCount + id - IDS_FIRST_LABEL;
    return -1;
}

const char *BuiltInTextOf(int id) {
    for (const BuiltInText &builtIn : BuiltInTexts)
        if (builtIn.id == id)
            return builtIn.text;
    return "";
}

void LoadSlot(HINSTANCE library, int id) {
    char *slot = TextTable[SlotOf(id)];
    if (library == nullptr || LoadStringA(library, id, slot, TextSlotSize) <= 0) {
        std::strncpy(slot, BuiltInTextOf(id), TextSlotSize - 1);
        slot[TextSlotSize - 1] = '\0';
    }
}

} // namespace

void LoadTextTable(HINSTANCE library) {
    for (int id = IDS_FIRST_MESSAGE; id <= IDS_LAST_MESSAGE; ++id)
        LoadSlot(library, id);
    for (int id = IDS_FIRST_LABEL; id <= IDS_LAST_LABEL; ++id)
        LoadSlot(library, id);
}

const char *Text(int id) {
    int slot = SlotOf(id);
    return slot < 0 ? "" : TextTable[slot];
}
