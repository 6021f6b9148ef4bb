// The simulated card's I/O ports, bound to the station's port seam.
#pragma once
#include "platform/ports.h"

struct SimPortsConfig {};

void ResetSimPorts(const SimPortsConfig &config);
PortBinding SimPortsBinding();
