// Decoding a playlist's bytes, and the UTF-8 that the import hands on to the
// platform as UTF-16: UTF-16 comes out unit for unit (half a pair as
// U+FFFD) as valid UTF-8, and what passes as UTF-8 is exactly the UTF-8 of
// the characters it gave, so that the two conversions agree.
#include "cdplaylist/playlist_reader.h"
#include "fuzz/property.h"

#include <string>

namespace {

bool IsSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit < 0xE000;
}

// UTF-16 as bytes, low byte first or high byte first, behind its mark.
std::string Utf16Bytes(const std::u16string &wide, bool lowFirst) {
    std::string bytes = lowFirst ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t unit : wide) {
        bytes += static_cast<char>(lowFirst ? unit & 0xFF : unit >> 8);
        bytes += static_cast<char>(lowFirst ? unit >> 8 : unit & 0xFF);
    }
    return bytes;
}

void CheckDecoding(const std::string &bytes) {
    PlaylistText text = DecodePlaylistBytes(bytes, false);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        PROPERTY(text.utf8 && text.text == bytes.substr(3));
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        std::u16string wide;
        PROPERTY(text.utf8 && Utf8ToUtf16(text.text, wide));
        // Written back, every unit is the file's, or U+FFFD for a surrogate.
        std::string again = Utf16Bytes(wide, bytes[0] == '\xFF');
        PROPERTY(again.size() == bytes.size() - bytes.size() % 2);
        for (size_t at = 2; at < again.size(); at += 2) {
            uint32_t unit = uint32_t(uint8_t(bytes[at])) << 8 | uint8_t(bytes[at + 1]);
            if (bytes[0] == '\xFF')
                unit = (unit >> 8) | (unit & 0xFF) << 8;
            PROPERTY(again.compare(at, 2, bytes, at, 2) == 0 ||
                     (IsSurrogate(unit) && wide[at / 2 - 1] == 0xFFFD));
        }
    } else {
        PROPERTY(!text.utf8 && text.text == bytes);
        PROPERTY(DecodePlaylistBytes(bytes, true).utf8);
    }
}

// What passes as UTF-8, made UTF-16 and decoded back, is the same bytes.
void CheckUtf8(const std::string &bytes) {
    std::u16string wide;
    if (!Utf8ToUtf16(bytes, wide))
        return;
    PROPERTY(wide.size() <= bytes.size());
    PROPERTY(DecodePlaylistBytes(Utf16Bytes(wide, true), false).text == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string bytes(reinterpret_cast<const char *>(data), size);
    CheckDecoding(bytes);
    CheckUtf8(bytes);
    return 0;
}
