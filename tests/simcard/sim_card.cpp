#include "tests/simcard/sim_card.h"

namespace {

bool Installed;
MciBinding ProductionMci;
MixerBinding ProductionMixer;
PortBinding ProductionPorts;

} // namespace

void InstallSimulatedCard(const SimCardConfig &config) {
    if (!Installed) {
        ProductionMci = Mci;
        ProductionMixer = Mixer;
        ProductionPorts = Ports;
        Installed = true;
    }
    ResetSimMixer(config.mixer);
    ResetSimMci(config.mci);
    ResetSimPorts(config.ports);
    Mci = SimMciBinding();
    Mixer = SimMixerBinding();
    Ports = SimPortsBinding();
}

void RemoveSimulatedCard() {
    if (!Installed)
        return;
    Mci = ProductionMci;
    Mixer = ProductionMixer;
    Ports = ProductionPorts;
    Installed = false;
}
