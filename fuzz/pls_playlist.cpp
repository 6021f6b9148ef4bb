// The .pls reader over any bytes (see playlist_entries.h): "FileN=" lines in
// the order of N.
#include "fuzz/playlist_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    CheckPlaylist(data, size, PlaylistFormat::Pls);
    return 0;
}
