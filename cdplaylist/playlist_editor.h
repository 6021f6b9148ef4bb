// The playlist editor, run from the launcher bar.
#pragma once

// Runs the editor; answers true when the user saved a collection.
bool RunPlaylistEditor();
