// The simulated chip behind the port seam: an index and a data register at
// its base port, and a log of every access.
#include "tests/simcard/sim_ports.h"

namespace {

constexpr BYTE RevisionRegister = 10;
constexpr BYTE FloatingBus = 0xFF;

SimPortsConfig Config;
BYTE SelectedRegister;
std::vector<SimPortAccess> Log;

BYTE RegisterValue(BYTE index) {
    return index == RevisionRegister ? Config.revision : 0;
}

bool SimReadPort(WORD port, BYTE *value) {
    if (!Config.reachable)
        return false;
    BYTE result = FloatingBus;
    if (Config.chipBase != 0 && port == Config.chipBase)
        result = SelectedRegister;
    else if (Config.chipBase != 0 && port == Config.chipBase + 1)
        result = RegisterValue(SelectedRegister);
    *value = result;
    Log.push_back({false, port, result});
    return true;
}

bool SimWritePort(WORD port, BYTE value) {
    if (!Config.reachable)
        return false;
    if (Config.chipBase != 0 && port == Config.chipBase)
        SelectedRegister = value;
    Log.push_back({true, port, value});
    return true;
}

} // namespace

void ResetSimPorts(const SimPortsConfig &config) {
    Config = config;
    SelectedRegister = 0;
    Log.clear();
}

PortBinding SimPortsBinding() {
    return {SimReadPort, SimWritePort};
}

const std::vector<SimPortAccess> &SimPortLog() {
    return Log;
}
