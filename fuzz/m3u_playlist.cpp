// The .m3u and .m3u8 reader over any bytes (see playlist_entries.h), and the
// station's disc-track comments among them.
#include "fuzz/playlist_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    CheckPlaylist(data, size, PlaylistFormat::M3u);
    return 0;
}
