// The simulated card's I/O ports, bound to the station's port seam. The chip
// answers at its base port as an index register (base) and a data register
// (base + 1); register 10 holds the chip revision. Every other port reads as
// a floating bus (0xFF). Each access is logged for the tests.
#pragma once
#include "platform/ports.h"

#include <vector>

struct SimPortsConfig {
    bool reachable = true; // false: the platform lets no program touch a port
    WORD chipBase = 0;     // 0: no chip answers
    BYTE revision = 0;     // what register 10 reads
};

void ResetSimPorts(const SimPortsConfig &config);
PortBinding SimPortsBinding();

struct SimPortAccess {
    bool write;
    WORD port;
    BYTE value; // written, or read back
};

const std::vector<SimPortAccess> &SimPortLog();
