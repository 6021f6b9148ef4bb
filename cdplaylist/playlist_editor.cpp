#include "cdplaylist/playlist_editor.h"

// The editor arrives with the playlist store; until then nothing is edited.
bool RunPlaylistEditor() {
    return false;
}
