// Decoding a playlist's bytes, and the UTF-8 that the import hands on to the
// platform as UTF-16: nothing decoded is an invalid character, UTF-16 comes
// out unit for unit (half a pair as U+FFFD), and what passes as UTF-8 is
// exactly the UTF-8 of the characters it gave.
#include "cdplaylist/playlist_reader.h"
#include "fuzz/property.h"

#include <string>

namespace {

// UTF-16 as UTF-8, the other way round from the reader's own conversion.
std::string Utf8Of(const std::u16string &wide) {
    std::string text;
    for (size_t i = 0; i < wide.size(); ++i) {
        uint32_t code = wide[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < wide.size())
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | code >> 6);
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | code >> 12);
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | code >> 18);
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

bool PairedSurrogates(const std::u16string &wide) {
    for (size_t i = 0; i < wide.size(); ++i) {
        bool high = wide[i] >= 0xD800 && wide[i] < 0xDC00;
        bool low = wide[i] >= 0xDC00 && wide[i] < 0xE000;
        if (low)
            return false;
        if (high && (i + 1 == wide.size() || wide[i + 1] < 0xDC00 || wide[i + 1] >= 0xE000))
            return false;
        i += high;
    }
    return true;
}

// The units of a UTF-16 text after its mark, half pairs as U+FFFD.
std::u16string UnitsOf(const std::string &bytes, bool lowFirst) {
    std::u16string units;
    for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
        uint8_t first = static_cast<uint8_t>(bytes[at]),
                second = static_cast<uint8_t>(bytes[at + 1]);
        units += static_cast<char16_t>(lowFirst ? first | second << 8 : first << 8 | second);
    }
    for (size_t i = 0; i < units.size(); ++i) {
        bool high = units[i] >= 0xD800 && units[i] < 0xDC00;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000)
            ++i;
        else if (units[i] >= 0xD800 && units[i] < 0xE000)
            units[i] = 0xFFFD;
    }
    return units;
}

void CheckDecoding(const std::string &bytes) {
    PlaylistText text = DecodePlaylistBytes(bytes, false);
    bool utf16 = bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        PROPERTY(text.utf8 && text.text == bytes.substr(3));
    } else if (utf16) {
        std::u16string wide;
        PROPERTY(text.utf8 && Utf8ToUtf16(text.text, wide));
        PROPERTY(wide == UnitsOf(bytes, bytes[0] == '\xFF'));
        PROPERTY(text.text.size() <= (bytes.size() - 2) / 2 * 3);
    } else {
        PROPERTY(!text.utf8 && text.text == bytes);
        PROPERTY(DecodePlaylistBytes(bytes, true).utf8);
    }
}

void CheckUtf8(const std::string &bytes) {
    std::u16string wide;
    if (!Utf8ToUtf16(bytes, wide))
        return;
    PROPERTY(PairedSurrogates(wide));
    PROPERTY(wide.size() <= bytes.size());
    PROPERTY(Utf8Of(wide) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string bytes(reinterpret_cast<const char *>(data), size);
    CheckDecoding(bytes);
    CheckUtf8(bytes);
    return 0;
}
