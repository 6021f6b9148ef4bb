#include "players/media_files.h"

// The players that take files arrive later; until then nothing is played and
// there is never an unsaved recording.
void DispatchMediaFile(const char *) {}

int ConfirmWaveChanges() {
    return 1;
}
