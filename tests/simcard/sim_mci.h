// The simulated card's multimedia devices, bound to the station's MCI seam.
#pragma once
#include "platform/mci.h"

struct SimMciConfig {};

// Puts every device into its initial state for the given configuration.
void ResetSimMci(const SimMciConfig &config);

// The MCI calls of the simulated card.
MciBinding SimMciBinding();
