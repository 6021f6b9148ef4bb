#include "tests/simcard/sim_ports.h"

namespace {

// Nothing answers on any port.
bool SimReadPort(WORD, BYTE *) {
    return false;
}
bool SimWritePort(WORD, BYTE) {
    return false;
}

} // namespace

void ResetSimPorts(const SimPortsConfig &) {}

PortBinding SimPortsBinding() {
    return {SimReadPort, SimWritePort};
}
