// The disc a collection is bound to, read from its stored CD_ID value: any
// value that names a disc names it in decimal, so that writing the disc back
// gives the same digits, and every disc identifier written reads back.
#include "cdplaylist/stored_entries.h"
#include "fuzz/property.h"

#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string value(reinterpret_cast<const char *>(data), size);
    const char *text = value.c_str();
    uint32_t disc = DiscIdOf(text);
    PROPERTY(DiscIdOf(text) == disc);
    if (disc != 0) {
        std::string digits = text;
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
        char written[16];
        std::snprintf(written, sizeof written, "%lu", static_cast<unsigned long>(disc));
        PROPERTY(digits == written);
    }
    // The other way round: the identifier the first four bytes make, as the
    // station writes it, reads as itself.
    uint32_t id = 0;
    for (size_t i = 0; i < 4 && i < size; ++i)
        id = id << 8 | data[i];
    char written[16];
    std::snprintf(written, sizeof written, "%lu", static_cast<unsigned long>(id));
    PROPERTY(DiscIdOf(written) == id);
    return 0;
}
