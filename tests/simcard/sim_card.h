// The simulated sound card the tests bind to the station's platform seams in
// place of winmm and the port instructions.
#pragma once
#include <windows.h>

struct SimCardConfig {
    bool hasMixer = false; // a mixer device that opens and closes
};

// Binds the MCI, mixer and port seams to the simulated card.
void InstallSimulatedCard(const SimCardConfig &config = {});

// Gives the seams back their production binding.
void RemoveSimulatedCard();

// Number of mixer handles the station holds open on the card.
int OpenSimMixers();
