// The simulated card's mixer device, bound to the station's mixer seam.
#pragma once
#include "platform/mixer.h"

struct SimMixerConfig {
    bool present = false; // a mixer device exists
};

// Puts the mixer into its initial state for the given configuration.
void ResetSimMixer(const SimMixerConfig &config);

// The mixer calls of the simulated card.
MixerBinding SimMixerBinding();

// Number of mixer handles the station holds open on the card.
int OpenSimMixers();
