// The playlist sequencer's state and the end-of-media request of the players.
#include "cdplaylist/sequencer.h"

#include "panekit/resources/panel_ids.h"

HWND CurrentPlayer;
char CurrentEntryText[EntryTextSize];
unsigned short CurrentEntryIndex;
int PlaylistRunning;

int SequencerRequest(int code, HWND caller) {
    if (code != END_OF_PLAY || caller == nullptr)
        return 1;
    // A player the playlist does not drive is only stopped. Advancing through
    // the collection is not built yet, so the driven player is stopped too
    // and the request gives up.
    SendMessageA(caller, WM_COMMAND, IDC_STOP, 0);
    return caller == CurrentPlayer ? 1 : 0;
}
