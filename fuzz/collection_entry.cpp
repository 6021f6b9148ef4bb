// The type of a collection's stored entry and the track a disc-track entry
// names, over any text, and the numbers inside both as the C library reads
// them into a 32-bit unsigned long: the type follows the file's own name
// whatever folder holds it, and a disc-track entry is a track's.
#include "cdplaylist/stored_entries.h"
#include "fuzz/property.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// strtoul as Windows has it, from the 64-bit runtime's strtoull: past 32
// bits (and negated) it is all ones.
uint32_t WindowsStrtoul(const char *text, const char **stop) {
    char *end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(text, &end, 10);
    *stop = end;
    const char *sign = text + std::strspn(text, " \t\n\v\f\r");
    bool negative = *sign == '-';
    unsigned long long magnitude = negative ? 0ull - value : value;
    if (errno == ERANGE || magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    return static_cast<uint32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string entry(reinterpret_cast<const char *>(data), size);
    const char *text = entry.c_str();

    const char *stop = nullptr, *expectedStop = nullptr;
    uint32_t number = ReadDecimal(text, text + std::strlen(text), &stop);
    PROPERTY(number == WindowsStrtoul(text, &expectedStop) && stop == expectedStop);

    EntryType type = EntryTypeOf(text);
    PROPERTY(EntryTypeOf(text) == type);
    // A folder in front, whatever its name, changes nothing.
    PROPERTY(EntryTypeOf(("C:\\x.mid.wav\\" + std::string(text)).c_str()) == type);

    if (IsTrackEntry(text)) {
        PROPERTY(type == EntryType::Cd);
        PROPERTY(NamesATrack(text) == (number >= 1 && number <= 255));
        PROPERTY(std::strlen(text) == 7);
    }
    if (type == EntryType::End)
        PROPERTY(std::strstr(text, ".END") != nullptr);
    return 0;
}
