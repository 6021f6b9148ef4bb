// Reading collection entries and disc identifiers out of their stored text.
#include "cdplaylist/stored_entries.h"

#include <cstring>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Case-insensitive in the C locale, as the runtime's _strnicmp: at most
// count characters, a shorter text ending the comparison.
bool SameLetters(const char *text, const char *wanted, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        char a = text[i], b = wanted[i];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = static_cast<char>(b - 'a' + 'A');
        if (a != b)
            return false;
        if (a == '\0')
            return true;
    }
    return true;
}

// The part of an entry's path after its last directory or drive separator.
const char *NameOf(const char *entry) {
    const char *name = entry;
    for (const char *c = entry; *c != '\0'; ++c)
        if (*c == '\\' || *c == '/' || *c == ':')
            name = c + 1;
    return name;
}

EntryType TypeOfExtension(const char *extension) {
    if (std::strcmp(extension, ".END") == 0)
        return EntryType::End;
    if (SameLetters(extension, ".MID", 4) || SameLetters(extension, ".RMI", 4))
        return EntryType::Midi;
    if (SameLetters(extension, ".WAV", 4))
        return EntryType::Wave;
    if (SameLetters(extension, ".CD", 4))
        return EntryType::Cd;
    return EntryType::Unknown;
}

} // namespace

uint32_t ReadDecimal(const char *begin, const char *end, const char **stop) {
    const char *at = begin;
    while (at < end && IsSpace(*at))
        ++at;
    bool negative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+'))
        ++at;
    const char *digits = at;
    uint32_t value = 0;
    bool over = false;
    for (; at < end && IsDigit(*at); ++at) {
        uint32_t digit = static_cast<uint32_t>(*at - '0');
        over = over || value > (0xFFFFFFFFu - digit) / 10;
        value = value * 10 + digit;
    }
    if (stop != nullptr)
        *stop = at == digits ? begin : at;
    if (at == digits)
        return 0;
    if (over)
        return 0xFFFFFFFFu;
    return negative ? 0u - value : value;
}

EntryType EntryTypeOf(const char *entry) {
    const char *name = NameOf(entry);
    const char *last = std::strrchr(name, '.');
    EntryType type = TypeOfExtension(last != nullptr ? last : "");
    const char *first = std::strchr(name, '.');
    return type == EntryType::Unknown && first != nullptr ? TypeOfExtension(first) : type;
}

bool NamesATrack(const char *entry) {
    uint32_t track = ReadDecimal(entry, entry + std::strlen(entry));
    return track >= 1 && track <= 0xFF;
}

bool IsTrackEntry(const char *entry) {
    for (int i = 0; i < 4; ++i)
        if (!IsDigit(entry[i]))
            return false;
    return std::strcmp(entry + 4, ".CD") == 0;
}

uint32_t DiscIdOf(const char *value) {
    uint64_t disc = 0;
    const char *at = value;
    for (; IsDigit(*at); ++at) {
        disc = disc * 10 + static_cast<uint32_t>(*at - '0');
        if (disc > 0xFFFFFFFFu)
            return 0; // no disc identifier has more than 32 bits
    }
    return at != value && *at == '\0' ? static_cast<uint32_t>(disc) : 0;
}
