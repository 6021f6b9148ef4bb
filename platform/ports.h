// The port seam: one-byte input and output on the sound chip's I/O ports.
// Only the Windows 95 family lets a program touch ports; elsewhere the calls
// report that no port can be reached.
#pragma once
#include <windows.h>

struct PortBinding {
    bool (*readByte)(WORD port, BYTE *value);
    bool (*writeByte)(WORD port, BYTE value);
};

extern PortBinding Ports;
