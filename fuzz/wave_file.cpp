// The WAVE check over any bytes: the same bytes give the same verdict, and
// an accepted file's sound lies within the bytes present and plays for the
// length its byte rate gives.
#include "fuzz/media_bytes.h"
#include "fuzz/property.h"

namespace {

bool SameLayout(const WaveLayout &a, const WaveLayout &b) {
    return a.dataBegin == b.dataBegin && a.dataHeld == b.dataHeld &&
           a.dataClaimed == b.dataClaimed && a.bytesPerSec == b.bytesPerSec &&
           a.blockAlign == b.blockAlign && a.cut == b.cut && a.heldMs == b.heldMs;
}

void CheckAt(SparseFile &file, Tail tail) {
    MediaBytes bytes = SparseBytes(file, tail);
    WaveLayout wave, again;
    bool accepted = CheckWaveBytes(bytes, wave);
    PROPERTY(CheckWaveBytes(bytes, again) == accepted);
    if (!accepted)
        return;
    PROPERTY(SameLayout(wave, again));
    PROPERTY(wave.bytesPerSec != 0 && wave.blockAlign != 0);
    // The sound is in the file: after the RIFF header and its own chunk
    // header, and no further than the bytes go.
    PROPERTY(wave.dataBegin >= 12 + 8);
    PROPERTY(wave.dataBegin <= bytes.size && wave.dataHeld <= bytes.size - wave.dataBegin);
    if (!wave.cut) {
        PROPERTY(wave.dataHeld == wave.dataClaimed);
        return;
    }
    // Cut: after the format, whole blocks, fewer bytes than claimed, and the
    // length is what those bytes play at the byte rate, to the millisecond
    // below, or the longest a length is told when they play longer.
    PROPERTY(wave.dataBegin >= 12 + 8 + 14 + 8);
    PROPERTY(wave.dataHeld > 0 && wave.dataHeld % wave.blockAlign == 0);
    PROPERTY(wave.dataHeld < wave.dataClaimed);
    uint64_t playedBytes = wave.dataHeld * 1000;
    PROPERTY(uint64_t(wave.heldMs) * wave.bytesPerSec <= playedBytes);
    PROPERTY(playedBytes < (uint64_t(wave.heldMs) + 1) * wave.bytesPerSec ||
             wave.heldMs == LongestHeldMs);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    return CheckAsEveryFile(data, size, CheckAt);
}
