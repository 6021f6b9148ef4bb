// Production binding of the port seam: the in and out instructions, used only
// on the Windows 95 family, where user code may execute them.
#include "platform/ports.h"

namespace {

bool PortsReachable() {
    return (GetVersion() & 0x80000000u) != 0;
}

bool ReadPortByte(WORD port, BYTE *value) {
    if (!PortsReachable())
        return false;
    BYTE result;
    __asm__ __volatile__("inb %w1, %b0" : "=a"(result) : "Nd"(port));
    *value = result;
    return true;
}

bool WritePortByte(WORD port, BYTE value) {
    if (!PortsReachable())
        return false;
    __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port));
    return true;
}

} // namespace

PortBinding Ports = {ReadPortByte, WritePortByte};
