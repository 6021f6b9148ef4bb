// The simulated sound card the tests bind to the station's platform seams in
// place of winmm and the port instructions: its mixer, its multimedia devices
// and its I/O ports.
#pragma once
#include "tests/simcard/sim_mci.h"
#include "tests/simcard/sim_mixer.h"
#include "tests/simcard/sim_ports.h"

struct SimCardConfig {
    SimMixerConfig mixer;
    SimMciConfig mci;
    SimPortsConfig ports;
};

// Binds the MCI, mixer and port seams to the simulated card, reset to config.
void InstallSimulatedCard(const SimCardConfig &config = {});

// Gives the seams back their production binding.
void RemoveSimulatedCard();
